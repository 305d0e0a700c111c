#pragma once
// Event types that controls and forms publish. TNotifyEvent lives in Classes.h.
#include <cstdint>

#include "platform/rtti/Classes.h"

namespace nv {

using Word = std::uint16_t;

NV_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSet<TShiftStateItem>;
NV_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
NV_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)

NV_EVENT_TYPE(TKeyEvent, TObject* /*Sender*/, Word& /*Key*/, TShiftState /*Shift*/);
NV_EVENT_TYPE(TKeyPressEvent, TObject* /*Sender*/, char& /*Key*/);
NV_EVENT_TYPE(TCloseEvent, TObject* /*Sender*/, TCloseAction& /*Action*/);
NV_EVENT_TYPE(TCloseQueryEvent, TObject* /*Sender*/, bool& /*CanClose*/);
NV_EVENT_TYPE(TMouseEvent, TObject* /*Sender*/, TMouseButton /*Button*/, TShiftState /*Shift*/,
              int /*X*/, int /*Y*/);
NV_EVENT_TYPE(TMouseMoveEvent, TObject* /*Sender*/, TShiftState /*Shift*/, int /*X*/, int /*Y*/);

}  // namespace nv
