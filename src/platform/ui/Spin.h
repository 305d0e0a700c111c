#pragma once
// The spin edit: an edit of whole numbers with up and down buttons.
#include "platform/ui/StdCtrls.h"

namespace nv {

class TSpinEdit : public TCustomEdit {
  NV_CLASS(TSpinEdit, TCustomEdit)
 public:
  explicit TSpinEdit(TComponent* owner);
  // The text as a number, kept within MinValue..MaxValue when both are not 0.
  int Value() const;
  void SetValue(int v);
  int MinValue() const { return minValue_; }
  void SetMinValue(int v);
  int MaxValue() const { return maxValue_; }
  void SetMaxValue(int v);
  int Increment() const { return increment_; }
  void SetIncrement(int v) { increment_ = v; }
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool v) { editorEnabled_ = v; }
  // The user presses the up or down button (or the arrow keys).
  void StepUp() { SetValue(Value() + increment_); }
  void StepDown() { SetValue(Value() - increment_); }
  void KeyDown(Word& key, TShiftState shift) override;
  bool WantsKey(Word key, TShiftState shift) const override;

 protected:
  void TypeChar(char key) override;

 private:
  int Clamp(int v) const;
  int minValue_ = 0;
  int maxValue_ = 0;
  int increment_ = 1;
  bool editorEnabled_ = true;
};

}  // namespace nv
