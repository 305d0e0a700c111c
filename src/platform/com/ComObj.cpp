#include "platform/com/ComObj.h"

#include <map>
#include <mutex>
#include <optional>

#include "platform/os/Modules.h"
#include "platform/os/Registry.h"

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

TNvComCreateObject LoadServerEntry(std::string_view progID, const std::string& libraryFile) {
  TComClassRegistry& r = Registry();
  std::lock_guard lock(r.mutex);
  std::string file = LibraryFileFor(libraryFile);
  auto it = r.loadedEntries.find(file);
  if (it != r.loadedEntries.end()) return it->second;
  HMODULE module = LoadLibrary(libraryFile);
  if (module == nullptr) {
    throw EOleError("Cannot create \"" + std::string(progID) + "\": " + LastLibraryError());
  }
  auto entry = reinterpret_cast<TNvComCreateObject>(GetProcAddress(module, NV_COM_ENTRY_NAME));
  if (entry == nullptr) {
    FreeLibrary(module);
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
  if (progID.empty()) return {};
  TRegistry registry;
  registry.SetRootKey(HKEY_CLASSES_ROOT);
  if (!registry.OpenKeyReadOnly(std::string(progID) + "\\InprocServer32")) return {};
  if (registry.GetDataType("") != TRegDataType::rdString) return {};
  return registry.ReadString("");
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
