#include "runtime/CodeConverter.h"

#include "platform/rtti/StringList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
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
  if (auto* panels = ObjectPropertyAs<TStatusPanels>(component, "Panels"))
    for (int i = 0; i < panels->Count(); ++i) {
      TStatusPanel* panel = panels->Items(i);
      if (!panel->Text().empty())
        panel->SetText(StrTransCode(uiConvertKind_, Variant(panel->Text())).AsString());
    }
}

std::string TCodeConverter::ListText(const std::string& text) const {
  if (text.empty()) return text;
  return uiConvertKind_ == 1 ? Big5ToGB(text) : GBToBig5(text);
}

void TCodeConverter::TranslateRows(TListColumns* columns, TListItems* items) const {
  for (int i = 0; columns != nullptr && i < columns->Count(); ++i)
    columns->Items(i)->SetCaption(ListText(columns->Items(i)->Caption()));
  for (int i = 0; items != nullptr && i < items->Count(); ++i) {
    TListItem* item = items->Item(i);
    item->SetCaption(ListText(item->Caption()));
    TStrings* sub = item->SubItems();
    for (int k = 0; k < sub->Count(); ++k) sub->Put(k, ListText(sub->Get(k)));
  }
}

void TCodeConverter::TranslateWordLists(TComponent& panel) const {
  // The selection panel's word lists go back through their setters, which pass the words
  // on to the panel's inner controls.
  for (const char* name : {"ChildHints", "BeginWords", "FinalWords"}) {
    TStrings* list = ObjectPropertyAs<TStrings>(panel, name);
    if (list == nullptr) continue;
    TStringList words;
    for (int i = 0; i < list->Count(); ++i) words.Add(ListText(list->Get(i)));
    SetObjectProp(panel, name, &words);
  }
  if (CheckPropertyExist(&panel, "HintWord"))
    SetStringProperty(&panel, "HintWord", ListText(GetStringProperty(&panel, "HintWord")));
  TranslateRows(ObjectPropertyAs<TListColumns>(panel, "Columns"),
                ObjectPropertyAs<TListItems>(panel, "Items"));
}

void TCodeConverter::TranslateLists(TComponent& component, bool includeLists) const {
  // Owner-drawn menus are drawn in the screen's menu font, which has the interface's
  // character set.
  if (auto* menu = dynamic_cast<TMenu*>(&component)) menu->SetOwnerDraw(true);
  if (uiConvertKind_ != 1 && uiConvertKind_ != 2) return;
  if (auto* view = dynamic_cast<TListView*>(&component))
    TranslateRows(view->Columns(), view->Items());
  else if (ObjectPropertyAs<TStrings>(component, "ChildHints") != nullptr)
    TranslateWordLists(component);
  if (auto* combo = dynamic_cast<TComboBox*>(&component)) {
    if (combo->Style() != csSimple) {
      const int selected = combo->ItemIndex();
      combo->SetStyle(csOwnerDrawFixed);
      combo->SetItemIndex(selected);
    }
    if (combo->ItemIndex() < 0 && combo->Items()->Count() > 0) combo->SetItemIndex(0);
  }
  if (!includeLists) return;
  if (auto* tree = dynamic_cast<TTreeView*>(&component))
    for (int i = 0; i < tree->Items()->Count(); ++i)
      tree->Items()->Item(i)->SetText(ListText(tree->Items()->Item(i)->Text()));
  if (auto* grid = dynamic_cast<TStringGrid*>(&component))
    for (int row = 0; row < grid->RowCount(); ++row)
      for (int col = 0; col < grid->ColCount(); ++col)
        grid->SetCells(col, row, ListText(grid->Cells(col, row)));
}

void TCodeConverter::TranslateScreenFonts() const {
  SetUIFont(uiConvertKind_, *Screen()->IconFont());
  SetUIFont(uiConvertKind_, *Screen()->HintFont());
  SetUIFont(uiConvertKind_, *Screen()->MenuFont());
  // The hint window takes the new font when hints are switched on again.
  Application()->SetShowHint(false);
  Application()->SetShowHint(true);
}

void TCodeConverter::DoTranslate(TComponent& form, std::string_view exclusions, bool includeLists) {
  if (translator_ == nullptr) return;
  if (sysCodePage_ == "950" && CheckPropertyExist(&form, "Caption")) {
    const std::string caption = GetStringProperty(&form, "Caption");
    SetStringProperty(&form, "Caption", StrTransCode(2, Variant(caption)).AsString());
  }
  TranslateStringProperty(form, "Hint");
  TranslateStringProperty(form, "ButtonHint");
  TranslateScreenFonts();
  const std::vector<TComponent*> owned = form.Components();
  for (TComponent* component : owned) {
    TranslateComponent(*component);
    TranslateLists(*component, includeLists);
  }
}

TModalResult TCodeConverter::NvCodeMessageDlg(const std::string& message, TMsgDlgType type,
                                              TMsgDlgButtons buttons) const {
  if (message.empty()) return mrNone;
  std::string text = message;
  // Blanks keep the last characters of a GB text clear of the dialog's edge.
  if (uiCodePage_ == "936" || sysCodePage_ == "936") text += "      ";
  auto* form = dynamic_cast<TForm*>(Owner());
  if (form != nullptr && form->WindowState() == wsMinimized) form->SetWindowState(wsNormal);
  TFont font;
  SetUIFont(uiConvertKind_, font);
  TDialogRequest request;
  request.Kind = dkMessageDlg;
  request.Caption = form != nullptr ? form->Caption() : Application()->Title();
  request.Text = text;
  const TEnumInfo& names = NvEnumInfo(static_cast<const TMsgDlgBtn*>(nullptr));
  for (int b = mbYes; b <= mbHelp; ++b)
    if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) request.Buttons.emplace_back(names.Name(b));
  request.DefaultResult = ButtonResult(DefaultButton(buttons));
  request.Fields["DlgType"] = Variant(std::string(
      NvEnumInfo(static_cast<const TMsgDlgType*>(nullptr)).Name(static_cast<int>(type))));
  request.Fields["FontName"] = Variant(font.Name());
  request.Fields["FontCharset"] = Variant(static_cast<int>(font.Charset()));
  return Interaction().Ask(request).ModalResult;
}

NV_PUBLISH(TCodeConverter) {
  b.Prop("DesignType", &TCodeConverter::DesignType, &TCodeConverter::SetDesignType)
      .Default(dtClient);
}

}  // namespace nv
