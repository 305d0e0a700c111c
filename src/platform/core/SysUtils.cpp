#include "platform/core/SysUtils.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/core/CodePage.h"

namespace nv {

TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}

namespace {

std::string_view TrimView(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

}  // namespace

bool TryStrToInt64(std::string_view text, std::int64_t& value) {
  std::string_view t = TrimView(text);
  bool negative = false;
  if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  int base = 10;
  if (!t.empty() && t[0] == '$') {
    base = 16;
    t.remove_prefix(1);
  } else if (t.size() > 1 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    base = 16;
    t.remove_prefix(2);
  }
  if (t.empty()) return false;
  std::uint64_t magnitude = 0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), magnitude, base);
  if (ec != std::errc() || ptr != t.data() + t.size()) return false;
  if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1) {
    return false;
  }
  if (!negative &&
      magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    return false;
  }
  value =
      negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  return true;
}

bool TryStrToInt(std::string_view text, int& value) {
  std::int64_t wide = 0;
  if (!TryStrToInt64(text, wide)) return false;
  if (wide < std::numeric_limits<int>::min() || wide > std::numeric_limits<int>::max()) {
    // Hex texts name bit patterns: "$FFFFFFFF" is -1 as on the platform.
    std::string_view t = TrimView(text);
    bool hex = !t.empty() && (t[0] == '$' || (t.size() > 1 && (t[1] == 'x' || t[1] == 'X')));
    if (!hex || wide > 0xFFFFFFFFLL || wide < 0) return false;
    value = static_cast<int>(static_cast<std::uint32_t>(wide));
    return true;
  }
  value = static_cast<int>(wide);
  return true;
}

int StrToInt(std::string_view text) {
  int value = 0;
  if (!TryStrToInt(text, value)) {
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
  }
  return value;
}

int StrToIntDef(std::string_view text, int defaultValue) {
  int value = 0;
  return TryStrToInt(text, value) ? value : defaultValue;
}

std::string IntToStr(std::int64_t value) {
  return std::to_string(value);
}

std::string IntToHex(std::int64_t value, int digits) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*llX", digits < 0 ? 0 : (digits > 16 ? 16 : digits),
                static_cast<unsigned long long>(value));
  return buffer;
}

bool TryStrToFloat(std::string_view text, double& value) {
  std::string t(TrimView(text));
  if (t.empty()) return false;
  char decimal = FormatSettings().DecimalSeparator;
  for (char& c : t) {
    if (c == decimal) {
      c = '.';
    } else if (c == '.' && decimal != '.') {
      return false;
    }
  }
  // Only plain decimal notation: no hex floats, no "inf"/"nan" words.
  for (char c : t) {
    bool allowed =
        (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
    if (!allowed) return false;
  }
  char* end = nullptr;
  errno = 0;
  double parsed = std::strtod(t.c_str(), &end);
  if (end != t.c_str() + t.size() || errno == ERANGE) return false;
  value = parsed;
  return true;
}

double StrToFloat(std::string_view text) {
  double value = 0;
  if (!TryStrToFloat(text, value)) {
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
  }
  return value;
}

std::string FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::string text(buffer);
  // The platform writes exponents as "1E20" / "1E-5": no "+", no leading zeros.
  size_t e = text.find('E');
  if (e != std::string::npos) {
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);
    bool negative = !exponent.empty() && exponent[0] == '-';
    size_t digits = exponent.find_first_not_of("+-0");
    exponent = digits == std::string::npos ? "0" : exponent.substr(digits);
    text = mantissa + "E" + (negative ? "-" : "") + exponent;
  }
  if (FormatSettings().DecimalSeparator != '.') {
    for (char& c : text) {
      if (c == '.') c = FormatSettings().DecimalSeparator;
    }
  }
  return text;
}

namespace {

// Folds the ASCII letters of a text and leaves both bytes of a double-byte character as they
// are: in GBK and Big5 a trail byte may look like a letter.
template <typename Fold>
std::string FoldCase(std::string_view text, Fold fold) {
  std::string result(text);
  int codePage = SystemCodePage();
  for (size_t i = 0; i < result.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(result[i]), codePage)) {
      ++i;
    } else {
      result[i] = fold(result[i]);
    }
  }
  return result;
}

}  // namespace

std::string UpperCase(std::string_view text) {
  return FoldCase(text, AsciiUpper);
}

std::string LowerCase(std::string_view text) {
  return FoldCase(text, AsciiLower);
}

int CompareText(std::string_view a, std::string_view b) {
  std::string ua = UpperCase(a);
  std::string ub = UpperCase(b);
  int order = ua.compare(ub);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string Trim(std::string_view text) {
  return std::string(TrimView(text));
}

std::string TrimLeft(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size() && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  return std::string(text.substr(begin));
}

std::string TrimRight(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return std::string(text.substr(0, end));
}

}  // namespace nv
