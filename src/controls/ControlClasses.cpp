#include "controls/ControlClasses.h"

#include "controls/NvCtrls.h"
#include "controls/SelectPnl.h"
#include "platform/ui/UiClasses.h"

namespace nv {

std::vector<const TClassInfo*> ControlClasses() {
  return {
      &TGSpeedButton::StaticClassInfo(), &TF2Button::StaticClassInfo(),
      &TBitCheckBox::StaticClassInfo(),  &TOruCheckBox::StaticClassInfo(),
      &TOruMaskEdit::StaticClassInfo(),  &TOruListView::StaticClassInfo(),
      &TSelectPanel::StaticClassInfo(),  &TExtPageControl::StaticClassInfo(),
      &TDBLabel::StaticClassInfo(),      &TNvRadioGroup::StaticClassInfo(),
      &TNvSpinEdit::StaticClassInfo(),   &TNvDBEdit::StaticClassInfo(),
      &TNvBtnDBEdit::StaticClassInfo(),  &TNvBtnDBCombo::StaticClassInfo(),
  };
}

void RegisterControlClasses() {
  RegisterUiClasses();
  for (const TClassInfo* info : ControlClasses())
    if (!GetClass(info->ClassName())) RegisterClass(*info);
}

}  // namespace nv
