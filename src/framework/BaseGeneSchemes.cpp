// Condition schemes: named sets of option-form values kept per user and program by the
// application server, listed in lstCondition, saved with their date rules, opened, renamed
// in place and deleted.
#include "framework/BaseGene.h"

#include <algorithm>

#include "platform/core/CodePage.h"
#include "platform/core/DateUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Dialogs.h"
#include "runtime/LibStrs.h"
#include "runtime/LibVCLs.h"

namespace nv {

namespace {

const std::string kC3(1, '\x03');
constexpr char kSection[] = "TfrmBaseGene";
constexpr std::size_t kMaxSchemeNameBytes = 20;
constexpr int kColumnPadding = 12;

// An entry "component.property" of the scheme property list; false when either is blank.
bool SplitEntry(const std::string& entry, std::string& component, std::string& property) {
  std::string rest = entry;
  component = Trim(CutToken(rest, "."));
  property = Trim(rest);
  return !component.empty() && !property.empty();
}

// The entries of a property list: each followed by ";", the piece after the last one is none.
std::vector<std::string> Entries(const std::string& list) {
  std::vector<std::string> entries;
  std::string rest = list;
  while (!rest.empty()) entries.push_back(CutToken(rest, ";"));
  return entries;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Date rules

std::string TfrmBaseGene::TDateRule::TShift::Apply(const std::string& yyyymmdd) const {
  if (!Active || yyyymmdd.empty()) return yyyymmdd;
  if (Count == "0" && DayKind == "0" && DayOffset == "0") return yyyymmdd;
  return UpdateDate(yyyymmdd, Count, Unit, DayOffset, DayKind);
}

std::string TfrmBaseGene::TDateRule::Text() const {
  auto shift = [](const TShift& s) {
    return std::string(s.Active ? "Y" : "N") + kC3 + s.Count + kC3 + s.Unit + kC3 + s.DayKind +
           kC3 + s.DayOffset;
  };
  std::string text = std::string(IsPanel ? "0" : "1") + kC3 + Name + kC3 + shift(Begin);
  if (IsPanel) text += kC3 + shift(End);
  return text + kC3 + Last;
}

bool TfrmBaseGene::TDateRule::Parse(const std::string& text, TDateRule& rule) {
  const std::string kind = GetToken(text, kC3, 1);
  if (kind != "0" && kind != "1") return false;
  rule.IsPanel = kind == "0";
  rule.Name = GetToken(text, kC3, 2);
  auto shift = [&text](int first) {
    TShift s;
    s.Active = GetToken(text, kC3, first) == "Y";
    s.Count = GetToken(text, kC3, first + 1);
    s.Unit = GetToken(text, kC3, first + 2);
    s.DayKind = GetToken(text, kC3, first + 3);
    s.DayOffset = GetToken(text, kC3, first + 4);
    return s;
  };
  rule.Begin = shift(3);
  rule.End = rule.IsPanel ? shift(8) : TShift();
  rule.Last = GetToken(text, kC3, rule.IsPanel ? 13 : 8);
  return true;
}

std::string TfrmBaseGene::ResolveDateRule(TComponent& component) {
  for (int i = 0; i < dateRules_->Count(); ++i) {
    TDateRule rule;
    if (!TDateRule::Parse(dateRules_->Get(i), rule) || !SameText(rule.Name, component.Name()))
      continue;
    if (auto* panel = dynamic_cast<TSelectPanel*>(&component); panel && rule.IsPanel)
      return rule.Begin.Apply(DateTextToYMD(panel->edBegin->Text())) + kC3 +
             rule.End.Apply(DateTextToYMD(panel->edFinal->Text()));
    return rule.Begin.Apply(DateTextToYMD(GetStringProperty(&component, "Text")));
  }
  return {};
}

// ---------------------------------------------------------------------------------------
// Saving and restoring

std::string TfrmBaseGene::SchemeLine(const std::string& entry) {
  std::string name, property;
  if (!SplitEntry(entry, name, property)) return {};
  TComponent* c = FindComponent(name);
  if (c == nullptr) return {};
  if (auto* panel = dynamic_cast<TSelectPanel*>(c); panel && SameText(property, "style")) {
    if (panel->Style() == sp_Range && IsDateField(*panel))
      return "sp_Range" + kC3 + ResolveDateRule(*panel);
    return panel->SchemeValue();
  }
  const TPropInfo* info = c->ClassInfo().FindProperty(property);
  if (info == nullptr) {
    if (auto* combo = dynamic_cast<TComboBox*>(c)) return IntToStr(combo->ItemIndex());
    return {};
  }
  switch (info->Kind) {
    case tkInteger:
    case tkChar:
    case tkSet:
      return IntToStr(GetOrdProp(*c, property));
    case tkEnumeration:
      return GetEnumProp(*c, property);
    case tkFloat:
      return FloatToStr(GetFloatProp(*c, property));
    case tkString:
      if (IsDateField(*c)) return ResolveDateRule(*c);
      if (IsYearMonthField(*c)) return YearMonthTextToYM(GetStrProp(*c, property));
      return GetStrProp(*c, property);
    default:
      return {};
  }
}

bool TfrmBaseGene::SaveScheme(const std::string& propertyList, const std::string& name,
                              bool replace) {
  try {
    std::string lines;
    for (const std::string& entry : Entries(propertyList)) lines += SchemeLine(entry) + "\r\n";
    const Variant record =
        Variant::ArrayOf({NvConverter->RecoverDataString(Variant(name)), Variant(UserID()),
                          Variant(FormatDateTime("yyyymmdd", Date())), Variant(ProgramCode()),
                          Variant(schemeProperties_),
                          NvConverter->RecoverDataString(Variant(lines)), Variant(replace)});
    return VarToStr(AppServer().Call("InsertConTable", {record})).empty();
  } catch (const std::exception&) {
    return false;
  }
}

void TfrmBaseGene::RestorePanel(TSelectPanel& panel, const std::string& line) {
  const std::string kind = GetToken(line, kC3, 1);
  if (kind == "sp_Range") {
    std::string b = GetToken(line, kC3, 2), e = GetToken(line, kC3, 3);
    if (IsDateField(panel)) {
      panel.SetEditMask(DateEditMask());
      b = DisplayDate(b);
      e = DisplayDate(e);
    }
    panel.edBegin->SetText(b);
    panel.edFinal->SetText(e);
  } else if (kind == "sp_Discrete") {
    panel.SetRowText(GetToken(line, kC3, 2));
  } else if (kind == "sp_UserChoice") {
    const std::string choice = GetToken(line, kC3, 2);
    SetEnumProp(panel, "UserChoice", choice);
    if (choice != "True") {
      try {
        panel.SetRowText(GetToken(line, kC3, 3));
      } catch (const std::exception&) {
      }
    } else {
      panel.edBegin->SetText(GetToken(line, kC3, 3));
      panel.edFinal->SetText(GetToken(line, kC3, 4));
    }
  }
}

// False when the property's kind cannot be restored: the restore stops there.
bool TfrmBaseGene::RestoreProperty(TComponent& c, const std::string& property,
                                   const std::string& line) {
  const TPropInfo* info = c.ClassInfo().FindProperty(property);
  if (info == nullptr) {
    if (auto* combo = dynamic_cast<TComboBox*>(&c)) combo->SetItemIndex(StrToInt(line));
    return true;
  }
  switch (info->Kind) {
    case tkInteger:
    case tkChar:
    case tkSet:
      SetOrdProp(c, property, StrToInt(line));
      return true;
    case tkEnumeration:
      SetEnumProp(c, property, line);
      return true;
    case tkFloat:
      SetFloatProp(c, property, StrToFloat(line));
      return true;
    case tkString:
      if (IsDateField(c)) {
        SetStringProperty(&c, "EditMask", DateEditMask());
        SetStrProp(c, property, DisplayDate(line));
      } else if (IsYearMonthField(c)) {
        SetStringProperty(&c, "EditMask", YearMonthEditMask());
        SetStrProp(c, property, DisplayYearMonth(line));
      } else {
        SetStrProp(c, property, line);
      }
      return true;
    default:
      return false;
  }
}

bool TfrmBaseGene::RestoreScheme(const std::string& propertyList, const std::string& values) {
  std::string rest = values;
  try {
    for (const std::string& entry : Entries(propertyList)) {
      const std::string line = CutToken(rest, "\r\n");
      std::string name, property;
      TComponent* c = SplitEntry(entry, name, property) ? FindComponent(name) : nullptr;
      if (c == nullptr) continue;
      BeforeRestoreControl(c, line);
      if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
        RestorePanel(*panel, line);
        continue;
      }
      if (!RestoreProperty(*c, property, line)) break;
      AfterRestoreControl(c, line);
    }
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------
// The scheme list

void TfrmBaseGene::SetupSchemeColumns() {
  lstCondition->Columns()->Clear();
  std::string caption;
  LangText(kSection, "sProjectName", caption, true, SysText("方案名称"));
  TListColumn* nameColumn = lstCondition->Columns()->Add();
  nameColumn->SetCaption(caption);
  nameColumn->SetWidth(TextWidthOf(*lstCondition->Font(), caption) + kColumnPadding);
  LangText(kSection, "sCreateTime", caption, true, SysText("创建时间"));
  TListColumn* dateColumn = lstCondition->Columns()->Add();
  dateColumn->SetCaption(caption);
  // the last column fitted to its header also takes the rest of the list's width
  dateColumn->SetWidth(std::max(TextWidthOf(*lstCondition->Font(), caption) + kColumnPadding,
                                lstCondition->Width() - nameColumn->Width() - 4));
  lstCondition->SetColumnClick(false);
  lstCondition->SetSortType(stText);
}

bool TfrmBaseGene::LoadSchemeList() {
  Variant server = AppServer();
  if (!server.IsObject()) return false;
  TCursor cursor = Screen()->Cursor();
  Screen()->SetCursor(crHourGlass);
  lstCondition->Items()->BeginUpdate();
  const TViewStyle style = lstCondition->ViewStyle();
  lstCondition->SetViewStyle(vsList);
  auto restore = [&] {
    lstCondition->SetViewStyle(style);
    lstCondition->Items()->EndUpdate();
    Screen()->SetCursor(cursor);
  };
  try {
    lstCondition->Items()->Clear();
    server.Call("LoadTable", {Variant::ArrayOf({Variant(UserID()), Variant(ProgramCode())})});
    ClientDataSet1->Close();
    ClientDataSet1->Open();
    for (ClientDataSet1->First(); !ClientDataSet1->Eof(); ClientDataSet1->Next()) {
      TListItem* item = lstCondition->Items()->Add();
      item->SetCaption(VarToStr(
          NvConverter->ConvertDataString(ClientDataSet1->FieldByName("NCONDITION").Value())));
      const TDateTime created = TransDateIn(ClientDataSet1->FieldByName("CREATE_DATE").AsString());
      item->SubItems()->Add(created == 0 ? std::string() : DateToStr(created));
      item->SetImageIndex(0);
    }
  } catch (const std::exception& e) {
    restore();
    throw Exception(e.what());
  }
  restore();
  return true;
}

Variant TfrmBaseGene::SchemeKey(const std::string& name) const {
  return Variant::ArrayOf(
      {NvConverter->RecoverDataString(Variant(name)), Variant(UserID()), Variant(ProgramCode())});
}

void TfrmBaseGene::btnOpenClick(TObject*) {
  TListItem* item = lstCondition->Selected();
  if (item == nullptr) return;
  if (!ClientDataSet1->Locate("NCONDITION;CREATOR;PROGRAMME", SchemeKey(item->Caption()))) return;
  TCursor cursor = Screen()->Cursor();
  Screen()->SetCursor(crHourGlass);
  const std::string properties =
      VarToStr(NvConverter->ConvertDataString(ClientDataSet1->FieldByName("SCONDITION").Value()));
  const std::string values =
      VarToStr(NvConverter->ConvertDataString(ClientDataSet1->FieldByName("VCONDITION").Value()));
  const bool restored = RestoreScheme(properties, values);
  Screen()->SetCursor(cursor);
  if (!restored) ShowMessages("R;200235");
  AfterSchemeOpened();
}

void TfrmBaseGene::btnDeleteClick(TObject*) {
  TListItem* item = lstCondition->Selected();
  if (item == nullptr) return;
  std::string text;
  LangText(kSection, "sDeleteProj", text, true, SysText("确实要删除此方案吗？"));
  if (ShowCodeMessage(text + item->Caption(), mtConfirmation, {mbYes, mbNo}) != mrYes) return;
  const std::string answer =
      VarToStr(AppServer().Call("DeleteConTable", {SchemeKey(item->Caption())}));
  if (!answer.empty()) throw Exception(VarToStr(NvConverter->ConvertDataString(Variant(answer))));
  LoadSchemeList();
}

void TfrmBaseGene::RenameRefused(const char* key, const char* defaultText) {
  std::string text;
  LangText(kSection, key, text, true, SysText(defaultText));
  ShowCodeMessage(text, mtError, {mbOK});
}

void TfrmBaseGene::lstConditionEdited(TObject*, TListItem* item, std::string& s) {
  const std::string old = item->Caption();
  if (Trim(s).empty()) {
    s = old;
    return RenameRefused("sProjNameEmpty", "方案名不可空白!");
  }
  if (s.size() > kMaxSchemeNameBytes) {
    s = old;
    return RenameRefused("sProjNameError", "方案名长度不可大于20!");
  }
  for (int i = 0; i < lstCondition->Items()->Count(); ++i) {
    TListItem* other = lstCondition->Items()->Item(i);
    if (other != item && other->Caption() == s) {
      s = old;
      return RenameRefused("sProjNameExist", "此方案名称已经存在！");
    }
  }
  if (s == old) return;
  const std::string answer =
      VarToStr(AppServer().Call("ChangeConName", {SchemeKey(old), SchemeKey(s)}));
  if (!answer.empty()) {
    const std::string renamed = s;
    s = old;
    RenameRefused("sFailedRename", "更改方案名失败!");
    throw Exception(VarToStr(NvConverter->ConvertDataString(Variant(answer))));
  }
  if (ClientDataSet1->Locate("NCONDITION;CREATOR;PROGRAMME", SchemeKey(old))) {
    ClientDataSet1->Edit();
    ClientDataSet1->FieldByName("NCONDITION").SetValue(NvConverter->RecoverDataString(Variant(s)));
    ClientDataSet1->Post();
  }
}

void TfrmBaseGene::btnInsertClick(TObject*) {
  // leaving the current field runs its check; a failed check keeps the focus there
  if (pnlCondition->CanFocus()) pnlCondition->SetFocus();
}

// ---------------------------------------------------------------------------------------
// View styles

void TfrmBaseGene::ToolButton1Click(TObject*) {
  static const char* const kViews[] = {"ViewIcon", "ViewSmallIcon", "ViewList", "ViewReport"};
  const int tag = (ToolButton1->Tag() + 1) % 4;
  ToolButton1->SetTag(tag);
  TNotifyEvent(MethodByName(*this, std::string(kViews[tag]) + "Execute"))(this);
}

void TfrmBaseGene::SetSchemeView(TViewStyle style, TMenuItem* item) {
  lstCondition->Items()->BeginUpdate();
  lstCondition->SetViewStyle(style);
  lstCondition->Items()->EndUpdate();
  if (item != nullptr) item->SetChecked(true);
}

void TfrmBaseGene::ViewIconExecute(TObject*) {
  SetSchemeView(vsIcon, N7);
}
void TfrmBaseGene::ViewSmallIconExecute(TObject*) {
  SetSchemeView(vsSmallIcon, N8);
}
void TfrmBaseGene::ViewListExecute(TObject*) {
  SetSchemeView(vsList, N9);
}
void TfrmBaseGene::ViewReportExecute(TObject*) {
  SetSchemeView(vsReport, N10);
}

}  // namespace nv
