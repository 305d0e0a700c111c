#include "platform/report/QRSetup.h"

#include "platform/ui/Dialogs.h"

namespace nv {

bool ExecutePrinterSetup(int& printerIndex) {
  TPrinterSetupDialog dialog(nullptr);
  dialog.Printers = QRPrinterNames();
  dialog.PrinterIndex = printerIndex;
  if (!dialog.Execute()) return false;
  printerIndex = dialog.PrinterIndex;
  return true;
}

}  // namespace nv
