// `tallyd demo DIR`: a complete demo installation in one folder, the way the suite's setup
// leaves a machine: the registry file, a client folder with BatonC.ini, a server folder with
// BatonS.ini, and the company database DEMO with its seed data and generated records.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "platform/core/SysUtils.h"
#include "suite/demo/Schema.h"

namespace nv::demo {

namespace {
void MakeFolder(const std::string& path) {
  std::string partial;
  for (std::size_t i = 0; i < path.size(); ++i) {
    partial.push_back(path[i]);
    if ((path[i] == '/' || i + 1 == path.size()) && partial.size() > 1) {
      if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) {
        throw EOSError("Cannot create folder " + partial + ": " + std::strerror(errno));
      }
    }
  }
}

void WriteText(const std::string& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) throw EFOpenError("Cannot write " + file);
  out << text;
}

std::string Absolute(std::string path) {
  if (!path.empty() && path[0] != '/') {
    char buf[4096];
    if (::getcwd(buf, sizeof buf) != nullptr) path = std::string(buf) + "/" + path;
  }
  if (path.back() != '/') path += '/';
  return path;
}

std::string RegistryQuoted(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out;
}
}  // namespace

std::vector<std::string> CreateDemoInstallation(const TDemoOptions& options) {
  std::string root = Absolute(options.folder);
  std::string client = root + "client/";
  std::string server = root + "server/";
  for (const char* sub : {"C_DATA", "C_NVBIN", "C_PKG", "Log", "MultiLanguage"})
    MakeFolder(client + sub);
  for (const char* sub : {"data", "S_PKG", "Log"}) MakeFolder(server + sub);
  std::string plugins = options.pluginFolder.empty() ? root : Absolute(options.pluginFolder);

  WriteText(root + "registry.reg",
            "REGEDIT4\r\n\r\n"
            "; the demo installation of the Baton suite\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\NVT\\Baton]\r\n"
            "\"ClientPath\"=\"" +
                RegistryQuoted(client) +
                "\"\r\n"
                "\"ServerPath\"=\"" +
                RegistryQuoted(server) +
                "\"\r\n"
                "\"ProfileType\"=\"0\"\r\n\r\n"
                "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage]\r\n"
                "\"ACP\"=\"936\"\r\n\r\n"
                "[HKEY_CLASSES_ROOT\\Tallyd.Class1\\InprocServer32]\r\n"
                "@=\"" +
                RegistryQuoted(plugins + "Tallyd.so") +
                "\"\r\n\r\n"
                "[HKEY_CLASSES_ROOT\\VantaWorkCenter.Manager\\InprocServer32]\r\n"
                "@=\"" +
                RegistryQuoted(plugins + "VantaWorkCenter.so") + "\"\r\n");

  WriteText(client + "BatonC.ini",
            "[Client Components]\r\nLangType=CHS\r\n\r\n"
            "[ProductVersion]\r\nVersion=5.0\r\n\r\n"
            "[CodePage]\r\nUICodePage=936\r\nDBCodePage=936\r\n\r\n"
            "[Server Information]\r\n"
            "; 127.0.0.1 creates the application server in the report's own process;\r\n"
            "; any other address reaches `tallyd serve` over TCP.\r\n"
            "ComputerName=127.0.0.1\r\nServerPort=211\r\nSupportCallBack=0\r\n\r\n"
            "[UserDefine]\r\nCreateGifBeforeSendQM=Y\r\n");

  bool pg = !options.pgConnInfo.empty();
  WriteText(
      server + "BatonS.ini",
      "[ProductVersion]\r\nVersion=5.0\r\n\r\n"
      "[CodePage]\r\nUICodePage=936\r\nDBCodePage=936\r\n\r\n"
      "[DBE Setting]\r\n"
      "MainAlias=Vanta\r\nMainDBName=DEMO\r\n" +
          std::string(pg ? "MainDBType=POSTGRESQL\r\nMainServerName=" + options.pgConnInfo + "\r\n"
                         : "MainDBType=SQLITE\r\nMainServerName=data\r\n") +
          "\r\n[DBPasswordCtrl]\r\nComputerName=127.0.0.1\r\nServerPort=211\r\n\r\n"
          "[Tallyd]\r\nMaxClients=64\r\nReadTimeoutSeconds=30\r\nIdleTimeoutSeconds=900\r\n"
          "LogFile=Log/tallyd.log\r\n\r\n"
          "[Trace]\r\n; Enabled=1 appends every statement the server runs to File.\r\n"
          "Enabled=0\r\nFile=Log/tallyd-trace.log\r\n");

  std::unique_ptr<tallyd::TDatabase> db;
  if (pg) {
    db = tallyd::OpenPostgres(options.pgConnInfo, "demo", 936);
  } else {
    std::string file = server + "data/DEMO.db";
    ::unlink(file.c_str());
    db = tallyd::OpenSqlite(file, 936, 10000);
  }
  InstallSchema(*db);
  SeedDemoData(*db);
  if (options.records > 0) GenerateRecords(*db, options.records);

  return {"demo installation in " + root,
          "  registry file  " + root + "registry.reg   (export BATON_REGISTRY=" + root +
              "registry.reg)",
          "  client folder  " + client + "   BatonC.ini: server 127.0.0.1:211 (in-process)",
          "  server folder  " + server +
              "   BatonS.ini: " + (pg ? "PostgreSQL" : "SQLite data/DEMO.db"),
          "  database DEMO, company A01, users DS, QA01, PD01, EN01; " + IntToStr(options.records) +
              " generated records of document type QC09"};
}

}  // namespace nv::demo
