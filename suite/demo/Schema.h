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
// BatonS.ini, the SQLite database DEMO, and the suite's programs and libraries copied where
// an installation keeps them: the server plug-in in the server folder; the manager, the
// module, the shell and the suite libraries in the client folder (a library the module loads
// by name is found beside the shell). Returns the lines it printed.
struct TDemoOptions {
  std::string folder;
  int records = 0;
  std::string programFolder;  // where tallyd runs from: an installed suite keeps its files there
  std::string buildFolder;    // the build tree tallyd was built in, "" when installed
  std::string pgConnInfo;     // "" = SQLite
};
std::vector<std::string> CreateDemoInstallation(const TDemoOptions& options);

}  // namespace nv::demo
