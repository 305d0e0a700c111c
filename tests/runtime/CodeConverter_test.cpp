#include "runtime/CodeConverter.h"

#include <gtest/gtest.h>

#include "RuntimeFixture.h"
#include "SampleForm.h"

namespace nv {
namespace {

class CodeConversion : public testing::SuiteMachine {
 protected:
  void SetUp() override {
    SuiteMachine::SetUp();
    Install();
  }
  void CodePages(int system, const std::string& ui, const std::string& db) {
    SetSystemCodePage(system);
    testing::WriteFile(ClientPath() + "BatonC.ini",
                       "[CodePage]\nUICodePage=" + ui + "\nDBCodePage=" + db + "\n");
  }
  static std::string GB(std::string_view utf8) { return Utf8ToAnsi(utf8, kCodePageGB); }
  static std::string Big5(std::string_view utf8) { return Utf8ToAnsi(utf8, kCodePageBig5); }
};

TEST_F(CodeConversion, Big5InterfaceOverGBData) {
  CodePages(936, "950", "936");
  const TCodeConverter converter(nullptr);
  EXPECT_EQ(converter.UIConvertKind(), 2);
  EXPECT_EQ(converter.DataConvertKind(), 2);
  ASSERT_NE(converter.Translator(), nullptr);
  const Variant data(GB("清场批号"));
  const Variant shown = converter.ConvertDataString(data);
  EXPECT_EQ(shown, Variant(Big5("清場批號")));
  EXPECT_EQ(converter.RecoverDataString(shown), data);
  EXPECT_EQ(data, Variant(GB("清场批号"))) << "the caller's value is not changed";
  EXPECT_EQ(converter.ConvertUIString(5), Variant("5"));
  EXPECT_EQ(converter.ConvertUIString(Variant::Null()).Type(), VarType::Null);
  EXPECT_EQ(converter.GBToBig5(GB("设备")), Big5("設備"));
  EXPECT_EQ(converter.Big5ToGB(""), "");

  Variant table = Variant::Array2D({0, 2}, {0, 1});
  table.At(0, 0) = GB("工序");
  table.At(1, 0) = 7;
  const Variant list = Variant::ArrayOf({GB("审核"), Variant::ArrayOf({GB("操作员")}), Variant()});
  const Variant convertedTable = converter.ConvertDataString(table);
  EXPECT_EQ(convertedTable.At(0, 0), Variant(Big5("工序")));
  EXPECT_EQ(convertedTable.At(1, 0), Variant("7"));
  const Variant convertedList = converter.ConvertDataString(list);
  EXPECT_EQ(convertedList[0], Variant(Big5("審核")));
  EXPECT_EQ(convertedList[1][0], Variant(Big5("操作員")));
  EXPECT_TRUE(convertedList[2].IsEmpty());
}

TEST_F(CodeConversion, GBInterfaceOnABig5SystemChangesFontsOnly) {
  CodePages(950, "936", "950");
  TCodeConverter converter(nullptr);
  EXPECT_EQ(converter.UIConvertKind(), 4);
  EXPECT_EQ(converter.DataConvertKind(), 1);
  const Variant text(GB("批号"));
  EXPECT_EQ(converter.ConvertUIString(text), text);
  EXPECT_EQ(converter.ConvertDataString(Variant(Big5("批號"))), Variant(GB("批号")));
  TFont font;
  TCodeConverter::SetUIFont(converter.UIConvertKind(), font);
  EXPECT_EQ(font.Name(), "SimSun");
  EXPECT_EQ(font.Charset(), GB2312_CHARSET);
  TCodeConverter::SetUIFont(3, font);
  EXPECT_EQ(font.Charset(), CHINESEBIG5_CHARSET);
  font.SetName("Arial");
  TCodeConverter::SetUIFont(7, font);
  EXPECT_EQ(font.Name(), "Arial");
}

TEST_F(CodeConversion, NoInterfaceConversionMeansNoTranslator) {
  CodePages(936, "936", "950");
  const TCodeConverter converter(nullptr);
  EXPECT_EQ(converter.Translator(), nullptr);
  EXPECT_EQ(converter.DataConvertKind(), 1);
  const Variant text(Big5("批號"));
  EXPECT_EQ(converter.ConvertDataString(text), text) << "without a translator nothing converts";
}

TEST_F(CodeConversion, DoTranslateConvertsTheFormsTexts) {
  CodePages(950, "950", "936");
  sample::TfrmSample form(nullptr);
  form.Caption = GB("清场记录");
  form.btnOk->Caption = GB("确定");
  form.btnOk->Hint = GB("打印");
  form.cboKind->ItemsList()->SetText(GB("全部\n已审核\n"));
  form.cboKind->ItemIndex = 1;
  form.lvList->Style = sample::csSimple;
  form.lvList->Text = GB("设备");
  TCodeConverter converter(&form);
  converter.DoTranslate(form, "", true);
  EXPECT_EQ(form.Caption, Big5("清場記錄"));
  EXPECT_EQ(form.btnOk->Caption, Big5("確定"));
  EXPECT_EQ(form.btnOk->Hint, Big5("打印"));
  EXPECT_EQ(form.btnOk->FontObject()->Charset(), CHINESEBIG5_CHARSET);
  EXPECT_EQ(form.cboKind->ItemsList()->Text(), Big5("全部\r\n已審核\r\n"));
  EXPECT_EQ(form.cboKind->ItemIndex, 1);
  EXPECT_EQ(form.cboKind->Style, sample::csOwnerDrawVariable);
  EXPECT_EQ(form.lvList->Style, sample::csSimple) << "a simple combo box keeps its style";
  EXPECT_EQ(form.lvList->Text, Big5("設備"));
  EXPECT_EQ(form.lblInner->Caption, "inner") << "owned by the panel, not by the form";
}

}  // namespace
}  // namespace nv
