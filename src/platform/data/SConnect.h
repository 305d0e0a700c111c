#pragma once
// The socket connection to an application server and the simple object broker. Connecting
// opens a TCP connection, asks the server for the object named ServerName, and makes
// AppServer a proxy that marshals late-bound calls over the wire. For a server object
// created in this process the caller hands it over with SetAppServer instead.
#include <memory>
#include <string>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"
#include "platform/data/SocketIO.h"
#include "platform/rtti/Classes.h"

namespace nv {

// An exception the application server raised; the message is the server's, unchanged.
class EServerError : public Exception {
 public:
  EServerError(std::string className, std::string message)
      : Exception(std::move(message)), className_(std::move(className)) {}
  const std::string& ServerClassName() const { return className_; }

 private:
  std::string className_;
};

class TSimpleObjectBroker : public TComponent {
  NV_CLASS(TSimpleObjectBroker, TComponent)
 public:
  explicit TSimpleObjectBroker(TComponent* owner = nullptr) : TComponent(owner) {}
  struct TServerItem {
    std::string ComputerName;
    int Port = 211;
    bool Enabled = true;
  };
  std::vector<TServerItem> Servers;
  // The first enabled server; raises ESocketError when there is none.
  const TServerItem& GetServer() const;
};

class TSocketConnection : public TComponent {
  NV_CLASS(TSocketConnection, TComponent)
 public:
  explicit TSocketConnection(TComponent* owner = nullptr) : TComponent(owner) {}
  ~TSocketConnection() override;

  const std::string& Address() const { return address_; }
  void SetAddress(std::string address) { address_ = std::move(address); }
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }
  const std::string& ServerName() const { return serverName_; }
  void SetServerName(std::string name) { serverName_ = std::move(name); }
  TSimpleObjectBroker* ObjectBroker() const { return broker_; }
  void SetObjectBroker(TSimpleObjectBroker* broker);
  FrameReadLimits& Limits() { return limits_; }

  bool Connected() const { return !appServer_.IsEmpty(); }
  // While a form text is read, connecting waits for Loaded.
  void SetConnected(bool connected);
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  // Raises ESocketError or EServerError; without an address the broker names the server.
  void Open();
  void Close();

  // The application server object (a Dispatch variant); raises when not connected.
  Variant AppServer() const;
  // Makes an object of this process the application server: the connection then counts
  // as connected without a socket, and Close just lets go of the object.
  void SetAppServer(Variant server);

 private:
  std::string address_;
  int port_ = 211;
  std::string serverName_;
  TSimpleObjectBroker* broker_ = nullptr;
  FrameReadLimits limits_;
  Variant appServer_;
  bool connectWhenLoaded_ = false;
};

// A proxy for the server object behind one TCP connection (also used by `tallyd call`).
// Takes ownership of the socket. Calls are one at a time per connection.
Variant ConnectRemoteServer(const std::string& address, int port, const std::string& serverName,
                            const FrameReadLimits& limits = {});

}  // namespace nv
