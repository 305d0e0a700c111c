// The option form's life cycle on the demo installation: start parameters, program code,
// connection, the result the voucher layer reads, host commands, keys and pages.
#include "framework/BaseGene.h"

#include <gtest/gtest.h>

#include "FrameworkFixture.h"
#include "platform/ui/Input.h"

namespace nv::testing {
namespace {

using OptionForm = DemoSuite;

TEST_F(OptionForm, StartsInProcessReadsItsProgramAndRefusesASecondStart) {
  TfrmQCPTest* form = StartedForm();
  EXPECT_EQ(form->ProgramCode(), "QCPR31");
  EXPECT_EQ(U(form->ProgramName()), "清场记录凭证打印");
  EXPECT_EQ(U(form->CompanyCaption()), "江南制药");
  EXPECT_TRUE(form->WantLog());
  EXPECT_EQ(form->HostWindow(), 4711);
  EXPECT_EQ(form->ConditionCount(), TfrmQCPTest::kOwnConditions + 1);
  EXPECT_TRUE(form->ServerCreatedLocally());
  EXPECT_TRUE(form->MainMidas->Connected());
  EXPECT_TRUE(form->AppServer().IsObject());
  EXPECT_TRUE(form->LookupWindowObject().IsObject()) << "service flags 7 ask for it";
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(Dialogs().empty());

  Variant other = Variant::ArrayOf(
      {Variant("QA01"), Variant("B02"), Variant("OTHER"), Variant(0), Variant::Null()});
  EXPECT_FALSE(form->Initialize(other));
  EXPECT_EQ(form->CompanyCode(), "A01");
  EXPECT_EQ(form->UserID(), "DS");

  form->Show();
  EXPECT_EQ(U(form->Caption()), "清场记录凭证打印[江南制药]");
}

TEST_F(OptionForm, AStartThatCannotGoOnShowsItsMessageAndClosesTheForm) {
  struct Case {
    const char* name;
    int params;
    const char* formName;
    const char* serverName;
    const char* dialog;
  } cases[] = {
      {"four start parameters", 4, nullptr, nullptr, "mtError 启动参数不完整, 程序无法执行!"},
      {"form name without the program code", 5, "frmABCTest", nullptr,
       "mtError 程序代号与窗口不符, 无法执行!"},
      {"no application server named", 5, nullptr, "",
       "mtError 无法连接应用服务器, 请检查服务器设置或网络!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessInteraction().Reset();
    TfrmQCPTest* form = NewForm();
    if (c.formName) form->SetName(c.formName);
    if (c.serverName) form->MainMidas->SetServerName(c.serverName);
    EXPECT_FALSE(form->Initialize(StartParams(c.params)));
    EXPECT_EQ(Dialogs(), std::vector<std::string>{c.dialog});
    Application()->ProcessMessages();
    EXPECT_TRUE(Gone(form)) << "the form closes itself";
  }
}

TEST_F(OptionForm, ConditionCountTakesTheFrameworkRowsOnce) {
  TfrmQCPTest* form = NewForm();
  form->SetFrameworkRows(1);
  form->SetConditionCount(0);
  EXPECT_EQ(form->ConditionCount(), 1) << "the base registers the print date";
  form->SetFrameworkRows(2);  // a voucher layer adds its own row
  form->SetConditionCount(7);
  EXPECT_EQ(form->ConditionCount(), 9);
  form->SetConditionCount(7);
  EXPECT_EQ(form->ConditionCount(), 7) << "later calls set the count as given";
}

TEST_F(OptionForm, BuildResultCollectsEnvironmentTextsAndValues) {
  TfrmQCPTest* form = StartedForm();
  form->edtTD001->SetText("QC09");
  form->cboTD017->SetItemIndex(1);
  form->chkTD018->SetChecked(true);
  ASSERT_TRUE(form->BuildResult()) << U(form->TextLog());
  const Variant& result = form->Result();
  ASSERT_EQ(result.ElementCount(), 3);
  const Variant& env = result[0];
  EXPECT_EQ(env.LowBound(), 1);
  EXPECT_EQ(env.HighBound(), 9);
  EXPECT_EQ(VarToStr(env[1]), "QCPR31");
  EXPECT_EQ(env[2].AsInteger(), 9);
  EXPECT_EQ(env[3].AsInteger(), 5);
  EXPECT_EQ(VarToStr(env[4]), "A01");
  EXPECT_EQ(VarToStr(env[5]), "DS");
  EXPECT_EQ(VarToStr(env[6]), "DEMO");
  EXPECT_EQ(env[7].Type(), VarType::Date);
  EXPECT_EQ(VarToStr(env[8]), "QCPR31S.Class1");
  EXPECT_EQ(VarToStr(env[9]), "R");
  const Variant& texts = result[1];
  EXPECT_EQ(texts.HighBound(), 5);
  EXPECT_EQ(VarToStr(texts[1][1]), "edtTD001");
  EXPECT_EQ(U(VarToStr(texts[5][0])), "制表日期") << "the framework's row comes last";
  EXPECT_EQ(VarToStr(texts[5][1]), "edPrintDate");
  const Variant& values = result[2];
  EXPECT_EQ(VarToStr(values[1]), "QC09");
  EXPECT_EQ(values[3].AsInteger(), 1);
  EXPECT_TRUE(values[4].AsBoolean());
  EXPECT_EQ(values[5], Variant("")) << "a blank print date is no error";
  EXPECT_TRUE(Dialogs().empty());
}

TEST_F(OptionForm, BuildResultRefusesAnArrayTheReportBroke) {
  struct Case {
    const char* name;
    int nullIndex;
    int resizeTo;
    const char* dialog;
  } cases[] = {
      {"element 3 left Null", 3, 0, "mtWarning 选择条件文字共 5 项, 第 3 项没有值!"},
      {"array cut to 4", 0, 4, "mtWarning 选择条件文字的数目不符: 应为 5 项, 实际为 4 项!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessInteraction().Reset();
    TfrmQCPTest* form = StartedForm();
    form->nullTextIndex = c.nullIndex;
    form->resizeTextsTo = c.resizeTo;
    EXPECT_FALSE(form->BuildResult());
    EXPECT_TRUE(form->Result().IsEmpty());
    EXPECT_EQ(Dialogs(), std::vector<std::string>{c.dialog});
  }
}

// [Empty, [mode, [by name, [[[caption, component], ...], [values]]]]]
Variant HostCommand(int mode, std::vector<std::string> components) {
  std::vector<Variant> entries;
  std::vector<Variant> values;
  for (const std::string& name : components) {
    entries.push_back(Variant::ArrayOf({Variant("caption"), Variant(name)}));
    values.push_back(Variant("value"));
  }
  Variant preset = Variant::ArrayOf(
      {Variant(true), Variant::ArrayOf({Variant::ArrayOf(entries), Variant::ArrayOf(values)})});
  return Variant::ArrayOf({Variant(), Variant::ArrayOf({Variant(mode), preset})});
}

TEST_F(OptionForm, HostCommandsPressOkOrRunTheCommandOnlyWithAcceptedValues) {
  struct Case {
    const char* name;
    int mode;
    std::vector<std::string> components;
    int okClicks;
    std::vector<int> commands;
    std::vector<std::string> dialogs;
  } cases[] = {
      {"print with known fields", 1, {"edtTD001", "splTD003", "cboTD017"}, 1, {}, {}},
      {"preset only", 0, {"edtTD001", "chkTD018"}, 0, {}, {}},
      {"host command 5", 5, {"edtTD001"}, 0, {5}, {}},
      {"an unknown field first",
       1,
       {"edtNone", "edtTD001"},
       0,
       {},
       {"mtWarning 外部传入的条件栏位在本窗口中不存在!"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessInteraction().Reset();
    TfrmQCPTest* form = StartedForm();
    form->ApplyHostCommand(HostCommand(c.mode, c.components));
    EXPECT_EQ(form->okClicks, c.okClicks);
    EXPECT_EQ(form->hostCommands, c.commands);
    EXPECT_EQ(Dialogs(), c.dialogs);
    EXPECT_TRUE(form->Translated()) << "a host command translates the form first";
  }
}

TEST_F(OptionForm, EnterMovesThroughFieldsAndPageEndsTurnThePage) {
  TfrmQCPTest* form = StartedForm();
  form->Show();
  EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption1);
  EXPECT_EQ(form->ActiveControl(), form->edtTD001) << "the first field of the page";
  PressKey(*form->edtTD001, VK_RETURN);
  EXPECT_EQ(form->ActiveControl(), form->splTD003->edBegin);

  form->chkTD018->SetFocus();
  PressKey(*form->chkTD018, VK_RETURN);
  EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption2) << "a page-end control";
  EXPECT_EQ(form->ActiveControl(), form->edPrintDate);
  EXPECT_EQ(form->edPrintDate->Left(), 60) << "the system page was laid out";

  form->AddPageEndControl(form->edPrintDate);
  PressKey(*form->edPrintDate, VK_RETURN);
  EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption2) << "no page after the last";
  EXPECT_EQ(form->ActiveControl(), form->edPrintDate);

  PressKey(*form->edPrintDate, VK_PRIOR, {ssCtrl});
  EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption1);
  PressKey(*form->edtTD001, VK_NEXT, {ssCtrl});
  EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption2);
}

TEST_F(OptionForm, APageChangeShowsOnlyTheErrorsOfTheFieldItLeaves) {
  TfrmQCPTest* form = StartedForm();
  form->Show();
  form->edtTD001->SetFocus();
  form->exitMessages = {"W;000014", "E;000005;2004/13/01"};
  EXPECT_TRUE(form->pgOption->SelectTab(form->tsOption2));
  EXPECT_EQ(Dialogs(),
            std::vector<std::string>{"mtError 日期输入错误, 请输入正确的日期! 2004/13/01"});
  EXPECT_FALSE(form->SilentChecks());
  EXPECT_EQ(form->MessageLog(), "W;000014; E;000005;2004/13/01; ");
}

}  // namespace
}  // namespace nv::testing
