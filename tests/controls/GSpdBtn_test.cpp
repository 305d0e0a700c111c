#include "controls/GSpdBtn.h"

#include <gtest/gtest.h>

#include "platform/core/CodePage.h"
#include "platform/graphics/Graphics.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

namespace nv {
namespace {

class PictureButton : public ::testing::Test {
 protected:
  void SetUp() override {
    TPictureLibrary::SetLibraryName(kPictureLibraryName);
    HeadlessInteraction().Reset();
    form_ = new TForm(nullptr);
    button_ = new TGSpeedButton(form_);
    button_->SetParent(form_);
  }
  void TearDown() override {
    delete form_;
    TPictureLibrary::SetLibraryName(kPictureLibraryName);
  }
  TForm* form_ = nullptr;
  TGSpeedButton* button_ = nullptr;
};

// The pictures the option forms and the selection panel ask for.
TEST_F(PictureButton, LibraryPicturesAreStripsOfSquareImages) {
  struct Case {
    int number;
    int images;
  };
  const Case cases[] = {{0, 1}, {4, 2}, {8, 1}, {9, 1}, {47, 1}};
  TPictureLibrary library;
  EXPECT_EQ(library.GetMaxBmpID(), 47);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    TBitmap bitmap;
    ASSERT_TRUE(library.LoadBmp(bitmap, c.number));
    EXPECT_EQ(bitmap.Height(), 16);
    EXPECT_EQ(bitmap.Width(), 16 * c.images);
    // Transparent background at the bottom-left, something drawn on it.
    const TColor back = bitmap.Pixel(0, bitmap.Height() - 1);
    bool drawn = false;
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x) drawn = drawn || bitmap.Pixel(x, y) != back;
    EXPECT_TRUE(drawn);
  }
  TBitmap none;
  EXPECT_FALSE(library.LoadBmp(none, 5));
  EXPECT_FALSE(library.LoadBmp(none, 48));
}

TEST_F(PictureButton, GlyphIndexShowsPictureOrNumber) {
  struct Case {
    const char* name;
    int number;
    std::string caption;
    bool picture;
    int numGlyphs;
  };
  const Case cases[] = {
      {"two images: normal and disabled", 4, "", true, 2},
      {"one image", 47, "", true, 1},
      {"in range without a picture", 5, "5", false, 1},
      {"beyond the highest number", 48, "48", false, 1},
      {"no picture chosen", 0, "0", false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    button_->SetGlyphIndex(8);
    button_->SetNumGlyphs(1);
    button_->SetGlyphIndex(c.number);
    EXPECT_EQ(button_->GlyphIndex(), c.number);
    EXPECT_EQ(button_->Caption(), c.caption);
    EXPECT_EQ(!button_->Glyph()->Empty(), c.picture);
    EXPECT_EQ(button_->NumGlyphs(), c.numGlyphs);
  }
  EXPECT_EQ(HeadlessInteraction().Journal().size(), 0u);
}

TEST_F(PictureButton, SameNumberAgainChangesNothing) {
  button_->SetGlyphIndex(8);
  button_->SetCaption("x");
  button_->SetGlyphIndex(8);
  EXPECT_EQ(button_->Caption(), "x");
}

TEST_F(PictureButton, MissingLibraryShowsTheErrorAndKeepsThePicture) {
  button_->SetGlyphIndex(8);
  ASSERT_FALSE(button_->Glyph()->Empty());
  TPictureLibrary::SetLibraryName("NoSuchPictures.dll");
  button_->SetGlyphIndex(9);
  EXPECT_EQ(
      HeadlessInteraction().JournalText(),
      "MessageDlg mtError \"Error\" \"" + SysText("读取 BMP 发生错误") + "\" [mbOK] -> mrOk\n");
  EXPECT_FALSE(button_->Glyph()->Empty());
  EXPECT_EQ(button_->GlyphIndex(), 9);
}

TEST(PictureLibrary, MissingLibraryOrEntryPointRaises) {
  struct Case {
    const char* name;
    std::string file;
    std::string message;
  };
  const Case cases[] = {
      {"no such file", "NoSuchPictures.dll", "Load Library NoSuchPictures.dll Error!"},
      {"another suite library", QC_BINARY_DIR "/suite/libs/bin/Nvlanguage.so",
       "Get Library Procedure Address Error!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TPictureLibrary library(c.file);
    try {
      library.GetMaxBmpID();
      ADD_FAILURE() << "no error";
    } catch (const EPictureLibraryError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace nv
