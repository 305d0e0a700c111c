#pragma once
// Replays rendered pages onto Cairo: into any rectangle of a pixel store at any resolution
// (the preview, picture export), and onto PDF surfaces (printers). The sheet is stretched
// over the rectangle, as the picture export stretch-draws it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/Page.h"
#include "platform/graphics/PageFonts.h"

typedef struct _cairo cairo_t;

namespace nv {

class TPageRasterizer {
 public:
  // Draws the page stretched over (x, y, width, height) of cairo user space; paper fills the
  // rectangle white first.
  void Draw(const TPage& page, cairo_t* cr, double x, double y, double width, double height,
            bool paper = true);
  TTextPainter& Painter() { return painter_; }

 private:
  TTextPainter painter_;
};

// A pixel store as the class library's 32-bit bitmaps keep it: blue, green, red, unused, rows
// top-down, Stride bytes a row (cairo's RGB24).
struct TRasterImage {
  int Width = 0;
  int Height = 0;
  int Stride = 0;
  std::vector<std::uint8_t> Bits;
  std::uint32_t Pixel(int x, int y) const;  // 0x00RRGGBB
  void SavePng(const std::string& path) const;
};

// Draws the page into dest (pixels) of a 32-bit store, e.g. TBitmap::Bits() of a pf32bit
// bitmap; pixels outside dest are left alone.
void DrawPageToBits(TPageRasterizer& rasterizer, const TPage& page, std::uint8_t* bits, int width,
                    int height, int stride, const TPageRect& dest);
// Draws the page into a rectangle of a bitmap; bitmaps of fewer than 32 bits a pixel are
// drawn at 32 bits and turned back to their format.
void DrawPage(TPageRasterizer& rasterizer, const TPage& page, TBitmap& bitmap, const TRect& dest);
// The whole page at a resolution, e.g. 96 dots an inch for the screen.
TRasterImage RenderPage(TPageRasterizer& rasterizer, const TPage& page, double dpi);

}  // namespace nv
