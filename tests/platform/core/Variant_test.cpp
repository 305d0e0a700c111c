#include "platform/core/Variant.h"

#include <gtest/gtest.h>

#include "platform/core/CodePage.h"
#include "platform/core/DateUtils.h"
#include "platform/core/SysUtils.h"

namespace nv {
namespace {

TEST(Variant, BooleanTrueHasAllBitsSet) {
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant(false).AsInteger(), 0);
  EXPECT_EQ(Variant(true).AsString(), "True");
}

struct ToTextCase {
  const char* name;
  Variant value;
  std::string expected;
};

TEST(Variant, ConvertsToText) {
  const ToTextCase cases[] = {
      {"empty is blank", Variant(), ""},
      {"integer", Variant(42), "42"},
      {"negative small integer", Variant(std::int16_t{-7}), "-7"},
      {"double shortest", Variant(0.1), "0.1"},
      {"double whole", Variant(3.0), "3"},
      {"double exponent", Variant(1e20), "1E20"},
      {"date with time", Variant::FromDate(EncodeDate(2004, 3, 7) + EncodeTime(8, 5, 0, 0)),
       "2004/03/07 08:05:00"},
      {"date alone", Variant::FromDate(EncodeDate(2004, 3, 7)), "2004/03/07"},
      {"wide text", Variant(std::u16string(u"abc")), "abc"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.AsString(), c.expected) << c.name;
}

struct ToIntegerCase {
  const char* name;
  Variant value;
  int expected;
};

TEST(Variant, ConvertsToInteger) {
  const ToIntegerCase cases[] = {
      {"empty is zero", Variant(), 0},
      {"decimal text", Variant("123"), 123},
      {"text with blanks", Variant(" 12 "), 12},
      {"hex text", Variant("$1F"), 31},
      {"float text rounds", Variant("2.5"), 2},
      {"double rounds half to even", Variant(3.5), 4},
      {"double rounds half to even down", Variant(2.5), 2},
      {"boolean text", Variant("True"), -1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.AsInteger(), c.expected) << c.name;
}

TEST(Variant, CastErrorsNameBothTypes) {
  try {
    (void)Variant("abc").AsInteger();
    FAIL() << "no error";
  } catch (const EVariantTypeCastError& e) {
    EXPECT_STREQ(e.what(), "Could not convert variant of type (String) into type (Integer)");
  }
  EXPECT_THROW((void)Variant::Null().AsString(), EVariantTypeCastError);
  EXPECT_THROW((void)Variant("1.5x").AsDouble(), EVariantTypeCastError);
  EXPECT_THROW((void)Variant("maybe").AsBoolean(), EVariantTypeCastError);
  EXPECT_THROW((void)Variant(1e12).AsInteger(), EVariantTypeCastError);
  EXPECT_EQ(VarToStr(Variant::Null()), "");
}

TEST(Variant, ParsesDateTextInTheLocaleOrder) {
  EXPECT_DOUBLE_EQ(Variant("2004/03/07").AsDate(), EncodeDate(2004, 3, 7));
  EXPECT_DOUBLE_EQ(Variant("2004/03/07 12:00").AsDate(), EncodeDate(2004, 3, 7) + 0.5);
  EXPECT_THROW((void)Variant("2004/02/30").AsDate(), EVariantTypeCastError);
}

TEST(Variant, ArraysKeepTheirBoundsAndCopyDeeply) {
  Variant a = Variant::Array(1, 3);
  a[1] = "one";
  a[3] = Variant::ArrayOf({1, 2});
  EXPECT_EQ(a.LowBound(), 1);
  EXPECT_EQ(a.HighBound(), 3);
  Variant copy = a;
  copy[3][0] = 99;
  EXPECT_EQ(a[3][0].AsInteger(), 1);
  EXPECT_EQ(copy[3][0].AsInteger(), 99);
  EXPECT_TRUE(a[2].IsEmpty());
  EXPECT_THROW(a[0], EVariantBadIndexError);
  EXPECT_THROW(a[4], EVariantBadIndexError);
  a.Redim(1);
  EXPECT_EQ(a.ElementCount(), 1);
  EXPECT_EQ(a[1].AsString(), "one");
}

TEST(Variant, TwoDimensionalArrays) {
  Variant grid = Variant::Array2D({0, 2}, {1, 3});
  grid.At(1, 3) = 7;
  EXPECT_EQ(grid.DimCount(), 2);
  EXPECT_EQ(grid.HighBound(2), 3);
  EXPECT_EQ(grid.At(1, 3).AsInteger(), 7);
  EXPECT_THROW(grid.At(2, 1), EVariantBadIndexError);
  EXPECT_THROW(grid[0], EVariantBadIndexError);
}

TEST(Variant, EqualityFollowsThePlatform) {
  EXPECT_EQ(Variant(1), Variant(1.0));
  EXPECT_EQ(Variant("a"), Variant(std::u16string(u"a")));
  EXPECT_FALSE(Variant() == Variant::Null());
  EXPECT_FALSE(Variant("1") == Variant(1));
  EXPECT_EQ(Variant::ArrayOf({1, "x"}), Variant::ArrayOf({1, "x"}));
  EXPECT_FALSE(Variant::ArrayOf({1}) == Variant::ArrayOf({2}));
}

class CountingObject : public IDispatchObject {
 public:
  void AddRef() noexcept override { ++refs; }
  void Release() noexcept override { --refs; }
  std::string DispatchName() const override { return "Test.Counter"; }
  Variant Invoke(std::string_view member, InvokeKind kind, std::span<Variant> args) override {
    if (member == "Twice" && !args.empty()) args[0] = args[0].AsInteger() * 2;
    return Variant(static_cast<int>(args.size()));
  }
  int refs = 0;
};

TEST(Variant, HoldsAutomationObjectsByReference) {
  CountingObject object;
  {
    Variant v(&object);
    Variant copy = v;
    EXPECT_EQ(object.refs, 2);
    std::vector<Variant> args{21};
    EXPECT_EQ(copy.CallRef("Twice", args).AsInteger(), 1);
    EXPECT_EQ(args[0].AsInteger(), 42);
  }
  EXPECT_EQ(object.refs, 0);
  EXPECT_THROW(Variant(1).Call("Twice"), EVariantError);
}

}  // namespace
}  // namespace nv
