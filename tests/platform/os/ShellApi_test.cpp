#include "platform/os/ShellApi.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "TempFolder.h"
#include "platform/os/FileUtils.h"

namespace nv {
namespace {

class ShellApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // headless, as in CI: nothing may pop up on a developer's desktop
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ClearShellJournal();
  }
  test::TTempFolder folder_;
};

TEST_F(ShellApiTest, HeadlessOpenIsRecordedOnly) {
  std::string pdf = folder_.Write("voucher_1.pdf", "%PDF");
  EXPECT_TRUE(ShellExecute("OPEN", pdf, "", "", SW_SHOWNORMAL));
  EXPECT_FALSE(ShellExecute("open", folder_.Path() + "missing.pdf"));
  EXPECT_TRUE(ShellExecute("properties", "/opt/baton/QCPR31C.dll"));
  std::vector<TShellRequest> journal = ShellJournal();
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_EQ(journal[0].verb, "OPEN");
  EXPECT_EQ(journal[0].file, pdf);
  EXPECT_FALSE(journal[0].launched);
  EXPECT_EQ(journal[0].program, "");
  EXPECT_EQ(journal[1].file, folder_.Path() + "missing.pdf");
  EXPECT_EQ(journal[2].verb, "properties");
  ClearShellJournal();
  EXPECT_TRUE(ShellJournal().empty());
}

TEST_F(ShellApiTest, OpeningAProgramStartsItWithoutWaiting) {
  std::string out = folder_.Path() + "args.txt";
  std::string script = folder_.Write("doc2emf", "#!/bin/sh\nsleep 1\necho \"$PWD $@\" > " + out +
                                                    ".part && mv " + out + ".part " + out + "\n");
  ::chmod(script.c_str(), 0755);
  auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(ShellExecute("open", "doc2emf.exe", "-a  b", folder_.Path()));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(900))
      << "the shell must not wait for the program";
  std::vector<TShellRequest> journal = ShellJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_TRUE(journal[0].launched);
  EXPECT_EQ(journal[0].program, script);
  for (int i = 0; i < 100 && !FileExists(out); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::ifstream in(out);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), ExcludeTrailingPathDelimiter(folder_.Path()) + " -a b\n");
}

}  // namespace
}  // namespace nv
