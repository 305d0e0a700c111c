// Condition schemes against the demo installation's application server: saving with date
// rules, restoring on a fresh form, the scheme list, renaming in place and deleting.
#include <gtest/gtest.h>

#include "ConditionForm.h"
#include "dateconditions/GeneConditionCF.h"
#include "platform/core/CodePage.h"
#include "platform/core/DateUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FormPicture.h"
#include "platform/ui/Input.h"

namespace nv::testing {
namespace {

std::string A(const char* utf8) {
  return SysText(utf8);
}
const std::string C1(1, '\x01'), C3(1, '\x03'), C4(1, '\x04');

std::string LastDialog() {
  const auto& journal = HeadlessInteraction().Journal();
  return journal.empty() ? std::string() : TrimRight(journal.back().Request.Text);
}

std::vector<std::string> Captions(const TListView& list) {
  std::vector<std::string> captions;
  for (int i = 0; i < list.Items()->Count(); ++i)
    captions.push_back(list.Items()->Item(i)->Caption());
  return captions;
}

TListItem* ItemNamed(const TListView& list, const std::string& caption) {
  for (int i = 0; i < list.Items()->Count(); ++i)
    if (list.Items()->Item(i)->Caption() == caption) return list.Items()->Item(i);
  return nullptr;
}

class Schemes : public DemoInstallation {
 protected:
  // The scheme exists on the server (query GENES 01, as the date condition editor asks).
  bool OnServer(TfrmQCPR31Cond& form, const std::string& name) {
    Variant found;
    return form.QueryServer(
        "GENES", "01", false, found,
        Variant::ArrayOf({Variant(name), Variant(form.UserID()), Variant(form.ProgramCode())}));
  }
  void Open(TfrmQCPR31Cond& form, const std::string& name) {
    ASSERT_TRUE(form.LoadSchemeList());
    TListItem* item = ItemNamed(*form.lstCondition, name);
    ASSERT_NE(item, nullptr) << name;
    form.lstCondition->SetSelected(item);
    form.btnOpenClick(form.btnOpen);
  }
  // A value that the server keeps as it is given, bypassing the form's encoding.
  void StoreRaw(TfrmQCPR31Cond& form, const std::string& name, const std::string& properties,
                const std::string& lines) {
    Variant answer = form.AppServer().Call(
        "InsertConTable",
        {Variant::ArrayOf({Variant(name), Variant(form.UserID()), Variant("20040515"),
                           Variant(form.ProgramCode()), Variant(properties), Variant(lines),
                           Variant(false)})});
    ASSERT_EQ(VarToStr(answer), "");
  }
};

// The user fills every kind of condition control, saves through the date condition editor
// with rules for two date fields, and opens the scheme again on another form.
TEST_F(Schemes, ASavedSchemeRestoresOnAFreshFormFieldByField) {
  TfrmQCPR31Cond* form = NewForm();
  form->splTD001->ListBox->AddItem({"QC01", A("清场单")});
  form->splTD001->ListBox->AddItem({"QC02"});
  form->splTD002->SetUserChoice(false);
  form->splTD002->ListBox->AddItem({"20040001"});
  form->splTD003->edBegin->SetText("2004/05/15");
  form->splTD003->edFinal->SetText("2004/05/31");
  form->splTD008->edBegin->SetText("2004/05/01");
  form->splTD008->edFinal->SetText("2004/05/10");
  form->edtTD020->SetText("2004/03/01");
  form->edtYM->SetText("2004/03");
  form->edtTD019->SetText(A("换批清场"));
  form->cboTD017->SetItemIndex(2);
  form->chkTD018->SetChecked(true);

  // begin of splTD003: first day of last month; edtTD020: two weeks and three days later
  Application()->PushModalDriver(TModalScript()
                                     .Type("edConName", A("上月方案"))
                                     .Choose("cbodatecondition", 0)
                                     .Click("spDate_B")
                                     .Type("seSetDay_B1", "-1")
                                     .Choose("cboSetDay_B1", 1)
                                     .Choose("cboSetDay_B2", 1)
                                     .Choose("cbodatecondition", 2)
                                     .Click("edSetDate")
                                     .Type("seSetDay1", "2")
                                     .Type("seSetDay2", "3")
                                     .Click("btnOk"));
  Variant answer = OpenDateConditionEditor(form->DateFields(), *form, 1);
  ASSERT_EQ(VarToStr(answer[0]), A("上月方案"));
  EXPECT_FALSE(answer[2].AsBoolean());
  EXPECT_EQ(form->SchemeLine("splTD003.style"), "sp_Range" + C3 + "20040401" + C3 + "20040531");
  EXPECT_EQ(form->SchemeLine("edtTD020.text"), "20040318");
  ASSERT_TRUE(form->SaveScheme(form->SchemeProperties(), VarToStr(answer[0]), false));
  ASSERT_TRUE(form->LoadSchemeList());
  EXPECT_EQ(Captions(*form->lstCondition), std::vector<std::string>{A("上月方案")});
  EXPECT_EQ(form->lstCondition->Items()->Item(0)->SubItems()->Get(0), DateToStr(Date()));

  TfrmQCPR31Cond* fresh = NewForm();
  HeadlessInteraction().Reset();
  Open(*fresh, A("上月方案"));
  EXPECT_EQ(HeadlessInteraction().JournalText(), "");
  EXPECT_EQ(fresh->splTD001->RowText(), "QC01" + C1 + A("清场单") + C4 + "QC02" + C1 + C4);
  EXPECT_FALSE(fresh->splTD002->UserChoice());
  EXPECT_EQ(fresh->splTD002->RowText(), "20040001" + C4);
  EXPECT_EQ(fresh->splTD003->edBegin->Text(), "2004/04/01");
  EXPECT_EQ(fresh->splTD003->edFinal->Text(), "2004/05/31");
  EXPECT_EQ(fresh->splTD003->EditMask(), "9999/99/99;1; ");
  EXPECT_EQ(fresh->splTD008->edBegin->Text(), "2004/05/01");
  EXPECT_EQ(fresh->splTD008->edFinal->Text(), "2004/05/10");
  EXPECT_EQ(fresh->edtTD020->Text(), "2004/03/18");
  EXPECT_EQ(fresh->edtYM->Text(), "2004/03");
  EXPECT_EQ(fresh->edtTD019->Text(), A("换批清场"));
  EXPECT_EQ(fresh->cboTD017->ItemIndex(), 2);
  EXPECT_TRUE(fresh->chkTD018->Checked());
  fresh->SetSchemeView(vsReport, fresh->N10);
  SaveFormPicture(*fresh, std::string(QC_BINARY_DIR) + "/condition_schemes.png");
}

TEST_F(Schemes, RestoreSkipsRemovedControlsAndStopsAtABadValue) {
  TfrmQCPR31Cond* form = NewForm();
  struct Case {
    const char* name;
    std::string properties;
    std::string lines;
    bool restored;
    const char* remark;
  } cases[] = {
      {"removed control", "splGone.style;edtTD019.text;", "sp_Range" + C3 + "a\r\nkept\r\n", true,
       "kept"},
      {"invalid entry", "edtTD019;.text;edtTD019.text;", "x\r\ny\r\nnext\r\n", true, "next"},
      {"combo index that is no number", "cboTD017.itemindex;edtTD019.text;", "abc\r\nlost\r\n",
       false, "before"},
      {"enumeration that does not exist", "chkTD018.checked;edtTD019.text;", "Maybe\r\nlost\r\n",
       false, "before"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->edtTD019->SetText("before");
    EXPECT_EQ(form->RestoreScheme(c.properties, c.lines), c.restored);
    EXPECT_EQ(form->edtTD019->Text(), c.remark);
  }
  // the user-choice panel restores into either mode, its style untouched
  form->splTD001->SetStyle(sp_Discrete);
  ASSERT_TRUE(form->RestoreScheme(
      "splTD002.style;splTD001.style;",
      "sp_UserChoice" + C3 + "True" + C3 + "A" + C3 + "B\r\nsp_Range" + C3 + "x" + C3 + "y\r\n"));
  EXPECT_TRUE(form->splTD002->UserChoice());
  EXPECT_EQ(form->splTD002->edBegin->Text() + form->splTD002->edFinal->Text(), "AB");
  EXPECT_EQ(form->splTD001->Style(), sp_Discrete);
  ASSERT_TRUE(form->RestoreScheme("splTD002.style;", "sp_UserChoice" + C3 + "False" + C3 + "X" +
                                                         C1 + "x" + C4 + "Y" + C4 + "\r\n"));
  EXPECT_FALSE(form->splTD002->UserChoice());
  EXPECT_EQ(form->splTD002->RowText(), "X" + C1 + "x" + C4 + "Y" + C1 + C4);
}

TEST_F(Schemes, OpeningASchemeThatCannotBeRestoredShowsR200235) {
  TfrmQCPR31Cond* form = NewForm();
  StoreRaw(*form, "BAD", "cboTD017.itemindex;", "abc\r\n");
  HeadlessInteraction().Reset();
  Open(*form, "BAD");
  EXPECT_EQ(LastDialog(), A("条件方案无法恢复, 请重新保存该方案!"));
  EXPECT_EQ(form->MessageLog(), "R;200235; ");
}

TEST_F(Schemes, RenamingChecksTheNameFirst) {
  TfrmQCPR31Cond* form = NewForm();
  ASSERT_TRUE(form->SaveScheme(form->SchemeProperties(), "A", false));
  ASSERT_TRUE(form->SaveScheme(form->SchemeProperties(), "B", false));
  ASSERT_TRUE(form->LoadSchemeList());
  struct Case {
    const char* name;
    std::string typed;
    std::string refusal;
  } cases[] = {
      {"blank", "   ", A("方案名不可空白!")},
      {"21 bytes", "ABCDEFGHIJKLMNOPQRSTU", A("方案名长度不可大于20!")},
      {"another scheme's name", "A", A("此方案名称已经存在！")},
      {"eleven Chinese characters", A("一二三四五六七八九十一"), A("方案名长度不可大于20!")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessInteraction().Reset();
    TListItem* item = ItemNamed(*form->lstCondition, "B");
    form->lstCondition->FinishCaptionEdit(item, c.typed);
    EXPECT_EQ(item->Caption(), "B");
    EXPECT_EQ(LastDialog(), c.refusal);
    EXPECT_EQ(HeadlessInteraction().Journal().back().Request.Fields.at("DlgType").AsString(),
              "mtError");
  }
  HeadlessInteraction().Reset();
  form->lstCondition->FinishCaptionEdit(ItemNamed(*form->lstCondition, "B"), "B");
  EXPECT_EQ(HeadlessInteraction().JournalText(), "");

  // ten Chinese characters are twenty bytes: accepted, on the server too
  const std::string ten = A("一二三四五六七八九十");
  form->lstCondition->FinishCaptionEdit(ItemNamed(*form->lstCondition, "B"), ten);
  EXPECT_EQ(HeadlessInteraction().JournalText(), "");
  EXPECT_TRUE(OnServer(*form, ten));
  EXPECT_FALSE(OnServer(*form, "B"));
  form->lstCondition->SetSelected(ItemNamed(*form->lstCondition, ten));
  form->btnOpenClick(form->btnOpen);  // the data set follows the new name
  EXPECT_EQ(HeadlessInteraction().JournalText(), "");
}

TEST_F(Schemes, ARenameTheServerRefusesKeepsTheCaption) {
  TfrmQCPR31Cond* form = NewForm();
  ASSERT_TRUE(form->SaveScheme(form->SchemeProperties(), "A", false));
  ASSERT_TRUE(form->LoadSchemeList());
  StoreRaw(*form, "TAKEN", "", "");  // saved elsewhere since the list was loaded
  TListItem* item = ItemNamed(*form->lstCondition, "A");
  try {
    form->lstCondition->FinishCaptionEdit(item, "TAKEN");
    FAIL() << "no exception";
  } catch (const std::exception& e) {
    EXPECT_EQ(std::string(e.what()), A("此方案名称已经存在！"));
  }
  EXPECT_EQ(LastDialog(), A("更改方案名失败!"));
  EXPECT_EQ(item->Caption(), "A");
  EXPECT_TRUE(OnServer(*form, "A"));
}

TEST_F(Schemes, DeletingAsksFirst) {
  TfrmQCPR31Cond* form = NewForm();
  ASSERT_TRUE(form->SaveScheme(form->SchemeProperties(), "A", false));
  ASSERT_TRUE(form->SaveScheme(form->SchemeProperties(), "B", false));
  ASSERT_TRUE(form->LoadSchemeList());
  form->lstCondition->SetSelected(ItemNamed(*form->lstCondition, "B"));
  HeadlessInteraction().Answer(mrNo);
  form->btnDeleteClick(form->btnDelete);
  EXPECT_EQ(LastDialog(), A("确实要删除此方案吗？") + "B");
  EXPECT_TRUE(OnServer(*form, "B"));

  HeadlessInteraction().Answer(mrYes);
  form->btnDeleteClick(form->btnDelete);
  EXPECT_FALSE(OnServer(*form, "B"));
  EXPECT_EQ(Captions(*form->lstCondition), std::vector<std::string>{"A"});

  // gone from the server meanwhile: the server's answer is the error
  form->AppServer().Call("DeleteConTable",
                         {Variant::ArrayOf({Variant("A"), Variant("DS"), Variant("QCPR31")})});
  form->lstCondition->SetSelected(ItemNamed(*form->lstCondition, "A"));
  HeadlessInteraction().Answer(mrYes);
  EXPECT_THROW(form->btnDeleteClick(form->btnDelete), std::exception);
}

TEST_F(Schemes, ViewStylesCycleThroughTheToolButton) {
  TfrmQCPR31Cond* form = NewForm();
  const TViewStyle expected[] = {vsSmallIcon, vsList, vsReport, vsIcon, vsSmallIcon};
  for (TViewStyle style : expected) {
    form->ToolButton1Click(form->ToolButton1);
    EXPECT_EQ(form->lstCondition->ViewStyle(), style);
  }
  EXPECT_TRUE(form->N8->Checked());
}

// A traditional-Chinese interface over a simplified-Chinese database: the name the user types
// in Big5 is kept in GB on the server and comes back to the list in Big5.
TEST_F(Schemes, ABig5InterfaceOverAGBDatabaseRoundTripsTheName) {
  ClientCodePages("950", "936");
  SetSystemCodePage(950);
  TfrmQCPR31Cond* form = NewForm();
  const std::string big5 = Utf8ToAnsi("換批清場方案", 950);
  form->edtTD019->SetText(Utf8ToAnsi("換批", 950));
  ASSERT_TRUE(form->SaveScheme(form->SchemeProperties(), big5, false));

  const Variant gbKey = Variant::ArrayOf(
      {Variant(Utf8ToAnsi("换批清场方案", 936)), Variant("DS"), Variant("QCPR31")});
  std::vector<Variant> args{Variant("GENES"), Variant("01"), Variant("DEMO"), gbKey, Variant()};
  EXPECT_TRUE(form->ValidatorObject().CallRef("CheckValue", args).AsBoolean());

  ASSERT_TRUE(form->LoadSchemeList());
  EXPECT_EQ(Captions(*form->lstCondition), std::vector<std::string>{big5});
  form->edtTD019->SetText("");
  form->lstCondition->SetSelected(form->lstCondition->Items()->Item(0));
  form->btnOpenClick(form->btnOpen);
  EXPECT_EQ(form->edtTD019->Text(), Utf8ToAnsi("換批", 950));
}

}  // namespace
}  // namespace nv::testing
