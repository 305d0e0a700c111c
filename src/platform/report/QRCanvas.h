#pragma once
// The report's side of rendered pages: what bands and printables draw, and the text
// measuring the engine wraps and sizes with. Printables talk to pages only through this
// header, so the display list stays the graphics layer's business.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SysUtils.h"

namespace nv {

NV_DECLARE_EXCEPTION(EQuickReportError, Exception);

class TPage;
class TPageImage;

// A font as a page records it: face, points, style bits (bold 1, italic 2, underline 4,
// strike-out 8), colour 0x00BBGGRR, character set.
struct TQRFontSpec {
  std::string Name;
  double Size = 9;
  std::uint8_t Style = 0;
  std::int32_t Color = 0;
  int Charset = 1;
};

enum class TQRTextAlign : std::uint8_t { Left, Right, Center };

// Positions in twips.
struct TQRBox {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

// The pages of one generation.
class TQRCanvas {
 public:
  TQRCanvas();
  ~TQRCanvas();
  TQRCanvas(const TQRCanvas&) = delete;
  TQRCanvas& operator=(const TQRCanvas&) = delete;

  void Clear();
  void NewPage(int width, int height);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  const TPage& Page(int index) const;  // 0-based
  std::string Dump(int index) const;   // DumpPage of one page

  void Text(const TQRBox& box, const TQRFontSpec& font, std::string_view ansiText,
            TQRTextAlign align, bool clip);
  void Line(int x1, int y1, int x2, int y2, std::int32_t color, int width);
  // brushColor < 0: not filled.
  void Rectangle(const TQRBox& box, std::int32_t penColor, int penWidth, std::int32_t brushColor);
  void Ellipse(const TQRBox& box, std::int32_t penColor, int penWidth, std::int32_t brushColor);
  void Picture(const TQRBox& box, std::shared_ptr<const TPageImage> image);
  // Filled, without an outline (bars of a bar code).
  void FillRect(const TQRBox& box, std::int32_t color);

  // Width of one line of text in twips. Character advances are measured once a font and
  // cached, so measuring is cheap enough for every field of every page.
  static int TextWidth(const TQRFontSpec& font, std::string_view ansiText);
  // Height of one line of the font in twips.
  static int LineHeight(const TQRFontSpec& font);
  // The text broken into lines no wider than width (twips): at line ends in the text, after
  // blanks, and between Chinese characters; a word wider than the line is cut.
  static std::vector<std::string> WrapText(const TQRFontSpec& font, std::string_view ansiText,
                                           int width);

 private:
  TPage& Current();
  std::vector<std::unique_ptr<TPage>> pages_;
};

}  // namespace nv
