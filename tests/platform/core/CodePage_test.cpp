#include "platform/core/CodePage.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/core/SysUtils.h"

namespace nv {
namespace {

// Nine Chinese characters, two digits and a mark: 21 GBK bytes.
TEST(CodePage, ChineseCharactersCountTwoBytes) {
  SetSystemCodePage(kCodePageGB);
  EXPECT_EQ(SysText("方案名长度不可大于20!").size(), 9u * 2 + 2 + 1);
  SetSystemCodePage(0);
}

TEST(CodePage, RoundTripsGbkAndBig5) {
  const char* samples[] = {"清场记录", "批号 A-001", "生产许可", "English text"};
  for (const char* utf8 : samples) {
    std::string gbk = Utf8ToAnsi(utf8, kCodePageGB);
    EXPECT_EQ(AnsiToUtf8(gbk, kCodePageGB), utf8);
  }
  const char* traditional[] = {"清場記錄", "審核狀態", "列印次數"};
  for (const char* utf8 : traditional) {
    std::string big5 = Utf8ToAnsi(utf8, kCodePageBig5);
    EXPECT_EQ(AnsiToUtf8(big5, kCodePageBig5), utf8);
    EXPECT_EQ(ConvertCodePage(ConvertCodePage(big5, kCodePageBig5, kCodePageGB), kCodePageGB,
                              kCodePageBig5),
              big5);
  }
  EXPECT_EQ(Utf8ToAnsi("清", kCodePageGB), "\xC7\xE5");
}

TEST(CodePage, InvalidBytesBecomeQuestionMarks) {
  // A lone lead byte at the end and an undefined pair; then a character GBK cannot hold.
  EXPECT_EQ(AnsiToUtf8("ab\x81", kCodePageGB), "ab?");
  EXPECT_EQ(Utf8ToAnsi("a\xF0\x9F\x98\x80"
                       "b",
                       kCodePageGB),
            "a?b");
  EXPECT_EQ(Utf8ToAnsi("x\xFFy"), "x?y");
  EXPECT_EQ(Utf8ToAnsi("中", kCodePageUS), "?");
}

TEST(CodePage, SystemCodePageComesFromTheSettingThenTheEnvironment) {
  SetSystemCodePage(0);
  ::setenv("BATON_ACP", "950", 1);
  EXPECT_EQ(SystemCodePage(), 950);
  SetSystemCodePage(437);
  EXPECT_EQ(SystemCodePage(), 437);
  SetSystemCodePage(0);
  ::setenv("BATON_ACP", "garbage", 1);
  EXPECT_EQ(SystemCodePage(), 936);
  ::unsetenv("BATON_ACP");
  EXPECT_EQ(SystemCodePage(), 936);
}

TEST(CodePage, LeadBytesOfDoubleByteCodePages) {
  EXPECT_TRUE(IsLeadByte(0xC7, kCodePageGB));
  EXPECT_FALSE(IsLeadByte('A', kCodePageGB));
  EXPECT_FALSE(IsLeadByte(0xC7, kCodePageUS));
  EXPECT_TRUE(IsValidCodePage(936));
  EXPECT_TRUE(IsValidCodePage(950));
  EXPECT_TRUE(IsValidCodePage(437));
}

}  // namespace
}  // namespace nv
