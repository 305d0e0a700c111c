#include "platform/graphics/Page.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/core/CodePage.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Metafile.h"

namespace nv {

int MmToTwips(double mm) {
  return static_cast<int>(std::lround(mm * kTwipsPerInch / 25.4));
}
double TwipsToMm(int twips) {
  return twips * 25.4 / kTwipsPerInch;
}

int CodePageOfCharset(int charset) {
  switch (charset) {
    case GB2312_CHARSET:
      return kCodePageGB;
    case CHINESEBIG5_CHARSET:
      return kCodePageBig5;
    default:
      return 0;
  }
}

std::shared_ptr<const TPageImage> TPageImage::FromMetafile(
    std::shared_ptr<const TMetafile> metafile, std::string name) {
  if (!metafile) throw EPageError("picture \"" + name + "\": no metafile given");
  std::shared_ptr<TPageImage> image(new TPageImage);
  image->width_ = metafile->Width();
  image->height_ = metafile->Height();
  image->metafile_ = std::move(metafile);
  image->name_ = std::move(name);
  return image;
}

std::shared_ptr<const TPageImage> TPageImage::FromPixels(int width, int height,
                                                         std::vector<std::uint32_t> pixels,
                                                         std::string name) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    throw EPageError("picture \"" + name + "\": " + std::to_string(pixels.size()) +
                     " pixels given for " + std::to_string(width) + " x " + std::to_string(height));
  }
  std::shared_ptr<TPageImage> image(new TPageImage);
  image->width_ = width;
  image->height_ = height;
  image->pixels_ = std::move(pixels);
  image->name_ = std::move(name);
  return image;
}

std::shared_ptr<const TPageImage> TPageImage::FromBitmap(const TBitmap& bitmap, std::string name) {
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(bitmap.Width()) * bitmap.Height());
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      auto c = static_cast<std::uint32_t>(bitmap.Pixel(x, y));
      pixels.push_back(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
    }
  }
  return FromPixels(bitmap.Width(), bitmap.Height(), std::move(pixels), std::move(name));
}

TPageImage::~TPageImage() = default;

const TPageRecordHeader& HeaderOf(const TPageRecord& record) {
  return std::visit([](const auto& r) -> const TPageRecordHeader& { return r; }, record);
}

TPage::TPage(int width, int height) : width_(width), height_(height) {
  if (width <= 0 || height <= 0) {
    throw EPageError("page size " + std::to_string(width) + " x " + std::to_string(height) +
                     " twips: expected a positive width and height");
  }
}

std::uint16_t TPage::AddFont(const TPageFont& font) {
  auto found = std::find(fonts_.begin(), fonts_.end(), font);
  if (found != fonts_.end()) return static_cast<std::uint16_t>(found - fonts_.begin());
  if (fonts_.size() >= 0xFFFF) throw EPageError("a page holds at most 65535 fonts");
  fonts_.push_back(font);
  return static_cast<std::uint16_t>(fonts_.size() - 1);
}

void TPage::AddText(const TPageRect& box, const TPageFont& font, std::string_view ansiText,
                    TPageAlignment alignment, bool clipToBox) {
  TPageText text;
  text.Kind = TPageRecordKind::Text;
  text.Bounds = box;
  text.FontIndex = AddFont(font);
  text.Alignment = alignment;
  text.ClipToBox = clipToBox;
  text.Text = std::string(ansiText);
  records_.emplace_back(std::move(text));
}

void TPage::AddLine(int x1, int y1, int x2, int y2, const TPagePen& pen) {
  TPageLine line;
  line.Kind = TPageRecordKind::Line;
  line.Bounds = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  line.X1 = x1;
  line.Y1 = y1;
  line.X2 = x2;
  line.Y2 = y2;
  line.Pen = pen;
  records_.emplace_back(line);
}

void TPage::AddRectangle(const TPageRect& rect, const TPagePen& pen, const TPageBrush& brush) {
  TPageShape shape;
  shape.Kind = TPageRecordKind::Rectangle;
  shape.Bounds = rect;
  shape.Pen = pen;
  shape.Brush = brush;
  records_.emplace_back(shape);
}

void TPage::AddEllipse(const TPageRect& rect, const TPagePen& pen, const TPageBrush& brush) {
  TPageShape shape;
  shape.Kind = TPageRecordKind::Ellipse;
  shape.Bounds = rect;
  shape.Pen = pen;
  shape.Brush = brush;
  records_.emplace_back(shape);
}

void TPage::AddPicture(const TPageRect& rect, std::shared_ptr<const TPageImage> image) {
  if (!image) throw EPageError("picture record without a picture");
  TPagePicture picture;
  picture.Kind = TPageRecordKind::Picture;
  picture.Bounds = rect;
  picture.Image = std::move(image);
  records_.emplace_back(std::move(picture));
}

void TPage::BeginClip(const TPageRect& rect) {
  TPageClip clip;
  clip.Kind = TPageRecordKind::Clip;
  clip.Bounds = rect;
  records_.emplace_back(clip);
  ++openClips_;
}

void TPage::EndClip() {
  if (openClips_ == 0) throw EPageError("EndClip without a BeginClip");
  TPageClip clip;
  clip.Kind = TPageRecordKind::EndClip;
  records_.emplace_back(clip);
  --openClips_;
}

std::size_t TPage::MemoryUsed() const {
  std::size_t bytes = sizeof(TPage) + records_.capacity() * sizeof(TPageRecord) +
                      fonts_.capacity() * sizeof(TPageFont);
  for (const auto& font : fonts_) bytes += font.Name.capacity();
  for (const auto& record : records_) {
    if (const auto* text = std::get_if<TPageText>(&record)) {
      if (text->Text.capacity() > 15) bytes += text->Text.capacity() + 1;
    }
  }
  return bytes;
}

namespace {

std::string RectText(const TPageRect& r) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d,%d-%d,%d", r.Left, r.Top, r.Right, r.Bottom);
  return buf;
}

std::string ColorText(TPageColor color) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%06X", static_cast<unsigned>(color) & 0xFFFFFFu);
  return buf;
}

const char* PenStyleName(TPagePenStyle style) {
  static const char* const kNames[] = {"solid", "dash", "dot", "dashdot", "dashdotdot", "clear"};
  return style <= psClear ? kNames[style] : "?";
}

std::string PenText(const TPagePen& pen) {
  return "pen " + ColorText(pen.Color) + " " + std::to_string(pen.Width) + " " +
         PenStyleName(pen.Style);
}

std::string BrushText(const TPageBrush& brush) {
  return "brush " + ColorText(brush.Color) + (brush.Style == bsSolid ? " solid" : " clear");
}

std::string StyleText(std::uint8_t style) {
  std::string text;
  if (style & FontStyleBit(fsBold)) text += "b";
  if (style & FontStyleBit(fsItalic)) text += "i";
  if (style & FontStyleBit(fsUnderline)) text += "u";
  if (style & FontStyleBit(fsStrikeOut)) text += "s";
  return text.empty() ? "-" : text;
}

std::string SizeText(double size) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", size);
  return buf;
}

const char* AlignName(TPageAlignment alignment) {
  switch (alignment) {
    case taRightJustify:
      return "right";
    case taCenter:
      return "center";
    default:
      return "left";
  }
}

struct TDumper {
  const TPage& page;
  std::string& out;

  void operator()(const TPageText& t) const {
    const TPageFont& font = page.FontOf(t);
    out += "text " + RectText(t.Bounds) + " font " + std::to_string(t.FontIndex) + " " +
           AlignName(t.Alignment) + (t.ClipToBox ? " clip" : "") + " \"" +
           AnsiToUtf8(t.Text, CodePageOfCharset(font.Charset)) + "\"\n";
  }
  void operator()(const TPageLine& l) const {
    out += "line " + std::to_string(l.X1) + "," + std::to_string(l.Y1) + "-" +
           std::to_string(l.X2) + "," + std::to_string(l.Y2) + " " + PenText(l.Pen) + "\n";
  }
  void operator()(const TPageShape& s) const {
    out += std::string(s.Kind == TPageRecordKind::Ellipse ? "ellipse " : "rect ") +
           RectText(s.Bounds) + " " + PenText(s.Pen) + " " + BrushText(s.Brush) + "\n";
  }
  void operator()(const TPagePicture& p) const {
    const TPageImage& image = *p.Image;
    out += "picture " + RectText(p.Bounds) + " " + (image.IsMetafile() ? "emf" : "bitmap") + " \"" +
           image.Name() + "\" " + std::to_string(image.Width()) + "x" +
           std::to_string(image.Height()) + "\n";
  }
  void operator()(const TPageClip& c) const {
    if (c.Kind == TPageRecordKind::EndClip) {
      out += "endclip\n";
    } else {
      out += "clip " + RectText(c.Bounds) + "\n";
    }
  }
};

}  // namespace

std::string DumpPage(const TPage& page) {
  std::string out =
      "page " + std::to_string(page.Width()) + "x" + std::to_string(page.Height()) + " twips\n";
  for (std::size_t i = 0; i < page.Fonts().size(); ++i) {
    const TPageFont& f = page.Fonts()[i];
    out += "font " + std::to_string(i) + " \"" + AnsiToUtf8(f.Name) + "\" " + SizeText(f.Size) +
           "pt " + StyleText(f.Style) + " " + ColorText(f.Color) + " charset " +
           std::to_string(f.Charset) + "\n";
  }
  TDumper dumper{page, out};
  for (const auto& record : page.Records()) std::visit(dumper, record);
  return out;
}

}  // namespace nv
