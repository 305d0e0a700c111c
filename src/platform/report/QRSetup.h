#pragma once
// The report engine's printer set-up: the machine's printers offered through the interaction
// service with the current choice preselected. Kept apart from the pages' headers, whose
// alignment names meet the controls' ones.
#include <string>
#include <vector>

namespace nv {

// The names of PrinterList() in its order (CUPS destinations, then the file printer).
std::vector<std::string> QRPrinterNames();
// True when the user confirmed; printerIndex then holds the choice (-1 the default printer).
// For a printer object: ExecutePrinterSetup(printer.PrinterIndex).
bool ExecutePrinterSetup(int& printerIndex);

}  // namespace nv
