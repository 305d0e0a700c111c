// A test shell: compiled against the public controller header only, it loads the module by
// path, calls GetController and drives the controller by slot position, as the host does.
#include <dlfcn.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DLLBaseCtrller.h"

namespace nv {
namespace {

std::string ModuleFile(const char* name) {
  return std::string(QC_BINARY_DIR "/src/module/") + name;
}

// The module stays loaded for the whole test program, as a shell keeps it.
TGetControllerFunc LoadGetController(const char* name) {
  void* handle = dlopen(ModuleFile(name).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) throw std::runtime_error(dlerror());
  return reinterpret_cast<TGetControllerFunc>(dlsym(handle, "GetController"));
}

// Slot positions as the contract numbers them, reached through the raw virtual table.
template <class R, class... A>
R CallSlot(TDLLBaseController* c, int slot, A... args) {
  void** vtable = *reinterpret_cast<void***>(c);
  return reinterpret_cast<R (*)(TDLLBaseController*, A...)>(vtable[slot])(c, args...);
}

struct Notified {
  std::int32_t code;
  TDLLBaseController* sender;
  std::int32_t resultCode;  // the fields as the shell reads them at that moment
  Variant resultValue;
};

class TTestShell {
 public:
  void Notify(std::int32_t code, TDLLBaseController* sender) {
    log.push_back({code, sender, sender->ResultCode, sender->ResultValue});
  }
  std::vector<std::int32_t> Codes() const {
    std::vector<std::int32_t> codes;
    for (const auto& n : log) codes.push_back(n.code);
    return codes;
  }
  std::vector<Notified> log;
};

Variant OpenParams() {
  return Variant::ArrayOf({"DS", "ACME", "DEMO", 4711, Variant()});
}

class HostShell : public ::testing::Test {
 protected:
  void SetUp() override {
    static TGetControllerFunc getController = LoadGetController("QCPR31C.so");
    controller_.reset(getController());
    controller_->OnNotify = TDLLNotifyEvent::Of<&TTestShell::Notify>(&shell_);
  }
  TDLLBaseController* C() { return controller_.get(); }

  TTestShell shell_;
  std::unique_ptr<TDLLBaseController> controller_;
};

TEST_F(HostShell, SlotsWithoutAForm) {
  TDLLBaseController* c = C();
  std::u16string tag = u"untouched";
  CallSlot<void, std::u16string&>(c, 0, tag);
  EXPECT_EQ(tag, u"untouched");
  EXPECT_EQ((CallSlot<std::int32_t>(c, 1)), 0);
  CallSlot<void, std::int16_t>(c, 2, std::int16_t{1});
  EXPECT_EQ((CallSlot<TDLLWindowHandle>(c, 3)), 0);
  Variant request = Variant::ArrayOf({0, Variant::ArrayOf({1})});
  EXPECT_EQ((CallSlot<std::int32_t, const Variant&>(c, 5, request)), -1);
  Variant args = Variant::ArrayOf({true});
  EXPECT_EQ((CallSlot<std::int32_t, std::int32_t, const Variant&>(c, 6, 5, args)), -1);
  Variant modal;
  CallSlot<void, Variant&>(c, 7, modal);
  EXPECT_EQ(modal.Type(), VarType::Integer);
  EXPECT_EQ(modal.AsInteger(), 2) << "cancel without a form";
  CallSlot<void>(c, 8);
  Variant identity = "untouched";
  EXPECT_EQ((CallSlot<std::int32_t, Variant&>(c, 9, identity)), -1);
  EXPECT_EQ(identity.AsString(), "untouched");
  EXPECT_TRUE((CallSlot<bool>(c, 10)));
  CallSlot<void>(c, 17);
  EXPECT_TRUE(shell_.log.empty()) << "nothing without a form raises a notification";
}

TEST_F(HostShell, SlotsWithAForm) {
  TDLLBaseController* c = C();
  Variant params = OpenParams();
  ASSERT_EQ((CallSlot<std::int32_t, const Variant&>(c, 4, params)), 0);
  EXPECT_FALSE((CallSlot<bool>(c, 10)));

  std::u16string tag;
  CallSlot<void, std::u16string&>(c, 0, tag);
  EXPECT_EQ(tag, u"870401-0.00.00");

  CallSlot<void, std::int16_t>(c, 2, std::int16_t{0x0100});  // high byte only is still true
  EXPECT_EQ((CallSlot<std::int32_t>(c, 1)), -1) << "true with all 32 bits set";
  TDLLWindowHandle handle = CallSlot<TDLLWindowHandle>(c, 3);
  EXPECT_NE(handle, 0);
  EXPECT_EQ((CallSlot<TDLLWindowHandle>(c, 3)), handle);

  struct RequestCase {
    const char* name;
    Variant request;
    std::int32_t expected;
  };
  const RequestCase requests[] = {
      {"a mode's command array", Variant::ArrayOf({0, Variant::ArrayOf({1, "x"})}), 0},
      {"Null", Variant::Null(), -1},
      {"the form raises: caught", Variant(5), -1},
  };
  for (const auto& r : requests) {
    EXPECT_EQ((CallSlot<std::int32_t, const Variant&>(c, 5, r.request)), r.expected) << r.name;
  }

  Variant identity;
  ASSERT_EQ((CallSlot<std::int32_t, Variant&>(c, 9, identity)), 0);
  ASSERT_TRUE(identity.IsArray());
  EXPECT_EQ(identity.LowBound(), 0);
  EXPECT_EQ(identity.HighBound(), 3);
  EXPECT_EQ(identity[0].AsString(), "DS");
  EXPECT_EQ(identity[1].AsString(), "ACME");
  EXPECT_EQ(identity[2].AsString(), "QCPR31") << "program code from the module's file name";
  EXPECT_EQ(identity[3].Type(), VarType::String);

  shell_.log.clear();
  CallSlot<void, TObject*>(c, 12, nullptr);
  CallSlot<void, TObject*>(c, 13, nullptr);
  CallSlot<void>(c, 11);
  CallSlot<void>(c, 15);
  CallSlot<void, std::int32_t, TObject*>(c, 16, 999, nullptr);
  CallSlot<void>(c, 17);
  EXPECT_EQ(shell_.Codes(), (std::vector<std::int32_t>{272, 288, 256, 320, 999}));
  for (const auto& n : shell_.log) EXPECT_EQ(n.sender, c) << "the controller is the sender";

  shell_.log.clear();
  CallSlot<void>(c, 8);
  EXPECT_EQ(shell_.Codes(), (std::vector<std::int32_t>{304}));
  EXPECT_TRUE((CallSlot<bool>(c, 10)));
}

TEST_F(HostShell, FieldBlockIsInDeclaredOrderAndFilledBefore304) {
  auto offset = [this](const void* field) {
    return static_cast<const char*>(field) - reinterpret_cast<const char*>(C());
  };
  EXPECT_EQ(offset(&C()->ShellServices), static_cast<std::ptrdiff_t>(sizeof(void*)))
      << "the fields follow the virtual table pointer";
  EXPECT_LT(offset(&C()->ShellServices), offset(&C()->ResultCode));
  EXPECT_LT(offset(&C()->ResultCode), offset(&C()->ResultValue));
  EXPECT_LT(offset(&C()->ResultValue), offset(&C()->OnNotify));

  C()->ResultCode = 77;
  C()->ResultValue = "stale";
  ASSERT_EQ(C()->Open(OpenParams()), 0);
  C()->CloseForm();
  ASSERT_EQ(shell_.Codes(), (std::vector<std::int32_t>{256, 304}));
  // the form's result is 0 and Unassigned; both are in the fields when 304 arrives
  EXPECT_EQ(shell_.log[1].resultCode, 0);
  EXPECT_TRUE(shell_.log[1].resultValue.IsEmpty());
}

// Counts the references the module takes on the shell's service object.
class TServices : public IDispatchObject {
 public:
  void AddRef() noexcept override { ++refs; }
  void Release() noexcept override { --refs; }
  std::string DispatchName() const override { return "VantaWorkCenter.Manager"; }
  Variant Invoke(std::string_view, InvokeKind, std::span<Variant>) override { return {}; }
  int refs = 0;
};

TEST_F(HostShell, OpenHandsTheServiceObjectToTheForm) {
  TServices services;
  C()->ShellServices = Variant(&services);
  EXPECT_EQ(services.refs, 1);
  ASSERT_EQ(C()->Open(OpenParams()), 0);
  EXPECT_EQ(services.refs, 2) << "the form holds a copy";
  C()->CloseForm();
  EXPECT_EQ(services.refs, 1);
  C()->ShellServices = Variant();
  EXPECT_EQ(services.refs, 0);
}

TEST_F(HostShell, OneOpenShowHideCloseCycleInOrder) {
  ASSERT_EQ(C()->Open(OpenParams()), 0);
  C()->SetVisible(1);
  C()->SetVisible(0);
  C()->CloseForm();
  EXPECT_EQ(shell_.Codes(), (std::vector<std::int32_t>{256, 272, 288, 304}));
  for (const auto& n : shell_.log) EXPECT_EQ(n.sender, C());
}

TEST_F(HostShell, SecondOpenIsRefusedWithoutChainingTwice) {
  ASSERT_EQ(C()->Open(OpenParams()), 0);
  EXPECT_EQ(C()->Open(OpenParams()), -1);
  C()->SetVisible(1);
  C()->SetVisible(0);
  C()->CloseForm();
  EXPECT_EQ(shell_.Codes(), (std::vector<std::int32_t>{256, 272, 288, 304}));
}

TEST_F(HostShell, OpenAfterCloseCreatesAFreshForm) {
  ASSERT_EQ(C()->Open(OpenParams()), 0);
  C()->CloseForm();
  EXPECT_EQ(C()->Open(OpenParams()), 0) << "a fresh form initialises again";
  EXPECT_FALSE(C()->IsClosed());
  EXPECT_EQ(shell_.Codes(), (std::vector<std::int32_t>{256, 304, 256}));
}

TEST_F(HostShell, DestroyingTheControllerFreesTheFormFirst) {
  ASSERT_EQ(C()->Open(OpenParams()), 0);
  controller_.reset();
  EXPECT_EQ(shell_.Codes(), (std::vector<std::int32_t>{256, 304}));
}

TEST_F(HostShell, OpenWithoutTheFifthElementFails) {
  EXPECT_EQ(C()->Open(Variant::ArrayOf({"DS", "ACME", "DEMO", 4711})), -1);
  Variant identity;
  EXPECT_EQ(C()->GetIdentity(identity), 0) << "the form stays until it is closed";
  EXPECT_EQ(identity[0].AsString(), "") << "the parameters were not taken";
}

TEST_F(HostShell, ModalRunShowsHidesAndStoresTheResult) {
  ASSERT_EQ(C()->Open(OpenParams()), 0);
  Variant modal;
  C()->ShowModal(modal);
  EXPECT_EQ(modal.Type(), VarType::Integer);
  EXPECT_EQ(modal.AsInteger(), 2) << "the headless user cancels unless scripted";
  EXPECT_EQ(shell_.Codes(), (std::vector<std::int32_t>{256, 272, 288}));
}

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t LE32(const std::string& s, size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
  return v;
}

TEST_F(HostShell, Commands) {
  ASSERT_EQ(C()->Open(OpenParams()), 0);
  std::string dir = testing::TempDir();
  Variant keys = Variant::ArrayOf({"Q301", "20261211001"});
  struct CommandCase {
    const char* name;
    std::int32_t code;
    Variant args;
    std::int32_t expected;
    int dpiWidth;  // the written page's width in pixels, 0 for no file
  };
  const CommandCase cases[] = {
      {"5 print from the conditions", 5, Variant::ArrayOf({false}), 0, 0},
      {"6 preview named documents", 6, Variant::ArrayOf({true, keys}), 0, 0},
      {"11 without element 3: 96 dpi", 11, Variant::ArrayOf({keys, 0, dir + "c96_"}), 0, 794},
      {"11 with 200 dpi and element 4", 11,
       Variant::ArrayOf({keys, 0, dir + "c200_", 200, "extra"}), 0, 1654},
      {"11 unreadable resolution: 96 dpi", 11, Variant::ArrayOf({keys, 0, dir + "cx_", "abc"}), 0,
       794},
      {"11 an empty element 3: 96 dpi", 11,
       Variant::ArrayOf({keys, 0, dir + "ce_", Variant(), "extra"}), 0, 794},
      {"11 a resolution no page can have", 11, Variant::ArrayOf({keys, 0, dir + "cneg_", -5}), -1,
       0},
      {"7 is no command", 7, Variant::ArrayOf({true}), -1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(C()->ExecuteCommand(c.code, c.args), c.expected) << c.name;
    if (c.dpiWidth == 0) continue;
    std::string bmp = ReadFile(c.args[2].AsString() + "1.bmp");
    ASSERT_GT(bmp.size(), 54u) << c.name;
    EXPECT_EQ(bmp.substr(0, 2), "BM") << c.name;
    EXPECT_EQ(LE32(bmp, 18), static_cast<std::uint32_t>(c.dpiWidth)) << c.name;
  }
  EXPECT_EQ(LE32(ReadFile(dir + "c96_1.bmp"), 38), 3780u) << "96 dpi in pixels per metre";
  ASSERT_EQ(C()->ExecuteCommand(11, Variant::ArrayOf({keys, 3, dir + "pdf_"})), 0);
  EXPECT_EQ(ReadFile(dir + "pdf_1.pdf").substr(0, 8), "%PDF-1.4");
  EXPECT_EQ(shell_.Codes(), (std::vector<std::int32_t>{256})) << "commands raise no notification";
}

TEST(ModuleEntry, EveryCallCreatesANewController) {
  TGetControllerFunc getController = LoadGetController("QCPR31C.so");
  std::unique_ptr<TDLLBaseController> a(getController());
  std::unique_ptr<TDLLBaseController> b(getController());
  EXPECT_NE(a.get(), b.get());
}

TEST(ModuleEntry, UnregisteredClassesRaiseTheInternalError) {
  try {
    LoadGetController("qc_module_without_controller.so")();
    FAIL() << "no exception";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "NVT DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
  }
  std::unique_ptr<TDLLBaseController> c(LoadGetController("qc_module_without_form.so")());
  try {
    c->Open(OpenParams());
    FAIL() << "no exception";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "NVT DLL Internal Error :\rNot Assign \"frmVRBaseOptClass\" varible");
  }
  EXPECT_TRUE(c->IsClosed());
}

TEST(ModuleEntry, ExportsGetControllerOnly) {
  std::string command = "nm -D --defined-only '" + ModuleFile("QCPR31C.so") + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(pipe);
  std::vector<std::string> symbols;
  char line[512];
  while (fgets(line, sizeof line, pipe.get()) != nullptr) {
    std::string text(line);
    std::string name = text.substr(text.find_last_of(' ') + 1);
    name.erase(name.find_last_not_of("\r\n") + 1);
    symbols.push_back(name);
  }
  EXPECT_EQ(symbols, (std::vector<std::string>{"GetController"}));
}

}  // namespace
}  // namespace nv
