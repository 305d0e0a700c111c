// Form text: parsing into TFormObject trees and writing them back.
#include <charconv>
#include <cmath>

#include "platform/core/CodePage.h"
#include "platform/rtti/FormText.h"

namespace nv {

std::string FormWideToAnsi(std::u16string_view text) {
  return WideToAnsi(text, 0);
}

namespace {

enum TTokenKind { tkEnd, tkIdent, tkInteger, tkFloat, tkString, tkSymbol, tkBinary };

struct TToken {
  TTokenKind Kind = tkEnd;
  std::string Text;  // ident, symbol, decoded string bytes, binary bytes
  std::int64_t Integer = 0;
  double Float = 0;
  int Line = 1;
  int Column = 1;
};

bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

class TParser {
 public:
  TParser(std::string_view text, std::string_view source, const TFormTextLimits& limits)
      : text_(text), source_(source), limits_(limits) {
    if (text.size() > limits.MaxTextSize)
      Fail(1, 1,
           "text of " + std::to_string(text.size()) + " bytes exceeds the limit of " +
               std::to_string(limits.MaxTextSize));
    Next();
  }

  TFormObject ParseRoot() {
    TFormObject root = ParseObject(0);
    if (token_.Kind != tkEnd) Fail(token_, "expected end of text, found " + Describe(token_));
    return root;
  }

 private:
  [[noreturn]] void Fail(int line, int column, const std::string& message) const {
    std::string where = source_.empty() ? std::string() : std::string(source_) + ": ";
    throw EFormTextError(where + "line " + std::to_string(line) + ", column " +
                         std::to_string(column) + ": " + message);
  }
  [[noreturn]] void Fail(const TToken& t, const std::string& message) const {
    Fail(t.Line, t.Column, message);
  }

  static std::string Describe(const TToken& t) {
    switch (t.Kind) {
      case tkEnd:
        return "end of text";
      case tkIdent:
        return "'" + t.Text + "'";
      case tkInteger:
        return "an integer";
      case tkFloat:
        return "a float";
      case tkString:
        return "a string";
      case tkBinary:
        return "binary data";
      case tkSymbol:
        return "'" + t.Text + "'";
    }
    return "?";
  }

  bool IsSymbol(const char* s) const { return token_.Kind == tkSymbol && token_.Text == s; }
  bool IsKeyword(const char* s) const { return token_.Kind == tkIdent && SameText(token_.Text, s); }

  void Expect(const char* symbol) {
    if (!IsSymbol(symbol))
      Fail(token_, std::string("expected '") + symbol + "', found " + Describe(token_));
    Next();
  }

  std::string ExpectIdent(const char* what) {
    if (token_.Kind != tkIdent)
      Fail(token_, std::string("expected ") + what + ", found " + Describe(token_));
    std::string s = token_.Text;
    Next();
    return s;
  }

  void CheckDepth(int depth, const TToken& at) const {
    if (depth > limits_.MaxDepth)
      Fail(at, "nesting deeper than " + std::to_string(limits_.MaxDepth));
  }

  TFormObject ParseObject(int depth) {
    CheckDepth(depth, token_);
    TFormObject obj;
    obj.Line = token_.Line;
    obj.Column = token_.Column;
    if (IsKeyword("object")) {
      obj.Kind = TFormObject::bkObject;
    } else if (IsKeyword("inherited")) {
      obj.Kind = TFormObject::bkInherited;
    } else if (IsKeyword("inline")) {
      Fail(token_, "inline blocks are not supported");
    } else {
      Fail(token_, "expected 'object' or 'inherited', found " + Describe(token_));
    }
    Next();
    std::string first = ExpectIdent("a component name");
    if (IsSymbol(":")) {
      Next();
      obj.Name = first;
      obj.ClassName = ExpectIdent("a class name");
    } else {
      obj.ClassName = first;  // an unnamed component
    }
    while (true) {
      if (IsKeyword("end")) {
        Next();
        return obj;
      }
      if (IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline")) {
        obj.Children.push_back(ParseObject(depth + 1));
        continue;
      }
      if (token_.Kind != tkIdent)
        Fail(token_, "expected a property name or 'end', found " + Describe(token_));
      obj.Properties.push_back(ParseProperty(depth));
    }
  }

  TFormProperty ParseProperty(int depth) {
    TFormProperty p;
    p.Line = token_.Line;
    p.Column = token_.Column;
    p.Name = ExpectIdent("a property name");
    while (IsSymbol(".")) {
      Next();
      p.Name += "." + ExpectIdent("a property name after '.'");
    }
    Expect("=");
    p.Value = ParseValue(depth + 1);
    return p;
  }

  TFormValue ParseValue(int depth) {
    CheckDepth(depth, token_);
    TFormValue v;
    v.Line = token_.Line;
    v.Column = token_.Column;
    switch (token_.Kind) {
      case tkInteger:
        v.Type = vaInteger;
        v.Integer = token_.Integer;
        Next();
        return v;
      case tkFloat:
        v.Type = vaFloat;
        v.Float = token_.Float;
        Next();
        return v;
      case tkString:
        v.Type = vaString;
        v.Text = token_.Text;
        Next();
        while (IsSymbol("+")) {
          Next();
          if (token_.Kind != tkString)
            Fail(token_, "expected a string after '+', found " + Describe(token_));
          v.Text += token_.Text;
          Next();
        }
        return v;
      case tkBinary:
        v.Type = vaBinary;
        v.Text = std::move(token_.Text);
        Next();
        return v;
      case tkIdent:
        v.Type = vaIdent;
        v.Text = token_.Text;
        Next();
        while (IsSymbol(".")) {  // a component of another form: frmMain.dsData
          Next();
          v.Text += "." + ExpectIdent("a name after '.'");
        }
        return v;
      case tkSymbol:
        if (IsSymbol("[")) return ParseSet(v);
        if (IsSymbol("(")) return ParseList(v, depth);
        if (IsSymbol("<")) return ParseCollection(v, depth);
        break;
      case tkEnd:
        break;
    }
    Fail(token_, "expected a value, found " + Describe(token_));
  }

  TFormValue ParseSet(TFormValue v) {
    v.Type = vaSet;
    Next();
    if (IsSymbol("]")) {
      Next();
      return v;
    }
    while (true) {
      v.Names.push_back(ExpectIdent("a set member"));
      if (IsSymbol("]")) {
        Next();
        return v;
      }
      Expect(",");
    }
  }

  TFormValue ParseList(TFormValue v, int depth) {
    v.Type = vaList;
    Next();
    while (!IsSymbol(")")) {
      if (token_.Kind == tkEnd)
        Fail(token_, "expected ')' to close the list opened at line " + std::to_string(v.Line) +
                         ", found end of text");
      v.List.push_back(ParseValue(depth + 1));
    }
    Next();
    return v;
  }

  TFormValue ParseCollection(TFormValue v, int depth) {
    v.Type = vaCollection;
    Next();
    while (!IsSymbol(">")) {
      if (!IsKeyword("item")) Fail(token_, "expected 'item' or '>', found " + Describe(token_));
      TFormItem item;
      item.Line = token_.Line;
      item.Column = token_.Column;
      Next();
      while (!IsKeyword("end")) {
        if (token_.Kind != tkIdent)
          Fail(token_, "expected a property name or 'end', found " + Describe(token_));
        item.Properties.push_back(ParseProperty(depth + 1));
      }
      Next();
      v.Items.push_back(std::move(item));
    }
    Next();
    return v;
  }

  // ---- tokens

  char Peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  bool AtEnd() const { return pos_ >= text_.size(); }
  void Advance() {
    if (text_[pos_] == '\n') {
      ++line_;
      column_ = 1;
    } else {
      ++column_;
    }
    ++pos_;
  }

  void Next() {
    while (!AtEnd() && static_cast<unsigned char>(Peek()) <= ' ') Advance();
    token_ = TToken{};
    token_.Line = line_;
    token_.Column = column_;
    if (AtEnd()) return;
    char c = Peek();
    if (IsIdentStart(c)) {
      size_t start = pos_;
      while (!AtEnd() && (IsIdentStart(Peek()) || IsDigit(Peek()))) Advance();
      token_.Kind = tkIdent;
      token_.Text = std::string(text_.substr(start, pos_ - start));
    } else if (IsDigit(c) || ((c == '-' || c == '+') && IsDigit(Peek(1))) || c == '$' ||
               (c == '-' && Peek(1) == '$')) {
      ReadNumber();
    } else if (c == '\'' || c == '#') {
      ReadString();
    } else if (c == '{') {
      ReadBinary();
    } else if (std::string_view("=:[](),<>+.").find(c) != std::string_view::npos) {
      token_.Kind = tkSymbol;
      token_.Text = std::string(1, c);
      Advance();
    } else {
      Fail(line_, column_, "unexpected character " + CharText(c));
    }
  }

  static std::string CharText(char c) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 32 && u < 127) return std::string("'") + c + "'";
    return "#" + std::to_string(u);
  }

  void ReadNumber() {
    size_t start = pos_;
    bool negative = false;
    if (Peek() == '-' || Peek() == '+') {
      negative = Peek() == '-';
      Advance();
    }
    if (Peek() == '$') {
      Advance();
      std::uint64_t value = 0;
      int digits = 0;
      while (HexValue(Peek()) >= 0) {
        if (++digits > 16) Fail(token_, "hexadecimal number too long");
        value = value * 16 + static_cast<std::uint64_t>(HexValue(Peek()));
        Advance();
      }
      if (digits == 0) Fail(token_, "expected hexadecimal digits after '$'");
      token_.Kind = tkInteger;
      // Up to 8 digits is a 32-bit pattern ($FFFFFFFF = -1), as colour values are written.
      std::int64_t v = digits <= 8 ? static_cast<std::int32_t>(static_cast<std::uint32_t>(value))
                                   : static_cast<std::int64_t>(value);
      token_.Integer = negative ? -v : v;
      return;
    }
    while (IsDigit(Peek())) Advance();
    bool isFloat = false;
    if (Peek() == '.' && IsDigit(Peek(1))) {
      isFloat = true;
      Advance();
      while (IsDigit(Peek())) Advance();
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '-' || Peek(1) == '+') && IsDigit(Peek(2))))) {
      isFloat = true;
      Advance();
      if (Peek() == '-' || Peek() == '+') Advance();
      while (IsDigit(Peek())) Advance();
    }
    std::string_view number = text_.substr(start, pos_ - start);
    if (number[0] == '+') number.remove_prefix(1);
    const char* first = number.data();
    const char* last = number.data() + number.size();
    if (isFloat) {
      token_.Kind = tkFloat;
      auto [end, ec] = std::from_chars(first, last, token_.Float);
      if (ec != std::errc() || end != last || !std::isfinite(token_.Float))
        Fail(token_, "float out of range: " + std::string(number));
    } else {
      token_.Kind = tkInteger;
      auto [end, ec] = std::from_chars(first, last, token_.Integer);
      if (ec != std::errc() || end != last)
        Fail(token_, "integer out of range: " + std::string(number));
    }
    // Currency, date and single suffixes of the platform: a letter right after the number.
    if (IsIdentStart(Peek()))
      Fail(line_, column_, "unexpected character " + CharText(Peek()) + " after a number");
  }

  // Quoted runs and #nn codes, adjacent. Codes up to 255 are bytes; any code above makes the
  // whole string wide: quoted runs are read in the ANSI code page, codes are UTF-16 units,
  // and the result goes back to ANSI.
  void ReadString() {
    struct Piece {
      bool code;
      std::string bytes;
      std::uint32_t unit;
    };
    std::vector<Piece> pieces;
    bool wide = false;
    while (!AtEnd() && (Peek() == '\'' || Peek() == '#')) {
      int line = line_, column = column_;
      if (Peek() == '\'') {
        Advance();
        std::string run;
        while (true) {
          if (AtEnd() || Peek() == '\n' || Peek() == '\r')
            Fail(line, column, "unterminated string");
          if (Peek() == '\'') {
            Advance();
            if (Peek() == '\'') {
              run += '\'';
              Advance();
              continue;
            }
            break;
          }
          run += Peek();
          Advance();
        }
        pieces.push_back({false, std::move(run), 0});
      } else {
        Advance();
        std::uint32_t code = 0;
        int digits = 0;
        bool hex = false;
        if (Peek() == '$') {
          hex = true;
          Advance();
        }
        while (hex ? HexValue(Peek()) >= 0 : IsDigit(Peek())) {
          code = code * (hex ? 16 : 10) +
                 static_cast<std::uint32_t>(hex ? HexValue(Peek()) : Peek() - '0');
          Advance();
          if (++digits > 6 || code > 0xFFFF) Fail(line, column, "character code out of range");
        }
        if (digits == 0) Fail(line, column, "expected a character code after '#'");
        if (code > 255) wide = true;
        pieces.push_back({true, {}, code});
      }
    }
    token_.Kind = tkString;
    if (!wide) {
      for (Piece& p : pieces) {
        if (p.code)
          token_.Text += static_cast<char>(p.unit);
        else
          token_.Text += p.bytes;
      }
      return;
    }
    std::u16string units;
    for (const Piece& p : pieces) {
      if (p.code)
        units += static_cast<char16_t>(p.unit);
      else
        units += AnsiToWide(p.bytes, 0);
    }
    token_.Text = FormWideToAnsi(units);
  }

  void ReadBinary() {
    int line = line_, column = column_;
    Advance();
    std::string bytes;
    int high = -1;
    while (true) {
      if (AtEnd()) Fail(line, column, "expected '}' to close the binary data");
      char c = Peek();
      if (c == '}') break;
      if (static_cast<unsigned char>(c) <= ' ') {
        Advance();
        continue;
      }
      int v = HexValue(c);
      if (v < 0) Fail(line_, column_, "expected a hexadecimal digit, found " + CharText(c));
      if (high < 0) {
        high = v;
      } else {
        bytes += static_cast<char>(high * 16 + v);
        high = -1;
      }
      Advance();
    }
    if (high >= 0) Fail(line, column, "binary data has an odd number of digits");
    Advance();
    token_.Kind = tkBinary;
    token_.Text = std::move(bytes);
  }

  std::string_view text_;
  std::string_view source_;
  TFormTextLimits limits_;
  size_t pos_ = 0;
  int line_ = 1;
  int column_ = 1;
  TToken token_;
};

// ---- writing

void Indent(std::string& out, int depth) {
  out.append(static_cast<size_t>(depth) * 2, ' ');
}

std::string FloatText(double value) {
  char buf[40];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  std::string s(buf, end);
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

void WriteValue(std::string& out, const TFormValue& v, int depth);

void WriteProperties(std::string& out, const std::vector<TFormProperty>& props, int depth) {
  for (const TFormProperty& p : props) {
    Indent(out, depth);
    out += p.Name + " = ";
    WriteValue(out, p.Value, depth);
    out += "\n";
  }
}

void WriteValue(std::string& out, const TFormValue& v, int depth) {
  switch (v.Type) {
    case vaNull:
      out += "nil";
      return;
    case vaInteger:
      out += std::to_string(v.Integer);
      return;
    case vaFloat:
      out += FloatText(std::isfinite(v.Float) ? v.Float : 0.0);
      return;
    case vaString:
      out += FormStringLiteral(v.Text);
      return;
    case vaIdent:
      out += v.Text;
      return;
    case vaSet:
      out += "[";
      for (size_t i = 0; i < v.Names.size(); ++i) out += (i ? ", " : "") + v.Names[i];
      out += "]";
      return;
    case vaList:
      out += "(";
      for (const TFormValue& item : v.List) {
        out += "\n";
        Indent(out, depth + 1);
        WriteValue(out, item, depth + 1);
      }
      out += ")";
      return;
    case vaCollection:
      out += "<";
      for (const TFormItem& item : v.Items) {
        out += "\n";
        Indent(out, depth + 1);
        out += "item\n";
        WriteProperties(out, item.Properties, depth + 2);
        Indent(out, depth + 1);
        out += "end";
      }
      out += ">";
      return;
    case vaBinary: {
      static const char kHex[] = "0123456789ABCDEF";
      out += "{";
      for (size_t i = 0; i < v.Text.size(); ++i) {
        if (i % 32 == 0) {
          out += "\n";
          Indent(out, depth + 1);
        }
        auto b = static_cast<unsigned char>(v.Text[i]);
        out += kHex[b >> 4];
        out += kHex[b & 15];
      }
      out += "}";
      return;
    }
  }
}

void WriteObject(std::string& out, const TFormObject& obj, int depth) {
  Indent(out, depth);
  out += obj.Kind == TFormObject::bkInherited ? "inherited " : "object ";
  if (!obj.Name.empty()) out += obj.Name + ": ";
  out += obj.ClassName + "\n";
  WriteProperties(out, obj.Properties, depth + 1);
  for (const TFormObject& child : obj.Children) WriteObject(out, child, depth + 1);
  Indent(out, depth);
  out += "end\n";
}

}  // namespace

std::string FormStringLiteral(std::string_view bytes) {
  if (bytes.empty()) return "''";
  std::string out;
  bool inRun = false;
  for (char c : bytes) {
    auto u = static_cast<unsigned char>(c);
    // Bytes from 128 up stay literal: the text is in the system ANSI code page like the
    // strings it holds, so code-page conversion of a whole layout text reaches them.
    if (u >= 32 && u != 127) {
      if (!inRun) out += '\'';
      inRun = true;
      out += c;
      if (c == '\'') out += '\'';
    } else {
      if (inRun) out += '\'';
      inRun = false;
      out += "#" + std::to_string(u);
    }
  }
  if (inRun) out += '\'';
  return out;
}

TFormObject ParseFormText(std::string_view text, std::string_view sourceName,
                          const TFormTextLimits& limits) {
  TParser parser(text, sourceName, limits);
  return parser.ParseRoot();
}

std::string FormObjectToText(const TFormObject& object) {
  std::string out;
  WriteObject(out, object, 0);
  return out;
}

}  // namespace nv
