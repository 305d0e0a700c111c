#pragma once
// Fonts of rendered pages: face names that layouts use are mapped to installed fonts through
// our fonts.conf (data/fonts/fonts.conf), which fontconfig loads instead of the machine's own
// set-up, so every run draws with the same fonts. Pango lays text out, falling back along the
// chain of installed CJK fonts that the file names; a character no installed font can draw is
// found before a page goes out.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/graphics/Page.h"

typedef struct _cairo cairo_t;
typedef struct _PangoContext PangoContext;
typedef struct _PangoFontMap PangoFontMap;
typedef struct _PangoLayout PangoLayout;

namespace nv {

NV_DECLARE_EXCEPTION(EMissingGlyph, Exception);  // a page that would show an empty box

// The fonts.conf used: the one set here, else the environment variable NV_FONTS_CONF, else
// the copy in the source tree. Set it before the first page is drawn.
void SetPageFontConfigFile(const std::string& path);
std::string PageFontConfigFile();
// The font map every page drawing shares (created on first use).
PangoFontMap* PageFontMap();
// The installed family a face name resolves to ("宋体" -> "AR PL UMing CN"); faceUtf8 in UTF-8.
std::string ResolvedFamily(std::string_view faceUtf8);

// A character of a text that no installed font can draw.
struct TMissingGlyph {
  std::size_t Record = 0;  // index of the text record on its page
  std::string Text;        // the whole text, UTF-8
  char32_t Character = 0;
  std::string Font;  // face name, UTF-8
};
// "page 2: text \"...\" (font 宋体): no installed font draws U+E234"
std::string MissingGlyphMessage(int pageNumber, const TMissingGlyph& missing);

struct TTextExtent {
  double Width = 0;   // points
  double Height = 0;  // line height, points
  double Ascent = 0;  // top of the line to the baseline, points
};

// Lays out and draws single lines of text. Cairo user space must be in points when drawing
// (one user unit = 1/72 inch); fonts are laid out unhinted so a page measures the same at
// every resolution and in PDF.
class TTextPainter {
 public:
  TTextPainter();
  ~TTextPainter();
  TTextPainter(const TTextPainter&) = delete;
  TTextPainter& operator=(const TTextPainter&) = delete;

  // The text in UTF-8 and the font at a size in points (the page font's size unless given).
  TTextExtent Measure(const TPageFont& font, std::string_view utf8, double size = 0);
  // Draws with the top-left corner of the line at (x, y) in cairo user space.
  void Draw(cairo_t* cr, const TPageFont& font, std::string_view utf8, double x, double y,
            double size = 0);
  // Characters of the text that would come out as empty boxes.
  std::vector<char32_t> MissingCharacters(const TPageFont& font, std::string_view utf8);

 private:
  PangoLayout* Layout(const TPageFont& font, std::string_view utf8, double size);
  PangoContext* context_;
  PangoLayout* layout_;
  TPageFont lastFont_;
  double lastSize_ = -1;
};

// The text of a record in UTF-8, honouring its font's character set.
std::string TextUtf8(const TPage& page, const TPageText& text);
// Measures ANSI text of a page font in twips, for the engine's wrapping and auto-size.
TTextExtent MeasurePageText(const TPageFont& font, std::string_view ansiText);
// Every text of the page (and of its metafile pictures) that would show an empty box.
std::vector<TMissingGlyph> FindMissingGlyphs(const TPage& page);

}  // namespace nv
