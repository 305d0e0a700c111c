// tallyd: the application server program.
//   tallyd serve [--config BatonS.ini] [--address A] [--port P]
//   tallyd call [--config BatonS.ini] [--address A] [--port P] [--connect 'JSON'] METHOD
//   'JSON-ARGS' tallyd demo DIR [--records N] [--postgres CONNINFO]
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <mutex>
#include <string>
#include <vector>

#include "platform/core/DateUtils.h"
#include "platform/data/SConnect.h"
#include "suite/appserver/Class1.h"
#include "suite/appserver/Json.h"
#include "suite/appserver/Server.h"
#include "suite/demo/Schema.h"

namespace {

nv::tallyd::TTallydServer* gServer = nullptr;

void OnSignal(int) {
  if (gServer != nullptr) gServer->Stop();
}

struct TOptions {
  std::string config;
  std::string address;
  int port = -1;
  std::string connect;
  int records = 0;
  std::string postgres;
  std::vector<std::string> rest;
};

int Usage() {
  std::fprintf(stderr,
               "usage: tallyd serve [--config BatonS.ini] [--address A] [--port P]\n"
               "       tallyd call [--config BatonS.ini] [--address A] [--port P] [--connect "
               "'JSON'] METHOD 'JSON-ARGS'\n"
               "       tallyd demo DIR [--records N] [--postgres CONNINFO]\n");
  return 2;
}

bool ParseOptions(int argc, char** argv, TOptions& o) {
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    auto next = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::string value;
    if (a == "--config") {
      if (!next(o.config)) return false;
    } else if (a == "--address") {
      if (!next(o.address)) return false;
    } else if (a == "--port") {
      if (!next(value)) return false;
      o.port = nv::StrToIntDef(value, -1);
      if (o.port < 0 || o.port > 65535) return false;
    } else if (a == "--connect") {
      if (!next(o.connect)) return false;
    } else if (a == "--records") {
      if (!next(value)) return false;
      o.records = nv::StrToIntDef(value, -1);
      if (o.records < 0) return false;
    } else if (a == "--postgres") {
      if (!next(o.postgres)) return false;
    } else {
      o.rest.push_back(a);
    }
  }
  return true;
}

nv::tallyd::TServerConfig ConfigOf(const TOptions& o) {
  nv::tallyd::TServerConfig c =
      o.config.empty() ? nv::tallyd::DefaultServerConfig() : nv::tallyd::LoadServerConfig(o.config);
  if (!o.address.empty()) c.address = o.address;
  if (o.port >= 0) c.port = o.port;
  return c;
}

int Serve(const TOptions& o) {
  nv::tallyd::TServerConfig config = ConfigOf(o);
  std::mutex logMutex;
  std::ofstream logFile;
  if (!config.logFile.empty()) logFile.open(config.logFile, std::ios::app);
  auto log = [&](const std::string& line) {
    std::lock_guard<std::mutex> lock(logMutex);
    std::string stamped =
        "[" + nv::FormatDateTime("yyyy\"/\"mm\"/\"dd hh\":\"nn\":\"ss\":\"zzz", nv::Now()) + "] " +
        line;
    (logFile.is_open() ? static_cast<std::ostream&>(logFile) : std::cerr) << stamped << std::endl;
  };
  nv::tallyd::TTallydServer server(config, log);
  server.Listen(config.address, config.port);
  gServer = &server;
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  std::printf("tallyd listening on %s:%d\n", config.address.c_str(), server.Port());
  std::fflush(stdout);
  server.Run();
  gServer = nullptr;
  return 0;
}

int Call(const TOptions& o) {
  if (o.rest.size() != 2) return Usage();
  nv::tallyd::TServerConfig config = ConfigOf(o);
  nv::Variant server =
      nv::ConnectRemoteServer(config.address, config.port, nv::tallyd::kServerProgID);
  if (!o.connect.empty()) {
    server.Call("Connect", {nv::tallyd::ParseJson(o.connect, config.dbCodePage)});
  }
  nv::Variant args = nv::tallyd::ParseJson(o.rest[1], config.dbCodePage);
  if (!args.IsArray()) throw nv::EConvertError("JSON-ARGS must be an array");
  std::vector<nv::Variant> list;
  for (int i = args.LowBound(); i <= args.HighBound(); ++i) list.push_back(args[i]);
  nv::Variant result = server.CallRef(o.rest[0], list);
  std::string out = "{\"result\":" + nv::tallyd::ToJson(result, config.dbCodePage) + ",\"args\":" +
                    nv::tallyd::ToJson(nv::Variant::ArrayOf(list), config.dbCodePage) + "}";
  std::printf("%s\n", out.c_str());
  return 0;
}

std::string ProgramFolder(const char* argv0) {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  std::string path = n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string(argv0);
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

int Demo(const TOptions& o, const char* argv0) {
  if (o.rest.size() != 1) return Usage();
  nv::demo::TDemoOptions d;
  d.folder = o.rest[0];
  d.records = o.records;
  d.programFolder = ProgramFolder(argv0);
#ifdef QC_BUILD_FOLDER
  d.buildFolder = QC_BUILD_FOLDER;
#endif
  d.pgConnInfo = o.postgres;
  for (const std::string& line : nv::demo::CreateDemoInstallation(d))
    std::printf("%s\n", line.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string command = argv[1];
  TOptions o;
  if (!ParseOptions(argc, argv, o)) return Usage();
  try {
    if (command == "serve") return Serve(o);
    if (command == "call") return Call(o);
    if (command == "demo") return Demo(o, argv[0]);
  } catch (const nv::EServerError& e) {
    std::fprintf(stderr, "tallyd: %s: %s\n", e.ServerClassName().c_str(), e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tallyd: %s\n", e.what());
    return 1;
  }
  return Usage();
}
