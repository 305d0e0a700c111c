#pragma once
// NvCtrls: the suite's plain controls that the option forms place: the page control with
// owner-drawn tabs, the attached caption label, the radio group, the spin edit and the
// data-aware edits and lookup combo box that carry their own caption label (and button).
#include <string>

#include "controls/F2Button.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Spin.h"
#include "platform/ui/wwdbcomb.h"

namespace nv {

NV_EVENT_TYPE(TDrawTabEvent, TObject* /*Control*/, int /*TabIndex*/, const TRect& /*Rect*/,
              bool /*Active*/);

// The page control whose tabs the form paints (OnDrawTab) while OwnerDraw is set.
class TExtPageControl : public TPageControl {
  NV_CLASS(TExtPageControl, TPageControl)
 public:
  explicit TExtPageControl(TComponent* owner) : TPageControl(owner) {}
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v) { ownerDraw_ = v; }
  TColor ActiveTabColor() const { return activeTabColor_; }
  void SetActiveTabColor(TColor v) { activeTabColor_ = v; }
  // Paints one tab: OnDrawTab when OwnerDraw; false when nobody painted it (the platform's
  // tab then shows).
  bool DrawTab(int tabIndex, const TRect& rect, bool active);

  TDrawTabEvent OnDrawTab;

 private:
  bool ownerDraw_ = true;
  TColor activeTabColor_ = clWindow;
};

// The caption label attached to a control (FocusControl): it stands Spacing pixels to the
// left of the control, centred on its height, and follows it.
class TDBLabel : public TLabel {
  NV_CLASS(TDBLabel, TLabel)
 public:
  explicit TDBLabel(TComponent* owner) : TLabel(owner) {}
  void SetFocusControl(TWinControl* control);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  const std::string& DataField() const { return dataField_; }
  void SetDataField(const std::string& v) { dataField_ = v; }
  // Beside FocusControl again (after it moved or the caption changed).
  void Attach();

 protected:
  void TextChanged() override;

 private:
  int spacing_ = 3;
  std::string dataField_;
};

class TNvRadioGroup : public TRadioGroup {
  NV_CLASS(TNvRadioGroup, TRadioGroup)
 public:
  explicit TNvRadioGroup(TComponent* owner) : TRadioGroup(owner) {}
};

class TNvSpinEdit : public TSpinEdit {
  NV_CLASS(TNvSpinEdit, TSpinEdit)
 public:
  explicit TNvSpinEdit(TComponent* owner) : TSpinEdit(owner) {}
};

// The caption label a data-aware control carries: owned by the control, placed on the
// control's parent, moved, shown and enabled with it. Not stored in form texts.
class TCaptionLabelLink {
 public:
  explicit TCaptionLabelLink(TWinControl* control);
  TDBLabel* Label() const { return label_; }
  const std::string& Caption() const;
  void SetCaption(const std::string& v);
  // The control was given another parent, bounds, visibility or enabled state.
  void Follow();
  // The label went first (its parent freed it): the control no longer reaches it.
  void Removed(const TComponent* component);

 private:
  TWinControl* control_;
  TDBLabel* label_;
};

// The data-aware edit with its caption label; "Caption" in form texts is the label's.
class TNvDBEdit : public TEdit {
  NV_CLASS(TNvDBEdit, TEdit)
 public:
  explicit TNvDBEdit(TComponent* owner);
  const std::string& DataField() const { return dataField_; }
  void SetDataField(const std::string& v) { dataField_ = v; }
  TDBLabel* EditLabel() const { return link_.Label(); }
  const std::string& LabelCaption() const { return link_.Caption(); }
  void SetLabelCaption(const std::string& v) { link_.SetCaption(v); }
  int LabelSpacing() const { return EditLabel() != nullptr ? EditLabel()->Spacing() : 3; }
  void SetLabelSpacing(int v);

  void SetParent(TWinControl* parent) override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  // The parts beside the edit follow it (the label; a lookup edit's button too).
  virtual void FollowParts() { link_.Follow(); }

 private:
  std::string dataField_;
  TCaptionLabelLink link_;
};

// The labelled lookup edit: a lookup button to the right asks the owner form for the
// edit's lookup (message 1034), as F2 does, after OnButtonClick.
class TNvBtnDBEdit : public TNvDBEdit {
  NV_CLASS(TNvBtnDBEdit, TNvDBEdit)
 public:
  explicit TNvBtnDBEdit(TComponent* owner);
  TF2Button* Button() const { return button_; }
  TGlyph* Glyph() const { return button_->Glyph(); }
  void SetGlyph(TGlyph* v) { button_->SetGlyph(v); }
  int NumGlyphs() const { return button_->NumGlyphs(); }
  void SetNumGlyphs(int v) { button_->SetNumGlyphs(v); }
  const std::string& ButtonHint() const { return button_->Hint(); }
  void SetButtonHint(const std::string& v) { button_->SetHint(v); }

  TNotifyEvent OnButtonClick;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void FollowParts() override;

 private:
  TF2Button* button_ = nullptr;
};

// The lookup combo box: a data-aware combo box with its caption label and a lookup button.
class TNvBtnDBCombo : public TwwDBCustomComboBox {
  NV_CLASS(TNvBtnDBCombo, TwwDBCustomComboBox)
 public:
  explicit TNvBtnDBCombo(TComponent* owner);
  TDBLabel* EditLabel() const { return link_.Label(); }
  const std::string& LabelCaption() const { return link_.Caption(); }
  void SetLabelCaption(const std::string& v) { link_.SetCaption(v); }
  TF2Button* Button() const { return button_; }
  TGlyph* Glyph() const { return button_->Glyph(); }
  void SetGlyph(TGlyph* v) { button_->SetGlyph(v); }
  int NumGlyphs() const { return button_->NumGlyphs(); }
  void SetNumGlyphs(int v) { button_->SetNumGlyphs(v); }
  const std::string& ButtonHint() const { return button_->Hint(); }
  void SetButtonHint(const std::string& v) { button_->SetHint(v); }

  void SetParent(TWinControl* parent) override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void Notification(TComponent* component, TOperation operation) override;

  TNotifyEvent OnButtonClick;

 private:
  void FollowParts();
  TCaptionLabelLink link_;
  TF2Button* button_ = nullptr;
};

}  // namespace nv
