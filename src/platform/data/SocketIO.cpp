#include "platform/data/SocketIO.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace nv {

namespace {
std::string ErrnoText(int err) {
  return std::strerror(err);
}

// Waits until fd is readable (or writable); false on time-out.
bool WaitFor(int fd, short events, int timeoutMs) {
  pollfd p{fd, events, 0};
  for (;;) {
    int n = ::poll(&p, 1, timeoutMs);
    if (n > 0) return true;
    if (n == 0) return false;
    if (errno != EINTR) throw ESocketError("poll failed: " + ErrnoText(errno));
  }
}

enum class ReadResult { Done, Closed };

// Reads exactly size bytes; Closed when the peer ends the stream before the first byte.
ReadResult ReadExact(int fd, char* into, std::size_t size, int firstTimeoutMs, int timeoutMs) {
  std::size_t got = 0;
  while (got < size) {
    if (!WaitFor(fd, POLLIN, got == 0 ? firstTimeoutMs : timeoutMs)) {
      throw ESocketError(got == 0 && firstTimeoutMs != timeoutMs ? "idle time-out"
                                                                 : "read time-out");
    }
    ssize_t n = ::recv(fd, into + got, size - got, 0);
    if (n == 0) {
      if (got == 0) return ReadResult::Closed;
      throw ESocketError("connection closed inside a frame");
    }
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      throw ESocketError("receive failed: " + ErrnoText(errno));
    }
    got += static_cast<std::size_t>(n);
  }
  return ReadResult::Done;
}
}  // namespace

int ConnectTcp(const std::string& address, int port, int timeoutMs) {
  std::string where = address + ":" + IntToStr(port);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  std::string service = IntToStr(port);
  int rc = ::getaddrinfo(address.c_str(), service.c_str(), &hints, &found);
  if (rc != 0) throw ESocketError("Cannot connect to " + where + ": " + ::gai_strerror(rc));
  std::string reason = "no address";
  int fd = -1;
  for (addrinfo* a = found; a != nullptr && fd < 0; a = a->ai_next) {
    fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) {
      reason = ErrnoText(errno);
      continue;
    }
    if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
      reason = ErrnoText(errno);
      ::close(fd);
      fd = -1;
    }
  }
  ::freeaddrinfo(found);
  if (fd < 0) throw ESocketError("Cannot connect to " + where + ": " + reason);
  int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  (void)timeoutMs;
  return fd;
}

void CloseSocket(int fd) noexcept {
  if (fd >= 0) ::close(fd);
}

void SendAll(int fd, std::string_view bytes, int timeoutMs) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN) {
        if (!WaitFor(fd, POLLOUT, timeoutMs)) throw ESocketError("write time-out");
        continue;
      }
      throw ESocketError("send failed: " + ErrnoText(errno));
    }
    sent += static_cast<std::size_t>(n);
  }
}

bool ReadFrame(int fd, WireFrame& frame, const FrameReadLimits& limits) {
  char header[wire::kHeaderSize];
  if (ReadExact(fd, header, sizeof header, limits.idleTimeoutMs, limits.readTimeoutMs) ==
      ReadResult::Closed) {
    return false;
  }
  frame.header = wire::DecodeHeader(std::string_view(header, sizeof header), limits.maxFrameBytes);
  frame.payload.assign(frame.header.length, '\0');
  if (frame.header.length > 0 &&
      ReadExact(fd, frame.payload.data(), frame.header.length, limits.readTimeoutMs,
                limits.readTimeoutMs) == ReadResult::Closed) {
    throw ESocketError("connection closed inside a frame");
  }
  return true;
}

void WriteFrame(int fd, wire::FrameKind kind, std::uint32_t sequence, std::string_view payload,
                int timeoutMs) {
  SendAll(fd, wire::EncodeFrame(kind, sequence, payload), timeoutMs);
}

}  // namespace nv
