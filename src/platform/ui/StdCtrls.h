#pragma once
// Standard controls: label, edit, memo, combo box, check box, radio button, button, group
// box.
#include <string>

#include "platform/rtti/StringList.h"
#include "platform/ui/Controls.h"

namespace nv {

NV_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)
NV_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)
NV_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
NV_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)
NV_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)

// Width of a text in a font without a rasteriser: half the character height per byte, which
// is what a double-byte character set gives (a Chinese character is two bytes, square).
int TextWidthOf(const TFont& font, std::string_view text);
int TextHeightOf(const TFont& font);

class TLabel : public TGraphicControl {
  NV_CLASS(TLabel, TGraphicControl)
 public:
  explicit TLabel(TComponent* owner);
  // The control that a click on the label or its accelerator focuses.
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* control);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; }
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout v) { layout_ = v; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { wordWrap_ = v; }
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v) { showAccelChar_ = v; }
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void TextChanged() override { AdjustSize(); }
  void FontChanged() override;
  void AdjustSize();

 private:
  TWinControl* focusControl_ = nullptr;
  bool autoSize_ = true;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool transparent_ = false;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
};

class TCustomEdit : public TWinControl {
  NV_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* owner);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v) { maxLength_ = v; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char v) { passwordChar_ = v; }
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase v) { charCase_ = v; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v) { borderStyle_ = v; }
  bool Modified() const { return modified_; }
  void SetModified(bool v) { modified_ = v; }
  // Selection within the text, in bytes.
  int SelStart() const { return selStart_; }
  void SetSelStart(int v);
  int SelLength() const { return selLength_; }
  void SetSelLength(int v);
  std::string SelText() const;
  void SetSelText(const std::string& text);  // replaces the selection, as typing does
  void SelectAll();
  void Clear() { SetText(""); }
  bool WantsKey(Word key, TShiftState shift) const override;
  void KeyPress(char& key) override;
  void DoEnter() override;

  TNotifyEvent OnChange;

 protected:
  void TextChanged() override;
  virtual void Change() { OnChange(this); }
  // What typing one character does (after the key events let it through).
  virtual void TypeChar(char key);

  int selStart_ = 0;
  int selLength_ = 0;

 private:
  int maxLength_ = 0;
  bool readOnly_ = false;
  char passwordChar_ = '\0';
  bool autoSelect_ = true;
  TEditCharCase charCase_ = ecNormal;
  TBorderStyle borderStyle_ = bsSingle;
  bool modified_ = false;
};

class TEdit : public TCustomEdit {
  NV_CLASS(TEdit, TCustomEdit)
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

class TMemo : public TCustomEdit {
  NV_CLASS(TMemo, TCustomEdit)
 public:
  explicit TMemo(TComponent* owner);
  ~TMemo() override;
  TStrings* Lines() const { return lines_; }
  void SetLines(TStrings* lines) { lines_->Assign(*lines); }
  std::string Text() const override;
  void SetText(const std::string& text) override;
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v) { scrollBars_ = v; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { wordWrap_ = v; }
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool v) { wantReturns_ = v; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool v) { wantTabs_ = v; }
  // Caret: line (Y) and column (X), from 0.
  TPoint CaretPos() const { return caret_; }
  void SetCaretPos(TPoint p) { caret_ = p; }
  bool WantsKey(Word key, TShiftState shift) const override;

 protected:
  void TypeChar(char key) override;

 private:
  TStringList* lines_;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
  TPoint caret_;
};

class TComboBox : public TWinControl {
  NV_CLASS(TComboBox, TWinControl)
 public:
  explicit TComboBox(TComponent* owner);
  ~TComboBox() override;
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle v);
  TStrings* Items() const { return items_; }
  void SetItems(TStrings* items) { items_->Assign(*items); }
  int ItemIndex() const { return itemIndex_; }
  // Selects the item (its text becomes the combo's text); -1 clears. No OnChange, as when
  // a program sets it.
  void SetItemIndex(int index);
  void SetText(const std::string& text) override;
  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int v) { dropDownCount_ = v; }
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v) { maxLength_ = v; }
  bool DroppedDown() const { return droppedDown_; }
  // The user opens the list (OnDropDown), and closes it (OnCloseUp).
  void DropDown();
  void CloseUp();
  // The user picks an item: the list opens, the item is chosen, OnChange and OnSelect.
  void UserSelect(int index);
  bool WantsKey(Word key, TShiftState shift) const override;
  void KeyPress(char& key) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnSelect;

 protected:
  void ItemsChanged();

 private:
  TComboBoxStyle style_ = csDropDown;
  TStringList* items_;
  int itemIndex_ = -1;
  bool sorted_ = false;
  int dropDownCount_ = 8;
  int maxLength_ = 0;
  bool droppedDown_ = false;
};

class TButtonControl : public TWinControl {
  NV_CLASS(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* owner);
  bool WantsKey(Word key, TShiftState shift) const override { return false; }
};

class TCheckBox : public TButtonControl {
  NV_CLASS(TCheckBox, TButtonControl)
 public:
  explicit TCheckBox(TComponent* owner);
  bool Checked() const { return state_ == cbChecked; }
  // Changing the state raises OnClick, as the platform does.
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState v);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool v) { allowGrayed_ = v; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; }
  // A user click toggles the box.
  void Click() override;
  void KeyPress(char& key) override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = taRightJustify;
  bool clicking_ = false;
};

class TRadioButton : public TButtonControl {
  NV_CLASS(TRadioButton, TButtonControl)
 public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const { return checked_; }
  // Checking one unchecks its siblings and raises OnClick.
  void SetChecked(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; }
  void Click() override;

 private:
  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
};

class TButton : public TButtonControl {
  NV_CLASS(TButton, TButtonControl)
 public:
  explicit TButton(TComponent* owner);
  // Enter anywhere on the form clicks the default button; Esc the cancel button.
  bool Default() const { return default_; }
  void SetDefault(bool v) { default_ = v; }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v) { modalResult_ = v; }
  // Gives the form the button's modal result, then OnClick.
  void Click() override;
  void KeyPress(char& key) override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
};

class TGroupBox : public TWinControl {
  NV_CLASS(TGroupBox, TWinControl)
 public:
  explicit TGroupBox(TComponent* owner);
  TRect ClientRect() const override;
};

}  // namespace nv
