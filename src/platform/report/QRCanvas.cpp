#include "platform/report/QRCanvas.h"

#include <cmath>
#include <map>
#include <unordered_map>

#include "platform/core/CodePage.h"

#include "platform/graphics/Page.h"
#include "platform/graphics/PageFonts.h"

namespace nv {

namespace {

TPageFont PageFontOf(const TQRFontSpec& f) {
  TPageFont font;
  font.Name = f.Name;
  font.Size = f.Size;
  font.Style = f.Style;
  font.Color = f.Color;
  font.Charset = f.Charset;
  return font;
}

TPageRect RectOf(const TQRBox& b) {
  return TPageRect{b.Left, b.Top, b.Right, b.Bottom};
}

TPageBrush BrushOf(std::int32_t color) {
  TPageBrush brush;
  if (color >= 0) {
    brush.Color = color;
    brush.Style = bsSolid;
  }
  return brush;
}

TPagePen PenOf(std::int32_t color, int width) {
  TPagePen pen;
  pen.Color = color;
  pen.Width = width;
  return pen;
}

}  // namespace

TQRCanvas::TQRCanvas() = default;
TQRCanvas::~TQRCanvas() = default;

void TQRCanvas::Clear() {
  pages_.clear();
}

void TQRCanvas::NewPage(int width, int height) {
  pages_.push_back(std::make_unique<TPage>(width, height));
}

const TPage& TQRCanvas::Page(int index) const {
  return *pages_.at(static_cast<std::size_t>(index));
}

std::string TQRCanvas::Dump(int index) const {
  return DumpPage(Page(index));
}

TPage& TQRCanvas::Current() {
  if (pages_.empty()) throw EPageError("No page has been started");
  return *pages_.back();
}

void TQRCanvas::Text(const TQRBox& box, const TQRFontSpec& font, std::string_view ansiText,
                     TQRTextAlign align, bool clip) {
  auto alignment = align == TQRTextAlign::Right    ? taRightJustify
                   : align == TQRTextAlign::Center ? taCenter
                                                   : taLeftJustify;
  Current().AddText(RectOf(box), PageFontOf(font), ansiText, alignment, clip);
}

void TQRCanvas::Line(int x1, int y1, int x2, int y2, std::int32_t color, int width) {
  Current().AddLine(x1, y1, x2, y2, PenOf(color, width));
}

void TQRCanvas::Rectangle(const TQRBox& box, std::int32_t penColor, int penWidth,
                          std::int32_t brushColor) {
  Current().AddRectangle(RectOf(box), PenOf(penColor, penWidth), BrushOf(brushColor));
}

void TQRCanvas::Ellipse(const TQRBox& box, std::int32_t penColor, int penWidth,
                        std::int32_t brushColor) {
  Current().AddEllipse(RectOf(box), PenOf(penColor, penWidth), BrushOf(brushColor));
}

void TQRCanvas::FillRect(const TQRBox& box, std::int32_t color) {
  TPagePen pen;
  pen.Style = psClear;
  Current().AddRectangle(RectOf(box), pen, BrushOf(color));
}

void TQRCanvas::Picture(const TQRBox& box, std::shared_ptr<const TPageImage> image) {
  Current().AddPicture(RectOf(box), std::move(image));
}

namespace {

// Advances of the characters of one font, in twips, keyed by the character's ANSI bytes.
struct TFontMetrics {
  std::unordered_map<std::uint32_t, int> advance;
  int lineHeight = 0;
};

std::string MetricsKey(const TQRFontSpec& f) {
  return f.Name + '\x01' + std::to_string(f.Size) + '\x01' + std::to_string(f.Style & 3) + '\x01' +
         std::to_string(f.Charset);
}

bool SameMetrics(const TQRFontSpec& a, const TQRFontSpec& b) {
  return a.Size == b.Size && (a.Style & 3) == (b.Style & 3) && a.Charset == b.Charset &&
         a.Name == b.Name;
}

// Fields of one voucher share a font, so the last font answers most look-ups.
TFontMetrics& MetricsOf(const TQRFontSpec& font) {
  static std::map<std::string, TFontMetrics> cache;
  static TFontMetrics* last = nullptr;
  static TQRFontSpec lastFont;
  if (last && SameMetrics(font, lastFont)) return *last;
  TFontMetrics& m = cache[MetricsKey(font)];
  if (m.lineHeight == 0)
    m.lineHeight = static_cast<int>(
        std::lround(MeasurePageText(PageFontOf(font), "W").Height * kTwipsPerPoint));
  last = &m;
  lastFont = font;
  return m;
}

int EffectiveCodePage(const TQRFontSpec& font) {
  int cp = CodePageOfCharset(font.Charset);
  return cp ? cp : SystemCodePage();
}

// Bytes of the character starting at text[i].
std::size_t CharLength(std::string_view text, std::size_t i, int codePage) {
  auto b = static_cast<unsigned char>(text[i]);
  std::size_t n = 1;
  if (codePage == kCodePageUtf8) {
    n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
  } else if (b >= 0x80 && IsLeadByte(b, codePage)) {
    n = 2;
  }
  return std::min(n, text.size() - i);
}

int Advance(TFontMetrics& m, const TQRFontSpec& font, std::string_view ch) {
  std::uint32_t key = 0;
  for (char c : ch) key = key << 8 | static_cast<unsigned char>(c);
  auto it = m.advance.find(key);
  if (it != m.advance.end()) return it->second;
  int w =
      static_cast<int>(std::lround(MeasurePageText(PageFontOf(font), ch).Width * kTwipsPerPoint));
  m.advance.emplace(key, w);
  return w;
}

}  // namespace

int TQRCanvas::TextWidth(const TQRFontSpec& font, std::string_view ansiText) {
  TFontMetrics& m = MetricsOf(font);
  int cp = EffectiveCodePage(font);
  int width = 0;
  for (std::size_t i = 0; i < ansiText.size();) {
    std::size_t n = CharLength(ansiText, i, cp);
    width += Advance(m, font, ansiText.substr(i, n));
    i += n;
  }
  return width;
}

int TQRCanvas::LineHeight(const TQRFontSpec& font) {
  return MetricsOf(font).lineHeight;
}

std::vector<std::string> TQRCanvas::WrapText(const TQRFontSpec& font, std::string_view text,
                                             int width) {
  TFontMetrics& m = MetricsOf(font);
  int cp = EffectiveCodePage(font);
  std::vector<std::string> lines;
  std::size_t start = 0;                         // of the line being filled
  std::size_t breakAt = std::string_view::npos;  // last place the line may end
  int lineWidth = 0;
  int widthAtBreak = 0;
  auto endLine = [&](std::size_t end, std::size_t next) {
    std::string_view line = text.substr(start, end - start);
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    lines.emplace_back(line);
    start = next;
    breakAt = std::string_view::npos;
  };
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '\r' || text[i] == '\n') {
      std::size_t next =
          i + (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1);
      endLine(i, next);
      lineWidth = 0;
      i = next;
      continue;
    }
    std::size_t n = CharLength(text, i, cp);
    bool wide = n > 1;
    if (wide && i > start) breakAt = i, widthAtBreak = lineWidth;  // before a Chinese character
    int w = Advance(m, font, text.substr(i, n));
    if (lineWidth + w > width && i > start && text[i] != ' ') {
      if (breakAt != std::string_view::npos && breakAt > start) {
        std::size_t at = breakAt;
        lineWidth -= widthAtBreak;
        endLine(at, at);
        while (start < i && text[start] == ' ') {
          lineWidth -= Advance(m, font, " ");
          ++start;
        }
      } else {
        endLine(i, i);
        lineWidth = 0;
      }
    }
    lineWidth += w;
    i += n;
    if (text[i - n] == ' ' || wide) breakAt = i, widthAtBreak = lineWidth;
  }
  if (start < text.size() || lines.empty()) endLine(text.size(), text.size());
  return lines;
}

}  // namespace nv
