#include "platform/graphics/Page.h"

#include <gtest/gtest.h>

#include "PageTestUtil.h"
#include "platform/core/CodePage.h"

namespace nv {
namespace {

using test::ArialFont;
using test::LayoutBox;
using test::SongFont;

TEST(PageDump, TestLayoutReadsAsText) {
  TPage page(MmToTwips(210), MmToTwips(148));
  TPageFont big5 = SongFont(9);
  big5.Name = SysText("新細明體");  // a face name is a system text; the text is Big5
  big5.Charset = CHINESEBIG5_CHARSET;
  TPageFont bold = ArialFont(10);
  bold.Style = FontStyleBit(fsBold) | FontStyleBit(fsUnderline);
  bold.Color = 0x0000FF;

  page.AddRectangle(LayoutBox(10, 10, 700, 300), {0, 15, psSolid}, {0xFFFFFF, bsClear});
  page.AddText(LayoutBox(72, 0, 596, 20), SongFont(16), SysText("清场记录单"), taCenter);
  page.AddText(LayoutBox(62, 67, 54, 15), SongFont(9), "QC1", taLeftJustify, true);
  page.AddText(LayoutBox(62, 82, 132, 15), big5, ConvertCodePage(SysText("續生產"), 936, 950));
  page.AddText(LayoutBox(695, 52, 21, 15), bold, "12", taRightJustify);
  page.AddLine(150, 900, 10500, 900, {0x808080, 0, psDash});
  page.BeginClip(LayoutBox(0, 0, 100, 100));
  page.AddEllipse(LayoutBox(20, 20, 40, 20), {0, 15, psSolid}, {0x00FF00, bsSolid});
  page.EndClip();
  page.AddPicture(LayoutBox(600, 250, 100, 40),
                  TPageImage::FromPixels(2, 1, {0x000000, 0xFFFFFF}, "barcode TD002"));

  EXPECT_EQ(DumpPage(page),
            "page 11906x8391 twips\n"
            "font 0 \"宋体\" 16pt - $000000 charset 134\n"
            "font 1 \"宋体\" 9pt - $000000 charset 134\n"
            "font 2 \"新細明體\" 9pt - $000000 charset 136\n"
            "font 3 \"Arial\" 10pt bu $0000FF charset 0\n"
            "rect 150,150-10650,4650 pen $000000 15 solid brush $FFFFFF clear\n"
            "text 1080,0-10020,300 font 0 center \"清场记录单\"\n"
            "text 930,1005-1740,1230 font 1 left clip \"QC1\"\n"
            "text 930,1230-2910,1455 font 2 left \"續生產\"\n"
            "text 10425,780-10740,1005 font 3 right \"12\"\n"
            "line 150,900-10500,900 pen $808080 0 dash\n"
            "clip 0,0-1500,1500\n"
            "ellipse 300,300-900,600 pen $000000 15 solid brush $00FF00 solid\n"
            "endclip\n"
            "picture 9000,3750-10500,4350 bitmap \"barcode TD002\" 2x1\n");
}

TEST(PageDump, FontsAreKeptOncePerPage) {
  TPage page(1000, 1000);
  EXPECT_EQ(page.AddFont(SongFont()), 0);
  EXPECT_EQ(page.AddFont(ArialFont()), 1);
  EXPECT_EQ(page.AddFont(SongFont()), 0);
  EXPECT_EQ(page.Fonts().size(), 2u);
}

TEST(PageErrors, RefusedRecordsSayWhy) {
  struct Case {
    const char* name;
    void (*act)();
    const char* message;
  };
  const Case cases[] = {
      {"empty page", [] { TPage(0, 100); },
       "page size 0 x 100 twips: expected a positive width and height"},
      {"end clip without clip", [] { TPage(10, 10).EndClip(); }, "EndClip without a BeginClip"},
      {"pixels short of the size",
       [] {
         TPageImage::FromPixels(2, 2, {1, 2, 3}, "logo");
       },
       "picture \"logo\": 3 pixels given for 2 x 2"},
      {"picture without image", [] { TPage(10, 10).AddPicture({}, nullptr); },
       "picture record without a picture"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      c.act();
      ADD_FAILURE() << "no exception";
    } catch (const EPageError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

// Ten thousand vouchers are kept as pages, so a page of a voucher layout stays small.
TEST(PageMemory, VoucherPageStaysSmall) {
  TPage page(MmToTwips(216), MmToTwips(279));
  for (int i = 0; i < 45; ++i) {
    page.AddText(LayoutBox(62, 67 + i * 15, 130, 15), SongFont(9),
                 SysText("工单单号 ") + std::to_string(100000 + i));
  }
  for (int i = 0; i < 30; ++i) page.AddLine(0, i * 300, 12000, i * 300, {});
  EXPECT_LT(page.MemoryUsed(), 16u * 1024u);
}

TEST(Charset, CodePageFollowsTheFontsCharacterSet) {
  EXPECT_EQ(CodePageOfCharset(GB2312_CHARSET), 936);
  EXPECT_EQ(CodePageOfCharset(CHINESEBIG5_CHARSET), 950);
  EXPECT_EQ(CodePageOfCharset(DEFAULT_CHARSET), 0);
  EXPECT_EQ(CodePageOfCharset(ANSI_CHARSET), 0);
}

}  // namespace
}  // namespace nv
