#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SuiteLibrary.h"
#include "platform/core/CodePage.h"

namespace nv {
namespace {

using Convert = int(const char*, char*, int);

class NvlanguageLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library_.Loaded()) << dlerror();
    toBig5_ = library_.Entry<Convert>("GBtoBIG5");
    toGB_ = library_.Entry<Convert>("BIG5toGB");
    ASSERT_NE(toBig5_, nullptr);
    ASSERT_NE(toGB_, nullptr);
  }

  static std::string Call(Convert* convert, const std::string& text) {
    const int needed = convert(text.c_str(), nullptr, 0);
    std::vector<char> buffer(static_cast<size_t>(needed));
    const int length = convert(text.c_str(), buffer.data(), needed);
    EXPECT_EQ(length, needed - 1);
    return std::string(buffer.data(), static_cast<size_t>(length));
  }
  std::string GB(std::string_view utf8) { return Utf8ToAnsi(utf8, kCodePageGB); }
  std::string Big5(std::string_view utf8) { return Utf8ToAnsi(utf8, kCodePageBig5); }

  testing::LoadedLibrary library_{"Nvlanguage.so"};
  Convert* toBig5_ = nullptr;
  Convert* toGB_ = nullptr;
};

TEST_F(NvlanguageLibrary, MapsCharactersToTheTaiwanForms) {
  const std::pair<const char*, const char*> cases[] = {
      {"清场", "清場"}, {"批号", "批號"},         {"产品", "產品"}, {"工序", "工序"},
      {"审核", "審核"}, {"打印", "打印"},         {"设备", "設備"}, {"操作员", "操作員"},
      {"后", "後"},     {"生产许可", "生產許可"}, {"台", "臺"},     {"GMP-01 A", "GMP-01 A"},
  };
  for (const auto& [simplified, traditional] : cases) {
    EXPECT_EQ(Call(toBig5_, GB(simplified)), Big5(traditional)) << simplified;
    EXPECT_EQ(Call(toGB_, Big5(traditional)), GB(simplified)) << traditional;
  }
}

TEST_F(NvlanguageLibrary, VoucherVocabularySurvivesARoundTrip) {
  std::ifstream file(std::string(QC_SOURCE_DIR) + "/tests/runtime/data/voucher_vocabulary.txt");
  std::stringstream content;
  content << file.rdbuf();
  const std::string gb = GB(content.str());
  ASSERT_GT(gb.size(), 600u);
  const std::string big5 = Call(toBig5_, gb);
  EXPECT_EQ(big5.find('?'), std::string::npos);
  EXPECT_NE(big5, gb);
  EXPECT_EQ(Call(toGB_, big5), gb);
}

TEST_F(NvlanguageLibrary, TooSmallABufferIsLeftUntouched) {
  const std::string text = GB("批号");
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(toBig5_(text.c_str(), buffer, 4), 5);
  EXPECT_EQ(std::string(buffer, 4), "xxxx");
  char exact[5];
  EXPECT_EQ(toBig5_(text.c_str(), exact, 5), 4);
  EXPECT_EQ(std::string(exact), Big5("批號"));
  EXPECT_EQ(toBig5_(nullptr, exact, 5), 0);
  EXPECT_EQ(exact[0], '\0');
}

TEST_F(NvlanguageLibrary, CharactersWithoutCounterpartBecomeQuestionMarks) {
  // Pinyin with tone marks exists in GB but not in Big5; a stray lead byte is no character.
  EXPECT_EQ(Call(toBig5_, GB("ǎ号")), "?" + Big5("號"));
  EXPECT_EQ(Call(toBig5_, std::string("A\x81")), "A?");
  EXPECT_EQ(Call(toGB_, std::string("\xA7")), "?");
}

}  // namespace
}  // namespace nv
