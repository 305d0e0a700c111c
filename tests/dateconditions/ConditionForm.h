#pragma once
// A report option form with every kind of condition control the framework serves, started
// against the demo installation's application server and manager (in-process plug-ins).
#include <gtest/gtest.h>

#include <string>

#include "framework/BaseGene.h"
#include "platform/ui/StdCtrls.h"

namespace nv::testing {

class TfrmQCPR31Cond : public TfrmBaseGene {
  NV_CLASS(TfrmQCPR31Cond, TfrmBaseGene)
 public:
  explicit TfrmQCPR31Cond(TComponent* owner) : TfrmBaseGene(owner) {}

  TSelectPanel* splTD001 = nullptr;  // list
  TSelectPanel* splTD002 = nullptr;  // user's choice
  TSelectPanel* splTD003 = nullptr;  // date range
  TSelectPanel* splTD008 = nullptr;  // date range
  TLabel* lblTD020 = nullptr;
  TMaskEdit* edtTD020 = nullptr;  // date
  TLabel* lblYM = nullptr;
  TMaskEdit* edtYM = nullptr;  // year-month
  TLabel* lblTD019 = nullptr;
  TEdit* edtTD019 = nullptr;
  TComboBox* cboTD017 = nullptr;
  TCheckBox* chkTD018 = nullptr;

  static constexpr const char* kDateFields = "splTD003,splTD008,edtTD020";
  static constexpr const char* kSchemeProperties =
      "splTD001.style;splTD002.style;splTD003.style;splTD008.style;edtTD020.text;edtYM.text;"
      "edtTD019.text;cboTD017.itemindex;chkTD018.checked;";

  // The date type and separator as if the server's system parameters said so.
  void SetDateStyle(int type, const std::string& separator);
  void SetupFields() override;
  void AfterConnectionSetup(TSocketConnection& connection) override;
  bool CollectConditionText(Variant& texts, int count) override;
};

// The demo installation (client and server folders, registry file, database DEMO) in a
// fresh folder for each test, with the system code page and clock of the suite's machines.
class DemoInstallation : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Interface and data code pages of the client configuration (before NewForm).
  void ClientCodePages(const std::string& ui, const std::string& data);
  // A started option form (Initialize and Show, as the controller does).
  TfrmQCPR31Cond* NewForm(const std::string& user = "DS");
  std::string root_;
};

}  // namespace nv::testing
