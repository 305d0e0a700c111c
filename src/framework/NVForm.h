#pragma once
// NVForm: the base of every window of the module. It prepares the controls when the form is
// created (no design-time input method, English-interface fonts, pictures for disabled
// buttons), applies the language packs of its class chain when it is shown, and gives
// descendants one place to translate a text and to show a message in the user's code page.
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "runtime/CodeConverter.h"
#include "runtime/LanguageController.h"

namespace nv {

class TBitmap;

class TNVForm : public TForm {
  NV_CLASS(TNVForm, TForm)
 public:
  explicit TNVForm(TComponent* owner);

  // Published components of the form resource.
  TCodeConverter* NvConverter = nullptr;
  TNvLangController* LangController = nullptr;

  // The packs of the component's class (and, with ancestors, of each base class below the
  // platform's form, most basic first) applied in turn, so derived packs override.
  virtual void ApplyLanguagePacks(TComponent& component, bool withAncestors);
  // The same walk stopping before this class: the base form's own pack is left out.
  virtual void ApplyDerivedLanguagePacks(TComponent& component, bool withAncestors);

  // Converts every text of the form into the interface code page, the first time only.
  void TranslateOnce();
  bool Translated() const { return translated_; }
  TModalResult ShowCodeMessage(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
  std::string DataCodePage() const;
  std::string InterfaceCodePage() const;
  int UIFontKind() const;
  // The language-pack text of section/key, defaultText when no pack supplies it; with
  // convert the default is first taken into the interface code page.
  void LangText(std::string_view section, std::string_view key, std::string& result, bool convert,
                std::string_view defaultText) const;
  std::string LangText(std::string_view section, std::string_view key,
                       std::string_view defaultText) const;
  void ApplyLanguage(bool withAncestors);
  bool LanguageOnShow() const { return languageOnShow_; }
  void SetLanguageOnShow(bool v) { languageOnShow_ = v; }

  // Published handlers of the form resource.
  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);

 protected:
  // Class names from the most basic below stopClass up to the component's own.
  static std::vector<std::string> PackNames(const TComponent& component, bool withAncestors,
                                            const TClassInfo& stopClass);
  void ApplyPacks(TComponent& component, const std::vector<std::string>& names);
  void PrepareControl(TComponent& component);

  bool translated_ = false;
  bool languageOnShow_ = true;
};

// Widens a one-picture glyph to two pictures, the second drawn as the platform draws a
// disabled button (embossed shadow and highlight); false when it has no single picture.
bool AddDisabledPicture(TBitmap& picture, int& numGlyphs);

}  // namespace nv
