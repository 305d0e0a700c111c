#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <unistd.h>

#include "platform/graphics/Graphics.h"

namespace nv {
namespace {

void Put16(std::string& s, unsigned v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
std::uint32_t Get32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(s[at + i]);
  return v;
}

// A BMP file as other programs write it; the pixel rows are given as they lie in the file.
struct BmpLayout {
  std::uint32_t headerSize = 40;
  std::int32_t width = 2;
  std::int32_t height = 2;
  unsigned bpp = 24;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
  std::vector<std::uint32_t> masks = {};  // after a 40-byte header, or inside a longer one
  std::vector<std::uint32_t> palette = {};
  std::string pixels = {};
};

std::string MakeBmp(const BmpLayout& b) {
  std::string header;
  if (b.headerSize == 12) {
    Put32(header, 12);
    Put16(header, static_cast<unsigned>(b.width));
    Put16(header, static_cast<unsigned>(b.height));
    Put16(header, 1);
    Put16(header, b.bpp);
  } else {
    Put32(header, b.headerSize);
    Put32(header, static_cast<std::uint32_t>(b.width));
    Put32(header, static_cast<std::uint32_t>(b.height));
    Put16(header, 1);
    Put16(header, b.bpp);
    Put32(header, b.compression);
    Put32(header, static_cast<std::uint32_t>(b.pixels.size()));
    Put32(header, 2835);
    Put32(header, 2835);
    Put32(header, b.colorsUsed);
    Put32(header, 0);
    if (b.headerSize > 40)
      for (std::uint32_t m : b.masks) Put32(header, m);
    header.resize(b.headerSize, '\0');
    if (b.headerSize == 40)
      for (std::uint32_t m : b.masks) Put32(header, m);
  }
  for (std::uint32_t c : b.palette) {
    if (b.headerSize == 12) {
      header.push_back(static_cast<char>(c & 0xFF));
      header.push_back(static_cast<char>((c >> 8) & 0xFF));
      header.push_back(static_cast<char>((c >> 16) & 0xFF));
    } else {
      Put32(header, c);
    }
  }
  std::string file = "BM";
  Put32(file, static_cast<std::uint32_t>(14 + header.size() + b.pixels.size()));
  Put32(file, 0);
  Put32(file, static_cast<std::uint32_t>(14 + header.size()));
  return file + header + b.pixels;
}

TBitmap Load(const std::string& bytes) {
  TBitmap bmp;
  bmp.LoadFromBytes(bytes.data(), bytes.size());
  return bmp;
}

// A picture that uses the format's whole range: colours of its palette, or arbitrary ones.
TBitmap Sample(TPixelFormat format) {
  TBitmap bmp(5, 3, format);
  const std::vector<TColor> pal = bmp.Palette();
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      const int i = y * 5 + x;
      bmp.SetPixel(x, y,
                   pal.empty() ? RGB(i * 17, 255 - i * 13, i * 7) : pal[(i * 7) % pal.size()]);
    }
  return bmp;
}

struct RoundTripCase {
  const char* name;
  TPixelFormat format;
  unsigned bpp;
  std::uint32_t compression;
  std::uint32_t pixelOffset;
};
void PrintTo(const RoundTripCase& c, std::ostream* os) {
  *os << c.name;
}

class BmpRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(BmpRoundTrip, WritesADibFileAndReadsItBack) {
  const auto& c = GetParam();
  const TBitmap original = Sample(c.format);
  const std::string file = original.SaveToBytes();
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(Get32(file, 2), file.size());
  EXPECT_EQ(Get32(file, 10), c.pixelOffset);
  EXPECT_EQ(Get32(file, 14), 40u);
  EXPECT_EQ(Get32(file, 22), 3u) << "positive height: rows bottom-up";
  EXPECT_EQ(static_cast<unsigned>(Get32(file, 28) & 0xFFFF), c.bpp);
  EXPECT_EQ(Get32(file, 30), c.compression);
  EXPECT_EQ(Get32(file, 34), file.size() - c.pixelOffset);
  EXPECT_EQ(file.compare(c.pixelOffset, original.Stride(),
                         reinterpret_cast<const char*>(original.ScanLine(2)), original.Stride()),
            0)
      << "the first row in the file is the bottom row";

  const TBitmap back = Load(file);
  EXPECT_EQ(back.PixelFormat(), c.format == pfDevice ? pf32bit : c.format);
  EXPECT_EQ(back.Palette(), original.Palette());
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(back.Pixel(x, y), original.Pixel(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Graphics, BmpRoundTrip,
    ::testing::Values(RoundTripCase{"mono", pf1bit, 1, 0, 14 + 40 + 2 * 4},
                      RoundTripCase{"vga", pf4bit, 4, 0, 14 + 40 + 16 * 4},
                      RoundTripCase{"indexed", pf8bit, 8, 0, 14 + 40 + 256 * 4},
                      RoundTripCase{"rgb555", pf15bit, 16, 0, 54},
                      RoundTripCase{"rgb565_bitfields", pf16bit, 16, 3, 54 + 12},
                      RoundTripCase{"bgr24", pf24bit, 24, 0, 54},
                      RoundTripCase{"bgrx32", pf32bit, 32, 0, 54},
                      RoundTripCase{"device", pfDevice, 32, 0, 54}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BmpFile, AnEmptyBitmapRoundTrips) {
  const TBitmap back = Load(TBitmap().SaveToBytes());
  EXPECT_TRUE(back.Empty());
}

struct ReadCase {
  const char* name;
  BmpLayout layout;
  TPixelFormat format;
  TColor topLeft;
  TColor bottomRight;
};
void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.name;
}

// Rows of 2 x 2 pictures as they lie in the file.
std::string Rows(std::initializer_list<std::initializer_list<int>> rows) {
  std::string s;
  for (auto row : rows)
    for (int b : row) s.push_back(static_cast<char>(b));
  return s;
}

class BmpVariants : public ::testing::TestWithParam<ReadCase> {};

TEST_P(BmpVariants, ReadAsOtherProgramsWriteThem) {
  const auto& c = GetParam();
  const TBitmap bmp = Load(MakeBmp(c.layout));
  EXPECT_EQ(bmp.PixelFormat(), c.format);
  EXPECT_EQ(bmp.Width(), 2);
  EXPECT_EQ(bmp.Height(), 2);
  EXPECT_EQ(bmp.Pixel(0, 0), c.topLeft);
  EXPECT_EQ(bmp.Pixel(1, 1), c.bottomRight);
}

// Each file holds red at the top left and blue at the bottom right (or the colours named).
INSTANTIATE_TEST_SUITE_P(
    Graphics, BmpVariants,
    ::testing::Values(
        ReadCase{"bottom_up_24",
                 {.pixels = Rows({{0, 0, 0, 255, 0, 0, 0, 0}, {0, 0, 255, 0, 0, 0, 0, 0}})},
                 pf24bit,
                 clRed,
                 clBlue},
        ReadCase{"top_down_24",
                 {.height = -2,
                  .pixels = Rows({{0, 0, 255, 0, 0, 0, 0, 0}, {0, 0, 0, 255, 0, 0, 0, 0}})},
                 pf24bit,
                 clRed,
                 clBlue},
        ReadCase{"bitfields_565",
                 {.bpp = 16,
                  .compression = 3,
                  .masks = {0xF800, 0x07E0, 0x001F},
                  .pixels = Rows({{0, 0, 0x1F, 0}, {0, 0xF8, 0, 0}})},
                 pf16bit,
                 clRed,
                 clBlue},
        ReadCase{"bitfields_444_converted",
                 {.bpp = 16,
                  .compression = 3,
                  .masks = {0x0F00, 0x00F0, 0x000F},
                  .pixels = Rows({{0, 0, 0x0F, 0}, {0, 0x0F, 0, 0}})},
                 pf32bit,
                 clRed,
                 clBlue},
        ReadCase{"bitfields_32_rgbx",
                 {.bpp = 32,
                  .compression = 3,
                  .masks = {0xFF000000, 0x00FF0000, 0x0000FF00},
                  .pixels = Rows({{0, 0, 0, 0, 0, 0xFF, 0, 0}, {0, 0, 0, 0xFF, 0, 0, 0, 0}})},
                 pf32bit,
                 clRed,
                 clBlue},
        ReadCase{"v5_header_masks_inside",
                 {.headerSize = 124,
                  .bpp = 16,
                  .compression = 3,
                  .masks = {0xF800, 0x07E0, 0x001F},
                  .pixels = Rows({{0, 0, 0x1F, 0}, {0, 0xF8, 0, 0}})},
                 pf16bit,
                 clRed,
                 clBlue},
        ReadCase{"core_header_palette_of_triples",
                 {.headerSize = 12,
                  .bpp = 1,
                  .palette = {0x0000FF, 0xFF0000},
                  .pixels = Rows({{0x00, 0, 0, 0}, {0x80, 0, 0, 0}})},
                 pf1bit,
                 clRed,
                 clBlue},
        ReadCase{"short_palette_padded_black",
                 {.bpp = 8,
                  .colorsUsed = 2,
                  .palette = {0xFF0000, 0x00FF00},
                  .pixels = Rows({{0, 7, 0, 0}, {1, 0, 0, 0}})},
                 pf8bit,
                 clLime,
                 clBlack}),
    [](const auto& info) { return std::string(info.param.name); });

struct DamageCase {
  const char* name;
  std::string bytes;
  const char* message;
};
void PrintTo(const DamageCase& c, std::ostream* os) {
  *os << c.name;
}

BmpLayout Good() {
  return BmpLayout{.pixels = std::string(16, '\0')};
}
std::string With(std::string file, std::size_t at, std::uint32_t value, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return file;
}

class BmpDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(BmpDamage, RaisesNamingWhatIsWrongAndKeepsTheBitmap) {
  const auto& c = GetParam();
  TBitmap bmp(1, 1, pf24bit);
  bmp.SetPixel(0, 0, clAqua);
  try {
    bmp.LoadFromBytes(c.bytes.data(), c.bytes.size());
    FAIL() << "no exception";
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), c.message);
  }
  EXPECT_EQ(bmp.Width(), 1);
  EXPECT_EQ(bmp.Pixel(0, 0), clAqua);
}

const std::string kGood = MakeBmp(Good());

INSTANTIATE_TEST_SUITE_P(
    Graphics, BmpDamage,
    ::testing::Values(
        DamageCase{"empty", "",
                   "BMP file: the file header needs 18 bytes at offset 0, the file has 0"},
        DamageCase{"png_signature", "\x89PNG\r\n\x1a\n0123456789",
                   "BMP file: expected the signature \"BM\", found bytes 137 80"},
        DamageCase{"header_cut", kGood.substr(0, 40),
                   "BMP file: the bitmap header needs 40 bytes at offset 14, the file has 40"},
        DamageCase{
            "unknown_header_size", With(kGood, 14, 64),
            "BMP file: unsupported bitmap header size 64 (expected 12, 40, 52, 56, 108 or 124)"},
        DamageCase{"two_planes", With(kGood, 26, 2, 2),
                   "BMP file: expected 1 colour plane, found 2"},
        DamageCase{"seven_bits", With(kGood, 28, 7, 2),
                   "BMP file: unsupported bits per pixel 7 (expected 1, 4, 8, 16, 24 or 32)"},
        DamageCase{"rle8", With(With(kGood, 28, 8, 2), 30, 1),
                   "BMP file: compression 1 (RLE8) is not supported"},
        DamageCase{"bitfields_at_24_bits", With(kGood, 30, 3),
                   "BMP file: bit-field compression needs 16 or 32 bits per pixel, found 24"},
        DamageCase{"negative_width", With(kGood, 18, static_cast<std::uint32_t>(-2)),
                   "BMP file: negative width -2"},
        DamageCase{"huge_height", With(kGood, 22, 0x7FFFFFFF),
                   "BMP file: size 2 x 2147483647 is larger than 65536 x 65536"},
        DamageCase{"most_negative_height", With(kGood, 22, 0x80000000),
                   "BMP file: size 2 x 2147483648 is larger than 65536 x 65536"},
        DamageCase{"palette_too_long",
                   MakeBmp({.bpp = 1, .colorsUsed = 3, .pixels = std::string(8, '\0')}),
                   "BMP file: colour table of 3 entries, at most 2 for 1 bits per pixel"},
        DamageCase{"palette_cut", MakeBmp({.bpp = 8, .colorsUsed = 200, .palette = {0, 0}}),
                   "BMP file: the colour table needs 800 bytes at offset 54, the file has 62"},
        DamageCase{"masks_cut", MakeBmp({.bpp = 16, .compression = 3}),
                   "BMP file: the colour mask table needs 12 bytes at offset 54, the file has 54"},
        DamageCase{"pixels_cut", kGood.substr(0, kGood.size() - 1),
                   "BMP file: the pixel data needs 16 bytes at offset 54, the file has 69"},
        DamageCase{"pixel_offset_past_end", With(kGood, 10, 0xFFFFFFF0),
                   "BMP file: the pixel data needs 16 bytes at offset 4294967280, the file has 70"},
        DamageCase{"pixel_offset_in_headers", With(kGood, 10, 20),
                   "BMP file: pixel data offset 20 lies inside the headers"},
        DamageCase{"scattered_mask",
                   MakeBmp({.bpp = 16,
                            .compression = 3,
                            .masks = {0x5500, 0x00F0, 0x000F},
                            .pixels = std::string(8, '\0')}),
                   "BMP file: red mask 0x5500 is not one run of bits"}),
    [](const auto& info) { return std::string(info.param.name); });

class BmpFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("nv_bmp_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

TEST_F(BmpFiles, FileErrorsNameTheFile) {
  TBitmap bmp;
  try {
    bmp.LoadFromFile(Path("missing.bmp"));
    FAIL() << "no exception";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(),
              "Cannot open file \"" + Path("missing.bmp") + "\": No such file or directory");
  }
  std::ofstream(Path("cut.bmp"), std::ios::binary) << kGood.substr(0, 30);
  try {
    bmp.LoadFromFile(Path("cut.bmp"));
    FAIL() << "no exception";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(),
              "BMP file: the bitmap header needs 40 bytes at offset 14, the file has 30 (" +
                  Path("cut.bmp") + ")");
  }
}

// Decodes a picture with the desktop's own image loader, as an image viewer would, into
// rows of RGB. Empty when the loader is not installed.
std::vector<TColor> DecodeElsewhere(const std::string& file, int* width, int* height) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(
      ::popen(("gdk-pixbuf-csource --raw --struct '" + file + "' 2>&1").c_str(), "r"), ::pclose);
  std::string out;
  char buf[4096];
  for (std::size_t n; pipe && (n = std::fread(buf, 1, sizeof buf, pipe.get())) > 0;)
    out.append(buf, n);
  std::vector<TColor> pixels;
  std::istringstream lines(out);
  std::string line;
  unsigned type = 0;
  int stride = 0;
  std::string data;
  bool inData = false;
  while (std::getline(lines, line)) {
    if (line.find("/* pixdata_type */") != std::string::npos) type = std::stoul(line, nullptr, 16);
    if (line.find("/* rowstride */") != std::string::npos) stride = std::stoi(line);
    if (line.find("/* width */") != std::string::npos) *width = std::stoi(line);
    if (line.find("/* height */") != std::string::npos) *height = std::stoi(line);
    if (line.find("/* pixel_data: */") != std::string::npos)
      inData = true;
    else if (inData) {
      // C string literals with octal escapes, concatenated.
      for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '"') continue;
        for (++i; i < line.size() && line[i] != '"'; ++i) {
          if (line[i] != '\\') {
            data.push_back(line[i]);
            continue;
          }
          ++i;
          if (line[i] >= '0' && line[i] <= '7') {
            int v = 0;
            for (int k = 0; k < 3 && line[i] >= '0' && line[i] <= '7'; ++k, ++i)
              v = v * 8 + (line[i] - '0');
            --i;
            data.push_back(static_cast<char>(v));
          } else {
            data.push_back(line[i]);
          }
        }
      }
    }
  }
  const int channels = (type & 0xFF) == 2 ? 4 : 3;
  for (int y = 0; y < *height; ++y)
    for (int x = 0; x < *width; ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * stride + x * channels;
      if (at + 2 >= data.size()) return {};
      pixels.push_back(RGB(data[at], data[at + 1], data[at + 2]));
    }
  return pixels;
}

TEST_F(BmpFiles, OtherProgramsOpenWhatWeWrite) {
  if (std::system("command -v gdk-pixbuf-csource >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "gdk-pixbuf-csource (the desktop image loader) is not installed";
  for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    const TBitmap bmp = Sample(f);
    const std::string file = Path("sample.bmp");
    bmp.SaveToFile(file);
    int w = 0, h = 0;
    const std::vector<TColor> seen = DecodeElsewhere(file, &w, &h);
    ASSERT_EQ(w, bmp.Width()) << "format " << f;
    ASSERT_EQ(h, bmp.Height()) << "format " << f;
    ASSERT_EQ(seen.size(), 15u) << "format " << f;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const TColor ours = bmp.Pixel(x, y);
        const TColor theirs = seen[static_cast<std::size_t>(y) * w + x];
        // Loaders widen 5- and 6-bit channels in their own way; allow that rounding.
        const int tolerance = (f == pf15bit || f == pf16bit) ? 8 : 0;
        EXPECT_NEAR(GetRValue(theirs), GetRValue(ours), tolerance) << f << " " << x << "," << y;
        EXPECT_NEAR(GetGValue(theirs), GetGValue(ours), tolerance) << f << " " << x << "," << y;
        EXPECT_NEAR(GetBValue(theirs), GetBValue(ours), tolerance) << f << " " << x << "," << y;
      }
  }
}

}  // namespace
}  // namespace nv
