#include "dateconditions/GeneConditionCF.h"

#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Dialogs.h"
#include "runtime/LibStrs.h"
#include "runtime/LibVCLs.h"

NV_FORM_TEXT_DECLARE(GeneConditionCF)

namespace nv {

namespace {

constexpr char kSection[] = "TfrmGeneCondition";
constexpr char kRuleSeparator = '\x03';

bool IsNonZeroInteger(const std::string& text) {
  int value = 0;
  return TryStrToInt(Trim(text), value) && value != 0;
}

}  // namespace

NV_PUBLISH(TfrmGeneCondition) {
  b.FormText(NV_FORM_TEXT(GeneConditionCF));
  b.Field("lblCondition", &TfrmGeneCondition::lblCondition);
  b.Field("edConName", &TfrmGeneCondition::edConName);
  b.Field("gbDateFields", &TfrmGeneCondition::gbDateFields);
  b.Field("lblPeriod13", &TfrmGeneCondition::lblPeriod13);
  b.Field("cbodatecondition", &TfrmGeneCondition::cbodatecondition);
  b.Field("pnEdit", &TfrmGeneCondition::pnEdit);
  b.Field("edSetDate", &TfrmGeneCondition::edSetDate);
  b.Field("lblPeriod15", &TfrmGeneCondition::lblPeriod15);
  b.Field("seSetDay1", &TfrmGeneCondition::seSetDay1);
  b.Field("cboSetDay1", &TfrmGeneCondition::cboSetDay1);
  b.Field("cboSetDay2", &TfrmGeneCondition::cboSetDay2);
  b.Field("seSetDay2", &TfrmGeneCondition::seSetDay2);
  b.Field("lblPeriod16", &TfrmGeneCondition::lblPeriod16);
  b.Field("pnSp", &TfrmGeneCondition::pnSp);
  b.Field("spDate_B", &TfrmGeneCondition::spDate_B);
  b.Field("lblPeriodB", &TfrmGeneCondition::lblPeriodB);
  b.Field("seSetDay_B1", &TfrmGeneCondition::seSetDay_B1);
  b.Field("cboSetDay_B1", &TfrmGeneCondition::cboSetDay_B1);
  b.Field("cboSetDay_B2", &TfrmGeneCondition::cboSetDay_B2);
  b.Field("seSetDay_B2", &TfrmGeneCondition::seSetDay_B2);
  b.Field("lblPeriodB1", &TfrmGeneCondition::lblPeriodB1);
  b.Field("spDate_E", &TfrmGeneCondition::spDate_E);
  b.Field("lblPeriodE", &TfrmGeneCondition::lblPeriodE);
  b.Field("seSetDay_E1", &TfrmGeneCondition::seSetDay_E1);
  b.Field("cboSetDay_E1", &TfrmGeneCondition::cboSetDay_E1);
  b.Field("cboSetDay_E2", &TfrmGeneCondition::cboSetDay_E2);
  b.Field("seSetDay_E2", &TfrmGeneCondition::seSetDay_E2);
  b.Field("lblPeriodE1", &TfrmGeneCondition::lblPeriodE1);
  b.Field("btnOk", &TfrmGeneCondition::btnOk);
  b.Field("btnCancel", &TfrmGeneCondition::btnCancel);
  b.Method("cbodateconditionChange", &TfrmGeneCondition::cbodateconditionChange);
  b.Method("edSetDateClick", &TfrmGeneCondition::edSetDateClick);
  b.Method("spDate_BClick", &TfrmGeneCondition::spDate_BClick);
  b.Method("spDate_EClick", &TfrmGeneCondition::spDate_EClick);
  b.Method("DayKindChange", &TfrmGeneCondition::DayKindChange);
  b.Method("RuleControlChange", &TfrmGeneCondition::RuleControlChange);
  b.Method("RuleControlEnter", &TfrmGeneCondition::RuleControlEnter);
  b.Method("SpinEditExit", &TfrmGeneCondition::SpinEditExit);
  b.Method("btnOkClick", &TfrmGeneCondition::btnOkClick);
  b.Method("FormKeyPress", &TfrmGeneCondition::FormKeyPress);
}

TfrmGeneCondition::TfrmGeneCondition(TComponent* owner) : TNVForm(owner) {}

void TfrmGeneCondition::Prepare(TfrmBaseGene& optionForm, const std::string& dateFields,
                                int skipCount) {
  optionForm_ = &optionForm;
  TCodeConverter::SetUIFont(optionForm.UIFontKind(), *Font());
  NvConverter->DoTranslate(*this, "", true);
  SetCaption(optionForm.Caption());
  dateFields_ = dateFields;
  skipCount_ = skipCount;
  SetDateEnv();
  replace_ = false;
}

TStrings& TfrmGeneCondition::Rules() const {
  return *optionForm_->DateRules();
}

TfrmGeneCondition::TShiftControls TfrmGeneCondition::EditDate() const {
  return {edSetDate, seSetDay1, cboSetDay1, cboSetDay2, seSetDay2};
}
TfrmGeneCondition::TShiftControls TfrmGeneCondition::BeginDate() const {
  return {spDate_B, seSetDay_B1, cboSetDay_B1, cboSetDay_B2, seSetDay_B2};
}
TfrmGeneCondition::TShiftControls TfrmGeneCondition::EndDate() const {
  return {spDate_E, seSetDay_E1, cboSetDay_E1, cboSetDay_E2, seSetDay_E2};
}

void TfrmGeneCondition::SetDateEnv() {
  for (TComboBox* c :
       {cboSetDay1, cboSetDay2, cboSetDay_B1, cboSetDay_B2, cboSetDay_E1, cboSetDay_E2})
    c->SetItemIndex(0);
  Rules().Clear();
  cbodatecondition->Items()->Clear();
  Variant texts = optionForm_->CollectedConditionTexts();
  const int offered = NumToken(dateFields_, ",") - skipCount_;
  for (int i = 1; i <= offered; ++i) {
    const std::string name = Trim(GetToken(dateFields_, ",", i));
    TComponent* c = name.empty() ? nullptr : optionForm_->FindComponent(name);
    if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
      AddField(panel->Caption(), name, true);
    } else if (dynamic_cast<TCustomEdit*>(c) != nullptr) {
      bool found = false;
      if (texts.IsArray())
        for (int k = texts.LowBound(); k <= texts.HighBound(); ++k)
          if (texts[k].IsArray() && VarToStr(texts[k][1]) == name) {
            AddField(VarToStr(texts[k][0]), name, false);
            found = true;
          }
      if (!found) AddField(EditCaption(*c), name, false);
    }
  }
  if (cbodatecondition->Items()->Count() == 0) {
    gbDateFields->SetEnabled(false);
    return;
  }
  cbodatecondition->SetItemIndex(0);
  cbodateconditionChange(cbodatecondition);
  gbDateFields->SetEnabled(true);
}

std::string TfrmGeneCondition::EditCaption(TComponent& edit) const {
  if (CheckPropertyExist(&edit, "Caption")) return GetStringProperty(&edit, "Caption");
  for (TComponent* c : optionForm_->Components())
    if (auto* label = dynamic_cast<TLabel*>(c); label && label->FocusControl() == &edit)
      return label->Caption();
  return edit.Name();
}

void TfrmGeneCondition::AddField(const std::string& caption, const std::string& name, bool panel) {
  TfrmBaseGene::TDateRule rule;
  rule.IsPanel = panel;
  rule.Name = name;
  if (panel) {
    rule.Begin = ReadShift(BeginDate());
    rule.End = ReadShift(EndDate());
  } else {
    rule.Begin = ReadShift(EditDate());
  }
  cbodatecondition->Items()->Add(caption);
  Rules().Add(rule.Text());
}

void TfrmGeneCondition::ApplyBox(const TShiftControls& c) {
  const bool on = c.Box->Checked();
  c.Count->SetEnabled(on);
  c.Unit->SetEnabled(on);
  c.DayKind->SetEnabled(on);
  c.DayOffset->SetEnabled(on);
  if (on) ApplyDayKind(c);
}

void TfrmGeneCondition::ApplyDayKind(const TShiftControls& c) {
  c.DayOffset->SetEnabled(c.Box->Checked() && c.DayKind->ItemIndex() == 0);
}

void TfrmGeneCondition::LoadShift(const TShiftControls& c,
                                  const TfrmBaseGene::TDateRule::TShift& shift) {
  c.Box->SetChecked(shift.Active);
  ApplyBox(c);
  c.Count->SetText(shift.Count);
  c.Unit->SetItemIndex(StrToIntDef(shift.Unit, 0));
  c.DayKind->SetItemIndex(StrToIntDef(shift.DayKind, 0));
  c.DayOffset->SetText(shift.DayOffset);
  ApplyDayKind(c);
}

TfrmBaseGene::TDateRule::TShift TfrmGeneCondition::ReadShift(const TShiftControls& c) const {
  TfrmBaseGene::TDateRule::TShift shift;
  shift.Active = c.Box->Checked();
  shift.Count = c.Count->Text();
  shift.Unit = IntToStr(c.Unit->ItemIndex());
  shift.DayKind = IntToStr(c.DayKind->ItemIndex());
  shift.DayOffset = c.DayOffset->Text();
  return shift;
}

void TfrmGeneCondition::cbodateconditionChange(TObject*) {
  editing_ = false;
  const int index = cbodatecondition->ItemIndex();
  TfrmBaseGene::TDateRule rule;
  if (index < 0 || index >= Rules().Count() ||
      !TfrmBaseGene::TDateRule::Parse(Rules().Get(index), rule))
    return;
  loading_ = true;
  try {
    pnSp->SetVisible(rule.IsPanel);
    pnEdit->SetVisible(!rule.IsPanel);
    if (rule.IsPanel) {
      LoadShift(BeginDate(), rule.Begin);
      LoadShift(EndDate(), rule.End);
    } else {
      LoadShift(EditDate(), rule.Begin);
    }
  } catch (const std::exception&) {
    // a damaged rule loads as far as it goes; storing it below makes it whole again
  }
  loading_ = false;
  StoreRule();
}

void TfrmGeneCondition::StoreRule() {
  const int index = cbodatecondition->ItemIndex();
  TfrmBaseGene::TDateRule rule;
  if (index < 0 || index >= Rules().Count() ||
      !TfrmBaseGene::TDateRule::Parse(Rules().Get(index), rule))
    return;
  if (rule.IsPanel) {
    rule.Begin = ReadShift(BeginDate());
    rule.End = ReadShift(EndDate());
  } else {
    rule.Begin = ReadShift(EditDate());
  }
  Rules().Put(index, rule.Text());
}

void TfrmGeneCondition::BoxClicked(const TShiftControls& c) {
  ApplyBox(c);
  if (!loading_) StoreRule();
}

void TfrmGeneCondition::edSetDateClick(TObject*) {
  BoxClicked(EditDate());
}
void TfrmGeneCondition::spDate_BClick(TObject*) {
  BoxClicked(BeginDate());
}
void TfrmGeneCondition::spDate_EClick(TObject*) {
  BoxClicked(EndDate());
}

void TfrmGeneCondition::DayKindChange(TObject* sender) {
  for (const TShiftControls& c : {EditDate(), BeginDate(), EndDate()})
    if (c.DayKind == sender) ApplyDayKind(c);
  if (editing_ && !loading_) StoreRule();
}

void TfrmGeneCondition::RuleControlChange(TObject*) {
  if (editing_ && !loading_) StoreRule();
}

void TfrmGeneCondition::RuleControlEnter(TObject*) {
  editing_ = true;
}

void TfrmGeneCondition::SpinEditExit(TObject* sender) {
  auto* spin = dynamic_cast<TSpinEdit*>(sender);
  if (spin != nullptr && !IsNonZeroInteger(spin->Text())) spin->SetText("0");
}

void TfrmGeneCondition::FormKeyPress(TObject*, char& key) {
  if (key != '\r') return;
  key = 0;
  SelectNext(ActiveControl(), true, true);
}

void TfrmGeneCondition::btnOkClick(TObject*) {
  std::string text;
  if (Trim(edConName->Text()).empty()) {
    LangText(kSection, "sEmptyProjName", text, true, SysText("方案名不可空白!"));
    ShowCodeMessage(text, mtError, {mbOK});
    edConName->SetFocus();
    return;
  }
  Variant found;
  const Variant key = Variant::ArrayOf({Variant(edConName->Text()), Variant(optionForm_->UserID()),
                                        Variant(optionForm_->ProgramCode())});
  if (!optionForm_->QueryServer("GENES", "01", false, found, key)) {
    SetModalResult(mrOk);
    return;
  }
  LangText(kSection, "sReplaceProj", text, true,
           SysText("此方案名已存在！是否将原来的方案替换为此方案?"));
  if (ShowCodeMessage(text, mtConfirmation, mbOKCancel) == mrOk) {
    replace_ = true;
    SetModalResult(mrOk);
    return;
  }
  edConName->SetFocus();
}

Variant OpenDateConditionEditor(const std::string& dateFields, TfrmBaseGene& optionForm,
                                int skipCount) {
  auto* dialog = Create<TfrmGeneCondition>(&optionForm);
  Variant result = Variant::ArrayOf({Variant(""), Variant(""), Variant("")});
  try {
    dialog->Prepare(optionForm, dateFields, skipCount);
    if (dialog->ShowModal() == mrOk)
      result = Variant::ArrayOf({Variant(dialog->edConName->Text()), Variant(dateFields),
                                 Variant(dialog->ReplaceScheme())});
  } catch (...) {
    dialog->Free();
    throw;
  }
  dialog->Free();
  return result;
}

}  // namespace nv
