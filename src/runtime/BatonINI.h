#pragma once
// BatonINI: the shell's client (BatonC.ini) and server (BatonS.ini) configuration, found
// through the registry key "Software\NVT\Baton". Each object reads everything afresh in its
// constructor and is usable whether or not reading succeeded (fields keep their defaults).
// Nothing is cached and nothing is ever written back.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Variant.h"

namespace nv {

class TIniFile;

// Conversion kinds: 0 none, 1 Big5 data in a GB interface, 2 GB texts in a Big5 interface,
// 4 GB interface on a Big5 system (fonts only).
using TConvertKind = std::uint8_t;

// What client and server configuration have in common.
class TBatonIniBase {
 public:
  const std::string& ProfilePath() const { return profilePath_; }
  const std::string& ProfileType() const { return profileType_; }
  const std::string& ProfileUser() const { return profileUser_; }
  const std::string& UICodePage() const { return uiCodePage_; }
  const std::string& DBCodePage() const { return dbCodePage_; }
  const std::string& SysCodePage() const { return sysCodePage_; }
  TConvertKind UIConvertKind() const { return uiConvertKind_; }
  TConvertKind DataConvertKind() const { return dataConvertKind_; }
  bool SupportCallBack() const { return supportCallBack_; }
  const std::string& IniFileName() const { return iniFileName_; }
  const std::string& ErrorMsgId() const { return errorMsgId_; }
  const std::vector<std::string>& WorkDLLPaths() const { return workDLLPaths_; }
  const std::string& Version() const { return version_; }

 protected:
  TBatonIniBase() = default;
  // Registry, installation folder and settings file; false when reading must stop.
  bool ReadCommonStart(const char* folderValue, const char* iniName, std::string& folder);
  void DeriveConvertKinds();
  // [WorkDLLPath] lines "name=value" resolved to folders, or the single default folder.
  void ResolveWorkFolders(const std::string& installFolder, const char* defaultSubFolder);

  std::string profilePath_;
  std::string profileType_ = "0";
  std::string profileUser_ = "Default";
  std::string uiCodePage_;
  std::string dbCodePage_ = "936";
  std::string sysCodePage_;
  TConvertKind uiConvertKind_ = 0;
  TConvertKind dataConvertKind_ = 0;
  bool supportCallBack_ = false;
  std::string iniFileName_;
  std::string errorMsgId_;
  std::vector<std::string> workDLLPaths_;
  std::string version_;
};

class TBatonIniC : public TBatonIniBase {
 public:
  TBatonIniC();

  const std::string& ClientPath() const { return clientPath_; }
  // [0, i] server name, [1, i] port; Empty when no server is configured.
  const Variant& ServerList() const { return serverList_; }
  const std::string& LangType() const { return langType_; }
  const std::string& CreateGifBeforeSendQM() const { return createGifBeforeSendQM_; }
  const std::string& AutoCheckNewMsg() const { return autoCheckNewMsg_; }
  const std::string& CheckInterval() const { return checkInterval_; }
  const std::string& PopupMsg() const { return popupMsg_; }
  const std::string& LoginCheck() const { return loginCheck_; }

 private:
  bool Read();

  std::string clientPath_;
  Variant serverList_;
  std::string langType_ = "ENG";
  std::string createGifBeforeSendQM_ = "Y";
  std::string autoCheckNewMsg_ = "1";
  std::string checkInterval_ = "1";
  std::string popupMsg_ = "1";
  std::string loginCheck_ = "0";
};

class TBatonIniS : public TBatonIniBase {
 public:
  TBatonIniS();

  const std::string& ServerPath() const { return serverPath_; }
  // 4 x 8 array of database settings (main, temporary, password control, exchange).
  const Variant& DBConfig() const { return dbConfig_; }
  // 1 ORACLE, 2 DB2, else 0.
  std::uint8_t DBKind() const { return dbKind_; }
  const std::string& SystemControlAddress() const { return systemControlAddress_; }
  const std::string& OtherSystemControlAddress() const { return otherSystemControlAddress_; }
  // Replaces the caller's list with a copy of WorkDLLPaths.
  void GetDLLPath(std::vector<std::string>& list) const { list = workDLLPaths_; }

 private:
  bool Read();
  void ReadDBConfig(const TIniFile& ini);

  std::string serverPath_;
  Variant dbConfig_;
  std::uint8_t dbKind_ = 0;
  std::string systemControlAddress_;
  std::string otherSystemControlAddress_;
};

}  // namespace nv
