#include "platform/rtti/StringList.h"

#include <gtest/gtest.h>

#include "TestClasses.h"

namespace nv::test {
namespace {

TEST(StringList, TextSplitsAnyLineBreakAndEndsEveryLine) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n");
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, CommaTextQuotesWhatNeedsIt) {
  struct Case {
    const char* name;
    const char* in;
    std::vector<std::string> lines;
    const char* out;
  } cases[] = {
      {"plain", "a,b,c", {"a", "b", "c"}, "a,b,c"},
      {"blanks separate", "a b,c", {"a", "b", "c"}, "a,b,c"},
      {"quoted keeps blanks and commas", "\"a b\",\"c,d\"", {"a b", "c,d"}, "\"a b\",\"c,d\""},
      {"doubled quote", "\"x\"\"y\"", {"x\"y"}, "\"x\"\"y\""},
      {"empty item between commas", "a,,b", {"a", "", "b"}, "a,,b"},
      {"trailing comma", "a,", {"a", ""}, "a,"},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetCommaText(c.in);
    std::vector<std::string> got;
    for (int i = 0; i < list.Count(); ++i) got.push_back(list[i]);
    EXPECT_EQ(got, c.lines) << c.name;
    EXPECT_EQ(list.CommaText(), c.out) << c.name;
  }
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.SetText("Sys001=1\nSys002=/\nplain");
  EXPECT_EQ(list.Values("sys002"), "/");
  EXPECT_EQ(list.Names(2), "");
  list.SetValue("Sys003", "Y");
  list.SetValue("Sys001", "");
  EXPECT_EQ(list.Text(), "Sys002=/\r\nplain\r\nSys003=Y\r\n");
}

TEST(StringList, SortedListKeepsOrderAndHandlesDuplicates) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"c", "A", "b", "a"}) list.Add(s);
  EXPECT_EQ(list.CommaText(), "A,b,c");  // dupIgnore, letter case ignored
  int index = -1;
  EXPECT_FALSE(list.Find("bb", index));
  EXPECT_EQ(index, 2);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("C"), EListError);
  EXPECT_THROW(list.Insert(0, "x"), EListError);
  try {
    list.Get(3);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (3)");
  }
}

TEST(StringList, ChangeEventsOncePerUpdate) {
  TStringList list;
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  list.BeginUpdate();
  list.Add("a");
  list.Add("b");
  list.EndUpdate();
  list.Put(0, "a");  // the same text: no change
  EXPECT_EQ(changes, 1);
}

TEST(Collection, ItemsAreCreatedByClassAndCopiedByProperties) {
  TCollection a(TColumn::StaticClassInfo());
  auto& c0 = dynamic_cast<TColumn&>(*a.Add());
  c0.Caption = "Code";
  c0.Width = 80;
  a.Add();
  TCollection b(TColumn::StaticClassInfo());
  b.Assign(a);
  ASSERT_EQ(b.Count(), 2);
  EXPECT_EQ(b.ItemAs<TColumn>(0).Caption, "Code");
  EXPECT_EQ(b.ItemAs<TColumn>(0).Width, 80);
  b.Items(1)->SetIndex(0);
  EXPECT_EQ(b.ItemAs<TColumn>(1).Caption, "Code");
  b.Delete(0);
  EXPECT_EQ(b.Count(), 1);
  EXPECT_THROW(b.Items(1), EListError);
}

}  // namespace
}  // namespace nv::test
