#pragma once
// The classes of the headless class library, for the class registry (form texts name them)
// and for the checked-in class reference.
#include <vector>

#include "platform/rtti/TypInfo.h"

namespace nv {

std::vector<const TClassInfo*> UiClasses();
// Registers the standard classes and these; safe to call more than once.
void RegisterUiClasses();

}  // namespace nv
