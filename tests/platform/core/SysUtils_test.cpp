#include "platform/core/SysUtils.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(SysUtils, IntegerTexts) {
  const std::pair<const char*, int> good[] = {
      {"0", 0},
      {"-12", -12},
      {"+7", 7},
      {" 8 ", 8},
      {"$FF", 255},
      {"0x10", 16},
      {"$FFFFFFFF", -1},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
  };
  for (const auto& [text, value] : good) EXPECT_EQ(StrToInt(text), value) << text;
  const char* bad[] = {"", "abc", "1.5", "12a", "2147483648", "--1", "$", "1 2"};
  for (const char* text : bad) EXPECT_EQ(StrToIntDef(text, -99), -99) << text;
  try {
    StrToInt("x1");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
  }
}

TEST(SysUtils, FloatTextsUseTheDecimalSeparator) {
  EXPECT_DOUBLE_EQ(StrToFloat("1.25"), 1.25);
  EXPECT_DOUBLE_EQ(StrToFloat("-2e3"), -2000);
  double v = 0;
  EXPECT_FALSE(TryStrToFloat("nan", v));
  EXPECT_FALSE(TryStrToFloat("1,5", v));
  FormatSettings().DecimalSeparator = ',';
  EXPECT_DOUBLE_EQ(StrToFloat("1,5"), 1.5);
  EXPECT_EQ(FloatToStr(2.5), "2,5");
  FormatSettings().DecimalSeparator = '.';
  EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStr(-1e-5), "-1E-5");
}

TEST(SysUtils, CaseRulesLeaveDoubleByteTextAlone) {
  EXPECT_TRUE(SameText("Sys001", "SYS001"));
  EXPECT_EQ(UpperCase("ab\xC7\xE5z"), "AB\xC7\xE5Z");
  // GBK "\xB0\x61" is one character whose trail byte looks like "a": it must not change.
  EXPECT_EQ(UpperCase("\xB0\x61x"), "\xB0\x61X");
  EXPECT_EQ(LowerCase("\xB0\x41X"), "\xB0\x41x");
  EXPECT_FALSE(SameText("\xB0\x61", "\xB0\x41"));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_EQ(Trim("\t x \r\n"), "x");
}

}  // namespace
}  // namespace nv
