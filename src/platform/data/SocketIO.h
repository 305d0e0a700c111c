#pragma once
// Blocking TCP with time-outs, and reading and writing whole protocol frames. Used by both
// ends: TSocketConnection on the client, tallyd on the server.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/SysUtils.h"
#include "platform/data/WireProtocol.h"

namespace nv {

NV_DECLARE_EXCEPTION(ESocketError, Exception);

struct WireFrame {
  wire::FrameHeader header;
  std::string payload;
};

// Connects to address:port (numeric or a host name); raises ESocketError
// "Cannot connect to a:p: reason".
int ConnectTcp(const std::string& address, int port, int timeoutMs);
void CloseSocket(int fd) noexcept;
// Writes everything or raises ESocketError.
void SendAll(int fd, std::string_view bytes, int timeoutMs);

struct FrameReadLimits {
  std::uint32_t maxFrameBytes = wire::kDefaultMaxFrameBytes;
  int readTimeoutMs = 30000;  // once a frame has begun
  int idleTimeoutMs = -1;     // before a frame begins; -1 waits forever
};

// Reads one frame. Returns false when the peer closed the connection cleanly between frames.
// Raises ESocketError for a time-out or a connection lost inside a frame, EWireError for a
// malformed header (before the payload is read or allocated).
bool ReadFrame(int fd, WireFrame& frame, const FrameReadLimits& limits);
void WriteFrame(int fd, wire::FrameKind kind, std::uint32_t sequence, std::string_view payload,
                int timeoutMs);

}  // namespace nv
