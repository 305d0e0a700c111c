#include "platform/graphics/PageFonts.h"

#include <gtest/gtest.h>

#include "PageTestUtil.h"
#include "platform/core/CodePage.h"
#include "platform/graphics/Metafile.h"

namespace nv {
namespace {

using test::ArialFont;
using test::LayoutBox;
using test::SongFont;

TEST(PageFontsConf, FaceNamesOfLayoutsMapToInstalledFonts) {
  struct Case {
    const char* face;
    const char* family;
  };
  const Case cases[] = {
      {"宋体", "AR PL UMing CN"},       {"SimSun", "AR PL UMing CN"},
      {"新細明體", "AR PL UMing TW"},   {"PMingLiU", "AR PL UMing TW"},
      {"Arial", "Liberation Sans"},     {"Tahoma", "DejaVu Sans"},
      {"MS Sans Serif", "DejaVu Sans"}, {"No Such Face", "WenQuanYi Zen Hei"},
  };
  for (const Case& c : cases) EXPECT_EQ(ResolvedFamily(c.face), c.family) << c.face;
}

TEST(PageFontsText, CharacterSetChoosesTheCodePage) {
  TPage page(1000, 1000);
  TPageFont big5 = SongFont();
  big5.Charset = CHINESEBIG5_CHARSET;
  std::string big5Bytes = ConvertCodePage(SysText("續生產"), kCodePageGB, kCodePageBig5);
  page.AddText({0, 0, 100, 100}, big5, big5Bytes);
  page.AddText({0, 0, 100, 100}, SongFont(), SysText("续生产"));
  const auto& big5Text = std::get<TPageText>(page.Records()[0]);
  const auto& gbText = std::get<TPageText>(page.Records()[1]);
  EXPECT_EQ(TextUtf8(page, big5Text), "續生產");
  EXPECT_EQ(TextUtf8(page, gbText), "续生产");
}

TEST(PageFontsText, ChineseInALatinFaceFallsBackToACjkFont) {
  TPage page(10000, 10000);
  page.AddText({0, 0, 100, 100}, ArialFont(), SysText("工单 ABC"));
  TPageFont tahoma = ArialFont();
  tahoma.Name = "Tahoma";
  tahoma.Charset = GB2312_CHARSET;
  page.AddText({0, 0, 100, 100}, tahoma, SysText("產品規格"));
  EXPECT_TRUE(FindMissingGlyphs(page).empty());
}

TEST(PageFontsText, MissingGlyphsAreReportedWithTextAndCharacter) {
  TPage page(10000, 10000);
  page.AddText(LayoutBox(0, 0, 100, 15), SongFont(), "QC1");
  // F8A1 is a user-defined character of GB code page 936 (U+E234) that no installed font has.
  page.AddText(LayoutBox(0, 20, 100, 15), SongFont(), SysText("清场") + "\xF8\xA1");
  std::vector<TMissingGlyph> missing = FindMissingGlyphs(page);
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_EQ(missing[0].Record, 1u);
  EXPECT_EQ(missing[0].Character, U'\uE234');
  EXPECT_EQ(MissingGlyphMessage(3, missing[0]),
            "page 3: text \"清场\uE234\" (font 宋体): no installed font draws U+E234");
}

TEST(PageFontsText, MissingGlyphsOfABackgroundAreReportedToo) {
  TEmfWriter emf(200, 100);
  TEmfFont font;
  font.Height = -12;
  font.Face = "SimSun";
  emf.SelectObject(emf.CreateFont(font));
  emf.TextOutW(0, 0, "页次 \U00013000");  // an Egyptian hieroglyph: in no installed font
  TPage page(3000, 1500);
  page.AddPicture({0, 0, 3000, 1500},
                  TPageImage::FromMetafile(TMetafile::FromBytes(emf.Bytes()), "bg"));
  std::vector<TMissingGlyph> missing = FindMissingGlyphs(page);
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_EQ(missing[0].Character, U'\U00013000');
  EXPECT_EQ(missing[0].Font, "SimSun");
}

TEST(PageFontsMeasure, ExtentsScaleWithTheFontSize) {
  TTextExtent nine = MeasurePageText(SongFont(9), SysText("清场单别"));
  TTextExtent eighteen = MeasurePageText(SongFont(18), SysText("清场单别"));
  // Chinese characters are one em wide in the Ming face.
  EXPECT_NEAR(nine.Width, 36, 1);
  EXPECT_NEAR(eighteen.Width, 2 * nine.Width, 0.5);
  EXPECT_GT(nine.Height, 9);
  EXPECT_LT(nine.Ascent, nine.Height);
}

}  // namespace
}  // namespace nv
