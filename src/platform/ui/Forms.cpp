#include "platform/ui/Forms.h"

#include <algorithm>

#include "platform/rtti/FormText.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Menus.h"

namespace nv {

namespace {

TFormTextLoader& FormTextLoader() {
  static TFormTextLoader loader;
  return loader;
}

}  // namespace

void SetFormTextLoader(TFormTextLoader loader) {
  FormTextLoader() = std::move(loader);
}

NV_PUBLISH(TForm) {
  b.Prop("Left", &TForm::Left, &TForm::SetLeft).NoDefault();
  b.Prop("Top", &TForm::Top, &TForm::SetTop).NoDefault();
  // the client size is the stored one; the outer size follows from the border
  b.Prop("Width", &TForm::Width, &TForm::SetWidth).Stored(false);
  b.Prop("Height", &TForm::Height, &TForm::SetHeight).Stored(false);
  b.Prop("Visible", &TForm::Visible, &TForm::SetVisible).Default(false);
  b.Prop("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl);
  b.Prop("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons)
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  b.Prop("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
  b.Prop("Caption", &TForm::Caption, &TForm::SetCaption);
  b.Prop("ClientHeight", &TForm::ClientHeightProp, &TForm::SetClientHeight).NoDefault();
  b.Prop("ClientWidth", &TForm::ClientWidthProp, &TForm::SetClientWidth).NoDefault();
  PublishFontColor(b, clBtnFace);
  b.Prop("FormStyle", &TForm::FormStyle, &TForm::SetFormStyle).Default(fsNormal);
  b.Prop("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview).Default(false);
  b.Prop("Menu", &TForm::Menu, &TForm::SetMenu);
  b.Prop("OldCreateOrder", &TForm::OldCreateOrder, &TForm::SetOldCreateOrder).Default(false);
  b.Prop("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch).NoDefault();
  b.Prop("Position", &TForm::Position, &TForm::SetPosition).Default(poDesigned);
  b.Prop("Scaled", &TForm::Scaled, &TForm::SetScaled).Default(true);
  b.Prop("ShowHint", &TForm::ShowHint, &TForm::SetShowHint).Default(false);
  b.Prop("WindowState", &TForm::WindowState, &TForm::SetWindowState).Default(wsNormal);
  PublishHintPopup(b);
  b.Prop("OnActivate", &TForm::OnActivate, &TForm::OnActivate);
  b.Prop("OnClose", &TForm::OnClose, &TForm::OnClose);
  b.Prop("OnCloseQuery", &TForm::OnCloseQuery, &TForm::OnCloseQuery);
  b.Prop("OnCreate", &TForm::OnCreate, &TForm::OnCreate);
  b.Prop("OnDeactivate", &TForm::OnDeactivate, &TForm::OnDeactivate);
  b.Prop("OnDestroy", &TForm::OnDestroy, &TForm::OnDestroy);
  b.Prop("OnHide", &TForm::OnHide, &TForm::OnHide);
  b.Prop("OnKeyDown", &TForm::OnKeyDown, &TForm::OnKeyDown);
  b.Prop("OnKeyPress", &TForm::OnKeyPress, &TForm::OnKeyPress);
  b.Prop("OnKeyUp", &TForm::OnKeyUp, &TForm::OnKeyUp);
  b.Prop("OnPaint", &TForm::OnPaint, &TForm::OnPaint);
  b.Prop("OnResize", &TForm::OnResize, &TForm::OnResize);
  b.Prop("OnShow", &TForm::OnShow, &TForm::OnShow);
  PublishMouseEvents(b);
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  TControl::SetVisible(false);
  clientWidth_ = 392;
  clientHeight_ = 273;
  width_ = Width();
  height_ = Height();
  Screen()->forms_.push_back(this);
}

TForm::~TForm() {
  if (!destroyed_) {
    destroyed_ = true;
    try {
      DoDestroy();
    } catch (...) {
      // a destructor cannot report it; Free raises instead
    }
  }
  DestroyChildControls();
  auto& forms = Screen()->forms_;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  if (Screen()->activeForm_ == this) Screen()->activeForm_ = nullptr;
  if (Application()->mainForm_ == this) Application()->mainForm_ = nullptr;
}

void TForm::AfterConstruction() {
  // the standard layouts of the class chain, base first, then any loader a layer adds
  InitInheritedComponent(*this, &TForm::StaticClassInfo());
  if (FormTextLoader()) FormTextLoader()(*this);
  DoCreate();
}

void TForm::Free() {
  if (!destroyed_) {
    destroyed_ = true;
    Destroying();
    DoDestroy();
  }
  delete this;
}

void TForm::Release() {
  if (releasing_) return;
  releasing_ = true;
  Application()->PostMessage(Handle(), CM_RELEASE, 0, 0);
}

void TForm::DoCreate() {
  OnCreate(this);
}
void TForm::DoDestroy() {
  OnDestroy(this);
}
void TForm::DoShow() {
  OnShow(this);
}
void TForm::DoHide() {
  OnHide(this);
}
void TForm::DoClose(TCloseAction& action) {
  OnClose(this, action);
}

int TForm::FrameWidth() const {
  switch (borderStyle_) {
    case bsNone:
      return 0;
    case bsSizeable:
    case bsSizeToolWin:
      return 4;
    default:
      return 3;
  }
}

int TForm::CaptionHeight() const {
  switch (borderStyle_) {
    case bsNone:
      return 0;
    case bsToolWindow:
    case bsSizeToolWin:
      return 16;
    default:
      return 19;
  }
}

int TForm::Width() const {
  return clientWidth_ + 2 * FrameWidth();
}

int TForm::Height() const {
  return clientHeight_ + 2 * FrameWidth() + CaptionHeight();
}

void TForm::SetBounds(int left, int top, int width, int height) {
  int cw = std::max(0, width - 2 * FrameWidth());
  int ch = std::max(0, height - 2 * FrameWidth() - CaptionHeight());
  bool resized = cw != clientWidth_ || ch != clientHeight_;
  if (!resized && left == left_ && top == top_) return;
  left_ = left;
  top_ = top;
  clientWidth_ = cw;
  clientHeight_ = ch;
  width_ = Width();
  height_ = Height();
  if (resized) {
    Realign();
    if (!ComponentState().Contains(csLoading)) OnResize(this);
  }
  Changed();
}

void TForm::SetClientWidth(int v) {
  SetBounds(left_, top_, v + 2 * FrameWidth(), Height());
}

void TForm::SetClientHeight(int v) {
  SetBounds(left_, top_, Width(), v + 2 * FrameWidth() + CaptionHeight());
}

void TForm::SetBorderStyle(TFormBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;  // keeps the client size, as a stored layout expects
  width_ = Width();
  height_ = Height();
  Changed();
}

void TForm::SetWindowState(TWindowState v) {
  if (v == windowState_) return;
  windowState_ = v;
  Changed();
}

void TForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  menu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TForm::SetVisible(bool visible) {
  if (visible == Visible()) return;
  if (visible) {
    Handle();
    TControl::SetVisible(true);
    DoShow();
    if (!Visible()) return;  // the show handler hid the form again
    Screen()->activeForm_ = this;
    Application()->foreground_ = Handle();
    OnActivate(this);
    if (activeControl_ && activeControl_->CanFocus())
      FocusControl(activeControl_);
    else
      SelectFirst();
  } else {
    TControl::SetVisible(false);
    DoHide();
    if (Screen()->activeForm_ == this) Screen()->activeForm_ = nullptr;
  }
}

bool TForm::Active() const {
  return Screen()->ActiveForm() == this;
}

void TForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) return;
  if (control && (!ContainsControl(control) || control == this))
    throw EInvalidOperation("Invalid active control");
  if (Visible() && control && !ComponentState().Contains(csLoading))
    FocusControl(control);
  else
    activeControl_ = control;
}

TWinControl* TForm::FocusedControl() const {
  return activeControl_ ? activeControl_ : const_cast<TForm*>(this);
}

void TForm::FocusControl(TWinControl* control) {
  if (control == this) control = nullptr;
  TWinControl* target = control ? control : this;
  int myCount = ++focusCount_;
  activeControl_ = control;
  Screen()->activeForm_ = this;
  TWinControl* current = focusedControl_ ? focusedControl_ : this;
  if (current == target) return;
  // leave outwards until the container that also holds the new control
  while (current && !current->ContainsControl(target)) {
    focusedControl_ = current->Parent() == this ? nullptr : current->Parent();
    current->Perform(CM_EXIT);
    if (focusCount_ != myCount) return;
    current = current->Parent();
  }
  // enter inwards from there
  while (current != target) {
    TWinControl* next = target;
    while (next->Parent() != current) next = next->Parent();
    focusedControl_ = next;
    next->Perform(CM_ENTER);
    if (focusCount_ != myCount) return;
    current = next;
  }
  focusedControl_ = control;
  Perform(CM_FOCUSCHANGED, 0, ControlToParam(target));
}

void TForm::SelectFirst() {
  if (TWinControl* first = FindNextControl(nullptr, true, true, false)) FocusControl(first);
}

void TForm::ControlDestroyed(TWinControl* control) {
  if (activeControl_ && control->ContainsControl(activeControl_)) activeControl_ = nullptr;
  if (focusedControl_ && control->ContainsControl(focusedControl_))
    focusedControl_ = control->Parent() == this ? nullptr : control->Parent();
}

void TForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == menu_) menu_ = nullptr;
}

void TForm::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_RELEASE:
      Free();  // nothing of the form may be touched after this
      return;
    case WM_CLOSE:
      Close();
      return;
    default:
      TWinControl::WndProc(message);
  }
}

bool TForm::CloseQuery() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  switch (action) {
    case caHide:
      Hide();
      break;
    case caMinimize:
      SetWindowState(wsMinimized);
      break;
    case caFree:
      Release();
      break;
    case caNone:
      break;
  }
}

TModalResult TForm::ShowModal() {
  if (Visible() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
  return Application()->RunModal(*this);
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TApplication) {}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  static HWND next = 0x100;
  handle_ = next++;
}

TApplication::~TApplication() {
  DestroyComponents();
}

bool TApplication::PostMessage(HWND handle, unsigned msg, WPARAM wParam, LPARAM lParam) {
  if (!IsWindow(handle)) return false;
  queue_.push_back(Posted{handle, TMessage{msg, wParam, lParam, 0}});
  return true;
}

void TApplication::ProcessMessages() {
  while (!queue_.empty()) {
    Posted posted = queue_.front();
    queue_.pop_front();
    // a window that went away meanwhile drops its messages
    if (TWinControl* target = FindControl(posted.Handle))
      target->Perform(posted.Message.Msg, posted.Message.WParam, posted.Message.LParam);
  }
}

TModalResult TApplication::RunModal(TForm& form) {
  TModalDriver driver;
  if (!drivers_.empty()) {
    driver = std::move(drivers_.front());
    drivers_.pop_front();
  } else {
    driver = defaultDriver_;
  }
  TForm* previous = Screen()->activeForm_;
  form.modal_ = true;
  form.modalResult_ = mrNone;
  TModalResult result = mrNone;
  TCloseAction action = caHide;
  try {
    form.SetVisible(true);
    if (driver && form.Visible() && form.modalResult_ == mrNone) driver(form);
    ProcessMessages();
    // the user closes the window when the script leaves it without a result
    if (form.modalResult_ == mrNone) form.modalResult_ = mrCancel;
    bool closed = form.CloseQuery();
    if (closed) form.DoClose(action);
    result = !closed || action == caNone ? mrNone : form.modalResult_;
    form.modal_ = false;
    form.SetVisible(false);
  } catch (...) {
    form.modal_ = false;
    form.TControl::SetVisible(false);
    throw;
  }
  TDialogRequest request;
  request.Kind = "ModalForm";
  request.Caption = form.Caption();
  request.Fields["Class"] = Variant(form.ClassName());
  request.Fields["Name"] = Variant(form.Name());
  Interaction().Record(request, TDialogAnswer{result, {}});
  if (previous && previous != &form) Screen()->activeForm_ = previous;
  if (action == caFree) form.Release();
  return result;
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TScreen) {}

TWinControl* TScreen::ActiveControl() const {
  return activeForm_ ? activeForm_->ActiveControl() : nullptr;
}

TScreen* Screen() {
  static TScreen* screen = new TScreen(nullptr);
  return screen;
}

TApplication* Application() {
  static TApplication* app = new TApplication(nullptr);
  return app;
}

LRESULT SendMessage(HWND handle, unsigned msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* target = FindControl(handle);
  return target ? target->Perform(msg, wParam, lParam) : 0;
}

bool PostMessage(HWND handle, unsigned msg, WPARAM wParam, LPARAM lParam) {
  return Application()->PostMessage(handle, msg, wParam, lParam);
}

bool SetForegroundWindow(HWND handle) {
  TWinControl* target = FindControl(handle);
  if (!target) return false;
  Application()->foreground_ = handle;
  if (TForm* form = target->ParentForm()) {
    Screen()->activeForm_ = form;
    if (form->WindowState() == wsMinimized) form->SetWindowState(wsNormal);
  }
  return true;
}

HWND GetForegroundWindow() {
  return Application()->ForegroundWindow();
}

}  // namespace nv
