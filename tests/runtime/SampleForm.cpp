#include "SampleForm.h"

namespace nv::sample {

NV_PUBLISH(TDataModule) {}

NV_PUBLISH(TListColumn) {
  b.Prop("Caption", &TListColumn::Caption, &TListColumn::Caption);
  b.Prop("Width", &TListColumn::Width, &TListColumn::Width);
}

NV_PUBLISH(TSampleControl) {
  b.Prop("Caption", &TSampleControl::Caption, &TSampleControl::Caption);
  b.Prop("Hint", &TSampleControl::Hint, &TSampleControl::Hint);
  b.Prop("Text", &TSampleControl::Text, &TSampleControl::Text);
  b.Prop("Color", &TSampleControl::Color, &TSampleControl::Color);
  b.Prop("Style", &TSampleControl::Style, &TSampleControl::Style);
  b.Prop("ItemIndex", &TSampleControl::ItemIndex, &TSampleControl::SetItemIndex);
  b.Prop("Items", &TSampleControl::ItemsList);
  b.Prop("Columns", &TSampleControl::ColumnsList);
  b.Prop("Font", &TSampleControl::FontObject);
}

NV_PUBLISH(TCustomComboBox) {}

NV_PUBLISH(TfrmSample) {
  b.Prop("Caption", &TfrmSample::Caption, &TfrmSample::Caption);
  b.Prop("Hint", &TfrmSample::Hint, &TfrmSample::Hint);
}

TfrmSample::TfrmSample(TComponent* owner) : TDataModule(owner) {
  SetName("frmSample");
  btnOk = new TSampleControl(this);
  btnOk->SetName("btnOk");
  btnOk->Caption = "OK";
  cboKind = new TCustomComboBox(this);
  cboKind->SetName("cboKind");
  cboKind->ItemsList()->SetText("A\nB\n");
  cboKind->ItemIndex = 1;
  lvList = new TSampleControl(this);
  lvList->SetName("lvList");
  lvList->Columns->Add();
  lvList->Columns->Add();
  pnlHost = new TSampleControl(this);
  pnlHost->SetName("pnlHost");
  pnlHost->Caption = "host";
  lblInner = new TSampleControl(pnlHost);
  lblInner->SetName("lblInner");
  lblInner->Caption = "inner";
}

}  // namespace nv::sample
