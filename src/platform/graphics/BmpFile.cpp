// BMP files: reader and writer of TBitmap. Every length read from a file is checked against
// the bytes actually present before anything is allocated from it.
#include <bit>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/graphics/Graphics.h"

namespace nv {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::int32_t kScreenPelsPerMeter = 3780;  // 96 dots per inch

[[noreturn]] void Damaged(const std::string& what) {
  throw EReadError("BMP file: " + what);
}

std::string CompressionName(std::uint32_t c) {
  switch (c) {
    case 1:
      return "1 (RLE8)";
    case 2:
      return "2 (RLE4)";
    case 4:
      return "4 (JPEG)";
    case 5:
      return "5 (PNG)";
    default:
      return std::to_string(c);
  }
}

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t Size() const { return size_; }
  void Need(std::size_t offset, std::size_t length, const char* what) const {
    if (offset > size_ || length > size_ - offset)
      Damaged(std::string(what) + " needs " + std::to_string(length) + " bytes at offset " +
              std::to_string(offset) + ", the file has " + std::to_string(size_));
  }
  std::uint16_t U16(std::size_t at) const {
    return static_cast<std::uint16_t>(data_[at] | (data_[at + 1] << 8));
  }
  std::uint32_t U32(std::size_t at) const {
    return static_cast<std::uint32_t>(data_[at]) |
           (static_cast<std::uint32_t>(data_[at + 1]) << 8) |
           (static_cast<std::uint32_t>(data_[at + 2]) << 16) |
           (static_cast<std::uint32_t>(data_[at + 3]) << 24);
  }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
  const std::uint8_t* At(std::size_t at) const { return data_ + at; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// One colour channel of a bit-field pixel: position and width of its mask.
struct Channel {
  unsigned shift = 0;
  unsigned bits = 0;
  std::uint8_t Get(std::uint32_t pixel) const {
    if (bits == 0) return 0;
    const std::uint32_t max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    const std::uint32_t v = (pixel >> shift) & max;
    if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
  }
};

Channel ChannelOf(std::uint32_t mask, const char* name) {
  Channel c;
  if (mask == 0) return c;
  c.shift = static_cast<unsigned>(std::countr_zero(mask));
  c.bits = static_cast<unsigned>(std::popcount(mask));
  if ((mask >> c.shift) != (c.bits >= 32 ? 0xFFFFFFFFu : (1u << c.bits) - 1))
    Damaged(std::string(name) + " mask 0x" + [&] {
      std::ostringstream s;
      s << std::hex << mask;
      return s.str();
    }() + " is not one run of bits");
  return c;
}

void Put16(std::string& out, unsigned v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

void TBitmap::LoadFromBytes(const void* data, std::size_t size) {
  const Reader in(static_cast<const std::uint8_t*>(data), size);
  in.Need(0, kFileHeaderSize + 4, "the file header");
  if (in.At(0)[0] != 'B' || in.At(0)[1] != 'M')
    Damaged("expected the signature \"BM\", found bytes " + std::to_string(in.At(0)[0]) + " " +
            std::to_string(in.At(0)[1]));
  const std::uint32_t pixelOffset = in.U32(10);
  const std::uint32_t headerSize = in.U32(14);

  std::int64_t width = 0;
  std::int64_t height = 0;
  unsigned planes = 0;
  unsigned bpp = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t colorsUsed = 0;
  std::size_t paletteEntrySize = 4;
  std::uint32_t masks[3] = {0, 0, 0};
  bool hasMasksInHeader = false;
  if (headerSize == 12) {
    in.Need(kFileHeaderSize, headerSize, "the 12-byte bitmap header");
    width = in.U16(18);
    height = in.U16(20);
    planes = in.U16(22);
    bpp = in.U16(24);
    paletteEntrySize = 3;
  } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
             headerSize == 124) {
    in.Need(kFileHeaderSize, headerSize, "the bitmap header");
    width = in.I32(18);
    height = in.I32(22);
    planes = in.U16(26);
    bpp = in.U16(28);
    compression = in.U32(30);
    colorsUsed = in.U32(46);
    if (headerSize >= 52) {
      hasMasksInHeader = true;
      for (int i = 0; i < 3; ++i) masks[i] = in.U32(54 + 4 * static_cast<std::size_t>(i));
    }
  } else {
    Damaged("unsupported bitmap header size " + std::to_string(headerSize) +
            " (expected 12, 40, 52, 56, 108 or 124)");
  }
  if (planes != 1) Damaged("expected 1 colour plane, found " + std::to_string(planes));
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    Damaged("unsupported bits per pixel " + std::to_string(bpp) +
            " (expected 1, 4, 8, 16, 24 or 32)");
  const bool bitfields = compression == kBiBitfields || compression == kBiAlphaBitfields;
  if (compression != kBiRgb && !bitfields)
    Damaged("compression " + CompressionName(compression) + " is not supported");
  if (bitfields && bpp != 16 && bpp != 32)
    Damaged("bit-field compression needs 16 or 32 bits per pixel, found " + std::to_string(bpp));
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width < 0) Damaged("negative width " + std::to_string(width));
  if (width > kMaxDimension || height > kMaxDimension)
    Damaged("size " + std::to_string(width) + " x " + std::to_string(height) + " is larger than " +
            std::to_string(kMaxDimension) + " x " + std::to_string(kMaxDimension));

  std::size_t tableOffset = kFileHeaderSize + headerSize;
  if (bitfields && !hasMasksInHeader) {
    const std::size_t maskCount = compression == kBiAlphaBitfields ? 4 : 3;
    in.Need(tableOffset, 4 * maskCount, "the colour mask table");
    for (std::size_t i = 0; i < 3; ++i) masks[i] = in.U32(tableOffset + 4 * i);
    tableOffset += 4 * maskCount;
  }
  std::vector<TColor> palette;
  if (bpp <= 8) {
    const std::uint32_t maxColors = 1u << bpp;
    if (colorsUsed > maxColors)
      Damaged("colour table of " + std::to_string(colorsUsed) + " entries, at most " +
              std::to_string(maxColors) + " for " + std::to_string(bpp) + " bits per pixel");
    const std::uint32_t entries = colorsUsed != 0 ? colorsUsed : maxColors;
    in.Need(tableOffset, entries * paletteEntrySize, "the colour table");
    palette.reserve(maxColors);
    for (std::uint32_t i = 0; i < entries; ++i) {
      const std::uint8_t* e = in.At(tableOffset + i * paletteEntrySize);
      palette.push_back(RGB(e[2], e[1], e[0]));
    }
    palette.resize(maxColors, clBlack);
  }
  if (pixelOffset < kFileHeaderSize + headerSize)
    Damaged("pixel data offset " + std::to_string(pixelOffset) + " lies inside the headers");
  const std::size_t fileStride = DibStride(static_cast<std::size_t>(width), static_cast<int>(bpp));
  const std::size_t rows = static_cast<std::size_t>(height);
  // Both factors are bounded by kMaxDimension, so the product cannot overflow.
  in.Need(pixelOffset, fileStride * rows, "the pixel data");

  // Which format keeps the pixels as they are, or which one they are converted into.
  TPixelFormat format = pf24bit;
  bool raw = true;
  Channel red, green, blue;
  switch (bpp) {
    case 1:
      format = pf1bit;
      break;
    case 4:
      format = pf4bit;
      break;
    case 8:
      format = pf8bit;
      break;
    case 24:
      format = pf24bit;
      break;
    case 16:
      if (!bitfields || (masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F)) {
        format = pf15bit;
      } else if (masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F) {
        format = pf16bit;
      } else {
        format = pf32bit;
        raw = false;
      }
      break;
    case 32:
      format = pf32bit;
      raw = !bitfields || (masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF);
      break;
  }
  if (!raw) {
    red = ChannelOf(masks[0], "red");
    green = ChannelOf(masks[1], "green");
    blue = ChannelOf(masks[2], "blue");
  }

  TBitmap loaded(static_cast<int>(width), static_cast<int>(height), format);
  if (!palette.empty()) loaded.palette_ = std::move(palette);
  for (std::size_t y = 0; y < rows; ++y) {
    const std::size_t fileRow = topDown ? y : rows - 1 - y;
    const std::uint8_t* from = in.At(pixelOffset + fileRow * fileStride);
    std::uint8_t* to = loaded.ScanLine(static_cast<int>(y));
    if (raw) {
      std::memcpy(to, from, fileStride);
      continue;
    }
    for (std::int64_t x = 0; x < width; ++x) {
      const std::uint8_t* f = from + (bpp / 8) * x;
      std::uint32_t v = static_cast<std::uint32_t>(f[0] | (f[1] << 8));
      if (bpp == 32)
        v |= static_cast<std::uint32_t>(f[2] << 16) | (static_cast<std::uint32_t>(f[3]) << 24);
      std::uint8_t* p = to + 4 * x;
      p[0] = blue.Get(v);
      p[1] = green.Get(v);
      p[2] = red.Get(v);
      p[3] = 0;
    }
  }
  width_ = loaded.width_;
  height_ = loaded.height_;
  format_ = loaded.format_;
  stride_ = loaded.stride_;
  bits_ = std::move(loaded.bits_);
  palette_ = std::move(loaded.palette_);
}

std::string TBitmap::SaveToBytes() const {
  const int bpp = BitsPerPixel();
  const bool masked = format_ == pf16bit;
  const std::size_t paletteBytes = palette_.size() * 4;
  const std::size_t offset = kFileHeaderSize + kInfoHeaderSize + (masked ? 12 : 0) + paletteBytes;
  const std::size_t imageSize = bits_.size();
  std::string out;
  out.reserve(offset + imageSize);
  out += "BM";
  Put32(out, static_cast<std::uint32_t>(offset + imageSize));
  Put32(out, 0);
  Put32(out, static_cast<std::uint32_t>(offset));
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<std::uint32_t>(width_));
  Put32(out, static_cast<std::uint32_t>(height_));  // positive: rows bottom-up
  Put16(out, 1);
  Put16(out, static_cast<unsigned>(bpp));
  Put32(out, masked ? kBiBitfields : kBiRgb);
  Put32(out, static_cast<std::uint32_t>(imageSize));
  Put32(out, kScreenPelsPerMeter);
  Put32(out, kScreenPelsPerMeter);
  Put32(out, 0);  // colours used: the whole table
  Put32(out, 0);
  if (masked) {
    Put32(out, 0xF800);
    Put32(out, 0x07E0);
    Put32(out, 0x001F);
  }
  for (TColor c : palette_) {
    out.push_back(static_cast<char>(GetBValue(c)));
    out.push_back(static_cast<char>(GetGValue(c)));
    out.push_back(static_cast<char>(GetRValue(c)));
    out.push_back('\0');
  }
  for (int y = height_ - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const char*>(ScanLine(y));
    out.append(row, static_cast<std::size_t>(stride_));
  }
  return out;
}

void TBitmap::LoadFromStream(std::istream& stream) {
  const std::string bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
  LoadFromBytes(bytes.data(), bytes.size());
}

void TBitmap::SaveToStream(std::ostream& stream) const {
  const std::string bytes = SaveToBytes();
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TBitmap::LoadFromFile(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file) throw EFOpenError("Cannot open file \"" + fileName + "\": " + std::strerror(errno));
  try {
    LoadFromStream(file);
  } catch (const EReadError& e) {
    throw EReadError(e.Message() + " (" + fileName + ")");
  }
}

void TBitmap::SaveToFile(const std::string& fileName) const {
  const std::string bytes = SaveToBytes();
  std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
  if (!file) throw EFOpenError("Cannot create file \"" + fileName + "\": " + std::strerror(errno));
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw EOSError("Cannot write file \"" + fileName + "\"");
}

}  // namespace nv
