#include "platform/data/DataPacket.h"

#include "platform/data/WireProtocol.h"

namespace nv {

namespace {
constexpr char kPacketMagic[4] = {'N', 'V', 'D', 'P'};
constexpr std::uint8_t kPacketVersion = 1;
enum CellTag : std::uint8_t { kNull = 0, kText = 1, kInteger = 2, kFloat = 3 };

void PutU32At(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
}
}  // namespace

DataPacketWriter::DataPacketWriter(const std::vector<TFieldDesc>& fields) {
  if (fields.size() > kMaxPacketColumns) throw EWireError("more than 1024 columns");
  wire::Writer w;
  w.Bytes().append(kPacketMagic, 4);
  w.U8(kPacketVersion);
  w.U16(static_cast<std::uint16_t>(fields.size()));
  for (const TFieldDesc& f : fields) {
    w.Text(f.name);
    w.U8(static_cast<std::uint8_t>(f.type));
    w.U32(f.size);
  }
  rowCountAt_ = w.Bytes().size();
  w.U32(0);
  bytes_ = w.Take();
}

void DataPacketWriter::Null() {
  bytes_.push_back(static_cast<char>(kNull));
}

void DataPacketWriter::Text(std::string_view text) {
  bytes_.push_back(static_cast<char>(kText));
  std::uint32_t n = static_cast<std::uint32_t>(text.size());
  for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>(n >> (8 * i)));
  bytes_.append(text);
}

void DataPacketWriter::Integer(std::int64_t value) {
  bytes_.push_back(static_cast<char>(kInteger));
  auto u = static_cast<std::uint64_t>(value);
  for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<char>(u >> (8 * i)));
}

void DataPacketWriter::Float(double value) {
  wire::Writer w;
  w.F64(value);
  bytes_.push_back(static_cast<char>(kFloat));
  bytes_.append(w.Bytes());
}

std::string DataPacketWriter::Finish() {
  PutU32At(bytes_, rowCountAt_, rows_);
  return std::move(bytes_);
}

std::string EncodeDataPacket(const DataPacket& packet) {
  DataPacketWriter w(packet.fields);
  for (const auto& row : packet.rows) {
    if (row.size() != packet.fields.size()) throw EWireError("row width differs from the columns");
    for (const Variant& cell : row) {
      switch (cell.Type()) {
        case VarType::Empty:
        case VarType::Null:
          w.Null();
          break;
        case VarType::SmallInt:
        case VarType::Integer:
        case VarType::Boolean:
          w.Integer(cell.AsInteger());
          break;
        case VarType::Double:
        case VarType::Date:
          w.Float(cell.AsDouble());
          break;
        default:
          w.Text(cell.AsString());
      }
    }
    w.EndRow();
  }
  return w.Finish();
}

namespace {
// The header: magic, version, columns; leaves the reader at the row count.
std::vector<TFieldDesc> ReadHeader(wire::Reader& r, std::string_view bytes) {
  if (r.Left() < 4 || bytes.substr(0, 4) != std::string_view(kPacketMagic, 4)) {
    throw EWireError("bad data packet magic");
  }
  r.U32();
  std::uint8_t version = r.U8();
  if (version != kPacketVersion)
    throw EWireError("unsupported data packet version " + IntToStr(version));
  std::uint16_t columns = r.U16();
  if (columns > kMaxPacketColumns) throw EWireError("more than 1024 columns");
  std::vector<TFieldDesc> fields;
  for (int i = 0; i < columns; ++i) {
    TFieldDesc f;
    f.name = r.Text();
    std::uint8_t type = r.U8();
    if (type > static_cast<std::uint8_t>(TFieldType::ftBoolean)) {
      throw EWireError("unknown field type " + IntToStr(type));
    }
    f.type = static_cast<TFieldType>(type);
    f.size = r.U32();
    fields.push_back(std::move(f));
  }
  return fields;
}

Variant ReadCell(wire::Reader& r) {
  switch (r.U8()) {
    case kNull:
      return Variant::Null();
    case kText:
      return Variant(r.TextView());
    case kInteger: {
      std::int64_t v = r.I64();
      if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<int>(v));
      return Variant(static_cast<double>(v));
    }
    case kFloat:
      return Variant(r.F64());
    default:
      throw EWireError("unknown cell tag");
  }
}

void SkipCell(wire::Reader& r) {
  switch (r.U8()) {
    case kNull:
      return;
    case kText:
      r.TextView();
      return;
    case kInteger:
      r.I64();
      return;
    case kFloat:
      r.F64();
      return;
    default:
      throw EWireError("unknown cell tag");
  }
}
}  // namespace

TPacketRows::TPacketRows(std::string bytes) : bytes_(std::move(bytes)) {
  wire::Reader r(bytes_);
  fields_ = ReadHeader(r, bytes_);
  std::size_t columns = fields_.size();
  std::uint32_t rows = r.U32();
  if (columns == 0 && rows != 0) throw EWireError("rows without columns");
  if (static_cast<std::uint64_t>(rows) * columns > r.Left()) {
    throw EWireError("row count exceeds the packet");
  }
  rowStarts_.reserve(rows);
  for (std::uint32_t i = 0; i < rows; ++i) {
    rowStarts_.push_back(bytes_.size() - r.Left());
    for (std::size_t c = 0; c < columns; ++c) SkipCell(r);
  }
  r.ExpectEnd("data packet");
}

Variant TPacketRows::Cell(std::size_t row, std::size_t column) const {
  wire::Reader r(std::string_view(bytes_).substr(rowStarts_.at(row)));
  for (std::size_t c = 0; c < column; ++c) SkipCell(r);
  return ReadCell(r);
}

void TPacketRows::ReadRow(std::size_t row, std::vector<Variant>& cells) const {
  wire::Reader r(std::string_view(bytes_).substr(rowStarts_.at(row)));
  cells.clear();
  cells.reserve(fields_.size());
  for (std::size_t c = 0; c < fields_.size(); ++c) cells.push_back(ReadCell(r));
}

void TPacketRows::CellStarts(std::size_t row, std::vector<std::size_t>& starts) const {
  std::string_view all(bytes_);
  wire::Reader r(all.substr(rowStarts_.at(row)));
  starts.clear();
  for (std::size_t c = 0; c < fields_.size(); ++c) {
    starts.push_back(all.size() - r.Left());
    SkipCell(r);
  }
}

Variant TPacketRows::CellAt(std::size_t start) const {
  wire::Reader r(std::string_view(bytes_).substr(start));
  return ReadCell(r);
}

DataPacket DecodeDataPacket(std::string_view bytes) {
  TPacketRows rows{std::string(bytes)};
  DataPacket p;
  p.fields = rows.Fields();
  p.rows.resize(rows.RowCount());
  for (std::size_t i = 0; i < rows.RowCount(); ++i) rows.ReadRow(i, p.rows[i]);
  return p;
}

}  // namespace nv
