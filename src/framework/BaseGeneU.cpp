#include "framework/BaseGeneU.h"

#include <algorithm>

#include "framework/BaseGene.h"
#include "framework/SuiteCalls.h"
#include "platform/com/ComObj.h"
#include "platform/core/CodePage.h"
#include "platform/core/DateUtils.h"
#include "platform/core/Format.h"
#include "platform/core/SysUtils.h"
#include "platform/os/FileUtils.h"
#include "platform/os/Modules.h"
#include "platform/rtti/StringList.h"
#include "runtime/BatonINI.h"
#include "runtime/LibStrs.h"
#include "runtime/NVDownLoadNewFileU.h"

namespace nv {

namespace {

constexpr const char* kSection = "TfrmBaseGene";
constexpr int kMaxMessageArguments = 10;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr const char* kServerPackageFolder = "S_PKG";

// Runs an outside call; a failure leaves the fallback.
template <class F>
Variant Guarded(F&& call, Variant fallback = Variant()) {
  try {
    return call();
  } catch (const std::exception&) {
    return fallback;
  }
}

std::vector<Variant> ArgumentSlots(const std::vector<std::string>& arguments) {
  std::vector<Variant> slots(kMaxMessageArguments, Variant(std::string()));
  for (std::size_t i = 0; i < arguments.size() && i < slots.size(); ++i) slots[i] = arguments[i];
  return slots;
}

// The text with its ten argument places filled; a text that does not fit them keeps its
// places and lists the arguments below it.
std::string FillMessage(const std::string& text, const std::vector<std::string>& arguments) {
  std::vector<Variant> slots = ArgumentSlots(arguments);
  try {
    return Format(text, slots);
  } catch (const std::exception&) {
    std::string listed = text + "\r";
    for (const Variant& slot : slots) listed += VarToStr(slot) + ";";
    return listed;
  }
}

std::string ButtonName(TMsgDlgBtn button) {
  return NvEnumInfo(static_cast<const TMsgDlgBtn*>(nullptr)).Name(static_cast<int>(button));
}

std::string JoinRow(const Variant& row, bool allColumns, const std::string& separator) {
  if (!row.IsArray()) return VarToStr(row);
  std::string joined;
  int last = allColumns ? row.HighBound() : std::min(row.HighBound(), row.LowBound() + 3);
  for (int i = row.LowBound(); i <= last; ++i) {
    if (i > row.LowBound()) joined += separator;
    joined += VarToStr(row[i]);
  }
  return joined;
}

std::vector<std::string> RowColumns(const Variant& row, bool allColumns) {
  if (!row.IsArray()) return {VarToStr(row)};
  std::vector<std::string> columns;
  int last = allColumns ? row.HighBound() : std::min(row.HighBound(), row.LowBound() + 3);
  for (int i = row.LowBound(); i <= last; ++i) columns.push_back(VarToStr(row[i]));
  return columns;
}

TSelectPanel* PanelOfInnerControl(TWinControl* control) {
  for (TControl* c = control != nullptr ? control->Parent() : nullptr; c != nullptr;
       c = c->Parent()) {
    if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
      bool inner =
          control == panel->ListBox || control == panel->edBegin || control == panel->edFinal;
      return inner ? panel : nullptr;
    }
  }
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Shared rules

TMessageReference ParseMessageReference(const std::string& reference) {
  TMessageReference ref;
  std::string rest = reference;
  ref.Type = CutToken(rest, ";");
  ref.Number = CutToken(rest, ";");
  while (!rest.empty() && ref.Arguments.size() < kMaxMessageArguments)
    ref.Arguments.push_back(CutToken(rest, ";"));
  return ref;
}

TMsgDlgType DialogTypeOf(const std::string& messageType) {
  const std::string t = UpperCase(messageType);
  if (t == "C" || t == "D" || t == "W") return mtWarning;
  if (t == "E") return mtError;
  if (t == "I") return mtInformation;
  if (t == "Q") return mtConfirmation;
  return mtCustom;
}

TMsgDlgButtons DialogButtonsOf(const std::string& messageType) {
  const std::string t = UpperCase(messageType);
  if (t == "C" || t == "Q" || t == "W") return mbOKCancel;
  if (t == "D") return mbYesNoCancel;
  return {mbOK};
}

std::string HelpNumberOf(const std::string& programCode) {
  const std::string code = UpperCase(programCode);
  if (code.size() < 4) return {};
  char c4 = code[3];
  std::string number = "1";
  char kind = c4;
  if (c4 == 'A' || c4 == 'M') {
    if (code.size() < 5) return {};
    number = c4 == 'A' ? "6" : "8";
    kind = code[4];
  }
  if (kind == 'B') {
    number += "3";
  } else if (kind == 'R') {
    number += "2";
  } else {
    return {};
  }
  return number + code.substr(code.size() - 2) + "0000";
}

// ---------------------------------------------------------------------------------------
// Connection

bool TfrmBaseGene::SetupConnection() {
  if (MainMidas == nullptr) return false;
  MainMidas->Close();
  if (!messageLog_.empty()) {
    ShowMessages(messageLog_);
    return false;
  }
  TBatonIniC ini;
  const Variant& servers = ini.ServerList();
  if (servers.IsArray() && servers.DimCount() == 2) {
    const int first = servers.LowBound(2);
    MainMidas->SetAddress(VarToStr(servers.At(servers.LowBound(1), first)));
    MainMidas->SetPort(servers.At(servers.LowBound(1) + 1, first).AsInteger());
    MainMidas->SetObjectBroker(nullptr);
  }
  return true;
}

bool TfrmBaseGene::ConnectServer() {
  if (MainMidas == nullptr) return false;
  try {
    appServer_ = Variant();
    localServer_ = false;
    if (MainMidas->Connected()) MainMidas->Close();
    if (IsLocalAddress(MainMidas->Address())) {
      // the server object lives in this process: no socket, the form holds it
      Variant server = CreateOleObject(MainMidas->ServerName());
      MainMidas->SetAppServer(server);
      appServer_ = server;
      localServer_ = true;
    } else {
      MainMidas->Open();
      appServer_ = MainMidas->AppServer();
    }
    return true;
  } catch (const std::exception& e) {
    LogError(e.what());
    return false;
  }
}

Variant TfrmBaseGene::CreateLocalObject(std::string_view progID) {
  return Guarded([&] { return CreateOleObject(progID); });
}

// ---------------------------------------------------------------------------------------
// Service objects and system parameters

void TfrmBaseGene::CreateServiceObjects() {
  if (standAlone_ && !manager_.IsObject())
    manager_ = CreateLocalObject(SuiteProgID::WorkCenterManager);
  counter_ = Guarded([&] { return manager_.Call(ServiceCall::Com_Counter); });
  std::string ignored;
  GetSysParam("", ignored);
  companyCaption_ = SysParam("NVT002");
  validator_ = Guarded([&] { return manager_.Call(ServiceCall::Com_Validator); });
}

void TfrmBaseGene::CreateLookupWindowObject() {
  if ((serviceFlags_ & kLookupWindowFlag) == 0) return;
  lookupWindow_ = Guarded([&] { return manager_.Call(ServiceCall::Com_F2Window); });
}

void TfrmBaseGene::FillSysParamCache() {
  if (!counter_.IsObject()) return;
  if (!sysParams_) sysParams_ = std::make_unique<TStringList>();
  try {
    Variant info = counter_.Call(CounterCall::GetSysInfo, {Variant(companyCode_)});
    if (!info.IsArray() || info.DimCount() != 2) return;
    sysParams_->Clear();
    const int names = info.LowBound(1);
    for (int i = info.LowBound(2); i <= info.HighBound(2); ++i)
      sysParams_->Add(VarToStr(info.At(names, i)) + "=" + VarToStr(info.At(names + 1, i)));
  } catch (const std::exception&) {
    // an unreadable cache answers every name with its default
  }
}

std::string TfrmBaseGene::DefaultSysParam(const std::string& upperName) const {
  static const char* kNames[] = {"SYS007", "SYS008", "SYS009", "SYS010"};
  static const char* kChinese[] = {"商品分类方式一", "商品分类方式二", "商品分类方式三",
                                   "商品分类方式四"};
  static const char* kEnglish[] = {"Inv.Cate.1", "Inv.Cate.2", "Inv.Cate.3", "Inv.Cate.4"};
  for (int i = 0; i < 4; ++i) {
    if (upperName != kNames[i]) continue;
    return InterfaceCodePage() == "437" ? std::string(kEnglish[i]) : SysText(kChinese[i]);
  }
  return {};
}

void TfrmBaseGene::GetSysParam(const std::string& name, std::string& value) {
  value.clear();
  if (name.empty()) {
    FillSysParamCache();
  } else if (sysParams_) {
    for (int i = 0; i < sysParams_->Count(); ++i) {
      if (SameText(sysParams_->Names(i), name)) {
        value = sysParams_->ValueFromIndex(i);
        break;
      }
    }
  }
  if (value.empty()) value = DefaultSysParam(UpperCase(name));
  if (Translated()) value = VarToStr(FromServer(Variant(value)));
}

std::string TfrmBaseGene::SysParam(const std::string& name) {
  std::string value;
  GetSysParam(name, value);
  return value;
}

int TfrmBaseGene::DateTypeParam() {
  return StrToIntDef(Trim(SysParam("Sys001")), 1);
}

std::string TfrmBaseGene::DateSeparatorParam() {
  std::string separator = SysParam("Sys002");
  return separator.empty() ? "/" : separator;
}

Variant TfrmBaseGene::FromServer(const Variant& value) const {
  if (!Translated() || NvConverter == nullptr) return value;
  return NvConverter->ConvertDataString(value);
}

Variant TfrmBaseGene::ToServer(const Variant& value) const {
  return NvConverter != nullptr ? NvConverter->RecoverDataString(value) : value;
}

// ---------------------------------------------------------------------------------------
// Validator

bool TfrmBaseGene::QueryServer(const std::string& table, const std::string& number, bool query,
                               Variant& result, const Variant& parameters) {
  Variant sent = ToServer(parameters);
  if (!validator_.IsObject()) return false;
  try {
    validator_.Set(ValidatorCall::BaseLimited, Variant(dataRights_));
  } catch (const std::exception&) {
    // a validator without data rights still answers
  }
  try {
    std::vector<Variant> args{Variant(table), Variant(number), Variant(databaseName_), sent,
                              Variant()};
    Variant ok =
        validator_.CallRef(query ? ValidatorCall::QueryData : ValidatorCall::CheckValue, args);
    result = FromServer(args[4]);
    return ok.AsBoolean();
  } catch (const std::exception&) {
    return false;
  }
}

// ---------------------------------------------------------------------------------------
// Messages

void TfrmBaseGene::ShowMessages(const std::string& reference) {
  // leaving the form by Cancel raises no message of a field it leaves
  if (btnCancel != nullptr && ActiveControl() == btnCancel) return;
  if (reference.empty()) {
    messageLog_.clear();
    textLog_.clear();
    return;
  }
  messageLog_ += reference + "; ";
  TMessageReference ref = ParseMessageReference(reference);
  const bool numbered = StrToIntDef(ref.Number, 0) > 0;
  std::string text;
  if (numbered) {
    GetMessageText(ref.Type, ref.Number, text);
    text = FillMessage(text, ref.Arguments);
  } else {
    // a free text (number -1) is logged as written, never looked up or shown
    for (std::size_t i = 0; i < ref.Arguments.size(); ++i)
      text += (i > 0 ? ";" : "") + ref.Arguments[i];
  }
  if (!text.empty() && textLog_.find(text) == std::string::npos) textLog_ += text + "; ";
  if (numbered) ShowDialog(text, DialogTypeOf(ref.Type), {mbOK});
}

void TfrmBaseGene::LogError(const std::string& text) {
  if (btnCancel != nullptr && ActiveControl() == btnCancel) return;
  if (Trim(text).empty()) {
    messageLog_.clear();
    textLog_.clear();
    return;
  }
  messageLog_ += "E;-1; ";
  if (textLog_.find(text) == std::string::npos) textLog_ += text + "; ";
}

void TfrmBaseGene::GetMessageText(const std::string& type, const std::string& number,
                                  std::string& text) {
  Variant found;
  if (manager_.IsObject()) {
    found = Guarded([&] {
      return manager_.Call(ServiceCall::GetMessage, {Variant(type), Variant(number)});
    });
  }
  if (found.IsEmpty())
    found = Format("Can not Get Message\rType= %s, ID= %s ", {Variant(type), Variant(number)});
  text = VarToStr(NvConverter != nullptr ? NvConverter->ConvertDataString(found) : found);
}

TModalResult TfrmBaseGene::ShowMessageById(const std::string& type, const std::string& number,
                                           TMsgDlgButtons buttons,
                                           const std::vector<Variant>& arguments) {
  std::string text;
  GetMessageText(type, number, text);
  std::vector<std::string> args;
  for (const Variant& a : arguments) args.push_back(VarToStr(a));
  text = FillMessage(text, args);
  if (buttons.Empty()) buttons = DialogButtonsOf(type);
  return ShowDialog(text, DialogTypeOf(type), buttons);
}

TModalResult TfrmBaseGene::ShowDialog(const std::string& text, TMsgDlgType type,
                                      TMsgDlgButtons buttons) {
  // while a page change checks its fields only errors reach the user
  if (silentChecks_ && type != mtError) return mrNone;
  TDialogRequest request;
  request.Kind = dkMessageDlg;
  request.Caption = Caption();
  request.Text = text;
  std::vector<Variant> captions;
  for (int b = 0; b <= static_cast<int>(mbHelp); ++b) {
    auto button = static_cast<TMsgDlgBtn>(b);
    if (!buttons.Contains(button)) continue;
    request.Buttons.push_back(ButtonName(button));
    if (InterfaceCodePage() != "437" && NvConverter != nullptr)
      captions.push_back(
          NvConverter->ConvertUIString(Variant(GetCHTButtonCaption(ButtonName(button).substr(2)))));
  }
  request.DefaultResult = ButtonResult(DefaultButton(buttons));
  request.Fields["DlgType"] =
      Variant(NvEnumInfo(static_cast<const TMsgDlgType*>(nullptr)).Name(static_cast<int>(type)));
  if (!captions.empty()) request.Fields["ButtonCaptions"] = Variant::ArrayOf(captions);
  TFont font;
  TCodeConverter::SetUIFont(static_cast<TConvertKind>(UIFontKind()), font);
  request.Fields["FontCharset"] = Variant(static_cast<int>(font.Charset()));
  TModalResult result = Interaction().Ask(request).ModalResult;
  if (TWinControl* active = ActiveControl()) PostMessage(active->Handle(), WM_LBUTTONUP, 0, 0);
  if (type == mtError && lastFocused_ != nullptr && lastFocused_->CanFocus())
    lastFocused_->SetFocus();
  return result;
}

// ---------------------------------------------------------------------------------------
// Help and lookups

bool TfrmBaseGene::ShowHelp() {
  const std::string number = HelpNumberOf(programCode_);
  if (number.empty()) return false;
  Variant request = Variant::ArrayOf({Variant(programCode_.substr(0, 3)), Variant(number)});
  Guarded([&] { return manager_.Call(ServiceCall::CallHelp, {request}); });
  return true;
}

void TfrmBaseGene::OpenLookup(Word key, TWinControl* control) {
  if (control == nullptr) return;
  if (control->CanFocus()) control->SetFocus();
  if (control == edPrintDate) {
    std::string picked;
    PickDate(edPrintDate->Text(), picked);
    edPrintDate->SetText(picked);
  }
}

void TfrmBaseGene::PickDate(const std::string& text, std::string& result) {
  // without a picker the field keeps what the user typed
  result = text;
  if (!lookupWindow_.IsObject()) return;
  const int dateType = DateTypeParam();
  std::string start = text.size() == 8 ? text : FormatDateTime("yyyymmdd", Date());
  Variant request =
      Variant::ArrayOf({Variant(dateType > 3), Variant(start), Variant(databaseName_)});
  std::string picked = Trim(
      VarToStr(Guarded([&] { return lookupWindow_.Call(LookupCall::ShowInputDay, {request}); })));
  if (picked.empty()) return;
  result = DateToString(TransDateIn(picked), dateType, DateSeparatorParam());
}

void TfrmBaseGene::FetchLookupData(const std::string& table, const std::string& windowNumber,
                                   Variant& result, bool multi, const std::string& condition,
                                   const Variant& parameters) {
  result = Variant();
  if (!lookupWindow_.IsObject()) return;
  Variant request = Variant::Array(0, 19);
  request[0] = table;
  request[1] = windowNumber;
  request[2] = ToServer(parameters);
  request[3] = multi;
  request[4] = ToServer(Variant(condition));
  request[5] = companyCode_;
  request[6] = databaseName_;
  request[7] = static_cast<int>(Handle());
  request[8] = 1;
  request[9] = false;
  request[10] = kHostInteger;
  request[11] = request[12] = request[13] = std::string();
  request[14] = Variant(dataRights_);
  request[15] = rightsFlagA_;
  request[16] = rightsFlagB_;
  request[17] = manager_;
  request[18] = userID_;
  try {
    result = FromServer(lookupWindow_.Call(LookupCall::F2GetData, {request}));
  } catch (const std::exception& e) {
    LogError(e.what());
    result = Variant();
  }
}

void TfrmBaseGene::LookupIntoPanel(TWinControl* control, const std::string& table, bool allColumns,
                                   const std::string& condition, const Variant& parameters,
                                   const std::string& windowNumber) {
  TSelectPanel* panel = PanelOfInnerControl(control);
  if (panel == nullptr) {
    ShowDialog(LangText(kSection, "sBBM",
                        SysText("同学, 你吗帮帮忙, 这个 Procedure 是专门给TSelectPanel元件用的!")),
               mtError, {mbOK});
    return;
  }
  Variant rows;
  if (control == panel->ListBox) {
    FetchLookupData(table, windowNumber, rows, true, condition, parameters);
    if (!rows.IsArray()) return;
    for (int i = rows.LowBound(); i <= rows.HighBound(); ++i) {
      if (panel->UseDiscard())
        panel->ListBox->AddItem({JoinRow(rows[i], allColumns, panel->Discard())});
      else
        panel->ListBox->AddItem(RowColumns(rows[i], allColumns));
    }
    return;
  }
  FetchLookupData(table, windowNumber, rows, false, condition, parameters);
  if (rows.IsEmpty() || rows.IsNull()) return;
  // the chosen row: the answer itself, or the first row of an answer that lists rows
  const Variant& row = rows.IsArray() && rows.ElementCount() > 0 && rows[rows.LowBound()].IsArray()
                           ? rows[rows.LowBound()]
                           : rows;
  std::string text;
  if (panel->UseDiscard())
    text = JoinRow(row, allColumns, panel->Discard());
  else
    text = row.IsArray() ? (row.ElementCount() > 0 ? VarToStr(row[row.LowBound()]) : "")
                         : VarToStr(row);
  control->SetText(text);
}

void TfrmBaseGene::FillPhrase(TWinControl* control) {
  if (control == nullptr || !lookupWindow_.IsObject()) return;
  Variant phrase = Guarded([&] {
    return lookupWindow_.Call(LookupCall::GetPhrase, {Variant(userID_), Variant(databaseName_),
                                                      Variant(static_cast<int>(Handle()))});
  });
  std::string text = VarToStr(FromServer(phrase));
  if (!text.empty()) control->SetText(text);
}

void TfrmBaseGene::GetCounterValue(const std::string& name, const Variant& parameters,
                                   Variant& result) {
  result = Variant();
  if (!counter_.IsObject()) return;
  Variant context = Variant::ArrayOf({Variant(companyCode_), Variant(databaseName_)});
  result = FromServer(Guarded([&] {
    return counter_.Call(CounterCall::GetCounter, {Variant(UpperCase(name)), parameters, context});
  }));
}

// ---------------------------------------------------------------------------------------
// Data sets

void TfrmBaseGene::HookDataSetFields() {
  if (NvConverter == nullptr) return;
  const TCodeConverter* converter = NvConverter;
  const std::vector<TComponent*> owned = Components();
  for (TComponent* component : owned) {
    auto* dataSet = dynamic_cast<TwwClientDataSet*>(component);
    if (dataSet == nullptr) continue;
    dataSet->DisableControls();
    for (int i = 0; i < dataSet->FieldCount(); ++i) {
      TField& field = dataSet->Fields(i);
      field.SetDisplayLabel(VarToStr(converter->ConvertUIString(Variant(field.DisplayLabel()))));
      if (!field.IsStringField()) continue;
      if (!field.OnGetText) {
        field.OnGetText = [converter](TField* f, std::string& text, bool) {
          text = VarToStr(converter->ConvertUIString(Variant(f->AsString())));
        };
      }
      if (!field.OnSetText) {
        field.OnSetText = [converter](TField* f, const std::string& text) {
          f->SetAsString(VarToStr(converter->RecoverUIString(Variant(text))));
        };
      }
    }
    dataSet->EnableControls();
  }
}

// ---------------------------------------------------------------------------------------
// A program's server-side library

bool TfrmBaseGene::ServerModuleCandidate(const std::string& folder, const std::string& moduleCode,
                                         std::string& library) {
  std::string candidate = IncludeTrailingPathDelimiter(folder) + moduleCode + "S.DLL";
  if (!FileExists(LibraryFileFor(candidate))) return false;
  std::string entry = VarToStr(Guarded([&] {
    Variant names = Variant::ArrayOf({Variant(LowerCase(ExtractFileName(candidate)))});
    return manager_.Call(ServiceCall::GetFileList, {names});
  }));
  std::string message;
  if (!UpdateFileFromList(entry, LibraryFileFor(candidate), message, true)) {
    LogError(message);
    return false;
  }
  library = candidate;
  return true;
}

bool TfrmBaseGene::CallServerModule(const std::string& library, const Variant& request) {
  HMODULE module = LoadLibrary(library);
  if (module == nullptr) return false;
  bool done = true;
  auto entry = reinterpret_cast<TGetSvrController>(GetProcAddress(module, kServerControllerEntry));
  if (entry != nullptr) {
    TDLLSvrController* controller = nullptr;
    try {
      controller = entry();
      controller->RunRequest(request);
      Variant text;
      controller->GetMessageText(text);
      LogError(VarToStr(text));
    } catch (const std::exception& e) {
      LogError(e.what());
      done = false;
    }
    if (controller != nullptr) controller->Free();
  }
  FreeLibrary(module);
  return done;
}

bool TfrmBaseGene::RunServerModule(const std::string& t1, const std::string& moduleCode,
                                   const std::string& t2, int n, const Variant& p,
                                   const std::string& t3, const std::string& mode,
                                   const std::string& t4, const std::string& t5,
                                   const std::string& t6, const std::string& t7) {
  Application()->ProcessMessages();
  // the prompt outlives this form: it asks through the platform's dialog alone
  SetDownloadRetryPrompt([](const std::string& failure) {
    return MessageDlg(failure, mtError, {mbAbort, mbRetry}) == mrRetry;
  });
  std::vector<std::string> folders;
  TBatonIniS().GetDLLPath(folders);
  std::string library;
  std::string packageFolder;
  for (const std::string& folder : folders) {
    if (packageFolder.empty() && UpperCase(folder).find(kServerPackageFolder) != std::string::npos)
      packageFolder = folder;
    if (ServerModuleCandidate(folder, moduleCode, library)) break;
  }
  if (library.empty()) {
    if (packageFolder.empty() && !folders.empty()) packageFolder = folders.front();
    if (packageFolder.empty() || !ServerModuleCandidate(packageFolder, moduleCode, library))
      return false;
  }
  Variant request;
  if (UpperCase(mode) != "B") {
    request =
        Variant::ArrayOf({Variant(t1), Variant(t7), Variant(t6), Variant(t5), Variant(t3), p,
                          Variant(n), Variant(UpperCase(mode)), Variant(t2), Variant(kHostInteger),
                          Variant(conditionsCollected_), Variant(InterfaceCodePage())});
  } else {
    request = Variant::ArrayOf({Variant(t1), Variant(t6), Variant(t5), p, Variant(t3), Variant(t2),
                                Variant(kHostInteger)});
  }
  return CallServerModule(library, request);
}

}  // namespace nv
