#pragma once
// Variant: the tagged value of the platform's automation layer. Module, shell, server and the
// suite libraries exchange these across library boundaries, so the layout is one and fixed.
// Semantics follow automation variants: Boolean true is all bits set, dates are days since
// 30 December 1899, arrays hold Variant elements with any lower bound in one or two
// dimensions, and copying a Variant copies its array deeply.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nv {

using TDateTime = double;

// Type codes as automation numbers them, so traces and wire frames read familiar.
enum class VarType : std::uint16_t {
  Empty = 0,
  Null = 1,
  SmallInt = 2,
  Integer = 3,
  Double = 5,
  Date = 7,
  OleStr = 8,  // wide (UTF-16) text
  Dispatch = 9,
  Boolean = 11,
  String = 0x100,  // ANSI text in the system code page
  Array = 0x2000,  // flag: an array of Variant elements
};

const char* VarTypeName(VarType type);

class Variant;
class IDispatchObject;

// How a late-bound call reaches a member of an automation object.
enum class InvokeKind { Method, PropertyGet, PropertyPut };

// An automation object as the Variant sees it: reference counted through its own AddRef and
// Release (whoever creates it frees it), reached by member name. Arguments may be changed by
// the callee: that is how by-reference arguments come back to the caller.
class IDispatchObject {
 public:
  virtual void AddRef() noexcept = 0;
  virtual void Release() noexcept = 0;
  // The class or ProgID, for error texts ("Tallyd.Class1.GetBlobField: ...").
  virtual std::string DispatchName() const = 0;
  virtual Variant Invoke(std::string_view member, InvokeKind kind, std::span<Variant> args) = 0;

 protected:
  virtual ~IDispatchObject() = default;
};

// One dimension of a Variant array.
struct VarArrayBound {
  int lowBound = 0;
  int elementCount = 0;
  int HighBound() const { return lowBound + elementCount - 1; }
};

class Variant {
 public:
  Variant() noexcept = default;  // Empty (Unassigned)
  Variant(bool value) noexcept;
  Variant(std::int16_t value) noexcept;
  Variant(int value) noexcept;
  Variant(double value) noexcept;
  Variant(const char* text);
  Variant(std::string text) noexcept;
  Variant(std::string_view text);
  Variant(std::u16string text) noexcept;
  // A wide literal is a wide string, not a pointer taken as a Boolean.
  Variant(const char16_t* text);
  Variant(IDispatchObject* object) noexcept;  // takes a reference of its own

  static Variant Null();
  static Variant FromDate(TDateTime value);
  // A one-dimensional array of `count` Empty elements starting at `lowBound`.
  static Variant Array(int lowBound, int count);
  static Variant Array2D(VarArrayBound rows, VarArrayBound columns);
  // A zero-based array of the given elements (the platform's VarArrayOf).
  static Variant ArrayOf(std::vector<Variant> elements);

  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant();

  VarType Type() const noexcept { return type_; }
  bool IsEmpty() const noexcept { return type_ == VarType::Empty; }
  bool IsNull() const noexcept { return type_ == VarType::Null; }
  bool IsArray() const noexcept { return type_ == VarType::Array; }
  bool IsText() const noexcept { return type_ == VarType::String || type_ == VarType::OleStr; }
  bool IsNumeric() const noexcept;  // integer or floating (not Boolean, not date)
  bool IsObject() const noexcept { return type_ == VarType::Dispatch; }

  // Conversions as the platform makes them. Empty converts to 0, "" and false; Null raises
  // EVariantTypeCastError; a text that is no number raises EVariantTypeCastError.
  std::string AsString() const;  // ANSI text in the system code page
  std::u16string AsWideString() const;
  int AsInteger() const;
  double AsDouble() const;
  bool AsBoolean() const;
  TDateTime AsDate() const;
  // The object held, or nullptr; no reference is added.
  IDispatchObject* AsObject() const;

  // Arrays. Indexes are in the array's own bounds; out of range raises EVariantBadIndexError.
  int DimCount() const noexcept;
  int LowBound(int dim = 1) const;
  int HighBound(int dim = 1) const;
  int ElementCount() const;  // of the first dimension
  Variant& operator[](int index);
  const Variant& operator[](int index) const;
  Variant& At(int row, int column);
  const Variant& At(int row, int column) const;
  // Changes the high bound of a one-dimensional array, keeping the elements that stay.
  void Redim(int highBound);

  // Late-bound calls on a Dispatch variant; raises when this holds no object.
  Variant Call(std::string_view method, std::vector<Variant> args = {}) const;
  // Same, returning the arguments as the callee left them (by-reference results).
  Variant CallRef(std::string_view method, std::vector<Variant>& args) const;
  Variant Get(std::string_view property, std::vector<Variant> args = {}) const;
  void Set(std::string_view property, Variant value) const;

  // Equality as the platform compares variants: numbers by value, texts by bytes, arrays by
  // element; Empty equals Empty only, Null equals Null only.
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  struct ArrayData;
  void Release() noexcept;
  void CopyFrom(const Variant& other);
  const ArrayData& ArrayRef() const;
  ArrayData& ArrayRef();

  VarType type_ = VarType::Empty;
  union {
    std::int16_t smallInt_;
    std::int32_t integer_;
    double double_;
    IDispatchObject* object_;
    std::string* string_;
    std::u16string* wide_;
    ArrayData* array_;
  };
};

// The platform's VarToStr: Null and Empty become "", everything else converts.
std::string VarToStr(const Variant& value);
// The platform's VarIsNull / VarIsEmpty / VarIsArray helpers.
inline bool VarIsNull(const Variant& v) {
  return v.IsNull();
}
inline bool VarIsEmpty(const Variant& v) {
  return v.IsEmpty();
}
inline bool VarIsArray(const Variant& v) {
  return v.IsArray();
}
// Empty, Null, or a text of no bytes.
bool VarIsBlank(const Variant& v);

}  // namespace nv
