// The base class's half of the contract: slots 11 to 17 raise the notifications.
#include "DLLBaseCtrller.h"

namespace nv {

TDLLBaseController::~TDLLBaseController() = default;

void TDLLBaseController::DoFormCreated() {
  DoNotify(kNotifyFormCreated, nullptr);
}

void TDLLBaseController::DoFormShow(TObject* sender) {
  DoNotify(kNotifyFormShow, sender);
}

void TDLLBaseController::DoFormHide(TObject* sender) {
  DoNotify(kNotifyFormHide, sender);
}

void TDLLBaseController::DoFormDestroy(TObject* sender) {
  DoNotify(kNotifyFormDestroy, sender);
}

void TDLLBaseController::DoExtraNotify() {
  DoNotify(kNotifyExtra, nullptr);
}

// The shell always hears the controller as the sender, whatever object raised the event.
void TDLLBaseController::DoNotify(std::int32_t code, TObject* sender) {
  if (OnNotify) OnNotify(code, this);
}

void TDLLBaseController::EndDesign() {}

}  // namespace nv
