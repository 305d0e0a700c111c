#pragma once
// Everything the module calls on the suite, late-bound, in one list: the shell's service
// object and the three objects it yields, and the report's application server. Calls go
// through Variant::Call / CallRef / Get / Set with these names; the suite's components
// answer them with the shapes noted here. "array" is a Variant array with lower bound 0,
// "var" an argument passed by reference (it comes back changed).
#include <string_view>

namespace nv {

// Automation classes the module creates itself.
namespace SuiteProgID {
// The service object when the module runs without a shell.
inline constexpr std::string_view WorkCenterManager = "VantaWorkCenter.Manager";
// The application server behind the socket connection, or in-process at "127.0.0.1".
inline constexpr std::string_view AppServer = "Tallyd.Class1";
}  // namespace SuiteProgID

// The shell's service object (ShellServices).
namespace ServiceCall {
inline constexpr std::string_view Com_Counter = "Com_Counter";      // () -> counter object
inline constexpr std::string_view Com_Validator = "Com_Validator";  // () -> validator object
inline constexpr std::string_view Com_F2Window = "Com_F2Window";    // () -> lookup window
// (type letter, six-digit number) -> format text with up to ten %s places
inline constexpr std::string_view GetMessage = "GetMessage";
inline constexpr std::string_view CallHelp = "CallHelp";        // ([system code, help number])
inline constexpr std::string_view GetFileList = "GetFileList";  // ([file name]) -> version list
inline constexpr std::string_view SetFormCreateStyle = "SetFormCreateStyle";  // (format name)
}  // namespace ServiceCall

// The counter (Com_Counter).
namespace CounterCall {
// (company id) -> two-row array: parameter names, values
inline constexpr std::string_view GetSysInfo = "GetSysInfo";
// (name in upper case, parameters, [company id, database name]) -> value; "SIMPLESQL" with
// [query text, column name] -> two-dimensional array
inline constexpr std::string_view GetCounter = "GetCounter";
inline constexpr std::string_view SimpleSQL = "SIMPLESQL";
}  // namespace CounterCall

// The validator (Com_Validator).
namespace ValidatorCall {
inline constexpr std::string_view BaseLimited = "BaseLimited";  // property := data-rights text
// (table, query number, database name, parameter array, var result) -> Boolean
inline constexpr std::string_view QueryData = "QueryData";    // result: array of records
inline constexpr std::string_view CheckValue = "CheckValue";  // result: one record's fields
}  // namespace ValidatorCall

// The lookup window (Com_F2Window).
namespace LookupCall {
// (19-element request) -> Empty when cancelled, one value, or an array of rows
inline constexpr std::string_view F2GetData = "F2GetData";
inline constexpr std::string_view GetPhrase = "GetPhrase";  // (user id, database, window) -> text
// ([Minguo flag, yyyymmdd, database name]) -> yyyymmdd, "" when cancelled
inline constexpr std::string_view ShowInputDay = "ShowInputDay";
}  // namespace LookupCall

// The application server object.
namespace AppServerCall {
// ([program code, user id, company, database, main table])
inline constexpr std::string_view Connect = "Connect";
inline constexpr std::string_view PowerData = "PowerData";  // () -> rights array [0..5]
inline constexpr std::string_view SQLType = "SQLType";      // () -> 0 for the module's dialect
// scheme keys and values -> "" when done, else the error text
inline constexpr std::string_view InsertConTable = "InsertConTable";
inline constexpr std::string_view DeleteConTable = "DeleteConTable";
inline constexpr std::string_view ChangeConName = "ChangeConName";
inline constexpr std::string_view LoadTable = "LoadTable";
// ([format class, name], var data) -> > 0: data = [counter text, layout text]
inline constexpr std::string_view GetBlobField = "GetBlobField";
// ([counter, counter text, class, name]) -> < 0: lock refused
inline constexpr std::string_view RunUpdFlagSQL = "RunUpdFlagSQL";
// (update flag, var lines, info[0..6], var size in KB) -> < 0: refused
inline constexpr std::string_view RunInsUpdSQL = "RunInsUpdSQL";
inline constexpr std::string_view RunDeleteSQL = "RunDeleteSQL";  // ([class, name]) -> > 0
inline constexpr std::string_view RunFreeSQL = "RunFreeSQL";      // (var SQL text) -> integer
// (var [table, field, condition])
inline constexpr std::string_view UpdatePrintCount = "UpdatePrintCount";
// (var request XML) / (var request XML, var program code) -> sign-off data
inline constexpr std::string_view GetQMData = "GetQMData";
inline constexpr std::string_view GetWebserviceQMData = "GetWebserviceQMData";
}  // namespace AppServerCall

// The application server's data providers.
namespace AppServerProvider {
inline constexpr std::string_view ReportRows = "Provider1";
inline constexpr std::string_view ReportRows2 = "Provider2";
inline constexpr std::string_view Schemes = "pvdConSave";
}  // namespace AppServerProvider

// The whole list, for the suite's components to check that they answer every call.
struct TSuiteCall {
  std::string_view object;  // "ShellServices", "Counter", "Validator", "LookupWindow", ProgID
  std::string_view member;
};

inline constexpr TSuiteCall kSuiteCalls[] = {
    {"ShellServices", ServiceCall::Com_Counter},
    {"ShellServices", ServiceCall::Com_Validator},
    {"ShellServices", ServiceCall::Com_F2Window},
    {"ShellServices", ServiceCall::GetMessage},
    {"ShellServices", ServiceCall::CallHelp},
    {"ShellServices", ServiceCall::GetFileList},
    {"ShellServices", ServiceCall::SetFormCreateStyle},
    {"Counter", CounterCall::GetSysInfo},
    {"Counter", CounterCall::GetCounter},
    {"Validator", ValidatorCall::BaseLimited},
    {"Validator", ValidatorCall::QueryData},
    {"Validator", ValidatorCall::CheckValue},
    {"LookupWindow", LookupCall::F2GetData},
    {"LookupWindow", LookupCall::GetPhrase},
    {"LookupWindow", LookupCall::ShowInputDay},
    {SuiteProgID::AppServer, AppServerCall::Connect},
    {SuiteProgID::AppServer, AppServerCall::PowerData},
    {SuiteProgID::AppServer, AppServerCall::SQLType},
    {SuiteProgID::AppServer, AppServerCall::InsertConTable},
    {SuiteProgID::AppServer, AppServerCall::DeleteConTable},
    {SuiteProgID::AppServer, AppServerCall::ChangeConName},
    {SuiteProgID::AppServer, AppServerCall::LoadTable},
    {SuiteProgID::AppServer, AppServerCall::GetBlobField},
    {SuiteProgID::AppServer, AppServerCall::RunUpdFlagSQL},
    {SuiteProgID::AppServer, AppServerCall::RunInsUpdSQL},
    {SuiteProgID::AppServer, AppServerCall::RunDeleteSQL},
    {SuiteProgID::AppServer, AppServerCall::RunFreeSQL},
    {SuiteProgID::AppServer, AppServerCall::UpdatePrintCount},
    {SuiteProgID::AppServer, AppServerCall::GetQMData},
    {SuiteProgID::AppServer, AppServerCall::GetWebserviceQMData},
};

}  // namespace nv
