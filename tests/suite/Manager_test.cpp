// VantaWorkCenter.Manager on the demo database of both backends: messages in three
// languages, the counter, every validator query the report reads, and the lookup windows,
// phrases and date picker answered from a script.
#include <gtest/gtest.h>

#include <map>

#include "Backends.h"
#include "platform/com/Dispatch.h"
#include "platform/core/CodePage.h"
#include "platform/core/Format.h"
#include "platform/ui/Dialogs.h"
#include "suite/manager/Manager.h"

namespace nv::testing {
namespace {

std::string U(const Variant& v) {
  return AnsiToUtf8(VarToStr(v), 936);
}

class Manager : public ::testing::TestWithParam<TBackend> {
 protected:
  void SetUp() override {
    QC_REQUIRE_BACKEND(GetParam());
    company_ = std::make_unique<TTestCompany>(GetParam());
    manager::TManagerOptions o;
    o.config = company_->Config();
    o.defaultDatabase = company_->Name();
    manager_ = Variant(manager::CreateWorkCenterManager(o));
    HeadlessInteraction().Reset();
  }
  void TearDown() override { HeadlessInteraction().Reset(); }
  Variant Db() const { return Variant(company_->Name()); }
  // The user's answer to the next dialog of the manager.
  static void Answer(const char* kind, std::map<std::string, Variant> fields) {
    HeadlessInteraction().Expect(kind, TDialogAnswer{mrOk, std::move(fields)});
  }
  std::unique_ptr<TTestCompany> company_;
  Variant manager_;
};

TEST_P(Manager, EveryMessageInThreeLanguagesWithItsArgumentPlaces) {
  struct Case {
    const char* id;
    int places;
  } cases[] = {{"E;000003", 1}, {"E;000005", 1}, {"E;000006", 0}, {"E;000015", 0}, {"E;000016", 0},
               {"E;000025", 6}, {"E;000030", 1}, {"E;000036", 0}, {"E;000037", 0}, {"E;000038", 0},
               {"E;100007", 1}, {"E;100319", 1}, {"I;000003", 0}, {"I;000011", 0}, {"I;000012", 4},
               {"R;100235", 0}, {"R;100236", 0}, {"R;200235", 0}, {"W;000002", 3}, {"W;000003", 3},
               {"W;000004", 1}, {"W;000006", 1}, {"W;000014", 0}};
  for (const char* language : {"CHS", "CHT", "ENG"}) {
    manager_.Set("Language", Variant(language));
    for (const Case& c : cases) {
      std::string id = c.id;
      std::string text =
          VarToStr(manager_.Call("GetMessage", {Variant(id.substr(0, 1)), Variant(id.substr(2))}));
      ASSERT_FALSE(text.empty()) << language << " " << id;
      int places = 0;
      for (std::size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + 2))
        ++places;
      EXPECT_EQ(places, c.places) << language << " " << id << ": " << AnsiToUtf8(text, 936);
      // Filled with the ten argument slots of the option form, formatting never fails.
      std::vector<Variant> slots(10, Variant("x"));
      EXPECT_NO_THROW(Format(text, slots)) << language << " " << id;
    }
  }
  manager_.Set("Language", Variant("ENG"));
  EXPECT_EQ(U(manager_.Call("GetMessage", {Variant("E"), Variant("000003")})),
            "%s must not be blank. Please enter it.");
  manager_.Set("Language", Variant("CHT"));
  EXPECT_EQ(U(manager_.Call("GetMessage", {Variant("R"), Variant("100236")})), "簽名代號");
  manager_.Set("Language", Variant("CHS"));
  EXPECT_EQ(U(manager_.Call("GetMessage", {Variant("W"), Variant("000004")})),
            "输入的%s不存在, 请重新输入!");
  EXPECT_EQ(U(manager_.Call("GetMessage", {Variant("E"), Variant("999999")})),
            "消息 E;999999 不存在");
}

TEST_P(Manager, CounterSystemParametersSimpleSqlAndNamedCounters) {
  Variant counter = manager_.Call("Com_Counter");
  Variant info = counter.Call("GetSysInfo", {Variant("A01")});
  ASSERT_EQ(info.DimCount(), 2);
  EXPECT_EQ(info.HighBound(1), 1);
  std::map<std::string, std::string> params;
  for (int i = info.LowBound(2); i <= info.HighBound(2); ++i)
    params[VarToStr(info.At(0, i))] = U(info.At(1, i));
  EXPECT_EQ(params["Sys001"], "1");
  EXPECT_EQ(params["Sys002"], "/");
  EXPECT_EQ(params["Sys042"], "Y");
  EXPECT_EQ(params["Sys060"], "Y");
  EXPECT_EQ(params["NVT002"], "江南制药");
  EXPECT_EQ(params.count("Sys007"), 0u) << "the classification captions default on the client";

  Variant where = Variant::ArrayOf({Variant("A01"), Db()});
  Variant length = counter.Call(
      "GetCounter",
      {Variant("SIMPLESQL"),
       Variant::ArrayOf(
           {Variant("select col.length from syscolumns col inner join sysobjects obj on "
                    "obj.id=col.id where obj.name = 'WARRANT' AND col.name ='NT002'"),
            Variant("length")}),
       where});
  ASSERT_EQ(length.DimCount(), 2);
  EXPECT_EQ(length.At(0, 0).AsInteger(), 20);
  EXPECT_EQ(counter.Call("GetCounter", {Variant("gmptd"), Variant(), where}).AsInteger(), 101);
  EXPECT_EQ(counter.Call("GetCounter", {Variant("GMPTD"), Variant(), where}).AsInteger(), 102);
  EXPECT_TRUE(counter.Call("GetCounter", {Variant("NONE"), Variant(), where}).IsNull());
}

TEST_P(Manager, ValidatorAnswersEveryQueryWithTheFieldOrderTheReportReads) {
  Variant validator = manager_.Call("Com_Validator");
  validator.Set("BaseLimited", Variant("x"));
  EXPECT_EQ(validator.Get("BaseLimited").AsString(), "x");
  struct Case {
    const char* table;
    const char* number;
    bool many;
    std::vector<Variant> params;
    int field;
    const char* expected;  // UTF-8; for a list query: record 0
  } cases[] = {
      {"ADMMB", "01", false, {Variant("QCPR31")}, 0, "清场记录凭证打印"},
      {"ADMMB", "01", false, {Variant("QCPR31")}, 4, "Y"},
      {"ADMMB", "01", false, {Variant("QCPR31")}, 7, "Line-Clearance Record Voucher"},
      {"CMSML", "01", false, {Variant("A01")}, 1, "江南制药股份有限公司"},
      {"CMSMT", "01", false, {Variant("QCPR31")}, 0, "N01"},
      {"CMSMT", "01", false, {Variant("QCPR31")}, 6, "S01"},
      {"CMSMT", "01", false, {Variant("QCPR31")}, 7, "Y"},
      {"CMSMQ", "08", false, {Variant("QC01"), Variant("Y2")}, 0, "工单清场记录单"},
      {"CMSMQ", "08", false, {Variant("QC02"), Variant("")}, 3, "QUORUM"},
      {"CMSMQ", "38", false, {Variant("QC03"), Variant("Y2")}, 10, "N"},
      {"CMSMQ", "38", false, {Variant("QC01"), Variant("Y2")}, 11, "清场记录单"},
      {"CMSMS", "01", false, {Variant("1"), Variant("N02")}, 1, "1. 按工艺规程逐道工序清场。"},
      {"CMSMS", "01", false, {Variant("2"), Variant("S01")}, 3, "QA检查员:__________"},
      {"GENES", "01", false, {Variant("none"), Variant("DS"), Variant("QCPR31")}, -1, nullptr},
      {"WARRANT", "01", true, {Variant("TfrmQCPR31Fmt")}, -1, nullptr},
      {"CMSMQ", "08", false, {Variant("5101"), Variant("Y2")}, -1, nullptr},
  };
  for (const Case& c : cases) {
    std::vector<Variant> args{Variant(c.table), Variant(c.number), Db(), Variant::ArrayOf(c.params),
                              Variant()};
    bool found = validator.CallRef(c.many ? "QueryData" : "CheckValue", args).AsBoolean();
    std::string name = std::string(c.table) + " " + c.number + " field " + std::to_string(c.field);
    EXPECT_EQ(found, c.expected != nullptr) << name;
    if (c.expected != nullptr) {
      EXPECT_EQ(U(args[4][c.field]), c.expected) << name;
    }
  }
  std::vector<Variant> bad{Variant("NOPE"), Variant("01"), Db(), Variant::ArrayOf({}), Variant()};
  try {
    validator.CallRef("CheckValue", bad);
    FAIL();
  } catch (const EOleError& e) {
    EXPECT_STREQ(e.what(), "VantaWorkCenter.Validator: no query 01 is defined for table NOPE");
  }
}

Variant LookupRequest(const Variant& db, const char* table, const char* number, Variant params,
                      bool multi, const char* condition) {
  Variant r = Variant::Array(0, 19);
  r[0] = Variant(table);
  r[1] = Variant(number);
  r[2] = std::move(params);
  r[3] = Variant(multi);
  r[4] = Variant(condition);
  r[5] = Variant("A01");
  r[6] = db;
  r[7] = Variant(0);
  r[8] = Variant(1);
  r[9] = Variant(false);
  r[10] = Variant(0);
  for (int i = 11; i <= 14; ++i) r[i] = Variant("");
  r[15] = Variant(false);
  r[16] = Variant(false);
  r[18] = Variant("DS");
  return r;
}

TEST_P(Manager, LookupWindowsAreDialogsAnsweredFromTheScript) {
  Variant f2 = manager_.Call("Com_F2Window");
  // Document types of kind Y2: the user picks the second row.
  Answer("Lookup", {{"Chosen", Variant(1)}});
  Variant r =
      f2.Call("F2GetData",
              {LookupRequest(Db(), "CMSMQ", "06", Variant::ArrayOf({Variant("Y2")}), false, "")});
  ASSERT_TRUE(r.IsArray());
  ASSERT_EQ(r.ElementCount(), 1);
  EXPECT_EQ(r[0][0].AsString(), "QC02");
  EXPECT_EQ(U(r[0][1]), "工艺清场记录单");
  const TDialogRecord& lookup = HeadlessInteraction().Journal().at(0);
  EXPECT_EQ(U(Variant(lookup.Request.Caption)), "单别查询");
  EXPECT_EQ(lookup.Request.Text, "CMSMQ 06 (4 rows)");
  EXPECT_EQ(lookup.Request.Fields.at("Rows").ElementCount(), 4);
  EXPECT_EQ(U(lookup.Request.Fields.at("Captions")[1]), "单据名称");

  // Record numbers of QC02 starting with the condition text, two chosen by their keys.
  Answer("Lookup", {{"Lookup", Variant("GMPTD.04")},
                    {"Keys", Variant::ArrayOf({Variant("20240301001"), Variant("20240302001")})}});
  r = f2.Call("F2GetData", {LookupRequest(Db(), "GMPTD", "04", Variant::ArrayOf({Variant("QC02")}),
                                          true, "202403")});
  ASSERT_EQ(r.ElementCount(), 2);
  EXPECT_EQ(r[0][0].AsString(), "20240301001");
  EXPECT_EQ(r[1][0].AsString(), "20240302001");
  // Notes: code, description, then the three lines.
  Answer("Lookup", {{"Chosen", Variant(0)}});
  r = f2.Call("F2GetData",
              {LookupRequest(Db(), "CMSMS", "01", Variant::ArrayOf({Variant("1")}), false, "")});
  EXPECT_EQ(r[0][0].AsString(), "N01");
  EXPECT_EQ(U(r[0][2]), "1. 清场范围: 生产区域内所有设备、容器、工具及地面。");
  // Without a scripted answer the user closes the window: none.
  EXPECT_TRUE(f2.Call("F2GetData", {LookupRequest(Db(), "CMSMS", "01",
                                                  Variant::ArrayOf({Variant("2")}), false, "")})
                  .IsEmpty());
  EXPECT_EQ(HeadlessInteraction().Journal().back().Answer.ModalResult, mrCancel);
  // A script that chose rows of another lookup stops the run instead of picking blindly.
  Answer("Lookup", {{"Lookup", Variant("CMSMQ.06")}, {"Chosen", Variant(0)}});
  try {
    f2.Call("F2GetData",
            {LookupRequest(Db(), "CMSMS", "01", Variant::ArrayOf({Variant("1")}), false, "")});
    FAIL();
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(),
                 "The dialog script chose rows of lookup CMSMQ.06, but lookup CMSMS.01 opened");
  }

  Answer("Phrase", {{"Index", Variant(1)}});
  EXPECT_EQ(U(f2.Call("GetPhrase", {Variant("DS"), Db(), Variant(0)})), "清场不合格, 重新清场。");
  Answer("DatePicker", {{"Date", Variant("20240229")}});
  EXPECT_EQ(f2.Call("ShowInputDay", {Variant::ArrayOf({Variant(false), Variant("20240301"), Db()})})
                .AsString(),
            "20240229");
  EXPECT_EQ(HeadlessInteraction().Journal().back().ToString(),
            "DatePicker \"\" \"20240301\" [mbOK,mbCancel] -> mrOk {Date=\"20240229\"}");
  Answer("DatePicker", {{"Date", Variant("20240230")}});
  EXPECT_EQ(
      f2.Call("ShowInputDay", {Variant::ArrayOf({Variant(true), Variant("2004/05/01"), Db()})})
          .AsString(),
      "")
      << "not a date";
  const TDialogRecord& minguo = HeadlessInteraction().Journal().back();
  EXPECT_TRUE(minguo.Request.Fields.at("Minguo").AsBoolean());
  EXPECT_NE(minguo.Request.Text, "2004/05/01") << "a start that is not yyyymmdd starts on today";
}

// The data rights the option form hands over: the validator's BaseLimited, a lookup's
// element 14.
TEST_P(Manager, DataRightsNarrowQueriesAndLookups) {
  Variant validator = manager_.Call("Com_Validator");
  auto check = [&](const char* type) {
    std::vector<Variant> args{Variant("CMSMQ"), Variant("08"), Db(),
                              Variant::ArrayOf({Variant(type), Variant("")}), Variant()};
    return validator.CallRef("CheckValue", args).AsBoolean();
  };
  EXPECT_TRUE(check("QC03"));
  validator.Set("BaseLimited", Variant("Y\x03"
                                       "1\x03"
                                       "CMSMQ CMSMQ.MQ001 IN ('QC01','QC02')\x03"));
  EXPECT_TRUE(check("QC01"));
  EXPECT_FALSE(check("QC03")) << "outside the user's rights";
  validator.Set("BaseLimited", Variant("N\x03"
                                       "1\x03"
                                       "CMSMQ CMSMQ.MQ001='QC01'\x03"));
  EXPECT_TRUE(check("QC03")) << "per-table rights switched off";
  validator.Set("BaseLimited", Variant("Y\x03"
                                       "1\x03"
                                       "CMSMQ 1=1) OR (1=1\x03"));
  EXPECT_THROW(check("QC03"), std::exception);

  Variant f2 = manager_.Call("Com_F2Window");
  Variant request =
      LookupRequest(Db(), "GMPTD", "04", Variant::ArrayOf({Variant("QC02")}), false, "");
  request[14] = Variant(
      "Y\x03"
      "1\x03"
      "GMPTD GMPTD.TD001='QC01'\x03");
  f2.Call("F2GetData", {request});
  EXPECT_EQ(HeadlessInteraction().Journal().back().Request.Text, "GMPTD 04 (0 rows)");
  request[14] = Variant(
      "Y\x03"
      "1\x03"
      "GMPTD GMPTD.TD003>='20240305'\x03");
  f2.Call("F2GetData", {request});
  const Variant& rows = HeadlessInteraction().Journal().back().Request.Fields.at("Rows");
  ASSERT_GT(rows.ElementCount(), 0);
  for (int i = 0; i < rows.ElementCount(); ++i) EXPECT_GE(rows[i][1].AsString(), "20240305");
}

TEST_P(Manager, HelpFileListAndFormStyle) {
  manager_.Call("CallHelp", {Variant::ArrayOf({Variant("QCP"), Variant("12310000")})});
  EXPECT_EQ(manager_.Get("LastHelp")[1].AsString(), "12310000");
  EXPECT_EQ(manager_.Call("GetFileList", {Variant::ArrayOf({Variant("QCPR31S.DLL")})}).AsString(),
            "<Modify>20240301120000</Modify><Path>S_PKG\\qcpr31s.dll</Path>");
  EXPECT_EQ(manager_.Call("GetFileList", {Variant::ArrayOf({Variant("other.dll")})}).AsString(),
            "");
  manager_.Call("SetFormCreateStyle", {Variant("A4")});
  EXPECT_EQ(manager_.Get("FormCreateStyle").AsString(), "A4");
}

INSTANTIATE_TEST_SUITE_P(Backends, Manager,
                         ::testing::Values(TBackend::SQLite, TBackend::PostgreSQL), BackendName);

// A host's interaction service reached late-bound.
class TDialogService final : public TDispatchBase {
 public:
  std::string DispatchName() const override { return "DialogService"; }
  Variant Invoke(std::string_view member, InvokeKind, std::span<Variant> args) override {
    calls += std::string(member) + ";";
    if (member == "Lookup") return Variant::ArrayOf({Variant(0)});
    if (member == "PickDate") return Variant("20240102");
    return Variant(0);
  }
  std::string calls;
};

TEST(ManagerDialogService, DialogsGoThroughTheHostsService) {
  TTestCompany company(TBackend::SQLite);
  manager::TManagerOptions o;
  o.config = company.Config();
  o.defaultDatabase = company.Name();
  Variant m(manager::CreateWorkCenterManager(o));
  auto* service = new TDialogService;
  Variant holder(static_cast<IDispatchObject*>(service));
  m.Set("DialogService", holder);
  Variant f2 = m.Call("Com_F2Window");
  Variant r =
      f2.Call("F2GetData", {LookupRequest(Variant(company.Name()), "CMSMQ", "06",
                                          Variant::ArrayOf({Variant("Y2")}), false, "QC0")});
  EXPECT_EQ(r[0][0].AsString(), "QC01");
  EXPECT_EQ(
      f2.Call("ShowInputDay",
              {Variant::ArrayOf({Variant(false), Variant("20240101"), Variant(company.Name())})})
          .AsString(),
      "20240102");
  EXPECT_EQ(service->calls, "Lookup;PickDate;");
}

}  // namespace
}  // namespace nv::testing
