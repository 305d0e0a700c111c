// The option form's life cycle on the demo installation: start parameters, program code,
// connection, the result the voucher layer reads, host commands, keys and pages.
#include "framework/BaseGene.h"

#include <gtest/gtest.h>

#include "FrameworkFixture.h"
#include "platform/os/ShellApi.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Input.h"
#include "runtime/LibStrs.h"

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

TEST_F(OptionForm, AStandAloneProgramStartsItselfAsTheTestUser) {
  TfrmQCPTest* form = NewForm(Variant(), QC_BINARY_DIR "/QCPR31CE");
  EXPECT_TRUE(form->StandAlone());
  EXPECT_EQ(form->ProgramCode(), "QCPR31") << "a program's name ends in two more characters";
  EXPECT_EQ(form->UserID(), "796");
  EXPECT_EQ(form->CompanyCode(), "ZODavi60");
  EXPECT_TRUE(form->Manager().IsObject()) << "the program creates the manager itself";
  form->Show();
  EXPECT_NE(U(form->Caption()).find("[您现在运行的是Exe版本!]["), std::string::npos)
      << U(form->Caption());

  struct Case {
    const char* file;
    const char* code;
  } cases[] = {{"/opt/baton/QCPR31C.so", "QCPR31"},
               {"C:\\BATON\\QCPR31C.DLL", "QCPR31"},
               {"ABCDEFGH.so", "ABCDEFG"},
               {"QCPR3.so", "QCPR3"}};
  for (const Case& c : cases) {
    TfrmQCPTest* library = NewForm(Variant(), c.file);
    EXPECT_EQ(library->ProgramCodeFromModule(), c.code) << c.file;
  }
}

TEST_F(OptionForm, UserRightsFromTheServersRightsArray) {
  struct Case {
    const char* name;
    const char* list;
    bool flagA;
    bool flagB;
  } cases[] = {{"both rights", "G1,Y,N,YYYYYYYY,a,b", true, true},
               {"seventh refused", "G1,Y,N,YYYYYYNY,a,b", false, true},
               {"short rights string", "G1,Y,N,YYY,a,b", false, false}};
  TfrmQCPTest* form = StartedForm();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Variant tables = Variant::ArrayOf({Variant(1), Variant("GMPTD TD001='QC02'")});
    form->ApplyPowerData(Variant::ArrayOf(
        {Variant(), Variant(c.list), Variant("e2"), Variant("e3"), Variant("Y"), tables}));
    EXPECT_EQ(form->RightsFlagA(), c.flagA);
    EXPECT_EQ(form->RightsFlagB(), c.flagB);
    EXPECT_EQ(form->DataRights(), BLVariantToWideString("Y", tables));
  }
  form->AppServer().Call("Connect",
                         {Variant::ArrayOf({Variant("QCPR31"), Variant("DS"), Variant("A01"),
                                            Variant("DEMO"), Variant("GMPTD")})});
  form->ApplyPowerData(form->AppServer().Call("PowerData"));
  EXPECT_FALSE(form->RightsString().empty()) << "the demo user's function rights";
  Variant record;
  form->QueryServer("ADMMB", "01", false, record, Variant::ArrayOf({"QCPR31"}));
  EXPECT_EQ(form->ValidatorObject().Get("BaseLimited").AsWideString(), form->DataRights())
      << "the validator queries with the user's data rights";
}

TEST_F(OptionForm, AnExceptionWhileStartingGoesToTheLogsNotOutOfTheForm) {
  TfrmQCPTest* form = NewForm();
  form->failInSetupFields = "no such field: edtTD099";
  bool started = true;
  EXPECT_NO_THROW(started = form->Initialize(StartParams()));
  EXPECT_FALSE(started);
  EXPECT_EQ(form->MessageLog(), "E;-1; ");
  EXPECT_EQ(form->TextLog(), "no such field: edtTD099; ");
  EXPECT_TRUE(Dialogs().empty()) << "logged, not shown";
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
Variant HostCommand(int mode, std::vector<std::string> components, bool byName = true) {
  std::vector<Variant> entries;
  std::vector<Variant> values;
  for (const std::string& name : components) {
    entries.push_back(Variant::ArrayOf({Variant("caption"), Variant(name)}));
    values.push_back(Variant("value"));
  }
  Variant preset = Variant::ArrayOf(
      {Variant(byName), Variant::ArrayOf({Variant::ArrayOf(entries), Variant::ArrayOf(values)})});
  return Variant::ArrayOf({Variant(), Variant::ArrayOf({Variant(mode), preset})});
}

TEST_F(OptionForm, HostCommandsPressOkOrRunTheCommandOnlyWithAcceptedValues) {
  struct Case {
    const char* name;
    int mode;
    std::vector<std::string> components;
    bool byName;
    int okClicks;
    std::vector<int> commands;
    std::vector<std::string> dialogs;
  } cases[] = {
      // name, mode, components, by name, OK presses, host commands, dialogs
      {"print with known fields", 1, {"edtTD001", "splTD003", "cboTD017"}, true, 1, {}, {}},
      {"preset only", 0, {"edtTD001", "chkTD018"}, true, 0, {}, {}},
      {"host command 5", 5, {"edtTD001"}, true, 0, {5}, {}},
      {"values by position the report does not take", 1, {"edtTD001"}, false, 0, {}, {}},
      {"an unknown field first",
       1,
       {"edtNone", "edtTD001"},
       true,
       0,
       {},
       {"mtWarning 外部传入的条件栏位在本窗口中不存在!"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessInteraction().Reset();
    TfrmQCPTest* form = StartedForm();
    form->ApplyHostCommand(HostCommand(c.mode, c.components, c.byName));
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

TEST_F(OptionForm, PageEndControlsCountTheirPanelsAndGroups) {
  TfrmQCPTest* form = StartedForm();
  auto* group = new TRadioGroup(form);
  group->SetParent(form->tsOption1);
  group->Items()->SetText("A\nB\n");
  form->AddPageEndControl(form->splTD003);
  form->AddPageEndControl(group);
  TSelectPanel* panel = form->splTD003;
  struct Case {
    const char* name;
    TControl* control;
    bool pageEnd;
  } cases[] = {{"the panel's end edit", panel->edFinal, true},
               {"the panel's list", panel->ListBox, true},
               {"the panel's begin edit", panel->edBegin, false},
               {"a button of the group", group->Buttons(1), true},
               {"the check box of the report", form->chkTD018, true},
               {"another field", form->edtTD001, false}};
  for (const Case& c : cases) EXPECT_EQ(form->IsPageEndControl(c.control), c.pageEnd) << c.name;
}

TEST_F(OptionForm, EnterWalksGridCellsAndStaysInTheFirstLinesOfAMemo) {
  TfrmQCPTest* form = StartedForm();
  auto* grid = new TStringGrid(form);
  grid->SetParent(form->tsOption1);
  grid->SetColCount(3);
  grid->SetRowCount(2);
  auto* memo = new TMemo(form);
  memo->SetParent(form->tsOption1);
  memo->Lines()->SetText("1\n2\n3\n4\n");
  form->Show();

  grid->SetFocus();
  grid->FocusCell(1, 1);
  PressKey(*grid, VK_RETURN);
  EXPECT_EQ(grid->Col(), 2);
  PressKey(*grid, VK_RETURN);
  EXPECT_EQ(grid->Col(), 1) << "the first column that is not fixed";
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->RowCount(), 3) << "a row added after the last";

  memo->SetFocus();
  memo->SetCaretPos({0, 1});
  PressKey(*memo, VK_RETURN);
  EXPECT_EQ(form->ActiveControl(), memo) << "line 2 keeps Enter";
  memo->SetCaretPos({0, 2});
  PressKey(*memo, VK_RETURN);
  EXPECT_NE(form->ActiveControl(), memo) << "from line 3 Enter moves on";
}

TEST_F(OptionForm, EscClosesAndCtrlAltVShowsTheModulesProperties) {
  TfrmQCPTest* form = StartedForm();
  form->Show();
  ClearShellJournal();
  PressKey(*form->edtTD001, 'V', {ssCtrl, ssAlt});
  ASSERT_EQ(ShellJournal().size(), 1u);
  EXPECT_EQ(ShellJournal()[0].verb, "properties");
  EXPECT_EQ(ShellJournal()[0].file, form->ModulePath());
  PressKey(*form->edtTD001, VK_ESCAPE);
  Application()->ProcessMessages();
  EXPECT_TRUE(Gone(form));
}

TEST_F(OptionForm, AChineseDataSetShowsAndStoresTextsInTheUsersCodePage) {
  ClientConfig("950");
  TfrmQCPTest* form = StartedForm();
  auto* dataSet = new TwwClientDataSet(form);
  DataPacket packet;
  packet.fields = {{"TD019", TFieldType::ftString, 40}, {"TD005", TFieldType::ftInteger, 0}};
  packet.rows = {{Variant(SysText("清场合格")), Variant(3)}};
  dataSet->OpenFromPacket(packet);
  form->HookDataSetFields();
  TField& remark = dataSet->Fields(0);
  EXPECT_EQ(U(remark.DisplayText(), 950), "清場合格");
  EXPECT_FALSE(dataSet->Fields(1).OnGetText) << "numbers need no conversion";
  dataSet->Edit();
  remark.SetText(Utf8ToAnsi("清場不合格", 950));
  EXPECT_EQ(U(remark.AsString()), "清场不合格") << "stored in the data's code page";
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
