#include "platform/ui/Menus.h"

#include <algorithm>

#include "platform/ui/Pictures.h"

namespace nv {

TShortCut ShortCut(Word key, TShiftState shift) {
  TShortCut s = static_cast<TShortCut>(key & 0xFF);
  if (shift.Contains(ssShift)) s |= scShift;
  if (shift.Contains(ssCtrl)) s |= scCtrl;
  if (shift.Contains(ssAlt)) s |= scAlt;
  return s;
}

void ShortCutToKey(TShortCut shortCut, Word& key, TShiftState& shift) {
  key = shortCut & 0xFF;
  shift = {};
  if (shortCut & scShift) shift.Include(ssShift);
  if (shortCut & scCtrl) shift.Include(ssCtrl);
  if (shortCut & scAlt) shift.Include(ssAlt);
}

namespace {

struct KeyName {
  Word Key;
  const char* Name;
};
constexpr KeyName kKeyNames[] = {{VK_BACK, "BkSp"},  {VK_TAB, "Tab"},     {VK_RETURN, "Enter"},
                                 {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"},
                                 {VK_NEXT, "PgDn"},  {VK_END, "End"},     {VK_HOME, "Home"},
                                 {VK_LEFT, "Left"},  {VK_UP, "Up"},       {VK_RIGHT, "Right"},
                                 {VK_DOWN, "Down"},  {VK_INSERT, "Ins"},  {VK_DELETE, "Del"}};

std::string KeyText(Word key) {
  for (const KeyName& k : kKeyNames)
    if (k.Key == key) return k.Name;
  if (key >= VK_F1 && key <= VK_F12) return "F" + std::to_string(key - VK_F1 + 1);
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  return {};
}

}  // namespace

std::string ShortCutToText(TShortCut shortCut) {
  std::string name = KeyText(shortCut & 0xFF);
  if (name.empty()) return {};
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + name;
}

TShortCut TextToShortCut(std::string_view text) {
  TShortCut mods = 0;
  for (;;) {
    auto take = [&](std::string_view prefix, TShortCut bit) {
      if (text.size() > prefix.size() && SameText(text.substr(0, prefix.size()), prefix)) {
        text.remove_prefix(prefix.size());
        mods |= bit;
        return true;
      }
      return false;
    };
    if (!take("Shift+", scShift) && !take("Ctrl+", scCtrl) && !take("Alt+", scAlt)) break;
  }
  for (Word key = 1; key < 256; ++key)
    if (std::string name = KeyText(key); !name.empty() && SameText(name, text))
      return static_cast<TShortCut>(mods | key);
  return 0;
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TMenuItem) {
  b.Prop("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  b.Prop("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
  b.Prop("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
  b.Prop("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
  b.Prop("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
  b.Prop("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
  b.Prop("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
  b.Prop("ShortCut", &TMenuItem::ShortCutKey, &TMenuItem::SetShortCutKey).Default(0);
  b.Prop("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
  b.Prop("OnClick", &TMenuItem::OnClick, &TMenuItem::OnClick);
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  for (TMenuItem* item : std::vector<TMenuItem*>(items_)) item->parent_ = nullptr;
  if (parent_) parent_->Remove(this);
}

void TMenuItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  // radio items of one group take turns
  if (v && radioItem_ && parent_)
    for (TMenuItem* other : parent_->items_)
      if (other != this && other->radioItem_ && other->groupIndex_ == groupIndex_)
        other->checked_ = false;
}

void TMenuItem::Add(TMenuItem* item) {
  Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->parent_) i = i->parent_;
  return i->menu_;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut) {
  for (TMenuItem* item : items_) {
    if (!item->visible_ || !item->enabled_) continue;
    if (item->shortCut_ == shortCut && shortCut != 0) return item;
    if (TMenuItem* inner = item->FindShortCut(shortCut)) return inner;
  }
  return nullptr;
}

void TMenuItem::Click() {
  if (!enabled_) return;
  OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ && parent_->menu_) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TMenu*>(parent))
    menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(parent))
    item->Add(this);
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TMenu) {
  b.Prop("Images", &TMenu::Images, &TMenu::SetImages);
  b.Prop("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw).Default(false);
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {
  items_->menu_ = this;
}

TMenu::~TMenu() {
  // the owner frees the items; they only leave the tree here
  for (TMenuItem* item : std::vector<TMenuItem*>(items_->items_)) items_->Remove(item);
  delete items_;
}

void TMenu::SetImages(TImageList* images) {
  images_ = images;
  if (images) images->FreeNotification(this);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

bool TMenu::IsShortCut(Word key, TShiftState shift) {
  TMenuItem* item = items_->FindShortCut(ShortCut(key, shift));
  if (!item) return false;
  item->Click();
  return true;
}

NV_PUBLISH(TMainMenu) {}

NV_PUBLISH(TPopupMenu) {
  b.Prop("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
  b.Prop("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
  b.Prop("OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::OnPopup);
}

void TPopupMenu::Popup(int x, int y) {
  popupPoint_ = TPoint{x, y};
  ++popupCount_;
  OnPopup(this);
}

}  // namespace nv
