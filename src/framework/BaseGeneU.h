#pragma once
// BaseGeneU: the option form's procedures that talk to the suite (connection, service
// objects, system parameters, messages, help, lookups, a program's server-side library),
// and the rules they share: message references, dialog kinds by message type, help numbers.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Variant.h"
#include "platform/ui/Dialogs.h"

namespace nv {

// A message reference "type;number;argument;...": at most ten arguments are kept.
struct TMessageReference {
  std::string Type;
  std::string Number;
  std::vector<std::string> Arguments;
};
TMessageReference ParseMessageReference(const std::string& reference);
// C, D, W warning; E error; I information; Q confirmation; anything else custom.
TMsgDlgType DialogTypeOf(const std::string& messageType);
// The buttons a message of that type offers when the caller names none.
TMsgDlgButtons DialogButtonsOf(const std::string& messageType);
// The help number of a program code ("QCPR31" → "12310000"); empty when the code has none.
std::string HelpNumberOf(const std::string& programCode);

// A program's server-side library "<code>S.DLL" exports GetSvrController, which returns a
// new controller. The framework hands it one request, reads its message text and frees it.
class TDLLSvrController {
 public:
  virtual std::int32_t RunRequest(const Variant& request) = 0;
  virtual void GetMessageText(Variant& text) = 0;
  // The library that created the controller frees it.
  virtual void Free() = 0;

 protected:
  virtual ~TDLLSvrController() = default;
};
using TGetSvrController = TDLLSvrController* (*)();
inline constexpr const char* kServerControllerEntry = "GetSvrController";

}  // namespace nv
