#include "platform/ui/Controls.h"

#include <algorithm>
#include <unordered_map>

#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

namespace nv {

namespace {

std::unordered_map<HWND, TWinControl*>& Windows() {
  static std::unordered_map<HWND, TWinControl*> windows;
  return windows;
}
HWND nextHandle = 0x1000;

TPeerFactory& PeerFactory() {
  static TPeerFactory factory;
  return factory;
}

}  // namespace

void SetPeerFactory(TPeerFactory factory) {
  PeerFactory() = std::move(factory);
}

TWinControl* FindControl(HWND handle) {
  auto it = Windows().find(handle);
  return it == Windows().end() ? nullptr : it->second;
}

bool IsWindow(HWND handle) {
  return FindControl(handle) != nullptr;
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TControl) {
  b.Prop("Left", &TControl::Left, &TControl::SetLeft).NoDefault();
  b.Prop("Top", &TControl::Top, &TControl::SetTop).NoDefault();
  b.Prop("Width", &TControl::Width, &TControl::SetWidth).NoDefault();
  b.Prop("Height", &TControl::Height, &TControl::SetHeight).NoDefault();
  b.Prop("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
  b.Prop("Cursor", &TControl::Cursor, &TControl::SetCursor).Default(crDefault);
  b.Prop("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
  b.Prop("Hint", &TControl::Hint, &TControl::SetHint);
  b.Prop("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
      .Stored(&TControl::IsShowHintStored);
  b.Prop("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(new TFont) {
  font_->OnChange = [this](TObject*) { FontChanged(); };
  if (PeerFactory()) peer_ = PeerFactory()(*this);
}

TControl::~TControl() {
  if (peer_) {
    peer_->Destroyed(*this);
    delete peer_;
  }
  if (parent_) parent_->RemoveControl(this);
  delete font_;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const {
  return parent_;
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* win = dynamic_cast<TWinControl*>(parent)) SetParent(win);
}

TForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  bool resized = width != width_ || height != height_;
  bool moved = left != left_ || top != top_;
  left_ = left;
  top_ = top;
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  if (resized) Resized();
  RequestAlign();
  Changed();
  // What a window procedure hooked into the control sees of its moves.
  if (moved) Perform(WM_MOVE);
  if (resized) Perform(WM_SIZE);
  if (resized && !ComponentState().Contains(csLoading)) OnResize(this);
}

TPoint TControl::FormOrigin() const {
  TPoint p{0, 0};
  // children stand in their parent's coordinates; the form's client area is the origin
  for (const TControl* c = this; c->parent_; c = c->parent_) {
    p.X += c->left_;
    p.Y += c->top_;
  }
  return p;
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  RequestAlign();
}

void TControl::RequestAlign() {
  if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
  RequestAlign();
  Changed();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
  Changed();
}

bool TControl::EffectivelyEnabled() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->enabled_) return false;
  return true;
}

void TControl::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  TextChanged();
  Changed();
}

void TControl::SetColor(TColor color) {
  parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TControl::SetParentColor(bool v) {
  if (v == parentColor_) return;
  parentColor_ = v;
  if (v && parent_) color_ = parent_->EffectiveColor();
  Changed();
}

TColor TControl::EffectiveColor() const {
  if (parentColor_ && parent_) return parent_->EffectiveColor();
  return color_;
}

void TControl::SetParentFont(bool v) {
  if (v == parentFont_) return;
  parentFont_ = v;
  if (v) ParentFontChanged();
}

void TControl::FontChanged() {
  // a font set on the control itself no longer follows the parent's
  if (!syncingFont_) parentFont_ = false;
  Changed();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  syncingFont_ = true;
  font_->Assign(*parent_->Font());
  syncingFont_ = false;
}

void TControl::SetShowHint(bool v) {
  parentShowHint_ = false;
  showHint_ = v;
}

void TControl::SetParentShowHint(bool v) {
  parentShowHint_ = v;
  if (v && parent_) showHint_ = parent_->ShowHint();
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == popupMenu_) return;
  popupMenu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

LRESULT TControl::Perform(unsigned msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  WndProc(message);
  return message.Result;  // the control may be gone: only the local message is read
}

void TControl::WndProc(TMessage& message) {
  auto it = handlers_.find(message.Msg);
  if (it != handlers_.end()) {
    TMessageHandler handler = it->second;  // the handler may replace itself
    handler(message);
    return;
  }
  DefaultHandler(message);
}

void TControl::SetMessageHandler(unsigned msg, TMessageHandler handler) {
  if (handler)
    handlers_[msg] = std::move(handler);
  else
    handlers_.erase(msg);
}

TMessageHandler TControl::MessageHandler(unsigned msg) const {
  auto it = handlers_.find(msg);
  return it == handlers_.end() ? TMessageHandler() : it->second;
}

void TControl::DefaultHandler(TMessage& message) {
  if (message.Msg == CM_ENTER) {
    if (auto* win = dynamic_cast<TWinControl*>(this)) win->DoEnter();
  } else if (message.Msg == CM_EXIT) {
    if (auto* win = dynamic_cast<TWinControl*>(this)) win->DoExit();
  }
}

void TControl::Click() {
  OnClick(this);
}

void TControl::DblClick() {
  OnDblClick(this);
}

void TControl::Invalidate() {
  Changed();
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::find(list.begin(), list.end(), this));
  list.push_back(this);
  Changed();
}

void TControl::Changed() {
  if (peer_) peer_->Changed(*this);
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TGraphicControl) {}

NV_PUBLISH(TWinControl) {}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  if (TForm* form = ParentForm(); form && form != this) form->ControlDestroyed(this);
  DestroyChildControls();
  DestroyHandle();
}

void TWinControl::DestroyChildControls() {
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    if (auto* win = dynamic_cast<TWinControl*>(child))
      if (TForm* form = ParentForm(); form && form != win) form->ControlDestroyed(win);
    delete child;  // removes itself from here and from its owner
  }
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  Windows().erase(handle_);
  handle_ = 0;
}

HWND TWinControl::Handle() {
  if (!handle_) {
    handle_ = nextHandle;
    nextHandle += 4;
    Windows()[handle_] = this;
  }
  return handle_;
}

void TWinControl::InsertControl(TControl* control) {
  control->parent_ = this;
  controls_.push_back(control);
  if (auto* win = dynamic_cast<TWinControl*>(control)) tabList_.push_back(win);
  control->ParentFontChanged();
  if (control->parentColor_) control->color_ = EffectiveColor();
  if (control->parentShowHint_) control->showHint_ = ShowHint();
  control->RequestAlign();
  Changed();
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  // A control leaving the form (a page taken off its page control while the form is freed,
  // a control moved to another parent) takes the form's focus with it, as its destruction does.
  if (auto* win = dynamic_cast<TWinControl*>(control))
    if (TForm* form = ParentForm()) form->ControlDestroyed(win);
  controls_.erase(it);
  auto tab = std::find(tabList_.begin(), tabList_.end(), control);
  if (tab != tabList_.end()) tabList_.erase(tab);
  control->parent_ = nullptr;
  if (control->Align() != alNone) Realign();
  Changed();
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->parent_)
    if (c == this) return true;
  return false;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  bool resized = width != width_ || height != height_;
  TControl::SetBounds(left, top, width, height);
  if (resized) Realign();
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  int count = static_cast<int>(list.size());
  if (order < 0 || order > count) order = count;
  list.insert(list.begin() + order, this);
}

std::vector<TWinControl*> TWinControl::TabList() const {
  return tabList_;
}

std::vector<TWinControl*> TWinControl::TabOrderList() const {
  std::vector<TWinControl*> result;
  for (TWinControl* c : tabList_) {
    result.push_back(c);
    auto inner = c->TabOrderList();
    result.insert(result.end(), inner.begin(), inner.end());
  }
  return result;
}

bool TWinControl::CanFocus() const {
  // The form itself need not be shown: headless runs focus controls of hidden forms.
  for (const TControl* c = this; c; c = c->Parent()) {
    if (dynamic_cast<const TForm*>(c)) break;
    if (!c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

bool TWinControl::Focused() const {
  TForm* form = ParentForm();
  return form && form->FocusedControl() == this;
}

void TWinControl::SetFocus() {
  TForm* form = ParentForm();
  if (!CanFocus())
    throw EInvalidOperation("Cannot focus a disabled or invisible window (" +
                            (Name().empty() ? ClassName() : Name()) + ")");
  if (form) form->FocusControl(this == form ? nullptr : this);
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list = TabOrderList();
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  auto it = std::find(list.begin(), list.end(), current);
  int start = it == list.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - list.begin());
  for (int step = 1; step <= n; ++step) {
    int i = goForward ? (start + step) % n : (start - step + n) % n;
    TWinControl* c = list[static_cast<std::size_t>(i)];
    if (c == current) continue;
    if (checkTabStop && !c->TabStop()) continue;
    if (checkParent && c->Parent() != this) continue;
    if (!c->CanFocus()) continue;
    return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, false))
    next->SetFocus();
}

void TWinControl::KeyDown(Word& key, TShiftState shift) {
  OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(Word& key, TShiftState shift) {
  OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
  OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
  OnEnter(this);
}

void TWinControl::DoExit() {
  OnExit(this);
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::ParentColorChanged() {
  for (TControl* c : controls_)
    if (c->parentColor_) c->color_ = EffectiveColor();
}

void TWinControl::VisibleChanged() {
  if (Visible()) return;
  // a hidden container cannot keep the focus inside it
  TForm* form = ParentForm();
  if (form && form != this && form->ActiveControl() && ContainsControl(form->ActiveControl()))
    form->ControlDestroyed(form->ActiveControl());
}

void TWinControl::Realign() {
  if (aligning_) return;
  aligning_ = true;
  TRect rect = ClientRect();
  AlignControls(rect);
  aligning_ = false;
}

void TWinControl::AlignControls(TRect& rect) {
  auto place = [&](TAlign align) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->Align() == align && c->Visible()) list.push_back(c);
    // stacked in the order they stand: top ones by top, bottom ones from the bottom up
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
      switch (align) {
        case alTop:
          return a->Top() < b->Top();
        case alBottom:
          return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft:
          return a->Left() < b->Left();
        case alRight:
          return a->Left() + a->Width() > b->Left() + b->Width();
        default:
          return false;
      }
    });
    for (TControl* c : list) {
      int w = c->Width(), h = c->Height();
      switch (align) {
        case alTop:
          c->SetBounds(rect.Left, rect.Top, rect.Width(), h);
          rect.Top += h;
          break;
        case alBottom:
          c->SetBounds(rect.Left, rect.Bottom - h, rect.Width(), h);
          rect.Bottom -= h;
          break;
        case alLeft:
          c->SetBounds(rect.Left, rect.Top, w, rect.Height());
          rect.Left += w;
          break;
        case alRight:
          c->SetBounds(rect.Right - w, rect.Top, w, rect.Height());
          rect.Right -= w;
          break;
        case alClient:
          c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
          break;
        default:
          break;
      }
    }
  };
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) place(a);
}

}  // namespace nv
