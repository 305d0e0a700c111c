// INI texts come from users' editors: any bytes must parse without a crash, and every name
// the parse reports must be found again by the lookups.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/os/IniFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  nv::TIniDocument document = nv::TIniDocument::Parse(text);
  for (const nv::TIniSection& section : document.Sections()) {
    if (document.FindSection(section.name) == nullptr) __builtin_trap();
    for (const nv::TIniEntry& entry : section.entries) {
      if (document.FindEntry(section.name, entry.name) == nullptr &&
          document.FindSection(section.name) == &section)
        __builtin_trap();
    }
  }
  return 0;
}
