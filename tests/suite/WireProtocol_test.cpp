// The frame codec and the data packet: what travels decodes to what was sent, and every
// broken frame is refused with a reason before anything large is allocated.
#include "platform/data/WireProtocol.h"

#include <gtest/gtest.h>

#include "platform/data/DataPacket.h"

namespace nv {
namespace {

Variant RoundTrip(const Variant& v) {
  wire::Writer w;
  w.Var(v);
  wire::Reader r(w.Bytes());
  Variant back = r.Var();
  EXPECT_TRUE(r.AtEnd());
  return back;
}

TEST(WireVariant, EveryKindSurvivesTheTrip) {
  Variant grid = Variant::Array2D({0, 2}, {1, 3});
  grid.At(1, 3) = Variant("z");
  grid.At(0, 1) = Variant(7);
  Variant nested =
      Variant::ArrayOf({Variant(1), Variant::ArrayOf({Variant("a"), Variant::Null()})});
  const Variant cases[] = {Variant(),
                           Variant::Null(),
                           Variant(std::int16_t{-5}),
                           Variant(123456),
                           Variant(2.5),
                           Variant::FromDate(45000.25),
                           Variant(true),
                           Variant(false),
                           Variant(std::string("\xC7\xE5\xB3\xA1")),  // GBK bytes as they stand
                           Variant(std::u16string(u"清场")),
                           Variant::Array(3, 2),
                           grid,
                           nested};
  for (const Variant& v : cases) {
    Variant back = RoundTrip(v);
    EXPECT_EQ(back.Type(), v.Type()) << VarTypeName(v.Type());
    EXPECT_TRUE(back == v) << VarTypeName(v.Type());
  }
  EXPECT_EQ(RoundTrip(grid).LowBound(2), 1);
  EXPECT_EQ(RoundTrip(Variant::Array(3, 2)).LowBound(), 3);
}

TEST(WireVariant, AutomationObjectsDoNotTravel) {
  struct Obj : IDispatchObject {
    void AddRef() noexcept override {}
    void Release() noexcept override {}
    std::string DispatchName() const override { return "x"; }
    Variant Invoke(std::string_view, InvokeKind, std::span<Variant>) override { return {}; }
  } obj;
  wire::Writer w;
  try {
    w.Var(Variant::ArrayOf({Variant(&obj)}));
    FAIL();
  } catch (const EWireError& e) {
    EXPECT_STREQ(e.what(), "an automation object cannot be sent");
  }
}

TEST(WireMessages, CallResultErrorOpen) {
  wire::CallMessage call{"GetBlobField",
                         InvokeKind::Method,
                         {Variant::ArrayOf({Variant("TfrmQCPR31Fmt"), Variant("A")}), Variant()}};
  wire::CallMessage back = wire::DecodeCall(wire::EncodeCall(call));
  EXPECT_EQ(back.member, "GetBlobField");
  ASSERT_EQ(back.args.size(), 2u);
  EXPECT_TRUE(back.args[0] == call.args[0]);

  std::vector<Variant> args{Variant(1), Variant("changed")};
  wire::ResultMessage r = wire::DecodeResult(wire::EncodeResult(Variant(5), args));
  EXPECT_EQ(r.result.AsInteger(), 5);
  EXPECT_EQ(r.args[1].AsString(), "changed");

  wire::ErrorMessage e = wire::DecodeError(wire::EncodeError("EDatabaseError", "no such table: X"));
  EXPECT_EQ(e.className, "EDatabaseError");
  EXPECT_EQ(e.message, "no such table: X");
  EXPECT_EQ(wire::DecodeOpen(wire::EncodeOpen("Tallyd.Class1")), "Tallyd.Class1");
}

std::string Header(std::string magic, int version, int kind, int reserved, std::uint32_t length) {
  wire::Writer w;
  w.Bytes() = magic;
  w.U8(static_cast<std::uint8_t>(version));
  w.U8(static_cast<std::uint8_t>(kind));
  w.U16(static_cast<std::uint16_t>(reserved));
  w.U32(9);
  w.U32(length);
  return w.Take();
}

TEST(WireFrames, MalformedHeadersAreRefusedWithTheirReason) {
  struct Case {
    const char* name;
    std::string header;
    const char* message;
  } cases[] = {
      {"magic", Header("HTTP", 1, 2, 0, 0), "bad frame magic"},
      {"version", Header("NVWF", 2, 2, 0, 0), "unsupported protocol version 2"},
      {"kind zero", Header("NVWF", 1, 0, 0, 0), "unknown frame kind 0"},
      {"kind six", Header("NVWF", 1, 6, 0, 0), "unknown frame kind 6"},
      {"reserved", Header("NVWF", 1, 2, 1, 0), "reserved header bytes are not zero"},
      {"too long", Header("NVWF", 1, 2, 0, 1025), "frame of 1025 bytes exceeds the limit of 1024"},
  };
  for (const Case& c : cases) {
    try {
      wire::DecodeHeader(c.header, 1024);
      ADD_FAILURE() << c.name;
    } catch (const EWireError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.name;
    }
  }
  wire::FrameHeader ok = wire::DecodeHeader(Header("NVWF", 1, 3, 0, 1024), 1024);
  EXPECT_EQ(ok.kind, wire::FrameKind::Result);
  EXPECT_EQ(ok.sequence, 9u);
}

TEST(WireFrames, MalformedPayloadsAreRefusedWithTheirReason) {
  auto forged = [](auto fill) {
    wire::Writer w;
    fill(w);
    return w.Take();
  };
  struct Case {
    const char* name;
    std::string payload;
    const char* message;
  } cases[] = {
      {"empty", "", "payload ends early"},
      {"text longer than payload", forged([](wire::Writer& w) { w.U32(1000); }),
       "payload ends early"},
      {"empty member", forged([](wire::Writer& w) { w.Text(""); }),
       "member name must have 1 to 255 bytes"},
      {"invoke kind", forged([](wire::Writer& w) {
         w.Text("X");
         w.U8(7);
       }),
       "unknown invoke kind 7"},
      {"too many args", forged([](wire::Writer& w) {
         w.Text("X");
         w.U8(0);
         w.U16(65);
       }),
       "more than 64 arguments"},
      {"forged array count", forged([](wire::Writer& w) {
         w.Text("X");
         w.U8(0);
         w.U16(1);
         w.U16(0x2000);
         w.U8(1);
         w.I32(0);
         w.U32(0x7FFFFFF0);
       }),
       "array element count exceeds the payload"},
      {"three dimensions", forged([](wire::Writer& w) {
         w.Text("X");
         w.U8(0);
         w.U16(1);
         w.U16(0x2000);
         w.U8(3);
       }),
       "array of 3 dimensions"},
      {"dispatch", forged([](wire::Writer& w) {
         w.Text("X");
         w.U8(0);
         w.U16(1);
         w.U16(9);
       }),
       "unknown variant type 9"},
      {"trailing", forged([](wire::Writer& w) {
         w.Text("X");
         w.U8(0);
         w.U16(0);
         w.U8(0);
       }),
       "call has 1 bytes left over"},
      {"boolean byte", forged([](wire::Writer& w) {
         w.Text("X");
         w.U8(0);
         w.U16(1);
         w.U16(11);
         w.U8(2);
       }),
       "Boolean byte is neither 0 nor 1"},
  };
  for (const Case& c : cases) {
    try {
      wire::DecodeCall(c.payload);
      ADD_FAILURE() << c.name;
    } catch (const EWireError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.name;
    }
  }
}

TEST(WireFrames, DeepNestingIsRefused) {
  Variant v(1);
  for (int i = 0; i < 20; ++i) v = Variant::ArrayOf({v});
  wire::Writer w;
  EXPECT_THROW(w.Var(v), EWireError);
}

TEST(DataPacketCodec, RoundTripAndForgedCounts) {
  DataPacket p;
  p.fields = {{"TD001", TFieldType::ftString, 4},
              {"TD021", TFieldType::ftInteger, 0},
              {"TA015", TFieldType::ftFloat, 0}};
  p.rows = {{Variant("QC01"), Variant(2), Variant(1500.5)},
            {Variant::Null(), Variant(0), Variant::Null()}};
  DataPacket back = DecodeDataPacket(EncodeDataPacket(p));
  ASSERT_EQ(back.rows.size(), 2u);
  EXPECT_EQ(back.fields[0].name, "TD001");
  EXPECT_EQ(back.fields[0].size, 4u);
  EXPECT_EQ(back.fields[1].type, TFieldType::ftInteger);
  EXPECT_EQ(back.rows[0][0].AsString(), "QC01");
  EXPECT_EQ(back.rows[0][2].AsDouble(), 1500.5);
  EXPECT_TRUE(back.rows[1][0].IsNull());

  std::string bytes = EncodeDataPacket(p);
  std::string forged = bytes;
  // The row count sits right after the column descriptions.
  std::size_t rowCountAt = bytes.size() - 4;
  for (auto& row : p.rows) {
    for (auto& cell : row) {
      rowCountAt -=
          cell.IsNull() ? 1 : (cell.Type() == VarType::String ? 5 + cell.AsString().size() : 9);
    }
  }
  forged[rowCountAt + 3] = '\x7F';
  try {
    DecodeDataPacket(forged);
    FAIL();
  } catch (const EWireError& e) {
    EXPECT_STREQ(e.what(), "row count exceeds the packet");
  }
  EXPECT_THROW(DecodeDataPacket(bytes.substr(0, bytes.size() - 1)), EWireError);
  EXPECT_THROW(DecodeDataPacket("NVDP"), EWireError);
}

}  // namespace
}  // namespace nv
