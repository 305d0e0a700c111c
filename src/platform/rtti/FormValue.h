#pragma once
// One value of a form text, as the reader parsed it or the writer will write it. Classes
// that store data beyond their published properties (string lists, pictures) read and write
// such values through TPersistent::DefineProperties.
#include <cstdint>
#include <string>
#include <vector>

namespace nv {

enum TValueType {
  vaNull,        // nothing (a missing value)
  vaInteger,     // 12, -3, $FF
  vaFloat,       // 1.5
  vaString,      // 'text'#13#10'more' (a byte string in the system ANSI code page)
  vaIdent,       // clRed, True, sp_Range, btnOkClick, nil
  vaSet,         // [fsBold, fsItalic]
  vaList,        // ( 'a' 'b' 3 )
  vaCollection,  // < item ... end >
  vaBinary       // { 0A1B... }
};

struct TFormItem;

struct TFormValue {
  TValueType Type = vaNull;
  std::int64_t Integer = 0;
  double Float = 0;
  std::string Text;                // string bytes, ident, or binary bytes
  std::vector<std::string> Names;  // set members
  std::vector<TFormValue> List;
  std::vector<TFormItem> Items;  // complete below, before any member is used
  int Line = 0;
  int Column = 0;

  static TFormValue OfInteger(std::int64_t v);
  static TFormValue OfString(std::string v);
  static TFormValue OfIdent(std::string v);
  static TFormValue OfBinary(std::string bytes);
};

struct TFormProperty {
  std::string Name;  // a dotted path: Font.Name, Items.Strings
  TFormValue Value;
  int Line = 0;
  int Column = 0;
};

struct TFormItem {  // one item of a collection
  std::vector<TFormProperty> Properties;
  int Line = 0;
  int Column = 0;
};

inline TFormValue TFormValue::OfInteger(std::int64_t v) {
  TFormValue r;
  r.Type = vaInteger;
  r.Integer = v;
  return r;
}
inline TFormValue TFormValue::OfString(std::string v) {
  TFormValue r;
  r.Type = vaString;
  r.Text = std::move(v);
  return r;
}
inline TFormValue TFormValue::OfIdent(std::string v) {
  TFormValue r;
  r.Type = vaIdent;
  r.Text = std::move(v);
  return r;
}
inline TFormValue TFormValue::OfBinary(std::string bytes) {
  TFormValue r;
  r.Type = vaBinary;
  r.Text = std::move(bytes);
  return r;
}

const char* ValueTypeName(TValueType type);  // "an integer", "a string", ...

}  // namespace nv
