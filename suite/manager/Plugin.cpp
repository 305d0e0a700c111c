// VantaWorkCenter.so: the manager as an automation plug-in, created by ProgID through the
// registry file when the report runs without a shell that hands over its service object.
#include <strings.h>

#include "platform/com/ComObj.h"
#include "suite/manager/Manager.h"

NV_COM_EXPORT nv::IDispatchObject* NvComCreateObject(const char* progID) {
  if (progID != nullptr && strcasecmp(progID, nv::manager::kManagerProgID) == 0) {
    return nv::manager::CreateWorkCenterManager();
  }
  return nullptr;
}
