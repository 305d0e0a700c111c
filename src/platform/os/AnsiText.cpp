#include "platform/os/AnsiText.h"

#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"

namespace nv {

namespace {

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// Calls visit(position) for the first byte of every character of text.
template <typename Visit>
void ForEachChar(std::string_view text, std::size_t from, Visit visit) {
  int codePage = SystemCodePage();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i >= from && !visit(i)) return;
    if (IsLeadByte(static_cast<unsigned char>(text[i]), codePage)) ++i;  // skip the trail byte
  }
}

}  // namespace

std::string FoldNameText(std::string_view name) {
  return LowerCase(name);
}

bool SameNameText(std::string_view a, std::string_view b) {
  return SameText(a, b);
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::size_t FindDelimiter(std::string_view text, std::string_view delimiters, std::size_t from) {
  std::size_t found = std::string_view::npos;
  ForEachChar(text, from, [&](std::size_t i) {
    if (delimiters.find(text[i]) == std::string_view::npos) return true;
    found = i;
    return false;
  });
  return found;
}

std::size_t FindLastDelimiter(std::string_view text, std::string_view delimiters) {
  std::size_t found = std::string_view::npos;
  ForEachChar(text, 0, [&](std::size_t i) {
    if (delimiters.find(text[i]) != std::string_view::npos) found = i;
    return true;
  });
  return found;
}

std::string ReplaceSingleByteChar(std::string_view text, char from, char to) {
  std::string result(text);
  ForEachChar(result, 0, [&](std::size_t i) {
    if (result[i] == from) result[i] = to;
    return true;
  });
  return result;
}

}  // namespace nv
