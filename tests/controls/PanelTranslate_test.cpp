#include <gtest/gtest.h>

#include "../runtime/RuntimeFixture.h"
#include "controls/SelectPnl.h"
#include "platform/ui/Forms.h"
#include "runtime/CodeConverter.h"

namespace nv {
namespace {

// A Big5 interface over a form designed in GB: the panel's words reach its inner controls.
class PanelTranslation : public testing::SuiteMachine {};

TEST_F(PanelTranslation, WordListsHintsAndRowsAreConverted) {
  Install();
  testing::WriteFile(ClientPath() + "BatonC.ini", "[CodePage]\nUICodePage=950\nDBCodePage=936\n");
  const auto gb = [](std::string_view utf8) { return Utf8ToAnsi(utf8, kCodePageGB); };
  const auto big5 = [](std::string_view utf8) { return Utf8ToAnsi(utf8, kCodePageBig5); };
  TForm form(nullptr);
  auto* panel = new TSelectPanel(&form);
  panel->SetParent(&form);
  panel->SetStyle(sp_UserChoice);
  panel->SetUserChoice(false);
  panel->ListBox->AddItem({gb("设备"), gb("工序")});
  SetSystemCodePage(950);  // the panel's own words were made in GB, as forms are designed
  TCodeConverter converter(&form);
  converter.DoTranslate(form, "", true);
  EXPECT_EQ(panel->HintWord(), big5("區間選擇"));
  EXPECT_EQ(panel->SwitchBox->Caption(), big5("區間選擇"));
  EXPECT_EQ(panel->BeginWords()->Get(1), big5("起"));
  EXPECT_EQ(panel->lblBegin->Caption(), big5("起"));
  EXPECT_EQ(panel->edFinal->Hint(), big5("區間選擇-截止信息"));
  EXPECT_EQ(panel->btnClear->Hint(), big5("多選-刪除己選信息"));
  EXPECT_EQ(panel->Items()->Item(0)->Caption(), big5("設備"));
  EXPECT_EQ(panel->Items()->Item(0)->SubItems()->Get(0), big5("工序"));
  EXPECT_EQ(panel->Columns()->Items(1)->Caption(), "Data2");
}

}  // namespace
}  // namespace nv
