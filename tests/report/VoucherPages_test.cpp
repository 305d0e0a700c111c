// Voucher pages: the half-page style with its four page bands, driven by handlers that do
// what the grouped voucher layout does (count rows, refuse the row that does not fit and step
// the data set back).
#include <gtest/gtest.h>

#include "ReportTestUtil.h"
#include "platform/graphics/Page.h"

namespace nv::test {
namespace {

class VoucherPagesFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterReportClasses();
    form = std::make_unique<TfrmReportTest>(nullptr);
    rep = new TQuickRep(form.get());
    rep->SetName("QuickRep1");
    rep->PageStyle = qrHalfPage;
    TQRPage* page = rep->Page();
    page->PaperWidth = PxToMm(400);
    page->PaperLength = PxToMm(600);  // two voucher pages of 300
    page->LeftMargin = page->RightMargin = page->TopMargin = page->BottomMargin = 0;
    start = new TQRGroup(form.get());
    start->SetName("QRGroup");
    start->SetParentComponent(rep);
    start->SetHeight(20);
    start->Expression = "ClientDataSet1.TD001";
    detail = AddBand(*form, "QRDetailBand", rbDetail, 32);
    attach = AddBand(*form, "QRGroupFooter", rbGroupFooter, 72);
    start->SetFooterBand(attach);
    end = new TQRChildBand(form.get());
    end->SetName("GroupFooterChildBand");
    end->SetParentComponent(rep);
    end->SetParentBand(attach);
    end->SetHeight(10);
    rep->SetPageStartBand(start);
    rep->SetPageDetailBand(detail);
    rep->SetPageAttachDetailBand(attach);
    rep->SetPageEndBand(end);
    auto* seq = AddPrintable<TQRDBText>(*form, *detail, "txtTD001", 0, 0);
    seq->DataField = "TD003";

    start->BeforePrint = [this](TQRCustomBand*, bool&) {
      std::string key = data->FieldByName("TD001").AsString();
      if (key != currentKey)
        rowNo = 0, pageNo = 1, currentKey = key;
      else
        ++pageNo;
      log += (log.empty() ? "" : " ") + key + std::to_string(pageNo) + ":";
    };
    detail->BeforePrint = [this](TQRCustomBand*, bool& print) {
      if (attach->Height() >= 0 || rowNo < 2) {
        ++rowNo;
        log += std::to_string(data->FieldByName("TD003").AsInteger() / 10);
        return;
      }
      print = false;
      attach->SetHeight(attach->Height() + detail->Height());
      data->Prior();
    };
    attach->AfterPrint = [this](TQRCustomBand* b, bool) {
      log += "/" + std::to_string(b->Height());
    };
    end->AfterPrint = [this](TQRCustomBand*, bool) { log += "."; };
  }

  void Run(const std::vector<std::string>& codes) {
    data = VoucherLines(codes);
    rep->SetDataSet(data.get());
    rep->Prepare();
  }

  std::unique_ptr<TfrmReportTest> form;
  std::unique_ptr<TClientDataSet> data;
  TQuickRep* rep = nullptr;
  TQRGroup* start = nullptr;
  TQRBand* detail = nullptr;
  TQRBand* attach = nullptr;
  TQRChildBand* end = nullptr;
  std::string currentKey;
  int rowNo = 0;
  int pageNo = 0;
  std::string log;  // per voucher page: key, page number, rows (record numbers), attach height
};

TEST_F(VoucherPagesFixture, RowsUseUpTheAttachBandAndARefusedRowHeadsTheNextPage) {
  struct Case {
    const char* name;
    std::vector<std::string> codes;
    const char* log;
    int voucherPages;
    int sheets;
  } cases[] = {
      {"footer 72, detail 32: three rows a page, seven records three pages",
       {"A", "A", "A", "A", "A", "A", "A"},
       "A1:123/8. A2:456/8. A3:7/40.",
       3,
       2},
      {"a new voucher starts a new page",
       {"A", "A", "B", "B", "B", "B"},
       "A1:12/8. B1:345/8. B2:6/40.",
       3,
       2},
      {"exactly three rows end the voucher without a refusal",
       {"A", "A", "A", "B"},
       "A1:123/-24. B1:4/40.",
       2,
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    currentKey.clear();
    Run(c.codes);
    EXPECT_EQ(log, c.log);
    EXPECT_EQ(rep->QRPrinter()->VoucherPageCount(), c.voucherPages);
    EXPECT_EQ(rep->PageCount(), c.sheets);
    EXPECT_EQ(attach->Height(), 72);  // the design height is back after generation
  }
}

// The second voucher page of a sheet is its lower half; the first row of each page sits right
// under the start band.
TEST_F(VoucherPagesFixture, VoucherPagesAreTheUpperAndLowerHalvesOfASheet) {
  std::vector<int> tops;
  detail->AfterPrint = [&](TQRCustomBand*, bool printed) {
    if (!printed) return;
    const TPage& sheet = rep->Pages().Page(rep->PageCount() - 1);
    const auto& text = std::get<TPageText>(sheet.Records().back());
    tops.push_back(text.Bounds.Top / 15);
  };
  Run({"A", "B", "C"});
  EXPECT_EQ(tops, (std::vector<int>{20, 320, 20}));
  EXPECT_EQ(rep->PageCount(), 2);
}

TEST_F(VoucherPagesFixture, AHandlerThatRefusesEveryRowCannotHangGeneration) {
  detail->BeforePrint = [this](TQRCustomBand*, bool& print) {
    print = false;
    data->Prior();
  };
  Run({"A", "A", "B"});
  EXPECT_EQ(log, "A1:/72. B1:/72.");
}

}  // namespace
}  // namespace nv::test
