#include <gtest/gtest.h>

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

}  // namespace
}  // namespace nv
