#include "platform/ui/UiClasses.h"

#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Pictures.h"
#include "platform/ui/Spin.h"
#include "platform/ui/wwdbcomb.h"

namespace nv {

std::vector<const TClassInfo*> UiClasses() {
  return {
      &TControl::StaticClassInfo(),
      &TGraphicControl::StaticClassInfo(),
      &TWinControl::StaticClassInfo(),
      &TForm::StaticClassInfo(),
      &TLabel::StaticClassInfo(),
      &TCustomEdit::StaticClassInfo(),
      &TEdit::StaticClassInfo(),
      &TMaskEdit::StaticClassInfo(),
      &TMemo::StaticClassInfo(),
      &TComboBox::StaticClassInfo(),
      &TButtonControl::StaticClassInfo(),
      &TCheckBox::StaticClassInfo(),
      &TRadioButton::StaticClassInfo(),
      &TButton::StaticClassInfo(),
      &TGroupBox::StaticClassInfo(),
      &TRadioGroup::StaticClassInfo(),
      &TPanel::StaticClassInfo(),
      &TSplitter::StaticClassInfo(),
      &TMenuItem::StaticClassInfo(),
      &TMenu::StaticClassInfo(),
      &TMainMenu::StaticClassInfo(),
      &TPopupMenu::StaticClassInfo(),
      &TGlyph::StaticClassInfo(),
      &TImageList::StaticClassInfo(),
      &TCommonDialog::StaticClassInfo(),
      &TOpenDialog::StaticClassInfo(),
      &TSaveDialog::StaticClassInfo(),
      &TPrinterSetupDialog::StaticClassInfo(),
      &TPrintDialog::StaticClassInfo(),
      &TBitBtn::StaticClassInfo(),
      &TSpeedButton::StaticClassInfo(),
      &TTabSheet::StaticClassInfo(),
      &TPageControl::StaticClassInfo(),
      &TListColumn::StaticClassInfo(),
      &TListColumns::StaticClassInfo(),
      &TListItems::StaticClassInfo(),
      &TListView::StaticClassInfo(),
      &TTreeNodes::StaticClassInfo(),
      &TTreeView::StaticClassInfo(),
      &TStatusPanel::StaticClassInfo(),
      &TStatusPanels::StaticClassInfo(),
      &TStatusBar::StaticClassInfo(),
      &TProgressBar::StaticClassInfo(),
      &TToolButton::StaticClassInfo(),
      &TToolBar::StaticClassInfo(),
      &TSpinEdit::StaticClassInfo(),
      &TDrawGrid::StaticClassInfo(),
      &TStringGrid::StaticClassInfo(),
      &TwwDBCustomComboBox::StaticClassInfo(),
      &TwwDBComboBox::StaticClassInfo(),
  };
}

void RegisterUiClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterStandardClasses();
  for (const TClassInfo* info : UiClasses())
    if (!GetClass(info->ClassName())) RegisterClass(*info);
}

}  // namespace nv
