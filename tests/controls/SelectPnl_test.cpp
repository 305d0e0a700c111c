#include "controls/SelectPnl.h"

#include <gtest/gtest.h>

#include "platform/core/CodePage.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Input.h"

namespace nv {
namespace {

// An option window holding one panel; it counts the lookup requests it receives.
class TfrmPanel : public TForm {
  NV_CLASS(TfrmPanel, TForm)
 public:
  explicit TfrmPanel(TComponent* owner) : TForm(owner) {
    SetBounds(0, 0, 500, 300);
    panel = new TSelectPanel(this);
    panel->SetName("spnTD001");
    panel->SetParent(this);
    SetMessageHandler(WM_USER + 10, [this](TMessage& m) {
      requests.push_back(static_cast<TWinControl*>(ParamToControl(m.LParam)));
    });
  }
  TSelectPanel* panel;
  std::vector<TWinControl*> requests;
};
NV_PUBLISH(TfrmPanel) {}

class SelectPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    HeadlessInteraction().Reset();
    form_ = new TfrmPanel(nullptr);
    panel_ = form_->panel;
  }
  void TearDown() override { delete form_; }
  TfrmPanel* form_ = nullptr;
  TSelectPanel* panel_ = nullptr;
};

TEST_F(SelectPanel, NewPanelHasThePublishedDefaults) {
  EXPECT_EQ(panel_->BoundsRect(), Rect(0, 0, 353, 45));
  EXPECT_EQ(panel_->Style(), sp_Range);
  EXPECT_TRUE(panel_->UserChoice());
  EXPECT_TRUE(panel_->IsRangeMode());
  EXPECT_EQ(panel_->DateSign(), "/");
  EXPECT_EQ(panel_->HintWord(), SysText("区间选择"));
  EXPECT_EQ(panel_->BeginWords()->Text(), SysText("起\r\n起\r\n"));
  EXPECT_EQ(panel_->FinalWords()->Text(), SysText("止\r\n止\r\n"));
  ASSERT_EQ(panel_->ChildHints()->Count(), 9);
  EXPECT_EQ(panel_->edFinal->Hint(), SysText("区间选择-截止信息"));
  EXPECT_EQ(panel_->btnClear->Hint(), SysText("多选-删除己选信息"));
  EXPECT_EQ(panel_->GlyphIndex(), 8);
  EXPECT_EQ(panel_->btnList->GlyphIndex(), 8);
  EXPECT_EQ(panel_->btnDelete->GlyphIndex(), 47);
  EXPECT_EQ(panel_->btnClear->NumGlyphs(), 2);
  EXPECT_EQ(panel_->OtherWidth(), 200);
  EXPECT_EQ(panel_->OtherHeight(), 105);
  EXPECT_TRUE(panel_->CanOpenWin());
  EXPECT_TRUE(panel_->ColumnsAutoSize());
  EXPECT_EQ(panel_->ListBox->Cursor(), crHandPoint);
  EXPECT_FALSE(panel_->SwitchBox->Visible());
  EXPECT_TRUE(panel_->RangePanel->Visible());
  EXPECT_FALSE(panel_->ListPanel->Visible());
}

// Default font: text height 12, six pixels a byte, so a one-character word is 12 wide.
struct LayoutCase {
  const char* name;
  TSelectStyle style;
  bool vertical;
  bool buttons;
  TRect panel, lblBegin, edBegin, btnBegin, lblFinal, edFinal, btnFinal;
};

TEST_F(SelectPanel, RangeLayouts) {
  const LayoutCase cases[] = {
      {"horizontal with buttons", sp_Range, false, true, Rect(2, 15, 350, 42), Bounds(2, 1, 12, 12),
       Bounds(15, 1, 133, 24), Bounds(150, 1, 23, 23), Bounds(175, 1, 12, 12),
       Bounds(189, 1, 133, 24), Bounds(324, 1, 23, 23)},
      {"horizontal without buttons", sp_Range, false, false, Rect(2, 15, 350, 42),
       Bounds(2, 1, 12, 12), Bounds(15, 1, 158, 24), Bounds(175, 1, 23, 23), Bounds(177, 1, 12, 12),
       Bounds(191, 1, 158, 24), Bounds(351, 1, 23, 23)},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    panel_->SetCanOpenWin(c.buttons);
    EXPECT_EQ(panel_->RangePanel->BoundsRect(), c.panel);
    EXPECT_EQ(panel_->lblBegin->BoundsRect(), c.lblBegin);
    EXPECT_EQ(panel_->edBegin->BoundsRect(), c.edBegin);
    EXPECT_EQ(panel_->btnBegin->BoundsRect(), c.btnBegin);
    EXPECT_EQ(panel_->lblFinal->BoundsRect(), c.lblFinal);
    EXPECT_EQ(panel_->edFinal->BoundsRect(), c.edFinal);
    EXPECT_EQ(panel_->btnFinal->BoundsRect(), c.btnFinal);
  }
}

TEST_F(SelectPanel, VerticalRangeSwapsTheSizeAndStacksTheEdits) {
  panel_->SetOtherWidth(248);
  panel_->SetOtherHeight(73);
  panel_->SetUseVertical(true);
  EXPECT_EQ(panel_->BoundsRect(), Rect(0, 0, 248, 73));
  EXPECT_EQ(panel_->OtherWidth(), 353);
  // Range panel 243 x 55: gap (55 - 48) div 3 = 2.
  EXPECT_EQ(panel_->RangePanel->BoundsRect(), Bounds(2, 15, 243, 55));
  EXPECT_EQ(panel_->lblBegin->BoundsRect(), Bounds(2, 2, 12, 12));
  EXPECT_EQ(panel_->edBegin->BoundsRect(), Bounds(16, 2, 202, 24));
  EXPECT_EQ(panel_->btnBegin->BoundsRect(), Bounds(219, 2, 23, 23));
  EXPECT_EQ(panel_->lblFinal->BoundsRect(), Bounds(2, 28, 12, 12));
  EXPECT_EQ(panel_->edFinal->BoundsRect(), Bounds(16, 28, 202, 24));
  EXPECT_EQ(panel_->btnFinal->BoundsRect(), Bounds(219, 28, 23, 23));
}

TEST_F(SelectPanel, ListLayoutAndUserChoicePlacement) {
  panel_->SetStyle(sp_Discrete);
  EXPECT_EQ(panel_->BoundsRect(), Rect(0, 0, 200, 105));  // swapped from a range
  EXPECT_EQ(panel_->ListPanel->BoundsRect(), Bounds(2, 15, 195, 87));
  EXPECT_EQ(panel_->ListBox->BoundsRect(), Bounds(0, 0, 169, 87));
  EXPECT_EQ(panel_->btnList->BoundsRect(), Bounds(171, 0, 23, 23));
  EXPECT_EQ(panel_->btnDelete->BoundsRect(), Bounds(171, 23, 23, 23));
  EXPECT_EQ(panel_->btnClear->BoundsRect(), Bounds(171, 46, 23, 23));
  EXPECT_TRUE(panel_->ListPanel->Visible());
  EXPECT_FALSE(panel_->RangePanel->Visible());
  EXPECT_FALSE(panel_->IsRangeMode());

  panel_->SetStyle(sp_UserChoice);  // from a list: no swap
  EXPECT_EQ(panel_->BoundsRect(), Rect(0, 0, 200, 105));
  EXPECT_TRUE(panel_->SwitchBox->Visible());
  // Switch box: caption four characters (48) + 24 wide, 12 + 2 high, at caption height + 1.
  EXPECT_EQ(panel_->SwitchBox->BoundsRect(), Bounds(16, 13, 72, 14));
  EXPECT_EQ(panel_->RangePanel->BoundsRect(), Bounds(2, 27, 196, 76));
  EXPECT_TRUE(panel_->RangePanel->Visible());
  EXPECT_TRUE(panel_->IsRangeMode());
  EXPECT_EQ(panel_->lblBegin->Caption(), SysText("起"));

  int typeClicks = 0;
  panel_->OnTypeClick = [&](TObject*) { ++typeClicks; };
  panel_->SetUserChoice(false);
  EXPECT_EQ(typeClicks, 1);
  EXPECT_FALSE(panel_->IsRangeMode());
  EXPECT_TRUE(panel_->ListPanel->Visible());
  EXPECT_FALSE(panel_->RangePanel->Visible());
}

TEST_F(SelectPanel, StyleChangeEventsAndRefusal) {
  std::string log;
  panel_->OnStyleChanging = [&](TObject*, TSelectStyle now, TSelectStyle& next, bool& accept) {
    log += "changing " + std::to_string(now) + ">" + std::to_string(next) + ";";
    accept = next != sp_UserChoice;
  };
  panel_->OnStyleChange = [&](TObject*, TSelectStyle old, TSelectStyle next) {
    log += "change " + std::to_string(old) + ">" + std::to_string(next) + ";";
  };
  const TRect before = panel_->edBegin->BoundsRect();
  panel_->SetStyle(sp_UserChoice);
  EXPECT_EQ(panel_->Style(), sp_Range);
  EXPECT_EQ(panel_->BoundsRect(), Rect(0, 0, 353, 45));
  EXPECT_EQ(panel_->edBegin->BoundsRect(), before);
  EXPECT_FALSE(panel_->SwitchBox->Visible());
  panel_->SetStyle(sp_Discrete);
  EXPECT_EQ(log, "changing 0>2;changing 0>1;change 0>1;");
}

TEST_F(SelectPanel, LookupButtonsAskTheOwnerOnceThenRaiseTheEvent) {
  std::vector<std::pair<TGSpeedButton*, TWinControl*>> buttons = {
      {panel_->btnBegin, panel_->edBegin},
      {panel_->btnFinal, panel_->edFinal},
  };
  std::vector<TWinControl*> events;
  panel_->OnOpenWinClick = [&](TSelectPanel* p, TWinControl* target) {
    EXPECT_EQ(p, panel_);
    EXPECT_EQ(form_->requests.size(), events.size() + 1);  // the request came first
    events.push_back(target);
  };
  for (auto& [button, target] : buttons) {
    ClickControl(*button);
    EXPECT_TRUE(target->Focused());
  }
  panel_->SetStyle(sp_Discrete);
  ClickControl(*panel_->btnList);
  EXPECT_TRUE(panel_->ListBox->Focused());
  const std::vector<TWinControl*> expected = {panel_->edBegin, panel_->edFinal, panel_->ListBox};
  EXPECT_EQ(form_->requests, expected);
  EXPECT_EQ(events, expected);
}

TEST_F(SelectPanel, WordsAndHints) {
  TStringList one;
  one.Add("From");
  panel_->SetBeginWords(&one);
  EXPECT_EQ(panel_->BeginWords()->Count(), 1);
  EXPECT_EQ(panel_->lblBegin->Caption(), "From");
  TStringList none;
  panel_->SetFinalWords(&none);
  EXPECT_EQ(panel_->FinalWords()->Count(), 0);
  TStringList hints;
  hints.Add("switch");
  hints.Add("begin");
  panel_->SetChildHints(&hints);
  EXPECT_EQ(panel_->SwitchBox->Hint(), "switch");
  EXPECT_EQ(panel_->edBegin->Hint(), "begin");
  EXPECT_EQ(panel_->btnBegin->Hint(), SysText("区间选择-起始信息开窗"));  // entry 2 missing
}

TEST_F(SelectPanel, GlyphIndexWithoutPictureFallsBackToNone) {
  panel_->SetGlyphIndex(9);
  EXPECT_EQ(panel_->btnList->GlyphIndex(), 9);
  panel_->SetGlyphIndex(30);  // in range, no picture
  EXPECT_EQ(panel_->GlyphIndex(), 30);
  for (TF2Button* b : {panel_->btnBegin, panel_->btnFinal, panel_->btnList})
    EXPECT_EQ(b->GlyphIndex(), 0);
}

TEST_F(SelectPanel, EnabledReachesEveryInnerControl) {
  panel_->SetEnabled(false);
  EXPECT_FALSE(panel_->edBegin->Enabled());
  EXPECT_FALSE(panel_->btnClear->Enabled());
  panel_->SetEnabled(true);
  EXPECT_TRUE(panel_->ListBox->Enabled());
}

TEST_F(SelectPanel, BeginAndEndPutInOrderOnExit) {
  struct Case {
    const char* name;
    TSelectValueType type;
    TDateType dateType;
    bool autoChange;
    const char* begin;
    const char* end;
    const char* wantBegin;
    const char* wantEnd;
  };
  const Case cases[] = {
      {"dates swapped", vt_Date, dt_YYYYMMDD, true, "2004/05/01", "2004/03/01", "2004/03/01",
       "2004/05/01"},
      {"dates kept without AutoChangeDateSite", vt_Date, dt_YYYYMMDD, false, "2004/05/01",
       "2004/03/01", "2004/05/01", "2004/03/01"},
      {"year and month read as day 01", vt_Date, dt_YYYYMMDD, true, "2004/05", "2004/05/02",
       "2004/05", "2004/05/02"},
      {"month first", vt_Date, dt_MMDDYYYY, true, "12/01/2003", "01/15/2004", "12/01/2003",
       "01/15/2004"},
      {"years from 1911", vt_Date, dt_YYYMMDD, true, "093/01/01", "92/12/31", "92/12/31",
       "093/01/01"},
      {"unparseable date counts as 0", vt_Date, dt_YYYYMMDD, true, "2004/02/30", "2004/01/01",
       "2004/02/30", "2004/01/01"},
      {"numbers as integers", vt_Number, dt_NoneCare, true, "10", "9", "9", "10"},
      {"strings byte-wise", vt_String, dt_NoneCare, true, "10", "9", "10", "9"},
      {"strings swapped", vt_String, dt_NoneCare, true, " B ", "A", "A", "B"},
      {"discarded value kept", vt_String, dt_NoneCare, true, "*", "A", "*", "A"},
      {"empty end never swaps", vt_Number, dt_NoneCare, true, "5", "", "5", ""},
      {"floats with thousands", vt_Float, dt_NoneCare, true, "1,000.5", "99.5", "99.5", "1,000.5"},
      {"other mask untouched", vt_OtherMask, dt_NoneCare, true, "B", "A", "B", "A"},
  };
  panel_->SetUseDiscard(true);
  panel_->SetDiscard("*");
  auto* other = new TEdit(form_);
  other->SetParent(form_);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panel_->SetValueType(c.type);
    panel_->SetDateType(c.dateType);
    panel_->SetAutoChangeDateSite(c.autoChange);
    panel_->edBegin->SetText(c.begin);
    panel_->edFinal->SetText(c.end);
    int exits = 0;
    panel_->OnExit = [&](TObject* sender) {
      EXPECT_EQ(sender, panel_);
      ++exits;
    };
    panel_->edBegin->SetFocus();
    other->SetFocus();
    EXPECT_EQ(panel_->edBegin->Text(), c.wantBegin);
    EXPECT_EQ(panel_->edFinal->Text(), c.wantEnd);
    EXPECT_EQ(exits, 1);
  }
}

TEST_F(SelectPanel, DateTexts) {
  struct Case {
    TDateType type;
    const char* text;
    int value;
  };
  const Case cases[] = {
      {dt_YYYYMMDD, "2004/05", 20040501}, {dt_MMDDYYYY, "05/2004", 20040501},
      {dt_DDMMYYYY, "05/2004", 20040501}, {dt_DDMMYYYY, "31/12/2003", 20031231},
      {dt_YYMMDD, "92/2/29", 0},          {dt_YYMMDD, "93/2/28", 20040228},
      {dt_YYYYMMDD, "2004-05-01", 0},     {dt_YYYYMMDD, "2004/x/01", 0},
      {dt_YYYYMMDD, "2004/05/01/01", 0},  {dt_YYYYMMDD, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    panel_->SetDateType(c.type);
    EXPECT_EQ(panel_->DateValue(c.text), c.value);
  }
}

TEST_F(SelectPanel, AddItemMakesColumnsPadsAndDropsDuplicates) {
  TOruListView* list = panel_->ListBox;
  EXPECT_FALSE(list->AddItem({}));
  ASSERT_TRUE(list->AddItem({"A01", "Apple", "kg"}));
  ASSERT_EQ(panel_->Columns()->Count(), 3);
  EXPECT_EQ(panel_->Columns()->Items(2)->Caption(), "Data3");
  EXPECT_EQ(panel_->Columns()->Items(1)->Width(), 5 * 6);  // "Apple" and "Data2": five W
  ASSERT_TRUE(list->AddItem({"B"}));
  EXPECT_EQ(panel_->Items()->Item(1)->SubItems()->Count(), 2);  // padded
  list->Clear();
  panel_->SetStyle(sp_Discrete);
  panel_->SetCheckDuplicate(cd_CaseInsensitive);
  EXPECT_TRUE(panel_->SortListBox());
  list->AddItem({"abc"});
  list->AddItem({"ABC"});
  EXPECT_EQ(panel_->Items()->Count(), 1);
  panel_->SetCheckDuplicate(cd_CheckCase);
  list->AddItem({"Abc"});
  EXPECT_EQ(panel_->Items()->Count(), 2);
}

TEST_F(SelectPanel, SchemeValuesRoundTrip) {
  const std::string c1(1, '\x01'), c3(1, '\x03'), c4(1, '\x04');
  struct Case {
    const char* name;
    std::string text;
    int rows;
  };
  const Case cases[] = {
      {"range", "sp_Range" + c3 + "A01" + c3 + "A09", 0},
      {"range with empty end", "sp_Range" + c3 + "A01" + c3, 0},
      {"rows with sub items", "sp_Discrete" + c3 + "A" + c1 + "x" + c4 + "B" + c1 + c4, 2},
      {"empty list", "sp_Discrete" + c3, 0},
      {"user choice range", "sp_UserChoice" + c3 + "True" + c3 + "1" + c3 + "2", 0},
      {"user choice rows", "sp_UserChoice" + c3 + "False" + c3 + "K" + c4, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(panel_->SetSchemeValue(c.text));
    EXPECT_EQ(panel_->Items()->Count(), c.rows);
    EXPECT_EQ(panel_->SchemeValue(), c.text);
  }
  // A row text restores padded rows: (A, x) and (B, empty).
  panel_->SetRowText("A" + c1 + "x" + c4 + "B" + c4);
  ASSERT_EQ(panel_->Items()->Count(), 2);
  EXPECT_EQ(panel_->Items()->Item(1)->SubItems()->Text(), "\r\n");
  for (const std::string& bad :
       {std::string("sp_Bogus"), "sp_Range" + c3 + "A", "sp_UserChoice" + c3 + "Maybe" + c3 + "x"})
    EXPECT_FALSE(panel_->SetSchemeValue(bad)) << bad;
}

// Each row as caption|sub item, in list order.
std::string Rows(const TSelectPanel& panel) {
  std::string text;
  for (int i = 0; i < panel.Items()->Count(); ++i) {
    const TListItem* row = panel.Items()->Item(i);
    text += (i > 0 ? " " : "") + row->Caption();
    for (int k = 0; k < row->SubItems()->Count(); ++k) text += "|" + row->SubItems()->Get(k);
  }
  return text;
}

TEST_F(SelectPanel, HeaderClicksSortTheRowsCollatedAndCaseInsensitive) {
  struct Case {
    const char* name;
    std::vector<std::vector<std::string>> rows;
    std::vector<int> clicks;
    std::string want;
  };
  const Case cases[] = {
      // The caption column starts as the sort column, ascending: its first click descends.
      {"caption column first click descends",
       {{"banana"}, {"Apple"}, {"cherry"}},
       {0},
       "cherry banana Apple"},
      {"second click ascends, case ignored",
       {{"banana"}, {"Apple"}, {"cherry"}},
       {0, 0},
       "Apple banana cherry"},
      {"sub item column, ties by caption",
       {{"B", "x"}, {"A", "y"}, {"C", "X"}},
       {1},
       "B|x C|X A|y"},
      {"caption column, ties by column 1", {{"a", "2"}, {"A", "1"}}, {0, 0}, "A|1 a|2"},
      {"another column starts ascending", {{"b", "1"}, {"a", "2"}}, {1, 1, 0}, "a|2 b|1"},
      {"missing sub item sorts as empty", {{"a", "z"}, {"b", ""}}, {1}, "b| a|z"},
      // GB bytes put the second-level 亍 after 中; the collation reads them as chu and zhong.
      {"Chinese by pronunciation",
       {{SysText("中")}, {SysText("亍")}, {SysText("阿")}},
       {0, 0},
       SysText("阿 亍 中")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    delete panel_;
    panel_ = new TSelectPanel(form_);
    panel_->SetParent(form_);
    panel_->SetStyle(sp_Discrete);
    for (const auto& row : c.rows) panel_->ListBox->AddItem(row);
    for (int column : c.clicks) panel_->ListBox->ClickColumn(column);
    EXPECT_EQ(Rows(*panel_), c.want);
  }
}

TEST_F(SelectPanel, InnerMouseEventsReachThePanelWithItsSenderRule) {
  struct Case {
    const char* name;
    TControl* inner;
    bool keepsSender;
  };
  panel_->SetStyle(sp_UserChoice);
  const Case cases[] = {
      {"begin edit", panel_->edBegin, true},    {"end edit", panel_->edFinal, true},
      {"list", panel_->ListBox, true},          {"begin button", panel_->btnBegin, false},
      {"switch box", panel_->SwitchBox, false}, {"clear button", panel_->btnClear, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TObject* sender = nullptr;
    TPoint at{-1, -1};
    std::string log;
    panel_->OnMouseDown = [&](TObject* s, TMouseButton, TShiftState, int x, int y) {
      sender = s;
      at = TPoint{x, y};
      log += "down;";
    };
    panel_->OnMouseMove = [&](TObject*, TShiftState, int, int) { log += "move;"; };
    panel_->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { log += "up;"; };
    panel_->OnDblClick = [&](TObject* s) { log += s == sender ? "dbl;" : "dbl?;"; };
    c.inner->OnMouseDown(c.inner, mbLeft, {}, 3, 4);
    c.inner->OnMouseMove(c.inner, {}, 3, 4);
    c.inner->OnMouseUp(c.inner, mbLeft, {}, 3, 4);
    c.inner->OnDblClick(c.inner);
    EXPECT_EQ(log, "down;move;up;dbl;");
    TPoint want{3, 4};
    if (!c.keepsSender) {
      const TPoint origin = c.inner->FormOrigin(), panelOrigin = panel_->FormOrigin();
      want = TPoint{3 + origin.X - panelOrigin.X, 4 + origin.Y - panelOrigin.Y};
    }
    EXPECT_EQ(sender, c.keepsSender ? static_cast<TObject*>(c.inner) : panel_);
    EXPECT_EQ(at.X, want.X);
    EXPECT_EQ(at.Y, want.Y);
  }
}

TEST_F(SelectPanel, InnerClicksKeysAndListEventsReachThePanel) {
  std::vector<TObject*> clicks;
  panel_->OnClick = [&](TObject* s) { clicks.push_back(s); };
  panel_->SetStyle(sp_Discrete);
  panel_->ListBox->AddItem({"A"});
  panel_->ListBox->AddItem({"B"});
  ClickControl(*panel_->btnClear);  // the clear button still does its work first
  EXPECT_EQ(panel_->Items()->Count(), 0);
  ClickControl(*panel_->ListBox);
  EXPECT_EQ(clicks, (std::vector<TObject*>{panel_, panel_->ListBox}));

  std::vector<TObject*> keys;
  panel_->OnKeyDown = [&](TObject* s, Word&, TShiftState) { keys.push_back(s); };
  panel_->OnKeyPress = [&](TObject* s, char&) { keys.push_back(s); };
  panel_->SetStyle(sp_Range);
  panel_->edBegin->SetFocus();
  PressKey(*panel_->edBegin, 'X');
  ASSERT_FALSE(keys.empty());
  for (TObject* s : keys) EXPECT_EQ(s, panel_->edBegin);

  panel_->SetStyle(sp_Discrete);
  panel_->ListBox->AddItem({"A"});
  panel_->ListBox->AddItem({"B"});
  std::string selects;
  panel_->OnItemSelect = [&](TObject* s, TListItem* item, int index, bool selected) {
    EXPECT_EQ(s, panel_->ListBox);
    selects += item->Caption() + std::to_string(index) + (selected ? "+" : "-") + ";";
  };
  int changes = 0;
  panel_->OnItemChange = [&](TObject*, TListItem*, TItemChange) { ++changes; };
  panel_->Items()->Item(1)->SetSelected(true);
  EXPECT_EQ(selects, "B1+;");
  EXPECT_GT(changes, 0);
  bool asked = false;
  panel_->OnItemChanging = [&](TObject*, TListItem*, TItemChange, bool& allow) {
    asked = true;
    allow = false;
  };
  panel_->Items()->Item(0)->SetCaption("Z");
  EXPECT_TRUE(asked);
  EXPECT_EQ(panel_->Items()->Item(0)->Caption(), "A");
}

TEST_F(SelectPanel, ConditionValues) {
  panel_->edBegin->SetText("A01");
  panel_->edFinal->SetText("A09");
  Variant range = panel_->ConditionValue();
  ASSERT_EQ(range.ElementCount(), 3);
  EXPECT_EQ(range[0].AsString(), std::string(1, '\x04'));
  EXPECT_EQ(range[2].AsString(), "A09");
  panel_->SetStyle(sp_Discrete);
  panel_->ListBox->AddItem({"A", "x"});
  panel_->ListBox->AddItem({"B"});
  Variant rows = panel_->ConditionValue();
  ASSERT_EQ(rows.ElementCount(), 3);
  EXPECT_EQ(rows[0].AsString(), std::string(1, '\x05'));
  ASSERT_EQ(rows[2].ElementCount(), 2);
  EXPECT_EQ(rows[2][0].AsString(), "B");
  EXPECT_EQ(rows[2][1].AsString(), "");
}

}  // namespace
}  // namespace nv
