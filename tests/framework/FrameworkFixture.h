#pragma once
// The demo installation of the suite for the option-form tests: made once per test program
// by `tallyd demo`, reached through its registry file, with the in-process server object and
// the work-center manager as the plug-ins the build made. Each test starts with a clean
// dialog journal and the client configuration it asks for.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ReportForm.h"
#include "framework/SuiteCalls.h"
#include "platform/com/ComObj.h"
#include "platform/com/Dispatch.h"
#include "platform/core/CodePage.h"
#include "platform/ui/Dialogs.h"

namespace nv::testing {

inline std::string U(const std::string& ansi, int codePage = 936) {
  return AnsiToUtf8(ansi, codePage);
}

// The user in front of the manager's lookup windows: answers each with the next of its
// answers (cancels when none is left) and remembers what it was shown.
class TLookupUser : public TDispatchObject<TLookupUser> {
 public:
  std::string DispatchName() const override { return "TestDialogService"; }
  static const TDispatchTable<TLookupUser>& DispatchTable() {
    static const auto table = TDispatchTable<TLookupUser>()
                                  .Method("Lookup",
                                          [](TLookupUser& u, TDispatchArgs& a) {
                                            u.asked.push_back("Lookup " + a.Text(1));
                                            u.lastRows = a.Value(3);
                                            return u.Next();
                                          })
                                  .Method("PickDate",
                                          [](TLookupUser& u, TDispatchArgs& a) {
                                            u.asked.push_back("PickDate " + a.Text(1));
                                            Variant answer = u.Next();
                                            return answer.IsEmpty() ? Variant("") : answer;
                                          })
                                  .Method("ChoosePhrase", [](TLookupUser& u, TDispatchArgs& a) {
                                    u.asked.push_back("ChoosePhrase");
                                    Variant answer = u.Next();
                                    return answer.IsEmpty() ? Variant(-1) : answer;
                                  });
    return table;
  }
  Variant Next() {
    if (answers.empty()) return {};
    Variant answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  std::vector<Variant> answers;
  std::vector<std::string> asked;
  Variant lastRows;
};

class DemoSuite : public ::testing::Test {
 public:
  static void SetUpTestSuite() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qc_framework_XXXXXX").string();
    root_ = std::string(::mkdtemp(pattern.data())) + "/";
    std::string make = QC_BINARY_DIR "/suite/appserver/tallyd demo " + root_ + " >/dev/null";
    ASSERT_EQ(std::system(make.c_str()), 0);
  }
  static void TearDownTestSuite() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  void SetUp() override {
    ::setenv("BATON_REGISTRY", (root_ + "registry.reg").c_str(), 1);
    SetSystemCodePage(kCodePageGB);
    RegisterComServer(std::string(SuiteProgID::WorkCenterManager),
                      QC_BINARY_DIR "/suite/manager/VantaWorkCenter.so");
    RegisterComServer(std::string(SuiteProgID::AppServer),
                      QC_BINARY_DIR "/suite/appserver/Tallyd.so");
    ClientConfig("936");
    HeadlessInteraction().Reset();
  }
  void TearDown() override {
    Application()->ProcessMessages();
    for (auto& [form, gone] : forms_)
      if (!*gone) form->Free();
    forms_.clear();
    std::error_code ignored;
    std::filesystem::remove_all(ClientPath() + "MultiLanguage", ignored);
    std::filesystem::create_directories(ClientPath() + "MultiLanguage");
    HeadlessInteraction().Reset();
    ::unsetenv("BATON_REGISTRY");
  }

  static std::string ClientPath() { return root_ + "client/"; }
  static std::string ServerPath() { return root_ + "server/"; }

  // BatonC.ini for an interface code page; the manager speaks the same language.
  static void ClientConfig(const std::string& uiCodePage, const std::string& address = "127.0.0.1",
                           int port = 211) {
    std::string lang = uiCodePage == "950" ? "CHT" : uiCodePage == "437" ? "ENG" : "CHS";
    std::ofstream(ClientPath() + "BatonC.ini", std::ios::binary)
        << "[Client Components]\r\nLangType=" << lang
        << "\r\n\r\n[CodePage]\r\nUICodePage=" << uiCodePage
        << "\r\nDBCodePage=936\r\n\r\n[Server Information]\r\nComputerName=" << address
        << "\r\nServerPort=" << port << "\r\nSupportCallBack=0\r\n";
  }

  // A language pack written in the encoding the suite installs it in.
  static void Pack(const std::string& language, const std::string& name,
                   const std::string& utf8Body) {
    std::string encoding = language == "CHT" ? "BIG5" : language == "ENG" ? "UTF-8" : "GB2312";
    int codePage = language == "CHT" ? kCodePageBig5 : kCodePageGB;
    std::string folder = ClientPath() + "MultiLanguage/" + language + "/";
    std::filesystem::create_directories(folder);
    std::string text = "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n" + utf8Body;
    std::ofstream(folder + name + ".Lng", std::ios::binary)
        << (language == "ENG" ? text : Utf8ToAnsi(text, codePage));
  }

  static Variant NewManager() { return CreateOleObject(SuiteProgID::WorkCenterManager); }

  // A report form as the controller creates it: no owner, the module's path, the shell's
  // service object.
  TfrmQCPTest* NewForm(const Variant& manager = NewManager(),
                       const std::string& modulePath = QC_BINARY_DIR "/src/module/QCPR31C.so") {
    auto* form = nv::Create<TfrmQCPTest>(nullptr);
    auto gone = std::make_shared<bool>(false);
    TNotifyEvent destroy = form->OnDestroy;
    form->OnDestroy = [destroy, gone](TObject* sender) {
      destroy(sender);
      *gone = true;
    };
    forms_.push_back({form, gone});
    form->SetShellServices(manager);
    form->SetModulePath(modulePath);
    return form;
  }
  bool Gone(TfrmQCPTest* form) const {
    for (const auto& [f, gone] : forms_)
      if (f == form) return *gone;
    return true;
  }

  // Start parameters [user, company, database, host window, host extra], cut to count.
  static Variant StartParams(int count = 5) {
    std::vector<Variant> all{Variant("DS"), Variant("A01"), Variant("DEMO"), Variant(4711),
                             Variant::Null()};
    all.resize(static_cast<std::size_t>(count));
    return Variant::ArrayOf(all);
  }

  TfrmQCPTest* StartedForm(const Variant& manager = NewManager()) {
    TfrmQCPTest* form = NewForm(manager);
    EXPECT_TRUE(form->Initialize(StartParams())) << U(form->TextLog());
    // the voucher layer opens the report's session, which the scheme list needs when shown
    if (form->AppServer().IsObject())
      form->AppServer().Call(
          "Connect", {Variant::ArrayOf({Variant(form->ProgramCode()), Variant("DS"), Variant("A01"),
                                        Variant("DEMO"), Variant("GMPTD")})});
    return form;
  }

  // The dialogs shown so far, as "DlgType text" lines in UTF-8.
  static std::vector<std::string> Dialogs(int codePage = 936) {
    std::vector<std::string> lines;
    for (const TDialogRecord& r : HeadlessInteraction().Journal()) {
      std::string type = VarToStr(r.Request.Fields.count("DlgType") ? r.Request.Fields.at("DlgType")
                                                                    : Variant(r.Request.Kind));
      lines.push_back(type + " " + U(r.Request.Text, codePage));
    }
    return lines;
  }

  static inline std::string root_;
  std::vector<std::pair<TfrmQCPTest*, std::shared_ptr<bool>>> forms_;
};

}  // namespace nv::testing
