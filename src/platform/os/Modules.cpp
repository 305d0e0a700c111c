#include "platform/os/Modules.h"

#include <dlfcn.h>
#include <link.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/core/SysUtils.h"
#include "platform/os/AnsiText.h"
#include "platform/os/FileUtils.h"

namespace nv {

namespace {

thread_local std::string lastLibraryError;

std::string AbsoluteFileName(const std::string& name) {
  char resolved[PATH_MAX];
  return ::realpath(name.c_str(), resolved) != nullptr ? std::string(resolved) : name;
}

}  // namespace

std::string LibraryFileFor(std::string_view name) {
  std::string file = NativePath(name);
  constexpr std::string_view kDll = ".dll";
  if (file.size() >= kDll.size() &&
      SameNameText(std::string_view(file).substr(file.size() - kDll.size()), kDll))
    file.replace(file.size() - kDll.size(), kDll.size(), ".so");
  return file;
}

HMODULE LoadLibrary(std::string_view name) {
  std::string file = LibraryFileFor(name);
  if (file.empty()) {
    lastLibraryError = "Cannot load library \"\": no file name given";
    return nullptr;
  }
  if (file.find('/') == std::string::npos) {
    std::string beside = GetHostProgramFolder() + file;
    if (FileExists(beside)) file = beside;
  }
  ::dlerror();
  HMODULE module = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* reason = ::dlerror();
    lastLibraryError = "Cannot load library \"" + std::string(name) +
                       "\": " + (reason != nullptr ? reason : "unknown reason");
  }
  return module;
}

HMODULE LoadLibraryOrRaise(std::string_view name) {
  HMODULE module = LoadLibrary(name);
  if (module == nullptr) throw EOSError(lastLibraryError);
  return module;
}

void* GetProcAddress(HMODULE module, std::string_view procName) {
  if (module == nullptr) return nullptr;
  return ::dlsym(module, std::string(procName).c_str());
}

bool FreeLibrary(HMODULE module) {
  return module != nullptr && ::dlclose(module) == 0;
}

std::string LastLibraryError() {
  return lastLibraryError;
}

std::string GetModuleFileNameOf(const void* address) {
  Dl_info info{};
  struct link_map* map = nullptr;
  if (::dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0 ||
      map == nullptr)
    return std::string();
  // the program itself is the object without a name
  if (map->l_name == nullptr || map->l_name[0] == '\0') return GetHostProgramFileName();
  return AbsoluteFileName(map->l_name);
}

std::string GetModuleFileName(HMODULE module) {
  if (module == nullptr) return GetHostProgramFileName();
  struct link_map* map = nullptr;
  if (::dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return std::string();
  if (map->l_name == nullptr || map->l_name[0] == '\0') return GetHostProgramFileName();
  return AbsoluteFileName(map->l_name);
}

}  // namespace nv
