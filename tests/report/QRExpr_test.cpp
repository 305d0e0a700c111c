#include "platform/report/QRExpr.h"

#include <gtest/gtest.h>

#include "ReportTestUtil.h"

namespace nv::test {
namespace {

// Expressions on the current record of a report's data set, on page 1.
class ExprFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    data = VoucherLines({"A-01", "B-02"});
    data->Next();  // TD001 'B-02', TD002 3, TD003 20
    report.SetName("QuickRep1");
    report.ReportTitle = "Line clearance";
    report.SetDataSet(data.get());
  }
  std::string Eval(const std::string& text) {
    return EvaluateExpression(text, ReportExprEnv(report)).AsText();
  }
  std::unique_ptr<TClientDataSet> data;
  TQuickRep report{nullptr};
};

TEST_F(ExprFixture, Values) {
  struct Case {
    const char* expression;
    const char* text;
  } cases[] = {
      {"ClientDataSet1.TD002+ClientDataSet1.TD003", "23"},
      {"clientdataset1.td001", "B-02"},
      {"TD001+' / '+TD003", "B-02 / 20"},
      {"'It''s' + 1", "It's1"},
      {"1.5 + 2 - 0.5", "3"},
      {"-TD002 + 1", "-2"},
      {"(1 + 2) + 3", "6"},
      {"TD003 > 9", "True"},
      {"TD001 = 'B-02'", "True"},
      {"TD001 <> 'B-02'", "False"},
      {"TD002 <= 3", "True"},
      {"'10' < '9'", "True"},
      {"REPORTTITLE", "Line clearance"},
      {"'Page ' + PAGENUMBER", "Page 0"},
  };
  for (const Case& c : cases) EXPECT_EQ(Eval(c.expression), c.text) << c.expression;
}

TEST_F(ExprFixture, ErrorsNameTheExpression) {
  struct Case {
    const char* expression;
    const char* message;
  } cases[] = {
      {"", "Expression '' is empty"},
      {"ClientDataSet1.TD099",
       "Expression 'ClientDataSet1.TD099' names an unknown field "
       "ClientDataSet1.TD099 at position 1"},
      {"Other.TD001", "Expression 'Other.TD001' names an unknown field Other.TD001 at position 1"},
      {"TD001 + NOSUCH",
       "Expression 'TD001 + NOSUCH' names an unknown function or field NOSUCH "
       "at position 9"},
      {"'open", "Expression ''open' has an unterminated text at position 1"},
      {"1 +", "Expression '1 +' ends where a value was expected"},
      {"(1 + 2", "Expression '(1 + 2' misses ')'"},
      {"1 2", "Expression '1 2' unexpected '2' at position 3"},
      {"TD001 - 1", "Expression 'TD001 - 1' subtracts from a text at position 7"},
      {"1.2.3", "Expression '1.2.3' has a bad number '1.2.3' at position 1"},
      {"#", "Expression '#' unexpected '#' at position 1"},
  };
  for (const Case& c : cases) {
    try {
      Eval(c.expression);
      ADD_FAILURE() << "no error for " << c.expression;
    } catch (const EQRExprError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace nv::test
