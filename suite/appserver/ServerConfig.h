#pragma once
// The server installation's settings, read from BatonS.ini: which database backend holds
// the company databases, the database code page, the address and port tallyd listens on,
// frame and time-out bounds, and the statement trace. Read fresh by whoever needs it.
#include <string>

namespace nv::tallyd {

enum class TBackendKind { bkSQLite, bkPostgreSQL };

struct TServerConfig {
  std::string iniFileName;
  TBackendKind backend = TBackendKind::bkSQLite;
  // SQLite: the folder holding <database name>.db; PostgreSQL: a libpq connection string.
  std::string dataLocation;
  int dbCodePage = 936;
  std::string address = "127.0.0.1";
  int port = 211;
  int maxClients = 64;
  unsigned maxFrameBytes = 256u << 20;
  int readTimeoutSeconds = 30;
  int idleTimeoutSeconds = 900;
  int busyTimeoutMs = 10000;
  bool traceEnabled = false;
  std::string traceFile;
  std::string logFile;  // "" = standard error
};

// Reads the file; a missing file or key keeps the default. Relative data and trace paths are
// taken relative to the folder of the file.
TServerConfig LoadServerConfig(const std::string& iniFileName);
// The server configuration in effect for an in-process server object: $TALLYD_CONFIG, else
// BatonS.ini in the ServerPath of the registry file, else defaults.
TServerConfig DefaultServerConfig();

// Minimal INI reading with Windows semantics: sections and keys without letter case, the
// first occurrence wins, ";" starts a comment line.
std::string ReadIniString(const std::string& text, const std::string& section,
                          const std::string& key, const std::string& defaultValue);

// A string value of the suite's key in the registry file (HKEY_LOCAL_MACHINE\Software\NVT\Baton),
// "" when the file, the key or the value is missing.
std::string BatonRegistryValue(const std::string& valueName);

}  // namespace nv::tallyd
