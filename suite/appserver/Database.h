#pragma once
// The company database behind the server object and the manager: one interface, two
// backends (SQLite, PostgreSQL) that run the same statements. Parameters are bound, never
// pasted: "?" or "?N" in a statement. Texts cross this interface in the database code page
// (ANSI); the backends store UTF-8.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"
#include "platform/data/DataPacket.h"
#include "suite/appserver/ServerConfig.h"

namespace nv::tallyd {

NV_DECLARE_EXCEPTION(EDatabaseFailure, Exception);

// One cell as the backend reads it; text in UTF-8, valid until the next row.
struct TCell {
  enum Kind { Null, Text, Integer, Float } kind = Null;
  std::string_view text;
  std::int64_t integer = 0;
  double number = 0;
};

class TRowSink {
 public:
  virtual ~TRowSink() = default;
  virtual void Columns(const std::vector<TFieldDesc>& columns) = 0;
  // false stops the query.
  virtual bool Row(std::span<const TCell> cells) = 0;
};

// Rows as Variants (texts converted to the database code page), for small results.
struct TRows {
  std::vector<TFieldDesc> columns;
  std::vector<std::vector<Variant>> rows;
};

class TDatabase {
 public:
  virtual ~TDatabase() = default;
  TBackendKind Kind() const { return kind_; }
  int CodePage() const { return codePage_; }
  // What "$$" in front of a table name becomes for this company database.
  const std::string& TablePrefix() const { return prefix_; }

  // sql and parameters in the database code page.
  void Query(std::string_view sql, std::span<const Variant> params, TRowSink& sink);
  TRows Query(std::string_view sql, std::span<const Variant> params = {}, int maxRows = -1);
  std::int64_t Execute(std::string_view sql, std::span<const Variant> params = {});
  // Runs one statement for each parameter row inside one transaction (bulk loading).
  void ExecuteMany(std::string_view sql, const std::vector<std::vector<Variant>>& rows);
  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  // A cell read back as a Variant in the database code page.
  Variant CellValue(const TCell& cell) const;

 protected:
  TDatabase(TBackendKind kind, int codePage) : kind_(kind), codePage_(codePage) {}
  // UTF-8 statement and parameters (Null, integer, float or UTF-8 text).
  struct TParam {
    enum Kind { Null, Text, Integer, Float } kind = Null;
    std::string text;
    std::int64_t integer = 0;
    double number = 0;
  };
  virtual void RunQuery(const std::string& sql, const std::vector<TParam>& params,
                        TRowSink& sink) = 0;
  virtual std::int64_t RunExecute(const std::string& sql, const std::vector<TParam>& params) = 0;
  virtual void RunMany(const std::string& sql, const std::vector<std::vector<TParam>>& rows) = 0;
  std::vector<TParam> ToParams(std::span<const Variant> params) const;
  std::string prefix_;

 private:
  TBackendKind kind_;
  int codePage_;
};

// Opens (SQLite: creates when missing) the company database of that name. The name must be
// letters, digits and "_" (1 to 30); anything else raises.
std::unique_ptr<TDatabase> OpenDatabase(const TServerConfig& config,
                                        const std::string& databaseName);
bool IsValidDatabaseName(std::string_view name);

// Backends, for tests and the demo builder.
std::unique_ptr<TDatabase> OpenSqlite(const std::string& fileName, int codePage, int busyTimeoutMs);
std::unique_ptr<TDatabase> OpenPostgres(const std::string& connInfo, const std::string& schema,
                                        int codePage);

// Field type of a declared column type ("VARCHAR(11)" -> string of 11).
TFieldDesc DescribeDeclaredType(std::string name, std::string_view declared);

}  // namespace nv::tallyd
