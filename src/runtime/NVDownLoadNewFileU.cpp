#include "runtime/NVDownLoadNewFileU.h"

#include <cstring>

#include "platform/core/Format.h"
#include "platform/core/SysUtils.h"
#include "platform/os/FileUtils.h"
#include "platform/os/Modules.h"
#include "platform/os/Registry.h"
#include "runtime/LibStrs.h"

namespace nv {
namespace {

constexpr int kMessageSize = 256;
constexpr const char* kLogName = "NVDownLoadNewFileU";

TDownloadRetryPrompt& RetryPrompt() {
  static TDownloadRetryPrompt prompt;
  return prompt;
}

struct TDownloadFailure {
  std::string text;
};

void Log(const std::string& text) {
  WriteToAlertFileIn(GetHostProgramFolder(), kLogName, text, "D");
}

// The text between the tag pair, else between "Name = '" and the next quote.
std::string EntryValue(std::string_view entry, std::string_view name) {
  const std::string open = "<" + std::string(name) + ">";
  const std::string close = "</" + std::string(name) + ">";
  size_t start = entry.find(open);
  size_t end = std::string_view::npos;
  if (start != std::string_view::npos) {
    start += open.size();
    end = entry.find(close, start);
  } else {
    const std::string quoted = std::string(name) + " = '";
    start = entry.find(quoted);
    if (start == std::string_view::npos) return {};
    start += quoted.size();
    end = entry.find('\'', start);
  }
  return end == std::string_view::npos ? std::string()
                                       : std::string(entry.substr(start, end - start));
}

bool UpgraderIsOn() {
  try {
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKeyReadOnly("Software\\VOXA\\Mendwright")) {
      Log("Read Upgrader Registry Error: No UPGRADER_REGISTRY_PATH");
      return false;
    }
    return registry.GetDataType("GoAhead") == TRegDataType::rdString &&
           Trim(registry.ReadString("GoAhead")) == "1";
  } catch (const std::exception&) {
    Log("Read Upgrader Registry Error: No UPGRADER_REGISTRY_PATH");
    return false;
  }
}

std::string WithBackslash(std::string_view folder) {
  const std::string text(folder);
  return !text.empty() && (text.back() == '\\' || text.back() == '/') ? text : text + "\\";
}

// One step with the library, repeated while the user asks to retry.
void RunStep(bool interactive, const std::string& failureFormat, const std::string& localFile,
             const std::function<bool(std::string&)>& step) {
  for (;;) {
    std::string reason;
    if (step(reason)) return;
    const std::string failure = Format(failureFormat, {localFile, reason});
    if (!interactive || !RetryPrompt() || !RetryPrompt()(failure)) throw TDownloadFailure{failure};
  }
}

std::string Buffered(const char* buffer) {
  return std::string(buffer, strnlen(buffer, kMessageSize));
}

}  // namespace

TNVDownLoad::TNVDownLoad(std::string_view libraryName) {
  handle_ = LoadLibrary(libraryName);
  compare_ = reinterpret_cast<TCompareFileToDown*>(GetProcAddress(handle_, "CompareFileToDown"));
  download_ = reinterpret_cast<TNVDownLoadFileEx*>(GetProcAddress(handle_, "NVDownLoadFileEx"));
  unzip_ = reinterpret_cast<TUnZipFilesOrDir*>(GetProcAddress(handle_, "UnZipFilesOrDir"));
}

TNVDownLoad::~TNVDownLoad() {
  FreeLibrary(handle_);
}

void SetDownloadRetryPrompt(TDownloadRetryPrompt prompt) {
  RetryPrompt() = std::move(prompt);
}

std::string FileListModifyStamp(std::string_view entry) {
  return EntryValue(entry, "Modify");
}

std::string FileListSourceFolder(std::string_view entry) {
  return ExtractFilePath(EntryValue(entry, "Path"));
}

bool DownloadNewFile(std::string_view modifyStamp, std::string_view sourceFolder,
                     std::string_view localFile, bool interactive, std::string& message,
                     std::string_view libraryName) {
  if (!UpgraderIsOn()) return true;
  try {
    const TNVDownLoad library(libraryName);
    if (library.CompareFileToDown() == nullptr)
      throw TDownloadFailure{"function NvDownLoad.CompareFileToDown not found!"};
    const std::string stamp(modifyStamp);
    const std::string local(localFile);
    if (library.CompareFileToDown()(stamp.c_str(), local.c_str()) == 0) return true;
    if (local.find("\\\\") != std::string::npos)
      throw TDownloadFailure{Format("Net File can't update![%s]", {local})};

    const std::string name = ExtractFileName(local);
    const std::string source = WithBackslash(Trim(sourceFolder)) + LowerCase(name) + ".zip";
    const std::string target = WithBackslash(GetTempPath()) + name + ".zip";
    RunStep(interactive, "DownLoad new file[%s] failed. %s", local, [&](std::string& reason) {
      message.clear();
      if (library.NVDownLoadFileEx() == nullptr) {
        reason = "function NvDownLoad.NVDownLoadFile not found!";
        return false;
      }
      char buffer[kMessageSize] = {};
      char second[kMessageSize] = {};
      unsigned short result = 0;
      const int ok =
          library.NVDownLoadFileEx()(0, library.Server().c_str(), "VOXA", "60", source.c_str(),
                                     target.c_str(), &result, buffer, second, 0);
      reason = Buffered(buffer);
      return ok != 0;
    });
    const std::string folder = ExtractFilePath(local);
    RunStep(interactive, "Unzip new file[%s] failed. %s", local, [&](std::string& reason) {
      if (library.UnZipFilesOrDir() == nullptr) {
        reason = "function NvDownLoad.UnZipFilesOrDir not found!";
        return false;
      }
      char buffer[kMessageSize] = {};
      char second[kMessageSize] = {};
      const int ok = library.UnZipFilesOrDir()(target.c_str(), folder.c_str(), buffer, second);
      reason = Buffered(buffer);
      return ok != 0;
    });
    return true;
  } catch (const TDownloadFailure& failure) {
    message = failure.text;
  } catch (const std::exception& error) {
    message = error.what();
  }
  Log(message);
  return false;
}

bool UpdateFileFromList(std::string_view entry, std::string_view localFile, std::string& message,
                        bool interactive, std::string_view libraryName) {
  return DownloadNewFile(FileListModifyStamp(entry), FileListSourceFolder(entry), localFile,
                         interactive, message, libraryName);
}

}  // namespace nv
