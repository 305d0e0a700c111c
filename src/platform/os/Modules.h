#pragma once
// Shared libraries: the module's own file name, and the suite libraries the module loads by
// file name ("Nvlanguage.dll", "NVDownLoad.dll"). A name ending in ".dll" stands for the ".so"
// of the same base name in the same folder.
#include <string>
#include <string_view>

namespace nv {

using HMODULE = void*;

// The file the loader is asked for: "\" mapped to "/", ".dll" (any case) replaced by ".so".
std::string LibraryFileFor(std::string_view name);

// Loads the library; nullptr when it cannot (LastLibraryError then tells why). A bare name
// is looked for in the host program's folder first, then where the system looks.
HMODULE LoadLibrary(std::string_view name);
// As LoadLibrary, but raises EOSError with the reason.
HMODULE LoadLibraryOrRaise(std::string_view name);
// The entry point of that name, or nullptr (also for a null handle).
void* GetProcAddress(HMODULE module, std::string_view procName);
bool FreeLibrary(HMODULE module);
// The reason the last LoadLibrary of this thread failed: "Cannot load library "x.dll": ...".
std::string LastLibraryError();

// The absolute file of the shared object (or the program) that contains the address: the
// module passes the address of one of its own functions to learn its own file name.
std::string GetModuleFileNameOf(const void* address);
// The file of a loaded library; nullptr stands for the host program.
std::string GetModuleFileName(HMODULE module);

}  // namespace nv
