#pragma once
// One session of the host shell with a report module: it loads the module, takes a
// controller, hands it the service object and the notification callback, and drives it
// step by step. Every notification and every step's answer is written as a line.
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "DLLBaseCtrller.h"
#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"

namespace nv {

// A step that cannot run (no module, no controller, a failed call): exit status 1.
NV_DECLARE_EXCEPTION(EHostError, Exception);

struct THostOptions {
  std::string clientFolder;  // "" = from the registry file
  std::string moduleFile;    // "" = QCPR31C in the client folder
  std::string userID = "DS";
  std::string companyCode = "A01";
  std::string databaseName = "DEMO";
  bool demo = false;  // also look for the module built beside the shell
};

// The client folder the registry file names (HKLM\Software\NVT\Baton, ClientPath), "" when
// none.
std::string RegistryClientFolder();
// The module's file: the option, else QCPR31C in the client folder or its C_NVBIN, else (demo)
// the one built beside the shell. Raises EHostError listing where it looked.
std::string FindModuleFile(const THostOptions& options);

class THostSession {
 public:
  THostSession(THostOptions options, std::ostream& out, std::ostream& err);
  ~THostSession();

  // Loads the module, calls GetController, creates the service object (going on without it
  // when it cannot be created), sets OnNotify.
  void Start();

  // The controller's operations; each writes its answer as a line and returns it.
  std::int32_t Open();
  std::int32_t Open(const Variant& params);
  void SetVisible(bool visible);
  std::int32_t ShowModal();
  std::int32_t RunRequest(const Variant& request);
  std::int32_t ExecuteCommand(std::int32_t code, const Variant& args);
  std::int32_t GetIdentity();
  void GetVersionTag();
  void EndDesign();
  void ExtraNotify();
  void CloseForm();
  bool IsClosed();
  // Drains the window messages between steps.
  void ProcessMessages();
  // Destroys the controller (the form's 304 arrives during it).
  void Finish();

  Variant OpenParams() const;
  TDLLBaseController& Controller();

 private:
  void Notify(std::int32_t code, TDLLBaseController* sender);
  void Line(const std::string& text);

  THostOptions options_;
  std::ostream& out_;
  std::ostream& err_;
  std::unique_ptr<TDLLBaseController> controller_;
};

// Texts of the system code page as the terminal shows them.
std::string TerminalText(const std::string& ansiText);

}  // namespace nv
