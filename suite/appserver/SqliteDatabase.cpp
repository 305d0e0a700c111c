// The SQLite backend: one file per company database, write-ahead log so readers never wait
// for the writer, and a busy time-out so concurrent writers queue instead of failing.
#include <sqlite3.h>

#include "platform/core/CodePage.h"
#include "suite/appserver/Database.h"

namespace nv::tallyd {

namespace {
class TSqliteDatabase final : public TDatabase {
 public:
  TSqliteDatabase(const std::string& fileName, int codePage, int busyTimeoutMs)
      : TDatabase(TBackendKind::bkSQLite, codePage) {
    int rc = sqlite3_open_v2(fileName.c_str(), &db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                             nullptr);
    if (rc != SQLITE_OK) {
      std::string why = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
      sqlite3_close(db_);
      db_ = nullptr;
      throw EDatabaseFailure("Cannot open database " + fileName + ": " + why);
    }
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=NORMAL");
  }
  ~TSqliteDatabase() override { sqlite3_close_v2(db_); }

  void Begin() override { Exec("BEGIN IMMEDIATE"); }
  void Commit() override { Exec("COMMIT"); }
  void Rollback() override { Exec("ROLLBACK"); }

 protected:
  void RunQuery(const std::string& sql, const std::vector<TParam>& params,
                TRowSink& sink) override {
    Statement st(*this, sql);
    Bind(st.stmt, params);
    int columns = sqlite3_column_count(st.stmt);
    std::vector<TCell> cells(static_cast<std::size_t>(columns));
    bool described = false;
    for (;;) {
      int rc = sqlite3_step(st.stmt);
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) Fail(sql);
      if (!described) {
        sink.Columns(Describe(st.stmt, true));
        described = true;
      }
      for (int c = 0; c < columns; ++c) cells[static_cast<std::size_t>(c)] = Read(st.stmt, c);
      if (!sink.Row(cells)) break;
    }
    if (!described) sink.Columns(Describe(st.stmt, false));
  }

  std::int64_t RunExecute(const std::string& sql, const std::vector<TParam>& params) override {
    Statement st(*this, sql);
    Bind(st.stmt, params);
    int rc;
    while ((rc = sqlite3_step(st.stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) Fail(sql);
    return sqlite3_changes(db_);
  }

  void RunMany(const std::string& sql, const std::vector<std::vector<TParam>>& rows) override {
    Begin();
    try {
      Statement st(*this, sql);
      for (const auto& row : rows) {
        sqlite3_reset(st.stmt);
        sqlite3_clear_bindings(st.stmt);
        Bind(st.stmt, row);
        if (sqlite3_step(st.stmt) != SQLITE_DONE) Fail(sql);
      }
    } catch (...) {
      Rollback();
      throw;
    }
    Commit();
  }

 private:
  struct Statement {
    Statement(TSqliteDatabase& db, const std::string& sql) {
      if (sqlite3_prepare_v2(db.db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) !=
          SQLITE_OK) {
        db.Fail(sql);
      }
      if (stmt == nullptr) throw EDatabaseFailure("Empty statement");
    }
    ~Statement() { sqlite3_finalize(stmt); }
    sqlite3_stmt* stmt = nullptr;
  };

  [[noreturn]] void Fail(const std::string&) const {
    throw EDatabaseFailure(Utf8ToAnsi(sqlite3_errmsg(db_), CodePage()));
  }

  void Exec(const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &err) != SQLITE_OK) {
      std::string why = err != nullptr ? err : "unknown error";
      sqlite3_free(err);
      throw EDatabaseFailure(why);
    }
  }

  void Bind(sqlite3_stmt* st, const std::vector<TParam>& params) {
    int wanted = sqlite3_bind_parameter_count(st);
    if (wanted > static_cast<int>(params.size())) {
      throw EDatabaseFailure("Statement needs " + IntToStr(wanted) + " parameters, got " +
                             IntToStr(static_cast<int>(params.size())));
    }
    for (int i = 0; i < wanted; ++i) {
      const TParam& p = params[static_cast<std::size_t>(i)];
      int at = i + 1;
      switch (p.kind) {
        case TParam::Null:
          sqlite3_bind_null(st, at);
          break;
        case TParam::Integer:
          sqlite3_bind_int64(st, at, p.integer);
          break;
        case TParam::Float:
          sqlite3_bind_double(st, at, p.number);
          break;
        case TParam::Text:
          sqlite3_bind_text(st, at, p.text.data(), static_cast<int>(p.text.size()), SQLITE_STATIC);
          break;
      }
    }
  }

  static std::vector<TFieldDesc> Describe(sqlite3_stmt* st, bool haveRow) {
    std::vector<TFieldDesc> out;
    int n = sqlite3_column_count(st);
    for (int c = 0; c < n; ++c) {
      const char* name = sqlite3_column_name(st, c);
      const char* declared = sqlite3_column_decltype(st, c);
      if (declared != nullptr) {
        out.push_back(DescribeDeclaredType(name != nullptr ? name : "", declared));
        continue;
      }
      TFieldDesc d;
      d.name = name != nullptr ? name : "";
      int type = haveRow ? sqlite3_column_type(st, c) : SQLITE_TEXT;
      d.type = type == SQLITE_INTEGER ? TFieldType::ftInteger
               : type == SQLITE_FLOAT ? TFieldType::ftFloat
                                      : TFieldType::ftString;
      out.push_back(std::move(d));
    }
    return out;
  }

  static TCell Read(sqlite3_stmt* st, int c) {
    TCell cell;
    switch (sqlite3_column_type(st, c)) {
      case SQLITE_NULL:
        break;
      case SQLITE_INTEGER:
        cell.kind = TCell::Integer;
        cell.integer = sqlite3_column_int64(st, c);
        break;
      case SQLITE_FLOAT:
        cell.kind = TCell::Float;
        cell.number = sqlite3_column_double(st, c);
        break;
      default: {
        cell.kind = TCell::Text;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
        cell.text = std::string_view(text != nullptr ? text : "",
                                     static_cast<std::size_t>(sqlite3_column_bytes(st, c)));
      }
    }
    return cell;
  }

  sqlite3* db_ = nullptr;
};
}  // namespace

std::unique_ptr<TDatabase> OpenSqlite(const std::string& fileName, int codePage,
                                      int busyTimeoutMs) {
  return std::make_unique<TSqliteDatabase>(fileName, codePage, busyTimeoutMs);
}

}  // namespace nv::tallyd
