#include "platform/data/DBClient.h"

namespace nv {

namespace {
Variant ProviderServer(const TClientDataSet& ds) {
  if (ds.RemoteServer() == nullptr) throw EDatabaseError(ds.Name + ": Missing remote server");
  if (ds.ProviderName().empty())
    throw EDatabaseError(ds.Name + ": Missing data provider or data packet");
  return ds.RemoteServer()->AppServer();
}
}  // namespace

Variant TClientDataSet::DataRequest(const Variant& data) {
  Variant server = ProviderServer(*this);
  return server.Call("AS_DataRequest", {Variant(ProviderName()), data});
}

void TClientDataSet::Open() {
  if (Active()) return;
  Variant server = ProviderServer(*this);
  Variant packet = server.Call("AS_GetRecords", {Variant(ProviderName())});
  if (packet.Type() != VarType::String) {
    throw EDatabaseError(Name + ": provider " + ProviderName() + " sent no data packet");
  }
  OpenWith(DecodeDataPacket(packet.AsString()));
}

}  // namespace nv
