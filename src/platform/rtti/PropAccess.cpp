// Access to published properties by name and by dotted path.
#include <charconv>

#include "platform/rtti/Classes.h"
#include "platform/rtti/TypInfo.h"

namespace nv {

namespace {

const char* KindWord(TTypeKind kind) {
  switch (kind) {
    case tkInteger:
      return "an integer";
    case tkChar:
      return "a char";
    case tkEnumeration:
      return "an enumeration";
    case tkFloat:
      return "a float";
    case tkString:
      return "a string";
    case tkSet:
      return "a set";
    case tkClass:
      return "an object";
    case tkMethod:
      return "an event";
  }
  return "a value";
}

std::string Where(const TPropInfo& info, const TObject& obj) {
  return "property " + info.Name + " of " + obj.ClassName();
}

[[noreturn]] void WrongKind(const TPropRef& ref, const char* wanted) {
  std::string where = Where(*ref.Info, *ref.Instance);
  where[0] = 'P';
  throw EPropertyError(where + " is " + KindWord(ref.Info->Kind) + ", not " + wanted);
}

void CheckWritable(const TPropRef& ref) {
  if (!ref.Info->Writable()) {
    std::string where = Where(*ref.Info, *ref.Instance);
    where[0] = 'P';
    throw EPropertyError(where + " is read-only");
  }
}

// Walks "A.B.C": every part but the last names a class property holding an object.
// With insist, every failure raises; otherwise an empty reference comes back.
TPropRef Resolve(const TObject& object, std::string_view path, bool insist) {
  TObject* current = const_cast<TObject*>(&object);
  while (true) {
    size_t dot = path.find('.');
    std::string_view part = path.substr(0, dot);
    const TPropInfo* info = current->ClassInfo().FindProperty(part);
    if (!info) {
      if (insist)
        throw EPropertyError(current->ClassName() + " has no property " + std::string(part));
      return {};
    }
    if (dot == std::string_view::npos) return {current, info};
    if (info->Kind != tkClass) {
      if (insist)
        throw EPropertyError("Property " + info->Name + " of " + current->ClassName() + " is " +
                             KindWord(info->Kind) + ", not an object");
      return {};
    }
    TObject* next = info->GetObject(*current);
    if (!next) {
      if (insist)
        throw EPropertyError("Property " + info->Name + " of " + current->ClassName() +
                             " holds no object");
      return {};
    }
    current = next;
    path = path.substr(dot + 1);
  }
}

std::string FloatText(double value) {
  char buf[40];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, end);
}

TComponent* LookupRoot(TObject& instance) {
  auto* component = dynamic_cast<TComponent*>(&instance);
  if (!component) return nullptr;
  return component->Owner() ? component->Owner() : component;
}

}  // namespace

namespace rtti_detail {
void ThrowValueRange(const TPropInfo& info, const TObject& obj, std::int64_t value) {
  throw EPropertyError("Value " + std::to_string(value) + " is out of range for " +
                       Where(info, obj) + " (" + info.TypeName + ")");
}
}  // namespace rtti_detail

TPropRef FindPropRef(const TObject& object, std::string_view path) {
  return Resolve(object, path, false);
}
TPropRef GetPropRef(const TObject& object, std::string_view path) {
  return Resolve(object, path, true);
}
bool IsPublishedProp(const TObject& object, std::string_view path) {
  return static_cast<bool>(FindPropRef(object, path));
}

const TPropInfo* FindPropInfo(const TClassInfo& info, std::string_view name) {
  return info.FindProperty(name);
}
const TPropInfo& GetPropInfo(const TClassInfo& info, std::string_view name) {
  const TPropInfo* p = info.FindProperty(name);
  if (!p) throw EPropertyError(info.ClassName() + " has no property " + std::string(name));
  return *p;
}

std::int64_t GetOrdProp(const TObject& object, std::string_view path) {
  TPropRef ref = GetPropRef(object, path);
  if (!ref.Info->IsOrdinal()) WrongKind(ref, "an ordinal");
  return ref.Info->GetOrd(*ref.Instance);
}

void SetOrdProp(TObject& object, std::string_view path, std::int64_t value) {
  TPropRef ref = GetPropRef(object, path);
  if (!ref.Info->IsOrdinal()) WrongKind(ref, "an ordinal");
  CheckWritable(ref);
  if (value < ref.Info->MinValue || value > ref.Info->MaxValue)
    rtti_detail::ThrowValueRange(*ref.Info, *ref.Instance, value);
  ref.Info->SetOrd(*ref.Instance, value);
}

double GetFloatProp(const TObject& object, std::string_view path) {
  TPropRef ref = GetPropRef(object, path);
  if (ref.Info->Kind != tkFloat) WrongKind(ref, "a float");
  return ref.Info->GetFloat(*ref.Instance);
}

void SetFloatProp(TObject& object, std::string_view path, double value) {
  TPropRef ref = GetPropRef(object, path);
  if (ref.Info->Kind != tkFloat) WrongKind(ref, "a float");
  CheckWritable(ref);
  ref.Info->SetFloat(*ref.Instance, value);
}

std::string GetStrProp(const TObject& object, std::string_view path) {
  TPropRef ref = GetPropRef(object, path);
  if (ref.Info->Kind != tkString) WrongKind(ref, "a string");
  return ref.Info->GetStr(*ref.Instance);
}

void SetStrProp(TObject& object, std::string_view path, const std::string& value) {
  TPropRef ref = GetPropRef(object, path);
  if (ref.Info->Kind != tkString) WrongKind(ref, "a string");
  CheckWritable(ref);
  ref.Info->SetStr(*ref.Instance, value);
}

TObject* GetObjectProp(const TObject& object, std::string_view path) {
  TPropRef ref = GetPropRef(object, path);
  if (ref.Info->Kind != tkClass) WrongKind(ref, "an object");
  return ref.Info->GetObject(*ref.Instance);
}

void SetObjectProp(TObject& object, std::string_view path, TObject* value) {
  TPropRef ref = GetPropRef(object, path);
  if (ref.Info->Kind != tkClass) WrongKind(ref, "an object");
  CheckWritable(ref);
  const TClassInfo& wanted = ref.Info->PropClass();
  if (value && !value->InheritsFrom(wanted))
    throw EPropertyError("Property " + ref.Info->Name + " of " + ref.Instance->ClassName() +
                         " holds a " + wanted.ClassName() + ", not a " + value->ClassName());
  ref.Info->SetObject(*ref.Instance, value);
}

TMethod GetMethodProp(const TObject& object, std::string_view path) {
  TPropRef ref = GetPropRef(object, path);
  if (ref.Info->Kind != tkMethod) WrongKind(ref, "an event");
  return ref.Info->GetMethod(*ref.Instance);
}

void SetMethodProp(TObject& object, std::string_view path, const TMethod& value) {
  TPropRef ref = GetPropRef(object, path);
  if (ref.Info->Kind != tkMethod) WrongKind(ref, "an event");
  CheckWritable(ref);
  if (value.Assigned() && value.Signature != ref.Info->Signature)
    throw EMethodError("Method " + (value.Name.empty() ? std::string("(anonymous)") : value.Name) +
                       " does not fit " + Where(*ref.Info, *ref.Instance) + " (" +
                       ref.Info->TypeName + ")");
  ref.Info->SetMethod(*ref.Instance, value);
}

std::string GetEnumProp(const TObject& object, std::string_view path) {
  TPropRef ref = GetPropRef(object, path);
  if (ref.Info->Kind != tkEnumeration) WrongKind(ref, "an enumeration");
  return ref.Info->EnumInfo->Name(ref.Info->GetOrd(*ref.Instance));
}

void SetEnumProp(TObject& object, std::string_view path, std::string_view name) {
  TPropRef ref = GetPropRef(object, path);
  if (ref.Info->Kind != tkEnumeration) WrongKind(ref, "an enumeration");
  SetPropValue(object, path, name);
}

std::string GetSetProp(const TObject& object, std::string_view path) {
  TPropRef ref = GetPropRef(object, path);
  if (ref.Info->Kind != tkSet) WrongKind(ref, "a set");
  return OrdToText(*ref.Info, ref.Info->GetOrd(*ref.Instance));
}

void SetSetProp(TObject& object, std::string_view path, std::string_view names) {
  TPropRef ref = GetPropRef(object, path);
  if (ref.Info->Kind != tkSet) WrongKind(ref, "a set");
  SetPropValue(object, path, names);
}

std::string OrdToText(const TPropInfo& info, std::int64_t value) {
  switch (info.Kind) {
    case tkInteger:
      if (info.IdentMap)
        if (const char* ident = info.IdentMap->ToIdent(value)) return ident;
      return std::to_string(value);
    case tkChar:
      return std::string(1, static_cast<char>(value));
    case tkEnumeration: {
      const std::string& name = info.EnumInfo->Name(value);
      return name.empty() ? std::to_string(value) : name;
    }
    case tkSet: {
      std::string text = "[";
      for (int i = 0; i < info.EnumInfo->Count() && i < 64; ++i) {
        if (!(static_cast<std::uint64_t>(value) & (std::uint64_t{1} << i))) continue;
        if (text.size() > 1) text += ',';
        text += info.EnumInfo->Name(i);
      }
      return text + "]";
    }
    default:
      return std::to_string(value);
  }
}

std::optional<std::int64_t> TextToOrd(const TPropInfo& info, std::string_view text) {
  std::string trimmed = Trim(text);
  std::int64_t number = 0;
  switch (info.Kind) {
    case tkInteger:
      if (info.IdentMap)
        if (auto v = info.IdentMap->ToValue(trimmed)) return v;
      break;
    case tkChar:
      if (text.size() == 1) return static_cast<unsigned char>(text[0]);
      if (trimmed.size() > 1 && trimmed[0] == '#' && TryStrToInt64(trimmed.substr(1), number))
        return number;
      break;
    case tkEnumeration: {
      int v = info.EnumInfo->Value(trimmed);
      if (v >= 0) return v;
      break;
    }
    case tkSet: {
      std::string_view body = trimmed;
      bool bracketed = body.size() >= 2 && body.front() == '[' && body.back() == ']';
      if (bracketed) body = body.substr(1, body.size() - 2);
      if (!bracketed && TryStrToInt64(body, number)) return number;
      std::uint64_t bits = 0;
      size_t start = 0;
      while (start <= body.size()) {
        size_t comma = body.find(',', start);
        if (comma == std::string_view::npos) comma = body.size();
        std::string name = Trim(body.substr(start, comma - start));
        if (!name.empty()) {
          int v = info.EnumInfo->Value(name);
          if (v < 0) return std::nullopt;
          bits |= std::uint64_t{1} << v;
        }
        start = comma + 1;
      }
      return static_cast<std::int64_t>(bits);
    }
    default:
      return std::nullopt;
  }
  if (TryStrToInt64(trimmed, number)) return number;
  return std::nullopt;
}

std::string GetPropValue(const TObject& object, std::string_view path) {
  TPropRef ref = GetPropRef(object, path);
  const TPropInfo& info = *ref.Info;
  switch (info.Kind) {
    case tkFloat:
      return FloatText(info.GetFloat(*ref.Instance));
    case tkString:
      return info.GetStr(*ref.Instance);
    case tkClass: {
      TObject* value = info.GetObject(*ref.Instance);
      if (!value) return {};
      if (auto* c = dynamic_cast<TComponent*>(value); c && info.IsReference()) return c->Name();
      return value->ClassName();
    }
    case tkMethod:
      return info.GetMethod(*ref.Instance).Name;
    default:
      return OrdToText(info, info.GetOrd(*ref.Instance));
  }
}

void SetPropValue(TObject& object, std::string_view path, std::string_view text) {
  TPropRef ref = GetPropRef(object, path);
  const TPropInfo& info = *ref.Info;
  CheckWritable(ref);
  auto invalid = [&] {
    return EPropertyError("'" + std::string(text) + "' is not a valid value for " +
                          Where(info, *ref.Instance) + " (" + info.TypeName + ")");
  };
  switch (info.Kind) {
    case tkFloat: {
      std::string trimmed = Trim(text);
      double value = 0;
      auto [end, ec] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
      if (ec != std::errc() || end != trimmed.data() + trimmed.size() || trimmed.empty())
        throw invalid();
      info.SetFloat(*ref.Instance, value);
      return;
    }
    case tkString:
      info.SetStr(*ref.Instance, std::string(text));
      return;
    case tkClass: {
      if (!info.IsReference())
        throw EPropertyError("Property " + info.Name + " of " + ref.Instance->ClassName() +
                             " is an object; set its properties by path");
      std::string name = Trim(text);
      TComponent* target = nullptr;
      if (!name.empty()) {
        TComponent* root = LookupRoot(*ref.Instance);
        target = root ? (SameText(root->Name(), name) ? root : root->FindComponent(name)) : nullptr;
        if (!target)
          throw EPropertyError("Component " + name + " not found for " +
                               Where(info, *ref.Instance));
      }
      SetObjectProp(*ref.Instance, info.Name, target);
      return;
    }
    case tkMethod: {
      std::string name = Trim(text);
      if (name.empty()) {
        info.SetMethod(*ref.Instance, TMethod{});
        return;
      }
      TObject* root = LookupRoot(*ref.Instance);
      SetMethodProp(*ref.Instance, info.Name, MethodByName(root ? *root : *ref.Instance, name));
      return;
    }
    default: {
      std::optional<std::int64_t> value = TextToOrd(info, text);
      if (!value) throw invalid();
      if (*value < info.MinValue || *value > info.MaxValue)
        rtti_detail::ThrowValueRange(info, *ref.Instance, *value);
      info.SetOrd(*ref.Instance, *value);
    }
  }
}

void AssignPublished(TPersistent& dest, const TPersistent& source) {
  if (!dest.InheritsFrom(source.ClassInfo())) {
    throw EConvertError("Cannot assign a " + source.ClassName() + " to a " + dest.ClassName());
  }
  for (const TPropInfo* p : source.ClassInfo().Properties()) {
    if (!p->Stored(source)) continue;
    switch (p->Kind) {
      case tkFloat:
        if (p->SetFloat) p->SetFloat(dest, p->GetFloat(source));
        break;
      case tkString:
        if (p->SetStr) p->SetStr(dest, p->GetStr(source));
        break;
      case tkMethod:
        if (p->SetMethod) p->SetMethod(dest, p->GetMethod(source));
        break;
      case tkClass: {
        TObject* from = p->GetObject(source);
        if (p->IsReference()) {
          if (p->SetObject) p->SetObject(dest, from);
        } else if (auto* to = dynamic_cast<TPersistent*>(p->GetObject(dest))) {
          if (auto* fromPersistent = dynamic_cast<TPersistent*>(from)) to->Assign(*fromPersistent);
        }
        break;
      }
      default:
        if (p->SetOrd) p->SetOrd(dest, p->GetOrd(source));
    }
  }
}

// ---------------------------------------------------------------------------------------

std::string DumpClasses(const std::vector<const TClassInfo*>& classes) {
  std::string out;
  for (const TClassInfo* c : classes) {
    out += "class " + c->ClassName();
    if (c->ClassParent()) out += "(" + c->ClassParent()->ClassName() + ")";
    out += "\n";
    for (const TPropInfo& p : c->OwnProperties()) {
      std::string type = p.Kind == tkClass ? p.PropClass().ClassName() : p.TypeName;
      out += (p.Kind == tkMethod ? "  event " : "  property ") + p.Name + ": " + type;
      if (p.Default) out += " default " + OrdToText(p, *p.Default);
      if (!p.Writable()) out += " readonly";
      if (!p.StoredNote.empty()) out += " stored " + p.StoredNote;
      out += "\n";
    }
    for (const TMethodInfo& m : c->OwnMethods())
      out += "  method " + m.Name + ": " + m.TypeName + "\n";
    for (const TFieldInfo& f : c->OwnFields())
      out += "  field " + f.Name + ": " + f.FieldClass().ClassName() + "\n";
  }
  return out;
}

}  // namespace nv
