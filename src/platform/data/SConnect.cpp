#include "platform/data/SConnect.h"

#include <atomic>
#include <mutex>

namespace nv {

namespace {
constexpr int kWriteTimeoutMs = 30000;

class TRemoteServer final : public IDispatchObject {
 public:
  TRemoteServer(int fd, std::string where, std::string name, FrameReadLimits limits)
      : fd_(fd), where_(std::move(where)), name_(std::move(name)), limits_(limits) {}

  void AddRef() noexcept override { ++refs_; }
  void Release() noexcept override {
    if (--refs_ == 0) delete this;
  }
  std::string DispatchName() const override { return name_; }

  Variant Invoke(std::string_view member, InvokeKind kind, std::span<Variant> args) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (fd_ < 0) throw ESocketError("Connection to " + where_ + " closed");
    wire::CallMessage call{std::string(member), kind,
                           std::vector<Variant>(args.begin(), args.end())};
    std::string payload = wire::EncodeCall(call);
    WireFrame answer;
    try {
      Exchange(wire::FrameKind::Call, payload, answer);
    } catch (...) {
      Drop();
      throw;
    }
    if (answer.header.kind == wire::FrameKind::Error) {
      wire::ErrorMessage e = wire::DecodeError(answer.payload);
      throw EServerError(e.className, e.message);
    }
    wire::ResultMessage r = wire::DecodeResult(answer.payload);
    if (r.args.size() != args.size()) {
      Drop();
      throw EWireError("result carries " + IntToStr(static_cast<int>(r.args.size())) +
                       " arguments for a call of " + IntToStr(static_cast<int>(args.size())));
    }
    for (std::size_t i = 0; i < args.size(); ++i) args[i] = std::move(r.args[i]);
    return std::move(r.result);
  }

  // Sends a frame and reads the answer to it.
  void Exchange(wire::FrameKind kind, std::string_view payload, WireFrame& answer) {
    std::uint32_t seq = ++sequence_;
    WriteFrame(fd_, kind, seq, payload, kWriteTimeoutMs);
    FrameReadLimits waitForAnswer = limits_;
    waitForAnswer.idleTimeoutMs = limits_.readTimeoutMs;
    try {
      if (!ReadFrame(fd_, answer, waitForAnswer))
        throw ESocketError("Connection to " + where_ + " closed");
    } catch (const ESocketError& e) {
      std::string what = e.Message();
      if (what.find("time-out") != std::string::npos)
        throw ESocketError("Read time-out from " + where_);
      if (what.rfind("Connection to", 0) == 0) throw;
      throw ESocketError("Connection to " + where_ + " closed: " + what);
    }
    if (answer.header.sequence != seq || (answer.header.kind != wire::FrameKind::Result &&
                                          answer.header.kind != wire::FrameKind::Error)) {
      throw EWireError("unexpected answer frame from " + where_);
    }
  }

  void Open() {
    WireFrame answer;
    try {
      Exchange(wire::FrameKind::Open, wire::EncodeOpen(name_), answer);
      if (answer.header.kind == wire::FrameKind::Error) {
        wire::ErrorMessage e = wire::DecodeError(answer.payload);
        throw EServerError(e.className, e.message);
      }
      wire::DecodeResult(answer.payload);
    } catch (...) {
      Drop();
      throw;
    }
  }

 private:
  ~TRemoteServer() override {
    if (fd_ >= 0) {
      try {
        WriteFrame(fd_, wire::FrameKind::Close, ++sequence_, {}, 1000);
      } catch (...) {
      }
    }
    Drop();
  }

  void Drop() noexcept {
    CloseSocket(fd_);
    fd_ = -1;
  }

  std::atomic<int> refs_{0};
  std::mutex mutex_;
  int fd_;
  std::string where_;
  std::string name_;
  FrameReadLimits limits_;
  std::uint32_t sequence_ = 0;
};
}  // namespace

Variant ConnectRemoteServer(const std::string& address, int port, const std::string& serverName,
                            const FrameReadLimits& limits) {
  int fd = ConnectTcp(address, port, limits.readTimeoutMs);
  auto* proxy = new TRemoteServer(fd, address + ":" + IntToStr(port), serverName, limits);
  Variant holder(static_cast<IDispatchObject*>(proxy));  // the variant's reference frees it
  proxy->Open();
  return holder;
}

const TSimpleObjectBroker::TServerItem& TSimpleObjectBroker::GetServer() const {
  for (const TServerItem& s : Servers) {
    if (s.Enabled) return s;
  }
  throw ESocketError("Object broker " + Name() + " has no server");
}

NV_PUBLISH(TSimpleObjectBroker) {}

NV_PUBLISH(TSocketConnection) {
  b.Prop("Address", &TSocketConnection::Address, &TSocketConnection::SetAddress);
  b.Prop("Connected", &TSocketConnection::Connected, &TSocketConnection::SetConnected)
      .Default(false);
  b.Prop("ObjectBroker", &TSocketConnection::ObjectBroker, &TSocketConnection::SetObjectBroker);
  b.Prop("Port", &TSocketConnection::Port, &TSocketConnection::SetPort).Default(211);
  b.Prop("ServerName", &TSocketConnection::ServerName, &TSocketConnection::SetServerName);
}

TSocketConnection::~TSocketConnection() {
  Close();
}

void TSocketConnection::SetObjectBroker(TSimpleObjectBroker* broker) {
  if (broker == broker_) return;
  broker_ = broker;
  if (broker != nullptr) broker->FreeNotification(this);
}

void TSocketConnection::SetConnected(bool connected) {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) {
    connectWhenLoaded_ = connected;
    return;
  }
  connected ? Open() : Close();
}

void TSocketConnection::Loaded() {
  TComponent::Loaded();
  if (connectWhenLoaded_) {
    connectWhenLoaded_ = false;
    Open();
  }
}

void TSocketConnection::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == broker_) broker_ = nullptr;
}

void TSocketConnection::Open() {
  if (Connected()) return;
  std::string address = address_;
  int port = port_;
  if (address.empty() && broker_ != nullptr) {
    const auto& s = broker_->GetServer();
    address = s.ComputerName;
    port = s.Port;
  }
  if (address.empty()) throw ESocketError(Name() + ": no address to connect to");
  appServer_ = ConnectRemoteServer(address, port, serverName_, limits_);
}

void TSocketConnection::Close() {
  appServer_ = Variant();
}

Variant TSocketConnection::AppServer() const {
  if (!Connected()) throw ESocketError(Name() + ": not connected to " + serverName_);
  return appServer_;
}

void TSocketConnection::SetAppServer(Variant server) {
  appServer_ = std::move(server);
}

}  // namespace nv
