#pragma once
// VantaWorkCenter.Manager: the work-center manager, the shell's service object. It serves
// messages from the message table in the interface language, and yields the counter
// (system parameters, named counters, SIMPLESQL), the validator (queries by table and
// number) and the lookup-window object (lookups, phrases, the date picker). Query and lookup
// definitions are rows of the company database's table ADMQD.
#include <memory>
#include <string>

#include "platform/com/Dispatch.h"
#include "suite/appserver/ServerConfig.h"
#include "suite/manager/ManagerDialogs.h"

namespace nv::manager {

constexpr const char* kManagerProgID = "VantaWorkCenter.Manager";

enum class TLanguage { CHS, CHT, ENG };

struct TManagerOptions {
  tallyd::TServerConfig config;  // where the company databases are
  TLanguage language = TLanguage::CHS;
  std::string defaultDatabase = "DEMO";  // for calls that name none (GetMessage, GetSysInfo)
  // null: the process's interaction service (headless: its script, else cancelled)
  std::shared_ptr<IManagerDialogs> dialogs;
};

// A new manager (no reference held yet).
IDispatchObject* CreateWorkCenterManager(TManagerOptions options);
// The manager with this process's settings: the server configuration in effect, the
// language of BatonC.ini ([Client Components] LangType, found through the registry file's
// ClientPath), the database named in BatonS.ini ([DBE Setting] MainDBName).
IDispatchObject* CreateWorkCenterManager();
// Registers CreateWorkCenterManager() under the manager's ProgID in this library's class registry.
void RegisterWorkCenterManager();

TLanguage LanguageFromLangType(const std::string& langType);

}  // namespace nv::manager
