#include "platform/os/PlatformInit.h"

#include <cstdlib>

#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"
#include "platform/os/Registry.h"

namespace nv {

namespace {

bool ReadCodePage(TRegistry& reg, int& codePage) {
  switch (reg.GetDataType("ACP")) {
    case TRegDataType::rdString:
      return TryStrToInt(reg.ReadString("ACP"), codePage);
    case TRegDataType::rdInteger:
      codePage = reg.ReadInteger("ACP");
      return true;
    default:
      return false;
  }
}

}  // namespace

int InitPlatformFromRegistry() {
  // the environment variable is the explicit choice of whoever started the program
  const char* fromEnvironment = std::getenv("BATON_ACP");
  if (fromEnvironment != nullptr && *fromEnvironment != '\0') return SystemCodePage();
  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  int codePage = 0;
  if (reg.OpenKeyReadOnly(kCodePageKey) && ReadCodePage(reg, codePage) && codePage > 0 &&
      IsValidCodePage(codePage))
    SetSystemCodePage(codePage);
  return SystemCodePage();
}

}  // namespace nv
