#pragma once
// Exceptions of the platform layer. Every error of ours derives from nv::Exception, a
// std::exception whose message is a system (ANSI) text.
#include <stdexcept>
#include <string>

namespace nv {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }

 private:
  std::string message_;
};

#define NV_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {             \
   public:                               \
    using Base::Base;                    \
  }

NV_DECLARE_EXCEPTION(EConvertError, Exception);  // text that is no number, bad Format
NV_DECLARE_EXCEPTION(EVariantError, Exception);  // variant operations
NV_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
NV_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError);
NV_DECLARE_EXCEPTION(EOSError, Exception);     // operating-system services
NV_DECLARE_EXCEPTION(EFOpenError, Exception);  // a file that cannot be opened
NV_DECLARE_EXCEPTION(EReadError, Exception);   // malformed input read from outside

}  // namespace nv

#include <cstdint>
#include <string_view>

namespace nv {

// The locale's separators. Defaults as on the suite's machines; a host or test may change
// them (the date and time separators are settings of the platform).
struct TFormatSettings {
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  std::string ShortDateFormat = "yyyy/mm/dd";
  std::string LongTimeFormat = "hh:nn:ss";
};
TFormatSettings& FormatSettings();

// Numbers as texts, with the platform's rules: StrToInt accepts an optional sign, decimal
// digits or a hex value written "$1F" or "0x1F", and surrounding blanks; anything else fails.
bool TryStrToInt(std::string_view text, int& value);
bool TryStrToInt64(std::string_view text, std::int64_t& value);
int StrToInt(std::string_view text);  // raises EConvertError "'x' is not a valid integer value"
int StrToIntDef(std::string_view text, int defaultValue);
std::string IntToStr(std::int64_t value);
std::string IntToHex(std::int64_t value, int digits);
// Floats use FormatSettings().DecimalSeparator; StrToFloat also accepts an exponent.
bool TryStrToFloat(std::string_view text, double& value);
double StrToFloat(std::string_view text);  // raises "'x' is not a valid floating point value"
// The shortest text of up to 15 significant digits, as the platform's FloatToStr writes it.
std::string FloatToStr(double value);

// ASCII-only case changes and comparisons: ANSI double-byte characters stay as they are.
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
// Trims bytes up to and including the space (control characters too), as the platform does.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

}  // namespace nv
