#include "suite/appserver/Json.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"

namespace nv::tallyd {

namespace {
class TJsonReader {
 public:
  TJsonReader(std::string_view t, int cp) : t_(t), cp_(cp) {}
  Variant Document() {
    Variant v = Value(0);
    Blank();
    if (i_ != t_.size()) Fail("end of text");
    return v;
  }

 private:
  [[noreturn]] void Fail(const char* expected) {
    throw EConvertError("JSON: expected " + std::string(expected) + " at offset " +
                        IntToStr(static_cast<std::int64_t>(i_)));
  }
  void Blank() {
    while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\t' || t_[i_] == '\n' || t_[i_] == '\r'))
      ++i_;
  }
  bool Word(std::string_view w) {
    if (t_.substr(i_, w.size()) != w) return false;
    i_ += w.size();
    return true;
  }
  Variant Value(int depth) {
    if (depth > 32) Fail("less nesting");
    Blank();
    if (i_ >= t_.size()) Fail("a value");
    char c = t_[i_];
    if (c == '[') return Array(depth);
    if (c == '"') return Variant(Utf8ToAnsi(String(), cp_));
    if (Word("true")) return Variant(true);
    if (Word("false")) return Variant(false);
    if (Word("null")) return Variant::Null();
    return Number();
  }
  Variant Array(int depth) {
    ++i_;
    std::vector<Variant> items;
    Blank();
    if (i_ < t_.size() && t_[i_] == ']') {
      ++i_;
      return Variant::ArrayOf({});
    }
    for (;;) {
      items.push_back(Value(depth + 1));
      Blank();
      if (i_ < t_.size() && t_[i_] == ',') {
        ++i_;
        continue;
      }
      if (i_ < t_.size() && t_[i_] == ']') {
        ++i_;
        return Variant::ArrayOf(std::move(items));
      }
      Fail("',' or ']'");
    }
  }
  std::string String() {
    ++i_;
    std::string out;
    while (i_ < t_.size() && t_[i_] != '"') {
      char c = t_[i_++];
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (i_ >= t_.size()) Fail("an escape");
      char e = t_[i_++];
      switch (e) {
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'u': {
          if (i_ + 4 > t_.size()) Fail("four hex digits");
          unsigned code = 0;
          for (int k = 0; k < 4; ++k) {
            char h = t_[i_++];
            code <<= 4;
            if (h >= '0' && h <= '9')
              code |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f')
              code |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
              code |= static_cast<unsigned>(h - 'A' + 10);
            else
              Fail("a hex digit");
          }
          out += WideToUtf8(std::u16string(1, static_cast<char16_t>(code)));
          break;
        }
        default:
          out.push_back(e);
      }
    }
    if (i_ >= t_.size()) Fail("'\"'");
    ++i_;
    return out;
  }
  Variant Number() {
    std::size_t start = i_;
    while (i_ < t_.size() &&
           (std::string_view("+-0123456789.eE").find(t_[i_]) != std::string_view::npos))
      ++i_;
    std::string n(t_.substr(start, i_ - start));
    if (n.empty()) Fail("a value");
    std::int64_t iv = 0;
    if (n.find_first_of(".eE") == std::string::npos && TryStrToInt64(n, iv) && iv >= INT32_MIN &&
        iv <= INT32_MAX) {
      return Variant(static_cast<int>(iv));
    }
    char* end = nullptr;
    double d = std::strtod(n.c_str(), &end);
    if (end == nullptr || *end != '\0') Fail("a number");
    return Variant(d);
  }
  std::string_view t_;
  int cp_;
  std::size_t i_ = 0;
};

void Quote(const std::string& utf8, std::string& out) {
  out.push_back('"');
  for (unsigned char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char b[8];
          std::snprintf(b, sizeof b, "\\u%04x", c);
          out += b;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  out.push_back('"');
}

void Write(const Variant& v, int cp, std::string& out) {
  switch (v.Type()) {
    case VarType::Empty:
    case VarType::Null:
      out += "null";
      return;
    case VarType::Boolean:
      out += v.AsBoolean() ? "true" : "false";
      return;
    case VarType::SmallInt:
    case VarType::Integer:
      out += IntToStr(v.AsInteger());
      return;
    case VarType::Double:
    case VarType::Date: {
      double d = v.AsDouble();
      if (!std::isfinite(d)) {
        out += "null";
        return;
      }
      char b[40];
      std::snprintf(b, sizeof b, "%.15g", d);
      out += b;
      return;
    }
    case VarType::OleStr:
      Quote(WideToUtf8(v.AsWideString()), out);
      return;
    case VarType::String:
      Quote(AnsiToUtf8(v.AsString(), cp), out);
      return;
    case VarType::Array: {
      out.push_back('[');
      if (v.DimCount() == 1) {
        for (int i = v.LowBound(); i <= v.HighBound(); ++i) {
          if (i > v.LowBound()) out.push_back(',');
          Write(v[i], cp, out);
        }
      } else {
        for (int r = v.LowBound(1); r <= v.HighBound(1); ++r) {
          if (r > v.LowBound(1)) out.push_back(',');
          out.push_back('[');
          for (int c = v.LowBound(2); c <= v.HighBound(2); ++c) {
            if (c > v.LowBound(2)) out.push_back(',');
            Write(v.At(r, c), cp, out);
          }
          out.push_back(']');
        }
      }
      out.push_back(']');
      return;
    }
    default:
      Quote(std::string("<") + VarTypeName(v.Type()) + ">", out);
  }
}
}  // namespace

Variant ParseJson(std::string_view text, int codePage) {
  return TJsonReader(text, codePage).Document();
}

std::string ToJson(const Variant& value, int codePage) {
  std::string out;
  Write(value, codePage, out);
  return out;
}

}  // namespace nv::tallyd
