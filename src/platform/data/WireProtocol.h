#pragma once
// The framed, versioned protocol between TSocketConnection and tallyd (docs/wire-protocol.md):
// frames, the variant encoding, and the call, result and error messages. Decoding never
// trusts a length: every count is checked against the bytes left before anything is allocated.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"

namespace nv {

NV_DECLARE_EXCEPTION(EWireError, Exception);  // a frame or packet that breaks the protocol

namespace wire {

constexpr std::uint8_t kVersion = 1;
constexpr std::size_t kHeaderSize = 16;
constexpr std::uint32_t kDefaultMaxFrameBytes = 256u << 20;
constexpr std::size_t kMaxMemberBytes = 255;
constexpr std::size_t kMaxArguments = 64;
constexpr int kMaxArrayDepth = 16;

enum class FrameKind : std::uint8_t { Open = 1, Call = 2, Result = 3, Error = 4, Close = 5 };

struct FrameHeader {
  FrameKind kind = FrameKind::Call;
  std::uint32_t sequence = 0;
  std::uint32_t length = 0;
};

// Checks the 16 header bytes; raises EWireError naming the broken rule.
FrameHeader DecodeHeader(std::string_view header, std::uint32_t maxFrameBytes);
std::string EncodeFrame(FrameKind kind, std::uint32_t sequence, std::string_view payload);

// Little-endian writer of the protocol's scalars, texts and variants.
class Writer {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void U16(std::uint16_t v);
  void U32(std::uint32_t v);
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void I64(std::int64_t v);
  void F64(double v);
  void Text(std::string_view text);
  void Var(const Variant& value, int depth = 0);
  std::string& Bytes() { return bytes_; }
  std::string Take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

// Reader over one payload; every read checks the bytes left and raises EWireError.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : p_(bytes.data()), end_(bytes.data() + bytes.size()) {}
  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  std::int64_t I64();
  double F64();
  std::string Text();
  std::string_view TextView();
  Variant Var(int depth = 0);
  std::size_t Left() const { return static_cast<std::size_t>(end_ - p_); }
  bool AtEnd() const { return p_ == end_; }
  // Raises unless the payload was read exactly to its end.
  void ExpectEnd(const char* what) const;

 private:
  const char* Take(std::size_t count);
  const char* p_;
  const char* end_;
};

struct CallMessage {
  std::string member;
  InvokeKind kind = InvokeKind::Method;
  std::vector<Variant> args;
};

struct ResultMessage {
  Variant result;
  std::vector<Variant> args;
};

struct ErrorMessage {
  std::string className;
  std::string message;
};

std::string EncodeCall(const CallMessage& call);
CallMessage DecodeCall(std::string_view payload);
std::string EncodeResult(const Variant& result, const std::vector<Variant>& args);
std::string EncodeResult(const Variant& result, std::span<const Variant> args);
ResultMessage DecodeResult(std::string_view payload);
std::string EncodeError(std::string_view className, std::string_view message);
ErrorMessage DecodeError(std::string_view payload);
std::string EncodeOpen(std::string_view serverName);
std::string DecodeOpen(std::string_view payload);

}  // namespace wire
}  // namespace nv
