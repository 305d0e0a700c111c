#include "platform/os/PlatformInit.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "TempFolder.h"
#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"

namespace nv {
namespace {

const char kKeyLine[] = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage]\n";

class PlatformInitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("BATON_ACP");
    SetSystemCodePage(0);
  }
  void TearDown() override {
    ::unsetenv("BATON_ACP");
    ::unsetenv("BATON_REGISTRY");
    SetSystemCodePage(0);
  }
  void UseRegistry(const std::string& text) {
    ::setenv("BATON_REGISTRY", folder_.Write("registry.reg", text).c_str(), 1);
  }
  test::TTempFolder folder_;
};

TEST_F(PlatformInitTest, CodePageFromTheRegistryFile) {
  const struct {
    const char* name;
    std::string registry;
    int expected;
  } cases[] = {
      {"string value", std::string(kKeyLine) + "\"ACP\"=\"950\"\n", 950},
      {"dword value", std::string(kKeyLine) + "\"acp\"=dword:000001b5\n", 437},
      {"single-byte code page kept as is", std::string(kKeyLine) + "\"ACP\"=\"1252\"\n", 1252},
      {"no number", std::string(kKeyLine) + "\"ACP\"=\"GBK\"\n", 936},
      {"unknown code page", std::string(kKeyLine) + "\"ACP\"=\"12345\"\n", 936},
      {"no value", std::string(kKeyLine), 936},
      {"no key", "[HKEY_LOCAL_MACHINE\\SYSTEM]\n", 936},
  };
  for (const auto& c : cases) {
    SetSystemCodePage(0);
    UseRegistry(c.registry);
    EXPECT_EQ(InitPlatformFromRegistry(), c.expected) << c.name;
    EXPECT_EQ(SystemCodePage(), c.expected) << c.name;
  }
}

TEST_F(PlatformInitTest, EnvironmentWinsAndMissingFileChangesNothing) {
  UseRegistry(std::string(kKeyLine) + "\"ACP\"=\"950\"\n");
  ::setenv("BATON_ACP", "437", 1);
  EXPECT_EQ(InitPlatformFromRegistry(), 437);
  ::unsetenv("BATON_ACP");

  ::setenv("BATON_REGISTRY", (folder_.Path() + "none.reg").c_str(), 1);
  EXPECT_EQ(InitPlatformFromRegistry(), 936);

  UseRegistry("[HKEY_LOCAL_MACHINE\\SYSTEM\n");
  EXPECT_THROW(InitPlatformFromRegistry(), EReadError);
}

}  // namespace
}  // namespace nv
