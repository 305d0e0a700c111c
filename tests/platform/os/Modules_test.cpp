#include "platform/os/Modules.h"

#include <gtest/gtest.h>

#include "platform/core/SysUtils.h"
#include "platform/os/FileUtils.h"

namespace nv {
namespace {

const std::string kPluginDir = NV_TEST_PLUGIN_DIR;

using TAnswer = int (*)();

TEST(Modules, DllNamesStandForSharedObjects) {
  EXPECT_EQ(LibraryFileFor("C:\\Baton\\Nvlanguage.dll"), "C:/Baton/Nvlanguage.so");
  EXPECT_EQ(LibraryFileFor("/opt/NVDownLoad.DLL"), "/opt/NVDownLoad.so");
  EXPECT_EQ(LibraryFileFor("/opt/libz.so.1"), "/opt/libz.so.1");
  EXPECT_EQ(LibraryFileFor("/opt/x.dll.bak"), "/opt/x.dll.bak");
}

TEST(Modules, LoadsByDllNameAndFindsEntryPoints) {
  for (const std::string& name :
       {kPluginDir + "/NvTestPlugin.dll", kPluginDir + "\\NvTestPlugin.DLL",
        std::string("NvTestPlugin.dll") /* beside the host program */}) {
    HMODULE module = LoadLibrary(name);
    ASSERT_NE(module, nullptr) << name << ": " << LastLibraryError();
    auto answer = reinterpret_cast<TAnswer>(GetProcAddress(module, "NvTestPluginAnswer"));
    ASSERT_NE(answer, nullptr) << name;
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(GetProcAddress(module, "Missing"), nullptr);
    EXPECT_TRUE(FreeLibrary(module));
  }
  EXPECT_EQ(GetProcAddress(nullptr, "NvTestPluginAnswer"), nullptr);
  EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(Modules, MissingLibraryGivesNullAndTheReason) {
  std::string name = kPluginDir + "/Missing.dll";
  EXPECT_EQ(LoadLibrary(name), nullptr);
  EXPECT_EQ(LastLibraryError().rfind("Cannot load library \"" + name + "\": ", 0), 0u)
      << LastLibraryError();
  EXPECT_NE(LastLibraryError().find("Missing.so"), std::string::npos) << LastLibraryError();
  try {
    LoadLibraryOrRaise(name);
    ADD_FAILURE() << "no error";
  } catch (const EOSError& error) {
    EXPECT_EQ(error.Message(), LastLibraryError());
  }
}

void LocalFunction() {}

TEST(Modules, ModuleFileNameOfAnAddress) {
  HMODULE module = LoadLibrary(kPluginDir + "/NvTestPlugin.dll");
  ASSERT_NE(module, nullptr) << LastLibraryError();
  void* entry = GetProcAddress(module, "NvTestPluginAnswer");
  std::string expected = kPluginDir + "/NvTestPlugin.so";
  EXPECT_EQ(GetModuleFileNameOf(entry), expected);
  EXPECT_EQ(GetModuleFileName(module), expected);
  EXPECT_EQ(GetModuleFileNameOf(reinterpret_cast<const void*>(&LocalFunction)),
            GetHostProgramFileName());
  EXPECT_EQ(GetModuleFileName(nullptr), GetHostProgramFileName());
  FreeLibrary(module);
}

}  // namespace
}  // namespace nv
