#pragma once
// Scripted sessions of the host shell ("baton run SCRIPT"): one step a line, checked whole
// before the report is loaded, then run in order.
#include <string>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"
#include "shell/HostSession.h"

namespace nv {

// Arguments a person got wrong: exit status 2 with the message.
NV_DECLARE_EXCEPTION(EBadArgument, Exception);
// A script that cannot be read or has a malformed line: "script F, line N: ...".
NV_DECLARE_EXCEPTION(EScriptError, Exception);

#define BATON_SCRIPT_STEPS_HELP                                                            \
  "  open [N]                  Open with the start parameters (N elements, default 5)\n"   \
  "  show | hide               make the option window visible or hidden\n"                 \
  "  modal [RESULT]            ShowModal; the scripted user answers RESULT (default 2)\n"  \
  "  print [TYPE,NUMBER]       command 5 (conditions) or 6 (named document)\n"             \
  "  preview [TYPE,NUMBER]     the same, previewing\n"                                     \
  "  convert TYPE,NUMBER KIND PREFIX [DPI]   command 11 (KIND bmp, jpg, gif, pdf)\n"       \
  "  command CODE [ARG...]     ExecuteCommand with any code and arguments\n"               \
  "  request MODE [VALUE...]   RunRequest with [0, [MODE, [false, [VALUE...]]]]\n"         \
  "  identity | version        GetIdentity, GetVersionTag\n"                               \
  "  end-design | extra-notify EndDesign, DoExtraNotify\n"                                 \
  "  close | closed            CloseForm; print IsClosed\n"                                \
  "  messages                  process pending window messages\n"                          \
  "  set CONTROL TEXT | click BUTTON   the user's input to the option window\n"            \
  "  choose LOOKUP VALUE       the next lookup window (TABLE.NUMBER) chooses the rows\n"   \
  "                            whose keys VALUE lists (K1,K2); LOOKUP date or phrase\n"    \
  "                            answers the date picker (yyyymmdd) or the phrase list\n"    \
  "  answer BUTTON             the next dialog is closed with BUTTON (Yes, No, OK, ...)\n" \
  "  dialogs                   print the dialogs shown so far, one line each\n"            \
  "  echo TEXT                 print TEXT\n"                                               \
  "Texts with blanks go in double quotes; \\\" and \\\\ escape inside them."

struct TScriptStep {
  int line = 0;
  std::vector<std::string> words;  // words[0] is the step
};

class TBatonScript {
 public:
  // Raises EScriptError for an unknown step or wrong arguments, naming the line.
  static TBatonScript Parse(const std::string& text, const std::string& name);
  // Runs the steps in order; a step that raises stops the script (status 1).
  int Run(THostSession& session) const;
  const std::vector<TScriptStep>& Steps() const { return steps_; }

 private:
  std::string name_;
  std::vector<TScriptStep> steps_;
};

// Reads and parses a script file; "-" is standard input.
TBatonScript ReadScript(const std::string& fileName);

// The words of a line: blanks separate, double quotes group, # outside quotes ends the line.
std::vector<std::string> SplitScriptLine(const std::string& line, std::string& error);

// The modal result the headless user answers in the next modal runs.
void SetModalResultScript(int modalResult);
// [0, [mode]] or, with values, [0, [mode, [false, [values...]]]].
Variant MakeHostRequest(int mode, const std::vector<std::string>& values);
// Command arguments as the shell passes them: integers, true/false, TYPE,NUMBER as keys,
// anything else as text.
Variant ParseArgumentList(const std::vector<std::string>& words);
Variant ParseArgument(const std::string& word);
// "TYPE,NUMBER" -> [type, number]; what names the argument in the message.
Variant ParseKeys(const std::string& what, const std::string& text);
int ParseInteger(const std::string& what, const std::string& text);
// bmp, jpg, gif, pdf or 0 to 3.
int ParsePictureKind(const std::string& what, const std::string& text);

}  // namespace nv
