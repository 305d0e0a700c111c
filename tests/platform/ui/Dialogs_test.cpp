#include "platform/ui/Dialogs.h"

#include <gtest/gtest.h>

#include "platform/ui/Forms.h"

namespace nv {
namespace {

struct DialogsTest : ::testing::Test {
  void SetUp() override { HeadlessInteraction().Reset(); }
  THeadlessInteraction& service = HeadlessInteraction();
};

TEST_F(DialogsTest, UnscriptedDialogsTakeTheDefaultButton) {
  struct Case {
    const char* name;
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    TModalResult result;
    const char* line;
  };
  const Case cases[] = {
      {"OK wins",
       mtError,
       {mbOK, mbCancel},
       mrOk,
       "MessageDlg mtError \"Error\" \"t\" [mbOK,mbCancel] -> mrOk"},
      {"Yes without OK",
       mtConfirmation,
       {mbYes, mbNo},
       mrYes,
       "MessageDlg mtConfirmation \"Confirm\" \"t\" [mbYes,mbNo] -> mrYes"},
      {"Retry without OK or Yes", mtWarning, mbAbortRetryIgnore, mrRetry,
       "MessageDlg mtWarning \"Warning\" \"t\" [mbAbort,mbRetry,mbIgnore] -> mrRetry"},
      {"otherwise the first",
       mtInformation,
       {mbNoToAll, mbYesToAll},
       mrNoToAll,
       "MessageDlg mtInformation \"Information\" \"t\" [mbNoToAll,mbYesToAll] -> mrNoToAll"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    service.Reset();
    EXPECT_EQ(MessageDlg("t", c.type, c.buttons), c.result);
    ASSERT_EQ(service.Journal().size(), 1u);
    EXPECT_EQ(service.Journal()[0].ToString(), c.line);
    EXPECT_FALSE(service.Journal()[0].Scripted);
  }
}

TEST_F(DialogsTest, ScriptAnswersInOrderAndChecksTheKind) {
  service.Expect(dkMessageDlg, TDialogAnswer{mrNo, {}});
  service.Expect(dkInputQuery, TDialogAnswer{mrOk, {{"Value", Variant("方案A")}}});
  service.Answer(mrCancel);
  EXPECT_EQ(MessageDlgCaption("删除", "确实要删除此方案吗？", mtConfirmation, {mbYes, mbNo}), mrNo);
  std::string value = "old";
  EXPECT_TRUE(InputQuery("Name", "Scheme name:", value));
  EXPECT_EQ(value, "方案A");
  EXPECT_FALSE(InputQuery("Name", "again:", value));
  EXPECT_EQ(value, "方案A");
  EXPECT_EQ(service.PendingAnswers(), 0);
  EXPECT_EQ(service.JournalText(),
            "MessageDlg mtConfirmation \"删除\" \"确实要删除此方案吗？\" [mbYes,mbNo] -> mrNo\n"
            "InputQuery \"Name\" \"Scheme name:\" [mbOK,mbCancel] -> mrOk {Value=\"方案A\"}\n"
            "InputQuery \"Name\" \"again:\" [mbOK,mbCancel] -> mrCancel\n");

  service.Expect(dkPrinterSetup, TDialogAnswer{mrOk, {}});
  try {
    ShowMessage("hello");
    FAIL() << "a script for another dialog must not answer";
  } catch (const EInteractionScript& e) {
    EXPECT_STREQ(e.what(),
                 "The dialog script expected a PrinterSetup dialog, got MessageDlg \"hello\"");
  }
}

TEST_F(DialogsTest, MessageBoxFlagsGiveButtonsAndDefault) {
  EXPECT_EQ(MessageBox("x", "c", MB_YESNO | MB_ICONQUESTION), IDYES);
  EXPECT_EQ(MessageBox("x", "c", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(MessageBox("x", "c"), IDOK);
  EXPECT_EQ(service.Journal()[1].ToString(), "MessageBox \"c\" \"x\" [IDYES,IDNO] -> mrNo");
}

TEST_F(DialogsTest, ResponderAndDialogComponents) {
  service.Responder = [](const TDialogRequest& r) -> std::optional<TDialogAnswer> {
    if (r.Kind == dkSaveFile) return TDialogAnswer{mrOk, {{"FileName", Variant("/tmp/a.pdf")}}};
    return std::nullopt;
  };
  TSaveDialog save(nullptr);
  save.Filter = "PDF|*.pdf";
  EXPECT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName, "/tmp/a.pdf");
  TOpenDialog open(nullptr);
  EXPECT_FALSE(open.Execute()) << "nothing preset: the headless user cancels";
  TPrinterSetupDialog setup(nullptr);
  setup.PrinterIndex = 2;
  EXPECT_TRUE(setup.Execute());
  EXPECT_EQ(setup.PrinterIndex, 2);
  service.Responder = nullptr;
  ASSERT_EQ(service.Journal().size(), 3u);
  EXPECT_TRUE(service.Journal()[0].Scripted);
  EXPECT_EQ(service.Journal()[2].Request.Kind, "PrinterSetup");
}

TEST_F(DialogsTest, OtherLayersAddKindsWithTheirOwnFields) {
  // a lookup window answers with the chosen rows
  TDialogRequest lookup;
  lookup.Kind = "Lookup";
  lookup.Caption = "CMSMQ";
  lookup.DefaultResult = mrCancel;
  service.Expect("Lookup", TDialogAnswer{mrOk, {{"Rows", Variant::ArrayOf({Variant("A01")})}}});
  TDialogAnswer a = Interaction().Ask(lookup);
  EXPECT_EQ(a.ModalResult, mrOk);
  EXPECT_EQ(a.Field("Rows")[0].AsString(), "A01");
  EXPECT_EQ(service.Journal().back().ToString(), "Lookup \"CMSMQ\" \"\" -> mrOk {Rows=(array)}");
}

TEST_F(DialogsTest, AnInstalledServiceReceivesEveryDialog) {
  struct Front : IInteractionService {
    TDialogAnswer Ask(const TDialogRequest& r) override {
      asked.push_back(r.Kind);
      return TDialogAnswer{mrIgnore, {}};
    }
    std::vector<std::string> asked;
  } front;
  SetInteractionService(&front);
  EXPECT_EQ(MessageDlg("x", mtError, mbAbortRetryIgnore), mrIgnore);
  SetInteractionService(nullptr);
  EXPECT_EQ(front.asked, std::vector<std::string>{"MessageDlg"});
  EXPECT_TRUE(service.Journal().empty());
}

}  // namespace
}  // namespace nv
