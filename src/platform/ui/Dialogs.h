#pragma once
// The interaction service: every dialog the program shows (message dialogs, message boxes,
// input queries, printer set-up, file dialogs, and the kinds other layers add, such as
// lookup windows and the date picker) is one request to one service. Headless, the service
// answers from a script or with the request's default and writes each dialog to a journal.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Variant.h"
#include "platform/rtti/Classes.h"
#include "platform/ui/Controls.h"

namespace nv {

NV_DECLARE_EXCEPTION(EInteractionScript, Exception);  // a scripted answer meets another dialog

NV_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
NV_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll,
        mbYesToAll, mbHelp)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The modal result a button gives (mbHelp gives none).
TModalResult ButtonResult(TMsgDlgBtn button);
// "mrYes", "mrNone", or the number for results without a name.
std::string ModalResultName(TModalResult result);
// The button a message dialog focuses: OK, else Yes, else Retry, else the first one.
TMsgDlgBtn DefaultButton(TMsgDlgButtons buttons);

// Dialog kinds of this layer; other layers add their own names.
inline constexpr const char* dkMessageDlg = "MessageDlg";
inline constexpr const char* dkMessageBox = "MessageBox";
inline constexpr const char* dkInputQuery = "InputQuery";
inline constexpr const char* dkPrinterSetup = "PrinterSetup";
inline constexpr const char* dkPrint = "Print";
inline constexpr const char* dkOpenFile = "OpenFile";
inline constexpr const char* dkSaveFile = "SaveFile";
inline constexpr const char* dkModalForm = "ModalForm";

struct TDialogRequest {
  std::string Kind;     // dkMessageDlg, ... or a kind of another layer
  std::string Caption;  // ANSI texts, as the program shows them
  std::string Text;
  std::vector<std::string> Buttons;   // button names ("mbYes"), when the dialog has a choice
  TModalResult DefaultResult = mrOk;  // what the user gets by pressing Enter
  // Kind-specific values the dialog starts with ("DlgType", "Value", "FileName",
  // "PrinterIndex", ...); a default answer hands them back unchanged.
  std::map<std::string, Variant> Fields;
};

struct TDialogAnswer {
  TModalResult ModalResult = mrNone;
  std::map<std::string, Variant> Fields;  // what the user entered or chose
  Variant Field(const std::string& name, const Variant& otherwise = Variant()) const;
};

struct TDialogRecord {
  TDialogRequest Request;
  TDialogAnswer Answer;
  bool Scripted = false;  // answered by the script rather than by default
  // One readable line: Kind [DlgType] "Caption" "Text" [buttons] -> result {fields the
  // user changed}
  std::string ToString() const;
};

class IInteractionService {
 public:
  virtual ~IInteractionService() = default;
  // Shows the dialog and returns what the user did.
  virtual TDialogAnswer Ask(const TDialogRequest& request) = 0;
  // Notes a dialog that was answered elsewhere (a modal form under its driver).
  virtual void Record(const TDialogRequest& request, const TDialogAnswer& answer) {}
};

// Answers dialogs without a screen: scripted answers first, in order, then the responder,
// then the request's default. Every dialog goes to the journal.
class THeadlessInteraction : public IInteractionService {
 public:
  TDialogAnswer Ask(const TDialogRequest& request) override;
  void Record(const TDialogRequest& request, const TDialogAnswer& answer) override;

  // The next dialog must be of this kind ("" any kind) and gets this answer; a dialog of
  // another kind raises EInteractionScript naming both.
  void Expect(const std::string& kind, TDialogAnswer answer);
  // The next dialog, of any kind, is closed with this result.
  void Answer(TModalResult result) { Expect("", TDialogAnswer{result, {}}); }
  int PendingAnswers() const { return static_cast<int>(script_.size()); }
  // Asked when no scripted answer is left; nullopt leaves the default.
  std::function<std::optional<TDialogAnswer>(const TDialogRequest&)> Responder;
  // Told of every journal entry (the shell prints them).
  std::function<void(const TDialogRecord&)> OnRecord;

  const std::vector<TDialogRecord>& Journal() const { return journal_; }
  std::string JournalText() const;  // one line per dialog
  // Empties the journal and the script (tests start from a clean service).
  void Reset();

 private:
  struct Scripted {
    std::string Kind;
    TDialogAnswer Answer;
  };
  void Append(TDialogRecord record);
  std::deque<Scripted> script_;
  std::vector<TDialogRecord> journal_;
};

// The installed service; the headless one unless a front-end installs its own.
IInteractionService& Interaction();
THeadlessInteraction& HeadlessInteraction();
void SetInteractionService(IInteractionService* service);  // nullptr: the headless one

// Message dialogs. Captions are the platform's "Warning", "Error", "Information",
// "Confirm", and the application's title for custom dialogs.
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext = 0);
TModalResult MessageDlgCaption(const std::string& caption, const std::string& text,
                               TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
void ShowMessage(const std::string& text);

// The platform's plain message box: flags as MB_ values, result as ID values.
constexpr unsigned MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
                   MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5, MB_ICONERROR = 0x10,
                   MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40,
                   MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;
int MessageBox(const std::string& text, const std::string& caption, unsigned flags = MB_OK);

// True when the user confirms; value holds the text entered.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
std::string InputBox(const std::string& caption, const std::string& prompt,
                     const std::string& defaultValue);

// Dialog components a form places; Execute goes through the interaction service.
class TCommonDialog : public TComponent {
  NV_CLASS(TCommonDialog, TComponent)
 public:
  explicit TCommonDialog(TComponent* owner) : TComponent(owner) {}
  virtual bool Execute() = 0;
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;
};

class TOpenDialog : public TCommonDialog {
  NV_CLASS(TOpenDialog, TCommonDialog)
 public:
  explicit TOpenDialog(TComponent* owner) : TCommonDialog(owner) {}
  // A file name chosen: true. Headless default: confirmed when a file name is preset.
  bool Execute() override;
  std::string FileName;
  std::string Filter;
  int FilterIndex = 1;
  std::string DefaultExt;
  std::string InitialDir;
  std::string Title;

 protected:
  virtual const char* Kind() const { return dkOpenFile; }
};

class TSaveDialog : public TOpenDialog {
  NV_CLASS(TSaveDialog, TOpenDialog)
 public:
  explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

 protected:
  const char* Kind() const override { return dkSaveFile; }
};

// Printer choice; the printer list belongs to the printing layer, which presets Printers.
class TPrinterSetupDialog : public TCommonDialog {
  NV_CLASS(TPrinterSetupDialog, TCommonDialog)
 public:
  explicit TPrinterSetupDialog(TComponent* owner) : TCommonDialog(owner) {}
  bool Execute() override;
  int PrinterIndex = -1;
  std::vector<std::string> Printers;

 protected:
  virtual const char* Kind() const { return dkPrinterSetup; }
};

class TPrintDialog : public TPrinterSetupDialog {
  NV_CLASS(TPrintDialog, TPrinterSetupDialog)
 public:
  explicit TPrintDialog(TComponent* owner) : TPrinterSetupDialog(owner) {}
  int Copies = 1;
  bool Execute() override;

 protected:
  const char* Kind() const override { return dkPrint; }
};

}  // namespace nv
