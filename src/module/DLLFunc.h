#pragma once
// The module's entry: the controller class that GetController instantiates, and the
// library's start-up, which runs before the first controller is handed out.
#include "DLLBaseCtrller.h"

namespace nv {

using TDLLControllerClass = TDLLBaseController* (*)();
// Set by the initialisation of the voucher controller's unit.
extern TDLLControllerClass DLLControllerClass;

// The library's start-up code (the project unit sets it). It runs once, at the first
// GetController: by then the loader has initialised every unit, so the start-up's choices
// win over any a unit made.
using TDLLStartup = void (*)();
extern TDLLStartup DLLLibraryStartup;

}  // namespace nv
