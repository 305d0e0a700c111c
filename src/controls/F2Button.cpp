#include "controls/F2Button.h"

#include "platform/core/CodePage.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

namespace nv {

NV_PUBLISH(TF2Button) {
  b.Prop("AutoAlign", &TF2Button::AutoAlign, &TF2Button::SetAutoAlign).Default(true);
  b.Prop("F2Control", &TF2Button::F2Control, &TF2Button::SetF2Control);
  b.Prop("Flat", &TF2Button::Flat, &TF2Button::SetFlat).Default(true);
  b.Prop("Gap", &TF2Button::Gap, &TF2Button::SetGap).Default(2);
  b.Prop("GlyphIndex", &TF2Button::GlyphIndex, &TF2Button::SetGlyphIndex).Default(8);
}

TF2Button::TF2Button(TComponent* owner) : TGSpeedButton(owner) {
  SetFlat(true);
  SetGlyphIndex(8);
}

TF2Button::~TF2Button() {
  if (f2Control_ != nullptr) f2Control_->RemoveFreeNotification(this);
}

void TF2Button::SetF2Control(TWinControl* c) {
  if (c != nullptr && Parent() != nullptr) {
    for (TComponent* component : Parent()->Components()) {
      auto* other = dynamic_cast<TF2Button*>(component);
      if (other == nullptr || other->F2Control() != c) continue;
      if (other != this)
        MessageDlg(SysText("不能同时有两个 F2Button 指到同一个 Edit."), mtError, {mbOK});
      return;
    }
  }
  if (f2Control_ != nullptr) f2Control_->RemoveFreeNotification(this);
  f2Control_ = c;
  if (c != nullptr) {
    c->FreeNotification(this);
    Align();
  }
}

void TF2Button::SetAutoAlign(bool v) {
  autoAlign_ = v;
  Align();
}

void TF2Button::SetGap(std::uint8_t v) {
  if (v == gap_) return;
  gap_ = v;
  Align();
}

void TF2Button::Align() {
  if (f2Control_ == nullptr || !autoAlign_) return;
  const int height = f2Control_->Height();
  SetBounds(f2Control_->Left() + f2Control_->Width() + gap_, f2Control_->Top(), height, height);
}

void TF2Button::Click() {
  TGSpeedButton::Click();
  TWinControl* target = f2Control_;
  if (target == nullptr || !target->Enabled()) return;
  if (target->CanFocus()) target->SetFocus();
  if (!target->Focused()) return;
  auto* form = dynamic_cast<TWinControl*>(target->Owner());
  if (form == nullptr) return;
  SendMessage(form->Handle(), WM_OPENLOOKUP, 0, ControlToParam(target));
}

void TF2Button::Notification(TComponent* component, TOperation operation) {
  TGSpeedButton::Notification(component, operation);
  if (operation == opRemove && component == f2Control_) {
    f2Control_ = nullptr;
  }
}

}  // namespace nv
