#include "platform/rtti/TypInfo.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "platform/rtti/Classes.h"
#include "platform/rtti/Collection.h"

namespace nv {

// ---------------------------------------------------------------------------------------
// Names

TEnumInfo::TEnumInfo(std::string typeName, std::string_view names)
    : typeName_(std::move(typeName)) {
  size_t start = 0;
  while (start <= names.size()) {
    size_t comma = names.find(',', start);
    if (comma == std::string_view::npos) comma = names.size();
    std::string name = Trim(names.substr(start, comma - start));
    if (!name.empty()) names_.push_back(std::move(name));
    start = comma + 1;
  }
}

const std::string& TEnumInfo::Name(std::int64_t value) const {
  static const std::string kEmpty;
  if (value < 0 || value >= Count()) return kEmpty;
  return names_[static_cast<size_t>(value)];
}

int TEnumInfo::Value(std::string_view name) const {
  for (size_t i = 0; i < names_.size(); ++i)
    if (SameText(names_[i], name)) return static_cast<int>(i);
  return -1;
}

TIdentMap::TIdentMap(std::string typeName, std::initializer_list<Entry> entries)
    : typeName_(std::move(typeName)), entries_(entries) {}

std::optional<std::int64_t> TIdentMap::ToValue(std::string_view ident) const {
  for (const Entry& e : entries_)
    if (SameText(e.Ident, ident)) return e.Value;
  return std::nullopt;
}

const char* TIdentMap::ToIdent(std::int64_t value) const {
  for (const Entry& e : entries_)
    if (e.Value == value) return e.Ident;
  return nullptr;
}

const TEnumInfo& BooleanInfo() {
  static const TEnumInfo info("Boolean", "False, True");
  return info;
}

bool TPropInfo::Writable() const {
  switch (Kind) {
    case tkFloat:
      return static_cast<bool>(SetFloat);
    case tkString:
      return static_cast<bool>(SetStr);
    case tkClass:
      return static_cast<bool>(SetObject);
    case tkMethod:
      return static_cast<bool>(SetMethod);
    default:
      return static_cast<bool>(SetOrd);
  }
}

bool TPropInfo::IsReference() const {
  return Kind == tkClass && PropClass && PropClass().InheritsFrom(TComponent::StaticClassInfo());
}

// ---------------------------------------------------------------------------------------
// Class info

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent)
    : name_(std::move(name)), parent_(parent) {}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    if (c == &other) return true;
  return false;
}

bool TClassInfo::InheritsFrom(std::string_view className) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    if (SameText(c->name_, className)) return true;
  return false;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->parent_) chain.push_back(c);
  std::vector<const TPropInfo*> result;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const TPropInfo& p : (*it)->props_) {
      auto same = std::find_if(result.begin(), result.end(),
                               [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
      if (same != result.end())
        *same = &p;
      else
        result.push_back(&p);
    }
  }
  return result;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TPropInfo& p : c->props_)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TMethodInfo& m : c->methods_)
      if (SameText(m.Name, name)) return &m;
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TFieldInfo& f : c->fields_)
      if (SameText(f.Name, name)) return &f;
  return nullptr;
}

TComponent* TClassInfo::CreateComponent(TComponent* owner) const {
  if (factoryKind_ != fkComponent) throw Exception("Cannot create a " + name_ + " as a component");
  auto* c = static_cast<TComponent*>(factory_(owner));  // NOLINT: the factory made a component
  try {
    c->AfterConstruction();
  } catch (...) {
    delete c;
    throw;
  }
  return c;
}

std::unique_ptr<TPersistent> TClassInfo::CreatePersistent() const {
  if (factoryKind_ != fkPersistent) throw Exception("Cannot create a " + name_);
  std::unique_ptr<TPersistent> p(static_cast<TPersistent*>(factory_(nullptr)));
  p->AfterConstruction();
  return p;
}

TCollectionItem* TClassInfo::CreateCollectionItem(TCollection* collection) const {
  if (factoryKind_ != fkCollectionItem)
    throw Exception("Cannot create a " + name_ + " as a collection item");
  return dynamic_cast<TCollectionItem*>(factory_(collection));
}

// ---------------------------------------------------------------------------------------
// Registry

namespace {
std::map<std::string, const TClassInfo*, std::less<>>& Registry() {
  static std::map<std::string, const TClassInfo*, std::less<>> registry;
  return registry;
}
}  // namespace

void RegisterClass(const TClassInfo& info) {
  std::string key = UpperCase(info.ClassName());
  auto [it, inserted] = Registry().emplace(key, &info);
  if (!inserted && it->second != &info)
    throw EClassNotFound("A class named " + info.ClassName() + " is already registered");
}

void RegisterClasses(std::initializer_list<const TClassInfo*> infos) {
  for (const TClassInfo* info : infos) RegisterClass(*info);
}

void UnRegisterClass(const TClassInfo& info) {
  auto it = Registry().find(UpperCase(info.ClassName()));
  if (it != Registry().end() && it->second == &info) Registry().erase(it);
}

const TClassInfo* GetClass(std::string_view name) {
  auto it = Registry().find(UpperCase(name));
  return it == Registry().end() ? nullptr : it->second;
}

const TClassInfo& FindClass(std::string_view name) {
  const TClassInfo* info = GetClass(name);
  if (!info) throw EClassNotFound("Class " + std::string(name) + " not found");
  return *info;
}

std::vector<const TClassInfo*> RegisteredClasses() {
  std::vector<const TClassInfo*> result;
  for (auto& [key, info] : Registry()) result.push_back(info);
  return result;
}

// ---------------------------------------------------------------------------------------
// Methods

TObject* AsObject(TObject* object) {
  return object;
}

std::string PublishedMethodName(const TObject& object, const std::any& member) {
  for (const TClassInfo* c = &object.ClassInfo(); c; c = c->ClassParent())
    for (const TMethodInfo& m : c->OwnMethods())
      if (m.IsMember && m.IsMember(member)) return m.Name;
  return {};
}

TMethod FindMethod(TObject& object, std::string_view name) {
  const TMethodInfo* m = object.ClassInfo().FindMethod(name);
  return m ? m->Bind(object) : TMethod{};
}

TMethod MethodByName(TObject& object, std::string_view name) {
  const TMethodInfo* m = object.ClassInfo().FindMethod(name);
  if (!m) throw EMethodError(object.ClassName() + " has no published method " + std::string(name));
  return m->Bind(object);
}

}  // namespace nv
