#include <gtest/gtest.h>
#include <utime.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "SuiteLibrary.h"
#include "ZipFixture.h"

namespace nv {
namespace {

namespace fs = std::filesystem;
using Compare = int(const char*, const char*);
using Download = int(int, const char*, const char*, const char*, const char*, const char*,
                     unsigned short*, char*, char*, int);
using Unzip = int(const char*, const char*, char*, char*);

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

void Spit(const fs::path& file, const std::string& content) {
  std::ofstream(file, std::ios::binary) << content;
}

class NVDownLoadLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library_.Loaded()) << dlerror();
    compare_ = library_.Entry<Compare>("CompareFileToDown");
    download_ = library_.Entry<Download>("NVDownLoadFileEx");
    unzip_ = library_.Entry<Unzip>("UnZipFilesOrDir");
    ASSERT_TRUE(compare_ && download_ && unzip_);
    root_ = fs::temp_directory_path() /
            ("nvdownload_" + std::to_string(::getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "server");
    fs::create_directories(root_ / "client");
  }
  void TearDown() override { fs::remove_all(root_); }

  size_t FilesIn(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
  }

  testing::LoadedLibrary library_{"NVDownLoad.so"};
  Compare* compare_ = nullptr;
  Download* download_ = nullptr;
  Unzip* unzip_ = nullptr;
  fs::path root_;
  char message_[256] = {};
  char second_[256] = {};
};

TEST_F(NVDownLoadLibrary, ComparesTheStampWithTheLocalModificationTime) {
  const fs::path local = root_ / "client" / "QCPR31S.so";
  EXPECT_EQ(compare_("2004/03/07 10:00:00", local.c_str()), 1) << "a missing file is replaced";
  Spit(local, "old");
  std::tm when{};
  when.tm_year = 104, when.tm_mon = 2, when.tm_mday = 7, when.tm_hour = 10, when.tm_isdst = -1;
  const std::time_t stamp = std::mktime(&when);
  utimbuf times{stamp, stamp};
  ASSERT_EQ(::utime(local.c_str(), &times), 0);
  const std::pair<const char*, int> cases[] = {
      {"2004/03/07 10:00:01", 1},
      {"2004-03-07 10:00:00", 0},
      {"20040308", 1},
      {"20040307095959", 0},
      {"2003/12/31", 0},
      {"not a stamp", 0},
      {"", 0},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(compare_(text, local.c_str()), expected) << text;
  }
  const std::string suiteStyle = (root_ / "client").string() + "\\QCPR31S.so";
  EXPECT_EQ(compare_("2004/03/07 10:00:01", suiteStyle.c_str()), 1);
}

TEST_F(NVDownLoadLibrary, DownloadsAndUnpacksOverTheLocalFile) {
  testing::WriteZip(root_ / "server" / "qcpr31s.so.zip", {{"QCPR31S.so", "new library"}});
  Spit(root_ / "client" / "QCPR31S.so", "old library");
  const std::string source = "file://" + (root_ / "server").string() + "\\qcpr31s.so.zip";
  const fs::path archive = root_ / "QCPR31S.so.zip";
  unsigned short result = 7;
  ASSERT_EQ(download_(0, "", "VOXA", "60", source.c_str(), archive.c_str(), &result, message_,
                      second_, 0),
            1)
      << message_;
  EXPECT_EQ(result, 1);
  ASSERT_EQ(unzip_(archive.c_str(), (root_ / "client").c_str(), message_, second_), 1) << message_;
  EXPECT_EQ(Slurp(root_ / "client" / "QCPR31S.so"), "new library");
  EXPECT_EQ(FilesIn(root_ / "client"), 1u);
}

TEST_F(NVDownLoadLibrary, MissingSourceReportsTheReason) {
  const fs::path source = root_ / "server" / "none.zip";
  unsigned short result = 7;
  EXPECT_EQ(download_(0, "", "VOXA", "60", source.c_str(), (root_ / "x.zip").c_str(), &result,
                      message_, second_, 0),
            0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(std::string(message_), "Source file not found: " + source.string());
}

TEST_F(NVDownLoadLibrary, FailedUnpackLeavesTheOldFilesIntact) {
  const fs::path client = root_ / "client";
  Spit(client / "A.so", "old A");
  // A good entry followed by a damaged one: nothing of the archive may land.
  testing::WriteZip(root_ / "good.zip", {{"A.so", "new A"}, {"B.so", std::string(4000, 'b')}});
  std::string bytes = Slurp(root_ / "good.zip");
  const size_t at = bytes.find("PK\x03\x04", 10);
  ASSERT_NE(at, std::string::npos);
  std::memset(bytes.data() + at + 30 + 4, 0x55, 40);  // into B.so's compressed data
  Spit(root_ / "damaged.zip", bytes);
  EXPECT_EQ(unzip_((root_ / "damaged.zip").c_str(), client.c_str(), message_, second_), 0);
  EXPECT_NE(std::string(message_), "");
  EXPECT_EQ(Slurp(client / "A.so"), "old A");
  EXPECT_EQ(FilesIn(client), 1u) << "no temporary file is left behind";

  Spit(root_ / "garbage.zip", "this is no archive");
  EXPECT_EQ(unzip_((root_ / "garbage.zip").c_str(), client.c_str(), message_, second_), 0);
  EXPECT_EQ(std::string(message_).rfind("Cannot open archive ", 0), 0u) << message_;
  EXPECT_EQ(Slurp(client / "A.so"), "old A");
}

TEST_F(NVDownLoadLibrary, EntriesThatLeaveTheFolderAreRefused) {
  testing::WriteZip(root_ / "evil.zip", {{"A.so", "new A"}, {"../escaped.so", "x"}});
  EXPECT_EQ(unzip_((root_ / "evil.zip").c_str(), (root_ / "client").c_str(), message_, second_), 0);
  EXPECT_EQ(std::string(message_), "Entry outside the folder: ../escaped.so");
  EXPECT_FALSE(fs::exists(root_ / "escaped.so"));
  EXPECT_FALSE(fs::exists(root_ / "client" / "A.so"));
}

}  // namespace
}  // namespace nv
