#pragma once
// Panels, splitters and radio groups.
#include "platform/ui/StdCtrls.h"

namespace nv {

class TPanel : public TWinControl {
  NV_CLASS(TPanel, TWinControl)
 public:
  explicit TPanel(TComponent* owner);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; }
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  TRect ClientRect() const override;

 private:
  TAlignment alignment_ = taCenter;
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TBorderStyle borderStyle_ = bsNone;
};

// A bar the user drags to resize the control aligned before it.
class TSplitter : public TGraphicControl {
  NV_CLASS(TSplitter, TGraphicControl)
 public:
  explicit TSplitter(TComponent* owner);
  int MinSize() const { return minSize_; }
  void SetMinSize(int v) { minSize_ = v; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool v) { beveled_ = v; }
  // The user drags the bar by delta pixels: the neighbour control grows or shrinks (not
  // below MinSize), then OnMoved.
  void MoveBy(int delta);
  TNotifyEvent OnMoved;

 private:
  TControl* Neighbour() const;
  int minSize_ = 30;
  bool beveled_ = false;
};

// A group box of radio buttons built from Items; the buttons are the group's own children.
class TRadioGroup : public TGroupBox {
  NV_CLASS(TRadioGroup, TGroupBox)
 public:
  explicit TRadioGroup(TComponent* owner);
  ~TRadioGroup() override;
  TStrings* Items() const { return items_; }
  void SetItems(TStrings* items) { items_->Assign(*items); }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int v);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TRadioButton* Buttons(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;

 private:
  void UpdateButtons();
  void ArrangeButtons();
  void ButtonClicked(TObject* sender);
  TStringList* items_;
  std::vector<TRadioButton*> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};

}  // namespace nv
