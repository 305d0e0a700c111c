#pragma once
// A stand-in option form that keeps the controller's contract until the voucher option form
// is built: it accepts the open parameters, shows and hides, answers a modal run, accepts
// host commands, and writes one blank page per document for a picture conversion.
#include <string>
#include <vector>

#include "module/VROptionForm.h"
#include "platform/ui/Forms.h"

namespace nv {

class TfrmPlaceholderOpt : public TForm, public IVROptionForm {
 public:
  static constexpr const char* kVersionTag = "870401-0.00.00";
  // The modal result a headless modal run answers (the shell's scripted user sets it).
  static constexpr const char* kModalResultVariable = "BATON_MODAL_RESULT";

  TfrmPlaceholderOpt();

  void Free() override { TForm::Free(); }
  bool IsDestroying() const override { return ComponentState().Contains(csDestroying); }
  TObject* Sender() override { return this; }

  void SetModulePath(const std::string& fileName) override;
  void SetShellServices(const Variant& services) override { shellServices_ = services; }
  bool Initialize(const Variant& params) override;

  bool Visible() const override { return TForm::Visible(); }
  void SetVisible(bool visible) override { TForm::SetVisible(visible); }
  TWindowState WindowState() const override { return TForm::WindowState(); }
  void SetWindowState(TWindowState state) override { TForm::SetWindowState(state); }
  TDLLWindowHandle Handle() override { return TForm::Handle(); }
  int ShowModal() override;

  TOptFormEvent ShowHandler() const override { return OnShow; }
  void SetShowHandler(TOptFormEvent handler) override { OnShow = std::move(handler); }
  TOptFormEvent HideHandler() const override { return OnHide; }
  void SetHideHandler(TOptFormEvent handler) override { OnHide = std::move(handler); }
  TOptFormEvent DestroyHandler() const override { return OnDestroy; }
  void SetDestroyHandler(TOptFormEvent handler) override { OnDestroy = std::move(handler); }

  std::string VersionTag() const override { return kVersionTag; }
  std::string UserID() const override { return userID_; }
  std::string CompanyCode() const override { return companyCode_; }
  std::string ProgramCode() const override { return programCode_; }
  std::string ProgramName() const override { return programName_; }
  int ResultCode() const override { return resultCode_; }
  Variant ResultValue() const override { return resultValue_; }

  void ApplyHostCommand(const Variant& request) override;
  bool PrintFromConditions(bool preview) override;
  bool PrintFromKeys(const Variant& keys, bool preview) override;
  bool ConvertFromKeys(const Variant& keys, int pictureType, const std::string& prefix,
                       const std::string& extra, int resolution) override;
  void EndDesign() override {}

  static IVROptionForm* Create();

 private:
  bool initialized_ = false;
  std::string modulePath_;
  Variant shellServices_;
  std::string userID_;
  std::string companyCode_;
  std::string databaseName_;
  std::string programCode_;
  std::string programName_;
  int resultCode_ = 0;
  Variant resultValue_;
};

// The program code the module's file name gives: "…/QCPR31C.so" → "QCPR31".
std::string ProgramCodeFromModuleFile(const std::string& fileName);

// A blank A4 page as a one-bit bitmap file at the resolution; false when it cannot be written.
bool WriteBlankPageBitmap(const std::string& fileName, int resolution);
// A blank A4 page as a one-page PDF file.
bool WriteBlankPagePdf(const std::string& fileName);

}  // namespace nv
