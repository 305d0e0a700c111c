#include "shell/HostSession.h"

#include "platform/com/ComObj.h"
#include "platform/core/CodePage.h"
#include "platform/os/FileUtils.h"
#include "platform/os/Modules.h"
#include "platform/os/Registry.h"

namespace nv {

namespace {

constexpr const char* kModuleName = "QCPR31C.so";
constexpr const char* kServiceProgID = "VantaWorkCenter.Manager";

}  // namespace

std::string TerminalText(const std::string& ansiText) {
  return AnsiToUtf8(ansiText);
}

std::string RegistryClientFolder() {
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKeyReadOnly("Software\\NVT\\Baton")) return {};
  if (registry.GetDataType("ClientPath") != TRegDataType::rdString) return {};
  return registry.ReadString("ClientPath");
}

std::string FindModuleFile(const THostOptions& options) {
  if (!options.moduleFile.empty()) {
    if (!FileExists(options.moduleFile)) {
      throw EHostError("module \"" + options.moduleFile + "\" does not exist");
    }
    return options.moduleFile;
  }
  std::vector<std::string> candidates;
  std::string client = options.clientFolder.empty() ? RegistryClientFolder() : options.clientFolder;
  if (!client.empty()) {
    client = IncludeTrailingPathDelimiter(NativePath(client));
    candidates.push_back(client + kModuleName);
    candidates.push_back(client + "C_NVBIN/" + kModuleName);
  }
  // In the build tree the module sits at src/module beside suite/shell.
  if (options.demo)
    candidates.push_back(GetHostProgramFolder() + "../../src/module/" + kModuleName);
  for (const std::string& file : candidates) {
    if (FileExists(file)) return file;
  }
  std::string message = "cannot find the module " + std::string(kModuleName);
  if (candidates.empty()) {
    message += ": no client folder (give --client DIR, or set ClientPath in the registry file " +
               RegistryFileName() + ")";
  } else {
    message += "; looked for";
    for (const std::string& file : candidates) message += " " + file;
  }
  throw EHostError(message);
}

THostSession::THostSession(THostOptions options, std::ostream& out, std::ostream& err)
    : options_(std::move(options)), out_(out), err_(err) {}

THostSession::~THostSession() {
  try {
    Finish();
  } catch (const std::exception& e) {
    err_ << "baton: " << TerminalText(e.what()) << "\n";
  }
}

void THostSession::Line(const std::string& text) {
  out_ << TerminalText(text) << "\n";
  out_.flush();
}

void THostSession::Notify(std::int32_t code, TDLLBaseController* sender) {
  Line("notify " + std::to_string(code));
}

void THostSession::Start() {
  std::string file = FindModuleFile(options_);
  // The module stays loaded for the life of the shell: its controller's code lives there.
  HMODULE module = LoadLibrary(file);
  if (module == nullptr) throw EHostError(LastLibraryError());
  auto getController =
      reinterpret_cast<TGetControllerFunc>(GetProcAddress(module, "GetController"));
  if (getController == nullptr)
    throw EHostError("module \"" + file + "\" exports no GetController");
  controller_.reset(getController());
  try {
    controller_->ShellServices = CreateOleObject(kServiceProgID);
  } catch (const std::exception& e) {
    err_ << "baton: no service object, going on without it: " << TerminalText(e.what()) << "\n";
  }
  controller_->OnNotify = TDLLNotifyEvent::Of<&THostSession::Notify>(this);
}

TDLLBaseController& THostSession::Controller() {
  if (!controller_) throw EHostError("no controller: the module is not loaded");
  return *controller_;
}

Variant THostSession::OpenParams() const {
  // [user ID, company code, database name, the shell's main window, a required extra]
  return Variant::ArrayOf(
      {options_.userID, options_.companyCode, options_.databaseName, 0, Variant()});
}

std::int32_t THostSession::Open() {
  return Open(OpenParams());
}

std::int32_t THostSession::Open(const Variant& params) {
  std::int32_t result = Controller().Open(params);
  Line("open " + std::to_string(result));
  return result;
}

void THostSession::SetVisible(bool visible) {
  Controller().SetVisible(visible ? 1 : 0);
  Line(std::string(visible ? "show" : "hide") +
       " visible=" + (Controller().GetVisible() != 0 ? "true" : "false"));
}

std::int32_t THostSession::ShowModal() {
  Variant result;
  Controller().ShowModal(result);
  Line("modal " + VarToStr(result));
  return result.AsInteger();
}

std::int32_t THostSession::RunRequest(const Variant& request) {
  std::int32_t result = Controller().RunRequest(request);
  Line("request " + std::to_string(result));
  return result;
}

std::int32_t THostSession::ExecuteCommand(std::int32_t code, const Variant& args) {
  std::int32_t result = Controller().ExecuteCommand(code, args);
  Line("command " + std::to_string(code) + " " + std::to_string(result));
  return result;
}

std::int32_t THostSession::GetIdentity() {
  Variant identity;
  std::int32_t result = Controller().GetIdentity(identity);
  Line("identity " + std::to_string(result));
  if (result == 0 && identity.IsArray()) {
    const char* names[] = {"user", "company", "program", "name"};
    for (int i = 0; i < 4 && i <= identity.HighBound(); ++i) {
      Line(std::string("identity ") + names[i] + " " + VarToStr(identity[i]));
    }
  }
  return result;
}

void THostSession::GetVersionTag() {
  std::u16string tag;
  Controller().GetVersionTag(tag);
  Line("version " + WideToAnsi(tag));
}

void THostSession::EndDesign() {
  Controller().EndDesign();
  Line("end-design");
}

void THostSession::ExtraNotify() {
  Controller().DoExtraNotify();
}

void THostSession::CloseForm() {
  Controller().CloseForm();
  Line(std::string("close closed=") + (Controller().IsClosed() ? "true" : "false"));
}

bool THostSession::IsClosed() {
  return Controller().IsClosed();
}

// TODO(ui): drain the window layer's message queue once it is on main.
void THostSession::ProcessMessages() {}

void THostSession::Finish() {
  if (!controller_) return;
  ProcessMessages();
  controller_.reset();
}

}  // namespace nv
