#include "platform/core/Format.h"

#include <gtest/gtest.h>

#include "platform/core/SysUtils.h"

namespace nv {
namespace {

struct FormatCase {
  const char* name;
  const char* format;
  std::vector<Variant> args;
  std::string expected;
};

TEST(Format, WritesWhatThePlatformWrites) {
  const FormatCase cases[] = {
      {"text", "%s;%s", {"E", "000015"}, "E;000015"},
      {"zero padded date", "%.4d%s%.2d%s%.2d", {2004, "/", 3, "/", 7}, "2004/03/07"},
      {"star precision", "%.*d", {3, 7}, "007"},
      {"negative with precision", "%.3d", {-7}, "-007"},
      {"width right", "[%5d]", {42}, "[   42]"},
      {"width left", "[%-5s]", {"ab"}, "[ab   ]"},
      {"hex", "%x", {255}, "FF"},
      {"hex precision", "%.4x", {255}, "00FF"},
      {"percent", "100%%", {}, "100%"},
      {"float", "%.2f", {3.14159}, "3.14"},
      {"float default precision", "%f", {2.5}, "2.50"},
      {"grouped number", "%n", {1234567.891}, "1,234,567.89"},
      {"text precision cuts", "%.2s", {"abcdef"}, "ab"},
      {"index", "%1:s %0:s", {"a", "b"}, "b a"},
      {"slash pairs", "%d/%d", {1, 3}, "1/3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Format(c.format, std::span<const Variant>(c.args)), c.expected) << c.name;
  }
}

TEST(Format, MismatchRaisesTheFormatError) {
  const std::pair<const char*, std::vector<Variant>> cases[] = {
      {"%d", {"text"}}, {"%s", {1}}, {"%f", {1}}, {"%d %d", {1}}, {"%", {}}, {"%q", {1}},
  };
  for (const auto& [format, args] : cases) {
    try {
      Format(format, std::span<const Variant>(args));
      ADD_FAILURE() << format << " formatted";
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string("Format '") + format + "' invalid or incompatible with argument");
    }
  }
}

}  // namespace
}  // namespace nv
