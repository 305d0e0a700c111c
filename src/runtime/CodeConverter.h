#pragma once
// CodeConverter: the component on every form ("NvConverter") that bridges the GB, Big5 and
// English interfaces: it converts a form's visible texts once when the form is shown,
// converts and restores interface texts and data values on request, and sets fonts to the
// interface's character set. The conversion itself is the language library's (TTranslator).
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/Variant.h"
#include "platform/rtti/Font.h"
#include "platform/ui/Dialogs.h"
#include "runtime/BatonINI.h"
#include "runtime/LangCommon.h"
#include "runtime/TranslatorU.h"

namespace nv {

class TListColumns;
class TListItems;

class TCodeConverter : public TComponent {
  NV_CLASS(TCodeConverter, TComponent)
 public:
  // Reads the client configuration; creates the translator when the interface needs
  // conversion, so a missing language library raises here (at form creation).
  explicit TCodeConverter(TComponent* owner);
  ~TCodeConverter() override;

  TDesignType DesignType() const { return designType_; }
  void SetDesignType(TDesignType type) { designType_ = type; }
  const std::string& SysCodePage() const { return sysCodePage_; }
  const std::string& UICodePage() const { return uiCodePage_; }
  const std::string& DBCodePage() const { return dbCodePage_; }
  TConvertKind UIConvertKind() const { return uiConvertKind_; }
  TConvertKind DataConvertKind() const { return dataConvertKind_; }
  const TTranslator* Translator() const { return translator_.get(); }

  // Kind 1 BIG5toGB, 2 GBtoBIG5, any other leaves the value; arrays element-wise. The
  // caller's value is never changed.
  Variant StrTransCode(TConvertKind kind, const Variant& value) const;
  Variant ConvertUIString(const Variant& value) const;
  Variant RecoverUIString(const Variant& value) const;
  Variant ConvertDataString(const Variant& value) const;
  Variant RecoverDataString(const Variant& value) const;
  std::string Big5ToGB(std::string_view text) const;
  std::string GBToBig5(std::string_view text) const;
  // Kinds 0, 1, 4: SimSun, GB2312; 2, 3: SimSun, Big5; others leave the font.
  static void SetUIFont(TConvertKind kind, TFont& font);
  // The form's texts through the interface conversion: caption, hints, the screen's fonts,
  // and of every owned component Font, TitleFont, Caption, Hint, ButtonHint, Items, Lines,
  // Text, Style and status panels; then list views, selection panels, combo boxes and
  // menus, and with includeLists tree views and string grids.
  void DoTranslate(TComponent& form, std::string_view exclusions, bool includeLists);
  // The message dialog in the interface's font, captioned with the owner form's caption
  // (the form is restored first when minimised); an empty message shows nothing and
  // answers 0.
  TModalResult NvCodeMessageDlg(const std::string& message, TMsgDlgType type,
                                TMsgDlgButtons buttons) const;

 private:
  void ReadSettings();
  std::string TranslateText(TConvertKind kind, const std::string& text) const;
  void TranslateComponent(TComponent& component) const;
  void TranslateStringProperty(TObject& object, std::string_view name) const;
  void TranslateStyle(TComponent& component) const;
  void TranslateLists(TComponent& component, bool includeLists) const;
  void TranslateRows(TListColumns* columns, TListItems* items) const;
  void TranslateWordLists(TComponent& panel) const;
  void TranslateScreenFonts() const;
  // A list text through the language library (interface kinds 1 and 2).
  std::string ListText(const std::string& text) const;

  TDesignType designType_ = dtClient;
  std::string sysCodePage_ = "936";
  std::string uiCodePage_ = "936";
  std::string dbCodePage_ = "936";
  TConvertKind uiConvertKind_ = 0;
  TConvertKind dataConvertKind_ = 0;
  std::unique_ptr<TTranslator> translator_;
};

}  // namespace nv
