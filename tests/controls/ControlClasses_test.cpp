#include "controls/ControlClasses.h"

#include <gtest/gtest.h>

#include "controls/NvCtrls.h"
#include "controls/SelectPnl.h"
#include "platform/rtti/FormText.h"
#include "platform/ui/Forms.h"

namespace nv {
namespace {

TEST(ControlClasses, RegisteredByName) {
  RegisterControlClasses();
  RegisterControlClasses();
  for (const char* name : {"TF2Button", "TGSpeedButton", "TSelectPanel", "TOruCheckBox",
                           "TExtPageControl", "TDBLabel", "TNvRadioGroup", "TNvSpinEdit",
                           "TNvDBEdit", "TNvBtnDBEdit", "TNvBtnDBCombo"})
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

// An option page as a form text names the suite's controls; their own label and button
// are not written back.
TEST(ControlClasses, FormTextWithTheSuitesControlsReadsAndWritesBack) {
  RegisterControlClasses();
  TForm form(nullptr);
  ReadComponentText(form, R"(object frmOpt: TForm
  object pgOption: TExtPageControl
    Width = 400
    Height = 200
    object tsOption1: TTabSheet
      Caption = 'Basic'
      object edtTD001: TNvBtnDBEdit
        Left = 60
        Top = 12
        Width = 90
        Height = 21
        Caption = 'Kind'
        DataField = 'TD001'
        ButtonHint = 'F2'
      end
      object rgSendType: TNvRadioGroup
        Top = 40
        Items.Strings = (
          'Print'
          'Fax/Email')
        ItemIndex = 1
      end
      object lblToday: TDBLabel
        Caption = 'Today'
        FocusControl = edtTD001
      end
    end
  end
end
)");
  auto* edit = dynamic_cast<TNvBtnDBEdit*>(form.FindComponent("edtTD001"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->EditLabel()->Caption(), "Kind");
  EXPECT_EQ(edit->EditLabel()->Parent(), edit->Parent());
  EXPECT_EQ(edit->Button()->Hint(), "F2");
  EXPECT_EQ(edit->Button()->Left(), 152);
  EXPECT_EQ(dynamic_cast<TNvRadioGroup*>(form.FindComponent("rgSendType"))->ItemIndex(), 1);
  auto* today = dynamic_cast<TDBLabel*>(form.FindComponent("lblToday"));
  ASSERT_NE(today, nullptr);
  EXPECT_EQ(today->FocusControl(), edit);
  const std::string text = WriteComponentText(form);
  EXPECT_NE(text.find("Caption = 'Kind'"), std::string::npos) << text;
  EXPECT_EQ(text.find("TF2Button"), std::string::npos) << text;
  EXPECT_EQ(text.find(": TDBLabel"), text.rfind(": TDBLabel")) << "only lblToday: " << text;
}

}  // namespace
}  // namespace nv
