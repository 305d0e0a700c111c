#pragma once
// The user's data rights as the option form hands them to the validator (property
// BaseLimited) and to lookup windows (element 14 of the request): the per-table rights flag,
// the count, then "TABLE condition" entries, each field ended by the character with code 3.
// The manager applies them to its own queries: every use of a restricted table reads only
// the rows the condition lets through.
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SysUtils.h"

namespace nv::manager {

NV_DECLARE_EXCEPTION(EDataRightsError, Exception);

struct TDataRight {
  std::string table;      // upper case
  std::string condition;  // names the table's columns as TABLE.COLUMN
};

// Empty when the flag is not "Y" or there are no entries. An entry that is not a table name
// followed by one condition (a statement end, a comment or unbalanced brackets outside
// quotes) raises EDataRightsError: a query must not run without the rights it was given.
std::vector<TDataRight> ParseDataRights(std::string_view text);

// Each "$$TABLE [AS] [alias]" of a restricted table becomes
// "(SELECT * FROM $$TABLE TABLE WHERE (condition)) alias", so joins, outer joins and both
// branches of a union see only the rows the user may see.
std::string ApplyDataRights(std::string_view statement, const std::vector<TDataRight>& rights);

}  // namespace nv::manager
