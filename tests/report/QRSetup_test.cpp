// The printer set-up goes through the interaction service. The pages' header stays out of
// this unit: its alignment names meet the controls' ones.
#include "platform/report/QRSetup.h"

#include <gtest/gtest.h>

#include "platform/ui/Dialogs.h"

namespace nv::test {
namespace {

TEST(PrinterSetup, OffersThePrintersWithTheChoicePreselectedAndKeepsItOnlyWhenConfirmed) {
  THeadlessInteraction& dialogs = HeadlessInteraction();
  int index = -1;
  dialogs.Expect(dkPrinterSetup, TDialogAnswer{mrOk, {{"PrinterIndex", Variant(0)}}});
  EXPECT_TRUE(ExecutePrinterSetup(index));
  EXPECT_EQ(index, 0);
  const TDialogRequest& asked = dialogs.Journal().back().Request;
  EXPECT_EQ(asked.Fields.at("PrinterIndex").AsInteger(), -1);
  Variant printers = asked.Fields.at("Printers");
  EXPECT_EQ(printers[printers.HighBound()].AsString(), "PDF file");
  dialogs.Expect(dkPrinterSetup, TDialogAnswer{mrCancel, {{"PrinterIndex", Variant(3)}}});
  EXPECT_FALSE(ExecutePrinterSetup(index));
  EXPECT_EQ(index, 0);
}

}  // namespace
}  // namespace nv::test
