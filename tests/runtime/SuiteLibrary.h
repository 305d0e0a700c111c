#pragma once
// The stand-in libraries as the module meets them: loaded by file name from the build tree.
#include <dlfcn.h>

#include <string>

namespace nv::testing {

inline std::string SuiteLibraryFolder() {
  return std::string(QC_BINARY_DIR) + "/suite/libs/bin/";
}

class LoadedLibrary {
 public:
  explicit LoadedLibrary(const std::string& fileName)
      : handle_(dlopen((SuiteLibraryFolder() + fileName).c_str(), RTLD_NOW | RTLD_LOCAL)) {}
  ~LoadedLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  bool Loaded() const { return handle_ != nullptr; }
  template <typename Function>
  Function* Entry(const char* name) const {
    return reinterpret_cast<Function*>(dlsym(handle_, name));
  }

 private:
  void* handle_;
};

}  // namespace nv::testing
