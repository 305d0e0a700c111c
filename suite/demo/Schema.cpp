#include "suite/demo/Schema.h"

#include "platform/core/SysUtils.h"

namespace nv::demo {

namespace {
// Audit columns every business table of the suite carries.
std::vector<TColumnDef> WithAudit(std::vector<TColumnDef> columns) {
  std::vector<TColumnDef> audit = {{"COMPANY", "VARCHAR(10)"},   {"CREATOR", "VARCHAR(10)"},
                                   {"USR_GROUP", "VARCHAR(10)"}, {"CREATE_DATE", "VARCHAR(8)"},
                                   {"MODIFIER", "VARCHAR(10)"},  {"MODI_DATE", "VARCHAR(8)"},
                                   {"FLAG", "INTEGER"}};
  audit.insert(audit.end(), columns.begin(), columns.end());
  return audit;
}

std::vector<TTableDef> BuildTables() {
  return {
      {"GMPTD",
       WithAudit({{"TD001", "VARCHAR(4)"},   {"TD002", "VARCHAR(11)"},  {"TD003", "VARCHAR(8)"},
                  {"TD004", "VARCHAR(1)"},   {"TD005", "VARCHAR(4)"},   {"TD006", "VARCHAR(11)"},
                  {"TD007", "VARCHAR(4)"},   {"TD008", "VARCHAR(8)"},   {"TD009", "VARCHAR(10)"},
                  {"TD010", "VARCHAR(4)"},   {"TD011", "VARCHAR(11)"},  {"TD012", "VARCHAR(4)"},
                  {"TD013", "VARCHAR(40)"},  {"TD014", "VARCHAR(20)"},  {"TD015", "VARCHAR(1)"},
                  {"TD016", "VARCHAR(8)"},   {"TD017", "VARCHAR(1)"},   {"TD018", "VARCHAR(10)"},
                  {"TD019", "VARCHAR(255)"}, {"TD020", "VARCHAR(1)"},   {"TD021", "INTEGER"},
                  {"TD022", "INTEGER"},      {"TD023", "VARCHAR(4)"},   {"TD024", "VARCHAR(4)"},
                  {"TD025", "VARCHAR(120)"}, {"TD026", "VARCHAR(120)"}, {"TD027", "VARCHAR(255)"}}),
       "TD001,TD002",
       // Each branch filters on the kind and sorts by type and number; the order-keyed joins
       // reach MOCTA and SFCTA by their keys.
       {"IX_GMPTD_KIND:TD004,TD001,TD002", "IX_GMPTD_MO:TD005,TD006", "IX_GMPTD_DATE:TD003",
        "IX_GMPTD_CLEAR:TD008"}},
      {"MOCTA",
       WithAudit({{"TA001", "VARCHAR(4)"},
                  {"TA002", "VARCHAR(11)"},
                  {"TA003", "VARCHAR(8)"},
                  {"TA006", "VARCHAR(40)"},
                  {"TA015", "NUMERIC(16,3)"},
                  {"TA021", "VARCHAR(10)"},
                  {"TA034", "VARCHAR(120)"},
                  {"TA035", "VARCHAR(120)"},
                  {"TA057", "VARCHAR(20)"},
                  {"TA058", "VARCHAR(255)"}}),
       "TA001,TA002",
       {}},
      {"SFCTA",
       WithAudit({{"TA001", "VARCHAR(4)"},
                  {"TA002", "VARCHAR(11)"},
                  {"TA003", "VARCHAR(4)"},
                  {"TA004", "VARCHAR(4)"},
                  {"TA006", "VARCHAR(10)"},
                  {"TA007", "VARCHAR(60)"}}),
       "TA001,TA002,TA003,TA004",
       {}},
      {"CMSMQ",
       WithAudit({{"MQ001", "VARCHAR(4)"},
                  {"MQ002", "VARCHAR(40)"},
                  {"MQ003", "VARCHAR(2)"},
                  {"MQ004", "VARCHAR(10)"},
                  {"MQ005", "VARCHAR(1)"},
                  {"MQ006", "VARCHAR(10)"},
                  {"MQ007", "VARCHAR(1)"},
                  {"MQ008", "VARCHAR(1)"},
                  {"MQ009", "VARCHAR(1)"},
                  {"MQ010", "VARCHAR(20)"},
                  {"MQ011", "VARCHAR(1)"},
                  {"MQ012", "VARCHAR(60)"},
                  {"MQ013", "VARCHAR(1)"}}),
       "MQ001",
       {"IX_CMSMQ_KIND:MQ003,MQ001"}},
      {"CMSMW",
       WithAudit({{"MW001", "VARCHAR(4)"}, {"MW002", "VARCHAR(40)"}, {"MW003", "VARCHAR(10)"}}),
       "MW001",
       {}},
      {"CMSMD",
       WithAudit({{"MD001", "VARCHAR(10)"}, {"MD002", "VARCHAR(40)"}, {"MD003", "VARCHAR(10)"}}),
       "MD001",
       {}},
      {"CMSMV",
       WithAudit({{"MV001", "VARCHAR(10)"}, {"MV002", "VARCHAR(30)"}, {"MV004", "VARCHAR(10)"}}),
       "MV001",
       {}},
      {"ADMMF",
       WithAudit({{"MF001", "VARCHAR(10)"},
                  {"MF002", "VARCHAR(30)"},
                  {"MF004", "VARCHAR(10)"},
                  {"MF005", "VARCHAR(3)"}}),
       "MF001",
       {}},
      {"CMSML",
       WithAudit({{"ML001", "VARCHAR(10)"},
                  {"ML002", "VARCHAR(80)"},
                  {"ML003", "VARCHAR(120)"},
                  {"ML004", "VARCHAR(30)"},
                  {"ML005", "VARCHAR(30)"},
                  {"ML006", "VARCHAR(80)"}}),
       "ML001",
       {}},
      {"CMSMT",
       WithAudit({{"MT001", "VARCHAR(10)"},
                  {"MT002", "VARCHAR(10)"},
                  {"MT003", "VARCHAR(1)"},
                  {"MT004", "VARCHAR(1)"},
                  {"MT005", "VARCHAR(1)"},
                  {"MT006", "VARCHAR(60)"},
                  {"MT007", "VARCHAR(60)"},
                  {"MT008", "VARCHAR(10)"},
                  {"MT009", "VARCHAR(1)"},
                  {"MT010", "VARCHAR(1)"},
                  {"MT011", "VARCHAR(10)"},
                  {"MT012", "VARCHAR(10)"},
                  {"MT013", "VARCHAR(10)"},
                  {"MT014", "VARCHAR(20)"}}),
       "MT001",
       {}},
      {"CMSMS",
       WithAudit({{"MS001", "VARCHAR(1)"},
                  {"MS002", "VARCHAR(10)"},
                  {"MS003", "VARCHAR(120)"},
                  {"MS004", "VARCHAR(120)"},
                  {"MS005", "VARCHAR(120)"},
                  {"MS006", "VARCHAR(40)"}}),
       "MS001,MS002",
       {}},
      {"ADMMB",
       WithAudit({{"MB001", "VARCHAR(10)"},
                  {"MB002", "VARCHAR(60)"},
                  {"MB003", "VARCHAR(3)"},
                  {"MB004", "VARCHAR(1)"},
                  {"MB005", "VARCHAR(10)"},
                  {"MB006", "VARCHAR(1)"},
                  {"MB007", "VARCHAR(10)"},
                  {"MB008", "VARCHAR(10)"},
                  {"MB009", "VARCHAR(60)"}}),
       "MB001",
       {}},
      {"WARRANT",
       WithAudit({{"NT001", "VARCHAR(40)"},
                  {"NT002", "VARCHAR(20)"},
                  {"NT003", "VARCHAR(3)"},
                  {"NT004", "TEXT"},
                  {"NT005", "INTEGER"},
                  {"NT006", "TEXT"}}),
       "NT001,NT002",
       {}},
      {"ADMTA",
       {{"COMPANY", "VARCHAR(10)"},
        {"CREATOR", "VARCHAR(10)"},
        {"USR_GROUP", "VARCHAR(10)"},
        {"CREATE_DATE", "VARCHAR(8)"},
        {"FLAG", "VARCHAR(1)"},
        {"TA001", "VARCHAR(10)"},
        {"TA002", "VARCHAR(60)"},
        {"TA003", "VARCHAR(1)"},
        {"TA004", "VARCHAR(255)"},
        {"TA005", "VARCHAR(8)"},
        {"TA006", "VARCHAR(8)"}},
       "",
       {"IX_ADMTA_PROG:TA001,TA006"}},
      {"ADMMQ",
       WithAudit({{"MQ001", "VARCHAR(10)"}, {"MQ002", "VARCHAR(4)"}, {"MQ003", "VARCHAR(40)"}}),
       "MQ001,MQ002",
       {"IX_ADMMQ_TYPE:MQ002"}},
      {"QMSMC",
       WithAudit({{"MC001", "VARCHAR(10)"}, {"MC002", "VARCHAR(4)"}, {"MC003", "VARCHAR(120)"}}),
       "MC001,MC002",
       {"IX_QMSMC_TYPE:MC002"}},
      // Sign-off history of the workflow: one row per step of a form.
      {"ADMQH",
       {{"QH001", "VARCHAR(4)"},
        {"QH002", "VARCHAR(11)"},
        {"QH003", "INTEGER"},
        {"QH004", "VARCHAR(10)"},
        {"QH005", "VARCHAR(10)"},
        {"QH006", "VARCHAR(10)"},
        {"QH007", "VARCHAR(30)"},
        {"QH008", "VARCHAR(19)"},
        {"QH009", "VARCHAR(19)"},
        {"QH010", "VARCHAR(10)"},
        {"QH011", "VARCHAR(10)"},
        {"QH012", "VARCHAR(30)"},
        {"QH013", "VARCHAR(10)"},
        {"QH014", "VARCHAR(30)"},
        {"QH015", "VARCHAR(10)"},
        {"QH016", "VARCHAR(30)"},
        {"QH017", "VARCHAR(255)"}},
       "QH001,QH002,QH003",
       {}},
      // Condition schemes per user and program.
      {"ADMCS",
       {{"NCONDITION", "VARCHAR(20)"},
        {"CREATOR", "VARCHAR(10)"},
        {"PROGRAMME", "VARCHAR(10)"},
        {"SCONDITION", "TEXT"},
        {"VCONDITION", "TEXT"},
        {"CREATE_DATE", "VARCHAR(8)"}},
       "NCONDITION,CREATOR,PROGRAMME",
       {"IX_ADMCS_USER:CREATOR,PROGRAMME"}},
      // Message texts in the three interface languages.
      {"ADMMG",
       {{"MG001", "VARCHAR(1)"},
        {"MG002", "VARCHAR(6)"},
        {"MG003", "VARCHAR(255)"},
        {"MG004", "VARCHAR(255)"},
        {"MG005", "VARCHAR(255)"}},
       "MG001,MG002",
       {}},
      // System parameters per company.
      {"ADMSP",
       {{"SP001", "VARCHAR(10)"},
        {"SP002", "VARCHAR(10)"},
        {"SP003", "VARCHAR(60)"},
        {"SP004", "VARCHAR(60)"}},
       "SP001,SP002",
       {}},
      // Function rights per user and program, and data rights per user and table.
      {"ADMMR",
       {{"MR001", "VARCHAR(10)"},
        {"MR002", "VARCHAR(10)"},
        {"MR003", "VARCHAR(20)"},
        {"MR004", "VARCHAR(255)"},
        {"MR005", "VARCHAR(1)"},
        {"MR006", "VARCHAR(20)"},
        {"MR007", "VARCHAR(20)"},
        {"MR008", "VARCHAR(20)"},
        {"MR009", "VARCHAR(60)"},
        {"MR010", "VARCHAR(60)"}},
       "MR001,MR002",
       {}},
      {"ADMMP",
       {{"MP001", "VARCHAR(10)"}, {"MP002", "VARCHAR(10)"}, {"MP003", "VARCHAR(255)"}},
       "MP001,MP002",
       {}},
      // Named counters of the counter object.
      {"ADMCN", {{"CN001", "VARCHAR(20)"}, {"CN002", "INTEGER"}}, "CN001", {}},
      // Validator queries and lookup windows: table, number, kind (Q query, F lookup),
      // statement with numbered parameters, title, column captions, condition column.
      {"ADMQD",
       {{"QD001", "VARCHAR(10)"},
        {"QD002", "VARCHAR(2)"},
        {"QD003", "VARCHAR(1)"},
        {"QD004", "TEXT"},
        {"QD005", "VARCHAR(60)"},
        {"QD006", "VARCHAR(255)"},
        {"QD007", "VARCHAR(20)"}},
       "QD001,QD002,QD003",
       {}},
      // Phrases a user keeps for text fields.
      {"ADMPH",
       {{"PH001", "VARCHAR(10)"}, {"PH002", "INTEGER"}, {"PH003", "VARCHAR(255)"}},
       "PH001,PH002",
       {}},
      // Version list of the new-file check.
      {"ADMFL",
       {{"FL001", "VARCHAR(60)"},
        {"FL002", "VARCHAR(20)"},
        {"FL003", "VARCHAR(20)"},
        {"FL004", "INTEGER"}},
       "FL001",
       {}},
      // The catalog the module asks for declared column lengths.
      {"sysobjects",
       {{"id", "INTEGER"}, {"name", "VARCHAR(40)"}, {"xtype", "VARCHAR(2)"}},
       "id",
       {}},
      {"syscolumns",
       {{"id", "INTEGER"}, {"colid", "INTEGER"}, {"name", "VARCHAR(40)"}, {"length", "INTEGER"}},
       "id,colid",
       {}},
  };
}

int DeclaredLength(const char* type) {
  std::string t = type;
  auto p = t.find('(');
  if (p == std::string::npos) return t == "INTEGER" ? 4 : 16;
  return StrToIntDef(t.substr(p + 1, t.find_first_of(",)", p) - p - 1), 0);
}
}  // namespace

const std::vector<TTableDef>& SchemaTables() {
  static const std::vector<TTableDef> tables = BuildTables();
  return tables;
}

void InstallSchema(tallyd::TDatabase& db) {
  for (const TTableDef& t : SchemaTables()) {
    db.Execute(std::string("DROP TABLE IF EXISTS ") + t.name);
    std::string ddl = std::string("CREATE TABLE ") + t.name + " (";
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
      if (i > 0) ddl += ", ";
      ddl += std::string(t.columns[i].name) + " " + t.columns[i].type;
    }
    if (*t.primaryKey != '\0') ddl += std::string(", PRIMARY KEY (") + t.primaryKey + ")";
    ddl += ")";
    db.Execute(ddl);
    for (const char* ix : t.indexes) {
      std::string indexDef = ix;
      auto colon = indexDef.find(':');
      db.Execute("CREATE INDEX " + indexDef.substr(0, colon) + " ON " + t.name + " (" +
                 indexDef.substr(colon + 1) + ")");
    }
  }
  std::vector<std::vector<Variant>> objects;
  std::vector<std::vector<Variant>> columns;
  int id = 0;
  for (const TTableDef& t : SchemaTables()) {
    ++id;
    objects.push_back({Variant(id), Variant(t.name), Variant("U")});
    int colid = 0;
    for (const TColumnDef& c : t.columns) {
      columns.push_back(
          {Variant(id), Variant(++colid), Variant(c.name), Variant(DeclaredLength(c.type))});
    }
  }
  db.ExecuteMany("INSERT INTO sysobjects (id, name, xtype) VALUES (?, ?, ?)", objects);
  db.ExecuteMany("INSERT INTO syscolumns (id, colid, name, length) VALUES (?, ?, ?, ?)", columns);
}

}  // namespace nv::demo
