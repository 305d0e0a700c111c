// The host shell as a person runs it: subcommands, scripts, help and argument errors.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

struct TRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs baton on the module of this build, with an empty registry.
TRun RunBaton(const std::string& args, const std::string& input = {}) {
  std::string dir = testing::TempDir();
  // ctest runs test cases side by side: each process keeps its own files
  std::string tag = std::to_string(getpid());
  std::string errFile = dir + "baton_err_" + tag + ".txt";
  std::string inFile = dir + "baton_in_" + tag + ".txt";
  std::ofstream(inFile) << input;
  std::string command = "BATON_REGISTRY=" + dir +
                        "no_registry.reg " QC_BINARY_DIR
                        "/suite/shell/baton --module " QC_BINARY_DIR "/src/module/QCPR31C.so " +
                        args + " <" + inFile + " 2>" + errFile;
  TRun run;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) run.out.append(buffer, n);
  int raw = pclose(pipe.release());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.err = ReadFile(errFile);
  return run;
}

// stderr without the notice that no service object exists (no manager in this build).
std::string Errors(const TRun& run) {
  std::istringstream in(run.err);
  std::string line, kept;
  while (std::getline(in, line)) {
    if (line.find("no service object") == std::string::npos) kept += line + "\n";
  }
  return kept;
}

TEST(Baton, OpenShowHideCloseNotifiesInOrder) {
  TRun run = RunBaton("open");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "notify 256\nopen 0\nnotify 272\nshow visible=true\nnotify 288\nhide visible=false\n"
            "notify 304\nclose closed=true\n");
}

TEST(Baton, ScriptedSessionShowsTheContractsAnswers) {
  std::string dir = testing::TempDir();
  TRun run = RunBaton("run -",
                      "identity            # no form yet\n"
                      "open\n"
                      "open                # refused: the form initialises once\n"
                      "show\n"
                      "hide\n"
                      "command 11 QC09,001 0 \"" +
                          dir +
                          "script_\"\n"
                          "command 7 true\n"
                          "version\n"
                          "close\n"
                          "closed\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "identity -1\n"
            "notify 256\nopen 0\n"
            "open -1\n"
            "notify 272\nshow visible=true\n"
            "notify 288\nhide visible=false\n"
            "command 11 0\n"
            "command 7 -1\n"
            "version 870401-0.00.00\n"
            "notify 304\nclose closed=true\n"
            "closed true\n");
  std::string bmp = ReadFile(dir + "script_1.bmp");
  ASSERT_GT(bmp.size(), 26u);
  EXPECT_EQ(static_cast<unsigned char>(bmp[18]) | static_cast<unsigned char>(bmp[19]) << 8, 794)
      << "no element 3: an A4 page at 96 dots per inch";
}

TEST(Baton, ScriptedModalRunsAnswerAsScripted) {
  TRun run = RunBaton("run -", "open\nmodal 3\nmodal\nclose\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("modal 3\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("modal 2\n"), std::string::npos)
      << "without a result the headless user cancels\n"
      << run.out;
}

struct StatusCase {
  const char* name;
  std::string args;
  int status;
  std::string outLine;  // a line the output must hold
};

TEST(Baton, SubcommandsAnswerWithTheirStatus) {
  const StatusCase cases[] = {
      {"identity without a form", "identity --no-open", 0, "identity -1\n"},
      {"identity with a form", "identity", 0, "identity program QCPR31\n"},
      {"print from the conditions", "print", 0, "command 5 0\n"},
      {"preview a named document", "preview --keys QC09,001", 0, "command 6 0\n"},
      {"command 7 is none", "command 7", 1, "command 7 -1\n"},
      {"modal under a scripted user", "modal --result 1", 0, "modal 1\n"},
      {"host request", "request 1", 0, "request 0\n"},
      {"end design", "end-design", 0, "end-design\n"},
      {"conversion kind the module cannot write", "convert --keys QC09,1 --kind gif --prefix x", 1,
       "command 11 -1\n"},
  };
  for (const auto& c : cases) {
    TRun run = RunBaton(c.args);
    EXPECT_EQ(run.status, c.status) << c.name << "\n" << run.err;
    EXPECT_NE(run.out.find(c.outLine), std::string::npos) << c.name << "\n" << run.out;
  }
}

TEST(Baton, BadArgumentsExitWithStatus2AndSayWhy) {
  const struct {
    const char* name;
    std::string args;
    std::string input;
    std::string message;
  } cases[] = {
      {"no subcommand", "", "", "baton: no subcommand given (see baton --help)\n"},
      {"unknown subcommand", "frob", "", "baton: unknown subcommand \"frob\" (see baton --help)\n"},
      {"unknown option", "print --bogus", "",
       "baton: unknown option --bogus for print (see baton print --help)\n"},
      {"option without its value", "print --keys", "",
       "baton: --keys needs a value: TYPE,NUMBER (see baton print --help)\n"},
      {"malformed keys", "print --keys QC09", "",
       "baton: --keys: expected TYPE,NUMBER (for example QC09,20261211001), got \"QC09\" (see "
       "baton print --help)\n"},
      {"convert without its kind", "convert --keys A,1 --prefix p", "",
       "baton: --kind is required (see baton convert --help)\n"},
      {"unknown picture kind", "convert --keys A,1 --kind tif --prefix p", "",
       "baton: --kind: expected bmp, jpg, gif, pdf or 0 to 3, got \"tif\" (see baton convert "
       "--help)\n"},
      {"resolution no number", "convert --keys A,1 --kind bmp --prefix p --dpi high", "",
       "baton: --dpi: expected an integer, got \"high\" (see baton convert --help)\n"},
      {"extra argument", "open now", "",
       "baton: unexpected argument \"now\" (see baton open --help)\n"},
      {"command code no number", "command seven", "",
       "baton: CODE: expected an integer, got \"seven\" (see baton command --help)\n"},
      {"script step unknown", "run -", "open\nfrob\n",
       "baton: script -, line 2: unknown step \"frob\" (see baton run --help)\n"},
      {"script step arguments", "run -", "convert A,1 bmp\n",
       "baton: script -, line 1: expected convert TYPE,NUMBER KIND PREFIX [DPI]\n"},
      {"script quote open", "run -", "echo \"half\n",
       "baton: script -, line 1: a quoted text is not closed\n"},
  };
  for (const auto& c : cases) {
    TRun run = RunBaton(c.args, c.input);
    EXPECT_EQ(run.status, 2) << c.name;
    EXPECT_EQ(Errors(run), c.message) << c.name;
    EXPECT_EQ(run.out, "") << c.name << ": nothing runs before the arguments are checked";
  }
}

TEST(Baton, HelpExplainsEverySubcommand) {
  TRun general = RunBaton("--help");
  EXPECT_EQ(general.status, 0);
  const char* subcommands[] = {"open",  "print",   "preview", "convert",    "identity",
                               "modal", "request", "command", "end-design", "run"};
  for (const char* name : subcommands) {
    EXPECT_NE(general.out.find(std::string("\n  ") + name + " "), std::string::npos) << name;
    for (const std::string& form : {std::string(name) + " --help", "help " + std::string(name)}) {
      TRun run = RunBaton(form);
      EXPECT_EQ(run.status, 0) << form;
      EXPECT_EQ(run.out.rfind(std::string("usage: baton [OPTIONS] ") + name, 0), 0u) << form;
    }
  }
}

}  // namespace
