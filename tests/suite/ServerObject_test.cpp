// Tallyd.Class1 against both backends: every call the report makes, with the shapes it
// relies on, on the demo company database.
#include <gtest/gtest.h>

#include "Backends.h"
#include "platform/core/CodePage.h"
#include "platform/data/DBClient.h"
#include "suite/appserver/Class1.h"
#include "suite/demo/Statement.h"

namespace nv::testing {
namespace {

Variant A(const char* utf8) {
  return Variant(Utf8ToAnsi(utf8, 936));
}

class ServerObject : public ::testing::TestWithParam<TBackend> {
 protected:
  void SetUp() override {
    QC_REQUIRE_BACKEND(GetParam());
    company_ = std::make_unique<TTestCompany>(GetParam());
  }
  Variant NewServer(const char* user = "DS") {
    Variant s(tallyd::CreateTallydClass1(company_->Config(), nullptr));
    s.Call("Connect", {Variant::ArrayOf({Variant("QCPR31"), Variant(user), Variant("A01"),
                                         Variant(company_->Name()), Variant("GMPTD")})});
    return s;
  }
  int PrintCount(const char* type, const char* number) {
    auto db = company_->Open();
    tallyd::TRows r = db->Query("SELECT TD021 FROM GMPTD WHERE TD001=?1 AND TD002=?2",
                                std::vector<Variant>{Variant(type), Variant(number)});
    return r.rows.at(0).at(0).AsInteger();
  }
  std::unique_ptr<TTestCompany> company_;
};

TEST_P(ServerObject, ConnectPowerDataAndSqlType) {
  Variant s = NewServer("QA01");
  Variant rights = s.Call("PowerData");
  ASSERT_TRUE(rights.IsArray());
  EXPECT_EQ(rights.LowBound(), 0);
  EXPECT_EQ(rights.HighBound(), 5);
  EXPECT_EQ(rights[1].AsString(), "QA,N,Y,YNNYYYNN,,");
  EXPECT_EQ(rights[4].AsString(), "Y");
  ASSERT_TRUE(rights[5].IsArray());
  EXPECT_EQ(rights[5][0].AsInteger(), 1);
  EXPECT_EQ(rights[5][1].AsString(), "GMPTD GMPTD.TD001 IN ('QC01','QC02','QC03')");
  EXPECT_EQ(s.Call("SQLType").AsInteger(), 0);

  Variant stranger = NewServer("NOBODY");
  Variant none = stranger.Call("PowerData");
  EXPECT_EQ(none[1].AsString(), ",N,N,NNNNNNNN,,");
  EXPECT_EQ(none[5][0].AsInteger(), 0);
}

TEST_P(ServerObject, CallsBeforeConnectAndBadDatabaseNamesAreRefused) {
  Variant s(tallyd::CreateTallydClass1(company_->Config(), nullptr));
  try {
    s.Call("RunFreeSQL", {Variant("select 1")});
    FAIL();
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Tallyd.Class1: Connect has not been called");
  }
  try {
    s.Call("Connect", {Variant::ArrayOf({Variant("QCPR31"), Variant("DS"), Variant("A01"),
                                         Variant("../x"), Variant("")})});
    FAIL();
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(),
                 "Invalid company database name '../x': letters, digits and _ only, at most 30");
  }
}

TEST_P(ServerObject, FormatStoreInsertReadDelete) {
  Variant s = NewServer();
  std::vector<Variant> args{Variant::ArrayOf({Variant("TfrmQCPR31Fmt"), Variant("A")}), Variant()};
  EXPECT_EQ(s.CallRef("GetBlobField", args).AsInteger(), 0);

  std::vector<Variant> save{
      Variant(false),
      Variant::ArrayOf({Variant("inherited frmQCPR31Fmt: TfrmQCPR31Fmt"), Variant("end")}),
      Variant::ArrayOf({Variant("A01"), Variant("DS"), Variant("ADMIN"), Variant("TfrmQCPR31Fmt"),
                        Variant("A"), Variant(""), Variant("SendWay=0")}),
      Variant(0)};
  EXPECT_EQ(s.CallRef("RunInsUpdSQL", save).AsInteger(), 1);
  EXPECT_EQ(s.CallRef("RunInsUpdSQL", save).AsInteger(), -1) << "the same key twice";

  EXPECT_EQ(s.CallRef("GetBlobField", args).AsInteger(), 1);
  ASSERT_TRUE(args[1].IsArray());
  EXPECT_EQ(args[1][0].AsString(), "1");
  EXPECT_EQ(args[1][1].AsString(), "inherited frmQCPR31Fmt: TfrmQCPR31Fmt\r\nend");

  Variant list;
  std::vector<Variant> names{Variant::ArrayOf({Variant("TfrmQCPR31Fmt"), Variant("A")})};
  EXPECT_EQ(s.Call("RunDeleteSQL", {Variant::ArrayOf({Variant("TfrmQCPR31Fmt"), Variant("A")})})
                .AsInteger(),
            1);
  EXPECT_EQ(s.Call("RunDeleteSQL", {Variant::ArrayOf({Variant("TfrmQCPR31Fmt"), Variant("A")})})
                .AsInteger(),
            0);

  // Names longer than the declared 20 bytes are refused (ten Chinese characters fit).
  save[2][4] = A("一二三四五六七八九十");
  EXPECT_EQ(s.CallRef("RunInsUpdSQL", save).AsInteger(), 1);
  save[2][4] = A("一二三四五六七八九十一");
  EXPECT_EQ(s.CallRef("RunInsUpdSQL", save).AsInteger(), -1);
}

TEST_P(ServerObject, OptimisticLockLetsExactlyOneOfTwoSavesWin) {
  Variant first = NewServer();
  Variant second = NewServer("QA01");
  std::vector<Variant> insert{
      Variant(false), Variant::ArrayOf({Variant("v1")}),
      Variant::ArrayOf({Variant("A01"), Variant("DS"), Variant("ADMIN"), Variant("TfrmQCPR31Fmt"),
                        Variant("Shared"), Variant(""), Variant("")}),
      Variant(0)};
  ASSERT_EQ(first.CallRef("RunInsUpdSQL", insert).AsInteger(), 1);
  Variant lock =
      Variant::ArrayOf({Variant(1), Variant("1"), Variant("TfrmQCPR31Fmt"), Variant("Shared")});
  // Both read counter "1" and both take the lock while it still matches.
  ASSERT_EQ(first.Call("RunUpdFlagSQL", {lock}).AsInteger(), 1);
  ASSERT_EQ(second.Call("RunUpdFlagSQL", {lock}).AsInteger(), 1);
  auto update = [](const char* text, const char* user) {
    return std::vector<Variant>{
        Variant(true), Variant::ArrayOf({Variant(text)}),
        Variant::ArrayOf({Variant("A01"), Variant(user), Variant(""), Variant("2"),
                          Variant("TfrmQCPR31Fmt"), Variant("Shared"), Variant("")}),
        Variant(0)};
  };
  auto a = update("from first", "DS");
  auto b = update("from second", "QA01");
  EXPECT_EQ(first.CallRef("RunInsUpdSQL", a).AsInteger(), 1);
  EXPECT_EQ(second.CallRef("RunInsUpdSQL", b).AsInteger(), -1);
  std::vector<Variant> read{Variant::ArrayOf({Variant("TfrmQCPR31Fmt"), Variant("Shared")}),
                            Variant()};
  first.CallRef("GetBlobField", read);
  EXPECT_EQ(read[1][0].AsString(), "2");
  EXPECT_EQ(read[1][1].AsString(), "from first");
  // A lock on the stale counter is refused, and an update without a lock is too.
  EXPECT_EQ(second.Call("RunUpdFlagSQL", {lock}).AsInteger(), -1);
  EXPECT_EQ(second.CallRef("RunInsUpdSQL", b).AsInteger(), -1);
}

TEST_P(ServerObject, SchemesThroughTheCallsAndProviderPvdConSave) {
  Variant s = NewServer();
  auto scheme = [](const char* name, const char* values, bool replace) {
    return Variant::ArrayOf({Variant(name), Variant("DS"), Variant("20240320"), Variant("QCPR31"),
                             Variant("edtTD001.text;"), Variant(values), Variant(replace)});
  };
  EXPECT_EQ(s.Call("InsertConTable", {scheme("Monthly", "QC01\r\n", false)}).AsString(), "");
  EXPECT_EQ(s.Call("InsertConTable", {scheme("Monthly", "QC02\r\n", false)}).AsString(),
            Utf8ToAnsi("此方案名称已经存在！", 936));
  EXPECT_EQ(s.Call("InsertConTable", {scheme("Monthly", "QC02\r\n", true)}).AsString(), "");
  EXPECT_EQ(s.Call("InsertConTable", {scheme("Aweekly", "QC03\r\n", false)}).AsString(), "");
  EXPECT_EQ(s.Call("InsertConTable", {scheme("123456789012345678901", "", false)}).AsString(),
            Utf8ToAnsi("方案名长度不可大于20!", 936));

  EXPECT_EQ(s.Call("LoadTable", {Variant::ArrayOf({Variant("DS"), Variant("QCPR31")})}).AsString(),
            "");
  TSocketConnection connection;
  connection.SetAppServer(s);
  TClientDataSet ds;
  ds.SetRemoteServer(&connection);
  ds.SetProviderName("pvdConSave");
  ds.IndexDefs()->Add("Index1", "NCONDITION;CREATOR;PROGRAMME");
  ds.SetIndexName("Index1");
  ds.Open();
  ASSERT_EQ(ds.RecordCount(), 2);
  EXPECT_EQ(ds.FieldByName("NCONDITION").AsString(), "Aweekly");
  ASSERT_TRUE(ds.Locate("NCONDITION;CREATOR;PROGRAMME",
                        Variant::ArrayOf({Variant("Monthly"), Variant("DS"), Variant("QCPR31")})));
  EXPECT_EQ(ds.FieldByName("VCONDITION").AsString(), "QC02\r\n");
  EXPECT_EQ(ds.FieldByName("CREATE_DATE").AsString(), "20240320");

  Variant oldKey = Variant::ArrayOf({Variant("Monthly"), Variant("DS"), Variant("QCPR31")});
  EXPECT_EQ(
      s.Call("ChangeConName",
             {oldKey, Variant::ArrayOf({Variant("Aweekly"), Variant("DS"), Variant("QCPR31")})})
          .AsString(),
      Utf8ToAnsi("此方案名称已经存在！", 936));
  EXPECT_EQ(
      s.Call("ChangeConName",
             {oldKey, Variant::ArrayOf({Variant("Quarterly"), Variant("DS"), Variant("QCPR31")})})
          .AsString(),
      "");
  EXPECT_EQ(s.Call("DeleteConTable",
                   {Variant::ArrayOf({Variant("Quarterly"), Variant("DS"), Variant("QCPR31")})})
                .AsString(),
            "");
  EXPECT_NE(s.Call("DeleteConTable",
                   {Variant::ArrayOf({Variant("Quarterly"), Variant("DS"), Variant("QCPR31")})})
                .AsString(),
            "");
  ds.Close();
  ds.Open();
  EXPECT_EQ(ds.RecordCount(), 1);
}

TEST_P(ServerObject, Provider1RunsTheTwoBranchStatementAsSent) {
  Variant s = NewServer();
  TSocketConnection connection;
  connection.SetAppServer(s);
  TwwClientDataSet ds;
  ds.SetRemoteServer(&connection);
  ds.SetProviderName("Provider1");
  ds.DataRequest(Variant(demo::LineClearanceStatement(" AND (TD001 IN ('QC01','QC02'))")));
  ds.Open();
  ASSERT_EQ(ds.RecordCount(), 14);
  ASSERT_EQ(ds.FieldCount(), 43);
  const char* names[] = {"TD001", "TD002", "TD003", "TD004",    "MQ002",   "MQ002B",
                         "TA006", "TA021", "MD002", "CMSMV002", "AAMF001", "BBMF002"};
  for (const char* n : names) EXPECT_NE(ds.FindField(n), nullptr) << n;
  // Sorted over both branches by type and number.
  EXPECT_EQ(ds.FieldByName("TD001").AsString(), "QC01");
  EXPECT_EQ(ds.FieldByName("TD002").AsString(), "20240301001");
  EXPECT_EQ(ds.FieldByName("MQ002").AsString(), Utf8ToAnsi("工单清场记录单", 936));
  EXPECT_EQ(ds.FieldByName("MQ002B").AsString(), Utf8ToAnsi("厂内工单", 936));
  EXPECT_EQ(ds.FieldByName("TA034").AsString(), Utf8ToAnsi("阿莫西林胶囊", 936));
  EXPECT_EQ(ds.FieldByName("MD002").AsString(), Utf8ToAnsi("固体制剂一车间", 936));
  EXPECT_EQ(ds.FieldByName("CMSMV002").AsString(), Utf8ToAnsi("王丽", 936));
  EXPECT_EQ(ds.FieldByName("AAMF002").AsString(), Utf8ToAnsi("系统管理员", 936));
  EXPECT_EQ(ds.FieldByName("TA015").AsFloat(), 120000);
  EXPECT_EQ(ds.FieldByName("TD002").Size(), 11);
  // A routing-operation record takes its work centre from the operation (column 18).
  ASSERT_TRUE(
      ds.Locate("TD001;TD002", Variant::ArrayOf({Variant("QC02"), Variant("20240305001")})));
  EXPECT_EQ(ds.FieldByName("TD004").AsString(), "2");
  EXPECT_EQ(ds.FieldByName("TA021").AsString(), "WC03");
  EXPECT_EQ(ds.FieldByName("MD002").AsString(), Utf8ToAnsi("包装车间", 936));

  ds.Close();
  ds.DataRequest(
      Variant("select col.length from syscolumns col inner join sysobjects obj on obj.id=col.id "
              "where obj.name = 'WARRANT' AND col.name ='NT002'"));
  ds.Open();
  EXPECT_EQ(ds.Fields(0).AsInteger(), 20);

  TClientDataSet unknown;
  unknown.SetRemoteServer(&connection);
  unknown.SetProviderName("pvdNone");
  try {
    unknown.Open();
    FAIL();
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Provider 'pvdNone' not found");
  }
}

TEST_P(ServerObject, RunFreeSqlCountsRowsOrChanges) {
  Variant s = NewServer();
  EXPECT_EQ(s.Call("RunFreeSQL", {Variant("SELECT * FROM $$ADMMQ WHERE MQ002='QC02'")}).AsInteger(),
            1);
  EXPECT_EQ(s.Call("RunFreeSQL", {Variant("SELECT * FROM $$ADMMQ WHERE MQ002='QC01'")}).AsInteger(),
            0);
  std::string log =
      "INSERT INTO $$ADMTA "
      "(COMPANY,CREATOR,USR_GROUP,CREATE_DATE,FLAG,TA001,TA002,TA003,TA004,TA005,TA006) "
      "VALUES('A01','DS','ADMIN','20240320','1','QCPR31','Email','N','Create Outlook "
      "error!','10:11:12','20240320')";
  EXPECT_EQ(s.Call("RunFreeSQL", {Variant(log)}).AsInteger(), 1);
  EXPECT_EQ(s.Call("RunFreeSQL", {Variant("SELECT * FROM $$ADMTA")}).AsInteger(), 1);
  EXPECT_EQ(s.Call("RunFreeSQL", {Variant("UPDATE $$GMPTD SET TD019='x' WHERE TD001='QC01'")})
                .AsInteger(),
            8);
  try {
    s.Call("RunFreeSQL", {Variant("SELECT * FROM $$NOSUCH")});
    FAIL();
  } catch (const tallyd::EDatabaseFailure& e) {
    EXPECT_NE(LowerCase(e.what()).find("nosuch"), std::string::npos) << e.what();
  }
}

TEST_P(ServerObject, UpdatePrintCountIncrementsOnceAndRefusesBadNames) {
  Variant s = NewServer();
  int before = PrintCount("QC01", "20240301001");
  std::vector<Variant> args{Variant::ArrayOf(
      {Variant("$$GMPTD"), Variant("TD021"), Variant("TD001='QC01' and TD002='20240301001'")})};
  EXPECT_EQ(s.CallRef("UpdatePrintCount", args).AsInteger(), 1);
  EXPECT_EQ(PrintCount("QC01", "20240301001"), before + 1);
  struct Case {
    const char* table;
    const char* field;
    const char* condition;
    const char* message;
  } cases[] = {
      {"$$GMPTD; DROP TABLE GMPTD", "TD021", "1=1",
       "UpdatePrintCount: '$$GMPTD; DROP TABLE GMPTD' is not a table name"},
      {"$$GMPTD", "TD021=0,TD019", "1=1", "UpdatePrintCount: 'TD021=0,TD019' is not a column name"},
      {"$$GMPTD", "TD021", "  ", "UpdatePrintCount: the condition is empty"},
  };
  for (const Case& c : cases) {
    try {
      s.Call("UpdatePrintCount",
             {Variant::ArrayOf({Variant(c.table), Variant(c.field), Variant(c.condition)})});
      ADD_FAILURE() << c.message;
    } catch (const std::exception& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  EXPECT_EQ(PrintCount("QC01", "20240301001"), before + 1);
}

TEST_P(ServerObject, SignOffAnswersInBothExchanges) {
  Variant s = NewServer();
  std::string request =
      "<FormSet>  <Form wfProgramID=''  wfFormType='QC02'  wfSheetNo ='20240301001'  "
      "wfParameter3=''  wfParameter4='' /> \r\n"
      "  <Form wfProgramID=''  wfFormType='QC01'  wfSheetNo ='20240301001'  wfParameter3=''  "
      "wfParameter4='' /> \r\n</FormSet> ";
  std::vector<Variant> args{Variant(request)};
  Variant answer = s.CallRef("GetQMData", args);
  ASSERT_TRUE(answer.IsArray());
  ASSERT_EQ(answer[0].AsInteger(), 1) << "only QC02 has sign-off history";
  const Variant& form = answer[1];
  EXPECT_EQ(form[1].AsString(), "QC02");
  EXPECT_EQ(form[2].AsString(), "20240301001");
  const Variant& table = form[5];
  ASSERT_EQ(table.DimCount(), 2);
  EXPECT_EQ(table.HighBound(1), 12);
  EXPECT_EQ(table.HighBound(2), 1);
  EXPECT_EQ(table.At(10, 1).AsString(), Utf8ToAnsi("张敏", 936));
  EXPECT_EQ(table.At(12, 1).AsString(), Utf8ToAnsi("QA主管", 936));
  EXPECT_EQ(table.At(5, 0).AsString(), "2024-03-01 08:35:12");

  std::vector<Variant> ws{Variant(request), Variant("QCPR31")};
  std::string xml = s.CallRef("GetWebserviceQMData", ws).AsString();
  EXPECT_EQ(xml.rfind("<FormSet><Form wfFormType='QC02' wfSheetNo='20240301001'>", 0), 0u) << xml;
  EXPECT_NE(xml.find(Utf8ToAnsi("||已核准</Form></FormSet>", 936)), std::string::npos) << xml;
}

INSTANTIATE_TEST_SUITE_P(Backends, ServerObject,
                         ::testing::Values(TBackend::SQLite, TBackend::PostgreSQL), BackendName);

}  // namespace
TEST(CompanyDatabase, NamesThatWouldReachAStatementAreRefused) {
  tallyd::TServerConfig config;
  config.dataLocation = "/nonexistent/";
  try {
    tallyd::OpenDatabase(config, "DEMO;DROP");
    FAIL();
  } catch (const tallyd::EDatabaseFailure& e) {
    EXPECT_STREQ(
        e.what(),
        "Invalid company database name 'DEMO;DROP': letters, digits and _ only, at most 30");
  }
  try {
    tallyd::OpenPostgres("host=127.0.0.1", "public; DROP SCHEMA demo", 936);
    FAIL();
  } catch (const tallyd::EDatabaseFailure& e) {
    EXPECT_STREQ(e.what(),
                 "Invalid schema name 'public; DROP SCHEMA demo': letters, digits and _ only");
  }
}

}  // namespace nv::testing
