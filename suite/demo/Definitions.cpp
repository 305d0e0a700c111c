// The manager's data: validator queries and lookup windows by table and number (statements
// with numbered parameters, the field order the option forms read), and the message table in
// simplified Chinese, traditional Chinese and English.
#include "platform/core/CodePage.h"
#include "suite/demo/Schema.h"

namespace nv::demo {

namespace {
struct TQueryDef {
  const char* table;
  const char* number;
  const char* kind;  // Q validator query, F lookup window
  const char* statement;
  const char* title;
  const char* captions;
  const char* conditionColumn;  // the column a lookup's condition text filters
};

const TQueryDef kQueries[] = {
    {"ADMMB", "01", "Q",
     "SELECT MB002,MB003,MB004,MB005,MB006,MB007,MB008,MB009 FROM $$ADMMB WHERE MB001=?1", "程序",
     "", ""},
    {"WARRANT", "01", "Q", "SELECT NT002,NT006 FROM $$WARRANT WHERE NT001=?1 ORDER BY NT002",
     "凭证格式", "", ""},
    {"WARRANT", "03", "Q",
     "SELECT NT002,NT006,NT003,NT005 FROM $$WARRANT WHERE NT001=?1 AND NT002=?2", "凭证格式", "",
     ""},
    {"CMSML", "01", "Q", "SELECT ML001,ML002,ML003,ML004,ML005,ML006 FROM $$CMSML WHERE ML001=?1",
     "公司", "", ""},
    {"CMSMT", "01", "Q",
     "SELECT MT002,MT003,MT004,MT005,MT006,MT007,MT008,MT009,MT010,MT011,MT012,MT013,MT014 FROM "
     "$$CMSMT "
     "WHERE MT001=?1",
     "程序凭证设置", "", ""},
    // Fields: 0 name, 1 note code, 2 notes allowed, 3 sign-in code, 4 sign-ins allowed, 5 kind,
    // 6 code, 7 notes on every page, 8 sign-ins on every page, 9 format, 10 format may change,
    // 11 voucher name, 12 totals on every page.
    {"CMSMQ", "08", "Q",
     "SELECT MQ002,MQ004,MQ005,MQ006,MQ007,MQ003,MQ001,MQ008,MQ009,MQ010,MQ011,MQ012,MQ013 FROM "
     "$$CMSMQ "
     "WHERE MQ001=?1 AND (CAST(?2 AS VARCHAR(10))='' OR MQ003=?2)",
     "单别", "", ""},
    {"CMSMQ", "38", "Q",
     "SELECT MQ002,MQ004,MQ005,MQ006,MQ007,MQ003,MQ001,MQ008,MQ009,MQ010,MQ011,MQ012,MQ013 FROM "
     "$$CMSMQ "
     "WHERE MQ001=?1 AND MQ003=?2",
     "单别", "", ""},
    {"CMSMS", "01", "Q", "SELECT MS006,MS003,MS004,MS005 FROM $$CMSMS WHERE MS001=?1 AND MS002=?2",
     "备注签名", "", ""},
    {"GENES", "01", "Q",
     "SELECT NCONDITION,CREATE_DATE FROM $$ADMCS WHERE NCONDITION=?1 AND CREATOR=?2 AND "
     "PROGRAMME=?3",
     "条件方案", "", ""},
    // Lookup windows: the rows offered, the condition text filtering the first column.
    {"CMSMQ", "06", "F",
     "SELECT MQ001,MQ002,MQ003,MQ012 FROM $$CMSMQ WHERE MQ003=?1 ORDER BY MQ001", "单别查询",
     "单别,单据名称,性质,凭证名称", "MQ001"},
    {"GMPTD", "04", "F",
     "SELECT TD002,TD003,TD008,TD017,TD019 FROM $$GMPTD WHERE TD001=?1 ORDER BY TD002",
     "清场单号查询", "单号,单据日期,清场日期,审核码,备注", "TD002"},
    {"CMSMS", "01", "F",
     "SELECT MS002,MS006,MS003,MS004,MS005 FROM $$CMSMS WHERE MS001=?1 ORDER BY MS002",
     "备注签名查询", "代号,说明,第一行,第二行,第三行", "MS002"},
};

struct TMessageDef {
  const char* type;
  const char* number;
  const char* chs;
  const char* cht;
  const char* eng;
};

const TMessageDef kMessages[] = {
    {"E", "000003", "%s 不可空白, 请输入!", "%s 不可空白, 請輸入!",
     "%s must not be blank. Please enter it."},
    {"E", "000005", "日期输入错误, 请输入正确的日期! %s", "日期輸入錯誤, 請輸入正確的日期! %s",
     "The date is not valid. Please enter a correct date. %s"},
    {"E", "000006", "无法连接应用服务器, 请检查服务器设置或网络!",
     "無法連接應用伺服器, 請檢查伺服器設定或網路!",
     "Cannot connect to the application server. Please check the server settings and the network."},
    {"E", "000015", "找不到系统注册信息, 请重新安装客户端!",
     "找不到系統註冊資訊, 請重新安裝用戶端!",
     "The installation is not registered on this computer. Please reinstall the client."},
    {"E", "000016", "客户端设置中没有指定应用服务器!", "用戶端設定中沒有指定應用伺服器!",
     "The client settings name no application server."},
    {"E", "000025", "读取数据失败, 请检查应用服务器 %s:%s 是否正常运行! %s%s%s%s",
     "讀取資料失敗, 請檢查應用伺服器 %s:%s 是否正常執行! %s%s%s%s",
     "The data could not be loaded. Please check that the application server %s:%s is running. "
     "%s%s%s%s"},
    {"E", "000030", "收集打印条件时发生错误: %s", "收集列印條件時發生錯誤: %s",
     "The print conditions could not be collected: %s"},
    {"E", "000036", "程序代号与窗口不符, 无法执行!", "程式代號與視窗不符, 無法執行!",
     "The program code does not belong to this window; the report cannot run."},
    {"E", "000037", "必须输入的栏位尚未输入, 请输入!", "必須輸入的欄位尚未輸入, 請輸入!",
     "A required field is still empty. Please fill it in."},
    {"E", "000038", "启动参数不完整, 程序无法执行!", "啟動參數不完整, 程式無法執行!",
     "The report was started with incomplete parameters and cannot run."},
    {"E", "100007", "单别不存在或不是清场记录单别! %s", "單別不存在或不是清場記錄單別! %s",
     "This document type does not exist or is not a line-clearance type. %s"},
    {"E", "100319", "凭证格式名称不可超过20个字符! %s", "憑證格式名稱不可超過20個字元! %s",
     "A voucher format name can have at most 20 characters. %s"},
    {"I", "000003", "没有可以收集的打印条件!", "沒有可以收集的列印條件!",
     "There are no print conditions to collect."},
    {"I", "000011", "打印日期", "列印日期", "print date"},
    {"I", "000012", "纸张: %s  宽度: %s  高度: %s  单位: %s",
     "紙張: %s  寬度: %s  高度: %s  單位: %s", "Paper: %s  width: %s  height: %s  unit: %s"},
    {"R", "100235", "备注代号", "備註代號", "note code"},
    {"R", "100236", "签名代号", "簽名代號", "sign-in code"},
    {"R", "200235", "条件方案无法恢复, 请重新保存该方案!", "條件方案無法還原, 請重新儲存該方案!",
     "The condition scheme could not be restored. Please save it again."},
    {"W", "000002", "%s的数目不符: 应为 %s 项, 实际为 %s 项!",
     "%s的數目不符: 應為 %s 項, 實際為 %s 項!",
     "The number of %s does not match: %s expected, %s found."},
    {"W", "000003", "%s共 %s 项, 第 %s 项没有值!", "%s共 %s 項, 第 %s 項沒有值!",
     "%s: %s items expected, but item %s has no value."},
    {"W", "000004", "输入的%s不存在, 请重新输入!", "輸入的%s不存在, 請重新輸入!",
     "The %s you entered does not exist. Please enter another one."},
    {"W", "000006", "没有符合条件的数据! %s", "沒有符合條件的資料! %s",
     "No records match the conditions. %s"},
    {"W", "000014", "外部传入的条件栏位在本窗口中不存在!", "外部傳入的條件欄位在本視窗中不存在!",
     "The conditions passed in name fields this window does not have."},
};

Variant A(tallyd::TDatabase& db, const char* utf8) {
  return Variant(Utf8ToAnsi(utf8, db.CodePage()));
}
}  // namespace

void SeedQueryDefinitions(tallyd::TDatabase& db) {
  std::vector<std::vector<Variant>> rows;
  for (const TQueryDef& q : kQueries) {
    rows.push_back({A(db, q.table), A(db, q.number), A(db, q.kind), A(db, q.statement),
                    A(db, q.title), A(db, q.captions), A(db, q.conditionColumn)});
  }
  db.ExecuteMany(
      "INSERT INTO ADMQD (QD001,QD002,QD003,QD004,QD005,QD006,QD007) VALUES (?,?,?,?,?,?,?)", rows);
}

void SeedMessages(tallyd::TDatabase& db) {
  std::vector<std::vector<Variant>> rows;
  for (const TMessageDef& m : kMessages) {
    rows.push_back({A(db, m.type), A(db, m.number), A(db, m.chs), A(db, m.cht), A(db, m.eng)});
  }
  db.ExecuteMany("INSERT INTO ADMMG (MG001,MG002,MG003,MG004,MG005) VALUES (?,?,?,?,?)", rows);
}

}  // namespace nv::demo
