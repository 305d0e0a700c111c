#include "suite/manager/DataRights.h"

#include <cctype>

#include "suite/appserver/SqlText.h"

namespace nv::manager {

namespace {
constexpr char kFieldEnd = '\x03';

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

std::vector<std::string> SplitFields(std::string_view text) {
  std::vector<std::string> fields;
  std::string current;
  for (char c : text) {
    if (c == kFieldEnd) {
      fields.push_back(current);
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) fields.push_back(current);
  return fields;
}

// A condition stays inside its brackets: no statement end, comment or stray bracket outside
// quoted texts.
bool IsSingleCondition(std::string_view condition) {
  char quote = 0;
  int depth = 0;
  for (std::size_t i = 0; i < condition.size(); ++i) {
    char c = condition[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    char next = i + 1 < condition.size() ? condition[i + 1] : '\0';
    if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';' || (c == '-' && next == '-') || (c == '/' && next == '*')) {
      return false;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && --depth < 0) {
      return false;
    }
  }
  return quote == 0 && depth == 0 && !Trim(std::string(condition)).empty();
}

TDataRight ParseEntry(const std::string& entry) {
  std::string text = Trim(entry);
  std::size_t blank = text.find(' ');
  std::string table = UpperCase(text.substr(0, blank));
  std::string condition = blank == std::string::npos ? std::string() : Trim(text.substr(blank));
  if (!tallyd::IsSafeIdentifier(table) || table.find('.') != std::string::npos ||
      !IsSingleCondition(condition)) {
    throw EDataRightsError("Data-rights entry '" + text +
                           "' is not a table name followed by one condition");
  }
  return {table, condition};
}

bool IsKeyword(const std::string& word) {
  static const char* const kWords[] = {"WHERE", "ON",    "INNER",   "LEFT",  "RIGHT",  "FULL",
                                       "CROSS", "JOIN",  "ORDER",   "GROUP", "UNION",  "HAVING",
                                       "LIMIT", "OUTER", "NATURAL", "USING", "EXCEPT", "INTERSECT"};
  for (const char* k : kWords) {
    if (SameText(word, k)) return true;
  }
  return false;
}

std::string WordAt(std::string_view s, std::size_t& i) {
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) ++i;
  std::size_t start = i;
  while (i < s.size() && IsNameChar(s[i])) ++i;
  return std::string(s.substr(start, i - start));
}

// The alias after a table name at `end`; moves `end` past it. The table's own name when none.
std::string TakeAlias(std::string_view s, std::size_t& end, const std::string& table) {
  std::size_t i = end;
  std::string word = WordAt(s, i);
  if (SameText(word, "AS")) {
    std::size_t j = i;
    std::string alias = WordAt(s, j);
    if (!alias.empty()) {
      end = j;
      return alias;
    }
  }
  if (!word.empty() && !IsKeyword(word)) {
    end = i;
    return word;
  }
  return table;
}

const TDataRight* RightFor(const std::vector<TDataRight>& rights, std::string_view table) {
  for (const TDataRight& r : rights) {
    if (SameText(r.table, table)) return &r;
  }
  return nullptr;
}
}  // namespace

std::vector<TDataRight> ParseDataRights(std::string_view text) {
  std::vector<std::string> fields = SplitFields(text);
  if (fields.size() < 2 || UpperCase(Trim(fields[0])) != "Y") return {};
  int count = StrToIntDef(Trim(fields[1]), 0);
  std::vector<TDataRight> rights;
  for (int i = 0; i < count && static_cast<std::size_t>(i) + 2 < fields.size(); ++i) {
    if (Trim(fields[static_cast<std::size_t>(i) + 2]).empty()) continue;
    rights.push_back(ParseEntry(fields[static_cast<std::size_t>(i) + 2]));
  }
  return rights;
}

std::string ApplyDataRights(std::string_view statement, const std::vector<TDataRight>& rights) {
  if (rights.empty()) return std::string(statement);
  std::string out;
  char quote = 0;
  std::size_t i = 0;
  while (i < statement.size()) {
    char c = statement[i];
    if (quote != 0 || c == '\'' || c == '"') {
      quote = quote != 0 ? (c == quote ? 0 : quote) : c;
      out.push_back(c);
      ++i;
      continue;
    }
    bool tableStart = c == '$' && i + 2 < statement.size() && statement[i + 1] == '$' &&
                      (i == 0 || !IsNameChar(statement[i - 1]));
    if (!tableStart) {
      out.push_back(c);
      ++i;
      continue;
    }
    std::size_t end = i + 2;
    while (end < statement.size() && IsNameChar(statement[end])) ++end;
    std::string table(statement.substr(i + 2, end - i - 2));
    const TDataRight* right = RightFor(rights, table);
    if (right == nullptr) {
      out.append(statement.substr(i, end - i));
      i = end;
      continue;
    }
    std::string alias = TakeAlias(statement, end, table);
    out +=
        "(SELECT * FROM $$" + table + " " + table + " WHERE (" + right->condition + ")) " + alias;
    i = end;
  }
  return out;
}

}  // namespace nv::manager
