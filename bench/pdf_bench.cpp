// Page export to PDF: 1,000 one-page files of a Letter page rendered at 96 dots per inch
// (816 x 1056), as the format form writes them, beside a plain write of as many bytes.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "preview/libPDF.h"

namespace {

constexpr int kPages = 1000;
constexpr int kWidth = 816;
constexpr int kHeight = 1056;

std::string OutputFile() {
  return (std::filesystem::temp_directory_path() /
          ("nv_pdf_bench_" + std::to_string(::getpid()) + ".pdf"))
      .string();
}

nv::TBitmap Page(nv::TPixelFormat format) {
  nv::TBitmap bmp(kWidth, kHeight, format);
  bmp.Canvas().Brush().SetColor(nv::clWhite);
  bmp.Canvas().FillRect(bmp.Canvas().ClipRect());
  for (int y = 40; y < kHeight; y += 24)
    for (int x = 40; x < kWidth - 40; ++x) bmp.SetPixel(x, y, nv::clBlack);
  return bmp;
}

void ExportPage(const nv::TBitmap& bmp, const std::string& file) {
  nv::TPrintPDF pdf;
  pdf.SetTITLE("");
  pdf.SetCompress(true);
  pdf.SetPageWidth(bmp.Width());
  pdf.SetPageHeight(bmp.Height());
  pdf.SetFileName(file);
  pdf.BeginDoc();
  pdf.DrawBitmap(0, 0, bmp);
  pdf.EndDoc();
}

void Report(benchmark::State& state, std::uintmax_t bytesPerPage) {
  const auto pages = static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytesPerPage));
  state.counters["pages/s"] = benchmark::Counter(pages, benchmark::Counter::kIsRate);
  state.counters["MB/s"] = benchmark::Counter(pages * static_cast<double>(bytesPerPage) / 1e6,
                                              benchmark::Counter::kIsRate);
  state.counters["bytes/page"] = static_cast<double>(bytesPerPage);
}

void BM_PdfExport(benchmark::State& state) {
  const nv::TBitmap bmp = Page(static_cast<nv::TPixelFormat>(state.range(0)));
  const std::string file = OutputFile();
  for (auto _ : state) ExportPage(bmp, file);
  Report(state, std::filesystem::file_size(file));
  std::filesystem::remove(file);
}

// The same number of bytes, already in memory, written to the same place.
void BM_PlainWrite(benchmark::State& state) {
  const std::string file = OutputFile();
  ExportPage(Page(nv::pf16bit), file);
  std::string bytes(std::filesystem::file_size(file), 'x');
  for (auto _ : state) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  Report(state, bytes.size());
  std::filesystem::remove(file);
}

BENCHMARK(BM_PdfExport)
    ->ArgName("pf16bit")
    ->Arg(nv::pf16bit)
    ->Iterations(kPages)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PdfExport)
    ->ArgName("pf32bit")
    ->Arg(nv::pf32bit)
    ->Iterations(kPages)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PlainWrite)->Iterations(kPages)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
