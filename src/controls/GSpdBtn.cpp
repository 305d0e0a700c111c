#include "controls/GSpdBtn.h"

#include <vector>

#include "VeVozO5.h"
#include "platform/core/CodePage.h"
#include "platform/core/Format.h"
#include "platform/graphics/Graphics.h"
#include "platform/os/Modules.h"
#include "platform/ui/Dialogs.h"

namespace nv {

NV_PUBLISH(TGSpeedButton) {
  b.Prop("GlyphIndex", &TGSpeedButton::GlyphIndex, &TGSpeedButton::SetGlyphIndex).Default(0);
  b.Prop("HintIndex", &TGSpeedButton::HintIndex, &TGSpeedButton::SetHintIndex).Default(0);
}

namespace {
using TGetMaxBmpID = int();
using TLoadBmp = int(VeBitmap*, int);

std::string& LibraryName() {
  static std::string name(kPictureLibraryName);
  return name;
}
std::unique_ptr<TPictureLibrary>& SharedLibrary() {
  static std::unique_ptr<TPictureLibrary> library;
  return library;
}
}  // namespace

TPictureLibrary& TPictureLibrary::Instance() {
  auto& library = SharedLibrary();
  if (!library) library = std::make_unique<TPictureLibrary>(LibraryName());
  return *library;
}

void TPictureLibrary::SetLibraryName(std::string_view name) {
  LibraryName() = std::string(name);
  SharedLibrary().reset();
}

TPictureLibrary::~TPictureLibrary() {
  if (handle_ != nullptr) FreeLibrary(handle_);
}

void TPictureLibrary::Load() {
  if (handle_ != nullptr) return;
  void* handle = nv::LoadLibrary(name_);
  if (handle == nullptr) throw EPictureLibraryError(Format("Load Library %s Error!", {name_}));
  void* getMax = GetProcAddress(handle, "GetMaxBmpID");
  void* loadBmp = GetProcAddress(handle, "LoadBmp");
  if (getMax == nullptr || loadBmp == nullptr) {
    FreeLibrary(handle);
    throw EPictureLibraryError("Get Library Procedure Address Error!");
  }
  handle_ = handle;
  getMax_ = getMax;
  loadBmp_ = loadBmp;
}

int TPictureLibrary::GetMaxBmpID() {
  Load();
  return reinterpret_cast<TGetMaxBmpID*>(getMax_)();
}

bool TPictureLibrary::LoadBmp(TBitmap& bitmap, int n) {
  Load();
  auto* load = reinterpret_cast<TLoadBmp*>(loadBmp_);
  VeBitmap picture{0, 0, nullptr, 0};
  if (load(&picture, n) == 0) return false;
  // Button pictures are small; a size the library cannot mean is a damaged library.
  if (picture.Width <= 0 || picture.Height <= 0 || picture.Width > 1024 || picture.Height > 1024)
    throw EPictureLibraryError(
        Format("Picture %d has the size %d x %d", {n, picture.Width, picture.Height}));
  std::vector<unsigned> pixels(static_cast<size_t>(picture.Width * picture.Height));
  picture.Pixels = pixels.data();
  picture.Capacity = static_cast<int>(pixels.size());
  if (load(&picture, n) != 1 || picture.Width * picture.Height != picture.Capacity)
    throw EPictureLibraryError(Format("Picture %d could not be read", {n}));
  TBitmap result(picture.Width, picture.Height, pf24bit);
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x)
      result.SetPixel(x, y,
                      static_cast<TColor>(pixels[static_cast<size_t>(y * picture.Width + x)]));
  bitmap.Assign(result);
  return true;
}

void TGSpeedButton::SetGlyphIndex(int n) {
  if (n == glyphIndex_) return;
  glyphIndex_ = n;
  SetCaption(std::to_string(n));
  try {
    TPictureLibrary& library = TPictureLibrary::Instance();
    TBitmap picture;
    if (n != 0 && n <= library.GetMaxBmpID() && library.LoadBmp(picture, n)) {
      SetCaption("");
      Glyph()->Bitmap().Assign(picture);
      Glyph()->Changed();
      SetNumGlyphs(picture.Width() / picture.Height());
    } else {
      Glyph()->Bitmap().Assign(TBitmap());
      Glyph()->Changed();
    }
  } catch (const std::exception&) {
    MessageDlg(SysText("读取 BMP 发生错误"), mtError, {mbOK});
  }
}

}  // namespace nv
