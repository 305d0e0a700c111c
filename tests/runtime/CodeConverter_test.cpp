#include "runtime/CodeConverter.h"

#include <gtest/gtest.h>

#include <functional>

#include "RuntimeFixture.h"
#include "SampleForm.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

namespace nv {
namespace {

class CodeConversion : public testing::SuiteMachine {
 protected:
  void SetUp() override {
    SuiteMachine::SetUp();
    Install();
  }
  void CodePages(int system, const std::string& ui, const std::string& db) {
    SetSystemCodePage(system);
    testing::WriteFile(ClientPath() + "BatonC.ini",
                       "[CodePage]\nUICodePage=" + ui + "\nDBCodePage=" + db + "\n");
  }
  static std::string GB(std::string_view utf8) { return Utf8ToAnsi(utf8, kCodePageGB); }
  static std::string Big5(std::string_view utf8) { return Utf8ToAnsi(utf8, kCodePageBig5); }
};

TEST_F(CodeConversion, Big5InterfaceOverGBData) {
  CodePages(936, "950", "936");
  const TCodeConverter converter(nullptr);
  EXPECT_EQ(converter.UIConvertKind(), 2);
  EXPECT_EQ(converter.DataConvertKind(), 2);
  ASSERT_NE(converter.Translator(), nullptr);
  const Variant data(GB("清场批号"));
  const Variant shown = converter.ConvertDataString(data);
  EXPECT_EQ(shown, Variant(Big5("清場批號")));
  EXPECT_EQ(converter.RecoverDataString(shown), data);
  EXPECT_EQ(data, Variant(GB("清场批号"))) << "the caller's value is not changed";
  EXPECT_EQ(converter.ConvertUIString(5), Variant("5"));
  EXPECT_EQ(converter.ConvertUIString(Variant::Null()).Type(), VarType::Null);
  EXPECT_EQ(converter.GBToBig5(GB("设备")), Big5("設備"));
  EXPECT_EQ(converter.Big5ToGB(""), "");

  Variant table = Variant::Array2D({0, 2}, {0, 1});
  table.At(0, 0) = GB("工序");
  table.At(1, 0) = 7;
  const Variant list = Variant::ArrayOf({GB("审核"), Variant::ArrayOf({GB("操作员")}), Variant()});
  const Variant convertedTable = converter.ConvertDataString(table);
  EXPECT_EQ(convertedTable.At(0, 0), Variant(Big5("工序")));
  EXPECT_EQ(convertedTable.At(1, 0), Variant("7"));
  const Variant convertedList = converter.ConvertDataString(list);
  EXPECT_EQ(convertedList[0], Variant(Big5("審核")));
  EXPECT_EQ(convertedList[1][0], Variant(Big5("操作員")));
  EXPECT_TRUE(convertedList[2].IsEmpty());
}

TEST_F(CodeConversion, GBInterfaceOnABig5SystemChangesFontsOnly) {
  CodePages(950, "936", "950");
  TCodeConverter converter(nullptr);
  EXPECT_EQ(converter.UIConvertKind(), 4);
  EXPECT_EQ(converter.DataConvertKind(), 1);
  const Variant text(GB("批号"));
  EXPECT_EQ(converter.ConvertUIString(text), text);
  EXPECT_EQ(converter.ConvertDataString(Variant(Big5("批號"))), Variant(GB("批号")));
  TFont font;
  TCodeConverter::SetUIFont(converter.UIConvertKind(), font);
  EXPECT_EQ(font.Name(), "SimSun");
  EXPECT_EQ(font.Charset(), GB2312_CHARSET);
  TCodeConverter::SetUIFont(3, font);
  EXPECT_EQ(font.Charset(), CHINESEBIG5_CHARSET);
  font.SetName("Arial");
  TCodeConverter::SetUIFont(7, font);
  EXPECT_EQ(font.Name(), "Arial");
}

TEST_F(CodeConversion, NoInterfaceConversionMeansNoTranslator) {
  CodePages(936, "936", "950");
  const TCodeConverter converter(nullptr);
  EXPECT_EQ(converter.Translator(), nullptr);
  EXPECT_EQ(converter.DataConvertKind(), 1);
  const Variant text(Big5("批號"));
  EXPECT_EQ(converter.ConvertDataString(text), text) << "without a translator nothing converts";
}

TEST_F(CodeConversion, DoTranslateConvertsTheFormsTexts) {
  CodePages(950, "950", "936");
  sample::TfrmSample form(nullptr);
  form.Caption = GB("清场记录");
  form.btnOk->Caption = GB("确定");
  form.btnOk->Hint = GB("打印");
  form.cboKind->ItemsList()->SetText(GB("全部\n已审核\n"));
  form.cboKind->ItemIndex = 1;
  form.lvList->Style = sample::csSimple;
  form.lvList->Text = GB("设备");
  TCodeConverter converter(&form);
  converter.DoTranslate(form, "", true);
  EXPECT_EQ(form.Caption, Big5("清場記錄"));
  EXPECT_EQ(form.btnOk->Caption, Big5("確定"));
  EXPECT_EQ(form.btnOk->Hint, Big5("打印"));
  EXPECT_EQ(form.btnOk->FontObject()->Charset(), CHINESEBIG5_CHARSET);
  EXPECT_EQ(form.cboKind->ItemsList()->Text(), Big5("全部\r\n已審核\r\n"));
  EXPECT_EQ(form.cboKind->ItemIndex, 1);
  EXPECT_EQ(form.cboKind->Style, sample::csOwnerDrawVariable);
  EXPECT_EQ(form.lvList->Style, sample::csSimple) << "a simple combo box keeps its style";
  EXPECT_EQ(form.lvList->Text, Big5("設備"));
  EXPECT_EQ(form.lblInner->Caption, "inner") << "owned by the panel, not by the form";
}

// A form with the lists the conversion walks, all texts in GB.
struct TListForm {
  explicit TListForm(const std::function<std::string(std::string_view)>& gb) {
    form.SetCaption(gb("清场记录"));
    list = Make<TListView>();
    list->Columns()->Add()->SetCaption(gb("品号"));
    TListItem* row = list->Items()->Add();
    row->SetCaption(gb("设备"));
    row->SubItems()->Add(gb("工序"));
    tree = Make<TTreeView>();
    tree->Items()->AddChild(tree->Items()->Add(nullptr, gb("审核")), gb("操作员"));
    grid = Make<TStringGrid>();
    grid->SetColCount(2);
    grid->SetRowCount(1);
    grid->SetCells(0, 0, gb("批号"));
    status = Make<TStatusBar>();
    status->Panels()->Add()->SetText(gb("清场"));
    menu = new TPopupMenu(&form);
    item = new TMenuItem(&form);
    item->SetCaption(gb("打印"));
    menu->Items()->Add(item);
    combo = Make<TComboBox>();
    combo->Items()->SetText(gb("全部\n已审核\n"));
    simple = Make<TComboBox>();
    simple->SetStyle(csSimple);
  }
  template <class T>
  T* Make() {
    T* c = new T(&form);
    c->SetParent(&form);
    return c;
  }
  TForm form{nullptr};
  TListView* list;
  TTreeView* tree;
  TStringGrid* grid;
  TStatusBar* status;
  TPopupMenu* menu;
  TMenuItem* item;
  TComboBox* combo;
  TComboBox* simple;
};

TEST_F(CodeConversion, DoTranslateWalksListsMenusGridsAndStatusPanels) {
  CodePages(950, "950", "936");
  for (bool includeLists : {false, true}) {
    SCOPED_TRACE(includeLists ? "with lists" : "without lists");
    TListForm f(GB);
    Application()->SetShowHint(true);
    TCodeConverter converter(&f.form);
    converter.DoTranslate(f.form, "", includeLists);
    EXPECT_EQ(f.form.Caption(), Big5("清場記錄"));
    EXPECT_EQ(f.list->Columns()->Items(0)->Caption(), Big5("品號"));
    EXPECT_EQ(f.list->Items()->Item(0)->Caption(), Big5("設備"));
    EXPECT_EQ(f.list->Items()->Item(0)->SubItems()->Get(0), Big5("工序"));
    EXPECT_EQ(f.status->Panels()->Items(0)->Text(), Big5("清場"));
    EXPECT_EQ(f.item->Caption(), Big5("打印"));
    EXPECT_TRUE(f.menu->OwnerDraw());
    EXPECT_EQ(f.combo->Style(), csOwnerDrawFixed);
    EXPECT_EQ(f.combo->ItemIndex(), 0) << "the first item is chosen when none was";
    EXPECT_EQ(f.combo->Items()->Get(1), Big5("已審核"));
    EXPECT_EQ(f.simple->Style(), csSimple);
    EXPECT_EQ(Screen()->MenuFont()->Charset(), CHINESEBIG5_CHARSET);
    EXPECT_EQ(Screen()->HintFont()->Name(), "SimSun");
    EXPECT_TRUE(Application()->ShowHint());
    const std::string node = includeLists ? Big5("操作員") : GB("操作员");
    EXPECT_EQ(f.tree->Items()->Item(1)->Text(), node);
    EXPECT_EQ(f.grid->Cells(0, 0), includeLists ? Big5("批號") : GB("批号"));
  }
}

TEST_F(CodeConversion, FontsOnlyInterfaceLeavesListTextsButDrawsMenus) {
  CodePages(950, "936", "950");
  TListForm f(GB);
  TCodeConverter converter(&f.form);
  converter.DoTranslate(f.form, "", true);
  EXPECT_EQ(f.list->Items()->Item(0)->Caption(), GB("设备"));
  EXPECT_EQ(f.tree->Items()->Item(0)->Text(), GB("审核"));
  EXPECT_TRUE(f.menu->OwnerDraw());
  EXPECT_EQ(f.combo->Style(), csOwnerDrawVariable) << "only the style rule applies";
  EXPECT_EQ(f.combo->ItemIndex(), -1);
  EXPECT_EQ(Screen()->IconFont()->Charset(), GB2312_CHARSET);
}

TEST_F(CodeConversion, CodeMessageDialogs) {
  struct Case {
    const char* name;
    int system;
    const char* ui;
    std::string message;
    std::string shown;  // "" for no dialog
    int charset;
  };
  const Case cases[] = {
      {"GB interface gets six blanks", 936, "936", "Saved", "Saved      ", GB2312_CHARSET},
      {"GB system gets them too", 936, "950", "Saved", "Saved      ", CHINESEBIG5_CHARSET},
      {"Big5 system and interface: as given", 950, "950", "Saved", "Saved", CHINESEBIG5_CHARSET},
      {"empty message shows nothing", 950, "950", "", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CodePages(c.system, c.ui, "936");
    HeadlessInteraction().Reset();
    TForm form(nullptr);
    form.SetCaption("QCPR31");
    form.SetWindowState(wsMinimized);
    TCodeConverter* converter = new TCodeConverter(&form);
    if (!c.shown.empty()) HeadlessInteraction().Answer(mrNo);
    const TModalResult result =
        converter->NvCodeMessageDlg(c.message, mtConfirmation, {mbYes, mbNo});
    if (c.shown.empty()) {
      EXPECT_EQ(result, 0);
      EXPECT_TRUE(HeadlessInteraction().Journal().empty());
      EXPECT_EQ(form.WindowState(), wsMinimized);
      continue;
    }
    EXPECT_EQ(result, mrNo);
    EXPECT_EQ(form.WindowState(), wsNormal);
    EXPECT_EQ(HeadlessInteraction().JournalText(),
              "MessageDlg mtConfirmation \"QCPR31\" \"" + c.shown + "\" [mbYes,mbNo] -> mrNo\n");
    const TDialogRequest& request = HeadlessInteraction().Journal()[0].Request;
    EXPECT_EQ(request.Fields.at("FontName"), Variant("SimSun"));
    EXPECT_EQ(request.Fields.at("FontCharset"), Variant(c.charset));
  }
}

}  // namespace
}  // namespace nv
