// The date condition editor and the date rules it leaves on the option form.
#include <gtest/gtest.h>

#include "ConditionForm.h"
#include "dateconditions/GeneConditionCF.h"
#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FormPicture.h"
#include "platform/ui/Input.h"

namespace nv::testing {
namespace {

std::string A(const char* utf8) {
  return SysText(utf8);
}
const std::string C3(1, '\x03');

std::string Fields(std::initializer_list<const char*> fields) {
  std::string text;
  for (const char* f : fields) text += (text.empty() ? "" : C3) + f;
  return text;
}

std::string LastDialog() {
  const auto& journal = HeadlessInteraction().Journal();
  return journal.empty() ? std::string() : TrimRight(journal.back().Request.Text);
}

class DateConditionEditor : public DemoInstallation {
 protected:
  void SetUp() override {
    DemoInstallation::SetUp();
    form_ = NewForm();
    HeadlessInteraction().Reset();
  }
  Variant Open(TModalScript script) {
    Application()->PushModalDriver(std::move(script));
    return OpenDateConditionEditor(form_->DateFields(), *form_, 1);
  }
  TfrmQCPR31Cond* form_ = nullptr;
};

TEST_F(DateConditionEditor, OffersEveryDateFieldButThePrintDate) {
  std::vector<std::string> items;
  bool pnSpShown = false;
  Variant answer = Open(TModalScript().Do([&](TForm& dialog) {
    auto& editor = static_cast<TfrmGeneCondition&>(dialog);
    for (int i = 0; i < editor.cbodatecondition->Items()->Count(); ++i)
      items.push_back(editor.cbodatecondition->Items()->Get(i));
    pnSpShown = editor.pnSp->Visible() && !editor.pnEdit->Visible();
    EXPECT_EQ(editor.Caption(), form_->Caption());
    SaveFormPicture(dialog, std::string(QC_BINARY_DIR) + "/date_condition_editor.png");
    ChooseItem(*editor.cbodatecondition, 2);
    EXPECT_TRUE(editor.pnEdit->Visible() && !editor.pnSp->Visible());
    SaveFormPicture(dialog, std::string(QC_BINARY_DIR) + "/date_condition_editor_edit.png");
  }));
  EXPECT_EQ(items, (std::vector<std::string>{A("单据日期"), A("清场日期"), A("检查日期")}));
  EXPECT_TRUE(pnSpShown);
  EXPECT_EQ(VarToStr(answer[0]) + VarToStr(answer[1]) + VarToStr(answer[2]), "");  // cancelled
  ASSERT_EQ(form_->DateRules()->Count(), 3);
  EXPECT_EQ(form_->DateRules()->Get(0),
            Fields({"0", "splTD003", "N", "0", "0", "0", "0", "N", "0", "0", "0", "0", "D"}));
  EXPECT_EQ(form_->DateRules()->Get(2), Fields({"1", "edtTD020", "N", "0", "0", "0", "0", "D"}));
}

TEST_F(DateConditionEditor, EditingStoresTheRuleOfTheSelectedField) {
  Variant answer = Open(TModalScript()
                            .Click("spDate_E")
                            .Type("seSetDay_E1", "1")
                            .Choose("cboSetDay_E1", 1)
                            .Choose("cboSetDay_E2", 2)
                            .Do([](TForm& dialog) {
                              auto& editor = static_cast<TfrmGeneCondition&>(dialog);
                              EXPECT_FALSE(editor.seSetDay_E2->Enabled());  // last day: no days
                              EXPECT_FALSE(editor.seSetDay_B1->Enabled());  // begin still off
                            })
                            .Choose("cbodatecondition", 2)
                            .Click("edSetDate")
                            .Type("seSetDay1", "-2")
                            .Type("seSetDay2", "3")
                            .Choose("cbodatecondition", 0)
                            .Do([](TForm& dialog) {
                              auto& editor = static_cast<TfrmGeneCondition&>(dialog);
                              EXPECT_TRUE(editor.spDate_E->Checked());
                              EXPECT_EQ(editor.seSetDay_E1->Text(), "1");
                              EXPECT_EQ(editor.cboSetDay_E2->ItemIndex(), 2);
                            })
                            .Type("seSetDay_E1", "-")
                            .Focus("edConName")
                            .Do([](TForm& dialog) {
                              auto& editor = static_cast<TfrmGeneCondition&>(dialog);
                              EXPECT_EQ(editor.seSetDay_E1->Text(), "0");  // no number left
                              editor.seSetDay_E1->SetText("1");
                            })
                            .Key(VK_RETURN)  // Enter moves on
                            .Do([](TForm& dialog) {
                              EXPECT_EQ(dialog.ActiveControl(),
                                        static_cast<TfrmGeneCondition&>(dialog).cbodatecondition);
                            })
                            .Type("edConName", A("月末方案"))
                            .Click("btnOk"));
  EXPECT_EQ(VarToStr(answer[0]), A("月末方案"));
  EXPECT_EQ(VarToStr(answer[1]), form_->DateFields());
  EXPECT_EQ(form_->DateRules()->Get(0),
            Fields({"0", "splTD003", "N", "0", "0", "0", "0", "Y", "1", "1", "2", "0", "D"}));
  EXPECT_EQ(form_->DateRules()->Get(2), Fields({"1", "edtTD020", "Y", "-2", "0", "0", "3", "D"}));
}

TEST_F(DateConditionEditor, OkWantsANameAndAsksBeforeReplacingAScheme) {
  ASSERT_TRUE(form_->SaveScheme(form_->SchemeProperties(), A("旧方案"), false));
  HeadlessInteraction().Expect(dkMessageDlg, TDialogAnswer{mrOk, {}});  // blank name refused
  HeadlessInteraction().Expect(dkMessageDlg, TDialogAnswer{mrCancel, {}});
  HeadlessInteraction().Expect(dkMessageDlg, TDialogAnswer{mrOk, {}});
  std::vector<std::string> seen;
  auto note = [&seen](TForm& dialog) {
    seen.push_back(LastDialog());
    EXPECT_EQ(dialog.ModalResult(), mrNone);
    EXPECT_EQ(dialog.ActiveControl(), static_cast<TfrmGeneCondition&>(dialog).edConName);
  };
  Variant answer = Open(TModalScript()
                            .Type("edConName", "   ")
                            .Click("btnOk")
                            .Do(note)
                            .Type("edConName", A("旧方案"))
                            .Click("btnOk")
                            .Do(note)
                            .Click("btnOk"));
  EXPECT_EQ(seen, (std::vector<std::string>{A("方案名不可空白!"),
                                            A("此方案名已存在！是否将原来的方案替换为此方案?")}));
  EXPECT_EQ(VarToStr(answer[0]), A("旧方案"));
  EXPECT_TRUE(answer[2].AsBoolean());
}

TEST_F(DateConditionEditor, RulesMoveTheDateInTheFieldWhenTheSchemeIsSaved) {
  using TRule = TfrmBaseGene::TDateRule;
  auto shift = [](const char* count, const char* unit, const char* kind, const char* offset) {
    TRule::TShift s;
    s.Active = true;
    s.Count = count;
    s.Unit = unit;
    s.DayKind = kind;
    s.DayOffset = offset;
    return s;
  };
  struct Case {
    const char* name;
    TRule::TShift rule;
    const char* date;
    const char* stored;
  } cases[] = {
      {"first day of last month", shift("-1", "1", "1", "0"), "2004/05/15", "20040401"},
      {"last day of next month", shift("1", "1", "2", "0"), "2004/01/31", "20040229"},
      {"two weeks and three days", shift("2", "0", "0", "3"), "2004/03/01", "20040318"},
      {"Sunday of the week", shift("0", "0", "1", "0"), "2004/03/03", "20040229"},
      {"Saturday of next week", shift("1", "0", "2", "0"), "2004/03/03", "20040313"},
      {"nothing to move", shift("0", "0", "0", "0"), "2004/03/03", "20040303"},
      {"rule off", TRule::TShift(), "2004/03/03", "20040303"},
      {"no date", shift("1", "1", "1", "0"), "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRule panelRule;
    panelRule.IsPanel = true;
    panelRule.Name = "splTD003";
    panelRule.Begin = c.rule;
    TRule editRule;
    editRule.Name = "edtTD020";
    editRule.Begin = c.rule;
    form_->DateRules()->Clear();
    form_->DateRules()->Add(panelRule.Text());
    form_->DateRules()->Add(editRule.Text());
    form_->splTD003->edBegin->SetText(c.date);
    form_->splTD003->edFinal->SetText("2004/06/30");
    form_->edtTD020->SetText(c.date);
    EXPECT_EQ(form_->ResolveDateRule(*form_->splTD003), c.stored + C3 + "20040630");
    EXPECT_EQ(form_->ResolveDateRule(*form_->edtTD020), c.stored);
  }
  EXPECT_EQ(form_->ResolveDateRule(*form_->splTD008), "");  // a field without a rule

  // a count that is no number fails the save, not the program
  form_->DateRules()->Put(1, Fields({"1", "edtTD020", "Y", "x", "0", "0", "0", "D"}));
  form_->edtTD020->SetText("2004/03/03");
  EXPECT_FALSE(form_->SaveScheme(form_->SchemeProperties(), "X", false));
}

}  // namespace
}  // namespace nv::testing
