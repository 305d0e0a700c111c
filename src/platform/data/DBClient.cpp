#include "platform/data/DBClient.h"

namespace nv {

namespace {
Variant ProviderServer(const TClientDataSet& ds) {
  if (ds.RemoteServer() == nullptr) throw EDatabaseError(ds.Name() + ": Missing remote server");
  if (ds.ProviderName().empty())
    throw EDatabaseError(ds.Name() + ": Missing data provider or data packet");
  return ds.RemoteServer()->AppServer();
}
}  // namespace

NV_PUBLISH(TClientDataSet) {
  b.Prop("ProviderName", &TClientDataSet::ProviderName, &TClientDataSet::SetProviderName);
  b.Prop("RemoteServer", &TClientDataSet::RemoteServer, &TClientDataSet::SetRemoteServer);
}
NV_PUBLISH(TwwClientDataSet) {}

void TClientDataSet::SetRemoteServer(TSocketConnection* connection) {
  if (connection == remoteServer_) return;
  remoteServer_ = connection;
  if (connection != nullptr) connection->FreeNotification(this);
}

void TClientDataSet::Notification(TComponent* component, TOperation operation) {
  TDataSet::Notification(component, operation);
  if (operation == opRemove && component == remoteServer_) remoteServer_ = nullptr;
}

Variant TClientDataSet::DataRequest(const Variant& data) {
  Variant server = ProviderServer(*this);
  return server.Call("AS_DataRequest", {Variant(ProviderName()), data});
}

void TClientDataSet::Open() {
  if (Active()) return;
  Variant server = ProviderServer(*this);
  std::string bytes;
  {
    Variant packet = server.Call("AS_GetRecords", {Variant(ProviderName())});
    if (packet.Type() != VarType::String) {
      throw EDatabaseError(Name() + ": provider " + ProviderName() + " sent no data packet");
    }
    bytes = packet.AsString();
  }  // the variant's copy of the packet goes before the records are indexed
  OpenWith(TPacketRows(std::move(bytes)));
}

}  // namespace nv
