// Feeds arbitrary bytes to the frame decoder as a server receives them: a header, then the
// payload decoded by the kind the header names, and data packets as a client decodes them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/data/DataPacket.h"
#include "platform/data/WireProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    if (bytes.size() >= nv::wire::kHeaderSize) {
      nv::wire::FrameHeader h =
          nv::wire::DecodeHeader(bytes.substr(0, nv::wire::kHeaderSize), 1 << 20);
      std::string_view payload = bytes.substr(nv::wire::kHeaderSize);
      if (payload.size() > h.length) payload = payload.substr(0, h.length);
      switch (h.kind) {
        case nv::wire::FrameKind::Open:
          nv::wire::DecodeOpen(payload);
          break;
        case nv::wire::FrameKind::Call: {
          nv::wire::CallMessage call = nv::wire::DecodeCall(payload);
          nv::wire::EncodeCall(call);
          break;
        }
        case nv::wire::FrameKind::Result:
          nv::wire::DecodeResult(payload);
          break;
        case nv::wire::FrameKind::Error:
          nv::wire::DecodeError(payload);
          break;
        case nv::wire::FrameKind::Close:
          break;
      }
    }
  } catch (const nv::Exception&) {
  }
  try {
    nv::DataPacket p = nv::DecodeDataPacket(bytes);
    nv::EncodeDataPacket(p);
    // a client data set reads single cells of the packet it keeps
    nv::TPacketRows rows{std::string(bytes)};
    if (rows.RowCount() > 0) rows.Cell(rows.RowCount() - 1, rows.Fields().size() - 1);
  } catch (const nv::Exception&) {
  }
  return 0;
}
