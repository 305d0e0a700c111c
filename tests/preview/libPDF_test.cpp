#include "preview/libPDF.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

using namespace std::string_literals;

namespace nv {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::string bytes(in ? static_cast<std::size_t>(in.tellg()) : 0, '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

bool HaveProgram(const char* name) {
  return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

// Output and exit status of a shell command.
std::string RunCommand(const std::string& command, int* status) {
  std::string out;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  char buf[4096];
  for (std::size_t n; pipe && (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
  const int rc = pipe ? ::pclose(pipe) : -1;
  *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

// A picture whose pixels all differ, in any pixel format.
TBitmap Pattern(int w, int h, TPixelFormat format) {
  TBitmap bmp(w, h, format);
  const std::vector<TColor> pal = bmp.Palette();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      bmp.SetPixel(x, y,
                   pal.empty() ? RGB((x * 7) & 255, (y * 5) & 255, (x * y + 90) & 255)
                               : pal[static_cast<std::size_t>(x + 3 * y) % pal.size()]);
  return bmp;
}

std::string CmLine(const std::string& pdf) {
  const std::size_t end = pdf.find(" cm\r\n");
  if (end == std::string::npos) return "(no cm line)";
  const std::size_t start = pdf.rfind("\r\n", end) + 2;
  return pdf.substr(start, end + 3 - start);
}

class PdfWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    // One folder per test; parameterised test names carry a slash.
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '_');
    dir_ = fs::temp_directory_path() / ("nv_pdf_" + std::to_string(::getpid()) + "_" + name);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // The module's page export: the page is the bitmap's size, the bitmap at (0, 0).
  std::string Export(const TBitmap& bmp, const char* name = "page.pdf") {
    TPrintPDF pdf;
    pdf.SetTITLE("");
    pdf.SetCompress(true);
    pdf.SetPageWidth(bmp.Width());
    pdf.SetPageHeight(bmp.Height());
    pdf.SetFileName((dir_ / name).string());
    pdf.BeginDoc();
    pdf.DrawBitmap(0, 0, bmp);
    pdf.EndDoc();
    return ReadFile(dir_ / name);
  }

  fs::path dir_;
};

// The fixed date of the golden file stands where the writer puts the current time.
std::string WithoutDate(std::string pdf) {
  const std::string key = "/CreationDate (D:";
  const auto at = pdf.find(key);
  if (at == std::string::npos) return pdf;
  for (std::size_t i = at + key.size(); i < at + key.size() + 14; ++i) {
    EXPECT_TRUE(pdf[i] >= '0' && pdf[i] <= '9') << "creation date digit " << i;
    pdf[i] = '0';
  }
  EXPECT_EQ(pdf[at + key.size() + 14], ')');
  return pdf;
}

std::string Lines(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) s += std::string(l) + "\r\n";
  return s;
}

TEST_F(PdfWriter, ModuleExportIsTheDocumentedFileByteForByte) {
  // Three pixels a row: 9 bytes, not a multiple of 4; letters keep the stream readable.
  TBitmap bmp(3, 2, pf24bit);
  const char* rows[2] = {"abcdefghi", "jklmnopqr"};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      bmp.SetPixel(x, y, RGB(rows[y][3 * x], rows[y][3 * x + 1], rows[y][3 * x + 2]));
  std::string expected = Lines({"%PDF-1.4",
                                "1 0 obj",
                                "<<",
                                "/Producer (Voucher page export)",
                                "/Author (Voucher page export)",
                                "/CreationDate (D:00000000000000)",
                                "/Creator (Voucher page export)",
                                "/Keywords ()",
                                "/Subject ()",
                                "/Title ()",
                                "/ModDate ()",
                                ">>",
                                "endobj",
                                "2 0 obj",
                                "<< /Length 3 0 R",
                                " >>",
                                "stream",
                                "q",
                                "3 0 0 2 0 0 cm",
                                "/Im1 Do",
                                "Q",
                                "endstream",
                                "endobj",
                                "3 0 obj",
                                "31",
                                "endobj",
                                "4 0 obj",
                                "<< /Type /Outlines",
                                "/Count 0",
                                ">>",
                                "endobj"});
  const char* fonts[14] = {
      "Helvetica",   "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
      "Courier",     "Courier-Bold",   "Courier-Oblique",   "Courier-BoldOblique",
      "Times-Roman", "Times-Bold",     "Times-Italic",      "Times-BoldItalic",
      "Symbol",      "ZapfDingbats"};
  for (int i = 0; i < 14; ++i)
    expected += std::to_string(5 + i) + " 0 obj\r\n<< /Type /Font\r\n/Subtype /Type1\r\n/Name /F" +
                std::to_string(i + 1) + "\r\n/BaseFont /" + fonts[i] +
                "\r\n/Encoding /WinAnsiEncoding\r\n>>\r\nendobj\r\n";
  expected += Lines({"19 0 obj", "<< /Type /Pages", "/Kids [", "22 0 R", "]", "/Count 1", ">>",
                     "endobj", "20 0 obj", "<< /ProcSet [ /PDF /Text /ImageC]", "/XObject << ",
                     "/Im1 21 0 R", ">>", "/Font << "});
  for (int i = 0; i < 14; ++i)
    expected += "/F" + std::to_string(i + 1) + " " + std::to_string(5 + i) + " 0 R \r\n";
  expected += Lines({">>",
                     ">>",
                     "endobj",
                     "21 0 obj",
                     "<< /Type /XObject",
                     "/Subtype /Image",
                     "/Width 3",
                     "/Height 2",
                     "/ColorSpace /DeviceRGB",
                     "/BitsPerComponent 8",
                     "/Length 18",
                     "/Name /Im1",
                     ">>",
                     "stream",
                     "abcdefghijklmnopqr",
                     "endstream",
                     "endobj",
                     "22 0 obj",
                     "<< /Type /Page",
                     "/Parent 19 0 R",
                     "/MediaBox [ 0 0 3 2]",
                     "/Contents 2 0 R",
                     "/Resources 20 0 R",
                     ">>",
                     "endobj",
                     "23 0 obj",
                     "<< /Type /Catalog",
                     "/Pages 19 0 R",
                     "/Outlines 4 0 R",
                     ">>",
                     "endobj",
                     "xref",
                     "0 24",
                     "0000000000 65535 f",
                     "0000000010 00000 n",
                     "0000000216 00000 n",
                     "0000000306 00000 n",
                     "0000000327 00000 n",
                     "0000000378 00000 n",
                     "0000000493 00000 n",
                     "0000000613 00000 n",
                     "0000000736 00000 n",
                     "0000000863 00000 n",
                     "0000000976 00000 n",
                     "0000001095 00000 n",
                     "0000001217 00000 n",
                     "0000001343 00000 n",
                     "0000001461 00000 n",
                     "0000001579 00000 n",
                     "0000001699 00000 n",
                     "0000001823 00000 n",
                     "0000001937 00000 n",
                     "0000002057 00000 n",
                     "0000002126 00000 n",
                     "0000002411 00000 n",
                     "0000002598 00000 n",
                     "0000002710 00000 n",
                     "trailer",
                     "<< /Size 24",
                     "/Root 23 0 R",
                     "/Info 1 0 R",
                     ">>",
                     "startxref",
                     "2783",
                     "%%EOF"});
  EXPECT_EQ(WithoutDate(Export(bmp)), expected);
}

// What a reader relies on: every xref offset, every length, the trailer.
void CheckStructure(const std::string& pdf, int images) {
  ASSERT_EQ(pdf.substr(0, 10), "%PDF-1.4\r\n");
  const std::string eof = "\r\n%%EOF\r\n";
  ASSERT_GE(pdf.size(), eof.size());
  ASSERT_EQ(pdf.compare(pdf.size() - eof.size(), eof.size(), eof), 0) << "no %%EOF at the end";
  const std::size_t startxref = pdf.rfind("\r\nstartxref\r\n");
  ASSERT_NE(startxref, std::string::npos);
  const std::size_t xref = std::stoul(pdf.substr(startxref + 13));
  ASSERT_EQ(pdf.compare(xref, 6, "xref\r\n"), 0) << "startxref " << xref;
  const int objects = 23 + (images - 1);
  const std::string count = "0 " + std::to_string(objects + 1) + "\r\n";
  ASSERT_EQ(pdf.compare(xref + 6, count.size(), count), 0);
  std::size_t at = xref + 6 + count.size();
  ASSERT_EQ(pdf.compare(at, 20, "0000000000 65535 f\r\n"), 0);
  for (int i = 1; i <= objects; ++i) {
    at += 20;
    const std::string entry = pdf.substr(at, 20);
    ASSERT_EQ(entry.substr(10), " 00000 n\r\n") << "entry " << i;
    const std::size_t offset = std::stoul(entry.substr(0, 10));
    const std::string head = std::to_string(i) + " 0 obj\r\n";
    EXPECT_EQ(pdf.compare(offset, head.size(), head), 0) << "object " << i << " at " << offset;
  }
  EXPECT_EQ(pdf.compare(at + 20, 9, "trailer\r\n"), 0);
  const std::string trailer = pdf.substr(at + 29);
  EXPECT_NE(trailer.find("<< /Size " + std::to_string(objects + 1) + "\r\n"), std::string::npos);
  const std::string root = std::to_string(objects);
  EXPECT_NE(trailer.find("/Root " + root + " 0 R\r\n"), std::string::npos);
  EXPECT_NE(pdf.find(root + " 0 obj\r\n<< /Type /Catalog\r\n"), std::string::npos);

  // Content stream: object 2's data has exactly the length object 3 states.
  const std::string open = "2 0 obj\r\n<< /Length 3 0 R\r\n >>\r\nstream\r\n";
  const std::size_t s2 = pdf.find(open);
  ASSERT_NE(s2, std::string::npos);
  const std::size_t data = s2 + open.size();
  const std::size_t end = pdf.find("endstream\r\nendobj\r\n3 0 obj\r\n", data);
  ASSERT_NE(end, std::string::npos);
  const std::string length = pdf.substr(end + 28, pdf.find("\r\n", end + 28) - end - 28);
  EXPECT_EQ(std::to_string(end - data), length);
}

struct RenderCase {
  const char* name;
  int width;
  int height;
  TPixelFormat format;
};
void PrintTo(const RenderCase& c, std::ostream* os) {
  *os << c.name;
}

class PdfRendering : public PdfWriter, public ::testing::WithParamInterface<RenderCase> {};

TEST_P(PdfRendering, ReadersAcceptTheFileAndShowTheBitmap) {
  const auto& c = GetParam();
  const TBitmap bmp = Pattern(c.width, c.height, c.format);
  const std::string pdf = Export(bmp);
  CheckStructure(pdf, 1);
  const std::string image = "/Length " + std::to_string(c.width * 3 * c.height) + "\r\n/Name /Im1";
  EXPECT_NE(pdf.find(image), std::string::npos) << "image length W x 3 x H";

  const std::string file = (dir_ / "page.pdf").string();
  if (!HaveProgram("qpdf")) GTEST_SKIP() << "qpdf is not installed; cannot check the file";
  int status = 0;
  const std::string check = RunCommand("qpdf --check '" + file + "'", &status);
  EXPECT_EQ(status, 0) << check;
  EXPECT_NE(check.find("No syntax or stream encoding errors found"), std::string::npos) << check;

  if (!HaveProgram("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed; cannot render";
  // 288 dots per inch: each pixel of the bitmap becomes a block of 4 x 4; from four times
  // up the renderer stops interpolating, so each block's centre shows the pixel's own colour.
  constexpr int kBlock = 4;
  const std::string out = (dir_ / "render").string();
  const std::string rendered =
      RunCommand("pdftoppm -r 288 -singlefile '" + file + "' '" + out + "'", &status);
  ASSERT_EQ(status, 0) << rendered;
  const std::string ppm = ReadFile(out + ".ppm");
  const int w = c.width * kBlock;
  const int h = c.height * kBlock;
  const std::string head = "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
  ASSERT_EQ(ppm.substr(0, head.size()), head);
  ASSERT_EQ(ppm.size(), head.size() + static_cast<std::size_t>(w) * h * 3);
  int wrong = 0;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const std::size_t at =
          head.size() +
          (static_cast<std::size_t>(y * kBlock + kBlock / 2) * w + x * kBlock + kBlock / 2) * 3;
      const TColor seen = RGB(ppm[at], ppm[at + 1], ppm[at + 2]);
      if (seen != bmp.Pixel(x, y) && ++wrong <= 5)
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << seen << " instead of "
                      << bmp.Pixel(x, y);
    }
  EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Preview, PdfRendering,
                         ::testing::Values(RenderCase{"letter_at_96dpi_16bit", 816, 1056, pf16bit},
                                           RenderCase{"half_page_voucher", 816, 528, pf24bit},
                                           RenderCase{"odd_row_length_indexed", 37, 23, pf8bit},
                                           RenderCase{"mono", 20, 9, pf1bit}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ScaleCase {
  const char* name;
  int bitmapWidth, bitmapHeight;
  int pageWidth, pageHeight;
  int dpi;
  int x, y;
  const char* cm;
};
void PrintTo(const ScaleCase& c, std::ostream* os) {
  *os << c.name;
}

class PdfScale : public PdfWriter, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(PdfScale, PlacesTheBitmap) {
  const auto& c = GetParam();
  TPrintPDF pdf;
  pdf.SetPageWidth(c.pageWidth);
  pdf.SetPageHeight(c.pageHeight);
  pdf.SetScreenResolution(c.dpi, c.dpi);
  pdf.SetFileName((dir_ / "scale.pdf").string());
  pdf.BeginDoc();
  pdf.DrawBitmap(c.x, c.y, TBitmap(c.bitmapWidth, c.bitmapHeight, pf1bit));
  pdf.EndDoc();
  EXPECT_EQ(CmLine(ReadFile(dir_ / "scale.pdf")), c.cm);
}

INSTANTIATE_TEST_SUITE_P(
    Preview, PdfScale,
    ::testing::Values(
        ScaleCase{"page_sized_768x1020", 768, 1020, 768, 1020, 96, 0, 0, "768 0 0 1020 0 0 cm"},
        // The screen rule would draw these 820 x 1236 at -113, 867 x 1093 and 816 x 273.
        ScaleCase{"page_sized_794x1123", 794, 1123, 794, 1123, 96, 0, 0, "794 0 0 1123 0 0 cm"},
        ScaleCase{"page_sized_letter", 816, 1056, 816, 1056, 96, 0, 0, "816 0 0 1056 0 0 cm"},
        ScaleCase{"page_sized_half_page", 816, 528, 816, 528, 96, 0, 0, "816 0 0 528 0 0 cm"},
        ScaleCase{"screen_rule_8_by_10_625_inches", 768, 1020, 612, 792, 96, 0, 0,
                  "612 0 0 792 0 0 cm"},
        ScaleCase{"screen_rule_past_the_bottom", 794, 1123, 612, 792, 96, 0, 0,
                  "632 0 0 871 0 -79 cm"},
        ScaleCase{"screen_rule_offset_120dpi", 100, 50, 612, 792, 120, 10, 20,
                  "63 0 0 31 10 741 cm"},
        ScaleCase{"one_side_page_sized_is_not_enough", 816, 1056, 816, 792, 96, 0, 0,
                  "867 0 0 819 0 -27 cm"}),
    [](const auto& info) { return std::string(info.param.name); });

struct InfoCase {
  const char* name;
  std::string text;
  std::string written;  // between the parentheses
  const char* shown;    // as a reader shows the title; null when not plain ASCII
};
void PrintTo(const InfoCase& c, std::ostream* os) {
  *os << c.name;
}

class PdfInfo : public PdfWriter, public ::testing::WithParamInterface<InfoCase> {};

TEST_P(PdfInfo, TextsAreWrittenAsLiteralStrings) {
  const auto& c = GetParam();
  TPrintPDF pdf;
  pdf.SetTITLE(c.text);
  pdf.SetAuthor(c.text);
  pdf.SetCreator(c.text);
  pdf.SetProducer(c.text);
  pdf.SetKeywords(c.text);
  pdf.SetSubject(c.text);
  const fs::path file = dir_ / "info.pdf";
  pdf.SetFileName(file.string());
  pdf.BeginDoc();
  pdf.DrawBitmap(0, 0, TBitmap(2, 2, pf24bit));
  pdf.EndDoc();
  const std::string bytes = ReadFile(file);
  for (const char* key : {"/Producer", "/Author", "/Creator", "/Keywords", "/Subject", "/Title"})
    EXPECT_NE(bytes.find(std::string(key) + " (" + c.written + ")\r\n"), std::string::npos) << key;
  CheckStructure(bytes, 1);
  if (c.shown == nullptr) return;
  if (!HaveProgram("pdfinfo"))
    GTEST_SKIP() << "pdfinfo is not installed; cannot read the title back";
  int status = 0;
  const std::string info = RunCommand("pdfinfo '" + file.string() + "'", &status);
  ASSERT_EQ(status, 0) << info;
  EXPECT_NE(info.find(std::string("Title:           ") + c.shown + "\n"), std::string::npos)
      << info;
  EXPECT_NE(info.find(std::string("Author:          ") + c.shown + "\n"), std::string::npos)
      << info;
}

INSTANTIATE_TEST_SUITE_P(
    Preview, PdfInfo,
    ::testing::Values(
        InfoCase{"plain_text_unchanged", "Line clearance 2026/12", "Line clearance 2026/12",
                 "Line clearance 2026/12"},
        InfoCase{"parentheses", "Total (draft)", "Total \\(draft\\)", "Total (draft)"},
        InfoCase{"unbalanced_parenthesis", "a) b", "a\\) b", "a) b"},
        InfoCase{"backslash", "C:\\Vouchers\\", "C:\\\\Vouchers\\\\", "C:\\Vouchers\\"},
        InfoCase{"carriage_return", "a\rb", "a\\rb", nullptr},
        // A double-byte text whose trail byte is a backslash stays byte for byte.
        InfoCase{"ansi_bytes_as_given", "\xB1\xA8\xB1\xED\x81\x5C", "\xB1\xA8\xB1\xED\x81\\\\",
                 nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PdfWriter, SettingsStartWithTheirDefaults) {
  TPrintPDF pdf;
  EXPECT_EQ(pdf.FileName(), "");
  EXPECT_EQ(pdf.TITLE(), "");
  EXPECT_EQ(pdf.PageNumber(), 0);
  EXPECT_EQ(pdf.PageWidth(), 612);
  EXPECT_EQ(pdf.PageHeight(), 792);
  EXPECT_EQ(pdf.LineWidth(), 1);
  EXPECT_EQ(pdf.Author(), "Voucher page export");
  EXPECT_EQ(pdf.Creator(), pdf.Author());
  EXPECT_EQ(pdf.Producer(), pdf.Author());
  EXPECT_EQ(pdf.Keywords(), "");
  EXPECT_EQ(pdf.Subject(), "");
  EXPECT_EQ(pdf.Font().FontIndex(), 4);
  EXPECT_EQ(pdf.Font().FontSize(), 12);
  EXPECT_FALSE(pdf.Compress());
  EXPECT_EQ(pdf.ScreenDotsPerInchX(), 96);
  EXPECT_THROW(pdf.SetScreenResolution(0, 96), EInvalidGraphicOperation);
  pdf.SetFileName((dir_ / "a.pdf").string());
  pdf.BeginDoc();
  EXPECT_EQ(pdf.PageNumber(), 1);
}

TEST_F(PdfWriter, SecondBeginDocStartsOverAndCallsOutOfOrderRaise) {
  TPrintPDF pdf;
  try {
    pdf.DrawBitmap(0, 0, TBitmap(1, 1));
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "TPrintPDF.DrawBitmap: no document is open (BeginDoc first)");
  }
  pdf.SetFileName((dir_ / "again.pdf").string());
  pdf.BeginDoc();
  pdf.DrawBitmap(0, 0, TBitmap(4, 4));
  pdf.DrawBitmap(0, 0, TBitmap(4, 4));
  pdf.BeginDoc();
  pdf.DrawBitmap(0, 0, TBitmap(4, 4));
  pdf.EndDoc();
  const std::string bytes = ReadFile(dir_ / "again.pdf");
  CheckStructure(bytes, 1);
  EXPECT_EQ(bytes.find("/Im2"), std::string::npos);
  EXPECT_THROW(pdf.EndDoc(), Exception) << "the document was closed by the first EndDoc";
}

TEST_F(PdfWriter, SeveralBitmapsGetOneImageObjectEach) {
  TPrintPDF pdf;
  pdf.SetFileName((dir_ / "two.pdf").string());
  pdf.BeginDoc();
  pdf.DrawBitmap(0, 0, Pattern(5, 3, pf24bit));
  pdf.DrawBitmap(100, 200, Pattern(7, 2, pf15bit));
  pdf.EndDoc();
  const std::string bytes = ReadFile(dir_ / "two.pdf");
  CheckStructure(bytes, 2);
  EXPECT_NE(bytes.find("/Im1 21 0 R\r\n/Im2 22 0 R\r\n>>"), std::string::npos);
  EXPECT_NE(bytes.find("/Kids [\r\n23 0 R\r\n]"), std::string::npos);
  EXPECT_NE(bytes.find("Q\r\nq\r\n"), std::string::npos);
  if (!HaveProgram("qpdf")) GTEST_SKIP() << "qpdf is not installed; cannot check the file";
  int status = 0;
  const std::string check =
      RunCommand("qpdf --check '" + (dir_ / "two.pdf").string() + "'", &status);
  EXPECT_EQ(status, 0) << check;
}

TEST_F(PdfWriter, ImageDataIsTheBitmapAsRgbInEveryPixelFormat) {
  for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfDevice}) {
    const TBitmap bmp = Pattern(5, 3, f);
    const std::string pdf = Export(bmp);
    const std::size_t at = pdf.find("/Name /Im1\r\n>>\r\nstream\r\n");
    ASSERT_NE(at, std::string::npos);
    const std::string data = pdf.substr(at + 24, 45);
    std::string expected;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) {
        const TColor c = bmp.Pixel(x, y);
        expected += {static_cast<char>(GetRValue(c)), static_cast<char>(GetGValue(c)),
                     static_cast<char>(GetBValue(c))};
      }
    EXPECT_EQ(data, expected) << "format " << f;
    EXPECT_EQ(pdf.compare(at + 24 + 45, 11, "\r\nendstream"), 0) << "format " << f;
  }
}

// Exports in one folder, as the module runs them: nothing but the PDF files may appear, and a
// failed export leaves nothing behind.
TEST_F(PdfWriter, ImagesNeverTouchTheCurrentFolder) {
  const fs::path previous = fs::current_path();
  const fs::path work = dir_ / "current";
  fs::create_directories(work);
  fs::current_path(work);
  TPrintPDF first, second;
  first.SetFileName("first.pdf");
  second.SetFileName("second.pdf");
  first.BeginDoc();
  second.BeginDoc();
  TBitmap red(2, 1, pf24bit), blue(2, 1, pf24bit);
  red.Canvas().Brush().SetColor(clRed);
  red.Canvas().FillRect(Rect(0, 0, 2, 1));
  blue.Canvas().Brush().SetColor(clBlue);
  blue.Canvas().FillRect(Rect(0, 0, 2, 1));
  first.DrawBitmap(0, 0, red);
  second.DrawBitmap(0, 0, blue);
  first.EndDoc();
  second.EndDoc();

  TPrintPDF failing;
  failing.SetFileName((work / "no such folder" / "x.pdf").string());
  failing.BeginDoc();
  failing.DrawBitmap(0, 0, red);
  EXPECT_THROW(failing.EndDoc(), EFOpenError);

  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(work)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  const std::string firstPdf = ReadFile("first.pdf");
  const std::string secondPdf = ReadFile("second.pdf");
  fs::current_path(previous);
  EXPECT_EQ(names, (std::vector<std::string>{"first.pdf", "second.pdf"}));
  EXPECT_NE(firstPdf.find("stream\r\n\xFF\0\0\xFF\0\0\r\nendstream"s), std::string::npos);
  EXPECT_NE(secondPdf.find("stream\r\n\0\0\xFF\0\0\xFF\r\nendstream"s), std::string::npos);
}

}  // namespace
}  // namespace nv
