#include "runtime/TranslatorU.h"

#include <vector>

#include "platform/core/Format.h"
#include "platform/os/Modules.h"

namespace nv {

TTranslator::TTranslator(std::string_view libraryName) {
  handle_ = LoadLibrary(libraryName);
  if (handle_ == nullptr)
    throw ETranslatorError(Format("Load Library %s Error!", {std::string(libraryName)}));
  gbToBig5_ = reinterpret_cast<TConvertFunction*>(GetProcAddress(handle_, "GBtoBIG5"));
  big5ToGB_ = reinterpret_cast<TConvertFunction*>(GetProcAddress(handle_, "BIG5toGB"));
  if (gbToBig5_ == nullptr || big5ToGB_ == nullptr) {
    FreeLibrary(handle_);
    throw ETranslatorError("Get Library Procedure Address Error!");
  }
}

TTranslator::~TTranslator() {
  FreeLibrary(handle_);
}

std::string TTranslator::Apply(TConvertFunction* function, std::string_view text) {
  if (function == nullptr) return std::string(text);
  // A text holds no NUL of its own; the library reads up to the first one.
  const std::string source(text.substr(0, text.find('\0')));
  // Both code pages are double-byte: the result is about as long as the text; the library
  // tells the size it needs when a guess is short.
  std::vector<char> buffer(source.size() + 16);
  int length = function(source.c_str(), buffer.data(), static_cast<int>(buffer.size()));
  if (length >= static_cast<int>(buffer.size())) {
    buffer.resize(static_cast<size_t>(length));
    length = function(source.c_str(), buffer.data(), static_cast<int>(buffer.size()));
    if (length < 0 || length >= static_cast<int>(buffer.size())) return std::string(text);
  }
  return std::string(buffer.data(), length < 0 ? 0 : static_cast<size_t>(length));
}

std::string TTranslator::GBtoBIG5(std::string_view text) const {
  return Apply(gbToBig5_, text);
}

std::string TTranslator::BIG5toGB(std::string_view text) const {
  return Apply(big5ToGB_, text);
}

}  // namespace nv
