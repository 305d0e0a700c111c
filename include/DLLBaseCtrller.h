#pragma once
// The controller contract between the host shell and a report module. The shell compiles
// against this declaration and drives the controller through its virtual table, by slot
// position, and through the field block, read and written directly. Slots 0 to 17 and the
// four fields keep their order; the destructor is declared after slot 17 so that it takes
// the slots after them. Integers are 32-bit signed.
//
// The module exports one function with C linkage, GetController, returning a new controller
// that the shell owns and destroys (delete). Failures reach the shell as exceptions derived
// from std::exception.
#include <cstdint>
#include <string>

#include "platform/core/Variant.h"

namespace nv {

class TObject;
class TDLLBaseController;

// A window handle as the contract carries it (0 = none).
using TDLLWindowHandle = std::intptr_t;

// Notification codes raised through OnNotify, always with the controller as sender.
enum : std::int32_t {
  kNotifyFormCreated = 256,  // Open created the option form
  kNotifyFormShow = 272,
  kNotifyFormHide = 288,
  kNotifyFormDestroy = 304,  // ResultCode and ResultValue are filled
  kNotifyExtra = 320,        // only when the shell itself calls DoExtraNotify
};

// A callback bound to an object: code pointer plus object pointer, so a shell of any build
// can assign one. Bind a member function with TDLLNotifyEvent::Of<&TShell::Notified>(shell).
struct TDLLNotifyEvent {
  void (*Code)(void* data, std::int32_t code, TDLLBaseController* sender) = nullptr;
  void* Data = nullptr;

  explicit operator bool() const { return Code != nullptr; }
  void operator()(std::int32_t code, TDLLBaseController* sender) const {
    if (Code != nullptr) Code(Data, code, sender);
  }

  template <auto Member, class C>
  static TDLLNotifyEvent Of(C* object) {
    return {[](void* data, std::int32_t code, TDLLBaseController* sender) {
              (static_cast<C*>(data)->*Member)(code, sender);
            },
            object};
  }
};

class TDLLBaseController {
 public:
  // The field block, in this order.
  Variant ShellServices;  // the shell's service object, copied into the option form by Open
  std::int32_t ResultCode = 0;
  Variant ResultValue;
  TDLLNotifyEvent OnNotify;

  TDLLBaseController() = default;
  TDLLBaseController(const TDLLBaseController&) = delete;
  TDLLBaseController& operator=(const TDLLBaseController&) = delete;

  // Slots 0 to 10: implemented by the module's controller class.
  virtual void GetVersionTag(std::u16string& tag) = 0;          // 0
  virtual std::int32_t GetVisible() = 0;                        // 1: true is -1
  virtual void SetVisible(std::int16_t visible) = 0;            // 2: non-zero is true
  virtual TDLLWindowHandle GetWindowHandle() = 0;               // 3
  virtual std::int32_t Open(const Variant& params) = 0;         // 4
  virtual std::int32_t RunRequest(const Variant& request) = 0;  // 5
  virtual std::int32_t ExecuteCommand(std::int32_t code, const Variant& args) = 0;  // 6
  virtual void ShowModal(Variant& modalResult) = 0;                                 // 7
  virtual void CloseForm() = 0;                                                     // 8
  virtual std::int32_t GetIdentity(Variant& identity) = 0;                          // 9
  virtual bool IsClosed() = 0;                                                      // 10
  // Slots 11 to 17: the base class raises the notifications; 17 is empty. They are defined
  // here, so every side that compiles this header has the whole class (no key function).
  virtual void DoFormCreated() { DoNotify(kNotifyFormCreated, nullptr); }                // 11
  virtual void DoFormShow(TObject* sender) { DoNotify(kNotifyFormShow, sender); }        // 12
  virtual void DoFormHide(TObject* sender) { DoNotify(kNotifyFormHide, sender); }        // 13
  virtual void DoFormDestroy(TObject* sender) { DoNotify(kNotifyFormDestroy, sender); }  // 14
  virtual void DoExtraNotify() { DoNotify(kNotifyExtra, nullptr); }                      // 15
  // The shell always hears the controller as the sender, whatever object raised the event.
  virtual void DoNotify(std::int32_t code, TObject* sender) {  // 16
    if (OnNotify) OnNotify(code, this);
  }
  virtual void EndDesign() {}  // 17

  virtual ~TDLLBaseController() = default;
};

}  // namespace nv

// The module's one export.
extern "C" nv::TDLLBaseController* GetController();
using TGetControllerFunc = nv::TDLLBaseController* (*)();
