#include "DLLFunc.h"

#include <mutex>

#include "platform/core/SysUtils.h"

namespace nv {

TDLLControllerClass DLLControllerClass = nullptr;
TDLLStartup DLLLibraryStartup = nullptr;

namespace {

void RunLibraryStartup() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (DLLLibraryStartup != nullptr) DLLLibraryStartup();
  });
}

}  // namespace

}  // namespace nv

extern "C" __attribute__((visibility("default"))) nv::TDLLBaseController* GetController() {
  nv::RunLibraryStartup();
  if (nv::DLLControllerClass == nullptr) {
    throw nv::Exception("NVT DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
  }
  return nv::DLLControllerClass();
}
