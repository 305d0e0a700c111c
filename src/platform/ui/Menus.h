#pragma once
// Menus: items with captions, shortcuts, check marks, enabled and visible states; pop-up
// menus (lists, tool-button drop-downs) and the main menu of a form.
#include <string>
#include <vector>

#include "platform/ui/Controls.h"

namespace nv {

// A key with its Shift/Ctrl/Alt states, as menus store it (Ctrl+S = 0x4053).
using TShortCut = Word;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
TShortCut ShortCut(Word key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, Word& key, TShiftState& shift);
std::string ShortCutToText(TShortCut shortCut);   // "Ctrl+S", "F2"
TShortCut TextToShortCut(std::string_view text);  // 0 when not a shortcut

class TMenu;

class TMenuItem : public TComponent {
  NV_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  TShortCut ShortCutKey() const { return shortCut_; }
  void SetShortCutKey(TShortCut v) { shortCut_ = v; }
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool v) { radioItem_ = v; }
  std::uint8_t GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(std::uint8_t v) { groupIndex_ = v; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v) { imageIndex_ = v; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; }
  bool IsLine() const { return caption_ == "-"; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Parent() const { return parent_; }
  // The menu the item belongs to (through its parents), nullptr when none.
  TMenu* GetParentMenu() const;
  // The item with that shortcut, here or below (visible and enabled ones only).
  TMenuItem* FindShortCut(TShortCut shortCut);

  // Runs the item: OnClick (also when the user chooses it).
  virtual void Click();

  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  bool HasParent() const override { return true; }

  TNotifyEvent OnClick;

 private:
  friend class TMenu;
  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  TShortCut shortCut_ = 0;
  bool radioItem_ = false;
  std::uint8_t groupIndex_ = 0;
  int imageIndex_ = -1;
  std::string hint_;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item
};

class TImageList;

class TMenu : public TComponent {
  NV_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  // The invisible root whose children are the menu's items.
  TMenuItem* Items() const { return items_; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  bool IsShortCut(Word key, TShiftState shift);
  // Items drawn by the program (in the screen's menu font) instead of the platform.
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v) { ownerDraw_ = v; }
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TMenuItem* items_;
  TImageList* images_ = nullptr;
  bool ownerDraw_ = false;
};

class TMainMenu : public TMenu {
  NV_CLASS(TMainMenu, TMenu)
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
};

NV_ENUM(TPopupAlignment, paLeft, paRight, paCenter)

class TPopupMenu : public TMenu {
  NV_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
  // Headless: raises OnPopup and remembers where; the script then clicks an item.
  virtual void Popup(int x, int y);
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool v) { autoPopup_ = v; }
  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment v) { alignment_ = v; }
  TPoint PopupPoint() const { return popupPoint_; }
  int PopupCount() const { return popupCount_; }
  TNotifyEvent OnPopup;

 private:
  bool autoPopup_ = true;
  TPopupAlignment alignment_ = paLeft;
  TPoint popupPoint_;
  int popupCount_ = 0;
};

}  // namespace nv
