#include "platform/graphics/Graphics.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace nv {

namespace {

// Classic three-dimensional scheme, indexed by system colour number.
constexpr std::array<std::uint32_t, 25> kSystemColors = {
    0xC8D0D4,  // scroll bar
    0xA56E3A,  // desktop
    0x6A240A,  // active caption
    0x808080,  // inactive caption
    0xC8D0D4,  // menu
    0xFFFFFF,  // window
    0x000000,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0xFFFFFF,  // caption text
    0xC8D0D4,  // active border
    0xC8D0D4,  // inactive border
    0x808080,  // application work space
    0x6A240A,  // highlight
    0xFFFFFF,  // highlight text
    0xC0C0C0,  // button face
    0x808080,  // button shadow
    0x808080,  // gray text
    0x000000,  // button text
    0xC8D0D4,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x404040,  // 3D dark shadow
    0xC0C0C0,  // 3D light
    0x000000,  // info text
    0xE1FFFF,  // info background
};

std::uint8_t Expand5(unsigned v) {
  return static_cast<std::uint8_t>((v << 3) | (v >> 2));
}
std::uint8_t Expand6(unsigned v) {
  return static_cast<std::uint8_t>((v << 2) | (v >> 4));
}

std::uint16_t Read16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
void Write16(std::uint8_t* p, unsigned v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void CheckDimension(const char* what, int value) {
  if (value < 0 || value > TBitmap::kMaxDimension)
    throw EInvalidGraphicOperation("Bitmap " + std::string(what) + " " + std::to_string(value) +
                                   " is outside 0.." + std::to_string(TBitmap::kMaxDimension));
}

int ColorDistance(TColor a, TColor b) {
  const int dr = GetRValue(a) - GetRValue(b);
  const int dg = GetGValue(a) - GetGValue(b);
  const int db = GetBValue(a) - GetBValue(b);
  return dr * dr + dg * dg + db * db;
}

bool IsPaletteFormat(TPixelFormat f) {
  return f == pf1bit || f == pf4bit || f == pf8bit;
}

std::uint8_t NearestOfTwo(const std::vector<TColor>& palette, TColor rgb) {
  return ColorDistance(rgb, palette[1]) < ColorDistance(rgb, palette[0]) ? 1 : 0;
}

unsigned BitAt(const TBitmap& bmp, int x, int y) {
  return (bmp.ScanLine(y)[x >> 3] >> (7 - (x & 7))) & 1;
}

// The clipped copy of one rectangle onto another, pixel by pixel, nearest-neighbour when the
// sizes differ. source(sx, sy, &colour) answers false for a pixel to skip. On a monochrome
// bitmap the operands are its two palette indices, as 0 and 0xFFFFFF, so the operation works
// on bits; the source must then already deliver black or white.
template <typename SourceFn>
void BlitPixels(TBitmap& dest, const TRect& destRect, const TRect& sourceRect, SourceFn source,
                TCopyMode mode, TColor pattern) {
  const int dw = destRect.Width();
  const int dh = destRect.Height();
  const int sw = sourceRect.Width();
  const int sh = sourceRect.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const int x0 = std::max(destRect.Left, 0);
  const int y0 = std::max(destRect.Top, 0);
  const int x1 = std::min(destRect.Right, dest.Width());
  const int y1 = std::min(destRect.Bottom, dest.Height());
  const bool mono = dest.PixelFormat() == pf1bit;
  if (mono) pattern = NearestOfTwo(dest.Palette(), pattern) ? clWhite : clBlack;
  for (int y = y0; y < y1; ++y) {
    const int sy =
        sourceRect.Top + static_cast<int>(static_cast<std::int64_t>(y - destRect.Top) * sh / dh);
    std::uint8_t* row = dest.ScanLine(y);
    for (int x = x0; x < x1; ++x) {
      const int sx = sourceRect.Left +
                     static_cast<int>(static_cast<std::int64_t>(x - destRect.Left) * sw / dw);
      TColor s = clBlack;
      if (!source(sx, sy, &s)) continue;
      if (mono) {
        const TColor d = BitAt(dest, x, y) ? clWhite : clBlack;
        const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
        if (ApplyRasterOp(mode, pattern, s, d) != 0)
          row[x >> 3] |= bit;
        else
          row[x >> 3] &= static_cast<std::uint8_t>(~bit);
      } else if (mode == SRCCOPY) {
        dest.SetPixel(x, y, s);
      } else {
        dest.SetPixel(x, y, ApplyRasterOp(mode, pattern, s, dest.Pixel(x, y)));
      }
    }
  }
}

}  // namespace

TColor ColorToRGB(TColor color) {
  if (color < 0) {
    const auto index = static_cast<std::size_t>(color & 0xFF);
    return index < kSystemColors.size() ? ToColor(kSystemColors[index]) : clBlack;
  }
  return ToColor(color & 0xFFFFFF);
}

TColor ApplyRasterOp(TCopyMode mode, TColor pattern, TColor source, TColor dest) {
  const unsigned table = (mode >> 16) & 0xFF;
  const auto p = static_cast<std::uint32_t>(pattern);
  const auto s = static_cast<std::uint32_t>(source);
  const auto d = static_cast<std::uint32_t>(dest);
  std::uint32_t r = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (((table >> i) & 1) == 0) continue;
    r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return static_cast<TColor>(r & 0xFFFFFF);
}

int BitsPerPixelOf(TPixelFormat format) {
  switch (format) {
    case pf1bit:
      return 1;
    case pf4bit:
      return 4;
    case pf8bit:
      return 8;
    case pf15bit:
    case pf16bit:
      return 16;
    case pf24bit:
      return 24;
    case pf32bit:
    case pfDevice:
      return 32;
  }
  return 32;
}

std::vector<TColor> DefaultPalette(TPixelFormat format) {
  static constexpr std::array<TColor, 16> kStandard = {
      clBlack, clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clSilver,
      clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
  switch (format) {
    case pf1bit:
      return {clBlack, clWhite};
    case pf4bit:
      return {kStandard.begin(), kStandard.end()};
    case pf8bit: {
      std::vector<TColor> pal(kStandard.begin(), kStandard.end());
      for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
          for (int b = 0; b < 6; ++b) pal.push_back(RGB(r * 51, g * 51, b * 51));
      for (int i = 0; i < 24; ++i) pal.push_back(RGB(8 + i * 10, 8 + i * 10, 8 + i * 10));
      return pal;
    }
    default:
      return {};
  }
}

// ---- TCanvas ----

TRect TCanvas::ClipRect() const {
  return Rect(0, 0, bitmap_->Width(), bitmap_->Height());
}

void TCanvas::FillRect(const TRect& rect) {
  TBitmap& bmp = *bitmap_;
  const int x0 = std::max(rect.Left, 0);
  const int y0 = std::max(rect.Top, 0);
  const int x1 = std::min(rect.Right, bmp.Width());
  const int y1 = std::min(rect.Bottom, bmp.Height());
  if (x0 >= x1 || y0 >= y1) return;
  const TColor color = ColorToRGB(brush_.Color());
  // Paint one pixel the slow way, then repeat its bytes along the row for whole-byte formats.
  const int bpp = bmp.BitsPerPixel();
  if (bpp < 8) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) bmp.SetPixel(x, y, color);
    return;
  }
  const int bytes = bpp / 8;
  bmp.SetPixel(x0, y0, color);
  std::uint8_t pixel[4];
  std::memcpy(pixel, bmp.ScanLine(y0) + x0 * bytes, bytes);
  for (int y = y0; y < y1; ++y) {
    std::uint8_t* row = bmp.ScanLine(y) + x0 * bytes;
    for (int x = x0; x < x1; ++x, row += bytes) std::memcpy(row, pixel, bytes);
  }
}

void TCanvas::Draw(int x, int y, const TBitmap& picture) {
  StretchDraw(Bounds(x, y, picture.Width(), picture.Height()), picture);
}

void TCanvas::StretchDraw(const TRect& rect, const TBitmap& picture) {
  if (picture.Empty() || rect.IsEmpty()) return;
  TBitmap& dest = *bitmap_;
  const TRect sourceRect = Rect(0, 0, picture.Width(), picture.Height());
  // Same format, same size, plain copy: whole rows at a time.
  if (!picture.Transparent() && copyMode_ == SRCCOPY && rect.Width() == picture.Width() &&
      rect.Height() == picture.Height() && picture.PixelFormat() == dest.PixelFormat() &&
      picture.BitsPerPixel() >= 8 && picture.Palette() == dest.Palette()) {
    const int bytes = picture.BitsPerPixel() / 8;
    const int x0 = std::max(rect.Left, 0);
    const int x1 = std::min(rect.Right, dest.Width());
    const int y0 = std::max(rect.Top, 0);
    const int y1 = std::min(rect.Bottom, dest.Height());
    if (x0 >= x1) return;
    for (int y = y0; y < y1; ++y)
      std::memcpy(dest.ScanLine(y) + x0 * bytes,
                  picture.ScanLine(y - rect.Top) + (x0 - rect.Left) * bytes,
                  static_cast<std::size_t>(x1 - x0) * bytes);
    return;
  }
  const bool transparent = picture.Transparent();
  const TColor transparentColor = transparent ? ColorToRGB(picture.TransparentColor()) : clBlack;
  const bool monoDest = dest.PixelFormat() == pf1bit;
  auto source = [&](int sx, int sy, TColor* out) {
    const TColor c = picture.Pixel(sx, sy);
    if (transparent && c == transparentColor) return false;
    *out = monoDest ? (NearestOfTwo(dest.Palette(), c) ? clWhite : clBlack) : c;
    return true;
  };
  BlitPixels(dest, rect, sourceRect, source, transparent ? SRCCOPY : copyMode_,
             ColorToRGB(brush_.Color()));
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap& picture, const TRect& source,
                        TColor transparentColor) {
  const TColor key = ColorToRGB(transparentColor);
  const bool monoDest = bitmap_->PixelFormat() == pf1bit;
  auto read = [&](int sx, int sy, TColor* out) {
    const TColor c = picture.Pixel(sx, sy);
    if (c == -1 || c == key) return false;
    *out = monoDest ? (NearestOfTwo(bitmap_->Palette(), c) ? clWhite : clBlack) : c;
    return true;
  };
  BlitPixels(*bitmap_, dest, source, read, SRCCOPY, clBlack);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
  const TBitmap& picture = *source.bitmap_;
  TBitmap& target = *bitmap_;
  const bool monoSource = picture.PixelFormat() == pf1bit;
  const bool monoDest = target.PixelFormat() == pf1bit;
  const TColor text = ColorToRGB(textColor_);
  const TColor back = ColorToRGB(bkColor_);
  const TColor sourceBack = ColorToRGB(source.bkColor_);
  const TColor pattern = ColorToRGB(brush_.Color());
  auto read = [&](int sx, int sy, TColor* out) {
    if (sx < 0 || sy < 0 || sx >= picture.Width() || sy >= picture.Height()) return false;
    if (monoSource && monoDest) {
      *out = BitAt(picture, sx, sy) ? clWhite : clBlack;
    } else if (monoSource) {
      *out = BitAt(picture, sx, sy) ? back : text;
    } else if (monoDest) {
      *out = picture.Pixel(sx, sy) == sourceBack ? clWhite : clBlack;
    } else {
      *out = picture.Pixel(sx, sy);
    }
    return true;
  };
  BlitPixels(target, dest, sourceRect, read, copyMode_, pattern);
}

TColor TCanvas::Pixels(int x, int y) const {
  return bitmap_->Pixel(x, y);
}
void TCanvas::SetPixels(int x, int y, TColor color) {
  bitmap_->SetPixel(x, y, color);
}

// ---- TBitmap ----

TBitmap::TBitmap() : canvas_(std::make_unique<TCanvas>(*this)) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : TBitmap() {
  CheckDimension("width", width);
  CheckDimension("height", height);
  Reallocate(width, height, format, false);
}

TBitmap::TBitmap(TBitmap&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      format_(other.format_),
      stride_(other.stride_),
      bits_(std::move(other.bits_)),
      palette_(std::move(other.palette_)),
      transparent_(other.transparent_),
      transparentMode_(other.transparentMode_),
      transparentColor_(other.transparentColor_),
      canvas_(std::move(other.canvas_)) {
  canvas_->bitmap_ = this;
  other.canvas_ = std::make_unique<TCanvas>(other);
  other.width_ = other.height_ = other.stride_ = 0;
  other.palette_ = DefaultPalette(other.format_);
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this == &other) return *this;
  width_ = other.width_;
  height_ = other.height_;
  format_ = other.format_;
  stride_ = other.stride_;
  bits_ = std::move(other.bits_);
  palette_ = std::move(other.palette_);
  transparent_ = other.transparent_;
  transparentMode_ = other.transparentMode_;
  transparentColor_ = other.transparentColor_;
  other.width_ = other.height_ = other.stride_ = 0;
  other.bits_.clear();
  other.palette_ = DefaultPalette(other.format_);
  return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::Assign(const TBitmap& source) {
  if (this == &source) return;
  width_ = source.width_;
  height_ = source.height_;
  format_ = source.format_;
  stride_ = source.stride_;
  bits_ = source.bits_;
  palette_ = source.palette_;
  transparent_ = source.transparent_;
  transparentMode_ = source.transparentMode_;
  transparentColor_ = source.transparentColor_;
}

void TBitmap::Reallocate(int width, int height, TPixelFormat format, bool keepPixels) {
  const int bpp = BitsPerPixelOf(format);
  const auto stride = static_cast<int>(DibStride(static_cast<std::size_t>(width), bpp));
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride) *
                                 static_cast<std::size_t>(height));
  if (keepPixels && format == format_) {
    const int rows = std::min(height, height_);
    const int columns = std::min(width, width_);
    const std::size_t wholeBytes = static_cast<std::size_t>(columns) * bpp / 8;
    for (int y = 0; y < rows; ++y) {
      std::uint8_t* to = &bits[static_cast<std::size_t>(y) * stride];
      const std::uint8_t* from = &bits_[static_cast<std::size_t>(y) * stride_];
      std::memcpy(to, from, wholeBytes);
      // The kept pixels of a partly kept last byte (1 and 4 bits a pixel).
      const int spare = columns * bpp % 8;
      if (spare != 0)
        to[wholeBytes] = static_cast<std::uint8_t>(from[wholeBytes] & (0xFF00 >> spare));
    }
  }
  if (format != format_ || palette_.size() != (IsPaletteFormat(format) ? (1u << bpp) : 0u))
    palette_ = DefaultPalette(format);
  width_ = width;
  height_ = height;
  format_ = format;
  stride_ = stride;
  bits_ = std::move(bits);
}

void TBitmap::SetWidth(int width) {
  SetSize(width, height_);
}
void TBitmap::SetHeight(int height) {
  SetSize(width_, height);
}

void TBitmap::SetSize(int width, int height) {
  CheckDimension("width", width);
  CheckDimension("height", height);
  if (width == width_ && height == height_) return;
  Reallocate(width, height, format_, true);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  TBitmap converted(width_, height_, format);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) converted.SetPixel(x, y, Pixel(x, y));
  width_ = converted.width_;
  format_ = format;
  stride_ = converted.stride_;
  bits_ = std::move(converted.bits_);
  palette_ = std::move(converted.palette_);
}

bool TBitmap::Monochrome() const {
  return format_ == pf1bit && palette_.size() == 2 && palette_[0] == clBlack &&
         palette_[1] == clWhite;
}

void TBitmap::SetMonochrome(bool monochrome) {
  if (monochrome == Monochrome()) return;
  if (!monochrome) {
    SetPixelFormat(pfDevice);
    return;
  }
  if (format_ == pf1bit) {
    // A two-colour picture with another palette: map its two colours to black and white.
    SetPixelFormat(pf24bit);
  }
  SetPixelFormat(pf1bit);
}

void TBitmap::Mask(TColor transparentColor) {
  const TColor key = ColorToRGB(transparentColor);
  TBitmap mask(width_, height_, pf1bit);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) mask.SetPixel(x, y, Pixel(x, y) == key ? clWhite : clBlack);
  format_ = pf1bit;
  stride_ = mask.stride_;
  bits_ = std::move(mask.bits_);
  palette_ = std::move(mask.palette_);
}

std::uint8_t* TBitmap::ScanLine(int y) {
  return const_cast<std::uint8_t*>(static_cast<const TBitmap*>(this)->ScanLine(y));
}

const std::uint8_t* TBitmap::ScanLine(int y) const {
  if (y < 0 || y >= height_)
    throw EInvalidGraphicOperation("Scan line index " + std::to_string(y) + " out of range 0.." +
                                   std::to_string(height_ - 1));
  return bits_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride_);
}

void TBitmap::SetPalette(std::vector<TColor> colors) {
  if (!IsPaletteFormat(format_)) return;
  const std::size_t size = std::size_t{1} << BitsPerPixelOf(format_);
  colors.resize(size, clBlack);
  for (auto& c : colors) c = ColorToRGB(c);
  palette_ = std::move(colors);
}

std::uint8_t TBitmap::NearestIndex(TColor rgb) const {
  std::size_t best = 0;
  int bestDistance = ColorDistance(rgb, palette_[0]);
  for (std::size_t i = 1; i < palette_.size() && bestDistance != 0; ++i) {
    const int distance = ColorDistance(rgb, palette_[i]);
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return static_cast<std::uint8_t>(best);
}

TColor TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return ToColor(0xFFFFFFFF);
  const std::uint8_t* row = bits_.data() + static_cast<std::size_t>(y) * stride_;
  switch (format_) {
    case pf1bit:
      return palette_[(row[x >> 3] >> (7 - (x & 7))) & 1];
    case pf4bit:
      return palette_[(x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4];
    case pf8bit:
      return palette_[row[x]];
    case pf15bit: {
      const unsigned v = Read16(row + 2 * x);
      return RGB(Expand5((v >> 10) & 31), Expand5((v >> 5) & 31), Expand5(v & 31));
    }
    case pf16bit: {
      const unsigned v = Read16(row + 2 * x);
      return RGB(Expand5((v >> 11) & 31), Expand6((v >> 5) & 63), Expand5(v & 31));
    }
    case pf24bit: {
      const std::uint8_t* p = row + 3 * x;
      return RGB(p[2], p[1], p[0]);
    }
    case pf32bit:
    case pfDevice: {
      const std::uint8_t* p = row + 4 * x;
      return RGB(p[2], p[1], p[0]);
    }
  }
  return ToColor(0xFFFFFFFF);
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const TColor c = ColorToRGB(color);
  std::uint8_t* row = bits_.data() + static_cast<std::size_t>(y) * stride_;
  const unsigned r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  switch (format_) {
    case pf1bit: {
      const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
      if (NearestIndex(c))
        row[x >> 3] |= bit;
      else
        row[x >> 3] &= static_cast<std::uint8_t>(~bit);
      return;
    }
    case pf4bit: {
      const std::uint8_t index = NearestIndex(c);
      std::uint8_t& byte = row[x >> 1];
      byte = (x & 1) ? static_cast<std::uint8_t>((byte & 0xF0) | index)
                     : static_cast<std::uint8_t>((byte & 0x0F) | (index << 4));
      return;
    }
    case pf8bit:
      row[x] = NearestIndex(c);
      return;
    case pf15bit:
      Write16(row + 2 * x, ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
      return;
    case pf16bit:
      Write16(row + 2 * x, ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
      return;
    case pf24bit: {
      std::uint8_t* p = row + 3 * x;
      p[0] = static_cast<std::uint8_t>(b);
      p[1] = static_cast<std::uint8_t>(g);
      p[2] = static_cast<std::uint8_t>(r);
      return;
    }
    case pf32bit:
    case pfDevice: {
      std::uint8_t* p = row + 4 * x;
      p[0] = static_cast<std::uint8_t>(b);
      p[1] = static_cast<std::uint8_t>(g);
      p[2] = static_cast<std::uint8_t>(r);
      p[3] = 0;
      return;
    }
  }
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed) return transparentColor_;
  if (Empty()) return clDefault;
  return Pixel(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
  transparentColor_ = color;
  transparentMode_ = color == clDefault ? tmAuto : tmFixed;
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == tmAuto)
    transparentColor_ = clDefault;
  else if (transparentMode_ == tmAuto)
    transparentColor_ = TransparentColor();
  transparentMode_ = mode;
}

}  // namespace nv
