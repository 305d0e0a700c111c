// Seed data of the demo company: a pharmaceutical plant with three line-clearance document
// types, manufacturing orders and routing operations, operators, users, notes and sign-in
// lines, records of both kinds in every audit and print status, and some sign-off history.
#include <cstdio>

#include "platform/core/CodePage.h"
#include "suite/demo/Schema.h"

namespace nv::demo {

namespace {
using Row = std::vector<Variant>;

class TSeeder {
 public:
  explicit TSeeder(tallyd::TDatabase& db) : db_(db) {}

  // A UTF-8 literal as a text in the database code page.
  Variant T(const char* utf8) const { return Variant(Utf8ToAnsi(utf8, db_.CodePage())); }

  void Insert(const char* table, const char* columns, std::vector<Row> rows) {
    std::string marks;
    int n = 1;
    for (const char* c = columns; *c != '\0'; ++c) n += *c == ',' ? 1 : 0;
    for (int i = 0; i < n; ++i) marks += i == 0 ? "?" : ",?";
    db_.ExecuteMany(
        std::string("INSERT INTO ") + table + " (" + columns + ") VALUES (" + marks + ")", rows);
  }

  // Texts given as UTF-8 literals, converted cell by cell.
  std::vector<Row> Texts(std::initializer_list<std::initializer_list<const char*>> rows) const {
    std::vector<Row> out;
    for (const auto& r : rows) {
      Row row;
      for (const char* cell : r) row.push_back(T(cell));
      out.push_back(std::move(row));
    }
    return out;
  }

  tallyd::TDatabase& db_;
};

const char* kAudit = "COMPANY,CREATOR,USR_GROUP,CREATE_DATE,FLAG";

Row Audit(const TSeeder& s, const char* date) {
  return {s.T("A01"), s.T("DS"), s.T("ADMIN"), s.T(date), Variant(1)};
}

std::vector<Row> WithAudit(const TSeeder& s, std::vector<Row> rows) {
  for (Row& r : rows) {
    Row a = Audit(s, "20240301");
    r.insert(r.begin(), a.begin(), a.end());
  }
  return rows;
}

std::string Cols(const char* rest) {
  return std::string(kAudit) + "," + rest;
}

void SeedMasters(TSeeder& s) {
  s.Insert("CMSML", Cols("ML001,ML002,ML003,ML004,ML005,ML006").c_str(),
           WithAudit(s, s.Texts({{"A01", "江南制药股份有限公司", "江苏省苏州市工业园区星湖街218号",
                                  "0512-62880001", "0512-62880002",
                                  "Jiangnan Pharmaceutical Co., Ltd."}})));
  // Document types: line-clearance types (kind Y2) and manufacturing-order types (kind 51).
  s.Insert(
      "CMSMQ",
      Cols("MQ001,MQ002,MQ003,MQ004,MQ005,MQ006,MQ007,MQ008,MQ009,MQ010,MQ011,MQ012,MQ013").c_str(),
      WithAudit(
          s, s.Texts({
                 {"QC01", "工单清场记录单", "Y2", "N01", "Y", "S01", "Y", "N", "N", "", "Y",
                  "清场记录单", "Y"},
                 {"QC02", "工艺清场记录单", "Y2", "N02", "Y", "QUORUM", "Y", "N", "Y", "", "Y",
                  "工艺清场记录单", "Y"},
                 {"QC03", "换批清场记录单", "Y2", "", "Y", "S02", "Y", "Y", "Y", "", "N",
                  "换批清场记录单", "N"},
                 {"QC09", "批量清场记录单", "Y2", "N01", "Y", "S01", "Y", "N", "N", "", "Y",
                  "清场记录单", "Y"},
                 {"5101", "厂内工单", "51", "", "N", "", "N", "N", "N", "", "Y", "生产工单", "Y"},
                 {"5102", "返工工单", "51", "", "N", "", "N", "N", "N", "", "Y", "返工工单", "Y"},
             })));
  s.Insert("CMSMW", Cols("MW001,MW002,MW003").c_str(),
           WithAudit(s, s.Texts({{"0010", "称量配料", "WC01"},
                                 {"0020", "湿法制粒", "WC01"},
                                 {"0030", "压片", "WC01"},
                                 {"0040", "薄膜包衣", "WC02"},
                                 {"0050", "铝塑内包装", "WC03"},
                                 {"0060", "外包装", "WC03"}})));
  s.Insert("CMSMD", Cols("MD001,MD002,MD003").c_str(),
           WithAudit(s, s.Texts({{"WC01", "固体制剂一车间", "E001"},
                                 {"WC02", "固体制剂二车间", "E002"},
                                 {"WC03", "包装车间", "E004"}})));
  s.Insert("CMSMV", Cols("MV001,MV002,MV004").c_str(),
           WithAudit(s, s.Texts({{"E001", "王丽", "PROD"},
                                 {"E002", "陈军", "PROD"},
                                 {"E003", "李明", "PROD"},
                                 {"E004", "赵芳", "PACK"},
                                 {"E005", "刘强", "QA"}})));
  s.Insert("ADMMF", Cols("MF001,MF002,MF004,MF005").c_str(),
           WithAudit(s, s.Texts({{"DS", "系统管理员", "ADMIN", "CHS"},
                                 {"QA01", "张敏", "QA", "CHS"},
                                 {"PD01", "周涛", "PROD", "CHT"},
                                 {"EN01", "Anna Berg", "QA", "ENG"}})));
  s.Insert(
      "CMSMT",
      Cols("MT001,MT002,MT003,MT004,MT005,MT006,MT007,MT008,MT009,MT010,MT011,MT012,MT013,MT014")
          .c_str(),
      WithAudit(s, s.Texts({{"QCPR31", "N01", "Y", "N", "Y", "清场记录单", "", "S01", "Y", "N", "",
                             "", "", ""}})));
  s.Insert("CMSMS", Cols("MS001,MS002,MS003,MS004,MS005,MS006").c_str(),
           WithAudit(s, s.Texts({
                            {"1", "N01", "1. 清场范围: 生产区域内所有设备、容器、工具及地面。",
                             "2. 清场后应无上批物料、标签、记录遗留。",
                             "3. 本记录一式两份, 一份随批记录, 一份由车间留存。", "工单清场备注"},
                            {"1", "N02", "1. 按工艺规程逐道工序清场。", "2. 清洁剂残留须经QA确认。",
                             "", "工艺清场备注"},
                            {"2", "S01", "清场人:__________", "复核人:__________",
                             "QA检查员:__________", "清场签名"},
                            {"2", "S02", "操作人:__________  日期:________",
                             "班组长:__________  日期:________", "QA:__________  日期:________",
                             "换批签名"},
                            {"2", "QUORUM", "", "", "", "电子签核"},
                        })));
  s.Insert("ADMMB", Cols("MB001,MB002,MB003,MB004,MB005,MB006,MB007,MB008,MB009").c_str(),
           WithAudit(s, s.Texts({{"QCPR31", "清场记录凭证打印", "QCP", "R", "5.0", "Y", "12310000",
                                  "", "Line-Clearance Record Voucher"}})));
  s.Insert("ADMMQ", Cols("MQ001,MQ002,MQ003").c_str(),
           WithAudit(s, s.Texts({{"QCPR31", "QC02", "工艺清场电子签核"}})));
  s.Insert("QMSMC", Cols("MC001,MC002,MC003").c_str(),
           WithAudit(s, s.Texts({{"QCPR31", "QC02", "http://127.0.0.1/quorum/service"}})));
  s.Insert("ADMSP", "SP001,SP002,SP003,SP004",
           s.Texts({{"A01", "Sys001", "1", "日期格式"},
                    {"A01", "Sys002", "/", "日期分隔符"},
                    {"A01", "Sys026", "1", "民国年显示"},
                    {"A01", "Sys042", "Y", "传真及电子邮件"},
                    {"A01", "Sys060", "Y", "电子签核"},
                    {"A01", "Sys174", "N", "签核Web服务"},
                    {"A01", "NVT002", "江南制药", "公司简称"}}));
  s.Insert("ADMCN", "CN001,CN002", {{s.T("GMPTD"), Variant(100)}, {s.T("MOCTA"), Variant(20)}});
  s.Insert("ADMPH", "PH001,PH002,PH003",
           {{s.T("DS"), Variant(1), s.T("清场合格, 准予生产下一批。")},
            {s.T("DS"), Variant(2), s.T("清场不合格, 重新清场。")},
            {s.T("QA01"), Variant(1), s.T("已复核, 符合GMP要求。")}});
  s.Insert("ADMFL", "FL001,FL002,FL003,FL004",
           {{s.T("qcpr31s.dll"), s.T("20240301120000"), s.T("S_PKG\\qcpr31s.dll"), Variant(1)}});
}

void SeedRights(TSeeder& s) {
  // Function rights: 2 design, 3 delete formats, 6 print and preview, 7 and 8 the two flags.
  s.Insert("ADMMR", "MR001,MR002,MR003,MR004,MR005,MR006,MR007,MR008,MR009,MR010",
           s.Texts({{"DS", "QCPR31", "YYYYYYYY", "", "N", "ALL", "", "", "", ""},
                    {"QA01", "QCPR31", "YNNYYYNN", "", "Y", "QA", "", "", "", ""},
                    {"PD01", "QCPR31", "YNNYYYNN", "TD017<>'V'", "N", "PROD", "", "", "", ""},
                    {"EN01", "QCPR31", "YYYYYYYN", "", "N", "ALL", "", "", "", ""}}));
  s.Insert("ADMMP", "MP001,MP002,MP003",
           s.Texts({{"QA01", "GMPTD", "GMPTD.TD001 IN ('QC01','QC02','QC03')"}}));
}

struct TOrder {
  const char* type;
  const char* number;
  const char* date;
  const char* product;
  const char* name;
  const char* packSize;
  const char* lot;
  const char* lotNote;
  double quantity;
  const char* centre;
};

const TOrder kOrders[] = {
    {"5101", "20240301001", "20240301", "P-1001", "阿莫西林胶囊", "0.25g×24粒/盒", "240301A",
     "首批验证批", 120000, "WC01"},
    {"5101", "20240302001", "20240302", "P-1002", "布洛芬缓释片", "0.3g×20片/盒", "240302B",
     "常规生产", 200000, "WC01"},
    {"5101", "20240305001", "20240305", "P-1003", "维生素C片", "0.1g×100片/瓶", "240305C",
     "常规生产", 500000, "WC02"},
    {"5101", "20240308001", "20240308", "P-1004", "盐酸二甲双胍片", "0.5g×48片/盒", "240308D",
     "出口批", 150000, "WC02"},
    {"5102", "20240311001", "20240311", "P-1002", "布洛芬缓释片", "0.3g×20片/盒", "240302B-R",
     "返工: 包衣色差", 20000, "WC02"},
    {"5101", "20240312001", "20240312", "P-1005", "复方甘草片", "100片/瓶", "240312E", "常规生产",
     300000, "WC03"},
};

void SeedOrders(TSeeder& s) {
  std::vector<Row> orders;
  std::vector<Row> operations;
  const char* ops[][2] = {{"0010", "WC01"}, {"0020", "WC01"}, {"0030", "WC01"},
                          {"0040", "WC02"}, {"0050", "WC03"}, {"0060", "WC03"}};
  for (const TOrder& o : kOrders) {
    Row r = Audit(s, o.date);
    Row v = {s.T(o.type),   s.T(o.number), s.T(o.date), s.T(o.product), Variant(o.quantity),
             s.T(o.centre), s.T(o.name),   s.T(o.packSize), s.T(o.lot),     s.T(o.lotNote)};
    r.insert(r.end(), v.begin(), v.end());
    orders.push_back(std::move(r));
    int seq = 0;
    for (const auto& op : ops) {
      char number[8];
      std::snprintf(number, sizeof number, "%04d", (++seq) * 10);
      Row q = Audit(s, o.date);
      Row w = {s.T(o.type), s.T(o.number), s.T(number), s.T(op[0]), s.T(op[1]), s.T("")};
      q.insert(q.end(), w.begin(), w.end());
      operations.push_back(std::move(q));
    }
  }
  s.Insert("MOCTA", Cols("TA001,TA002,TA003,TA006,TA015,TA021,TA034,TA035,TA057,TA058").c_str(),
           std::move(orders));
  s.Insert("SFCTA", Cols("TA001,TA002,TA003,TA004,TA006,TA007").c_str(), std::move(operations));
}

const char* kRecordColumns =
    "COMPANY,CREATOR,USR_GROUP,CREATE_DATE,FLAG,TD001,TD002,TD003,TD004,TD005,TD006,TD007,TD008,"
    "TD009,TD010,TD011,TD012,TD013,TD014,TD015,TD016,TD017,TD018,TD019,TD020,TD021,TD022,TD023,"
    "TD024,TD025,TD026,TD027";

struct TRecord {
  const char* type;
  const char* number;
  const char* date;
  const char* kind;
  int order;      // index into kOrders
  int nextOrder;  // -1: no follow-up order
  const char* process;
  const char* seq;
  const char* clearDate;
  const char* clearer;
  const char* permit;
  const char* audit;
  const char* auditor;
  const char* remark;
  const char* signStatus;
  int printCount;
  int sendCount;
  const char* creator;
};

const TRecord kRecords[] = {
    {"QC01", "20240301001", "20240301", "1", 0, 1, "", "", "20240301", "E001", "Y", "Y", "QA01",
     "清场合格", "3", 1, 0, "DS"},
    {"QC01", "20240302001", "20240302", "1", 1, 2, "", "", "20240302", "E002", "Y", "Y", "QA01",
     "清场合格", "3", 0, 0, "PD01"},
    {"QC01", "20240305001", "20240305", "1", 2, 3, "", "", "20240305", "E003", "N", "N", "",
     "待QA复核", "1", 0, 0, "PD01"},
    {"QC01", "20240308001", "20240308", "1", 3, 5, "", "", "20240308", "E001", "Y", "Y", "QA01", "",
     "3", 2, 1, "DS"},
    {"QC01", "20240311001", "20240311", "1", 4, -1, "", "", "20240311", "E002", "N", "V", "QA01",
     "单据作废: 工单号录入错误", "5", 0, 0, "PD01"},
    {"QC01", "20240312001", "20240312", "1", 5, -1, "", "", "20240313", "E004", "Y", "N", "", "",
     "0", 0, 0, "DS"},
    {"QC01", "20240315001", "20240315", "1", 0, -1, "", "", "20240315", "E003", "N", "Y", "QA01",
     "二次清场后合格", "N", 1, 0, "DS"},
    {"QC01", "20240318001", "20240318", "1", 2, -1, "", "", "20240318", "E005", "Y", "N", "", "",
     "N", 0, 0, "QA01"},
    {"QC02", "20240301001", "20240301", "2", 0, 0, "0010", "0010", "20240301", "E001", "Y", "Y",
     "QA01", "称量间清场", "3", 1, 0, "DS"},
    {"QC02", "20240301002", "20240301", "2", 0, 0, "0030", "0030", "20240302", "E002", "Y", "Y",
     "QA01", "压片间清场", "3", 0, 0, "DS"},
    {"QC02", "20240302001", "20240302", "2", 1, 1, "0040", "0040", "20240303", "E003", "N", "N", "",
     "包衣锅待清洁验证", "1", 0, 0, "PD01"},
    {"QC02", "20240305001", "20240305", "2", 2, 2, "0050", "0050", "20240306", "E004", "Y", "Y",
     "QA01", "", "3", 4, 2, "PD01"},
    {"QC02", "20240308001", "20240308", "2", 3, 3, "0060", "0060", "20240309", "E004", "N", "V",
     "QA01", "重复开单作废", "5", 0, 0, "DS"},
    {"QC02", "20240312001", "20240312", "2", 5, -1, "0020", "0020", "20240312", "E001", "Y", "N",
     "", "", "2", 0, 0, "DS"},
    {"QC03", "20240305001", "20240305", "1", 1, 2, "", "", "20240305", "E002", "Y", "Y", "QA01",
     "换批: 布洛芬 → 维生素C", "N", 1, 0, "DS"},
    {"QC03", "20240308001", "20240308", "2", 2, 3, "0030", "0030", "20240308", "E003", "N", "N", "",
     "换批: 维生素C → 二甲双胍", "N", 0, 0, "PD01"},
};

void SeedRecords(TSeeder& s) {
  std::vector<Row> rows;
  for (const TRecord& r : kRecords) {
    const TOrder& o = kOrders[r.order];
    const TOrder* next = r.nextOrder >= 0 ? &kOrders[r.nextOrder] : nullptr;
    Row row = {s.T("A01"),
               s.T(r.creator),
               s.T("PROD"),
               s.T(r.date),
               Variant(1),
               s.T(r.type),
               s.T(r.number),
               s.T(r.date),
               s.T(r.kind),
               s.T(o.type),
               s.T(o.number),
               s.T(r.process),
               s.T(r.clearDate),
               s.T(r.clearer),
               s.T(next != nullptr ? next->type : ""),
               s.T(next != nullptr ? next->number : ""),
               s.T(next != nullptr && *r.kind == '2' ? r.process : ""),
               s.T(next != nullptr ? next->product : ""),
               s.T(next != nullptr ? next->lot : ""),
               s.T(r.permit),
               s.T(next != nullptr ? "20250228" : ""),
               s.T(r.audit),
               s.T(r.auditor),
               s.T(r.remark),
               s.T(r.signStatus),
               Variant(r.printCount),
               Variant(r.sendCount),
               s.T(r.seq),
               s.T(next != nullptr && *r.kind == '2' ? r.seq : ""),
               s.T(next != nullptr ? next->name : ""),
               s.T(next != nullptr ? next->packSize : ""),
               s.T(next != nullptr ? next->lotNote : "")};
    rows.push_back(std::move(row));
  }
  s.Insert("GMPTD", kRecordColumns, std::move(rows));
  // Sign-off history of the workflow document type QC02.
  s.Insert("ADMQH",
           "QH001,QH002,QH003,QH004,QH005,QH006,QH007,QH008,QH009,QH010,QH011,QH012,QH013,QH014,"
           "QH015,QH016,QH017",
           {
               {s.T("QC02"), s.T("20240301001"), Variant(1), s.T("1"), s.T("0"), s.T("0001"),
                s.T("申请人"), s.T("2024-03-01 08:30:00"), s.T("2024-03-01 08:35:12"), s.T("3"),
                s.T("E001"), s.T("王丽"), s.T("E001"), s.T("王丽"), s.T("PRD01"), s.T("车间操作员"),
                s.T("同意")},
               {s.T("QC02"), s.T("20240301001"), Variant(2), s.T("2"), s.T("0"), s.T("0002"),
                s.T("复核"), s.T("2024-03-01 08:35:12"), s.T("2024-03-01 10:02:45"), s.T("3"),
                s.T("QA01"), s.T("张敏"), s.T("QA01"), s.T("张敏"), s.T("QA01"), s.T("QA主管"),
                s.T("符合要求")},
               {s.T("QC02"), s.T("20240301002"), Variant(1), s.T("1"), s.T("0"), s.T("0001"),
                s.T("申请人"), s.T("2024-03-02 09:00:00"), s.T("2024-03-02 09:05:00"), s.T("3"),
                s.T("E002"), s.T("陈军"), s.T("E002"), s.T("陈军"), s.T("PRD01"), s.T("车间操作员"),
                s.T("同意")},
               {s.T("QC02"), s.T("20240305001"), Variant(1), s.T("1"), s.T("0"), s.T("0001"),
                s.T("申请人"), s.T("2024-03-06 14:20:00"), s.T(""), s.T("1"), s.T("E004"),
                s.T("赵芳"), s.T(""), s.T(""), s.T("PRD03"), s.T(""), s.T("")},
           });
}
}  // namespace

void SeedQueryDefinitions(tallyd::TDatabase& db);

// Statistics after a bulk load, so the planner knows the joined tables' sizes (PostgreSQL
// otherwise plans the line-clearance statement for tables of one row).
void AnalyzeTables(tallyd::TDatabase& db) {
  for (const TTableDef& t : SchemaTables()) db.Execute(std::string("ANALYZE ") + t.name);
}
void SeedMessages(tallyd::TDatabase& db);

void SeedDemoData(tallyd::TDatabase& db) {
  TSeeder s(db);
  SeedMasters(s);
  SeedRights(s);
  SeedOrders(s);
  SeedRecords(s);
  SeedQueryDefinitions(db);
  SeedMessages(db);
  AnalyzeTables(db);
}

void GenerateRecords(tallyd::TDatabase& db, int count) {
  TSeeder s(db);
  std::vector<Row> orders;
  std::vector<Row> operations;
  std::vector<Row> records;
  const char* processes[] = {"0010", "0020", "0030", "0040", "0050", "0060"};
  const char* centres[] = {"WC01", "WC01", "WC01", "WC02", "WC03", "WC03"};
  const char* clearers[] = {"E001", "E002", "E003", "E004", "E005"};
  const char* audits[] = {"Y", "N", "V", "Y"};
  const char* signs[] = {"0", "1", "2", "3", "N"};
  int orderCount = (count + 9) / 10;
  char number[16];
  char text[64];
  for (int i = 0; i < orderCount; ++i) {
    std::snprintf(number, sizeof number, "9%010d", i + 1);
    const TOrder& model = kOrders[i % 6];
    Row r = Audit(s, "20240401");
    std::snprintf(text, sizeof text, "G%06d", i + 1);
    Row v = {s.T("5101"),
             s.T(number),
             s.T("20240401"),
             s.T(model.product),
             Variant(model.quantity),
             s.T(model.centre),
             s.T(model.name),
             s.T(model.packSize),
             s.T(text),
             s.T(model.lotNote)};
    r.insert(r.end(), v.begin(), v.end());
    orders.push_back(std::move(r));
    for (int op = 0; op < 6; ++op) {
      char seq[8];
      std::snprintf(seq, sizeof seq, "%04d", (op + 1) * 10);
      Row q = Audit(s, "20240401");
      Row w = {s.T("5101"), s.T(number), s.T(seq), s.T(processes[op]), s.T(centres[op]), s.T("")};
      q.insert(q.end(), w.begin(), w.end());
      operations.push_back(std::move(q));
    }
  }
  for (int i = 0; i < count; ++i) {
    std::snprintf(number, sizeof number, "%011d", i + 1);
    char order[16];
    std::snprintf(order, sizeof order, "9%010d", i / 10 + 1);
    const TOrder& model = kOrders[(i / 10) % 6];
    bool routing = i % 2 == 1;
    int op = i % 6;
    char seq[8];
    std::snprintf(seq, sizeof seq, "%04d", (op + 1) * 10);
    char date[12];
    std::snprintf(date, sizeof date, "2024%02d%02d", 4 + (i / 2800) % 9, 1 + (i / 100) % 28);
    Row row = {s.T("A01"),
               s.T(i % 3 == 0 ? "PD01" : "DS"),
               s.T("PROD"),
               s.T(date),
               Variant(1),
               s.T("QC09"),
               s.T(number),
               s.T(date),
               s.T(routing ? "2" : "1"),
               s.T("5101"),
               s.T(order),
               s.T(routing ? processes[op] : ""),
               s.T(date),
               s.T(clearers[i % 5]),
               s.T("5101"),
               s.T(order),
               s.T(routing ? processes[op] : ""),
               s.T(model.product),
               s.T(model.lot),
               s.T(i % 4 == 0 ? "N" : "Y"),
               s.T("20250331"),
               s.T(audits[i % 4]),
               s.T(i % 4 == 1 ? "" : "QA01"),
               s.T("批量生成的清场记录"),
               s.T(signs[i % 5]),
               Variant(i % 3),
               Variant(i % 7 == 0 ? 1 : 0),
               s.T(routing ? seq : ""),
               s.T(routing ? seq : ""),
               s.T(model.name),
               s.T(model.packSize),
               s.T(model.lotNote)};
    records.push_back(std::move(row));
  }
  s.Insert("MOCTA", Cols("TA001,TA002,TA003,TA006,TA015,TA021,TA034,TA035,TA057,TA058").c_str(),
           std::move(orders));
  s.Insert("SFCTA", Cols("TA001,TA002,TA003,TA004,TA006,TA007").c_str(), std::move(operations));
  s.Insert("GMPTD", kRecordColumns, std::move(records));
  AnalyzeTables(db);
}

}  // namespace nv::demo
