#include "suite/appserver/Database.h"

#include <cctype>

#include "platform/core/CodePage.h"

namespace nv::tallyd {

namespace {
class TCollectRows : public TRowSink {
 public:
  TCollectRows(const TDatabase& db, TRows& out, int maxRows)
      : db_(db), out_(out), maxRows_(maxRows) {}
  void Columns(const std::vector<TFieldDesc>& columns) override { out_.columns = columns; }
  bool Row(std::span<const TCell> cells) override {
    if (maxRows_ >= 0 && static_cast<int>(out_.rows.size()) >= maxRows_) return false;
    std::vector<Variant> row;
    row.reserve(cells.size());
    for (const TCell& c : cells) row.push_back(db_.CellValue(c));
    out_.rows.push_back(std::move(row));
    return true;
  }

 private:
  const TDatabase& db_;
  TRows& out_;
  int maxRows_;
};
}  // namespace

bool IsValidDatabaseName(std::string_view name) {
  if (name.empty() || name.size() > 30) return false;
  for (char c : name) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '_') return false;
  }
  return true;
}

std::unique_ptr<TDatabase> OpenDatabase(const TServerConfig& config,
                                        const std::string& databaseName) {
  if (!IsValidDatabaseName(databaseName)) {
    throw EDatabaseFailure("Invalid company database name '" + databaseName +
                           "': letters, digits and _ only, at most 30");
  }
  if (config.backend == TBackendKind::bkPostgreSQL) {
    return OpenPostgres(config.dataLocation, LowerCase(databaseName), config.dbCodePage);
  }
  return OpenSqlite(config.dataLocation + databaseName + ".db", config.dbCodePage,
                    config.busyTimeoutMs);
}

std::vector<TDatabase::TParam> TDatabase::ToParams(std::span<const Variant> params) const {
  std::vector<TParam> out;
  out.reserve(params.size());
  for (const Variant& v : params) {
    TParam p;
    switch (v.Type()) {
      case VarType::Empty:
      case VarType::Null:
        break;
      case VarType::SmallInt:
      case VarType::Integer:
        p.kind = TParam::Integer;
        p.integer = v.AsInteger();
        break;
      case VarType::Boolean:
        // Flags are stored as the suite's "Y"/"N" texts.
        p.kind = TParam::Text;
        p.text = v.AsBoolean() ? "Y" : "N";
        break;
      case VarType::Double:
      case VarType::Date:
        p.kind = TParam::Float;
        p.number = v.AsDouble();
        break;
      case VarType::OleStr:
        p.kind = TParam::Text;
        p.text = WideToUtf8(v.AsWideString());
        break;
      case VarType::String:
        p.kind = TParam::Text;
        p.text = AnsiToUtf8(v.AsString(), codePage_);
        break;
      default:
        throw EDatabaseFailure(std::string("A ") + VarTypeName(v.Type()) +
                               " cannot be a statement parameter");
    }
    out.push_back(std::move(p));
  }
  return out;
}

Variant TDatabase::CellValue(const TCell& cell) const {
  switch (cell.kind) {
    case TCell::Null:
      return Variant::Null();
    case TCell::Integer:
      if (cell.integer >= INT32_MIN && cell.integer <= INT32_MAX)
        return Variant(static_cast<int>(cell.integer));
      return Variant(static_cast<double>(cell.integer));
    case TCell::Float:
      return Variant(cell.number);
    case TCell::Text:
      return Variant(Utf8ToAnsi(cell.text, codePage_));
  }
  return {};
}

void TDatabase::Query(std::string_view sql, std::span<const Variant> params, TRowSink& sink) {
  RunQuery(AnsiToUtf8(sql, codePage_), ToParams(params), sink);
}

TRows TDatabase::Query(std::string_view sql, std::span<const Variant> params, int maxRows) {
  TRows rows;
  TCollectRows sink(*this, rows, maxRows);
  Query(sql, params, sink);
  return rows;
}

std::int64_t TDatabase::Execute(std::string_view sql, std::span<const Variant> params) {
  return RunExecute(AnsiToUtf8(sql, codePage_), ToParams(params));
}

void TDatabase::ExecuteMany(std::string_view sql, const std::vector<std::vector<Variant>>& rows) {
  std::vector<std::vector<TParam>> converted;
  converted.reserve(rows.size());
  for (const auto& r : rows) converted.push_back(ToParams(r));
  RunMany(AnsiToUtf8(sql, codePage_), converted);
}

TFieldDesc DescribeDeclaredType(std::string name, std::string_view declared) {
  TFieldDesc d;
  d.name = std::move(name);
  std::string t = UpperCase(declared);
  auto paren = t.find('(');
  std::string base = Trim(t.substr(0, paren));
  if (base.find("INT") != std::string::npos) {
    d.type = TFieldType::ftInteger;
  } else if (base == "REAL" || base == "FLOAT" || base == "DOUBLE" || base == "NUMERIC" ||
             base == "DECIMAL" || base.find("DOUBLE") != std::string::npos) {
    d.type = TFieldType::ftFloat;
  } else if (base == "TEXT" || base == "CLOB") {
    d.type = TFieldType::ftMemo;
  } else {
    d.type = TFieldType::ftString;
  }
  if (paren != std::string::npos && d.type == TFieldType::ftString) {
    std::string n;
    for (std::size_t i = paren + 1;
         i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])) != 0; ++i)
      n += t[i];
    d.size = static_cast<std::uint32_t>(StrToIntDef(n, 0));
  }
  return d;
}

}  // namespace nv::tallyd
