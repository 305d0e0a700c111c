// The option form's services that talk to the suite, on the demo installation: messages and
// their logs, dialogs, system parameters, the validator, lookups, help, and the connection
// over a socket to `tallyd serve`.
#include "framework/BaseGeneU.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "FrameworkFixture.h"
#include "platform/core/DateUtils.h"
#include "platform/ui/Input.h"

namespace nv::testing {
namespace {

using SuiteServices = DemoSuite;

TEST_F(SuiteServices, MessagesAreLoggedOnceAndShownByNumber) {
  TfrmQCPTest* form = StartedForm();
  form->ShowMessages("E;-1;disk full");
  EXPECT_TRUE(Dialogs().empty()) << "a free text is logged, never shown";
  EXPECT_EQ(form->MessageLog(), "E;-1;disk full; ");
  EXPECT_EQ(form->TextLog(), "disk full; ");

  form->ShowMessages("");
  EXPECT_EQ(form->MessageLog(), "");
  form->ShowMessages(SysText("W;000004;批号"));
  form->ShowMessages(SysText("W;000004;批号"));
  EXPECT_EQ(U(form->MessageLog()), "W;000004;批号; W;000004;批号; ");
  EXPECT_EQ(U(form->TextLog()), "输入的批号不存在, 请重新输入!; ") << "one text kept once";
  EXPECT_EQ(Dialogs(), (std::vector<std::string>{"mtWarning 输入的批号不存在, 请重新输入!",
                                                 "mtWarning 输入的批号不存在, 请重新输入!"}));

  form->LogError("socket closed");
  form->LogError("socket closed");
  EXPECT_EQ(U(form->MessageLog()), "W;000004;批号; W;000004;批号; E;-1; E;-1; ");
  EXPECT_EQ(U(form->TextLog()), "输入的批号不存在, 请重新输入!; socket closed; ");
  form->LogError("  ");
  EXPECT_EQ(form->MessageLog() + form->TextLog(), "") << "a blank error clears both logs";
}

TEST_F(SuiteServices, NothingIsReportedWhileTheUserLeavesByCancel) {
  TfrmQCPTest* form = StartedForm();
  form->Show();
  form->btnCancel->SetFocus();
  form->ShowMessages("E;000005;x");
  form->LogError("late");
  EXPECT_TRUE(Dialogs().empty());
  EXPECT_EQ(form->MessageLog(), "");
}

TEST_F(SuiteServices, DialogKindAndButtonsFollowTheMessageType) {
  TfrmQCPTest* form = StartedForm();
  struct Case {
    const char* type;
    TMsgDlgButtons buttons;
    const char* dlgType;
    std::vector<std::string> shown;
  } cases[] = {
      {"C", {}, "mtWarning", {"mbOK", "mbCancel"}},
      {"D", {}, "mtWarning", {"mbYes", "mbNo", "mbCancel"}},
      {"E", {}, "mtError", {"mbOK"}},
      {"I", {}, "mtInformation", {"mbOK"}},
      {"Q", {}, "mtConfirmation", {"mbOK", "mbCancel"}},
      {"W", {}, "mtWarning", {"mbOK", "mbCancel"}},
      {"R", {}, "mtCustom", {"mbOK"}},
      {"E", {mbAbort, mbRetry}, "mtError", {"mbAbort", "mbRetry"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    HeadlessInteraction().Reset();
    form->ShowMessageById(c.type, "000003", c.buttons, {Variant(SysText("批号"))});
    ASSERT_EQ(HeadlessInteraction().Journal().size(), 1u);
    const TDialogRequest& r = HeadlessInteraction().Journal()[0].Request;
    EXPECT_EQ(VarToStr(r.Fields.at("DlgType")), c.dlgType);
    EXPECT_EQ(r.Buttons, c.shown);
    EXPECT_EQ(r.Caption, form->Caption());
  }
  HeadlessInteraction().Reset();
  form->ShowMessageById("E", "000003", {mbOK, mbCancel}, {Variant(SysText("批号"))});
  const TDialogRequest& r = HeadlessInteraction().Journal()[0].Request;
  EXPECT_EQ(U(r.Text), "批号 不可空白, 请输入!");
  const Variant& captions = r.Fields.at("ButtonCaptions");
  EXPECT_EQ(U(VarToStr(captions[0])) + "," + U(VarToStr(captions[1])), "确定,取消");
}

TEST_F(SuiteServices, WithoutAManagerMessagesSayWhichTheyAre) {
  TfrmQCPTest* form = NewForm(Variant());
  std::string text;
  form->GetMessageText("E", "000038", text);
  EXPECT_EQ(text, "Can not Get Message\rType= E, ID= 000038 ");
  Variant result;
  EXPECT_FALSE(form->QueryServer("ADMMB", "01", false, result, Variant::ArrayOf({"QCPR31"})));
  form->GetCounterValue("GMPTD", Variant(), result);
  EXPECT_TRUE(result.IsEmpty());
}

TEST_F(SuiteServices, SystemParametersWithTheClassificationDefaults) {
  struct Case {
    const char* codePage;
    const char* name;
    const char* value;
  } cases[] = {
      {"936", "sys001", "1"},
      {"936", "Sys002", "/"},
      {"936", "NVT002", "江南制药"},
      {"936", "Sys007", "商品分类方式一"},
      {"936", "SYS010", "商品分类方式四"},
      {"936", "Sys999", ""},
      {"437", "Sys007", "Inv.Cate.1"},
      {"437", "Sys009", "Inv.Cate.3"},
      {"437", "Sys010", "Inv.Cate.4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.codePage) + " " + c.name);
    ClientConfig(c.codePage);
    TfrmQCPTest* form = StartedForm();
    EXPECT_EQ(U(form->SysParam(c.name)), c.value);
  }
  TfrmQCPTest* form = StartedForm();
  EXPECT_EQ(form->DateTypeParam(), 1);
  EXPECT_EQ(form->DateSeparatorParam(), "/");
}

TEST_F(SuiteServices, ValidatorQueriesTheProgramRecord) {
  TfrmQCPTest* form = StartedForm();
  Variant record;
  ASSERT_TRUE(form->QueryServer("ADMMB", "01", false, record, Variant::ArrayOf({"QCPR31"})));
  EXPECT_EQ(VarToStr(record[7]), "Line-Clearance Record Voucher");
  EXPECT_FALSE(form->QueryServer("ADMMB", "01", false, record, Variant::ArrayOf({"NONE99"})));

  ClientConfig("437");
  TfrmQCPTest* english = StartedForm();
  EXPECT_EQ(english->ProgramName(), "Line-Clearance Record Voucher");
}

TEST_F(SuiteServices, HelpNumbersOfProgramCodes) {
  struct Case {
    const char* code;
    const char* number;
  } cases[] = {{"QCPR31", "12310000"}, {"INVB01", "13010000"}, {"ACMAB5", "63B50000"},
               {"PURMR3", "82R30000"}, {"QCPX31", ""},         {"QCP", ""}};
  for (const Case& c : cases) EXPECT_EQ(HelpNumberOf(c.code), c.number) << c.code;

  Variant manager = NewManager();
  TfrmQCPTest* form = StartedForm(manager);
  form->Show();
  PressKey(*form->edtTD001, VK_F1);
  Variant help = manager.Get("LastHelp");
  ASSERT_TRUE(help.IsArray());
  EXPECT_EQ(VarToStr(help[0]) + " " + VarToStr(help[1]), "QCP 12310000");
}

class Lookups : public DemoSuite {
 protected:
  void SetUp() override {
    DemoSuite::SetUp();
    user_ = MakeDispatch<TLookupUser>();
    manager_ = NewManager();
    manager_.Set("DialogService", user_);
    form_ = StartedForm(manager_);
    form_->Show();
  }
  void TearDown() override {
    SetClockForTesting(-1);
    DemoSuite::TearDown();
  }
  TLookupUser& User() { return *static_cast<TLookupUser*>(user_.AsObject()); }
  Variant user_;
  Variant manager_;
  TfrmQCPTest* form_ = nullptr;
};

TEST_F(Lookups, TheDatePickerFillsThePrintDateAndCancellingKeepsIt) {
  SetClockForTesting(EncodeDate(2004, 5, 20));
  User().answers = {Variant("20040307")};
  form_->pgOption->SelectTab(form_->tsOption2);
  form_->btnPrintDate->Click();  // message 1034 for edPrintDate
  EXPECT_EQ(form_->edPrintDate->Text(), "2004/03/07") << U(form_->TextLog());
  form_->edPrintDate->SetText("2004/05/01");
  PressKey(*form_->edPrintDate, VK_F2);
  EXPECT_EQ(form_->edPrintDate->Text(), "2004/05/01") << "cancelled";
  // a date field's mask keeps its text at ten characters; without it eight are possible
  form_->edPrintDate->SetEditMask("");
  form_->edPrintDate->SetText("20040101");
  PressKey(*form_->edPrintDate, VK_F2);
  EXPECT_EQ(User().asked, (std::vector<std::string>{"PickDate 20040520", "PickDate 20040520",
                                                    "PickDate 20040101"}))
      << "only an eight-character text is a start date";
}

TEST_F(Lookups, LookupRowsGoIntoASelectionPanel) {
  struct Case {
    const char* name;
    bool allColumns;
    bool useDiscard;
    int columns;
  } cases[] = {{"four columns", false, false, 4},
               {"all columns", true, false, 5},
               {"joined", false, true, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSelectPanel* panel = form_->splTD003;
    panel->SetStyle(sp_Discrete);
    panel->ListBox->Clear();
    panel->SetUseDiscard(c.useDiscard);
    panel->SetDiscard("|");
    User().answers = {Variant::ArrayOf({Variant(0), Variant(1)})};
    form_->LookupIntoPanel(panel->ListBox, "GMPTD", c.allColumns, "", Variant::ArrayOf({"QC02"}),
                           "04");
    ASSERT_EQ(panel->ListBox->Items()->Count(), 2) << U(form_->TextLog());
    TListItem* first = panel->ListBox->Items()->Item(0);
    EXPECT_EQ(1 + first->SubItems()->Count(), c.columns);
    const Variant& shown = User().lastRows;
    std::string expected = VarToStr(shown[0][0]);
    if (c.useDiscard)
      for (int i = 1; i < 4; ++i) expected += "|" + VarToStr(shown[0][i]);
    EXPECT_EQ(first->Caption(), expected);
  }
}

TEST_F(Lookups, LookupIntoAnEditOfThePanelAndRefusalForOtherControls) {
  TSelectPanel* panel = form_->splTD003;
  panel->SetStyle(sp_Range);
  User().answers = {Variant::ArrayOf({Variant(1)})};
  form_->LookupIntoPanel(panel->edBegin, "GMPTD", false, "", Variant::ArrayOf({"QC02"}), "04");
  EXPECT_EQ(panel->edBegin->Text(), VarToStr(User().lastRows[1][0]));

  form_->LookupIntoPanel(form_->edtTD001, "GMPTD", false, "", Variant::ArrayOf({"QC02"}), "04");
  EXPECT_EQ(Dialogs(),
            std::vector<std::string>{
                "mtError 同学, 你吗帮帮忙, 这个 Procedure 是专门给TSelectPanel元件用的!"});
}

TEST_F(Lookups, PhrasesAndCounters) {
  User().answers = {Variant(0)};
  form_->FillPhrase(form_->edtTD001);
  EXPECT_EQ(U(form_->edtTD001->Text()), "清场合格, 准予生产下一批。");
  form_->FillPhrase(form_->edtTD001);  // cancelled: the text stays
  EXPECT_EQ(U(form_->edtTD001->Text()), "清场合格, 准予生产下一批。");

  Variant first, second;
  form_->GetCounterValue("gmptd", Variant(), first);
  form_->GetCounterValue("GMPTD", Variant(), second);
  EXPECT_EQ(second.AsInteger(), first.AsInteger() + 1);
}

TEST_F(SuiteServices, AProgramsServerLibraryTakesOneRequest) {
  std::string library = ServerPath() + "S_PKG/QCPR31S.so";
  std::filesystem::copy_file(QC_BINARY_DIR "/tests/framework/fixtures/QCPR31S.so", library,
                             std::filesystem::copy_options::overwrite_existing);
  TfrmQCPTest* form = StartedForm();
  Variant p = Variant::ArrayOf({Variant("P0"), Variant("P1")});
  struct Case {
    const char* name;
    const char* t1;
    const char* mode;
    bool done;
    const char* logged;
  } cases[] = {
      {"report mode", "T1", "r", true, "12 [T1,T7,T6,T5,T3,[P0,P1],7,R,T2,2,False,936]; "},
      {"batch mode", "T1", "B", true, "7 [T1,T6,T5,[P0,P1],T3,T2,2]; "},
      {"refused", "refuse", "R", false, "request refused; "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->LogError("");
    EXPECT_EQ(
        form->RunServerModule(c.t1, "QCPR31", "T2", 7, p, "T3", c.mode, "T4", "T5", "T6", "T7"),
        c.done);
    EXPECT_EQ(form->TextLog(), c.logged);
  }
  std::filesystem::remove(library);
  EXPECT_FALSE(form->RunServerModule("T1", "QCPR31", "T2", 7, p, "T3", "R", "", "", "", ""));
}

int FreePort() {
  int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(probe, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t len = sizeof a;
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&a), &len);
  ::close(probe);
  return ntohs(a.sin_port);
}

TEST_F(SuiteServices, AnotherAddressConnectsOverTheSocketAndDestroyDisconnects) {
  int port = FreePort();
  std::string bin = QC_BINARY_DIR "/suite/appserver/tallyd";
  std::string config = ServerPath() + "BatonS.ini";
  pid_t pid = ::fork();
  if (pid == 0) {
    ::execl(bin.c_str(), "tallyd", "serve", "--config", config.c_str(), "--address", "127.0.0.1",
            "--port", std::to_string(port).c_str(), nullptr);
    ::_exit(127);
  }
  // the client names the server by host name: anything but "127.0.0.1" is the socket
  ClientConfig("936", "localhost", port);
  struct Case {
    const char* name;
    bool local;
  } cases[] = {{"socket", false}, {"in-process", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.local) ClientConfig("936");
    TfrmQCPTest* form = NewForm();
    bool started = false;
    for (int attempt = 0; attempt < 50 && !started; ++attempt) {
      started = form->Initialize(StartParams());
      if (!started) {
        Application()->ProcessMessages();
        HeadlessInteraction().Reset();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        form = NewForm();
      }
    }
    ASSERT_TRUE(started) << U(form->TextLog());
    EXPECT_EQ(form->ServerCreatedLocally(), c.local);
    EXPECT_EQ(form->AppServer().Call("SQLType").AsInteger(), 0);
    bool connectedAfterDestroy = !c.local;
    TNotifyEvent destroy = form->OnDestroy;
    form->OnDestroy = [&, destroy, form](TObject* sender) {
      destroy(sender);
      connectedAfterDestroy = form->MainMidas->Connected();
    };
    form->Free();
    EXPECT_EQ(connectedAfterDestroy, c.local) << "a server of this process is not disconnected";
  }
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
}

}  // namespace
}  // namespace nv::testing
