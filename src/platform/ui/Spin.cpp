#include "platform/ui/Spin.h"

#include <algorithm>
#include <cctype>

#include "platform/ui/Menus.h"

namespace nv {

NV_PUBLISH(TSpinEdit) {
  PublishFontColor(b, clWindow);
  b.Prop("EditorEnabled", &TSpinEdit::EditorEnabled, &TSpinEdit::SetEditorEnabled).Default(true);
  b.Prop("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement).Default(1);
  b.Prop("MaxLength", &TSpinEdit::MaxLength, &TSpinEdit::SetMaxLength).Default(0);
  b.Prop("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue).Default(0);
  b.Prop("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue).Default(0);
  b.Prop("ReadOnly", &TSpinEdit::ReadOnly, &TSpinEdit::SetReadOnly).Default(false);
  b.Prop("Value", &TSpinEdit::Value, &TSpinEdit::SetValue).NoDefault();
  PublishHintPopup(b);
  PublishFocusKeys(b, true);
  b.Prop("OnChange", &TSpinEdit::OnChange, &TSpinEdit::OnChange);
  PublishMouseEvents(b);
}

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) {
  SetText("0");
}

int TSpinEdit::Clamp(int v) const {
  if (minValue_ == 0 && maxValue_ == 0) return v;
  return std::clamp(v, minValue_, std::max(minValue_, maxValue_));
}

int TSpinEdit::Value() const {
  return Clamp(StrToIntDef(Trim(Text()), minValue_));
}

void TSpinEdit::SetValue(int v) {
  SetText(IntToStr(Clamp(v)));
}

void TSpinEdit::SetMinValue(int v) {
  minValue_ = v;
  if (!ComponentState().Contains(csLoading)) SetValue(Value());
}

void TSpinEdit::SetMaxValue(int v) {
  maxValue_ = v;
  if (!ComponentState().Contains(csLoading)) SetValue(Value());
}

bool TSpinEdit::WantsKey(Word key, TShiftState shift) const {
  return key == VK_UP || key == VK_DOWN || TCustomEdit::WantsKey(key, shift);
}

void TSpinEdit::KeyDown(Word& key, TShiftState shift) {
  TCustomEdit::KeyDown(key, shift);
  if (key == VK_UP) StepUp();
  if (key == VK_DOWN) StepDown();
}

void TSpinEdit::TypeChar(char key) {
  if (!editorEnabled_) return;
  auto u = static_cast<unsigned char>(key);
  // digits, a sign and editing keys only
  if (std::isdigit(u) || key == '-' || key == '+' || key == '\b') TCustomEdit::TypeChar(key);
}

}  // namespace nv
