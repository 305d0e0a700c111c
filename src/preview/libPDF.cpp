#include "preview/libPDF.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>

namespace nv {

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr int kStandardFontCount = 14;
constexpr std::array<std::string_view, kStandardFontCount> kStandardFonts = {
    "Helvetica",   "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
    "Courier",     "Courier-Bold",   "Courier-Oblique",   "Courier-BoldOblique",
    "Times-Roman", "Times-Bold",     "Times-Italic",      "Times-BoldItalic",
    "Symbol",      "ZapfDingbats"};
// "stream", "endstream" and "endobj" with their line ends: what the content stream object
// holds besides the drawing operators after the remembered size.
constexpr std::size_t kStreamFraming = 27;

void Line(std::string& buffer, std::string_view text) {
  buffer += text;
  buffer += kEol;
}

std::string Num(std::int64_t value) {
  return std::to_string(value);
}

std::string CreationDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
  return text;
}

// The bitmap as 24-bit RGB, rows top to bottom, no row padding.
void WriteRgb(char* out, const TBitmap& bitmap) {
  const int w = bitmap.Width();
  auto* to = reinterpret_cast<std::uint8_t*>(out);
  const TPixelFormat format = bitmap.PixelFormat();
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* row = bitmap.ScanLine(y);
    if (format == pf24bit || format == pf32bit || format == pfDevice) {
      const int step = format == pf24bit ? 3 : 4;
      for (int x = 0; x < w; ++x, row += step, to += 3) {
        to[0] = row[2];
        to[1] = row[1];
        to[2] = row[0];
      }
      continue;
    }
    // The page export's own format: widen 5 and 6 bits as TBitmap::Pixel does.
    if (format == pf15bit || format == pf16bit) {
      const bool six = format == pf16bit;
      for (int x = 0; x < w; ++x, row += 2, to += 3) {
        const unsigned v = row[0] | (row[1] << 8);
        const unsigned r = six ? (v >> 11) & 31 : (v >> 10) & 31;
        const unsigned g = six ? (v >> 5) & 63 : (v >> 5) & 31;
        const unsigned b = v & 31;
        to[0] = static_cast<std::uint8_t>((r << 3) | (r >> 2));
        to[1] = six ? static_cast<std::uint8_t>((g << 2) | (g >> 4))
                    : static_cast<std::uint8_t>((g << 3) | (g >> 2));
        to[2] = static_cast<std::uint8_t>((b << 3) | (b >> 2));
      }
      continue;
    }
    for (int x = 0; x < w; ++x, to += 3) {
      const TColor c = bitmap.Pixel(x, y);
      to[0] = GetRValue(c);
      to[1] = GetGValue(c);
      to[2] = GetBValue(c);
    }
  }
}

}  // namespace

std::string PdfLiteralText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '(':
        out += "\\(";
        break;
      case ')':
        out += "\\)";
        break;
      // A bare carriage return inside a string would be read back as a line feed.
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

TPrintPDF::TPrintPDF() = default;
TPrintPDF::~TPrintPDF() = default;

void TPrintPDF::SetScreenResolution(int dotsPerInchX, int dotsPerInchY) {
  if (dotsPerInchX < 1 || dotsPerInchY < 1)
    throw EInvalidGraphicOperation("TPrintPDF: screen resolution " + Num(dotsPerInchX) + " x " +
                                   Num(dotsPerInchY) + " dots per inch is not positive");
  dpiX_ = dotsPerInchX;
  dpiY_ = dotsPerInchY;
}

void TPrintPDF::AppendObject(const std::string& object) {
  output_ += object;
  total_ += object.size();
  offsets_.push_back(total_);
}

int TPrintPDF::NextObject(std::string& buffer) {
  ++objectCount_;
  Line(buffer, Num(objectCount_) + " 0 obj");
  return objectCount_;
}

void TPrintPDF::RequireOpen(const char* operation) const {
  if (!open_)
    throw Exception(std::string("TPrintPDF.") + operation +
                    ": no document is open (BeginDoc first)");
}

void TPrintPDF::BeginDoc() {
  pageNumber_ = 1;
  objectCount_ = 0;
  total_ = 0;
  output_.clear();
  pieces_.clear();
  object_.clear();
  content_.clear();
  images_.clear();
  offsets_.clear();
  contentObjects_.clear();
  fontObjects_.clear();
  open_ = true;

  std::string header;
  Line(header, "%PDF-1.4");
  AppendObject(header);

  std::string info;
  NextObject(info);
  Line(info, "<<");
  Line(info, "/Producer (" + PdfLiteralText(producer_) + ")");
  Line(info, "/Author (" + PdfLiteralText(author_) + ")");
  Line(info, "/CreationDate (D:" + CreationDate() + ")");
  Line(info, "/Creator (" + PdfLiteralText(creator_) + ")");
  Line(info, "/Keywords (" + PdfLiteralText(keywords_) + ")");
  Line(info, "/Subject (" + PdfLiteralText(subject_) + ")");
  Line(info, "/Title (" + PdfLiteralText(title_) + ")");
  Line(info, "/ModDate ()");
  Line(info, ">>");
  Line(info, "endobj");
  AppendObject(info);

  // The page's content stream; its length goes into the object after it.
  contentObjects_.push_back(NextObject(object_));
  Line(object_, "<< /Length " + Num(objectCount_ + 1) + " 0 R");
  Line(object_, " >>");
  streamMark_ = object_.size();
  Line(object_, "stream");
}

void TPrintPDF::DrawBitmap(int x, int y, const TBitmap& bitmap) {
  RequireOpen("DrawBitmap");
  const std::int64_t bw = bitmap.Width();
  const std::int64_t bh = bitmap.Height();
  std::int64_t w = bw;
  std::int64_t h = bh;
  // A bitmap made at the page's size is the page: drawing it any larger loses its edges.
  if (bw != pageWidth_ || bh != pageHeight_) {
    // Exact rational forms of W x PageWidth / (8 x dpiX) and H x PageHeight / (10.625 x dpiY),
    // truncated toward zero.
    w = bw * pageWidth_ / (8 * std::int64_t{dpiX_});
    h = bh * pageHeight_ * 8 / (85 * std::int64_t{dpiY_});
  }
  const std::size_t n = images_.size() + 1;
  Line(content_, "q");
  Line(content_, Num(w) + " 0 0 " + Num(h) + " " + Num(x) + " " + Num(pageHeight_ - y - h) + " cm");
  Line(content_, "/Im" + Num(static_cast<std::int64_t>(n)) + " Do");
  Line(content_, "Q");

  ImageBody image;
  std::string& body = image.head;
  Line(body, "<< /Type /XObject");
  Line(body, "/Subtype /Image");
  Line(body, "/Width " + Num(bw));
  Line(body, "/Height " + Num(bh));
  Line(body, "/ColorSpace /DeviceRGB");
  Line(body, "/BitsPerComponent 8");
  Line(body, "/Length " + Num(bw * 3 * bh));
  Line(body, "/Name /Im" + Num(static_cast<std::int64_t>(n)));
  Line(body, ">>");
  Line(body, "stream");
  image.size = static_cast<std::size_t>(bw * 3 * bh);
  image.pixels = std::make_unique_for_overwrite<char[]>(image.size);
  WriteRgb(image.pixels.get(), bitmap);
  images_.push_back(std::move(image));
}

void TPrintPDF::EndDoc() {
  RequireOpen("EndDoc");
  open_ = false;
  const int imageCount = static_cast<int>(images_.size());
  output_.reserve(output_.size() + object_.size() + content_.size() + 8192);

  object_ += content_;
  Line(object_, "endstream");
  Line(object_, "endobj");
  AppendObject(object_);
  const std::size_t contentLength = object_.size() - streamMark_ - kStreamFraming;

  std::string obj;
  NextObject(obj);
  Line(obj, Num(static_cast<std::int64_t>(contentLength)));
  Line(obj, "endobj");
  AppendObject(obj);

  obj.clear();
  const int outlines = NextObject(obj);
  Line(obj, "<< /Type /Outlines");
  Line(obj, "/Count 0");
  Line(obj, ">>");
  Line(obj, "endobj");
  AppendObject(obj);

  for (int i = 0; i < kStandardFontCount; ++i) {
    obj.clear();
    fontObjects_.push_back(NextObject(obj));
    Line(obj, "<< /Type /Font");
    Line(obj, "/Subtype /Type1");
    Line(obj, "/Name /F" + Num(i + 1));
    Line(obj, "/BaseFont /" + std::string(kStandardFonts[static_cast<std::size_t>(i)]));
    Line(obj, "/Encoding /WinAnsiEncoding");
    Line(obj, ">>");
    Line(obj, "endobj");
    AppendObject(obj);
  }

  obj.clear();
  const int pages = NextObject(obj);
  Line(obj, "<< /Type /Pages");
  Line(obj, "/Kids [");
  for (int k = 1; k <= pageNumber_; ++k) Line(obj, Num(pages + k + imageCount + 1) + " 0 R");
  Line(obj, "]");
  Line(obj, "/Count " + Num(pageNumber_));
  Line(obj, ">>");
  Line(obj, "endobj");
  AppendObject(obj);

  obj.clear();
  const int resources = NextObject(obj);
  Line(obj, "<< /ProcSet [ /PDF /Text /ImageC]");
  Line(obj, "/XObject << ");
  for (int i = 1; i <= imageCount; ++i)
    Line(obj, "/Im" + Num(i) + " " + Num(resources + i) + " 0 R");
  Line(obj, ">>");
  Line(obj, "/Font << ");
  for (int i = 0; i < kStandardFontCount; ++i)
    Line(obj, "/F" + Num(i + 1) + " " + Num(fontObjects_[static_cast<std::size_t>(i)]) + " 0 R ");
  Line(obj, ">>");
  Line(obj, ">>");
  Line(obj, "endobj");
  AppendObject(obj);

  for (auto& image : images_) {
    std::string head;
    NextObject(head);
    output_ += head;
    output_ += image.head;
    pieces_.push_back(std::move(output_));
    output_.clear();
    output_.reserve(8192);
    std::string tail;
    Line(tail, std::string(kEol) + "endstream");
    Line(tail, "endobj");
    output_ += tail;
    total_ += head.size() + image.head.size() + image.size + tail.size();
    offsets_.push_back(total_);
  }

  for (int k = 1; k <= pageNumber_; ++k) {
    obj.clear();
    NextObject(obj);
    Line(obj, "<< /Type /Page");
    Line(obj, "/Parent " + Num(pages) + " 0 R");
    Line(obj, "/MediaBox [ 0 0 " + Num(pageWidth_) + " " + Num(pageHeight_) + "]");
    Line(obj, "/Contents " + Num(contentObjects_[static_cast<std::size_t>(k - 1)]) + " 0 R");
    Line(obj, "/Resources " + Num(resources) + " 0 R");
    Line(obj, ">>");
    Line(obj, "endobj");
    AppendObject(obj);
  }

  obj.clear();
  const int catalog = NextObject(obj);
  Line(obj, "<< /Type /Catalog");
  Line(obj, "/Pages " + Num(pages) + " 0 R");
  Line(obj, "/Outlines " + Num(outlines) + " 0 R");
  Line(obj, ">>");
  Line(obj, "endobj");
  AppendObject(obj);

  const std::size_t xref = total_;
  const int size = catalog + 1;
  Line(output_, "xref");
  Line(output_, "0 " + Num(size));
  Line(output_, "0000000000 65535 f");
  for (int i = 0; i < catalog; ++i) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n", offsets_[static_cast<std::size_t>(i)]);
    Line(output_, entry);
  }
  Line(output_, "trailer");
  Line(output_, "<< /Size " + Num(size));
  Line(output_, "/Root " + Num(catalog) + " 0 R");
  Line(output_, "/Info 1 0 R");
  Line(output_, ">>");
  Line(output_, "startxref");
  Line(output_, Num(static_cast<std::int64_t>(xref)));
  Line(output_, "%%EOF");
  object_.clear();
  content_.clear();
  pieces_.push_back(std::move(output_));
  output_.clear();
  std::vector<ImageBody> images = std::move(images_);
  std::vector<std::string> pieces = std::move(pieces_);
  images_.clear();
  pieces_.clear();

  std::ofstream file(fileName_, std::ios::binary | std::ios::trunc);
  if (!file) throw EFOpenError("Cannot create file \"" + fileName_ + "\": " + std::strerror(errno));
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    file.write(pieces[i].data(), static_cast<std::streamsize>(pieces[i].size()));
    if (i < images.size())
      file.write(images[i].pixels.get(), static_cast<std::streamsize>(images[i].size));
  }
  file.close();
  if (!file) {
    std::remove(fileName_.c_str());
    throw EOSError("Cannot write file \"" + fileName_ + "\"");
  }
}

}  // namespace nv
