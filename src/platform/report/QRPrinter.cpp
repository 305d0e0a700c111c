#include "platform/report/QRPrinter.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Page.h"
#include "platform/report/QRSetup.h"

namespace nv {

int TQRPrinterCanvas::TextHeight(std::string_view) const {
  return static_cast<int>(std::lround(font_.Size() * dpi_ / 72.0));
}

int TQRPrinterCanvas::TextWidth(std::string_view ansiText) const {
  TQRFontSpec face;
  face.Name = font_.Name();
  face.Size = font_.Size();
  face.Charset = font_.Charset();
  return static_cast<int>(std::lround(TQRCanvas::TextWidth(face, ansiText) * dpi_ / 1440.0));
}

std::vector<std::string> QRPrinterNames() {
  std::vector<std::string> names;
  for (const TPrinterInfo& printer : PrinterList()) names.push_back(printer.Name);
  return names;
}

TQRPrinter::TQRPrinter() : canvas_(600) {
  canvas_.Font()->SetName("Arial");
  canvas_.Font()->SetSize(9);
}

TQRPrinter::~TQRPrinter() = default;

const TPage& TQRPrinter::Page(int pageNumber) const {
  if (pageNumber < 1 || pageNumber > PageCount())
    throw EQuickReportError("Page " + std::to_string(pageNumber) + " is not rendered; pages 1 to " +
                            std::to_string(PageCount()) + " are");
  return pages_.Page(pageNumber - 1);
}

void TQRPrinter::DrawPage(int pageNumber, TBitmap& bitmap, const TRect& dest) {
  nv::DrawPage(rasterizer_, Page(pageNumber), bitmap, dest);
}

TRasterImage TQRPrinter::RenderPage(int pageNumber, double dpi) {
  return nv::RenderPage(rasterizer_, Page(pageNumber), dpi);
}

int TQRPrinter::AddPageListener(std::function<void(int)> listener) {
  listeners_.emplace_back(nextListener_, std::move(listener));
  return nextListener_++;
}

void TQRPrinter::RemovePageListener(int id) {
  std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

TPrintResult TQRPrinter::Print(const std::string& title, const TPrintJob* job) {
  std::vector<const TPage*> pages;
  for (int i = 1; i <= PageCount(); ++i) pages.push_back(&Page(i));
  TPrintJob settings = job ? *job : TPrintJob{};
  settings.Title = title;
  settings.Copies = std::max(1, Copies);
  return PrintPages(PrinterIndex, pages, settings);
}

void TQRPrinter::BeginGeneration() {
  pages_.Clear();
  voucherPages_ = 0;
  cancelled_ = false;
  cancelRequested_ = false;
  status_ = mpBusy;
  for (auto& [id, listener] : std::vector(listeners_)) listener(0);
}

void TQRPrinter::SheetDone(int pageNumber) {
  for (auto& [id, listener] : std::vector(listeners_)) listener(pageNumber);
}

void TQRPrinter::EndGeneration(bool cancelled) {
  cancelled_ = cancelled;
  status_ = mpFinished;
}

}  // namespace nv
