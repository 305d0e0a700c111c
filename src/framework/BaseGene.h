#pragma once
// BaseGene: the generic option window of the suite's reports. It takes the host's start
// parameters, opens the server connection, lets the concrete report register its fields,
// moves the focus through fields and pages, collects the conditions into the result the
// voucher layer reads, answers host commands, and keeps the saved condition schemes. Report
// forms derive from it and fill in its virtual operations; its services that talk to the
// suite (connection, messages, lookups) are in BaseGeneU.cpp.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/F2Button.h"
#include "controls/NvCtrls.h"
#include "controls/SelectPnl.h"
#include "framework/NVForm.h"
#include "platform/data/DBClient.h"
#include "platform/data/SConnect.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Pictures.h"

namespace nv {

class TStringList;

// Window message a lookup button sends for the control it serves (lParam).
inline constexpr unsigned WM_LOOKUPREQUEST = WM_USER + 10;
inline constexpr Word kLookupKey = VK_F2;  // 113

class TfrmBaseGene : public TNVForm {
  NV_CLASS(TfrmBaseGene, TNVForm)
 public:
  static constexpr const char* kVersionID = "870401-0.00.00";
  static constexpr const char* kReportKind = "R";
  static constexpr int kEnvironmentCount = 9;
  // Start parameters of a stand-alone run: a fixed test user, company and database.
  static constexpr const char* kStandAloneUser = "796";
  static constexpr const char* kStandAloneCompany = "ZODavi60";
  static constexpr const char* kStandAloneDatabase = "ZODavi60";
  // The service flag that asks for the lookup-window object.
  static constexpr int kLookupWindowFlag = 4;

  explicit TfrmBaseGene(TComponent* owner);
  ~TfrmBaseGene() override;

  // ---- Components of the form resource ----
  TExtPageControl* pgOption = nullptr;
  TTabSheet* tsOption1 = nullptr;
  TTabSheet* tsOption2 = nullptr;
  TLabel* lblToday = nullptr;
  TMaskEdit* edPrintDate = nullptr;
  TF2Button* btnPrintDate = nullptr;
  TPanel* Panel1 = nullptr;
  TButton* btnOk = nullptr;
  TButton* btnCancel = nullptr;
  TPanel* pnlCondition = nullptr;
  TSplitter* Splitter1 = nullptr;
  TLabel* lblCondition = nullptr;
  TToolBar* ToolBar1 = nullptr;
  TToolButton* btnInsert = nullptr;
  TToolButton* btnOpen = nullptr;
  TToolButton* btnDelete = nullptr;
  TToolButton* ToolButton1 = nullptr;
  TListView* lstCondition = nullptr;
  TPopupMenu* muOperation = nullptr;
  TMenuItem* N2 = nullptr;
  TMenuItem* N3 = nullptr;
  TPopupMenu* mnList = nullptr;
  TMenuItem* N7 = nullptr;
  TMenuItem* N8 = nullptr;
  TMenuItem* N9 = nullptr;
  TMenuItem* N10 = nullptr;
  TImageList* ImageList1 = nullptr;
  TImageList* ImageList2 = nullptr;
  // The connection to the application server (callbacks off), its broker and the scheme
  // data set on provider "pvdConSave". A report form's layout names MainMidas's server.
  TSocketConnection* MainMidas = nullptr;
  TSimpleObjectBroker* ObjBroker = nullptr;
  TClientDataSet* ClientDataSet1 = nullptr;

  // ---- Virtual operations, in slot order ----
  virtual void LayoutSystemPage();
  virtual bool BuildResult();
  virtual void SetupFields();
  virtual void FillPhrase(TWinControl* control);
  virtual void SetRequiredFields(const std::string& list);
  // T1, module code, T2, N, P, T3, mode M, T4 (not passed on), T5, T6, T7.
  virtual bool RunServerModule(const std::string& t1, const std::string& moduleCode,
                               const std::string& t2, int n, const Variant& p,
                               const std::string& t3, const std::string& mode,
                               const std::string& t4, const std::string& t5, const std::string& t6,
                               const std::string& t7);
  virtual void HookDataSetFields();
  virtual void StartSession();
  virtual bool Initialize(const Variant& params);
  virtual bool CollectConditionInfo(Variant& values, int count);
  virtual bool ApplyHostValues(const Variant& values) { return false; }
  virtual bool CollectEnvironment(Variant& environment, int count);
  virtual bool CollectConditionText(Variant& texts, int count);
  virtual void ApplyRights() {}
  virtual void FetchLookupData(const std::string& table, const std::string& windowNumber,
                               Variant& result, bool multi, const std::string& condition,
                               const Variant& parameters);
  virtual void AfterConnectionSetup(TSocketConnection& connection) {}
  virtual bool SaveScheme(const std::string& propertyList, const std::string& name, bool replace);
  virtual bool RestoreScheme(const std::string& propertyList, const std::string& values);
  virtual bool LoadSchemeList();
  virtual bool AfterSchemeOpened() { return true; }
  virtual bool RunHostCommand(int mode) { return true; }
  virtual void BeforeRestoreControl(TComponent* control, const std::string& value) {}
  virtual void AfterRestoreControl(TComponent* control, const std::string& value) {}
  // Overridable like the operations above, outside the slot order.
  virtual void OpenLookup(Word key, TWinControl* control);
  virtual void CreateServiceObjects();
  virtual void CreateLookupWindowObject();

  // ---- What the controller calls ----
  void SetModulePath(const std::string& fileName);
  void SetShellServices(const Variant& services) { manager_ = services; }
  void ApplyHostCommand(const Variant& command);
  bool CheckHostValues(const Variant& values);
  const std::string& VersionTag() const { return versionID_; }
  const std::string& UserID() const { return userID_; }
  const std::string& CompanyCode() const { return companyCode_; }
  const std::string& DatabaseName() const { return databaseName_; }
  const std::string& ProgramCode() const { return programCode_; }
  const std::string& ProgramName() const { return programName_; }

  // ---- Services for descendants ----
  void SetConditionCount(int n);
  int ConditionCount() const { return conditionCount_; }
  int FrameworkRows() const { return frameworkRows_; }
  void SetFrameworkRows(int rows) { frameworkRows_ = rows; }
  int EnvironmentCount() const { return environmentCount_; }
  void SetProgramCode(const std::string& code);
  std::string ProgramCodeFromModule() const;
  bool StandAlone() const { return standAlone_; }
  void ApplyPowerData(const Variant& rights);
  bool IsPageEndControl(TControl* control) const;
  void AddPageEndControl(TControl* control) { pageEndControls_.push_back(control); }
  int ServiceFlags() const { return serviceFlags_; }
  void SetServiceFlags(int flags) { serviceFlags_ = flags; }
  const Variant& Result() const { return result_; }
  const std::string& ServerClassText() const { return serverClassText_; }
  const std::string& CompanyCaption() const { return companyCaption_; }
  bool WantLog() const { return wantLog_; }
  void SetWantLog(bool v) { wantLog_ = v; }
  const Variant& HostCommand() const { return hostCommand_; }
  bool HostValuesApplied() const { return valuesApplied_; }
  bool HostPrintMode() const { return hostPrintMode_; }
  HWND HostWindow() const { return hostWindow_; }
  const Variant& HostExtra() const { return hostExtra_; }
  bool ValidationFailed() const { return validationFailed_; }
  void SetValidationFailed(bool v) { validationFailed_ = v; }
  bool SilentChecks() const { return silentChecks_; }
  TWinControl* LastFocused() const { return lastFocused_; }
  const std::string& ModulePath() const { return modulePath_; }
  // User rights (ApplyPowerData).
  const std::string& RightsString() const { return rightsString_; }
  bool RightsFlagA() const { return rightsFlagA_; }
  bool RightsFlagB() const { return rightsFlagB_; }
  const std::u16string& DataRights() const { return dataRights_; }
  void UpdateCaption();

  // ---- The suite: connection, objects, messages, lookups (BaseGeneU.cpp) ----
  bool SetupConnection();
  bool ConnectServer();
  bool ServerCreatedLocally() const { return localServer_; }
  const Variant& Manager() const { return manager_; }
  const Variant& CounterObject() const { return counter_; }
  const Variant& ValidatorObject() const { return validator_; }
  const Variant& LookupWindowObject() const { return lookupWindow_; }
  const Variant& AppServer() const { return appServer_; }
  void GetSysParam(const std::string& name, std::string& value);
  std::string SysParam(const std::string& name);
  int DateTypeParam();
  std::string DateSeparatorParam();
  void ShowMessages(const std::string& reference);
  void LogError(const std::string& text);
  void GetMessageText(const std::string& type, const std::string& number, std::string& text);
  TModalResult ShowMessageById(const std::string& type, const std::string& number,
                               TMsgDlgButtons buttons, const std::vector<Variant>& arguments);
  TModalResult ShowDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
  const std::string& MessageLog() const { return messageLog_; }
  const std::string& TextLog() const { return textLog_; }
  bool QueryServer(const std::string& table, const std::string& number, bool query, Variant& result,
                   const Variant& parameters);
  void LookupIntoPanel(TWinControl* control, const std::string& table, bool allColumns,
                       const std::string& condition, const Variant& parameters,
                       const std::string& windowNumber);
  void PickDate(const std::string& text, std::string& result);
  void GetCounterValue(const std::string& name, const Variant& parameters, Variant& result);
  bool ShowHelp();

  // ---- Published handlers of the form resource ----
  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void FormDestroy(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void FormResize(TObject* sender);
  void FormKeyDown(TObject* sender, Word& key, TShiftState shift);
  void FormKeyPress(TObject* sender, char& key);
  void pgOptionChange(TObject* sender);
  void pgOptionChanging(TObject* sender, bool& allowChange);
  void tsOption2Show(TObject* sender);
  void btnOkClick(TObject* sender);
  void btnCancelClick(TObject* sender);

  // ==== Conditions and schemes: members of the condition-collection and scheme units
  // (BaseGeneConditions.cpp, BaseGeneSchemes.cpp). Their owners may add to this section. ====
  std::string DateTextToYMD(const std::string& text);
  std::string YearMonthTextToYM(const std::string& text);
  // False with the message reference to show in message when the control failed.
  bool CheckDateField(TComponent* control, bool initialise, std::string& message);
  bool CheckYearMonthField(TComponent* control, bool initialise, std::string& message);
  void SetDateFields(const std::string& list);
  bool CheckRequired(const std::string& list);
  void PanelConditionValue(TSelectPanel* panel, Variant& values, int index);
  void DateRangeValue(const std::string& text1, const std::string& text2, Variant& values,
                      int index);
  // Records the colours the controls start with, for restoring them later.
  void RecordStartColors();
  const std::string& DateFields() const { return dateFields_; }
  const std::string& YearMonthFields() const { return yearMonthFields_; }
  void SetYearMonthFields(const std::string& list) { yearMonthFields_ = list; }
  const std::string& RequiredFields() const { return requiredFields_; }
  const std::string& SchemeProperties() const { return schemeProperties_; }
  void SetSchemeProperties(const std::string& list) { schemeProperties_ = list; }
  TStringList* DateRules() const { return dateRules_.get(); }
  // The form's own field handlers (published as OnDateFieldEnter, OnDateFieldExit,
  // OnRequiredExit).
  void DateFieldEnter(TObject* sender);
  void DateFieldExit(TObject* sender);
  void RequiredFieldExit(TObject* sender);
  TNotifyEvent OnDateFieldEnter() const { return onDateFieldEnter_; }
  TNotifyEvent OnDateFieldExit() const { return onDateFieldExit_; }
  TNotifyEvent OnRequiredExit() const { return onRequiredExit_; }
  // Scheme list and its commands.
  void SetupSchemeColumns();
  void btnInsertClick(TObject* sender);
  void btnOpenClick(TObject* sender);
  void btnDeleteClick(TObject* sender);
  void lstConditionEdited(TObject* sender, TListItem* item, std::string& text);
  void ToolButton1Click(TObject* sender);
  void ViewIconExecute(TObject* sender);
  void ViewSmallIconExecute(TObject* sender);
  void ViewListExecute(TObject* sender);
  void ViewReportExecute(TObject* sender);
  // One date rule of the date condition editor, kept in DateRules() as fields separated by
  // #3: a panel rule "0", name, begin (Y/N, count, unit, day kind, day offset), end (the
  // same), "D"; an edit rule "1", name, one date, "D".
  struct TDateRule {
    struct TShift {
      bool Active = false;
      std::string Count = "0";
      std::string Unit = "0";     // 0 weeks, 1 months
      std::string DayKind = "0";  // 0 add days, 1 first day, 2 last day
      std::string DayOffset = "0";
      // The yyyymmdd date moved by the rule; unchanged when off, blank or a null move.
      std::string Apply(const std::string& yyyymmdd) const;
    };
    bool IsPanel = false;
    std::string Name;
    TShift Begin;
    TShift End;  // panels only
    std::string Last = "D";
    std::string Text() const;
    static bool Parse(const std::string& text, TDateRule& rule);
  };
  // The value a scheme stores for a date field: its yyyymmdd date with its rule applied
  // (a panel: begin #3 end); empty when the field has no rule.
  std::string ResolveDateRule(TComponent& component);
  // The masks and empty texts of date and year-month fields under "Sys001" and "Sys002".
  std::string DateEditMask();
  std::string YearMonthEditMask();
  std::string EmptyDateText();
  std::string EmptyYearMonthText();
  // A yyyymmdd (yyyymm) text written in the form's date type and separator.
  std::string DisplayDate(const std::string& yyyymmdd);
  std::string DisplayYearMonth(const std::string& yyyymm);
  bool IsDateField(const TComponent& component) const;
  bool IsYearMonthField(const TComponent& component) const;
  // The condition texts as BuildResult collects them, for the date condition editor.
  Variant CollectedConditionTexts();
  void RestoreStartColors();
  // The value line a scheme keeps for one "component.property" entry.
  std::string SchemeLine(const std::string& entry);
  void SetSchemeView(TViewStyle style, TMenuItem* item);

 protected:
  std::string YearMask();
  std::string BlankYear();
  bool YearLast();
  bool CheckField(TComponent* control, bool initialise, bool yearMonth, std::string& message);
  bool FieldTextFails(const std::string& text, bool yearMonth);
  void WireEvent(TComponent& component, std::string_view event, const char* handler,
                 std::map<std::string, TMethod>& saved);
  void UnwireEvent(TComponent& component, std::string_view event,
                   std::map<std::string, TMethod>& saved);
  void CallSaved(TObject* sender, std::string_view event,
                 const std::map<std::string, TMethod>& saved);
  void ForEachListed(const std::string& list, const std::function<void(TComponent&)>& action);
  void DateFieldEvent(TObject* sender, bool entering);
  void RecordColors(TWinControl& container);
  bool IsRequiredEmpty(TComponent& component) const;
  void RestorePanel(TSelectPanel& panel, const std::string& line);
  bool RestoreProperty(TComponent& component, const std::string& property, const std::string& line);
  Variant SchemeKey(const std::string& name) const;
  void RenameRefused(const char* key, const char* defaultText);

 protected:
  std::string dateFields_;
  std::string yearMonthFields_;
  std::string requiredFields_;
  std::unique_ptr<TStringList> startColors_;
  // Replaced handlers by "component.event" (OnEnter, OnExit, OnClick).
  std::map<std::string, TMethod> dateFieldEvents_;
  std::map<std::string, TMethod> requiredEvents_;
  std::unique_ptr<TStringList> dateRules_;
  std::string schemeProperties_;
  // ==== end of conditions and schemes ====

 protected:
  // The F2 lookup request's element 10 and the server-module request's host element.
  static constexpr int kHostInteger = 2;

  std::string CaptionFor(const std::string& programName) const;
  bool CheckStartParameters(const Variant& params);
  bool CheckFormName();
  bool ConnectAtStart();
  // The three collections of BuildResult with their checks.
  bool CollectChecked(Variant& array, int count, bool (TfrmBaseGene::*collect)(Variant&, int),
                      const char* key, const char* defaultText, int collectCount);
  void CloseAfterFailure(const std::string& reference);
  void FocusFirstOnPage(TTabSheet* page);
  void MovePage(bool forward);
  bool EnterInGrid(TWinControl* control);
  bool EnterInMemo(TWinControl* control) const;
  void RunExitHandler(TWinControl* control);
  void RepaintHost();
  Variant CreateLocalObject(std::string_view progID);
  void FillSysParamCache();
  std::string DefaultSysParam(const std::string& upperName) const;
  Variant FromServer(const Variant& value) const;
  Variant ToServer(const Variant& value) const;
  bool ServerModuleCandidate(const std::string& folder, const std::string& moduleCode,
                             std::string& library);
  bool CallServerModule(const std::string& library, const Variant& request);

  // Host start parameters.
  std::string userID_;
  std::string companyCode_;
  std::string databaseName_;
  HWND hostWindow_ = 0;
  Variant hostExtra_;
  // Identity.
  std::string programCode_;
  std::string serverClassText_;
  std::string programName_;
  std::string companyCaption_;
  std::string versionID_ = kVersionID;
  std::string reportKind_ = kReportKind;
  std::string modulePath_;
  bool standAlone_ = false;
  bool wantLog_ = false;
  int environmentCount_ = 0;
  int conditionCount_ = 0;
  int frameworkRows_ = 1;
  int serviceFlags_ = 0;
  Variant result_;
  bool conditionsCollected_ = false;
  // Focus, checks and pages.
  bool validationFailed_ = false;
  TWinControl* lastFocused_ = nullptr;
  bool silentChecks_ = false;
  bool systemPagePrepared_ = false;
  std::vector<TControl*> pageEndControls_;
  // Host command.
  Variant hostCommand_;
  bool byName_ = true;
  bool valuesApplied_ = false;
  bool hostPrintMode_ = false;
  // User rights.
  std::string rightsGroup_;
  bool rightsAdmin_ = false;
  bool rightsData_ = false;
  std::string rightsString_;
  std::string rightsText5_;
  std::string rightsText6_;
  std::string rightsElement2_;
  std::string rightsElement3_;
  bool rightsFlagA_ = false;
  bool rightsFlagB_ = false;
  std::u16string dataRights_;
  // Outside objects and what they gave.
  Variant manager_;
  Variant counter_;
  Variant validator_;
  Variant lookupWindow_;
  Variant appServer_;
  bool localServer_ = false;
  std::unique_ptr<TStringList> sysParams_;
  std::string messageLog_;
  std::string textLog_;

 private:
  TNotifyEvent onDateFieldEnter_;
  TNotifyEvent onDateFieldExit_;
  TNotifyEvent onRequiredExit_;
};

}  // namespace nv
