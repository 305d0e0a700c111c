#pragma once
// ORNIXGeneratorU: scrambling of the database passwords kept in the server configuration
// file, and the error report with its own daily log (Log\Alert_ORNIXGenerator_<day>.log).
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SysUtils.h"

namespace nv {

inline constexpr std::string_view kEmptyPasswordText = "NV_Say_NoPassWord_ThePassWordIsEmpty";
inline constexpr std::string_view kNeverHasPasswordText = "NV_Say_Never_Has_Password";
inline constexpr std::string_view kPasswordErrorText = "NV_Say_Password_Error";

// Error kinds the report writes out in detail.
struct TDBEngineSubError {
  int code = 0;
  std::string message;
};
class EDBEngineError : public Exception {
 public:
  EDBEngineError(std::string message, std::vector<TDBEngineSubError> errors)
      : Exception(std::move(message)), errors_(std::move(errors)) {}
  const std::vector<TDBEngineSubError>& Errors() const { return errors_; }

 private:
  std::vector<TDBEngineSubError> errors_;
};
class EWin32Error : public EOSError {
 public:
  EWin32Error(std::string message, int errorCode)
      : EOSError(std::move(message)), errorCode_(errorCode) {}
  int ErrorCode() const { return errorCode_; }

 private:
  int errorCode_;
};
class EInOutError : public Exception {
 public:
  EInOutError(std::string message, int errorCode)
      : Exception(std::move(message)), errorCode_(errorCode) {}
  int ErrorCode() const { return errorCode_; }

 private:
  int errorCode_;
};

std::string EncodeDBPassword(std::string_view plain);
// Never raises: a text that is no hexadecimal gives kPasswordErrorText and an error report.
std::string DecodeDBPassword(std::string_view scrambled);

// error may be null (a report of the programmer message alone).
void WriteErrorReport(const std::exception* error, std::string_view location,
                      std::string_view programmerMessage);
bool WriteGeneratorLog(std::string_view text);
// The folder the log goes under: the shell's folder, else the temporary folder.
std::string GetLogRoot();

// The class name of an error as reports name it ("EConvertError").
std::string ErrorClassName(const std::exception& error);

}  // namespace nv
