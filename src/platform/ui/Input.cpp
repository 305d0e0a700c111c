#include "platform/ui/Input.h"

#include <cctype>

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Menus.h"

namespace nv {

namespace {

// The character a key gives, 0 for none.
char KeyChar(Word key, TShiftState shift) {
  if (shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return 0;
  if (key >= 'A' && key <= 'Z')
    return shift.Contains(ssShift) ? static_cast<char>(key) : static_cast<char>(key + 32);
  if (key >= '0' && key <= '9') return static_cast<char>(key);
  switch (key) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return '\r';
    case VK_ESCAPE:
      return 27;
    case VK_BACK:
      return '\b';
    case VK_TAB:
      return '\t';
    default:
      return 0;
  }
}

TButton* FindButton(TWinControl& root, bool wantDefault) {
  for (TWinControl* c : root.TabOrderList())
    if (auto* b = dynamic_cast<TButton*>(c))
      if ((wantDefault ? b->Default() : b->Cancel()) && b->CanFocus()) return b;
  return nullptr;
}

// Tab, Enter and Esc when the focused control does not keep them.
bool DialogKey(TForm& form, TWinControl& focused, Word key, TShiftState shift) {
  if (focused.WantsKey(key, shift)) return false;
  if (key == VK_TAB && !shift.Contains(ssAlt)) {
    form.SelectNext(&focused, !shift.Contains(ssShift), true);
    return true;
  }
  if (key == VK_RETURN && !shift.Contains(ssAlt) && !shift.Contains(ssCtrl)) {
    TButton* b = dynamic_cast<TButton*>(&focused);
    if (!b) b = FindButton(form, true);
    if (b && b->EffectivelyEnabled()) {
      b->Click();
      return true;
    }
  }
  if (key == VK_ESCAPE) {
    if (TButton* b = FindButton(form, false); b && b->EffectivelyEnabled()) {
      b->Click();
      return true;
    }
  }
  return false;
}

void KeyCycle(TWinControl& target, Word key, TShiftState shift, char ch) {
  TForm* form = target.ParentForm();
  TWinControl* focused = form ? form->FocusedControl() : &target;
  HWND handle = focused->Handle();
  bool preview = form && form->KeyPreview() && form != focused;
  if (key != 0) {
    Word k = key;
    if (preview) form->KeyDown(k, shift);
    if (k != 0 && IsWindow(handle)) focused->KeyDown(k, shift);
    if (k == 0 || !IsWindow(handle)) return;
    if (form && form->Menu() && form->Menu()->IsShortCut(k, shift)) return;
    if (form && (DialogKey(*form, *focused, k, shift))) return;
  }
  if (ch != 0 && IsWindow(handle)) {
    char c = ch;
    if (preview) form->KeyPress(c);
    if (c != 0 && IsWindow(handle)) focused->KeyPress(c);
  }
  if (key != 0 && IsWindow(handle)) {
    Word k = key;
    if (preview) form->KeyUp(k, shift);
    if (k != 0 && IsWindow(handle)) focused->KeyUp(k, shift);
  }
}

}  // namespace

void PressKey(TWinControl& target, Word key, TShiftState shift) {
  KeyCycle(target, key, shift, KeyChar(key, shift));
}

void TypeText(TWinControl& target, std::string_view text) {
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    Word key = 0;
    TShiftState shift;
    if (std::isdigit(u)) key = u;
    if (std::isalpha(u)) {
      key = static_cast<Word>(std::toupper(u));
      if (std::isupper(u)) shift.Include(ssShift);
    }
    if (c == ' ') key = VK_SPACE;
    KeyCycle(target, key, shift, c);
  }
}

void ClickControl(TControl& control) {
  if (!control.Showing() && !dynamic_cast<TForm*>(control.ParentForm())) return;
  if (!control.EffectivelyEnabled()) return;
  if (auto* win = dynamic_cast<TWinControl*>(&control); win && win->TabStop() && win->CanFocus())
    win->SetFocus();
  control.Click();
}

void EnterText(TWinControl& edit, std::string_view text) {
  if (edit.CanFocus()) edit.SetFocus();
  if (auto* e = dynamic_cast<TCustomEdit*>(&edit)) e->SelectAll();
  TypeText(edit, text);
}

void ChooseItem(TWinControl& control, int index) {
  if (control.CanFocus()) control.SetFocus();
  if (auto* combo = dynamic_cast<TComboBox*>(&control)) {
    combo->UserSelect(index);
  } else if (auto* group = dynamic_cast<TRadioGroup*>(&control)) {
    if (index >= 0 && index < group->ButtonCount()) group->Buttons(index)->Click();
  } else {
    throw EInvalidOperation(control.Name() + " (" + control.ClassName() +
                            ") has no items to choose from");
  }
}

void ChooseItem(TWinControl& control, std::string_view text) {
  TStrings* items = nullptr;
  if (auto* combo = dynamic_cast<TComboBox*>(&control)) items = combo->Items();
  if (auto* group = dynamic_cast<TRadioGroup*>(&control)) items = group->Items();
  int index = -1;
  if (items)
    for (int i = 0; i < items->Count(); ++i)
      if (items->Get(i) == text) index = i;
  if (index < 0)
    throw EInvalidOperation("'" + std::string(text) + "' is not an item of " + control.Name());
  ChooseItem(control, index);
}

// ---------------------------------------------------------------------------------------

namespace {

template <class T>
T& Named(TForm& form, const std::string& name) {
  TComponent& c = form.ComponentByName(name);
  auto* t = dynamic_cast<T*>(&c);
  if (!t)
    throw EInvalidOperation(name + " is a " + c.ClassName() + ", not a control for this step");
  return *t;
}

}  // namespace

TModalScript& TModalScript::Key(Word key, TShiftState shift) {
  steps_.push_back([key, shift](TForm& f) { PressKey(f, key, shift); });
  return *this;
}

TModalScript& TModalScript::Type(const std::string& name, const std::string& text) {
  steps_.push_back([name, text](TForm& f) { EnterText(Named<TWinControl>(f, name), text); });
  return *this;
}

TModalScript& TModalScript::Click(const std::string& name) {
  steps_.push_back([name](TForm& f) { ClickControl(Named<TControl>(f, name)); });
  return *this;
}

TModalScript& TModalScript::Choose(const std::string& name, int index) {
  steps_.push_back([name, index](TForm& f) { ChooseItem(Named<TWinControl>(f, name), index); });
  return *this;
}

TModalScript& TModalScript::Choose(const std::string& name, const std::string& text) {
  steps_.push_back([name, text](TForm& f) { ChooseItem(Named<TWinControl>(f, name), text); });
  return *this;
}

TModalScript& TModalScript::Focus(const std::string& name) {
  steps_.push_back([name](TForm& f) { Named<TWinControl>(f, name).SetFocus(); });
  return *this;
}

TModalScript& TModalScript::Do(std::function<void(TForm&)> step) {
  steps_.push_back(std::move(step));
  return *this;
}

void TModalScript::operator()(TForm& form) const {
  for (const auto& step : steps_) {
    if (form.ModalResult() != mrNone || !form.Visible()) return;
    step(form);
    Application()->ProcessMessages();
  }
}

}  // namespace nv
