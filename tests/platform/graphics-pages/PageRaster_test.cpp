#include "platform/graphics/PageRaster.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "PageTestUtil.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Metafile.h"

namespace nv {
namespace {

using test::ArialFont;
using test::LayoutBox;
using test::SongFont;

// Dark pixels' bounding box inside a region; Left > Right when there are none.
TPageRect Ink(const TRasterImage& image, TPageRect within) {
  TPageRect ink{within.Right, within.Bottom, within.Left - 1, within.Top - 1};
  for (int y = within.Top; y < within.Bottom; ++y) {
    for (int x = within.Left; x < within.Right; ++x) {
      std::uint32_t p = image.Pixel(x, y);
      if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 160) {
        ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x),
               std::max(ink.Bottom, y)};
      }
    }
  }
  return ink;
}

TPage TestPage() {
  TPage page(MmToTwips(100), MmToTwips(60));
  TEmfWriter emf(100, 40);
  emf.SelectObject(emf.CreateFont({-12, 700, false, false, false, GB2312_CHARSET, "宋体"}));
  emf.SetBkMode(TRANSPARENT);
  emf.TextOutW(2, 2, "清场单别:");
  emf.MoveTo(0, 30);
  emf.LineTo(99, 30);
  page.AddPicture(LayoutBox(0, 0, 100, 40),
                  TPageImage::FromMetafile(TMetafile::FromBytes(emf.Bytes()), "bg"));
  page.AddText(LayoutBox(62, 2, 120, 15), SongFont(9), SysText("QC01 生产工单"));
  page.AddText(LayoutBox(0, 60, 300, 30), SongFont(18), SysText("清场记录单"), taCenter);
  page.AddText(LayoutBox(200, 100, 150, 15), ArialFont(9), "Page 1 of 2", taRightJustify);
  page.AddRectangle(LayoutBox(10, 120, 100, 60), {0x000000, 0, psSolid}, {0xC0C0C0, bsSolid});
  page.AddEllipse(LayoutBox(130, 120, 60, 60), {0x0000FF, 30, psSolid}, {0, bsClear});
  page.AddPicture(LayoutBox(220, 130, 80, 40),
                  TPageImage::FromPixels(4, 1, {0, 0xFFFFFF, 0, 0xFFFFFF}, "bars"));
  return page;
}

TEST(PageRaster, TestPageMatchesItsGoldenPictureWithinTolerance) {
  TPageRasterizer rasterizer;
  TRasterImage image = RenderPage(rasterizer, TestPage(), 96);
  std::string golden =
      std::string(QC_SOURCE_DIR) + "/tests/platform/graphics-pages/data/test_page_96dpi.png";
  if (std::getenv("NV_UPDATE_GOLDEN") || !std::filesystem::exists(golden)) {
    image.SavePng(golden);
    FAIL() << "golden picture written to " << golden << "; look at it and run again";
  }
  cairo_surface_t* expected = cairo_image_surface_create_from_png(golden.c_str());
  ASSERT_EQ(cairo_surface_status(expected), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(expected), image.Width);
  ASSERT_EQ(cairo_image_surface_get_height(expected), image.Height);
  const unsigned char* data = cairo_image_surface_get_data(expected);
  int stride = cairo_image_surface_get_stride(expected);
  int differing = 0;
  for (int y = 0; y < image.Height; ++y) {
    for (int x = 0; x < image.Width; ++x) {
      std::uint32_t want = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
      std::uint32_t got = image.Pixel(x, y);
      for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((want >> shift) & 0xFF) - int((got >> shift) & 0xFF)) > 64) {
          ++differing;
          break;
        }
      }
    }
  }
  cairo_surface_destroy(expected);
  // Font rasterisers of other versions move a few edge pixels, no more.
  EXPECT_LE(differing, image.Width * image.Height / 200) << differing << " pixels differ";
}

TEST(PageRaster, RecordsLandWhereTheirTwipsSayAtAnyResolution) {
  TPageRasterizer rasterizer;
  TPage page = TestPage();
  for (double dpi : {96.0, 192.0}) {
    SCOPED_TRACE(dpi);
    double k = dpi / 96;
    TRasterImage image = RenderPage(rasterizer, page, dpi);
    EXPECT_EQ(image.Width, static_cast<int>(std::lround(MmToTwips(100) * dpi / 1440)));
    // the background's ruling at layout pixel 30, one pixel wide
    EXPECT_EQ(image.Pixel(static_cast<int>(50 * k), static_cast<int>(30 * k)), 0u);
    // the filled rectangle's inside
    EXPECT_EQ(image.Pixel(static_cast<int>(60 * k), static_cast<int>(150 * k)), 0xC0C0C0u);
    // the bitmap's first bar, enlarged without blurring
    EXPECT_EQ(image.Pixel(static_cast<int>(230 * k), static_cast<int>(150 * k)), 0u);
    EXPECT_EQ(image.Pixel(static_cast<int>(250 * k), static_cast<int>(150 * k)), 0xFFFFFFu);
    // right-aligned text ends at its box's right edge
    TPageRect right = Ink(image, {int(200 * k), int(100 * k), int(360 * k), int(115 * k)});
    EXPECT_NEAR(right.Right, 350 * k, 2 * k);
    // centred text has equal room either side
    TPageRect centre = Ink(image, {0, int(60 * k), int(300 * k), int(90 * k)});
    EXPECT_NEAR(centre.Left, 300 * k - 1 - centre.Right, 2 * k);
  }
}

TEST(PageRaster, TextClippedToItsBoxPaintsNothingOutside) {
  TPage page(MmToTwips(80), MmToTwips(20));
  page.AddText(LayoutBox(10, 10, 40, 15), SongFont(9), SysText("阿莫西林胶囊 0.25g"), taLeftJustify,
               true);
  TPageRasterizer rasterizer;
  TRasterImage image = RenderPage(rasterizer, page, 96);
  TPageRect ink = Ink(image, {0, 0, image.Width, image.Height});
  EXPECT_GE(ink.Left, 10);
  EXPECT_LT(ink.Right, 50);
}

TEST(PageRaster, DrawsIntoARectangleOfABitmapAndLeavesTheRest) {
  TBitmap bitmap(300, 200, pf24bit);
  bitmap.Canvas().Brush().SetColor(clRed);
  bitmap.Canvas().FillRect(Rect(0, 0, 300, 200));
  TPage page(1440, 1440);
  page.AddLine(0, 720, 1440, 720, {clBlack, 0, psSolid});
  TPageRasterizer rasterizer;
  DrawPage(rasterizer, page, bitmap, Rect(100, 50, 200, 150));
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  EXPECT_EQ(bitmap.Pixel(99, 60), clRed);
  EXPECT_EQ(bitmap.Pixel(200, 60), clRed);
  EXPECT_EQ(bitmap.Pixel(150, 60), clWhite);   // the paper
  EXPECT_EQ(bitmap.Pixel(150, 100), clBlack);  // the line half-way down the sheet
}

}  // namespace
}  // namespace nv
