#pragma once
// Printers of rendered pages: the CUPS destinations of the machine, then the file printer,
// which writes each job as a PDF file into a folder (for headless runs and CI). Every job goes
// out as PDF drawn by Cairo with the page fonts embedded as subsets, so its text can be
// searched and copied; a CUPS job is that PDF handed to the spooler.
#include <functional>
#include <string>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/graphics/Page.h"

typedef struct _cairo_surface cairo_surface_t;

namespace nv {

NV_DECLARE_EXCEPTION(EPrinterError, Exception);

constexpr const char* kFilePrinterName = "PDF file";

struct TPrinterInfo {
  std::string Name;
  bool IsDefault = false;
  bool IsFilePrinter = false;
};

// The CUPS destinations in the order the spooler gives them, then the file printer.
std::vector<TPrinterInfo> PrinterList();
// Index -1 stands for this one: the CUPS default destination, else the file printer.
int DefaultPrinterIndex(const std::vector<TPrinterInfo>& printers);

// The folder of the file printer: the one set here, else NV_FILE_PRINTER_DIR, else
// "nv-file-printer" in the temporary folder. Created when a job needs it.
void SetFilePrinterFolder(const std::string& path);
std::string FilePrinterFolder();

// Writes pages into one PDF file as they come.
class TPdfPageWriter {
 public:
  TPdfPageWriter(const std::string& path, const std::string& title);
  ~TPdfPageWriter();
  TPdfPageWriter(const TPdfPageWriter&) = delete;
  TPdfPageWriter& operator=(const TPdfPageWriter&) = delete;
  void AddPage(const TPage& page);
  // Finishes the file; a write failure raises here.
  void Close();
  int PageCount() const { return pages_; }

 private:
  std::string path_;
  cairo_surface_t* surface_;
  int pages_ = 0;
};

struct TPrintJob {
  std::string Title;  // a system text
  int Copies = 1;     // the file printer writes a job once whatever the count
  // Called with one message a text that would show an empty box; true prints anyway. Without
  // a handler such a job is refused with EMissingGlyph.
  std::function<bool(const std::vector<std::string>& messages)> OnMissingGlyphs;
};

struct TPrintResult {
  std::string Printer;
  std::string File;  // the file printer's PDF
  int CupsJob = 0;   // the spooler's job id
  int Pages = 0;
  bool Cancelled = false;
  std::vector<std::string> MissingGlyphs;
};

// Prints the pages on printer `index` of PrinterList() (-1 the default).
TPrintResult PrintPages(int index, const std::vector<const TPage*>& pages, const TPrintJob& job);

}  // namespace nv
