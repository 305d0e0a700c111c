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

NV_DECLARE_EXCEPTION(EConvertError, Exception);        // text that is no number, bad Format
NV_DECLARE_EXCEPTION(EVariantError, Exception);        // variant operations
NV_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
NV_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError);
NV_DECLARE_EXCEPTION(EOSError, Exception);             // operating-system services
NV_DECLARE_EXCEPTION(EFOpenError, Exception);          // a file that cannot be opened
NV_DECLARE_EXCEPTION(EReadError, Exception);           // malformed input read from outside

}  // namespace nv
