#include "runtime/TranslatorU.h"

#include <gtest/gtest.h>

#include "platform/core/CodePage.h"

namespace nv {
namespace {

TEST(Translator, LoadsTheLanguageLibraryByName) {
  const TTranslator translator;
  const std::string gb =
      Utf8ToAnsi("清场记录：批号、产品、工序、审核、生产许可、设备、操作员", kCodePageGB);
  const std::string big5 = translator.GBtoBIG5(gb);
  EXPECT_EQ(big5,
            Utf8ToAnsi("清場記錄：批號、產品、工序、審核、生產許可、設備、操作員", kCodePageBig5));
  EXPECT_EQ(translator.BIG5toGB(big5), gb);
  EXPECT_EQ(translator.GBtoBIG5(""), "");
  const std::string longText(5000, 'A');
  EXPECT_EQ(translator.GBtoBIG5(longText + gb), longText + big5) << "beyond the first guess";
}

TEST(Translator, MissingLibraryOrEntryPointsRaise) {
  try {
    TTranslator missing("NoSuchLanguage.dll");
    FAIL();
  } catch (const ETranslatorError& error) {
    EXPECT_STREQ(error.what(), "Load Library NoSuchLanguage.dll Error!");
  }
  try {
    TTranslator wrong("NVDownLoad.dll");
    FAIL();
  } catch (const ETranslatorError& error) {
    EXPECT_STREQ(error.what(), "Get Library Procedure Address Error!");
  }
}

}  // namespace
}  // namespace nv
