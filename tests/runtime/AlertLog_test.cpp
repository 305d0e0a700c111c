#include <gtest/gtest.h>

#include "RuntimeFixture.h"
#include "platform/core/SysUtils.h"
#include "runtime/LibStrs.h"

namespace nv {
namespace {

using AlertLog = testing::SuiteMachine;

TEST_F(AlertLog, AppendsTimeStampedLinesPerPeriod) {
  Install();
  struct Case {
    const char* name;
    const char* period;
    const char* file;
  } cases[] = {
      {"QCPR31C", "D", "Alert_QCPR31C_20040307.log"},
      {"QCPR31C", "M", "Alert_QCPR31C_200403.log"},
      {"QCPR31C", "Y", "Alert_QCPR31C_2004.log"},
      {"QCPR31C", "d", "Alert_QCPR31C_20040307.log"},
      {"trace.txt", "D", "Alert_trace.txt_20040307"},
  };
  for (const auto& c : cases) EXPECT_TRUE(WriteToAlertFile(c.name, "first", c.period)) << c.file;
  EXPECT_TRUE(WriteToAlertFile("QCPR31C", "second", "Y"));
  const std::string line = "[2004/03/07 09:05:03:045] first\r\n";
  EXPECT_EQ(testing::ReadFile(ClientPath() + "Log/Alert_QCPR31C_20040307.log"), line + line);
  EXPECT_EQ(testing::ReadFile(ClientPath() + "Log/Alert_QCPR31C_200403.log"), line);
  EXPECT_EQ(testing::ReadFile(ClientPath() + "Log/Alert_QCPR31C_2004.log"),
            line + "[2004/03/07 09:05:03:045] second\r\n");
  EXPECT_EQ(testing::ReadFile(ClientPath() + "Log/Alert_trace.txt_20040307"), line);
}

TEST_F(AlertLog, FallsBackToTheServerFolderAndUsesTheLocaleSeparators) {
  Registry("\"ClientPath\"=\"\"\n\"ServerPath\"=\"" + ServerPath() + "\"");
  EXPECT_EQ(GetBatonDir(), ServerPath());
  FormatSettings().DateSeparator = '-';
  FormatSettings().TimeSeparator = '.';
  EXPECT_TRUE(WriteToAlertFile("libstrs", "x", "D"));
  FormatSettings().DateSeparator = '/';
  FormatSettings().TimeSeparator = ':';
  EXPECT_EQ(testing::ReadFile(ServerPath() + "Log/Alert_libstrs_20040307.log"),
            "[2004-03-07 09.05.03.045] x\r\n");
}

TEST_F(AlertLog, AnUnwritableFolderAnswersFalse) {
  testing::WriteFile(root_ + "blocked", "a file where the folder should be");
  Registry("\"ClientPath\"=\"" + root_ + "blocked/\"");
  EXPECT_FALSE(WriteToAlertFile("QCPR31C", "lost", "D"));
}

}  // namespace
}  // namespace nv
