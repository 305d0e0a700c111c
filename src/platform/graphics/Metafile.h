#pragma once
// Enhanced metafiles: the background pictures of voucher layouts. The reader checks every
// record before anything is drawn (each length before anything is allocated), so a damaged
// file is refused as a whole with a message naming the record; drawing then never meets a bad
// record. Records that captions and rulings do not use are read over and not drawn.
// The writer makes the metafiles of our standard backgrounds.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/graphics/Page.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace nv {

class TTextPainter;

NV_DECLARE_EXCEPTION(EInvalidMetafile, Exception);

// Record types the reader understands.
enum : std::uint32_t {
  EMR_HEADER = 1,
  EMR_POLYGON = 3,
  EMR_POLYLINE = 4,
  EMR_EOF = 14,
  EMR_SETWINDOWEXTEX = 9,
  EMR_SETWINDOWORGEX = 10,
  EMR_SETVIEWPORTEXTEX = 11,
  EMR_SETVIEWPORTORGEX = 12,
  EMR_SETMAPMODE = 17,
  EMR_SETBKMODE = 18,
  EMR_SETTEXTALIGN = 22,
  EMR_SETTEXTCOLOR = 24,
  EMR_SETBKCOLOR = 25,
  EMR_MOVETOEX = 27,
  EMR_INTERSECTCLIPRECT = 30,
  EMR_SAVEDC = 33,
  EMR_RESTOREDC = 34,
  EMR_SELECTOBJECT = 37,
  EMR_CREATEPEN = 38,
  EMR_CREATEBRUSHINDIRECT = 39,
  EMR_DELETEOBJECT = 40,
  EMR_ELLIPSE = 42,
  EMR_RECTANGLE = 43,
  EMR_LINETO = 54,
  EMR_BITBLT = 76,
  EMR_STRETCHDIBITS = 81,
  EMR_EXTCREATEFONTINDIRECTW = 82,
  EMR_EXTTEXTOUTA = 83,
  EMR_EXTTEXTOUTW = 84,
  EMR_POLYGON16 = 86,
  EMR_POLYLINE16 = 87,
  EMR_POLYPOLYLINE16 = 90,
  EMR_POLYPOLYGON16 = 91,
  EMR_EXTCREATEPEN = 95,
};

// Stock objects, selected by index with the high bit set.
constexpr std::uint32_t kStockObject = 0x80000000u;
enum : std::uint32_t {
  WHITE_BRUSH = 0,
  LTGRAY_BRUSH = 1,
  GRAY_BRUSH = 2,
  DKGRAY_BRUSH = 3,
  BLACK_BRUSH = 4,
  NULL_BRUSH = 5,
  WHITE_PEN = 6,
  BLACK_PEN = 7,
  NULL_PEN = 8,
  SYSTEM_FONT = 13,
  DEFAULT_GUI_FONT = 17,
};
enum : std::uint32_t { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_NULL = 5 };
enum : std::uint32_t { BS_SOLID = 0, BS_NULL = 1 };
enum : std::uint32_t { TRANSPARENT = 1, OPAQUE = 2 };
enum : std::uint32_t {
  TA_UPDATECP = 1,
  TA_RIGHT = 2,
  TA_CENTER = 6,
  TA_BOTTOM = 8,
  TA_BASELINE = 24,
};
enum : std::uint32_t { MM_TEXT = 1, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8 };

struct TEmfPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
};

struct TEmfFont {
  std::int32_t Height = 0;  // logical units; negative: the character height, positive: the cell
  std::int32_t Weight = 400;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  int Charset = DEFAULT_CHARSET;
  std::string Face;  // UTF-8
};

struct TEmfBitmap {
  TEmfBitmap(int width, int height, std::vector<std::uint32_t> pixels);
  ~TEmfBitmap();
  TEmfBitmap(const TEmfBitmap&) = delete;
  TEmfBitmap& operator=(const TEmfBitmap&) = delete;
  int Width;
  int Height;
  std::vector<std::uint32_t> Pixels;  // 0x00RRGGBB, rows top-down
  cairo_surface_t* Surface() const;   // made on first draw, kept for the next pages

 private:
  mutable cairo_surface_t* surface_ = nullptr;
};

// One checked record; which fields count depends on Type.
struct TEmfRecord {
  std::uint32_t Type = 0;
  std::int32_t A[10] = {};
  std::vector<TEmfPoint> Points;
  std::vector<std::uint32_t> Counts;  // points per polygon of the poly-poly records
  std::string Text;                   // EXTTEXTOUTW: UTF-8; EXTTEXTOUTA: the ANSI bytes
  TEmfFont Font;
  std::shared_ptr<const TEmfBitmap> Bitmap;
};

// The name of a record type as a dump shows it ("EXTTEXTOUTW"), or "type N".
std::string EmfRecordName(std::uint32_t type);

class TMetafile {
 public:
  // Reads a whole file; a damaged one raises EInvalidMetafile with what is wrong and where.
  static std::shared_ptr<const TMetafile> FromBytes(std::string_view bytes);
  static std::shared_ptr<const TMetafile> LoadFromFile(const std::string& path);
  // For drawing: a damaged or missing file gives nullptr and the message in *error, so the
  // page prints without its background instead of failing.
  static std::shared_ptr<const TMetafile> TryLoadFromFile(const std::string& path,
                                                          std::string* error);

  // The picture frame in 0.01 mm, as the header gives it.
  const TPageRect& Frame() const { return frame_; }
  int Width() const { return frame_.Width(); }
  int Height() const { return frame_.Height(); }
  // Reference device: pixels and millimetres.
  TEmfPoint DevicePixels() const { return devicePixels_; }
  TEmfPoint DeviceMillimeters() const { return deviceMm_; }
  TEmfPoint DeviceMicrometers() const { return deviceUm_; }
  int HandleCount() const { return handles_; }
  const std::vector<TEmfRecord>& Records() const { return records_; }

  // Texts with the fonts they are drawn in, for the missing-glyph check.
  struct TText {
    TPageFont Font;
    std::string Utf8;
  };
  std::vector<TText> Texts() const;

  // Draws the frame stretched over (x, y, width, height) of cairo user space.
  void Play(cairo_t* cr, TTextPainter& painter, double x, double y, double width,
            double height) const;
  // One line per record, for tests.
  std::string Dump() const;

 private:
  TMetafile() = default;
  TPageRect frame_;
  TEmfPoint devicePixels_;
  TEmfPoint deviceMm_;
  TEmfPoint deviceUm_;
  int handles_ = 1;
  std::vector<TEmfRecord> records_;
};

// Builds a metafile record by record, in logical units of a reference device of the given
// size and resolution (MM_TEXT: one unit a device pixel unless the mapping is changed).
class TEmfWriter {
 public:
  TEmfWriter(int widthPixels, int heightPixels, int dpi = 96);

  std::uint32_t CreatePen(std::uint32_t style, int width, TPageColor color);
  std::uint32_t CreateBrush(std::uint32_t style, TPageColor color);
  std::uint32_t CreateFont(const TEmfFont& font);
  void SelectObject(std::uint32_t handle);  // a handle or kStockObject | index
  void DeleteObject(std::uint32_t handle);

  void SetMapMode(std::uint32_t mode);
  void SetWindowOrg(int x, int y);
  void SetWindowExt(int cx, int cy);
  void SetViewportOrg(int x, int y);
  void SetViewportExt(int cx, int cy);
  void SetTextColor(TPageColor color);
  void SetBkColor(TPageColor color);
  void SetBkMode(std::uint32_t mode);
  void SetTextAlign(std::uint32_t align);
  void SaveDC();
  void RestoreDC(int relative = -1);

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // Written as 16-bit records when every point fits.
  void Polyline(const std::vector<TEmfPoint>& points);
  void Polygon(const std::vector<TEmfPoint>& points);
  void Rectangle(int left, int top, int right, int bottom);
  void Ellipse(int left, int top, int right, int bottom);
  void TextOutW(int x, int y, std::string_view utf8);
  void TextOutA(int x, int y, std::string_view ansi);
  // pixels 0x00RRGGBB rows top-down, stretched over the destination; written as 24-bit.
  void StretchDIBits(int x, int y, int width, int height, int bitmapWidth, int bitmapHeight,
                     const std::vector<std::uint32_t>& pixels);

  std::string Bytes() const;
  void SaveToFile(const std::string& path) const;

 private:
  void Record(std::uint32_t type, const std::string& body);
  void Poly(std::uint32_t type16, std::uint32_t type32, const std::vector<TEmfPoint>& points);
  void TextOut(std::uint32_t type, int x, int y, const std::string& chars, std::uint32_t count);
  int width_;
  int height_;
  int dpi_;
  std::uint32_t nextHandle_ = 1;
  std::uint32_t recordCount_ = 0;
  std::string records_;
};

}  // namespace nv
