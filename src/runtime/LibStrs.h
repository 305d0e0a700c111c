#pragma once
// LibStrs: the free helpers every unit of the module calls: tokens, padding, date texts in the
// suite's five date styles, relative dates, SQL condition fragments from condition values, the
// data-rights filter, the alert log and code-page re-decoding of variant data. No function
// keeps state between calls. Texts are ANSI byte strings; positions are 1-based bytes.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/core/Variant.h"

namespace nv {

// Tokens.
std::string GetToken(std::string_view text, std::string_view delimiter, int index);
int NumToken(std::string_view text, std::string_view delimiter);
std::string CutToken(std::string& text, std::string_view delimiter);
// PadL(text, {width}) or PadL(text, {width, fill character code}).
std::string PadL(std::string_view text, std::initializer_list<int> widthAndFill);
std::string ZeroATfirst(std::int64_t value, int width);
std::string SwapStr(std::string_view text, std::string_view oldText, std::string_view newText,
                    bool trim);
bool IsLocalAddress(std::string_view address);
std::string GetCHTButtonCaption(std::string_view buttonName);
// name #3 element0 #3 then element i #3 for i = 1..count, count being element 0.
std::u16string BLVariantToWideString(std::string_view name, const Variant& items);
double StrToFloatDefault(std::string_view text, double defaultValue);

// Dates. Date types 1..5 as the system parameter "Sys001" names them; the separator is the
// first character of the separator text ("Sys002").
std::string DateToString(TDateTime date, int dateType, std::string_view separator);
std::string MonthToString(TDateTime date, int dateType, std::string_view separator);
TDateTime TransDateIn(std::string_view yyyymmdd);
bool CheckDate(std::string_view yyyymmdd);
std::string DateAddText(const Variant& date, std::string_view unit, int count);
int DaysOfMonth(int year, int month);
// Count, day offset and day kind are integer texts; a text that is no integer raises
// EConvertError to the caller.
std::string UpdateDate(std::string_view base, std::string_view count, std::string_view unit,
                       std::string_view dayOffset, std::string_view dayKind);
std::string WeekEdgeDate(std::string_view base, int count, int dayKind);
int CompareFloat(long double a, long double b);

// Variants.
Variant IIF(bool condition, const Variant& whenTrue, const Variant& whenFalse);
bool IsVarEmptyOrNull(const Variant& value);
Variant NVStrToWideString(const Variant& value, int codePage);

// SQL condition fragments. Field type 1 = character, 2 and 3 = numeric.
std::string SPSQLStr(std::string& whereClause, std::string_view fieldName,
                     const Variant& conditionValue, int fieldType);
std::string MakeBasePower(const Variant& rights, std::string_view databaseName,
                          std::string_view fromSql, std::string_view excludedAliases);
std::string FindTableAlias(std::string_view tableName, std::string_view following);

// Alert log: Log\Alert_<name>_<date>.log under the shell's client folder.
bool WriteToAlertFile(std::string_view logName, std::string_view message, std::string_view period);
// The same log in a given folder (the download log keeps its own beside the host program).
bool WriteToAlertFileIn(std::string_view folder, std::string_view logName, std::string_view message,
                        std::string_view period);
// The shell's folder from the registry ("ClientPath", else "ServerPath"); "" when neither.
std::string GetBatonDir();

}  // namespace nv
