#include "platform/core/DateUtils.h"

#include <gtest/gtest.h>

#include "platform/core/SysUtils.h"

namespace nv {
namespace {

struct DateCase {
  int year, month, day;
  double serial;
  int dayOfWeek;
};

TEST(DateUtils, EncodesDaysSinceTheEpoch) {
  const DateCase cases[] = {
      {1899, 12, 30, 0, 7},    {1900, 1, 1, 2, 2},    {2004, 3, 7, 38053, 1},
      {2000, 2, 29, 36585, 3}, {1899, 12, 29, -1, 6}, {2026, 12, 11, 46367, 6},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(EncodeDate(c.year, c.month, c.day), c.serial) << c.year << "-" << c.month;
    int y = 0, m = 0, d = 0;
    DecodeDate(c.serial, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.year * 10000 + c.month * 100 + c.day);
    EXPECT_EQ(DayOfWeek(c.serial), c.dayOfWeek) << c.serial;
  }
}

TEST(DateUtils, RejectsImpossibleDates) {
  TDateTime value = 0;
  EXPECT_FALSE(TryEncodeDate(2003, 2, 29, value));
  EXPECT_FALSE(TryEncodeDate(2004, 13, 1, value));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, value));
  EXPECT_THROW(EncodeDate(2004, 4, 31), EConvertError);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
}

TEST(DateUtils, TimeKeepsMilliseconds) {
  TDateTime t = EncodeDate(2026, 12, 11) + EncodeTime(23, 59, 58, 999);
  int h = 0, n = 0, s = 0, z = 0;
  DecodeTime(t, h, n, s, z);
  EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + z, 235958999);
}

TEST(DateUtils, FormatsLikeThePlatform) {
  TDateTime t = EncodeDate(2004, 3, 7) + EncodeTime(9, 5, 3, 45);
  const std::pair<const char*, const char*> cases[] = {
      {"yyyymmdd", "20040307"},     {"YYYY/MM/DD hh:nn:ss:zzz", "2004/03/07 09:05:03:045"},
      {"hh:mm", "09:05"},           {"yy-m-d", "04-3-7"},
      {"ddd dd mmm", "Sun 07 Mar"}, {"'at' hh", "at 09"},
  };
  for (const auto& [format, expected] : cases) {
    EXPECT_EQ(FormatDateTime(format, t), expected) << format;
  }
  FormatSettings().DateSeparator = '-';
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd", t), "2004-03-07");
  FormatSettings().DateSeparator = '/';
}

TEST(DateUtils, FixedClockForTests) {
  SetClockForTesting(EncodeDate(2026, 1, 2) + 0.25);
  EXPECT_DOUBLE_EQ(Date(), EncodeDate(2026, 1, 2));
  SetClockForTesting(-1);
  EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}

}  // namespace
}  // namespace nv
