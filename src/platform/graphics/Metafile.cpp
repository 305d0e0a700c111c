#include "platform/graphics/Metafile.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "platform/core/CodePage.h"
#include "platform/graphics/PageFonts.h"

namespace nv {

namespace {

constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::size_t kHeaderSize = 88;
constexpr int kMaxBitmapSide = 16384;
constexpr std::uint64_t kMaxBitmapPixels = 32u * 1024u * 1024u;

std::string Hex(std::uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", value);
  return buf;
}

// Little-endian reads inside one record whose size has been checked.
struct TReader {
  const unsigned char* data;
  std::size_t size;
  std::uint32_t U32(std::size_t at) const {
    std::uint32_t v;
    std::memcpy(&v, data + at, 4);
    return v;
  }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
  std::int16_t I16(std::size_t at) const {
    std::int16_t v;
    std::memcpy(&v, data + at, 2);
    return v;
  }
  std::uint16_t U16(std::size_t at) const { return static_cast<std::uint16_t>(I16(at)); }
};

// Parses one file, naming the record in every complaint.
class TParser {
 public:
  TParser(std::string_view bytes)
      : file_{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()} {}

  void Fail(const std::string& what) const {
    throw EInvalidMetafile("EMF: record " + std::to_string(index_) + " (" + EmfRecordName(type_) +
                           ") at offset " + std::to_string(offset_) + ": " + what);
  }
  void Need(std::size_t bytes) const {
    if (rec_.size < bytes) {
      Fail("size " + std::to_string(rec_.size) + ", at least " + std::to_string(bytes) +
           " expected");
    }
  }
  // A block of the record given by offset and length fields must lie inside the record.
  void Inside(std::uint64_t off, std::uint64_t len, const std::string& what) const {
    if (off > rec_.size || len > rec_.size - off) {
      Fail(what + " of " + std::to_string(len) + " bytes at offset " + std::to_string(off) +
           " runs past the record (" + std::to_string(rec_.size) + " bytes)");
    }
  }
  void Handle(std::uint32_t handle, bool allowStock) const {
    if (allowStock && (handle & kStockObject)) return;
    if (handle == 0 || handle >= static_cast<std::uint32_t>(handles_)) {
      Fail("object " + std::to_string(handle) + " is outside the handle table (" +
           std::to_string(handles_) + " handles)");
    }
  }

  void Header(TPageRect& frame, TEmfPoint& device, TEmfPoint& mm, TEmfPoint& um, int& handles) {
    if (file_.size < kHeaderSize) {
      throw EInvalidMetafile("EMF: " + std::to_string(file_.size) +
                             " bytes is too short for a header (at least 88 bytes expected)");
    }
    if (file_.U32(0) != EMR_HEADER) {
      throw EInvalidMetafile("EMF: the first record is of type " + std::to_string(file_.U32(0)) +
                             ", the header (type 1) expected");
    }
    if (file_.U32(40) != kSignature) {
      throw EInvalidMetafile("EMF: signature " + Hex(file_.U32(40)) + ", " + Hex(kSignature) +
                             " expected");
    }
    frame = {file_.I32(24), file_.I32(28), file_.I32(32), file_.I32(36)};
    handles = file_.U16(56);
    if (handles == 0) throw EInvalidMetafile("EMF: the header names no handle table (0 handles)");
    handles_ = handles;
    device = {file_.I32(72), file_.I32(76)};
    mm = {file_.I32(80), file_.I32(84)};
    constexpr std::int32_t kMaxSize = 1000000;
    bool invalid = device.X <= 0 || device.Y <= 0 || mm.X <= 0 || mm.Y <= 0 ||
                   device.X > kMaxSize || device.Y > kMaxSize || mm.X > kMaxSize || mm.Y > kMaxSize;
    // The micrometre extension, where present, gives the device size more precisely.
    um = invalid ? TEmfPoint{} : TEmfPoint{mm.X * 1000, mm.Y * 1000};
    if (file_.U32(4) >= 108 && file_.size >= 108 && file_.I32(100) > 0 && file_.I32(104) > 0) {
      um = {file_.I32(100), file_.I32(104)};
    }
    if (invalid) {
      throw EInvalidMetafile("EMF: reference device " + std::to_string(device.X) + " x " +
                             std::to_string(device.Y) + " pixels, " + std::to_string(mm.X) + " x " +
                             std::to_string(mm.Y) + " mm: expected 1 to 1000000 of each");
    }
    // 0.01 mm: a frame of up to ten kilometres a side keeps every width within range.
    constexpr std::int32_t kMaxFrame = 1000000000;
    for (std::int32_t v : {frame.Left, frame.Top, frame.Right, frame.Bottom}) {
      if (v < -kMaxFrame || v > kMaxFrame) {
        throw EInvalidMetafile("EMF: frame " + std::to_string(frame.Left) + "," +
                               std::to_string(frame.Top) + "-" + std::to_string(frame.Right) + "," +
                               std::to_string(frame.Bottom) +
                               " (0.01 mm): coordinates beyond 10 km");
      }
    }
  }

  std::vector<TEmfRecord> Records() {
    std::vector<TEmfRecord> records;
    std::size_t at = 0;
    for (index_ = 0;; ++index_) {
      offset_ = at;
      if (at + 8 > file_.size) {
        throw EInvalidMetafile("EMF: no end-of-file record after " + std::to_string(index_) +
                               " records");
      }
      type_ = file_.U32(at);
      std::uint32_t size = file_.U32(at + 4);
      rec_ = {file_.data + at, std::min<std::size_t>(size, file_.size - at)};
      if (size < 8 || size % 4 != 0) {
        Fail("size " + std::to_string(size) + " is not a multiple of 4 of at least 8");
      }
      if (size > file_.size - at) {
        Fail("size " + std::to_string(size) + " runs past the end of the file (" +
             std::to_string(file_.size) + " bytes)");
      }
      if (index_ == 0 && type_ != EMR_HEADER) Fail("the header must come first");
      if (type_ == EMR_EOF) break;
      if (std::optional<TEmfRecord> r = Decode()) records.push_back(std::move(*r));
      at += size;
    }
    return records;
  }

 private:
  std::vector<TEmfPoint> Points(std::size_t countAt, std::size_t pointsAt, bool small) {
    Need(pointsAt);
    std::uint64_t count = rec_.U32(countAt);
    std::uint64_t bytes = count * (small ? 4 : 8);
    if (bytes > rec_.size - pointsAt) {
      Fail(std::to_string(count) + " points need " + std::to_string(bytes) +
           " bytes, the record has " + std::to_string(rec_.size - pointsAt));
    }
    std::vector<TEmfPoint> points(count);
    for (std::size_t i = 0; i < count; ++i) {
      if (small) {
        points[i] = {rec_.I16(pointsAt + i * 4), rec_.I16(pointsAt + i * 4 + 2)};
      } else {
        points[i] = {rec_.I32(pointsAt + i * 8), rec_.I32(pointsAt + i * 8 + 4)};
      }
    }
    return points;
  }

  std::shared_ptr<const TEmfBitmap> Dib(std::uint32_t offBmi, std::uint32_t cbBmi,
                                        std::uint32_t offBits, std::uint32_t cbBits) {
    Inside(offBmi, cbBmi, "bitmap header");
    Inside(offBits, cbBits, "bitmap bits");
    if (cbBmi < 40 || rec_.U32(offBmi) < 40) {
      Fail("bitmap header of " + std::to_string(cbBmi) + " bytes, at least 40 expected");
    }
    std::int32_t width = rec_.I32(offBmi + 4);
    std::int32_t height = rec_.I32(offBmi + 8);
    int bits = rec_.U16(offBmi + 14);
    std::uint32_t compression = rec_.U32(offBmi + 16);
    std::uint32_t used = rec_.U32(offBmi + 32);
    bool bottomUp = height > 0;
    std::int64_t rows = bottomUp ? height : -static_cast<std::int64_t>(height);
    if (width <= 0 || rows <= 0 || width > kMaxBitmapSide || rows > kMaxBitmapSide ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(rows) > kMaxBitmapPixels) {
      Fail("bitmap " + std::to_string(width) + " x " + std::to_string(height) +
           ": expected 1 to 16384 pixels a side");
    }
    if (!(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32) ||
        !(compression == 0 || (compression == 3 && bits >= 16))) {
      Fail("bitmap of " + std::to_string(bits) + " bits a pixel, compression " +
           std::to_string(compression) + ": only uncompressed 1, 4, 8, 16, 24 and 32 bits read");
    }
    std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
    if (stride * rows > cbBits) {
      Fail("bitmap bits of " + std::to_string(cbBits) + " bytes, " + std::to_string(stride * rows) +
           " expected");
    }
    std::vector<std::uint32_t> palette;
    if (bits <= 8) {
      std::uint64_t entries = used ? used : (1u << bits);
      std::uint32_t headerSize = rec_.U32(offBmi);
      if (entries > 256 || headerSize > cbBmi || entries * 4 > cbBmi - headerSize) {
        Fail("bitmap palette of " + std::to_string(entries) + " colours does not fit its " +
             std::to_string(cbBmi) + "-byte header");
      }
      palette.resize(1u << bits, 0);
      for (std::uint64_t i = 0; i < entries && i < palette.size(); ++i) {
        palette[i] = rec_.U32(offBmi + headerSize + i * 4) & 0xFFFFFF;
      }
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * rows);
    for (std::int64_t y = 0; y < rows; ++y) {
      const unsigned char* row = rec_.data + offBits + (bottomUp ? rows - 1 - y : y) * stride;
      std::uint32_t* out = pixels.data() + y * width;
      for (std::int32_t x = 0; x < width; ++x) {
        switch (bits) {
          case 1:
            out[x] = palette[(row[x / 8] >> (7 - x % 8)) & 1];
            break;
          case 4:
            out[x] = palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 15];
            break;
          case 8:
            out[x] = palette[row[x]];
            break;
          case 16: {
            unsigned v = row[x * 2] | (row[x * 2 + 1] << 8);
            unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            out[x] = ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8) | (b << 3 | b >> 2);
            break;
          }
          case 24:
            out[x] = row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16);
            break;
          default:
            out[x] = row[x * 4] | (row[x * 4 + 1] << 8) | (row[x * 4 + 2] << 16);
        }
      }
    }
    return std::make_shared<TEmfBitmap>(width, static_cast<int>(rows), std::move(pixels));
  }

  void Text(TEmfRecord& r, bool wide) {
    Need(76);
    r.A[0] = rec_.I32(36);
    r.A[1] = rec_.I32(40);
    r.A[2] = static_cast<std::int32_t>(rec_.U32(52));
    for (int i = 0; i < 4; ++i) r.A[3 + i] = rec_.I32(56 + 4 * i);
    std::uint64_t chars = rec_.U32(44);
    std::uint32_t off = rec_.U32(48);
    std::uint64_t bytes = chars * (wide ? 2 : 1);
    if (off > rec_.size || bytes > rec_.size - off) {
      Fail("text of " + std::to_string(chars) + " characters at offset " + std::to_string(off) +
           " runs past the record (" + std::to_string(rec_.size) + " bytes)");
    }
    if (wide) {
      std::u16string text(chars, u'\0');
      for (std::size_t i = 0; i < chars; ++i)
        text[i] = static_cast<char16_t>(rec_.U16(off + 2 * i));
      r.Text = WideToUtf8(text);
    } else {
      r.Text.assign(reinterpret_cast<const char*>(rec_.data + off), chars);
    }
  }

  std::optional<TEmfRecord> Decode() {
    TEmfRecord r;
    r.Type = type_;
    auto ints = [&](int n) {
      Need(8 + 4 * n);
      for (int i = 0; i < n; ++i) r.A[i] = rec_.I32(8 + 4 * i);
    };
    switch (type_) {
      case EMR_HEADER:
        if (index_ != 0) Fail("a second header");
        Need(kHeaderSize);
        return std::nullopt;
      case EMR_SETWINDOWEXTEX:
      case EMR_SETWINDOWORGEX:
      case EMR_SETVIEWPORTEXTEX:
      case EMR_SETVIEWPORTORGEX:
      case EMR_MOVETOEX:
      case EMR_LINETO:
        ints(2);
        break;
      case EMR_SETMAPMODE:
      case EMR_SETBKMODE:
      case EMR_SETTEXTALIGN:
      case EMR_SETTEXTCOLOR:
      case EMR_SETBKCOLOR:
      case EMR_RESTOREDC:
        ints(1);
        break;
      case EMR_SAVEDC:
        break;
      case EMR_RECTANGLE:
      case EMR_ELLIPSE:
      case EMR_INTERSECTCLIPRECT:
        ints(4);
        break;
      case EMR_SELECTOBJECT:
        ints(1);
        Handle(static_cast<std::uint32_t>(r.A[0]), true);
        break;
      case EMR_DELETEOBJECT:
        ints(1);
        Handle(static_cast<std::uint32_t>(r.A[0]), false);
        break;
      case EMR_CREATEPEN:
        ints(5);  // handle, style, width x, width y, colour
        Handle(static_cast<std::uint32_t>(r.A[0]), false);
        r.A[3] = r.A[4];
        break;
      case EMR_EXTCREATEPEN:
        Need(52);
        r.A[0] = rec_.I32(8);
        Handle(static_cast<std::uint32_t>(r.A[0]), false);
        r.A[1] = rec_.I32(28);
        r.A[2] = rec_.I32(32);
        r.A[3] = rec_.I32(40);
        break;
      case EMR_CREATEBRUSHINDIRECT:
        ints(4);
        Handle(static_cast<std::uint32_t>(r.A[0]), false);
        break;
      case EMR_EXTCREATEFONTINDIRECTW: {
        Need(104);
        r.A[0] = rec_.I32(8);
        Handle(static_cast<std::uint32_t>(r.A[0]), false);
        r.Font.Height = rec_.I32(12);
        r.Font.Weight = rec_.I32(28);
        r.Font.Italic = rec_.data[32] != 0;
        r.Font.Underline = rec_.data[33] != 0;
        r.Font.StrikeOut = rec_.data[34] != 0;
        r.Font.Charset = rec_.data[35];
        std::u16string face;
        for (int i = 0; i < 32; ++i) {
          char16_t c = static_cast<char16_t>(rec_.U16(40 + 2 * i));
          if (!c) break;
          face.push_back(c);
        }
        r.Font.Face = WideToUtf8(face);
        break;
      }
      case EMR_EXTTEXTOUTA:
      case EMR_EXTTEXTOUTW:
        Text(r, type_ == EMR_EXTTEXTOUTW);
        break;
      case EMR_POLYGON:
      case EMR_POLYLINE:
        r.Points = Points(24, 28, false);
        break;
      case EMR_POLYGON16:
      case EMR_POLYLINE16:
        r.Points = Points(24, 28, true);
        break;
      case EMR_POLYPOLYLINE16:
      case EMR_POLYPOLYGON16: {
        Need(32);
        std::uint64_t polys = rec_.U32(24);
        std::uint64_t total = rec_.U32(28);
        if (polys * 4 + total * 4 > rec_.size - 32) {
          Fail(std::to_string(polys) + " polygons of " + std::to_string(total) +
               " points run past the record (" + std::to_string(rec_.size) + " bytes)");
        }
        std::uint64_t sum = 0;
        for (std::size_t i = 0; i < polys; ++i) {
          r.Counts.push_back(rec_.U32(32 + 4 * i));
          sum += r.Counts.back();
        }
        if (sum != total) {
          Fail("polygon point counts add up to " + std::to_string(sum) + ", the record says " +
               std::to_string(total));
        }
        std::size_t at = 32 + polys * 4;
        for (std::size_t i = 0; i < total; ++i) {
          r.Points.push_back({rec_.I16(at + i * 4), rec_.I16(at + i * 4 + 2)});
        }
        break;
      }
      case EMR_STRETCHDIBITS: {
        Need(80);
        r.A[0] = rec_.I32(24);  // x, y, cx, cy of the destination
        r.A[1] = rec_.I32(28);
        r.A[2] = rec_.I32(72);
        r.A[3] = rec_.I32(76);
        for (int i = 0; i < 4; ++i) r.A[4 + i] = rec_.I32(32 + 4 * i);  // source
        r.A[8] = rec_.I32(68);                                          // raster operation
        r.Bitmap = Dib(rec_.U32(48), rec_.U32(52), rec_.U32(56), rec_.U32(60));
        break;
      }
      case EMR_BITBLT: {
        Need(100);
        for (int i = 0; i < 4; ++i) r.A[i] = rec_.I32(24 + 4 * i);
        r.A[4] = rec_.I32(44);
        r.A[5] = rec_.I32(48);
        r.A[6] = r.A[2];
        r.A[7] = r.A[3];
        r.A[8] = rec_.I32(40);
        if (rec_.U32(88) != 0) {
          r.Bitmap = Dib(rec_.U32(84), rec_.U32(88), rec_.U32(92), rec_.U32(96));
        }
        break;
      }
      default:
        return std::nullopt;  // a record captions and rulings do not need
    }
    return r;
  }

  TReader file_;
  TReader rec_{nullptr, 0};
  std::size_t index_ = 0;
  std::size_t offset_ = 0;
  std::uint32_t type_ = 0;
  int handles_ = 1;
};

}  // namespace

TEmfBitmap::TEmfBitmap(int width, int height, std::vector<std::uint32_t> pixels)
    : Width(width), Height(height), Pixels(std::move(pixels)) {}

TEmfBitmap::~TEmfBitmap() {
  if (surface_) cairo_surface_destroy(surface_);
}

cairo_surface_t* TEmfBitmap::Surface() const {
  if (!surface_) {
    surface_ = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(Pixels.data())),
        CAIRO_FORMAT_RGB24, Width, Height, Width * 4);
  }
  return surface_;
}

std::string EmfRecordName(std::uint32_t type) {
  static const std::pair<std::uint32_t, const char*> kNames[] = {
      {EMR_HEADER, "HEADER"},
      {EMR_POLYGON, "POLYGON"},
      {EMR_POLYLINE, "POLYLINE"},
      {EMR_SETWINDOWEXTEX, "SETWINDOWEXTEX"},
      {EMR_SETWINDOWORGEX, "SETWINDOWORGEX"},
      {EMR_SETVIEWPORTEXTEX, "SETVIEWPORTEXTEX"},
      {EMR_SETVIEWPORTORGEX, "SETVIEWPORTORGEX"},
      {EMR_EOF, "EOF"},
      {EMR_SETMAPMODE, "SETMAPMODE"},
      {EMR_SETBKMODE, "SETBKMODE"},
      {EMR_SETTEXTALIGN, "SETTEXTALIGN"},
      {EMR_SETTEXTCOLOR, "SETTEXTCOLOR"},
      {EMR_SETBKCOLOR, "SETBKCOLOR"},
      {EMR_MOVETOEX, "MOVETOEX"},
      {EMR_INTERSECTCLIPRECT, "INTERSECTCLIPRECT"},
      {EMR_SAVEDC, "SAVEDC"},
      {EMR_RESTOREDC, "RESTOREDC"},
      {EMR_SELECTOBJECT, "SELECTOBJECT"},
      {EMR_CREATEPEN, "CREATEPEN"},
      {EMR_CREATEBRUSHINDIRECT, "CREATEBRUSHINDIRECT"},
      {EMR_DELETEOBJECT, "DELETEOBJECT"},
      {EMR_ELLIPSE, "ELLIPSE"},
      {EMR_RECTANGLE, "RECTANGLE"},
      {EMR_LINETO, "LINETO"},
      {EMR_BITBLT, "BITBLT"},
      {EMR_STRETCHDIBITS, "STRETCHDIBITS"},
      {EMR_EXTCREATEFONTINDIRECTW, "EXTCREATEFONTINDIRECTW"},
      {EMR_EXTTEXTOUTA, "EXTTEXTOUTA"},
      {EMR_EXTTEXTOUTW, "EXTTEXTOUTW"},
      {EMR_POLYGON16, "POLYGON16"},
      {EMR_POLYLINE16, "POLYLINE16"},
      {EMR_POLYPOLYLINE16, "POLYPOLYLINE16"},
      {EMR_POLYPOLYGON16, "POLYPOLYGON16"},
      {EMR_EXTCREATEPEN, "EXTCREATEPEN"},
  };
  for (const auto& [t, name] : kNames) {
    if (t == type) return name;
  }
  return "type " + std::to_string(type);
}

std::shared_ptr<const TMetafile> TMetafile::FromBytes(std::string_view bytes) {
  std::shared_ptr<TMetafile> emf(new TMetafile);
  TParser parser(bytes);
  parser.Header(emf->frame_, emf->devicePixels_, emf->deviceMm_, emf->deviceUm_, emf->handles_);
  emf->records_ = parser.Records();
  return emf;
}

std::shared_ptr<const TMetafile> TMetafile::LoadFromFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EFOpenError("EMF: cannot open \"" + path + "\"");
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  try {
    return FromBytes(bytes);
  } catch (const EInvalidMetafile& e) {
    throw EInvalidMetafile(std::string(e.what()) + " (\"" + path + "\")");
  }
}

std::shared_ptr<const TMetafile> TMetafile::TryLoadFromFile(const std::string& path,
                                                            std::string* error) {
  try {
    return LoadFromFile(path);
  } catch (const Exception& e) {
    if (error) *error = e.what();
    return nullptr;
  }
}

namespace {

struct TPen {
  std::uint32_t Style = PS_SOLID;
  int Width = 0;
  TPageColor Color = 0;
};
struct TBrush {
  std::uint32_t Style = BS_SOLID;
  TPageColor Color = 0xFFFFFF;
};

struct TObject {
  enum { None, Pen, Brush, Font } Kind = None;
  TPen P;
  TBrush B;
  TEmfFont F;
};

TObject StockObject(std::uint32_t index) {
  TObject o;
  static const TPageColor kGrays[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
  if (index <= BLACK_BRUSH) {
    o.Kind = TObject::Brush;
    o.B.Color = kGrays[index];
  } else if (index == NULL_BRUSH) {
    o.Kind = TObject::Brush;
    o.B.Style = BS_NULL;
  } else if (index == WHITE_PEN || index == BLACK_PEN || index == NULL_PEN) {
    o.Kind = TObject::Pen;
    o.P.Color = index == WHITE_PEN ? 0xFFFFFF : 0;
    o.P.Style = index == NULL_PEN ? PS_NULL : PS_SOLID;
  } else if (index >= 10 && index <= DEFAULT_GUI_FONT) {
    o.Kind = TObject::Font;
    o.F.Height = -12;
    o.F.Face = "MS Sans Serif";
  }
  return o;
}

struct TDcState {
  std::uint32_t MapMode = MM_TEXT;
  double WinOrgX = 0, WinOrgY = 0, WinExtX = 1, WinExtY = 1;
  double VpOrgX = 0, VpOrgY = 0, VpExtX = 1, VpExtY = 1;
  TPen Pen;
  TBrush Brush;
  TEmfFont Font;
  TPageColor TextColor = 0;
  TPageColor BkColor = 0xFFFFFF;
  std::uint32_t BkMode = OPAQUE;
  std::uint32_t TextAlign = 0;
  double CurX = 0, CurY = 0;
};

TPageFont PageFontOf(const TEmfFont& f, double size, TPageColor color) {
  TPageFont font;
  font.Name = Utf8ToAnsi(f.Face);
  font.Size = size;
  font.Style = static_cast<std::uint8_t>((f.Weight >= 600 ? FontStyleBit(fsBold) : 0) |
                                         (f.Italic ? FontStyleBit(fsItalic) : 0) |
                                         (f.Underline ? FontStyleBit(fsUnderline) : 0) |
                                         (f.StrikeOut ? FontStyleBit(fsStrikeOut) : 0));
  font.Color = color;
  font.Charset = f.Charset;
  return font;
}

// The character height of a logical font, in logical units.
double EmSize(const TEmfFont& f) {
  if (f.Height < 0) return -static_cast<double>(f.Height);
  if (f.Height > 0) return f.Height * 0.875;  // cell height less a usual internal leading
  return 12;
}

std::string TextUtf8Of(const TEmfRecord& r, const TEmfFont& font) {
  return r.Type == EMR_EXTTEXTOUTW ? r.Text : AnsiToUtf8(r.Text, CodePageOfCharset(font.Charset));
}

void SetColor(cairo_t* cr, TPageColor c) {
  cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                       ((c >> 16) & 0xFF) / 255.0);
}

class TPlayer {
 public:
  TPlayer(const TMetafile& emf, cairo_t* cr, TTextPainter& painter, double x, double y, double w,
          double h)
      : emf_(emf), cr_(cr), painter_(painter), objects_(emf.HandleCount()) {
    cairo_get_matrix(cr, &base_);
    // Frame (0.01 mm) in reference-device pixels, stretched over the destination.
    double pxX = double(emf.DevicePixels().X) / emf.DeviceMicrometers().X * 10;
    double pxY = double(emf.DevicePixels().Y) / emf.DeviceMicrometers().Y * 10;
    const TPageRect& f = emf.Frame();
    double fw = f.Width() * pxX, fh = f.Height() * pxY;
    if (fw <= 0) fw = emf.DevicePixels().X;
    if (fh <= 0) fh = emf.DevicePixels().Y;
    cairo_matrix_init(&dest_, w / fw, 0, 0, h / fh, x - f.Left * pxX * (w / fw),
                      y - f.Top * pxY * (h / fh));
  }

  void Run() {
    cairo_save(cr_);
    int depth = 0;
    for (const TEmfRecord& r : emf_.Records()) Step(r, depth);
    while (depth-- > 0) cairo_restore(cr_);
    cairo_restore(cr_);
  }

 private:
  void Apply() {
    const TDcState& s = dc_;
    cairo_matrix_t logical;
    if (s.MapMode == MM_ISOTROPIC || s.MapMode == MM_ANISOTROPIC) {
      double sx = s.WinExtX ? s.VpExtX / s.WinExtX : 1, sy = s.WinExtY ? s.VpExtY / s.WinExtY : 1;
      if (s.MapMode == MM_ISOTROPIC) {
        double m = std::min(std::fabs(sx), std::fabs(sy));
        sx = std::copysign(m, sx);
        sy = std::copysign(m, sy);
      }
      cairo_matrix_init(&logical, sx, 0, 0, sy, s.VpOrgX - s.WinOrgX * sx,
                        s.VpOrgY - s.WinOrgY * sy);
    } else {
      // MM_TEXT; metric and English modes: logical units scaled by the reference device.
      double unitMm = 0;
      switch (s.MapMode) {
        case 2:
          unitMm = 0.1;
          break;  // MM_LOMETRIC
        case 3:
          unitMm = 0.01;
          break;  // MM_HIMETRIC
        case 4:
          unitMm = 0.254;
          break;  // MM_LOENGLISH
        case 5:
          unitMm = 0.0254;
          break;  // MM_HIENGLISH
        case 6:
          unitMm = 25.4 / 1440;
          break;  // MM_TWIPS
      }
      double sx = 1, sy = 1;
      if (unitMm > 0) {
        sx = unitMm * 1000 * emf_.DevicePixels().X / emf_.DeviceMicrometers().X;
        sy = -unitMm * 1000 * emf_.DevicePixels().Y / emf_.DeviceMicrometers().Y;
      }
      cairo_matrix_init(&logical, sx, 0, 0, sy, s.VpOrgX - s.WinOrgX * sx,
                        s.VpOrgY - s.WinOrgY * sy);
    }
    cairo_matrix_t m;
    cairo_matrix_multiply(&m, &logical, &dest_);
    cairo_matrix_multiply(&m, &m, &base_);
    cairo_set_matrix(cr_, &m);
  }

  void Stroke() {
    if (dc_.Pen.Style == PS_NULL) {
      cairo_new_path(cr_);
      return;
    }
    double w = dc_.Pen.Width, dy = 0;
    if (w <= 0) {  // a cosmetic pen: one device pixel at any size
      w = 1;
      cairo_device_to_user_distance(cr_, &w, &dy);
      w = std::fabs(w);
    }
    cairo_set_line_width(cr_, w);
    static const double kDash[] = {6, 3};
    static const double kDot[] = {1, 2};
    if (dc_.Pen.Style == PS_DASH) {
      cairo_set_dash(cr_, kDash, 2, 0);
    } else if (dc_.Pen.Style == PS_DOT) {
      cairo_set_dash(cr_, kDot, 2, 0);
    } else {
      cairo_set_dash(cr_, nullptr, 0, 0);
    }
    SetColor(cr_, dc_.Pen.Color);
    cairo_stroke(cr_);
  }

  void FillAndStroke() {
    if (dc_.Brush.Style != BS_NULL) {
      SetColor(cr_, dc_.Brush.Color);
      cairo_fill_preserve(cr_);
    }
    Stroke();
  }

  // Lines of thin pens fall on pixel centres, as the screen draws them: sharp rulings.
  void Point(double x, double y, bool move, bool snap) {
    if (snap && dc_.Pen.Width <= 1) {
      cairo_user_to_device(cr_, &x, &y);
      // The frame is kept in 0.01 mm, so a point may land a hair short of its pixel.
      x = std::floor(x + 0.02) + 0.5;
      y = std::floor(y + 0.02) + 0.5;
      cairo_device_to_user(cr_, &x, &y);
    }
    if (move) {
      cairo_move_to(cr_, x, y);
    } else {
      cairo_line_to(cr_, x, y);
    }
  }

  void Path(const std::vector<TEmfPoint>& points, std::size_t from, std::size_t count, bool close) {
    if (count == 0) return;
    Point(points[from].X, points[from].Y, true, !close);
    for (std::size_t i = from + 1; i < from + count; ++i) {
      Point(points[i].X, points[i].Y, false, !close);
    }
    if (close) cairo_close_path(cr_);
  }

  void Select(std::uint32_t handle) {
    TObject o = handle & kStockObject ? StockObject(handle & ~kStockObject) : objects_[handle];
    if (o.Kind == TObject::Pen) dc_.Pen = o.P;
    if (o.Kind == TObject::Brush) dc_.Brush = o.B;
    if (o.Kind == TObject::Font) dc_.Font = o.F;
  }

  void Text(const TEmfRecord& r) {
    std::string utf8 = TextUtf8Of(r, dc_.Font);
    double size = EmSize(dc_.Font);
    TPageFont font = PageFontOf(dc_.Font, size, dc_.TextColor);
    bool updateCp = dc_.TextAlign & TA_UPDATECP;
    double lx = updateCp ? dc_.CurX : r.A[0], ly = updateCp ? dc_.CurY : r.A[1];
    const std::uint32_t ETO_OPAQUE = 2, ETO_CLIPPED = 4;
    cairo_save(cr_);
    if (r.A[2] & (ETO_OPAQUE | ETO_CLIPPED)) {
      cairo_rectangle(cr_, r.A[3], r.A[4], double(r.A[5]) - r.A[3], double(r.A[6]) - r.A[4]);
      if (r.A[2] & ETO_OPAQUE) {
        SetColor(cr_, dc_.BkColor);
        cairo_fill_preserve(cr_);
      }
      if (r.A[2] & ETO_CLIPPED) cairo_clip(cr_);
      cairo_new_path(cr_);
    }
    // Text stands upright whichever way the mapping turns the axes.
    double dx = lx, dy = ly, sx = 1, sy = 0, tx = 0, ty = 1;
    cairo_user_to_device(cr_, &dx, &dy);
    cairo_user_to_device_distance(cr_, &sx, &sy);
    cairo_user_to_device_distance(cr_, &tx, &ty);
    double scaleX = std::hypot(sx, sy), scaleY = std::hypot(tx, ty);
    cairo_identity_matrix(cr_);
    cairo_translate(cr_, dx, dy);
    cairo_scale(cr_, scaleX, scaleY);
    TTextExtent extent = painter_.Measure(font, utf8);
    double x = 0, y = 0;
    std::uint32_t h = dc_.TextAlign & TA_CENTER;
    if (h == TA_CENTER) {
      x = -extent.Width / 2;
    } else if (h == TA_RIGHT) {
      x = -extent.Width;
    }
    std::uint32_t v = dc_.TextAlign & TA_BASELINE;
    if (v == TA_BASELINE) {
      y = -extent.Ascent;
    } else if (v == TA_BOTTOM) {
      y = -extent.Height;
    }
    if (dc_.BkMode == OPAQUE && !(r.A[2] & ETO_OPAQUE)) {
      SetColor(cr_, dc_.BkColor);
      cairo_rectangle(cr_, x, y, extent.Width, extent.Height);
      cairo_fill(cr_);
    }
    SetColor(cr_, dc_.TextColor);
    painter_.Draw(cr_, font, utf8, x, y);
    cairo_restore(cr_);
    if (updateCp) dc_.CurX += (h == TA_RIGHT ? -extent.Width : extent.Width) / scaleX;
  }

  void Bitmap(const TEmfRecord& r) {
    const std::int32_t PATCOPY = 0xF00021, BLACKNESS = 0x42, WHITENESS = 0xFF0062;
    cairo_save(cr_);
    cairo_rectangle(cr_, r.A[0], r.A[1], r.A[2], r.A[3]);
    if (!r.Bitmap) {
      if (r.A[8] == PATCOPY || r.A[8] == BLACKNESS || r.A[8] == WHITENESS) {
        SetColor(cr_, r.A[8] == PATCOPY ? dc_.Brush.Color : r.A[8] == BLACKNESS ? 0 : 0xFFFFFF);
        cairo_fill(cr_);
      }
      cairo_restore(cr_);
      return;
    }
    cairo_clip(cr_);
    const TEmfBitmap& bmp = *r.Bitmap;
    double srcW = r.A[6] ? r.A[6] : bmp.Width, srcH = r.A[7] ? r.A[7] : bmp.Height;
    // The source rectangle counts rows from the bottom of a bottom-up bitmap; ours are
    // turned top-down, and the source of captions and rulings is the whole bitmap.
    cairo_translate(cr_, r.A[0], r.A[1]);
    cairo_scale(cr_, r.A[2] / srcW, r.A[3] / srcH);
    cairo_set_source_surface(cr_, bmp.Surface(), -r.A[4], -r.A[5]);
    // Enlarged bitmaps keep their pixels square, as the screen stretches them.
    double ux = 1, uy = 0;
    cairo_user_to_device_distance(cr_, &ux, &uy);
    cairo_pattern_set_filter(cairo_get_source(cr_),
                             std::hypot(ux, uy) > 1 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_paint(cr_);
    cairo_restore(cr_);
  }

  void Step(const TEmfRecord& r, int& depth) {
    switch (r.Type) {
      case EMR_SETMAPMODE:
        dc_.MapMode = static_cast<std::uint32_t>(r.A[0]);
        break;
      case EMR_SETWINDOWEXTEX:
        dc_.WinExtX = r.A[0];
        dc_.WinExtY = r.A[1];
        break;
      case EMR_SETWINDOWORGEX:
        dc_.WinOrgX = r.A[0];
        dc_.WinOrgY = r.A[1];
        break;
      case EMR_SETVIEWPORTEXTEX:
        dc_.VpExtX = r.A[0];
        dc_.VpExtY = r.A[1];
        break;
      case EMR_SETVIEWPORTORGEX:
        dc_.VpOrgX = r.A[0];
        dc_.VpOrgY = r.A[1];
        break;
      case EMR_SETBKMODE:
        dc_.BkMode = static_cast<std::uint32_t>(r.A[0]);
        break;
      case EMR_SETTEXTALIGN:
        dc_.TextAlign = static_cast<std::uint32_t>(r.A[0]);
        break;
      case EMR_SETTEXTCOLOR:
        dc_.TextColor = r.A[0] & 0xFFFFFF;
        break;
      case EMR_SETBKCOLOR:
        dc_.BkColor = r.A[0] & 0xFFFFFF;
        break;
      case EMR_MOVETOEX:
        dc_.CurX = r.A[0];
        dc_.CurY = r.A[1];
        break;
      case EMR_SAVEDC:
        saved_.push_back(dc_);
        cairo_save(cr_);
        ++depth;
        break;
      case EMR_RESTOREDC: {
        // Relative (negative) restores only; a wrong depth restores nothing.
        int back = -r.A[0];
        if (back >= 1 && back <= static_cast<int>(saved_.size())) {
          for (int i = 0; i < back; ++i) {
            dc_ = saved_.back();
            saved_.pop_back();
            cairo_restore(cr_);
            --depth;
          }
        }
        break;
      }
      case EMR_CREATEPEN:
      case EMR_EXTCREATEPEN: {
        TObject& o = objects_[r.A[0]];
        o = TObject{};
        o.Kind = TObject::Pen;
        o.P = {static_cast<std::uint32_t>(r.A[1]) & 0xF, r.A[2], r.A[3] & 0xFFFFFF};
        break;
      }
      case EMR_CREATEBRUSHINDIRECT: {
        TObject& o = objects_[r.A[0]];
        o = TObject{};
        o.Kind = TObject::Brush;
        o.B = {static_cast<std::uint32_t>(r.A[1]) == BS_NULL ? BS_NULL : BS_SOLID,
               r.A[2] & 0xFFFFFF};
        break;
      }
      case EMR_EXTCREATEFONTINDIRECTW: {
        TObject& o = objects_[r.A[0]];
        o = TObject{};
        o.Kind = TObject::Font;
        o.F = r.Font;
        break;
      }
      case EMR_SELECTOBJECT:
        Select(static_cast<std::uint32_t>(r.A[0]));
        break;
      case EMR_DELETEOBJECT:
        objects_[r.A[0]] = TObject{};
        break;
      case EMR_INTERSECTCLIPRECT:
        Apply();
        cairo_rectangle(cr_, r.A[0], r.A[1], double(r.A[2]) - r.A[0], double(r.A[3]) - r.A[1]);
        cairo_clip(cr_);
        break;
      case EMR_LINETO:
        Apply();
        Point(dc_.CurX, dc_.CurY, true, true);
        Point(r.A[0], r.A[1], false, true);
        Stroke();
        dc_.CurX = r.A[0];
        dc_.CurY = r.A[1];
        break;
      case EMR_RECTANGLE:
      case EMR_ELLIPSE:
        Apply();
        if (r.Type == EMR_RECTANGLE) {
          cairo_rectangle(cr_, r.A[0], r.A[1], double(r.A[2]) - r.A[0], double(r.A[3]) - r.A[1]);
        } else {
          cairo_save(cr_);
          cairo_translate(cr_, (double(r.A[0]) + r.A[2]) / 2.0, (double(r.A[1]) + r.A[3]) / 2.0);
          double rx = (double(r.A[2]) - r.A[0]) / 2.0, ry = (double(r.A[3]) - r.A[1]) / 2.0;
          if (rx != 0 && ry != 0) {
            cairo_scale(cr_, rx, ry);
            cairo_arc(cr_, 0, 0, 1, 0, 2 * M_PI);
          }
          cairo_restore(cr_);
        }
        FillAndStroke();
        break;
      case EMR_POLYLINE:
      case EMR_POLYLINE16:
        Apply();
        Path(r.Points, 0, r.Points.size(), false);
        Stroke();
        break;
      case EMR_POLYGON:
      case EMR_POLYGON16:
        Apply();
        Path(r.Points, 0, r.Points.size(), true);
        FillAndStroke();
        break;
      case EMR_POLYPOLYLINE16:
      case EMR_POLYPOLYGON16: {
        Apply();
        std::size_t at = 0;
        for (std::uint32_t n : r.Counts) {
          Path(r.Points, at, n, r.Type == EMR_POLYPOLYGON16);
          at += n;
        }
        if (r.Type == EMR_POLYPOLYGON16) {
          FillAndStroke();
        } else {
          Stroke();
        }
        break;
      }
      case EMR_EXTTEXTOUTA:
      case EMR_EXTTEXTOUTW:
        Apply();
        Text(r);
        break;
      case EMR_STRETCHDIBITS:
      case EMR_BITBLT:
        Apply();
        Bitmap(r);
        break;
    }
  }

  const TMetafile& emf_;
  cairo_t* cr_;
  TTextPainter& painter_;
  std::vector<TObject> objects_;
  cairo_matrix_t base_;
  cairo_matrix_t dest_;
  TDcState dc_;
  std::vector<TDcState> saved_;
};

}  // namespace

void TMetafile::Play(cairo_t* cr, TTextPainter& painter, double x, double y, double width,
                     double height) const {
  TPlayer(*this, cr, painter, x, y, width, height).Run();
}

std::vector<TMetafile::TText> TMetafile::Texts() const {
  std::vector<TText> texts;
  std::vector<TEmfFont> fonts(handles_);
  TEmfFont font = StockObject(SYSTEM_FONT).F;
  for (const TEmfRecord& r : records_) {
    if (r.Type == EMR_EXTCREATEFONTINDIRECTW) fonts[r.A[0]] = r.Font;
    if (r.Type == EMR_SELECTOBJECT) {
      auto h = static_cast<std::uint32_t>(r.A[0]);
      if (h & kStockObject) {
        TObject o = StockObject(h & ~kStockObject);
        if (o.Kind == TObject::Font) font = o.F;
      } else if (!fonts[h].Face.empty()) {
        font = fonts[h];
      }
    }
    if (r.Type == EMR_EXTTEXTOUTA || r.Type == EMR_EXTTEXTOUTW) {
      texts.push_back({PageFontOf(font, 9, 0), TextUtf8Of(r, font)});
    }
  }
  return texts;
}

std::string TMetafile::Dump() const {
  std::ostringstream out;
  out << "emf frame " << frame_.Left << "," << frame_.Top << "-" << frame_.Right << ","
      << frame_.Bottom << " device " << devicePixels_.X << "x" << devicePixels_.Y << " mm "
      << deviceMm_.X << "x" << deviceMm_.Y << " handles " << handles_ << "\n";
  for (const TEmfRecord& r : records_) {
    out << EmfRecordName(r.Type);
    int n = 0;
    switch (r.Type) {
      case EMR_SAVEDC:
        n = 0;
        break;
      case EMR_SETMAPMODE:
      case EMR_SETBKMODE:
      case EMR_SETTEXTALIGN:
      case EMR_RESTOREDC:
      case EMR_SELECTOBJECT:
      case EMR_DELETEOBJECT:
        n = 1;
        break;
      case EMR_SETTEXTCOLOR:
      case EMR_SETBKCOLOR:
        n = 1;
        break;
      case EMR_EXTTEXTOUTA:
      case EMR_EXTTEXTOUTW:
        n = 3;
        break;
      case EMR_CREATEPEN:
      case EMR_EXTCREATEPEN:
      case EMR_CREATEBRUSHINDIRECT:
        n = 4;
        break;
      case EMR_RECTANGLE:
      case EMR_ELLIPSE:
      case EMR_INTERSECTCLIPRECT:
        n = 4;
        break;
      case EMR_STRETCHDIBITS:
      case EMR_BITBLT:
        n = 9;
        break;
      case EMR_EXTCREATEFONTINDIRECTW:
        n = 1;
        break;
      default:
        n = r.Points.empty() ? 2 : 0;
    }
    for (int i = 0; i < n; ++i) out << " " << r.A[i];
    if (r.Type == EMR_EXTCREATEFONTINDIRECTW) {
      out << " \"" << r.Font.Face << "\" height " << r.Font.Height << " weight " << r.Font.Weight
          << " charset " << r.Font.Charset;
    }
    if (r.Type == EMR_EXTTEXTOUTW) out << " \"" << r.Text << "\"";
    if (r.Type == EMR_EXTTEXTOUTA) out << " \"" << AnsiToUtf8(r.Text) << "\" (ansi)";
    for (std::uint32_t c : r.Counts) out << " [" << c << "]";
    for (const TEmfPoint& p : r.Points) out << " " << p.X << "," << p.Y;
    if (r.Bitmap) out << " bitmap " << r.Bitmap->Width << "x" << r.Bitmap->Height;
    out << "\n";
  }
  return out.str();
}

// ----- writer -----

namespace {

void Put32(std::string& s, std::uint32_t v) {
  char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  s.append(b, 4);
}
void PutI(std::string& s, std::int32_t v) {
  Put32(s, static_cast<std::uint32_t>(v));
}
void Put16(std::string& s, std::uint16_t v) {
  char b[2] = {char(v), char(v >> 8)};
  s.append(b, 2);
}
void Pad4(std::string& s) {
  while (s.size() % 4) s.push_back('\0');
}

}  // namespace

TEmfWriter::TEmfWriter(int widthPixels, int heightPixels, int dpi)
    : width_(widthPixels), height_(heightPixels), dpi_(dpi) {
  if (widthPixels <= 0 || heightPixels <= 0 || dpi <= 0) {
    throw EInvalidMetafile("EMF writer: a positive size and resolution expected");
  }
}

void TEmfWriter::Record(std::uint32_t type, const std::string& body) {
  std::string r;
  Put32(r, type);
  Put32(r, static_cast<std::uint32_t>(8 + body.size()));
  r += body;
  Pad4(r);
  // The size field counts the padding too.
  std::uint32_t size = static_cast<std::uint32_t>(r.size());
  std::memcpy(&r[4], &size, 4);
  records_ += r;
  ++recordCount_;
}

std::uint32_t TEmfWriter::CreatePen(std::uint32_t style, int width, TPageColor color) {
  std::uint32_t h = nextHandle_++;
  std::string b;
  Put32(b, h);
  Put32(b, style);
  PutI(b, width);
  PutI(b, 0);
  PutI(b, color);
  Record(EMR_CREATEPEN, b);
  return h;
}

std::uint32_t TEmfWriter::CreateBrush(std::uint32_t style, TPageColor color) {
  std::uint32_t h = nextHandle_++;
  std::string b;
  Put32(b, h);
  Put32(b, style);
  PutI(b, color);
  Put32(b, 0);
  Record(EMR_CREATEBRUSHINDIRECT, b);
  return h;
}

std::uint32_t TEmfWriter::CreateFont(const TEmfFont& font) {
  std::uint32_t h = nextHandle_++;
  std::string b;
  Put32(b, h);
  PutI(b, font.Height);
  PutI(b, 0);  // width
  PutI(b, 0);  // escapement
  PutI(b, 0);  // orientation
  PutI(b, font.Weight);
  b.push_back(font.Italic ? 1 : 0);
  b.push_back(font.Underline ? 1 : 0);
  b.push_back(font.StrikeOut ? 1 : 0);
  b.push_back(static_cast<char>(font.Charset));
  b.append(4, '\0');  // precisions, quality, pitch and family
  std::u16string face = Utf8ToWide(font.Face);
  face.resize(32, u'\0');
  face[31] = u'\0';
  for (char16_t c : face) Put16(b, c);
  Record(EMR_EXTCREATEFONTINDIRECTW, b);
  return h;
}

void TEmfWriter::SelectObject(std::uint32_t handle) {
  std::string b;
  Put32(b, handle);
  Record(EMR_SELECTOBJECT, b);
}

void TEmfWriter::DeleteObject(std::uint32_t handle) {
  std::string b;
  Put32(b, handle);
  Record(EMR_DELETEOBJECT, b);
}

namespace {
std::string Ints(std::initializer_list<std::int32_t> values) {
  std::string b;
  for (std::int32_t v : values) PutI(b, v);
  return b;
}
}  // namespace

void TEmfWriter::SetMapMode(std::uint32_t mode) {
  Record(EMR_SETMAPMODE, Ints({std::int32_t(mode)}));
}
void TEmfWriter::SetWindowOrg(int x, int y) {
  Record(EMR_SETWINDOWORGEX, Ints({x, y}));
}
void TEmfWriter::SetWindowExt(int cx, int cy) {
  Record(EMR_SETWINDOWEXTEX, Ints({cx, cy}));
}
void TEmfWriter::SetViewportOrg(int x, int y) {
  Record(EMR_SETVIEWPORTORGEX, Ints({x, y}));
}
void TEmfWriter::SetViewportExt(int cx, int cy) {
  Record(EMR_SETVIEWPORTEXTEX, Ints({cx, cy}));
}
void TEmfWriter::SetTextColor(TPageColor color) {
  Record(EMR_SETTEXTCOLOR, Ints({color}));
}
void TEmfWriter::SetBkColor(TPageColor color) {
  Record(EMR_SETBKCOLOR, Ints({color}));
}
void TEmfWriter::SetBkMode(std::uint32_t mode) {
  Record(EMR_SETBKMODE, Ints({std::int32_t(mode)}));
}
void TEmfWriter::SetTextAlign(std::uint32_t align) {
  Record(EMR_SETTEXTALIGN, Ints({std::int32_t(align)}));
}
void TEmfWriter::SaveDC() {
  Record(EMR_SAVEDC, {});
}
void TEmfWriter::RestoreDC(int relative) {
  Record(EMR_RESTOREDC, Ints({relative}));
}
void TEmfWriter::MoveTo(int x, int y) {
  Record(EMR_MOVETOEX, Ints({x, y}));
}
void TEmfWriter::LineTo(int x, int y) {
  Record(EMR_LINETO, Ints({x, y}));
}
void TEmfWriter::Rectangle(int l, int t, int r, int b) {
  Record(EMR_RECTANGLE, Ints({l, t, r, b}));
}
void TEmfWriter::Ellipse(int l, int t, int r, int b) {
  Record(EMR_ELLIPSE, Ints({l, t, r, b}));
}

void TEmfWriter::Poly(std::uint32_t type16, std::uint32_t type32,
                      const std::vector<TEmfPoint>& points) {
  bool small = std::all_of(points.begin(), points.end(), [](const TEmfPoint& p) {
    return p.X >= -32768 && p.X <= 32767 && p.Y >= -32768 && p.Y <= 32767;
  });
  std::string b = Ints({0, 0, width_ - 1, height_ - 1});
  Put32(b, static_cast<std::uint32_t>(points.size()));
  for (const TEmfPoint& p : points) {
    if (small) {
      Put16(b, static_cast<std::uint16_t>(p.X));
      Put16(b, static_cast<std::uint16_t>(p.Y));
    } else {
      PutI(b, p.X);
      PutI(b, p.Y);
    }
  }
  Record(small ? type16 : type32, b);
}

void TEmfWriter::Polyline(const std::vector<TEmfPoint>& points) {
  Poly(EMR_POLYLINE16, EMR_POLYLINE, points);
}
void TEmfWriter::Polygon(const std::vector<TEmfPoint>& points) {
  Poly(EMR_POLYGON16, EMR_POLYGON, points);
}

void TEmfWriter::TextOut(std::uint32_t type, int x, int y, const std::string& chars,
                         std::uint32_t count) {
  std::string b = Ints({0, 0, width_ - 1, height_ - 1});
  Put32(b, 1);  // GM_COMPATIBLE
  float scale = 1;
  std::uint32_t bits;
  std::memcpy(&bits, &scale, 4);
  Put32(b, bits);
  Put32(b, bits);
  PutI(b, x);
  PutI(b, y);
  Put32(b, count);
  Put32(b, 76);  // the string follows the fixed part
  Put32(b, 0);   // options
  b += Ints({0, 0, -1, -1});
  Put32(b, 0);  // no spacing array
  b += chars;
  Record(type, b);
}

void TEmfWriter::TextOutW(int x, int y, std::string_view utf8) {
  std::u16string text = Utf8ToWide(utf8);
  std::string chars;
  for (char16_t c : text) Put16(chars, c);
  TextOut(EMR_EXTTEXTOUTW, x, y, chars, static_cast<std::uint32_t>(text.size()));
}

void TEmfWriter::TextOutA(int x, int y, std::string_view ansi) {
  TextOut(EMR_EXTTEXTOUTA, x, y, std::string(ansi), static_cast<std::uint32_t>(ansi.size()));
}

void TEmfWriter::StretchDIBits(int x, int y, int width, int height, int bitmapWidth,
                               int bitmapHeight, const std::vector<std::uint32_t>& pixels) {
  if (bitmapWidth <= 0 || bitmapHeight <= 0 ||
      pixels.size() != static_cast<std::size_t>(bitmapWidth) * bitmapHeight) {
    throw EInvalidMetafile("EMF writer: " + std::to_string(pixels.size()) + " pixels given for " +
                           std::to_string(bitmapWidth) + " x " + std::to_string(bitmapHeight));
  }
  std::uint32_t stride = ((bitmapWidth * 24 + 31) / 32) * 4;
  std::uint32_t cbBits = stride * bitmapHeight;
  std::string b =
      Ints({x, y, x + width - 1, y + height - 1, x, y, 0, 0, bitmapWidth, bitmapHeight});
  Put32(b, 80);        // offBmiSrc
  Put32(b, 40);        // cbBmiSrc
  Put32(b, 120);       // offBitsSrc
  Put32(b, cbBits);    // cbBitsSrc
  Put32(b, 0);         // DIB_RGB_COLORS
  Put32(b, 0xCC0020);  // SRCCOPY
  PutI(b, width);
  PutI(b, height);
  b += Ints({40, bitmapWidth, bitmapHeight});  // bottom-up
  Put16(b, 1);
  Put16(b, 24);
  b += Ints({0, std::int32_t(cbBits), 0, 0, 0, 0});
  for (int row = bitmapHeight - 1; row >= 0; --row) {
    std::size_t start = b.size();
    for (int col = 0; col < bitmapWidth; ++col) {
      std::uint32_t p = pixels[static_cast<std::size_t>(row) * bitmapWidth + col];
      b.push_back(char(p));
      b.push_back(char(p >> 8));
      b.push_back(char(p >> 16));
    }
    b.append(stride - (b.size() - start), '\0');
  }
  Record(EMR_STRETCHDIBITS, b);
}

std::string TEmfWriter::Bytes() const {
  std::string eof = Ints({EMR_EOF, 20, 0, 16, 20});
  const std::uint32_t headerSize = 108;
  std::uint32_t total = headerSize + static_cast<std::uint32_t>(records_.size() + eof.size());
  // The reference device is ten inches square at the writer's resolution, so its pixels and
  // millimetres give the resolution exactly.
  std::int32_t devicePixels = dpi_ * 10;
  std::string h;
  Put32(h, EMR_HEADER);
  Put32(h, headerSize);
  h += Ints({0, 0, width_ - 1, height_ - 1});
  h += Ints({0, 0, static_cast<std::int32_t>(std::lround(width_ * 2540.0 / dpi_)),
             static_cast<std::int32_t>(std::lround(height_ * 2540.0 / dpi_))});
  Put32(h, kSignature);
  Put32(h, 0x10000);
  Put32(h, total);
  Put32(h, recordCount_ + 2);
  Put16(h, static_cast<std::uint16_t>(nextHandle_));
  Put16(h, 0);
  h += Ints({0, 0, 0, devicePixels, devicePixels, 254, 254, 0, 0, 0, 254000, 254000});
  return h + records_ + eof;
}

void TEmfWriter::SaveToFile(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::string bytes = Bytes();
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw EFOpenError("EMF: cannot write \"" + path + "\"");
}

}  // namespace nv
