#include "platform/report/QRPreview.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Page.h"

namespace nv {

NV_PUBLISH(TQRPreview) {
  b.Prop("Zoom", &TQRPreview::Zoom, &TQRPreview::SetZoom).Default(100);
  b.Prop("OnPageAvailable", &TQRPreview::OnPageAvailable, &TQRPreview::OnPageAvailable);
}

TQRPreview::TQRPreview(TComponent* owner) : TComponent(owner) {}

TQRPreview::~TQRPreview() {
  SetQRPrinter(nullptr);
}

void TQRPreview::SetQRPrinter(TQRPrinter* printer) {
  if (printer == printer_) return;
  if (printer_) printer_->RemovePageListener(listener_);
  printer_ = printer;
  listener_ = printer ? printer->AddPageListener([this](int page) { PageArrived(page); }) : 0;
  SetPageNumber(1);
}

void TQRPreview::PageArrived(int pageNumber) {
  if (pageNumber == 0) {  // a new generation: the old sheets are gone
    pageNumber_ = 0;
    return;
  }
  if (pageNumber_ == 0) pageNumber_ = 1;
  OnPageAvailable(this, pageNumber);
}

void TQRPreview::SetPageNumber(int page) {
  int count = PageCount();
  pageNumber_ = count == 0 ? 0 : std::clamp(page, 1, count);
}

void TQRPreview::SetZoom(int percent) {
  zoom_ = std::clamp(percent, 1, 1000);
}

int TQRPreview::SheetWidthTwips() const {
  return pageNumber_ ? printer_->Page(pageNumber_).Width() : 0;
}

int TQRPreview::SheetHeightTwips() const {
  return pageNumber_ ? printer_->Page(pageNumber_).Height() : 0;
}

// A sheet at zoom 100 is its size at 96 dots an inch: twips / 15 pixels.
void TQRPreview::ZoomToFit(int viewportWidth, int viewportHeight) {
  if (!pageNumber_) return;
  double byWidth = viewportWidth * 1500.0 / SheetWidthTwips();
  double byHeight = viewportHeight * 1500.0 / SheetHeightTwips();
  SetZoom(static_cast<int>(std::floor(std::min(byWidth, byHeight))));
}

void TQRPreview::ZoomToWidth(int viewportWidth) {
  if (!pageNumber_) return;
  SetZoom(static_cast<int>(std::floor(viewportWidth * 1500.0 / SheetWidthTwips())));
}

TRasterImage TQRPreview::CurrentPageImage() {
  if (!pageNumber_) return {};
  return printer_->RenderPage(pageNumber_, 96.0 * zoom_ / 100.0);
}

void TQRPreview::SaveCurrentPage(const std::string& pngPath) {
  if (!pageNumber_) throw EQuickReportError("The preview shows no page to save");
  CurrentPageImage().SavePng(pngPath);
}

}  // namespace nv
