#include "suite/appserver/ServerConfig.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/core/SysUtils.h"
#include "platform/os/Registry.h"

namespace nv::tallyd {

namespace {
std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return {};
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string FolderOf(const std::string& file) {
  auto slash = file.find_last_of('/');
  return slash == std::string::npos ? std::string("./") : file.substr(0, slash + 1);
}

std::string Resolve(const std::string& folder, const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  return folder + path;
}

int IniInt(const std::string& text, const char* section, const char* key, int def) {
  return StrToIntDef(ReadIniString(text, section, key, ""), def);
}

bool IsTrue(const std::string& v) {
  std::string u = UpperCase(Trim(v));
  return u == "1" || u == "Y" || u == "YES" || u == "TRUE";
}

}  // namespace

std::string ReadIniString(const std::string& text, const std::string& section,
                          const std::string& key, const std::string& defaultValue) {
  std::istringstream lines(text);
  std::string line;
  bool inSection = false;
  while (std::getline(lines, line)) {
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';') continue;
    if (t.front() == '[' && t.back() == ']') {
      inSection = SameText(Trim(t.substr(1, t.size() - 2)), section);
      continue;
    }
    if (!inSection) continue;
    auto eq = t.find('=');
    if (eq == std::string::npos) continue;
    if (SameText(Trim(t.substr(0, eq)), key)) return Trim(t.substr(eq + 1));
  }
  return defaultValue;
}

TServerConfig LoadServerConfig(const std::string& iniFileName) {
  TServerConfig c;
  c.iniFileName = iniFileName;
  std::string text = ReadFile(iniFileName);
  std::string folder = FolderOf(iniFileName);
  std::string type = UpperCase(ReadIniString(text, "DBE Setting", "MainDBType", "SQLITE"));
  c.backend = (type == "POSTGRESQL" || type == "PGSQL") ? TBackendKind::bkPostgreSQL
                                                        : TBackendKind::bkSQLite;
  std::string location = ReadIniString(text, "DBE Setting", "MainServerName", "");
  if (c.backend == TBackendKind::bkSQLite) {
    c.dataLocation = Resolve(folder, location.empty() ? "data" : location);
    if (c.dataLocation.back() != '/') c.dataLocation += '/';
  } else {
    c.dataLocation = location;
  }
  c.dbCodePage = StrToIntDef(ReadIniString(text, "CodePage", "DBCodePage", "936"), 936);
  c.address = ReadIniString(text, "DBPasswordCtrl", "ComputerName", "127.0.0.1");
  if (c.address.empty()) c.address = "127.0.0.1";
  c.port = IniInt(text, "DBPasswordCtrl", "ServerPort", 211);
  c.maxClients = IniInt(text, "Tallyd", "MaxClients", 64);
  c.maxFrameBytes = static_cast<unsigned>(IniInt(text, "Tallyd", "MaxFrameBytes", 256 << 20));
  c.readTimeoutSeconds = IniInt(text, "Tallyd", "ReadTimeoutSeconds", 30);
  c.idleTimeoutSeconds = IniInt(text, "Tallyd", "IdleTimeoutSeconds", 900);
  c.busyTimeoutMs = IniInt(text, "Tallyd", "BusyTimeoutMs", 10000);
  c.traceEnabled = IsTrue(ReadIniString(text, "Trace", "Enabled", "0"));
  c.traceFile = Resolve(folder, ReadIniString(text, "Trace", "File", "tallyd-trace.log"));
  std::string log = ReadIniString(text, "Tallyd", "LogFile", "");
  c.logFile = log.empty() ? "" : Resolve(folder, log);
  return c;
}

TServerConfig DefaultServerConfig() {
  if (const char* env = std::getenv("TALLYD_CONFIG"); env != nullptr && *env != '\0') {
    return LoadServerConfig(env);
  }
  std::string path = BatonRegistryValue("ServerPath");
  if (!path.empty()) {
    if (path.back() != '/') path += '/';
    return LoadServerConfig(path + "BatonS.ini");
  }
  return LoadServerConfig("BatonS.ini");
}

std::string BatonRegistryValue(const std::string& valueName) {
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKeyReadOnly("Software\\NVT\\Baton")) return {};
  return registry.GetDataType(valueName) == TRegDataType::rdString ? registry.ReadString(valueName)
                                                                   : "";
}

}  // namespace nv::tallyd
