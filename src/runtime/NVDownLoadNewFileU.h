#pragma once
// NVDownLoadNewFileU: before the framework loads a server-side work library it asks whether
// the local copy is out of date and, through the download library "NVDownLoad.dll", fetches
// the new file as a zip archive into the temporary folder and unpacks it over the local copy.
// The upgrader's registry value "GoAhead" switches the whole mechanism on or off.
#include <functional>
#include <string>
#include <string_view>

namespace nv {

inline constexpr std::string_view kDownloadLibraryName = "NVDownLoad.dll";

class TNVDownLoad {
 public:
  using TCompareFileToDown = int(const char* modifyStamp, const char* localFile);
  using TNVDownLoadFileEx = int(int mode, const char* server, const char* product,
                                const char* timeout, const char* source, const char* target,
                                unsigned short* result, char* message, char* message2,
                                int reserved);
  using TUnZipFilesOrDir = int(const char* archive, const char* folder, char* message,
                               char* message2);

  // Entry points that are missing stay null; nothing raises.
  explicit TNVDownLoad(std::string_view libraryName = kDownloadLibraryName);
  ~TNVDownLoad();
  TNVDownLoad(const TNVDownLoad&) = delete;
  TNVDownLoad& operator=(const TNVDownLoad&) = delete;

  TCompareFileToDown* CompareFileToDown() const { return compare_; }
  TNVDownLoadFileEx* NVDownLoadFileEx() const { return download_; }
  TUnZipFilesOrDir* UnZipFilesOrDir() const { return unzip_; }
  const std::string& Server() const { return server_; }

 private:
  void* handle_ = nullptr;
  TCompareFileToDown* compare_ = nullptr;
  TNVDownLoadFileEx* download_ = nullptr;
  TUnZipFilesOrDir* unzip_ = nullptr;
  std::string server_;  // the library's server text; always empty
};

// Asked in interactive mode when a download or unpack failed: true to retry, false to give
// up (Abort). The framework installs one that shows the error dialog with Abort and Retry;
// without one every failure aborts.
using TDownloadRetryPrompt = std::function<bool(const std::string& failure)>;
void SetDownloadRetryPrompt(TDownloadRetryPrompt prompt);

// True when the file is current, was updated, or the upgrader is off; false with the reason
// in message (and in the download log) otherwise. Never raises.
bool DownloadNewFile(std::string_view modifyStamp, std::string_view sourceFolder,
                     std::string_view localFile, bool interactive, std::string& message,
                     std::string_view libraryName = kDownloadLibraryName);
// Reads stamp and source from a file-list entry of the server, then DownloadNewFile.
bool UpdateFileFromList(std::string_view entry, std::string_view localFile, std::string& message,
                        bool interactive, std::string_view libraryName = kDownloadLibraryName);

// The entry's modification stamp and source folder ("<Modify>..</Modify>" or
// "Modify = '..'", "<Path>..</Path>" or "Path = '..'").
std::string FileListModifyStamp(std::string_view entry);
std::string FileListSourceFolder(std::string_view entry);

}  // namespace nv
