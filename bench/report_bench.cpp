// Voucher rendering at volume through the report engine: a half-page layout like the
// line-clearance voucher (a head band of about 45 fields and labels on a background
// metafile, the sign-off band below), bound to a data set of one record a voucher. Prints
// pages per second for generation and for rasterising the sheets at 96 dpi, beside drawing
// the same sheets straight with Cairo and Pango, and the memory the pages take.
// Usage: report_bench [voucher pages] | report_bench --sample DIR (writes the sample sheet).
#include <cairo.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "BenchMeasures.h"
#include "VoucherSample.h"
#include "platform/data/DBClient.h"
#include "platform/report/NvQRCtrls.h"
#include "platform/report/QuickRpt.h"

using namespace nv;
using nv::bench::CurrentKb;
using nv::bench::PeakKb;
using nv::bench::Seconds;

namespace {

// One record a voucher, with the columns the fields print.
std::unique_ptr<TClientDataSet> Vouchers(int count) {
  DataPacket packet;
  for (const sample::TField& f : sample::Fields())
    packet.fields.push_back({f.Column, TFieldType::ftString, 60});
  for (int i = 0; i < count; ++i) {
    std::vector<Variant> row;
    for (const sample::TField& f : sample::Fields()) row.emplace_back(sample::FieldText(f, i));
    packet.rows.push_back(std::move(row));
  }
  auto data = std::make_unique<TClientDataSet>();
  data->SetName("ClientDataSet1");
  data->OpenFromPacket(std::move(packet));
  return data;
}

void SetFont(TFont& font, int size, bool bold = false) {
  font.SetName(SysText("宋体"));
  font.SetSize(size);
  font.SetCharset(GB2312_CHARSET);
  if (bold) font.SetStyle(TFontStyles{fsBold});
}

template <class T>
T* Add(TComponent& form, TQRCustomBand& band, const std::string& name, int left, int top, int width,
       int height = 15) {
  auto* p = new T(&form);
  p->SetName(name);
  p->SetParentComponent(&band);
  p->Left = left;
  p->Top = top;
  p->Width = width;
  p->Height = height;
  SetFont(*p->Font(), 9);
  return p;
}

TQRLabel* Label(TComponent& form, TQRCustomBand& band, const std::string& name, int left, int top,
                int width, const std::string& caption, qr::TAlignment align = qr::taLeftJustify) {
  auto* label = Add<TQRLabel>(form, band, name, left, top, width);
  label->Caption = caption;
  label->Alignment = align;
  return label;
}

// The half-page layout: page start band with the record, sign-off band as page end band.
class TVoucherLayout {
 public:
  explicit TVoucherLayout(TDataSet& data) : form_(nullptr) {
    RegisterReportClasses();
    report_ = new TQuickRep(&form_);
    report_->SetName("QuickRep1");
    report_->PageStyle = qrHalfPage;
    report_->Background()->LoadFromBytes(sample::BackgroundEmf(740, 452));
    report_->SetDataSet(&data);
    auto* head = new TQRGroup(&form_);
    head->SetName("QRGroup");
    head->SetParentComponent(report_);
    head->SetHeight(331);
    head->SetTransparent(true);
    head->Expression = "ClientDataSet1.TD002";
    auto* detail = Band("QRDetailBand", rbDetail, 0);
    auto* footer = Band("QRGroupFooter", rbGroupFooter, 0);
    head->SetFooterBand(footer);
    auto* end = new TQRChildBand(&form_);
    end->SetName("GroupFooterChildBand");
    end->SetParentComponent(report_);
    end->SetParentBand(footer);
    end->SetHeight(120);
    end->SetTransparent(true);
    report_->SetPageStartBand(head);
    report_->SetPageDetailBand(detail);
    report_->SetPageAttachDetailBand(footer);
    report_->SetPageEndBand(end);
    HeadLabels(*head);
    for (const sample::TField& f : sample::Fields()) {
      auto* field =
          Add<TNVQRDBText>(form_, *head, std::string("txt") + f.Column, f.X, f.Y, f.Width);
      field->DataField = f.Column;
      field->WordWrap = true;
    }
    auto* bar = Add<TNvQRDBBarcode>(form_, *head, "bcTD002", 560, 2, 170, 44);
    bar->DataField = "TD002";
    bar->BarcodeKind = bkCode128C;
    SignOff(*end);
    head->BeforePrint = [this](TQRCustomBand*, bool&) {
      pageNo_->Caption = "1";
      totalPage_->Caption = "1";
    };
  }
  TQuickRep& Report() { return *report_; }

 private:
  TQRBand* Band(const std::string& name, TQRBandType type, int height) {
    auto* band = new TQRBand(&form_);
    band->SetName(name);
    band->SetParentComponent(report_);
    band->SetBandType(type);
    band->SetHeight(height);
    band->SetTransparent(true);
    return band;
  }

  void HeadLabels(TQRCustomBand& head) {
    auto* company =
        Label(form_, head, "lblCompany", 72, 0, 596, SysText("江南制药股份有限公司"), qr::taCenter);
    SetFont(*company->Font(), 16, true);
    company->Height = 24;
    auto* name =
        Label(form_, head, "lblVoucherName", 131, 28, 477, SysText("清场记录单"), qr::taCenter);
    SetFont(*name->Font(), 12);
    name->Height = 20;
    Label(form_, head, "lblCreateDate1", 57, 52, 70, "2026/12/11");
    totalPage_ = Label(form_, head, "lblTotalPage", 695, 52, 21, "1", qr::taRightJustify);
    pageNo_ = Label(form_, head, "lblPageNo", 719, 52, 15, "1");
  }

  void SignOff(TQRCustomBand& end) {
    const char* lines[] = {"备注：本记录一式两份。",           "", "",
                           "签收：________    复核：________", "", ""};
    for (int i = 0; i < 6; ++i) {
      std::string name = (i < 3 ? "lblNote" : "lblSignIn") + std::to_string(i % 3 + 1);
      Label(form_, end, name, 12, 8 + 16 * i, 706, SysText(lines[i]));
    }
    Label(form_, end, "lblNextPage", 664, 102, 60, "");
  }

  TComponent form_;
  TQuickRep* report_ = nullptr;
  TQRLabel* pageNo_ = nullptr;
  TQRLabel* totalPage_ = nullptr;
};

int Sample(const std::string& dir) {
  auto data = Vouchers(2);
  TVoucherLayout layout(*data);
  TQuickRep& report = layout.Report();
  report.Prepare();
  TQRPrinter& printer = *report.QRPrinter();
  std::string png = dir + "/voucher_sheet.png";
  printer.RenderPage(1, 96).SavePng(png);
  printer.RenderPage(1, 200).SavePng(dir + "/voucher_sheet_200dpi.png");
  std::ofstream(dir + "/voucher_sheet.txt") << report.Pages().Dump(0);
  SetFilePrinterFolder(dir);
  printer.PrinterIndex = static_cast<int>(PrinterList().size()) - 1;
  TPrintResult result = printer.Print(SysText("清场记录单"));
  std::printf("sample: %s (%d sheet, %d voucher pages), %s\n", png.c_str(), printer.PageCount(),
              printer.VoucherPageCount(), result.File.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--sample") == 0) return Sample(argv[2]);
  int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  if (count <= 1) count = 10000;

  auto data = Vouchers(count);
  TVoucherLayout layout(*data);
  TQuickRep& report = layout.Report();
  TQRPrinter& printer = *report.QRPrinter();
  {  // warm the font caches and the measuring so the timed run does not pay for loading
    auto warm = Vouchers(2);
    TVoucherLayout first(*warm);
    first.Report().Prepare();
    first.Report().QRPrinter()->RenderPage(1, 96);
  }

  long before = CurrentKb();
  auto start = std::chrono::steady_clock::now();
  report.Prepare();
  double generateSeconds = Seconds(start);
  long afterGenerate = CurrentKb();
  int sheets = printer.PageCount();
  int voucherPages = printer.VoucherPageCount();

  TPageRasterizer rasterizer;
  TRasterImage image = RenderPage(rasterizer, printer.Page(1), 96);
  start = std::chrono::steady_clock::now();
  for (int i = 0; i < sheets; ++i) {
    DrawPageToBits(rasterizer, printer.Page(i + 1), image.Bits.data(), image.Width, image.Height,
                   image.Stride, {0, 0, image.Width, image.Height});
  }
  double rasterSeconds = Seconds(start);
  long afterRaster = CurrentKb();

  sample::TStraightVoucher straight;
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      image.Bits.data(), CAIRO_FORMAT_RGB24, image.Width, image.Height, image.Stride);
  start = std::chrono::steady_clock::now();
  for (int i = 0; i < sheets; ++i) {
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_scale(cr, image.Width / 816.0, image.Height / 1056.0);
    straight.Draw(cr, 38, 2 * i, 1, 1);
    straight.Draw(cr, 528 + 38, 2 * i + 1, 1, 1);
    cairo_destroy(cr);
  }
  double straightSeconds = Seconds(start);
  cairo_surface_destroy(surface);

  std::size_t listBytes = 0;
  for (int i = 1; i <= sheets; ++i) listBytes += printer.Page(i).MemoryUsed();
  std::printf("voucher pages              %d on %d sheets (%zu records a sheet)\n", voucherPages,
              sheets, printer.Page(1).Records().size());
  std::printf("generated                  %.0f voucher pages/s (aim: at least 5000)\n",
              voucherPages / generateSeconds);
  std::printf("rasterised at 96 dpi       %.0f voucher pages/s (%dx%d sheets)\n",
              voucherPages / rasterSeconds, image.Width, image.Height);
  std::printf("straight Cairo/Pango       %.0f voucher pages/s\n", voucherPages / straightSeconds);
  std::printf("raster / straight time     %.2f (aim: at most 1.5)\n",
              rasterSeconds / straightSeconds);
  std::printf("display list a page        %.1f KB (counted)\n", listBytes / 1024.0 / voucherPages);
  std::printf(
      "memory growth a page       %.1f KB generating, %.2f KB while rasterising "
      "(aim: under 50 KB)\n",
      double(afterGenerate - before) / voucherPages,
      double(afterRaster - afterGenerate) / voucherPages);
  std::printf("peak memory                %.1f MB\n", PeakKb() / 1024.0);
  return 0;
}
