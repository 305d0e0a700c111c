#include "platform/os/ShellApi.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

#include "platform/os/AnsiText.h"
#include "platform/os/FileUtils.h"

namespace nv {

namespace {

std::mutex journalLock;
std::vector<TShellRequest> journal;

void Record(const TShellRequest& request) {
  std::lock_guard<std::mutex> guard(journalLock);
  journal.push_back(request);
}

bool HasDisplay() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"})
    if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') return true;
  return false;
}

std::string FindOnPath(std::string_view program) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "/usr/bin:/bin";
  while (!folders.empty()) {
    std::size_t colon = folders.find(':');
    std::string folder(folders.substr(0, colon));
    folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    if (folder.empty()) continue;
    std::string candidate = IncludeTrailingPathDelimiter(folder) + std::string(program);
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::string();
}

bool IsUrl(std::string_view file) {
  return file.find("://") != std::string_view::npos || SameNameText(file.substr(0, 7), "mailto:");
}

bool IsExecutableFile(const std::string& file) {
  return FileExists(file) && ::access(file.c_str(), X_OK) == 0;
}

std::vector<std::string> SplitParameters(std::string_view parameters) {
  std::vector<std::string> words;
  std::size_t pos = 0;
  while (pos < parameters.size()) {
    while (pos < parameters.size() && parameters[pos] == ' ') ++pos;
    std::size_t end = parameters.find(' ', pos);
    if (end == std::string_view::npos) end = parameters.size();
    if (end > pos) words.emplace_back(parameters.substr(pos, end - pos));
    pos = end;
  }
  return words;
}

// Starts the program detached (its parent exits at once, so no zombie is left behind) and
// reports whether exec succeeded, through a pipe that exec closes.
bool StartDetached(const std::vector<std::string>& args, const std::string& directory) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  int status[2];
  if (::pipe2(status, O_CLOEXEC) != 0) return false;
  pid_t child = ::fork();
  if (child < 0) {
    ::close(status[0]);
    ::close(status[1]);
    return false;
  }
  if (child == 0) {
    if (::fork() == 0) {
      ::setsid();
      int null = ::open("/dev/null", O_RDWR);
      if (null >= 0) {
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
      }
      if (!directory.empty() && ::chdir(directory.c_str()) != 0) {
        int error = errno;
        (void)!::write(status[1], &error, sizeof error);
        ::_exit(127);
      }
      ::execv(argv[0], argv.data());
      int error = errno;
      (void)!::write(status[1], &error, sizeof error);
      ::_exit(127);
    }
    ::_exit(0);
  }
  ::close(status[1]);
  int waited = 0;
  while (::waitpid(child, &waited, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t n;
  while ((n = ::read(status[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  ::close(status[0]);
  return n == 0;
}

// The file as the file system knows it: relative names are taken in the given folder.
std::string Locate(const TShellRequest& request) {
  std::string located = NativePath(request.file);
  if (!located.empty() && located.front() != '/' && !request.directory.empty())
    located = IncludeTrailingPathDelimiter(NativePath(request.directory)) + located;
  return located;
}

bool Open(TShellRequest& request) {
  std::string directory = NativePath(request.directory);
  std::string located = Locate(request);
  // the suite names its programs "x.exe"; here the program is "x"
  if (!IsExecutableFile(located) && SameNameText(ExtractFileExt(located), ".exe"))
    located = ChangeFileExt(located, "");
  if (IsExecutableFile(located)) {
    std::vector<std::string> args{located};
    for (std::string& word : SplitParameters(request.parameters)) args.push_back(std::move(word));
    request.program = located;
    request.launched = StartDetached(args, directory);
    return request.launched;
  }
  bool url = IsUrl(request.file);
  if (!url && !FileExists(located) && !DirectoryExists(located)) return false;
  std::string opener = HasDisplay() ? FindOnPath("xdg-open") : std::string();
  if (opener.empty()) return true;  // headless: the journal is the record of it
  request.program = "xdg-open";
  request.launched = StartDetached({opener, url ? request.file : located}, directory);
  return request.launched;
}

}  // namespace

bool ShellExecute(std::string_view verb, std::string_view file, std::string_view parameters,
                  std::string_view directory, int showCmd) {
  TShellRequest request{std::string(verb.empty() ? "open" : verb),
                        std::string(file),
                        std::string(parameters),
                        std::string(directory),
                        showCmd,
                        {},
                        false};
  bool ok = SameNameText(request.verb, "open") ? Open(request) : true;
  Record(request);
  return ok;
}

std::vector<TShellRequest> ShellJournal() {
  std::lock_guard<std::mutex> guard(journalLock);
  return journal;
}

void ClearShellJournal() {
  std::lock_guard<std::mutex> guard(journalLock);
  journal.clear();
}

}  // namespace nv
