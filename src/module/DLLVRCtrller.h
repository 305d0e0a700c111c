#pragma once
// The voucher controller: creates the voucher option form and maps the shell's operations
// onto it.
#include "DLLBaseCtrller.h"
#include "module/VROptionForm.h"

namespace nv {

// Commands of ExecuteCommand.
inline constexpr std::int32_t kCommandPrintFromConditions = 5;
inline constexpr std::int32_t kCommandPrintFromKeys = 6;
inline constexpr std::int32_t kCommandConvertFromKeys = 11;
inline constexpr int kDefaultPictureDPI = 96;

class TDLLVRCtrller : public TDLLBaseController {
 public:
  TDLLVRCtrller() = default;
  ~TDLLVRCtrller() override;

  void GetVersionTag(std::u16string& tag) override;
  std::int32_t GetVisible() override;
  void SetVisible(std::int16_t visible) override;
  TDLLWindowHandle GetWindowHandle() override;
  std::int32_t Open(const Variant& params) override;
  std::int32_t RunRequest(const Variant& request) override;
  std::int32_t ExecuteCommand(std::int32_t code, const Variant& args) override;
  void ShowModal(Variant& modalResult) override;
  void CloseForm() override;
  std::int32_t GetIdentity(Variant& identity) override;
  bool IsClosed() override;
  void DoFormShow(TObject* sender) override;
  void DoFormHide(TObject* sender) override;
  void DoFormDestroy(TObject* sender) override;
  void EndDesign() override;

 private:
  void CreateForm();
  void ChainFormHandlers();
  std::int32_t ConvertFromKeys(const Variant& args);

  IVROptionForm* form_ = nullptr;
  TOptFormEvent oldOnShow_;
  TOptFormEvent oldOnHide_;
  TOptFormEvent oldOnDestroy_;
};

// The full path of this library, as the loader reports it for the module's own code.
std::string ModuleFileName();

}  // namespace nv
