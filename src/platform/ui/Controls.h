#pragma once
// Controls of the headless class library: bounds, visibility, parent and children, fonts and
// colours, focus and tab order, keys, window handles and window messages. All state lives in
// these objects; a peer (ControlPeer) may mirror it in real windows, the default has none.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/graphics/Types.h"
#include "platform/rtti/Events.h"
#include "platform/rtti/Font.h"

namespace nv {

NV_DECLARE_EXCEPTION(EInvalidOperation, Exception);  // focus on a hidden control, modal twice

class TControl;
class TWinControl;
class TForm;
class TPopupMenu;

// Window handles: one integer per created window, never reused within a run.
using HWND = std::intptr_t;
using WPARAM = std::intptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct TMessage {
  unsigned Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// Message numbers of the platform (the values its programs rely on).
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_MOVE = 0x0003;
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_USER = 0x0400;
constexpr unsigned CM_BASE = 0xB000;
constexpr unsigned CM_ACTIVATE = CM_BASE + 0;
constexpr unsigned CM_ENTER = CM_BASE + 10;
constexpr unsigned CM_EXIT = CM_BASE + 11;
constexpr unsigned CM_RELEASE = CM_BASE + 33;
constexpr unsigned CM_FOCUSCHANGED = CM_BASE + 7;

// The control a message carries in a parameter (lookup requests put it in lParam).
inline LPARAM ControlToParam(TControl* control) {
  return reinterpret_cast<LPARAM>(control);
}
inline TControl* ParamToControl(LPARAM param) {
  return reinterpret_cast<TControl*>(param);
}

// Virtual key codes of the platform.
constexpr Word VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17,
               VK_MENU = 18, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34,
               VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40,
               VK_INSERT = 45, VK_DELETE = 46, VK_F1 = 112, VK_F2 = 113, VK_F3 = 114, VK_F4 = 115,
               VK_F5 = 116, VK_F6 = 117, VK_F7 = 118, VK_F8 = 119, VK_F9 = 120, VK_F10 = 121,
               VK_F11 = 122, VK_F12 = 123;

NV_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)
NV_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
NV_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)
NV_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
using TBorderStyle = TFormBorderStyle;  // controls use bsNone and bsSingle

// Cursors (crHourGlass while long operations run, crHandPoint over lists).
using TCursor = std::int16_t;
constexpr TCursor crDefault = 0, crArrow = -2, crIBeam = -4, crHourGlass = -11, crHandPoint = -21;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

using TMessageHandler = std::function<void(TMessage&)>;

// The front-end side of a control. Headless runs have none; a desktop front-end installs a
// factory and mirrors the objects' state in real windows.
class IControlPeer {
 public:
  virtual ~IControlPeer() = default;
  virtual void Changed(TControl& control) = 0;  // bounds, texts, visibility, ...
  virtual void Destroyed(TControl& control) = 0;
};
using TPeerFactory = std::function<IControlPeer*(TControl&)>;
void SetPeerFactory(TPeerFactory factory);

class TControl : public TComponent {
  NV_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  bool HasParent() const override { return true; }
  // The form the control sits on (itself for a form), nullptr when it has none.
  TForm* ParentForm() const;

  int Left() const { return left_; }
  int Top() const { return top_; }
  virtual int Width() const { return width_; }
  virtual int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, Width(), Height()); }
  void SetTop(int v) { SetBounds(left_, v, Width(), Height()); }
  void SetWidth(int v) { SetBounds(left_, top_, v, Height()); }
  void SetHeight(int v) { SetBounds(left_, top_, Width(), v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return nv::Bounds(left_, top_, Width(), Height()); }
  // The area children are placed in, in the control's own coordinates.
  virtual TRect ClientRect() const { return Rect(0, 0, Width(), Height()); }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  // Position relative to the form's client area (for pictures and hit tests).
  TPoint FormOrigin() const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and so are all parents (a form counts when it is shown).
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  // Enabled, and so are all parents.
  bool EffectivelyEnabled() const;

  // The caption of labels and buttons and the text of edits share one store.
  const std::string& Caption() const { return text_; }
  void SetCaption(const std::string& text) { SetText(text); }
  virtual std::string Text() const { return text_; }
  virtual void SetText(const std::string& text);

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  // The colour painted: the parent's while ParentColor.
  TColor EffectiveColor() const;
  TFont* Font() const { return font_; }
  void SetFont(TFont* font) { font_->Assign(*font); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  bool IsFontStored() const { return !parentFont_; }

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  bool IsShowHintStored() const { return !parentShowHint_; }
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor) { cursor_ = cursor; }
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);

  // Messages: Perform delivers at once; handlers are found by message number.
  LRESULT Perform(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
  virtual void WndProc(TMessage& message);
  // Installs a handler for one message number (the form's lookup message, focus changes);
  // it replaces an earlier one and may call DefaultHandler for the platform's handling.
  void SetMessageHandler(unsigned msg, TMessageHandler handler);
  // The handler installed for the message number (empty when none), so a hook can chain it.
  TMessageHandler MessageHandler(unsigned msg) const;
  virtual void DefaultHandler(TMessage& message);

  // What a mouse click does: OnClick (buttons add their own work).
  virtual void Click();
  virtual void DblClick();
  virtual bool IsWindowed() const { return false; }
  void Invalidate();
  void BringToFront();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnResize;

  void Notification(TComponent* component, TOperation operation) override;

 protected:
  virtual void Changed();
  virtual void FontChanged();
  virtual void ParentFontChanged();
  virtual void ParentColorChanged() {}
  virtual void TextChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void Resized() {}
  void RequestAlign();

  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  std::string text_;

 private:
  friend class TWinControl;
  TWinControl* parent_ = nullptr;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  TFont* font_;
  bool parentFont_ = true;
  bool syncingFont_ = false;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TCursor cursor_ = crDefault;
  TPopupMenu* popupMenu_ = nullptr;
  std::map<unsigned, TMessageHandler> handlers_;
  IControlPeer* peer_ = nullptr;
};

// A control drawn on its parent, with no window of its own (labels, speed buttons).
class TGraphicControl : public TControl {
  NV_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
};

class TWinControl : public TControl {
  NV_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }
  const std::vector<TControl*>& Controls() const { return controls_; }
  bool ContainsControl(const TControl* control) const;  // itself or any descendant
  void SetBounds(int left, int top, int width, int height) override;

  // Tab order: the position among the parent's windowed children.
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }
  // The windowed children in tab order.
  std::vector<TWinControl*> TabList() const;
  // Every windowed control below this one, depth first in tab order.
  std::vector<TWinControl*> TabOrderList() const;

  // Creates the window on first use.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != 0; }

  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  // The next windowed control after current in tab order (wrapping), or nullptr.
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                               bool checkParent) const;
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
  bool IsWindowed() const override { return true; }

  // Keys as the platform delivers them to the focused control (see Input.h for the whole
  // path with the form's preview and dialog keys).
  virtual void KeyDown(Word& key, TShiftState shift);
  virtual void KeyUp(Word& key, TShiftState shift);
  virtual void KeyPress(char& key);
  // Which keys the control keeps for itself instead of the form's dialog handling.
  virtual bool WantsKey(Word key, TShiftState shift) const { return false; }

  // Raised by the form when focus arrives or leaves (CM_ENTER / CM_EXIT).
  virtual void DoEnter();
  virtual void DoExit();

  // Re-places the aligned children; runs after size and alignment changes.
  void Realign();

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  friend class TControl;
  virtual void InsertControl(TControl* control);
  virtual void RemoveControl(TControl* control);
  void DestroyHandle();
  // Frees the child controls now; containers whose children report back to them while
  // they go call this first thing in their destructor.
  void DestroyChildControls();
  void FontChanged() override;
  void ParentColorChanged() override;
  void VisibleChanged() override;
  virtual void AlignControls(TRect& rect);

 private:
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  HWND handle_ = 0;
  bool tabStop_ = false;
  bool aligning_ = false;
};

// The control behind a window handle; nullptr when no window has it (any more).
TWinControl* FindControl(HWND handle);
bool IsWindow(HWND handle);

// Helpers for published tables of controls: the groups of properties most controls share.
template <class C>
void PublishFontColor(TClassBuilder<C>& b, TColor defaultColor) {
  b.Prop("Color", &C::Color, &C::SetColor).Default(defaultColor);
  b.Prop("Font", &C::Font, &C::SetFont).Stored(&C::IsFontStored);
  b.Prop("ParentColor", &C::ParentColor, &C::SetParentColor).Default(false);
  b.Prop("ParentFont", &C::ParentFont, &C::SetParentFont).Default(true);
}
template <class C>
void PublishMouseEvents(TClassBuilder<C>& b) {
  b.Prop("OnClick", &C::OnClick, &C::OnClick);
  b.Prop("OnDblClick", &C::OnDblClick, &C::OnDblClick);
  b.Prop("OnMouseDown", &C::OnMouseDown, &C::OnMouseDown);
  b.Prop("OnMouseMove", &C::OnMouseMove, &C::OnMouseMove);
  b.Prop("OnMouseUp", &C::OnMouseUp, &C::OnMouseUp);
}
template <class C>
void PublishFocusKeys(TClassBuilder<C>& b, bool tabStop) {
  b.Prop("TabOrder", &C::TabOrder, &C::SetTabOrder).NoDefault();
  b.Prop("TabStop", &C::TabStop, &C::SetTabStop).Default(tabStop);
  b.Prop("OnEnter", &C::OnEnter, &C::OnEnter);
  b.Prop("OnExit", &C::OnExit, &C::OnExit);
  b.Prop("OnKeyDown", &C::OnKeyDown, &C::OnKeyDown);
  b.Prop("OnKeyPress", &C::OnKeyPress, &C::OnKeyPress);
  b.Prop("OnKeyUp", &C::OnKeyUp, &C::OnKeyUp);
}
template <class C>
void PublishHintPopup(TClassBuilder<C>& b) {
  b.Prop("ParentShowHint", &C::ParentShowHint, &C::SetParentShowHint).Default(true);
  b.Prop("PopupMenu", &C::PopupMenu, &C::SetPopupMenu);
}

}  // namespace nv
