// The PostgreSQL backend: one schema per company database in the configured database,
// reached with libpq. Statements are the SQLite ones; "?N" placeholders become "$N", rows
// stream one at a time so a large provider request does not sit in memory twice, and column
// names come back in upper case as the schema writes them.
#include <libpq-fe.h>

#include <cstdlib>

#include "platform/core/CodePage.h"
#include "suite/appserver/Database.h"
#include "suite/appserver/SqlText.h"

namespace nv::tallyd {

namespace {
constexpr Oid kBoolOid = 16;
constexpr Oid kInt8Oid = 20;
constexpr Oid kInt2Oid = 21;
constexpr Oid kInt4Oid = 23;
constexpr Oid kTextOid = 25;
constexpr Oid kFloat4Oid = 700;
constexpr Oid kFloat8Oid = 701;
constexpr Oid kVarcharOid = 1043;
constexpr Oid kBpcharOid = 1042;
constexpr Oid kNumericOid = 1700;

class TPgDatabase final : public TDatabase {
 public:
  TPgDatabase(const std::string& connInfo, const std::string& schema, int codePage)
      : TDatabase(TBackendKind::bkPostgreSQL, codePage) {
    // The schema name goes into statements as it stands: only a plain name may.
    if (!IsValidDatabaseName(schema))
      throw EDatabaseFailure("Invalid schema name '" + schema + "': letters, digits and _ only");
    conn_ = PQconnectdb(connInfo.c_str());
    if (PQstatus(conn_) != CONNECTION_OK) {
      std::string why = PQerrorMessage(conn_);
      PQfinish(conn_);
      conn_ = nullptr;
      throw EDatabaseFailure("Cannot connect to PostgreSQL: " + Trim(why));
    }
    PQsetClientEncoding(conn_, "UTF8");
    Exec("SET client_min_messages TO warning");
    try {
      Exec("CREATE SCHEMA IF NOT EXISTS " + schema);
    } catch (const EDatabaseFailure&) {
      // Another connection created it at the same moment; the search path below still holds.
    }
    Exec("SET search_path TO " + schema);
    prefix_ = schema + ".";
  }
  ~TPgDatabase() override { PQfinish(conn_); }

  void Begin() override { Exec("BEGIN"); }
  void Commit() override { Exec("COMMIT"); }
  void Rollback() override { Exec("ROLLBACK"); }

 protected:
  void RunQuery(const std::string& sql, const std::vector<TParam>& params,
                TRowSink& sink) override {
    Values v(params);
    std::string text = params.empty() ? sql : NumberPlaceholders(sql);
    if (PQsendQueryParams(conn_, text.c_str(), static_cast<int>(params.size()), nullptr,
                          v.values.data(), nullptr, nullptr, 0) == 0) {
      throw EDatabaseFailure(Trim(PQerrorMessage(conn_)));
    }
    PQsetSingleRowMode(conn_);
    bool described = false;
    bool wanted = true;
    std::string error;
    std::vector<TCell> cells;
    std::vector<std::string> scratch;
    while (PGresult* res = PQgetResult(conn_)) {
      ExecStatusType status = PQresultStatus(res);
      if (status == PGRES_SINGLE_TUPLE || status == PGRES_TUPLES_OK) {
        if (!described) {
          sink.Columns(Describe(res));
          described = true;
          cells.resize(static_cast<std::size_t>(PQnfields(res)));
        }
        if (wanted && status == PGRES_SINGLE_TUPLE) {
          for (int c = 0; c < PQnfields(res); ++c)
            cells[static_cast<std::size_t>(c)] = Read(res, c);
          wanted = sink.Row(cells);
        }
      } else if (status != PGRES_COMMAND_OK && error.empty()) {
        error = Trim(PQresultErrorMessage(res));
      }
      PQclear(res);
    }
    if (!error.empty()) throw EDatabaseFailure(Utf8ToAnsi(error, CodePage()));
  }

  std::int64_t RunExecute(const std::string& sql, const std::vector<TParam>& params) override {
    Values v(params);
    std::string text = params.empty() ? sql : NumberPlaceholders(sql);
    PGresult* res = PQexecParams(conn_, text.c_str(), static_cast<int>(params.size()), nullptr,
                                 v.values.data(), nullptr, nullptr, 0);
    ExecStatusType status = PQresultStatus(res);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      std::string why = Trim(PQresultErrorMessage(res));
      PQclear(res);
      throw EDatabaseFailure(Utf8ToAnsi(why, CodePage()));
    }
    std::int64_t affected = std::atoll(PQcmdTuples(res));
    if (status == PGRES_TUPLES_OK) affected = PQntuples(res);
    PQclear(res);
    return affected;
  }

  void RunMany(const std::string& sql, const std::vector<std::vector<TParam>>& rows) override {
    Begin();
    try {
      std::string text = NumberPlaceholders(sql);
      int count = rows.empty() ? 0 : static_cast<int>(rows.front().size());
      PGresult* prep = PQprepare(conn_, "bulk", text.c_str(), count, nullptr);
      Check(prep);
      for (const auto& row : rows) {
        Values v(row);
        Check(PQexecPrepared(conn_, "bulk", static_cast<int>(row.size()), v.values.data(), nullptr,
                             nullptr, 0));
      }
      Check(PQexec(conn_, "DEALLOCATE bulk"));
    } catch (...) {
      Rollback();
      throw;
    }
    Commit();
  }

 private:
  struct Values {
    explicit Values(const std::vector<TParam>& params) {
      texts.reserve(params.size());
      for (const TParam& p : params) {
        switch (p.kind) {
          case TParam::Null:
            texts.emplace_back();
            break;
          case TParam::Integer:
            texts.push_back(IntToStr(p.integer));
            break;
          case TParam::Float:
            texts.push_back(FloatToStr(p.number));
            break;
          case TParam::Text:
            texts.push_back(p.text);
            break;
        }
      }
      for (std::size_t i = 0; i < params.size(); ++i) {
        values.push_back(params[i].kind == TParam::Null ? nullptr : texts[i].c_str());
      }
    }
    std::vector<std::string> texts;
    std::vector<const char*> values;
  };

  void Check(PGresult* res) {
    ExecStatusType status = PQresultStatus(res);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      std::string why = Trim(PQresultErrorMessage(res));
      PQclear(res);
      throw EDatabaseFailure(Utf8ToAnsi(why, CodePage()));
    }
    PQclear(res);
  }

  void Exec(const std::string& sql) { Check(PQexec(conn_, sql.c_str())); }

  static std::vector<TFieldDesc> Describe(PGresult* res) {
    std::vector<TFieldDesc> out;
    for (int c = 0; c < PQnfields(res); ++c) {
      TFieldDesc d;
      d.name = UpperCase(PQfname(res, c));
      Oid type = PQftype(res, c);
      int mod = PQfmod(res, c);
      switch (type) {
        case kInt2Oid:
        case kInt4Oid:
        case kInt8Oid:
          d.type = TFieldType::ftInteger;
          break;
        case kFloat4Oid:
        case kFloat8Oid:
        case kNumericOid:
          d.type = TFieldType::ftFloat;
          break;
        case kBoolOid:
          d.type = TFieldType::ftBoolean;
          break;
        case kTextOid:
          d.type = TFieldType::ftMemo;
          break;
        case kVarcharOid:
        case kBpcharOid:
          d.type = TFieldType::ftString;
          d.size = mod > 4 ? static_cast<std::uint32_t>(mod - 4) : 0;
          break;
        default:
          d.type = TFieldType::ftString;
      }
      out.push_back(std::move(d));
    }
    return out;
  }

  static TCell Read(PGresult* res, int c) {
    TCell cell;
    if (PQgetisnull(res, 0, c) != 0) return cell;
    const char* v = PQgetvalue(res, 0, c);
    switch (PQftype(res, c)) {
      case kInt2Oid:
      case kInt4Oid:
      case kInt8Oid:
        cell.kind = TCell::Integer;
        cell.integer = std::atoll(v);
        break;
      case kFloat4Oid:
      case kFloat8Oid:
      case kNumericOid:
        cell.kind = TCell::Float;
        cell.number = std::strtod(v, nullptr);
        break;
      default:
        cell.kind = TCell::Text;
        cell.text = std::string_view(v, static_cast<std::size_t>(PQgetlength(res, 0, c)));
    }
    return cell;
  }

  PGconn* conn_ = nullptr;
};
}  // namespace

std::unique_ptr<TDatabase> OpenPostgres(const std::string& connInfo, const std::string& schema,
                                        int codePage) {
  return std::make_unique<TPgDatabase>(connInfo, schema, codePage);
}

}  // namespace nv::tallyd
