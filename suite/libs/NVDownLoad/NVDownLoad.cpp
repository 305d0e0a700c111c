#include "NVDownLoad.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kMessageSize = 256;

void Report(char* buffer, const std::string& text) {
  if (buffer == nullptr) return;
  std::snprintf(buffer, kMessageSize, "%s", text.c_str());
}

std::string Native(const char* path) {
  std::string result = path == nullptr ? "" : path;
  for (char& c : result) {
    if (c == '\\') c = '/';
  }
  if (result.rfind("file://", 0) == 0) result.erase(0, 7);
  return result;
}

// A temporary name beside the target, so that the final rename stays on one file system.
fs::path TemporaryBeside(const fs::path& target) {
  static std::mt19937 random{std::random_device{}()};
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".nvdl-%08x", static_cast<unsigned>(random()));
  return target.parent_path() / (target.filename().string() + suffix);
}

bool ReadStamp(const std::string& text, std::tm& when) {
  std::memset(&when, 0, sizeof when);
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  const size_t first = text.find_first_not_of(' ');
  const std::string trimmed =
      first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (trimmed.find_first_of("-/") != std::string::npos) {
    char sep1 = 0, sep2 = 0;
    if (std::sscanf(trimmed.c_str(), "%d%c%d%c%d %d:%d:%d", &y, &sep1, &mo, &sep2, &d, &h, &mi,
                    &s) < 5)
      return false;
  } else if ((trimmed.size() == 14 || trimmed.size() == 8) &&
             trimmed.find_first_not_of("0123456789") == std::string::npos) {
    std::sscanf(trimmed.c_str(), "%4d%2d%2d%2d%2d%2d", &y, &mo, &d, &h, &mi, &s);
  } else {
    return false;
  }
  if (y < 1900 || mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 ||
      s < 0 || s > 60)
    return false;
  when.tm_year = y - 1900;
  when.tm_mon = mo - 1;
  when.tm_mday = d;
  when.tm_hour = h;
  when.tm_min = mi;
  when.tm_sec = s;
  when.tm_isdst = -1;
  return true;
}

struct PendingFile {
  fs::path temporary;
  fs::path target;
};

void Discard(const std::vector<PendingFile>& pending) {
  std::error_code ignored;
  for (const auto& file : pending) fs::remove(file.temporary, ignored);
}

// Entry names come from the archive: one that climbs out of the folder is refused.
bool SafeEntryName(const std::string& name) {
  if (name.empty() || name.front() == '/' || name.front() == '\\') return false;
  if (name.size() > 1 && name[1] == ':') return false;
  for (const auto& part : fs::path(name)) {
    if (part == "..") return false;
  }
  return true;
}

bool ExtractEntry(zip_t* archive, zip_uint64_t index, const fs::path& target,
                  const fs::path& temporary, std::string& reason) {
  zip_file_t* entry = zip_fopen_index(archive, index, 0);
  if (entry == nullptr) {
    reason = std::string("cannot read entry: ") + zip_strerror(archive);
    return false;
  }
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (!out) {
    zip_fclose(entry);
    reason = "cannot write " + temporary.string();
    return false;
  }
  char buffer[65536];
  bool ok = true;
  for (;;) {
    zip_int64_t n = zip_fread(entry, buffer, sizeof buffer);
    if (n < 0) {
      reason = std::string("damaged entry: ") + zip_file_strerror(entry);
      ok = false;
      break;
    }
    if (n == 0) break;
    out.write(buffer, n);
  }
  zip_fclose(entry);
  out.close();
  if (ok && out.fail()) {
    reason = "cannot write " + temporary.string();
    ok = false;
  }
  (void)target;
  return ok;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int CompareFileToDown(const char* modifyStamp,
                                                                        const char* localFile) {
  try {
    struct stat info {};
    if (::stat(Native(localFile).c_str(), &info) != 0) return 1;
    std::tm when{};
    if (!ReadStamp(modifyStamp == nullptr ? "" : modifyStamp, when)) return 0;
    const std::time_t stamp = std::mktime(&when);
    if (stamp == static_cast<std::time_t>(-1)) return 0;
    return info.st_mtime < stamp ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

extern "C" __attribute__((visibility("default"))) int NVDownLoadFileEx(
    int mode, const char* server, const char* product, const char* timeout, const char* source,
    const char* target, unsigned short* result, char* message, char* message2, int reserved) {
  if (result != nullptr) *result = 0;
  try {
    const fs::path from = Native(source);
    const fs::path to = Native(target);
    std::error_code error;
    if (!fs::is_regular_file(from, error)) {
      Report(message, "Source file not found: " + from.string());
      return 0;
    }
    if (!to.parent_path().empty()) fs::create_directories(to.parent_path(), error);
    const fs::path temporary = TemporaryBeside(to);
    if (!fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, error)) {
      Report(message, "Cannot copy " + from.string() + ": " + error.message());
      fs::remove(temporary, error);
      return 0;
    }
    fs::rename(temporary, to, error);
    if (error) {
      Report(message, "Cannot write " + to.string() + ": " + error.message());
      std::error_code ignored;
      fs::remove(temporary, ignored);
      return 0;
    }
    Report(message, "");
    if (result != nullptr) *result = 1;
    return 1;
  } catch (const std::exception& e) {
    Report(message, e.what());
    return 0;
  }
}

extern "C" __attribute__((visibility("default"))) int UnZipFilesOrDir(const char* archiveName,
                                                                      const char* folder,
                                                                      char* message,
                                                                      char* message2) {
  std::vector<PendingFile> pending;
  zip_t* archive = nullptr;
  try {
    const fs::path base = Native(folder);
    int errorCode = 0;
    archive = zip_open(Native(archiveName).c_str(), ZIP_RDONLY, &errorCode);
    if (archive == nullptr) {
      zip_error_t error;
      zip_error_init_with_code(&error, errorCode);
      Report(message,
             "Cannot open archive " + Native(archiveName) + ": " + zip_error_strerror(&error));
      zip_error_fini(&error);
      return 0;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    std::string reason;
    for (zip_int64_t i = 0; i < count && reason.empty(); ++i) {
      const char* rawName = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
      const std::string name = rawName == nullptr ? "" : Native(rawName);
      if (!SafeEntryName(name)) {
        reason = "Entry outside the folder: " + name;
        break;
      }
      const fs::path target = base / name;
      std::error_code error;
      if (name.back() == '/') {
        fs::create_directories(target, error);
        if (error) reason = "Cannot create " + target.string() + ": " + error.message();
        continue;
      }
      fs::create_directories(target.parent_path(), error);
      const fs::path temporary = TemporaryBeside(target);
      pending.push_back({temporary, target});
      ExtractEntry(archive, static_cast<zip_uint64_t>(i), target, temporary, reason);
    }
    zip_close(archive);
    archive = nullptr;
    if (!reason.empty()) {
      Discard(pending);
      Report(message, reason);
      return 0;
    }
    for (const auto& file : pending) {
      std::error_code error;
      fs::rename(file.temporary, file.target, error);
      if (error) {
        Discard(pending);
        Report(message, "Cannot replace " + file.target.string() + ": " + error.message());
        return 0;
      }
    }
    Report(message, "");
    return 1;
  } catch (const std::exception& e) {
    if (archive != nullptr) zip_discard(archive);
    Discard(pending);
    Report(message, e.what());
    return 0;
  }
}
