#include "runtime/LibStrs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "platform/core/CodePage.h"
#include "platform/core/DateUtils.h"
#include "platform/core/SysUtils.h"

namespace nv {
namespace {

TEST(LibStrsTokens, GetTokenSplitsAtDelimitersOfAnyLength) {
  struct Case {
    const char* name;
    const char* text;
    const char* delimiter;
    int index;
    const char* expected;
  } cases[] = {
      {"last piece", "a,b,c", ",", 3, "c"},
      {"beyond the pieces", "a,b,c", ",", 4, ""},
      {"no delimiter is piece 1", "abc", ",", 1, "abc"},
      {"trailing delimiter gives empty last", "a,b,", ",", 3, ""},
      {"long delimiter", "x<>y<>z", "<>", 2, "y"},
      {"case-sensitive search", "aXbxc", "x", 2, "c"},
      {"index 0", "a,b", ",", 0, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetToken(c.text, c.delimiter, c.index), c.expected) << c.name;
}

TEST(LibStrsTokens, NumTokenCountsFindsPlusOne) {
  struct Case {
    const char* name;
    const char* text;
    const char* delimiter;
    int expected;
  } cases[] = {
      {"empty text", "", ",", 0},
      {"no delimiter", "abc", ",", 1},
      {"two commas", "a,b,", ",", 3},
      {"overlapping finds each count", "aaaa", "aa", 4},
      {"hash delimiter", "a#b#c", "#", 3},
      {"long delimiter starting with hash ends", "a##b##", "##", 3},
  };
  for (const auto& c : cases) EXPECT_EQ(NumToken(c.text, c.delimiter), c.expected) << c.name;
}

TEST(LibStrsTokens, CutTokenReturnsHeadAndKeepsRest) {
  std::string text = "CMSMQ CMSMQ.MQ001='A'";
  EXPECT_EQ(CutToken(text, " "), "CMSMQ");
  EXPECT_EQ(text, "CMSMQ.MQ001='A'");
  EXPECT_EQ(CutToken(text, ";"), "CMSMQ.MQ001='A'");
  EXPECT_EQ(text, "");
}

TEST(LibStrsTokens, PaddingNeverCuts) {
  EXPECT_EQ(PadL("7", {3, 48}), "007");
  EXPECT_EQ(PadL("7", {3}), "  7");
  EXPECT_EQ(PadL("12345", {3, 48}), "12345");
  EXPECT_EQ(ZeroATfirst(42, 5), "00042");
  EXPECT_EQ(ZeroATfirst(123456, 3), "123456");
  EXPECT_EQ(ZeroATfirst(-7, 3), "-007");
}

TEST(LibStrsTokens, SwapStrReplacesUntilNoneIsLeft) {
  struct Case {
    const char* name;
    const char* text;
    const char* oldText;
    const char* newText;
    bool trim;
    const char* expected;
  } cases[] = {
      {"collapses runs of back-slashes", "C:\\\\\\\\Baton\\\\x", "\\\\", "\\", false,
       "C:\\Baton\\x"},
      {"same ignoring case changes nothing", "abc", "B", "b", false, "abc"},
      {"trims blanks and controls", " \r\na-b\t ", "-", "+", true, "a+b"},
      {"new containing old replaces each once", "T.a T.b", "T.", "AT.", false, "AT.a AT.b"},
      {"new containing old, adjacent", "aaa", "a", "aa", false, "aaaaaa"},
      {"empty old", "abc", "", "x", false, "abc"},
      {"replacement completes an earlier find", "aab", "ab", "b", false, "b"},
  };
  for (const auto& c : cases) {
    // Guarded against running for ever: each case must finish at once.
    auto done = std::async(std::launch::async,
                           [&] { return SwapStr(c.text, c.oldText, c.newText, c.trim); });
    ASSERT_EQ(done.wait_for(std::chrono::seconds(5)), std::future_status::ready) << c.name;
    EXPECT_EQ(done.get(), c.expected) << c.name;
  }
}

TEST(LibStrsTexts, ButtonCaptionsAndSmallHelpers) {
  EXPECT_EQ(GetCHTButtonCaption("Yes"), SysText("是(&Y)"));
  EXPECT_EQ(GetCHTButtonCaption("NoToAll"), SysText("全否(&o)"));
  EXPECT_EQ(GetCHTButtonCaption("OK"), SysText("确定"));
  EXPECT_EQ(GetCHTButtonCaption("Close"), "Close");
  EXPECT_TRUE(IsLocalAddress("127.0.0.1"));
  EXPECT_FALSE(IsLocalAddress("localhost"));
  EXPECT_EQ(IIF(true, 1, "x"), Variant(1));
  EXPECT_TRUE(IsVarEmptyOrNull(Variant::Null()));
  EXPECT_FALSE(IsVarEmptyOrNull(Variant("")));
}

TEST(LibStrsTexts, StrToFloatDefaultNeedsTheWholeNumber) {
  const std::pair<const char*, double> cases[] = {
      {"12.5", 12.5}, {"-3", -3}, {"1e3", 1000}, {"12,5", -1}, {"", -1},
      {" 1", -1},     {"1x", -1}, {"0x10", -1},  {"inf", -1},  {".5", 0.5},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(StrToFloatDefault(text, -1), expected) << text;
}

TEST(LibStrsTexts, BLVariantToWideStringJoinsWithCode3) {
  const Variant items = Variant::ArrayOf({2, "A", "B", "C"});
  EXPECT_EQ(BLVariantToWideString("TD", items),
            u"TD\x03"
            u"2\x03"
            u"A\x03"
            u"B\x03");
  // A count beyond the array stops at its end.
  EXPECT_EQ(BLVariantToWideString("TD", Variant::ArrayOf({5, "A"})),
            u"TD\x03"
            u"5\x03"
            u"A\x03");
  EXPECT_EQ(BLVariantToWideString("TD", Variant()), u"TD\x03\x03");
}

TEST(LibStrsDates, DateStylesOneToFive) {
  const TDateTime date = EncodeDate(2004, 3, 7);
  struct Case {
    int type;
    const char* separator;
    const char* day;
    const char* month;
  } cases[] = {
      {1, "/", "2004/03/07", "2004/03"},  {2, "/", "03/07/2004", "03/2004"},
      {3, "/", "07/03/2004", "03/2004"},  {4, "/", "93/03/07", "93/03"},
      {5, ".", "093.03.07", "093.03"},    {1, "", "20040307", "200403"},
      {1, "-/", "2004-03-07", "2004-03"}, {6, "/", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateToString(date, c.type, c.separator), c.day) << c.type << c.separator;
    EXPECT_EQ(MonthToString(date, c.type, c.separator), c.month) << c.type << c.separator;
  }
  EXPECT_EQ(DateToString(0, 1, "/"), "");
}

TEST(LibStrsDates, TransDateInAndCheckDate) {
  EXPECT_EQ(TransDateIn("20040307"), EncodeDate(2004, 3, 7));
  for (const char* bad : {"2004037", "200403077", "20040230", "00000101", "2004ab07", ""})
    EXPECT_EQ(TransDateIn(bad), 0) << bad;
  const std::pair<const char*, bool> cases[] = {
      {"", true},          {"20040307", true}, {"17530101", true},  {"17521231", false},
      {"20040230", false}, {"99991231", true}, {"2004xx07", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(CheckDate(text), expected) << text;
}

TEST(LibStrsDates, DateAddTextKeepsTheDayWithinTheMonth) {
  struct Case {
    const char* name;
    Variant date;
    const char* unit;
    int count;
    const char* expected;
  } cases[] = {
      {"leap day plus a year", "20040229", "Y", 1, "20050228"},
      {"month end", "20040331", "M", 1, "20040430"},
      {"into December", "20041115", "m", 1, "20041215"},
      {"back over a year", "20040115", "M", -1, "20031215"},
      {"days", "20040227", "d", 3, "20040301"},
      {"date variant", Variant::FromDate(EncodeDate(2004, 3, 7) + 0.5), "D", 1, "20040308"},
      {"unknown unit", "20040307", "W", 1, ""},
      {"zero date", Variant::FromDate(0), "D", 1, ""},
      {"number variant", 20040307, "D", 1, ""},
      {"bad text", "2004", "D", 1, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DateAddText(c.date, c.unit, c.count), c.expected) << c.name;
  EXPECT_EQ(DaysOfMonth(1900, 2), 28);
  EXPECT_EQ(DaysOfMonth(2000, 2), 29);
  EXPECT_EQ(DaysOfMonth(2004, 13), 0);
}

TEST(LibStrsDates, UpdateDateResolvesRelativeDates) {
  struct Case {
    const char* name;
    const char* base;
    const char* count;
    const char* unit;
    const char* offset;
    const char* kind;
    const char* expected;
  } cases[] = {
      {"month then last day", "20040131", "1", "1", "0", "2", "20040229"},
      {"month then first day", "20040131", "1", "1", "0", "1", "20040201"},
      {"month then offset", "20040131", "1", "1", "3", "0", "20040303"},
      {"month as it is", "20040131", "-1", "1", "0", "9", "20031231"},
      {"year-month base", "200412", "2", "x", "x", "x", "200502"},
      {"weeks plus offset", "20040307", "2", "0", "1", "0", "20040322"},
      {"Sunday of next week", "20040310", "1", "0", "0", "1", "20040314"},
      {"Saturday of the week", "20040310", "0", "0", "0", "2", "20040313"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UpdateDate(c.base, c.count, c.unit, c.offset, c.kind), c.expected) << c.name;
  EXPECT_THROW(UpdateDate("20040131", "one", "1", "0", "0"), EConvertError);
}

TEST(LibStrsNumbers, CompareFloatRoundsToFifteenDigits) {
  EXPECT_EQ(CompareFloat(0.1L + 0.2L, 0.3L), 0);
  EXPECT_EQ(CompareFloat(1.0L, 1.0L + 1e-9L), -1);
  EXPECT_EQ(CompareFloat(2, 1), 1);
  EXPECT_EQ(CompareFloat(1e20L, 1e20L + 1), 0);
}

TEST(LibStrsVariants, NVStrToWideStringRedecodesTexts) {
  const std::string gb = Utf8ToAnsi("批号", kCodePageGB);
  const Variant wide = NVStrToWideString(Variant(gb), kCodePageGB);
  EXPECT_EQ(wide.Type(), VarType::OleStr);
  EXPECT_EQ(wide.AsWideString(), u"批号");
  Variant array = Variant::ArrayOf({Variant(u"A"), 5, Variant::ArrayOf({Variant(u"B")})});
  const Variant converted = NVStrToWideString(array, kCodePageGB);
  EXPECT_EQ(converted[1], Variant(5));
  EXPECT_EQ(converted[2][0].AsWideString(), u"B");
  EXPECT_TRUE(NVStrToWideString(Variant::Null(), kCodePageGB).IsNull());
}

// SQL fragments from condition values.
Variant Pair(Variant from, Variant to) {
  return Variant::ArrayOf({std::move(from), std::move(to)});
}
Variant Marked(char marker, std::vector<Variant> values) {
  values.insert(values.begin(), Variant(std::string(1, marker)));
  return Variant::ArrayOf(std::move(values));
}

TEST(LibStrsSql, SPSQLStrBuildsOneConditionPerField) {
  struct Case {
    const char* name;
    Variant value;
    int type;
    const char* expected;
  } cases[] = {
      {"equal pair", Pair("A", "A"), 1, " (TD002='A') "},
      {"range", Pair("A", "B"), 1, " (TD002 Between 'A' and 'B') "},
      {"lower bound", "A", 1, " (TD002>= 'A')"},
      {"upper bound keeps nulls", Pair("", "B"), 1, " (TD002<= 'B' OR TD002 IS NULL )"},
      {"numeric upper bound", Pair("", " 5 "), 2, " (TD002<=5 OR TD002 IS NULL )"},
      {"numeric range", Pair("1", "2.5"), 3, " (TD002 Between 1 and 2.5) "},
      {"marked range", Marked('\x04', {"A", "C"}), 1, " (TD002 Between 'A' and 'C') "},
      {"marked list", Marked('\x05', {"A", "", Variant::ArrayOf({"B", "x"}), Variant::Null()}), 2,
       "(TD002 IN ('A', 'B'))"},
      {"quotes are doubled", Pair("O'Neil", "O'Neil"), 1, " (TD002='O''Neil') "},
      {"quoted in list", Marked('\x05', {"a'b"}), 1, "(TD002 IN ('a''b'))"},
      {"number field with text is quoted", Pair("1) OR (1=1", ""), 2, " (TD002>='1) OR (1=1')"},
      {"empty list", Marked('\x05', {"", Variant::Null()}), 1, ""},
      {"nothing stated", Pair("", ""), 1, ""},
      {"unknown type", "A", 4, ""},
      {"Null plain value", Variant::Null(), 1, ""},
      {"unreadable element", Pair(Variant::ArrayOf({}), "B"), 1,
       " (TD002<= 'B' OR TD002 IS NULL )"},
  };
  for (const auto& c : cases) {
    std::string where;
    EXPECT_EQ(SPSQLStr(where, "TD002", c.value, c.type), c.expected) << c.name;
    EXPECT_EQ(where, *c.expected ? "Where " + std::string(c.expected) : "") << c.name;
  }
  std::string where = "Where  (TD001='A') ";
  SPSQLStr(where, "TD003", "20040307", 1);
  EXPECT_EQ(where, "Where  (TD001='A')  and  (TD003>= '20040307')");
}

Variant Rights(std::vector<Variant> entries) {
  entries.insert(entries.begin(), Variant(static_cast<int>(entries.size())));
  return Variant::ArrayOf(std::move(entries));
}

TEST(LibStrsSql, MakeBasePowerFiltersEveryOccurrence) {
  struct Case {
    const char* name;
    Variant rights;
    const char* database;
    const char* sql;
    const char* excluded;
    const char* expected;
  } cases[] = {
      {"alias", Rights({"CMSMQ CMSMQ.MQ001='A'"}), "DB", "$$CMSMQ CMSMQB", "",
       "(( CMSMQB.MQ001='A' ) or (CMSMQB.MQ001 is null))"},
      {"AS alias keeps case", Rights({"CMSMQ CMSMQ.MQ001='A'"}), "DB",
       "LEFT JOIN $$CMSMQ as Mq ON Mq.MQ001=TD001", "", "(( Mq.MQ001='A' ) or (Mq.MQ001 is null))"},
      {"no alias", Rights({"CMSMQ CMSMQ.MQ001='A'"}), "DB", "$$CMSMQ WHERE 1=1", "",
       "(( CMSMQ.MQ001='A' ) or (CMSMQ.MQ001 is null))"},
      {"two occurrences, line breaks", Rights({"CMSMV CMSMV.MV004='X'"}), "DB",
       "$$CMSMV A\r\nLEFT JOIN $$CMSMV B ON A.MV001=B.MV001", "",
       "(( A.MV004='X' ) or (A.MV001 is null)) and (( B.MV004='X' ) or (B.MV001 is null))"},
      {"excluded alias", Rights({"CMSMV CMSMV.MV004='X'"}), "DB",
       "$$CMSMV A LEFT JOIN $$CMSMV B ON", "B", "(( A.MV004='X' ) or (A.MV001 is null))"},
      {"database prefix", Rights({"CMSMQ CMSMQ.MQ001='A'"}), "COMP", "COMP..CMSMQ Q ON", "",
       "(( Q.MQ001='A' ) or (Q.MQ001 is null))"},
      {"database prefix not doubled", Rights({"CMSMQ CMSMQ.MQ001='A'"}), "COMP..",
       "COMP..CMSMQ Q ON", "", "(( Q.MQ001='A' ) or (Q.MQ001 is null))"},
      {"table not in text", Rights({"CMSMQ CMSMQ.MQ001='A'"}), "DB", "$$GMPTD", "", ""},
      {"longer table name is another table", Rights({"CMSMQ CMSMQ.MQ001='A'"}), "DB", "$$CMSMQA Q",
       "", ""},
      {"count beyond entries", Variant::ArrayOf({3, "CMSMQ CMSMQ.MQ001='A'"}), "DB", "$$CMSMQ", "",
       "(( CMSMQ.MQ001='A' ) or (CMSMQ.MQ001 is null))"},
      {"alias containing table and point", Rights({"T T.C=1"}), "DB", "$$T AS xT.", "",
       "(( xT..C=1 ) or (xT..T001 is null))"},
      {"no array", Variant("x"), "DB", "$$CMSMQ", "", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MakeBasePower(c.rights, c.database, c.sql, c.excluded), c.expected) << c.name;
}

TEST(LibStrsSql, FindTableAliasReadsTheWordAfterTheTable) {
  const std::pair<const char*, const char*> cases[] = {
      {" CMSMQB ON x", "CMSMQB"}, {" as Mq ON", "Mq"},         {" AS", "AS"},
      {" LEFT JOIN", "CMSMQ"},    {" WITH (NOLOCK)", "CMSMQ"}, {" q WITH(NOLOCK)", "Q"},
      {" q where", "Q"},          {" q r", "CMSMQ"},           {"", "CMSMQ"},
  };
  for (const auto& [text, alias] : cases) EXPECT_EQ(FindTableAlias("CMSMQ", text), alias) << text;
}

}  // namespace
}  // namespace nv
