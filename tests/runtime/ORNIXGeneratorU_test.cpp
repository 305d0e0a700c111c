#include "runtime/ORNIXGeneratorU.h"

#include <gtest/gtest.h>

#include "RuntimeFixture.h"

namespace nv {
namespace {

using ErrorReport = testing::SuiteMachine;

TEST(ORNIXGenerator, ScramblesByRotatingEachByte) {
  // 's' 0x73 rotated right by 1 is 0xb9, 'a' 0x61 by 2 is 0x58.
  EXPECT_EQ(EncodeDBPassword("sa"), "b958");
  EXPECT_EQ(DecodeDBPassword("b958"), "sa");
  EXPECT_EQ(DecodeDBPassword("B958"), "sa");
  EXPECT_EQ(DecodeDBPassword("b9587"), "sa") << "a trailing single digit is ignored";
  for (const char* plain : {"sa", "Vanta@2004", "12345678901234567", "\xC5\xFA\xBA\xC5", " "})
    EXPECT_EQ(DecodeDBPassword(EncodeDBPassword(plain)), plain) << plain;
  EXPECT_EQ(DecodeDBPassword(EncodeDBPassword("")), "");
  EXPECT_EQ(EncodeDBPassword("").size(), 2 * kEmptyPasswordText.size());
  EXPECT_EQ(DecodeDBPassword(""), "");
}

TEST_F(ErrorReport, BadScrambledTextIsReported) {
  Install();
  EXPECT_EQ(DecodeDBPassword("b9zz"), "NV_Say_Password_Error");
  const std::string stamp = "[2004/03/07 09:05:03] ";
  const std::string hyphens(34, '-');
  EXPECT_EQ(testing::ReadFile(ClientPath() + "Log/Alert_ORNIXGenerator_20040307.log"),
            stamp + hyphens + " on " + EncodeDBPassword("DecodeSQLSa") + " " + hyphens + "\r\n" +
                stamp + SysText("讯息信息:") + "\r\n" + stamp +
                "Exception is EConvertError\r\nMessage 01: '$zz' is not a valid integer value\r\n" +
                stamp + "ErrorMessage Count: 1\r\n" + stamp +
                "Programer Message: " + SysText("解析 Sa 时发生错误!") + "\r\n");
}

TEST_F(ErrorReport, ReportLinesByErrorKind) {
  Registry("\"ClientPath\"=\"\"\n\"ServerPath\"=\"" + ServerPath() + "\"");
  const std::string log = ServerPath() + "Log/Alert_ORNIXGenerator_20040307.log";
  const std::string stamp = "[2004/03/07 09:05:03] ";
  const std::string hyphens(34, '-');

  WriteErrorReport(nullptr, "  ", "  note  ");
  EXPECT_EQ(testing::ReadFile(log),
            stamp + hyphens + hyphens + "\r\n" + stamp + "Programer Message: note\r\n");
  std::filesystem::remove(log);

  const EDBEngineError db("engine", {{3, "no table"}, {7, "locked"}});
  WriteErrorReport(&db, "Open", "");
  const std::string info = stamp + SysText("讯息信息:") + "\r\n";
  EXPECT_EQ(testing::ReadFile(log),
            stamp + hyphens + " on Open " + hyphens + "\r\n" + info + stamp +
                "EDBEngineError Error 01: Code: 3, Message: no table\r\n" + stamp +
                "EDBEngineError Error 02: Code: 7, Message: locked\r\n" + stamp +
                "ErrorMessage Count: 2\r\n");
  std::filesystem::remove(log);

  const EWin32Error os("denied", 5);
  const EInOutError io("disk full", 112);
  const std::runtime_error percent("100% wrong");
  WriteErrorReport(&os, "", "");
  WriteErrorReport(&io, "", "");
  WriteErrorReport(&percent, "", "");
  EXPECT_EQ(testing::ReadFile(log),
            stamp + hyphens + hyphens + "\r\n" + info + stamp +
                "EWin32Error Error 01: Code: 5, Message: denied\r\n" + stamp +
                "ErrorMessage Count: 1\r\n" + stamp + hyphens + hyphens + "\r\n" + info + stamp +
                "EInOutError Error 01: Code: 112, Message: disk full\r\n" + stamp +
                "ErrorMessage Count: 1\r\n" + stamp + hyphens + hyphens + "\r\n" + info + stamp +
                "Exception is runtime_error\r\nMessage 01: 100% wrong\r\n" + stamp +
                "ErrorMessage Count: 1\r\n");
}

TEST_F(ErrorReport, LogFallsBackToTheTemporaryFolder) {
  Registry("\"Other\"=\"x\"");
  ::setenv("TMPDIR", root_.c_str(), 1);
  EXPECT_EQ(GetLogRoot(), root_);
  EXPECT_TRUE(WriteGeneratorLog("x"));
  ::unsetenv("TMPDIR");
  EXPECT_EQ(testing::ReadFile(root_ + "Log/Alert_ORNIXGenerator_20040307.log"),
            "[2004/03/07 09:05:03] x\r\n");
}

}  // namespace
}  // namespace nv
