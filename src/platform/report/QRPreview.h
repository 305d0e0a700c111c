#pragma once
// The preview control: shows one rendered sheet of an attached printer object at a zoom.
// It follows the printer while pages arrive (OnPageAvailable), keeps the page number within
// the pages there are, fits the zoom to a viewport, and draws the current page for a
// front-end or into a PNG file.
#include <string>

#include "platform/graphics/PageRaster.h"
#include "platform/report/QRPrinter.h"
#include "platform/rtti/Classes.h"
#include "platform/rtti/TypInfo.h"

namespace nv {

class TQRPreview;
NV_EVENT_TYPE(TQRPageAvailableEvent, TQRPreview* /*Sender*/, int /*PageNum*/);

class TQRPreview : public TComponent {
  NV_CLASS(TQRPreview, TComponent)
 public:
  explicit TQRPreview(TComponent* owner);
  ~TQRPreview() override;

  // The printer whose pages are shown; the control does not own it.
  TQRPrinter* QRPrinter() const { return printer_; }
  void SetQRPrinter(TQRPrinter* printer);
  int PageCount() const { return printer_ ? printer_->PageCount() : 0; }

  // 1 to PageCount (0 while there are no pages); values outside are pulled in.
  int PageNumber() const { return pageNumber_; }
  void SetPageNumber(int page);
  // Percent: 100 shows a sheet at 96 dots an inch.
  int Zoom() const { return zoom_; }
  void SetZoom(int percent);
  // The largest zoom at which the whole sheet / the sheet's width fits the viewport (pixels).
  void ZoomToFit(int viewportWidth, int viewportHeight);
  void ZoomToWidth(int viewportWidth);

  // Raised for each sheet that becomes available while the printer generates.
  TQRPageAvailableEvent OnPageAvailable;

  // The current page at the zoom; an empty picture when there is none.
  TRasterImage CurrentPageImage();
  void SaveCurrentPage(const std::string& pngPath);

 private:
  void PageArrived(int pageNumber);
  int SheetWidthTwips() const;
  int SheetHeightTwips() const;

  TQRPrinter* printer_ = nullptr;
  int listener_ = 0;
  int pageNumber_ = 0;
  int zoom_ = 100;
};

}  // namespace nv
