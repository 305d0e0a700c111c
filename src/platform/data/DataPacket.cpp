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

DataPacket DecodeDataPacket(std::string_view bytes) {
  wire::Reader r(bytes);
  if (r.Left() < 4 || bytes.substr(0, 4) != std::string_view(kPacketMagic, 4)) {
    throw EWireError("bad data packet magic");
  }
  r.U32();
  std::uint8_t version = r.U8();
  if (version != kPacketVersion)
    throw EWireError("unsupported data packet version " + IntToStr(version));
  DataPacket p;
  std::uint16_t columns = r.U16();
  if (columns > kMaxPacketColumns) throw EWireError("more than 1024 columns");
  for (int i = 0; i < columns; ++i) {
    TFieldDesc f;
    f.name = r.Text();
    std::uint8_t type = r.U8();
    if (type > static_cast<std::uint8_t>(TFieldType::ftBoolean)) {
      throw EWireError("unknown field type " + IntToStr(type));
    }
    f.type = static_cast<TFieldType>(type);
    f.size = r.U32();
    p.fields.push_back(std::move(f));
  }
  std::uint32_t rows = r.U32();
  if (columns == 0 && rows != 0) throw EWireError("rows without columns");
  if (static_cast<std::uint64_t>(rows) * columns > r.Left()) {
    throw EWireError("row count exceeds the packet");
  }
  p.rows.reserve(rows);
  for (std::uint32_t i = 0; i < rows; ++i) {
    std::vector<Variant> row;
    row.reserve(columns);
    for (int c = 0; c < columns; ++c) {
      switch (r.U8()) {
        case kNull:
          row.push_back(Variant::Null());
          break;
        case kText:
          row.emplace_back(r.Text());
          break;
        case kInteger: {
          std::int64_t v = r.I64();
          if (v >= INT32_MIN && v <= INT32_MAX) {
            row.emplace_back(static_cast<int>(v));
          } else {
            row.emplace_back(static_cast<double>(v));
          }
          break;
        }
        case kFloat:
          row.emplace_back(r.F64());
          break;
        default:
          throw EWireError("unknown cell tag");
      }
    }
    p.rows.push_back(std::move(row));
  }
  r.ExpectEnd("data packet");
  return p;
}

}  // namespace nv
