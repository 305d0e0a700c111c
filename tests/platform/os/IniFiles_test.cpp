#include "platform/os/IniFiles.h"

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/core/CodePage.h"

namespace nv {
namespace {

// One file that shows every reading rule; CRLF endings and a byte-order mark as Windows
// editors leave them, and a tail with LF endings.
const std::string kBatonIni =
    "\xEF\xBB\xBF; client settings\r\n"
    "Orphan=before any section\r\n"
    "[Server Information]\r\n"
    "  ComputerName = host-a;host-b;  \r\n"
    "ServerPort=211\r\n"
    "computername=not the first\r\n"
    "HexPort=$1F\r\n"
    "CHex=0x1f\r\n"
    "Bad=12abc\r\n"
    "Big=4294967296\r\n"
    "Neg=-7\r\n"
    "Empty=\r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Mismatch=\"x'\r\n"
    "Inner=a \"b\" c\r\n"
    "Semi=value ; not a comment\r\n"
    "  ; indented comment=1\r\n"
    "a line without an equals sign\r\n"
    "=no key\r\n"
    "[broken header\r\n"
    "Flag=1\n"
    "Off=0\n"
    "Word=yes\n"
    "Pi=3.25\n"
    "Exp=-1.5e2\n"
    "Inf=inf\n"
    "[server information]\n"
    "ServerPort=999\n"
    "Late=only in the repeated section\n"
    "[Empty Section]\n"
    "[ CodePage ]\n"
    "UICodePage=950\n"
    "GbKey\xB0\x41=upper trail byte\n"
    "GbKey\xB0\x61=lower trail byte\n"
    "[\x81\x5D]\n"
    "Trail=a section name whose trail byte is a bracket\n";

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSystemCodePage(kCodePageGB); }
  void TearDown() override { SetSystemCodePage(0); }
  test::TTempFolder folder_;
  TIniFile ini_{folder_.Write("BatonC.ini", kBatonIni)};
};

struct TStringCase {
  const char* name;
  const char* section;
  const char* key;
  const char* expected;
};

TEST_F(IniFileTest, ReadStringFollowsThePlatformRules) {
  const TStringCase cases[] = {
      {"section and key case ignored, value trimmed", "SERVER INFORMATION", "computername",
       "host-a;host-b;"},
      {"first occurrence of a key wins", "Server Information", "ComputerName", "host-a;host-b;"},
      {"first occurrence of a section wins", "Server Information", "ServerPort", "211"},
      {"a repeated section is never looked at", "Server Information", "Late", "<default>"},
      {"missing key", "Server Information", "Nothing", "<default>"},
      {"missing section", "Nowhere", "ServerPort", "<default>"},
      {"key before any section is unreachable", "", "Orphan", "<default>"},
      {"empty value is no default", "Server Information", "Empty", ""},
      {"one pair of double quotes stripped", "Server Information", "Quoted", "  spaced  "},
      {"one pair of single quotes stripped", "Server Information", "Single", "x"},
      {"mismatched quotes kept", "Server Information", "Mismatch", "\"x'"},
      {"inner quotes kept", "Server Information", "Inner", "a \"b\" c"},
      {"semicolon inside a value is text", "Server Information", "Semi", "value ; not a comment"},
      {"comment lines are no keys", "Server Information", "; indented comment", "<default>"},
      {"line after a broken header stays in the section", "Server Information", "Flag", "1"},
      {"blanks around the section name ignored", "CodePage", "UICodePage", "950"},
      {"lookup names are trimmed", " CodePage ", " UICodePage ", "950"},
      {"trail byte of a double-byte character is no letter", "CodePage", "gbkey\xB0\x61",
       "lower trail byte"},
      {"ASCII letters fold beside double-byte text", "CodePage", "GBKEY\xB0\x41",
       "upper trail byte"},
      {"trail byte \"]\" does not end the section name", "\x81\x5D", "Trail",
       "a section name whose trail byte is a bracket"},
  };
  for (const TStringCase& c : cases)
    EXPECT_EQ(ini_.ReadString(c.section, c.key, "<default>"), c.expected) << c.name;
}

TEST_F(IniFileTest, ReadIntegerBoolAndFloatFallBackToTheDefault) {
  struct TCase {
    const char* key;
    int expected;
  };
  const TCase integers[] = {{"ServerPort", 211}, {"HexPort", 31}, {"CHex", 31},  {"Neg", -7},
                            {"Bad", -1},         {"Big", -1},     {"Empty", -1}, {"Word", -1},
                            {"Missing", -1},     {"Quoted", -1},  {"Flag", 1}};
  for (const TCase& c : integers)
    EXPECT_EQ(ini_.ReadInteger("Server Information", c.key, -1), c.expected) << c.key;

  EXPECT_TRUE(ini_.ReadBool("Server Information", "Flag", false));
  EXPECT_FALSE(ini_.ReadBool("Server Information", "Off", true));
  EXPECT_TRUE(ini_.ReadBool("Server Information", "Word", true)) << "no integer: default";
  EXPECT_FALSE(ini_.ReadBool("Server Information", "Missing", false));

  EXPECT_DOUBLE_EQ(ini_.ReadFloat("Server Information", "Pi", 0), 3.25);
  EXPECT_DOUBLE_EQ(ini_.ReadFloat("Server Information", "Exp", 0), -150.0);
  EXPECT_DOUBLE_EQ(ini_.ReadFloat("Server Information", "Bad", 9), 9.0);
  EXPECT_DOUBLE_EQ(ini_.ReadFloat("Server Information", "Inf", 9), 9.0);
}

TEST_F(IniFileTest, ListsSectionsKeysAndLines) {
  EXPECT_EQ(ini_.ReadSections(), (std::vector<std::string>{"Server Information", "Empty Section",
                                                           "CodePage", "\x81\x5D"}));
  EXPECT_EQ(ini_.ReadSection("codepage"),
            (std::vector<std::string>{"UICodePage", "GbKey\xB0\x41", "GbKey\xB0\x61"}));
  std::vector<std::string> keys = ini_.ReadSection("Server Information");
  ASSERT_EQ(keys.size(), 19u);
  EXPECT_EQ(keys[0], "ComputerName") << "repeated key listed once, as first written";
  EXPECT_EQ(keys[1], "ServerPort");
  EXPECT_EQ(keys[2], "HexPort");

  std::vector<std::string> values = ini_.ReadSectionValues("Server Information");
  ASSERT_EQ(values.size(), keys.size());
  EXPECT_EQ(values[0], "ComputerName=host-a;host-b;");
  EXPECT_EQ(values[8], "Quoted=  spaced  ");

  std::vector<std::string> lines = ini_.ReadSectionLines("Server Information");
  ASSERT_EQ(lines.size(), keys.size() + 1) << "the repeated key line is kept";
  EXPECT_EQ(lines[0], "ComputerName = host-a;host-b;");
  EXPECT_EQ(lines[2], "computername=not the first");

  EXPECT_TRUE(ini_.SectionExists("server INFORMATION"));
  EXPECT_FALSE(ini_.SectionExists("Empty Section")) << "a section without keys";
  EXPECT_FALSE(ini_.SectionExists("Nowhere"));
  EXPECT_TRUE(ini_.ValueExists("Server Information", "empty"));
  EXPECT_FALSE(ini_.ValueExists("Server Information", "Late"));
  EXPECT_FALSE(ini_.ValueExists("Server Information", "a line without an equals sign"));
}

TEST(IniFile, MissingOrUnreadableFileReadsAsEmpty) {
  test::TTempFolder folder;
  for (const std::string& name : {folder.Path() + "none.ini", folder.Path(), std::string()}) {
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadString("A", "B", "dflt"), "dflt") << name;
    EXPECT_EQ(ini.ReadInteger("A", "B", 7), 7) << name;
    EXPECT_TRUE(ini.ReadSections().empty()) << name;
    EXPECT_TRUE(ini.ReadSection("A").empty()) << name;
  }
}

TEST(IniFile, LineEndingsReadAlike) {
  const struct {
    const char* name;
    const char* text;
  } cases[] = {
      {"LF", "[S]\nA=1\nB=2\n"},
      {"CRLF", "[S]\r\nA=1\r\nB=2\r\n"},
      {"CR", "[S]\rA=1\rB=2"},
      {"BOM and no final newline", "\xEF\xBB\xBF[S]\nA=1\nB=2"},
  };
  for (const auto& c : cases) {
    TIniDocument document = TIniDocument::Parse(c.text);
    ASSERT_NE(document.FindEntry("S", "B"), nullptr) << c.name;
    EXPECT_EQ(document.FindEntry("S", "A")->value, "1") << c.name;
    EXPECT_EQ(document.FindEntry("S", "B")->value, "2") << c.name;
  }
}

TEST(IniFile, ReadsAfreshAndAcceptsBackslashPaths) {
  test::TTempFolder folder;
  folder.Write("UserDef.ini", "[VoucherFormatDef]\nQCPR31_A=First\n");
  TIniFile ini(folder.Path() + "\\UserDef.ini");
  EXPECT_EQ(ini.ReadString("VoucherFormatDef", "qcpr31_a", ""), "First");
  folder.Write("UserDef.ini", "[VoucherFormatDef]\nQCPR31_A=Second\n");
  EXPECT_EQ(ini.ReadString("VoucherFormatDef", "QCPR31_A", ""), "Second");
}

}  // namespace
}  // namespace nv
