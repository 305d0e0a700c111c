#pragma once
// A machine of the suite for one test: a fresh folder holding the registry file (named
// through BATON_REGISTRY), the installation folders below it, and a fixed clock.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/core/CodePage.h"
#include "platform/core/DateUtils.h"

namespace nv::testing {

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

inline void WriteFile(const std::filesystem::path& file, const std::string& content) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << content;
}

class SuiteMachine : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "nv_runtime_XXXXXX").string();
    root_ = std::string(::mkdtemp(pattern.data())) + "/";
    registryFile_ = root_ + "registry.reg";
    ::setenv("BATON_REGISTRY", registryFile_.c_str(), 1);
    SetClockForTesting(EncodeDate(2004, 3, 7) + EncodeTime(9, 5, 3, 45));
    SetSystemCodePage(kCodePageGB);
  }
  void TearDown() override {
    SetClockForTesting(-1);
    SetSystemCodePage(0);
    ::unsetenv("BATON_REGISTRY");
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // Registry values under HKEY_LOCAL_MACHINE\<key>, each line "name"="value".
  void Registry(const std::string& body, const std::string& key = "Software\\NVT\\Baton") {
    registry_ += "[HKEY_LOCAL_MACHINE\\" + key + "]\n" + body + "\n";
    WriteFile(registryFile_, "REGEDIT4\n" + registry_);
  }
  // The usual installation: client and server folders below the test folder.
  void Install(const std::string& profileType = "0") {
    Registry("\"ClientPath\"=\"" + ClientPath() + "\"\n\"ServerPath\"=\"" + ServerPath() +
             "\"\n\"ProfileType\"=\"" + profileType + "\"");
    std::filesystem::create_directories(ClientPath());
    std::filesystem::create_directories(ServerPath());
  }
  std::string ClientPath() const { return root_ + "client/"; }
  std::string ServerPath() const { return root_ + "server/"; }

  std::string root_;
  std::string registryFile_;
  std::string registry_;
};

}  // namespace nv::testing
