#pragma once
// The shell's verbs on files: "open" shows a document with the desktop's program or starts a
// program; other verbs ("properties", "print") have no desktop equivalent here. Every request
// goes to an in-process journal (what a headless run and its tests look at); "open" is also
// carried out when it can be: an executable file is started, anything else goes to xdg-open
// when that exists and a display is present. Nothing here waits for the started program.
#include <string>
#include <string_view>
#include <vector>

namespace nv {

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;

struct TShellRequest {
  std::string verb;
  std::string file;
  std::string parameters;
  std::string directory;
  int showCmd = SW_SHOWNORMAL;
  std::string program;    // what was started ("xdg-open" or the file itself), "" when none
  bool launched = false;  // the program was started
};

// True when the request was carried out or recorded for a headless run; false when the file
// to open does not exist or the program could not be started.
bool ShellExecute(std::string_view verb, std::string_view file, std::string_view parameters = {},
                  std::string_view directory = {}, int showCmd = SW_SHOWNORMAL);

std::vector<TShellRequest> ShellJournal();
void ClearShellJournal();

}  // namespace nv
