#pragma once
// ANSI texts: byte strings in the machine's ANSI code page (936 GBK by default, 950 Big5,
// 437, or any code page the converter knows). UTF-8 exists only at the edges (Cairo/Pango,
// the terminal, libxml2, SQLite); UTF-16 where a contract says wide string. Conversions never
// fail: a byte sequence invalid in its code page, or a character the target cannot hold,
// becomes "?" (so a result is always valid in its own code page).
#include <string>
#include <string_view>

namespace nv {

constexpr int kCodePageGB = 936;
constexpr int kCodePageBig5 = 950;
constexpr int kCodePageUS = 437;
constexpr int kCodePageUtf8 = 65001;

// The system ANSI code page: the value set by SetSystemCodePage, else the environment
// variable BATON_ACP, else 936. Read afresh on every call.
int SystemCodePage();
// 0 clears the setting so that BATON_ACP and the default apply again.
void SetSystemCodePage(int codePage);

// codePage 0 means the system ANSI code page in every function below.
std::u16string AnsiToWide(std::string_view text, int codePage = 0);
std::string WideToAnsi(std::u16string_view text, int codePage = 0);
std::string AnsiToUtf8(std::string_view text, int codePage = 0);
std::string Utf8ToAnsi(std::string_view text, int codePage = 0);
std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);
std::string ConvertCodePage(std::string_view text, int fromCodePage, int toCodePage);

// A UTF-8 source literal as a system text, converted through this one helper so that byte
// rules (a Chinese character counts two in GBK and Big5) hold for literals too.
std::string SysText(std::string_view utf8Literal);

// True when the byte starts a two-byte character in a double-byte code page (936, 950).
bool IsLeadByte(unsigned char byte, int codePage = 0);
// Whether a code page is known to the converter.
bool IsValidCodePage(int codePage);

}  // namespace nv
