#include "runtime/BatonINI.h"

#include <gtest/gtest.h>

#include "RuntimeFixture.h"
#include "platform/os/FileUtils.h"
#include "runtime/ORNIXGeneratorU.h"
#include "voucher/options/UserDefINI.h"

namespace nv {
namespace {

using ClientConfig = testing::SuiteMachine;
using ServerConfig = testing::SuiteMachine;
using FormatDefaults = testing::SuiteMachine;

TEST_F(ClientConfig, NoRegistryKeyLeavesDefaults) {
  const TBatonIniC ini;
  EXPECT_EQ(ini.ErrorMsgId(), "E;000015");
  EXPECT_EQ(ini.ClientPath(), "");
  EXPECT_EQ(ini.LangType(), "ENG");
  EXPECT_EQ(ini.UICodePage(), "936");
  EXPECT_TRUE(ini.ServerList().IsEmpty());
  EXPECT_EQ(TBatonIniS().ErrorMsgId(), "E;000015");
}

TEST_F(ClientConfig, ReadsTheClientFile) {
  Install();
  testing::WriteFile(ClientPath() + "BatonC.ini",
                     "[Client Components]\nLangType=CHT\n[ProductVersion]\nVersion=7.1\n"
                     "[Server Information]\nComputerName= a;b; \nServerPort=311\n"
                     "SupportCallBack=yes\n[WorkDLLPath]\nP1=\\Work\nP2=D:\\X\nP3=Sub/\n"
                     "[TaskMessageCenter Setting]\nPopupMsg=0\n");
  const TBatonIniC ini;
  EXPECT_EQ(ini.ErrorMsgId(), "");
  EXPECT_EQ(ini.ClientPath(), ClientPath());
  EXPECT_EQ(ini.IniFileName(), ClientPath() + "BatonC.ini");
  EXPECT_EQ(ini.ProfilePath(), ClientPath());
  EXPECT_EQ(ini.ProfileUser(), "Default");
  EXPECT_EQ(ini.LangType(), "CHT");
  EXPECT_EQ(ini.Version(), "7.1");
  EXPECT_TRUE(ini.SupportCallBack());
  EXPECT_EQ(ini.PopupMsg(), "0");
  EXPECT_EQ(ini.CheckInterval(), "1");
  const Variant& servers = ini.ServerList();
  ASSERT_EQ(servers.DimCount(), 2);
  ASSERT_EQ(servers.HighBound(2), 1);
  EXPECT_EQ(servers.At(0, 0), Variant("a"));
  EXPECT_EQ(servers.At(1, 0), Variant(311));
  EXPECT_EQ(servers.At(0, 1), Variant("b"));
  EXPECT_EQ(servers.At(1, 1), Variant(311));
  EXPECT_EQ(ini.WorkDLLPaths(),
            (std::vector<std::string>{ClientPath() + "Work\\", "D:\\X\\", ClientPath() + "Sub/"}));
}

TEST_F(ClientConfig, DefaultsWithoutAFile) {
  Install();
  const TBatonIniC ini;
  EXPECT_EQ(ini.ErrorMsgId(), "");
  EXPECT_EQ(ini.ServerList().At(0, 0), Variant("127.0.0.1"));
  EXPECT_EQ(ini.ServerList().At(1, 0), Variant(211));
  EXPECT_EQ(ini.WorkDLLPaths(), std::vector<std::string>{ClientPath() + "C_PKG\\"});
  EXPECT_FALSE(ini.SupportCallBack());
}

TEST_F(ClientConfig, EmptyServerNameIsRecorded) {
  Install();
  testing::WriteFile(ClientPath() + "BatonC.ini",
                     "[Server Information]\nComputerName=;\n[Client Components]\nLangType=CHS\n");
  const TBatonIniC ini;
  EXPECT_EQ(ini.ErrorMsgId(), "E;000016");
  EXPECT_EQ(ini.LangType(), "CHS");
  EXPECT_TRUE(ini.ServerList().IsEmpty());
}

TEST_F(ClientConfig, PerUserProfileFallsBackToTheInstallationFile) {
  Install("1");
  const std::string user = GetUserName().substr(0, 31);
  testing::WriteFile(ClientPath() + "BatonC.ini", "[Client Components]\nLangType=CHS\n");
  {
    const TBatonIniC ini;
    EXPECT_EQ(ini.ProfileUser(), user);
    EXPECT_EQ(ini.IniFileName(), ClientPath() + "BatonC.ini");
    EXPECT_EQ(ini.LangType(), "CHS");
  }
  testing::WriteFile(ClientPath() + "Profile/" + user + "/BatonC.ini",
                     "[Client Components]\nLangType=CHT\n");
  const TBatonIniC ini;
  EXPECT_EQ(ini.ProfilePath(), ClientPath() + "Profile\\" + user + "\\");
  EXPECT_EQ(ini.LangType(), "CHT");
}

TEST_F(ClientConfig, ConversionKindsFromTheCodePages) {
  Install();
  struct Case {
    int system;
    const char* ui;
    const char* db;
    const char* sysText;
    int uiKind, dataKind;
  } cases[] = {
      {936, "", "", "936", 0, 0},       {950, "936", "950", "950", 4, 1},
      {936, "950", "936", "936", 2, 2}, {1252, "", "", "437", 0, 0},
      {950, "950", "950", "950", 2, 0}, {936, "936", "950", "936", 0, 1},
  };
  for (const auto& c : cases) {
    SetSystemCodePage(c.system);
    std::string text = "[CodePage]\n";
    if (*c.ui) text += std::string("UICodePage=") + c.ui + "\n";
    if (*c.db) text += std::string("DBCodePage=") + c.db + "\n";
    testing::WriteFile(ClientPath() + "BatonC.ini", text);
    const TBatonIniC ini;
    EXPECT_EQ(ini.SysCodePage(), c.sysText) << c.system;
    EXPECT_EQ(ini.UIConvertKind(), c.uiKind) << c.system << c.ui << c.db;
    EXPECT_EQ(ini.DataConvertKind(), c.dataKind) << c.system << c.ui << c.db;
  }
  SetSystemCodePage(1252);
  testing::WriteFile(ClientPath() + "BatonC.ini", "");
  EXPECT_EQ(TBatonIniC().UICodePage(), "437");
}

TEST_F(ServerConfig, ReadsTheDatabaseSettings) {
  Install();
  testing::WriteFile(
      ServerPath() + "BatonS.ini",
      "[DBE Setting]\nMainDBType=oracle\nMainServerName=db1\nXXXXXX=" + EncodeDBPassword("secret") +
          "\nMainCommandTimeOut=x\n"
          "TempPassword=\nEctPassword=b958\nSystemControlAddress= ctl \n"
          "[DBPasswordCtrl]\nComputerName= pw \nServerPort=999\nSupportCallBack=TRUE\n"
          "[WorkDLLPath]\nA=\\S\n");
  const TBatonIniS ini;
  const Variant& config = ini.DBConfig();
  EXPECT_EQ(config.At(0, 0), Variant("Vanta"));
  EXPECT_EQ(config.At(0, 2), Variant("secret"));
  EXPECT_EQ(config.At(0, 3), Variant("oracle"));
  EXPECT_EQ(config.At(0, 7), Variant(3000));
  EXPECT_EQ(config.At(1, 2), Variant(""));
  EXPECT_EQ(config.At(1, 5), Variant("PostgreSQL"));
  EXPECT_EQ(config.At(2, 0), Variant("pw"));
  EXPECT_EQ(config.At(2, 1), Variant(999));
  EXPECT_EQ(config.At(2, 2), Variant(1024));
  EXPECT_EQ(config.At(2, 3), Variant("Chinese_Taiwan_Stroke_BIN"));
  EXPECT_EQ(config.At(3, 2), Variant("b958")) << "used as stored";
  EXPECT_TRUE(config.At(2, 4).IsEmpty());
  EXPECT_TRUE(config.At(3, 7).IsEmpty());
  EXPECT_EQ(ini.DBKind(), 1);
  EXPECT_EQ(ini.SystemControlAddress(), "ctl");
  EXPECT_EQ(ini.OtherSystemControlAddress(), "db1");
  EXPECT_TRUE(ini.SupportCallBack());
  std::vector<std::string> folders{"stale"};
  ini.GetDLLPath(folders);
  EXPECT_EQ(folders, std::vector<std::string>{ServerPath() + "S\\"});
}

TEST_F(ServerConfig, DefaultsAndDB2) {
  Install();
  testing::WriteFile(ServerPath() + "BatonS.ini", "[DBE Setting]\nMainDBType=Db2\n");
  const TBatonIniS ini;
  EXPECT_EQ(ini.DBKind(), 2);
  EXPECT_EQ(ini.WorkDLLPaths(), std::vector<std::string>{ServerPath() + "S_PKG\\"});
  EXPECT_EQ(ini.DBConfig().At(0, 1), Variant("sa"));
  EXPECT_EQ(ini.DBConfig().At(1, 3), Variant("PARADOX"));
}

TEST_F(FormatDefaults, LooksUpTheFormatPerProgramAndDocumentType) {
  Install();
  EXPECT_EQ(TUserDefIni().FormatFor("QCPR31", "A01"), "<New>") << "no file";
  testing::WriteFile(ClientPath() + "UserDef.ini",
                     "[VoucherFormatDef]\nqcpr31_A01=Line clearance\nQCPR31_A$EQUAL$B=Eq\n"
                     "QCPR31_C=a=b\n[Other]\nQCPR31_D=x\n");
  const TUserDefIni defaults;
  EXPECT_EQ(defaults.FileName(), ClientPath() + "UserDef.ini");
  const std::pair<const char*, const char*> cases[] = {
      {"A01", "Line clearance"}, {"A=B", "Eq"}, {"C", "a=b"}, {"D", "<New>"}, {"", "<New>"},
  };
  for (const auto& [type, format] : cases)
    EXPECT_EQ(defaults.FormatFor("QCPR31", type), format) << type;
}

}  // namespace
}  // namespace nv
