#include "platform/data/WireProtocol.h"

#include <cstring>

namespace nv::wire {

namespace {
constexpr char kMagic[4] = {'N', 'V', 'W', 'F'};

std::uint32_t LoadU32(const char* p) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
  return v;
}
}  // namespace

FrameHeader DecodeHeader(std::string_view header, std::uint32_t maxFrameBytes) {
  if (header.size() != kHeaderSize) throw EWireError("frame header is not 16 bytes");
  if (std::memcmp(header.data(), kMagic, 4) != 0) throw EWireError("bad frame magic");
  auto version = static_cast<std::uint8_t>(header[4]);
  if (version != kVersion) {
    throw EWireError("unsupported protocol version " + IntToStr(version));
  }
  auto kind = static_cast<std::uint8_t>(header[5]);
  if (kind < 1 || kind > 5) throw EWireError("unknown frame kind " + IntToStr(kind));
  if (header[6] != 0 || header[7] != 0) throw EWireError("reserved header bytes are not zero");
  FrameHeader h;
  h.kind = static_cast<FrameKind>(kind);
  h.sequence = LoadU32(header.data() + 8);
  h.length = LoadU32(header.data() + 12);
  if (h.length > maxFrameBytes) {
    throw EWireError("frame of " + IntToStr(h.length) + " bytes exceeds the limit of " +
                     IntToStr(maxFrameBytes));
  }
  return h;
}

std::string EncodeFrame(FrameKind kind, std::uint32_t sequence, std::string_view payload) {
  if (payload.size() > 0xFFFFFFFFu) throw EWireError("payload too large for one frame");
  Writer w;
  w.Bytes().append(kMagic, 4);
  w.U8(kVersion);
  w.U8(static_cast<std::uint8_t>(kind));
  w.U16(0);
  w.U32(sequence);
  w.U32(static_cast<std::uint32_t>(payload.size()));
  w.Bytes().append(payload);
  return w.Take();
}

void Writer::U16(std::uint16_t v) {
  U8(static_cast<std::uint8_t>(v));
  U8(static_cast<std::uint8_t>(v >> 8));
}

void Writer::U32(std::uint32_t v) {
  for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
}

void Writer::I64(std::int64_t v) {
  auto u = static_cast<std::uint64_t>(v);
  for (int i = 0; i < 8; ++i) U8(static_cast<std::uint8_t>(u >> (8 * i)));
}

void Writer::F64(double v) {
  std::int64_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  I64(bits);
}

void Writer::Text(std::string_view text) {
  if (text.size() > 0xFFFFFFFFu) throw EWireError("text too long for the wire");
  U32(static_cast<std::uint32_t>(text.size()));
  bytes_.append(text);
}

void Writer::Var(const Variant& value, int depth) {
  if (depth > kMaxArrayDepth) throw EWireError("arrays nested too deep");
  VarType t = value.Type();
  U16(static_cast<std::uint16_t>(t));
  switch (t) {
    case VarType::Empty:
    case VarType::Null:
      return;
    case VarType::SmallInt:
      U16(static_cast<std::uint16_t>(value.AsInteger()));
      return;
    case VarType::Integer:
      I32(value.AsInteger());
      return;
    case VarType::Double:
    case VarType::Date:
      F64(value.AsDouble());
      return;
    case VarType::Boolean:
      U8(value.AsBoolean() ? 1 : 0);
      return;
    case VarType::String:
      Text(value.AsString());
      return;
    case VarType::OleStr: {
      std::u16string w = value.AsWideString();
      U32(static_cast<std::uint32_t>(w.size()));
      for (char16_t c : w) U16(static_cast<std::uint16_t>(c));
      return;
    }
    case VarType::Array: {
      int dims = value.DimCount();
      U8(static_cast<std::uint8_t>(dims));
      for (int d = 1; d <= dims; ++d) {
        I32(value.LowBound(d));
        U32(static_cast<std::uint32_t>(value.HighBound(d) - value.LowBound(d) + 1));
      }
      if (dims == 1) {
        for (int i = value.LowBound(1); i <= value.HighBound(1); ++i) Var(value[i], depth + 1);
      } else {
        for (int r = value.LowBound(1); r <= value.HighBound(1); ++r) {
          for (int c = value.LowBound(2); c <= value.HighBound(2); ++c) {
            Var(value.At(r, c), depth + 1);
          }
        }
      }
      return;
    }
    case VarType::Dispatch:
      throw EWireError("an automation object cannot be sent");
  }
  throw EWireError("variant type " + IntToStr(static_cast<int>(t)) + " cannot be sent");
}

const char* Reader::Take(std::size_t count) {
  if (count > Left()) throw EWireError("payload ends early");
  const char* at = p_;
  p_ += count;
  return at;
}

std::uint8_t Reader::U8() {
  return static_cast<std::uint8_t>(*Take(1));
}

std::uint16_t Reader::U16() {
  const char* p = Take(2);
  return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) |
                                    (static_cast<unsigned char>(p[1]) << 8));
}

std::uint32_t Reader::U32() {
  return LoadU32(Take(4));
}

std::int64_t Reader::I64() {
  const char* p = Take(8);
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
  return static_cast<std::int64_t>(v);
}

double Reader::F64() {
  std::int64_t bits = I64();
  double v = 0;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

std::string_view Reader::TextView() {
  std::uint32_t n = U32();
  const char* p = Take(n);
  return {p, n};
}

std::string Reader::Text() {
  return std::string(TextView());
}

Variant Reader::Var(int depth) {
  if (depth > kMaxArrayDepth) throw EWireError("arrays nested too deep");
  auto t = static_cast<VarType>(U16());
  switch (t) {
    case VarType::Empty:
      return {};
    case VarType::Null:
      return Variant::Null();
    case VarType::SmallInt:
      return Variant(static_cast<std::int16_t>(U16()));
    case VarType::Integer:
      return Variant(static_cast<int>(I32()));
    case VarType::Double:
      return Variant(F64());
    case VarType::Date:
      return Variant::FromDate(F64());
    case VarType::Boolean: {
      std::uint8_t b = U8();
      if (b > 1) throw EWireError("Boolean byte is neither 0 nor 1");
      return Variant(b == 1);
    }
    case VarType::String:
      return Variant(Text());
    case VarType::OleStr: {
      std::uint32_t n = U32();
      if (n > Left() / 2) throw EWireError("payload ends early");
      std::u16string w(n, u'\0');
      for (auto& c : w) c = static_cast<char16_t>(U16());
      return Variant(std::move(w));
    }
    case VarType::Array: {
      std::uint8_t dims = U8();
      if (dims != 1 && dims != 2) throw EWireError("array of " + IntToStr(dims) + " dimensions");
      VarArrayBound b[2];
      std::uint64_t total = 1;
      for (int d = 0; d < dims; ++d) {
        b[d].lowBound = I32();
        std::uint32_t count = U32();
        if (count > 0x7FFFFFFFu) throw EWireError("array element count out of range");
        b[d].elementCount = static_cast<int>(count);
        total *= count;
        if (static_cast<std::int64_t>(b[d].lowBound) + count - 1 > 0x7FFFFFFF) {
          throw EWireError("array bounds out of range");
        }
      }
      // Every element takes at least its two type bytes.
      if (total > Left() / 2) throw EWireError("array element count exceeds the payload");
      if (dims == 1) {
        Variant v = Variant::Array(b[0].lowBound, b[0].elementCount);
        for (int i = 0; i < b[0].elementCount; ++i) v[b[0].lowBound + i] = Var(depth + 1);
        return v;
      }
      Variant v = Variant::Array2D(b[0], b[1]);
      for (int r = 0; r < b[0].elementCount; ++r) {
        for (int c = 0; c < b[1].elementCount; ++c) {
          v.At(b[0].lowBound + r, b[1].lowBound + c) = Var(depth + 1);
        }
      }
      return v;
    }
    default:
      throw EWireError("unknown variant type " + IntToStr(static_cast<int>(t)));
  }
}

void Reader::ExpectEnd(const char* what) const {
  if (!AtEnd())
    throw EWireError(std::string(what) + " has " + IntToStr(Left()) + " bytes left over");
}

std::string EncodeCall(const CallMessage& call) {
  if (call.member.empty() || call.member.size() > kMaxMemberBytes) {
    throw EWireError("member name must have 1 to 255 bytes");
  }
  if (call.args.size() > kMaxArguments) throw EWireError("more than 64 arguments");
  Writer w;
  w.Text(call.member);
  w.U8(static_cast<std::uint8_t>(call.kind));
  w.U16(static_cast<std::uint16_t>(call.args.size()));
  for (const Variant& a : call.args) w.Var(a);
  return w.Take();
}

CallMessage DecodeCall(std::string_view payload) {
  Reader r(payload);
  CallMessage call;
  call.member = r.Text();
  if (call.member.empty() || call.member.size() > kMaxMemberBytes) {
    throw EWireError("member name must have 1 to 255 bytes");
  }
  std::uint8_t kind = r.U8();
  if (kind > 2) throw EWireError("unknown invoke kind " + IntToStr(kind));
  call.kind = static_cast<InvokeKind>(kind);
  std::uint16_t count = r.U16();
  if (count > kMaxArguments) throw EWireError("more than 64 arguments");
  call.args.reserve(count);
  for (int i = 0; i < count; ++i) call.args.push_back(r.Var());
  r.ExpectEnd("call");
  return call;
}

std::string EncodeResult(const Variant& result, std::span<const Variant> args) {
  if (args.size() > kMaxArguments) throw EWireError("more than 64 arguments");
  Writer w;
  w.Var(result);
  w.U16(static_cast<std::uint16_t>(args.size()));
  for (const Variant& a : args) w.Var(a);
  return w.Take();
}

std::string EncodeResult(const Variant& result, const std::vector<Variant>& args) {
  return EncodeResult(result, std::span<const Variant>(args));
}

ResultMessage DecodeResult(std::string_view payload) {
  Reader r(payload);
  ResultMessage m;
  m.result = r.Var();
  std::uint16_t count = r.U16();
  if (count > kMaxArguments) throw EWireError("more than 64 arguments");
  for (int i = 0; i < count; ++i) m.args.push_back(r.Var());
  r.ExpectEnd("result");
  return m;
}

std::string EncodeError(std::string_view className, std::string_view message) {
  Writer w;
  w.Text(className);
  w.Text(message);
  return w.Take();
}

ErrorMessage DecodeError(std::string_view payload) {
  Reader r(payload);
  ErrorMessage m;
  m.className = r.Text();
  m.message = r.Text();
  r.ExpectEnd("error");
  return m;
}

std::string EncodeOpen(std::string_view serverName) {
  Writer w;
  w.Var(Variant(serverName));
  return w.Take();
}

std::string DecodeOpen(std::string_view payload) {
  Reader r(payload);
  Variant name = r.Var();
  r.ExpectEnd("open");
  if (name.Type() != VarType::String) throw EWireError("open names no server");
  return name.AsString();
}

}  // namespace nv::wire
