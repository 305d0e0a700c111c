#include "runtime/ORNIXGeneratorU.h"

#include <cxxabi.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <typeinfo>

#include "platform/core/CodePage.h"
#include "platform/core/DateUtils.h"
#include "platform/core/Format.h"
#include "platform/os/FileUtils.h"
#include "platform/os/Registry.h"

namespace nv {
namespace {

// Where the suite's machines fall back to "C:\Temp" when the registry cannot be read.
constexpr std::string_view kLastResortFolder = "/tmp";

unsigned char RotateRight(unsigned char value, int places) {
  places %= 8;
  return places == 0 ? value
                     : static_cast<unsigned char>((value >> places) | (value << (8 - places)));
}

unsigned char RotateLeft(unsigned char value, int places) {
  places %= 8;
  return places == 0 ? value
                     : static_cast<unsigned char>((value << places) | (value >> (8 - places)));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

const std::string kHyphens(34, '-');

}  // namespace

std::string ErrorClassName(const std::exception& error) {
  const char* mangled = typeid(error).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  std::string name = status == 0 && demangled ? demangled.get() : mangled;
  const size_t scope = name.rfind("::");
  return scope == std::string::npos ? name : name.substr(scope + 2);
}

std::string EncodeDBPassword(std::string_view plain) {
  const std::string_view text = plain.empty() ? kEmptyPasswordText : plain;
  std::string scrambled;
  for (size_t i = 0; i < text.size(); ++i) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%.2x",
                  RotateRight(static_cast<unsigned char>(text[i]), static_cast<int>((i + 1) % 8)));
    scrambled += pair;
  }
  return scrambled.empty() ? std::string(kNeverHasPasswordText) : scrambled;
}

std::string DecodeDBPassword(std::string_view scrambled) {
  std::string plain;
  try {
    for (size_t a = 1; 2 * a <= scrambled.size(); ++a) {
      const std::string pair(scrambled.substr(2 * a - 2, 2));
      const int high = HexDigit(pair[0]);
      const int low = HexDigit(pair[1]);
      if (high < 0 || low < 0) throw EConvertError("'$" + pair + "' is not a valid integer value");
      plain += static_cast<char>(
          RotateLeft(static_cast<unsigned char>(high * 16 + low), static_cast<int>(a % 8)));
    }
  } catch (const EConvertError& error) {
    WriteErrorReport(&error, EncodeDBPassword("DecodeSQLSa"), SysText("解析 Sa 时发生错误!"));
    return std::string(kPasswordErrorText);
  }
  return plain == kEmptyPasswordText ? std::string() : plain;
}

void WriteErrorReport(const std::exception* error, std::string_view location,
                      std::string_view programmerMessage) {
  const std::string place = Trim(location);
  WriteGeneratorLog(kHyphens + (place.empty() ? "" : " on " + place + " ") + kHyphens);
  if (error != nullptr) {
    WriteGeneratorLog(SysText("讯息信息:"));
    int count = 1;
    if (const auto* db = dynamic_cast<const EDBEngineError*>(error)) {
      count = static_cast<int>(db->Errors().size());
      int n = 0;
      for (const auto& sub : db->Errors()) {
        WriteGeneratorLog(Format("EDBEngineError Error %.2d: Code: %d, Message: %s",
                                 {++n, sub.code, sub.message}));
      }
    } else if (const auto* os = dynamic_cast<const EOSError*>(error)) {
      const auto* win32 = dynamic_cast<const EWin32Error*>(os);
      WriteGeneratorLog(Format("EWin32Error Error %.2d: Code: %d, Message: %s",
                               {1, win32 != nullptr ? win32->ErrorCode() : 0, os->what()}));
    } else if (const auto* io = dynamic_cast<const EInOutError*>(error)) {
      WriteGeneratorLog(Format("EInOutError Error %.2d: Code: %d, Message: %s",
                               {1, io->ErrorCode(), io->what()}));
    } else {
      // The message is appended to the format text itself, as the report always did.
      std::string format = std::string("Exception is %s\r\nMessage %.2d: ") + error->what();
      std::string line;
      try {
        line = Format(format, {ErrorClassName(*error), 1});
      } catch (const EConvertError&) {
        line = "Exception is " + ErrorClassName(*error) + "\r\nMessage 01: " + error->what();
      }
      WriteGeneratorLog(line);
    }
    WriteGeneratorLog(Format("ErrorMessage Count: %d", {count}));
  }
  const std::string message = Trim(programmerMessage);
  if (!message.empty()) WriteGeneratorLog("Programer Message: " + message);
}

std::string GetLogRoot() {
  try {
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    std::string folder;
    if (registry.OpenKeyReadOnly("Software\\NVT\\Baton")) {
      folder = registry.ReadString("ClientPath");
      if (folder.empty()) folder = registry.ReadString("ServerPath");
    }
    if (folder.empty()) folder = GetTempPath();
    return folder.empty() ? std::string(kLastResortFolder) : folder;
  } catch (const std::exception&) {
    return std::string(kLastResortFolder);
  }
}

bool WriteGeneratorLog(std::string_view text) {
  try {
    const std::string folder = ExcludeTrailingPathDelimiter(GetLogRoot()) + "\\Log";
    if (!DirectoryExists(folder) && !ForceDirectories(folder)) return false;
    const TDateTime now = Now();
    const std::string fileName =
        folder + "\\Alert_ORNIXGenerator_" + FormatDateTime("yyyymmdd", now) + ".log";
    std::ofstream file(NativePath(fileName), std::ios::app | std::ios::binary);
    if (!file) return false;
    file << "[" << DateTimeToStr(now) << "] " << text << "\r\n";
    file.close();
    return !file.fail();
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace nv
