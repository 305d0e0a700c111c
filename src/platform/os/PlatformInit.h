#pragma once
// Start-up of the platform layer for a host program (baton, tallyd): settings that on the
// suite's machines come from the operating system are taken from the registry file.

namespace nv {

inline constexpr const char* kCodePageKey = "SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage";

// When BATON_ACP is not set, sets the system ANSI code page from the registry file: value
// "ACP" (a decimal string, or a dword) of HKEY_LOCAL_MACHINE\SYSTEM\...\Nls\CodePage. A
// missing file, key or value, or a code page the converter does not know, changes nothing.
// Returns the system code page in effect afterwards. A registry file that exists but cannot
// be read or is malformed raises its error (EFOpenError, EReadError).
int InitPlatformFromRegistry();

}  // namespace nv
