#include "controls/ControlClasses.h"

#include <gtest/gtest.h>

#include "controls/SelectPnl.h"
#include "platform/ui/Forms.h"

namespace nv {
namespace {

TEST(ControlClasses, RegisteredByName) {
  RegisterControlClasses();
  RegisterControlClasses();
  for (const char* name : {"TF2Button", "TGSpeedButton", "TSelectPanel", "TOruCheckBox"})
    EXPECT_NE(GetClass(name), nullptr) << name;
}

TEST(ControlClasses, StoredPanelPropertiesSetByName) {
  RegisterControlClasses();
  TForm form(nullptr);
  auto* panel = new TSelectPanel(&form);
  panel->SetParent(&form);
  SetPropValue(*panel, "ValueType", "vt_Date");
  SetPropValue(*panel, "Style", "sp_UserChoice");
  SetPropValue(*panel, "GlyphIndex", "9");
  EXPECT_EQ(panel->ValueType(), vt_Date);
  EXPECT_EQ(panel->Style(), sp_UserChoice);
  EXPECT_EQ(panel->btnBegin->GlyphIndex(), 9);
  EXPECT_EQ(GetPropValue(*panel, "DateType"), "dt_NoneCare");
}

}  // namespace
}  // namespace nv
