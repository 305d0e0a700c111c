#include "runtime/CodeConverter.h"

#include "platform/rtti/StringList.h"
#include "runtime/LibVCLs.h"

namespace nv {
namespace {

constexpr const char* kInterfaceFontName = "SimSun";

TConvertKind Reverse(TConvertKind kind) {
  return kind == 1 ? 2 : (kind == 2 ? 1 : 0);
}

template <class T>
T* ObjectPropertyAs(const TObject& object, std::string_view name) {
  const TPropInfo* info = FindPropInfo(object.ClassInfo(), name);
  if (info == nullptr || info->Kind != tkClass || !info->GetObject) return nullptr;
  return dynamic_cast<T*>(info->GetObject(object));
}

}  // namespace

TCodeConverter::TCodeConverter(TComponent* owner) : TComponent(owner) {
  ReadSettings();
  if (uiConvertKind_ != 0) translator_ = std::make_unique<TTranslator>();
}

TCodeConverter::~TCodeConverter() = default;

void TCodeConverter::ReadSettings() {
  auto copy = [this](const TBatonIniBase& ini) {
    sysCodePage_ = ini.SysCodePage();
    uiCodePage_ = ini.UICodePage();
    dbCodePage_ = ini.DBCodePage();
    uiConvertKind_ = ini.UIConvertKind();
    dataConvertKind_ = ini.DataConvertKind();
  };
  if (designType_ == dtServer) {
    copy(TBatonIniS());
  } else {
    copy(TBatonIniC());
  }
}

std::string TCodeConverter::TranslateText(TConvertKind kind, const std::string& text) const {
  if (kind == 1) return translator_->BIG5toGB(text);
  if (kind == 2) return translator_->GBtoBIG5(text);
  return text;
}

Variant TCodeConverter::StrTransCode(TConvertKind kind, const Variant& value) const {
  Variant result = value;
  if (kind == 0 || translator_ == nullptr || value.IsEmpty() || value.IsNull()) return result;
  if (value.IsArray()) {
    if (value.DimCount() == 2) {
      for (int i = value.LowBound(1); i <= value.HighBound(1); ++i)
        for (int j = value.LowBound(2); j <= value.HighBound(2); ++j)
          result.At(i, j) = StrTransCode(kind, value.At(i, j));
      return result;
    }
    for (int i = value.LowBound(); i <= value.HighBound(); ++i) {
      const Variant& element = value[i];
      if (element.IsArray()) {
        result[i] = StrTransCode(kind, element);
      } else if ((kind == 1 || kind == 2) && !element.IsEmpty() && !element.IsNull()) {
        result[i] = TranslateText(kind, element.AsString());
      }
    }
    return result;
  }
  if (kind == 1 || kind == 2) return Variant(TranslateText(kind, value.AsString()));
  return result;
}

Variant TCodeConverter::ConvertUIString(const Variant& value) const {
  return StrTransCode(uiConvertKind_, value);
}

Variant TCodeConverter::RecoverUIString(const Variant& value) const {
  try {
    return StrTransCode(Reverse(uiConvertKind_), value);
  } catch (const std::exception&) {
    return value;
  }
}

Variant TCodeConverter::ConvertDataString(const Variant& value) const {
  return StrTransCode(dataConvertKind_, value);
}

Variant TCodeConverter::RecoverDataString(const Variant& value) const {
  try {
    return StrTransCode(Reverse(dataConvertKind_), value);
  } catch (const std::exception&) {
    return value;
  }
}

std::string TCodeConverter::Big5ToGB(std::string_view text) const {
  if (text.empty()) return {};
  if (translator_ == nullptr) throw ETranslatorError("No language library loaded");
  return translator_->BIG5toGB(text);
}

std::string TCodeConverter::GBToBig5(std::string_view text) const {
  if (text.empty()) return {};
  if (translator_ == nullptr) throw ETranslatorError("No language library loaded");
  return translator_->GBtoBIG5(text);
}

void TCodeConverter::SetUIFont(TConvertKind kind, TFont& font) {
  if (kind == 0 || kind == 1 || kind == 4) {
    font.SetName(kInterfaceFontName);
    font.SetCharset(GB2312_CHARSET);
  } else if (kind == 2 || kind == 3) {
    font.SetName(kInterfaceFontName);
    font.SetCharset(CHINESEBIG5_CHARSET);
  }
}

void TCodeConverter::TranslateStringProperty(TObject& object, std::string_view name) const {
  if (!CheckPropertyExist(&object, name)) return;
  const std::string text = GetStringProperty(&object, name);
  if (text.empty()) return;
  SetStringProperty(&object, name, StrTransCode(uiConvertKind_, Variant(text)).AsString());
}

void TCodeConverter::TranslateStyle(TComponent& component) const {
  const TPropInfo* style = FindPropInfo(component.ClassInfo(), "Style");
  if (style == nullptr || style->Kind != tkEnumeration) return;
  const std::string name = GetEnumProp(component, "Style");
  std::string owner;
  if (name == "csDropDown") owner = "csOwnerDrawVariable";
  if (name == "csDropDownList") owner = "csOwnerDrawFixed";
  if (name == "lbStandard") owner = "lbOwnerDrawFixed";
  if (owner.empty()) return;
  const bool keepsIndex = CheckPropertyExist(&component, "ItemIndex");
  const std::int64_t selected = keepsIndex ? GetOrdinalProperty(&component, "ItemIndex") : -1;
  try {
    SetEnumProp(component, "Style", owner);
  } catch (const std::exception&) {
    return;  // a style type without owner-drawn values
  }
  if (keepsIndex && GetOrdinalProperty(&component, "ItemIndex") != selected)
    SetOrdinalProperty(&component, "ItemIndex", selected);
}

void TCodeConverter::TranslateComponent(TComponent& component) const {
  if (TFont* font = ObjectPropertyAs<TFont>(component, "Font")) SetUIFont(uiConvertKind_, *font);
  if (TFont* font = ObjectPropertyAs<TFont>(component, "TitleFont"))
    SetUIFont(uiConvertKind_, *font);
  TranslateStringProperty(component, "Caption");
  TranslateStringProperty(component, "Hint");
  TranslateStringProperty(component, "ButtonHint");
  for (const char* listName : {"Items", "Lines"}) {
    TStrings* list = ObjectPropertyAs<TStrings>(component, listName);
    if (list == nullptr || list->Count() == 0) continue;
    const bool keepsIndex = CheckPropertyExist(&component, "ItemIndex");
    const std::int64_t selected = keepsIndex ? GetOrdinalProperty(&component, "ItemIndex") : -1;
    list->SetText(StrTransCode(uiConvertKind_, Variant(list->Text())).AsString());
    if (keepsIndex) SetOrdinalProperty(&component, "ItemIndex", selected);
  }
  TranslateStringProperty(component, "Text");
  TranslateStyle(component);
}

void TCodeConverter::DoTranslate(TComponent& form, std::string_view exclusions, bool includeLists) {
  if (translator_ == nullptr) return;
  if (sysCodePage_ == "950" && CheckPropertyExist(&form, "Caption")) {
    const std::string caption = GetStringProperty(&form, "Caption");
    SetStringProperty(&form, "Caption", StrTransCode(2, Variant(caption)).AsString());
  }
  TranslateStringProperty(form, "Hint");
  TranslateStringProperty(form, "ButtonHint");
  // TODO(ui): screen fonts, list views, tab sets, menus, grids and navigators once the
  // headless controls exist.
  const std::vector<TComponent*> owned = form.Components();
  for (TComponent* component : owned) TranslateComponent(*component);
}

NV_PUBLISH(TCodeConverter) {
  b.Prop("DesignType", &TCodeConverter::DesignType, &TCodeConverter::SetDesignType)
      .Default(dtClient);
}

}  // namespace nv
