#include "TestClasses.h"

NV_FORM_TEXT_DECLARE(Base)
NV_FORM_TEXT_DECLARE(Child)

namespace nv::test {

int TWidget::destroyed = 0;

TWidget::TWidget(TComponent* owner)
    : TComponent(owner),
      columns_(std::make_unique<TCollection>(TColumn::StaticClassInfo(), this)) {}

TWidget::~TWidget() {
  ++destroyed;
}

NV_PUBLISH(TColumn) {
  b.Prop("Caption", &TColumn::Caption, &TColumn::Caption);
  b.Prop("Width", &TColumn::Width, &TColumn::Width).Default(50);
}

NV_PUBLISH(TWidget) {
  b.Prop("Accel", &TWidget::Accel, &TWidget::Accel);
  b.Prop("Anchors", &TWidget::Anchors, &TWidget::Anchors).Default(TAnchors{akLeft, akTop});
  b.Prop("Caption", &TWidget::Caption, &TWidget::SetCaption);
  b.Prop("Color", &TWidget::Color, &TWidget::Color).Default(clBtnFace);
  b.Prop("Columns", &TWidget::Columns);
  b.Prop("FocusControl", &TWidget::FocusControl, &TWidget::SetFocusControl);
  b.Prop("Font", &TWidget::Font, &TWidget::SetFont);
  b.Prop("Items", &TWidget::Items, &TWidget::SetItems);
  b.Prop("Level", &TWidget::Level, &TWidget::Level).Default(0);
  b.Prop("Ratio", &TWidget::Ratio, &TWidget::Ratio);
  b.Prop("ReadOnlyText", &TWidget::ReadOnlyText);
  b.Prop("Style", &TWidget::Style, &TWidget::Style).Default(sp_Range);
  b.Prop("Visible", &TWidget::Visible, &TWidget::Visible).Default(true);
  b.Prop("Width", &TWidget::Width, &TWidget::Width);
  b.Prop("OnClick", &TWidget::OnClick, &TWidget::OnClick);
  b.Prop("OnEnter", &TWidget::OnEnter, &TWidget::OnEnter);
  b.Prop("OnKeyDown", &TWidget::OnKeyDown, &TWidget::OnKeyDown);
}

NV_PUBLISH(TTestForm) {
  b.Field("btnOk", &TTestForm::btnOk);
  b.Field("edtCode", &TTestForm::edtCode);
  b.Method("btnOkClick", &TTestForm::btnOkClick);
  b.Method("DateFieldEnter", &TTestForm::DateFieldEnter);
  b.Method("edtKeyDown", &TTestForm::edtKeyDown);
}

NV_PUBLISH(TfrmBase) {
  b.FormText(NV_FORM_TEXT(Base));
  b.Field("pnlMain", &TfrmBase::pnlMain);
}

NV_PUBLISH(TfrmChild) {
  b.FormText(NV_FORM_TEXT(Child));
  b.Field("lblExtra", &TfrmChild::lblExtra);
  b.Method("lblExtraClick", &TfrmChild::lblExtraClick);
}

}  // namespace nv::test
