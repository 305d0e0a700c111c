#include "platform/ui/ExtCtrls.h"

#include "platform/ui/Menus.h"

#include <algorithm>

namespace nv {

NV_PUBLISH(TPanel) {
  b.Prop("Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter);
  b.Prop("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone);
  b.Prop("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
  b.Prop("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
  b.Prop("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle).Default(bsNone);
  b.Prop("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
  b.Prop("Caption", &TPanel::Caption, &TPanel::SetCaption);
  PublishFontColor(b, clBtnFace);
  PublishHintPopup(b);
  PublishFocusKeys(b, false);
  PublishMouseEvents(b);
  b.Prop("OnResize", &TPanel::OnResize, &TPanel::OnResize);
}

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
  width_ = 185;
  height_ = 41;
}

void TPanel::SetBevelInner(TBevelCut v) {
  bevelInner_ = v;
  Realign();
}
void TPanel::SetBevelOuter(TBevelCut v) {
  bevelOuter_ = v;
  Realign();
}
void TPanel::SetBevelWidth(int v) {
  bevelWidth_ = v;
  Realign();
}
void TPanel::SetBorderWidth(int v) {
  borderWidth_ = v;
  Realign();
}
void TPanel::SetBorderStyle(TBorderStyle v) {
  borderStyle_ = v;
  Realign();
}

TRect TPanel::ClientRect() const {
  int inset = borderWidth_ + (borderStyle_ == bsSingle ? 1 : 0);
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  return Rect(inset, inset, std::max(inset, Width() - inset), std::max(inset, Height() - inset));
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TSplitter) {
  b.Prop("Align", &TSplitter::Align, &TSplitter::SetAlign).Default(alLeft);
  b.Prop("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled).Default(false);
  b.Prop("Color", &TSplitter::Color, &TSplitter::SetColor).Default(clBtnFace);
  b.Prop("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30);
  b.Prop("OnMoved", &TSplitter::OnMoved, &TSplitter::OnMoved);
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  width_ = 3;
  height_ = 100;
  SetAlign(alLeft);
  SetCursor(-14);  // the horizontal split cursor
}

TControl* TSplitter::Neighbour() const {
  if (!Parent()) return nullptr;
  for (TControl* c : Parent()->Controls()) {
    if (c == this || c->Align() != Align() || !c->Visible()) continue;
    if (Align() == alLeft && c->Left() + c->Width() == Left()) return c;
    if (Align() == alRight && Left() + Width() == c->Left()) return c;
    if (Align() == alTop && c->Top() + c->Height() == Top()) return c;
    if (Align() == alBottom && Top() + Height() == c->Top()) return c;
  }
  return nullptr;
}

void TSplitter::MoveBy(int delta) {
  TControl* n = Neighbour();
  if (!n) return;
  switch (Align()) {
    case alLeft:
      n->SetWidth(std::max(minSize_, n->Width() + delta));
      break;
    case alRight:
      n->SetWidth(std::max(minSize_, n->Width() - delta));
      break;
    case alTop:
      n->SetHeight(std::max(minSize_, n->Height() + delta));
      break;
    case alBottom:
      n->SetHeight(std::max(minSize_, n->Height() - delta));
      break;
    default:
      return;
  }
  OnMoved(this);
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TRadioGroup) {
  b.Prop("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns).Default(1);
  b.Prop("Items", &TRadioGroup::Items, &TRadioGroup::SetItems);
  b.Prop("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex).Default(-1);
}

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner), items_(new TStringList) {
  SetTabStop(true);
  items_->OnChange = [this](TObject*) { UpdateButtons(); };
}

TRadioGroup::~TRadioGroup() {
  DestroyChildControls();
  delete items_;
}

void TRadioGroup::UpdateButtons() {
  if (ComponentState().Contains(csLoading)) return;
  updating_ = true;
  while (static_cast<int>(buttons_.size()) > items_->Count()) {
    delete buttons_.back();
    buttons_.pop_back();
  }
  while (static_cast<int>(buttons_.size()) < items_->Count()) {
    // owned by the group, so a stored layout never lists them
    auto* button = new TRadioButton(this);
    button->SetParent(this);
    button->OnClick = [this](TObject* sender) { ButtonClicked(sender); };
    buttons_.push_back(button);
  }
  for (int i = 0; i < items_->Count(); ++i) {
    buttons_[static_cast<std::size_t>(i)]->SetCaption(items_->Get(i));
    buttons_[static_cast<std::size_t>(i)]->SetChecked(i == itemIndex_);
  }
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  updating_ = false;
  ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  TRect client = ClientRect();
  int cols = std::max(1, columns_);
  int rows = (static_cast<int>(buttons_.size()) + cols - 1) / cols;
  int colWidth = (client.Width() - 8) / cols;
  int rowHeight = std::max(1, (client.Height() - 2) / std::max(1, rows));
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    int col = static_cast<int>(i) / rows, row = static_cast<int>(i) % rows;
    buttons_[i]->SetBounds(client.Left + 6 + col * colWidth,
                           client.Top + row * rowHeight + (rowHeight - 17) / 2, colWidth - 2, 17);
  }
}

void TRadioGroup::SetBounds(int left, int top, int width, int height) {
  TGroupBox::SetBounds(left, top, width, height);
  ArrangeButtons();
}

void TRadioGroup::Loaded() {
  TGroupBox::Loaded();
  UpdateButtons();
}

void TRadioGroup::SetItemIndex(int index) {
  if (ComponentState().Contains(csLoading)) {
    itemIndex_ = index;
    return;
  }
  if (index < -1 || index >= items_->Count()) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  updating_ = true;
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i]->SetChecked(static_cast<int>(i) == index);
  updating_ = false;
  Changed();
}

void TRadioGroup::SetColumns(int v) {
  v = std::clamp(v, 1, 16);
  if (v == columns_) return;
  columns_ = v;
  ArrangeButtons();
}

void TRadioGroup::ButtonClicked(TObject* sender) {
  if (updating_) return;
  auto it = std::find(buttons_.begin(), buttons_.end(), sender);
  if (it == buttons_.end()) return;
  itemIndex_ = static_cast<int>(it - buttons_.begin());
  Click();
}

}  // namespace nv
