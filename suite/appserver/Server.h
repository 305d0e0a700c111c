#pragma once
// tallyd's network side: listens on the configured address and port, serves each client on
// a thread of its own with its own server object, bounds frames, times reads out, closes a
// connection that breaks the protocol (logging why) and stops cleanly when asked.
#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "suite/appserver/ServerConfig.h"
#include "suite/appserver/Trace.h"

namespace nv::tallyd {

class TTallydServer {
 public:
  using TLog = std::function<void(const std::string&)>;
  TTallydServer(TServerConfig config, TLog log);
  ~TTallydServer();
  TTallydServer(const TTallydServer&) = delete;
  TTallydServer& operator=(const TTallydServer&) = delete;

  // Binds and listens; port 0 takes a free port (see Port()). Raises ESocketError.
  void Listen(const std::string& address, int port);
  int Port() const { return port_; }
  // Serves until Stop(); then closes every client connection and waits for their threads.
  void Run();
  // Safe from a signal handler: writes one byte to the wake-up pipe.
  void Stop() noexcept;
  int ClientCount() const { return active_.load(); }

 private:
  struct TClient {
    int fd = -1;
    std::string peer;
    std::thread thread;
    std::atomic<bool> done{false};
  };
  void Serve(TClient& client);
  void Reap(bool all);

  TServerConfig config_;
  TLog log_;
  std::shared_ptr<TStatementTrace> trace_;
  int listenFd_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  int port_ = 0;
  std::atomic<int> active_{0};
  std::mutex clientsMutex_;
  std::list<std::unique_ptr<TClient>> clients_;
};

}  // namespace nv::tallyd
