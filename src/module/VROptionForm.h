#pragma once
// What the voucher controller needs of its option form, and the class reference that names
// the concrete form class. The controller drives the form through these operations only.
#include <cstdint>
#include <string>

#include "DLLBaseCtrller.h"
#include "platform/core/Variant.h"
#include "platform/rtti/Classes.h"
#include "platform/ui/Forms.h"

namespace nv {

// The modal result of a form closed without a choice (the platform's cancel).
inline constexpr int kModalResultCancel = 2;

using TOptFormEvent = TNotifyEvent;

class IVROptionForm {
 public:
  virtual ~IVROptionForm() = default;
  // Frees the form; its destroy handler runs while the whole form still exists (the
  // controller learns there that the form is gone).
  virtual void Free() = 0;
  // Being destroyed: the controller must not free it a second time.
  virtual bool IsDestroying() const = 0;
  // The identity passed to handlers as their sender.
  virtual TObject* Sender() = 0;

  virtual void SetModulePath(const std::string& fileName) = 0;
  virtual void SetShellServices(const Variant& services) = 0;
  virtual bool Initialize(const Variant& params) = 0;

  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual TWindowState WindowState() const = 0;
  virtual void SetWindowState(TWindowState state) = 0;
  // Creates the window when it has none yet.
  virtual TDLLWindowHandle Handle() = 0;
  virtual int ShowModal() = 0;

  virtual TOptFormEvent ShowHandler() const = 0;
  virtual void SetShowHandler(TOptFormEvent handler) = 0;
  virtual TOptFormEvent HideHandler() const = 0;
  virtual void SetHideHandler(TOptFormEvent handler) = 0;
  virtual TOptFormEvent DestroyHandler() const = 0;
  virtual void SetDestroyHandler(TOptFormEvent handler) = 0;

  virtual std::string VersionTag() const = 0;
  virtual std::string UserID() const = 0;
  virtual std::string CompanyCode() const = 0;
  virtual std::string ProgramCode() const = 0;
  virtual std::string ProgramName() const = 0;
  virtual int ResultCode() const = 0;
  virtual Variant ResultValue() const = 0;

  virtual void ApplyHostCommand(const Variant& request) = 0;
  virtual bool PrintFromConditions(bool preview) = 0;
  virtual bool PrintFromKeys(const Variant& keys, bool preview) = 0;
  virtual bool ConvertFromKeys(const Variant& keys, int pictureType, const std::string& prefix,
                               const std::string& extra, int resolution) = 0;
  virtual void EndDesign() = 0;
};

// A class reference: creates a form of the registered class with no owner.
using TVROptionFormClass = IVROptionForm* (*)();
extern TVROptionFormClass frmVRBaseOptClass;

}  // namespace nv
