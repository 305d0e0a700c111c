#include "platform/core/Format.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/core/SysUtils.h"

namespace nv {
namespace {

class Formatter {
 public:
  Formatter(std::string_view format, std::span<const Variant> args)
      : format_(format), args_(args) {}

  std::string Run() {
    while (pos_ < format_.size()) {
      char c = format_[pos_++];
      if (c != '%') {
        out_ += c;
        continue;
      }
      if (pos_ < format_.size() && format_[pos_] == '%') {
        out_ += '%';
        ++pos_;
        continue;
      }
      Specifier();
    }
    return out_;
  }

 private:
  [[noreturn]] void Fail() const {
    throw EConvertError("Format '" + std::string(format_) +
                        "' invalid or incompatible with argument");
  }

  const Variant& NextArg() {
    if (next_ >= args_.size()) Fail();
    return args_[next_++];
  }

  bool IsDigit() const {
    return pos_ < format_.size() && format_[pos_] >= '0' && format_[pos_] <= '9';
  }

  // A number written in the specifier, or "*" taken from the arguments; -1 when absent.
  int Number() {
    if (pos_ < format_.size() && format_[pos_] == '*') {
      ++pos_;
      const Variant& arg = NextArg();
      if (arg.Type() != VarType::Integer && arg.Type() != VarType::SmallInt) Fail();
      return arg.AsInteger();
    }
    if (!IsDigit()) return -1;
    int value = 0;
    while (IsDigit()) {
      value = value * 10 + (format_[pos_++] - '0');
      if (value > 100000) Fail();
    }
    return value;
  }

  void Specifier() {
    bool left = false;
    int width = Number();
    if (pos_ < format_.size() && format_[pos_] == ':') {
      if (width < 0) width = 0;
      next_ = static_cast<size_t>(width);
      ++pos_;
      width = -1;
    }
    if (pos_ < format_.size() && format_[pos_] == '-') {
      left = true;
      ++pos_;
    }
    if (width < 0) width = Number();
    int precision = -1;
    if (pos_ < format_.size() && format_[pos_] == '.') {
      ++pos_;
      precision = Number();
      if (precision < 0) precision = 0;
    }
    if (pos_ >= format_.size()) Fail();
    char type = format_[pos_++];
    if (type >= 'A' && type <= 'Z') type = static_cast<char>(type + 32);
    std::string text = Convert(type, precision);
    int pad = width - static_cast<int>(text.size());
    if (pad > 0) {
      if (left) {
        text.append(static_cast<size_t>(pad), ' ');
      } else {
        text.insert(0, static_cast<size_t>(pad), ' ');
      }
    }
    out_ += text;
  }

  static bool IsIntegral(const Variant& v) {
    return v.Type() == VarType::Integer || v.Type() == VarType::SmallInt;
  }
  static bool IsFloating(const Variant& v) {
    return v.Type() == VarType::Double || v.Type() == VarType::Date;
  }

  std::string Convert(char type, int precision) {
    const Variant& arg = NextArg();
    switch (type) {
      case 'd':
      case 'u':
      case 'x':
        if (!IsIntegral(arg)) Fail();
        return IntegerText(type, arg.AsInteger(), precision);
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm':
        if (!IsFloating(arg)) Fail();
        return FloatText(type, arg.AsDouble(), precision);
      case 's': {
        if (!arg.IsText()) Fail();
        std::string text = arg.AsString();
        if (precision >= 0 && static_cast<size_t>(precision) < text.size()) {
          text.resize(static_cast<size_t>(precision));
        }
        return text;
      }
      case 'p':
        if (!IsIntegral(arg) && !arg.IsObject()) Fail();
        return IntToHex(arg.IsObject() ? reinterpret_cast<std::intptr_t>(arg.AsObject())
                                       : static_cast<std::uint32_t>(arg.AsInteger()),
                        8);
      default:
        Fail();
    }
  }

  static std::string IntegerText(char type, int value, int precision) {
    std::string digits;
    bool negative = false;
    if (type == 'x') {
      digits = IntToHex(static_cast<std::uint32_t>(value), 0);
    } else if (type == 'u') {
      digits = std::to_string(static_cast<std::uint32_t>(value));
    } else {
      negative = value < 0;
      digits = std::to_string(negative ? -static_cast<long long>(value) : value);
    }
    while (precision > 0 && static_cast<int>(digits.size()) < precision) digits.insert(0, "0");
    return negative ? "-" + digits : digits;
  }

  static std::string Grouped(std::string integral) {
    char sep = FormatSettings().ThousandSeparator;
    std::string out;
    int count = 0;
    for (size_t i = integral.size(); i-- > 0;) {
      out.insert(out.begin(), integral[i]);
      if (++count % 3 == 0 && i > 0 && integral[i - 1] != '-') out.insert(out.begin(), sep);
    }
    return out;
  }

  static std::string FloatText(char type, double value, int precision) {
    char buffer[512];
    switch (type) {
      case 'e':
        std::snprintf(buffer, sizeof buffer, "%.*E",
                      precision < 0       ? 14
                      : precision - 1 < 0 ? 0
                                          : precision - 1,
                      value);
        break;
      case 'g':
        std::snprintf(buffer, sizeof buffer, "%.*G", precision < 0 ? 15 : precision, value);
        break;
      default:
        if (std::fabs(value) > 1e300) return FloatToStr(value);
        std::snprintf(buffer, sizeof buffer, "%.*f", precision < 0 ? 2 : precision, value);
        break;
    }
    std::string text(buffer);
    char decimal = FormatSettings().DecimalSeparator;
    size_t dot = text.find('.');
    if (dot != std::string::npos) text[dot] = decimal;
    if (type == 'n' || type == 'm') {
      std::string integral = text.substr(0, dot);
      std::string rest = dot == std::string::npos ? "" : text.substr(dot);
      text = Grouped(integral) + rest;
    }
    return text;
  }

  std::string_view format_;
  std::span<const Variant> args_;
  size_t pos_ = 0;
  size_t next_ = 0;
  std::string out_;
};

}  // namespace

std::string Format(std::string_view format, std::span<const Variant> args) {
  return Formatter(format, args).Run();
}

std::string Format(std::string_view format, std::initializer_list<Variant> args) {
  return Format(format, std::span<const Variant>(args.begin(), args.size()));
}

}  // namespace nv
