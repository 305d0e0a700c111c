#include "voucher/options/UserDefINI.h"

#include "platform/core/SysUtils.h"
#include "platform/os/FileUtils.h"
#include "platform/os/IniFiles.h"
#include "runtime/BatonINI.h"

namespace nv {
namespace {

constexpr std::string_view kSection = "VoucherFormatDef";

std::string KeyFor(std::string_view programCode, std::string_view documentType) {
  std::string key = std::string(programCode) + "_";
  for (char c : documentType) {
    if (c == '=') {
      key += "$EQUAL$";
    } else {
      key += c;
    }
  }
  return key;
}

}  // namespace

TUserDefIni::TUserDefIni() {
  const std::string folder = TBatonIniC().ClientPath();
  const bool delimited = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
  fileName_ = folder + (delimited ? "" : "\\") + "UserDef.ini";
  Load();
}

void TUserDefIni::Load() {
  lines_.clear();
  if (!FileExists(fileName_)) return;
  const TIniFile ini(fileName_);
  for (const std::string& name : ini.ReadSection(kSection)) {
    lines_.push_back(name + "=" + ini.ReadString(kSection, name, ""));
  }
}

std::string TUserDefIni::FormatFor(std::string_view programCode,
                                   std::string_view documentType) const {
  const std::string key = KeyFor(programCode, documentType);
  for (const std::string& line : lines_) {
    const size_t equals = line.find('=');
    if (SameText(std::string_view(line).substr(0, equals), key)) return line.substr(equals + 1);
  }
  return std::string(kNoDefaultFormat);
}

}  // namespace nv
