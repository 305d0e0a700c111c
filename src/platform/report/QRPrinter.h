#pragma once
// The printer object of a report: it keeps the rendered sheets as display lists (no bitmap
// is kept for a page), draws any sheet into any rectangle of a bitmap at any resolution,
// tells listeners (the preview) when a sheet is available, reports its status and whether
// generation was cancelled, and prints the sheets on one of the machine's printers.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/PageRaster.h"
#include "platform/graphics/Printers.h"
#include "platform/report/QRCanvas.h"
#include "platform/rtti/Font.h"

namespace nv {

NV_ENUM(TQRPrinterStatus, mpReady, mpBusy, mpFinished)

// What print handlers measure with: the printer's current font, sizes in printer pixels.
class TQRPrinterCanvas {
 public:
  explicit TQRPrinterCanvas(int dpi) : dpi_(dpi) {}
  TFont* Font() { return &font_; }
  // The character height of the font on the printer; the same for every text, as the
  // layouts' line arithmetic expects.
  int TextHeight(std::string_view text) const;
  int TextWidth(std::string_view ansiText) const;

 private:
  TFont font_;
  int dpi_;
};

class TQRPrinter {
 public:
  TQRPrinter();
  ~TQRPrinter();
  TQRPrinter(const TQRPrinter&) = delete;
  TQRPrinter& operator=(const TQRPrinter&) = delete;

  TQRPrinterStatus Status() const { return status_; }
  bool Cancelled() const { return cancelled_; }
  // Asks a running generation to stop after the page it is making.
  void Cancel() { cancelRequested_ = true; }
  bool CancelRequested() const { return cancelRequested_; }

  // Rendered sheets, numbered from 1.
  int PageCount() const { return pages_.PageCount(); }
  const TPage& Page(int pageNumber) const;
  const TQRCanvas& Pages() const { return pages_; }
  TQRCanvas& Pages() { return pages_; }
  // Voucher pages made (two a sheet in half-page style).
  int VoucherPageCount() const { return voucherPages_; }

  // Draws a sheet stretched over dest of the bitmap, the way picture export stretch-draws it.
  void DrawPage(int pageNumber, TBitmap& bitmap, const TRect& dest);
  // A whole sheet at a resolution.
  TRasterImage RenderPage(int pageNumber, double dpi);

  // Resolution of the printer canvas and the printer's scale: printer pixels a layout pixel.
  int YResolution() const { return dpi_; }
  double YFactor() const { return dpi_ / 96.0; }
  double XFactor() const { return dpi_ / 96.0; }
  TQRPrinterCanvas& Canvas() { return canvas_; }

  // Called with each sheet number as soon as the sheet is complete, and with 0 when a new
  // generation starts (the old sheets are gone). Returns an id for RemovePageListener.
  int AddPageListener(std::function<void(int pageNumber)> listener);
  void RemovePageListener(int id);

  int PrinterIndex = -1;
  int Copies = 1;
  // Prints every sheet on PrinterList()[PrinterIndex] (-1 the default printer).
  TPrintResult Print(const std::string& title, const TPrintJob* job = nullptr);

  // The report's side of generation.
  void BeginGeneration();
  void VoucherPageStarted() { ++voucherPages_; }
  void SheetDone(int pageNumber);
  void EndGeneration(bool cancelled);

 private:
  TQRCanvas pages_;
  TQRPrinterCanvas canvas_;
  TPageRasterizer rasterizer_;
  std::vector<std::pair<int, std::function<void(int)>>> listeners_;
  int nextListener_ = 1;
  int dpi_ = 600;
  int voucherPages_ = 0;
  TQRPrinterStatus status_ = mpReady;
  bool cancelled_ = false;
  bool cancelRequested_ = false;
};

}  // namespace nv
