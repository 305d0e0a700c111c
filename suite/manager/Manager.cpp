#include "suite/manager/Manager.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>

#include "platform/com/ComObj.h"
#include "platform/core/CodePage.h"
#include "platform/core/DateUtils.h"
#include "suite/appserver/Database.h"
#include "suite/appserver/SqlText.h"
#include "suite/manager/DataRights.h"

namespace nv::manager {

namespace {

// The company databases the manager has opened, shared by its three objects.
class TManagerState {
 public:
  explicit TManagerState(TManagerOptions options) : options_(std::move(options)) {
    if (!options_.dialogs) options_.dialogs = InteractionDialogs();
  }

  tallyd::TDatabase& Db(std::string name) {
    if (Trim(name).empty()) name = options_.defaultDatabase;
    std::lock_guard<std::mutex> lock(mutex_);
    auto& db = dbs_[name];
    if (!db) db = tallyd::OpenDatabase(options_.config, name);
    return *db;
  }
  int CodePage() const { return options_.config.dbCodePage; }
  TLanguage& Language() { return options_.language; }
  IManagerDialogs* Dialogs() const { return options_.dialogs.get(); }
  void SetDialogs(std::shared_ptr<IManagerDialogs> d) { options_.dialogs = std::move(d); }
  std::string Ansi(const Variant& v) const {
    if (v.Type() == VarType::OleStr) return WideToAnsi(v.AsWideString(), CodePage());
    return VarToStr(v);
  }
  Variant Msg(const char* utf8) const { return Variant(Utf8ToAnsi(utf8, CodePage())); }

  tallyd::TRows Query(const std::string& database, std::string_view sql,
                      std::vector<Variant> params) {
    tallyd::TDatabase& db = Db(database);
    return db.Query(tallyd::ResolveTablePrefix(sql, db.TablePrefix()), params);
  }

  std::string baseLimited;

 private:
  TManagerOptions options_;
  std::mutex mutex_;
  std::map<std::string, std::unique_ptr<tallyd::TDatabase>> dbs_;
};

using TState = std::shared_ptr<TManagerState>;

std::vector<Variant> ParamList(const Variant& params) {
  std::vector<Variant> out;
  if (params.IsArray()) {
    for (int i = params.LowBound(); i <= params.HighBound(); ++i) out.push_back(params[i]);
  } else if (!params.IsEmpty() && !params.IsNull()) {
    out.push_back(params);
  }
  return out;
}

Variant RowArray(const std::vector<Variant>& row) {
  return Variant::ArrayOf(row);
}

// The definition of a query or lookup window, or nothing.
struct TDefinition {
  std::string statement, title, captions, conditionColumn;
};

std::optional<TDefinition> FindDefinition(TManagerState& s, const std::string& database,
                                          const std::string& table, const std::string& number,
                                          const char* kind) {
  tallyd::TRows r = s.Query(
      database,
      "SELECT QD004,QD005,QD006,QD007 FROM $$ADMQD WHERE QD001=?1 AND QD002=?2 AND QD003=?3",
      {Variant(UpperCase(table)), Variant(number), Variant(kind)});
  if (r.rows.empty()) return std::nullopt;
  return TDefinition{VarToStr(r.rows[0][0]), VarToStr(r.rows[0][1]), VarToStr(r.rows[0][2]),
                     VarToStr(r.rows[0][3])};
}

// The parameters a statement numbers (?1..?N), padded with empty texts.
std::vector<Variant> Bound(const std::string& statement, std::vector<Variant> params) {
  int highest = 0;
  for (std::size_t i = 0; i + 1 < statement.size(); ++i) {
    if (statement[i] == '?' && std::isdigit(static_cast<unsigned char>(statement[i + 1])) != 0) {
      highest = std::max(highest, statement[i + 1] - '0');
    }
  }
  while (static_cast<int>(params.size()) < highest) params.emplace_back("");
  params.resize(static_cast<std::size_t>(highest));
  for (Variant& p : params) {
    if (p.IsEmpty() || p.IsNull()) p = Variant("");
  }
  return params;
}

// --- counter -----------------------------------------------------------------------------

class TCounter final : public TDispatchBase {
 public:
  explicit TCounter(TState s) : s_(std::move(s)) {}
  std::string DispatchName() const override { return "VantaWorkCenter.Counter"; }
  Variant Invoke(std::string_view member, InvokeKind kind, std::span<Variant> args) override {
    static const TDispatchTable<TCounter> table = [] {
      TDispatchTable<TCounter> t;
      t.Method("GetSysInfo", &TCounter::GetSysInfo).Method("GetCounter", &TCounter::GetCounter);
      return t;
    }();
    return table.Invoke(*this, DispatchName(), member, kind, args);
  }

 private:
  // Row 0 the parameter names, row 1 their values.
  Variant GetSysInfo(TDispatchArgs& a) {
    std::string company = s_->Ansi(a.ValueOr(1, Variant("")));
    tallyd::TRows r = s_->Query("", "SELECT SP002,SP003 FROM $$ADMSP WHERE SP001=?1 ORDER BY SP002",
                                {Variant(company)});
    Variant info = Variant::Array2D({0, 2}, {0, static_cast<int>(r.rows.size())});
    for (std::size_t i = 0; i < r.rows.size(); ++i) {
      info.At(0, static_cast<int>(i)) = Variant(VarToStr(r.rows[i][0]));
      info.At(1, static_cast<int>(i)) = Variant(VarToStr(r.rows[i][1]));
    }
    return info;
  }

  Variant GetCounter(TDispatchArgs& a) {
    std::string name = UpperCase(s_->Ansi(a.Value(1)));
    std::vector<Variant> params = ParamList(a.ValueOr(2, Variant()));
    std::vector<Variant> where = ParamList(a.ValueOr(3, Variant()));
    std::string database = where.size() > 1 ? s_->Ansi(where[1]) : "";
    if (name == "SIMPLESQL") return SimpleSql(database, params);
    // A named counter: one atomic increment, then its new value.
    tallyd::TDatabase& db = s_->Db(database);
    std::string prefix = db.TablePrefix();
    if (db.Execute("UPDATE " + prefix + "ADMCN SET CN002=CN002+1 WHERE CN001=?1",
                   std::vector<Variant>{Variant(name)}) == 0) {
      return Variant::Null();
    }
    tallyd::TRows r = db.Query("SELECT CN002 FROM " + prefix + "ADMCN WHERE CN001=?1",
                               std::vector<Variant>{Variant(name)});
    return r.rows.empty() ? Variant::Null() : r.rows[0][0];
  }

  // [query text, column name] -> the column's values, one row each: element (0, 0) first.
  Variant SimpleSql(const std::string& database, const std::vector<Variant>& params) {
    if (params.empty()) return Variant::Null();
    tallyd::TRows r = s_->Query(database, s_->Ansi(params[0]), {});
    std::size_t column = 0;
    if (params.size() > 1) {
      std::string wanted = s_->Ansi(params[1]);
      for (std::size_t c = 0; c < r.columns.size(); ++c) {
        if (SameText(r.columns[c].name, wanted)) column = c;
      }
    }
    if (r.rows.empty() || r.columns.empty()) return Variant::Null();
    Variant out = Variant::Array2D({0, static_cast<int>(r.rows.size())}, {0, 1});
    for (std::size_t i = 0; i < r.rows.size(); ++i)
      out.At(static_cast<int>(i), 0) = r.rows[i][column];
    return out;
  }

  TState s_;
};

// --- validator ---------------------------------------------------------------------------

class TValidator final : public TDispatchBase {
 public:
  explicit TValidator(TState s) : s_(std::move(s)) {}
  std::string DispatchName() const override { return "VantaWorkCenter.Validator"; }
  Variant Invoke(std::string_view member, InvokeKind kind, std::span<Variant> args) override {
    static const TDispatchTable<TValidator> table = [] {
      TDispatchTable<TValidator> t;
      t.Method("QueryData", [](TValidator& v, TDispatchArgs& a) { return v.Run(a, true); })
          .Method("CheckValue", [](TValidator& v, TDispatchArgs& a) { return v.Run(a, false); })
          .Property(
              "BaseLimited",
              [](TValidator& v, TDispatchArgs&) { return Variant(v.s_->baseLimited); },
              [](TValidator& v, TDispatchArgs&, const Variant& value) {
                v.s_->baseLimited = v.s_->Ansi(value);
              });
      return t;
    }();
    return table.Invoke(*this, DispatchName(), member, kind, args);
  }

 private:
  // (table, query number, database, parameters, var result) -> found.
  Variant Run(TDispatchArgs& a, bool many) {
    a.ExpectCount(5);
    std::string table = s_->Ansi(a.Value(1));
    std::string number = s_->Ansi(a.Value(2));
    std::string database = s_->Ansi(a.Value(3));
    auto def = FindDefinition(*s_, database, table, number, "Q");
    if (!def) {
      throw EOleError(DispatchName() + ": no query " + number + " is defined for table " + table);
    }
    std::string statement = ApplyDataRights(def->statement, ParseDataRights(s_->baseLimited));
    tallyd::TRows r = s_->Query(database, statement, Bound(statement, ParamList(a.Value(4))));
    if (r.rows.empty()) {
      a.Ref(5) = Variant();
      return Variant(false);
    }
    if (!many) {
      a.Ref(5) = RowArray(r.rows[0]);
      return Variant(true);
    }
    std::vector<Variant> records;
    for (const auto& row : r.rows) records.push_back(RowArray(row));
    a.Ref(5) = Variant::ArrayOf(std::move(records));
    return Variant(true);
  }

  TState s_;
};

// --- lookup windows ------------------------------------------------------------------------

class TF2Window final : public TDispatchBase {
 public:
  explicit TF2Window(TState s) : s_(std::move(s)) {}
  std::string DispatchName() const override { return "VantaWorkCenter.F2Window"; }
  Variant Invoke(std::string_view member, InvokeKind kind, std::span<Variant> args) override {
    static const TDispatchTable<TF2Window> table = [] {
      TDispatchTable<TF2Window> t;
      t.Method("F2GetData", &TF2Window::F2GetData)
          .Method("GetPhrase", &TF2Window::GetPhrase)
          .Method("ShowInputDay", &TF2Window::ShowInputDay);
      return t;
    }();
    return table.Invoke(*this, DispatchName(), member, kind, args);
  }

 private:
  static std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> out;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) out.push_back(item);
    return out;
  }

  // The 19-element request; none when cancelled, else the chosen rows (arrays of fields).
  Variant F2GetData(TDispatchArgs& a) {
    const Variant& req = a.Array(1, 7);
    int l = req.LowBound();
    std::string table = s_->Ansi(req[l]);
    std::string number = s_->Ansi(req[l + 1]);
    bool multi = req[l + 3].AsBoolean();
    std::string condition = Trim(s_->Ansi(req[l + 4]));
    std::string database = s_->Ansi(req[l + 6]);
    auto def = FindDefinition(*s_, database, table, number, "F");
    if (!def)
      throw EOleError(DispatchName() + ": no lookup window " + number + " is defined for table " +
                      table);
    // The request carries the user's data rights; an older request without them falls back to
    // what the validator was given.
    std::string rights = req.HighBound() >= l + 14 ? s_->Ansi(req[l + 14]) : s_->baseLimited;
    std::string statement = ApplyDataRights(def->statement, ParseDataRights(rights));
    tallyd::TRows r = s_->Query(database, statement, Bound(statement, ParamList(req[l + 2])));
    // The condition text narrows the rows to those whose key column starts with it.
    std::size_t key = 0;
    for (std::size_t c = 0; c < r.columns.size(); ++c) {
      if (SameText(r.columns[c].name, def->conditionColumn)) key = c;
    }
    std::vector<std::vector<Variant>> rows;
    for (auto& row : r.rows) {
      if (condition.empty() || VarToStr(row[key]).rfind(condition, 0) == 0)
        rows.push_back(std::move(row));
    }
    if (s_->Dialogs() == nullptr) return {};
    TLookupRequest request{table, number, def->title, Split(def->captions), {}, multi};
    for (const auto& row : rows) {
      std::vector<std::string> texts;
      for (const Variant& v : row) texts.push_back(VarToStr(v));
      request.rows.push_back(std::move(texts));
    }
    std::vector<int> chosen = s_->Dialogs()->Lookup(request);
    std::vector<Variant> answer;
    for (int i : chosen) {
      if (i >= 0 && i < static_cast<int>(rows.size()))
        answer.push_back(RowArray(rows[static_cast<std::size_t>(i)]));
      if (!multi && !answer.empty()) break;
    }
    if (answer.empty()) return {};
    return Variant::ArrayOf(std::move(answer));
  }

  Variant GetPhrase(TDispatchArgs& a) {
    std::string user = s_->Ansi(a.Value(1));
    std::string database = s_->Ansi(a.ValueOr(2, Variant("")));
    tallyd::TRows r = s_->Query(database, "SELECT PH003 FROM $$ADMPH WHERE PH001=?1 ORDER BY PH002",
                                {Variant(user)});
    std::vector<std::string> phrases;
    for (const auto& row : r.rows) phrases.push_back(VarToStr(row[0]));
    if (phrases.empty() || s_->Dialogs() == nullptr) return Variant("");
    int i = s_->Dialogs()->ChoosePhrase(phrases);
    return i >= 0 && i < static_cast<int>(phrases.size())
               ? Variant(phrases[static_cast<std::size_t>(i)])
               : Variant("");
  }

  // [Minguo flag, yyyymmdd, database] -> yyyymmdd, "" when cancelled.
  Variant ShowInputDay(TDispatchArgs& a) {
    const Variant& req = a.Array(1, 2);
    int l = req.LowBound();
    bool minguo = req[l].AsBoolean();
    std::string start = Trim(s_->Ansi(req[l + 1]));
    if (start.size() != 8) start = FormatDateTime("yyyymmdd", Date());
    if (s_->Dialogs() == nullptr) return Variant("");
    std::string chosen = Trim(s_->Dialogs()->PickDate(start, minguo));
    int y = 0, m = 0, d = 0;
    bool valid = chosen.size() == 8 && TryStrToInt(chosen.substr(0, 4), y) &&
                 TryStrToInt(chosen.substr(4, 2), m) && TryStrToInt(chosen.substr(6, 2), d) &&
                 IsValidDate(y, m, d);
    return Variant(valid ? chosen : std::string());
  }

  TState s_;
};

// --- the manager ---------------------------------------------------------------------------

class TManager final : public TDispatchBase {
 public:
  explicit TManager(TManagerOptions options)
      : s_(std::make_shared<TManagerState>(std::move(options))) {}
  std::string DispatchName() const override { return kManagerProgID; }
  Variant Invoke(std::string_view member, InvokeKind kind, std::span<Variant> args) override {
    static const TDispatchTable<TManager> table = [] {
      TDispatchTable<TManager> t;
      t.Method("Com_Counter",
               [](TManager& m, TDispatchArgs&) { return Variant(new TCounter(m.s_)); })
          .Method("Com_Validator",
                  [](TManager& m, TDispatchArgs&) { return Variant(new TValidator(m.s_)); })
          .Method("Com_F2Window",
                  [](TManager& m, TDispatchArgs&) { return Variant(new TF2Window(m.s_)); })
          .Method("GetMessage", &TManager::GetMessage)
          .Method("CallHelp", &TManager::CallHelp)
          .Method("GetFileList", &TManager::GetFileList)
          .Method("SetFormCreateStyle", &TManager::SetFormCreateStyle)
          .Property("Language", &TManager::GetLanguage, &TManager::PutLanguage)
          .Property("LastHelp", [](TManager& m, TDispatchArgs&) { return m.lastHelp_; })
          .Property("FormCreateStyle",
                    [](TManager& m, TDispatchArgs&) { return Variant(m.formCreateStyle_); })
          .Property(
              "DialogService", [](TManager& m, TDispatchArgs&) { return m.dialogService_; },
              [](TManager& m, TDispatchArgs&, const Variant& v) {
                m.dialogService_ = v;
                m.s_->SetDialogs(v.IsObject() ? DialogsOverDispatch(v) : InteractionDialogs());
              });
      return t;
    }();
    return table.Invoke(*this, DispatchName(), member, kind, args);
  }

 private:
  // (type letter, six-digit number) -> the text in the interface language.
  Variant GetMessage(TDispatchArgs& a) {
    std::string type = UpperCase(Trim(s_->Ansi(a.Value(1))));
    std::string number = Trim(s_->Ansi(a.Value(2)));
    tallyd::TRows r =
        s_->Query("", "SELECT MG003,MG004,MG005 FROM $$ADMMG WHERE MG001=?1 AND MG002=?2",
                  {Variant(type), Variant(number)});
    int column = s_->Language() == TLanguage::CHT ? 1 : (s_->Language() == TLanguage::ENG ? 2 : 0);
    if (r.rows.empty() || VarIsBlank(r.rows[0][static_cast<std::size_t>(column)])) {
      static const char* kMissing[] = {"消息 %s;%s 不存在", "訊息 %s;%s 不存在",
                                       "Message %s;%s is not defined"};
      std::string text = Utf8ToAnsi(kMissing[column], s_->CodePage());
      std::string out;
      std::size_t first = text.find("%s");
      std::size_t second = text.find("%s", first + 2);
      out = text.substr(0, first) + type + text.substr(first + 2, second - first - 2) + number +
            text.substr(second + 2);
      return Variant(out);
    }
    return Variant(VarToStr(r.rows[0][static_cast<std::size_t>(column)]));
  }

  // [system code, help number]: there is no help viewer on this platform; the request is kept.
  Variant CallHelp(TDispatchArgs& a) {
    lastHelp_ = a.Array(1, 2);
    return {};
  }

  // [file name] -> "<Modify>stamp</Modify><Path>source</Path>", "" when the file is not listed.
  Variant GetFileList(TDispatchArgs& a) {
    const Variant& req = a.Array(1, 1);
    std::string name = LowerCase(s_->Ansi(req[req.LowBound()]));
    tallyd::TRows r =
        s_->Query("", "SELECT FL002,FL003 FROM $$ADMFL WHERE FL001=?1", {Variant(name)});
    if (r.rows.empty()) return Variant("");
    return Variant("<Modify>" + VarToStr(r.rows[0][0]) + "</Modify><Path>" +
                   VarToStr(r.rows[0][1]) + "</Path>");
  }

  Variant SetFormCreateStyle(TDispatchArgs& a) {
    formCreateStyle_ = s_->Ansi(a.ValueOr(1, Variant("")));
    return {};
  }

  Variant GetLanguage(TDispatchArgs&) {
    switch (s_->Language()) {
      case TLanguage::CHT:
        return Variant("CHT");
      case TLanguage::ENG:
        return Variant("ENG");
      default:
        return Variant("CHS");
    }
  }
  void PutLanguage(TDispatchArgs&, const Variant& v) {
    s_->Language() = LanguageFromLangType(s_->Ansi(v));
  }

  TState s_;
  Variant lastHelp_;
  Variant dialogService_;
  std::string formCreateStyle_;
};

std::string ReadFileText(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TLanguage LanguageFromLangType(const std::string& langType) {
  std::string u = UpperCase(Trim(langType));
  if (u == "CHT" || u == "BIG5" || u == "950") return TLanguage::CHT;
  if (u == "ENG" || u == "EN" || u == "437") return TLanguage::ENG;
  return TLanguage::CHS;
}

IDispatchObject* CreateWorkCenterManager(TManagerOptions options) {
  return new TManager(std::move(options));
}

IDispatchObject* CreateWorkCenterManager() {
  TManagerOptions o;
  o.config = tallyd::DefaultServerConfig();
  std::string serverIni = ReadFileText(o.config.iniFileName);
  o.defaultDatabase = tallyd::ReadIniString(serverIni, "DBE Setting", "MainDBName", "DEMO");
  std::string clientPath = tallyd::BatonRegistryValue("ClientPath");
  if (!clientPath.empty()) {
    if (clientPath.back() != '/') clientPath += '/';
    std::string clientIni = ReadFileText(clientPath + "BatonC.ini");
    o.language = LanguageFromLangType(
        tallyd::ReadIniString(clientIni, "Client Components", "LangType", "CHS"));
  }
  return new TManager(std::move(o));
}

void RegisterWorkCenterManager() {
  RegisterComClass(kManagerProgID, [] { return CreateWorkCenterManager(); });
}

}  // namespace nv::manager
