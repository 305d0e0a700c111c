// tallyd over TCP: many clients at once, concurrent print counts, clients that send garbage,
// stall or vanish, and `tallyd call` against `tallyd serve`.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "Backends.h"
#include "platform/data/SConnect.h"
#include "suite/appserver/Server.h"

namespace nv::testing {
namespace {

class TRunningServer {
 public:
  explicit TRunningServer(tallyd::TServerConfig config) {
    server_ = std::make_unique<tallyd::TTallydServer>(config, [this](const std::string& line) {
      std::lock_guard<std::mutex> lock(mutex_);
      log_ += line + "\n";
    });
    server_->Listen("127.0.0.1", 0);
    thread_ = std::thread([this] { server_->Run(); });
  }
  ~TRunningServer() {
    server_->Stop();
    thread_.join();
  }
  int Port() const { return server_->Port(); }
  std::string Log() {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
  }

 private:
  std::unique_ptr<tallyd::TTallydServer> server_;
  std::thread thread_;
  std::mutex mutex_;
  std::string log_;
};

class Tallyd : public ::testing::TestWithParam<TBackend> {
 protected:
  void SetUp() override {
    QC_REQUIRE_BACKEND(GetParam());
    company_ = std::make_unique<TTestCompany>(GetParam());
    tallyd::TServerConfig config = company_->Config();
    config.readTimeoutSeconds = 1;
    server_ = std::make_unique<TRunningServer>(config);
  }
  Variant Client(const char* user = "DS") {
    Variant s = ConnectRemoteServer("127.0.0.1", server_->Port(), "Tallyd.Class1");
    s.Call("Connect", {Variant::ArrayOf({Variant("QCPR31"), Variant(user), Variant("A01"),
                                         Variant(company_->Name()), Variant("GMPTD")})});
    return s;
  }
  int RawSocket() { return ConnectTcp("127.0.0.1", server_->Port(), 1000); }
  std::unique_ptr<TTestCompany> company_;
  std::unique_ptr<TRunningServer> server_;
};

TEST_P(Tallyd, ConcurrentPrintCountsLoseNoIncrement) {
  constexpr int kClients = 8;
  constexpr int kEach = 25;
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int c = 0; c < kClients; ++c) {
    threads.emplace_back([&] {
      try {
        Variant s = Client();
        for (int i = 0; i < kEach; ++i) {
          s.Call("UpdatePrintCount",
                 {Variant::ArrayOf({Variant("$$GMPTD"), Variant("TD021"),
                                    Variant("TD001='QC01' and TD002='20240312001'")})});
        }
      } catch (const std::exception& e) {
        ++failures;
        ADD_FAILURE() << e.what();
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(failures.load(), 0);
  auto db = company_->Open();
  tallyd::TRows r = db->Query("SELECT TD021 FROM GMPTD WHERE TD001='QC01' AND TD002='20240312001'");
  EXPECT_EQ(r.rows.at(0).at(0).AsInteger(), kClients * kEach);
}

TEST_P(Tallyd, GarbageStallsAndVanishingClientsDisturbNoOne) {
  Variant good = Client();
  EXPECT_EQ(good.Call("SQLType").AsInteger(), 0);

  int garbage = RawSocket();
  SendAll(garbage, "GET / HTTP/1.1\r\nHost: x\r\n\r\n", 1000);
  char b;
  EXPECT_LE(::recv(garbage, &b, 1, 0), 0)
      << "the server closes a connection that breaks the protocol";
  CloseSocket(garbage);

  int huge = RawSocket();
  SendAll(huge, wire::EncodeFrame(wire::FrameKind::Call, 1, std::string(16, 'x')).substr(0, 12),
          1000);
  wire::Writer w;
  w.U32(0xFFFFFFF0u);
  SendAll(huge, w.Bytes(), 1000);
  EXPECT_LE(::recv(huge, &b, 1, 0), 0);
  CloseSocket(huge);

  // Half a call, then the client goes away mid-frame.
  int vanish = RawSocket();
  std::string frame = wire::EncodeFrame(wire::FrameKind::Call, 1, std::string(100, '\0'));
  SendAll(vanish, frame.substr(0, 30), 1000);
  CloseSocket(vanish);

  // Half a call, then nothing: the read time-out closes it.
  int stall = RawSocket();
  SendAll(stall, frame.substr(0, 20), 1000);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(::recv(stall, &b, 1, 0), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  CloseSocket(stall);

  EXPECT_EQ(good.Call("RunFreeSQL", {Variant("SELECT * FROM $$CMSMQ")}).AsInteger(), 6);
  std::string log = server_->Log();
  EXPECT_NE(log.find("malformed frame, connection closed: bad frame magic"), std::string::npos)
      << log;
  EXPECT_NE(
      log.find("malformed frame, connection closed: frame of 4294967280 bytes exceeds the limit"),
      std::string::npos)
      << log;
  EXPECT_NE(log.find("connection closed: connection closed inside a frame"), std::string::npos)
      << log;
  EXPECT_NE(log.find("connection closed: read time-out"), std::string::npos) << log;
}

TEST_P(Tallyd, ServerErrorsTravelWithTheirMessage) {
  Variant s = Client();
  try {
    s.Call("GetBlobField", {Variant(5)});
    FAIL();
  } catch (const EServerError& e) {
    EXPECT_EQ(e.ServerClassName(), "EOleError");
    EXPECT_STREQ(e.what(),
                 "Tallyd.Class1.GetBlobField: argument 1: expected an array, got Integer 5");
  }
  // The connection stays usable after an error, and by-reference arguments come back.
  std::vector<Variant> args{Variant::ArrayOf({Variant("TfrmQCPR31Fmt"), Variant("Nope")}),
                            Variant("untouched")};
  EXPECT_EQ(s.CallRef("GetBlobField", args).AsInteger(), 0);
  EXPECT_EQ(args[1].AsString(), "untouched");
  try {
    ConnectRemoteServer("127.0.0.1", server_->Port(), "Other.Class1");
    FAIL();
  } catch (const EServerError& e) {
    EXPECT_STREQ(e.what(), "Unknown application server 'Other.Class1'");
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, Tallyd,
                         ::testing::Values(TBackend::SQLite, TBackend::PostgreSQL), BackendName);

std::string RunCapture(const std::string& command) {
  std::string out;
  FILE* p = ::popen(command.c_str(), "r");
  char buf[4096];
  while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  int rc = ::pclose(p);
  return out + "rc=" + std::to_string(WEXITSTATUS(rc));
}

TEST(TallydProgram, CallTalksToServeAndServeStopsOnSignal) {
  std::string bin = std::string(QC_BINARY_DIR) + "/suite/appserver/tallyd";
  char tmpl[] = "/tmp/qc-demo-XXXXXX";
  std::string dir = ::mkdtemp(tmpl);
  ASSERT_NE(RunCapture(bin + " demo " + dir + " --records 20").find("rc=0"), std::string::npos);
  int port = 0;
  {
    int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(probe, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    ::close(probe);
  }
  std::string config = dir + "/server/BatonS.ini";
  pid_t pid = ::fork();
  if (pid == 0) {
    ::execl(bin.c_str(), "tallyd", "serve", "--config", config.c_str(), "--port",
            std::to_string(port).c_str(), nullptr);
    ::_exit(127);
  }
  std::string call = bin + " call --config " + config + " --port " + std::to_string(port) +
                     " --connect '[\"QCPR31\",\"DS\",\"A01\",\"DEMO\",\"GMPTD\"]' ";
  std::string out;
  for (int attempt = 0; attempt < 50; ++attempt) {
    out = RunCapture(call + "GetBlobField '[[\"TfrmQCPR31Fmt\",\"none\"],\"keep\"]' 2>&1");
    if (out.find("rc=0") != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(out, "{\"result\":0,\"args\":[[\"TfrmQCPR31Fmt\",\"none\"],\"keep\"]}\nrc=0");
  out =
      RunCapture(call + "RunFreeSQL '[\"SELECT * FROM $$GMPTD WHERE TD001=\\u0027QC09\\u0027\"]'");
  EXPECT_EQ(out, "{\"result\":20,\"args\":[\"SELECT * FROM $$GMPTD WHERE TD001='QC09'\"]}\nrc=0");
  out = RunCapture(call +
                   "GetQMData '[\"<Form wfFormType=\\u0027QC02\\u0027 "
                   "wfSheetNo=\\u002720240301002\\u0027/>\"]'");
  EXPECT_NE(out.find("\"陈军\""), std::string::npos) << out;
  out = RunCapture(call + "Bogus '[]' 2>&1");
  EXPECT_EQ(out, "tallyd: EOleError: Tallyd.Class1.Bogus: no such method\nrc=1");

  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  [[maybe_unused]] int rc = std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
}  // namespace nv::testing
