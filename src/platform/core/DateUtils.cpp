#include "platform/core/DateUtils.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/core/SysUtils.h"

namespace nv {
namespace {

constexpr int kMsPerDay = 24 * 60 * 60 * 1000;

// Day number of 30 December 1899 in the proleptic Gregorian count of days_from_civil.

long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int& year, int& month, int& day) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long y = static_cast<long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

long EpochDays() {
  static const long epoch = DaysFromCivil(1899, 12, 30);
  return epoch;
}

double& FixedClock() {
  static double fixed = -1;
  return fixed;
}

// Milliseconds of the time of day; for negative dates the fraction counts forward too.
long long TimeOfDayMs(TDateTime value) {
  double fraction = std::fabs(value - std::trunc(value));
  auto ms = static_cast<long long>(std::llround(fraction * kMsPerDay));
  return ms >= kMsPerDay ? kMsPerDay - 1 : ms;
}

const char* const kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

std::string Pad(int value, int width) {
  std::string text = std::to_string(value);
  while (static_cast<int>(text.size()) < width) text.insert(text.begin(), '0');
  return text;
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

size_t RunLength(std::string_view format, size_t pos) {
  size_t n = 1;
  while (pos + n < format.size() && Lower(format[pos + n]) == Lower(format[pos])) ++n;
  return n;
}

}  // namespace

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && day >= 1 && day <= DaysInMonth(year, month);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
  if (!IsValidDate(year, month, day)) return false;
  value = static_cast<double>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - EpochDays());
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime value = 0;
  if (!TryEncodeDate(year, month, day, value)) {
    throw EConvertError("Invalid argument to date encode");
  }
  return value;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  CivilFromDays(static_cast<long>(std::trunc(value)) + EpochDays(), year, month, day);
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999) {
    return false;
  }
  value = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / kMsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  TDateTime value = 0;
  if (!TryEncodeTime(hour, minute, second, millisecond, value)) {
    throw EConvertError("Invalid argument to time encode");
  }
  return value;
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
  long long ms = TimeOfDayMs(value);
  millisecond = static_cast<int>(ms % 1000);
  ms /= 1000;
  second = static_cast<int>(ms % 60);
  ms /= 60;
  minute = static_cast<int>(ms % 60);
  hour = static_cast<int>(ms / 60);
}

int DayOfWeek(TDateTime value) {
  long days = static_cast<long>(std::trunc(value));
  // 30 December 1899 was a Saturday (7).
  long index = ((days + 6) % 7 + 7) % 7;
  return static_cast<int>(index) + 1;
}

void SetClockForTesting(TDateTime fixed) {
  FixedClock() = fixed;
}

TDateTime Now() {
  if (FixedClock() >= 0) return FixedClock();
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t seconds = system_clock::to_time_t(now);
  int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, ms);
}

TDateTime Date() {
  return std::trunc(Now());
}
TDateTime Time() {
  return Now() - std::trunc(Now());
}

std::string FormatDateTime(std::string_view format, TDateTime value) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, ms);
  const TFormatSettings& fs = FormatSettings();
  std::string out;
  bool afterHour = false;
  for (size_t i = 0; i < format.size();) {
    char c = format[i];
    char lc = Lower(c);
    if (c == '"' || c == '\'') {
      size_t close = format.find(c, i + 1);
      size_t end = close == std::string_view::npos ? format.size() : close;
      out.append(format.substr(i + 1, end - i - 1));
      i = close == std::string_view::npos ? format.size() : close + 1;
      continue;
    }
    size_t n = RunLength(format, i);
    switch (lc) {
      case 'y':
        out += n <= 2 ? Pad(year % 100, 2) : Pad(year, 4);
        break;
      case 'm':
        if (afterHour && n <= 2) {
          out += Pad(minute, static_cast<int>(n));
        } else if (n <= 2) {
          out += Pad(month, static_cast<int>(n));
        } else {
          out += n == 3 ? kShortMonths[month - 1] : kLongMonths[month - 1];
        }
        afterHour = false;
        break;
      case 'd':
        if (n <= 2) {
          out += Pad(day, static_cast<int>(n));
        } else {
          out += n == 3 ? kShortDays[DayOfWeek(value) - 1] : kLongDays[DayOfWeek(value) - 1];
        }
        break;
      case 'h':
        out += Pad(hour, n >= 2 ? 2 : 1);
        afterHour = true;
        i += n;
        continue;
      case 'n':
        out += Pad(minute, n >= 2 ? 2 : 1);
        break;
      case 's':
        out += Pad(second, n >= 2 ? 2 : 1);
        break;
      case 'z':
        out += Pad(ms, n >= 3 ? 3 : 1);
        break;
      case '/':
        out.append(n, fs.DateSeparator);
        break;
      case ':':
        out.append(n, fs.TimeSeparator);
        break;
      default:
        out.append(format.substr(i, n));
        break;
    }
    if (lc != 'm' && lc != ' ' && lc != ':') afterHour = afterHour && false;
    i += n;
  }
  return out;
}

std::string DateToStr(TDateTime value) {
  return FormatDateTime(FormatSettings().ShortDateFormat, value);
}

std::string TimeToStr(TDateTime value) {
  return FormatDateTime(FormatSettings().LongTimeFormat, value);
}

std::string DateTimeToStr(TDateTime value) {
  std::string text = DateToStr(value);
  if (TimeOfDayMs(value) != 0) text += " " + TimeToStr(value);
  return text;
}

}  // namespace nv
