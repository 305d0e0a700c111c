#include "platform/rtti/FormText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestClasses.h"
#include "platform/core/CodePage.h"

namespace nv::test {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class FormText : public ::testing::Test {
 protected:
  void SetUp() override { SetSystemCodePage(936); }
  void TearDown() override { SetSystemCodePage(0); }
};

TEST_F(FormText, StringsQuotedRunsCodesAndJoins) {
  struct Case {
    const char* name;
    std::string text;
    std::string bytes;
  } cases[] = {
      {"empty", "''", ""},
      {"doubled quote", "'it''s'", "it's"},
      {"control codes", "'a'#13#10'b'", "a\r\nb"},
      {"hex code", "#$41'B'", "AB"},
      {"joined by plus", "'ab' +\n  'cd' + #33", "abcd!"},
      {"wide codes become ANSI", "#23435#20307", SysText("宋体")},
      {"wide with quoted run", "'x'#30830#23450", "x" + SysText("确定")},
      {"ANSI bytes stay", "'" + SysText("确定") + "'", SysText("确定")},
  };
  for (const Case& c : cases) {
    TFormObject obj = ParseFormText("object a: TWidget\n  Caption = " + c.text + "\nend\n");
    ASSERT_EQ(obj.Properties.size(), 1u) << c.name;
    EXPECT_EQ(obj.Properties[0].Value.Text, c.bytes) << c.name;
    // Written back, the bytes read the same.
    TFormObject again =
        ParseFormText("object a: TWidget\n  Caption = " + FormStringLiteral(c.bytes) + "\nend\n");
    EXPECT_EQ(again.Properties[0].Value.Text, c.bytes) << c.name;
  }
  EXPECT_EQ(FormStringLiteral("it's\r\n"), "'it''s'#13#10");
}

TEST_F(FormText, ValuesOfEveryKindParseAndWriteBack) {
  const char* text =
      "object frmTest: TTestForm\n"
      "  Left = -8\n"
      "  Ratio = 1.5E2\n"
      "  Color = $00AFFFFF\n"
      "  Anchors = [akLeft, akTop]\n"
      "  Empty = []\n"
      "  Ref = frmMain.dsData\n"
      "  Items.Strings = (\n"
      "    'a'\n"
      "    'b')\n"
      "  Columns = <\n"
      "    item\n"
      "      Caption = 'x'\n"
      "    end>\n"
      "  Picture.Data = {\n"
      "    0A1BFF}\n"
      "end\n";
  TFormObject obj = ParseFormText(text);
  ASSERT_EQ(obj.Properties.size(), 9u);
  EXPECT_EQ(obj.Properties[0].Value.Integer, -8);
  EXPECT_EQ(obj.Properties[1].Value.Float, 150.0);
  EXPECT_EQ(obj.Properties[2].Value.Integer, 0xAFFFFF);
  EXPECT_EQ(obj.Properties[3].Value.Names, (std::vector<std::string>{"akLeft", "akTop"}));
  EXPECT_EQ(obj.Properties[5].Value.Text, "frmMain.dsData");
  EXPECT_EQ(obj.Properties[6].Name, "Items.Strings");
  EXPECT_EQ(obj.Properties[7].Value.Items.size(), 1u);
  EXPECT_EQ(obj.Properties[8].Value.Text, std::string("\x0A\x1B\xFF", 3));
  std::string written = FormObjectToText(obj);
  EXPECT_EQ(FormObjectToText(ParseFormText(written)), written);
  EXPECT_NE(written.find("  Ratio = 150.0\n"), std::string::npos) << written;
}

TEST_F(FormText, CreatingAFormReadsItsClassChainBaseFirst) {
  std::unique_ptr<TfrmChild> form(Create<TfrmChild>(nullptr));
  EXPECT_EQ(form->Name(), "frmChild");
  EXPECT_EQ(form->Tag(), 2);
  ASSERT_NE(form->btnOk, nullptr);
  ASSERT_NE(form->pnlMain, nullptr);
  ASSERT_NE(form->lblExtra, nullptr);
  EXPECT_EQ(form->btnOk->GetParentComponent(), form->pnlMain);
  EXPECT_EQ(form->edtCode->GetParentComponent(), form.get());
  EXPECT_EQ(form->btnOk->Caption(), "OK\r\nnow");  // the child's text overrides the base's
  EXPECT_EQ(form->pnlMain->Caption(), SysText("基本"));
  EXPECT_EQ(form->pnlMain->Font()->Name(), SysText("宋体"));
  EXPECT_EQ(form->pnlMain->Font()->Charset(), GB2312_CHARSET);
  EXPECT_EQ(form->btnOk->Anchors, (TAnchors{akLeft, akBottom}));
  EXPECT_EQ(form->btnOk->Color, ToColor(0xAFFFFF));
  EXPECT_EQ(form->btnOk->Style, sp_UserChoice);
  EXPECT_EQ(form->edtCode->FocusControl(), form->btnOk);
  EXPECT_EQ(form->edtCode->Items()->CommaText(), "one,two");
  ASSERT_EQ(form->edtCode->Columns()->Count(), 2);
  EXPECT_EQ(form->edtCode->Columns()->ItemAs<TColumn>(0).Width, 80);
  EXPECT_EQ(form->edtCode->Columns()->ItemAs<TColumn>(1).Width, 50);
  EXPECT_FALSE(form->lblExtra->Visible);
  EXPECT_FALSE(form->btnOk->ComponentState().Contains(csLoading));

  // Handlers named in the texts are the form's published methods.
  form->btnOk->OnClick(form->btnOk);
  form->lblExtra->OnClick(form->lblExtra);
  Word key = 65;
  form->edtCode->OnKeyDown(form->edtCode, key, {});
  EXPECT_EQ(form->calls,
            (std::vector<std::string>{"btnOkClick:btnOk", "lblExtraClick", "edtKeyDown"}));
  EXPECT_EQ(GetMethodProp(*form->btnOk, "OnClick").Name, "btnOkClick");
  EXPECT_EQ(GetMethodProp(*form->btnOk, "OnClick").Data, form.get());
}

TEST_F(FormText, AFreshFormHasNoDifferences) {
  std::unique_ptr<TfrmChild> form(Create<TfrmChild>(nullptr));
  EXPECT_EQ(WriteComponentDiff(*form), "inherited frmChild: TfrmChild\nend\n");
}

TEST_F(FormText, DifferencesWrittenAndReadBackOntoAFreshInstance) {
  std::unique_ptr<TfrmChild> form(Create<TfrmChild>(nullptr));
  form->btnOk->SetCaption(SysText("确定") + "'!");
  form->btnOk->Font()->SetStyle({fsBold});
  form->btnOk->OnClick = nullptr;
  form->edtCode->Items()->Add("three");
  form->edtCode->Columns()->ItemAs<TColumn>(1).Caption = "Name";
  form->edtCode->SetFocusControl(form->lblExtra);
  form->edtCode->OnEnter = TNotifyEvent(form.get(), &TTestForm::DateFieldEnter);
  form->lblExtra->Ratio = 0.25;
  form->lblExtra->OnClick = [](TObject*) {};  // anonymous: cannot be stored, not written
  auto* added = new TWidget(form.get());
  added->SetName("ExLbl1");
  added->SetParentComponent(form->pnlMain);
  added->SetCaption("new");
  added->Accel = '\t';
  added->Width = 7;

  std::string diff = WriteComponentDiff(*form);
  EXPECT_EQ(diff,
            "inherited frmChild: TfrmChild\n"
            "  inherited pnlMain: TWidget\n"
            "    inherited btnOk: TWidget\n"
            "      Caption = '" +
                SysText("确定") +
                "''!'\n"
                "      Font.Style = [fsBold]\n"
                "      OnClick = nil\n"
                "    end\n"
                "    object ExLbl1: TWidget\n"
                "      Accel = #9\n"
                "      Caption = 'new'\n"
                "      Width = 7\n"
                "    end\n"
                "  end\n"
                "  inherited edtCode: TWidget\n"
                "    Columns = <\n"
                "      item\n"
                "        Caption = 'Code'\n"
                "        Width = 80\n"
                "      end\n"
                "      item\n"
                "        Caption = 'Name'\n"
                "      end>\n"
                "    FocusControl = lblExtra\n"
                "    Items.Strings = (\n"
                "      'one'\n"
                "      'two'\n"
                "      'three')\n"
                "    OnEnter = DateFieldEnter\n"
                "  end\n"
                "  inherited lblExtra: TWidget\n"
                "    Ratio = 0.25\n"
                "  end\n"
                "end\n");

  std::unique_ptr<TfrmChild> copy(Create<TfrmChild>(nullptr));
  ReadComponentText(*copy, diff, "stored layout");
  EXPECT_EQ(WriteComponentDiff(*copy), diff);
  EXPECT_FALSE(copy->btnOk->OnClick);
  EXPECT_EQ(copy->FindComponent("ExLbl1")->GetParentComponent(), copy->pnlMain);
  copy->edtCode->OnEnter(copy->edtCode);
  EXPECT_EQ(copy->calls, (std::vector<std::string>{"DateFieldEnter:edtCode"}));
}

TEST_F(FormText, FullTextOfAFormBuiltInCodeReadsBackTheSame) {
  TTestForm form(nullptr);
  form.SetName("frmTest");
  auto* ok = new TWidget(&form);
  ok->SetName("btnOk");
  ok->SetCaption("OK");
  ok->OnClick = TNotifyEvent(&form, &TTestForm::btnOkClick);
  auto* plain = new TComponent(&form);
  plain->SetName("cdsData");
  plain->SetDesignPosition(8, 16);
  std::string text = WriteComponentText(form);
  EXPECT_EQ(text,
            "object frmTest: TTestForm\n"
            "  object btnOk: TWidget\n"
            "    Caption = 'OK'\n"
            "    OnClick = btnOkClick\n"
            "  end\n"
            "  object cdsData: TComponent\n"
            "    Left = 8\n"
            "    Top = 16\n"
            "  end\n"
            "end\n");
  RegisterClass(TComponent::StaticClassInfo());
  TTestForm back(nullptr);
  ReadComponentText(back, text);
  EXPECT_EQ(WriteComponentText(back), text);
  EXPECT_EQ(back.FindComponent("cdsData")->DesignTop(), 16);
}

TEST_F(FormText, DamagedTextsNameTheProblemAndItsPlace) {
  struct Case {
    const char* file;
    const char* message;
  } cases[] = {
      {"unknown_property", "line 3, column 5: TWidget has no property Captoin"},
      {"unknown_sub_property", "line 3, column 5: TFont has no property Nme"},
      {"unknown_item_property", "line 5, column 9: TColumn has no property Wdth"},
      {"unknown_class", "line 2, column 3: class TNoSuchButton not found"},
      {"unterminated_string", "line 2, column 10: unterminated string"},
      {"missing_end", "line 4, column 1: expected a property name or 'end', found end of text"},
      {"trailing_text", "line 6, column 1: expected end of text, found 'end'"},
      {"bad_character", "line 3, column 19: unexpected character '?'"},
      {"bad_enum",
       "line 3, column 5: 'sp_Bogus' is not a value of TSelectStyle (property Style of TWidget)"},
      {"bad_set_member",
       "line 3, column 5: 'akMiddle' is not a member of set of TAnchorKind (property Anchors of "
       "TWidget)"},
      {"unknown_handler", "line 3, column 5: TTestForm has no published method btnNoneClick"},
      {"wrong_handler",
       "line 3, column 5: method edtKeyDown does not fit property OnClick of TWidget "
       "(TNotifyEvent)"},
      {"missing_inherited", "line 2, column 3: inherited component btnNone not found in TTestForm"},
      {"unknown_reference",
       "line 3, column 20: component edtNone not found for property FocusControl of TWidget"},
      {"wrong_value_kind",
       "line 3, column 5: property Width of TWidget expects an integer, found a string"},
      {"out_of_range",
       "line 3, column 5: Value 300 is out of range for property Level of TWidget (Byte)"},
      {"integer_overflow", "line 3, column 13: integer out of range: 99999999999999999999"},
      {"char_code_range", "line 3, column 18: character code out of range"},
      {"dangling_plus", "line 4, column 3: expected a string after '+', found 'end'"},
      {"odd_binary", "line 3, column 21: binary data has an odd number of digits"},
      {"wrong_defined_value", "line 3, column 5: expected a list of strings, found binary data"},
      {"duplicate_name", "line 4, column 3: A component named btnOk already exists"},
      {"wrong_root",
       "line 1, column 1: the text describes a TWidget, not an ancestor of TTestForm"},
  };
  for (const Case& c : cases) {
    std::string name = std::string(c.file) + ".form";
    std::string text = ReadFile(std::string(QC_SOURCE_DIR) + "/tests/platform/rtti/broken/" + name);
    ASSERT_FALSE(text.empty()) << name;
    TTestForm form(nullptr);
    try {
      ReadComponentText(form, text, name);
      ADD_FAILURE() << name << " was read";
    } catch (const EFormTextError& e) {
      EXPECT_EQ(e.what(), name + ": " + c.message);
    }
  }
}

TEST_F(FormText, NestingAndSizeAreBounded) {
  std::string deep;
  for (int i = 0; i < 70; ++i) deep += "object a" + std::to_string(i) + ": TWidget\n";
  try {
    ParseFormText(deep);
    FAIL();
  } catch (const EFormTextError& e) {
    EXPECT_STREQ(e.what(), "line 66, column 1: nesting deeper than 64");
  }
  TFormTextLimits small;
  small.MaxTextSize = 8;
  EXPECT_THROW(ParseFormText("object a: TWidget end", {}, small), EFormTextError);
}

TEST_F(FormText, ASyntaxErrorChangesNothing) {
  TTestForm form(nullptr);
  EXPECT_THROW(ReadComponentText(form, "object f: TTestForm\n  Tag = 5\n  object b: TWidget\n"),
               EFormTextError);
  EXPECT_EQ(form.Tag(), 0);
  EXPECT_EQ(form.ComponentCount(), 0);
}

}  // namespace
}  // namespace nv::test
