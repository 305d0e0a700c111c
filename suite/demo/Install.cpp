// `tallyd demo DIR`: a complete demo installation in one folder, the way the suite's setup
// leaves a machine: the registry file, a client folder with BatonC.ini, a server folder with
// BatonS.ini, and the company database DEMO with its seed data and generated records.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
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

// A built file: beside tallyd (an installed suite), else where the build tree makes it.
std::string FindBuilt(const TDemoOptions& o, const std::string& file, const std::string& sub) {
  std::vector<std::string> places;
  if (!o.programFolder.empty()) places.push_back(Absolute(o.programFolder) + file);
  if (!o.buildFolder.empty()) places.push_back(Absolute(o.buildFolder) + sub + file);
  for (const std::string& p : places) {
    if (std::filesystem::is_regular_file(p)) return p;
  }
  return {};
}

struct TInstalled {
  std::vector<std::string> copied;
  std::vector<std::string> missing;
};

void CopyInto(const std::string& from, const std::string& folder, TInstalled& done) {
  std::string name = std::filesystem::path(from).filename().string();
  std::error_code ec;
  std::filesystem::copy_file(from, folder + name, std::filesystem::copy_options::overwrite_existing,
                             ec);
  if (ec) throw EFOpenError("Cannot copy " + from + " to " + folder + ": " + ec.message());
  done.copied.push_back(name);
}

// Copies one built file; a plug-in the registry file names must be there, the rest may be
// missing from a partial build.
void Install(const TDemoOptions& o, const std::string& file, const std::string& sub,
             const std::string& folder, bool required, TInstalled& done) {
  std::string from = FindBuilt(o, file, sub);
  if (from.empty()) {
    if (required) {
      throw EFOpenError(file + " not found beside tallyd" +
                        (o.buildFolder.empty() ? "" : " or in " + o.buildFolder + sub));
    }
    done.missing.push_back(file);
    return;
  }
  CopyInto(from, folder, done);
}

// The suite libraries: every library of the build's suite library folder, or the known ones
// beside tallyd.
void InstallSuiteLibraries(const TDemoOptions& o, const std::string& client, TInstalled& done) {
  std::string built = o.buildFolder.empty() ? "" : Absolute(o.buildFolder) + "suite/libs/bin/";
  if (!built.empty() && std::filesystem::is_directory(built)) {
    for (const auto& entry : std::filesystem::directory_iterator(built)) {
      if (entry.is_regular_file() && entry.path().extension() == ".so")
        CopyInto(entry.path().string(), client, done);
    }
    return;
  }
  for (const char* name : {"Nvlanguage.so", "NVDownLoad.so", "NVBmpToFile.so", "RelationWizard.so"})
    Install(o, name, "", client, false, done);
}

TInstalled InstallFiles(const TDemoOptions& o, const std::string& client,
                        const std::string& server) {
  TInstalled done;
  Install(o, "Tallyd.so", "suite/appserver/", server, true, done);
  Install(o, "VantaWorkCenter.so", "suite/manager/", client, true, done);
  Install(o, "QCPR31C.so", "src/module/", client, false, done);
  Install(o, "baton", "suite/shell/", client, false, done);
  InstallSuiteLibraries(o, client, done);
  return done;
}

std::string Listed(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
  return out;
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
  TInstalled files = InstallFiles(options, client, server);

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
                RegistryQuoted(server + "Tallyd.so") +
                "\"\r\n\r\n"
                "[HKEY_CLASSES_ROOT\\VantaWorkCenter.Manager\\InprocServer32]\r\n"
                "@=\"" +
                RegistryQuoted(client + "VantaWorkCenter.so") + "\"\r\n");

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

  std::vector<std::string> lines = {
      "demo installation in " + root,
      "  registry file  " + root + "registry.reg   (export BATON_REGISTRY=" + root +
          "registry.reg)",
      "  client folder  " + client + "   BatonC.ini: server 127.0.0.1:211 (in-process)",
      "  server folder  " + server +
          "   BatonS.ini: " + (pg ? "PostgreSQL" : "SQLite data/DEMO.db"),
      "  database DEMO, company A01, users DS, QA01, PD01, EN01; " + IntToStr(options.records) +
          " generated records of document type QC09",
      "  installed      " + Listed(files.copied)};
  if (!files.missing.empty()) lines.push_back("  not built      " + Listed(files.missing));
  return lines;
}

}  // namespace nv::demo
