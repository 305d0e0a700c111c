#pragma once
// Byte rules for the names and paths the operating system services read: INI sections and
// keys, registry paths, file paths. They are system (ANSI) texts; in a double-byte code page
// the second byte of a character may be any of "\", "]" or an ASCII letter, and is never
// taken for one (a Big5 or GBK file name must survive the "\" to "/" mapping).
#include <string>
#include <string_view>

namespace nv {

// True when a and b are the same name, ignoring the case of ASCII letters.
bool SameNameText(std::string_view a, std::string_view b);

// The name with every ASCII letter folded to lower case (a lookup key for SameNameText).
std::string FoldNameText(std::string_view name);

// Removes the blanks and control characters (bytes up to space) at both ends.
std::string_view TrimBlanks(std::string_view text);

// Position of the first (last) single-byte character of text that is one of the delimiters,
// or npos; bytes inside double-byte characters never match.
std::size_t FindDelimiter(std::string_view text, std::string_view delimiters, std::size_t from = 0);
std::size_t FindLastDelimiter(std::string_view text, std::string_view delimiters);

// The text with every single-byte character `from` replaced by `to`.
std::string ReplaceSingleByteChar(std::string_view text, char from, char to);

}  // namespace nv
