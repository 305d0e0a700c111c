#pragma once
// GSpdBtn: the flat speed button whose picture is chosen by number from the suite's shared
// picture library "VeVozO5.dll", loaded at first use.
#include <string>
#include <string_view>

#include "platform/core/SysUtils.h"
#include "platform/ui/Buttons.h"

namespace nv {

NV_DECLARE_EXCEPTION(EPictureLibraryError, Exception);

inline constexpr std::string_view kPictureLibraryName = "VeVozO5.dll";

// The shared picture library. The library is loaded on the first call; a library or entry
// point that cannot be found raises EPictureLibraryError, as any loading error does.
class TPictureLibrary {
 public:
  // The one the buttons use.
  static TPictureLibrary& Instance();
  // Another file for the buttons (test set-ups): the old library is released.
  static void SetLibraryName(std::string_view name);

  explicit TPictureLibrary(std::string_view name = kPictureLibraryName) : name_(name) {}
  ~TPictureLibrary();
  TPictureLibrary(const TPictureLibrary&) = delete;
  TPictureLibrary& operator=(const TPictureLibrary&) = delete;

  int GetMaxBmpID();
  // Picture n into bitmap (24-bit); false when the library has no picture n.
  bool LoadBmp(TBitmap& bitmap, int n);

 private:
  void Load();
  struct TEntries;
  std::string name_;
  void* handle_ = nullptr;
  void* getMax_ = nullptr;
  void* loadBmp_ = nullptr;
};

class TGSpeedButton : public TSpeedButton {
  NV_CLASS(TGSpeedButton, TSpeedButton)
 public:
  explicit TGSpeedButton(TComponent* owner) : TSpeedButton(owner) {}
  int GlyphIndex() const { return glyphIndex_; }
  // Shows picture n of the library, or n as the caption when there is none; a loading
  // error shows "读取 BMP 发生错误" and leaves the picture as it was.
  void SetGlyphIndex(int n);
  int HintIndex() const { return hintIndex_; }
  void SetHintIndex(int v) { hintIndex_ = v; }

 private:
  int glyphIndex_ = 0;
  int hintIndex_ = 0;
};

}  // namespace nv
