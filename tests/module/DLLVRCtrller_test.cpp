// The voucher controller against a scripted option form: handler chaining, the form's own
// handlers, window state, the result fields and the guarded calls.
#include "module/DLLVRCtrller.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace nv {
namespace {

std::vector<std::string>* journal = nullptr;

class TFakeForm : public TComponent, public IVROptionForm {
 public:
  TFakeForm() : TComponent(nullptr) {
    // the handlers the form was loaded with
    onShow_ = [](TObject*) { journal->push_back("form show"); };
    onDestroy_ = [](TObject*) { journal->push_back("form destroy"); };
  }
  ~TFakeForm() override {
    Destroying();
    if (onDestroy_) onDestroy_(this);
  }
  void Free() override { delete this; }
  bool IsDestroying() const override { return ComponentState().Contains(csDestroying); }
  TObject* Sender() override { return this; }
  void SetModulePath(const std::string& f) override { journal->push_back("path " + f); }
  void SetShellServices(const Variant&) override { journal->push_back("services"); }
  bool Initialize(const Variant& params) override {
    if (params.IsArray() && params[0].AsString() == "raise") throw Exception("broken");
    journal->push_back("initialize");
    return true;
  }
  bool Visible() const override { return visible_; }
  void SetVisible(bool v) override {
    visible_ = v;
    const TOptFormEvent& h = v ? onShow_ : onHide_;
    if (h) h(this);
  }
  TWindowState WindowState() const override { return state_; }
  void SetWindowState(TWindowState s) override {
    journal->push_back("state " + std::to_string(s));
    state_ = s;
  }
  TDLLWindowHandle Handle() override { return 42; }
  int ShowModal() override { return 1; }  // OK
  TOptFormEvent ShowHandler() const override { return onShow_; }
  void SetShowHandler(TOptFormEvent h) override { onShow_ = std::move(h); }
  TOptFormEvent HideHandler() const override { return onHide_; }
  void SetHideHandler(TOptFormEvent h) override { onHide_ = std::move(h); }
  TOptFormEvent DestroyHandler() const override { return onDestroy_; }
  void SetDestroyHandler(TOptFormEvent h) override { onDestroy_ = std::move(h); }
  std::string VersionTag() const override { return "870401-0.00.00"; }
  std::string UserID() const override { return "DS"; }
  std::string CompanyCode() const override { return "A01"; }
  std::string ProgramCode() const override { return "QCPR31"; }
  std::string ProgramName() const override { return "name"; }
  int ResultCode() const override { return 7; }
  Variant ResultValue() const override { return "done"; }
  void ApplyHostCommand(const Variant&) override { throw 5; }  // not even a std::exception
  bool PrintFromConditions(bool preview) override {
    journal->push_back(std::string("conditions ") + (preview ? "preview" : "print"));
    return true;
  }
  bool PrintFromKeys(const Variant& keys, bool) override { return keys.IsArray(); }
  bool ConvertFromKeys(const Variant&, int, const std::string&, const std::string&,
                       int dpi) override {
    journal->push_back("convert " + std::to_string(dpi));
    return true;
  }
  void EndDesign() override { journal->push_back("end design"); }

  TWindowState state_ = wsMinimized;
  bool visible_ = false;
  TOptFormEvent onShow_, onHide_, onDestroy_;
};

class VRCtrller : public ::testing::Test {
 protected:
  void SetUp() override {
    journal = &log_;
    saved_ = frmVRBaseOptClass;
    frmVRBaseOptClass = [] { return static_cast<IVROptionForm*>(new TFakeForm); };
    controller_.OnNotify = TDLLNotifyEvent::Of<&VRCtrller::Notify>(this);
  }
  void TearDown() override { frmVRBaseOptClass = saved_; }
  void Notify(std::int32_t code, TDLLBaseController* sender) {
    log_.push_back("notify " + std::to_string(code) + " result " +
                   std::to_string(sender->ResultCode) + " " + VarToStr(sender->ResultValue));
  }

  std::vector<std::string> log_;
  TVROptionFormClass saved_ = nullptr;
  TDLLVRCtrller controller_;
};

TEST_F(VRCtrller, FormHandlersRunFirstAndResultsArriveBefore304) {
  ASSERT_EQ(controller_.Open(Variant::ArrayOf({"DS"})), 0);
  controller_.SetVisible(1);
  controller_.SetVisible(0);
  controller_.CloseForm();
  const std::vector<std::string> expected = {
      "path " + ModuleFileName(),
      "services",
      "notify 256 result 0 ",
      "initialize",
      "form show",
      "notify 272 result 0 ",
      "state 0",  // a minimized form is restored when it is made visible
      "notify 288 result 0 ",
      "form destroy",
      "notify 304 result 7 done",
  };
  EXPECT_EQ(log_, expected);
  EXPECT_TRUE(controller_.IsClosed());
}

TEST_F(VRCtrller, GuardedCallsAndCommands) {
  EXPECT_EQ(controller_.Open(Variant::ArrayOf({"raise"})), -1) << "Initialize raised";
  EXPECT_FALSE(controller_.IsClosed()) << "the form stays for CloseForm";
  EXPECT_EQ(controller_.RunRequest(Variant::ArrayOf({0, 1})), -1) << "every exception is caught";
  log_.clear();
  Variant keys = Variant::ArrayOf({"QC09", "1"});
  EXPECT_EQ(controller_.ExecuteCommand(5, Variant::ArrayOf({true})), 0);
  EXPECT_EQ(controller_.ExecuteCommand(11, Variant::ArrayOf({keys, 0, "p", Variant::Null()})), 0);
  EXPECT_EQ(controller_.ExecuteCommand(11, Variant::ArrayOf({keys, 0, "p", "300"})), 0);
  controller_.EndDesign();
  EXPECT_EQ(log_, (std::vector<std::string>{"conditions preview", "convert 96", "convert 300",
                                            "end design"}));
  Variant modal;
  controller_.ShowModal(modal);
  EXPECT_EQ(modal.AsInteger(), 1);
}

}  // namespace
}  // namespace nv
