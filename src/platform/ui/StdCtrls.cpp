#include "platform/ui/StdCtrls.h"

#include "platform/ui/Menus.h"

#include <algorithm>
#include <cctype>

#include "platform/ui/Forms.h"

namespace nv {

int TextHeightOf(const TFont& font) {
  int h = font.Height() < 0 ? -font.Height() : font.Height() * 96 / 72;
  return h + 1;
}

int TextWidthOf(const TFont& font, std::string_view text) {
  int h = font.Height() < 0 ? -font.Height() : font.Height() * 96 / 72;
  return static_cast<int>(text.size()) * ((h + 1) / 2);
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TLabel) {
  b.Prop("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
  b.Prop("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true);
  b.Prop("Caption", &TLabel::Caption, &TLabel::SetCaption);
  PublishFontColor(b, clBtnFace);
  b.Prop("ParentColor", &TLabel::ParentColor, &TLabel::SetParentColor).Default(true);
  b.Prop("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
  b.Prop("Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop);
  b.Prop("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
  b.Prop("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(false);
  b.Prop("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false);
  PublishHintPopup(b);
  PublishMouseEvents(b);
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  width_ = 65;
  height_ = 17;
  SetParentColor(true);
}

void TLabel::SetFocusControl(TWinControl* control) {
  if (control == focusControl_) return;
  focusControl_ = control;
  if (control) control->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TLabel::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  AdjustSize();
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustSize();
}

void TLabel::AdjustSize() {
  if (!autoSize_ || wordWrap_ || ComponentState().Contains(csLoading)) return;
  std::string shown = Caption();
  if (showAccelChar_) shown.erase(std::remove(shown.begin(), shown.end(), '&'), shown.end());
  SetBounds(left_, top_, std::max(1, TextWidthOf(*Font(), shown)), TextHeightOf(*Font()));
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TCustomEdit) {}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  width_ = 121;
  height_ = 21;
  SetColor(clWindow);
  SetTabStop(true);
}

void TCustomEdit::SetSelStart(int v) {
  selStart_ = std::clamp(v, 0, static_cast<int>(Text().size()));
  selLength_ = 0;
}

void TCustomEdit::SetSelLength(int v) {
  selLength_ = std::clamp(v, 0, static_cast<int>(Text().size()) - selStart_);
}

std::string TCustomEdit::SelText() const {
  std::string t = Text();
  if (selStart_ >= static_cast<int>(t.size())) return {};
  return t.substr(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selLength_));
}

void TCustomEdit::SetSelText(const std::string& text) {
  std::string t = Text();
  std::size_t start = std::min(static_cast<std::size_t>(selStart_), t.size());
  t.replace(start, static_cast<std::size_t>(selLength_), text);
  int caret = static_cast<int>(start + text.size());
  SetText(t);
  selStart_ = std::min(caret, static_cast<int>(Text().size()));
  selLength_ = 0;
}

void TCustomEdit::SelectAll() {
  selStart_ = 0;
  selLength_ = static_cast<int>(Text().size());
}

void TCustomEdit::DoEnter() {
  if (autoSelect_) SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::TextChanged() {
  modified_ = true;
  selStart_ = std::min(selStart_, static_cast<int>(text_.size()));
  selLength_ = std::min(selLength_, static_cast<int>(text_.size()) - selStart_);
  if (!ComponentState().Contains(csLoading)) Change();
}

bool TCustomEdit::WantsKey(Word key, TShiftState) const {
  return key == VK_LEFT || key == VK_RIGHT || key == VK_HOME || key == VK_END || key == VK_DELETE;
}

void TCustomEdit::KeyPress(char& key) {
  TWinControl::KeyPress(key);
  if (key != '\0') TypeChar(key);
}

void TCustomEdit::TypeChar(char key) {
  if (readOnly_) return;
  if (key == '\b') {
    if (selLength_ == 0 && selStart_ > 0) {
      --selStart_;
      selLength_ = 1;
    }
    SetSelText("");
    return;
  }
  if (static_cast<unsigned char>(key) < 32) return;
  if (charCase_ == ecUpperCase)
    key = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
  if (charCase_ == ecLowerCase)
    key = static_cast<char>(std::tolower(static_cast<unsigned char>(key)));
  if (maxLength_ > 0 && static_cast<int>(Text().size()) - selLength_ >= maxLength_) return;
  SetSelText(std::string(1, key));
}

NV_PUBLISH(TEdit) {
  b.Prop("AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect).Default(true);
  b.Prop("BorderStyle", &TEdit::BorderStyle, &TEdit::SetBorderStyle).Default(bsSingle);
  b.Prop("CharCase", &TEdit::CharCase, &TEdit::SetCharCase).Default(ecNormal);
  PublishFontColor(b, clWindow);
  b.Prop("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0);
  b.Prop("PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar).Default('\0');
  b.Prop("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false);
  b.Prop("Text", &TEdit::Text, &TEdit::SetText);
  PublishHintPopup(b);
  PublishFocusKeys(b, true);
  b.Prop("OnChange", &TEdit::OnChange, &TEdit::OnChange);
  PublishMouseEvents(b);
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TMemo) {
  b.Prop("BorderStyle", &TMemo::BorderStyle, &TMemo::SetBorderStyle).Default(bsSingle);
  PublishFontColor(b, clWindow);
  b.Prop("Lines", &TMemo::Lines, &TMemo::SetLines);
  b.Prop("MaxLength", &TMemo::MaxLength, &TMemo::SetMaxLength).Default(0);
  b.Prop("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly).Default(false);
  b.Prop("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars).Default(ssNone);
  b.Prop("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns).Default(true);
  b.Prop("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs).Default(false);
  b.Prop("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap).Default(true);
  PublishHintPopup(b);
  PublishFocusKeys(b, true);
  b.Prop("OnChange", &TMemo::OnChange, &TMemo::OnChange);
  PublishMouseEvents(b);
}

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner), lines_(new TStringList) {
  width_ = 185;
  height_ = 89;
  SetAutoSelect(false);
  lines_->OnChange = [this](TObject*) {
    if (!ComponentState().Contains(csLoading)) Change();
  };
}

TMemo::~TMemo() {
  delete lines_;
}

std::string TMemo::Text() const {
  std::string t = lines_->Text();
  // the edit shows no line break after the last line
  if (t.size() >= 2 && t.compare(t.size() - 2, 2, "\r\n") == 0) t.resize(t.size() - 2);
  return t;
}

void TMemo::SetText(const std::string& text) {
  if (text == Text()) return;
  lines_->SetText(text);
  Changed();
}

bool TMemo::WantsKey(Word key, TShiftState shift) const {
  if (key == VK_RETURN) return wantReturns_;
  if (key == VK_TAB) return wantTabs_ && !shift.Contains(ssCtrl);
  return TCustomEdit::WantsKey(key, shift) || key == VK_UP || key == VK_DOWN;
}

void TMemo::TypeChar(char key) {
  if (ReadOnly()) return;
  if (key == '\r') {
    if (!wantReturns_) return;
    lines_->Insert(std::min(caret_.Y + 1, lines_->Count()), "");
    caret_ = TPoint{0, std::min(caret_.Y + 1, lines_->Count() - 1)};
    return;
  }
  if (key == '\t' && !wantTabs_) return;
  if (lines_->Count() == 0) lines_->Add("");
  int row = std::clamp(caret_.Y, 0, lines_->Count() - 1);
  std::string line = lines_->Get(row);
  if (key == '\b') {
    if (!line.empty()) line.pop_back();
  } else if (static_cast<unsigned char>(key) >= 32 || key == '\t') {
    line += key;
  }
  lines_->Put(row, line);
  caret_ = TPoint{static_cast<int>(line.size()), row};
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TComboBox) {
  b.Prop("Style", &TComboBox::Style, &TComboBox::SetStyle).Default(csDropDown);
  PublishFontColor(b, clWindow);
  b.Prop("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount).Default(8);
  b.Prop("MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength).Default(0);
  b.Prop("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted).Default(false);
  b.Prop("Text", &TComboBox::Text, &TComboBox::SetText);
  b.Prop("Items", &TComboBox::Items, &TComboBox::SetItems);
  // after the items, so that a stored index finds them
  b.Prop("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex).Default(-1);
  PublishHintPopup(b);
  PublishFocusKeys(b, true);
  b.Prop("OnChange", &TComboBox::OnChange, &TComboBox::OnChange);
  b.Prop("OnCloseUp", &TComboBox::OnCloseUp, &TComboBox::OnCloseUp);
  b.Prop("OnDropDown", &TComboBox::OnDropDown, &TComboBox::OnDropDown);
  b.Prop("OnSelect", &TComboBox::OnSelect, &TComboBox::OnSelect);
  b.Prop("OnClick", &TComboBox::OnClick, &TComboBox::OnClick);
  b.Prop("OnDblClick", &TComboBox::OnDblClick, &TComboBox::OnDblClick);
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner), items_(new TStringList) {
  width_ = 145;
  height_ = 21;
  SetColor(clWindow);
  SetTabStop(true);
  items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

TComboBox::~TComboBox() {
  delete items_;
}

void TComboBox::ItemsChanged() {
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  if (itemIndex_ >= 0 && items_->Get(itemIndex_) != text_) {
    // the item under the index changed; a drop-down list follows its text
    int found = items_->IndexOf(text_);
    itemIndex_ = found;
  }
  if (style_ == csDropDownList && itemIndex_ < 0 && !text_.empty()) TControl::SetText("");
}

void TComboBox::SetStyle(TComboBoxStyle v) {
  if (v == style_) return;
  style_ = v;
  if (v == csDropDownList && itemIndex_ < 0) TControl::SetText("");
  Changed();
}

void TComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= items_->Count()) index = -1;
  itemIndex_ = index;
  TControl::SetText(index < 0 ? std::string() : items_->Get(index));
}

void TComboBox::SetText(const std::string& text) {
  int found = -1;
  for (int i = 0; i < items_->Count(); ++i)
    if (items_->Get(i) == text) {
      found = i;
      break;
    }
  if (style_ == csDropDownList) {
    // only an item's text can stand in a drop-down list
    itemIndex_ = found;
    TControl::SetText(found < 0 ? std::string() : text);
    return;
  }
  itemIndex_ = found;
  TControl::SetText(text);
}

void TComboBox::SetSorted(bool v) {
  if (v == sorted_) return;
  sorted_ = v;
  items_->SetSorted(v);
}

void TComboBox::DropDown() {
  droppedDown_ = true;
  OnDropDown(this);
}

void TComboBox::CloseUp() {
  droppedDown_ = false;
  OnCloseUp(this);
}

void TComboBox::UserSelect(int index) {
  DropDown();
  SetItemIndex(index);
  OnChange(this);
  OnSelect(this);
  CloseUp();
}

bool TComboBox::WantsKey(Word key, TShiftState) const {
  return key == VK_UP || key == VK_DOWN || (droppedDown_ && (key == VK_RETURN || key == VK_ESCAPE));
}

void TComboBox::KeyPress(char& key) {
  TWinControl::KeyPress(key);
  if (key == '\0' || style_ == csDropDownList) return;
  std::string t = Text();
  if (key == '\b') {
    if (!t.empty()) t.pop_back();
  } else if (static_cast<unsigned char>(key) >= 32) {
    if (maxLength_ > 0 && static_cast<int>(t.size()) >= maxLength_) return;
    t += key;
  } else {
    return;
  }
  SetText(t);
  OnChange(this);
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TButtonControl) {}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
}

NV_PUBLISH(TCheckBox) {
  b.Prop("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment).Default(taRightJustify);
  b.Prop("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
  b.Prop("Caption", &TCheckBox::Caption, &TCheckBox::SetCaption);
  b.Prop("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Default(false);
  PublishFontColor(b, clBtnFace);
  b.Prop("State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
  PublishHintPopup(b);
  PublishFocusKeys(b, true);
  PublishMouseEvents(b);
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {
  width_ = 97;
  height_ = 17;
}

void TCheckBox::SetState(TCheckBoxState v) {
  if (v == state_) return;
  state_ = v;
  Changed();
  if (!ComponentState().Contains(csLoading) && !clicking_) TControl::Click();
}

void TCheckBox::Click() {
  // the user's click: the next state, then OnClick once
  clicking_ = true;
  switch (state_) {
    case cbUnchecked:
      SetState(cbChecked);
      break;
    case cbChecked:
      SetState(allowGrayed_ ? cbGrayed : cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbUnchecked);
      break;
  }
  clicking_ = false;
  TControl::Click();
}

void TCheckBox::KeyPress(char& key) {
  TButtonControl::KeyPress(key);
  if (key == ' ') Click();
}

NV_PUBLISH(TRadioButton) {
  b.Prop("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment)
      .Default(taRightJustify);
  b.Prop("Caption", &TRadioButton::Caption, &TRadioButton::SetCaption);
  b.Prop("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
  PublishFontColor(b, clBtnFace);
  PublishHintPopup(b);
  PublishFocusKeys(b, false);
  PublishMouseEvents(b);
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  width_ = 113;
  height_ = 17;
  SetTabStop(false);
}

void TRadioButton::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  SetTabStop(v);
  if (v && Parent()) {
    for (TControl* c : Parent()->Controls())
      if (auto* other = dynamic_cast<TRadioButton*>(c); other && other != this)
        other->SetChecked(false);
  }
  Changed();
  if (v && !ComponentState().Contains(csLoading)) TControl::Click();
}

void TRadioButton::Click() {
  if (!checked_)
    SetChecked(true);  // raises OnClick
  else
    TControl::Click();
}

NV_PUBLISH(TButton) {
  b.Prop("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
  b.Prop("Caption", &TButton::Caption, &TButton::SetCaption);
  b.Prop("Default", &TButton::Default, &TButton::SetDefault).Default(false);
  b.Prop("Font", &TButton::Font, &TButton::SetFont).Stored(&TButton::IsFontStored);
  b.Prop("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(mrNone);
  b.Prop("ParentFont", &TButton::ParentFont, &TButton::SetParentFont).Default(true);
  PublishHintPopup(b);
  PublishFocusKeys(b, true);
  b.Prop("OnClick", &TButton::OnClick, &TButton::OnClick);
  b.Prop("OnMouseDown", &TButton::OnMouseDown, &TButton::OnMouseDown);
  b.Prop("OnMouseMove", &TButton::OnMouseMove, &TButton::OnMouseMove);
  b.Prop("OnMouseUp", &TButton::OnMouseUp, &TButton::OnMouseUp);
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  width_ = 75;
  height_ = 25;
}

void TButton::Click() {
  if (modalResult_ != mrNone)
    if (TForm* form = ParentForm()) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

void TButton::KeyPress(char& key) {
  TButtonControl::KeyPress(key);
  if (key == ' ') Click();
}

NV_PUBLISH(TGroupBox) {
  b.Prop("Caption", &TGroupBox::Caption, &TGroupBox::SetCaption);
  PublishFontColor(b, clBtnFace);
  PublishHintPopup(b);
  PublishFocusKeys(b, false);
  PublishMouseEvents(b);
}

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
  width_ = 185;
  height_ = 105;
}

TRect TGroupBox::ClientRect() const {
  int top = TextHeightOf(*Font());
  return Rect(2, top, std::max(2, Width() - 2), std::max(top, Height() - 2));
}

}  // namespace nv
