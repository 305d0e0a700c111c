#include "platform/graphics/PageRaster.h"

#include <cairo.h>

#include <cmath>
#include <cstring>

#include "platform/graphics/Metafile.h"

namespace nv {

namespace {

void SetColor(cairo_t* cr, TPageColor c) {
  cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                       ((c >> 16) & 0xFF) / 255.0);
}

void SetPen(cairo_t* cr, const TPagePen& pen) {
  double w = pen.Width, dy = 0;
  if (w <= 0) {
    w = 1;
    cairo_device_to_user_distance(cr, &w, &dy);
    w = std::fabs(w);
  }
  cairo_set_line_width(cr, w);
  static const double kDash[] = {90, 45};
  static const double kDot[] = {15, 30};
  static const double kDashDot[] = {90, 30, 15, 30};
  static const double kDashDotDot[] = {90, 30, 15, 30, 15, 30};
  switch (pen.Style) {
    case psDash:
      cairo_set_dash(cr, kDash, 2, 0);
      break;
    case psDot:
      cairo_set_dash(cr, kDot, 2, 0);
      break;
    case psDashDot:
      cairo_set_dash(cr, kDashDot, 4, 0);
      break;
    case psDashDotDot:
      cairo_set_dash(cr, kDashDotDot, 6, 0);
      break;
    default:
      cairo_set_dash(cr, nullptr, 0, 0);
  }
  SetColor(cr, pen.Color);
}

// One-pixel rulings fall on pixel centres so they come out sharp at screen resolution.
void HairlinePoint(cairo_t* cr, double& x, double& y) {
  cairo_user_to_device(cr, &x, &y);
  x = std::floor(x + 0.02) + 0.5;
  y = std::floor(y + 0.02) + 0.5;
  cairo_device_to_user(cr, &x, &y);
}

struct TReplay {
  const TPage& page;
  cairo_t* cr;
  TTextPainter& painter;

  void operator()(const TPageText& t) const {
    if (t.Text.empty()) return;
    const TPageFont& font = page.FontOf(t);
    std::string utf8 = TextUtf8(page, t);
    double x = t.Bounds.Left;
    if (t.Alignment != taLeftJustify) {
      double width = painter.Measure(font, utf8).Width * kTwipsPerPoint;
      double room = t.Bounds.Width() - width;
      x += t.Alignment == taCenter ? room / 2 : room;
    }
    cairo_save(cr);
    if (t.ClipToBox) {
      cairo_rectangle(cr, t.Bounds.Left, t.Bounds.Top, t.Bounds.Width(), t.Bounds.Height());
      cairo_clip(cr);
    }
    cairo_translate(cr, x, t.Bounds.Top);
    cairo_scale(cr, kTwipsPerPoint, kTwipsPerPoint);
    SetColor(cr, font.Color);
    painter.Draw(cr, font, utf8, 0, 0);
    cairo_restore(cr);
  }
  void operator()(const TPageLine& l) const {
    if (l.Pen.Style == psClear) return;
    double x1 = l.X1, y1 = l.Y1, x2 = l.X2, y2 = l.Y2;
    if (l.Pen.Width == 0) {
      HairlinePoint(cr, x1, y1);
      HairlinePoint(cr, x2, y2);
    }
    cairo_move_to(cr, x1, y1);
    cairo_line_to(cr, x2, y2);
    SetPen(cr, l.Pen);
    cairo_stroke(cr);
  }
  void operator()(const TPageShape& s) const {
    const TPageRect& b = s.Bounds;
    auto path = [&] {
      if (s.Kind == TPageRecordKind::Ellipse) {
        if (b.Width() == 0 || b.Height() == 0) return;
        cairo_save(cr);
        cairo_translate(cr, b.Left + b.Width() / 2.0, b.Top + b.Height() / 2.0);
        cairo_scale(cr, b.Width() / 2.0, b.Height() / 2.0);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
      } else {
        cairo_rectangle(cr, b.Left, b.Top, b.Width(), b.Height());
      }
    };
    if (s.Brush.Style == bsSolid) {
      path();
      SetColor(cr, s.Brush.Color);
      cairo_fill(cr);
    }
    if (s.Pen.Style != psClear) {
      if (s.Kind == TPageRecordKind::Rectangle && s.Pen.Width == 0) {
        double x1 = b.Left, y1 = b.Top, x2 = b.Right, y2 = b.Bottom;
        HairlinePoint(cr, x1, y1);
        HairlinePoint(cr, x2, y2);
        cairo_rectangle(cr, x1, y1, x2 - x1, y2 - y1);
      } else {
        path();
      }
      SetPen(cr, s.Pen);
      cairo_stroke(cr);
    }
  }
  void operator()(const TPagePicture& p) const {
    const TPageImage& image = *p.Image;
    const TPageRect& b = p.Bounds;
    if (const TMetafile* emf = image.Metafile()) {
      emf->Play(cr, painter, b.Left, b.Top, b.Width(), b.Height());
      return;
    }
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.Pixels().data())),
        CAIRO_FORMAT_RGB24, image.Width(), image.Height(), image.Width() * 4);
    cairo_save(cr);
    cairo_rectangle(cr, b.Left, b.Top, b.Width(), b.Height());
    cairo_clip(cr);
    cairo_translate(cr, b.Left, b.Top);
    cairo_scale(cr, double(b.Width()) / image.Width(), double(b.Height()) / image.Height());
    cairo_set_source_surface(cr, surface, 0, 0);
    // Bar codes stay sharp when enlarged.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
  }
  void operator()(const TPageClip& c) const {
    if (c.Kind == TPageRecordKind::EndClip) {
      cairo_restore(cr);
      return;
    }
    cairo_save(cr);
    cairo_rectangle(cr, c.Bounds.Left, c.Bounds.Top, c.Bounds.Width(), c.Bounds.Height());
    cairo_clip(cr);
  }
};

}  // namespace

void TPageRasterizer::Draw(const TPage& page, cairo_t* cr, double x, double y, double width,
                           double height, bool paper) {
  cairo_save(cr);
  if (paper) {
    cairo_rectangle(cr, x, y, width, height);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
  }
  cairo_rectangle(cr, x, y, width, height);
  cairo_clip(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, width / page.Width(), height / page.Height());
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  TReplay replay{page, cr, painter_};
  int depth = 0;
  for (const auto& record : page.Records()) {
    TPageRecordKind kind = HeaderOf(record).Kind;
    if (kind == TPageRecordKind::Clip) ++depth;
    if (kind == TPageRecordKind::EndClip && depth-- == 0) continue;
    std::visit(replay, record);
  }
  while (depth-- > 0) cairo_restore(cr);
  cairo_restore(cr);
}

std::uint32_t TRasterImage::Pixel(int x, int y) const {
  std::uint32_t v;
  std::memcpy(&v, Bits.data() + static_cast<std::size_t>(y) * Stride + x * 4, 4);
  return v & 0xFFFFFF;
}

void TRasterImage::SavePng(const std::string& path) const {
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      const_cast<unsigned char*>(Bits.data()), CAIRO_FORMAT_RGB24, Width, Height, Stride);
  cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    throw EFOpenError("page picture: cannot write \"" + path +
                      "\": " + cairo_status_to_string(status));
  }
}

void DrawPageToBits(TPageRasterizer& rasterizer, const TPage& page, std::uint8_t* bits, int width,
                    int height, int stride, const TPageRect& dest) {
  if (stride < cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width)) {
    throw EPageError("page picture: a stride of " + std::to_string(stride) + " bytes is too " +
                     "short for " + std::to_string(width) + " pixels of 32 bits");
  }
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(bits, CAIRO_FORMAT_RGB24, width, height, stride);
  cairo_t* cr = cairo_create(surface);
  rasterizer.Draw(page, cr, dest.Left, dest.Top, dest.Width(), dest.Height());
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
}

void DrawPage(TPageRasterizer& rasterizer, const TPage& page, TBitmap& bitmap, const TRect& dest) {
  if (bitmap.Empty()) return;
  TPixelFormat format = bitmap.PixelFormat();
  bool wide = format == pf32bit || format == pfDevice;
  if (!wide) bitmap.SetPixelFormat(pf32bit);
  DrawPageToBits(rasterizer, page, bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(),
                 {dest.Left, dest.Top, dest.Right, dest.Bottom});
  if (!wide) bitmap.SetPixelFormat(format);
}

TRasterImage RenderPage(TPageRasterizer& rasterizer, const TPage& page, double dpi) {
  TRasterImage image;
  image.Width = static_cast<int>(std::lround(page.Width() * dpi / kTwipsPerInch));
  image.Height = static_cast<int>(std::lround(page.Height() * dpi / kTwipsPerInch));
  image.Stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, image.Width);
  image.Bits.assign(static_cast<std::size_t>(image.Stride) * image.Height, 0);
  DrawPageToBits(rasterizer, page, image.Bits.data(), image.Width, image.Height, image.Stride,
                 {0, 0, image.Width, image.Height});
  return image;
}

}  // namespace nv
