#pragma once
// Registration of the input controls, so form texts can name them.
#include <vector>

#include "platform/rtti/TypInfo.h"

namespace nv {

std::vector<const TClassInfo*> ControlClasses();
// Registers the platform's controls and these; safe to call more than once.
void RegisterControlClasses();

}  // namespace nv
