// The line-clearance statement (both branches, all joins, ORDER BY) over generated records,
// through provider "Provider1" into a client data set, on SQLite and PostgreSQL, in-process
// and over TCP. Prints rows per second, the memory the data set's records take and the peak
// memory of the process that ran it.
//   provider_bench [--records N] [--backend sqlite|postgres|both] [--pg CONNINFO]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/data/DBClient.h"
#include "suite/appserver/Class1.h"
#include "suite/appserver/Server.h"
#include "suite/demo/Schema.h"
#include "suite/demo/Statement.h"

namespace {

using nv::Variant;
using Clock = std::chrono::steady_clock;

struct TSetup {
  nv::tallyd::TServerConfig config;
  std::string database = "BENCH";
};

// Runs f in a child process; returns its exit status and peak resident memory in KiB.
template <class F>
bool InChild(F&& f, long& peakKb) {
  std::fflush(stdout);
  pid_t pid = ::fork();
  if (pid == 0) {
    int rc = 1;
    try {
      rc = f() ? 0 : 1;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "provider_bench: %s\n", e.what());
    }
    std::fflush(stdout);
    ::_exit(rc);
  }
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  peakKb = usage.ru_maxrss;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool Measure(const TSetup& s, bool overTcp, int records) {
  std::unique_ptr<nv::tallyd::TTallydServer> server;
  std::thread serving;
  nv::TSocketConnection connection;
  connection.SetServerName("Tallyd.Class1");
  if (overTcp) {
    server = std::make_unique<nv::tallyd::TTallydServer>(s.config, [](const std::string&) {});
    server->Listen("127.0.0.1", 0);
    serving = std::thread([&] { server->Run(); });
    connection.SetAddress("127.0.0.1");
    connection.SetPort(server->Port());
    connection.Open();
  } else {
    connection.SetAppServer(Variant(nv::tallyd::CreateTallydClass1(s.config, nullptr)));
  }
  connection.AppServer().Call("Connect",
                              {Variant::ArrayOf({Variant("QCPR31"), Variant("DS"), Variant("A01"),
                                                 Variant(s.database), Variant("GMPTD")})});
  nv::TwwClientDataSet ds;
  ds.SetRemoteServer(&connection);
  ds.SetProviderName("Provider1");
  auto start = Clock::now();
  ds.DataRequest(Variant(nv::demo::LineClearanceStatement(" AND (TD001='QC09')")));
  ds.Open();
  auto opened = Clock::now();
  long touched = 0;
  nv::TField& number = ds.FieldByName("TD002");
  nv::TField& product = ds.FieldByName("TA034");
  nv::TField& centre = ds.FieldByName("MD002");
  for (ds.First(); !ds.Eof(); ds.Next()) {
    touched += static_cast<long>(number.AsString().size() + product.AsString().size() +
                                 centre.AsString().size());
  }
  auto done = Clock::now();
  double openSeconds = std::chrono::duration<double>(opened - start).count();
  double allSeconds = std::chrono::duration<double>(done - start).count();
  int rows = ds.RecordCount();
  std::printf("  %-3s  rows %d  open %.3f s  open+walk %.3f s  %.0f rows/s  records %.1f MiB",
              overTcp ? "tcp" : "in", rows, openSeconds, allSeconds, rows / allSeconds,
              static_cast<double>(ds.RecordMemoryBytes()) / (1024.0 * 1024.0));
  ds.Close();
  connection.Close();
  if (server) {
    server->Stop();
    serving.join();
  }
  return rows == records && touched > 0;
}

}  // namespace

int main(int argc, char** argv) {
  int records = 100000;
  std::string backends = "both";
  const char* env = std::getenv("QC_PG_CONNINFO");
  std::string pg = env != nullptr && *env != '\0'
                       ? env
                       : "host=127.0.0.1 port=55432 dbname=qc_test user=qc_test";
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    if (a == "--records") records = std::atoi(argv[i + 1]);
    if (a == "--backend") backends = argv[i + 1];
    if (a == "--pg") pg = argv[i + 1];
  }
  bool ok = true;
  for (const char* backend : {"sqlite", "postgres"}) {
    if (backends != "both" && backends != backend) continue;
    TSetup s;
    char tmpl[] = "/tmp/qc-bench-XXXXXX";
    std::string folder;
    if (std::string(backend) == "sqlite") {
      folder = ::mkdtemp(tmpl);
      s.config.dataLocation = folder + "/";
    } else {
      s.config.backend = nv::tallyd::TBackendKind::bkPostgreSQL;
      s.config.dataLocation = pg;
    }
    long peak = 0;
    auto t0 = Clock::now();
    bool made = InChild(
        [&] {
          auto db = nv::tallyd::OpenDatabase(s.config, s.database);
          nv::demo::InstallSchema(*db);
          nv::demo::SeedDemoData(*db);
          nv::demo::GenerateRecords(*db, records);
          return true;
        },
        peak);
    std::printf("%s: %d generated records in %.1f s\n", backend, records,
                std::chrono::duration<double>(Clock::now() - t0).count());
    if (!made) {
      std::printf("  %s not available, skipped\n", backend);
      ok = false;
      continue;
    }
    for (bool tcp : {false, true}) {
      bool measured = InChild([&] { return Measure(s, tcp, records); }, peak);
      std::printf("  peak %.1f MiB%s\n", peak / 1024.0, measured ? "" : "  (FAILED)");
      ok = ok && measured;
    }
    if (!folder.empty()) {
      [[maybe_unused]] int rc = std::system(("rm -rf '" + folder + "'").c_str());
    } else {
      auto db = nv::tallyd::OpenPostgres(pg, "public", 936);
      db->Execute("DROP SCHEMA IF EXISTS bench CASCADE");
    }
  }
  return ok ? 0 : 1;
}
