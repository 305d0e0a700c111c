// baton: the host shell. It stands where the suite's client shell stands: it loads a report
// module from the client folder, opens the report and drives it by the controller contract.
// Exit status: 0 success, 1 a step failed, 2 bad arguments.
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/SysUtils.h"
#include "shell/BatonScript.h"
#include "shell/HostSession.h"

namespace nv {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct TOptionSpec {
  const char* name;   // without the leading "--"
  const char* value;  // the value's name in the help, nullptr for a switch
  const char* help;
};

const std::vector<TOptionSpec> kGlobalOptions = {
    {"client", "DIR", "the client folder (default: ClientPath in the registry file)"},
    {"module", "FILE", "the module library (default: QCPR31C.so in the client folder)"},
    {"user", "ID", "user ID passed to Open (default DS)"},
    {"company", "CODE", "company code passed to Open (default A01)"},
    {"database", "NAME", "database name passed to Open (default DEMO)"},
    {"demo", nullptr,
     "the demo's start parameters; the module built beside baton\n"
     "                          when no client folder has one"},
    {"help", nullptr, "explain the subcommand and exit"},
};

struct TParsed {
  std::map<std::string, std::string> options;
  std::vector<std::string> positional;
  bool Has(const std::string& name) const { return options.count(name) != 0; }
  std::string Get(const std::string& name, const std::string& fallback = {}) const {
    auto it = options.find(name);
    return it != options.end() ? it->second : fallback;
  }
};

using TRun = std::function<int(THostSession&)>;

struct TSubcommand {
  const char* name;
  const char* synopsis;
  const char* summary;
  const char* details;
  std::vector<TOptionSpec> options;
  int minPositional = 0;
  int maxPositional = 0;  // -1: any number
  // Checks the arguments (EBadArgument) before anything is loaded, and returns the session.
  std::function<TRun(const TParsed&)> prepare;
};

// Prints or previews: with keys the named documents (command 6), else the conditions (5).
int PrintOrPreview(THostSession& s, const std::optional<Variant>& keys, bool preview) {
  if (s.Open() != 0) return kExitFailed;
  s.ProcessMessages();
  s.SetVisible(true);
  s.ProcessMessages();
  std::int32_t result = keys ? s.ExecuteCommand(6, Variant::ArrayOf({preview, *keys}))
                             : s.ExecuteCommand(5, Variant::ArrayOf({preview}));
  s.ProcessMessages();
  s.SetVisible(false);
  s.CloseForm();
  return result == 0 ? kExitOk : kExitFailed;
}

const TOptionSpec kKeysOption{"keys", "TYPE,NUMBER",
                              "the document to print: document type and number, without the "
                              "conditions (command 6)"};

std::vector<TSubcommand> Subcommands() {
  return {
      {"open",
       "open",
       "open the report, show and hide its window, close it",
       "Runs one life cycle of the option form and prints each notification:\n"
       "notify 256 (created), 272 (shown), 288 (hidden), 304 (destroyed).",
       {},
       0,
       0,
       [](const TParsed&) -> TRun {
         return [](THostSession& s) {
           if (s.Open() != 0) return kExitFailed;
           s.ProcessMessages();
           s.SetVisible(true);
           s.ProcessMessages();
           s.SetVisible(false);
           s.ProcessMessages();
           s.CloseForm();
           return kExitOk;
         };
       }},
      {"print",
       "print [--keys TYPE,NUMBER]",
       "print the vouchers",
       "Opens the report and prints the vouchers the form's present conditions select "
       "(command 5), or the document named by --keys (command 6).",
       {kKeysOption},
       0,
       0,
       [](const TParsed& p) -> TRun {
         std::optional<Variant> keys;
         if (p.Has("keys")) keys = ParseKeys("--keys", p.Get("keys"));
         return [keys](THostSession& s) { return PrintOrPreview(s, keys, false); };
       }},
      {"preview",
       "preview [--keys TYPE,NUMBER]",
       "preview the vouchers",
       "As print, but opens the preview instead of printing (commands 5 and 6 with preview).",
       {kKeysOption},
       0,
       0,
       [](const TParsed& p) -> TRun {
         std::optional<Variant> keys;
         if (p.Has("keys")) keys = ParseKeys("--keys", p.Get("keys"));
         return [keys](THostSession& s) { return PrintOrPreview(s, keys, true); };
       }},
      {"convert",
       "convert --keys TYPE,NUMBER --kind KIND --prefix PREFIX [--dpi N]",
       "write one picture file per page",
       "Renders the document named by --keys and writes one file per page, named PREFIX\n"
       "followed by the page number and the extension (command 11). KIND is bmp, jpg, gif or\n"
       "pdf (or 0 to 3). Without --dpi the module uses 96 dots per inch.",
       {{"keys", "TYPE,NUMBER", "document type and number (required)"},
        {"kind", "KIND", "bmp, jpg, gif or pdf (required)"},
        {"prefix", "PREFIX", "file-name prefix, folder included (required)"},
        {"dpi", "N", "resolution in dots per inch (left out: the module's default, 96)"},
        {"extra", "TEXT", "the optional fifth element (unused by this report)"}},
       0,
       0,
       [](const TParsed& p) -> TRun {
         for (const char* required : {"keys", "kind", "prefix"}) {
           if (!p.Has(required)) throw EBadArgument(std::string("--") + required + " is required");
         }
         std::vector<Variant> args{ParseKeys("--keys", p.Get("keys")),
                                   ParsePictureKind("--kind", p.Get("kind")), p.Get("prefix")};
         if (p.Has("dpi")) {
           int dpi = ParseInteger("--dpi", p.Get("dpi"));
           if (dpi < 1)
             throw EBadArgument("--dpi: expected a positive resolution, got " + p.Get("dpi"));
           args.push_back(dpi);
         }
         if (p.Has("extra")) {
           if (!p.Has("dpi")) args.push_back(Variant());  // element 3 unreadable: the default
           args.push_back(p.Get("extra"));
         }
         Variant commandArgs = Variant::ArrayOf(std::move(args));
         return [commandArgs](THostSession& s) {
           if (s.Open() != 0) return kExitFailed;
           s.ProcessMessages();
           std::int32_t result = s.ExecuteCommand(11, commandArgs);
           s.CloseForm();
           return result == 0 ? kExitOk : kExitFailed;
         };
       }},
      {"identity",
       "identity [--no-open]",
       "print the version tag and the report's identity",
       "Opens the report, prints its version tag and GetIdentity's answer (user, company,\n"
       "program code, program name), and closes it. With --no-open no form exists and\n"
       "GetIdentity answers -1.",
       {{"no-open", nullptr, "ask without opening the report first"}},
       0,
       0,
       [](const TParsed& p) -> TRun {
         bool noOpen = p.Has("no-open");
         return [noOpen](THostSession& s) {
           if (noOpen) return s.GetIdentity() == -1 ? kExitOk : kExitFailed;
           if (s.Open() != 0) return kExitFailed;
           s.GetVersionTag();
           std::int32_t result = s.GetIdentity();
           s.CloseForm();
           return result == 0 ? kExitOk : kExitFailed;
         };
       }},
      {"modal",
       "modal [--result N]",
       "show the report modally under a scripted user",
       "Opens the report and shows it modally; the headless user answers with the modal\n"
       "result N (default 2, cancel). Prints the modal result.",
       {{"result", "N", "the modal result the scripted user gives (1 OK, 2 cancel)"}},
       0,
       0,
       [](const TParsed& p) -> TRun {
         std::optional<int> scripted;
         if (p.Has("result")) scripted = ParseInteger("--result", p.Get("result"));
         return [scripted](THostSession& s) {
           if (scripted) SetModalResultScript(*scripted);
           if (s.Open() != 0) return kExitFailed;
           s.ShowModal();
           s.CloseForm();
           return kExitOk;
         };
       }},
      {"request",
       "request MODE [VALUE...]",
       "run a host request (RunRequest)",
       "Opens the report and passes the request [0, [MODE, [false, [VALUE...]]]] (no values:\n"
       "[0, [MODE]]). Prints RunRequest's answer.",
       {},
       1,
       -1,
       [](const TParsed& p) -> TRun {
         Variant request = MakeHostRequest(ParseInteger("MODE", p.positional[0]),
                                           {p.positional.begin() + 1, p.positional.end()});
         return [request](THostSession& s) {
           if (s.Open() != 0) return kExitFailed;
           std::int32_t result = s.RunRequest(request);
           s.CloseForm();
           return result == 0 ? kExitOk : kExitFailed;
         };
       }},
      {"command",
       "command CODE [ARG...]",
       "run any ExecuteCommand code",
       "Opens the report and calls ExecuteCommand with CODE and the arguments as an array\n"
       "(integers, true/false, TYPE,NUMBER keys or texts). Codes other than 5, 6 and 11\n"
       "answer -1.",
       {},
       1,
       -1,
       [](const TParsed& p) -> TRun {
         int code = ParseInteger("CODE", p.positional[0]);
         Variant args = ParseArgumentList({p.positional.begin() + 1, p.positional.end()});
         return [code, args](THostSession& s) {
           if (s.Open() != 0) return kExitFailed;
           std::int32_t result = s.ExecuteCommand(code, args);
           s.CloseForm();
           return result == 0 ? kExitOk : kExitFailed;
         };
       }},
      {"end-design",
       "end-design",
       "tell the report to end a running format design",
       "Opens the report, calls EndDesign and closes it.",
       {},
       0,
       0,
       [](const TParsed&) -> TRun {
         return [](THostSession& s) {
           if (s.Open() != 0) return kExitFailed;
           s.EndDesign();
           s.CloseForm();
           return kExitOk;
         };
       }},
      {"run",
       "run SCRIPT",
       "run a scripted session",
       "Runs the steps of SCRIPT (a file, or - for standard input), one a line; # starts a\n"
       "comment. Steps:\n" BATON_SCRIPT_STEPS_HELP,
       {},
       1,
       1,
       [](const TParsed& p) -> TRun {
         auto script = std::make_shared<TBatonScript>(ReadScript(p.positional[0]));
         return [script](THostSession& s) { return script->Run(s); };
       }},
  };
}

void PrintOptions(std::ostream& out, const std::vector<TOptionSpec>& options) {
  for (const TOptionSpec& o : options) {
    std::string left = std::string("  --") + o.name + (o.value ? std::string(" ") + o.value : "");
    out << left << std::string(left.size() < 26 ? 26 - left.size() : 1, ' ') << o.help << "\n";
  }
}

void PrintGeneralHelp(std::ostream& out, const std::vector<TSubcommand>& subcommands) {
  out << "usage: baton [OPTIONS] SUBCOMMAND [ARGS]\n\n"
         "The host shell: loads the report module QCPR31C from the client folder, opens the\n"
         "report and drives it. Every notification prints as \"notify <code>\".\n\n"
         "Subcommands:\n";
  for (const TSubcommand& c : subcommands) {
    std::string left = std::string("  ") + c.name;
    out << left << std::string(14 - left.size(), ' ') << c.summary << "\n";
  }
  out << "\nOptions (for every subcommand):\n";
  PrintOptions(out, kGlobalOptions);
  out << "\n\"baton SUBCOMMAND --help\" explains a subcommand. Exit status: 0 success, 1 a step\n"
         "failed, 2 bad arguments.\n";
}

void PrintSubcommandHelp(std::ostream& out, const TSubcommand& c) {
  out << "usage: baton [OPTIONS] " << c.synopsis << "\n\n" << c.details << "\n";
  if (!c.options.empty()) {
    out << "\nOptions:\n";
    PrintOptions(out, c.options);
  }
  out << "\nOptions for every subcommand: see baton --help.\n";
}

const TOptionSpec* FindOption(const std::vector<TOptionSpec>& options, std::string_view name) {
  for (const TOptionSpec& o : options) {
    if (name == o.name) return &o;
  }
  return nullptr;
}

// Options may stand before or after the subcommand; "--name VALUE" or "--name=VALUE".
TParsed ParseArguments(const std::vector<std::string>& args, const TSubcommand* command,
                       std::vector<TOptionSpec> commandOptions) {
  std::vector<TOptionSpec> known = kGlobalOptions;
  known.insert(known.end(), commandOptions.begin(), commandOptions.end());
  TParsed parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      parsed.positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string name = arg.substr(2);
    std::optional<std::string> value;
    if (size_t eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    const TOptionSpec* option = FindOption(known, name);
    if (option == nullptr) {
      throw EBadArgument("unknown option --" + name +
                         (command ? std::string(" for ") + command->name : std::string()));
    }
    if (option->value == nullptr) {
      if (value) throw EBadArgument("--" + name + " takes no value");
      parsed.options[name] = "";
      continue;
    }
    if (!value) {
      if (i + 1 >= args.size()) throw EBadArgument("--" + name + " needs a value: " + option->value);
      value = args[++i];
    }
    parsed.options[name] = *value;
  }
  return parsed;
}

int Main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::vector<TSubcommand> subcommands = Subcommands();
  // The subcommand is the first word that is neither an option nor a global option's value.
  const TSubcommand* command = nullptr;
  size_t commandAt = args.size();
  for (size_t i = 0; i < args.size() && command == nullptr; ++i) {
    const std::string& a = args[i];
    if (a.compare(0, 2, "--") == 0) {
      const TOptionSpec* option = FindOption(kGlobalOptions, a.substr(2));
      if (option != nullptr && option->value != nullptr && a.find('=') == std::string::npos) ++i;
      continue;
    }
    if (a == "help") {
      if (i + 1 < args.size()) {
        for (const TSubcommand& c : subcommands) {
          if (args[i + 1] == c.name) {
            PrintSubcommandHelp(std::cout, c);
            return kExitOk;
          }
        }
        std::cerr << "baton: unknown subcommand \"" << args[i + 1] << "\" (see baton --help)\n";
        return kExitUsage;
      }
      PrintGeneralHelp(std::cout, subcommands);
      return kExitOk;
    }
    for (const TSubcommand& c : subcommands) {
      if (a == c.name) {
        command = &c;
        commandAt = i;
      }
    }
    if (command == nullptr) {
      std::cerr << "baton: unknown subcommand \"" << a << "\" (see baton --help)\n";
      return kExitUsage;
    }
  }
  try {
    std::vector<std::string> rest(args);
    if (command != nullptr) rest.erase(rest.begin() + static_cast<long>(commandAt));
    TParsed parsed =
        ParseArguments(rest, command, command ? command->options : std::vector<TOptionSpec>{});
    if (parsed.Has("help")) {
      if (command != nullptr) {
        PrintSubcommandHelp(std::cout, *command);
      } else {
        PrintGeneralHelp(std::cout, subcommands);
      }
      return kExitOk;
    }
    if (command == nullptr) {
      std::cerr << "baton: no subcommand given (see baton --help)\n";
      return kExitUsage;
    }
    int n = static_cast<int>(parsed.positional.size());
    if (n < command->minPositional || (command->maxPositional >= 0 && n > command->maxPositional)) {
      throw EBadArgument(n < command->minPositional
                             ? "missing arguments: " + std::string(command->synopsis)
                             : "unexpected argument \"" +
                                   parsed.positional[command->maxPositional] + "\"");
    }
    THostOptions options;
    options.clientFolder = parsed.Get("client");
    options.moduleFile = parsed.Get("module");
    options.userID = parsed.Get("user", options.userID);
    options.companyCode = parsed.Get("company", options.companyCode);
    options.databaseName = parsed.Get("database", options.databaseName);
    options.demo = parsed.Has("demo");
    // Arguments are checked before anything is loaded: a usage error never opens the report.
    TRun run = command->prepare(parsed);
    THostSession session(options, std::cout, std::cerr);
    session.Start();
    int status = run(session);
    session.Finish();
    return status;
  } catch (const EBadArgument& e) {
    std::cerr << "baton: " << e.what() << " (see baton " << (command ? command->name : "")
              << (command ? " " : "") << "--help)\n";
    return kExitUsage;
  } catch (const EScriptError& e) {
    std::cerr << "baton: " << TerminalText(e.what()) << "\n";
    return kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << "baton: " << TerminalText(e.what()) << "\n";
    return kExitFailed;
  }
}

}  // namespace
}  // namespace nv

int main(int argc, char** argv) {
  return nv::Main(argc, argv);
}
