#include "runtime/LibVCLs.h"

#include "platform/rtti/Classes.h"

namespace nv {
namespace {

const TPropInfo* Published(const TObject* component, std::string_view name, TTypeKind kind) {
  if (component == nullptr || name.empty()) return nullptr;
  const TPropInfo* info = FindPropInfo(component->ClassInfo(), name);
  if (info == nullptr) return nullptr;
  if (kind == tkInteger) return info->IsOrdinal() ? info : nullptr;
  return info->Kind == kind ? info : nullptr;
}

}  // namespace

bool CheckPropertyExist(const TObject* component, std::string_view name) {
  return component != nullptr && !name.empty() &&
         FindPropInfo(component->ClassInfo(), name) != nullptr;
}

std::string GetStringProperty(const TObject* component, std::string_view name) {
  const TPropInfo* info = Published(component, name, tkString);
  return info != nullptr && info->GetStr ? info->GetStr(*component) : std::string();
}

void SetStringProperty(TObject* component, std::string_view name, const std::string& value) {
  const TPropInfo* info = Published(component, name, tkString);
  if (info != nullptr && info->SetStr) info->SetStr(*component, value);
}

std::int64_t GetOrdinalProperty(const TObject* component, std::string_view name) {
  const TPropInfo* info = Published(component, name, tkInteger);
  return info != nullptr && info->GetOrd ? info->GetOrd(*component) : 0;
}

void SetOrdinalProperty(TObject* component, std::string_view name, std::int64_t value) {
  const TPropInfo* info = Published(component, name, tkInteger);
  if (info == nullptr || !info->SetOrd) return;
  // A value the property's type cannot hold is no value for it.
  if (value < info->MinValue || value > info->MaxValue) return;
  info->SetOrd(*component, value);
}

TMethod GetObjectMethod(const TObject& object, std::string_view name) {
  const TPropInfo* info = Published(&object, name, tkMethod);
  return info != nullptr && info->GetMethod ? info->GetMethod(object) : TMethod{};
}

void SetObjectMethod(TObject& object, std::string_view name, const TMethod& method) {
  const TPropInfo* info = Published(&object, name, tkMethod);
  if (info == nullptr || !info->SetMethod) return;
  if (method.Assigned() && method.Signature != info->Signature) return;
  info->SetMethod(object, method);
}

}  // namespace nv
