#pragma once
// F2Button: the lookup button beside an edit. A click asks the form that owns the edit for
// the edit's lookup, as the F2 key does: message 1034 with the edit in lParam.
#include <cstdint>

#include "controls/GSpdBtn.h"

namespace nv {

inline constexpr unsigned WM_OPENLOOKUP = WM_USER + 10;  // 1034

class TF2Button : public TGSpeedButton {
  NV_CLASS(TF2Button, TGSpeedButton)
 public:
  explicit TF2Button(TComponent* owner);
  ~TF2Button() override;

  TWinControl* F2Control() const { return f2Control_; }
  // Refused when a button of the same parent already serves c (another button's refusal
  // shows "不能同时有两个 F2Button 指到同一个 Edit.").
  void SetF2Control(TWinControl* c);
  bool AutoAlign() const { return autoAlign_; }
  void SetAutoAlign(bool v);
  std::uint8_t Gap() const { return gap_; }
  void SetGap(std::uint8_t v);
  // Beside F2Control: its height, square, Gap pixels right of it.
  void Align();
  void Click() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // While the form is designed the button follows F2Control: its move and size messages
  // first run the control's own handling, then align the button.
  void Hook();
  void Unhook();
  TWinControl* f2Control_ = nullptr;
  TWinControl* hooked_ = nullptr;
  TMessageHandler previousMove_;
  TMessageHandler previousSize_;
  bool autoAlign_ = true;
  std::uint8_t gap_ = 2;
};

}  // namespace nv
