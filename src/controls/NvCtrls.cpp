#include "controls/NvCtrls.h"

namespace nv {

NV_PUBLISH(TExtPageControl) {
  using P = TExtPageControl;
  b.Prop("ActiveTabColor", &P::ActiveTabColor, &P::SetActiveTabColor).Default(clWindow);
  b.Prop("OwnerDraw", &P::OwnerDraw, &P::SetOwnerDraw).Default(true);
  b.Prop("OnDrawTab", &P::OnDrawTab, &P::OnDrawTab);
}

bool TExtPageControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
  if (!ownerDraw_ || !OnDrawTab) return false;
  OnDrawTab(this, tabIndex, rect, active);
  return true;
}

NV_PUBLISH(TDBLabel) {
  b.Prop("DataField", &TDBLabel::DataField, &TDBLabel::SetDataField);
  b.Prop("FocusControl", &TDBLabel::FocusControl, &TDBLabel::SetFocusControl);
  b.Prop("Spacing", &TDBLabel::Spacing, &TDBLabel::SetSpacing).Default(3);
}

void TDBLabel::SetFocusControl(TWinControl* control) {
  TLabel::SetFocusControl(control);
  Attach();
}

void TDBLabel::SetSpacing(int v) {
  if (v == spacing_) return;
  spacing_ = v;
  Attach();
}

void TDBLabel::TextChanged() {
  TLabel::TextChanged();  // the width follows the caption first
  Attach();
}

void TDBLabel::Attach() {
  const TWinControl* c = FocusControl();
  if (c == nullptr || c->Parent() != Parent()) return;
  SetBounds(c->Left() - spacing_ - Width(), c->Top() + (c->Height() - Height()) / 2, Width(),
            Height());
}

NV_PUBLISH(TNvRadioGroup) {}
NV_PUBLISH(TNvSpinEdit) {}

TCaptionLabelLink::TCaptionLabelLink(TWinControl* control)
    : control_(control), label_(new TDBLabel(control)) {
  label_->SetFocusControl(control);
}

const std::string& TCaptionLabelLink::Caption() const {
  static const std::string none;
  return label_ != nullptr ? label_->Caption() : none;
}

void TCaptionLabelLink::SetCaption(const std::string& v) {
  if (label_ != nullptr) label_->SetCaption(v);
}

void TCaptionLabelLink::Removed(const TComponent* component) {
  if (component == label_) label_ = nullptr;
}

void TCaptionLabelLink::Follow() {
  if (label_ == nullptr) return;
  label_->SetParent(control_->Parent());
  label_->SetVisible(control_->Visible());
  label_->SetEnabled(control_->Enabled());
  label_->Attach();
}

NV_PUBLISH(TNvDBEdit) {
  using P = TNvDBEdit;
  b.Prop("Caption", &P::LabelCaption, &P::SetLabelCaption);
  b.Prop("DataField", &P::DataField, &P::SetDataField);
  b.Prop("LabelSpacing", &P::LabelSpacing, &P::SetLabelSpacing).Default(3);
}

TNvDBEdit::TNvDBEdit(TComponent* owner) : TEdit(owner), link_(this) {}

void TNvDBEdit::SetLabelSpacing(int v) {
  if (EditLabel() != nullptr) EditLabel()->SetSpacing(v);
}

void TNvDBEdit::Notification(TComponent* component, TOperation operation) {
  TEdit::Notification(component, operation);
  if (operation == opRemove) link_.Removed(component);
}

void TNvDBEdit::SetParent(TWinControl* parent) {
  TEdit::SetParent(parent);
  FollowParts();
}

void TNvDBEdit::SetBounds(int left, int top, int width, int height) {
  TEdit::SetBounds(left, top, width, height);
  FollowParts();
}

void TNvDBEdit::SetVisible(bool visible) {
  TEdit::SetVisible(visible);
  FollowParts();
}

void TNvDBEdit::SetEnabled(bool enabled) {
  TEdit::SetEnabled(enabled);
  FollowParts();
}

namespace {
TF2Button* LookupButtonFor(TWinControl* control, TNotifyEvent* onButtonClick) {
  auto* button = new TF2Button(control);
  button->SetF2Control(control);
  // The form's own handler first, then the lookup request of the button itself.
  button->OnClick = [control, onButtonClick](TObject*) { (*onButtonClick)(control); };
  return button;
}
void FollowButton(TF2Button* button, TWinControl* control) {
  button->SetParent(control->Parent());
  button->SetVisible(control->Visible());
  button->SetEnabled(control->Enabled());
  button->Align();
}
}  // namespace

NV_PUBLISH(TNvBtnDBEdit) {
  using P = TNvBtnDBEdit;
  b.Prop("ButtonHint", &P::ButtonHint, &P::SetButtonHint);
  b.Prop("Glyph", &P::Glyph, &P::SetGlyph);
  b.Prop("NumGlyphs", &P::NumGlyphs, &P::SetNumGlyphs).Default(1);
  b.Prop("OnButtonClick", &P::OnButtonClick, &P::OnButtonClick);
}

TNvBtnDBEdit::TNvBtnDBEdit(TComponent* owner) : TNvDBEdit(owner) {
  button_ = LookupButtonFor(this, &OnButtonClick);
}

void TNvBtnDBEdit::Notification(TComponent* component, TOperation operation) {
  TNvDBEdit::Notification(component, operation);
  if (operation == opRemove && component == button_) button_ = nullptr;
}

void TNvBtnDBEdit::FollowParts() {
  TNvDBEdit::FollowParts();
  if (button_ != nullptr) FollowButton(button_, this);
}

NV_PUBLISH(TNvBtnDBCombo) {
  using P = TNvBtnDBCombo;
  b.Prop("ButtonHint", &P::ButtonHint, &P::SetButtonHint);
  b.Prop("Caption", &P::LabelCaption, &P::SetLabelCaption);
  b.Prop("Glyph", &P::Glyph, &P::SetGlyph);
  b.Prop("NumGlyphs", &P::NumGlyphs, &P::SetNumGlyphs).Default(1);
  b.Prop("OnButtonClick", &P::OnButtonClick, &P::OnButtonClick);
}

TNvBtnDBCombo::TNvBtnDBCombo(TComponent* owner) : TwwDBCustomComboBox(owner), link_(this) {
  button_ = LookupButtonFor(this, &OnButtonClick);
}

void TNvBtnDBCombo::Notification(TComponent* component, TOperation operation) {
  TwwDBCustomComboBox::Notification(component, operation);
  if (operation != opRemove) return;
  link_.Removed(component);
  if (component == button_) button_ = nullptr;
}

void TNvBtnDBCombo::FollowParts() {
  link_.Follow();
  if (button_ != nullptr) FollowButton(button_, this);
}

void TNvBtnDBCombo::SetParent(TWinControl* parent) {
  TwwDBCustomComboBox::SetParent(parent);
  FollowParts();
}

void TNvBtnDBCombo::SetBounds(int left, int top, int width, int height) {
  TwwDBCustomComboBox::SetBounds(left, top, width, height);
  FollowParts();
}

void TNvBtnDBCombo::SetVisible(bool visible) {
  TwwDBCustomComboBox::SetVisible(visible);
  FollowParts();
}

void TNvBtnDBCombo::SetEnabled(bool enabled) {
  TwwDBCustomComboBox::SetEnabled(enabled);
  FollowParts();
}

}  // namespace nv
