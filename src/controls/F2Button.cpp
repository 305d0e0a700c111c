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
  // The hook names this button: it goes with it, also when the form goes as a whole.
  Unhook();
  if (f2Control_ != nullptr) f2Control_->RemoveFreeNotification(this);
}

void TF2Button::Hook() {
  if (f2Control_ == nullptr || !ComponentState().Contains(csDesigning)) return;
  hooked_ = f2Control_;
  previousMove_ = hooked_->MessageHandler(WM_MOVE);
  previousSize_ = hooked_->MessageHandler(WM_SIZE);
  TWinControl* control = hooked_;
  const auto follow = [this, control](const TMessageHandler& previous) {
    return [this, control, previous](TMessage& message) {
      if (previous)
        previous(message);
      else
        control->DefaultHandler(message);
      Align();
    };
  };
  hooked_->SetMessageHandler(WM_MOVE, follow(previousMove_));
  hooked_->SetMessageHandler(WM_SIZE, follow(previousSize_));
}

void TF2Button::Unhook() {
  if (hooked_ == nullptr) return;
  hooked_->SetMessageHandler(WM_MOVE, previousMove_);
  hooked_->SetMessageHandler(WM_SIZE, previousSize_);
  hooked_ = nullptr;
  previousMove_ = nullptr;
  previousSize_ = nullptr;
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
  Unhook();
  if (f2Control_ != nullptr) f2Control_->RemoveFreeNotification(this);
  f2Control_ = c;
  if (c != nullptr) {
    c->FreeNotification(this);
    Hook();
    Align();
  }
}

void TF2Button::SetAutoAlign(bool v) {
  autoAlign_ = v;
  Unhook();
  Hook();
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
    // The control's window goes: its handlers go with it.
    hooked_ = nullptr;
    previousMove_ = nullptr;
    previousSize_ = nullptr;
    f2Control_ = nullptr;
  }
}

}  // namespace nv
