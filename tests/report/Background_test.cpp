// Background pictures with their print flag, pictures kept in the form text, paper sizes.
#include <gtest/gtest.h>

#include "ReportTestUtil.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/Page.h"
#include "platform/rtti/FormText.h"

namespace nv::test {
namespace {

std::string SmallEmf() {
  TEmfWriter emf(200, 100);
  emf.MoveTo(0, 50);
  emf.LineTo(200, 50);
  return emf.Bytes();
}

class BackgroundFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterReportClasses();
    form = std::make_unique<TfrmReportTest>(nullptr);
    form->SetName("frmReportTest");
    rep = new TQuickRep(form.get());
    rep->SetName("QuickRep1");
    rep->PageStyle = qrHalfPage;
    AddBand(*form, "Detail", rbDetail, 30);
  }
  int Pictures(int page) {
    int n = 0;
    for (const auto& r : rep->Pages().Page(page).Records())
      n += std::holds_alternative<TPagePicture>(r);
    return n;
  }
  std::unique_ptr<TfrmReportTest> form;
  TQuickRep* rep = nullptr;
};

TEST_F(BackgroundFixture, TheBackgroundPrintsAtTheMarginsOfEveryVoucherPageWhenItsFlagIsOn) {
  rep->Background()->LoadFromBytes(SmallEmf());
  ASSERT_TRUE(rep->Background()->Error().empty()) << rep->Background()->Error();
  auto data = VoucherLines({"a", "b"});
  rep->SetDataSet(data.get());
  auto* detail = rep->Bands()[0];
  auto* seq = AddPrintable<TQRDBText>(*form, *detail, "txtTD001", 0, 0);
  seq->DataField = "TD001";
  auto* group = new TQRGroup(form.get());
  group->SetParentComponent(rep);
  group->Expression = "TD001";
  rep->SetPageStartBand(group);  // a voucher a record
  rep->SetPageDetailBand(detail);
  rep->Prepare();
  ASSERT_EQ(rep->PageCount(), 1);  // two voucher pages on one sheet
  ASSERT_EQ(Pictures(0), 2);
  std::vector<TRect> places;
  for (const auto& r : rep->Pages().Page(0).Records())
    if (const auto* p = std::get_if<TPagePicture>(&r)) places.push_back(p->Bounds);
  int m = MillimetresToTwips(10);
  int half = rep->Page()->HeightTwips() / 2;
  EXPECT_EQ(places, (std::vector<TRect>{{m, m, m + 3000, m + 1500},
                                        {m, half + m, m + 3000, half + m + 1500}}));

  rep->PrintBackground = false;
  rep->Prepare();
  EXPECT_EQ(Pictures(0), 0);
}

TEST_F(BackgroundFixture, ADamagedPictureKeepsItsBytesDrawsNothingAndSaysWhy) {
  std::string bytes = SmallEmf();
  bytes.resize(60);
  rep->Background()->LoadFromBytes(bytes);
  EXPECT_EQ(rep->Background()->Image(), nullptr);
  EXPECT_EQ(rep->Background()->Error(),
            "EMF: 60 bytes is too short for a header (at least 88 bytes expected)");
  rep->Prepare();
  EXPECT_EQ(Pictures(0), 0);
  EXPECT_EQ(rep->Background()->Bytes(), bytes);
}

TEST_F(BackgroundFixture, PicturesAndPageSettingsRoundTripThroughFormText) {
  rep->Background()->LoadFromBytes(SmallEmf());
  rep->PrintBackground = false;
  rep->Page()->SetPaperSize(qr::A4);
  rep->PrinterSettings()->PrinterIndex = 2;
  auto* image = AddPrintable<TQRImage>(*form, *rep->Bands()[0], "imgLogo", 0, 0);
  image->Picture()->LoadFromBytes(SmallEmf());
  auto* memo = AddPrintable<TQRMemo>(*form, *rep->Bands()[0], "moNote", 0, 0);
  memo->Lines()->Add("one");
  memo->Lines()->Add("two");
  std::string text = WriteComponentText(*form);
  TfrmReportTest copy(nullptr);
  ReadComponentText(copy, text);
  EXPECT_EQ(WriteComponentText(copy), text);
  ASSERT_NE(copy.QuickRep1, nullptr);
  EXPECT_EQ(copy.QuickRep1->Background()->Bytes(), SmallEmf());
  EXPECT_NE(copy.QuickRep1->Background()->Image(), nullptr);
  EXPECT_FALSE(copy.QuickRep1->PrintBackground);
  EXPECT_EQ(copy.QuickRep1->Page()->PaperSize(), qr::A4);
  EXPECT_EQ(copy.QuickRep1->PrinterSettings()->PrinterIndex, 2);
  EXPECT_NE(text.find("PageStyle = qrHalfPage"), std::string::npos) << text;
}

TEST(PaperSizes, NamesInTheirOrderAndSizesSetWidthAndLength) {
  const auto& names = PaperSizeNames();
  ASSERT_EQ(names.size(), 28u);
  EXPECT_EQ(names[0], "Default");
  EXPECT_EQ(names[9], "A4");
  EXPECT_EQ(names[16], "qr10X14");
  EXPECT_EQ(names[27], "Custom");
  EXPECT_EQ(UnitNames(),
            (std::vector<std::string>{"MM", "Inches", "Pixels", "Characters", "Native"}));
  TQRPage page;
  page.SetPaperSize(qr::A4);
  EXPECT_DOUBLE_EQ(page.PaperWidth, 210);
  EXPECT_DOUBLE_EQ(page.PaperLength, 297);
  page.PaperWidth = 100;
  page.SetPaperSize(qr::Custom);  // keeps the figures
  EXPECT_DOUBLE_EQ(page.PaperWidth, 100);
  page.Units = qr::Inches;
  EXPECT_NEAR(page.Value(1), 297 / 25.4, 1e-9);  // length
  EXPECT_NEAR(page.Value(3), 100 / 25.4, 1e-9);  // width
  EXPECT_EQ(page.Value(7), 0);
}

}  // namespace
}  // namespace nv::test
