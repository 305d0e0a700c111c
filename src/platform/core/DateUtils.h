#pragma once
// Dates as the platform keeps them: a double counting days since 30 December 1899, the
// fraction being the time of day. 0 means "no date" to the module's helpers.
#include <string>
#include <string_view>

#include "platform/core/Variant.h"

namespace nv {

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12
bool IsValidDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
TDateTime EncodeDate(int year, int month, int day);  // raises EConvertError when invalid
void DecodeDate(TDateTime value, int& year, int& month, int& day);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);

// Local time, with milliseconds. Tests pin the clock with SetClockForTesting.
TDateTime Now();
TDateTime Date();  // today, no time part
TDateTime Time();
// A fixed clock for byte-exact log tests; pass a negative value to restore the real clock.
void SetClockForTesting(TDateTime fixed);

// The platform's FormatDateTime: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz,
// "m" after an hour meaning minutes, "/" and ":" standing for the locale's separators, text
// in quotes written as it stands; letters are not case-sensitive.
std::string FormatDateTime(std::string_view format, TDateTime value);
std::string DateToStr(TDateTime value);      // ShortDateFormat
std::string TimeToStr(TDateTime value);      // LongTimeFormat
std::string DateTimeToStr(TDateTime value);  // date, then the time when it is not midnight

}  // namespace nv
