#include "platform/graphics/Metafile.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/graphics/PageFonts.h"
#include "platform/graphics/PageRaster.h"

namespace nv {
namespace {

TEmfFont Song(int height = -16) {
  TEmfFont font;
  font.Height = height;
  font.Charset = GB2312_CHARSET;
  font.Face = "宋体";
  return font;
}

// A background as captions and rulings use it: every kind of record the reader draws.
std::string Caption() {
  TEmfWriter emf(200, 100);
  std::uint32_t pen = emf.CreatePen(PS_SOLID, 2, 0x0000FF);
  std::uint32_t brush = emf.CreateBrush(BS_SOLID, 0x00FF00);
  std::uint32_t font = emf.CreateFont(Song());
  emf.SelectObject(pen);
  emf.SelectObject(brush);
  emf.Rectangle(10, 10, 60, 40);
  emf.SelectObject(kStockObject | BLACK_PEN);
  emf.MoveTo(0, 50);
  emf.LineTo(199, 50);
  emf.Polyline({{0, 60}, {100, 60}, {100, 99}});
  emf.Polygon({{150, 10}, {190, 10}, {190, 40}, {70000, 40}});
  emf.SaveDC();
  emf.SetTextColor(0xFF0000);
  emf.SetBkMode(TRANSPARENT);
  emf.SetTextAlign(TA_BASELINE);
  emf.SelectObject(font);
  emf.TextOutW(110, 80, "页次");
  emf.TextOutA(150, 80, "\xD2\xB3");  // 页 in GB code page 936
  emf.RestoreDC(-1);
  emf.StretchDIBits(70, 10, 20, 20, 2, 2, {0xFF0000, 0x0000FF, 0x00FF00, 0xFFFFFF});
  emf.DeleteObject(pen);
  return emf.Bytes();
}

TEST(MetafileRoundTrip, WrittenRecordsReadBack) {
  auto emf = TMetafile::FromBytes(Caption());
  EXPECT_EQ(emf->Dump(),
            "emf frame 0,0-5292,2646 device 960x960 mm 254x254 handles 4\n"
            "CREATEPEN 1 0 2 255\n"
            "CREATEBRUSHINDIRECT 2 0 65280 0\n"
            "EXTCREATEFONTINDIRECTW 3 \"宋体\" height -16 weight 400 charset 134\n"
            "SELECTOBJECT 1\n"
            "SELECTOBJECT 2\n"
            "RECTANGLE 10 10 60 40\n"
            "SELECTOBJECT -2147483641\n"
            "MOVETOEX 0 50\n"
            "LINETO 199 50\n"
            "POLYLINE16 0,60 100,60 100,99\n"
            "POLYGON 150,10 190,10 190,40 70000,40\n"
            "SAVEDC\n"
            "SETTEXTCOLOR 16711680\n"
            "SETBKMODE 1\n"
            "SETTEXTALIGN 24\n"
            "SELECTOBJECT 3\n"
            "EXTTEXTOUTW 110 80 0 \"页次\"\n"
            "EXTTEXTOUTA 150 80 0 \"页\" (ansi)\n"
            "RESTOREDC -1\n"
            "STRETCHDIBITS 70 10 20 20 0 0 2 2 13369376 bitmap 2x2\n"
            "DELETEOBJECT 1\n");
  std::vector<TMetafile::TText> texts = emf->Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].Utf8, "页");  // the ANSI text read in the font's GB code page
}

std::uint32_t At(const TRasterImage& image, int x, int y) {
  return image.Pixel(x, y);
}

TRasterImage Play(const std::string& bytes, int width, int height) {
  auto emf = TMetafile::FromBytes(bytes);
  TRasterImage image;
  image.Width = width;
  image.Height = height;
  image.Stride = width * 4;
  image.Bits.assign(image.Stride * height, 0xFF);
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      image.Bits.data(), CAIRO_FORMAT_RGB24, width, height, image.Stride);
  cairo_t* cr = cairo_create(surface);
  TTextPainter painter;
  emf->Play(cr, painter, 0, 0, width, height);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return image;
}

int DarkPixels(const TRasterImage& image, int left, int top, int right, int bottom,
               std::uint32_t mask) {
  int n = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) n += (At(image, x, y) & mask) < (mask & 0x808080);
  }
  return n;
}

TEST(MetafilePlay, ShapesTextAndBitmapsLandWhereTheRecordsSay) {
  TRasterImage image = Play(Caption(), 200, 100);
  EXPECT_EQ(At(image, 35, 25), 0x00FF00u);              // the brush fills the rectangle
  EXPECT_EQ(At(image, 10, 25), 0xFF0000u);              // framed by the 2-unit red pen (BGR 0000FF)
  EXPECT_EQ(At(image, 100, 50) & 0xFFFFFF, 0x000000u);  // the stock black pen's line
  EXPECT_EQ(At(image, 100, 80), 0x000000u);             // the polyline's vertical leg
  EXPECT_EQ(At(image, 75, 15), 0xFF0000u);  // the bitmap's top-left pixel, enlarged square
  EXPECT_EQ(At(image, 85, 25), 0xFFFFFFu);  // its bottom-right pixel
  // Blue text (BGR FF0000) on the baseline at y 80: the red channel drops, blue stays.
  EXPECT_GT(DarkPixels(image, 110, 64, 142, 82, 0xFF0000), 20);
  EXPECT_EQ(DarkPixels(image, 110, 84, 142, 99, 0xFF0000), 0);
}

TEST(MetafilePlay, WindowAndViewportScaleTheDrawing) {
  TEmfWriter emf(100, 100);
  emf.SetMapMode(MM_ANISOTROPIC);
  emf.SetWindowOrg(1000, 1000);
  emf.SetWindowExt(1000, 1000);
  emf.SetViewportExt(50, 100);
  emf.SelectObject(kStockObject | BLACK_BRUSH);
  emf.SelectObject(kStockObject | NULL_PEN);
  emf.Rectangle(1000, 1000, 1500, 1500);  // the left quarter-width, upper half
  TRasterImage image = Play(emf.Bytes(), 100, 100);
  EXPECT_EQ(At(image, 10, 10), 0x000000u);
  EXPECT_EQ(At(image, 24, 49), 0x000000u);
  EXPECT_EQ(At(image, 26, 10), 0xFFFFFFu);
  EXPECT_EQ(At(image, 10, 51), 0xFFFFFFu);
}

TEST(MetafilePlay, AStretchedPlayFillsTheDestination) {
  TEmfWriter emf(10, 10);
  emf.SelectObject(kStockObject | BLACK_BRUSH);
  emf.Rectangle(5, 5, 10, 10);
  TRasterImage image = Play(emf.Bytes(), 100, 40);
  EXPECT_EQ(At(image, 52, 22), 0x000000u);
  EXPECT_EQ(At(image, 98, 38), 0x000000u);
  EXPECT_EQ(At(image, 48, 18), 0xFFFFFFu);
}

// ----- damaged files: one fixture per failure mode, each with its message -----

std::uint32_t Get32(const std::string& s, std::size_t at) {
  std::uint32_t v;
  std::memcpy(&v, s.data() + at, 4);
  return v;
}
void Set32(std::string& s, std::size_t at, std::uint32_t v) {
  std::memcpy(&s[at], &v, 4);
}

// Offset of the first record of a type.
std::size_t Find(const std::string& s, std::uint32_t type) {
  for (std::size_t at = 0; at + 8 <= s.size(); at += Get32(s, at + 4)) {
    if (Get32(s, at) == type) return at;
  }
  return std::string::npos;
}

// A metafile holding one raw record between header and end.
std::string WithRecord(std::uint32_t type, const std::string& body) {
  std::string s = TEmfWriter(10, 10).Bytes();
  std::string r(8, '\0');
  Set32(r, 0, type);
  Set32(r, 4, static_cast<std::uint32_t>(8 + body.size()));
  r += body;
  return s.insert(108, r);
}

struct DamageCase {
  const char* name;
  std::string bytes;
  std::string message;
};

std::vector<DamageCase> DamageCases() {
  const std::string good = Caption();
  std::vector<DamageCase> cases;
  auto mutate = [&](const char* name, auto change, std::string message) {
    std::string s = good;
    change(s);
    cases.push_back({name, s, std::move(message)});
  };
  mutate(
      "too short", [](std::string& s) { s.resize(40); },
      "EMF: 40 bytes is too short for a header (at least 88 bytes expected)");
  mutate(
      "not a header first", [](std::string& s) { Set32(s, 0, 2); },
      "EMF: the first record is of type 2, the header (type 1) expected");
  mutate(
      "wrong signature", [](std::string& s) { Set32(s, 40, 0x12345678); },
      "EMF: signature $12345678, $464D4520 expected");
  mutate(
      "no handle table", [](std::string& s) { s[56] = s[57] = 0; },
      "EMF: the header names no handle table (0 handles)");
  mutate(
      "no reference device", [](std::string& s) { Set32(s, 80, 0); },
      "EMF: reference device 960 x 960 pixels, 0 x 254 mm: expected 1 to 1000000 of each");
  mutate(
      "cut before the end", [](std::string& s) { s.resize(s.size() - 20); },
      "EMF: no end-of-file record after 22 records");
  std::size_t pen = Find(good, EMR_CREATEPEN);
  mutate(
      "odd record size", [&](std::string& s) { Set32(s, pen + 4, 29); },
      "EMF: record 1 (CREATEPEN) at offset 108: size 29 is not a multiple of 4 of at least 8");
  mutate(
      "record past the end", [&](std::string& s) { Set32(s, pen + 4, 100000); },
      "EMF: record 1 (CREATEPEN) at offset 108: size 100000 runs past the end of the file (" +
          std::to_string(good.size()) + " bytes)");
  std::size_t text = Find(good, EMR_EXTTEXTOUTW);
  mutate(
      "text past the record", [&](std::string& s) { Set32(s, text + 44, 1000000); },
      "EMF: record 17 (EXTTEXTOUTW) at offset " + std::to_string(text) +
          ": text of 1000000 characters at offset 76 runs past the record (80 bytes)");
  std::size_t line = Find(good, EMR_POLYLINE16);
  mutate(
      "points past the record", [&](std::string& s) { Set32(s, line + 24, 1000000); },
      "EMF: record 10 (POLYLINE16) at offset " + std::to_string(line) +
          ": 1000000 points need 4000000 bytes, the record has 12");
  std::size_t select = Find(good, EMR_SELECTOBJECT);
  mutate(
      "object outside the table", [&](std::string& s) { Set32(s, select + 8, 9); },
      "EMF: record 4 (SELECTOBJECT) at offset " + std::to_string(select) +
          ": object 9 is outside the handle table (4 handles)");
  std::size_t dib = Find(good, EMR_STRETCHDIBITS);
  mutate(
      "huge bitmap", [&](std::string& s) { Set32(s, dib + 80 + 4, 100000); },
      "EMF: record 20 (STRETCHDIBITS) at offset " + std::to_string(dib) +
          ": bitmap 100000 x 2: expected 1 to 16384 pixels a side");
  mutate(
      "bitmap bits short", [&](std::string& s) { Set32(s, dib + 60, 8); },
      "EMF: record 20 (STRETCHDIBITS) at offset " + std::to_string(dib) +
          ": bitmap bits of 8 bytes, 16 expected");
  mutate(
      "bitmap header outside", [&](std::string& s) { Set32(s, dib + 48, 0xFFFFFFF0); },
      "EMF: record 20 (STRETCHDIBITS) at offset " + std::to_string(dib) +
          ": bitmap header of 40 bytes at offset 4294967280 runs past the record (136 "
          "bytes)");
  mutate(
      "compressed bitmap", [&](std::string& s) { Set32(s, dib + 80 + 16, 1); },
      "EMF: record 20 (STRETCHDIBITS) at offset " + std::to_string(dib) +
          ": bitmap of 24 bits a pixel, compression 1: only uncompressed 1, 4, 8, 16, 24 "
          "and 32 bits read");
  cases.push_back({"record too small for its type",
                   WithRecord(EMR_EXTTEXTOUTW, std::string(32, '\0')),
                   "EMF: record 1 (EXTTEXTOUTW) at offset 108: size 40, at least 76 expected"});
  std::string polys(24, '\0');  // bounds, then 2 polygons of 3 points that count 2 and 2
  Set32(polys, 16, 2);
  Set32(polys, 20, 3);
  polys += std::string("\2\0\0\0\2\0\0\0", 8) + std::string(12, '\0');
  cases.push_back({"poly-polygon counts disagree", WithRecord(EMR_POLYPOLYGON16, polys),
                   "EMF: record 1 (POLYPOLYGON16) at offset 108: polygon point counts add up to "
                   "4, the record says 3"});
  return cases;
}

TEST(MetafileDamage, EveryFailureModeIsRefusedWithItsMessage) {
  for (const DamageCase& c : DamageCases()) {
    SCOPED_TRACE(c.name);
    try {
      TMetafile::FromBytes(c.bytes);
      ADD_FAILURE() << "read without complaint";
    } catch (const EInvalidMetafile& e) {
      EXPECT_EQ(e.what(), c.message);
    }
  }
}

TEST(MetafileDamage, ADamagedBackgroundIsReportedAndSkipped) {
  std::string path =
      (std::filesystem::temp_directory_path() / "nv_damaged_background.emf").string();
  std::ofstream(path, std::ios::binary) << std::string("\1\0\0\0\x58\0\0\0", 8);
  std::string error;
  EXPECT_EQ(TMetafile::TryLoadFromFile(path, &error), nullptr);
  EXPECT_EQ(error, "EMF: 8 bytes is too short for a header (at least 88 bytes expected) (\"" +
                       path + "\")");
  EXPECT_EQ(TMetafile::TryLoadFromFile(path + ".missing", &error), nullptr);
  EXPECT_EQ(error, "EMF: cannot open \"" + path + ".missing\"");
  std::filesystem::remove(path);
}

TEST(MetafileRecords, UnknownRecordsAreReadOverNotDrawn) {
  std::string s = WithRecord(70, std::string(20, 'x'));  // a comment record
  EXPECT_TRUE(TMetafile::FromBytes(s)->Records().empty());
}

}  // namespace
}  // namespace nv
