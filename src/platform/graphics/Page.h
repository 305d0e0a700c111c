#pragma once
// A rendered page: a display list of typed records with a common header, in twips (1/1440
// inch). Twips keep both a layout pixel (1/96 inch = 15 twips) and a point (20 twips) exact.
// The report engine produces pages; the rasteriser, the preview, the printers and the
// picture export replay them. A page keeps no pixels of its own: pictures are shared, so a
// background drawn on ten thousand pages is stored once.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/core/FontTypes.h"
#include "platform/core/SysUtils.h"
#include "platform/graphics/Types.h"

namespace nv {

class TMetafile;
class TBitmap;

NV_DECLARE_EXCEPTION(EPageError, Exception);  // a record the page cannot hold

constexpr int kTwipsPerInch = 1440;
constexpr int kTwipsPerPoint = 20;
constexpr int kTwipsPerLayoutPixel = 15;
int MmToTwips(double mm);
double TwipsToMm(int twips);

// The code page in which a font's ANSI text is written: 936 for GB, 950 for Big5, otherwise
// 0, the system code page.
int CodePageOfCharset(int charset);

// A colour as the class library keeps it: 0x00BBGGRR (a plain number on pages, so records
// stay trivially comparable and dumpable).
using TPageColor = std::int32_t;
// Pages use the platform's rectangle, in twips.
using TPageRect = TRect;

struct TPageFont {
  std::string Name;        // face name, a system text ("宋体", "Arial")
  double Size = 9;         // points
  std::uint8_t Style = 0;  // FontStyleBit of each style
  TPageColor Color = 0;
  int Charset = DEFAULT_CHARSET;
  friend bool operator==(const TPageFont&, const TPageFont&) = default;
};

enum TPagePenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum TPageBrushStyle : std::uint8_t { bsSolid, bsClear };
enum TPageAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

struct TPagePen {
  TPageColor Color = 0;
  int Width = 0;  // twips; 0 draws one device pixel at any resolution
  TPagePenStyle Style = psSolid;
};

struct TPageBrush {
  TPageColor Color = 0xFFFFFF;
  TPageBrushStyle Style = bsClear;
};

// A picture a page refers to: an enhanced metafile or a bitmap (a bar code, a logo).
class TPageImage {
 public:
  static std::shared_ptr<const TPageImage> FromMetafile(std::shared_ptr<const TMetafile> metafile,
                                                        std::string name);
  // pixels: width * height values 0x00RRGGBB, rows top-down.
  static std::shared_ptr<const TPageImage> FromPixels(int width, int height,
                                                      std::vector<std::uint32_t> pixels,
                                                      std::string name);
  // A copy of the bitmap's pixels (a bar code drawn by the engine, a logo).
  static std::shared_ptr<const TPageImage> FromBitmap(const TBitmap& bitmap, std::string name);
  ~TPageImage();
  TPageImage(const TPageImage&) = delete;
  TPageImage& operator=(const TPageImage&) = delete;

  bool IsMetafile() const { return metafile_ != nullptr; }
  const TMetafile* Metafile() const { return metafile_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }
  const std::string& Name() const { return name_; }

 private:
  TPageImage() = default;
  std::shared_ptr<const TMetafile> metafile_;
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
  std::string name_;
};

enum class TPageRecordKind : std::uint8_t {
  Text,
  Line,
  Rectangle,
  Ellipse,
  Picture,
  Clip,
  EndClip,
};

// Every record starts with its kind and the rectangle it may paint.
struct TPageRecordHeader {
  TPageRecordKind Kind = TPageRecordKind::Text;
  TPageRect Bounds;
};

// One line of text placed in its box: top-aligned, horizontally by Alignment. Text is ANSI in
// the code page of the font's character set; the engine has already wrapped it.
struct TPageText : TPageRecordHeader {
  std::uint16_t FontIndex = 0;
  TPageAlignment Alignment = taLeftJustify;
  bool ClipToBox = false;
  std::string Text;
};

struct TPageLine : TPageRecordHeader {
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  TPagePen Pen;
};

// Rectangle and Ellipse: filled with the brush, then framed with the pen.
struct TPageShape : TPageRecordHeader {
  TPagePen Pen;
  TPageBrush Brush;
};

struct TPagePicture : TPageRecordHeader {
  std::shared_ptr<const TPageImage> Image;
};

// Clip narrows drawing to Bounds until the matching EndClip.
struct TPageClip : TPageRecordHeader {};

using TPageRecord = std::variant<TPageText, TPageLine, TPageShape, TPagePicture, TPageClip>;

const TPageRecordHeader& HeaderOf(const TPageRecord& record);

class TPage {
 public:
  TPage(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Fonts are kept once per page; text records name them by index.
  std::uint16_t AddFont(const TPageFont& font);
  void AddText(const TPageRect& box, const TPageFont& font, std::string_view ansiText,
               TPageAlignment alignment = taLeftJustify, bool clipToBox = false);
  void AddLine(int x1, int y1, int x2, int y2, const TPagePen& pen);
  void AddRectangle(const TPageRect& rect, const TPagePen& pen, const TPageBrush& brush);
  void AddEllipse(const TPageRect& rect, const TPagePen& pen, const TPageBrush& brush);
  void AddPicture(const TPageRect& rect, std::shared_ptr<const TPageImage> image);
  void BeginClip(const TPageRect& rect);
  void EndClip();

  const std::vector<TPageRecord>& Records() const { return records_; }
  const std::vector<TPageFont>& Fonts() const { return fonts_; }
  const TPageFont& FontOf(const TPageText& text) const { return fonts_[text.FontIndex]; }
  // Bytes the page holds, shared pictures not counted.
  std::size_t MemoryUsed() const;

 private:
  int width_;
  int height_;
  int openClips_ = 0;
  std::vector<TPageFont> fonts_;
  std::vector<TPageRecord> records_;
};

// A readable text of a page for golden tests: one line for the page, one per font, one per
// record; texts shown in UTF-8.
std::string DumpPage(const TPage& page);

}  // namespace nv
