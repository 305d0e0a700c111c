#include "controls/F2Button.h"

#include <gtest/gtest.h>

#include "platform/core/CodePage.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Input.h"
#include "platform/ui/StdCtrls.h"

namespace nv {
namespace {

// An option window with two edits; it records every lookup request it receives.
class TfrmLookup : public TForm {
  NV_CLASS(TfrmLookup, TForm)
 public:
  explicit TfrmLookup(TComponent* owner) : TForm(owner) {
    edtTD001 = MakeEdit("edtTD001", 10, 20);
    edtTD002 = MakeEdit("edtTD002", 10, 60);
    SetMessageHandler(WM_USER + 10, [this](TMessage& m) {
      requests.push_back(static_cast<TWinControl*>(ParamToControl(m.LParam)));
      wParams.push_back(m.WParam);
    });
  }
  TEdit* MakeEdit(const char* name, int left, int top) {
    auto* e = new TEdit(this);
    e->SetName(name);
    e->SetParent(this);
    e->SetBounds(left, top, 120, 21);
    return e;
  }
  TF2Button* MakeButton(const char* name) {
    auto* b = new TF2Button(this);
    b->SetName(name);
    b->SetParent(this);
    return b;
  }
  TEdit* edtTD001;
  TEdit* edtTD002;
  std::vector<TWinControl*> requests;
  std::vector<WPARAM> wParams;
};
NV_PUBLISH(TfrmLookup) {}

class LookupButton : public ::testing::Test {
 protected:
  void SetUp() override {
    TPictureLibrary::SetLibraryName(kPictureLibraryName);
    HeadlessInteraction().Reset();
    form_ = new TfrmLookup(nullptr);
  }
  void TearDown() override { delete form_; }
  TfrmLookup* form_ = nullptr;
};

TEST_F(LookupButton, NewButtonIsFlatWithTheLookupPicture) {
  TF2Button* btn = form_->MakeButton("btnTD001");
  EXPECT_TRUE(btn->Flat());
  EXPECT_EQ(btn->GlyphIndex(), 8);
  EXPECT_FALSE(btn->Glyph()->Empty());
  EXPECT_EQ(btn->Caption(), "");
  EXPECT_TRUE(btn->AutoAlign());
  EXPECT_EQ(btn->Gap(), 2);
  EXPECT_EQ(btn->F2Control(), nullptr);
  // Stored defaults: a fresh button writes none of them.
  EXPECT_EQ(GetPropValue(*btn, "GlyphIndex"), "8");
  EXPECT_EQ(GetPropValue(*btn, "Flat"), "True");
}

TEST_F(LookupButton, AlignsBesideItsEditAndFollowsGap) {
  TF2Button* btn = form_->MakeButton("btnTD001");
  btn->SetF2Control(form_->edtTD001);
  EXPECT_EQ(btn->BoundsRect(), Rect(132, 20, 153, 41));
  btn->SetGap(5);
  EXPECT_EQ(btn->Left(), 135);
  // Without AutoAlign the button stays where it is put.
  btn->SetAutoAlign(false);
  btn->SetBounds(0, 0, 23, 23);
  btn->SetGap(2);
  EXPECT_EQ(btn->BoundsRect(), Rect(0, 0, 23, 23));
  btn->SetAutoAlign(true);
  EXPECT_EQ(btn->BoundsRect(), Rect(132, 20, 153, 41));
}

TEST_F(LookupButton, RunTimeMoveOfTheEditLeavesTheButton) {
  TF2Button* btn = form_->MakeButton("btnTD001");
  btn->SetF2Control(form_->edtTD001);
  form_->edtTD001->SetLeft(200);
  EXPECT_EQ(btn->Left(), 132);
}

TEST_F(LookupButton, DesignTimeMovesAndResizesOfTheEditAreFollowed) {
  TF2Button* btn = form_->MakeButton("btnTD001");
  btn->SetDesigning(true);
  int ownMoves = 0;  // the edit's own handling still runs first
  form_->edtTD001->SetMessageHandler(WM_MOVE, [&](TMessage&) { ++ownMoves; });
  btn->SetF2Control(form_->edtTD001);
  form_->edtTD001->SetBounds(200, 30, 120, 25);
  EXPECT_EQ(btn->BoundsRect(), Bounds(322, 30, 25, 25));
  EXPECT_EQ(ownMoves, 1);
  // Another control: the first edit gets its own handler back and is no longer followed.
  btn->SetF2Control(form_->edtTD002);
  form_->edtTD001->SetLeft(50);
  EXPECT_EQ(ownMoves, 2);
  EXPECT_EQ(btn->Left(), 132);
  form_->edtTD002->SetTop(90);
  EXPECT_EQ(btn->Top(), 90);
  // A freed button leaves nothing behind in the edit.
  delete btn;
  form_->edtTD002->SetTop(100);
  EXPECT_FALSE(form_->edtTD002->MessageHandler(WM_MOVE));
}

TEST_F(LookupButton, SecondButtonForTheSameEditIsRefused) {
  TF2Button* first = form_->MakeButton("btnA");
  TF2Button* second = form_->MakeButton("btnB");
  first->SetF2Control(form_->edtTD001);
  second->SetF2Control(form_->edtTD002);
  second->SetF2Control(form_->edtTD001);
  EXPECT_EQ(second->F2Control(), form_->edtTD002);
  EXPECT_EQ(first->F2Control(), form_->edtTD001);
  EXPECT_EQ(HeadlessInteraction().JournalText(),
            "MessageDlg mtError \"Error\" \"" +
                SysText("不能同时有两个 F2Button 指到同一个 Edit.") + "\" [mbOK] -> mrOk\n");
  // The same button given its own edit again: refused quietly.
  HeadlessInteraction().Reset();
  first->SetF2Control(form_->edtTD001);
  EXPECT_EQ(HeadlessInteraction().Journal().size(), 0u);
  // Nobody else serves it once the first lets go.
  first->SetF2Control(nullptr);
  second->SetF2Control(form_->edtTD001);
  EXPECT_EQ(second->F2Control(), form_->edtTD001);
}

TEST_F(LookupButton, ClickFocusesTheEditAndAsksTheFormOnce) {
  TF2Button* btn = form_->MakeButton("btnTD002");
  btn->SetF2Control(form_->edtTD002);
  std::string order;
  btn->OnClick = [&](TObject*) { order += form_->requests.empty() ? "click;" : "late;"; };
  form_->edtTD001->SetFocus();
  ClickControl(*btn);
  EXPECT_EQ(order, "click;");
  EXPECT_TRUE(form_->edtTD002->Focused());
  ASSERT_EQ(form_->requests.size(), 1u);
  EXPECT_EQ(form_->requests[0], form_->edtTD002);
  EXPECT_EQ(form_->wParams[0], 0u);
}

TEST_F(LookupButton, NoLookupForAnEditThatCannotTakeTheFocus) {
  struct Case {
    const char* name;
    bool editEnabled;
    bool editVisible;
  };
  const Case cases[] = {{"disabled edit", false, true}, {"hidden edit", true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TF2Button* btn = form_->MakeButton("btnTD001");
    btn->SetF2Control(form_->edtTD001);
    form_->edtTD001->SetEnabled(c.editEnabled);
    form_->edtTD001->SetVisible(c.editVisible);
    int clicks = 0;
    btn->OnClick = [&](TObject*) { ++clicks; };
    ClickControl(*btn);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(form_->requests.empty());
    EXPECT_FALSE(form_->edtTD001->Focused());
    form_->edtTD001->SetEnabled(true);
    form_->edtTD001->SetVisible(true);
    delete btn;
  }
}

TEST_F(LookupButton, FreedEditIsForgotten) {
  TF2Button* btn = form_->MakeButton("btnTD001");
  btn->SetF2Control(form_->edtTD001);
  delete form_->edtTD001;
  form_->edtTD001 = nullptr;
  EXPECT_EQ(btn->F2Control(), nullptr);
  ClickControl(*btn);
  EXPECT_TRUE(form_->requests.empty());
}

}  // namespace
}  // namespace nv
