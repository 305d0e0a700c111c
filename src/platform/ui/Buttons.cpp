#include "platform/ui/Buttons.h"

#include <algorithm>

#include "platform/ui/Menus.h"

namespace nv {

NV_PUBLISH(TBitBtn) {
  b.Prop("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph);
  b.Prop("Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
  b.Prop("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout).Default(blGlyphLeft);
  b.Prop("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin).Default(-1);
  b.Prop("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs).Default(1);
  b.Prop("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing).Default(4);
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(new TGlyph) {
  glyph_->OnChange = [this](TObject*) { Invalidate(); };
}

TBitBtn::~TBitBtn() {
  delete glyph_;
}

void TBitBtn::SetNumGlyphs(int v) {
  numGlyphs_ = std::clamp(v, 1, 4);
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind v) {
  if (v == kind_) return;
  kind_ = v;
  struct KindInfo {
    const char* Caption;
    TModalResult Result;
  };
  static const KindInfo infos[] = {{"", mrNone},          {"OK", mrOk},       {"Cancel", mrCancel},
                                   {"&Help", mrNone},     {"&Yes", mrYes},    {"&No", mrNo},
                                   {"&Close", mrNone},    {"Abort", mrAbort}, {"&Retry", mrRetry},
                                   {"&Ignore", mrIgnore}, {"&All", mrAll}};
  if (v == bkCustom || ComponentState().Contains(csLoading)) return;
  SetCaption(infos[v].Caption);
  SetModalResult(infos[v].Result);
  SetDefault(v == bkOK || v == bkYes);
  SetCancel(v == bkCancel || v == bkNo);
}

NV_PUBLISH(TSpeedButton) {
  b.Prop("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
  b.Prop("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption);
  b.Prop("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false);
  b.Prop("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
  b.Prop("Font", &TSpeedButton::Font, &TSpeedButton::SetFont).Stored(&TSpeedButton::IsFontStored);
  b.Prop("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
  b.Prop("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
  b.Prop("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
  b.Prop("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1);
  b.Prop("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
  b.Prop("ParentFont", &TSpeedButton::ParentFont, &TSpeedButton::SetParentFont).Default(true);
  b.Prop("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4);
  b.Prop("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent).Default(true);
  PublishHintPopup(b);
  PublishMouseEvents(b);
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), glyph_(new TGlyph) {
  width_ = 23;
  height_ = 22;
  glyph_->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() {
  delete glyph_;
}

void TSpeedButton::SetNumGlyphs(int v) {
  numGlyphs_ = std::clamp(v, 1, 4);
  Invalidate();
}

void TSpeedButton::SetFlat(bool v) {
  if (v == flat_) return;
  flat_ = v;
  Invalidate();
}

void TSpeedButton::SetDown(bool v) {
  if (groupIndex_ == 0) v = false;  // only grouped buttons stay down
  if (v == down_) return;
  if (!v && !allowAllUp_) {
    bool othersDown = false;
    if (Parent())
      for (TControl* c : Parent()->Controls())
        if (auto* o = dynamic_cast<TSpeedButton*>(c);
            o && o != this && o->groupIndex_ == groupIndex_ && o->down_)
          othersDown = true;
    if (!othersDown) return;
  }
  down_ = v;
  if (v && Parent())
    for (TControl* c : Parent()->Controls())
      if (auto* o = dynamic_cast<TSpeedButton*>(c); o && o != this && o->groupIndex_ == groupIndex_)
        o->down_ = false;
  Invalidate();
}

void TSpeedButton::Click() {
  if (groupIndex_ != 0) SetDown(allowAllUp_ ? !down_ : true);
  TGraphicControl::Click();
}

}  // namespace nv
