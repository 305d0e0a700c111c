#include "platform/com/Dispatch.h"

namespace nv {

namespace {

std::string Plural(int count, std::string_view noun) {
  return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

std::string QuoteShort(const std::string& text) {
  constexpr size_t kMaxQuote = 40;
  if (text.size() <= kMaxQuote) return "\"" + text + "\"";
  return "\"" + text.substr(0, kMaxQuote) + "...\"";
}

}  // namespace

std::string DescribeVariant(const Variant& value) {
  std::string type = VarTypeName(value.Type());
  switch (value.Type()) {
    case VarType::String:
    case VarType::OleStr:
      return type + " " + QuoteShort(value.AsString());
    case VarType::SmallInt:
    case VarType::Integer:
    case VarType::Double:
      return type + " " + value.AsString();
    case VarType::Array:
      if (value.DimCount() == 1) return type + " of " + std::to_string(value.ElementCount());
      return type + " of 2 dimensions";
    case VarType::Dispatch:
      return value.AsObject() != nullptr ? type + " " + value.AsObject()->DispatchName()
                                         : type + " nil";
    default:
      return type;
  }
}

std::string TDispatchArgs::Where() const {
  return std::string(objectName_) + "." + std::string(member_);
}

void TDispatchArgs::Fail(int position, std::string_view problem) const {
  throw EOleError(Where() + ": argument " + std::to_string(position) + ": " + std::string(problem));
}

void TDispatchArgs::FailExpected(int position, std::string_view expected) const {
  Fail(position, "expected " + std::string(expected) + ", got " + DescribeVariant(Value(position)));
}

void TDispatchArgs::ExpectCount(int min, int max) const {
  int n = Count();
  if (n >= min && (max < 0 || n <= max)) return;
  std::string wanted;
  if (max < 0) {
    wanted = "at least " + Plural(min, "argument");
  } else if (min == max) {
    wanted = Plural(min, "argument");
  } else {
    wanted = std::to_string(min) + " to " + Plural(max, "argument");
  }
  throw EOleError(Where() + ": expected " + wanted + ", got " + std::to_string(n));
}

const Variant& TDispatchArgs::Value(int position) const {
  if (!Has(position)) Fail(position, "missing");
  return args_[static_cast<size_t>(position - 1)];
}

Variant& TDispatchArgs::Ref(int position) {
  if (!Has(position)) Fail(position, "missing");
  return args_[static_cast<size_t>(position - 1)];
}

const Variant& TDispatchArgs::ValueOr(int position, const Variant& fallback) const {
  return Has(position) ? args_[static_cast<size_t>(position - 1)] : fallback;
}

namespace {

bool IsScalar(const Variant& v) {
  return !v.IsArray() && !v.IsObject() && !v.IsNull();
}

}  // namespace

std::string TDispatchArgs::Text(int position) const {
  const Variant& v = Value(position);
  if (!IsScalar(v)) FailExpected(position, "a text");
  return v.AsString();
}

int TDispatchArgs::Integer(int position) const {
  const Variant& v = Value(position);
  if (!IsScalar(v)) FailExpected(position, "an integer");
  try {
    return v.AsInteger();
  } catch (const EVariantError&) {
    FailExpected(position, "an integer");
  }
}

bool TDispatchArgs::Boolean(int position) const {
  const Variant& v = Value(position);
  if (!IsScalar(v)) FailExpected(position, "a Boolean");
  try {
    return v.AsBoolean();
  } catch (const EVariantError&) {
    FailExpected(position, "a Boolean");
  }
}

double TDispatchArgs::Double(int position) const {
  const Variant& v = Value(position);
  if (!IsScalar(v)) FailExpected(position, "a number");
  try {
    return v.AsDouble();
  } catch (const EVariantError&) {
    FailExpected(position, "a number");
  }
}

const Variant& TDispatchArgs::Array(int position, int minCount) const {
  const Variant& v = Value(position);
  if (!v.IsArray()) FailExpected(position, "an array");
  if (minCount > 0 && (v.DimCount() != 1 || v.ElementCount() < minCount)) {
    FailExpected(position, "an array of at least " + Plural(minCount, "element"));
  }
  return v;
}

Variant& TDispatchArgs::ArrayRef(int position, int minCount) {
  Array(position, minCount);
  return Ref(position);
}

IDispatchObject* TDispatchArgs::Object(int position) const {
  const Variant& v = Value(position);
  if (v.AsObject() == nullptr) FailExpected(position, "an automation object");
  return v.AsObject();
}

void TDispatchBase::Release() noexcept {
  if (refCount_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}

void RaiseUnknownMember(std::string_view objectName, std::string_view member, InvokeKind kind) {
  const char* what = kind == InvokeKind::Method ? "no such method" : "no such property";
  throw EOleError(std::string(objectName) + "." + std::string(member) + ": " + what);
}

void RaiseWrongKind(std::string_view objectName, std::string_view member,
                    std::string_view problem) {
  throw EOleError(std::string(objectName) + "." + std::string(member) + ": " +
                  std::string(problem));
}

}  // namespace nv
