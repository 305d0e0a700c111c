#include "ReportTestUtil.h"

namespace nv::test {

NV_PUBLISH(TfrmReportTest) {
  b.Field("QuickRep1", &TfrmReportTest::QuickRep1);
  b.Method("DetailBeforePrint", &TfrmReportTest::DetailBeforePrint);
  b.Method("LabelPrint", &TfrmReportTest::LabelPrint);
}

std::unique_ptr<TClientDataSet> VoucherLines(const std::vector<std::string>& codes) {
  DataPacket packet;
  packet.fields = {{"TD001", TFieldType::ftString, 20},
                   {"TD002", TFieldType::ftFloat, 0},
                   {"TD003", TFieldType::ftInteger, 0}};
  int n = 0;
  for (const std::string& code : codes) {
    ++n;
    packet.rows.push_back({Variant(code), Variant(n * 1.5), Variant(n * 10)});
  }
  auto data = std::make_unique<TClientDataSet>();
  data->SetName("ClientDataSet1");
  data->OpenFromPacket(std::move(packet));
  return data;
}

double PxToMm(int px) {
  return px * 25.4 / 96.0;
}

TQRBand* AddBand(TfrmReportTest& form, const std::string& name, TQRBandType type, int height) {
  auto* band = new TQRBand(&form);
  band->SetName(name);
  band->SetParentComponent(form.QuickRep1);
  band->SetBandType(type);
  band->SetHeight(height);
  band->SetTransparent(true);
  return band;
}

}  // namespace nv::test
