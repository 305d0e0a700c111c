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

std::string EncodeDataPacket(const DataPacket& packet);
// Raises EWireError for anything that is not exactly one well-formed packet.
DataPacket DecodeDataPacket(std::string_view bytes);

}  // namespace nv
