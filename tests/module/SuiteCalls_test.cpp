// The suite's components answer every late-bound call the module makes on them: each name of
// the list is a member of the object it is called on (the shapes are the components' own
// tests to check).
#include "framework/SuiteCalls.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "platform/com/ComObj.h"

namespace nv {
namespace {

// A member the object does not have answers "X.M: no such method/property"; anything else
// (a missing argument, a refused call) shows that the member is there.
std::string MemberProblem(const Variant& object, std::string_view member) {
  try {
    std::vector<Variant> none;
    object.AsObject()->Invoke(member, InvokeKind::Method, none);
  } catch (const std::exception& e) {
    std::string message = e.what();
    if (message.find("no such") != std::string::npos) return message;
  }
  return {};
}

TEST(SuiteCalls, TheSuitesComponentsAnswerEveryCallOfTheList) {
  std::string demo = testing::TempDir() + "suite_calls_demo";
  std::string make = QC_BINARY_DIR "/suite/appserver/tallyd demo " + demo + " >/dev/null";
  ASSERT_EQ(std::system(make.c_str()), 0);
  setenv("BATON_REGISTRY", (demo + "/registry.reg").c_str(), 1);
  RegisterComServer(std::string(SuiteProgID::WorkCenterManager),
                    QC_BINARY_DIR "/suite/manager/VantaWorkCenter.so");
  RegisterComServer(std::string(SuiteProgID::AppServer),
                    QC_BINARY_DIR "/suite/appserver/Tallyd.so");

  Variant manager = CreateOleObject(SuiteProgID::WorkCenterManager);
  std::map<std::string, Variant, std::less<>> objects = {
      {"ShellServices", manager},
      {"Counter", manager.Call(ServiceCall::Com_Counter)},
      {"Validator", manager.Call(ServiceCall::Com_Validator)},
      {"LookupWindow", manager.Call(ServiceCall::Com_F2Window)},
      {std::string(SuiteProgID::AppServer), CreateOleObject(SuiteProgID::AppServer)},
  };
  for (const TSuiteCall& call : kSuiteCalls) {
    const Variant& object = objects.find(call.object)->second;
    ASSERT_TRUE(object.IsObject()) << call.object;
    EXPECT_EQ(MemberProblem(object, call.member), "") << call.object << "." << call.member;
  }
  unsetenv("BATON_REGISTRY");
  UnregisterComClass(SuiteProgID::WorkCenterManager);
  UnregisterComClass(SuiteProgID::AppServer);
}

}  // namespace
}  // namespace nv
