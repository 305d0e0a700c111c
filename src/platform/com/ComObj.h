#pragma once
// Creating automation objects by ProgID. The class registry of this library copy answers
// first: in-process factories registered by the program (RegisterComClass), then plug-in
// libraries registered by file name (RegisterComServer). A ProgID neither knows is looked up
// in the registry file: HKEY_CLASSES_ROOT\<ProgID>\InprocServer32, default value = the
// plug-in library's file name (docs/automation.md).
//
// A plug-in library exports one C function, NV_COM_ENTRY_NAME, that creates the object for a
// ProgID or returns nullptr when it serves no such class. Each library that links the
// platform has its own copy of this registry: across a library boundary only the plug-in
// entry point and the objects themselves travel.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/Dispatch.h"
#include "platform/core/Variant.h"

namespace nv {

// A new object, holding no reference yet (the Variant that receives it takes the first).
using TComFactory = std::function<IDispatchObject*()>;

// Registers (or replaces) an in-process class. ProgIDs compare without letter case.
void RegisterComClass(std::string progID, TComFactory factory);
// Registers (or replaces) a class served by a plug-in library, as the registry file would.
void RegisterComServer(std::string progID, std::string libraryFile);
// Forgets a class registered in-process or by RegisterComServer; false when there was none.
bool UnregisterComClass(std::string_view progID);
// Whether CreateOleObject could find a class for the ProgID (it is not created).
bool IsComClassRegistered(std::string_view progID);

// The platform's CreateOleObject: a Variant holding a new object of the class. Raises
// EOleError "Invalid class string: no automation class is registered for ProgID "X"" for an
// unknown ProgID, and names the ProgID and the library when a plug-in cannot be loaded or
// does not serve it.
Variant CreateOleObject(std::string_view progID);

// The plug-in library named for the ProgID in the registry file, "" when none. The one place
// the registry file is read for automation classes.
std::string ComServerFileFor(std::string_view progID);

}  // namespace nv

// The entry point every plug-in library exports:
//   NV_COM_EXPORT nv::IDispatchObject* NvComCreateObject(const char* progID) { ... }
// It returns a new object (no reference taken) or nullptr; it may raise an exception derived
// from std::exception, which reaches the caller of CreateOleObject.
#define NV_COM_ENTRY_NAME "NvComCreateObject"
#define NV_COM_EXPORT extern "C" __attribute__((visibility("default")))
using TNvComCreateObject = nv::IDispatchObject* (*)(const char* progID);
