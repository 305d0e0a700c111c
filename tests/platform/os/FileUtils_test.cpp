#include "platform/os/FileUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "TempFolder.h"
#include "platform/core/CodePage.h"

namespace nv {
namespace {

TEST(FileUtils, PathTexts) {
  const struct {
    const char* path;
    const char* filePath;
    const char* fileName;
    const char* ext;
    const char* withTxt;
  } cases[] = {
      {"/opt/baton/BatonC.ini", "/opt/baton/", "BatonC.ini", ".ini", "/opt/baton/BatonC.txt"},
      {"/opt/baton\\C_DATA\\UserDef.ini", "/opt/baton\\C_DATA\\", "UserDef.ini", ".ini",
       "/opt/baton\\C_DATA\\UserDef.txt"},
      {"QCPR31C.so", "", "QCPR31C.so", ".so", "QCPR31C.txt"},
      {"/opt/baton.d/README", "/opt/baton.d/", "README", "", "/opt/baton.d/README.txt"},
      {"/opt/baton/", "/opt/baton/", "", "", "/opt/baton/.txt"},
      {"a.tar.gz", "", "a.tar.gz", ".gz", "a.tar.txt"},
      {"", "", "", "", ".txt"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.path), c.filePath) << c.path;
    EXPECT_EQ(ExtractFileName(c.path), c.fileName) << c.path;
    EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
    EXPECT_EQ(ChangeFileExt(c.path, ".txt"), c.withTxt) << c.path;
  }
  EXPECT_EQ(ChangeFileExt("/x/a.ini", ""), "/x/a");

  EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/baton"), "/opt/baton/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/baton/"), "/opt/baton/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/baton\\"), "/opt/baton\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/opt/baton\\"), "/opt/baton");
  EXPECT_EQ(NativePath("/opt/baton\\C_DATA\\C_TEMP\\"), "/opt/baton/C_DATA/C_TEMP/");

  const struct {
    const char* path;
    bool drive;
  } drives[] = {{"/opt/x", true}, {"D:\\X", true}, {"d:", true},    {"\\Work", false},
                {"Work", false},  {"", false},     {"1:\\x", false}};
  for (const auto& d : drives) EXPECT_EQ(PathStartsWithDrive(d.path), d.drive) << d.path;
}

TEST(FileUtils, DoubleByteNamesKeepTheirTrailBytes) {
  // GBK 0x81 0x5C is one character whose second byte is a back-slash
  const std::string name = "\x81\x5C";
  SetSystemCodePage(kCodePageGB);
  EXPECT_EQ(NativePath("C:\\" + name + "\\a"), "C:/" + name + "/a");
  EXPECT_EQ(ExtractFileName("/opt/" + name), name);
  EXPECT_EQ(ExtractFilePath("/opt/" + name), "/opt/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/" + name), "/opt/" + name + "/");
  SetSystemCodePage(kCodePageUS);  // a single-byte code page: 0x5C is a back-slash
  EXPECT_EQ(NativePath("C:\\" + name + "\\a"), "C:/\x81//a");
  EXPECT_EQ(ExtractFileName("/opt/" + name), "");
  SetSystemCodePage(0);
}

TEST(FileUtils, ExistenceAndFolders) {
  test::TTempFolder folder;
  std::string file = folder.Write("a.txt", "x");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(folder.Path())) << "a folder is no file";
  EXPECT_TRUE(DirectoryExists(folder.Path()));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_FALSE(FileExists(""));

  EXPECT_FALSE(CreateDir(folder.Path() + "p/q")) << "one level only";
  EXPECT_TRUE(CreateDir(folder.Path() + "p\\"));
  EXPECT_FALSE(CreateDir(folder.Path() + "p")) << "already there";

  std::string deep = folder.Path() + "Log\\2026\\12\\";
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(folder.Path() + "Log/2026/12"));
  EXPECT_TRUE(ForceDirectories(deep)) << "existing folder";
  EXPECT_TRUE(ForceDirectories("/"));
  EXPECT_FALSE(ForceDirectories(""));
  EXPECT_FALSE(ForceDirectories(file + "/sub")) << "a file is in the way";

  EXPECT_TRUE(DeleteFile(file));
  EXPECT_FALSE(FileExists(file));
  std::string content = "stale";
  EXPECT_FALSE(ReadWholeFile(file, content));
  EXPECT_EQ(content, "");
}

TEST(FileUtils, TempFolderUserAndHostProgram) {
  ::setenv("TMPDIR", "/var/tmp/baton", 1);
  EXPECT_EQ(GetTempPath(), "/var/tmp/baton/");
  ::setenv("TMPDIR", "", 1);
  EXPECT_EQ(GetTempPath(), "/tmp/");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(GetTempPath(), "/tmp/");

  EXPECT_FALSE(GetUserName().empty());
  EXPECT_EQ(ExtractFileName(GetHostProgramFileName()), "nv_os_tests");
  EXPECT_EQ(GetHostProgramFolder(), ExtractFilePath(GetHostProgramFileName()));
  EXPECT_EQ(GetHostProgramFolder().back(), '/');
}

}  // namespace
}  // namespace nv
