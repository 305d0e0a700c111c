// The suite's printables: data texts with text types and code items, and bar codes.
#include "platform/report/NvQRCtrls.h"

#include <gtest/gtest.h>

#include "ReportTestUtil.h"
#include "platform/core/CodePage.h"
#include "platform/graphics/Page.h"
#include "platform/rtti/FormText.h"

namespace nv::test {
namespace {

class NvCtrlsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterReportClasses();
    form = std::make_unique<TfrmReportTest>(nullptr);
    form->SetName("frmReportTest");
    rep = new TQuickRep(form.get());
    rep->SetName("QuickRep1");
    detail = AddBand(*form, "Detail", rbDetail, 120);
  }
  std::string Run(const std::vector<std::string>& codes) {
    data = VoucherLines(codes);
    rep->SetDataSet(data.get());
    rep->Prepare();
    return rep->Pages().Dump(0);
  }
  std::unique_ptr<TfrmReportTest> form;
  std::unique_ptr<TClientDataSet> data;
  TQuickRep* rep = nullptr;
  TQRBand* detail = nullptr;
};

TEST_F(NvCtrlsFixture, CodeItemsPrintTheirTextAndAValueWithoutAnItemPrintsUnchanged) {
  auto* kind = AddPrintable<TNVQRDBText>(*form, *detail, "txtTD004", 0, 0);
  kind->DataField = "TD001";
  kind->Items()->Add(SysText("1=工单"));
  kind->Items()->Add(SysText("2=工艺"));
  std::vector<std::string> printed;
  kind->OnPrint = [&](TObject*, std::string& v) { printed.push_back(v); };
  Run({"2", "1", "N"});
  EXPECT_EQ(printed, (std::vector<std::string>{SysText("工艺"), SysText("工单"), "N"}));
}

TEST_F(NvCtrlsFixture, ChangingTheTextTypeAndReadingALayoutRaiseTheChangedEvent) {
  auto* field = AddPrintable<TNVQRDBText>(*form, *detail, "txtTD003", 0, 0);
  int changes = 0;
  field->OnTextTypeChange = [&](TObject*) { ++changes; };
  field->SetTextType(1);
  field->SetTextType(1);  // no change
  EXPECT_EQ(changes, 1);
  field->ValueMap = std::string("1\x03") + "Yes||2\x03No";
  std::string text = WriteComponentText(*form);
  EXPECT_NE(text.find("TextType = 1"), std::string::npos) << text;
  TfrmReportTest copy(nullptr);
  ReadComponentText(copy, text);
  auto* read = dynamic_cast<TNVQRDBText*>(copy.FindComponent("txtTD003"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->TextType(), 1);
  EXPECT_EQ(read->ValueMap, field->ValueMap);
}

// Kinds 7 and 22 take digit pairs and 12 single digits; the layout answers the replacement.
TEST_F(NvCtrlsFixture, InvalidCharactersAreReplacedByWhatTheHandlerAnswers) {
  auto* bar = AddPrintable<TNvQRDBBarcode>(*form, *detail, "bcTD002", 0, 0, 200, 60);
  bar->OnInvalidChar = [bar](TObject* sender, std::string& r) {
    EXPECT_EQ(sender, bar);
    int k = bar->BarcodeKind;
    r = k == 7 || k == 22 ? "00" : k == 12 ? "0" : " ";
  };
  struct Case {
    TNvBarcodeKind kind;
    const char* text;
    const char* encoded;
  } cases[] = {
      {bkInterleaved2of5, "12-34", "120034"}, {bkEAN13, "12A4", "1204"},
      {bkCode128C, "2026/12", "20260012"},    {bkCode39, "ab-1", "  -1"},
      {bkCode128, "QC-01", "QC-01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    bar->BarcodeKind = c.kind;
    EXPECT_EQ(bar->EncodableText(c.text), c.encoded);
  }
}

TEST_F(NvCtrlsFixture, BarsAreDrawnAsRectanglesWithTheTextBelowAndAnUnencodableValueKeepsItsText) {
  auto* bar = AddPrintable<TNvQRDBBarcode>(*form, *detail, "bcTD001", 10, 10, 200, 60);
  bar->DataField = "TD001";
  bar->BarcodeKind = bkEAN13;
  std::string dump = Run({"123456789012"});
  EXPECT_TRUE(bar->EncodeError().empty()) << bar->EncodeError();
  EXPECT_GT(bar->Bars().size(), 20u);
  EXPECT_NE(dump.find("\"123456789012\""), std::string::npos) << dump;
  std::size_t rects = 0;
  for (const auto& r : rep->Pages().Page(0).Records())
    if (std::holds_alternative<TPageShape>(r)) {
      const auto& shape = std::get<TPageShape>(r);
      EXPECT_GE(shape.Bounds.Left, 567 + 150);  // inside the printable's box, after the margin
      EXPECT_LE(shape.Bounds.Right, 567 + 3150);
      ++rects;
    }
  EXPECT_EQ(rects, bar->Bars().size());

  dump = Run({"12345678901234567"});  // too long for EAN-13
  EXPECT_FALSE(bar->EncodeError().empty());
  EXPECT_TRUE(bar->Bars().empty());
  EXPECT_NE(dump.find("\"12345678901234567\""), std::string::npos) << dump;
}

}  // namespace
}  // namespace nv::test
