#include "ConditionForm.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "controls/ControlClasses.h"
#include "platform/com/ComObj.h"
#include "platform/core/CodePage.h"
#include "platform/core/DateUtils.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/UiClasses.h"
#include "runtime/LibStrs.h"
#include "suite/demo/Schema.h"

NV_FORM_TEXT_DECLARE(QCPR31Cond)

namespace nv::testing {

namespace {
std::string ReadWhole(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}
}  // namespace

NV_PUBLISH(TfrmQCPR31Cond) {
  b.FormText(NV_FORM_TEXT(QCPR31Cond));
  b.Field("splTD001", &TfrmQCPR31Cond::splTD001);
  b.Field("splTD002", &TfrmQCPR31Cond::splTD002);
  b.Field("splTD003", &TfrmQCPR31Cond::splTD003);
  b.Field("splTD008", &TfrmQCPR31Cond::splTD008);
  b.Field("lblTD020", &TfrmQCPR31Cond::lblTD020);
  b.Field("edtTD020", &TfrmQCPR31Cond::edtTD020);
  b.Field("lblYM", &TfrmQCPR31Cond::lblYM);
  b.Field("edtYM", &TfrmQCPR31Cond::edtYM);
  b.Field("lblTD019", &TfrmQCPR31Cond::lblTD019);
  b.Field("edtTD019", &TfrmQCPR31Cond::edtTD019);
  b.Field("cboTD017", &TfrmQCPR31Cond::cboTD017);
  b.Field("chkTD018", &TfrmQCPR31Cond::chkTD018);
}

void TfrmQCPR31Cond::SetDateStyle(int type, const std::string& separator) {
  sysParams_->SetValue("Sys001", std::to_string(type));
  sysParams_->SetValue("Sys002", separator);
}

void TfrmQCPR31Cond::SetupFields() {
  TfrmBaseGene::SetupFields();
  SetConditionCount(3);
  SetDateFields(kDateFields);
  // a report wires its year-month fields to the form's published handlers itself
  SetYearMonthFields("edtYM");
  edtYM->OnEnter = OnDateFieldEnter();
  edtYM->OnExit = OnDateFieldExit();
  SetSchemeProperties(kSchemeProperties);
}

void TfrmQCPR31Cond::AfterConnectionSetup(TSocketConnection& connection) {
  connection.SetServerName("Tallyd.Class1");
}

bool TfrmQCPR31Cond::CollectConditionText(Variant& texts, int count) {
  texts[1] = Variant::ArrayOf({Variant(splTD003->Caption()), Variant("splTD003")});
  texts[2] = Variant::ArrayOf({Variant(splTD008->Caption()), Variant("splTD008")});
  texts[3] = Variant::ArrayOf({Variant(lblTD020->Caption()), Variant("edtTD020")});
  return TfrmBaseGene::CollectConditionText(texts, count);
}

void DemoInstallation::SetUp() {
  static const bool registered = [] {
    RegisterControlClasses();
    RegisterClass(TfrmQCPR31Cond::StaticClassInfo());
    return true;
  }();
  (void)registered;
  std::string pattern = (std::filesystem::temp_directory_path() / "nv_conditions_XXXXXX").string();
  root_ = std::string(::mkdtemp(pattern.data())) + "/";
  demo::TDemoOptions options;
  options.folder = root_;
  options.buildFolder = QC_BINARY_DIR "/";
  demo::CreateDemoInstallation(options);
  ::setenv("BATON_REGISTRY", (root_ + "registry.reg").c_str(), 1);
  SetSystemCodePage(936);
  SetClockForTesting(EncodeDate(2004, 5, 15) + EncodeTime(9, 30, 0, 0));
  HeadlessInteraction().Reset();
}

void DemoInstallation::TearDown() {
  Application()->ProcessMessages();
  HeadlessInteraction().Reset();
  SetClockForTesting(-1);
  SetSystemCodePage(0);
  ::unsetenv("BATON_REGISTRY");
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void DemoInstallation::ClientCodePages(const std::string& ui, const std::string& data) {
  const std::string ini = root_ + "client/BatonC.ini";
  std::string text = ReadWhole(ini);
  const std::string old = "UICodePage=936\r\nDBCodePage=936";
  text.replace(text.find(old), old.size(), "UICodePage=" + ui + "\r\nDBCodePage=" + data);
  std::ofstream(ini, std::ios::binary) << text;
}

TfrmQCPR31Cond* DemoInstallation::NewForm(const std::string& user) {
  auto* form = Create<TfrmQCPR31Cond>(Application());
  form->SetModulePath(root_ + "client/QCPR31C.so");
  form->SetShellServices(CreateOleObject("VantaWorkCenter.Manager"));
  const bool started = form->Initialize(Variant::ArrayOf(
      {Variant(user), Variant("A01"), Variant("DEMO"), Variant(0), Variant::Null()}));
  EXPECT_TRUE(started) << form->MessageLog() << " " << form->TextLog();
  // the voucher layer opens the report's session on the server
  form->AppServer().Call(
      "Connect", {Variant::ArrayOf({Variant(form->ProgramCode()), Variant(user), Variant("A01"),
                                    Variant("DEMO"), Variant("GMPTD")})});
  form->Show();
  return form;
}

}  // namespace nv::testing
