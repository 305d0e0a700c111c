#include "module/DLLVRCtrller.h"

#include "module/DLLFunc.h"
#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"
#include "platform/os/Modules.h"
#include "platform/ui/Forms.h"

namespace nv {

TVROptionFormClass frmVRBaseOptClass = nullptr;

namespace {

TDLLBaseController* CreateVRCtrller() {
  return new TDLLVRCtrller;
}

// The voucher controller unit's initialisation.
const bool kControllerClassRegistered = (DLLControllerClass = &CreateVRCtrller, true);

}  // namespace

std::string ModuleFileName() {
  return GetModuleFileNameOf(reinterpret_cast<const void*>(&CreateVRCtrller));
}

TDLLVRCtrller::~TDLLVRCtrller() {
  // the shell hears 304 while it destroys the controller
  if (form_ != nullptr && !form_->IsDestroying()) form_->Free();
}

void TDLLVRCtrller::GetVersionTag(std::u16string& tag) {
  if (form_ != nullptr) tag = AnsiToWide(form_->VersionTag());
}

std::int32_t TDLLVRCtrller::GetVisible() {
  return form_ != nullptr && form_->Visible() ? -1 : 0;
}

void TDLLVRCtrller::SetVisible(std::int16_t visible) {
  if (form_ == nullptr) return;
  bool show = visible != 0;
  form_->SetVisible(show);
  if (!show) return;
  if (form_ != nullptr && form_->WindowState() == wsMinimized) {
    form_->SetWindowState(wsNormal);
  }
  if (form_ != nullptr) SetForegroundWindow(form_->Handle());
}

TDLLWindowHandle TDLLVRCtrller::GetWindowHandle() {
  return form_ != nullptr ? form_->Handle() : 0;
}

void TDLLVRCtrller::CreateForm() {
  if (frmVRBaseOptClass == nullptr) {
    throw Exception("NVT DLL Internal Error :\rNot Assign \"frmVRBaseOptClass\" varible");
  }
  form_ = frmVRBaseOptClass();
  form_->SetModulePath(ModuleFileName());
  form_->SetShellServices(ShellServices);
  DoFormCreated();
  ChainFormHandlers();
}

// The form's own handlers stay in force and run first; the notification follows.
void TDLLVRCtrller::ChainFormHandlers() {
  oldOnShow_ = form_->ShowHandler();
  form_->SetShowHandler([this](TObject* sender) { DoFormShow(sender); });
  oldOnHide_ = form_->HideHandler();
  form_->SetHideHandler([this](TObject* sender) { DoFormHide(sender); });
  oldOnDestroy_ = form_->DestroyHandler();
  form_->SetDestroyHandler([this](TObject* sender) { DoFormDestroy(sender); });
}

std::int32_t TDLLVRCtrller::Open(const Variant& params) {
  if (form_ == nullptr) CreateForm();
  // A form initialises once: a second Open is refused by the form itself.
  try {
    return form_->Initialize(params) ? 0 : -1;
  } catch (const std::exception&) {
    return -1;  // the form stays; the shell closes it with CloseForm
  }
}

std::int32_t TDLLVRCtrller::RunRequest(const Variant& request) {
  if (form_ == nullptr || request.IsNull()) return -1;
  try {
    form_->ApplyHostCommand(request);
    return 0;
  } catch (...) {
    return -1;
  }
}

std::int32_t TDLLVRCtrller::ExecuteCommand(std::int32_t code, const Variant& args) {
  if (form_ == nullptr) return -1;
  // The form's exceptions reach the shell: only the missing form is answered here.
  switch (code) {
    case kCommandPrintFromConditions:
      return form_->PrintFromConditions(args[0].AsBoolean()) ? 0 : -1;
    case kCommandPrintFromKeys:
      return form_->PrintFromKeys(args[1], args[0].AsBoolean()) ? 0 : -1;
    case kCommandConvertFromKeys:
      return ConvertFromKeys(args);
    default:
      return -1;
  }
}

std::int32_t TDLLVRCtrller::ConvertFromKeys(const Variant& args) {
  int high = args.HighBound();
  int resolution = kDefaultPictureDPI;
  // An element that holds nothing counts as missing: it would read as 0 dots per inch.
  if (high >= 3 && !args[3].IsEmpty()) {
    try {
      resolution = args[3].AsInteger();
    } catch (const EVariantError&) {
      resolution = kDefaultPictureDPI;  // unreadable is no error
    }
  }
  std::string extra = high >= 4 ? VarToStr(args[4]) : std::string();
  bool written =
      form_->ConvertFromKeys(args[0], args[1].AsInteger(), VarToStr(args[2]), extra, resolution);
  return written ? 0 : -1;
}

void TDLLVRCtrller::ShowModal(Variant& modalResult) {
  modalResult = form_ != nullptr ? form_->ShowModal() : kModalResultCancel;
}

void TDLLVRCtrller::CloseForm() {
  if (form_ != nullptr && !form_->IsDestroying()) form_->Free();
}

std::int32_t TDLLVRCtrller::GetIdentity(Variant& identity) {
  if (form_ == nullptr) return -1;
  Variant result = Variant::Array(0, 4);
  result[0] = form_->UserID();
  result[1] = form_->CompanyCode();
  result[2] = form_->ProgramCode();
  result[3] = form_->ProgramName();
  identity = std::move(result);
  return 0;
}

bool TDLLVRCtrller::IsClosed() {
  return form_ == nullptr;
}

void TDLLVRCtrller::DoFormShow(TObject* sender) {
  if (oldOnShow_) oldOnShow_(sender);
  TDLLBaseController::DoFormShow(sender);
}

void TDLLVRCtrller::DoFormHide(TObject* sender) {
  if (oldOnHide_) oldOnHide_(sender);
  TDLLBaseController::DoFormHide(sender);
}

// The destroy handler is the only place the controller learns that the form is gone,
// whoever destroyed it.
void TDLLVRCtrller::DoFormDestroy(TObject* sender) {
  if (form_ != nullptr) {
    ResultCode = form_->ResultCode();
    ResultValue = form_->ResultValue();
    if (oldOnDestroy_) oldOnDestroy_(sender);
    TDLLBaseController::DoFormDestroy(sender);
  }
  form_ = nullptr;
}

void TDLLVRCtrller::EndDesign() {
  if (form_ != nullptr) form_->EndDesign();
}

}  // namespace nv
