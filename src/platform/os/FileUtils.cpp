#include "platform/os/FileUtils.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/os/AnsiText.h"

namespace nv {

namespace {

constexpr std::string_view kDelimiters = "/\\";

std::size_t LastDelimiter(std::string_view path) {
  return FindLastDelimiter(path, kDelimiters);
}

bool EndsWithDelimiter(std::string_view path) {
  return !path.empty() && LastDelimiter(path) == path.size() - 1;
}

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool StatPath(std::string_view path, struct stat& info) {
  if (path.empty()) return false;
  return ::stat(NativePath(path).c_str(), &info) == 0;
}

}  // namespace

std::string NativePath(std::string_view path) {
  return ReplaceSingleByteChar(path, '\\', '/');
}

bool IsPathDelimiterChar(char c) {
  return c == '/' || c == '\\';
}

bool PathStartsWithDrive(std::string_view path) {
  if (!path.empty() && path.front() == '/') return true;
  return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
  std::string result(path);
  if (!EndsWithDelimiter(result)) result += PathDelim;
  return result;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
  std::string result(path);
  if (EndsWithDelimiter(result)) result.pop_back();
  return result;
}

std::string ExtractFilePath(std::string_view fileName) {
  std::size_t delimiter = LastDelimiter(fileName);
  return delimiter == std::string_view::npos ? std::string()
                                             : std::string(fileName.substr(0, delimiter + 1));
}

std::string ExtractFileName(std::string_view fileName) {
  std::size_t delimiter = LastDelimiter(fileName);
  return std::string(delimiter == std::string_view::npos ? fileName
                                                         : fileName.substr(delimiter + 1));
}

std::string ExtractFileExt(std::string_view fileName) {
  std::size_t delimiter = LastDelimiter(fileName);
  std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || (delimiter != std::string_view::npos && dot < delimiter))
    return std::string();
  return std::string(fileName.substr(dot));
}

std::string ChangeFileExt(std::string_view fileName, std::string_view extension) {
  std::size_t extLength = ExtractFileExt(fileName).size();
  return std::string(fileName.substr(0, fileName.size() - extLength)) + std::string(extension);
}

bool FileExists(std::string_view fileName) {
  struct stat info {};
  return StatPath(fileName, info) && S_ISREG(info.st_mode);
}

bool DirectoryExists(std::string_view folder) {
  struct stat info {};
  return StatPath(folder, info) && S_ISDIR(info.st_mode);
}

bool CreateDir(std::string_view folder) {
  std::string native = ExcludeTrailingPathDelimiter(NativePath(folder));
  return !native.empty() && ::mkdir(native.c_str(), 0777) == 0;
}

bool ForceDirectories(std::string_view folder) {
  if (folder.empty()) return false;
  std::string native = ExcludeTrailingPathDelimiter(NativePath(folder));
  if (native.empty() || DirectoryExists(native)) return true;  // empty: the root itself
  std::string parent = ExcludeTrailingPathDelimiter(ExtractFilePath(native));
  if (!parent.empty() && parent != native && !ForceDirectories(parent)) return false;
  // another process may have made it in between
  return CreateDir(native) || DirectoryExists(native);
}

bool DeleteFile(std::string_view fileName) {
  return !fileName.empty() && ::unlink(NativePath(fileName).c_str()) == 0;
}

bool ReadWholeFile(std::string_view fileName, std::string& content) {
  content.clear();
  if (fileName.empty()) return false;
  int fd = ::open(NativePath(fileName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      content.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      ok = false;  // a folder, for one, opens but cannot be read
      break;
    }
  }
  ::close(fd);
  if (!ok) content.clear();
  return ok;
}

std::string GetTempPath() {
  const char* tmpdir = std::getenv("TMPDIR");
  return IncludeTrailingPathDelimiter(tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp");
}

std::string GetUserName() {
  std::vector<char> buffer(16384);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr && found->pw_name != nullptr)
    return found->pw_name;
  // a container user without a password entry still has a login name in the environment
  for (const char* variable : {"LOGNAME", "USER"})
    if (const char* name = std::getenv(variable); name != nullptr && *name != '\0') return name;
  return std::string();
}

std::string GetHostProgramFileName() {
  std::vector<char> buffer(4096);
  ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return std::string();
  return std::string(buffer.data(), static_cast<std::size_t>(n));
}

std::string GetHostProgramFolder() {
  return ExtractFilePath(GetHostProgramFileName());
}

}  // namespace nv
