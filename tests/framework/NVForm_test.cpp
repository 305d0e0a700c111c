// The base form: pictures for disabled buttons, fonts of the English interface, language
// packs over the class chain in the three interface languages, and pictures of the option
// form as a user sees it.
#include "framework/NVForm.h"

#include <gtest/gtest.h>

#include "FrameworkFixture.h"
#include "controls/NvCtrls.h"
#include "platform/graphics/Graphics.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/FormPicture.h"

namespace nv::testing {
namespace {

constexpr TColor kT = static_cast<TColor>(0xFF00FF);  // transparent (the bottom-left pixel)
constexpr TColor kLight = static_cast<TColor>(0xC0C0C0);
constexpr TColor kDark = static_cast<TColor>(0x202020);

// A 5 x 5 picture: a light 3 x 3 block on the transparent colour, its centre as given.
TBitmap BlockPicture(TColor centre) {
  TBitmap p(5, 5, pf24bit);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) p.SetPixel(x, y, kT);
  for (int y = 1; y <= 3; ++y)
    for (int x = 1; x <= 3; ++x) p.SetPixel(x, y, kLight);
  p.SetPixel(2, 2, centre);
  return p;
}

// The disabled half as letters: F button face, S shadow, H highlight.
std::string DisabledHalf(const TBitmap& p) {
  std::string rows;
  for (int y = 0; y < p.Height(); ++y) {
    for (int x = p.Width() / 2; x < p.Width(); ++x) {
      TColor c = p.Pixel(x, y);
      rows += c == ColorToRGB(clBtnShadow)      ? 'S'
              : c == ColorToRGB(clBtnHighlight) ? 'H'
              : c == ColorToRGB(clBtnFace)      ? 'F'
                                                : '?';
    }
    rows += '\n';
  }
  return rows;
}

TEST(DisabledPicture, OutlineAndDarkPixelsAreEmbossed) {
  struct Case {
    const char* name;
    TColor centre;
    const char* disabled;
  } cases[] = {
      // pixels beside the transparent colour are marked; a light inner pixel is not
      {"light centre", kLight, "FFFFF\nFSSSF\nFSHSH\nFSSSH\nFFHHH\n"},
      {"dark centre", kDark, "FFFFF\nFSSSF\nFSSSH\nFSSSH\nFFHHH\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBitmap picture = BlockPicture(c.centre);
    int numGlyphs = 1;
    ASSERT_TRUE(AddDisabledPicture(picture, numGlyphs));
    EXPECT_EQ(numGlyphs, 2);
    ASSERT_EQ(picture.Width(), 10);
    EXPECT_EQ(DisabledHalf(picture), c.disabled);
    TBitmap original = BlockPicture(c.centre);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(picture.Pixel(x, y), original.Pixel(x, y));
  }
  TBitmap two = BlockPicture(kLight);
  int numGlyphs = 2;
  EXPECT_FALSE(AddDisabledPicture(two, numGlyphs)) << "two pictures stay as they are";
  EXPECT_EQ(two.Width(), 5);
}

class TfrmButtons : public TNVForm {
  NV_CLASS(TfrmButtons, TNVForm)
 public:
  explicit TfrmButtons(TComponent* owner) : TNVForm(owner) {
    one = new TSpeedButton(this);
    one->SetName("one");
    TBitmap p = BlockPicture(kLight);
    one->Glyph()->Bitmap().Assign(p);
    two = new TBitBtn(this);
    two->SetName("two");
    TBitmap q(10, 5, pf24bit);
    two->Glyph()->Bitmap().Assign(q);
    two->SetNumGlyphs(2);
    lookup = new TNvBtnDBEdit(this);
    lookup->SetName("lookup");
    lookup->Glyph()->Bitmap().Assign(p);
    lookup->SetNumGlyphs(1);
  }
  TSpeedButton* one;
  TBitBtn* two;
  TNvBtnDBEdit* lookup;
};
NV_PUBLISH(TfrmButtons) {}

using BaseForm = DemoSuite;

TEST_F(BaseForm, CreatingTheFormGivesOnePictureButtonsADisabledPicture) {
  auto* form = nv::Create<TfrmButtons>(nullptr);
  EXPECT_EQ(form->one->NumGlyphs(), 2);
  EXPECT_EQ(form->one->Glyph()->Width(), 10);
  EXPECT_EQ(form->two->NumGlyphs(), 2);
  EXPECT_EQ(form->two->Glyph()->Width(), 10);
  EXPECT_EQ(form->lookup->NumGlyphs(), 2) << "the button of a labelled lookup edit";
  EXPECT_EQ(form->Caption(), "NVForm");
  EXPECT_EQ(form->ClientWidthProp(), 400);
  EXPECT_TRUE(form->KeyPreview());
  form->Free();
}

TEST_F(BaseForm, CodePageMessagesCarryTheFormsCaption) {
  auto* form = nv::Create<TfrmButtons>(nullptr);
  EXPECT_EQ(form->ShowCodeMessage("", mtError, {mbOK}), mrNone) << "nothing to show";
  EXPECT_TRUE(HeadlessInteraction().Journal().empty());
  HeadlessInteraction().Answer(mrNo);
  EXPECT_EQ(form->ShowCodeMessage(SysText("确实要删除此方案吗？"), mtConfirmation, {mbYes, mbNo}),
            mrNo);
  const TDialogRequest& r = HeadlessInteraction().Journal().at(0).Request;
  EXPECT_EQ(r.Caption, "NVForm");
  EXPECT_EQ(U(r.Text), "确实要删除此方案吗？      ") << "a Chinese text ends in six blanks";
  form->Free();
}

TEST_F(BaseForm, TheEnglishInterfaceSetsTahomaOnEveryControl) {
  struct Case {
    const char* codePage;
    const char* font;
    TFontCharset charset;
  } cases[] = {{"936", "宋体", GB2312_CHARSET}, {"437", "Tahoma", GB2312_CHARSET}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.codePage);
    ClientConfig(c.codePage);
    TfrmQCPTest* form = NewForm();
    for (TControl* control :
         {static_cast<TControl*>(form->edtTD001), static_cast<TControl*>(form->btnOk),
          static_cast<TControl*>(form->lblToday)}) {
      EXPECT_EQ(U(control->Font()->Name()), c.font) << control->Name();
      EXPECT_EQ(control->Font()->Charset(), c.charset) << control->Name();
    }
  }
}

// XML attribute text: the accelerator mark is an entity.
std::string Xml(std::string text) {
  for (std::size_t at = text.find('&'); at != std::string::npos; at = text.find('&', at + 5))
    text.replace(at, 1, "&amp;");
  return text;
}

// The packs of the base and of the report: the report's pack is applied last.
void InstallPacks(const std::string& language) {
  struct Texts {
    std::string ok, cancel, page, label, option;
  };
  Texts t = language == "ENG"
                ? Texts{"Print", "Cancel", "Basic options", "Document type", "condition texts"}
            : language == "CHT"
                ? Texts{"列印(&P)", "取消(&C)", "基本選項", "單據性質", "選擇條件文字"}
                : Texts{"打印(&P)", "取消(&C)", "基本条件", "单据种类", "条件文字"};
  DemoSuite::Pack(language, "TfrmBaseGene",
                  "<TfrmBaseGene>\n  <btnOk Caption=\"OK\"/>\n  <btnCancel Caption=\"" +
                      Xml(t.cancel) + "\"/>\n  <tsOption1 Caption=\"" + t.page +
                      "\"/>\n  <sOption Msg=\"" + t.option + "\"/>\n</TfrmBaseGene>\n");
  DemoSuite::Pack(language, "TfrmQCPTest",
                  "<TfrmQCPTest>\n  <btnOk Caption=\"" + Xml(t.ok) +
                      "\"/>\n  <lblTD001 Caption=\"" + t.label + "\"/>\n</TfrmQCPTest>\n");
}

// Every text the English user sees on the option form.
void InstallEnglishPacks() {
  DemoSuite::Pack("ENG", "TfrmBaseGene", R"xml(<TfrmBaseGene>
  <lblCondition Caption=" Schemes"/>
  <btnInsert Caption="&amp;Save"/>
  <btnOpen Caption="&amp;Open"/>
  <btnDelete Caption="&amp;Del"/>
  <tsOption1 Caption="Basic options"/>
  <tsOption2 Caption="System options"/>
  <lblToday Caption="Print date"/>
  <btnOk Caption="OK"/>
  <btnCancel Caption="Cancel"/>
</TfrmBaseGene>
)xml");
  DemoSuite::Pack("ENG", "TfrmQCPTest", R"xml(<TfrmQCPTest>
  <btnOk Caption="Print"/>
  <lblTD001 Caption="Doc. type"/>
  <splTD003 Caption="Document date"/>
  <cboTD017 Items_0="All" Items_1="Audited" Items_2="Not audited"/>
  <chkTD018 Caption="Production permit issued"/>
</TfrmQCPTest>
)xml");
}

TEST_F(BaseForm, LanguagePacksRelabelTheFormInEachInterfaceLanguage) {
  struct Case {
    const char* codePage;
    const char* language;  // "" installs no packs
    int shownIn;
    std::vector<std::string> labels;  // btnOk, btnCancel, tsOption1, lblTD001, sOption
  } cases[] = {
      {"936", "", 936, {"确定", "取消", "基本选项", "单据性质", "选择条件文字"}},
      {"936", "CHS", 936, {"打印(&P)", "取消(&C)", "基本条件", "单据种类", "条件文字"}},
      {"950", "CHT", 950, {"列印(&P)", "取消(&C)", "基本選項", "單據性質", "選擇條件文字"}},
      {"437", "ENG", 936, {"Print", "Cancel", "Basic options", "Document type", "condition texts"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.codePage) + " " + c.language);
    ClientConfig(c.codePage);
    if (*c.language) InstallPacks(c.language);
    TfrmQCPTest* form = StartedForm();
    form->Show();
    std::string option = form->LangText("TfrmBaseGene", "sOption", SysText("选择条件文字"));
    if (c.shownIn == 950) option = form->NvConverter->GBToBig5(option);
    std::vector<std::string> labels = {
        U(form->btnOk->Caption(), c.shownIn), U(form->btnCancel->Caption(), c.shownIn),
        U(form->tsOption1->Caption(), c.shownIn), U(form->lblTD001->Caption(), c.shownIn),
        U(option, c.shownIn)};
    EXPECT_EQ(labels, c.labels);
    std::filesystem::remove_all(ClientPath() + "MultiLanguage");
  }
}

TEST_F(BaseForm, DerivedPacksLeaveTheBaseFormsPackOut) {
  Pack("CHS", "TNVForm", "<TNVForm><btnCancel Caption=\"基类\"/></TNVForm>");
  TfrmQCPTest* form = StartedForm();
  struct Case {
    const char* name;
    bool derivedOnly;
    bool withAncestors;
    const char* cancel;
  } cases[] = {{"the whole chain", false, true, "基类"},
               {"without the base form", true, true, "取消"},
               {"the form's own class", false, false, "取消"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->btnCancel->SetCaption(SysText("取消"));
    if (c.derivedOnly)
      form->ApplyDerivedLanguagePacks(*form, c.withAncestors);
    else
      form->ApplyLanguagePacks(*form, c.withAncestors);
    EXPECT_EQ(U(form->btnCancel->Caption()), c.cancel);
  }
}

TEST_F(BaseForm, PicturesOfTheOptionFormInChineseAndEnglish) {
  struct Case {
    const char* codePage;
    const char* language;
    const char* file;
  } cases[] = {{"936", "CHS", "framework_option_chs.png"},
               {"437", "ENG", "framework_option_eng.png"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    ClientConfig(c.codePage);
    if (std::string(c.language) == "ENG")
      InstallEnglishPacks();
    else
      InstallPacks(c.language);
    TfrmQCPTest* form = StartedForm();
    form->Show();
    form->edtTD001->SetText("QC09");
    form->cboTD017->SetItemIndex(1);
    std::string file = std::string(QC_BINARY_DIR) + "/" + c.file;
    TPictureOptions options;
    options.FontsConf = QC_SOURCE_DIR "/data/fonts/fonts.conf";
    SaveFormPicture(*form, file, options);
    EXPECT_TRUE(std::filesystem::file_size(file) > 1000);
    form->pgOption->SelectTab(form->tsOption2);
    SaveFormPicture(*form, file.substr(0, file.size() - 4) + "_system.png", options);
  }
}

}  // namespace
}  // namespace nv::testing
