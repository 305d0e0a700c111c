#include "runtime/NVDownLoadNewFileU.h"

#include <gtest/gtest.h>
#include <utime.h>

#include "RuntimeFixture.h"
#include "ZipFixture.h"
#include "platform/os/FileUtils.h"

namespace nv {
namespace {

class NewFileDownload : public testing::SuiteMachine {
 protected:
  void SetUp() override {
    SuiteMachine::SetUp();
    ::setenv("TMPDIR", (root_ + "tmp").c_str(), 1);
    std::filesystem::create_directories(root_ + "tmp");
    std::filesystem::create_directories(root_ + "server");
    std::filesystem::create_directories(root_ + "client");
    local_ = root_ + "client/QCPR31S.so";
    testing::WriteFile(local_, "old library");
    utimbuf old{1000000000, 1000000000};  // 2001
    ::utime(local_.c_str(), &old);
    testing::WriteZip(root_ + "server/qcpr31s.so.zip", {{"QCPR31S.so", "new library"}});
    std::filesystem::remove(LogFile());
  }
  void TearDown() override {
    SetDownloadRetryPrompt(nullptr);
    ::unsetenv("TMPDIR");
    std::filesystem::remove(LogFile());
    SuiteMachine::TearDown();
  }
  void Upgrader(const std::string& goAhead) {
    Registry("\"GoAhead\"=\"" + goAhead + "\"", "Software\\VOXA\\Mendwright");
  }
  // The download log sits beside the host program, shared by every test process: a test
  // that reads it takes a day of its own.
  void UseDay(int day) {
    std::filesystem::remove(LogFile());
    day_ = day;
    SetClockForTesting(EncodeDate(2004, 4, day) + EncodeTime(9, 5, 3, 45));
    std::filesystem::remove(LogFile());
  }
  std::string LogFile() const {
    return GetHostProgramFolder() + "Log/Alert_NVDownLoadNewFileU_" +
           (day_ == 0 ? std::string("20040307")
                      : "200404" + std::string(day_ < 10 ? "0" : "") + std::to_string(day_)) +
           ".log";
  }
  int day_ = 0;
  std::string Source() const { return root_ + "server\\"; }

  std::string local_;
  std::string message_ = "untouched";
};

TEST_F(NewFileDownload, ReplacesAnOutOfDateFile) {
  Upgrader(" 1 ");
  EXPECT_TRUE(
      DownloadNewFile("2004/03/07 09:00:00", "  " + Source() + " ", local_, false, message_));
  EXPECT_EQ(testing::ReadFile(local_), "new library");
  EXPECT_TRUE(FileExists(root_ + "tmp/QCPR31S.so.zip"))
      << "the archive stays in the temporary folder";
  EXPECT_EQ(message_, "");
}

TEST_F(NewFileDownload, CurrentFileIsLeftAlone) {
  Upgrader("1");
  EXPECT_TRUE(DownloadNewFile("2000/01/01", Source(), local_, false, message_));
  EXPECT_EQ(testing::ReadFile(local_), "old library");
}

TEST_F(NewFileDownload, UpgraderSwitchedOff) {
  UseDay(1);
  for (const char* value : {"0", "", "yes"}) {
    registry_.clear();
    Upgrader(value);
    EXPECT_TRUE(DownloadNewFile("2004/03/07", Source(), local_, false, message_)) << value;
    EXPECT_EQ(testing::ReadFile(local_), "old library") << value;
  }
  EXPECT_FALSE(FileExists(LogFile()));
  registry_.clear();
  Registry("\"ClientPath\"=\"x\"");
  EXPECT_TRUE(DownloadNewFile("2004/03/07", Source(), local_, false, message_));
  EXPECT_EQ(
      testing::ReadFile(LogFile()),
      "[2004/04/01 09:05:03:045] Read Upgrader Registry Error: No UPGRADER_REGISTRY_PATH\r\n");
}

TEST_F(NewFileDownload, FailuresAnswerFalseWithTheReason) {
  UseDay(2);
  Upgrader("1");
  const std::string missing = "Source file not found: " + root_ + "server/none.so.zip";
  struct Case {
    const char* name;
    std::string local;
    std::string library;
    std::string expected;
  } cases[] = {
      {"network file", "\\\\host\\share\\A.so", "NVDownLoad.dll",
       "Net File can't update![\\\\host\\share\\A.so]"},
      {"no library", local_, "NoSuchDownLoad.dll",
       "function NvDownLoad.CompareFileToDown not found!"},
      {"library without entry points", local_, "Nvlanguage.dll",
       "function NvDownLoad.CompareFileToDown not found!"},
      {"no archive", root_ + "client/none.so", "NVDownLoad.dll",
       "DownLoad new file[" + root_ + "client/none.so] failed. " + missing},
  };
  std::string log;
  for (const auto& c : cases) {
    std::string message;
    EXPECT_FALSE(DownloadNewFile("2004/03/07", Source(), c.local, false, message, c.library))
        << c.name;
    EXPECT_EQ(message, c.expected) << c.name;
    log += "[2004/04/02 09:05:03:045] " + c.expected + "\r\n";
  }
  EXPECT_EQ(testing::ReadFile(LogFile()), log);
}

TEST_F(NewFileDownload, InteractiveModeRetriesUntilAborted) {
  Upgrader("1");
  testing::WriteFile(root_ + "server/qcpr31s.so.zip", "damaged");
  std::vector<std::string> asked;
  SetDownloadRetryPrompt([&](const std::string& failure) {
    asked.push_back(failure);
    return asked.size() < 2;
  });
  EXPECT_FALSE(DownloadNewFile("2004/03/07", Source(), local_, true, message_));
  const std::string failure = "Unzip new file[" + local_ + "] failed. Cannot open archive " +
                              root_ + "tmp/QCPR31S.so.zip: Not a zip archive";
  EXPECT_EQ(asked, (std::vector<std::string>{failure, failure}));
  EXPECT_EQ(message_, failure);
  EXPECT_EQ(testing::ReadFile(local_), "old library");
}

TEST_F(NewFileDownload, InteractiveRetryCanSucceed) {
  Upgrader("1");
  std::filesystem::remove(root_ + "server/qcpr31s.so.zip");
  int asked = 0;
  SetDownloadRetryPrompt([&](const std::string& failure) {
    EXPECT_EQ(failure.rfind("DownLoad new file[", 0), 0u) << failure;
    testing::WriteZip(root_ + "server/qcpr31s.so.zip", {{"QCPR31S.so", "fixed"}});
    return ++asked < 5;
  });
  EXPECT_TRUE(DownloadNewFile("2004/03/07", Source(), local_, true, message_));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(testing::ReadFile(local_), "fixed");
  EXPECT_FALSE(DownloadNewFile("2004/03/07", root_ + "nowhere", local_ + "x", false, message_))
      << "without interaction there is no retry";
  EXPECT_EQ(asked, 1);
}

TEST(FileListEntry, ReadsTaggedAndQuotedForms) {
  const std::pair<const char*, std::pair<const char*, const char*>> cases[] = {
      {"<File><Modify>2004/03/07 10:00:00</Modify><Path>\\\\srv\\pkg\\QCPR31S.dll</Path></File>",
       {"2004/03/07 10:00:00", "\\\\srv\\pkg\\"}},
      {"Name = 'QCPR31S.dll' Modify = '20040307' Path = 'D:\\S_PKG\\QCPR31S.dll'",
       {"20040307", "D:\\S_PKG\\"}},
      {"<Modify>2004/03/07 <Path>x\\y", {"", ""}},
      {"nothing", {"", ""}},
  };
  for (const auto& [entry, expected] : cases) {
    EXPECT_EQ(FileListModifyStamp(entry), expected.first) << entry;
    EXPECT_EQ(FileListSourceFolder(entry), expected.second) << entry;
  }
}

}  // namespace
}  // namespace nv
