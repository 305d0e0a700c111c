#pragma once
// Statement text helpers of the server: the "$$" table prefix, telling queries from changes,
// identifiers the server is willing to put into a statement, and numbered placeholders.
#include <string>
#include <string_view>

namespace nv::tallyd {

// Replaces "$$" in front of a name by prefix, outside quoted literals and identifiers.
std::string ResolveTablePrefix(std::string_view sql, std::string_view prefix);
// True when the statement yields rows (SELECT, WITH, VALUES), judged by its first word.
bool IsQueryStatement(std::string_view sql);
// A plain or "$$"-prefixed table or column name: letters, digits and "_", optionally one
// "schema." part; nothing that could end the name inside a statement.
bool IsSafeIdentifier(std::string_view name);
// "?" and "?N" placeholders (outside literals) as PostgreSQL's "$N".
std::string NumberPlaceholders(std::string_view sql);

}  // namespace nv::tallyd
