// `tallyd demo DIR` makes an installation that runs: the registry file names plug-ins that are
// there, the client folder holds the manager, the module, the shell and the suite libraries,
// and the shell started from it opens the report with the manager as its service object.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/com/ComObj.h"

namespace nv {
namespace {

struct TRun {
  int status = -1;
  std::string out;
};

TRun RunCommand(const std::string& command) {
  TRun run;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) run.out.append(buffer, n);
  int raw = pclose(pipe.release());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

class DemoInstallation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = ::testing::TempDir() + "demo_install_" + std::to_string(::getpid());
    std::filesystem::remove_all(folder_);
    made_ = RunCommand(QC_BINARY_DIR "/suite/appserver/tallyd demo " + folder_);
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(folder_); }
  static std::string folder_;
  static TRun made_;
};
std::string DemoInstallation::folder_;
TRun DemoInstallation::made_;

TEST_F(DemoInstallation, HoldsEveryPieceWhereTheSuiteLooksForIt) {
  ASSERT_EQ(made_.status, 0) << made_.out;
  EXPECT_EQ(made_.out.find("not built"), std::string::npos) << made_.out;
  for (const char* file : {"server/Tallyd.so", "server/BatonS.ini", "server/data/DEMO.db",
                           "client/BatonC.ini", "client/VantaWorkCenter.so", "client/QCPR31C.so",
                           "client/baton", "client/Nvlanguage.so", "client/NVDownLoad.so"})
    EXPECT_TRUE(std::filesystem::is_regular_file(folder_ + "/" + file)) << file;

  // The plug-ins the registry file names are the installed copies.
  ::setenv("BATON_REGISTRY", (folder_ + "/registry.reg").c_str(), 1);
  EXPECT_EQ(ComServerFileFor("Tallyd.Class1"), folder_ + "/server/Tallyd.so");
  EXPECT_EQ(ComServerFileFor("VantaWorkCenter.Manager"), folder_ + "/client/VantaWorkCenter.so");
  ::unsetenv("BATON_REGISTRY");

  // The installed language library converts.
  void* library = ::dlopen((folder_ + "/client/Nvlanguage.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << ::dlerror();
  using TConvert = int(const char*, char*, int);
  auto* toBig5 = reinterpret_cast<TConvert*>(::dlsym(library, "GBtoBIG5"));
  ASSERT_NE(toBig5, nullptr);
  char big5[16] = {};
  EXPECT_EQ(toBig5("\xC7\xE5\xB3\xA1", big5, sizeof big5), 4) << "清场";
  EXPECT_STREQ(big5, "\xB2\x4D\xB3\xF5") << "清場";
  ::dlclose(library);
}

TEST_F(DemoInstallation, TheShellInTheClientFolderRunsTheReportWithTheManager) {
  ASSERT_EQ(made_.status, 0) << made_.out;
  std::string script = folder_ + "/session.txt";
  std::ofstream(script) << "open\nchoose CMSMQ.06 QC01\nclose\n";
  TRun run = RunCommand("BATON_REGISTRY=" + folder_ + "/registry.reg " + folder_ +
                        "/client/baton run " + script);
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("open 0"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("no service object"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace nv
