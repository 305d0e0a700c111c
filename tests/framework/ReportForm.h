#pragma once
// A small report form on the option-form framework: four own conditions on the first page,
// the framework's print date on the system page, and knobs a test turns to make it misbehave.
#include <string>
#include <vector>

#include "framework/BaseGene.h"

namespace nv::testing {

class TfrmQCPTest : public TfrmBaseGene {
  NV_CLASS(TfrmQCPTest, TfrmBaseGene)
 public:
  static constexpr int kOwnConditions = 4;

  explicit TfrmQCPTest(TComponent* owner);

  TLabel* lblTD001 = nullptr;
  TEdit* edtTD001 = nullptr;
  TSelectPanel* splTD003 = nullptr;
  TComboBox* cboTD017 = nullptr;
  TCheckBox* chkTD018 = nullptr;

  void SetupFields() override;
  bool CollectConditionText(Variant& texts, int count) override;
  bool CollectConditionInfo(Variant& values, int count) override;
  bool RunHostCommand(int mode) override;
  void btnOkClick(TObject* sender);
  void edtTD001Exit(TObject* sender);

  // What the test sees.
  int okClicks = 0;
  std::vector<int> hostCommands;
  // What the test makes it do: fail while registering its fields, leave a condition text
  // Null, resize the text array, raise
  // these message references the next time edtTD001 is left.
  std::string failInSetupFields;
  int nullTextIndex = 0;
  int resizeTextsTo = 0;
  std::vector<std::string> exitMessages;
};

}  // namespace nv::testing
