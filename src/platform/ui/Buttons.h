#pragma once
// Buttons with pictures: the bitmap button and the speed button. A glyph holds one picture or
// NumGlyphs pictures side by side (normal, disabled, ...).
#include "platform/ui/Pictures.h"
#include "platform/ui/StdCtrls.h"

namespace nv {

NV_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
NV_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry,
        bkIgnore, bkAll)

class TBitBtn : public TButton {
  NV_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* owner);
  ~TBitBtn() override;
  TGlyph* Glyph() const { return glyph_; }
  void SetGlyph(TGlyph* v) { glyph_->Assign(*v); }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v) { layout_ = v; }
  TBitBtnKind Kind() const { return kind_; }
  // A kind other than bkCustom gives the button its caption and modal result.
  void SetKind(TBitBtnKind v);
  int Margin() const { return margin_; }
  void SetMargin(int v) { margin_ = v; }
  int Spacing() const { return spacing_; }
  void SetSpacing(int v) { spacing_ = v; }

 private:
  TGlyph* glyph_;
  int numGlyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  TBitBtnKind kind_ = bkCustom;
  int margin_ = -1;
  int spacing_ = 4;
};

class TSpeedButton : public TGraphicControl {
  NV_CLASS(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* owner);
  ~TSpeedButton() override;
  TGlyph* Glyph() const { return glyph_; }
  void SetGlyph(TGlyph* v) { glyph_->Assign(*v); }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v) { groupIndex_ = v; }
  bool Down() const { return down_; }
  // In a group, one button stays down unless AllowAllUp.
  void SetDown(bool v);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v) { layout_ = v; }
  int Margin() const { return margin_; }
  void SetMargin(int v) { margin_ = v; }
  int Spacing() const { return spacing_; }
  void SetSpacing(int v) { spacing_ = v; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }
  void Click() override;

 private:
  TGlyph* glyph_;
  int numGlyphs_ = 1;
  bool flat_ = false;
  int groupIndex_ = 0;
  bool down_ = false;
  bool allowAllUp_ = false;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  bool transparent_ = true;
};

}  // namespace nv
