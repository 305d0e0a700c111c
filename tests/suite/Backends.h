#pragma once
// Test company databases on both backends. SQLite: a fresh file in a temporary folder.
// PostgreSQL: a fresh schema in the database named by QC_PG_CONNINFO (default: the cluster
// scripts/services.d/postgres starts). Without a reachable PostgreSQL the PostgreSQL cases
// fail when CI=true and are skipped, saying why, everywhere else.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>

#include "suite/appserver/Database.h"
#include "suite/demo/Schema.h"

namespace nv::testing {

enum class TBackend { SQLite, PostgreSQL };

inline std::string BackendName(const ::testing::TestParamInfo<TBackend>& info) {
  return info.param == TBackend::SQLite ? "SQLite" : "PostgreSQL";
}

inline std::string PgConnInfo() {
  const char* env = std::getenv("QC_PG_CONNINFO");
  return env != nullptr && *env != '\0'
             ? env
             : "host=127.0.0.1 port=55432 dbname=qc_test user=qc_test connect_timeout=5";
}

inline bool InCI() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::string(ci) == "true";
}

// A company database with the demo schema and seed data, dropped again at the end.
class TTestCompany {
 public:
  explicit TTestCompany(TBackend backend, int records = 0) : backend_(backend) {
    static std::atomic<int> counter{0};
    name_ = "T" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    if (backend == TBackend::SQLite) {
      char tmpl[] = "/tmp/qc-suite-XXXXXX";
      folder_ = ::mkdtemp(tmpl);
      config_.backend = tallyd::TBackendKind::bkSQLite;
      config_.dataLocation = folder_ + "/";
    } else {
      config_.backend = tallyd::TBackendKind::bkPostgreSQL;
      config_.dataLocation = PgConnInfo();
    }
    auto db = tallyd::OpenDatabase(config_, name_);
    demo::InstallSchema(*db);
    demo::SeedDemoData(*db);
    if (records > 0) demo::GenerateRecords(*db, records);
  }
  ~TTestCompany() {
    try {
      if (backend_ == TBackend::PostgreSQL) {
        auto db = tallyd::OpenPostgres(PgConnInfo(), "public", 936);
        db->Execute("DROP SCHEMA IF EXISTS " + LowerCase(name_) + " CASCADE");
      } else {
        std::string cmd = "rm -rf '" + folder_ + "'";
        [[maybe_unused]] int rc = std::system(cmd.c_str());
      }
    } catch (...) {
    }
  }
  const tallyd::TServerConfig& Config() const { return config_; }
  const std::string& Name() const { return name_; }
  std::unique_ptr<tallyd::TDatabase> Open() const { return tallyd::OpenDatabase(config_, name_); }

 private:
  TBackend backend_;
  std::string name_;
  std::string folder_;
  tallyd::TServerConfig config_;
};

// Skips (or, in CI, fails) a PostgreSQL case when the server cannot be reached.
#define QC_REQUIRE_BACKEND(backend)                                                           \
  do {                                                                                        \
    if ((backend) == ::nv::testing::TBackend::PostgreSQL) {                                   \
      try {                                                                                   \
        ::nv::tallyd::OpenPostgres(::nv::testing::PgConnInfo(), "public", 936);               \
      } catch (const std::exception& e) {                                                     \
        if (::nv::testing::InCI()) FAIL() << "PostgreSQL not reachable in CI: " << e.what();  \
        GTEST_SKIP() << "PostgreSQL not reachable (start scripts/services.d/postgres or set " \
                        "QC_PG_CONNINFO): "                                                   \
                     << e.what();                                                             \
      }                                                                                       \
    }                                                                                         \
  } while (0)

}  // namespace nv::testing
