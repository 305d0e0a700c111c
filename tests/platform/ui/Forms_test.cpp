#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Input.h"
#include "platform/ui/Mask.h"

namespace nv {
namespace {

// A small option window: a page-like panel with two edits, a group with a third, and the
// OK/Cancel pair; every focus event is logged.
class TfrmFocus : public TForm {
  NV_CLASS(TfrmFocus, TForm)
 public:
  explicit TfrmFocus(TComponent* owner) : TForm(owner) {
    pnlMain = Make<TPanel>("pnlMain", this);
    edtA = Make<TEdit>("edtA", pnlMain);
    edtB = Make<TEdit>("edtB", pnlMain);
    grpMore = Make<TGroupBox>("grpMore", this);
    edtC = Make<TMaskEdit>("edtC", grpMore);
    btnOk = Make<TButton>("btnOk", this);
    btnOk->SetModalResult(mrOk);
    btnCancel = Make<TButton>("btnCancel", this);
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(mrCancel);
    for (TWinControl* c : std::initializer_list<TWinControl*>{pnlMain, edtA, edtB, grpMore, edtC,
                                                              btnOk, btnCancel}) {
      c->OnEnter = [this](TObject* s) {
        log += "enter " + static_cast<TComponent*>(s)->Name() + ";";
      };
      c->OnExit = [this](TObject* s) {
        log += "exit " + static_cast<TComponent*>(s)->Name() + ";";
      };
    }
    SetMessageHandler(CM_FOCUSCHANGED, [this](TMessage& m) {
      lastFocused = static_cast<TWinControl*>(ParamToControl(m.LParam));
      DefaultHandler(m);
    });
  }
  template <class T>
  T* Make(const char* name, TWinControl* parent) {
    T* c = new T(this);
    c->SetName(name);
    c->SetParent(parent);
    return c;
  }
  TPanel* pnlMain;
  TEdit* edtA;
  TEdit* edtB;
  TGroupBox* grpMore;
  TMaskEdit* edtC;
  TButton* btnOk;
  TButton* btnCancel;
  std::string log;
  TWinControl* lastFocused = nullptr;
};

NV_PUBLISH(TfrmFocus) {}

struct FormsTest : ::testing::Test {
  void SetUp() override {
    HeadlessInteraction().Reset();
    Application()->ClearModalDrivers();
    form = nv::Create<TfrmFocus>(nullptr);
  }
  void TearDown() override {
    Application()->ProcessMessages();
    if (form) form->Free();
  }
  TfrmFocus* form = nullptr;
};

TEST_F(FormsTest, FocusMovesExitOutwardsThenEnterInwards) {
  struct Case {
    const char* name;
    const char* from;
    const char* to;
    const char* log;
  };
  const Case cases[] = {
      {"first focus enters the containers", nullptr, "edtA", "enter pnlMain;enter edtA;"},
      {"sibling in the same container", "edtA", "edtB", "exit edtA;enter edtB;"},
      {"into another container", "edtB", "edtC",
       "exit edtB;exit pnlMain;enter grpMore;enter edtC;"},
      {"out to the form's own child", "edtC", "btnOk", "exit edtC;exit grpMore;enter btnOk;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.from) static_cast<TWinControl&>(form->ComponentByName(c.from)).SetFocus();
    form->log.clear();
    auto& target = static_cast<TWinControl&>(form->ComponentByName(c.to));
    target.SetFocus();
    EXPECT_EQ(form->log, c.log);
    EXPECT_EQ(form->ActiveControl(), &target);
    EXPECT_EQ(form->lastFocused, &target);
    EXPECT_TRUE(target.Focused());
  }
}

TEST_F(FormsTest, ExitHandlerThatRefocusesEndsTheMove) {
  // a failed field check sends the focus back to the field it checked
  form->edtA->SetFocus();
  form->edtA->OnExit = [this](TObject*) { form->edtA->SetFocus(); };
  form->log.clear();
  form->edtC->SetFocus();
  EXPECT_EQ(form->ActiveControl(), form->edtA);
  EXPECT_EQ(form->log.find("enter edtC"), std::string::npos) << form->log;
}

TEST_F(FormsTest, HiddenOrDisabledControlsRefuseFocus) {
  form->grpMore->SetEnabled(false);
  EXPECT_FALSE(form->edtC->CanFocus());
  EXPECT_THROW(form->edtC->SetFocus(), EInvalidOperation);
  form->pnlMain->Hide();
  EXPECT_FALSE(form->edtA->CanFocus());
}

TEST_F(FormsTest, TabFollowsTabOrderAndSkipsWhatCannotFocus) {
  form->edtB->SetTabOrder(0);  // edtB before edtA inside the panel
  form->edtA->SetFocus();
  PressKey(*form, VK_TAB);
  EXPECT_EQ(form->ActiveControl(), form->edtC);
  form->btnOk->SetEnabled(false);
  PressKey(*form, VK_TAB);
  EXPECT_EQ(form->ActiveControl(), form->btnCancel);
  PressKey(*form, VK_TAB);
  EXPECT_EQ(form->ActiveControl(), form->edtB);
  PressKey(*form, VK_TAB, {ssShift});
  EXPECT_EQ(form->ActiveControl(), form->btnCancel);
}

TEST_F(FormsTest, KeyPreviewSeesKeysFirstAndMayConsumeThem) {
  std::string log;
  form->SetKeyPreview(true);
  form->OnKeyDown = [&](TObject* s, Word& key, TShiftState shift) {
    log += "form down " + std::to_string(key) + (shift.Contains(ssCtrl) ? " ctrl" : "") + ";";
    if (key == VK_F2) key = 0;  // the form opens the lookup; the edit never sees F2
  };
  form->OnKeyPress = [&](TObject*, char& key) {
    log += std::string("form press ") + key + ";";
    if (key == '\r') key = '\0';
  };
  form->edtA->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
    log += "edit down " + std::to_string(key) + ";";
  };
  form->edtA->OnKeyPress = [&](TObject*, char& key) {
    log += std::string("edit press ") + key + ";";
  };
  form->edtA->SetFocus();

  PressKey(*form, VK_F2);
  EXPECT_EQ(log, "form down 113;");
  log.clear();
  PressKey(*form, 'X', {ssShift});
  EXPECT_EQ(log, "form down 88;edit down 88;form press X;edit press X;");
  EXPECT_EQ(form->edtA->Text(), "X");
  log.clear();
  PressKey(*form, VK_NEXT, {ssCtrl});
  EXPECT_EQ(log, "form down 34 ctrl;edit down 34;");
  log.clear();
  PressKey(*form, VK_RETURN);  // no default button: Enter reaches the key press
  EXPECT_EQ(log, "form down 13;edit down 13;form press \r;");

  form->SetKeyPreview(false);
  log.clear();
  PressKey(*form, VK_F1);
  EXPECT_EQ(log, "edit down 112;");
}

TEST_F(FormsTest, EnterClicksTheDefaultButtonAndEscTheCancelButton) {
  int ok = 0, cancel = 0;
  form->btnOk->SetDefault(true);
  form->btnOk->OnClick = [&](TObject*) { ++ok; };
  form->btnCancel->OnClick = [&](TObject*) { ++cancel; };
  form->edtA->SetFocus();
  PressKey(*form, VK_RETURN);
  PressKey(*form, VK_ESCAPE);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(cancel, 1);
  EXPECT_EQ(form->ModalResult(), mrCancel);  // the last button's result
}

TEST_F(FormsTest, LookupMessageArrivesWithTheControlInLParam) {
  TControl* received = nullptr;
  WPARAM wParam = -1;
  form->SetMessageHandler(WM_USER + 10, [&](TMessage& m) {
    received = ParamToControl(m.LParam);
    wParam = m.WParam;
    m.Result = 1;
  });
  EXPECT_EQ(WM_USER + 10, 1034u);
  LRESULT r = SendMessage(form->Handle(), 1034, 0, ControlToParam(form->edtC));
  EXPECT_EQ(received, form->edtC);
  EXPECT_EQ(wParam, 0);
  EXPECT_EQ(r, 1);

  received = nullptr;
  EXPECT_TRUE(PostMessage(form->Handle(), 1034, 0, ControlToParam(form->edtB)));
  EXPECT_EQ(received, nullptr) << "a posted message waits for the loop";
  Application()->ProcessMessages();
  EXPECT_EQ(received, form->edtB);
}

TEST_F(FormsTest, HandlesAreDistinctAndDieWithTheirWindow) {
  HWND a = form->edtA->Handle(), b = form->edtB->Handle();
  EXPECT_NE(a, b);
  EXPECT_EQ(form->edtA->Handle(), a);
  EXPECT_EQ(FindControl(a), form->edtA);
  delete form->edtA;
  EXPECT_FALSE(IsWindow(a));
  EXPECT_FALSE(PostMessage(a, WM_USER, 0, 0));
  EXPECT_EQ(form->FindComponent("edtA"), nullptr);
}

TEST_F(FormsTest, PostedCloseFreesTheFormWhenTheLoopRuns) {
  bool destroyed = false;
  form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  form->OnDestroy = [&](TObject*) { destroyed = true; };
  form->Show();
  HWND handle = form->Handle();
  form->Close();
  EXPECT_FALSE(destroyed) << "freed only when the loop handles the release";
  EXPECT_TRUE(IsWindow(handle));
  Application()->ProcessMessages();
  EXPECT_TRUE(destroyed);
  EXPECT_FALSE(IsWindow(handle));
  form = nullptr;
}

TEST_F(FormsTest, CloseHidesByDefaultAndCloseQueryCanRefuse) {
  std::string log;
  form->OnShow = [&](TObject*) { log += "show;"; };
  form->OnHide = [&](TObject*) { log += "hide;"; };
  bool allow = false;
  form->OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
  form->Show();
  form->Close();
  EXPECT_TRUE(form->Visible());
  allow = true;
  form->Close();
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(log, "show;hide;");
}

TEST_F(FormsTest, ShowFocusesTheFirstControlInTabOrder) {
  form->Show();
  EXPECT_EQ(form->ActiveControl(), form->edtA);
  EXPECT_EQ(Screen()->ActiveForm(), form);
}

TEST_F(FormsTest, ModalDriverTypesAndClicks) {
  Application()->PushModalDriver(
      TModalScript().Type("edtA", "abc").Type("edtC", "x").Click("btnOk").Click("btnCancel"));
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(form->edtA->Text(), "abc");
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(Application()->PendingModalDrivers(), 0);
  const auto& journal = HeadlessInteraction().Journal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].ToString(), "ModalForm \"\" \"\" -> mrOk");
}

TEST_F(FormsTest, ModalWithoutDriverIsClosedByTheUser) {
  std::string log;
  form->OnClose = [&](TObject*, TCloseAction&) { log += "close;"; };
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_EQ(log, "close;");
  form->Show();
  EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}

TEST_F(FormsTest, ModalDriverErrorsLeaveTheFormUsable) {
  Application()->PushModalDriver(TModalScript().Click("btnNope"));
  EXPECT_THROW(form->ShowModal(), EComponentError);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(form->Modal());
}

TEST_F(FormsTest, ForegroundAndWindowState) {
  form->SetWindowState(wsMinimized);
  EXPECT_TRUE(SetForegroundWindow(form->Handle()));
  EXPECT_EQ(GetForegroundWindow(), form->Handle());
  EXPECT_EQ(form->WindowState(), wsNormal);
  EXPECT_FALSE(SetForegroundWindow(0x7FFFFFF0));
}

TEST_F(FormsTest, ClientSizeAndBorderMakeTheOuterSize) {
  form->SetClientWidth(400);
  form->SetClientHeight(191);
  EXPECT_EQ(form->Width(), 408);
  EXPECT_EQ(form->Height(), 218);
  form->SetBorderStyle(bsNone);
  EXPECT_EQ(form->Width(), 400);
  EXPECT_EQ(form->ClientHeight(), 191);
}

TEST_F(FormsTest, AlignedChildrenShareTheClientArea) {
  form->SetClientWidth(500);
  form->SetClientHeight(300);
  auto* bottom = new TPanel(form);
  bottom->SetParent(form);
  bottom->SetHeight(40);
  bottom->SetAlign(alBottom);
  auto* left = new TPanel(form);
  left->SetParent(form);
  left->SetWidth(151);
  left->SetAlign(alLeft);
  form->pnlMain->SetAlign(alClient);
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 260, 500, 300));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 0, 151, 260));
  EXPECT_EQ(form->pnlMain->BoundsRect(), Rect(151, 0, 500, 260));
  form->SetClientWidth(600);
  EXPECT_EQ(form->pnlMain->BoundsRect(), Rect(151, 0, 600, 260));
}

}  // namespace
}  // namespace nv
