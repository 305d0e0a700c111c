#include "framework/BaseGene.h"

#include <algorithm>

#include "platform/core/CodePage.h"
#include "platform/core/DateUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/os/FileUtils.h"
#include "platform/os/ShellApi.h"
#include "platform/rtti/StringList.h"
#include "platform/ui/Grids.h"
#include "runtime/LibStrs.h"

NV_FORM_TEXT_DECLARE(BaseGene)

namespace nv {

namespace {

constexpr const char* kSection = "TfrmBaseGene";
constexpr int kSystemPageMinWidth = 315;
constexpr int kSystemPageMinHeight = 110;
constexpr int kSystemPageFontSize = 9;
constexpr int kHintHidePause = 500000;

bool IsLibraryFile(const std::string& fileName) {
  std::string ext = UpperCase(ExtractFileExt(fileName));
  // the platform's shared libraries end in ".so"; stored names may still say ".dll"
  return ext == ".DLL" || ext == ".SO";
}

// The selection panel a control sits in (its inner edits sit on a panel of their own).
TSelectPanel* EnclosingSelectPanel(TControl* control) {
  for (TControl* c = control != nullptr ? control->Parent() : nullptr; c != nullptr;
       c = c->Parent()) {
    if (auto* panel = dynamic_cast<TSelectPanel*>(c)) return panel;
    if (dynamic_cast<TForm*>(c) != nullptr) break;
  }
  return nullptr;
}

bool IsBlankElement(const Variant& v) {
  return v.IsEmpty() || v.IsNull();
}

}  // namespace

TfrmBaseGene::TfrmBaseGene(TComponent* owner) : TNVForm(owner) {
  SetMessageHandler(WM_LOOKUPREQUEST, [this](TMessage& m) {
    auto* control = dynamic_cast<TWinControl*>(ParamToControl(m.LParam));
    OpenLookup(kLookupKey, control);
  });
  SetMessageHandler(CM_FOCUSCHANGED, [this](TMessage& m) {
    if (auto* control = dynamic_cast<TWinControl*>(ParamToControl(m.LParam)))
      lastFocused_ = control;
    DefaultHandler(m);
  });
  SetMessageHandler(WM_MOVE, [this](TMessage& m) {
    DefaultHandler(m);
    RepaintHost();
  });
}

// The pages change while they go: nothing of this form may be called back by then.
TfrmBaseGene::~TfrmBaseGene() {
  if (pgOption != nullptr) {
    pgOption->OnChange = {};
    pgOption->OnChanging = {};
  }
  if (tsOption2 != nullptr) tsOption2->OnShow = {};
  DestroyComponents();
}

// ---------------------------------------------------------------------------------------
// Life cycle

void TfrmBaseGene::FormCreate(TObject* sender) {
  TNVForm::FormCreate(sender);
  Application()->SetHintHidePause(kHintHidePause);
  versionID_ = kVersionID;
  hostWindow_ = 0;
  companyCode_.clear();
  programCode_.clear();
  programName_.clear();
  requiredFields_.clear();
  dateFields_.clear();
  yearMonthFields_.clear();
  onDateFieldEnter_ = TNotifyEvent(this, &TfrmBaseGene::DateFieldEnter);
  onDateFieldExit_ = TNotifyEvent(this, &TfrmBaseGene::DateFieldExit);
  onRequiredExit_ = TNotifyEvent(this, &TfrmBaseGene::RequiredFieldExit);
  validationFailed_ = false;
  systemPagePrepared_ = false;
  lastFocused_ = nullptr;
  silentChecks_ = false;
  HookDataSetFields();
  dateRules_ = std::make_unique<TStringList>();
  const std::vector<TComponent*> owned = Components();
  for (TComponent* component : owned) {
    if (IsPublishedProp(*component, "ImeName")) SetStrProp(*component, "ImeName", "");
    if (auto* button = dynamic_cast<TF2Button*>(component)) button->SetFlat(true);
  }
}

void TfrmBaseGene::FormShow(TObject* sender) {
  TNVForm::FormShow(sender);
  UpdateCaption();
  if (pgOption != nullptr && pgOption->PageCount() > 0) {
    pgOption->SetActivePageIndex(0);
    pgOptionChange(pgOption);
  }
  TranslateOnce();
  try {
    SetupSchemeColumns();
    LoadSchemeList();
  } catch (const std::exception& e) {
    LogError(e.what());
  }
}

void TfrmBaseGene::FormClose(TObject* sender, TCloseAction& action) {
  action = caFree;
}

void TfrmBaseGene::FormDestroy(TObject* sender) {
  startColors_.reset();
  sysParams_.reset();
  dateFieldEvents_.clear();
  requiredEvents_.clear();
  pageEndControls_.clear();
  counter_ = Variant();
  validator_ = Variant();
  lookupWindow_ = Variant();
  // a server created in this process is the form's own: it is not disconnected here
  if (!localServer_ && MainMidas != nullptr) MainMidas->Close();
  appServer_ = Variant();
  manager_ = Variant();
  dateRules_.reset();
}

void TfrmBaseGene::FormResize(TObject* sender) {
  RepaintHost();
}

void TfrmBaseGene::RepaintHost() {
  if (hostWindow_ == 0) return;
  if (TWinControl* host = FindControl(hostWindow_)) host->Invalidate();
}

void TfrmBaseGene::SetModulePath(const std::string& fileName) {
  modulePath_ = fileName;
  standAlone_ = !IsLibraryFile(fileName);
  if (!standAlone_) return;
  // A stand-alone program has no host: it starts itself as the fixed test user. The host
  // window and the required fifth element are given too, so the start is not refused.
  Initialize(Variant::ArrayOf({Variant(kStandAloneUser), Variant(kStandAloneCompany),
                               Variant(kStandAloneDatabase), Variant(0), Variant::Null()}));
}

// ---------------------------------------------------------------------------------------
// Initialize

bool TfrmBaseGene::Initialize(const Variant& params) {
  if (!companyCode_.empty()) return false;
  try {
    if (!startColors_) startColors_ = std::make_unique<TStringList>();
    if (!sysParams_) sysParams_ = std::make_unique<TStringList>();
    counter_ = Variant();
    validator_ = Variant();
    lookupWindow_ = Variant();
    frameworkRows_ = 1;
    messageLog_.clear();
    textLog_.clear();
    if (edPrintDate != nullptr) edPrintDate->SetText("");
    hostCommand_ = Variant::Null();
    byName_ = true;
    valuesApplied_ = false;
    if (!CheckStartParameters(params)) return false;
    Hide();
    const int low = params.LowBound();
    userID_ = VarToStr(params[low]);
    companyCode_ = VarToStr(params[low + 1]);
    databaseName_ = VarToStr(params[low + 2]);
    StartSession();
    if (!CheckFormName()) {
      CloseAfterFailure("E;000036");
      return false;
    }
    if (!ConnectAtStart()) {
      CloseAfterFailure("E;000006");
      return false;
    }
    return true;
  } catch (const std::exception& e) {
    LogError(e.what());
    return false;
  }
}

bool TfrmBaseGene::CheckStartParameters(const Variant& params) {
  if (!params.IsArray() || params.DimCount() != 1 || params.ElementCount() < 3) {
    CloseAfterFailure("E;000038");
    return false;
  }
  const int low = params.LowBound();
  if (params.ElementCount() > 3) {
    const Variant& window = params[low + 3];
    hostWindow_ = window.IsNumeric() ? window.AsInteger() : 0;
  }
  if (params.ElementCount() < 5) {
    CloseAfterFailure("E;000038");
    return false;
  }
  hostExtra_ = params[low + 4];
  return true;
}

void TfrmBaseGene::StartSession() {
  RecordStartColors();
  CreateServiceObjects();
  SetupFields();
  CreateLookupWindowObject();
}

// The form's name carries the program code: frmQCPR31 for QCPR31.
bool TfrmBaseGene::CheckFormName() {
  const std::string& name = Name();
  if (name.size() < 6 || programCode_.size() < 3) return false;
  return SameText(name.substr(3, 3), programCode_.substr(0, 3));
}

bool TfrmBaseGene::ConnectAtStart() {
  if (MainMidas == nullptr) return false;
  MainMidas->Close();
  bool ready = SetupConnection();
  AfterConnectionSetup(*MainMidas);
  if (ready && !MainMidas->ServerName().empty()) ConnectServer();
  return MainMidas->Connected();
}

void TfrmBaseGene::CloseAfterFailure(const std::string& reference) {
  ShowMessages(reference);
  Close();
}

void TfrmBaseGene::SetupFields() {
  SetDateFields("edPrintDate");
  reportKind_ = kReportKind;
  environmentCount_ = kEnvironmentCount;
  SetProgramCode(ProgramCodeFromModule());
  serviceFlags_ = 0;
  SetConditionCount(0);
}

// ---------------------------------------------------------------------------------------
// Services for descendants

void TfrmBaseGene::SetConditionCount(int n) {
  // only the first call adds the framework's own rows
  conditionCount_ = conditionCount_ <= frameworkRows_ ? n + frameworkRows_ : n;
}

void TfrmBaseGene::SetProgramCode(const std::string& code) {
  programCode_ = UpperCase(code);
  serverClassText_ = programCode_ + "S.Class1";
  Variant record;
  if (QueryServer("ADMMB", "01", false, record, Variant::ArrayOf({Variant(programCode_)})) &&
      record.IsArray() && record.ElementCount() > 4) {
    const int low = record.LowBound();
    programName_ = VarToStr(record[low]);
    wantLog_ = VarToStr(record[low + 4]) == "Y";
    if (record.HighBound() >= low + 7 && InterfaceCodePage() == "437")
      programName_ = VarToStr(record[low + 7]);
    return;
  }
  programName_ = programCode_;
  wantLog_ = false;
}

std::string TfrmBaseGene::ProgramCodeFromModule() const {
  std::string name = ExtractFileName(modulePath_);
  name = name.substr(0, name.find_last_of('.'));
  std::size_t cut = standAlone_ ? 2 : 1;
  std::size_t keep = name.size() > cut ? name.size() - cut : 0;
  return name.substr(0, std::max<std::size_t>(keep, std::min<std::size_t>(6, name.size())));
}

void TfrmBaseGene::ApplyPowerData(const Variant& rights) {
  if (!rights.IsArray()) return;
  const int low = rights.LowBound();
  auto element = [&](int i) { return rights.HighBound() >= low + i ? rights[low + i] : Variant(); };
  const std::string list = VarToStr(element(1));
  rightsGroup_ = GetToken(list, ",", 1);
  rightsAdmin_ = GetToken(list, ",", 2) == "Y";
  rightsData_ = GetToken(list, ",", 3) == "Y";
  rightsString_ = GetToken(list, ",", 4);
  rightsText5_ = GetToken(list, ",", 5);
  rightsText6_ = GetToken(list, ",", 6);
  rightsElement2_ = VarToStr(element(2));
  rightsElement3_ = VarToStr(element(3));
  // a missing character counts as "N"
  rightsFlagA_ = rightsString_.size() >= 7 && rightsString_[6] != 'N';
  rightsFlagB_ = rightsString_.size() >= 8 && rightsString_[7] != 'N';
  dataRights_ = BLVariantToWideString(VarToStr(element(4)), element(5));
  ApplyRights();
}

bool TfrmBaseGene::IsPageEndControl(TControl* control) const {
  if (control == nullptr) return false;
  TControl* subject = control;
  if (TSelectPanel* panel = EnclosingSelectPanel(control)) {
    if (control == panel->edFinal || control == panel->ListBox) subject = panel;
  } else if (dynamic_cast<TRadioButton*>(control) != nullptr &&
             dynamic_cast<TRadioGroup*>(control->Parent()) != nullptr) {
    subject = control->Parent();
  }
  return std::find(pageEndControls_.begin(), pageEndControls_.end(), subject) !=
         pageEndControls_.end();
}

void TfrmBaseGene::UpdateCaption() {
  SetCaption(CaptionFor(programName_));
}

std::string TfrmBaseGene::CaptionFor(const std::string& programName) const {
  std::string name = programName;
  if (standAlone_) name += LangText(kSection, "sExeVer", SysText("[您现在运行的是Exe版本!]"));
  return name + "[" + companyCaption_ + "]";
}

// ---------------------------------------------------------------------------------------
// The result

bool TfrmBaseGene::BuildResult() {
  try {
    if (environmentCount_ <= 0 || (conditionCount_ <= 0 && !valuesApplied_)) {
      ShowMessages("I;000003");
      return false;
    }
    Variant texts = Variant::Array(1, std::max(conditionCount_, 0));
    Variant values = Variant::Array(1, std::max(conditionCount_, 0));
    for (int i = 1; i <= conditionCount_; ++i) texts[i] = values[i] = Variant::Null();
    Variant environment = Variant::Array(1, environmentCount_);
    const int own = conditionCount_ - frameworkRows_;
    if (!CollectChecked(texts, conditionCount_, &TfrmBaseGene::CollectConditionText, "sOption",
                        "选择条件文字", own) ||
        !CollectChecked(values, conditionCount_, &TfrmBaseGene::CollectConditionInfo, "sOptionInf",
                        "选择条件信息", own) ||
        !CollectChecked(environment, environmentCount_, &TfrmBaseGene::CollectEnvironment,
                        "sEnvSetting", "环境设置", environmentCount_)) {
      return false;
    }
    result_ = Variant::ArrayOf({environment, ToServer(texts), ToServer(values)});
    return true;
  } catch (const std::exception& e) {
    LogError(e.what());
    return false;
  }
}

// A collection must keep the array's size and fill every element.
bool TfrmBaseGene::CollectChecked(Variant& array, int count,
                                  bool (TfrmBaseGene::*collect)(Variant&, int), const char* key,
                                  const char* defaultText, int collectCount) {
  if (!(this->*collect)(array, collectCount)) return false;
  const std::string what = LangText(kSection, key, SysText(defaultText));
  const int high = array.IsArray() && array.DimCount() == 1 ? array.HighBound() : -1;
  if (high != count) {
    ShowMessages("W;000002;" + what + ";" + IntToStr(count) + ";" + IntToStr(high));
    return false;
  }
  for (int i = array.LowBound(); i <= count; ++i) {
    if (i >= 1 && IsBlankElement(array[i])) {
      ShowMessages("W;000003;" + what + ";" + IntToStr(count) + ";" + IntToStr(i));
      return false;
    }
  }
  return true;
}

bool TfrmBaseGene::CollectEnvironment(Variant& environment, int count) {
  environment[1] = UpperCase(programCode_);
  environment[2] = environmentCount_;
  environment[3] = conditionCount_;
  environment[4] = companyCode_;
  environment[5] = userID_;
  environment[6] = databaseName_;
  environment[7] = Variant::FromDate(Now());
  environment[8] = serverClassText_;
  environment[9] = reportKind_;
  return true;
}

// ---------------------------------------------------------------------------------------
// Host commands

void TfrmBaseGene::ApplyHostCommand(const Variant& command) {
  if (!command.IsArray() || command.ElementCount() < 2)
    throw Exception("ApplyHostCommand: expected an array whose element 1 is the command array");
  const Variant c = command[command.LowBound() + 1];
  hostCommand_ = c;
  int mode = -1;
  bool accepted = false;
  if (c.IsArray() && c.ElementCount() > 0) {
    const int low = c.LowBound();
    mode = c[low].IsNumeric() ? c[low].AsInteger() : -1;
    hostPrintMode_ = mode == 0 || mode == 1;
    valuesApplied_ = false;
    if (c.ElementCount() > 1 && c[low + 1].IsArray() && c[low + 1].ElementCount() > 1) {
      const Variant& preset = c[low + 1];
      byName_ = preset[preset.LowBound()].AsBoolean();
      const Variant& values = preset[preset.LowBound() + 1];
      if (values.IsArray()) accepted = byName_ ? CheckHostValues(values) : ApplyHostValues(values);
      valuesApplied_ = accepted && mode != 0;
    }
  }
  if (!Translated()) {
    TranslateOnce();
    if (DataCodePage() == "950" && NvConverter != nullptr && NvConverter->Translator())
      SetCaption(CaptionFor(NvConverter->GBToBig5(programName_)));
  }
  if (mode > 2 && accepted) {
    RunHostCommand(mode);
  } else if (valuesApplied_ && btnOk != nullptr) {
    btnOk->Click();
  }
}

// Every entry must name a component that can take a value; the first one that does not
// stops the check with W;000014.
bool TfrmBaseGene::CheckHostValues(const Variant& values) {
  const Variant& entries = values[values.LowBound()];
  if (!entries.IsArray()) return false;
  for (int i = entries.LowBound(); i <= entries.HighBound(); ++i) {
    const Variant& entry = entries[i];
    std::string name = entry.IsArray() && entry.ElementCount() > 1
                           ? VarToStr(entry[entry.LowBound() + 1])
                           : std::string();
    TComponent* component = FindComponent(name);
    bool fits =
        component != nullptr &&
        (dynamic_cast<TSelectPanel*>(component) != nullptr ||
         dynamic_cast<TComboBox*>(component) != nullptr ||
         IsPublishedProp(*component, "ItemIndex") || IsPublishedProp(*component, "Checked") ||
         IsPublishedProp(*component, "Text") || IsPublishedProp(*component, "Lines"));
    if (!fits) {
      ShowMessages("W;000014");
      return false;
    }
  }
  return true;
}

// ---------------------------------------------------------------------------------------
// Keyboard and pages

void TfrmBaseGene::FormKeyDown(TObject* sender, Word& key, TShiftState shift) {
  const bool ctrl = shift.Contains(ssCtrl);
  if (key == VK_ESCAPE) {
    key = 0;
    Close();
  } else if (key == VK_F1) {
    ShowHelp();
  } else if (key == VK_F2) {
    OpenLookup(kLookupKey, ActiveControl());
  } else if (ctrl && shift.Contains(ssAlt) && key == 'V') {
    ShellExecute("properties", modulePath_);
  } else if (ctrl && ((key == VK_TAB && shift.Contains(ssShift)) || key == VK_PRIOR)) {
    key = 0;
    MovePage(false);
  } else if (ctrl && (key == VK_TAB || key == VK_NEXT)) {
    key = 0;
    MovePage(true);
  }
}

void TfrmBaseGene::FormKeyPress(TObject* sender, char& key) {
  if (key != '\r') return;
  TWinControl* control = ActiveControl();
  if (control == nullptr) return;
  if (EnterInGrid(control)) {
    key = 0;
    return;
  }
  if (EnterInMemo(control)) return;
  key = 0;
  if (IsPageEndControl(control)) {
    if (pgOption != nullptr && pgOption->ActivePageIndex() < pgOption->PageCount() - 1)
      MovePage(true);
    return;
  }
  SelectNext(control, true, true);
}

// Enter in a grid walks its cells: next column, then the first column of the next row,
// adding a row at the end.
bool TfrmBaseGene::EnterInGrid(TWinControl* control) {
  auto* grid = dynamic_cast<TDrawGrid*>(control);
  if (grid == nullptr) return false;
  if (grid->Col() < grid->ColCount() - 1) {
    grid->SetCol(grid->Col() + 1);
    return true;
  }
  if (grid->Row() >= grid->RowCount() - 1) grid->SetRowCount(grid->RowCount() + 1);
  grid->FocusCell(grid->FixedCols(), grid->Row() + 1);
  return true;
}

// The first two lines of a memo keep Enter for themselves.
bool TfrmBaseGene::EnterInMemo(TWinControl* control) const {
  auto* memo = dynamic_cast<TMemo*>(control);
  return memo != nullptr && memo->CaretPos().Y < 2;
}

void TfrmBaseGene::MovePage(bool forward) {
  if (pgOption == nullptr) return;
  TTabSheet* next = pgOption->FindNextPage(pgOption->ActivePage(), forward, true);
  if (next != nullptr && next != pgOption->ActivePage()) pgOption->SelectTab(next);
}

void TfrmBaseGene::pgOptionChange(TObject* sender) {
  if (pgOption != nullptr) FocusFirstOnPage(pgOption->ActivePage());
}

void TfrmBaseGene::FocusFirstOnPage(TTabSheet* page) {
  if (page == nullptr) return;
  for (TWinControl* control : page->TabList()) {
    if (!control->Enabled()) continue;  // the search goes on at the next tab order
    TWinControl* target = control;
    if (auto* panel = dynamic_cast<TSelectPanel*>(control))
      target = panel->IsRangeMode() ? static_cast<TWinControl*>(panel->edBegin)
                                    : static_cast<TWinControl*>(panel->ListBox);
    if (target != nullptr && target->CanFocus()) target->SetFocus();
    return;
  }
}

void TfrmBaseGene::pgOptionChanging(TObject* sender, bool& allowChange) {
  silentChecks_ = true;
  try {
    RunExitHandler(ActiveControl());
  } catch (const std::exception& e) {
    LogError(e.what());
  }
  silentChecks_ = false;
  allowChange = !validationFailed_;
}

// The field check of the active control; an inner control of a panel checks the panel.
void TfrmBaseGene::RunExitHandler(TWinControl* control) {
  if (control == nullptr) return;
  if (TSelectPanel* panel = EnclosingSelectPanel(control)) control = panel;
  control->OnExit(control);
}

void TfrmBaseGene::tsOption2Show(TObject* sender) {
  if (systemPagePrepared_) return;
  LayoutSystemPage();
  systemPagePrepared_ = true;
}

void TfrmBaseGene::LayoutSystemPage() {
  if (tsOption2 == nullptr) return;
  tsOption2->SetFont(Font());
  tsOption2->Font()->SetSize(kSystemPageFontSize);
  if (Width() < kSystemPageMinWidth) SetWidth(kSystemPageMinWidth);
  if (Height() < kSystemPageMinHeight) SetHeight(kSystemPageMinHeight);
  if (lblToday != nullptr) {
    lblToday->SetBounds(8, 12, lblToday->Width(), lblToday->Height());
    lblToday->SetAutoSize(true);
  }
  if (edPrintDate != nullptr) edPrintDate->SetBounds(60, 8, 85, edPrintDate->Height());
  if (btnPrintDate != nullptr) btnPrintDate->Align();
}

void TfrmBaseGene::btnOkClick(TObject* sender) {}

void TfrmBaseGene::btnCancelClick(TObject* sender) {
  Close();
}

NV_PUBLISH(TfrmBaseGene) {
  b.FormText(NV_FORM_TEXT(BaseGene));
  b.Prop("OnDateFieldEnter", &TfrmBaseGene::OnDateFieldEnter);
  b.Prop("OnDateFieldExit", &TfrmBaseGene::OnDateFieldExit);
  b.Prop("OnRequiredExit", &TfrmBaseGene::OnRequiredExit);
  b.Prop("WantLog", &TfrmBaseGene::WantLog, &TfrmBaseGene::SetWantLog).Default(false);
  b.Field("pgOption", &TfrmBaseGene::pgOption);
  b.Field("tsOption1", &TfrmBaseGene::tsOption1);
  b.Field("tsOption2", &TfrmBaseGene::tsOption2);
  b.Field("lblToday", &TfrmBaseGene::lblToday);
  b.Field("edPrintDate", &TfrmBaseGene::edPrintDate);
  b.Field("btnPrintDate", &TfrmBaseGene::btnPrintDate);
  b.Field("Panel1", &TfrmBaseGene::Panel1);
  b.Field("btnOk", &TfrmBaseGene::btnOk);
  b.Field("btnCancel", &TfrmBaseGene::btnCancel);
  b.Field("pnlCondition", &TfrmBaseGene::pnlCondition);
  b.Field("Splitter1", &TfrmBaseGene::Splitter1);
  b.Field("lblCondition", &TfrmBaseGene::lblCondition);
  b.Field("ToolBar1", &TfrmBaseGene::ToolBar1);
  b.Field("btnInsert", &TfrmBaseGene::btnInsert);
  b.Field("btnOpen", &TfrmBaseGene::btnOpen);
  b.Field("btnDelete", &TfrmBaseGene::btnDelete);
  b.Field("ToolButton1", &TfrmBaseGene::ToolButton1);
  b.Field("lstCondition", &TfrmBaseGene::lstCondition);
  b.Field("muOperation", &TfrmBaseGene::muOperation);
  b.Field("N2", &TfrmBaseGene::N2);
  b.Field("N3", &TfrmBaseGene::N3);
  b.Field("mnList", &TfrmBaseGene::mnList);
  b.Field("N7", &TfrmBaseGene::N7);
  b.Field("N8", &TfrmBaseGene::N8);
  b.Field("N9", &TfrmBaseGene::N9);
  b.Field("N10", &TfrmBaseGene::N10);
  b.Field("ImageList1", &TfrmBaseGene::ImageList1);
  b.Field("ImageList2", &TfrmBaseGene::ImageList2);
  b.Field("MainMidas", &TfrmBaseGene::MainMidas);
  b.Field("ObjBroker", &TfrmBaseGene::ObjBroker);
  b.Field("ClientDataSet1", &TfrmBaseGene::ClientDataSet1);
  b.Method("FormCreate", &TfrmBaseGene::FormCreate);
  b.Method("FormShow", &TfrmBaseGene::FormShow);
  b.Method("FormDestroy", &TfrmBaseGene::FormDestroy);
  b.Method("FormClose", &TfrmBaseGene::FormClose);
  b.Method("FormResize", &TfrmBaseGene::FormResize);
  b.Method("FormKeyDown", &TfrmBaseGene::FormKeyDown);
  b.Method("FormKeyPress", &TfrmBaseGene::FormKeyPress);
  b.Method("pgOptionChange", &TfrmBaseGene::pgOptionChange);
  b.Method("pgOptionChanging", &TfrmBaseGene::pgOptionChanging);
  b.Method("tsOption2Show", &TfrmBaseGene::tsOption2Show);
  b.Method("btnOkClick", &TfrmBaseGene::btnOkClick);
  b.Method("btnCancelClick", &TfrmBaseGene::btnCancelClick);
  b.Method("DateFieldEnter", &TfrmBaseGene::DateFieldEnter);
  b.Method("DateFieldExit", &TfrmBaseGene::DateFieldExit);
  b.Method("RequiredFieldExit", &TfrmBaseGene::RequiredFieldExit);
  b.Method("btnInsertClick", &TfrmBaseGene::btnInsertClick);
  b.Method("btnOpenClick", &TfrmBaseGene::btnOpenClick);
  b.Method("btnDeleteClick", &TfrmBaseGene::btnDeleteClick);
  b.Method("lstConditionEdited", &TfrmBaseGene::lstConditionEdited);
  b.Method("ToolButton1Click", &TfrmBaseGene::ToolButton1Click);
  b.Method("ViewIconExecute", &TfrmBaseGene::ViewIconExecute);
  b.Method("ViewSmallIconExecute", &TfrmBaseGene::ViewSmallIconExecute);
  b.Method("ViewListExecute", &TfrmBaseGene::ViewListExecute);
  b.Method("ViewReportExecute", &TfrmBaseGene::ViewReportExecute);
}

}  // namespace nv
