#include "platform/report/QuickRpt.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ReportTestUtil.h"
#include "platform/rtti/FormText.h"

namespace nv::test {
namespace {

// A page of 200 layout pixels without margins: page header 20, title 20, page footer 20,
// detail rows 30. Page 1 holds four rows (40 to 160), later pages five (20 to 170).
class ReportFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterReportClasses();
    form = std::make_unique<TfrmReportTest>(nullptr);
    form->SetName("frmReportTest");
    auto* rep = new TQuickRep(form.get());
    rep->SetName("QuickRep1");
    TQRPage* page = rep->Page();
    page->PaperWidth = PxToMm(300);
    page->PaperLength = PxToMm(200);
    page->LeftMargin = page->RightMargin = page->TopMargin = page->BottomMargin = 0;
    header = AddBand(*form, "PageHeader", rbPageHeader, 20);
    title = AddBand(*form, "Title", rbTitle, 20);
    detail = AddBand(*form, "Detail", rbDetail, 30);
    footer = AddBand(*form, "PageFooter", rbPageFooter, 20);
    summary = AddBand(*form, "Summary", rbSummary, 20);
    for (TQRCustomBand* band : rep->Bands()) {
      band->AfterPrint = [this](TQRCustomBand* b, bool printed) {
        std::string where = std::to_string(form->QuickRep1->PageNumber()) + ":" + b->Name();
        if (b == detail) where += "(" + data->FieldByName("TD001").AsString() + ")";
        log += (log.empty() ? "" : " ") + where + (printed ? "" : "-");
      };
    }
  }

  void Run(const std::vector<std::string>& codes) {
    data = VoucherLines(codes);
    form->QuickRep1->SetDataSet(data.get());
    form->QuickRep1->Prepare();
  }

  std::unique_ptr<TfrmReportTest> form;
  std::unique_ptr<TClientDataSet> data;
  TQRBand* header = nullptr;
  TQRBand* title = nullptr;
  TQRBand* detail = nullptr;
  TQRBand* footer = nullptr;
  TQRBand* summary = nullptr;
  std::string log;
};

TEST_F(ReportFixture, BandsPrintInTheOrderTheirTypesMeanAndBreakWhenTheDetailAreaIsFull) {
  Run({"a", "b", "c", "d", "e", "f", "g"});
  EXPECT_EQ(log,
            "1:PageHeader 1:Title 1:Detail(a) 1:Detail(b) 1:Detail(c) 1:Detail(d) 1:PageFooter "
            "2:PageHeader 2:Detail(e) 2:Detail(f) 2:Detail(g) 2:Summary 2:PageFooter");
  EXPECT_EQ(form->QuickRep1->PageCount(), 2);
}

TEST_F(ReportFixture, PageOptionsAndEmptyData) {
  struct Case {
    const char* name;
    TQROptions options;
    bool printIfEmpty;
    std::vector<std::string> codes;
    const char* log;
    int pages;
  } cases[] = {
      {"no first-page header, no last-page footer",
       {},
       true,
       {"a", "b", "c", "d", "e"},
       "1:Title 1:Detail(a) 1:Detail(b) 1:Detail(c) 1:Detail(d) 1:Detail(e) 1:PageFooter "
       "2:PageHeader 2:Summary",
       2},
      {"summary fits above the footer's place",
       {},
       true,
       {"a", "b", "c", "d"},
       "1:Title 1:Detail(a) 1:Detail(b) 1:Detail(c) 1:Detail(d) 1:Summary",
       1},
      {"empty data printed",
       {FirstPageHeader, LastPageFooter},
       true,
       {},
       "1:PageHeader 1:Title 1:Summary 1:PageFooter",
       1},
      {"empty data not printed", {FirstPageHeader, LastPageFooter}, false, {}, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    form->QuickRep1->Options = c.options;
    form->QuickRep1->PrintIfEmpty = c.printIfEmpty;
    Run(c.codes);
    EXPECT_EQ(log, c.log);
    EXPECT_EQ(form->QuickRep1->PageCount(), c.pages);
  }
}

TEST_F(ReportFixture, RefusedBandsTakeNoSpaceAndTheirChildrenStayOut) {
  auto* child = new TQRChildBand(form.get());
  child->SetName("DetailChild");
  child->SetParentComponent(form->QuickRep1);
  child->SetParentBand(detail);
  child->SetHeight(10);
  child->AfterPrint = [this](TQRCustomBand*, bool) { log += " child"; };
  detail->BeforePrint = [this](TQRCustomBand*, bool& print) {
    print = data->FieldByName("TD001").AsString() != "b";
  };
  footer->BeforePrint = [](TQRCustomBand*, bool& print) { print = false; };
  Run({"a", "b", "c"});
  EXPECT_EQ(log,
            "1:PageHeader 1:Title 1:Detail(a) child 1:Detail(b)- 1:Detail(c) child 1:Summary "
            "1:PageFooter-");
}

TEST_F(ReportFixture, ReportBeforePrintMayRefuseTheWholeReport) {
  form->QuickRep1->BeforePrint = [](TQuickRep*, bool& print) { print = false; };
  Run({"a"});
  EXPECT_EQ(form->QuickRep1->PageCount(), 0);
  EXPECT_EQ(log, "");
}

TEST_F(ReportFixture, ProgressMayCancelGeneration) {
  std::vector<int> pages;
  form->QuickRep1->OnProgress = [&](int page, bool& cancel) {
    pages.push_back(page);
    cancel = true;
  };
  Run({"a", "b", "c", "d", "e", "f", "g"});
  EXPECT_TRUE(form->QuickRep1->Cancelled());
  EXPECT_EQ(pages, std::vector<int>{1});
  EXPECT_EQ(form->QuickRep1->PageCount(), 2);  // the page begun when cancelling stays
}

// Each row taller than a page gets a page of its own (cut at the bottom), then the summary.
TEST_F(ReportFixture, ABandTallerThanThePageIsPlacedOnceRatherThanLooping) {
  detail->SetHeight(500);
  Run({"a", "b"});
  EXPECT_EQ(log,
            "1:PageHeader 1:Title 1:PageFooter 2:PageHeader 2:Detail(a) 2:PageFooter "
            "3:PageHeader 3:Detail(b) 3:PageFooter 4:PageHeader 4:Summary 4:PageFooter");
}

TEST_F(ReportFixture, PrintEventsRewriteValuesAndFieldsComeFromTheCurrentRecord) {
  auto* code = AddPrintable<TQRDBText>(*form, *detail, "txtTD001", 10, 5);
  code->DataField = "TD001";
  code->OnPrint = [](TObject*, std::string& v) { v = "#" + v; };
  auto* page = AddPrintable<TQRExpr>(*form, *footer, "exprPage", 10, 2);
  page->Expression = "'Page '+PAGENUMBER";
  Run({"x", "y", "z", "w", "v"});
  std::string dump = form->QuickRep1->Pages().Dump(0) + form->QuickRep1->Pages().Dump(1);
  for (const char* text : {"\"#x\"", "\"#w\"", "\"#v\"", "\"Page 1\"", "\"Page 2\""})
    EXPECT_NE(dump.find(text), std::string::npos) << text << " in\n" << dump;
}

TEST_F(ReportFixture, AMissingFieldIsNamedWithItsPrintable) {
  auto* code = AddPrintable<TQRDBText>(*form, *detail, "txtTD099", 10, 5);
  code->DataField = "TD099";
  try {
    Run({"x"});
    FAIL() << "no error";
  } catch (const EQuickReportError& e) {
    EXPECT_STREQ(e.what(), "txtTD099: field 'TD099' not found in ClientDataSet1");
  }
}

// The display list of a small layout, checked in; the failure prints the new text.
TEST_F(ReportFixture, RenderedLayoutMatchesTheGoldenDump) {
  form->QuickRep1->Page()->LeftMargin = PxToMm(10);
  title->SetTransparent(false);
  title->SetColor(clSilver);
  title->Frame()->DrawBottom = true;
  auto* caption = AddPrintable<TQRLabel>(*form, *title, "lblTitle", 0, 2, 280);
  caption->Caption = "Line clearance";
  caption->Alignment = qr::taCenter;
  caption->Font()->SetName("Arial");
  caption->Font()->SetStyle(TFontStyles{fsBold});
  auto* code = AddPrintable<TQRDBText>(*form, *detail, "txtTD001", 4, 6, 80);
  code->DataField = "TD001";
  auto* sum = AddPrintable<TQRExpr>(*form, *detail, "exprSum", 100, 6, 80);
  sum->Expression = "ClientDataSet1.TD002+ClientDataSet1.TD003";
  sum->Alignment = qr::taRightJustify;
  auto* rule = AddPrintable<TQRShape>(*form, *detail, "shpRule", 0, 28, 280, 2);
  rule->Shape = qrsHorLine;
  auto* box = AddPrintable<TQRShape>(*form, *summary, "shpBox", 0, 0, 280, 20);
  box->Brush()->Style = qr::bsClear;
  Run({"A-01", "B-02"});
  ASSERT_EQ(form->QuickRep1->PageCount(), 1);
  std::string dump = form->QuickRep1->Pages().Dump(0);
  std::ifstream in(std::string(QC_SOURCE_DIR) + "/tests/report/data/layout.dump");
  std::stringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(dump, golden.str()) << "new dump:\n" << dump;
}

TEST_F(ReportFixture, LayoutRoundTripsThroughFormText) {
  auto* child = new TQRChildBand(form.get());
  child->SetName("DetailChild");
  child->SetParentComponent(form->QuickRep1);
  child->SetParentBand(detail);
  auto* label = AddPrintable<TQRLabel>(*form, *child, "lblNote", 3, 4);
  label->Caption = "Note";
  label->Font()->SetCharset(TFontCharset(134));
  SetMethodProp(*label, "OnPrint", MethodByName(*form, "LabelPrint"));
  SetMethodProp(*detail, "BeforePrint", MethodByName(*form, "DetailBeforePrint"));
  form->QuickRep1->PageStyle = qrHalfPage;
  form->QuickRep1->Page()->Orientation = poLandscape;
  form->QuickRep1->ReportTitle = "Vouchers";
  std::string text = WriteComponentText(*form);

  TfrmReportTest copy(nullptr);
  ReadComponentText(copy, text);
  EXPECT_EQ(WriteComponentText(copy), text);
  ASSERT_NE(copy.QuickRep1, nullptr);
  ASSERT_EQ(copy.QuickRep1->Bands().size(), 6u);
  auto* readChild = dynamic_cast<TQRChildBand*>(copy.QuickRep1->Bands()[5]);
  ASSERT_NE(readChild, nullptr);
  EXPECT_EQ(readChild->ParentBand(), copy.QuickRep1->Bands()[2]);
  EXPECT_EQ(copy.QuickRep1->Bands()[2]->ChildBand(), readChild);
  ASSERT_EQ(readChild->Printables().size(), 1u);
  EXPECT_EQ(readChild->Printables()[0]->Name(), "lblNote");
  bool print = false;
  copy.QuickRep1->Bands()[2]->BeforePrint(copy.QuickRep1->Bands()[2], print);
  EXPECT_TRUE(print);
  EXPECT_EQ(copy.calls, std::vector<std::string>{"DetailBeforePrint:Detail"});
  EXPECT_NE(text.find("object lblNote: TQRLabel"), std::string::npos) << text;
}

}  // namespace
}  // namespace nv::test

namespace nv::test {
namespace {

TEST_F(ReportFixture, GroupHeadersWhenTheKeyChangesAndFootersWithTheGroupsLastRecord) {
  auto* group = new TQRGroup(form.get());
  group->SetName("Group");
  group->SetParentComponent(form->QuickRep1);
  group->SetHeight(5);
  group->Expression = "TD001";
  TQRBand* groupFooter = AddBand(*form, "GroupFooter", rbGroupFooter, 5);
  group->SetFooterBand(groupFooter);
  auto note = [this](TQRCustomBand* b, bool) {
    log += " " + b->Name() + "(" + data->FieldByName("TD001").AsString() + ")";
  };
  group->AfterPrint = note;
  groupFooter->AfterPrint = note;
  Run({"a", "a", "b"});
  EXPECT_EQ(log,
            "1:PageHeader 1:Title Group(a) 1:Detail(a) 1:Detail(a) GroupFooter(a) Group(b) "
            "1:Detail(b) GroupFooter(b) 1:Summary 1:PageFooter");
}

}  // namespace
}  // namespace nv::test
