#include <gtest/gtest.h>

#include "platform/rtti/FormText.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Menus.h"
#include "platform/ui/UiClasses.h"

namespace nv {
namespace {

class TfrmStored : public TForm {
  NV_CLASS(TfrmStored, TForm)
 public:
  explicit TfrmStored(TComponent* owner) : TForm(owner) {}
  void btnOkClick(TObject*) { ++clicks; }
  TPageControl* pgOption = nullptr;
  TRadioGroup* rgSendType = nullptr;
  int clicks = 0;
};

NV_PUBLISH(TfrmStored) {
  b.Field("pgOption", &TfrmStored::pgOption);
  b.Field("rgSendType", &TfrmStored::rgSendType);
  b.Method("btnOkClick", &TfrmStored::btnOkClick);
}

// The layouts of the option forms are such texts: controls nest in their parents, pages in
// their page control, menu items in their menu.
constexpr const char* kLayout = R"(object frmStored: TfrmStored
  Left = 10
  Top = 20
  BorderIcons = [biMaximize]
  Caption = 'frmBaseGene'
  ClientHeight = 355
  ClientWidth = 509
  KeyPreview = True
  Position = poScreenCenter
  object pgOption: TPageControl
    Left = 0
    Top = 0
    Width = 509
    Height = 314
    ActivePage = tsOption2
    Align = alClient
    object tsOption1: TTabSheet
      Caption = 'Basic'
      object edPrintDate: TMaskEdit
        Left = 60
        Top = 8
        Width = 85
        Height = 21
        EditMask = '9999/99/99;1; '
        Text = '2004/03/07'
      end
    end
    object tsOption2: TTabSheet
      Caption = 'System'
      object rgSendType: TRadioGroup
        Left = 8
        Top = 8
        Width = 200
        Height = 40
        Columns = 2
        ItemIndex = 1
        Items.Strings = (
          'Print'
          'Fax/Email')
      end
    end
  end
  object Panel1: TPanel
    Left = 0
    Top = 314
    Width = 509
    Height = 41
    Align = alBottom
    object btnOk: TButton
      Left = 340
      Top = 8
      Width = 75
      Height = 25
      Caption = 'OK'
      OnClick = btnOkClick
    end
  end
  object mnList: TPopupMenu
    Left = 40
    Top = 200
    object N7: TMenuItem
      Caption = 'Icons'
      Checked = True
      ShortCut = 16455
    end
  end
end
)";

TEST(UiFormText, LayoutReadsOntoAFormAndWritesBackItsDifferences) {
  RegisterUiClasses();
  if (!GetClass("TfrmStored")) RegisterClass(TfrmStored::StaticClassInfo());
  auto* form = nv::Create<TfrmStored>(nullptr);
  ReadComponentText(*form, kLayout, "frmStored");
  ASSERT_NE(form->pgOption, nullptr);
  EXPECT_EQ(form->pgOption->ActivePage()->Name(), "tsOption2");
  EXPECT_TRUE(form->pgOption->ActivePage()->Visible());
  EXPECT_FALSE(form->pgOption->Pages(0)->Visible());
  EXPECT_EQ(form->pgOption->BoundsRect(), Rect(0, 0, 509, 314));
  ASSERT_EQ(form->rgSendType->ButtonCount(), 2);
  EXPECT_TRUE(form->rgSendType->Buttons(1)->Checked());
  auto& date = static_cast<TMaskEdit&>(form->ComponentByName("edPrintDate"));
  EXPECT_EQ(date.Text(), "2004/03/07");
  auto& menu = static_cast<TPopupMenu&>(form->ComponentByName("mnList"));
  ASSERT_EQ(menu.Items()->Count(), 1);
  EXPECT_TRUE(menu.IsShortCut('G', {ssCtrl}));
  static_cast<TControl&>(form->ComponentByName("btnOk")).Click();
  EXPECT_EQ(form->clicks, 1);
  EXPECT_EQ(form->Width(), 517);

  // written back and read onto a fresh form, the layout is the same
  std::string text = WriteComponentText(*form);
  auto* again = nv::Create<TfrmStored>(nullptr);
  ReadComponentText(*again, text, "again");
  EXPECT_EQ(WriteComponentText(*again), text);
  EXPECT_EQ(again->pgOption->ActivePage()->Name(), "tsOption2");
  EXPECT_EQ(text.find("Visible = False"), std::string::npos) << text;
  again->Free();
  form->Free();
}

}  // namespace
}  // namespace nv
