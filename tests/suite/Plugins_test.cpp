// The server object and the manager as the report creates them: by ProgID, from the plug-in
// libraries the registry file names, configured through the server installation's BatonS.ini.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "Backends.h"
#include "platform/com/ComObj.h"
#include "suite/appserver/Class1.h"

namespace nv::testing {
namespace {

TEST(Plugins, ServerAndManagerComeFromTheirLibrariesByProgID) {
  TTestCompany company(TBackend::SQLite);
  std::string folder = company.Config().dataLocation;
  std::string ini = folder + "BatonS.ini";
  std::ofstream(ini) << "[DBE Setting]\r\nMainDBType=SQLITE\r\nMainServerName=" << folder
                     << "\r\nMainDBName=" << company.Name()
                     << "\r\n[Trace]\r\nEnabled=1\r\nFile=" << folder << "trace.log\r\n";
  ::setenv("TALLYD_CONFIG", ini.c_str(), 1);
  std::string bin = QC_BINARY_DIR;
  RegisterComServer("Tallyd.Class1", bin + "/suite/appserver/Tallyd.so");
  RegisterComServer("VantaWorkCenter.Manager", bin + "/suite/manager/VantaWorkCenter.so");

  Variant server = CreateOleObject("Tallyd.Class1");
  server.Call("Connect", {Variant::ArrayOf({Variant("QCPR31"), Variant("QA01"), Variant("A01"),
                                            Variant(company.Name()), Variant("GMPTD")})});
  EXPECT_EQ(
      server.Call("RunFreeSQL", {Variant("SELECT * FROM $$GMPTD WHERE TD004='2'")}).AsInteger(), 7);
  server.Call("UpdatePrintCount",
              {Variant::ArrayOf({Variant("$$GMPTD"), Variant("TD021"),
                                 Variant("TD001='QC01' AND TD002='20240301001'")})});

  Variant manager = CreateOleObject("VantaWorkCenter.Manager");
  EXPECT_EQ(manager.Get("Language").AsString(), "CHS");
  EXPECT_FALSE(VarToStr(manager.Call("GetMessage", {Variant("E"), Variant("000006")})).empty());
  ::unsetenv("TALLYD_CONFIG");

  // The statement trace: one line per statement, after "$$" resolution, with user and time.
  std::ifstream trace(folder + "trace.log");
  std::string line;
  std::vector<std::string> lines;
  while (std::getline(trace, line)) lines.push_back(line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].find("] user=QA01 ms="), 24u) << lines[0];
  EXPECT_NE(lines[0].find(" SELECT * FROM GMPTD WHERE TD004='2'"), std::string::npos) << lines[0];
  EXPECT_NE(
      lines[1].find(
          " UPDATE GMPTD SET TD021=COALESCE(TD021,0)+1 WHERE TD001='QC01' AND TD002='20240301001'"),
      std::string::npos)
      << lines[1];
}

}  // namespace
}  // namespace nv::testing
