#include "platform/rtti/Classes.h"

#include <algorithm>

namespace nv {

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info("TObject", nullptr);
  return info;
}

const std::string& TObject::ClassName() const {
  return ClassInfo().ClassName();
}
bool TObject::InheritsFrom(const TClassInfo& info) const {
  return ClassInfo().InheritsFrom(info);
}
bool TObject::InheritsFrom(std::string_view className) const {
  return ClassInfo().InheritsFrom(className);
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TPersistent) {}

void TPersistent::Assign(const TPersistent& source) {
  source.AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest.ClassName());
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TComponent) {
  // The header line of a form-text block carries the name.
  b.Prop("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
  b.Prop("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

bool IsValidIdent(std::string_view name) {
  if (name.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(),
                     [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  for (TComponent* other : std::vector<TComponent*>(freeNotifies_)) {
    other->RemoveFreeNotification(this);
    other->Notification(this, opRemove);
  }
  freeNotifies_.clear();
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* c : components_) c->Destroying();
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    RemoveComponent(last);
    delete last;
  }
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("'" + name + "' is not a valid component name");
  if (owner_ && !name.empty()) {
    TComponent* other = owner_->FindComponent(name);
    if (other && other != this)
      throw EComponentError("A component named " + name + " already exists");
  }
  SetReference(false);
  std::string old = std::move(name_);
  name_ = name;
  try {
    SetReference(true);
  } catch (...) {
    name_ = std::move(old);
    SetReference(true);
    throw;
  }
}

// The owner's published field of the same name follows the component (btnOk → field btnOk).
void TComponent::SetReference(bool enable) {
  if (!owner_ || name_.empty()) return;
  const TFieldInfo* field = owner_->ClassInfo().FindField(name_);
  if (!field) return;
  if (enable && !InheritsFrom(field->FieldClass())) {
    throw EComponentError("Field " + field->Name + " of " + owner_->ClassName() + " holds a " +
                          field->FieldClass().ClassName() + ", not a " + ClassName());
  }
  field->Set(*owner_, enable ? this : nullptr);
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, name)) return c;
  return nullptr;
}

TComponent& TComponent::ComponentByName(std::string_view name) const {
  TComponent* c = FindComponent(name);
  if (!c) {
    std::string where = name_.empty() ? ClassName() : name_;
    throw EComponentError("Component " + std::string(name) + " not found in " + where);
  }
  return *c;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  if (!component->name_.empty() && FindComponent(component->name_))
    throw EComponentError("A component named " + component->name_ + " already exists");
  if (component->owner_) component->owner_->RemoveComponent(component);
  Insert(component);
  component->SetReference(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  Notification(component, opRemove);
  component->SetReference(false);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  // Copy: a notified component may free others it owns.
  for (TComponent* c : std::vector<TComponent*>(components_)) c->Notification(component, operation);
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
      component->freeNotifies_.end())
    component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  std::erase(freeNotifies_, component);
  std::erase(component->freeNotifies_, this);
}

void TComponent::SetDesigning(bool designing, bool owned) {
  if (designing)
    state_.Include(csDesigning);
  else
    state_.Exclude(csDesigning);
  if (owned)
    for (TComponent* c : components_) c->SetDesigning(designing, true);
}

void TComponent::SetLoading(bool loading) {
  if (loading) {
    state_.Include(csLoading);
    state_.Include(csReading);
  } else {
    state_.Exclude(csLoading);
    state_.Exclude(csReading);
  }
}

void TComponent::Loaded() {
  state_.Exclude(csLoading);
}

void TComponent::GetChildren(const std::function<void(TComponent&)>& proc,
                             const TComponent& root) const {
  for (TComponent* c : root.components_) {
    TComponent* parent = c->GetParentComponent();
    if (this == &root ? (parent == nullptr || parent == &root) : parent == this) proc(*c);
  }
}

void TComponent::DefineProperties(TFiler& filer) {
  // Visual components publish Left and Top themselves; those win when both exist.
  auto* ancestor = dynamic_cast<const TComponent*>(filer.Ancestor());
  bool differs = ancestor
                     ? (ancestor->designLeft_ != designLeft_ || ancestor->designTop_ != designTop_)
                     : (designLeft_ != 0 || designTop_ != 0);
  auto readInt = [](const TFormValue& v) {
    if (v.Type != vaInteger)
      throw EReadError(std::string("expected an integer, found ") + ValueTypeName(v.Type));
    if (v.Integer < INT32_MIN || v.Integer > INT32_MAX) throw EReadError("value out of range");
    return static_cast<int>(v.Integer);
  };
  filer.DefineProperty(
      "Left", [this, readInt](const TFormValue& v) { designLeft_ = readInt(v); },
      [this] { return TFormValue::OfInteger(designLeft_); }, differs);
  filer.DefineProperty(
      "Top", [this, readInt](const TFormValue& v) { designTop_ = readInt(v); },
      [this] { return TFormValue::OfInteger(designTop_); }, differs);
}

const char* ValueTypeName(TValueType type) {
  switch (type) {
    case vaNull:
      return "nothing";
    case vaInteger:
      return "an integer";
    case vaFloat:
      return "a float";
    case vaString:
      return "a string";
    case vaIdent:
      return "an identifier";
    case vaSet:
      return "a set";
    case vaList:
      return "a list";
    case vaCollection:
      return "a collection";
    case vaBinary:
      return "binary data";
  }
  return "a value";
}

}  // namespace nv
