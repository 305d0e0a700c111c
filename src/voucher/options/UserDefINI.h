#pragma once
// UserDefINI: the format defaults file "UserDef.ini" in the client folder, which names per
// program and document type the voucher format to print with (section "VoucherFormatDef",
// key program code + "_" + document type with "=" written as "$EQUAL$"). Read only.
#include <string>
#include <string_view>
#include <vector>

namespace nv {

inline constexpr std::string_view kNoDefaultFormat = "<New>";

class TUserDefIni {
 public:
  TUserDefIni();

  // The format stored for the pair, or "<New>" when there is none.
  std::string FormatFor(std::string_view programCode, std::string_view documentType) const;

  const std::string& FileName() const { return fileName_; }
  // "key=value", one per key of the section, in the file's order.
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  void Load();

  std::string fileName_;
  std::vector<std::string> lines_;
};

}  // namespace nv
