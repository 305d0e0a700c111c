#pragma once
// Colours, bitmaps and the canvas that draws on them (the platform's Graphics unit). Text
// drawing lives with the rasteriser; this unit moves pixels only.
//
// Pixel store of a TBitmap: one contiguous byte buffer, Bits(), rows top-down in memory
// (ScanLine(0) is the top row, ScanLine(y) == Bits() + y * Stride()). Every row is padded to a
// multiple of 4 bytes, Stride() == ((Width() * BitsPerPixel() + 31) / 32) * 4, which is the row
// length of a device-independent bitmap. BMP files keep their rows bottom-up; only the file
// reader and writer turn them round. Layout of one row, on this little-endian machine:
//   pf1bit    palette index, 8 pixels a byte, leftmost pixel in the most significant bit
//   pf4bit    palette index, 2 pixels a byte, leftmost pixel in the high nibble
//   pf8bit    palette index, 1 byte a pixel
//   pf15bit   16-bit word x rrrrr ggggg bbbbb (blue in the low bits)
//   pf16bit   16-bit word rrrrr gggggg bbbbb
//   pf24bit   3 bytes a pixel: blue, green, red
//   pf32bit   4 bytes a pixel: blue, green, red, x (x is written 0 and ignored when read);
//   pfDevice  the screen's format, stored as pf32bit
// A cairo image surface can therefore wrap the store without copying:
// cairo_image_surface_create_for_data(Bits(), CAIRO_FORMAT_RGB24 (pf32bit, pfDevice) or
// CAIRO_FORMAT_RGB16_565 (pf16bit), Width(), Height(), Stride()); the stride above is what
// cairo_format_stride_for_width gives for both. pf1bit is not cairo's A1 (bit order differs).
//
// Colour reads of 5- and 6-bit channels repeat the high bits into the low ones, so white
// stays 0xFFFFFF through pf15bit and pf16bit.
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Colors.h"
#include "platform/core/SysUtils.h"
#include "platform/graphics/Types.h"

namespace nv {

NV_DECLARE_EXCEPTION(EInvalidGraphic, Exception);           // picture data that is not usable
NV_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);  // an operation a picture refuses

// The RGB value of a colour: system colours resolve to the classic three-dimensional scheme
// (button face silver, highlight white, shadow gray); any other colour keeps its low 24 bits.
TColor ColorToRGB(TColor color);

// Raster operations of CopyRect, Draw and StretchDraw: the byte at bits 16..23 is the truth
// table over pattern (brush, weight 4), source (weight 2) and destination (weight 1), applied
// to every bit of the RGB value, so every one of the 256 operations works.
using TCopyMode = std::uint32_t;
constexpr TCopyMode BLACKNESS = 0x00000042;
constexpr TCopyMode NOTSRCERASE = 0x001100A6;
constexpr TCopyMode NOTSRCCOPY = 0x00330008;
constexpr TCopyMode SRCERASE = 0x00440328;
constexpr TCopyMode DSTINVERT = 0x00550009;
constexpr TCopyMode PATINVERT = 0x005A0049;
constexpr TCopyMode SRCINVERT = 0x00660046;
constexpr TCopyMode SRCAND = 0x008800C6;
constexpr TCopyMode MERGEPAINT = 0x00BB0226;
constexpr TCopyMode MERGECOPY = 0x00C000CA;
constexpr TCopyMode SRCCOPY = 0x00CC0020;
constexpr TCopyMode SRCPAINT = 0x00EE0086;
constexpr TCopyMode PATCOPY = 0x00F00021;
constexpr TCopyMode PATPAINT = 0x00FB0A09;
constexpr TCopyMode WHITENESS = 0x00FF0062;
// Brush where the source is 1, destination where it is 0 (source ? brush : destination).
constexpr TCopyMode DSPDxax = 0x00E20746;

constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

// The result of one raster operation on the RGB values of pattern, source and destination.
TColor ApplyRasterOp(TCopyMode mode, TColor pattern, TColor source, TColor dest);

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

// Bits per pixel of a format as stored (pfDevice is 32).
int BitsPerPixelOf(TPixelFormat format);

class TBitmap;

class TBrush {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }

 private:
  TColor color_ = clWhite;
};

// Draws on the bitmap that owns it; coordinates outside the bitmap are clipped.
class TCanvas {
 public:
  explicit TCanvas(TBitmap& bitmap) : bitmap_(&bitmap) {}
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TBrush& Brush() { return brush_; }
  const TBrush& Brush() const { return brush_; }
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }

  // How CopyRect turns a monochrome source into colours on a colour bitmap: bit 0 becomes
  // TextColor, bit 1 BkColor. The other way round, a colour source copied onto a monochrome
  // bitmap gives 1 where the source equals the source canvas's BkColor and 0 elsewhere.
  TColor TextColor() const { return textColor_; }
  void SetTextColor(TColor color) { textColor_ = color; }
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor color) { bkColor_ = color; }

  TRect ClipRect() const;
  void FillRect(const TRect& rect);
  // Draw and StretchDraw use CopyMode, or copy all but the transparent colour when the
  // picture is Transparent. A monochrome picture shows its own palette colours.
  void Draw(int x, int y, const TBitmap& picture);
  void StretchDraw(const TRect& rect, const TBitmap& picture);
  // Copies part of a picture (one image of a glyph strip, say), leaving out the pixels of
  // the given colour.
  void BrushCopy(const TRect& dest, const TBitmap& picture, const TRect& source,
                 TColor transparentColor);
  // Copies (stretching when the sizes differ) with CopyMode and the brush as the pattern.
  void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);

  // The colour at a point; -1 outside the bitmap, where SetPixels does nothing.
  TColor Pixels(int x, int y) const;
  void SetPixels(int x, int y, TColor color);

  TBitmap& Bitmap() { return *bitmap_; }
  const TBitmap& Bitmap() const { return *bitmap_; }

 private:
  friend class TBitmap;
  TBitmap* bitmap_;
  TBrush brush_;
  TCopyMode copyMode_ = SRCCOPY;
  TColor textColor_ = clBlack;
  TColor bkColor_ = clWhite;
};

// A device-independent picture in one of the pixel formats. Not copyable (a canvas belongs
// to it); Assign copies pixels, palette and transparency.
class TBitmap {
 public:
  static constexpr int kMaxDimension = 65536;

  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = pfDevice);
  TBitmap(TBitmap&& other) noexcept;
  TBitmap& operator=(TBitmap&& other) noexcept;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;
  ~TBitmap();

  void Assign(const TBitmap& source);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Changing the size keeps the pixels of the overlap at the top left; new pixels are 0 bits
  // (black, or palette entry 0). Sizes beyond kMaxDimension or negative raise.
  void SetWidth(int width);
  void SetHeight(int height);
  void SetSize(int width, int height);
  bool Empty() const { return width_ == 0 || height_ == 0; }

  TPixelFormat PixelFormat() const { return format_; }
  // Converts every pixel; to a palette format by the nearest palette colour.
  void SetPixelFormat(TPixelFormat format);
  int BitsPerPixel() const { return BitsPerPixelOf(format_); }
  // pf1bit with a black-and-white palette.
  bool Monochrome() const;
  void SetMonochrome(bool monochrome);
  // Makes the bitmap monochrome: pixels of the given colour white, all others black.
  void Mask(TColor transparentColor);

  int Stride() const { return stride_; }
  std::uint8_t* Bits() { return bits_.data(); }
  const std::uint8_t* Bits() const { return bits_.data(); }
  // Row y counted from the top; raises EInvalidGraphicOperation outside 0..Height()-1.
  std::uint8_t* ScanLine(int y);
  const std::uint8_t* ScanLine(int y) const;

  // The colour table of pf1bit, pf4bit and pf8bit (2, 16 or 256 entries), empty otherwise.
  // Setting it keeps the pixels' indices; missing entries become black.
  const std::vector<TColor>& Palette() const { return palette_; }
  void SetPalette(std::vector<TColor> colors);

  // RGB of a pixel, -1 outside the bitmap; SetPixel ignores points outside.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  // tmAuto: the colour of the bottom-left pixel. Setting a colour switches to tmFixed,
  // setting clDefault back to tmAuto.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode);

  TCanvas& Canvas() { return *canvas_; }
  const TCanvas& Canvas() const { return *canvas_; }

  // BMP files. Reading accepts the 12-, 40-, 52-, 56-, 108- and 124-byte headers, 1, 4, 8,
  // 16, 24 and 32 bits, bottom-up and top-down rows, BI_RGB and BI_BITFIELDS; a damaged
  // file raises EReadError and leaves the bitmap as it was. Writing gives a 40-byte header,
  // rows bottom-up, the full palette for 1/4/8 bits, BI_RGB 555 for pf15bit and BI_BITFIELDS
  // 565 for pf16bit.
  void LoadFromBytes(const void* data, std::size_t size);
  std::string SaveToBytes() const;
  void LoadFromStream(std::istream& stream);
  void SaveToStream(std::ostream& stream) const;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

 private:
  void Reallocate(int width, int height, TPixelFormat format, bool keepPixels);
  std::uint8_t NearestIndex(TColor rgb) const;

  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = pfDevice;
  int stride_ = 0;
  std::vector<std::uint8_t> bits_;
  std::vector<TColor> palette_;
  bool transparent_ = false;
  TTransparentMode transparentMode_ = tmAuto;
  TColor transparentColor_ = clDefault;
  std::unique_ptr<TCanvas> canvas_;
};

// Row length in bytes of a bitmap row: whole 32-bit words.
constexpr std::size_t DibStride(std::size_t width, int bitsPerPixel) {
  return (width * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

// The default colour table of a palette format (black and white; the 16 standard colours;
// those, a 6 x 6 x 6 colour cube and 24 grays).
std::vector<TColor> DefaultPalette(TPixelFormat format);

}  // namespace nv
