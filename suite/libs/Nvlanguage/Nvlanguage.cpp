#include "Nvlanguage.h"

#include <opencc.h>

#include <cstring>
#include <mutex>
#include <string>

#include "platform/core/CodePage.h"

namespace {

// Character conversion only (no phrase substitution), so that a GB text taken to Big5 and
// back keeps its words: the voucher vocabulary must survive a round trip through the data
// conversion. "s2tw" gives the Taiwan forms of the characters, "tw2s" takes them back.
constexpr const char* kToTraditional = "s2tw.json";
constexpr const char* kToSimplified = "tw2s.json";

class Converter {
 public:
  explicit Converter(const char* config) : handle_(opencc_open(config)) {}
  ~Converter() {
    if (Usable()) opencc_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Without the conversion tables the text still changes code page; characters without a
  // counterpart then become "?".
  std::string Convert(const std::string& utf8) {
    if (!Usable() || utf8.empty()) return utf8;
    std::lock_guard<std::mutex> lock(mutex_);
    char* converted = opencc_convert_utf8(handle_, utf8.data(), utf8.size());
    if (converted == nullptr) return utf8;
    std::string result(converted);
    opencc_convert_utf8_free(converted);
    return result;
  }

 private:
  bool Usable() const { return handle_ != reinterpret_cast<opencc_t>(-1) && handle_ != nullptr; }
  opencc_t handle_;
  std::mutex mutex_;
};

Converter& ToTraditional() {
  static Converter converter(kToTraditional);
  return converter;
}

Converter& ToSimplified() {
  static Converter converter(kToSimplified);
  return converter;
}

int Deliver(const std::string& result, char* dst, int dstSize) {
  const int length = static_cast<int>(result.size());
  if (dst == nullptr || dstSize <= length) return length + 1;
  std::memcpy(dst, result.data(), result.size());
  dst[length] = '\0';
  return length;
}

int Translate(const char* src, char* dst, int dstSize, int fromCodePage, int toCodePage,
              Converter& converter) {
  if (src == nullptr) src = "";
  const std::string utf8 = nv::AnsiToUtf8(src, fromCodePage);
  return Deliver(nv::Utf8ToAnsi(converter.Convert(utf8), toCodePage), dst, dstSize);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int GBtoBIG5(const char* src, char* dst,
                                                               int dstSize) {
  try {
    return Translate(src, dst, dstSize, nv::kCodePageGB, nv::kCodePageBig5, ToTraditional());
  } catch (...) {
    return Deliver(std::string(), dst, dstSize);
  }
}

extern "C" __attribute__((visibility("default"))) int BIG5toGB(const char* src, char* dst,
                                                               int dstSize) {
  try {
    return Translate(src, dst, dstSize, nv::kCodePageBig5, nv::kCodePageGB, ToSimplified());
  } catch (...) {
    return Deliver(std::string(), dst, dstSize);
  }
}
