#pragma once
// What a user does, for headless runs and tests: keys with the platform's whole path (the
// form's key preview, the control's key events, menu shortcuts, the form's dialog keys Tab,
// Enter and Esc, then the character), typing, clicking, choosing. TModalScript strings such
// steps together as a modal driver.
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Forms.h"

namespace nv {

// The key goes to the focused control of the form the control is on (the control itself
// when it is not on a form).
void PressKey(TWinControl& target, Word key, TShiftState shift = {});
// Each character as a key press of its own (with its key down for letters and digits).
void TypeText(TWinControl& target, std::string_view text);
// Focuses a windowed control that can take the focus, then clicks it. Disabled or hidden
// controls ignore the click.
void ClickControl(TControl& control);
// Focuses the edit, selects all its text and types the new one.
void EnterText(TWinControl& edit, std::string_view text);
// The user picks an item of a combo box or radio group by index or by text.
void ChooseItem(TWinControl& control, int index);
void ChooseItem(TWinControl& control, std::string_view text);

class TModalScript {
 public:
  TModalScript& Key(Word key, TShiftState shift = {});
  TModalScript& Type(const std::string& name, const std::string& text);
  TModalScript& Click(const std::string& name);
  TModalScript& Choose(const std::string& name, int index);
  TModalScript& Choose(const std::string& name, const std::string& text);
  TModalScript& Focus(const std::string& name);
  TModalScript& Do(std::function<void(TForm&)> step);
  // Runs the steps until one gives the form a modal result or closes it. Names are
  // component names of the form (ComponentByName: an unknown name raises).
  void operator()(TForm& form) const;

 private:
  std::vector<std::function<void(TForm&)>> steps_;
};

}  // namespace nv
