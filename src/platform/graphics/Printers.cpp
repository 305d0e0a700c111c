#include "platform/graphics/Printers.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <cups/cups.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/core/CodePage.h"
#include "platform/graphics/PageFonts.h"
#include "platform/graphics/PageRaster.h"

namespace nv {

namespace fs = std::filesystem;

namespace {

std::string& FolderSetting() {
  static std::string folder;
  return folder;
}

constexpr double kPointsPerTwip = 1.0 / kTwipsPerPoint;

std::string SafeFileName(const std::string& titleUtf8) {
  std::string name;
  for (unsigned char c : titleUtf8) {
    bool bad = c < 0x20 ||
               std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
    name.push_back(bad ? '_' : static_cast<char>(c));
  }
  if (name.empty() || name == "." || name == "..") name = "job";
  if (name.size() > 120) name.resize(120);  // may cut a character; the name stays unique anyway
  return name;
}

std::string NewJobFile(const std::string& titleUtf8) {
  fs::path folder = FilePrinterFolder();
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder)) {
    throw EPrinterError("printer \"" + std::string(kFilePrinterName) + "\": cannot create the " +
                        "folder \"" + folder.string() + "\"");
  }
  std::string base = SafeFileName(titleUtf8);
  for (int n = 1;; ++n) {
    fs::path file = folder / (base + "-" + std::to_string(n) + ".pdf");
    if (!fs::exists(file)) return file.string();
  }
}

std::vector<std::string> CheckGlyphs(const std::vector<const TPage*>& pages) {
  std::vector<std::string> messages;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    for (const TMissingGlyph& m : FindMissingGlyphs(*pages[i])) {
      messages.push_back(MissingGlyphMessage(static_cast<int>(i + 1), m));
    }
  }
  return messages;
}

void WritePdf(const std::string& path, const std::vector<const TPage*>& pages,
              const std::string& titleUtf8) {
  TPdfPageWriter writer(path, titleUtf8);
  for (const TPage* page : pages) writer.AddPage(*page);
  writer.Close();
}

}  // namespace

std::vector<TPrinterInfo> PrinterList() {
  std::vector<TPrinterInfo> printers;
  cups_dest_t* dests = nullptr;
  int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  for (int i = 0; i < count; ++i) {
    TPrinterInfo info;
    info.Name = dests[i].name;
    if (dests[i].instance) info.Name += std::string("/") + dests[i].instance;
    info.IsDefault = dests[i].is_default != 0;
    printers.push_back(info);
  }
  cupsFreeDests(count, dests);
  TPrinterInfo file;
  file.Name = kFilePrinterName;
  file.IsFilePrinter = true;
  printers.push_back(file);
  return printers;
}

int DefaultPrinterIndex(const std::vector<TPrinterInfo>& printers) {
  for (std::size_t i = 0; i < printers.size(); ++i) {
    if (printers[i].IsDefault) return static_cast<int>(i);
  }
  for (std::size_t i = 0; i < printers.size(); ++i) {
    if (printers[i].IsFilePrinter) return static_cast<int>(i);
  }
  return -1;
}

void SetFilePrinterFolder(const std::string& path) {
  FolderSetting() = path;
}

std::string FilePrinterFolder() {
  if (!FolderSetting().empty()) return FolderSetting();
  if (const char* env = std::getenv("NV_FILE_PRINTER_DIR"); env && *env) return env;
  return (fs::temp_directory_path() / "nv-file-printer").string();
}

TPdfPageWriter::TPdfPageWriter(const std::string& path, const std::string& title)
    : path_(path), surface_(cairo_pdf_surface_create(path.c_str(), 612, 792)) {
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    std::string why = cairo_status_to_string(cairo_surface_status(surface_));
    cairo_surface_destroy(surface_);
    throw EPrinterError("PDF: cannot write \"" + path + "\": " + why);
  }
  cairo_pdf_surface_restrict_to_version(surface_, CAIRO_PDF_VERSION_1_4);
  if (!title.empty())
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, title.c_str());
}

TPdfPageWriter::~TPdfPageWriter() {
  if (surface_) cairo_surface_destroy(surface_);
}

void TPdfPageWriter::AddPage(const TPage& page) {
  static TPageRasterizer rasterizer;  // one text painter for every job of the run
  double w = page.Width() * kPointsPerTwip, h = page.Height() * kPointsPerTwip;
  cairo_pdf_surface_set_size(surface_, w, h);
  cairo_t* cr = cairo_create(surface_);
  rasterizer.Draw(page, cr, 0, 0, w, h, false);
  cairo_show_page(cr);
  cairo_destroy(cr);
  ++pages_;
}

void TPdfPageWriter::Close() {
  if (!surface_) return;
  cairo_surface_finish(surface_);
  cairo_status_t status = cairo_surface_status(surface_);
  cairo_surface_destroy(surface_);
  surface_ = nullptr;
  if (status != CAIRO_STATUS_SUCCESS) {
    throw EPrinterError("PDF: cannot write \"" + path_ + "\": " + cairo_status_to_string(status));
  }
}

TPrintResult PrintPages(int index, const std::vector<const TPage*>& pages, const TPrintJob& job) {
  std::vector<TPrinterInfo> printers = PrinterList();
  int chosen = index == -1 ? DefaultPrinterIndex(printers) : index;
  if (chosen < 0 || chosen >= static_cast<int>(printers.size())) {
    throw EPrinterError("printer index " + std::to_string(index) + " is out of range (" +
                        std::to_string(printers.size()) + " printers)");
  }
  const TPrinterInfo& printer = printers[chosen];
  TPrintResult result;
  result.Printer = printer.Name;
  result.Pages = static_cast<int>(pages.size());
  result.MissingGlyphs = CheckGlyphs(pages);
  if (!result.MissingGlyphs.empty()) {
    if (!job.OnMissingGlyphs) {
      std::string text = result.MissingGlyphs.front();
      if (result.MissingGlyphs.size() > 1) {
        text += " (and " + std::to_string(result.MissingGlyphs.size() - 1) + " more)";
      }
      throw EMissingGlyph("printer \"" + printer.Name + "\": " + text);
    }
    if (!job.OnMissingGlyphs(result.MissingGlyphs)) {
      result.Cancelled = true;
      return result;
    }
  }
  std::string title = AnsiToUtf8(job.Title);
  if (printer.IsFilePrinter) {
    result.File = NewJobFile(title);
    WritePdf(result.File, pages, title);
    return result;
  }
  // The spooler reads the whole file before cupsPrintFile2 returns, so it can go at once.
  std::string temp = (fs::temp_directory_path() / "nv-print-XXXXXX.pdf").string();
  int fd = mkstemps(temp.data(), 4);
  if (fd < 0)
    throw EPrinterError("printer \"" + printer.Name + "\": no temporary file for the job");
  close(fd);
  WritePdf(temp, pages, title);
  cups_option_t* options = nullptr;
  int optionCount =
      cupsAddOption("copies", std::to_string(std::max(1, job.Copies)).c_str(), 0, &options);
  optionCount = cupsAddOption("document-format", "application/pdf", optionCount, &options);
  std::string name = printer.Name.substr(0, printer.Name.find('/'));
  result.CupsJob = cupsPrintFile2(CUPS_HTTP_DEFAULT, name.c_str(), temp.c_str(),
                                  title.empty() ? "job" : title.c_str(), optionCount, options);
  cupsFreeOptions(optionCount, options);
  std::error_code ec;
  fs::remove(temp, ec);
  if (result.CupsJob == 0) {
    throw EPrinterError("printer \"" + printer.Name +
                        "\": the spooler refused the job: " + cupsLastErrorString());
  }
  return result;
}

}  // namespace nv
