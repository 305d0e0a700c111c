#include "platform/com/ComObj.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/com/Dispatch.h"

namespace nv {
namespace {

// A stand-in for the application server with the shapes its callers rely on: a by-reference
// result, a checked array argument and a read-write property.
class TFakeServer : public TDispatchObject<TFakeServer> {
 public:
  explicit TFakeServer(int* destroyed = nullptr) : destroyed_(destroyed) {}
  ~TFakeServer() override {
    if (destroyed_ != nullptr) ++*destroyed_;
  }
  std::string DispatchName() const override { return "Tallyd.Class1"; }

  static const TDispatchTable<TFakeServer>& DispatchTable() {
    static const auto table =
        TDispatchTable<TFakeServer>()
            .Method("GetBlobField", &TFakeServer::GetBlobField)
            .Method("SQLType", [](TFakeServer&, TDispatchArgs&) { return Variant(0); })
            .Property(
                "BaseLimited",
                [](TFakeServer& self, TDispatchArgs&) { return Variant(self.baseLimited_); },
                [](TFakeServer& self, TDispatchArgs&, const Variant& v) {
                  self.baseLimited_ = v.AsString();
                })
            .Property("PowerData", [](TFakeServer&, TDispatchArgs&) { return Variant(5); });
    return table;
  }

  Variant GetBlobField(TDispatchArgs& args) {
    args.ExpectCount(2);
    const Variant& key = args.Array(1, 2);
    args.Ref(2) = Variant::ArrayOf({"7", "layout of " + key[1].AsString()});
    return 1;
  }

 private:
  int* destroyed_;
  std::string baseLimited_;
};

TEST(Dispatch, ByReferenceArgumentComesBackChanged) {
  Variant server = MakeDispatch<TFakeServer>();
  std::vector<Variant> args{Variant::ArrayOf({"TfrmQCPR31Fmt", "A4"}), Variant()};
  EXPECT_EQ(server.CallRef("GetBlobField", args).AsInteger(), 1);
  ASSERT_TRUE(args[1].IsArray());
  EXPECT_EQ(args[1][0].AsString(), "7");
  EXPECT_EQ(args[1][1].AsString(), "layout of A4");
  // the by-value argument is left as the caller passed it
  EXPECT_EQ(args[0][0].AsString(), "TfrmQCPR31Fmt");
}

TEST(Dispatch, PropertiesAndLetterCase) {
  Variant server = MakeDispatch<TFakeServer>();
  server.Set("baselimited", "TD001='A'");
  EXPECT_EQ(server.Get("BaseLimited").AsString(), "TD001='A'");
  EXPECT_EQ(server.Get("sqltype").AsInteger(), 0) << "a method answers a parameterless read";
}

struct FailureCase {
  const char* name;
  std::function<void(const Variant&)> call;
  const char* message;
};

TEST(Dispatch, FailuresSayWhereWhatAndWhatWasFound) {
  const FailureCase cases[] = {
      {"not an array",
       [](const Variant& s) {
         s.Call("GetBlobField", {5, Variant()});
       },
       "Tallyd.Class1.GetBlobField: argument 1: expected an array, got Integer 5"},
      {"array too short",
       [](const Variant& s) {
         s.Call("GetBlobField", {Variant::ArrayOf({"x"}), Variant()});
       },
       "Tallyd.Class1.GetBlobField: argument 1: expected an array of at least 2 elements, got "
       "Array Variant of 1"},
      {"too few arguments", [](const Variant& s) { s.Call("GetBlobField", {5}); },
       "Tallyd.Class1.GetBlobField: expected 2 arguments, got 1"},
      {"unknown method", [](const Variant& s) { s.Call("GetBlob"); },
       "Tallyd.Class1.GetBlob: no such method"},
      {"unknown property", [](const Variant& s) { s.Get("Nothing"); },
       "Tallyd.Class1.Nothing: no such property"},
      {"read-only property", [](const Variant& s) { s.Set("PowerData", 1); },
       "Tallyd.Class1.PowerData: property is read-only"},
      {"put on a method", [](const Variant& s) { s.Set("SQLType", 1); },
       "Tallyd.Class1.SQLType: is a method, not a property"},
  };
  Variant server = MakeDispatch<TFakeServer>();
  for (const auto& c : cases) {
    try {
      c.call(server);
      ADD_FAILURE() << c.name << ": no exception";
    } catch (const EOleError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.name;
    }
  }
}

TEST(Dispatch, TypedArgumentReadsConvertOrFail) {
  std::vector<Variant> values{"12", "abc", true, Variant::Null()};
  TDispatchArgs args("Obj", "M", values);
  EXPECT_EQ(args.Integer(1), 12);
  EXPECT_EQ(args.Text(3), "True");
  EXPECT_EQ(args.ValueOr(9, 96).AsInteger(), 96);
  auto message = [&](auto read) {
    try {
      read();
    } catch (const EOleError& e) {
      return std::string(e.what());
    }
    return std::string("no exception");
  };
  EXPECT_EQ(message([&] { args.Integer(2); }),
            "Obj.M: argument 2: expected an integer, got String \"abc\"");
  EXPECT_EQ(message([&] { args.Text(4); }), "Obj.M: argument 4: expected a text, got Null");
  EXPECT_EQ(message([&] { args.Object(1); }),
            "Obj.M: argument 1: expected an automation object, got String \"12\"");
  EXPECT_EQ(message([&] { args.Value(5); }), "Obj.M: argument 5: missing");
}

class ComRegistry : public ::testing::Test {
 protected:
  void TearDown() override {
    UnregisterComClass("Test.Server");
    UnregisterComClass("Test.Plugin");
    UnregisterComClass("Test.Raises");
    UnregisterComClass("Test.Missing");
    unsetenv("BATON_REGISTRY");
  }
  static std::string PluginFile() { return QC_BINARY_DIR "/tests/module/libqc_test_com_server.so"; }
};

TEST_F(ComRegistry, CreatesInProcessClassesAndFreesThemWithTheLastReference) {
  int destroyed = 0;
  RegisterComClass("Test.Server", [&] { return new TFakeServer(&destroyed); });
  EXPECT_TRUE(IsComClassRegistered("test.server"));
  {
    Variant a = CreateOleObject("TEST.SERVER");
    Variant b = a;
    EXPECT_EQ(a.AsObject()->DispatchName(), "Tallyd.Class1");
    Variant c = CreateOleObject("Test.Server");
    EXPECT_NE(a.AsObject(), c.AsObject()) << "every creation makes a new object";
  }
  EXPECT_EQ(destroyed, 2);
}

TEST_F(ComRegistry, UnknownProgIDIsNamed) {
  EXPECT_FALSE(IsComClassRegistered("No.Such"));
  try {
    CreateOleObject("No.Such");
    FAIL() << "no exception";
  } catch (const EOleError& e) {
    EXPECT_STREQ(e.what(),
                 "Invalid class string: no automation class is registered for ProgID \"No.Such\"");
  }
  EXPECT_FALSE(UnregisterComClass("No.Such"));
}

TEST_F(ComRegistry, PluginLibraryServesItsClassAcrossTheBoundary) {
  // named as the suite names libraries: ".dll" stands for the ".so"
  std::string dllName = PluginFile().substr(0, PluginFile().size() - 3) + ".dll";
  RegisterComServer("Test.Plugin", dllName);
  Variant plugin = CreateOleObject("Test.Plugin");
  std::vector<Variant> args{21};
  EXPECT_EQ(plugin.CallRef("Double", args).AsInteger(), 21);
  EXPECT_EQ(args[0].AsInteger(), 42);
  // errors raised inside the plug-in reach the caller as standard exceptions
  try {
    plugin.Call("Double", {"x"});
    FAIL() << "no exception";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Test.Plugin.Double: argument 1: expected an integer, got String \"x\"");
  }
}

TEST_F(ComRegistry, RegistryFileNamesPluginLibraries) {
  std::string file = testing::TempDir() + "com_registry.reg";
  std::ofstream(file) << "REGEDIT4\n[HKEY_CLASSES_ROOT\\test.plugin\\InprocServer32]\n@=\""
                      << PluginFile() << "\"\n[HKEY_CLASSES_ROOT\\Test.NoFile]\n";
  setenv("BATON_REGISTRY", file.c_str(), 1);
  EXPECT_EQ(ComServerFileFor("Test.Plugin"), PluginFile());
  EXPECT_EQ(ComServerFileFor("Test.NoFile"), "") << "a key without InprocServer32";
  EXPECT_TRUE(IsComClassRegistered("Test.Plugin"));
  std::vector<Variant> args{4};
  CreateOleObject("Test.Plugin").CallRef("Double", args);
  EXPECT_EQ(args[0].AsInteger(), 8);
  EXPECT_THROW(CreateOleObject("Test.NoFile"), EOleError);
}

TEST_F(ComRegistry, PluginFailuresNameProgIDAndLibrary) {
  RegisterComServer("Test.Raises", PluginFile());
  RegisterComServer("Test.Server", PluginFile());
  RegisterComServer("Test.Missing", "/nonexistent/NoSuch.dll");
  auto message = [](std::string_view progID) {
    try {
      CreateOleObject(progID);
    } catch (const std::exception& e) {
      return std::string(e.what());
    }
    return std::string("no exception");
  };
  EXPECT_EQ(message("Test.Raises"), "Test.Raises: refused");
  EXPECT_EQ(message("Test.Server"),
            "Cannot create \"Test.Server\": library \"" + PluginFile() + "\" serves no such class");
  EXPECT_EQ(
      message("Test.Missing")
          .rfind(
              "Cannot create \"Test.Missing\": Cannot load library \"/nonexistent/NoSuch.dll\": ",
              0),
      0u)
      << message("Test.Missing");
}

}  // namespace
}  // namespace nv
