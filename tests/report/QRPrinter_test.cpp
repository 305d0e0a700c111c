// The printer object and the preview control: pages kept as display lists, status and
// cancelling, sheets arriving at the preview, zoom and page number, drawing a page anywhere.
#include "platform/report/QRPrinter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ReportTestUtil.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Page.h"
#include "platform/report/QRPreview.h"

namespace nv::test {
namespace {

// Letter pages without margins, one detail row of 500 layout pixels a page.
class PrinterFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterReportClasses();
    form = std::make_unique<TfrmReportTest>(nullptr);
    rep = new TQuickRep(form.get());
    rep->SetName("QuickRep1");
    TQRPage* page = rep->Page();
    page->LeftMargin = page->RightMargin = page->TopMargin = page->BottomMargin = 0;
    TQRBand* detail = AddBand(*form, "Detail", rbDetail, 600);
    detail->SetTransparent(false);
    detail->SetColor(clSilver);
    auto* code = AddPrintable<TQRDBText>(*form, *detail, "txtTD001", 10, 10);
    code->DataField = "TD001";
    data = VoucherLines({"a", "b", "c", "d", "e"});
    rep->SetDataSet(data.get());
  }
  std::unique_ptr<TfrmReportTest> form;
  std::unique_ptr<TClientDataSet> data;
  TQuickRep* rep = nullptr;
};

TEST_F(PrinterFixture, StatusPagesAndListenersFollowGeneration) {
  TQRPrinter* printer = rep->QRPrinter();
  EXPECT_EQ(printer->Status(), mpReady);
  std::vector<int> arrived;
  std::vector<TQRPrinterStatus> during;
  int id = printer->AddPageListener([&](int page) {
    arrived.push_back(page);
    during.push_back(printer->Status());
  });
  rep->Prepare();
  EXPECT_EQ(printer->Status(), mpFinished);
  EXPECT_FALSE(printer->Cancelled());
  EXPECT_EQ(printer->PageCount(), 5);
  EXPECT_EQ(arrived, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(during.back(), mpBusy);
  printer->RemovePageListener(id);
  rep->Prepare();
  EXPECT_EQ(arrived.size(), 6u);
  try {
    printer->Page(6);
    FAIL() << "no error";
  } catch (const EQuickReportError& e) {
    EXPECT_STREQ(e.what(), "Page 6 is not rendered; pages 1 to 5 are");
  }
}

TEST_F(PrinterFixture, CancelStopsGenerationAfterThePageBeingMade) {
  rep->OnProgress = [this](int page, bool&) {
    if (page == 2) rep->QRPrinter()->Cancel();
  };
  rep->Prepare();
  EXPECT_TRUE(rep->QRPrinter()->Cancelled());
  EXPECT_EQ(rep->QRPrinter()->Status(), mpFinished);
  EXPECT_EQ(rep->PageCount(), 3);  // the page begun when cancelling stays
}

TEST_F(PrinterFixture, APageIsDrawnIntoAnyRectangleOfABitmapAtAnyResolution) {
  rep->Prepare();
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(200, 200);
  bitmap.Canvas().Brush().SetColor(clRed);
  bitmap.Canvas().FillRect(Rect(0, 0, 200, 200));
  rep->QRPrinter()->DrawPage(1, bitmap, Rect(50, 50, 135, 160));
  EXPECT_EQ(bitmap.Pixel(10, 10), clRed);      // outside the rectangle
  EXPECT_EQ(bitmap.Pixel(100, 130), clWhite);  // paper below the silver band
  EXPECT_EQ(bitmap.Pixel(100, 100), clSilver);
  TRasterImage at200 = rep->QRPrinter()->RenderPage(1, 200);
  EXPECT_EQ(at200.Width, 1700);  // 8.5 inches
  EXPECT_EQ(at200.Height, 2200);
}

TEST_F(PrinterFixture, PreviewFollowsArrivingPagesKeepsItsPageInRangeAndFitsItsZoom) {
  TQRPreview preview(nullptr);
  std::vector<int> available;
  preview.OnPageAvailable = [&](TQRPreview*, int page) { available.push_back(page); };
  rep->OnPreview = [&](TQuickRep* sender) { preview.SetQRPrinter(sender->QRPrinter()); };
  rep->Preview();
  EXPECT_EQ(available, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(preview.PageNumber(), 1);
  struct Case {
    int asked, shown;
  } pages[] = {{3, 3}, {0, 1}, {-2, 1}, {9, 5}};
  for (auto [asked, shown] : pages) {
    preview.SetPageNumber(asked);
    EXPECT_EQ(preview.PageNumber(), shown) << asked;
  }
  preview.ZoomToWidth(408);  // half of 816 pixels
  EXPECT_EQ(preview.Zoom(), 50);
  preview.ZoomToFit(816, 528);  // the height limits: 1056 pixels at 100
  EXPECT_EQ(preview.Zoom(), 50);
  preview.SetZoom(25);
  std::string png = (std::filesystem::temp_directory_path() / "qr_preview_page.png").string();
  preview.SaveCurrentPage(png);
  TRasterImage image = preview.CurrentPageImage();
  EXPECT_EQ(image.Width, 204);
  EXPECT_EQ(image.Height, 264);
  EXPECT_TRUE(std::filesystem::exists(png));
  preview.SetQRPrinter(nullptr);
  EXPECT_EQ(preview.PageNumber(), 0);
}

TEST_F(PrinterFixture, TheReportPrintsOnTheFilePrinterWithItsTitleAndPages) {
  auto folder = std::filesystem::temp_directory_path() / "qr_printer_test";
  std::filesystem::remove_all(folder);
  SetFilePrinterFolder(folder.string());
  rep->ReportTitle = "Vouchers";
  rep->PrinterSettings()->PrinterIndex = static_cast<int>(PrinterList().size()) - 1;
  TPrintResult result = rep->Print();
  EXPECT_EQ(result.Printer, kFilePrinterName);
  EXPECT_EQ(result.Pages, 5);
  EXPECT_TRUE(std::filesystem::exists(result.File)) << result.File;
  EXPECT_NE(result.File.find("Vouchers"), std::string::npos);
}

}  // namespace
}  // namespace nv::test
