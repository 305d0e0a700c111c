#include "platform/report/QRCanvas.h"

#include <cmath>

#include "platform/graphics/Page.h"
#include "platform/graphics/PageFonts.h"

namespace nv {

namespace {

TPageFont PageFontOf(const TQRFontSpec& f) {
  TPageFont font;
  font.Name = f.Name;
  font.Size = f.Size;
  font.Style = f.Style;
  font.Color = f.Color;
  font.Charset = f.Charset;
  return font;
}

TPageRect RectOf(const TQRBox& b) {
  return TPageRect{b.Left, b.Top, b.Right, b.Bottom};
}

TPageBrush BrushOf(std::int32_t color) {
  TPageBrush brush;
  if (color >= 0) {
    brush.Color = color;
    brush.Style = bsSolid;
  }
  return brush;
}

TPagePen PenOf(std::int32_t color, int width) {
  TPagePen pen;
  pen.Color = color;
  pen.Width = width;
  return pen;
}

}  // namespace

TQRCanvas::TQRCanvas() = default;
TQRCanvas::~TQRCanvas() = default;

void TQRCanvas::Clear() {
  pages_.clear();
}

void TQRCanvas::NewPage(int width, int height) {
  pages_.push_back(std::make_unique<TPage>(width, height));
}

const TPage& TQRCanvas::Page(int index) const {
  return *pages_.at(static_cast<std::size_t>(index));
}

std::string TQRCanvas::Dump(int index) const {
  return DumpPage(Page(index));
}

TPage& TQRCanvas::Current() {
  if (pages_.empty()) throw EPageError("No page has been started");
  return *pages_.back();
}

void TQRCanvas::Text(const TQRBox& box, const TQRFontSpec& font, std::string_view ansiText,
                     TQRTextAlign align, bool clip) {
  auto alignment = align == TQRTextAlign::Right    ? taRightJustify
                   : align == TQRTextAlign::Center ? taCenter
                                                   : taLeftJustify;
  Current().AddText(RectOf(box), PageFontOf(font), ansiText, alignment, clip);
}

void TQRCanvas::Line(int x1, int y1, int x2, int y2, std::int32_t color, int width) {
  Current().AddLine(x1, y1, x2, y2, PenOf(color, width));
}

void TQRCanvas::Rectangle(const TQRBox& box, std::int32_t penColor, int penWidth,
                          std::int32_t brushColor) {
  Current().AddRectangle(RectOf(box), PenOf(penColor, penWidth), BrushOf(brushColor));
}

void TQRCanvas::Ellipse(const TQRBox& box, std::int32_t penColor, int penWidth,
                        std::int32_t brushColor) {
  Current().AddEllipse(RectOf(box), PenOf(penColor, penWidth), BrushOf(brushColor));
}

int TQRCanvas::TextWidth(const TQRFontSpec& font, std::string_view ansiText) {
  auto extent = MeasurePageText(PageFontOf(font), ansiText);
  return static_cast<int>(std::lround(extent.Width * kTwipsPerPoint));
}

}  // namespace nv
