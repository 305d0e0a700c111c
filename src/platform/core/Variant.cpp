#include "platform/core/Variant.h"

#include <cmath>
#include <limits>
#include <utility>

#include "platform/core/CodePage.h"
#include "platform/core/DateUtils.h"
#include "platform/core/SysUtils.h"

namespace nv {

struct Variant::ArrayData {
  std::vector<VarArrayBound> bounds;  // one or two dimensions
  std::vector<Variant> elements;      // row-major for two dimensions
};

const char* VarTypeName(VarType type) {
  switch (type) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::SmallInt:
      return "SmallInt";
    case VarType::Integer:
      return "Integer";
    case VarType::Double:
      return "Double";
    case VarType::Date:
      return "Date";
    case VarType::OleStr:
      return "OleStr";
    case VarType::Dispatch:
      return "Dispatch";
    case VarType::Boolean:
      return "Boolean";
    case VarType::String:
      return "String";
    case VarType::Array:
      return "Array Variant";
  }
  return "Unknown";
}

namespace {

[[noreturn]] void CastError(VarType from, const char* to) {
  throw EVariantTypeCastError(std::string("Could not convert variant of type (") +
                              VarTypeName(from) + ") into type (" + to + ")");
}

int RoundToInteger(double value, VarType from) {
  double rounded = std::nearbyint(value);  // ties to even, as the platform rounds
  if (!std::isfinite(rounded) || rounded < std::numeric_limits<int>::min() ||
      rounded > std::numeric_limits<int>::max()) {
    CastError(from, "Integer");
  }
  return static_cast<int>(rounded);
}

bool TextToBoolean(const std::string& text, bool& value) {
  if (SameText(text, "True")) {
    value = true;
    return true;
  }
  if (SameText(text, "False")) {
    value = false;
    return true;
  }
  double number = 0;
  if (TryStrToFloat(text, number)) {
    value = number != 0;
    return true;
  }
  return false;
}

// Date texts in the order of ShortDateFormat, with an optional time "hh:nn[:ss]".
bool TextToDate(const std::string& text, TDateTime& value) {
  const TFormatSettings& fs = FormatSettings();
  std::string t = Trim(text);
  std::string datePart = t;
  std::string timePart;
  if (size_t space = t.find(' '); space != std::string::npos) {
    datePart = t.substr(0, space);
    timePart = Trim(t.substr(space + 1));
  }
  int parts[3] = {0, 0, 0};
  int count = 0;
  size_t start = 0;
  while (count < 3) {
    size_t sep = datePart.find(fs.DateSeparator, start);
    std::string piece =
        datePart.substr(start, sep == std::string::npos ? std::string::npos : sep - start);
    if (!TryStrToInt(piece, parts[count])) return false;
    ++count;
    if (sep == std::string::npos) break;
    start = sep + 1;
  }
  if (count != 3) return false;
  char first = LowerCase(fs.ShortDateFormat.substr(0, 1)).c_str()[0];
  int year = parts[0], month = parts[1], day = parts[2];
  if (first == 'm') {
    month = parts[0], day = parts[1], year = parts[2];
  } else if (first == 'd') {
    day = parts[0], month = parts[1], year = parts[2];
  }
  if (!TryEncodeDate(year, month, day, value)) return false;
  if (timePart.empty()) return true;
  int hms[3] = {0, 0, 0};
  int n = 0;
  start = 0;
  while (n < 3) {
    size_t sep = timePart.find(fs.TimeSeparator, start);
    std::string piece =
        timePart.substr(start, sep == std::string::npos ? std::string::npos : sep - start);
    if (!TryStrToInt(piece, hms[n])) return false;
    ++n;
    if (sep == std::string::npos) break;
    start = sep + 1;
  }
  TDateTime time = 0;
  if (n < 2 || !TryEncodeTime(hms[0], hms[1], hms[2], 0, time)) return false;
  value += time;
  return true;
}

}  // namespace

Variant::Variant(bool value) noexcept : type_(VarType::Boolean), smallInt_(value ? -1 : 0) {}
Variant::Variant(std::int16_t value) noexcept : type_(VarType::SmallInt), smallInt_(value) {}
Variant::Variant(int value) noexcept : type_(VarType::Integer), integer_(value) {}
Variant::Variant(double value) noexcept : type_(VarType::Double), double_(value) {}
Variant::Variant(const char* text) : Variant(std::string(text == nullptr ? "" : text)) {}
Variant::Variant(std::string text) noexcept
    : type_(VarType::String), string_(new std::string(std::move(text))) {}
Variant::Variant(std::string_view text) : Variant(std::string(text)) {}
Variant::Variant(std::u16string text) noexcept
    : type_(VarType::OleStr), wide_(new std::u16string(std::move(text))) {}
Variant::Variant(const char16_t* text) : Variant(std::u16string(text == nullptr ? u"" : text)) {}
Variant::Variant(IDispatchObject* object) noexcept : type_(VarType::Dispatch), object_(object) {
  if (object_ != nullptr) object_->AddRef();
}

Variant Variant::Null() {
  Variant v;
  v.type_ = VarType::Null;
  return v;
}

Variant Variant::FromDate(TDateTime value) {
  Variant v(value);
  v.type_ = VarType::Date;
  return v;
}

Variant Variant::Array(int lowBound, int count) {
  if (count < 0) throw EVariantError("Variant array bounds: negative element count");
  Variant v;
  v.array_ = new ArrayData{{VarArrayBound{lowBound, count}},
                           std::vector<Variant>(static_cast<size_t>(count))};
  v.type_ = VarType::Array;
  return v;
}

Variant Variant::Array2D(VarArrayBound rows, VarArrayBound columns) {
  if (rows.elementCount < 0 || columns.elementCount < 0) {
    throw EVariantError("Variant array bounds: negative element count");
  }
  Variant v;
  size_t size = static_cast<size_t>(rows.elementCount) * static_cast<size_t>(columns.elementCount);
  v.array_ = new ArrayData{{rows, columns}, std::vector<Variant>(size)};
  v.type_ = VarType::Array;
  return v;
}

Variant Variant::ArrayOf(std::vector<Variant> elements) {
  Variant v;
  int count = static_cast<int>(elements.size());
  v.array_ = new ArrayData{{VarArrayBound{0, count}}, std::move(elements)};
  v.type_ = VarType::Array;
  return v;
}

Variant::Variant(const Variant& other) {
  CopyFrom(other);
}

Variant::Variant(Variant&& other) noexcept : type_(other.type_) {
  double_ = other.double_;
  // Moving steals the payload pointer: the bit copy above carried it.
  switch (type_) {
    case VarType::String:
      string_ = other.string_;
      break;
    case VarType::OleStr:
      wide_ = other.wide_;
      break;
    case VarType::Array:
      array_ = other.array_;
      break;
    case VarType::Dispatch:
      object_ = other.object_;
      break;
    default:
      break;
  }
  other.type_ = VarType::Empty;
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    Variant copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    Release();
    new (this) Variant(std::move(other));
  }
  return *this;
}

Variant::~Variant() {
  Release();
}

void Variant::Release() noexcept {
  switch (type_) {
    case VarType::String:
      delete string_;
      break;
    case VarType::OleStr:
      delete wide_;
      break;
    case VarType::Array:
      delete array_;
      break;
    case VarType::Dispatch:
      if (object_ != nullptr) object_->Release();
      break;
    default:
      break;
  }
  type_ = VarType::Empty;
}

void Variant::CopyFrom(const Variant& other) {
  type_ = VarType::Empty;
  switch (other.type_) {
    case VarType::String:
      string_ = new std::string(*other.string_);
      break;
    case VarType::OleStr:
      wide_ = new std::u16string(*other.wide_);
      break;
    case VarType::Array:
      array_ = new ArrayData(*other.array_);
      break;
    case VarType::Dispatch:
      object_ = other.object_;
      if (object_ != nullptr) object_->AddRef();
      break;
    default:
      double_ = other.double_;
      break;
  }
  type_ = other.type_;
}

bool Variant::IsNumeric() const noexcept {
  return type_ == VarType::SmallInt || type_ == VarType::Integer || type_ == VarType::Double;
}

std::string Variant::AsString() const {
  switch (type_) {
    case VarType::Empty:
      return {};
    case VarType::SmallInt:
      return IntToStr(smallInt_);
    case VarType::Integer:
      return IntToStr(integer_);
    case VarType::Double:
      return FloatToStr(double_);
    case VarType::Date:
      return DateTimeToStr(double_);
    case VarType::Boolean:
      return smallInt_ != 0 ? "True" : "False";
    case VarType::String:
      return *string_;
    case VarType::OleStr:
      return WideToAnsi(*wide_);
    default:
      CastError(type_, "String");
  }
}

std::u16string Variant::AsWideString() const {
  if (type_ == VarType::OleStr) return *wide_;
  return AnsiToWide(AsString());
}

int Variant::AsInteger() const {
  switch (type_) {
    case VarType::Empty:
      return 0;
    case VarType::SmallInt:
    case VarType::Boolean:
      return smallInt_;
    case VarType::Integer:
      return integer_;
    case VarType::Double:
    case VarType::Date:
      return RoundToInteger(double_, type_);
    case VarType::String:
    case VarType::OleStr: {
      std::string text = AsString();
      int value = 0;
      if (TryStrToInt(text, value)) return value;
      double number = 0;
      if (TryStrToFloat(text, number)) return RoundToInteger(number, type_);
      bool flag = false;
      if (TextToBoolean(text, flag)) return flag ? -1 : 0;
      CastError(type_, "Integer");
    }
    default:
      CastError(type_, "Integer");
  }
}

double Variant::AsDouble() const {
  switch (type_) {
    case VarType::Empty:
      return 0;
    case VarType::SmallInt:
    case VarType::Boolean:
      return smallInt_;
    case VarType::Integer:
      return integer_;
    case VarType::Double:
    case VarType::Date:
      return double_;
    case VarType::String:
    case VarType::OleStr: {
      double number = 0;
      if (TryStrToFloat(AsString(), number)) return number;
      CastError(type_, "Double");
    }
    default:
      CastError(type_, "Double");
  }
}

bool Variant::AsBoolean() const {
  switch (type_) {
    case VarType::Empty:
      return false;
    case VarType::SmallInt:
    case VarType::Boolean:
      return smallInt_ != 0;
    case VarType::Integer:
      return integer_ != 0;
    case VarType::Double:
    case VarType::Date:
      return double_ != 0;
    case VarType::String:
    case VarType::OleStr: {
      bool value = false;
      if (TextToBoolean(AsString(), value)) return value;
      CastError(type_, "Boolean");
    }
    default:
      CastError(type_, "Boolean");
  }
}

TDateTime Variant::AsDate() const {
  if (type_ == VarType::String || type_ == VarType::OleStr) {
    std::string text = AsString();
    TDateTime value = 0;
    if (TextToDate(text, value)) return value;
    double number = 0;
    if (TryStrToFloat(text, number)) return number;
    CastError(type_, "Date");
  }
  if (type_ == VarType::Boolean) CastError(type_, "Date");
  return AsDouble();
}

IDispatchObject* Variant::AsObject() const {
  return type_ == VarType::Dispatch ? object_ : nullptr;
}

const Variant::ArrayData& Variant::ArrayRef() const {
  if (type_ != VarType::Array) throw EVariantError("Variant is not an array");
  return *array_;
}

Variant::ArrayData& Variant::ArrayRef() {
  if (type_ != VarType::Array) throw EVariantError("Variant is not an array");
  return *array_;
}

int Variant::DimCount() const noexcept {
  return type_ == VarType::Array ? static_cast<int>(array_->bounds.size()) : 0;
}

int Variant::LowBound(int dim) const {
  const ArrayData& a = ArrayRef();
  if (dim < 1 || dim > static_cast<int>(a.bounds.size())) {
    throw EVariantBadIndexError("Variant array dimension " + IntToStr(dim) + " out of range");
  }
  return a.bounds[static_cast<size_t>(dim - 1)].lowBound;
}

int Variant::HighBound(int dim) const {
  const ArrayData& a = ArrayRef();
  if (dim < 1 || dim > static_cast<int>(a.bounds.size())) {
    throw EVariantBadIndexError("Variant array dimension " + IntToStr(dim) + " out of range");
  }
  return a.bounds[static_cast<size_t>(dim - 1)].HighBound();
}

int Variant::ElementCount() const {
  return ArrayRef().bounds[0].elementCount;
}

namespace {
[[noreturn]] void BadIndex(int index, const VarArrayBound& b) {
  throw EVariantBadIndexError("Variant array index " + IntToStr(index) + " out of bounds " +
                              IntToStr(b.lowBound) + ".." + IntToStr(b.HighBound()));
}
size_t Offset(int index, const VarArrayBound& b) {
  if (index < b.lowBound || index > b.HighBound()) BadIndex(index, b);
  return static_cast<size_t>(index - b.lowBound);
}
}  // namespace

Variant& Variant::operator[](int index) {
  ArrayData& a = ArrayRef();
  if (a.bounds.size() != 1) throw EVariantBadIndexError("Variant array has two dimensions");
  return a.elements[Offset(index, a.bounds[0])];
}

const Variant& Variant::operator[](int index) const {
  const ArrayData& a = ArrayRef();
  if (a.bounds.size() != 1) throw EVariantBadIndexError("Variant array has two dimensions");
  return a.elements[Offset(index, a.bounds[0])];
}

Variant& Variant::At(int row, int column) {
  ArrayData& a = ArrayRef();
  if (a.bounds.size() != 2) throw EVariantBadIndexError("Variant array has one dimension");
  return a.elements[Offset(row, a.bounds[0]) * static_cast<size_t>(a.bounds[1].elementCount) +
                    Offset(column, a.bounds[1])];
}

const Variant& Variant::At(int row, int column) const {
  const ArrayData& a = ArrayRef();
  if (a.bounds.size() != 2) throw EVariantBadIndexError("Variant array has one dimension");
  return a.elements[Offset(row, a.bounds[0]) * static_cast<size_t>(a.bounds[1].elementCount) +
                    Offset(column, a.bounds[1])];
}

void Variant::Redim(int highBound) {
  ArrayData& a = ArrayRef();
  if (a.bounds.size() != 1) throw EVariantBadIndexError("Only one-dimensional arrays redim");
  int count = highBound - a.bounds[0].lowBound + 1;
  if (count < 0) throw EVariantBadIndexError("Variant array bounds: high below low");
  a.bounds[0].elementCount = count;
  a.elements.resize(static_cast<size_t>(count));
}

namespace {
IDispatchObject* RequireObject(const Variant& v) {
  IDispatchObject* object = v.AsObject();
  if (object == nullptr) {
    throw EVariantError("Variant does not reference an automation object");
  }
  return object;
}
}  // namespace

Variant Variant::Call(std::string_view method, std::vector<Variant> args) const {
  return RequireObject(*this)->Invoke(method, InvokeKind::Method, args);
}

Variant Variant::CallRef(std::string_view method, std::vector<Variant>& args) const {
  return RequireObject(*this)->Invoke(method, InvokeKind::Method, args);
}

Variant Variant::Get(std::string_view property, std::vector<Variant> args) const {
  return RequireObject(*this)->Invoke(property, InvokeKind::PropertyGet, args);
}

void Variant::Set(std::string_view property, Variant value) const {
  std::vector<Variant> args{std::move(value)};
  RequireObject(*this)->Invoke(property, InvokeKind::PropertyPut, args);
}

namespace {
bool IsNumberLike(VarType t) {
  return t == VarType::SmallInt || t == VarType::Integer || t == VarType::Double ||
         t == VarType::Date || t == VarType::Boolean;
}
}  // namespace

bool operator==(const Variant& a, const Variant& b) {
  VarType ta = a.Type();
  VarType tb = b.Type();
  if (ta == VarType::Empty || tb == VarType::Empty || ta == VarType::Null || tb == VarType::Null) {
    return ta == tb;
  }
  if (IsNumberLike(ta) && IsNumberLike(tb)) return a.AsDouble() == b.AsDouble();
  if (a.IsText() && b.IsText()) {
    if (ta == VarType::OleStr && tb == VarType::OleStr) return a.AsWideString() == b.AsWideString();
    return a.AsString() == b.AsString();
  }
  if (ta == VarType::Dispatch && tb == VarType::Dispatch) return a.AsObject() == b.AsObject();
  if (ta == VarType::Array && tb == VarType::Array) {
    if (a.DimCount() != b.DimCount()) return false;
    for (int d = 1; d <= a.DimCount(); ++d) {
      if (a.LowBound(d) != b.LowBound(d) || a.HighBound(d) != b.HighBound(d)) return false;
    }
    return a.array_->elements == b.array_->elements;
  }
  return false;
}

std::string VarToStr(const Variant& value) {
  if (value.IsNull() || value.IsEmpty()) return {};
  return value.AsString();
}

bool VarIsBlank(const Variant& v) {
  if (v.IsEmpty() || v.IsNull()) return true;
  if (v.Type() == VarType::String) return v.AsString().empty();
  if (v.Type() == VarType::OleStr) return v.AsWideString().empty();
  return false;
}

}  // namespace nv
