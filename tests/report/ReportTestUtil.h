#pragma once
// A form holding a small report, and a data set of voucher lines to print.
#include <memory>
#include <string>
#include <vector>

#include "platform/data/DBClient.h"
#include "platform/report/QRCtrls.h"
#include "platform/report/QuickRpt.h"

namespace nv::test {

class TfrmReportTest : public TComponent {
  NV_CLASS(TfrmReportTest, TComponent)
 public:
  using TComponent::TComponent;
  TQuickRep* QuickRep1 = nullptr;
  std::vector<std::string> calls;
  void DetailBeforePrint(TQRCustomBand* sender, bool& printBand) {
    calls.push_back("DetailBeforePrint:" + sender->Name());
    printBand = true;
  }
  void LabelPrint(TObject* sender, std::string& value) { value = "<" + value + ">"; }
};

// Lines TD001 (text), TD002 and TD003 (numbers) named ClientDataSet1.
std::unique_ptr<TClientDataSet> VoucherLines(const std::vector<std::string>& codes);

// Page height in layout pixels as paper length in millimetres, so page arithmetic is exact.
double PxToMm(int px);

TQRBand* AddBand(TfrmReportTest& form, const std::string& name, TQRBandType type, int height);

template <class T>
T* AddPrintable(TfrmReportTest& form, TQRCustomBand& band, const std::string& name, int left,
                int top, int width = 100, int height = 17) {
  auto* p = new T(&form);
  p->SetName(name);
  p->SetParentComponent(&band);
  p->Left = left;
  p->Top = top;
  p->Width = width;
  p->Height = height;
  return p;
}

}  // namespace nv::test
