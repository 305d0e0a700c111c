#pragma once
// Client data sets: records fetched from a provider of the application server behind a
// socket connection. DataRequest sends a request to the provider (the module sends its
// statement); Open asks the provider for its records (AS_GetRecords) and keeps the packet as
// it came, decoding one record at a time.
#include <string>

#include "platform/data/DB.h"
#include "platform/data/SConnect.h"

namespace nv {

class TClientDataSet : public TDataSet {
  NV_CLASS(TClientDataSet, TDataSet)
 public:
  explicit TClientDataSet(TComponent* owner = nullptr) : TDataSet(owner) {}

  TSocketConnection* RemoteServer() const { return remoteServer_; }
  void SetRemoteServer(TSocketConnection* connection);
  const std::string& ProviderName() const { return providerName_; }
  void SetProviderName(std::string name) { providerName_ = std::move(name); }

  // Passes data to the provider (AS_DataRequest) and returns its answer.
  Variant DataRequest(const Variant& data);
  void Open() override;
  // Opens from a packet in hand (tests, and data sets filled without a server).
  void OpenFromPacket(DataPacket packet) { OpenWith(std::move(packet)); }
  // Opens from packet bytes as a provider sends them.
  void OpenFromPacketBytes(std::string bytes) { OpenWith(TPacketRows(std::move(bytes))); }
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TSocketConnection* remoteServer_ = nullptr;
  std::string providerName_;
};

// The wrapped kind of client data set the framework converts (texts through the form's
// code-page hooks); it behaves as TClientDataSet.
class TwwClientDataSet : public TClientDataSet {
  NV_CLASS(TwwClientDataSet, TClientDataSet)
 public:
  explicit TwwClientDataSet(TComponent* owner = nullptr) : TClientDataSet(owner) {}
};

}  // namespace nv
