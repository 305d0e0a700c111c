#pragma once
// The report's side of rendered pages. The component model's font header and the page
// header both name character sets and font styles, so report units talk to pages only
// through this header, and only QRCanvas.cpp sees the display list.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nv {

class TPage;

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

  // Width of one line of text in twips (the only place that needs the fonts).
  static int TextWidth(const TQRFontSpec& font, std::string_view ansiText);

 private:
  TPage& Current();
  std::vector<std::unique_ptr<TPage>> pages_;
};

}  // namespace nv
