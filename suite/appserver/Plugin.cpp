// The in-process server library: the module creates "Tallyd.Class1" through the registry
// file's InprocServer32 entry when the configured address is "127.0.0.1".
#include <cstring>

#include "platform/com/ComObj.h"
#include "suite/appserver/Class1.h"

NV_COM_EXPORT nv::IDispatchObject* NvComCreateObject(const char* progID) {
  if (progID != nullptr && strcasecmp(progID, nv::tallyd::kServerProgID) == 0) {
    return nv::tallyd::CreateTallydClass1();
  }
  return nullptr;
}
