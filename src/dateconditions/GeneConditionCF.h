#pragma once
// GeneConditionCF: the dialog that opens when the user saves a condition scheme. It asks for
// the scheme's name and lets the user give every date field of the option form a date rule
// (the run date moved by weeks or months, then by days or to the first or last day). The
// rules stay on the option form; the scheme stores each date field with its rule applied.
#include <string>

#include "framework/BaseGene.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Spin.h"
#include "platform/ui/StdCtrls.h"

namespace nv {

class TfrmGeneCondition : public TNVForm {
  NV_CLASS(TfrmGeneCondition, TNVForm)
 public:
  explicit TfrmGeneCondition(TComponent* owner);

  // Takes the option form's font kind, caption and date fields, then builds the rules.
  void Prepare(TfrmBaseGene& optionForm, const std::string& dateFields, int skipCount);
  // Rebuilds the option form's rule list and the field list from the current controls.
  void SetDateEnv();
  bool ReplaceScheme() const { return replace_; }

  TLabel* lblCondition = nullptr;
  TEdit* edConName = nullptr;
  TGroupBox* gbDateFields = nullptr;
  TLabel* lblPeriod13 = nullptr;
  TComboBox* cbodatecondition = nullptr;
  TPanel* pnEdit = nullptr;
  TCheckBox* edSetDate = nullptr;
  TLabel* lblPeriod15 = nullptr;
  TSpinEdit* seSetDay1 = nullptr;
  TComboBox* cboSetDay1 = nullptr;
  TComboBox* cboSetDay2 = nullptr;
  TSpinEdit* seSetDay2 = nullptr;
  TLabel* lblPeriod16 = nullptr;
  TPanel* pnSp = nullptr;
  TCheckBox* spDate_B = nullptr;
  TLabel* lblPeriodB = nullptr;
  TSpinEdit* seSetDay_B1 = nullptr;
  TComboBox* cboSetDay_B1 = nullptr;
  TComboBox* cboSetDay_B2 = nullptr;
  TSpinEdit* seSetDay_B2 = nullptr;
  TLabel* lblPeriodB1 = nullptr;
  TCheckBox* spDate_E = nullptr;
  TLabel* lblPeriodE = nullptr;
  TSpinEdit* seSetDay_E1 = nullptr;
  TComboBox* cboSetDay_E1 = nullptr;
  TComboBox* cboSetDay_E2 = nullptr;
  TSpinEdit* seSetDay_E2 = nullptr;
  TLabel* lblPeriodE1 = nullptr;
  TButton* btnOk = nullptr;
  TButton* btnCancel = nullptr;

  void cbodateconditionChange(TObject* sender);
  void edSetDateClick(TObject* sender);
  void spDate_BClick(TObject* sender);
  void spDate_EClick(TObject* sender);
  void DayKindChange(TObject* sender);
  void RuleControlChange(TObject* sender);
  void RuleControlEnter(TObject* sender);
  void SpinEditExit(TObject* sender);
  void btnOkClick(TObject* sender);
  void FormKeyPress(TObject* sender, char& key);

 private:
  // The four controls of one date of a rule, beside the box that switches them on.
  struct TShiftControls {
    TCheckBox* Box;
    TSpinEdit* Count;
    TComboBox* Unit;
    TComboBox* DayKind;
    TSpinEdit* DayOffset;
  };
  TShiftControls EditDate() const;
  TShiftControls BeginDate() const;
  TShiftControls EndDate() const;
  void AddField(const std::string& caption, const std::string& name, bool panel);
  // A labelled edit's caption, else the label that names it, else its name.
  std::string EditCaption(TComponent& edit) const;
  void ApplyBox(const TShiftControls& c);
  void ApplyDayKind(const TShiftControls& c);
  void LoadShift(const TShiftControls& c, const TfrmBaseGene::TDateRule::TShift& shift);
  TfrmBaseGene::TDateRule::TShift ReadShift(const TShiftControls& c) const;
  void BoxClicked(const TShiftControls& c);
  void StoreRule();
  TStrings& Rules() const;

  TfrmBaseGene* optionForm_ = nullptr;
  std::string dateFields_;
  int skipCount_ = 1;
  bool replace_ = false;
  bool editing_ = false;
  // Set while a rule is loaded into the controls: their change events must not store a
  // half-loaded rule back into the list.
  bool loading_ = false;
};

// Opens the dialog modally for the option form's date fields, leaving out the last
// skipCount entries. [name, date fields, replace flag]; ["", "", ""] when cancelled.
Variant OpenDateConditionEditor(const std::string& dateFields, TfrmBaseGene& optionForm,
                                int skipCount);

}  // namespace nv
