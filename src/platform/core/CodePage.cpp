#include "platform/core/CodePage.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace nv {
namespace {

int& CodePageSetting() {
  static int setting = 0;
  return setting;
}

std::string ConverterName(int codePage) {
  switch (codePage) {
    case kCodePageGB:
      return "windows-936-2000";
    case kCodePageBig5:
      return "windows-950-2000";
    case kCodePageUS:
      return "ibm-437";
    case kCodePageUtf8:
      return "UTF-8";
    default:
      return "windows-" + std::to_string(codePage);
  }
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// One converter per code page and thread: opening ICU converters is costly, and converters
// keep state between calls so they must not be shared across threads.
UConverter* ConverterFor(int codePage) {
  thread_local std::map<int, ConverterPtr> converters;
  auto it = converters.find(codePage);
  if (it != converters.end()) return it->second.get();
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(ConverterName(codePage).c_str(), &status);
  if (U_FAILURE(status)) {
    status = U_ZERO_ERROR;
    converter = ucnv_open(ConverterName(kCodePageGB).c_str(), &status);
  }
  status = U_ZERO_ERROR;
  ucnv_setSubstChars(converter, "?", 1, &status);
  converters.emplace(codePage, ConverterPtr(converter));
  return converter;
}

int Resolve(int codePage) {
  return codePage == 0 ? SystemCodePage() : codePage;
}

}  // namespace

int SystemCodePage() {
  if (CodePageSetting() != 0) return CodePageSetting();
  if (const char* env = std::getenv("BATON_ACP"); env != nullptr && *env != '\0') {
    char* end = nullptr;
    long value = std::strtol(env, &end, 10);
    if (end != nullptr && *end == '\0' && value > 0 && value < 100000)
      return static_cast<int>(value);
  }
  return kCodePageGB;
}

void SetSystemCodePage(int codePage) {
  CodePageSetting() = codePage;
}

bool IsValidCodePage(int codePage) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(ConverterName(codePage).c_str(), &status);
  if (converter != nullptr) ucnv_close(converter);
  return U_SUCCESS(status);
}

std::u16string AnsiToWide(std::string_view text, int codePage) {
  if (text.empty()) return {};
  UConverter* converter = ConverterFor(Resolve(codePage));
  ucnv_reset(converter);
  std::u16string result(text.size() + 1, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = ucnv_toUChars(converter, result.data(), static_cast<int32_t>(result.size()),
                                 text.data(), static_cast<int32_t>(text.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    result.assign(static_cast<size_t>(length) + 1, u'\0');
    status = U_ZERO_ERROR;
    ucnv_reset(converter);
    length = ucnv_toUChars(converter, result.data(), static_cast<int32_t>(result.size()),
                           text.data(), static_cast<int32_t>(text.size()), &status);
  }
  if (U_FAILURE(status)) return std::u16string(text.size(), u'?');
  result.resize(static_cast<size_t>(length));
  // ICU marks undecodable bytes with U+FFFD; the system's texts show them as "?".
  for (char16_t& c : result) {
    if (c == 0xFFFD || c == 0x1A) c = u'?';
  }
  return result;
}

std::string WideToAnsi(std::u16string_view text, int codePage) {
  if (text.empty()) return {};
  UConverter* converter = ConverterFor(Resolve(codePage));
  ucnv_reset(converter);
  std::string result(text.size() * 4 + 1, '\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = ucnv_fromUChars(converter, result.data(), static_cast<int32_t>(result.size()),
                                   reinterpret_cast<const UChar*>(text.data()),
                                   static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
    return std::string(text.size(), '?');
  }
  result.resize(static_cast<size_t>(length));
  return result;
}

std::u16string Utf8ToWide(std::string_view text) {
  if (text.empty()) return {};
  std::u16string result(text.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(reinterpret_cast<UChar*>(result.data()), static_cast<int32_t>(result.size()),
                       &length, text.data(), static_cast<int32_t>(text.size()), u'?', nullptr,
                       &status);
  if (U_FAILURE(status)) return std::u16string(text.size(), u'?');
  result.resize(static_cast<size_t>(length));
  return result;
}

std::string WideToUtf8(std::u16string_view text) {
  if (text.empty()) return {};
  std::string result(text.size() * 3 + 1, '\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(result.data(), static_cast<int32_t>(result.size()), &length,
                     reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                     u'?', nullptr, &status);
  if (U_FAILURE(status)) return std::string(text.size(), '?');
  result.resize(static_cast<size_t>(length));
  return result;
}

std::string AnsiToUtf8(std::string_view text, int codePage) {
  return WideToUtf8(AnsiToWide(text, codePage));
}

std::string Utf8ToAnsi(std::string_view text, int codePage) {
  return WideToAnsi(Utf8ToWide(text), codePage);
}

std::string ConvertCodePage(std::string_view text, int fromCodePage, int toCodePage) {
  if (Resolve(fromCodePage) == Resolve(toCodePage)) return std::string(text);
  return WideToAnsi(AnsiToWide(text, fromCodePage), toCodePage);
}

std::string SysText(std::string_view utf8Literal) {
  return Utf8ToAnsi(utf8Literal);
}

bool IsLeadByte(unsigned char byte, int codePage) {
  switch (Resolve(codePage)) {
    case kCodePageGB:
    case kCodePageBig5:
      return byte >= 0x81 && byte <= 0xFE;
    default:
      return false;
  }
}

}  // namespace nv
