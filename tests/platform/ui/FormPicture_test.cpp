#include "platform/ui/FormPicture.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/core/CodePage.h"
#include "platform/graphics/Types.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Spin.h"

namespace nv {
namespace {

// An option window like the voucher's: scheme list on the left, pages of conditions, and
// the button row at the bottom; captions in Chinese (system code page 936).
class TfrmSample : public TForm {
  NV_CLASS(TfrmSample, TForm)
 public:
  explicit TfrmSample(TComponent* owner) : TForm(owner) {
    SetCaption(T("线别清场记录打印[示范公司]"));
    SetClientWidth(640);
    SetClientHeight(400);
    Font()->SetName(T("宋体"));
    Font()->SetHeight(-13);
    Font()->SetCharset(GB2312_CHARSET);
    SetBorderIcons(TBorderIcons{biSystemMenu, biMaximize});

    auto* panel1 = Add<TPanel>("Panel1", this, 0, 0, 640, 41);
    panel1->SetAlign(alBottom);
    btnOk = Add<TButton>("btnOk", panel1, 380, 8, 75, 25);
    btnOk->SetCaption(T("打印"));
    btnOk->SetDefault(true);
    auto* preview = Add<TButton>("btnPreview", panel1, 460, 8, 75, 25);
    preview->SetCaption(T("预览"));
    auto* cancel = Add<TBitBtn>("btnCancel", panel1, 545, 8, 80, 25);
    cancel->SetCaption(T("取消"));
    cancel->SetEnabled(false);

    auto* status = Add<TStatusBar>("StatusBar1", this, 0, 0, 640, 19);
    status->Panels()->Add()->SetText(T("就绪"));
    status->Panels()->Items(0)->SetWidth(200);
    status->Panels()->Add()->SetText("QCPR31");

    auto* cond = Add<TPanel>("pnlCondition", this, 0, 0, 151, 300);
    cond->SetAlign(alLeft);
    cond->SetBevelOuter(bvNone);
    auto* lbl = Add<TLabel>("lblCondition", cond, 0, 0, 151, 17);
    lbl->SetAlign(alTop);
    lbl->SetCaption(T(" 条件方案"));
    lbl->SetColor(clNavy);
    lbl->Font()->SetColor(clWhite);
    auto* bar = Add<TToolBar>("ToolBar1", cond, 0, 17, 151, 26);
    bar->SetShowCaptions(true);
    bar->SetButtonWidth(36);
    bar->SetFlat(true);
    for (const char* c : {"保存", "开启", "删除"})
      Add<TToolButton>(nullptr, bar, 500, 0, 36, 22)->SetCaption(T(c));
    auto* view = Add<TToolButton>("ToolButton1", bar, 600, 0, 36, 22);
    view->SetStyle(tbsDropDown);
    view->SetCaption("View");
    auto* list = Add<TListView>("lstCondition", cond, 0, 43, 151, 200);
    list->SetAlign(alClient);
    list->SetViewStyle(vsReport);
    list->SetRowSelect(true);
    list->SetHideSelection(false);
    list->Columns()->Add()->SetCaption(T("方案名称"));
    list->Columns()->Items(0)->SetWidth(70);
    list->Columns()->Add()->SetCaption(T("创建时间"));
    list->Columns()->Items(1)->SetWidth(76);
    for (const char* name : {"本月清场", "上月", "全部单据"}) {
      TListItem* item = list->Items()->Add();
      item->SetCaption(T(name));
      item->SubItems()->Add("2004/03/07");
    }
    list->Items()->Item(1)->SetSelected(true);
    auto* split = Add<TSplitter>("Splitter1", this, 151, 0, 3, 300);
    split->SetAlign(alLeft);

    pg = Add<TPageControl>("pgOption", this, 154, 0, 486, 340);
    pg->SetAlign(alClient);
    auto* ts1 = Add<TTabSheet>("tsOption1", nullptr, 0, 0, 10, 10);
    ts1->SetPageControl(pg);
    ts1->SetCaption(T("基本选项"));
    auto* ts2 = Add<TTabSheet>("tsOption2", nullptr, 0, 0, 10, 10);
    ts2->SetPageControl(pg);
    ts2->SetCaption(T("系统选项"));
    auto* ts3 = Add<TTabSheet>("tsFEP", nullptr, 0, 0, 10, 10);
    ts3->SetPageControl(pg);
    ts3->SetCaption("Fax/Email");

    auto* grp = Add<TGroupBox>("splTD001", ts1, 8, 4, 360, 52);
    grp->SetCaption(T("单别"));
    edtTD001 = Add<TEdit>("edtTD001", grp, 40, 20, 120, 22);
    edtTD001->SetText("A01");
    edtTD001->SetColor(ToColor(0xAFFFFF));  // a required field
    auto* lookup = Add<TSpeedButton>("btnTD001", grp, 162, 20, 23, 22);
    lookup->SetFlat(true);
    lookup->SetCaption("...");
    auto* edtEnd = Add<TEdit>("edtTD001End", grp, 200, 20, 120, 22);
    edtEnd->SetText("A99");
    auto* lbl2 = Add<TLabel>("lblTD003", ts1, 8, 68, 60, 17);
    lbl2->SetCaption(T("清场日期"));
    auto* date = Add<TMaskEdit>("edtTD003", ts1, 80, 64, 100, 22);
    date->SetEditMask("9999/99/99;1; ");
    date->SetText("2004/03/07");
    lbl2->SetFocusControl(date);
    auto* cbo = Add<TComboBox>("cboTD017", ts1, 200, 64, 160, 22);
    cbo->SetStyle(csDropDownList);
    for (const char* s : {"已审核", "未审核", "全部"}) cbo->Items()->Add(T(s));
    cbo->SetItemIndex(2);
    auto* chk = Add<TCheckBox>("chkPermit", ts1, 8, 96, 160, 17);
    chk->SetCaption(T("已发生产许可"));
    chk->SetChecked(true);
    auto* chk2 = Add<TCheckBox>("chkPrinted", ts1, 180, 96, 160, 17);
    chk2->SetCaption(T("只打印未打印的"));
    auto* rg = Add<TRadioGroup>("rgSendType", ts1, 8, 120, 220, 44);
    rg->SetCaption(T("选择传送方式"));
    rg->SetColumns(2);
    rg->Items()->Add(T("打印"));
    rg->Items()->Add("Fax/Email");
    rg->SetItemIndex(0);
    auto* spin = Add<TSpinEdit>("seCopies", ts1, 240, 136, 60, 22);
    spin->SetMaxValue(99);
    spin->SetValue(2);
    auto* memo = Add<TMemo>("moNote", ts1, 8, 172, 220, 60);
    memo->Lines()->Add(T("第一行备注"));
    memo->Lines()->Add("Second line");
    auto* pb = Add<TProgressBar>("pbRender", ts1, 240, 172, 200, 16);
    pb->SetPosition(60);
    auto* grid = Add<TStringGrid>("sgFields", ts1, 240, 196, 220, 60);
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetDefaultRowHeight(16);
    grid->SetDefaultColWidth(64);
    grid->SetCells(1, 0, T("字段"));
    grid->SetCells(2, 0, T("宽度"));
    grid->SetCells(1, 1, "TD001");
    grid->SetCells(2, 1, "20");
    auto* tree = Add<TTreeView>("tvTables", ts1, 8, 240, 220, 60);
    TTreeNode* root = tree->Items()->AddChild(nullptr, "GMPTD");
    tree->Items()->AddChild(root, T("单别 TD001"));
    tree->Items()->AddChild(root, T("单号 TD002"));
    root->Expand(false);
    Add<TEdit>("edtDisabled", ts1, 240, 264, 120, 22)->SetEnabled(false);
  }
  static std::string T(const char* utf8) { return SysText(utf8); }
  template <class C>
  C* Add(const char* name, TWinControl* parent, int x, int y, int w, int h) {
    auto* c = new C(this);
    if (name) c->SetName(name);
    if (parent) c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
  }
  TPageControl* pg;
  TEdit* edtTD001;
  TButton* btnOk;
};

NV_PUBLISH(TfrmSample) {}

std::uint32_t PixelAt(const TRawImage& raw, int x, int y) {
  return raw.Argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(raw.Width) +
                  static_cast<std::size_t>(x)] &
         0xFFFFFF;
}

TEST(FormPicture, SampleFormShowsItsControlsAndColours) {
  auto* form = nv::Create<TfrmSample>(nullptr);
  form->edtTD001->SetFocus();
  std::string file = std::string(QC_BINARY_DIR) + "/ui_sample_form.png";
  SaveFormPicture(*form, file);
  std::ifstream in(file, std::ios::binary);
  std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(png.size(), 1000u);
  EXPECT_EQ(png.substr(1, 3), "PNG");

  TRawImage raw = FormPictureImage(*form);
  EXPECT_EQ(raw.Width, form->Width());
  EXPECT_EQ(raw.Height, form->Height());
  int ox = form->FrameWidth(), oy = form->FrameWidth() + form->CaptionHeight();
  // inside the required field, right of its text: the required colour ($AFFFFF is BGR)
  TPoint e = form->edtTD001->FormOrigin();
  EXPECT_EQ(PixelAt(raw, ox + e.X + 100, oy + e.Y + 11), 0xFFFFAFu);
  // the form's face and the caption bar's dark start
  EXPECT_EQ(PixelAt(raw, ox + 300, oy + form->ClientHeight() - 45), 0xD4D0C8u);
  EXPECT_LT(PixelAt(raw, ox + 2, form->FrameWidth() + 2) >> 16, 0x20u);
  form->Free();
}

TEST(FormPicture, FontNamesMapToInstalledFamilies) {
  EXPECT_EQ(PictureFontFamilies(SysText("宋体"), 936).substr(0, 14), "AR PL UMing CN");
  EXPECT_EQ(PictureFontFamilies("Tahoma", 936).substr(0, 11), "DejaVu Sans");
  EXPECT_EQ(PictureFontFamilies("Unknown Face", 936).substr(0, 12), "Unknown Face");
}

}  // namespace
}  // namespace nv
