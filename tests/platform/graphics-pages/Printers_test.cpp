#include "platform/graphics/Printers.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "PageTestUtil.h"
#include "platform/graphics/PageFonts.h"

namespace nv {
namespace {

namespace fs = std::filesystem;
using test::LayoutBox;
using test::SongFont;

std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    pclose(pipe);
  }
  return out;
}

TPage VoucherPage(int number, std::string extra = "") {
  TPage page(MmToTwips(210), MmToTwips(148));
  page.AddText(LayoutBox(300, 20, 200, 24), SongFont(16), SysText("清场记录单"), taCenter);
  page.AddText(LayoutBox(62, 67, 200, 15), SongFont(9),
               SysText("清场单号: 2026000120") + std::to_string(number) + extra);
  page.AddLine(0, 1200, 10000, 1200, {});
  return page;
}

int FilePrinterIndex() {
  std::vector<TPrinterInfo> printers = PrinterList();
  for (std::size_t i = 0; i < printers.size(); ++i) {
    if (printers[i].IsFilePrinter) return static_cast<int>(i);
  }
  return -1;
}

class FilePrinter : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("nv_file_printer_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    SetFilePrinterFolder(folder_.string());
  }
  void TearDown() override {
    SetFilePrinterFolder("");
    fs::remove_all(folder_);
  }
  fs::path folder_;
};

TEST_F(FilePrinter, ListsLastAndWritesSearchableTextWithEmbeddedFonts) {
  std::vector<TPrinterInfo> printers = PrinterList();
  ASSERT_FALSE(printers.empty());
  EXPECT_EQ(printers.back().Name, kFilePrinterName);
  EXPECT_GE(DefaultPrinterIndex(printers), 0);

  TPage first = VoucherPage(1), second = VoucherPage(2);
  TPrintJob job;
  job.Title = SysText("清场记录单");
  TPrintResult result = PrintPages(FilePrinterIndex(), {&first, &second}, job);
  EXPECT_EQ(result.Printer, kFilePrinterName);
  EXPECT_EQ(result.File, (folder_ / "清场记录单-1.pdf").string());
  ASSERT_TRUE(fs::exists(result.File));
  std::string info = Output("pdfinfo '" + result.File + "'");
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       595.3 x 419.55 pts"), std::string::npos) << info;
  std::string text = Output("pdftotext -layout '" + result.File + "' -");
  EXPECT_NE(text.find("清场记录单"), std::string::npos) << text;
  EXPECT_NE(text.find("清场单号: 20260001202"), std::string::npos) << text;
  // every font embedded, as a subset, with a map back to the characters
  std::string fonts = Output("pdffonts '" + result.File + "'");
  EXPECT_NE(fonts.find("+UMingCN"), std::string::npos) << fonts;
  EXPECT_EQ(fonts.find(" no "), std::string::npos) << fonts;

  // a second job of the same title gets a file of its own
  EXPECT_EQ(PrintPages(FilePrinterIndex(), {&first}, job).File,
            (folder_ / "清场记录单-2.pdf").string());
}

TEST_F(FilePrinter, APageWithAMissingGlyphIsNotPrintedSilently) {
  TPage good = VoucherPage(1), bad = VoucherPage(2, "\xF8\xA1");
  TPrintJob job;
  job.Title = "missing";
  const std::string message =
      "page 2: text \"清场单号: 20260001202\uE234\" (font 宋体): no installed font draws U+E234";
  try {
    PrintPages(FilePrinterIndex(), {&good, &bad}, job);
    ADD_FAILURE() << "printed without a word";
  } catch (const EMissingGlyph& e) {
    EXPECT_EQ(std::string(e.what()), "printer \"PDF file\": " + message);
  }
  std::vector<std::string> seen;
  job.OnMissingGlyphs = [&](const std::vector<std::string>& messages) {
    seen = messages;
    return false;
  };
  TPrintResult cancelled = PrintPages(FilePrinterIndex(), {&good, &bad}, job);
  EXPECT_TRUE(cancelled.Cancelled);
  EXPECT_EQ(seen, std::vector<std::string>{message});
  EXPECT_FALSE(fs::exists(folder_));
  job.OnMissingGlyphs = [](const std::vector<std::string>&) { return true; };
  EXPECT_TRUE(fs::exists(PrintPages(FilePrinterIndex(), {&good, &bad}, job).File));
}

TEST_F(FilePrinter, AnIndexOutsideTheListIsRefused) {
  TPage page = VoucherPage(1);
  int count = static_cast<int>(PrinterList().size());
  try {
    PrintPages(count, {&page}, {});
    ADD_FAILURE();
  } catch (const EPrinterError& e) {
    EXPECT_EQ(std::string(e.what()), "printer index " + std::to_string(count) +
                                         " is out of range (" + std::to_string(count) +
                                         " printers)");
  }
}

// Through the real spooler: the cups-pdf queue that scripts/services.d/cups sets up.
TEST(CupsPrinter, PrintsThroughTheSpoolerIntoAPdf) {
  const std::string queue = "NV-PDF";
  auto find = [&] {
    std::vector<TPrinterInfo> printers = PrinterList();
    for (std::size_t i = 0; i < printers.size(); ++i) {
      if (printers[i].Name == queue) return static_cast<int>(i);
    }
    return -1;
  };
  int index = find();
  if (index < 0) {
    std::system((std::string(QC_SOURCE_DIR) + "/scripts/services.d/cups").c_str());
    index = find();
  }
  if (index < 0) {
    if (std::getenv("CI")) FAIL() << "CUPS queue " << queue << " is missing in CI";
    GTEST_SKIP() << "CUPS queue " << queue << " is missing: cupsd could not start here "
                 << "(scripts/services.d/cups sets it up)";
  }
  TPage page = VoucherPage(7);
  TPrintJob job;
  job.Title = "nv-cups-test";
  TPrintResult result = PrintPages(index, {&page}, job);
  ASSERT_GT(result.CupsJob, 0);
  const passwd* user = getpwuid(geteuid());
  fs::path out = fs::path("/var/spool/cups-pdf") / (user ? user->pw_name : "ANONYMOUS");
  std::string suffix = "job_" + std::to_string(result.CupsJob) + ".pdf";
  fs::path found;
  for (int i = 0; i < 300 && found.empty(); ++i) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(out, ec)) {
      std::string name = entry.path().filename().string();
      if (name.size() >= suffix.size() &&
          name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
        found = entry.path();
      }
    }
    if (found.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_FALSE(found.empty()) << "no " << suffix << " in " << out;
  // The file appears before the backend has finished writing it.
  std::string info;
  for (int i = 0; i < 300 && info.find("Pages:") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    info = Output("pdfinfo '" + found.string() + "' 2>/dev/null");
  }
  EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
  // The spooler's PostScript step turns text into outlines, so look at the page instead.
  std::string picture = (fs::temp_directory_path() / "nv_cups_job").string();
  Output("pdftoppm -r 72 -gray -singlefile '" + found.string() + "' " + picture);
  std::ifstream in(picture + ".pgm", std::ios::binary);
  std::string magic;
  int width = 0, height = 0, depth = 0;
  in >> magic >> width >> height >> depth;
  in.get();
  std::string pixels((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(magic, "P5");
  int dark = 0;
  for (char p : pixels) dark += static_cast<unsigned char>(p) < 160;
  EXPECT_GT(dark, 20) << "the printed page came out blank";
  fs::remove(picture + ".pgm");
  fs::remove(found);
}

}  // namespace
}  // namespace nv
