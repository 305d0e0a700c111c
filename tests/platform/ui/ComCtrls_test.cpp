#include "platform/ui/ComCtrls.h"

#include <gtest/gtest.h>

#include "platform/ui/Buttons.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Input.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Spin.h"
#include "platform/ui/UiClasses.h"
#include "platform/ui/wwdbcomb.h"

namespace nv {
namespace {

struct ComCtrlsTest : ::testing::Test {
  void SetUp() override {
    RegisterUiClasses();
    form = nv::Create<TForm>(nullptr);
  }
  void TearDown() override { form->Free(); }
  template <class T>
  T* Make(const char* name, TWinControl* parent = nullptr) {
    auto* c = new T(form);
    c->SetName(name);
    if constexpr (std::is_base_of_v<TControl, T>) c->SetParent(parent ? parent : form);
    return c;
  }
  TForm* form;
};

TEST_F(ComCtrlsTest, EveryPlacedClassIsCreatedByName) {
  for (const char* name : {"TForm",
                           "TLabel",
                           "TEdit",
                           "TMaskEdit",
                           "TMemo",
                           "TComboBox",
                           "TCheckBox",
                           "TRadioButton",
                           "TRadioGroup",
                           "TButton",
                           "TBitBtn",
                           "TSpeedButton",
                           "TToolBar",
                           "TToolButton",
                           "TPageControl",
                           "TTabSheet",
                           "TGroupBox",
                           "TPanel",
                           "TSplitter",
                           "TListView",
                           "TStatusBar",
                           "TProgressBar",
                           "TSpinEdit",
                           "TImageList",
                           "TPopupMenu",
                           "TMainMenu",
                           "TMenuItem",
                           "TStringGrid",
                           "TDrawGrid",
                           "TTreeView",
                           "TwwDBCustomComboBox",
                           "TOpenDialog",
                           "TSaveDialog",
                           "TPrinterSetupDialog"}) {
    TComponent* c = FindClass(name).CreateComponent(form);
    EXPECT_EQ(c->ClassName(), name);
  }
}

TEST_F(ComCtrlsTest, PageChangesAskFirstAndHiddenTabsAreSkipped) {
  auto* pg = Make<TPageControl>("pgOption");
  auto* ts1 = Make<TTabSheet>("tsOption1");
  auto* ts2 = Make<TTabSheet>("tsOption2");
  auto* ts3 = Make<TTabSheet>("tsFEP");
  for (TTabSheet* ts : {ts1, ts2, ts3}) ts->SetPageControl(pg);
  EXPECT_EQ(pg->ActivePage(), ts1) << "the first page shows";
  std::string log;
  bool allow = false;
  pg->OnChanging = [&](TObject*, bool& ok) {
    log += "changing;";
    ok = allow;
  };
  pg->OnChange = [&](TObject*) { log += "change;"; };
  ts2->OnShow = [&](TObject*) { log += "show2;"; };
  EXPECT_FALSE(pg->SelectTab(ts2));
  EXPECT_EQ(pg->ActivePage(), ts1);
  allow = true;
  EXPECT_TRUE(pg->SelectTab(ts2));
  EXPECT_EQ(log, "changing;changing;show2;change;");
  EXPECT_TRUE(ts2->Visible());
  EXPECT_FALSE(ts1->Visible());

  ts3->SetTabVisible(false);
  pg->SelectNextPage(true);
  EXPECT_EQ(pg->ActivePage(), ts1) << "the hidden tab is skipped, wrapping round";
  EXPECT_EQ(ts3->TabIndex(), -1);
  EXPECT_EQ(ts2->TabIndex(), 1);
  pg->SetActivePageIndex(1);
  ts2->SetTabVisible(false);
  EXPECT_EQ(pg->ActivePage(), ts1) << "hiding the active tab shows the next visible page";
  EXPECT_EQ(ts1->BoundsRect(), pg->ClientRect());
}

TEST_F(ComCtrlsTest, PageLeavesFocusOnThePageControlWhenItsControlHides) {
  auto* pg = Make<TPageControl>("pgOption");
  auto* ts1 = Make<TTabSheet>("tsOption1");
  auto* ts2 = Make<TTabSheet>("tsOption2");
  ts1->SetPageControl(pg);
  ts2->SetPageControl(pg);
  auto* edt = Make<TEdit>("edtA", ts1);
  edt->SetFocus();
  pg->SetActivePage(ts2);
  EXPECT_EQ(form->ActiveControl(), pg);
}

TEST_F(ComCtrlsTest, APageFreedBeforeItsPageControlTakesTheFocusWithIt) {
  auto* pg = Make<TPageControl>("pgOption");
  auto* ts1 = Make<TTabSheet>("tsOption1");
  auto* ts2 = Make<TTabSheet>("tsOption2");
  ts1->SetPageControl(pg);
  ts2->SetPageControl(pg);
  pg->SetActivePage(ts2);
  auto* edt = Make<TEdit>("edtA", ts2);
  edt->SetFocus();
  ASSERT_EQ(form->ActiveControl(), edt);
  delete ts2;  // as the form's owner list frees its pages before the page control
  EXPECT_EQ(form->ActiveControl(), nullptr);
  EXPECT_EQ(form->FocusedControl(), form);
  // Freeing the form then walks from the form's focus; the sanitizer run sees a stale page.
}

TEST_F(ComCtrlsTest, ListViewItemsSelectionEditingAndSorting) {
  auto* lv = Make<TListView>("lstCondition");
  lv->SetViewStyle(vsReport);
  lv->Columns()->Add()->SetCaption("方案名称");
  lv->Columns()->Add()->SetCaption("创建时间");
  for (const char* name : {"b", "A", "c"}) {
    TListItem* item = lv->Items()->Add();
    item->SetCaption(name);
    item->SubItems()->Add("2004/03/07");
  }
  lv->SetSortType(stText);
  std::vector<std::string> order;
  for (int i = 0; i < lv->Items()->Count(); ++i) order.push_back(lv->Items()->Item(i)->Caption());
  EXPECT_EQ(order, (std::vector<std::string>{"A", "b", "c"}));

  std::string log;
  lv->OnSelectItem = [&](TObject*, TListItem* item, bool selected) {
    log += item->Caption() + (selected ? "+" : "-") + ";";
  };
  lv->Items()->Item(0)->SetSelected(true);
  lv->Items()->Item(2)->SetSelected(true);
  EXPECT_EQ(log, "A+;A-;c+;") << "one selection without MultiSelect";
  EXPECT_EQ(lv->Selected(), lv->Items()->Item(2));
  EXPECT_EQ(lv->SelCount(), 1);

  // renaming in place: the handler may keep the old caption
  lv->OnEdited = [](TObject*, TListItem* item, std::string& s) {
    if (s.empty()) s = item->Caption();
  };
  TListItem* c = lv->Items()->Item(2);
  ASSERT_TRUE(c->EditCaption());
  lv->FinishCaptionEdit(c, "");
  EXPECT_EQ(c->Caption(), "c");
  lv->FinishCaptionEdit(c, "Z");
  EXPECT_EQ(lv->Items()->Item(2)->Caption(), "Z");
  lv->SetReadOnly(true);
  EXPECT_FALSE(c->EditCaption());

  TListColumn* clicked = nullptr;
  lv->OnColumnClick = [&](TObject*, TListColumn* column) { clicked = column; };
  lv->ClickColumn(1);
  EXPECT_EQ(clicked, lv->Columns()->Items(1));
  lv->SetColumnClick(false);
  clicked = nullptr;
  lv->ClickColumn(0);
  EXPECT_EQ(clicked, nullptr);

  lv->CustomSort(
      [](TListItem* a, TListItem* b) { return CompareText(b->Caption(), a->Caption()); });
  EXPECT_EQ(lv->Items()->Item(0)->Caption(), "Z");
  lv->Items()->Delete(0);
  EXPECT_EQ(lv->Selected(), nullptr);
  EXPECT_EQ(GetPropValue(*lv, "ViewStyle"), "vsReport");
  EXPECT_EQ(GetStrProp(*lv->Columns()->Items(0), "Caption"), "方案名称");
}

TEST_F(ComCtrlsTest, ToolButtonDropDownMenuAndStatusPanels) {
  auto* bar = Make<TToolBar>("ToolBar1");
  auto* insert = Make<TToolButton>("btnInsert", bar);
  auto* view = Make<TToolButton>("ToolButton1", bar);
  view->SetLeft(30);
  auto* menu = Make<TPopupMenu>("mnList");
  view->SetStyle(tbsDropDown);
  view->SetDropdownMenu(menu);
  bar->ArrangeButtons();
  EXPECT_EQ(view->Left(), insert->Width());
  int popups = 0;
  menu->OnPopup = [&](TObject*) { ++popups; };
  view->ClickArrow();
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(menu->PopupPoint().Y, view->FormOrigin().Y + view->Height());

  auto* sb = Make<TStatusBar>("StatusBar1");
  sb->Panels()->Add()->SetText("页 1/3");
  sb->Panels()->Add()->SetWidth(120);
  SetPropValue(*sb->Panels()->Items(1), "Text", "100%");
  EXPECT_EQ(sb->Panels()->Count(), 2);
  EXPECT_EQ(sb->Align(), alBottom);
  EXPECT_EQ(sb->Top() + sb->Height(), form->ClientHeight());
}

TEST_F(ComCtrlsTest, ProgressSpinGridTreeAndSpeedButtons) {
  auto* pb = Make<TProgressBar>("pbRender");
  pb->SetMax(5);
  pb->SetStep(2);
  pb->StepIt();
  pb->StepIt();
  pb->StepIt();
  EXPECT_EQ(pb->Position(), 0) << "stepping past the end starts again";
  pb->SetPosition(99);
  EXPECT_EQ(pb->Position(), 5);

  auto* spin = Make<TSpinEdit>("seCopies");
  spin->SetMinValue(1);
  spin->SetMaxValue(9);
  EXPECT_EQ(spin->Value(), 1);
  spin->SetFocus();
  PressKey(*spin, VK_UP);
  PressKey(*spin, VK_UP);
  EXPECT_EQ(spin->Value(), 3);
  spin->SetValue(42);
  EXPECT_EQ(spin->Text(), "9");

  auto* grid = Make<TStringGrid>("sgFields");
  grid->SetColCount(3);
  grid->SetRowCount(2);
  grid->SetCells(1, 1, "TD001");
  EXPECT_EQ(grid->Rows(1), (std::vector<std::string>{"", "TD001", ""}));
  grid->SetOptions(grid->Options() + TGridOptions{goTabs});
  grid->SetFocus();
  PressKey(*grid, VK_TAB);
  EXPECT_EQ(grid->Col(), 2);
  bool refuse = true;
  grid->OnSelectCell = [&](TObject*, int, int, bool& can) { can = !refuse; };
  EXPECT_FALSE(grid->FocusCell(1, 1));
  grid->SetRowCount(grid->RowCount() + 1);
  EXPECT_EQ(grid->RowCount(), 3);

  auto* tv = Make<TTreeView>("tvFields");
  TTreeNode* root = tv->Items()->AddChild(nullptr, "GMPTD");
  TTreeNode* child = tv->Items()->AddChild(root, "TD001");
  EXPECT_EQ(tv->Items()->Count(), 2);
  EXPECT_EQ(child->Level(), 1);
  TTreeNode* changed = nullptr;
  tv->OnChange = [&](TObject*, TTreeNode* n) { changed = n; };
  tv->SetSelected(child);
  EXPECT_EQ(changed, child);
  root->Delete();
  EXPECT_EQ(tv->Selected(), nullptr);

  auto* a = Make<TSpeedButton>("btnA");
  auto* b = Make<TSpeedButton>("btnB");
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  ClickControl(*a);
  ClickControl(*b);
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(b->Down());
  ClickControl(*b);
  EXPECT_TRUE(b->Down()) << "one button of a group stays down";
}

TEST_F(ComCtrlsTest, DataAwareComboMapsDisplayAndValue) {
  auto* cbo = Make<TwwDBCustomComboBox>("cboKind");
  cbo->Items()->Add("打印\t0");
  cbo->Items()->Add("Fax\t2");
  cbo->SetMapList(true);
  cbo->SetValue("2");
  EXPECT_EQ(cbo->ItemIndex(), 1);
  EXPECT_EQ(cbo->DisplayText(1), "Fax");
  EXPECT_EQ(cbo->Value(), "2");
  EXPECT_TRUE(cbo->InheritsFrom("TComboBox")) << "the language reader tests this class first";
}

}  // namespace
}  // namespace nv
