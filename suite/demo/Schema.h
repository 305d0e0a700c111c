#pragma once
// The company database of the demo installation: the tables the module's statements and the
// manager's queries name, with the indexes the line-clearance statement needs, the catalog
// tables the module asks for column lengths, seed data that reads like a plant, and a
// generator of any number of records of the same shape.
#include <string>
#include <vector>

#include "suite/appserver/Database.h"

namespace nv::demo {

struct TColumnDef {
  const char* name;
  const char* type;  // as declared: VARCHAR(11), INTEGER, NUMERIC(16,3), TEXT
};

struct TTableDef {
  const char* name;
  std::vector<TColumnDef> columns;
  const char* primaryKey;            // "TD001,TD002" or ""
  std::vector<const char*> indexes;  // "IX_NAME:COL,COL"
};

const std::vector<TTableDef>& SchemaTables();

// Creates every table, index and the catalog rows (sysobjects, syscolumns); tables that
// exist are dropped first, so a database can be rebuilt in place.
void InstallSchema(tallyd::TDatabase& db);
// Masters, system parameters, messages, query and lookup definitions, users and rights, and
// a few dozen line-clearance records in every audit and print status.
void SeedDemoData(tallyd::TDatabase& db);
// Appends `count` generated line-clearance records (document type QC09, numbers from
// 00000000001 on) with their manufacturing orders and routing operations.
void GenerateRecords(tallyd::TDatabase& db, int count);

// `tallyd demo DIR [--records N]`: registry file, client and server folders, BatonC.ini,
// BatonS.ini and the SQLite database DEMO. Returns the lines it printed.
struct TDemoOptions {
  std::string folder;
  int records = 0;
  std::string pluginFolder;  // where Tallyd.so and VantaWorkCenter.so are
  std::string pgConnInfo;    // "" = SQLite
};
std::vector<std::string> CreateDemoInstallation(const TDemoOptions& options);

}  // namespace nv::demo
