#include "runtime/BatonINI.h"

#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"
#include "platform/os/FileUtils.h"
#include "platform/os/IniFiles.h"
#include "platform/os/Registry.h"
#include "runtime/LibStrs.h"
#include "runtime/ORNIXGeneratorU.h"

namespace nv {
namespace {

constexpr const char* kBatonKey = "Software\\NVT\\Baton";
constexpr int kMaxUserName = 31;  // a user-name buffer of 32 characters

bool EndsWithDelimiter(std::string_view path) {
  return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

std::string WithBackslash(std::string_view path) {
  return EndsWithDelimiter(path) ? std::string(path) : std::string(path) + "\\";
}

bool IsTrueText(std::string_view text) {
  const std::string upper = UpperCase(text);
  return upper == "1" || upper == "Y" || upper == "YES" || upper == "TRUE";
}

std::string ResolveWorkFolder(const std::string& installFolder, std::string_view value) {
  const std::string folder = WithBackslash(value);
  if (PathStartsWithDrive(folder)) return folder;
  if (!folder.empty() && folder.front() == '\\') return installFolder + folder.substr(1);
  return installFolder + folder;
}

}  // namespace

bool TBatonIniBase::ReadCommonStart(const char* folderValue, const char* iniName,
                                    std::string& folder) {
  sysCodePage_ = IntToStr(SystemCodePage());
  if (sysCodePage_ != "936" && sysCodePage_ != "950") sysCodePage_ = "437";
  uiCodePage_ = sysCodePage_;
  dbCodePage_ = "936";
  DeriveConvertKinds();

  std::string profileType;
  try {
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKeyReadOnly(kBatonKey)) {
      errorMsgId_ = "E;000015";
      return false;
    }
    folder = registry.ReadString(folderValue);
    if (registry.ValueExists("ProfileType")) profileType_ = registry.ReadString("ProfileType");
    registry.CloseKey();
  } catch (const std::exception&) {
    // A registry that cannot be read is a registry without the key.
    errorMsgId_ = "E;000015";
    return false;
  }
  if (folder.empty()) return false;
  folder = WithBackslash(folder);

  std::string settings = folder;
  if (!profileType_.empty() && profileType_ != "0") {
    profileUser_ = GetUserName().substr(0, kMaxUserName);
    settings = folder + "Profile\\" + profileUser_ + "\\";
  }
  iniFileName_ = settings + iniName;
  if (!FileExists(iniFileName_)) {
    settings = folder;
    iniFileName_ = folder + iniName;
  }
  profilePath_ = settings;
  return true;
}

void TBatonIniBase::DeriveConvertKinds() {
  uiConvertKind_ = 0;
  if (uiCodePage_ == "950") {
    uiConvertKind_ = 2;
  } else if (uiCodePage_ == "936" && sysCodePage_ == "950") {
    uiConvertKind_ = 4;
  }
  dataConvertKind_ = 0;
  if (uiCodePage_ == "950" && dbCodePage_ == "936") {
    dataConvertKind_ = 2;
  } else if (uiCodePage_ == "936" && dbCodePage_ == "950") {
    dataConvertKind_ = 1;
  }
}

void TBatonIniBase::ResolveWorkFolders(const std::string& installFolder,
                                       const char* defaultSubFolder) {
  if (workDLLPaths_.empty()) {
    workDLLPaths_.push_back(installFolder + defaultSubFolder);
    return;
  }
  for (std::string& line : workDLLPaths_) {
    const size_t equals = line.find('=');
    line = ResolveWorkFolder(installFolder,
                             equals == std::string::npos ? std::string() : line.substr(equals + 1));
  }
}

TBatonIniC::TBatonIniC() {
  Read();
}

bool TBatonIniC::Read() {
  if (!ReadCommonStart("ClientPath", "BatonC.ini", clientPath_)) return false;
  const TIniFile ini(iniFileName_);
  langType_ = ini.ReadString("Client Components", "LangType", "ENG");
  version_ = ini.ReadString("ProductVersion", "Version", "");
  createGifBeforeSendQM_ = ini.ReadString("UserDefine", "CreateGifBeforeSendQM", "Y");
  uiCodePage_ = ini.ReadString("CodePage", "UICodePage", sysCodePage_);
  dbCodePage_ = ini.ReadString("CodePage", "DBCodePage", "936");
  supportCallBack_ = IsTrueText(ini.ReadString("Server Information", "SupportCallBack", "0"));
  std::string computers = Trim(ini.ReadString("Server Information", "ComputerName", "127.0.0.1"));
  const int port = ini.ReadInteger("Server Information", "ServerPort", 211);
  workDLLPaths_ = ini.ReadSectionValues("WorkDLLPath");
  autoCheckNewMsg_ = ini.ReadString("TaskMessageCenter Setting", "AutoCheckNewMsg", "1");
  checkInterval_ = ini.ReadString("TaskMessageCenter Setting", "CheckInterval", "1");
  popupMsg_ = ini.ReadString("TaskMessageCenter Setting", "PopupMsg", "1");
  loginCheck_ = ini.ReadString("TaskMessageCenter Setting", "LoginCheck", "0");
  DeriveConvertKinds();

  if (!computers.empty() && computers.back() == ';') computers.pop_back();
  if (computers.empty()) {
    errorMsgId_ = "E;000016";
    return false;
  }
  const int count = NumToken(computers, ";");
  serverList_ = Variant::Array2D({0, 2}, {0, count});
  for (int i = 0; i < count; ++i) {
    serverList_.At(0, i) = GetToken(computers, ";", i + 1);
    serverList_.At(1, i) = port;
  }
  ResolveWorkFolders(clientPath_, "C_PKG\\");
  return true;
}

TBatonIniS::TBatonIniS() {
  if (!Read()) ReadDBConfig(TIniFile(iniFileName_));
}

void TBatonIniS::ReadDBConfig(const TIniFile& ini) {
  const char* db = "DBE Setting";
  const char* control = "DBPasswordCtrl";
  dbConfig_ = Variant::Array2D({0, 4}, {0, 8});
  auto text = [&](int row, int column, const char* section, const char* key, const char* def) {
    dbConfig_.At(row, column) = ini.ReadString(section, key, def);
  };
  auto number = [&](int row, int column, const char* section, const char* key, int def) {
    dbConfig_.At(row, column) = ini.ReadInteger(section, key, def);
  };
  text(0, 0, db, "MainAlias", "Vanta");
  text(0, 1, db, "MainUserName", "sa");
  dbConfig_.At(0, 2) = DecodeDBPassword(ini.ReadString(db, "XXXXXX", ""));
  text(0, 3, db, "MainDBType", "MSSQL");
  text(0, 4, db, "MainDBName", "");
  text(0, 5, db, "MainServerName", "");
  number(0, 6, db, "MainConnectionTimeOut", 300);
  number(0, 7, db, "MainCommandTimeOut", 3000);
  text(1, 0, db, "TempAlias", "VantaTemp");
  text(1, 1, db, "TempUserName", "sa");
  dbConfig_.At(1, 2) = DecodeDBPassword(ini.ReadString(db, "TempPassword", ""));
  text(1, 3, db, "TempDBType", "PARADOX");
  text(1, 4, db, "TempDBName", "");
  text(1, 5, db, "TempDriverName", "PostgreSQL");
  number(1, 6, db, "TempConnectionTimeOut", 300);
  number(1, 7, db, "TempCommandTimeOut", 3000);
  dbConfig_.At(2, 0) = Trim(ini.ReadString(control, "ComputerName", ""));
  number(2, 1, control, "ServerPort", 211);
  number(2, 2, control, "ClientSocketPort", 1024);
  text(2, 3, db, "DataBaseCodeOrder", "Chinese_Taiwan_Stroke_BIN");
  text(3, 0, db, "EctAlias", "EDIDATA");
  text(3, 1, db, "EctUserName", "sa");
  text(3, 2, db, "EctPassword", "");

  const std::string mainServer = dbConfig_.At(0, 5).AsString();
  systemControlAddress_ = Trim(ini.ReadString(db, "SystemControlAddress", ""));
  if (systemControlAddress_.empty()) systemControlAddress_ = mainServer;
  otherSystemControlAddress_ = Trim(ini.ReadString(db, "OtherSystemControlAddress", ""));
  if (otherSystemControlAddress_.empty()) otherSystemControlAddress_ = mainServer;

  const std::string dbType = UpperCase(dbConfig_.At(0, 3).AsString());
  dbKind_ = dbType == "ORACLE" ? 1 : (dbType == "DB2" ? 2 : 0);
}

bool TBatonIniS::Read() {
  if (!ReadCommonStart("ServerPath", "BatonS.ini", serverPath_)) return false;
  const TIniFile ini(iniFileName_);
  version_ = ini.ReadString("ProductVersion", "Version", "");
  uiCodePage_ = ini.ReadString("CodePage", "UICodePage", sysCodePage_);
  dbCodePage_ = ini.ReadString("CodePage", "DBCodePage", "936");
  ReadDBConfig(ini);
  supportCallBack_ = IsTrueText(ini.ReadString("DBPasswordCtrl", "SupportCallBack", "0"));
  workDLLPaths_ = ini.ReadSectionValues("WorkDLLPath");
  DeriveConvertKinds();
  ResolveWorkFolders(serverPath_, "S_PKG\\");
  return true;
}

}  // namespace nv
