// Word wrap and stretching printables, and what a layout's after-print handler reads to turn
// a band's extra height into band units.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/core/CodePage.h"

#include "ReportTestUtil.h"

namespace nv::test {
namespace {

TQRFontSpec Arial9() {
  TQRFontSpec font;
  font.Name = "Arial";
  font.Size = 9;
  return font;
}

TEST(WrapText, LinesStayWithinTheWidthAndLoseOnlyTheBlanksAtBreaks) {
  struct Case {
    const char* name;
    std::string text;
    int widthPx;
    std::vector<std::string> lines;  // empty: only the width and content rules are checked
  } cases[] = {
      {"fits on one line", "Line clearance", 200, {"Line clearance"}},
      {"breaks after blanks", "alpha beta gamma delta", 60, {}},
      {"line ends in the text are kept", "one\r\ntwo\nthree", 300, {"one", "two", "three"}},
      {"a word wider than the line is cut", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 40, {}},
      {"Chinese breaks between characters", SysText("清场记录单续生产工单单号产品规格"), 50, {}},
      {"empty text is one empty line", "", 50, {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto lines = TQRCanvas::WrapText(Arial9(), c.text, c.widthPx * 15);
    if (!c.lines.empty()) {
      EXPECT_EQ(lines, c.lines);
    }
    std::string joined;
    for (const std::string& line : lines) {
      EXPECT_LE(TQRCanvas::TextWidth(Arial9(), line), c.widthPx * 15) << line;
      joined += line;
    }
    std::string expected = c.text;
    std::erase_if(expected, [](char ch) { return ch == ' ' || ch == '\r' || ch == '\n'; });
    std::erase(joined, ' ');
    EXPECT_EQ(joined, expected);
    if (c.lines.empty()) {
      EXPECT_GT(lines.size(), 1u);
    }
  }
}

class StretchFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterReportClasses();
    form = std::make_unique<TfrmReportTest>(nullptr);
    rep = new TQuickRep(form.get());
    rep->SetName("QuickRep1");
    rep->Page()->TopMargin = 0;
    detail = AddBand(*form, "Detail", rbDetail, 20);
    memo = AddPrintable<TQRMemo>(*form, *detail, "moNote", 0, 2, 80, 15);
    memo->Font()->SetName("Arial");
    memo->Font()->SetSize(9);
    memo->Lines()->Add("alpha beta gamma delta epsilon zeta eta theta");
    detail->AfterPrint = [this](TQRCustomBand* b, bool) { extras.push_back(b->ExtraHeight()); };
  }
  std::unique_ptr<TfrmReportTest> form;
  TQuickRep* rep = nullptr;
  TQRBand* detail = nullptr;
  TQRMemo* memo = nullptr;
  std::vector<int> extras;
};

TEST_F(StretchFixture, AnAutoStretchingMemoGrowsItsBandAndTheBandReportsTheExtraHeight) {
  memo->AutoStretch = true;
  rep->Prepare();
  int lines = static_cast<int>(memo->PrintedLines().size());
  ASSERT_GT(lines, 2);
  int lineHeight = TQRCanvas::LineHeight(FontSpecOf(*memo->Font()));
  int needed = (lines * lineHeight + 14) / 15;
  ASSERT_EQ(extras.size(), 1u);
  EXPECT_EQ(extras[0], 2 + needed - 20);
  // every line is on the page, one under the other
  const TPage& page = rep->Pages().Page(0);
  EXPECT_EQ(static_cast<int>(page.Records().size()), lines);
}

TEST_F(StretchFixture, WithoutAutoStretchTheBandKeepsItsHeightAndLinesBelowTheBoxAreCut) {
  rep->Prepare();
  EXPECT_EQ(extras, std::vector<int>{0});
  const auto& records = rep->Pages().Page(0).Records();
  EXPECT_LT(records.size(), memo->PrintedLines().size());
  const int boxBottom = (2 + 15) * 15;  // the band is at the top of the page
  for (const auto& r : records) {
    const auto& text = std::get<TPageText>(r);
    EXPECT_LE(text.Bounds.Bottom, boxBottom) << text.Text;
    EXPECT_TRUE(text.ClipToBox);
  }
}

// The grouped layout converts a band's extra height into band units with
// round(extra * trunc(size * screen ppi / 72) / (TextHeight("W") / YFactor)); with the
// printer's figures that gives the extra height back.
TEST(PrinterCanvas, TheLayoutsConversionOfExtraHeightGivesTheExtraHeightBack) {
  TQRPrinter printer;
  for (int size : {9, 12, 15}) {
    SCOPED_TRACE(size);
    printer.Canvas().Font()->SetSize(size);
    double w = printer.Canvas().TextHeight("W") / printer.YFactor();
    for (int extra : {1, 13, 40}) {
      int converted = static_cast<int>(std::lround(extra * std::trunc(size * 96 / 72.0) / w));
      EXPECT_EQ(converted, extra);
    }
  }
}

}  // namespace
}  // namespace nv::test
