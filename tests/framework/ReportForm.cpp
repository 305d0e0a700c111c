#include "ReportForm.h"

NV_FORM_TEXT_DECLARE(ReportForm)

namespace nv::testing {

TfrmQCPTest::TfrmQCPTest(TComponent* owner) : TfrmBaseGene(owner) {}

void TfrmQCPTest::SetupFields() {
  TfrmBaseGene::SetupFields();
  if (!failInSetupFields.empty()) throw Exception(failInSetupFields);
  SetConditionCount(kOwnConditions);
  SetServiceFlags(7);
  AddPageEndControl(chkTD018);
}

bool TfrmQCPTest::CollectConditionText(Variant& texts, int count) {
  const char* names[] = {"edtTD001", "splTD003", "cboTD017", "chkTD018"};
  for (int i = 1; i <= count && i <= kOwnConditions; ++i)
    texts[i] = Variant::ArrayOf({Variant(names[i - 1]), Variant(names[i - 1])});
  if (nullTextIndex > 0) texts[nullTextIndex] = Variant::Null();
  if (!TfrmBaseGene::CollectConditionText(texts, count)) return false;
  if (resizeTextsTo > 0) texts.Redim(resizeTextsTo);
  return true;
}

bool TfrmQCPTest::CollectConditionInfo(Variant& values, int count) {
  values[1] = edtTD001->Text();
  values[2] = splTD003->ConditionValue();
  values[3] = cboTD017->ItemIndex();
  values[4] = chkTD018->Checked();
  return TfrmBaseGene::CollectConditionInfo(values, count);
}

bool TfrmQCPTest::RunHostCommand(int mode) {
  hostCommands.push_back(mode);
  return true;
}

void TfrmQCPTest::btnOkClick(TObject* sender) {
  ++okClicks;
}

void TfrmQCPTest::edtTD001Exit(TObject* sender) {
  // each reference once: the page change checks the field, then the focus leaves it
  std::vector<std::string> references = std::move(exitMessages);
  exitMessages.clear();
  for (const std::string& reference : references) ShowMessages(reference);
}

NV_PUBLISH(TfrmQCPTest) {
  b.FormText(NV_FORM_TEXT(ReportForm));
  b.Field("lblTD001", &TfrmQCPTest::lblTD001);
  b.Field("edtTD001", &TfrmQCPTest::edtTD001);
  b.Field("splTD003", &TfrmQCPTest::splTD003);
  b.Field("cboTD017", &TfrmQCPTest::cboTD017);
  b.Field("chkTD018", &TfrmQCPTest::chkTD018);
  b.Method("btnOkClick", &TfrmQCPTest::btnOkClick);
  b.Method("edtTD001Exit", &TfrmQCPTest::edtTD001Exit);
}

}  // namespace nv::testing
