#pragma once
// Forms, the application object and the screen: showing and hiding, modal showing through a
// modal driver, closing and the posted release, focus and the form's key preview, the
// message queue that ProcessMessages drains.
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"

namespace nv {

class TMainMenu;

NV_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
        poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
NV_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
NV_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
NV_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)

// A form reads the standard layout texts of its class chain when it is created (base first);
// a layer may add a loader that runs after them (a stored layout on top).
using TFormTextLoader = std::function<void(TComponent& form)>;
void SetFormTextLoader(TFormTextLoader loader);

class TForm : public TWinControl {
  NV_CLASS(TForm, TWinControl)
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;
  // Reads the layout texts of the class chain (and the added loader), then raises OnCreate.
  void AfterConstruction() override;
  // Raises OnDestroy while the whole form still exists, then frees it. Prefer this (or
  // Release) over delete for forms whose destroy handler uses the form's own state.
  void Free();
  // Frees the form when the message loop next handles its queue (a posted close).
  void Release();

  int Width() const override;
  int Height() const override;
  void SetBounds(int left, int top, int width, int height) override;
  TRect ClientRect() const override { return Rect(0, 0, clientWidth_, clientHeight_); }
  void SetClientWidth(int v);
  void SetClientHeight(int v);
  int ClientWidthProp() const { return clientWidth_; }
  int ClientHeightProp() const { return clientHeight_; }
  // Frame and caption bar around the client area for the border style.
  int FrameWidth() const;
  int CaptionHeight() const;

  void SetVisible(bool visible) override;
  void ShowForm() { SetVisible(true); }  // Show() and Hide() come from TControl
  // Shows the form, hands it to the application's modal driver and returns its result.
  TModalResult ShowModal();
  bool Modal() const { return modal_; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }
  // Asks OnCloseQuery, raises OnClose and does what the close action says.
  void Close();
  bool CloseQuery();

  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons v) { borderIcons_ = v; }
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v);
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState v);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle v) { formStyle_ = v; }
  bool Scaled() const { return scaled_; }
  void SetScaled(bool v) { scaled_ = v; }
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int v) { pixelsPerInch_ = v; }
  bool OldCreateOrder() const { return oldCreateOrder_; }
  void SetOldCreateOrder(bool v) { oldCreateOrder_ = v; }
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);

  // The control with the focus on this form (nullptr: the form itself).
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  // Moves the focus: exit events from the old control outwards to the container both share,
  // enter events from there inwards to the new one, then CM_FOCUSCHANGED to the form with
  // the new control in lParam. A handler that moves the focus again ends this move.
  void FocusControl(TWinControl* control);
  // The control that receives keys: the active control, else the form.
  TWinControl* FocusedControl() const;
  // Focuses the first control in tab order that can take the focus.
  void SelectFirst();
  bool Active() const;

  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  // Forgets a control of this form that goes away (it may be owned by another component).
  void ControlDestroyed(TWinControl* control);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;

 protected:
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);

 private:
  friend class TApplication;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  bool keyPreview_ = false;
  TPosition position_ = poDesigned;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TFormBorderStyle borderStyle_ = bsSizeable;
  TWindowState windowState_ = wsNormal;
  TFormStyle formStyle_ = fsNormal;
  bool scaled_ = true;
  int pixelsPerInch_ = 96;
  bool oldCreateOrder_ = false;
  TMainMenu* menu_ = nullptr;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;  // the end of the enter chain; nullptr = the form
  int focusCount_ = 0;
  bool modal_ = false;
  TModalResult modalResult_ = mrNone;
  bool destroyed_ = false;
  bool releasing_ = false;
};

// What the user does with a modal form in a headless run; it returns when the user is
// done (the form's modal result set, or nothing more to do).
using TModalDriver = std::function<void(TForm& form)>;

class TApplication : public TComponent {
  NV_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  // Delivers the posted messages, also those posted while delivering, until none is left.
  void ProcessMessages();
  bool PostMessage(HWND handle, unsigned msg, WPARAM wParam, LPARAM lParam);
  int PendingMessages() const { return static_cast<int>(queue_.size()); }
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

  // Modal drivers: each modal form takes the first queued driver; without one, the default
  // driver runs (none set: the user closes the form, modal result Cancel).
  void PushModalDriver(TModalDriver driver) { drivers_.push_back(std::move(driver)); }
  void SetDefaultModalDriver(TModalDriver driver) { defaultDriver_ = std::move(driver); }
  int PendingModalDrivers() const { return static_cast<int>(drivers_.size()); }
  void ClearModalDrivers() { drivers_.clear(); }

  TForm* MainForm() const { return mainForm_; }
  void SetMainForm(TForm* form) { mainForm_ = form; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  const std::string& ExeName() const { return exeName_; }
  void SetExeName(const std::string& name) { exeName_ = name; }
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int ms) { hintHidePause_ = ms; }
  int HintPause() const { return hintPause_; }
  void SetHintPause(int ms) { hintPause_ = ms; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v) { showHint_ = v; }
  HWND Handle() const { return handle_; }
  HWND ForegroundWindow() const { return foreground_; }

  template <class T>
  T* CreateForm() {
    T* form = nv::Create<T>(this);
    if (!mainForm_) mainForm_ = form;
    return form;
  }

 private:
  friend class TForm;
  friend bool SetForegroundWindow(HWND handle);
  TModalResult RunModal(TForm& form);

  struct Posted {
    HWND Handle;
    TMessage Message;
  };
  std::deque<Posted> queue_;
  std::deque<TModalDriver> drivers_;
  TModalDriver defaultDriver_;
  TForm* mainForm_ = nullptr;
  std::string title_;
  std::string exeName_;
  int hintHidePause_ = 2500;
  int hintPause_ = 500;
  bool showHint_ = true;
  bool terminated_ = false;
  HWND handle_ = 0;
  HWND foreground_ = 0;
};

class TScreen : public TComponent {
  NV_CLASS(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* owner) : TComponent(owner) {}
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor) { cursor_ = cursor; }
  // Forms in creation order (those not freed yet).
  const std::vector<TForm*>& Forms() const { return forms_; }
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TForm* ActiveForm() const { return activeForm_; }
  TWinControl* ActiveControl() const;
  int Width() const { return 1024; }
  int Height() const { return 768; }
  // The fonts of icon titles, hint windows and menus (the interface's character set).
  TFont* IconFont() const { return iconFont_.get(); }
  TFont* HintFont() const { return hintFont_.get(); }
  TFont* MenuFont() const { return menuFont_.get(); }

 private:
  friend class TForm;
  friend class TApplication;
  friend bool SetForegroundWindow(HWND handle);
  std::unique_ptr<TFont> iconFont_ = std::make_unique<TFont>();
  std::unique_ptr<TFont> hintFont_ = std::make_unique<TFont>();
  std::unique_ptr<TFont> menuFont_ = std::make_unique<TFont>();
  TCursor cursor_ = crDefault;
  std::vector<TForm*> forms_;
  TForm* activeForm_ = nullptr;
};

// The one application and screen of the process.
TApplication* Application();
TScreen* Screen();

LRESULT SendMessage(HWND handle, unsigned msg, WPARAM wParam, LPARAM lParam);
bool PostMessage(HWND handle, unsigned msg, WPARAM wParam, LPARAM lParam);
// Brings the form of the window to the front and makes it the active form.
bool SetForegroundWindow(HWND handle);
HWND GetForegroundWindow();

}  // namespace nv
