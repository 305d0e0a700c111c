#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/ui/UiClasses.h"

namespace nv {
namespace {

// A property or event that disappears from a control shows up here at once.
TEST(UiClassReference, MatchesTheCheckedInText) {
  std::string dump = DumpClasses(UiClasses());
  std::string path = std::string(QC_SOURCE_DIR) + "/tests/platform/ui/classes.txt";
  std::ifstream in(path, std::ios::binary);
  std::stringstream expected;
  expected << in.rdbuf();
  if (dump != expected.str()) {
    std::string fresh = std::string(QC_BINARY_DIR) + "/ui_classes.txt";
    std::ofstream(fresh, std::ios::binary) << dump;
    FAIL() << "class reference changed; if on purpose, copy " << fresh << " to " << path;
  }
}

}  // namespace
}  // namespace nv
