#include "platform/os/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "TempFolder.h"
#include "platform/core/CodePage.h"

namespace nv {
namespace {

const std::string kRegistry =
    "REGEDIT4\r\n"
    "\r\n"
    "; the suite's installation\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\NVT\\Baton]\r\n"
    "\"ClientPath\"=\"/opt/baton/client/\"\r\n"
    "\"ProfileType\"=\"0\"\r\n"
    "\"Quote\"=\"say \\\"hi\\\" to C:\\\\Temp\"\r\n"
    "\"Count\"=dword:0000000a\r\n"
    "\"Minus\"=dword:FFFFFFFF\r\n"
    "@=\"default\"\r\n"
    "\"Empty\"=\"\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage]\n"
    "\"ACP\"=\"950\"\n"
    "[HKEY_CURRENT_USER\\Software\\NVT\\Baton]\n"
    "\"ClientPath\"=\"/home/user/baton/\"\n"
    "; a key named again gathers both blocks; a value given again replaces the first\n"
    "[hklm\\software\\nvt\\baton]\n"
    "\"count\" = dword:14\n"
    "\"Later\"=\"added\"\n"
    "; GBK 0x81 0x5C: a character whose second byte is a back-slash\n"
    "[HKEY_LOCAL_MACHINE\\Software\\\x81\x5C]\n"
    "\"Folder\"=\"/opt/\x81\x5C\"\n";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSystemCodePage(kCodePageGB); }
  void TearDown() override { SetSystemCodePage(0); }
  test::TTempFolder folder_;
  std::string file_ = folder_.Write("registry.reg", kRegistry);
  TRegistry reg_{file_};
};

TEST_F(RegistryTest, ReadsStringAndIntegerValues) {
  const struct {
    const char* name;
    HKEY root;
    const char* key;
    const char* value;
    const char* text;  // nullptr: an integer value
    int number;
  } cases[] = {
      {"plain string", HKEY_LOCAL_MACHINE, "Software\\NVT\\Baton", "ClientPath",
       "/opt/baton/client/", 0},
      {"key and value case ignored", HKEY_LOCAL_MACHINE, "SOFTWARE\\nvt\\BATON", "clientpath",
       "/opt/baton/client/", 0},
      {"escapes", HKEY_LOCAL_MACHINE, "Software\\NVT\\Baton", "Quote", "say \"hi\" to C:\\Temp", 0},
      {"default value", HKEY_LOCAL_MACHINE, "Software\\NVT\\Baton", "", "default", 0},
      {"empty string", HKEY_LOCAL_MACHINE, "Software\\NVT\\Baton", "Empty", "", 0},
      {"dword", HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage", "ACP",
       "950", 0},
      {"value given again replaces", HKEY_LOCAL_MACHINE, "Software\\NVT\\Baton", "Count", nullptr,
       20},
      {"dword is a 32-bit pattern", HKEY_LOCAL_MACHINE, "Software\\NVT\\Baton", "Minus", nullptr,
       -1},
      {"key named again gathers values", HKEY_LOCAL_MACHINE, "\\Software\\NVT\\Baton\\", "Later",
       "added", 0},
      {"trail byte 0x5C in key path and string", HKEY_LOCAL_MACHINE, "Software\\\x81\x5C", "Folder",
       "/opt/\x81\x5C", 0},
      {"current-user root", HKEY_CURRENT_USER, "Software\\NVT\\Baton", "ClientPath",
       "/home/user/baton/", 0},
  };
  for (const auto& c : cases) {
    TRegistry reg(file_);
    reg.SetRootKey(c.root);
    ASSERT_TRUE(reg.OpenKeyReadOnly(c.key)) << c.name;
    ASSERT_TRUE(reg.ValueExists(c.value)) << c.name;
    if (c.text != nullptr) {
      EXPECT_EQ(reg.GetDataType(c.value), TRegDataType::rdString) << c.name;
      EXPECT_EQ(reg.ReadString(c.value), c.text) << c.name;
    } else {
      EXPECT_EQ(reg.GetDataType(c.value), TRegDataType::rdInteger) << c.name;
      EXPECT_EQ(reg.ReadInteger(c.value), c.number) << c.name;
    }
  }
}

TEST_F(RegistryTest, MissingKeysAndValues) {
  EXPECT_EQ(reg_.RootKey(), HKEY_CURRENT_USER) << "the platform's default root";
  reg_.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(reg_.OpenKeyReadOnly("Software\\VOXA\\Mendwright"));
  EXPECT_FALSE(reg_.OpenKey("Software\\VOXA\\Mendwright", true)) << "read only: never created";
  EXPECT_FALSE(reg_.KeyExists("Software\\NVT\\Baton\\Nothing"));
  EXPECT_TRUE(reg_.KeyExists("Software\\NVT")) << "a parent of a key line";

  ASSERT_TRUE(reg_.OpenKeyReadOnly("Software\\NVT\\Baton"));
  EXPECT_FALSE(reg_.ValueExists("ServerPath"));
  EXPECT_EQ(reg_.ReadString("ServerPath"), "");
  EXPECT_EQ(reg_.GetDataType("ServerPath"), TRegDataType::rdUnknown);
  const struct {
    const char* name;
    std::function<void()> read;
    const char* message;
  } errors[] = {
      {"missing integer", [&] { reg_.ReadInteger("ServerPath"); },
       "Registry value \"ServerPath\" not found in key "
       "\"HKEY_LOCAL_MACHINE\\Software\\NVT\\Baton\""},
      {"string read as integer", [&] { reg_.ReadInteger("ClientPath"); },
       "Registry value \"ClientPath\" of key \"HKEY_LOCAL_MACHINE\\Software\\NVT\\Baton\": "
       "expected an integer, found a string"},
      {"integer read as string", [&] { reg_.ReadString("Count"); },
       "Registry value \"Count\" of key \"HKEY_LOCAL_MACHINE\\Software\\NVT\\Baton\": "
       "expected a string, found an integer"},
  };
  for (const auto& e : errors) {
    try {
      e.read();
      ADD_FAILURE() << e.name << ": no error";
    } catch (const ERegistryException& error) {
      EXPECT_STREQ(error.what(), e.message) << e.name;
    }
  }
}

TEST_F(RegistryTest, ListsNamesAndOpensRelativeToTheOpenKey) {
  reg_.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg_.GetKeyNames(), (std::vector<std::string>{"Software", "SYSTEM"}));
  ASSERT_TRUE(reg_.OpenKeyReadOnly("software"));
  EXPECT_EQ(reg_.GetKeyNames(), (std::vector<std::string>{"NVT", "\x81\x5C"}));
  ASSERT_TRUE(reg_.OpenKeyReadOnly("NVT\\Baton")) << "relative to Software";
  EXPECT_EQ(reg_.CurrentPath(), "software\\NVT\\Baton");
  EXPECT_EQ(reg_.GetValueNames(),
            (std::vector<std::string>{"ClientPath", "ProfileType", "Quote", "Count", "Minus", "",
                                      "Empty", "Later"}));
  EXPECT_FALSE(reg_.HasSubKeys());
  EXPECT_FALSE(reg_.OpenKeyReadOnly("SYSTEM")) << "relative: Software\\NVT\\Baton\\SYSTEM";
  EXPECT_EQ(reg_.CurrentPath(), "software\\NVT\\Baton") << "a failed open keeps the key";
  ASSERT_TRUE(reg_.OpenKeyReadOnly("\\SYSTEM\\CurrentControlSet"));
  EXPECT_EQ(reg_.GetKeyNames(), (std::vector<std::string>{"Control"}));
  reg_.CloseKey();
  EXPECT_EQ(reg_.CurrentPath(), "");
  reg_.SetRootKey(HKEY_USERS);
  EXPECT_TRUE(reg_.GetKeyNames().empty());
  EXPECT_FALSE(reg_.KeyExists("Software"));
}

TEST(Registry, FileNamedByTheEnvironmentOrTheDefault) {
  test::TTempFolder folder;
  std::string file = folder.Write("machine.reg",
                                  "[HKEY_LOCAL_MACHINE\\Software\\NVT\\Baton]\n"
                                  "\"ServerPath\"=\"/srv/baton/\"\n");
  ::unsetenv("BATON_REGISTRY");
  EXPECT_EQ(RegistryFileName(), "/etc/baton/registry.reg");
  ::setenv("BATON_REGISTRY", file.c_str(), 1);
  EXPECT_EQ(RegistryFileName(), file);
  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\NVT\\Baton"));
  EXPECT_EQ(reg.ReadString("ServerPath"), "/srv/baton/");
  ::unsetenv("BATON_REGISTRY");
}

TEST(Registry, MissingFileIsAnEmptyRegistryUnreadableFileRaises) {
  test::TTempFolder folder;
  TRegistry missing(folder.Path() + "none.reg");
  missing.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(missing.OpenKeyReadOnly("Software\\NVT\\Baton"));
  EXPECT_TRUE(missing.GetKeyNames().empty());

  TRegistry folderAsFile(folder.Path() + ".");
  try {
    folderAsFile.OpenKeyReadOnly("Software");
    ADD_FAILURE() << "no error";
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(),
              "Cannot read registry file \"" + folder.Path() + ".\": it is a folder");
  }
}

TEST(Registry, MalformedFilesNameFileAndLine) {
  const struct {
    const char* name;
    const char* text;
    const char* message;
  } cases[] = {
      {"value before any key", "\"A\"=\"b\"\n",
       "line 1: expected a key line [ROOT\\path] before the first value, found \"\"A\"=\"b\"\""},
      {"unknown root", "; c\n[HKEY_NOWHERE\\X]\n", "line 2: unknown root key \"HKEY_NOWHERE\""},
      {"unclosed key line", "[HKLM\\Software\n",
       "line 1: expected \"]\" at the end of the key line, found \"[HKLM\\Software\""},
      {"empty key name", "[HKLM\\Software\\\\NVT]\n",
       "line 1: empty key name in \"HKLM\\Software\\\\NVT\""},
      {"key deletion", "[-HKLM\\Software]\n",
       "line 1: deleting a key is not supported in a registry file, found \"[-HKLM\\Software]\""},
      {"unknown escape", "[HKLM]\n\"A\"=\"C:\\Temp\"\n",
       "line 2: unknown escape \"\\T\" in a string (only \\\\ and \\\" are allowed)"},
      {"unterminated string", "[HKLM]\n\"A\"=\"abc\n",
       "line 2: expected a closing quote, found the end of the line in \"\"abc\""},
      {"unterminated name", "[HKLM]\n\"A=1\n",
       "line 2: expected a closing quote, found the end of the line in \"\"A=1\""},
      {"bad dword", "[HKLM]\n\"A\"=dword:xyz\n",
       "line 2: expected 1 to 8 hexadecimal digits after dword: for value \"A\", found \"xyz\""},
      {"dword too long", "[HKLM]\n@=dword:123456789\n",
       "line 2: expected 1 to 8 hexadecimal digits after dword: for value @, found "
       "\"123456789\""},
      {"unsupported type", "[HKLM]\n\"A\"=hex:01,02\n",
       "line 2: expected \"text\" or dword:hex as the data of value \"A\", found \"hex:01,02\""},
      {"text after the data", "[HKLM]\n\"A\"=\"b\" c\n",
       "line 2: unexpected text after the data of value \"A\": \"c\""},
      {"no equals sign", "[HKLM]\n\"A\" \"b\"\n",
       "line 2: expected \"=\" after the value name, found \"\"b\"\""},
      {"stray line", "[HKLM]\r\n\r\ngarbage\r\n",
       "line 3: expected a key line [ROOT\\path] or a value line \"name\"=data, found "
       "\"garbage\""},
      {"header only first", "[HKLM]\nREGEDIT4\n",
       "line 2: expected a key line [ROOT\\path] or a value line \"name\"=data, found "
       "\"REGEDIT4\""},
  };
  for (const auto& c : cases) {
    try {
      TRegistryFile::Parse(c.text, "test.reg");
      ADD_FAILURE() << c.name << ": no error";
    } catch (const EReadError& error) {
      EXPECT_EQ(error.Message(), std::string("Registry file \"test.reg\", ") + c.message) << c.name;
    }
  }
}

TEST(Registry, MalformedFileRaisesAtFirstUse) {
  test::TTempFolder folder;
  std::string file = folder.Write("bad.reg", "[HKLM\\Software]\n\"A\"=\n");
  TRegistry reg(file);
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_THROW(reg.OpenKeyReadOnly("Software"), EReadError);
}

}  // namespace
}  // namespace nv
