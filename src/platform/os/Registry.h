#pragma once
// The machine's registry, read only, from the registry file (format: docs/registry-file.md).
// The file is named by BATON_REGISTRY, else it is /etc/baton/registry.reg. A missing file is
// an empty registry (every key is absent); a file that exists but cannot be read, or that is
// malformed, raises an error naming the file (and the line).
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SysUtils.h"

namespace nv {

// Values read with the wrong type, or read when absent.
NV_DECLARE_EXCEPTION(ERegistryException, Exception);

using HKEY = std::uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

inline constexpr std::string_view kDefaultRegistryFile = "/etc/baton/registry.reg";

// The registry file in effect: $BATON_REGISTRY when set and not empty, else the default.
std::string RegistryFileName();

// "HKEY_LOCAL_MACHINE" for the root; "" for a value that is no root.
std::string_view RootKeyName(HKEY root);

enum class TRegDataType { rdUnknown, rdString, rdInteger };

struct TRegValue {
  std::string name;  // "" for the key's default value
  TRegDataType type = TRegDataType::rdUnknown;
  std::string text;
  std::int32_t number = 0;
};

struct TRegKeyNode {
  std::string name;  // as written in the file
  std::vector<TRegValue> values;
  std::vector<std::unique_ptr<TRegKeyNode>> subKeys;

  const TRegValue* FindValue(std::string_view valueName) const;
  const TRegKeyNode* FindSubKey(std::string_view keyName) const;
};

// One parse of a registry file.
class TRegistryFile {
 public:
  // Raises EReadError "Registry file "<name>", line <n>: ..." on a malformed text.
  static TRegistryFile Parse(std::string_view text, std::string_view fileName);
  // Reads and parses the file; a missing file gives an empty registry, an unreadable one
  // raises EFOpenError.
  static TRegistryFile Load(const std::string& fileName);

  // The key at a "\"-separated path below a root, or nullptr; "" is the root itself.
  const TRegKeyNode* FindKey(HKEY root, std::string_view path) const;

 private:
  TRegKeyNode& RootNode(HKEY root);
  std::map<HKEY, TRegKeyNode> roots_;
};

// The platform's registry object, read only. Paths are "\"-separated and compare without
// letter case; a path that begins with "\" starts at the root, any other at the open key.
class TRegistry {
 public:
  TRegistry();
  // Reads the given file instead of RegistryFileName() (tests, tools).
  explicit TRegistry(std::string fileName);

  HKEY RootKey() const { return rootKey_; }
  void SetRootKey(HKEY root);
  // The open key's path below the root, "" when none is open.
  const std::string& CurrentPath() const { return currentPath_; }

  // Nothing can be created: both answer false for a key that is not there.
  bool OpenKey(std::string_view key, bool canCreate);
  bool OpenKeyReadOnly(std::string_view key);
  void CloseKey();
  bool KeyExists(std::string_view key);

  bool ValueExists(std::string_view name);
  TRegDataType GetDataType(std::string_view name);
  // A missing value gives ""; a value of another type raises ERegistryException.
  std::string ReadString(std::string_view name);
  // A missing value or one of another type raises ERegistryException.
  int ReadInteger(std::string_view name);
  bool ReadBool(std::string_view name);

  // Value names and sub-key names of the open key (of the root when none is open), as
  // written in the file, in file order.
  std::vector<std::string> GetValueNames();
  std::vector<std::string> GetKeyNames();
  bool HasSubKeys();

 private:
  const TRegistryFile& File();
  const TRegKeyNode* Resolve(std::string_view key, std::string& fullPath);
  const TRegKeyNode* CurrentNode();
  const TRegValue& ValueOrRaise(std::string_view name);
  std::string KeyDisplayName() const;

  std::string fileName_;
  std::unique_ptr<TRegistryFile> file_;  // read at first use, kept for this object's life
  HKEY rootKey_ = HKEY_CURRENT_USER;
  std::string currentPath_;
  bool keyOpen_ = false;
};

}  // namespace nv
