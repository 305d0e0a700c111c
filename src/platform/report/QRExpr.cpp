#include "platform/report/QRExpr.h"

#include <cctype>
#include <cstdlib>

namespace nv {

TQRValue TQRValue::OfNumber(double v) {
  TQRValue r;
  r.Type = Number;
  r.Num = v;
  return r;
}

TQRValue TQRValue::OfString(std::string v) {
  TQRValue r;
  r.Type = String;
  r.Str = std::move(v);
  return r;
}

TQRValue TQRValue::OfBoolean(bool v) {
  TQRValue r;
  r.Type = Boolean;
  r.Bool = v;
  return r;
}

std::string TQRValue::AsText() const {
  switch (Type) {
    case Number:
      return FloatToStr(Num);
    case Boolean:
      return Bool ? "True" : "False";
    case String:
      break;
  }
  return Str;
}

namespace {

// Recursive descent over the text; positions in messages count from 1.
class TParser {
 public:
  TParser(std::string_view text, const TQRExprEnv& env) : text_(text), env_(env) {}

  TQRValue Run() {
    SkipBlanks();
    if (pos_ == text_.size()) Fail("is empty");
    TQRValue v = Comparison();
    SkipBlanks();
    if (pos_ < text_.size()) Fail("unexpected '" + std::string(1, text_[pos_]) + "'");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    std::string where = pos_ < text_.size() ? " at position " + std::to_string(pos_ + 1) : "";
    throw EQRExprError("Expression '" + std::string(text_) + "' " + what + where);
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }

  bool Take(std::string_view token) {
    SkipBlanks();
    if (text_.substr(pos_, token.size()) != token) return false;
    pos_ += token.size();
    return true;
  }

  TQRValue Comparison() {
    TQRValue left = Additive();
    static constexpr std::string_view kOps[] = {"<>", "<=", ">=", "=", "<", ">"};
    for (std::string_view op : kOps) {
      if (!Take(op)) continue;
      TQRValue right = Additive();
      return TQRValue::OfBoolean(Compare(left, right, op));
    }
    return left;
  }

  bool Compare(const TQRValue& a, const TQRValue& b, std::string_view op) const {
    int c = 0;
    if (a.Type == TQRValue::Number && b.Type == TQRValue::Number)
      c = a.Num < b.Num ? -1 : a.Num > b.Num ? 1 : 0;
    else if (a.Type == TQRValue::Boolean && b.Type == TQRValue::Boolean)
      c = int(a.Bool) - int(b.Bool);
    else
      c = a.AsText().compare(b.AsText()) < 0 ? -1 : a.AsText() == b.AsText() ? 0 : 1;
    if (op == "=") return c == 0;
    if (op == "<>") return c != 0;
    if (op == "<") return c < 0;
    if (op == ">") return c > 0;
    if (op == "<=") return c <= 0;
    return c >= 0;
  }

  TQRValue Additive() {
    TQRValue v = Primary();
    for (;;) {
      SkipBlanks();
      std::size_t at = pos_;
      if (Take("+")) {
        TQRValue r = Primary();
        if (v.Type == TQRValue::Number && r.Type == TQRValue::Number)
          v.Num += r.Num;
        else
          v = TQRValue::OfString(v.AsText() + r.AsText());
      } else if (text_.substr(pos_, 2) != "<>" && Take("-")) {
        TQRValue r = Primary();
        if (v.Type != TQRValue::Number || r.Type != TQRValue::Number) {
          pos_ = at;
          Fail("subtracts from a text");
        }
        v.Num -= r.Num;
      } else {
        return v;
      }
    }
  }

  TQRValue Primary() {
    SkipBlanks();
    if (pos_ == text_.size()) Fail("ends where a value was expected");
    char c = text_[pos_];
    if (c == '(') {
      ++pos_;
      TQRValue v = Comparison();
      if (!Take(")")) Fail("misses ')'");
      return v;
    }
    if (c == '\'') return StringLiteral();
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') return NumberLiteral();
    if (c == '-') {
      ++pos_;
      TQRValue v = Primary();
      if (v.Type != TQRValue::Number) Fail("negates a text");
      v.Num = -v.Num;
      return v;
    }
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') return Name();
    Fail("unexpected '" + std::string(1, c) + "'");
  }

  TQRValue StringLiteral() {
    std::size_t start = pos_++;
    std::string out;
    for (;;) {
      if (pos_ >= text_.size()) {
        pos_ = start;
        Fail("has an unterminated text");
      }
      char c = text_[pos_++];
      if (c != '\'') {
        out += c;
      } else if (pos_ < text_.size() && text_[pos_] == '\'') {
        out += '\'';
        ++pos_;
      } else {
        return TQRValue::OfString(std::move(out));
      }
    }
  }

  TQRValue NumberLiteral() {
    std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.'))
      ++pos_;
    std::string digits(text_.substr(start, pos_ - start));
    char* end = nullptr;
    double v = std::strtod(digits.c_str(), &end);
    if (end != digits.c_str() + digits.size()) {
      pos_ = start;
      Fail("has a bad number '" + digits + "'");
    }
    return TQRValue::OfNumber(v);
  }

  std::string Identifier() {
    std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
      ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  TQRValue Name() {
    std::size_t start = pos_;
    std::string first = Identifier();
    TQRValue v;
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      std::string field = Identifier();
      if (field.empty()) Fail("misses a field name after '" + first + ".'");
      if (!env_.Field || !env_.Field(first, field, v)) {
        pos_ = start;
        Fail("names an unknown field " + first + "." + field);
      }
      return v;
    }
    if (SameText(first, "TRUE")) return TQRValue::OfBoolean(true);
    if (SameText(first, "FALSE")) return TQRValue::OfBoolean(false);
    if (env_.Function && env_.Function(first, v)) return v;
    if (env_.Field && env_.Field("", first, v)) return v;
    pos_ = start;
    Fail("names an unknown function or field " + first);
  }

  std::string_view text_;
  const TQRExprEnv& env_;
  std::size_t pos_ = 0;
};

}  // namespace

TQRValue EvaluateExpression(std::string_view expression, const TQRExprEnv& env) {
  return TParser(expression, env).Run();
}

}  // namespace nv
