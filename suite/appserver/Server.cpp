#include "suite/appserver/Server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/com/Dispatch.h"
#include "platform/data/SocketIO.h"
#include "suite/appserver/Class1.h"
#include "suite/appserver/Database.h"

namespace nv::tallyd {

namespace {
constexpr int kWriteTimeoutMs = 30000;

std::string ClassOf(const std::exception& e) {
  if (dynamic_cast<const EDatabaseFailure*>(&e) != nullptr) return "EDatabaseError";
  if (dynamic_cast<const EOleError*>(&e) != nullptr) return "EOleError";
  if (dynamic_cast<const EVariantError*>(&e) != nullptr) return "EVariantError";
  if (dynamic_cast<const EConvertError*>(&e) != nullptr) return "EConvertError";
  return "Exception";
}

std::string PeerName(const sockaddr_storage& addr) {
  char host[NI_MAXHOST] = "?";
  char serv[NI_MAXSERV] = "?";
  getnameinfo(reinterpret_cast<const sockaddr*>(&addr), sizeof addr, host, sizeof host, serv,
              sizeof serv, NI_NUMERICHOST | NI_NUMERICSERV);
  return std::string(host) + ":" + serv;
}
}  // namespace

TTallydServer::TTallydServer(TServerConfig config, TLog log)
    : config_(std::move(config)), log_(std::move(log)) {
  if (config_.traceEnabled) trace_ = std::make_shared<TStatementTrace>(config_.traceFile);
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
    throw ESocketError("Cannot create the wake-up pipe");
  wakeRead_ = fds[0];
  wakeWrite_ = fds[1];
}

TTallydServer::~TTallydServer() {
  Reap(true);
  CloseSocket(listenFd_);
  CloseSocket(wakeRead_);
  CloseSocket(wakeWrite_);
}

void TTallydServer::Listen(const std::string& address, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  std::string service = IntToStr(port);
  int rc = ::getaddrinfo(address.c_str(), service.c_str(), &hints, &found);
  if (rc != 0)
    throw ESocketError("Cannot listen on " + address + ":" + service + ": " + ::gai_strerror(rc));
  int fd = ::socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
  int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (fd < 0 || ::bind(fd, found->ai_addr, found->ai_addrlen) != 0 || ::listen(fd, 64) != 0) {
    std::string why = std::strerror(errno);
    ::freeaddrinfo(found);
    CloseSocket(fd);
    throw ESocketError("Cannot listen on " + address + ":" + service + ": " + why);
  }
  ::freeaddrinfo(found);
  sockaddr_storage bound{};
  socklen_t len = sizeof bound;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &len);
  port_ = bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
                                      : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
  listenFd_ = fd;
  log_("listening on " + address + ":" + IntToStr(port_));
}

void TTallydServer::Stop() noexcept {
  char b = 1;
  [[maybe_unused]] ssize_t n = ::write(wakeWrite_, &b, 1);
}

void TTallydServer::Run() {
  for (;;) {
    pollfd p[2] = {{listenFd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    int n = ::poll(p, 2, 1000);
    if (n < 0 && errno != EINTR) break;
    Reap(false);
    if (n <= 0) continue;
    if ((p[1].revents & POLLIN) != 0) break;
    if ((p[0].revents & POLLIN) == 0) continue;
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    int fd = ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len, SOCK_CLOEXEC);
    if (fd < 0) continue;
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::string peer = PeerName(addr);
    if (active_.load() >= config_.maxClients) {
      log_("client " + peer + ": refused, " + IntToStr(config_.maxClients) +
           " clients already connected");
      try {
        WriteFrame(fd, wire::FrameKind::Error, 0, wire::EncodeError("Exception", "Server busy"),
                   1000);
      } catch (...) {
      }
      CloseSocket(fd);
      continue;
    }
    auto client = std::make_unique<TClient>();
    client->fd = fd;
    client->peer = peer;
    TClient& ref = *client;
    ++active_;
    // The thread starts before the client joins the list, so Reap never sees it half made.
    ref.thread = std::thread([this, &ref] {
      Serve(ref);
      --active_;
      ref.done = true;
    });
    std::lock_guard<std::mutex> lock(clientsMutex_);
    clients_.push_back(std::move(client));
  }
  log_("shutting down");
  Reap(true);
  log_("stopped");
}

void TTallydServer::Reap(bool all) {
  std::list<std::unique_ptr<TClient>> finished;
  {
    std::lock_guard<std::mutex> lock(clientsMutex_);
    for (auto it = clients_.begin(); it != clients_.end();) {
      if (all && !(*it)->done) ::shutdown((*it)->fd, SHUT_RDWR);
      if (all || (*it)->done) {
        finished.push_back(std::move(*it));
        it = clients_.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& c : finished) {
    if (c->thread.joinable()) c->thread.join();
    CloseSocket(c->fd);
  }
}

void TTallydServer::Serve(TClient& client) {
  FrameReadLimits limits;
  limits.maxFrameBytes = config_.maxFrameBytes;
  limits.readTimeoutMs = config_.readTimeoutSeconds * 1000;
  limits.idleTimeoutMs = config_.idleTimeoutSeconds > 0 ? config_.idleTimeoutSeconds * 1000 : -1;
  Variant object;
  WireFrame frame;
  try {
    for (;;) {
      if (!ReadFrame(client.fd, frame, limits)) return;  // the client left between calls
      std::uint32_t seq = frame.header.sequence;
      switch (frame.header.kind) {
        case wire::FrameKind::Open: {
          std::string name = wire::DecodeOpen(frame.payload);
          if (!SameText(name, kServerProgID)) {
            WriteFrame(client.fd, wire::FrameKind::Error, seq,
                       wire::EncodeError("EOleError", "Unknown application server '" + name + "'"),
                       kWriteTimeoutMs);
            continue;
          }
          object = Variant(CreateTallydClass1(config_, trace_));
          WriteFrame(client.fd, wire::FrameKind::Result, seq,
                     wire::EncodeResult(Variant(), std::vector<Variant>{}), kWriteTimeoutMs);
          break;
        }
        case wire::FrameKind::Call: {
          wire::CallMessage call = wire::DecodeCall(frame.payload);
          frame.payload.clear();
          frame.payload.shrink_to_fit();
          std::string answer;
          wire::FrameKind kind = wire::FrameKind::Result;
          try {
            if (object.IsEmpty())
              throw EOleError("No application server opened on this connection");
            Variant result = object.AsObject()->Invoke(call.member, call.kind, call.args);
            answer = wire::EncodeResult(result, call.args);
          } catch (const std::exception& e) {
            kind = wire::FrameKind::Error;
            answer = wire::EncodeError(ClassOf(e), e.what());
          }
          WriteFrame(client.fd, kind, seq, answer, kWriteTimeoutMs);
          break;
        }
        case wire::FrameKind::Close:
          return;
        default:
          throw EWireError("a client may not send frame kind " +
                           IntToStr(static_cast<int>(frame.header.kind)));
      }
    }
  } catch (const EWireError& e) {
    log_("client " + client.peer + ": malformed frame, connection closed: " + e.Message());
  } catch (const ESocketError& e) {
    log_("client " + client.peer + ": connection closed: " + e.Message());
  } catch (const std::exception& e) {
    log_("client " + client.peer + ": connection closed: " + e.what());
  }
}

}  // namespace nv::tallyd
