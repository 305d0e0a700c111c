#include "shell/BatonScript.h"

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <sstream>

#include "platform/core/CodePage.h"
#include "platform/ui/Dialogs.h"

namespace nv {

namespace {

// The placeholder option form answers modal runs from this variable.
constexpr const char* kModalResultVariable = "BATON_MODAL_RESULT";

using TStepRun = std::function<void(THostSession&, const std::vector<std::string>&)>;

struct TStepSpec {
  const char* name;
  int minArgs;
  int maxArgs;  // -1: any number
  const char* usage;
  // Checks the arguments while the script is parsed (raises EBadArgument).
  std::function<void(const std::vector<std::string>&)> check;
  TStepRun run;
};

std::vector<std::string> Args(const std::vector<std::string>& words) {
  return {words.begin() + 1, words.end()};
}

void NeedsWindowLayer(THostSession&, const std::vector<std::string>& words) {
  // TODO(ui): the option window's controls and the dialog journal reach the shell here.
  throw Exception(words[0] +
                  ": the user's input needs the window layer, which this build "
                  "does not have yet");
}

// choose LOOKUP VALUE: the answer of the next lookup window ("TABLE.NUMBER", the keys of the
// chosen rows separated by commas), of the date picker ("date", yyyymmdd) or of the phrase
// list ("phrase", the phrase).
void CheckChoice(const std::vector<std::string>& a) {
  const std::string& what = a[0];
  if (SameText(what, "date") || SameText(what, "phrase")) return;
  std::size_t dot = what.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == what.size()) {
    throw EBadArgument(
        "LOOKUP: expected TABLE.NUMBER (for example CMSMQ.06), date or phrase, got \"" + what +
        "\"");
  }
}

void ScriptChoice(const std::vector<std::string>& a) {
  if (SameText(a[0], "date")) {
    HeadlessInteraction().Expect("DatePicker", TDialogAnswer{mrOk, {{"Date", Variant(a[1])}}});
    return;
  }
  if (SameText(a[0], "phrase")) {
    HeadlessInteraction().Expect("Phrase", TDialogAnswer{mrOk, {{"Phrase", Variant(a[1])}}});
    return;
  }
  std::vector<Variant> keys;
  std::string key;
  for (char c : a[1] + ",") {
    if (c == ',') {
      if (!key.empty()) keys.emplace_back(key);
      key.clear();
    } else {
      key.push_back(c);
    }
  }
  HeadlessInteraction().Expect("Lookup",
                               TDialogAnswer{mrOk,
                                             {{"Lookup", Variant(UpperCase(a[0]))},
                                              {"Keys", Variant::ArrayOf(std::move(keys))}}});
}

// answer BUTTON: the next dialog of any kind is closed with that button (mbYes or Yes).
TModalResult ButtonAnswer(const std::string& word) {
  std::string name = word.rfind("mb", 0) == 0 ? word : "mb" + word;
  int b = NvEnumInfo(static_cast<const TMsgDlgBtn*>(nullptr)).Value(name);
  if (b >= 0 && b != mbHelp) return ButtonResult(static_cast<TMsgDlgBtn>(b));
  throw EBadArgument(
      "BUTTON: expected Yes, No, OK, Cancel, Abort, Retry, Ignore, All, NoToAll "
      "or YesToAll, got \"" +
      word + "\"");
}

Variant ConvertArgs(const std::vector<std::string>& a) {
  std::vector<Variant> args{ParseKeys("keys", a[0]), ParsePictureKind("kind", a[1]), a[2]};
  if (a.size() > 3) args.push_back(ParseInteger("dpi", a[3]));
  return Variant::ArrayOf(std::move(args));
}

const std::vector<TStepSpec>& StepSpecs() {
  auto none = [](const std::vector<std::string>&) {};
  static const std::vector<TStepSpec> stepSpecs = {
      {"open", 0, 1, "open [N]",
       [](const auto& a) {
         if (!a.empty()) ParseInteger("N", a[0]);
       },
       [](THostSession& s, const auto& a) {
         Variant full = s.OpenParams();
         int count = a.empty() ? full.ElementCount() : ParseInteger("N", a[0]);
         std::vector<Variant> params;
         for (int i = 0; i < count; ++i)
           params.push_back(i < full.ElementCount() ? full[i] : Variant());
         s.Open(Variant::ArrayOf(std::move(params)));
       }},
      {"show", 0, 0, "show", none, [](THostSession& s, const auto&) { s.SetVisible(true); }},
      {"hide", 0, 0, "hide", none, [](THostSession& s, const auto&) { s.SetVisible(false); }},
      {"modal", 0, 1, "modal [RESULT]",
       [](const auto& a) {
         if (!a.empty()) ParseInteger("RESULT", a[0]);
       },
       [](THostSession& s, const auto& a) {
         if (a.empty()) {
           unsetenv(kModalResultVariable);  // the headless user cancels
         } else {
           SetModalResultScript(ParseInteger("RESULT", a[0]));
         }
         s.ShowModal();
       }},
      {"print", 0, 1, "print [TYPE,NUMBER]",
       [](const auto& a) {
         if (!a.empty()) ParseKeys("keys", a[0]);
       },
       [](THostSession& s, const auto& a) {
         if (a.empty()) {
           s.ExecuteCommand(5, Variant::ArrayOf({false}));
         } else {
           s.ExecuteCommand(6, Variant::ArrayOf({false, ParseKeys("keys", a[0])}));
         }
       }},
      {"preview", 0, 1, "preview [TYPE,NUMBER]",
       [](const auto& a) {
         if (!a.empty()) ParseKeys("keys", a[0]);
       },
       [](THostSession& s, const auto& a) {
         if (a.empty()) {
           s.ExecuteCommand(5, Variant::ArrayOf({true}));
         } else {
           s.ExecuteCommand(6, Variant::ArrayOf({true, ParseKeys("keys", a[0])}));
         }
       }},
      {"convert", 3, 4, "convert TYPE,NUMBER KIND PREFIX [DPI]",
       [](const auto& a) { ConvertArgs(a); },
       [](THostSession& s, const auto& a) { s.ExecuteCommand(11, ConvertArgs(a)); }},
      {"command", 1, -1, "command CODE [ARG...]", [](const auto& a) { ParseInteger("CODE", a[0]); },
       [](THostSession& s, const auto& a) {
         s.ExecuteCommand(ParseInteger("CODE", a[0]), ParseArgumentList({a.begin() + 1, a.end()}));
       }},
      {"request", 1, -1, "request MODE [VALUE...]",
       [](const auto& a) { ParseInteger("MODE", a[0]); },
       [](THostSession& s, const auto& a) {
         s.RunRequest(MakeHostRequest(ParseInteger("MODE", a[0]), {a.begin() + 1, a.end()}));
       }},
      {"identity", 0, 0, "identity", none, [](THostSession& s, const auto&) { s.GetIdentity(); }},
      {"version", 0, 0, "version", none, [](THostSession& s, const auto&) { s.GetVersionTag(); }},
      {"end-design", 0, 0, "end-design", none, [](THostSession& s, const auto&) { s.EndDesign(); }},
      {"extra-notify", 0, 0, "extra-notify", none,
       [](THostSession& s, const auto&) { s.ExtraNotify(); }},
      {"close", 0, 0, "close", none, [](THostSession& s, const auto&) { s.CloseForm(); }},
      {"closed", 0, 0, "closed", none,
       [](THostSession& s, const auto&) {
         std::cout << "closed " << (s.IsClosed() ? "true" : "false") << "\n";
       }},
      {"messages", 0, 0, "messages", none,
       [](THostSession& s, const auto&) { s.ProcessMessages(); }},
      {"set", 2, 2, "set CONTROL TEXT", none,
       [](THostSession& s, const auto& a) { NeedsWindowLayer(s, {"set"}); }},
      {"click", 1, 1, "click BUTTON", none,
       [](THostSession& s, const auto& a) { NeedsWindowLayer(s, {"click"}); }},
      {"choose", 2, 2, "choose LOOKUP VALUE", CheckChoice,
       [](THostSession&, const auto& a) { ScriptChoice(a); }},
      {"answer", 1, 1, "answer BUTTON", [](const auto& a) { ButtonAnswer(a[0]); },
       [](THostSession&, const auto& a) { HeadlessInteraction().Answer(ButtonAnswer(a[0])); }},
      {"dialogs", 0, 0, "dialogs", none,
       [](THostSession&, const auto&) {
         for (const TDialogRecord& r : HeadlessInteraction().Journal())
           std::cout << "dialog " << TerminalText(r.ToString()) << "\n";
       }},
      {"echo", 0, -1, "echo TEXT", none,
       [](THostSession&, const auto& a) {
         std::string text;
         for (const auto& w : a) text += (text.empty() ? "" : " ") + w;
         std::cout << text << "\n";
       }},
  };
  return stepSpecs;
}

const TStepSpec* FindStep(const std::string& name) {
  for (const TStepSpec& stepSpec : StepSpecs()) {
    if (name == stepSpec.name) return &stepSpec;
  }
  return nullptr;
}

}  // namespace

std::vector<std::string> SplitScriptLine(const std::string& line, std::string& error) {
  std::vector<std::string> words;
  error.clear();
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    std::string word;
    if (c == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) d = line[i++];
        word.push_back(d);
      }
      if (!closed) {
        error = "a quoted text is not closed";
        return {};
      }
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        word.push_back(line[i++]);
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

TBatonScript TBatonScript::Parse(const std::string& text, const std::string& name) {
  TBatonScript script;
  script.name_ = name;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& problem) {
    throw EScriptError("script " + name + ", line " + std::to_string(number) + ": " + problem);
  };
  while (std::getline(in, line)) {
    ++number;
    std::string error;
    std::vector<std::string> words = SplitScriptLine(line, error);
    if (!error.empty()) fail(error);
    if (words.empty()) continue;
    const TStepSpec* stepSpec = FindStep(words[0]);
    if (stepSpec == nullptr) fail("unknown step \"" + words[0] + "\" (see baton run --help)");
    int n = static_cast<int>(words.size()) - 1;
    if (n < stepSpec->minArgs || (stepSpec->maxArgs >= 0 && n > stepSpec->maxArgs)) {
      fail("expected " + std::string(stepSpec->usage));
    }
    try {
      stepSpec->check(Args(words));
    } catch (const EBadArgument& e) {
      fail(e.what());
    }
    script.steps_.push_back({number, std::move(words)});
  }
  return script;
}

int TBatonScript::Run(THostSession& session) const {
  for (const TScriptStep& step : steps_) {
    const TStepSpec* stepSpec = FindStep(step.words[0]);
    try {
      stepSpec->run(session, Args(step.words));
    } catch (const std::exception& e) {
      std::cout.flush();
      std::cerr << "baton: script " << name_ << ", line " << step.line << ": "
                << TerminalText(e.what()) << "\n";
      return 1;
    }
  }
  return 0;
}

TBatonScript ReadScript(const std::string& fileName) {
  std::string text;
  if (fileName == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EBadArgument("cannot read script \"" + fileName + "\"");
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Scripts are written in UTF-8; the module speaks the system code page.
  return TBatonScript::Parse(Utf8ToAnsi(text), fileName);
}

void SetModalResultScript(int modalResult) {
  setenv(kModalResultVariable, std::to_string(modalResult).c_str(), 1);
}

Variant MakeHostRequest(int mode, const std::vector<std::string>& values) {
  if (values.empty()) return Variant::ArrayOf({0, Variant::ArrayOf({mode})});
  std::vector<Variant> v;
  for (const std::string& value : values) v.push_back(ParseArgument(value));
  Variant byName = Variant::ArrayOf({false, Variant::ArrayOf(std::move(v))});
  return Variant::ArrayOf({0, Variant::ArrayOf({mode, byName})});
}

Variant ParseArgument(const std::string& word) {
  int number = 0;
  if (TryStrToInt(word, number)) return number;
  if (SameText(word, "true")) return true;
  if (SameText(word, "false")) return false;
  size_t comma = word.find(',');
  if (comma != std::string::npos && comma > 0 && comma + 1 < word.size() &&
      word.find(',', comma + 1) == std::string::npos) {
    return ParseKeys("keys", word);
  }
  return word;
}

Variant ParseArgumentList(const std::vector<std::string>& words) {
  std::vector<Variant> args;
  for (const std::string& word : words) args.push_back(ParseArgument(word));
  return Variant::ArrayOf(std::move(args));
}

Variant ParseKeys(const std::string& what, const std::string& text) {
  size_t comma = text.find(',');
  if (comma == std::string::npos || comma == 0 || comma + 1 == text.size() ||
      text.find(',', comma + 1) != std::string::npos) {
    throw EBadArgument(what + ": expected TYPE,NUMBER (for example QC09,20261211001), got \"" +
                       text + "\"");
  }
  return Variant::ArrayOf({text.substr(0, comma), text.substr(comma + 1)});
}

int ParseInteger(const std::string& what, const std::string& text) {
  int value = 0;
  if (!TryStrToInt(text, value)) {
    throw EBadArgument(what + ": expected an integer, got \"" + text + "\"");
  }
  return value;
}

int ParsePictureKind(const std::string& what, const std::string& text) {
  const std::pair<const char*, int> kinds[] = {{"bmp", 0}, {"jpg", 1}, {"gif", 2}, {"pdf", 3}};
  for (const auto& [name, kind] : kinds) {
    if (SameText(text, name)) return kind;
  }
  int kind = -1;
  if (TryStrToInt(text, kind) && kind >= 0 && kind <= 3) return kind;
  throw EBadArgument(what + ": expected bmp, jpg, gif, pdf or 0 to 3, got \"" + text + "\"");
}

}  // namespace nv
