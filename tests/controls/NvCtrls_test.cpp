#include "controls/NvCtrls.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "controls/ControlClasses.h"
#include "platform/core/CodePage.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Input.h"

namespace nv {
namespace {

// An option window that records the lookup requests it receives.
class TfrmFields : public TForm {
  NV_CLASS(TfrmFields, TForm)
 public:
  explicit TfrmFields(TComponent* owner) : TForm(owner) {
    SetBounds(0, 0, 400, 200);
    SetMessageHandler(WM_USER + 10, [this](TMessage& m) {
      requests.push_back(static_cast<TWinControl*>(ParamToControl(m.LParam)));
    });
  }
  template <class T>
  T* Make(const char* name) {
    auto* c = new T(this);
    c->SetName(name);
    c->SetParent(this);
    c->SetBounds(100, 20, 120, 21);
    return c;
  }
  std::vector<TWinControl*> requests;
};
NV_PUBLISH(TfrmFields) {}

class SuiteControls : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterControlClasses();
    HeadlessInteraction().Reset();
    form_ = new TfrmFields(nullptr);
  }
  void TearDown() override { delete form_; }
  TfrmFields* form_ = nullptr;
};

// The caption label of each labelled control, and what the control's moves do to it.
TEST_F(SuiteControls, CaptionLabelsStandLeftOfTheirControlAndFollowIt) {
  struct Case {
    const char* name;
    TWinControl* control;
    TDBLabel* label;
  };
  auto* edit = form_->Make<TNvDBEdit>("edtTD001");
  auto* lookup = form_->Make<TNvBtnDBEdit>("edtTD002");
  auto* combo = form_->Make<TNvBtnDBCombo>("cboTD003");
  const Case cases[] = {{"edit", edit, edit->EditLabel()},
                        {"lookup edit", lookup, lookup->EditLabel()},
                        {"lookup combo", combo, combo->EditLabel()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetPropValue(*c.control, "Caption", SysText("品号"));  // as a form text sets it
    EXPECT_EQ(c.label->Caption(), SysText("品号"));
    EXPECT_EQ(c.label->Parent(), form_);
    EXPECT_EQ(c.label->FocusControl(), c.control);
    // Four bytes of a 12-high font: 24 wide; right edge 3 left of the control, centred.
    EXPECT_EQ(c.label->BoundsRect(), Bounds(73, 24, 24, 12));
    c.control->SetBounds(150, 60, 120, 25);
    EXPECT_EQ(c.label->Left() + c.label->Width(), 147);
    EXPECT_EQ(c.label->Top(), 60 + (25 - c.label->Height()) / 2);
    c.control->SetVisible(false);
    EXPECT_FALSE(c.label->Visible());
    c.control->SetVisible(true);
    c.control->SetEnabled(false);
    EXPECT_FALSE(c.label->Enabled());
  }
  edit->SetLabelSpacing(10);
  EXPECT_EQ(edit->EditLabel()->Left() + edit->EditLabel()->Width(), 140);
}

TEST_F(SuiteControls, LookupButtonsRaiseTheirEventThenAskTheFormOnce) {
  auto* edit = form_->Make<TNvBtnDBEdit>("edtTD001");
  auto* combo = form_->Make<TNvBtnDBCombo>("cboTD002");
  combo->SetTop(60);
  struct Case {
    const char* name;
    TWinControl* control;
    TF2Button* button;
    TNotifyEvent* event;
  };
  const Case cases[] = {{"lookup edit", edit, edit->Button(), &edit->OnButtonClick},
                        {"lookup combo", combo, combo->Button(), &combo->OnButtonClick}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form_->requests.clear();
    EXPECT_EQ(c.button->Parent(), form_);
    EXPECT_EQ(c.button->BoundsRect(),
              Bounds(c.control->Left() + c.control->Width() + 2, c.control->Top(),
                     c.control->Height(), c.control->Height()));
    EXPECT_EQ(c.button->GlyphIndex(), 8);
    std::string order;
    *c.event = [&](TObject* sender) {
      EXPECT_EQ(sender, c.control);
      order += form_->requests.empty() ? "event;" : "late;";
    };
    ClickControl(*c.button);
    EXPECT_EQ(order, "event;");
    EXPECT_TRUE(c.control->Focused());
    EXPECT_EQ(form_->requests, std::vector<TWinControl*>{c.control});
  }
  SetPropValue(*edit, "ButtonHint", "F2");
  EXPECT_EQ(edit->Button()->Hint(), "F2");
}

TEST_F(SuiteControls, FreeingALabelledControlTakesItsPartsAlong) {
  auto* edit = form_->Make<TNvBtnDBEdit>("edtTD001");
  const int before = form_->ControlCount();
  EXPECT_EQ(before, 3);  // edit, label, button
  delete edit;
  EXPECT_EQ(form_->ControlCount(), 0);
  form_->Make<TNvBtnDBCombo>("cboTD002");  // freed with the form
  // A container frees its children last first: the button and label go before the aligned
  // edit, which is then laid out once more.
  auto* host = form_->Make<TPanel>("pnlHost");
  auto* aligned = new TNvBtnDBEdit(form_);
  aligned->SetParent(host);
  aligned->SetAlign(alTop);
  delete host;
}

TEST_F(SuiteControls, PageControlTabsAreOwnerDrawn) {
  auto* pages = form_->Make<TExtPageControl>("pgOption");
  EXPECT_TRUE(pages->OwnerDraw());
  EXPECT_FALSE(pages->DrawTab(0, Rect(0, 0, 60, 20), true));  // nobody paints: the platform's
  std::string drawn;
  pages->OnDrawTab = [&](TObject* control, int index, const TRect& rect, bool active) {
    EXPECT_EQ(control, pages);
    drawn += std::to_string(index) + (active ? "+" : "-") + std::to_string(rect.Width()) + ";";
  };
  EXPECT_TRUE(pages->DrawTab(1, Rect(60, 0, 120, 20), false));
  pages->SetOwnerDraw(false);
  EXPECT_FALSE(pages->DrawTab(0, Rect(0, 0, 60, 20), true));
  EXPECT_EQ(drawn, "1-60;");
}

TEST_F(SuiteControls, AttachedLabelFollowsItsFocusControl) {
  auto* edit = form_->Make<TEdit>("edPrintDate");
  auto* label = form_->Make<TDBLabel>("lblToday");
  label->SetCaption(SysText("制表日期"));
  label->SetFocusControl(edit);
  EXPECT_EQ(label->Left() + label->Width(), edit->Left() - 3);
  label->SetSpacing(8);
  EXPECT_EQ(label->Left() + label->Width(), edit->Left() - 8);
}

// A property or event that disappears from a control shows up here at once.
TEST(ControlClassReference, MatchesTheCheckedInText) {
  RegisterControlClasses();
  const std::string dump = DumpClasses(ControlClasses());
  const std::string path = std::string(QC_SOURCE_DIR) + "/tests/controls/classes.txt";
  std::ifstream in(path, std::ios::binary);
  std::stringstream expected;
  expected << in.rdbuf();
  if (dump != expected.str()) {
    const std::string fresh = std::string(QC_BINARY_DIR) + "/controls_classes.txt";
    std::ofstream(fresh, std::ios::binary) << dump;
    FAIL() << "class reference changed; if on purpose, copy " << fresh << " to " << path;
  }
}

}  // namespace
}  // namespace nv
