#include "suite/appserver/SqlText.h"

#include <cctype>

#include "platform/core/SysUtils.h"

namespace nv::tallyd {

namespace {
bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// Calls emit for every byte; quoted spans (' or ") are passed with inQuote = true.
template <class F>
void WalkOutsideQuotes(std::string_view sql, F&& emit) {
  char quote = 0;
  for (std::size_t i = 0; i < sql.size(); ++i) {
    char c = sql[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      emit(i, true);
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      emit(i, true);
      continue;
    }
    emit(i, false);
  }
}
}  // namespace

std::string ResolveTablePrefix(std::string_view sql, std::string_view prefix) {
  std::string out;
  out.reserve(sql.size() + 16);
  std::size_t skipUntil = 0;
  WalkOutsideQuotes(sql, [&](std::size_t i, bool quoted) {
    if (i < skipUntil) return;
    if (!quoted && sql[i] == '$' && i + 2 < sql.size() && sql[i + 1] == '$' &&
        IsNameChar(sql[i + 2])) {
      out.append(prefix);
      skipUntil = i + 2;
      return;
    }
    out.push_back(sql[i]);
  });
  return out;
}

bool IsQueryStatement(std::string_view sql) {
  std::size_t i = 0;
  while (i < sql.size() && (std::isspace(static_cast<unsigned char>(sql[i])) != 0 || sql[i] == '('))
    ++i;
  std::size_t start = i;
  while (i < sql.size() && std::isalpha(static_cast<unsigned char>(sql[i])) != 0) ++i;
  std::string word = UpperCase(sql.substr(start, i - start));
  return word == "SELECT" || word == "WITH" || word == "VALUES";
}

bool IsSafeIdentifier(std::string_view name) {
  if (name.substr(0, 2) == "$$") name.remove_prefix(2);
  if (name.empty() || name.size() > 64) return false;
  int dots = 0;
  bool partStart = true;
  for (char c : name) {
    if (c == '.') {
      if (partStart || ++dots > 1) return false;
      partStart = true;
      continue;
    }
    if (!IsNameChar(c)) return false;
    if (partStart && std::isdigit(static_cast<unsigned char>(c)) != 0) return false;
    partStart = false;
  }
  return !partStart;
}

std::string NumberPlaceholders(std::string_view sql) {
  std::string out;
  int next = 0;
  std::size_t skipUntil = 0;
  WalkOutsideQuotes(sql, [&](std::size_t i, bool quoted) {
    if (i < skipUntil) return;
    if (quoted || sql[i] != '?') {
      out.push_back(sql[i]);
      return;
    }
    std::size_t j = i + 1;
    while (j < sql.size() && std::isdigit(static_cast<unsigned char>(sql[j])) != 0) ++j;
    out.push_back('$');
    if (j > i + 1) {
      out.append(sql.substr(i + 1, j - i - 1));
      skipUntil = j;
    } else {
      out += IntToStr(++next);
    }
  });
  return out;
}

}  // namespace nv::tallyd
