#pragma once
// LibVCLs: published properties of components read and written by property name. A nil
// component, an empty name or a property the class does not publish is never an error:
// reads give an empty value, writes do nothing.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtti/TypInfo.h"

namespace nv {

class TObject;

bool CheckPropertyExist(const TObject* component, std::string_view name);
std::string GetStringProperty(const TObject* component, std::string_view name);
void SetStringProperty(TObject* component, std::string_view name, const std::string& value);
std::int64_t GetOrdinalProperty(const TObject* component, std::string_view name);
void SetOrdinalProperty(TObject* component, std::string_view name, std::int64_t value);
TMethod GetObjectMethod(const TObject& object, std::string_view name);
void SetObjectMethod(TObject& object, std::string_view name, const TMethod& method);

}  // namespace nv
