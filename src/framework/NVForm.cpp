#include "framework/NVForm.h"

#include <algorithm>

#include "controls/NvCtrls.h"
#include "controls/SelectPnl.h"
#include "platform/graphics/Graphics.h"
#include "platform/os/FileUtils.h"
#include "platform/rtti/TypInfo.h"
#include "platform/ui/Buttons.h"
#include "runtime/LangCommon.h"

NV_FORM_TEXT_DECLARE(NVForm)

namespace nv {

namespace {

constexpr const char* kEnglishCodePage = "437";
constexpr const char* kEnglishFontName = "Tahoma";
constexpr const char* kEnglishFontCharset = "134";
// A pixel this dark keeps its outline in the disabled picture.
constexpr int kDarkPixelSum = 384;

bool IsTransparentAt(const TBitmap& picture, int x, int y, TColor transparent) {
  // at the picture's edge the pixel itself stands in for its missing neighbour
  x = std::clamp(x, 0, picture.Width() - 1);
  y = std::clamp(y, 0, picture.Height() - 1);
  return picture.Pixel(x, y) == transparent;
}

bool IsMarked(const TBitmap& picture, int x, int y, TColor transparent) {
  TColor c = picture.Pixel(x, y);
  if (c == transparent) return false;
  int sum = (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF);
  return sum < kDarkPixelSum || IsTransparentAt(picture, x - 1, y, transparent) ||
         IsTransparentAt(picture, x + 1, y, transparent) ||
         IsTransparentAt(picture, x, y - 1, transparent) ||
         IsTransparentAt(picture, x, y + 1, transparent);
}

// The embossed image: highlight one pixel right and down, then shadow, through the mask.
void PaintDisabled(const std::vector<bool>& mask, int width, int height, TBitmap& image) {
  const TColor face = ColorToRGB(clBtnFace);
  const TColor highlight = ColorToRGB(clBtnHighlight);
  const TColor shadow = ColorToRGB(clBtnShadow);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.SetPixel(x, y, face);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (mask[y * width + x]) image.SetPixel(x + 1, y + 1, highlight);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (mask[y * width + x]) image.SetPixel(x, y, shadow);
}

// The one-picture buttons of a component: itself when it is a speed or bitmap button, the
// button of a labelled lookup edit or combo box, and the list, delete and clear buttons of a
// selection panel.
template <class F>
void ForEachPictureButton(TComponent& component, F&& f) {
  if (auto* speed = dynamic_cast<TSpeedButton*>(&component)) {
    f(
        speed->Glyph(), [speed] { return speed->NumGlyphs(); },
        [speed](int n) { speed->SetNumGlyphs(n); });
  } else if (auto* bit = dynamic_cast<TBitBtn*>(&component)) {
    f(
        bit->Glyph(), [bit] { return bit->NumGlyphs(); }, [bit](int n) { bit->SetNumGlyphs(n); });
  } else if (auto* edit = dynamic_cast<TNvBtnDBEdit*>(&component)) {
    if (edit->Button() != nullptr) ForEachPictureButton(*edit->Button(), f);
  } else if (auto* combo = dynamic_cast<TNvBtnDBCombo*>(&component)) {
    if (combo->Button() != nullptr) ForEachPictureButton(*combo->Button(), f);
  } else if (auto* panel = dynamic_cast<TSelectPanel*>(&component)) {
    for (TSpeedButton* b :
         {static_cast<TSpeedButton*>(panel->btnList), static_cast<TSpeedButton*>(panel->btnDelete),
          static_cast<TSpeedButton*>(panel->btnClear)}) {
      if (b != nullptr) ForEachPictureButton(*b, f);
    }
  }
}

void AddDisabledPictureTo(TGlyph* glyph, int numGlyphs, const std::function<void(int)>& setNum) {
  if (glyph == nullptr || glyph->Empty()) return;
  int n = numGlyphs;
  if (AddDisabledPicture(glyph->Bitmap(), n)) {
    setNum(n);
    glyph->Changed();
  }
}

}  // namespace

bool AddDisabledPicture(TBitmap& picture, int& numGlyphs) {
  if (numGlyphs != 1 || picture.Empty()) return false;
  const int w = picture.Width();
  const int h = picture.Height();
  const TColor transparent = ColorToRGB(picture.TransparentColor());
  std::vector<bool> mask(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) mask[y * w + x] = IsMarked(picture, x, y, transparent);
  TBitmap disabled(w, h, pf24bit);
  PaintDisabled(mask, w, h, disabled);

  TBitmap original(w, h, pf24bit);
  original.Canvas().Draw(0, 0, picture);
  picture.SetPixelFormat(pf24bit);
  picture.SetWidth(2 * w);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < 2 * w; ++x) picture.SetPixel(x, y, transparent);
  picture.Canvas().Draw(0, 0, original);
  picture.Canvas().Draw(w, 0, disabled);
  numGlyphs = 2;
  return true;
}

TNVForm::TNVForm(TComponent* owner) : TForm(owner) {}

void TNVForm::FormCreate(TObject* sender) {
  translated_ = false;
  languageOnShow_ = true;
  const std::vector<TComponent*> owned = Components();
  for (TComponent* component : owned) PrepareControl(*component);
}

void TNVForm::PrepareControl(TComponent& component) {
  // no input method chosen at design time is forced on the user
  if (IsPublishedProp(component, "ImeName")) SetStrProp(component, "ImeName", "");
  if (InterfaceCodePage() == kEnglishCodePage && IsPublishedProp(component, "Font")) {
    SetPropValueIncludeSub(component, "Font.Charset", kEnglishFontCharset);
    SetPropValueIncludeSub(component, "Font.Name", kEnglishFontName);
  }
  ForEachPictureButton(component, [](TGlyph* glyph, auto numGlyphs, auto setNum) {
    AddDisabledPictureTo(glyph, numGlyphs(), setNum);
  });
}

void TNVForm::FormShow(TObject* sender) {
  if (languageOnShow_) ApplyLanguage(true);
}

std::vector<std::string> TNVForm::PackNames(const TComponent& component, bool withAncestors,
                                            const TClassInfo& stopClass) {
  std::vector<std::string> names;
  const TClassInfo* info = &component.ClassInfo();
  if (!withAncestors) return {info->ClassName()};
  for (; info != nullptr && info != &stopClass && info != &TForm::StaticClassInfo();
       info = info->ClassParent()) {
    names.push_back(info->ClassName());
  }
  std::reverse(names.begin(), names.end());
  return names;
}

void TNVForm::ApplyPacks(TComponent& component, const std::vector<std::string>& names) {
  if (LangController == nullptr) return;
  for (const std::string& name : names) {
    LangController->SetLangPackageName(name);
    if (!FileExists(LangController->FileName())) continue;
    try {
      LangController->SetActive(true);
      LangController->GetLangReader().ReadComponent(component);
    } catch (const std::exception&) {
      // a damaged pack leaves the texts of the packs before it; the form still shows
    }
  }
}

void TNVForm::ApplyLanguagePacks(TComponent& component, bool withAncestors) {
  ApplyPacks(component, PackNames(component, withAncestors, TForm::StaticClassInfo()));
}

void TNVForm::ApplyDerivedLanguagePacks(TComponent& component, bool withAncestors) {
  ApplyPacks(component, PackNames(component, withAncestors, TNVForm::StaticClassInfo()));
}

void TNVForm::ApplyLanguage(bool withAncestors) {
  ApplyLanguagePacks(*this, withAncestors);
}

void TNVForm::TranslateOnce() {
  if (translated_) return;
  if (NvConverter != nullptr) NvConverter->DoTranslate(*this, "", true);
  translated_ = true;
}

TModalResult TNVForm::ShowCodeMessage(const std::string& text, TMsgDlgType type,
                                      TMsgDlgButtons buttons) {
  if (NvConverter == nullptr) return MessageDlgCaption(Caption(), text, type, buttons);
  return NvConverter->NvCodeMessageDlg(text, type, buttons);
}

std::string TNVForm::DataCodePage() const {
  return NvConverter != nullptr ? NvConverter->DBCodePage() : "936";
}

std::string TNVForm::InterfaceCodePage() const {
  return NvConverter != nullptr ? NvConverter->UICodePage() : "936";
}

int TNVForm::UIFontKind() const {
  return NvConverter != nullptr ? NvConverter->UIConvertKind() : 0;
}

void TNVForm::LangText(std::string_view section, std::string_view key, std::string& result,
                       bool convert, std::string_view defaultText) const {
  std::string fallback(defaultText);
  if (convert && NvConverter != nullptr)
    fallback = VarToStr(NvConverter->ConvertUIString(Variant(fallback)));
  TDesignType type = LangController != nullptr ? LangController->DesignType() : dtClient;
  result = GetMessage(type, section, key, fallback);
}

std::string TNVForm::LangText(std::string_view section, std::string_view key,
                              std::string_view defaultText) const {
  std::string result;
  LangText(section, key, result, true, defaultText);
  return result;
}

NV_PUBLISH(TNVForm) {
  b.FormText(NV_FORM_TEXT(NVForm));
  b.Field("NvConverter", &TNVForm::NvConverter);
  b.Field("LangController", &TNVForm::LangController);
  b.Method("FormCreate", &TNVForm::FormCreate);
  b.Method("FormShow", &TNVForm::FormShow);
}

}  // namespace nv
