// Registry files are written by hand: any bytes must either parse or raise the reader's
// error, never crash; every key and value parsed must be found again by its path.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/os/Registry.h"

namespace {

void Walk(const nv::TRegistryFile& file, nv::HKEY root, const nv::TRegKeyNode& node,
          const std::string& path) {
  const nv::TRegKeyNode* found = file.FindKey(root, path);
  if (found == nullptr) __builtin_trap();
  for (const nv::TRegValue& value : node.values)
    if (found->FindValue(value.name) == nullptr) __builtin_trap();
  for (const auto& sub : node.subKeys)
    Walk(file, root, *sub, path.empty() ? sub->name : path + "\\" + sub->name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    nv::TRegistryFile file = nv::TRegistryFile::Parse(text, "fuzz.reg");
    for (nv::HKEY root : {nv::HKEY_CLASSES_ROOT, nv::HKEY_CURRENT_USER, nv::HKEY_LOCAL_MACHINE,
                          nv::HKEY_USERS, nv::HKEY_CURRENT_CONFIG})
      if (const nv::TRegKeyNode* node = file.FindKey(root, "")) Walk(file, root, *node, "");
  } catch (const nv::EReadError&) {
  }
  return 0;
}
