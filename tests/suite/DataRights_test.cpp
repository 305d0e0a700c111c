// The user's data rights on the manager's own statements: each use of a restricted table
// reads only the rows its condition lets through; a rights text that would break out of its
// condition stops the query.
#include "suite/manager/DataRights.h"

#include <gtest/gtest.h>

namespace nv::manager {
namespace {

const std::string kFilter = "(SELECT * FROM $$GMPTD GMPTD WHERE (GMPTD.TD001 IN ('QC01','QC02'))) ";

TEST(DataRights, EveryUseOfARestrictedTableReadsFilteredRows) {
  std::vector<TDataRight> rights = {{"GMPTD", "GMPTD.TD001 IN ('QC01','QC02')"}};
  struct Case {
    const char* name;
    const char* statement;
    std::string expected;
  } cases[] = {
      {"without alias", "SELECT TD002 FROM $$GMPTD WHERE TD001=?1",
       "SELECT TD002 FROM " + kFilter + "GMPTD WHERE TD001=?1"},
      {"alias and join", "SELECT A.TD002 FROM $$GMPTD A LEFT JOIN $$CMSMQ B ON B.MQ001=A.TD001",
       "SELECT A.TD002 FROM " + kFilter + "A LEFT JOIN $$CMSMQ B ON B.MQ001=A.TD001"},
      {"AS alias", "SELECT X.TD002 FROM $$GMPTD AS X ORDER BY 1",
       "SELECT X.TD002 FROM " + kFilter + "X ORDER BY 1"},
      {"both branches of a union", "SELECT 1 FROM $$GMPTD UNION ALL SELECT 2 FROM $$GMPTD",
       "SELECT 1 FROM " + kFilter + "GMPTD UNION ALL SELECT 2 FROM " + kFilter + "GMPTD"},
      {"other tables, longer names and quoted text stay", "SELECT '$$GMPTD' FROM $$GMPTDX, $$CMSMQ",
       "SELECT '$$GMPTD' FROM $$GMPTDX, $$CMSMQ"},
  };
  for (const Case& c : cases) EXPECT_EQ(ApplyDataRights(c.statement, rights), c.expected) << c.name;
}

TEST(DataRights, TheRightsTextOfTheOptionForm) {
  std::vector<TDataRight> r = ParseDataRights(
      "Y\x03"
      "2\x03"
      "gmptd GMPTD.TD001='A'\x03"
      "CMSMQ CMSMQ.MQ003 <> 'x;y'\x03");
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].table, "GMPTD");
  EXPECT_EQ(r[0].condition, "GMPTD.TD001='A'");
  EXPECT_EQ(r[1].condition, "CMSMQ.MQ003 <> 'x;y'");
  EXPECT_TRUE(ParseDataRights("N\x03"
                              "1\x03"
                              "GMPTD GMPTD.TD001='A'\x03")
                  .empty())
      << "per-table rights switched off";
  EXPECT_TRUE(ParseDataRights("").empty());
  EXPECT_TRUE(ParseDataRights("Y\x03"
                              "0\x03")
                  .empty());

  const char* refused[] = {
      "GMPTD 1=1) OR (1=1",
      "GMPTD TD001='A'; DELETE FROM GMPTD",
      "GMPTD TD001='A' -- x",
      "GMPTD TD001='A' /* x */",
      "GMPTD TD001='A",
      "GMP;TD TD001='A'",
      "GMPTD",
  };
  for (const char* entry : refused) {
    EXPECT_THROW(ParseDataRights(std::string("Y\x03"
                                             "1\x03") +
                                 entry + "\x03"),
                 EDataRightsError)
        << entry;
  }
  try {
    ParseDataRights(
        "Y\x03"
        "1\x03"
        "GMPTD 1=1) OR (1=1\x03");
    FAIL();
  } catch (const EDataRightsError& e) {
    EXPECT_STREQ(e.what(),
                 "Data-rights entry 'GMPTD 1=1) OR (1=1' is not a table name followed by one "
                 "condition");
  }
}

}  // namespace
}  // namespace nv::manager
