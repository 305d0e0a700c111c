#include "platform/ui/Dialogs.h"

#include "platform/ui/Forms.h"

namespace nv {

namespace {

IInteractionService* installed = nullptr;

const char* DlgTypeCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return "Warning";
    case mtError:
      return "Error";
    case mtInformation:
      return "Information";
    case mtConfirmation:
      return "Confirm";
    default:
      return nullptr;
  }
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n')
      out += "\\n";
    else if (c == '"')
      out += "\\\"";
    else
      out += c;
  }
  return out + "\"";
}

std::string FieldText(const Variant& v) {
  if (v.IsEmpty()) return "Empty";
  if (v.IsNull()) return "Null";
  if (v.IsArray()) return "(array)";
  if (v.IsText()) return Quoted(v.AsString());
  try {
    return v.AsString();
  } catch (const std::exception&) {
    return "?";
  }
}

std::vector<std::string> ButtonNames(TMsgDlgButtons buttons) {
  std::vector<std::string> names;
  const TEnumInfo& info = NvEnumInfo(static_cast<const TMsgDlgBtn*>(nullptr));
  for (int i = 0; i < info.Count(); ++i)
    if (buttons.Contains(static_cast<TMsgDlgBtn>(i))) names.push_back(info.Name(i));
  return names;
}

}  // namespace

TModalResult ButtonResult(TMsgDlgBtn button) {
  switch (button) {
    case mbYes:
      return mrYes;
    case mbNo:
      return mrNo;
    case mbOK:
      return mrOk;
    case mbCancel:
      return mrCancel;
    case mbAbort:
      return mrAbort;
    case mbRetry:
      return mrRetry;
    case mbIgnore:
      return mrIgnore;
    case mbAll:
      return mrAll;
    case mbNoToAll:
      return mrNoToAll;
    case mbYesToAll:
      return mrYesToAll;
    default:
      return mrNone;
  }
}

std::string ModalResultName(TModalResult result) {
  static const char* names[] = {"mrNone", "mrOk", "mrCancel", "mrAbort",   "mrRetry",   "mrIgnore",
                                "mrYes",  "mrNo", "mrAll",    "mrNoToAll", "mrYesToAll"};
  if (result >= 0 && result <= mrYesToAll) return names[result];
  return std::to_string(result);
}

TMsgDlgBtn DefaultButton(TMsgDlgButtons buttons) {
  for (TMsgDlgBtn b : {mbOK, mbYes, mbRetry})
    if (buttons.Contains(b)) return b;
  for (int i = 0; i <= mbHelp; ++i)
    if (buttons.Contains(static_cast<TMsgDlgBtn>(i))) return static_cast<TMsgDlgBtn>(i);
  return mbOK;
}

Variant TDialogAnswer::Field(const std::string& name, const Variant& otherwise) const {
  auto it = Fields.find(name);
  return it == Fields.end() ? otherwise : it->second;
}

std::string TDialogRecord::ToString() const {
  std::string line = Request.Kind;
  if (auto type = Request.Fields.find("DlgType"); type != Request.Fields.end())
    line += " " + type->second.AsString();
  line += " " + Quoted(Request.Caption) + " " + Quoted(Request.Text);
  if (!Request.Buttons.empty()) {
    line += " [";
    for (std::size_t i = 0; i < Request.Buttons.size(); ++i)
      line += (i ? "," : "") + Request.Buttons[i];
    line += "]";
  }
  line += " -> " + ModalResultName(Answer.ModalResult);
  // what the user changed: fields the dialog did not start with, or with another value
  std::string changed;
  for (const auto& [name, value] : Answer.Fields) {
    auto start = Request.Fields.find(name);
    if (start != Request.Fields.end() && start->second == value) continue;
    changed += (changed.empty() ? "" : ", ") + name + "=" + FieldText(value);
  }
  if (!changed.empty()) line += " {" + changed + "}";
  return line;
}

// ---------------------------------------------------------------------------------------

TDialogAnswer THeadlessInteraction::Ask(const TDialogRequest& request) {
  TDialogRecord record;
  record.Request = request;
  if (!script_.empty()) {
    Scripted next = script_.front();
    if (!next.Kind.empty() && next.Kind != request.Kind)
      throw EInteractionScript("The dialog script expected a " + next.Kind + " dialog, got " +
                               request.Kind + " " + Quoted(request.Text));
    script_.pop_front();
    record.Answer = next.Answer;
    record.Scripted = true;
  } else if (auto answer = Responder ? Responder(request) : std::nullopt) {
    record.Answer = *answer;
    record.Scripted = true;
  } else {
    record.Answer.ModalResult = request.DefaultResult;
  }
  // fields the answer leaves out keep the values the dialog started with
  for (const auto& [name, value] : request.Fields) record.Answer.Fields.try_emplace(name, value);
  TDialogAnswer answer = record.Answer;
  Append(std::move(record));
  return answer;
}

void THeadlessInteraction::Record(const TDialogRequest& request, const TDialogAnswer& answer) {
  Append(TDialogRecord{request, answer, false});
}

void THeadlessInteraction::Append(TDialogRecord record) {
  journal_.push_back(std::move(record));
  if (OnRecord) OnRecord(journal_.back());
}

void THeadlessInteraction::Expect(const std::string& kind, TDialogAnswer answer) {
  script_.push_back(Scripted{kind, std::move(answer)});
}

std::string THeadlessInteraction::JournalText() const {
  std::string text;
  for (const TDialogRecord& r : journal_) text += r.ToString() + "\n";
  return text;
}

void THeadlessInteraction::Reset() {
  script_.clear();
  journal_.clear();
}

THeadlessInteraction& HeadlessInteraction() {
  static THeadlessInteraction* headless = new THeadlessInteraction;
  return *headless;
}

IInteractionService& Interaction() {
  return installed ? *installed : HeadlessInteraction();
}

void SetInteractionService(IInteractionService* service) {
  installed = service;
}

// ---------------------------------------------------------------------------------------

TModalResult MessageDlgCaption(const std::string& caption, const std::string& text,
                               TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
  TDialogRequest request;
  request.Kind = dkMessageDlg;
  request.Caption = caption;
  request.Text = text;
  request.Buttons = ButtonNames(buttons);
  request.DefaultResult = ButtonResult(DefaultButton(buttons));
  request.Fields["DlgType"] = Variant(std::string(
      NvEnumInfo(static_cast<const TMsgDlgType*>(nullptr)).Name(static_cast<int>(type))));
  if (helpContext) request.Fields["HelpContext"] = Variant(helpContext);
  return Interaction().Ask(request).ModalResult;
}

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext) {
  const char* caption = DlgTypeCaption(type);
  return MessageDlgCaption(caption ? caption : Application()->Title(), text, type, buttons,
                           helpContext);
}

void ShowMessage(const std::string& text) {
  MessageDlg(text, mtCustom, {mbOK});
}

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  static const std::vector<std::vector<int>> sets = {
      {IDOK},        {IDOK, IDCANCEL},   {IDABORT, IDRETRY, IDIGNORE}, {IDYES, IDNO, IDCANCEL},
      {IDYES, IDNO}, {IDRETRY, IDCANCEL}};
  static const char* names[] = {"",        "IDOK",     "IDCANCEL", "IDABORT",
                                "IDRETRY", "IDIGNORE", "IDYES",    "IDNO"};
  unsigned set = flags & 0xF;
  const std::vector<int>& ids = sets[set < sets.size() ? set : 0];
  std::size_t def = (flags >> 8) & 0xF;
  TDialogRequest request;
  request.Kind = dkMessageBox;
  request.Caption = caption;
  request.Text = text;
  for (int id : ids) request.Buttons.push_back(names[id]);
  request.DefaultResult = ids[def < ids.size() ? def : 0];
  request.Fields["Flags"] = Variant(static_cast<int>(flags));
  return Interaction().Ask(request).ModalResult;
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  TDialogRequest request;
  request.Kind = dkInputQuery;
  request.Caption = caption;
  request.Text = prompt;
  request.Buttons = {"mbOK", "mbCancel"};
  request.DefaultResult = mrOk;
  request.Fields["Value"] = Variant(value);
  TDialogAnswer answer = Interaction().Ask(request);
  if (answer.ModalResult != mrOk) return false;
  value = answer.Field("Value", Variant(value)).AsString();
  return true;
}

std::string InputBox(const std::string& caption, const std::string& prompt,
                     const std::string& defaultValue) {
  std::string value = defaultValue;
  return InputQuery(caption, prompt, value) ? value : defaultValue;
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TCommonDialog) {
  b.Prop("OnClose", &TCommonDialog::OnClose, &TCommonDialog::OnClose);
  b.Prop("OnShow", &TCommonDialog::OnShow, &TCommonDialog::OnShow);
}

NV_PUBLISH(TOpenDialog) {
  b.Prop("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::DefaultExt);
  b.Prop("FileName", &TOpenDialog::FileName, &TOpenDialog::FileName);
  b.Prop("Filter", &TOpenDialog::Filter, &TOpenDialog::Filter);
  b.Prop("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::FilterIndex).Default(1);
  b.Prop("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::InitialDir);
  b.Prop("Title", &TOpenDialog::Title, &TOpenDialog::Title);
}

bool TOpenDialog::Execute() {
  TDialogRequest request;
  request.Kind = Kind();
  request.Caption = Title;
  request.Buttons = {"mbOK", "mbCancel"};
  // without a preset name there is nothing to confirm: the headless user cancels
  request.DefaultResult = FileName.empty() ? mrCancel : mrOk;
  request.Fields["FileName"] = Variant(FileName);
  request.Fields["Filter"] = Variant(Filter);
  request.Fields["FilterIndex"] = Variant(FilterIndex);
  request.Fields["DefaultExt"] = Variant(DefaultExt);
  request.Fields["InitialDir"] = Variant(InitialDir);
  OnShow(this);
  TDialogAnswer answer = Interaction().Ask(request);
  OnClose(this);
  if (answer.ModalResult != mrOk) return false;
  FileName = answer.Field("FileName").AsString();
  FilterIndex = answer.Field("FilterIndex", Variant(FilterIndex)).AsInteger();
  return !FileName.empty();
}

NV_PUBLISH(TSaveDialog) {}

NV_PUBLISH(TPrinterSetupDialog) {}

bool TPrinterSetupDialog::Execute() {
  TDialogRequest request;
  request.Kind = Kind();
  request.Buttons = {"mbOK", "mbCancel"};
  request.DefaultResult = mrOk;
  request.Fields["PrinterIndex"] = Variant(PrinterIndex);
  if (!Printers.empty()) {
    Variant list = Variant::Array(0, static_cast<int>(Printers.size()));
    for (std::size_t i = 0; i < Printers.size(); ++i)
      list[static_cast<int>(i)] = Variant(Printers[i]);
    request.Fields["Printers"] = list;
  }
  if (auto* print = dynamic_cast<TPrintDialog*>(this)) request.Fields["Copies"] = print->Copies;
  OnShow(this);
  TDialogAnswer answer = Interaction().Ask(request);
  OnClose(this);
  if (answer.ModalResult != mrOk) return false;
  PrinterIndex = answer.Field("PrinterIndex", Variant(PrinterIndex)).AsInteger();
  if (auto* print = dynamic_cast<TPrintDialog*>(this))
    print->Copies = answer.Field("Copies", Variant(print->Copies)).AsInteger();
  return true;
}

NV_PUBLISH(TPrintDialog) {
  b.Prop("Copies", &TPrintDialog::Copies, &TPrintDialog::Copies).Default(1);
}

bool TPrintDialog::Execute() {
  return TPrinterSetupDialog::Execute();
}

}  // namespace nv
