// Date, year-month and required fields of the option form: masks and texts in the five date
// styles, the checks on leaving a field and on starting an action, and the re-wired events.
#include <gtest/gtest.h>

#include "ConditionForm.h"
#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Input.h"

namespace nv::testing {
namespace {

std::string A(const char* utf8) {
  return SysText(utf8);
}

// What the user read in the last dialog (the suite pads Chinese texts with blanks).
std::string LastDialog() {
  const auto& journal = HeadlessInteraction().Journal();
  return journal.empty() ? std::string() : TrimRight(journal.back().Request.Text);
}

int Dialogs() {
  return static_cast<int>(HeadlessInteraction().Journal().size());
}

const TColor kRequired = static_cast<TColor>(0xAFFFFF);

class FieldChecks : public DemoInstallation {
 protected:
  void SetUp() override {
    DemoInstallation::SetUp();
    form_ = NewForm();
    HeadlessInteraction().Reset();
  }
  // The user types a text into the field and then moves on to edtTD019.
  void TypeAndLeave(TWinControl& field, const std::string& text) {
    field.SetFocus();
    EnterText(field, text);
    form_->edtTD019->SetFocus();
  }
  TfrmQCPR31Cond* form_ = nullptr;
};

TEST_F(FieldChecks, MasksAndDateTextsFollowTheDateStyle) {
  struct Case {
    const char* name;
    int type;
    const char* separator;
    const char* dateMask;
    const char* monthMask;
    const char* emptyDate;
    const char* date;
    const char* month;
  } cases[] = {
      {"year first", 1, "/", "9999/99/99;1; ", "9999/99;1; ", "    /  /  ", "2004/03/07",
       "2004/03"},
      {"month first", 2, "/", "99/99/9999;1; ", "99/9999;1; ", "  /  /    ", "03/07/2004",
       "03/2004"},
      {"day first", 3, "-", "99-99-9999;1; ", "99-9999;1; ", "  -  -    ", "07-03-2004", "03-2004"},
      {"two-digit Minguo year", 4, "/", "99/99/99;1; ", "99/99;1; ", "  /  /  ", "93/03/07",
       "93/03"},
      {"three-digit Minguo year", 5, ".", "999.99.99;1; ", "999.99;1; ", "   .  .  ", "093.03.07",
       "093.03"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form_->SetDateStyle(c.type, c.separator);
    EXPECT_EQ(form_->DateEditMask(), c.dateMask);
    EXPECT_EQ(form_->YearMonthEditMask(), c.monthMask);
    EXPECT_EQ(form_->EmptyDateText(), c.emptyDate);
    EXPECT_EQ(form_->DateTextToYMD(c.date), "20040307");
    EXPECT_EQ(form_->DateTextToYMD(c.emptyDate), "");
    EXPECT_EQ(form_->YearMonthTextToYM(c.month), "200403");
    EXPECT_EQ(form_->YearMonthTextToYM(form_->EmptyYearMonthText()), "");
  }
  form_->SetDateStyle(1, "/");
  EXPECT_EQ(form_->DateTextToYMD(" 2004/ 3/7 "), "20040307");
  EXPECT_EQ(form_->DateTextToYMD("2004/ab/07"), "2004/ab/07");  // no number: as typed
  EXPECT_EQ(form_->DateTextToYMD("2004/13/01"), "20041301");    // the check refuses it
  EXPECT_EQ(form_->YearMonthTextToYM("2004/00"), "2004/00");
}

TEST_F(FieldChecks, LeavingABadDateShowsE000005AndTakesTheFocusBack) {
  struct Case {
    const char* name;
    const char* text;
    bool fails;
  } cases[] = {
      {"month 13", "2004/13/01", true},
      {"30 February", "2004/02/30", true},
      {"leap day", "2004/02/29", false},
      {"left blank", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessInteraction().Reset();
    form_->ShowMessages("");
    TypeAndLeave(*form_->edtTD020, c.text);
    EXPECT_EQ(form_->edtTD020->EditMask(), "9999/99/99;1; ");  // entering applied it
    EXPECT_EQ(form_->ValidationFailed(), c.fails);
    if (c.fails) {
      EXPECT_EQ(LastDialog(), A("日期输入错误, 请输入正确的日期!"));
      EXPECT_EQ(form_->ActiveControl(), form_->edtTD020);
      EXPECT_EQ(form_->MessageLog(), "E;000005; ");
    } else {
      EXPECT_EQ(Dialogs(), 0);
      EXPECT_EQ(form_->ActiveControl(), form_->edtTD019);
      EXPECT_EQ(form_->MessageLog(), "");
    }
    form_->edtTD020->SetText("");
  }
}

TEST_F(FieldChecks, APanelIsCheckedWhenTheFocusLeavesItAndFocusesItsBadDate) {
  TSelectPanel* panel = form_->splTD003;
  panel->edBegin->SetFocus();
  EXPECT_EQ(panel->EditMask(), "9999/99/99;1; ");
  EXPECT_EQ(panel->ValueType(), vt_Date);
  EXPECT_EQ(panel->DateType(), dt_YYYYMMDD);
  EnterText(*panel->edBegin, "2004/05/01");
  panel->edFinal->SetFocus();
  EnterText(*panel->edFinal, "2004/05/32");
  EXPECT_EQ(Dialogs(), 0);  // moving inside the panel checks nothing
  form_->edtTD019->SetFocus();
  EXPECT_TRUE(form_->ValidationFailed());
  // a date that does not parse sorts first when the panel puts the range in order
  EXPECT_EQ(panel->edBegin->Text(), "2004/05/32");
  EXPECT_EQ(form_->ActiveControl(), panel->edBegin);
}

TEST_F(FieldChecks, YearMonthFields) {
  struct Case {
    const char* name;
    TWinControl* field;
    const char* text;
    bool fails;
  } cases[] = {
      {"a month", form_->edtYM, "2004/02", false},
      {"month 13", form_->edtYM, "2004/13", true},
      {"the empty template", form_->edtYM, "", false},
      // a plain edit cleared completely has only day "01" left to check
      {"plain edit cleared", form_->edtTD019, "", true},
  };
  form_->SetYearMonthFields("edtYM,edtTD019");
  form_->edtTD019->OnExit = form_->OnDateFieldExit();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessInteraction().Reset();
    c.field->SetFocus();
    c.field->SetText(c.text);
    form_->cboTD017->SetFocus();
    EXPECT_EQ(form_->ValidationFailed(), c.fails);
    EXPECT_EQ(Dialogs(), c.fails ? 1 : 0);
    c.field->SetText("2004/01");
    form_->cboTD017->SetFocus();
  }
  EXPECT_EQ(form_->edtYM->EditMask(), "9999/99;1; ");
}

TEST_F(FieldChecks, OnlyEditsAndPanelsCanBeDateFields) {
  std::string message;
  EXPECT_FALSE(form_->CheckDateField(form_->chkTD018, false, message));
  EXPECT_EQ(LastDialog(), A("判断日期的函数第一个参数错误, 只能传下列三种物件:") +
                              "\nTSelectPanel, TMaskedit, TEdit");
  EXPECT_EQ(HeadlessInteraction().Journal().back().Request.Kind, dkMessageBox);
  EXPECT_FALSE(form_->CheckYearMonthField(form_->cboTD017, false, message));
  EXPECT_EQ(LastDialog(), A("判断年月的函数第一个参数错误, 只能传下列三种物件:") +
                              "\nTSelectPanel, TMaskedit, TEdit");
}

TEST_F(FieldChecks, ThePageDoesNotChangeWhileAFieldIsInvalid) {
  form_->edtTD020->SetFocus();
  EnterText(*form_->edtTD020, "2004/13/01");
  EXPECT_FALSE(form_->pgOption->SelectTab(form_->tsOption2));
  EXPECT_EQ(form_->pgOption->ActivePage(), form_->tsOption1);
  EXPECT_EQ(LastDialog(), A("日期输入错误, 请输入正确的日期!"));  // errors show even then
  form_->btnInsertClick(form_->btnInsert);  // saving a scheme is refused the same way
  EXPECT_TRUE(form_->ValidationFailed());
  EXPECT_EQ(form_->ActiveControl(), form_->edtTD020);

  HeadlessInteraction().Reset();
  form_->btnCancel->SetFocus();  // on the way out nothing is checked
  EXPECT_EQ(HeadlessInteraction().JournalText(), "");
  form_->edtTD020->SetFocus();
  EnterText(*form_->edtTD020, "2004/12/01");
  EXPECT_TRUE(form_->pgOption->SelectTab(form_->tsOption2));
}

TEST_F(FieldChecks, DateFieldsKeepTheirOwnHandlersAndGetThemBack) {
  EXPECT_EQ(form_->DateFields(), "splTD003,splTD008,edtTD020,edPrintDate");
  auto* extra = new TMaskEdit(form_);
  extra->SetName("edtExtra");
  extra->SetParent(form_->tsOption1);
  int ownExits = 0;
  extra->OnExit = [&ownExits](TObject*) { ++ownExits; };

  form_->SetDateFields("edtExtra");
  EXPECT_EQ(form_->DateFields(), "edtExtra,splTD003,splTD008,edtTD020,edPrintDate");
  TypeAndLeave(*extra, "2004/05/01");
  EXPECT_EQ(ownExits, 1);
  TypeAndLeave(*extra, "2004/05/41");
  EXPECT_EQ(ownExits, 1);  // a failed check holds the report's handler back
  EXPECT_TRUE(form_->ValidationFailed());

  form_->SetDateFields("edPrintDate");
  EXPECT_EQ(form_->DateFields(), "edPrintDate");
  HeadlessInteraction().Reset();
  form_->edtTD019->SetFocus();
  EXPECT_EQ(ownExits, 2);  // its own handler again, and no check
  EXPECT_EQ(Dialogs(), 0);
}

TEST_F(FieldChecks, RequiredItemsColourTheirControlsByPart) {
  const TColor start = form_->splTD003->edBegin->Color();
  form_->SetRequiredFields("splTD001;N, splTD003;;2, edtTD019, cboTD017;1");
  EXPECT_EQ(form_->splTD001->edBegin->Color(), kRequired);
  EXPECT_EQ(form_->splTD001->ListBox->Color(), kRequired);
  EXPECT_EQ(form_->splTD003->edBegin->Color(), start);
  EXPECT_EQ(form_->splTD003->edFinal->Color(), kRequired);
  EXPECT_EQ(form_->splTD003->ListBox->Color(), start);
  EXPECT_EQ(form_->edtTD019->Color(), kRequired);
  EXPECT_EQ(form_->cboTD017->Color(), kRequired);

  // N and numbers mark without checking
  EXPECT_FALSE(form_->CheckRequired("splTD001;N,cboTD017;1"));
  // a date mask's empty template is an empty field
  form_->edtTD020->SetEditMask(form_->DateEditMask());
  EXPECT_TRUE(form_->CheckRequired("edtTD020;Y"));
  form_->SetRequiredFields("");
  EXPECT_EQ(form_->splTD003->edFinal->Color(), start);
  EXPECT_EQ(form_->edtTD019->Color(), form_->edtTD020->Color());
}

TEST_F(FieldChecks, ActionsWaitUntilTheRequiredFieldsAreFilled) {
  int prints = 0;
  form_->btnOk->OnClick = [&prints](TObject*) { ++prints; };
  form_->SetRequiredFields("splTD003;;2,splTD001,edtTD019");
  form_->SetRequiredFields("splTD003;;2,splTD001,edtTD019");  // wiring twice keeps the handler
  form_->pgOption->SetActivePage(form_->tsOption2);

  struct Step {
    const char* name;
    std::function<void()> fill;
    TWinControl* focused;
  } steps[] = {
      {"range panel empty", [] {}, form_->splTD003->edBegin},
      {"range panel with its begin only", [&] { form_->splTD003->edBegin->SetText("2004/05/01"); },
       form_->splTD003->edBegin},
      {"list panel without rows", [&] { form_->splTD003->edFinal->SetText("2004/05/31"); },
       form_->splTD001->ListBox},
      {"edit blank", [&] { form_->splTD001->ListBox->AddItem({"QC01"}); }, form_->edtTD019},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    HeadlessInteraction().Reset();
    s.fill();
    ClickControl(*form_->btnOk);
    EXPECT_EQ(LastDialog(), A("必须输入的栏位尚未输入, 请输入!"));
    EXPECT_EQ(form_->pgOption->ActivePage(), form_->tsOption1);
    EXPECT_EQ(form_->ActiveControl(), s.focused);
    EXPECT_EQ(prints, 0);
  }
  form_->edtTD019->SetText(A("换批清场"));
  ClickControl(*form_->btnOk);
  EXPECT_EQ(prints, 1);
}

TEST_F(FieldChecks, FrameworkRowsAndDateRanges) {
  Variant values = Variant::Array(1, 4);
  form_->DateRangeValue("2004/05/31", "2004/05/01", values, 1);
  EXPECT_EQ(VarToStr(values[1][1]), "20040501");
  EXPECT_EQ(VarToStr(values[1][2]), "20040531");
  form_->DateRangeValue("", "2004/05/01", values, 2);
  EXPECT_EQ(VarToStr(values[2][1]), "");
  EXPECT_EQ(VarToStr(values[2][2]), "20040501");

  form_->edPrintDate->SetEditMask(form_->DateEditMask());
  ASSERT_TRUE(form_->CollectConditionInfo(values, 3));
  EXPECT_EQ(VarToStr(values[4]), "");  // a blank print date is no error
  form_->edPrintDate->SetText("2004/05/15");
  ASSERT_TRUE(form_->CollectConditionInfo(values, 3));
  EXPECT_EQ(VarToStr(values[4]), "20040515");
  Variant texts = form_->CollectedConditionTexts();
  EXPECT_EQ(VarToStr(texts[4][0]), form_->lblToday->Caption());
  EXPECT_EQ(VarToStr(texts[4][1]), "edPrintDate");
}

}  // namespace
}  // namespace nv::testing
