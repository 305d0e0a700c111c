#pragma once
// A fresh folder per test, removed afterwards.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace nv::test {

class TTempFolder {
 public:
  TTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "nv_os_test_XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // The folder with a trailing "/".
  std::string Path() const { return path_ + "/"; }

  std::string Write(const std::string& name, const std::string& content) const {
    std::string file = Path() + name;
    std::ofstream(file, std::ios::binary) << content;
    return file;
  }

 private:
  std::string path_;
};

}  // namespace nv::test
