#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

#include <cstring>

namespace nv {
namespace {

struct FormatCase {
  const char* name;
  TPixelFormat format;
  int bits;
  int stride7;  // row bytes of a 7-pixel-wide bitmap
  TColor written;
  TColor read;  // what the format keeps of it
};
void PrintTo(const FormatCase& c, std::ostream* os) {
  *os << c.name;
}

class PixelFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PixelFormats, KeepTheirColoursAndRowLength) {
  const auto& c = GetParam();
  TBitmap bmp(7, 3, c.format);
  EXPECT_EQ(bmp.BitsPerPixel(), c.bits);
  EXPECT_EQ(bmp.Stride(), c.stride7);
  EXPECT_EQ(bmp.Stride() % 4, 0);
  bmp.SetPixel(6, 2, c.written);
  EXPECT_EQ(bmp.Pixel(6, 2), c.read);
  EXPECT_EQ(bmp.Canvas().Pixels(6, 2), c.read);
  bmp.SetPixel(0, 0, clWhite);
  EXPECT_EQ(bmp.Pixel(0, 0), clWhite) << "white survives every format";
  EXPECT_EQ(bmp.Pixel(1, 0), clBlack) << "new pixels are 0 bits";
}

INSTANTIATE_TEST_SUITE_P(
    Graphics, PixelFormats,
    ::testing::Values(
        FormatCase{"mono_nearest", pf1bit, 1, 4, RGB(200, 210, 190), clWhite},
        FormatCase{"vga_nearest", pf4bit, 4, 4, RGB(250, 10, 5), clRed},
        FormatCase{"cube_exact", pf8bit, 8, 8, RGB(51, 102, 153), RGB(51, 102, 153)},
        FormatCase{"rgb555", pf15bit, 16, 16, RGB(0x12, 0x34, 0x56), RGB(0x10, 0x31, 0x52)},
        FormatCase{"rgb565", pf16bit, 16, 16, RGB(0x12, 0x34, 0x56), RGB(0x10, 0x34, 0x52)},
        FormatCase{"bgr24", pf24bit, 24, 24, RGB(1, 2, 3), RGB(1, 2, 3)},
        FormatCase{"bgrx32", pf32bit, 32, 28, RGB(1, 2, 3), RGB(1, 2, 3)},
        FormatCase{"device", pfDevice, 32, 28, clBtnFace, clSilver}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Bitmap, ScanLinesRunTopDownInTheDocumentedByteOrder) {
  TBitmap bmp(2, 3, pf24bit);
  bmp.SetPixel(1, 0, RGB(0x11, 0x22, 0x33));
  const std::uint8_t* top = bmp.ScanLine(0);
  EXPECT_EQ(top, bmp.Bits());
  EXPECT_EQ(top[3], 0x33);  // blue first
  EXPECT_EQ(top[5], 0x11);
  EXPECT_EQ(bmp.ScanLine(2) - bmp.ScanLine(0), 2 * bmp.Stride());

  TBitmap mono(9, 1, pf1bit);
  mono.SetPixel(0, 0, clWhite);
  mono.SetPixel(8, 0, clWhite);
  EXPECT_EQ(mono.ScanLine(0)[0], 0x80);  // leftmost pixel in the high bit
  EXPECT_EQ(mono.ScanLine(0)[1], 0x80);

  TBitmap nibbles(2, 1, pf4bit);
  nibbles.SetPixel(0, 0, clWhite);   // index 15
  nibbles.SetPixel(1, 0, clMaroon);  // index 1
  EXPECT_EQ(nibbles.ScanLine(0)[0], 0xF1);

  try {
    bmp.ScanLine(3);
    FAIL() << "no exception";
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_STREQ(e.what(), "Scan line index 3 out of range 0..2");
  }
}

TEST(Bitmap, ResizingKeepsTheTopLeftAndRefusesImpossibleSizes) {
  for (TPixelFormat f : {pf1bit, pf4bit, pf24bit}) {
    TBitmap bmp(3, 2, f);
    bmp.SetPixel(0, 0, clWhite);
    bmp.SetPixel(2, 1, clWhite);
    bmp.SetWidth(2);
    bmp.SetWidth(5);
    bmp.SetHeight(4);
    EXPECT_EQ(bmp.Pixel(0, 0), clWhite) << f;
    EXPECT_EQ(bmp.Pixel(2, 1), clBlack) << f << ": cut off, then grown back as 0 bits";
    EXPECT_EQ(bmp.Pixel(4, 3), clBlack) << f;
  }
  TBitmap bmp;
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.PixelFormat(), pfDevice);
  try {
    bmp.SetSize(-1, 5);
    FAIL() << "no exception";
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_STREQ(e.what(), "Bitmap width -1 is outside 0..65536");
  }
  EXPECT_THROW(bmp.SetHeight(TBitmap::kMaxDimension + 1), EInvalidGraphicOperation);
}

TEST(Bitmap, FormatChangesConvertPixels) {
  TBitmap bmp(3, 1, pf24bit);
  bmp.SetPixel(0, 0, clRed);
  bmp.SetPixel(1, 0, RGB(40, 40, 40));
  bmp.SetPixel(2, 0, RGB(220, 220, 220));
  bmp.SetPixelFormat(pf8bit);
  EXPECT_EQ(bmp.Palette().size(), 256u);
  EXPECT_EQ(bmp.Pixel(0, 0), clRed);
  bmp.SetMonochrome(true);
  EXPECT_TRUE(bmp.Monochrome());
  EXPECT_EQ(bmp.Pixel(0, 0), clBlack);
  EXPECT_EQ(bmp.Pixel(1, 0), clBlack);
  EXPECT_EQ(bmp.Pixel(2, 0), clWhite);
  bmp.SetMonochrome(false);
  EXPECT_EQ(bmp.PixelFormat(), pfDevice);
  EXPECT_EQ(bmp.Pixel(2, 0), clWhite);
}

TEST(Bitmap, MaskMakesTheGivenColourWhiteAndTheRestBlack) {
  TBitmap bmp(3, 1, pf24bit);
  bmp.SetPixel(0, 0, clOlive);
  bmp.SetPixel(1, 0, clWhite);
  bmp.SetPixel(2, 0, clOlive);
  bmp.Mask(clOlive);
  EXPECT_TRUE(bmp.Monochrome());
  EXPECT_EQ(bmp.Pixel(0, 0), clWhite);
  EXPECT_EQ(bmp.Pixel(1, 0), clBlack);
  EXPECT_EQ(bmp.Pixel(2, 0), clWhite);
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUntilFixed) {
  TBitmap bmp(2, 2, pf24bit);
  bmp.SetPixel(0, 1, clFuchsia);
  EXPECT_EQ(bmp.TransparentMode(), tmAuto);
  EXPECT_EQ(bmp.TransparentColor(), clFuchsia);
  bmp.SetTransparentColor(clLime);
  EXPECT_EQ(bmp.TransparentMode(), tmFixed);
  EXPECT_EQ(bmp.TransparentColor(), clLime);
  bmp.SetTransparentColor(clDefault);
  EXPECT_EQ(bmp.TransparentMode(), tmAuto);
  EXPECT_EQ(bmp.TransparentColor(), clFuchsia);
}

TEST(Bitmap, AssignAndMoveCarryPixelsAndKeepCanvasesOnTheirOwners) {
  TBitmap a(2, 1, pf8bit);
  a.SetPixel(1, 0, clTeal);
  a.SetTransparent(true);
  TBitmap b;
  b.Assign(a);
  EXPECT_EQ(b.Pixel(1, 0), clTeal);
  EXPECT_TRUE(b.Transparent());
  TBitmap c(std::move(b));
  EXPECT_EQ(&c.Canvas().Bitmap(), &c);
  EXPECT_EQ(c.Canvas().Pixels(1, 0), clTeal);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(&b.Canvas().Bitmap(), &b);
}

TEST(Canvas, FillRectIsClippedToTheBitmap) {
  TBitmap bmp(4, 3, pf16bit);
  bmp.Canvas().Brush().SetColor(clBlue);
  bmp.Canvas().FillRect(Rect(-5, 1, 2, 99));
  EXPECT_EQ(bmp.Pixel(0, 0), clBlack);
  EXPECT_EQ(bmp.Pixel(0, 1), clBlue);
  EXPECT_EQ(bmp.Pixel(1, 2), clBlue);
  EXPECT_EQ(bmp.Pixel(2, 1), clBlack);
  EXPECT_EQ(bmp.Canvas().Pixels(4, 0), -1);
  bmp.Canvas().SetPixels(-1, 0, clRed);  // outside: ignored
}

TEST(Canvas, DrawSkipsTheTransparentColourAndClips) {
  TBitmap glyph(2, 2, pf24bit);
  glyph.Canvas().Brush().SetColor(clOlive);
  glyph.Canvas().FillRect(Rect(0, 0, 2, 2));
  glyph.SetPixel(1, 0, clRed);
  TBitmap page(3, 3, pf24bit);
  page.Canvas().Brush().SetColor(clWhite);
  page.Canvas().FillRect(page.Canvas().ClipRect());

  page.Canvas().Draw(-1, 0, glyph);  // opaque: olive lands too
  EXPECT_EQ(page.Pixel(0, 0), clRed);
  EXPECT_EQ(page.Pixel(0, 1), clOlive);

  glyph.SetTransparent(true);  // tmAuto: the bottom-left pixel, olive
  page.Canvas().Draw(1, 1, glyph);
  EXPECT_EQ(page.Pixel(1, 1), clWhite);
  EXPECT_EQ(page.Pixel(2, 1), clRed);
  EXPECT_EQ(page.Pixel(2, 2), clWhite);
}

TEST(Canvas, BrushCopyDrawsOneImageOfAGlyphStrip) {
  // Two square images side by side, normal and disabled, on an olive background.
  TBitmap strip(4, 2, pf4bit);
  strip.Canvas().Brush().SetColor(clOlive);
  strip.Canvas().FillRect(strip.Canvas().ClipRect());
  strip.SetPixel(0, 0, clNavy);
  strip.SetPixel(3, 1, clGray);
  TBitmap button(2, 2, pf24bit);
  button.Canvas().Brush().SetColor(clSilver);
  button.Canvas().FillRect(button.Canvas().ClipRect());
  button.Canvas().BrushCopy(Rect(0, 0, 2, 2), strip, Rect(2, 0, 4, 2), clOlive);
  EXPECT_EQ(button.Pixel(0, 0), clSilver);
  EXPECT_EQ(button.Pixel(1, 1), clGray);
}

TEST(Canvas, StretchDrawScalesByNearestPixel) {
  TBitmap src(2, 1, pf24bit);
  src.SetPixel(0, 0, clRed);
  src.SetPixel(1, 0, clBlue);
  TBitmap dst(4, 2, pf15bit);
  dst.Canvas().StretchDraw(Rect(0, 0, 4, 2), src);
  const TColor expected[4] = {clRed, clRed, clBlue, clBlue};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.Pixel(x, y), expected[x]) << x << "," << y;
  // Shifted past the left edge, as a page export does with its margins.
  TBitmap shifted(2, 1, pf24bit);
  shifted.Canvas().StretchDraw(Rect(-2, 0, 2, 1), src);
  EXPECT_EQ(shifted.Pixel(0, 0), clBlue);
}

struct RopCase {
  const char* name;
  TCopyMode mode;
  std::uint8_t truthTable;
};
void PrintTo(const RopCase& c, std::ostream* os) {
  *os << c.name;
}

// Pattern 0xF0, source 0xCC and destination 0xAA in every channel put each of the eight
// combinations into one bit, so the result is the operation's truth table itself.
class RasterOps : public ::testing::TestWithParam<RopCase> {};

TEST_P(RasterOps, CombineBrushSourceAndDestinationBitwise) {
  const auto& c = GetParam();
  TBitmap src(1, 1, pf24bit);
  src.SetPixel(0, 0, RGB(0xCC, 0xCC, 0xCC));
  TBitmap dst(2, 1, pf24bit);
  dst.SetPixel(0, 0, RGB(0xAA, 0xAA, 0xAA));
  dst.SetPixel(1, 0, RGB(0xAA, 0xAA, 0xAA));
  dst.Canvas().Brush().SetColor(RGB(0xF0, 0xF0, 0xF0));
  dst.Canvas().SetCopyMode(c.mode);
  dst.Canvas().CopyRect(Rect(0, 0, 1, 1), src.Canvas(), Rect(0, 0, 1, 1));
  const std::uint8_t t = c.truthTable;
  EXPECT_EQ(dst.Pixel(0, 0), RGB(t, t, t));
  EXPECT_EQ(dst.Pixel(1, 0), RGB(0xAA, 0xAA, 0xAA)) << "outside the rectangle";
}

INSTANTIATE_TEST_SUITE_P(
    Graphics, RasterOps,
    ::testing::Values(RopCase{"SRCCOPY", SRCCOPY, 0xCC}, RopCase{"SRCAND", SRCAND, 0x88},
                      RopCase{"SRCPAINT", SRCPAINT, 0xEE}, RopCase{"SRCINVERT", SRCINVERT, 0x66},
                      RopCase{"SRCERASE", SRCERASE, 0x44}, RopCase{"NOTSRCCOPY", NOTSRCCOPY, 0x33},
                      RopCase{"NOTSRCERASE", NOTSRCERASE, 0x11},
                      RopCase{"MERGEPAINT", MERGEPAINT, 0xBB},
                      RopCase{"MERGECOPY", MERGECOPY, 0xC0}, RopCase{"PATCOPY", PATCOPY, 0xF0},
                      RopCase{"DSTINVERT", DSTINVERT, 0x55}, RopCase{"BLACKNESS", BLACKNESS, 0x00},
                      RopCase{"WHITENESS", WHITENESS, 0xFF}, RopCase{"DSPDxax", DSPDxax, 0xE2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Canvas, MonochromeCopiesUseTextAndBackgroundColours) {
  TBitmap mono(2, 1, pf1bit);
  mono.SetPixel(1, 0, clWhite);
  TBitmap colour(2, 1, pf24bit);
  colour.Canvas().SetTextColor(clRed);
  colour.Canvas().SetBkColor(clBlue);
  colour.Canvas().CopyRect(Rect(0, 0, 2, 1), mono.Canvas(), Rect(0, 0, 2, 1));
  EXPECT_EQ(colour.Pixel(0, 0), clRed);   // bit 0
  EXPECT_EQ(colour.Pixel(1, 0), clBlue);  // bit 1

  // Colour to monochrome: the source canvas's background colour becomes white.
  colour.Canvas().SetBkColor(clRed);
  TBitmap mask(2, 1, pf1bit);
  mask.Canvas().CopyRect(Rect(0, 0, 2, 1), colour.Canvas(), Rect(0, 0, 2, 1));
  EXPECT_EQ(mask.Pixel(0, 0), clWhite);
  EXPECT_EQ(mask.Pixel(1, 0), clBlack);
}

// The embossed picture of a disabled button: marked pixels of a mask (black) receive the
// highlight shifted by one pixel and the shadow in place; the rest keeps the button face.
TEST(Canvas, DisabledGlyphEmbossThroughAMonochromeMask) {
  TBitmap m(3, 2, pf24bit);
  m.Canvas().Brush().SetColor(clOlive);
  m.Canvas().FillRect(m.Canvas().ClipRect());
  m.SetPixel(0, 0, clBlack);  // the one marked pixel
  m.Mask(clOlive);

  TBitmap disabled(3, 2, pf24bit);
  TCanvas& c = disabled.Canvas();
  c.Brush().SetColor(clBtnFace);
  c.FillRect(c.ClipRect());
  c.SetTextColor(clWhite);  // a black mask bit becomes all ones: the brush lands there
  c.SetBkColor(clBlack);
  c.SetCopyMode(DSPDxax);
  c.Brush().SetColor(clBtnHighlight);
  c.CopyRect(Rect(1, 1, 4, 3), m.Canvas(), Rect(0, 0, 3, 2));
  c.Brush().SetColor(clBtnShadow);
  c.CopyRect(Rect(0, 0, 3, 2), m.Canvas(), Rect(0, 0, 3, 2));

  EXPECT_EQ(disabled.Pixel(0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(disabled.Pixel(1, 1), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(disabled.Pixel(1, 0), ColorToRGB(clBtnFace));
  EXPECT_EQ(disabled.Pixel(2, 1), ColorToRGB(clBtnFace));
}

TEST(Colors, SystemColoursResolveToTheClassicScheme) {
  EXPECT_EQ(ColorToRGB(clBtnFace), clSilver);
  EXPECT_EQ(ColorToRGB(clBtnHighlight), clWhite);
  EXPECT_EQ(ColorToRGB(clBtnShadow), clGray);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(RGB(1, 2, 3)), 0x030201);
  EXPECT_EQ(GetRValue(ToColor(0x030201)), 1);
  EXPECT_EQ(GetBValue(ToColor(0x030201)), 3);
}

}  // namespace
}  // namespace nv
