// Rendered pages at volume: builds voucher pages as display lists (standing in for the
// report engine's generation), rasterises them at 96 dpi, and draws the same page straight
// with Cairo and Pango in the same run. Prints pages per second, peak memory and memory a
// page. Usage: pages_bench [pages] | pages_bench --sample DIR (writes the sample sheet).
#include <cairo.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "BenchMeasures.h"
#include "VoucherSample.h"
#include "platform/graphics/PageRaster.h"
#include "platform/graphics/Printers.h"

using namespace nv;
using nv::bench::CurrentKb;
using nv::bench::PeakKb;
using nv::bench::Seconds;

namespace {

std::shared_ptr<const TPageImage> Background() {
  return TPageImage::FromMetafile(TMetafile::FromBytes(sample::BackgroundEmf()), "QCPR31.emf");
}

// A whole Letter sheet with one voucher, as the standard layout prints it.
TPage VoucherPage(int record, const std::shared_ptr<const TPageImage>& background) {
  TPage page(8 * kTwipsPerInch + kTwipsPerInch / 2, 11 * kTwipsPerInch);
  sample::AddVoucher(page, 0, record, 1, 1, background);
  return page;
}

int Sample(const std::string& dir) {
  auto background = Background();
  // Half-page style: two voucher pages on one printed sheet, upper then lower.
  TPage sheet(8 * kTwipsPerInch + kTwipsPerInch / 2, 11 * kTwipsPerInch);
  sample::AddVoucher(sheet, 0, 1201, 1, 2, background);
  sample::AddVoucher(sheet, sample::kVoucherHeight, 1202, 2, 2, background);
  TPageRasterizer rasterizer;
  std::string png = dir + "/voucher_sheet.png";
  RenderPage(rasterizer, sheet, 96).SavePng(png);
  RenderPage(rasterizer, sheet, 200).SavePng(dir + "/voucher_sheet_200dpi.png");
  std::ofstream(dir + "/voucher_sheet.txt") << DumpPage(sheet);
  SetFilePrinterFolder(dir);
  TPrintJob job;
  job.Title = SysText("清场记录单");
  TPrintResult result = PrintPages(static_cast<int>(PrinterList().size()) - 1, {&sheet}, job);
  std::printf("sample: %s, %s\n", png.c_str(), result.File.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--sample") == 0) return Sample(argv[2]);
  int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  if (count <= 0) count = 10000;

  auto background = Background();
  TPageRasterizer rasterizer;
  sample::TStraightVoucher straight;
  // Warm the font caches so the first timed page does not pay for loading fonts.
  TRasterImage image = RenderPage(rasterizer, VoucherPage(0, background), 96);

  long before = CurrentKb();
  auto start = std::chrono::steady_clock::now();
  std::vector<TPage> pages;
  pages.reserve(count);
  for (int i = 0; i < count; ++i) pages.push_back(VoucherPage(i, background));
  double buildSeconds = Seconds(start);
  long afterBuild = CurrentKb();

  start = std::chrono::steady_clock::now();
  for (const TPage& page : pages) {
    DrawPageToBits(rasterizer, page, image.Bits.data(), image.Width, image.Height, image.Stride,
                   {0, 0, image.Width, image.Height});
  }
  double rasterSeconds = Seconds(start);
  long afterRaster = CurrentKb();

  start = std::chrono::steady_clock::now();
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      image.Bits.data(), CAIRO_FORMAT_RGB24, image.Width, image.Height, image.Stride);
  for (int i = 0; i < count; ++i) {
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_scale(cr, image.Width / 816.0, image.Height / 1056.0);
    straight.Draw(cr, 0, i, 1, 1);
    cairo_destroy(cr);
  }
  cairo_surface_destroy(surface);
  double straightSeconds = Seconds(start);

  std::size_t listBytes = 0;
  for (const TPage& page : pages) listBytes += page.MemoryUsed();
  std::printf("pages                      %d (%zu records each, background %zu EMF records)\n",
              count, pages[0].Records().size(), background->Metafile()->Records().size());
  std::printf("display lists built        %.0f pages/s\n", count / buildSeconds);
  std::printf("rasterised at 96 dpi       %.0f pages/s (%dx%d)\n", count / rasterSeconds,
              image.Width, image.Height);
  std::printf("straight Cairo/Pango       %.0f pages/s\n", count / straightSeconds);
  std::printf("raster / straight time     %.2f (aim: at most 1.5)\n",
              rasterSeconds / straightSeconds);
  std::printf("display list a page        %.1f KB (counted)\n", listBytes / 1024.0 / count);
  std::printf(
      "memory growth a page       %.1f KB kept pages, %.2f KB while rasterising "
      "(aim: under 50 KB)\n",
      double(afterBuild - before) / count, double(afterRaster - afterBuild) / count);
  std::printf("peak memory                %.1f MB\n", PeakKb() / 1024.0);
  return 0;
}
