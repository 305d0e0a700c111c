#include "platform/com/ComObj.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <optional>

namespace nv {

namespace {

struct TComClassEntry {
  std::string progID;
  TComFactory factory;      // in-process class
  std::string libraryFile;  // or: served by this plug-in library
};

struct TComClassRegistry {
  std::mutex mutex;
  std::vector<TComClassEntry> entries;
  // Plug-ins stay loaded for the life of the process: their objects' code lives in them.
  std::map<std::string, TNvComCreateObject> loadedEntries;
};

TComClassRegistry& Registry() {
  static TComClassRegistry registry;
  return registry;
}

std::vector<TComClassEntry>::iterator FindEntry(TComClassRegistry& r, std::string_view progID) {
  for (auto it = r.entries.begin(); it != r.entries.end(); ++it) {
    if (SameText(it->progID, progID)) return it;
  }
  return r.entries.end();
}

void Register(TComClassEntry entry) {
  TComClassRegistry& r = Registry();
  std::lock_guard lock(r.mutex);
  auto it = FindEntry(r, entry.progID);
  if (it != r.entries.end()) {
    *it = std::move(entry);
  } else {
    r.entries.push_back(std::move(entry));
  }
}

std::optional<TComClassEntry> Lookup(std::string_view progID) {
  TComClassRegistry& r = Registry();
  std::lock_guard lock(r.mutex);
  auto it = FindEntry(r, progID);
  if (it == r.entries.end()) return std::nullopt;
  return *it;
}

// The suite names plug-ins as Windows libraries; the same base name with ".so" is what is
// installed here.
std::string NativeLibraryFile(std::string_view name) {
  std::string file(name);
  for (char& c : file) {
    if (c == '\\') c = '/';
  }
  if (file.size() > 4 && SameText(std::string_view(file).substr(file.size() - 4), ".dll")) {
    file.replace(file.size() - 4, 4, ".so");
  }
  return file;
}

// TODO(os): load through the platform's library loader once it is on main.
TNvComCreateObject LoadServerEntry(std::string_view progID, const std::string& libraryFile) {
  TComClassRegistry& r = Registry();
  std::lock_guard lock(r.mutex);
  std::string file = NativeLibraryFile(libraryFile);
  auto it = r.loadedEntries.find(file);
  if (it != r.loadedEntries.end()) return it->second;
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    throw EOleError("Cannot create \"" + std::string(progID) + "\": cannot load library \"" +
                    libraryFile + "\": " + (reason != nullptr ? reason : "unknown reason"));
  }
  auto entry = reinterpret_cast<TNvComCreateObject>(dlsym(handle, NV_COM_ENTRY_NAME));
  if (entry == nullptr) {
    dlclose(handle);
    throw EOleError("Cannot create \"" + std::string(progID) + "\": library \"" + libraryFile +
                    "\" exports no " NV_COM_ENTRY_NAME);
  }
  r.loadedEntries.emplace(file, entry);
  return entry;
}

Variant CreateFromServer(std::string_view progID, const std::string& libraryFile) {
  TNvComCreateObject entry = LoadServerEntry(progID, libraryFile);
  std::string name(progID);
  IDispatchObject* object = entry(name.c_str());
  if (object == nullptr) {
    throw EOleError("Cannot create \"" + name + "\": library \"" + libraryFile +
                    "\" serves no such class");
  }
  return Variant(object);
}

}  // namespace

void RegisterComClass(std::string progID, TComFactory factory) {
  Register({std::move(progID), std::move(factory), {}});
}

void RegisterComServer(std::string progID, std::string libraryFile) {
  Register({std::move(progID), {}, std::move(libraryFile)});
}

bool UnregisterComClass(std::string_view progID) {
  TComClassRegistry& r = Registry();
  std::lock_guard lock(r.mutex);
  auto it = FindEntry(r, progID);
  if (it == r.entries.end()) return false;
  r.entries.erase(it);
  return true;
}

bool IsComClassRegistered(std::string_view progID) {
  return Lookup(progID).has_value() || !ComServerFileFor(progID).empty();
}

std::string ComServerFileFor(std::string_view progID) {
  // TODO(os): read HKEY_CLASSES_ROOT\<ProgID>\InprocServer32 from the registry file.
  return {};
}

Variant CreateOleObject(std::string_view progID) {
  if (std::optional<TComClassEntry> entry = Lookup(progID)) {
    if (entry->factory) {
      IDispatchObject* object = entry->factory();
      if (object == nullptr) {
        throw EOleError("Cannot create \"" + std::string(progID) + "\": its factory gave none");
      }
      return Variant(object);
    }
    return CreateFromServer(progID, entry->libraryFile);
  }
  std::string file = ComServerFileFor(progID);
  if (!file.empty()) return CreateFromServer(progID, file);
  throw EOleError("Invalid class string: no automation class is registered for ProgID \"" +
                  std::string(progID) + "\"");
}

}  // namespace nv
