#pragma once
// TranslatorU: the language library "Nvlanguage.dll" and its two conversion functions,
// GBtoBIG5 and BIG5toGB, looked up by name. Loading it is the first use, so a missing
// library or entry point raises here, with the fixed English texts the suite shows.
#include <string>
#include <string_view>

#include "platform/core/SysUtils.h"

namespace nv {

NV_DECLARE_EXCEPTION(ETranslatorError, Exception);

inline constexpr std::string_view kLanguageLibraryName = "Nvlanguage.dll";

class TTranslator {
 public:
  // Raises ETranslatorError "Load Library Nvlanguage.dll Error!" or
  // "Get Library Procedure Address Error!".
  explicit TTranslator(std::string_view libraryName = kLanguageLibraryName);
  ~TTranslator();
  TTranslator(const TTranslator&) = delete;
  TTranslator& operator=(const TTranslator&) = delete;

  std::string GBtoBIG5(std::string_view text) const;
  std::string BIG5toGB(std::string_view text) const;

 private:
  using TConvertFunction = int(const char* src, char* dst, int dstSize);
  static std::string Apply(TConvertFunction* function, std::string_view text);

  void* handle_ = nullptr;
  TConvertFunction* gbToBig5_ = nullptr;
  TConvertFunction* big5ToGB_ = nullptr;
};

}  // namespace nv
