#include "runtime/LanguageController.h"

#include <gtest/gtest.h>

#include "RuntimeFixture.h"
#include "SampleForm.h"
#include "platform/core/CodePage.h"
#include "platform/ui/ComCtrls.h"
#include "runtime/LibVCLs.h"

namespace nv {
namespace {

using sample::TfrmSample;

class LanguagePack : public testing::SuiteMachine {
 protected:
  void SetUp() override {
    SuiteMachine::SetUp();
    Install();
  }
  // A pack written in GB with its encoding declared, as the suite installs them.
  std::string Pack(const std::string& language, const std::string& name,
                   const std::string& utf8Body, const std::string& encoding = "GB2312") {
    const std::string file = ClientPath() + "MultiLanguage/" + language + "/" + name + ".Lng";
    const std::string text = "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n" + utf8Body;
    testing::WriteFile(file, encoding == "UTF-8" ? text : Utf8ToAnsi(text, kCodePageGB));
    return file;
  }
  void CodePage(const std::string& ui) {
    testing::WriteFile(ClientPath() + "BatonC.ini", "[CodePage]\nUICodePage=" + ui + "\n");
  }
  static std::string S(std::string_view utf8) { return SysText(utf8); }
};

constexpr const char* kSamplePack = R"(<TfrmSample Caption="清场记录打印" Hint="选择条件">
  <btnOk Caption="确定" Hint="开始打印"/>
  <cboKind Items_2="已审核" Items_0="全部"/>
  <lvList Columns_1.Caption="批号" Columns_0.Width="80" Font.Name="宋体" Font.Charset="GB2312_CHARSET"
          Color="clRed" Caption="列表"/>
  <pnlHost Caption="不应出现"/>
  <lblInner Caption="内部"/>
</TfrmSample>)";

TEST_F(LanguagePack, RelabelsASampleForm) {
  Pack("CHS", "TfrmSample", kSamplePack);
  TfrmSample form(nullptr);
  TNvLangController controller(&form);
  controller.ExcludeControls()->Add(" PNLHOST ");
  controller.SetLangPackageName("TfrmSample");
  EXPECT_EQ(controller.FileName(), ClientPath() + "MultiLanguage\\CHS\\TfrmSample.Lng");
  EXPECT_FALSE(controller.Active());
  controller.SetActive(true);
  ASSERT_TRUE(controller.Active());
  controller.GetLangReader().ReadComponent(form);

  EXPECT_EQ(form.Caption, S("清场记录打印"));
  EXPECT_EQ(form.Hint, S("选择条件"));
  EXPECT_EQ(form.btnOk->Caption, S("确定"));
  EXPECT_EQ(form.btnOk->Hint, S("开始打印"));
  EXPECT_EQ(form.cboKind->ItemsList()->Text(), S("全部\r\nB\r\n已审核\r\n"));
  EXPECT_EQ(form.cboKind->ItemIndex, 1) << "a combo box keeps its selected item";
  EXPECT_EQ(form.lvList->Columns->ItemAs<sample::TListColumn>(1).Caption, S("批号"));
  EXPECT_EQ(form.lvList->Columns->ItemAs<sample::TListColumn>(0).Width, 80);
  EXPECT_EQ(form.lvList->FontObject()->Name(), S("宋体"));
  EXPECT_EQ(form.lvList->FontObject()->Charset(), GB2312_CHARSET);
  EXPECT_EQ(form.lvList->Color, clRed);
  EXPECT_EQ(form.lvList->Caption, S("列表"));
  EXPECT_EQ(form.pnlHost->Caption, "host") << "excluded";
  EXPECT_EQ(form.lblInner->Caption, S("内部")) << "what an excluded component owns is still read";
}

TEST_F(LanguagePack, AssignmentsThatDoNotFitAreSkipped) {
  Pack("CHS", "TfrmSample", R"(<TfrmSample>
  <btnOk Items_5="五" Items_99999999="huge" Color="clNoSuchColour" Nothing="x" Caption="好" Font.Nothing="x"/>
  <lvList Columns_9.Caption="越界" Rows_1.Caption="无" Columns_x.Caption="坏" Items.Caption="x"
          Hint="提示"/>
</TfrmSample>)");
  TfrmSample form(nullptr);
  form.btnOk->ItemsList()->SetText("a\nb\n");
  form.lvList->Caption = "kept";
  TNvLangController controller(&form);
  controller.SetLangPackageName("TfrmSample");
  controller.SetActive(true);
  controller.GetLangReader().ReadComponent(form);
  EXPECT_EQ(form.btnOk->ItemsList()->Text(), "a\r\nb\r\n\r\n\r\n\r\n" + S("五") + "\r\n");
  EXPECT_EQ(form.btnOk->Color, clWindow);
  EXPECT_EQ(form.btnOk->Caption, S("好"));
  EXPECT_EQ(form.lvList->Caption, "kept") << "a path that cannot be followed changes nothing";
  EXPECT_EQ(form.lvList->Hint, S("提示"));
}

TEST_F(LanguagePack, ListViewItemsAndTreeNodesByIndex) {
  Pack("CHS", "TfrmSample", R"(<TfrmSample>
  <lvRows Columns_1.Caption="批号" Items_1.Caption="设备" Items_9.Caption="越界" Items_0.Width="9"/>
  <tvSteps Items_2.Text="审核" Items_0.Caption="不是节点的属性" Items_7.Text="越界"/>
</TfrmSample>)");
  TfrmSample form(nullptr);
  auto* rows = new TListView(&form);
  rows->SetName("lvRows");
  rows->Columns()->Add()->SetCaption("No");
  rows->Columns()->Add()->SetCaption("Lot");
  for (const char* caption : {"a", "b"}) rows->Items()->Add()->SetCaption(caption);
  auto* steps = new TTreeView(&form);
  steps->SetName("tvSteps");
  steps->Items()->AddChild(steps->Items()->Add(nullptr, "A"), "B");
  steps->Items()->Add(nullptr, "C");
  TNvLangController controller(&form);
  controller.SetLangPackageName("TfrmSample");
  controller.SetActive(true);
  controller.GetLangReader().ReadComponent(form);
  EXPECT_EQ(rows->Columns()->Items(1)->Caption(), S("批号"));
  EXPECT_EQ(rows->Items()->Item(1)->Caption(), S("设备"));
  EXPECT_EQ(rows->Items()->Item(0)->Caption(), "a");
  EXPECT_EQ(rows->Items()->Count(), 2) << "an index beyond the rows adds none";
  EXPECT_EQ(steps->Items()->Item(0)->Text(), "A");
  EXPECT_EQ(steps->Items()->Item(2)->Text(), S("审核")) << "nodes count depth first";
  EXPECT_EQ(steps->Items()->Count(), 3);
}

TEST_F(LanguagePack, NamesThatWouldBreakTheSelectionSelectNothing) {
  const auto document = XmlFromText("<root><a Msg=\"A\"/><b Msg=\"B\"/></root>");
  ASSERT_EQ(document->ParseErrorCode(), 0);
  std::string value;
  EXPECT_TRUE(document->SelectAttribute("b", "Msg", value));
  EXPECT_EQ(value, "B");
  for (const char* key :
       {"a|//b", "a']", "*", "a/b", "a b", "a[1]", "", "x:a", "//b", "a\"", "b or 1=1"})
    EXPECT_EQ(document->SelectElement(key), nullptr) << key;
}

TEST_F(LanguagePack, GetMessageWithAndWithoutThePack) {
  const char* kDefault = "No data to print!";
  EXPECT_EQ(GetMessage(dtClient, "TfrmBaseGene", "sNoData", kDefault), kDefault) << "no pack";
  Pack("CHS", "TfrmBaseGene",
       R"(<TfrmBaseGene><sNoData Msg="没有可打印的资料!"/><sCount Msg="共 %d 笔"/>)"
       R"(<sBad Msg="%s %d"/><sNoMsg Text="x"/></TfrmBaseGene>)");
  EXPECT_EQ(GetMessage(dtClient, "TfrmBaseGene", "sNoData", kDefault), S("没有可打印的资料!"));
  EXPECT_EQ(GetMessage(dtClient, "TfrmBaseGene", "sNoMsg", kDefault), kDefault);
  EXPECT_EQ(GetMessage(dtClient, "TfrmBaseGene", "sMissing", kDefault), kDefault);
  EXPECT_EQ(GetMessage(dtClient, "TfrmBaseGene", "sNoData']|//*[@Msg", kDefault), kDefault);
  EXPECT_EQ(GetMessageFmt(dtClient, "TfrmBaseGene", "sCount", "%d rows", {3}), S("共 3 笔"));
  EXPECT_EQ(GetMessageFmt(dtClient, "TfrmBaseGene", "sBad", "%d rows", {3}), "3 rows")
      << "a pack text that does not fit its arguments falls back to the default";

  Pack("ENG", "TfrmBaseGene", R"(<TfrmBaseGene><sNoData Msg="Nothing to print."/></TfrmBaseGene>)",
       "UTF-8");
  CodePage("437");
  EXPECT_EQ(GetLangFolder(dtClient), ClientPath() + "MultiLanguage\\ENG\\");
  EXPECT_EQ(GetMessage(dtClient, "TfrmBaseGene", "sNoData", kDefault), "Nothing to print.");
  CodePage("1252");
  EXPECT_EQ(GetLangFolder(dtClient), "");
  EXPECT_EQ(GetMessage(dtClient, "TfrmBaseGene", "sNoData", kDefault), kDefault);
  CodePage("950");
  EXPECT_EQ(GetLangFolder(dtClient), "") << "no CHT folder";
  testing::WriteFile(ClientPath() + "MultiLanguage/CHS/Broken.Lng", "<a><b Msg='x'></a>");
  CodePage("936");
  EXPECT_EQ(GetMessage(dtClient, "Broken", "b", kDefault), kDefault);
}

TEST_F(LanguagePack, ControllerStates) {
  TfrmSample form(nullptr);
  TNvLangController controller(&form);
  std::vector<std::string> events;
  controller.BeforeOpen = [&](TObject*) { events.push_back("BeforeOpen"); };
  controller.AfterOpen = [&](TObject*) { events.push_back("AfterOpen"); };
  controller.BeforeClose = [&](TObject*) { events.push_back("BeforeClose"); };
  controller.AfterClose = [&](TObject*) { events.push_back("AfterClose"); };
  controller.BeforeLoadComponent = [&](TComponent* c, TXmlNode) {
    events.push_back("Before " + c->Name());
  };

  try {
    controller.SetActive(true);
    FAIL();
  } catch (const LanguageControllerError& error) {
    EXPECT_STREQ(error.what(), "Cannot Find File !");
  }
  try {
    controller.GetLangReader();
    FAIL();
  } catch (const LanguageControllerError& error) {
    EXPECT_STREQ(error.what(), "No active LanguageController!");
  }
  const std::string broken = ClientPath() + "MultiLanguage/CHS/TfrmBroken.Lng";
  testing::WriteFile(broken, "<TfrmBroken>\n  <btnOk Caption=\"x\">\n</TfrmBroken>");
  controller.SetLangPackageName("TfrmBroken");
  try {
    controller.SetActive(true);
    FAIL();
  } catch (const LanguageControllerError& error) {
    EXPECT_EQ(std::string(error.what()),
              ClientPath() +
                  "MultiLanguage\\CHS\\TfrmBroken.Lng, line 3, column 14: "
                  "Premature end of data in tag TfrmBroken line 1");
  }
  EXPECT_FALSE(controller.Active());

  Pack("CHS", "TfrmSample", kSamplePack);
  events.clear();
  controller.SetLangPackageName("TfrmSample");
  controller.SetActive(true);
  controller.SetActive(true);
  controller.GetLangReader().ReadComponent(*form.btnOk);
  controller.SetLangPackageName("TfrmSample");
  EXPECT_TRUE(controller.Active()) << "the same name changes nothing";
  controller.SetLangPackageName("TfrmOther");
  EXPECT_FALSE(controller.Active()) << "a new pack closes the old";
  EXPECT_EQ(events, (std::vector<std::string>{"BeforeOpen", "AfterOpen", "Before btnOk",
                                              "BeforeClose", "AfterClose"}));
}

TEST_F(LanguagePack, ActiveWhileLoadingWaitsForLoaded) {
  Pack("CHS", "TfrmSample", kSamplePack);
  TfrmSample form(nullptr);
  TNvLangController controller(&form);
  controller.SetLoading(true);
  SetPropValue(controller, "LangPackageName", "TfrmSample");
  SetPropValue(controller, "Active", "True");
  EXPECT_FALSE(controller.Active());
  controller.SetLoading(false);
  controller.Loaded();
  EXPECT_TRUE(controller.Active());
  EXPECT_EQ(GetPropValue(controller, "DesignType"), "dtClient");
}

TEST(LibVCLs, PropertyHelpersByName) {
  sample::TSampleControl control(nullptr);
  control.Caption = "A";
  control.ItemIndex = 1;
  EXPECT_TRUE(CheckPropertyExist(&control, "caption"));
  EXPECT_FALSE(CheckPropertyExist(&control, "Nothing"));
  EXPECT_FALSE(CheckPropertyExist(nullptr, "Caption"));
  EXPECT_FALSE(CheckPropertyExist(&control, ""));
  EXPECT_EQ(GetStringProperty(&control, "Caption"), "A");
  EXPECT_EQ(GetStringProperty(&control, "ItemIndex"), "") << "not a text property";
  EXPECT_EQ(GetStringProperty(nullptr, "Caption"), "");
  SetStringProperty(&control, "Caption", "B");
  SetStringProperty(&control, "Nothing", "B");
  SetStringProperty(nullptr, "Caption", "B");
  EXPECT_EQ(control.Caption, "B");
  EXPECT_EQ(GetOrdinalProperty(&control, "ItemIndex"), 1);
  EXPECT_EQ(GetOrdinalProperty(&control, "Style"), 0);
  EXPECT_EQ(GetOrdinalProperty(&control, "Caption"), 0);
  SetOrdinalProperty(&control, "Style", 2);
  EXPECT_EQ(control.Style, sample::csDropDownList);
  SetOrdinalProperty(&control, "Style", 99);
  EXPECT_EQ(control.Style, sample::csDropDownList) << "out of the type's range";

  TNvLangController controller(nullptr);
  int opened = 0;
  controller.AfterOpen = [&](TObject*) { ++opened; };
  const TMethod handler = GetObjectMethod(controller, "AfterOpen");
  EXPECT_TRUE(handler.Assigned());
  EXPECT_FALSE(GetObjectMethod(controller, "Nothing").Assigned());
  SetObjectMethod(controller, "BeforeOpen", handler);
  controller.BeforeOpen(&controller);
  EXPECT_EQ(opened, 1);
  SetObjectMethod(controller, "BeforeLoadComponent", handler);
  EXPECT_FALSE(controller.BeforeLoadComponent) << "a handler of another signature is refused";
}

}  // namespace
}  // namespace nv
