#include "runtime/LibStrs.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/core/CodePage.h"
#include "platform/core/DateUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/os/FileUtils.h"
#include "platform/os/Registry.h"

namespace nv {
namespace {

constexpr char kListMarker = '\x05';
constexpr char kRangeMarker = '\x04';
constexpr char16_t kItemSeparator = u'\x03';

std::string Printf(const char* format, auto... args) {
  char buffer[64];
  int length = std::snprintf(buffer, sizeof buffer, format, args...);
  return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

// An element that cannot be read (out of bounds, Null, an array where a text is expected)
// reads as an empty text: condition values come from controls and must never raise here.
std::string SafeText(const Variant& value) {
  try {
    return VarToStr(value);
  } catch (const std::exception&) {
    return {};
  }
}

std::string SafeElementText(const Variant& array, int index) {
  try {
    if (!array.IsArray() || array.DimCount() != 1) return {};
    if (index < array.LowBound() || index > array.HighBound()) return {};
    const Variant& element = array[index];
    if (element.IsArray()) return SafeElementText(element, 0);
    return SafeText(element);
  } catch (const std::exception&) {
    return {};
  }
}

std::string Quoted(std::string_view text) {
  std::string result = "'";
  for (char c : text) {
    result += c;
    if (c == '\'') result += '\'';
  }
  return result + "'";
}

// A numeric field's value goes into the statement bare only when it is a number; anything
// else is quoted so that a typed value can never change the statement around it.
bool IsSqlNumber(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++exponent;
    if (exponent == 0) return false;
  }
  return i == text.size();
}

std::string NumericValue(std::string_view text) {
  return IsSqlNumber(text) ? std::string(text) : Quoted(text);
}

std::string YyyyMmDd(TDateTime date) {
  int y = 0, m = 0, d = 0;
  DecodeDate(date, y, m, d);
  return Printf("%.4d%.2d%.2d", y, m, d);
}

bool TryEncodeReduced(int year, int month, int day, TDateTime& value) {
  if (month < 1 || month > 12 || year < 1 || year > 9999) return false;
  while (day > 28 && !IsValidDate(year, month, day)) --day;
  return TryEncodeDate(year, month, day, value);
}

bool IsJoinKeyword(std::string_view word) {
  return word.empty() || word == "LEFT" || word == "RIGHT" || word == "INNER" || word == "WHERE" ||
         word == "ON" || word.starts_with("WITH");
}

bool IsIdentifierByte(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

}  // namespace

std::string GetToken(std::string_view text, std::string_view delimiter, int index) {
  if (index < 1) return {};
  if (delimiter.empty()) return index == 1 ? std::string(text) : std::string();
  size_t start = 0;
  for (int piece = 1;; ++piece) {
    size_t found = text.find(delimiter, start);
    if (piece == index) {
      return std::string(
          text.substr(start, found == std::string_view::npos ? found : found - start));
    }
    if (found == std::string_view::npos) return {};
    start = found + delimiter.size();
  }
}

int NumToken(std::string_view text, std::string_view delimiter) {
  if (text.empty()) return 0;
  if (delimiter.empty()) return 1;
  // Each find is spoiled in its first byte before searching again; the spoiling byte must
  // differ from the delimiter's first byte or the same find would be met for ever.
  const char spoiler = delimiter.front() == '#' ? '*' : '#';
  std::string copy(text);
  int count = 1;
  size_t from = 0;
  for (size_t found = copy.find(delimiter); found != std::string::npos;
       found = copy.find(delimiter, from)) {
    copy[found] = spoiler;
    ++count;
    // The spoiled byte may complete a new find that starts up to one delimiter earlier.
    from = found + 1 >= delimiter.size() ? found + 1 - delimiter.size() : 0;
  }
  return count;
}

std::string CutToken(std::string& text, std::string_view delimiter) {
  size_t found = delimiter.empty() ? std::string::npos : text.find(delimiter);
  if (found == std::string::npos) {
    std::string whole = std::move(text);
    text.clear();
    return whole;
  }
  std::string head = text.substr(0, found);
  text.erase(0, found + delimiter.size());
  return head;
}

std::string PadL(std::string_view text, std::initializer_list<int> widthAndFill) {
  if (widthAndFill.size() == 0) return std::string(text);
  const int width = *widthAndFill.begin();
  const char fill = widthAndFill.size() > 1 ? static_cast<char>(*(widthAndFill.begin() + 1)) : ' ';
  if (width <= 0 || text.size() >= static_cast<size_t>(width)) return std::string(text);
  return std::string(static_cast<size_t>(width) - text.size(), fill) + std::string(text);
}

std::string ZeroATfirst(std::int64_t value, int width) {
  char buffer[96];
  int length =
      std::snprintf(buffer, sizeof buffer, "%.*lld", width < 0 ? 0 : (width > 64 ? 64 : width),
                    static_cast<long long>(value));
  return std::string(buffer, static_cast<size_t>(length));
}

std::string SwapStr(std::string_view text, std::string_view oldText, std::string_view newText,
                    bool trim) {
  std::string result(text);
  if (!oldText.empty() && !SameText(oldText, newText)) {
    if (newText.find(oldText) != std::string_view::npos) {
      // Replacing until nothing is left would never end here: every occurrence that the
      // text held is replaced once instead.
      for (size_t at = result.find(oldText); at != std::string::npos;
           at = result.find(oldText, at + newText.size())) {
        result.replace(at, oldText.size(), newText);
      }
    } else {
      // A replacement can complete a new occurrence only where it overlaps the new text.
      for (size_t at = result.find(oldText); at != std::string::npos;) {
        result.replace(at, oldText.size(), newText);
        at = result.find(oldText, at + 1 >= oldText.size() ? at + 1 - oldText.size() : 0);
      }
    }
  }
  return trim ? Trim(result) : result;
}

bool IsLocalAddress(std::string_view address) {
  return address == "127.0.0.1";
}

std::string GetCHTButtonCaption(std::string_view buttonName) {
  static const std::pair<std::string_view, std::string_view> kCaptions[] = {
      {"Yes", "是(&Y)"},        {"No", "否(&N)"},      {"OK", "确定"},
      {"Cancel", "取消"},       {"Abort", "中断(&A)"}, {"Retry", "重试(&R)"},
      {"Ignore", "忽略(&I)"},   {"All", "全部(&A)"},   {"NoToAll", "全否(&o)"},
      {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"},
  };
  for (const auto& [name, caption] : kCaptions) {
    if (name == buttonName) return SysText(caption);
  }
  return std::string(buttonName);
}

std::u16string BLVariantToWideString(std::string_view name, const Variant& items) {
  std::u16string result = AnsiToWide(name);
  result += kItemSeparator;
  int count = 0;
  try {
    if (items.IsArray() && items.DimCount() == 1 && items.LowBound() <= 0 &&
        items.HighBound() >= 0) {
      result += items[0].AsWideString();
      count = items[0].AsInteger();
    }
  } catch (const std::exception&) {
    count = 0;
  }
  result += kItemSeparator;
  // A count larger than the array holds stops at the last element.
  for (int i = 1; i <= count && items.IsArray() && i <= items.HighBound(); ++i) {
    result += AnsiToWide(SafeText(items[i]));
    result += kItemSeparator;
  }
  return result;
}

double StrToFloatDefault(std::string_view text, double defaultValue) {
  if (!IsSqlNumber(text)) return defaultValue;
  std::string copy(text);
  errno = 0;
  double value = std::strtod(copy.c_str(), nullptr);
  return errno == ERANGE || !std::isfinite(value) ? defaultValue : value;
}

std::string DateToString(TDateTime date, int dateType, std::string_view separator) {
  if (date == 0) return {};
  int y = 0, m = 0, d = 0;
  DecodeDate(date, y, m, d);
  const std::string sep = separator.empty() ? std::string() : std::string(1, separator.front());
  const char* s = sep.c_str();
  switch (dateType) {
    case 1:
      return Printf("%.4d%s%.2d%s%.2d", y, s, m, s, d);
    case 2:
      return Printf("%.2d%s%.2d%s%.4d", m, s, d, s, y);
    case 3:
      return Printf("%.2d%s%.2d%s%.4d", d, s, m, s, y);
    case 4:
      return Printf("%.2d%s%.2d%s%.2d", y - 1911, s, m, s, d);
    case 5:
      return Printf("%.3d%s%.2d%s%.2d", y - 1911, s, m, s, d);
    default:
      return {};
  }
}

std::string MonthToString(TDateTime date, int dateType, std::string_view separator) {
  if (date == 0) return {};
  int y = 0, m = 0, d = 0;
  DecodeDate(date, y, m, d);
  const std::string sep = separator.empty() ? std::string() : std::string(1, separator.front());
  const char* s = sep.c_str();
  switch (dateType) {
    case 1:
      return Printf("%.4d%s%.2d", y, s, m);
    case 2:
    case 3:
      return Printf("%.2d%s%.4d", m, s, y);
    case 4:
      return Printf("%.2d%s%.2d", y - 1911, s, m);
    case 5:
      return Printf("%.3d%s%.2d", y - 1911, s, m);
    default:
      return {};
  }
}

TDateTime TransDateIn(std::string_view yyyymmdd) {
  if (yyyymmdd.size() != 8) return 0;
  int y = 0, m = 0, d = 0;
  if (!TryStrToInt(yyyymmdd.substr(0, 4), y) || !TryStrToInt(yyyymmdd.substr(4, 2), m) ||
      !TryStrToInt(yyyymmdd.substr(6, 2), d))
    return 0;
  if (y == 0 || m == 0 || d == 0) return 0;
  TDateTime value = 0;
  return TryEncodeDate(y, m, d, value) ? value : 0;
}

bool CheckDate(std::string_view yyyymmdd) {
  if (yyyymmdd.empty()) return true;
  int y = 0, m = 0, d = 0;
  auto part = [&](size_t from, size_t count) {
    return yyyymmdd.substr(std::min(from, yyyymmdd.size()), count);
  };
  if (!TryStrToInt(part(0, 4), y) || !TryStrToInt(part(4, 2), m) || !TryStrToInt(part(6, 2), d))
    return false;
  if (!IsValidDate(y, m, d)) return false;
  return yyyymmdd >= "17530101" && yyyymmdd <= "99991231";
}

std::string DateAddText(const Variant& date, std::string_view unit, int count) {
  TDateTime value = 0;
  if (date.IsText()) {
    value = TransDateIn(SafeText(date));
  } else if (date.Type() == VarType::Date) {
    value = date.AsDate();
  } else {
    return {};
  }
  if (value == 0) return {};
  int y = 0, m = 0, d = 0;
  DecodeDate(value, y, m, d);
  TDateTime result = 0;
  const std::string u = UpperCase(unit);
  if (u == "D") {
    result = std::floor(value) + count;
    if (result < -693593 || result > 2958465) return {};  // outside years 1..9999
  } else if (u == "Y") {
    if (!TryEncodeReduced(y + count, m, d, result)) return {};
  } else if (u == "M") {
    const std::int64_t total = std::int64_t{y} * 12 + m + count;
    std::int64_t month = total % 12;
    std::int64_t year = total / 12;
    if (month == 0) {
      month = 12;
      year -= 1;
    }
    if (month < 0 || year > 9999 || year < 1) return {};
    if (!TryEncodeReduced(static_cast<int>(year), static_cast<int>(month), d, result)) return {};
  } else {
    return {};
  }
  return YyyyMmDd(result);
}

int DaysOfMonth(int year, int month) {
  return DaysInMonth(year, month);
}

std::string WeekEdgeDate(std::string_view base, int count, int dayKind) {
  const std::string week = DateAddText(Variant(base), "D", count * 7);
  const TDateTime w = TransDateIn(week);
  if (w == 0) return {};
  const int weekday = DayOfWeek(w);
  return DateAddText(Variant(week), "D", dayKind == 1 ? 1 - weekday : 7 - weekday);
}

std::string UpdateDate(std::string_view base, std::string_view count, std::string_view unit,
                       std::string_view dayOffset, std::string_view dayKind) {
  const int months = StrToInt(count);
  if (base.size() < 7) {
    return DateAddText(Variant(std::string(base) + "01"), "M", months).substr(0, 6);
  }
  const int offset = StrToInt(dayOffset);
  const int kind = StrToInt(dayKind);
  if (unit != "0") {
    const std::string moved = DateAddText(Variant(base), "M", months);
    if (moved.empty()) return {};
    switch (kind) {
      case 0:
        return DateAddText(Variant(moved), "D", offset);
      case 1:
        return moved.substr(0, 6) + "01";
      case 2: {
        const int y = StrToInt(moved.substr(0, 4));
        const int m = StrToInt(moved.substr(4, 2));
        return moved.substr(0, 6) + Printf("%.2d", DaysOfMonth(y, m));
      }
      default:
        return moved;
    }
  }
  if (kind != 0) return WeekEdgeDate(base, months, kind);
  return DateAddText(Variant(base), "D", months * 7 + offset);
}

int CompareFloat(long double a, long double b) {
  auto rounded = [](long double x) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15Lg", x);
    return std::strtold(buffer, nullptr);
  };
  const long double ra = rounded(a);
  const long double rb = rounded(b);
  if (std::fabs(ra - rb) < 1e-10L) return 0;
  return ra > rb ? 1 : -1;
}

Variant IIF(bool condition, const Variant& whenTrue, const Variant& whenFalse) {
  return condition ? whenTrue : whenFalse;
}

bool IsVarEmptyOrNull(const Variant& value) {
  return value.IsEmpty() || value.IsNull();
}

namespace {

Variant Redecoded(const Variant& text, int codePage) {
  const std::string ansi = text.AsString();
  std::u16string wide = IsValidCodePage(codePage) ? AnsiToWide(ansi, codePage) : std::u16string();
  if (wide.empty()) wide = AnsiToWide(ansi);
  return Variant(std::move(wide));
}

void RedecodeElements(Variant& array, int codePage) {
  if (array.DimCount() == 2) {
    for (int i = array.LowBound(1); i <= array.HighBound(1); ++i)
      for (int j = array.LowBound(2); j <= array.HighBound(2); ++j)
        if (array.At(i, j).Type() == VarType::OleStr)
          array.At(i, j) = Redecoded(array.At(i, j), codePage);
    return;
  }
  for (int i = array.LowBound(); i <= array.HighBound(); ++i) {
    Variant& element = array[i];
    if (element.IsArray()) {
      RedecodeElements(element, codePage);
    } else if (element.Type() == VarType::OleStr) {
      element = Redecoded(element, codePage);
    }
  }
}

}  // namespace

Variant NVStrToWideString(const Variant& value, int codePage) {
  Variant result = value;
  if (IsVarEmptyOrNull(value)) return result;
  try {
    if (value.IsArray()) {
      RedecodeElements(result, codePage);
    } else if (value.IsText()) {
      result = Redecoded(value, codePage);
    }
  } catch (const std::exception& error) {
    WriteToAlertFile("libstrs", std::string("LINE[115] ") + error.what(), "D");
    return value;
  }
  return result;
}

std::string SPSQLStr(std::string& whereClause, std::string_view fieldName,
                     const Variant& conditionValue, int fieldType) {
  const std::string field(fieldName);
  std::string condition;
  std::string from, to;
  bool isList = false;
  if (conditionValue.IsArray()) {
    const std::string marker = SafeElementText(conditionValue, 0);
    if (marker.size() == 1 && marker[0] == kListMarker) {
      isList = true;
      std::string list;
      for (int i = 1; i <= conditionValue.HighBound(); ++i) {
        const std::string item = SafeElementText(conditionValue, i);
        if (item.empty()) continue;
        if (!list.empty()) list += ", ";
        list += Quoted(item);
      }
      if (!list.empty()) condition = "(" + field + " IN (" + list + "))";
    } else if (marker.size() == 1 && marker[0] == kRangeMarker) {
      from = SafeElementText(conditionValue, 1);
      to = SafeElementText(conditionValue, 2);
    } else {
      from = marker;
      to = SafeElementText(conditionValue, 1);
    }
  } else {
    from = SafeText(conditionValue);
  }
  if (!isList) {
    if (fieldType == 1) {
      if (!from.empty() && !to.empty() && from != to) {
        condition = " (" + field + " Between " + Quoted(from) + " and " + Quoted(to) + ") ";
      } else if (!from.empty() && !to.empty()) {
        condition = " (" + field + "=" + Quoted(from) + ") ";
      } else if (!from.empty()) {
        condition = " (" + field + ">= " + Quoted(from) + ")";
      } else if (!to.empty()) {
        condition = " (" + field + "<= " + Quoted(to) + " OR " + field + " IS NULL )";
      }
    } else if (fieldType == 2 || fieldType == 3) {
      from = Trim(from);
      to = Trim(to);
      if (!from.empty() && !to.empty() && from != to) {
        condition =
            " (" + field + " Between " + NumericValue(from) + " and " + NumericValue(to) + ") ";
      } else if (!from.empty() && !to.empty()) {
        condition = " (" + field + "=" + NumericValue(from) + ") ";
      } else if (!from.empty()) {
        condition = " (" + field + ">=" + NumericValue(from) + ")";
      } else if (!to.empty()) {
        condition = " (" + field + "<=" + NumericValue(to) + " OR " + field + " IS NULL )";
      }
    }
  }
  if (!condition.empty()) {
    whereClause = whereClause.empty() ? "Where " + condition : whereClause + " and " + condition;
  }
  return condition;
}

std::string FindTableAlias(std::string_view tableName, std::string_view following) {
  std::string rest = Trim(following);
  const std::string word1 = UpperCase(CutToken(rest, " "));
  rest = Trim(rest);
  if (word1 == "AS" && !rest.empty()) return Trim(CutToken(rest, " "));
  if (IsJoinKeyword(word1)) return std::string(tableName);
  const std::string word2 = UpperCase(CutToken(rest, " "));
  return IsJoinKeyword(word2) ? word1 : std::string(tableName);
}

std::string MakeBasePower(const Variant& rights, std::string_view databaseName,
                          std::string_view fromSql, std::string_view excludedAliases) {
  if (!rights.IsArray() || rights.DimCount() != 1) return {};
  int count = 0;
  try {
    count = rights[rights.LowBound()].AsInteger();
  } catch (const std::exception&) {
    return {};
  }
  const std::string sql = SwapStr(fromSql, "\r\n", " ", true);
  std::string prefix = "$$";
  if (sql.find("$$") == std::string::npos) {
    prefix = std::string(databaseName);
    if (!prefix.ends_with("..")) prefix += "..";
  }
  const std::string excluded = ";" + std::string(excludedAliases) + ";";
  std::string result;
  // A count beyond what the array holds stops at its last entry.
  for (int i = 1; i <= count && i <= rights.HighBound(); ++i) {
    std::string entry = SafeElementText(rights, i);
    const std::string table = CutToken(entry, " ");
    if (table.empty()) continue;
    const std::string condition = " ( " + entry + " ) ";
    const std::string key = prefix + table;
    const std::string keyColumn =
        (table.size() >= 2 ? table.substr(table.size() - 2) : table) + "001";
    std::string remaining = sql;
    for (size_t at = remaining.find(key); at != std::string::npos; at = remaining.find(key)) {
      remaining.erase(0, at + key.size());
      // "$$CMSMQ" inside "$$CMSMQA" names another table.
      if (!remaining.empty() && IsIdentifierByte(remaining.front())) continue;
      const std::string alias = FindTableAlias(table, remaining);
      if (excluded.find(";" + UpperCase(alias) + ";") != std::string::npos) continue;
      result += "(" + SwapStr(condition, table + ".", alias + ".", true) + " or " + "(" + alias +
                "." + keyColumn + " is null)" + ") and ";
    }
  }
  if (!result.empty()) result.erase(result.size() - 5);
  return result;
}

std::string GetBatonDir() {
  try {
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKeyReadOnly("Software\\NVT\\Baton")) return {};
    std::string folder = registry.ReadString("ClientPath");
    if (folder.empty()) folder = registry.ReadString("ServerPath");
    return folder;
  } catch (const std::exception&) {
    return {};
  }
}

bool WriteToAlertFileIn(std::string_view folder, std::string_view logName, std::string_view message,
                        std::string_view period) {
  try {
    const std::string logFolder = ExcludeTrailingPathDelimiter(folder) + "\\Log";
    if (!DirectoryExists(logFolder) && !ForceDirectories(logFolder)) return false;
    const TDateTime now = Now();
    std::string stamp = "yyyymmdd";
    if (period == "M") stamp = "yyyymm";
    if (period == "Y") stamp = "yyyy";
    std::string fileName =
        logFolder + "\\Alert_" + std::string(logName) + "_" + FormatDateTime(stamp, now);
    if (logName.find('.') == std::string_view::npos) fileName += ".log";
    std::ofstream file(NativePath(fileName), std::ios::app | std::ios::binary);
    if (!file) return false;
    file << "[" << FormatDateTime("yyyy/mm/dd hh:nn:ss:zzz", now) << "] " << message << "\r\n";
    file.close();
    return !file.fail();
  } catch (const std::exception&) {
    return false;
  }
}

bool WriteToAlertFile(std::string_view logName, std::string_view message, std::string_view period) {
  std::string folder = GetBatonDir();
  if (folder.empty()) folder = GetHostProgramFolder();
  return WriteToAlertFileIn(folder, logName, message, period);
}

}  // namespace nv
