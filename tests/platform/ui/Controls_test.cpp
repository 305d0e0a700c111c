#include <gtest/gtest.h>

#include "platform/core/CodePage.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Input.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Menus.h"
#include "platform/ui/UiClasses.h"

namespace nv {
namespace {

struct ControlsTest : ::testing::Test {
  void SetUp() override {
    RegisterUiClasses();
    form = nv::Create<TForm>(nullptr);
  }
  void TearDown() override { form->Free(); }
  template <class T>
  T* Make(const char* name, TWinControl* parent = nullptr) {
    auto* c = static_cast<T*>(FindClass(T::StaticClassInfo().ClassName()).CreateComponent(form));
    c->SetName(name);
    c->SetParent(parent ? parent : form);
    return c;
  }
  TForm* form;
};

TEST_F(ControlsTest, PropertiesByNameAndPath) {
  auto* edt = Make<TEdit>("edtTD001");
  SetPropValue(*edt, "Font.Name", "Tahoma");
  SetPropValue(*edt, "Font.Charset", "GB2312_CHARSET");
  SetPropValue(*edt, "Color", "$AFFFFF");
  SetPropValue(*edt, "Text", "A01");
  SetPropValue(*edt, "Enabled", "False");
  EXPECT_EQ(edt->Font()->Name(), "Tahoma");
  EXPECT_EQ(GetOrdProp(*edt, "Font.Charset"), 134);
  EXPECT_EQ(GetPropValue(*edt, "Color"), "11534335");  // unnamed colours are numbers
  EXPECT_EQ(edt->Color(), ToColor(0xAFFFFF));
  EXPECT_EQ(edt->Text(), "A01");
  EXPECT_FALSE(edt->Enabled());
  EXPECT_FALSE(edt->ParentFont()) << "a font set on the control leaves the parent's";

  // what the option form asks of controls by property name
  auto* btn = Make<TButton>("btnOk");
  auto* cbo = Make<TComboBox>("cboDateType");
  auto* chk = Make<TCheckBox>("chkAudit");
  auto* mo = Make<TMemo>("moUnits");
  struct Case {
    TControl* control;
    const char* prop;
    bool published;
  };
  const Case cases[] = {{btn, "Text", false},   {btn, "Color", false}, {cbo, "ItemIndex", true},
                        {chk, "Checked", true}, {mo, "Lines", true},   {edt, "ImeName", false},
                        {edt, "OnEnter", true}, {chk, "Color", true}};
  for (const Case& c : cases)
    EXPECT_EQ(IsPublishedProp(*c.control, c.prop), c.published)
        << c.control->Name() << "." << c.prop;
}

TEST_F(ControlsTest, HandlersSavedReplacedAndRestoredByName) {
  auto* edt = Make<TEdit>("edPrintDate");
  int own = 0;
  edt->OnEnter = [&](TObject*) { ++own; };
  TMethod saved = GetMethodProp(*edt, "OnEnter");
  int wired = 0;
  edt->OnEnter = [&](TObject*) { ++wired; };
  edt->SetFocus();
  SetMethodProp(*edt, "OnEnter", saved);
  form->SetFocus();
  edt->SetFocus();
  EXPECT_EQ(wired, 1);
  EXPECT_EQ(own, 1);
}

TEST_F(ControlsTest, MaskEditLaysTextUnderTheMask) {
  auto* ed = Make<TMaskEdit>("edPrintDate");
  struct Case {
    const char* name;
    const char* mask;
    const char* set;
    const char* text;
    const char* shown;
  };
  const Case cases[] = {
      {"date keeps literals", "99/99/9999;1; ", "03/07/2004", "03/07/2004", "03/07/2004"},
      {"blank date", "99/99/9999;1; ", "", "  /  /    ", "  /  /    "},
      {"year first", "9999-99-99;1; ", "2004-3", "2004-3 -  ", "2004-3 -  "},
      {"without literals", "9999/99;0;_", "200403", "200403", "2004/03"},
      {"without literals, partial", "9999/99;0;_", "20", "20", "20__/__"},
      {"letters refused in digits", "99/99;1; ", "ab/12", "  /12", "  /12"},
      {"upper case", ">LL;1;_", "ab", "AB", "AB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ed->SetEditMask(c.mask);
    ed->SetText(c.set);
    EXPECT_EQ(ed->Text(), c.text);
    EXPECT_EQ(ed->EditText(), c.shown);
  }
  // the blank text of a ";1" mask, found as the framework finds it
  ed->SetEditMask("99/99/9999;1; ");
  ed->SetText("12/31/2004");
  ed->SetEditMask("99/99/9999;0; ");
  ed->SetText("");
  ed->SetEditMask("99/99/9999;1; ");
  EXPECT_EQ(ed->Text(), "  /  /    ");
  EXPECT_EQ(ed->BlankText(), "  /  /    ");
}

TEST_F(ControlsTest, TypingIntoAMaskedDateSkipsLiterals) {
  auto* ed = Make<TMaskEdit>("edtDate");
  ed->SetEditMask("9999/99/99;1; ");
  EnterText(*ed, "2004x0307");
  EXPECT_EQ(ed->Text(), "2004/03/07");
  PressKey(*ed, VK_BACK);
  EXPECT_EQ(ed->Text(), "2004/03/0 ");
}

TEST_F(ControlsTest, ComboBoxStylesItemsAndEvents) {
  auto* cbo = Make<TComboBox>("cboSendStatus");
  cbo->Items()->SetText("已传送\r\n未传送\r\n全部\r\n");
  std::string log;
  cbo->OnChange = [&](TObject*) { log += "change;"; };
  cbo->OnDropDown = [&](TObject*) { log += "drop;"; };
  cbo->SetItemIndex(2);
  EXPECT_EQ(cbo->Text(), "全部");
  EXPECT_EQ(log, "") << "a program's choice raises nothing";
  ChooseItem(*cbo, "未传送");
  EXPECT_EQ(cbo->ItemIndex(), 1);
  EXPECT_EQ(log, "drop;change;");
  cbo->SetText("free text");
  EXPECT_EQ(cbo->ItemIndex(), -1);
  EXPECT_EQ(cbo->Text(), "free text");
  cbo->SetStyle(csDropDownList);
  cbo->SetText("nope");
  EXPECT_EQ(cbo->Text(), "");
  cbo->SetText("全部");
  EXPECT_EQ(cbo->ItemIndex(), 2);
  cbo->Items()->Delete(2);
  EXPECT_EQ(cbo->ItemIndex(), -1);
}

TEST_F(ControlsTest, CheckBoxRadioButtonAndRadioGroup) {
  auto* chk = Make<TCheckBox>("chkPermit");
  int clicks = 0;
  chk->OnClick = [&](TObject*) { ++clicks; };
  chk->SetChecked(true);
  ClickControl(*chk);
  EXPECT_FALSE(chk->Checked());
  EXPECT_EQ(clicks, 2) << "setting Checked clicks once, the user's click once";

  auto* rg = Make<TRadioGroup>("rgSendType");
  rg->Items()->SetText("打印\r\nFax/Email\r\n");
  rg->SetColumns(2);
  rg->SetItemIndex(0);
  int groupClicks = 0;
  rg->OnClick = [&](TObject*) { ++groupClicks; };
  ASSERT_EQ(rg->ButtonCount(), 2);
  EXPECT_TRUE(rg->Buttons(0)->Checked());
  ChooseItem(*rg, 1);
  EXPECT_EQ(rg->ItemIndex(), 1);
  EXPECT_FALSE(rg->Buttons(0)->Checked());
  EXPECT_EQ(groupClicks, 1);
  EXPECT_EQ(rg->Buttons(1)->Parent(), rg) << "a button inside a radio group counts as the group";
  EXPECT_EQ(form->FindComponent(""), nullptr);
}

TEST_F(ControlsTest, LabelFocusControlAndAutoSize) {
  auto* edt = Make<TEdit>("edtTD001");
  auto* lbl = Make<TLabel>("lblTD001");
  lbl->Font()->SetHeight(-12);
  lbl->SetCaption(SysText("单别"));  // two double-byte characters
  EXPECT_EQ(lbl->Width(), 24);
  SetPropValue(*lbl, "FocusControl", "edtTD001");
  EXPECT_EQ(lbl->FocusControl(), edt);
  delete edt;
  EXPECT_EQ(lbl->FocusControl(), nullptr);
}

TEST_F(ControlsTest, MenusShortcutsAndChecks) {
  auto* menu = new TPopupMenu(form);
  auto* n7 = new TMenuItem(form);
  auto* n8 = new TMenuItem(form);
  n7->SetParentComponent(menu);
  n8->SetParentComponent(menu);
  for (TMenuItem* i : {n7, n8}) {
    i->SetRadioItem(true);
  }
  n7->SetChecked(true);
  n8->SetChecked(true);
  EXPECT_FALSE(n7->Checked());
  EXPECT_EQ(n7->GetParentComponent(), menu);
  int clicked = 0;
  n8->OnClick = [&](TObject*) { ++clicked; };
  n8->SetShortCutKey(TextToShortCut("Ctrl+S"));
  EXPECT_EQ(n8->ShortCutKey(), 0x4053);
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F2, {ssShift})), "Shift+F2");
  EXPECT_TRUE(menu->IsShortCut('S', {ssCtrl}));
  n8->SetEnabled(false);
  EXPECT_FALSE(menu->IsShortCut('S', {ssCtrl}));
  EXPECT_EQ(clicked, 1);
  auto* pm = new TEdit(form);
  pm->SetParent(form);
  pm->SetPopupMenu(menu);
  delete menu;
  EXPECT_EQ(pm->PopupMenu(), nullptr);
}

TEST_F(ControlsTest, FontFollowsTheParentUntilSetOnTheControl) {
  auto* pnl = Make<TPanel>("pnlCondition");
  auto* edt = Make<TEdit>("edtA", pnl);
  form->Font()->SetName("宋体");
  EXPECT_EQ(edt->Font()->Name(), "宋体");
  edt->Font()->SetHeight(-20);
  form->Font()->SetName("Tahoma");
  EXPECT_EQ(edt->Font()->Name(), "宋体");
  EXPECT_EQ(pnl->Font()->Name(), "Tahoma");
}

}  // namespace
}  // namespace nv
