#include <gtest/gtest.h>

#include "controls/NvCtrls.h"
#include "controls/SelectPnl.h"
#include "platform/core/CodePage.h"
#include "platform/ui/FormPicture.h"
#include "platform/ui/Forms.h"

namespace nv {
namespace {

// An option window with the three panel styles; writes build/dev/controls_panels.png.
TEST(PanelPicture, ThreeStylesWithLookupButtons) {
  TForm form(nullptr);
  form.SetCaption("Panels");
  form.SetBounds(0, 0, 400, 420);
  const auto make = [&](int top, const char* caption) {
    auto* p = new TSelectPanel(&form);
    p->SetParent(&form);
    p->SetCaption(SysText(caption));
    p->SetTop(top);
    return p;
  };
  make(8, "单号");
  TSelectPanel* date = make(60, "日期");
  date->SetOtherWidth(248);
  date->SetOtherHeight(73);
  date->SetUseVertical(true);
  date->SetGlyphIndex(9);
  TSelectPanel* list = make(140, "品号");
  list->SetOtherWidth(305);
  list->SetOtherHeight(57);
  list->SetStyle(sp_UserChoice);
  list->SetUserChoice(false);
  list->ListBox->AddItem({"A01", "Apple"});
  list->ListBox->AddItem({"B02", "Pear"});
  TSelectPanel* choice = make(260, "客户");
  choice->SetStyle(sp_UserChoice);
  const TRawImage image = FormPictureImage(form);
  EXPECT_GT(image.Width, 0);
  SaveFormPicture(form, QC_BINARY_DIR "/controls_panels.png");
}

// An option page with the suite's plain controls; writes build/dev/controls_option_page.png.
TEST(PanelPicture, OptionPageWithTheSuitesControls) {
  TForm form(nullptr);
  form.SetCaption("Options");
  form.SetBounds(0, 0, 560, 330);
  auto* pages = new TExtPageControl(&form);
  pages->SetParent(&form);
  pages->SetAlign(alClient);
  auto* page = new TTabSheet(&form);
  page->SetPageControl(pages);
  page->SetCaption(SysText("基本选项"));
  auto* system = new TTabSheet(&form);
  system->SetPageControl(pages);
  system->SetCaption(SysText("系统选项"));
  pages->SetActivePage(page);
  const auto place = [&](auto* c, int left, int top, int width, int height) {
    c->SetParent(page);
    c->SetBounds(left, top, width, height);
    return c;
  };
  auto* kind = place(new TNvBtnDBEdit(&form), 60, 12, 90, 21);
  kind->SetLabelCaption(SysText("单别"));
  kind->SetText("5101");
  place(new TNvDBEdit(&form), 60, 42, 150, 21)->SetLabelCaption(SysText("单号"));
  auto* audit = place(new TNvBtnDBCombo(&form), 60, 72, 120, 21);
  audit->SetLabelCaption(SysText("审核码"));
  audit->Items()->SetText(SysText("全部\n已审核\n未审核\n"));
  audit->SetItemIndex(1);
  auto* send = place(new TNvRadioGroup(&form), 8, 102, 220, 45);
  send->SetCaption(SysText("选择传送方式"));
  send->Items()->SetText(SysText("打印\nFax/Email\n"));
  send->SetColumns(2);
  send->SetItemIndex(0);
  auto* days = place(new TNvSpinEdit(&form), 60, 158, 60, 21);
  days->SetValue(7);
  auto* daysLabel = new TDBLabel(&form);
  daysLabel->SetParent(page);
  daysLabel->SetCaption(SysText("天数"));
  daysLabel->SetFocusControl(days);
  auto* permit = place(new TOruCheckBox(&form), 8, 190, 150, 17);
  permit->SetCaption(SysText("已发许可证"));
  permit->SetChecked(true);
  auto* date = place(new TSelectPanel(&form), 245, 8, 353, 45);
  date->SetCaption(SysText("清场日期"));
  date->SetOtherWidth(290);
  date->SetOtherHeight(80);
  date->SetUseVertical(true);
  date->SetGlyphIndex(9);
  date->edBegin->SetText("2004/03/01");
  auto* numbers = place(new TSelectPanel(&form), 245, 100, 353, 45);
  numbers->SetCaption(SysText("单号"));
  numbers->SetOtherWidth(290);
  numbers->SetOtherHeight(110);
  numbers->SetStyle(sp_UserChoice);
  numbers->SetUserChoice(false);
  numbers->ListBox->AddItem({"20040301001"});
  numbers->ListBox->AddItem({"20040302007"});
  const TRawImage image = FormPictureImage(form);
  EXPECT_EQ(image.Width, 560);
  SaveFormPicture(form, QC_BINARY_DIR "/controls_option_page.png");
}

}  // namespace
}  // namespace nv
