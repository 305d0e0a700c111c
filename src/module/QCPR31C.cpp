// The library's start-up: the option form the voucher controller creates.
#include "module/DLLFunc.h"
#include "module/PlaceholderOptF.h"

namespace nv {
namespace {

void StartLibrary() {
  // TODO(voucher): TfrmQCPR31 once the line-clearance option form is built.
  frmVRBaseOptClass = &TfrmPlaceholderOpt::Create;
}

const bool kStartupSet = (DLLLibraryStartup = &StartLibrary, true);

}  // namespace
}  // namespace nv
