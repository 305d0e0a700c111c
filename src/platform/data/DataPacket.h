#pragma once
// Provider data packets: column names and types, then rows (docs/wire-protocol.md). The
// server writes a packet straight from its statement cursor with DataPacketWriter; the client
// data set decodes it into its records. The bytes travel as one variant text, so the same
// packet serves the in-process server object and the socket connection.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Variant.h"

namespace nv {

enum class TFieldType : std::uint8_t {
  ftUnknown = 0,
  ftString = 1,
  ftInteger = 2,
  ftFloat = 3,
  ftDate = 4,
  ftMemo = 5,
  ftBoolean = 6,
};

struct TFieldDesc {
  std::string name;
  TFieldType type = TFieldType::ftString;
  std::uint32_t size = 0;
};

struct DataPacket {
  std::vector<TFieldDesc> fields;
  std::vector<std::vector<Variant>> rows;
};

constexpr std::size_t kMaxPacketColumns = 1024;

class DataPacketWriter {
 public:
  explicit DataPacketWriter(const std::vector<TFieldDesc>& fields);
  void Null();
  void Text(std::string_view text);
  void Integer(std::int64_t value);
  void Float(double value);
  void EndRow() { ++rows_; }
  std::uint32_t RowCount() const { return rows_; }
  // The finished packet; the writer is spent afterwards.
  std::string Finish();

 private:
  std::string bytes_;
  std::size_t rowCountAt_ = 0;
  std::uint32_t rows_ = 0;
};

// The rows of a packet kept as the packet's own bytes: one offset per row, cells decoded when
// they are read. A client data set holds its records this way, so 100,000 line-clearance
// records take about the packet's size rather than one variant per cell.
class TPacketRows {
 public:
  TPacketRows() = default;
  // Checks the whole packet as DecodeDataPacket does (raises EWireError) and indexes its rows.
  explicit TPacketRows(std::string bytes);
  const std::vector<TFieldDesc>& Fields() const { return fields_; }
  std::size_t RowCount() const { return rowStarts_.size(); }
  Variant Cell(std::size_t row, std::size_t column) const;
  void ReadRow(std::size_t row, std::vector<Variant>& cells) const;
  // Where each cell of a row starts, for reading single cells of one record with CellAt.
  void CellStarts(std::size_t row, std::vector<std::size_t>& starts) const;
  Variant CellAt(std::size_t start) const;
  // Bytes held: the packet and the row index.
  std::size_t MemoryBytes() const {
    return bytes_.capacity() + rowStarts_.capacity() * sizeof(std::size_t);
  }

 private:
  std::string bytes_;
  std::vector<TFieldDesc> fields_;
  std::vector<std::size_t> rowStarts_;
};

std::string EncodeDataPacket(const DataPacket& packet);
// Raises EWireError for anything that is not exactly one well-formed packet.
DataPacket DecodeDataPacket(std::string_view bytes);

}  // namespace nv
