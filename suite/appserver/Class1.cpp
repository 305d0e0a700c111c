#include "suite/appserver/Class1.h"

#include <chrono>
#include <optional>

#include "platform/com/ComObj.h"
#include "platform/core/CodePage.h"
#include "platform/core/DateUtils.h"
#include "platform/data/DataPacket.h"
#include "suite/appserver/SqlText.h"

namespace nv::tallyd {

namespace {

constexpr std::size_t kMaxFormatNameBytes = 20;
constexpr std::size_t kMaxSchemeNameBytes = 20;

// Writes the rows of a provider statement straight into a data packet.
class TPacketSink : public TRowSink {
 public:
  explicit TPacketSink(int codePage) : codePage_(codePage) {}
  void Columns(const std::vector<TFieldDesc>& columns) override {
    writer_ = std::make_unique<DataPacketWriter>(columns);
  }
  bool Row(std::span<const TCell> cells) override {
    for (const TCell& c : cells) {
      switch (c.kind) {
        case TCell::Null:
          writer_->Null();
          break;
        case TCell::Integer:
          writer_->Integer(c.integer);
          break;
        case TCell::Float:
          writer_->Float(c.number);
          break;
        case TCell::Text:
          if (IsAscii(c.text)) {
            writer_->Text(c.text);
          } else {
            writer_->Text(Utf8ToAnsi(c.text, codePage_));
          }
          break;
      }
    }
    writer_->EndRow();
    return true;
  }
  std::string Finish() { return writer_ ? writer_->Finish() : DataPacketWriter({}).Finish(); }
  std::uint32_t Rows() const { return writer_ ? writer_->RowCount() : 0; }

 private:
  static bool IsAscii(std::string_view s) {
    for (char ch : s) {
      if (static_cast<unsigned char>(ch) >= 0x80) return false;
    }
    return true;
  }
  int codePage_;
  std::unique_ptr<DataPacketWriter> writer_;
};

class TCountSink : public TRowSink {
 public:
  void Columns(const std::vector<TFieldDesc>&) override {}
  bool Row(std::span<const TCell>) override {
    ++rows_;
    return true;
  }
  int rows_ = 0;
};

struct TFormatLock {
  std::string formatClass;
  std::string name;
  std::string counterText;
};

class TTallydClass1 final : public TDispatchBase {
 public:
  TTallydClass1(TServerConfig config, std::shared_ptr<TStatementTrace> trace)
      : config_(std::move(config)), trace_(std::move(trace)) {}

  std::string DispatchName() const override { return kServerProgID; }
  Variant Invoke(std::string_view member, InvokeKind kind, std::span<Variant> args) override {
    return Table().Invoke(*this, kServerProgID, member, kind, args);
  }

 private:
  static const TDispatchTable<TTallydClass1>& Table();

  // --- helpers -------------------------------------------------------------------------

  // A text argument in the database code page (wide texts are converted to it).
  std::string Ansi(const Variant& v) const {
    if (v.Type() == VarType::OleStr) return WideToAnsi(v.AsWideString(), config_.dbCodePage);
    return VarToStr(v);
  }
  Variant Text(const Variant& v) const { return Variant(Ansi(v)); }
  Variant Msg(const char* utf8) const { return Variant(Utf8ToAnsi(utf8, config_.dbCodePage)); }

  TDatabase& Db() {
    if (!db_) throw EDatabaseFailure("Tallyd.Class1: Connect has not been called");
    return *db_;
  }

  std::string Resolve(std::string_view sql) { return ResolveTablePrefix(sql, Db().TablePrefix()); }

  template <class F>
  auto Timed(const std::string& sql, F&& run) {
    auto start = std::chrono::steady_clock::now();
    auto done = [&] {
      if (trace_) {
        double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        trace_->Append(user_, sql, ms);
      }
    };
    try {
      auto result = run();
      done();
      return result;
    } catch (...) {
      done();
      throw;
    }
  }

  TRows Query(std::string_view sql, std::vector<Variant> params, int maxRows = -1) {
    std::string s = Resolve(sql);
    return Timed(s, [&] { return Db().Query(s, params, maxRows); });
  }
  std::int64_t Execute(std::string_view sql, std::vector<Variant> params) {
    std::string s = Resolve(sql);
    return Timed(s, [&] { return Db().Execute(s, params); });
  }

  std::string Today() const { return FormatDateTime("yyyymmdd", Date()); }

  // --- calls of the module -------------------------------------------------------------

  Variant Connect(TDispatchArgs& a) {
    const Variant& info = a.Array(1, 4);
    int low = info.LowBound();
    program_ = UpperCase(Ansi(info[low]));
    user_ = Ansi(info[low + 1]);
    company_ = Ansi(info[low + 2]);
    std::string database = Ansi(info[low + 3]);
    mainTable_ = info.HighBound() >= low + 4 ? Ansi(info[low + 4]) : "";
    if (!db_ || database != database_) {
      db_.reset();
      db_ = OpenDatabase(config_, database);
      database_ = database;
    }
    lock_.reset();
    schemeUser_ = user_;
    schemeProgram_ = program_;
    return {};
  }

  // [0] row condition, [1] "text,flag,flag,function rights,text,text", [2] and [3] texts,
  // [4] "Y" when per-table data rights apply, [5] [count, "TABLE condition", ...].
  Variant PowerData(TDispatchArgs&) {
    TRows r = Query(
        "SELECT MR004,MR006,MR003,MR007,MR008,MR009,MR010,MR005 FROM $$ADMMR WHERE MR001=?1 AND "
        "MR002=?2",
        {Variant(user_), Variant(program_)}, 1);
    TRows group = Query("SELECT MF004 FROM $$ADMMF WHERE MF001=?1", {Variant(user_)}, 1);
    TRows data =
        Query("SELECT MP002,MP003 FROM $$ADMMP WHERE MP001=?1 ORDER BY MP002", {Variant(user_)});
    Variant rights = Variant::Array(0, 6);
    Variant dataRights = Variant::Array(0, static_cast<int>(data.rows.size()) + 1);
    dataRights[0] = Variant(static_cast<int>(data.rows.size()));
    for (std::size_t i = 0; i < data.rows.size(); ++i) {
      dataRights[static_cast<int>(i) + 1] =
          Variant(VarToStr(data.rows[i][0]) + " " + VarToStr(data.rows[i][1]));
    }
    bool admin = !group.rows.empty() && VarToStr(group.rows[0][0]) == "ADMIN";
    if (r.rows.empty()) {
      rights[0] = Variant("");
      rights[1] = Variant(std::string(",N,N,NNNNNNNN,,"));
      rights[2] = Variant("");
      rights[3] = Variant("");
      rights[4] = Variant("N");
    } else {
      const auto& row = r.rows[0];
      rights[0] = Variant(VarToStr(row[0]));
      rights[1] = Variant(VarToStr(row[1]) + "," + (admin ? "Y" : "N") + "," +
                          (data.rows.empty() ? "N" : "Y") + "," + VarToStr(row[2]) + "," +
                          VarToStr(row[3]) + "," + VarToStr(row[4]));
      rights[2] = Variant(VarToStr(row[5]));
      rights[3] = Variant(VarToStr(row[6]));
      rights[4] = Variant(VarToStr(row[7]) == "Y" ? "Y" : "N");
    }
    rights[5] = dataRights;
    return rights;
  }

  Variant SQLType(TDispatchArgs&) { return Variant(0); }

  // --- condition schemes ---------------------------------------------------------------

  Variant InsertConTable(TDispatchArgs& a) {
    const Variant& v = a.Array(1, 7);
    int l = v.LowBound();
    std::string name = Ansi(v[l]);
    if (Trim(name).empty()) return Msg("方案名不可空白!");
    if (name.size() > kMaxSchemeNameBytes) return Msg("方案名长度不可大于20!");
    Variant user = Text(v[l + 1]);
    Variant date = Text(v[l + 2]);
    Variant program = Text(v[l + 3]);
    bool replace = v[l + 6].AsBoolean();
    TRows found =
        Query("SELECT NCONDITION FROM $$ADMCS WHERE NCONDITION=?1 AND CREATOR=?2 AND PROGRAMME=?3",
              {Variant(name), user, program}, 1);
    if (!found.rows.empty()) {
      if (!replace) return Msg("此方案名称已经存在！");
      Execute(
          "UPDATE $$ADMCS SET SCONDITION=?1, VCONDITION=?2, CREATE_DATE=?3 WHERE NCONDITION=?4 AND "
          "CREATOR=?5 AND "
          "PROGRAMME=?6",
          {Text(v[l + 4]), Text(v[l + 5]), date, Variant(name), user, program});
      return Variant("");
    }
    Execute(
        "INSERT INTO $$ADMCS (NCONDITION,CREATOR,PROGRAMME,SCONDITION,VCONDITION,CREATE_DATE) "
        "VALUES "
        "(?1,?2,?3,?4,?5,?6)",
        {Variant(name), user, program, Text(v[l + 4]), Text(v[l + 5]), date});
    return Variant("");
  }

  Variant DeleteConTable(TDispatchArgs& a) {
    const Variant& k = a.Array(1, 3);
    int l = k.LowBound();
    std::int64_t n =
        Execute("DELETE FROM $$ADMCS WHERE NCONDITION=?1 AND CREATOR=?2 AND PROGRAMME=?3",
                {Text(k[l]), Text(k[l + 1]), Text(k[l + 2])});
    return n > 0 ? Variant("") : Msg("方案不存在, 无法删除!");
  }

  Variant ChangeConName(TDispatchArgs& a) {
    const Variant& o = a.Array(1, 3);
    const Variant& n = a.Array(2, 3);
    int lo = o.LowBound();
    int ln = n.LowBound();
    std::string newName = Ansi(n[ln]);
    if (Trim(newName).empty()) return Msg("方案名不可空白!");
    if (newName.size() > kMaxSchemeNameBytes) return Msg("方案名长度不可大于20!");
    TRows clash =
        Query("SELECT NCONDITION FROM $$ADMCS WHERE NCONDITION=?1 AND CREATOR=?2 AND PROGRAMME=?3",
              {Variant(newName), Text(n[ln + 1]), Text(n[ln + 2])}, 1);
    if (!clash.rows.empty()) return Msg("此方案名称已经存在！");
    std::int64_t changed = Execute(
        "UPDATE $$ADMCS SET NCONDITION=?1, CREATOR=?2, PROGRAMME=?3 WHERE NCONDITION=?4 AND "
        "CREATOR=?5 AND "
        "PROGRAMME=?6",
        {Variant(newName), Text(n[ln + 1]), Text(n[ln + 2]), Text(o[lo]), Text(o[lo + 1]),
         Text(o[lo + 2])});
    return changed > 0 ? Variant("") : Msg("方案不存在, 无法更名!");
  }

  Variant LoadTable(TDispatchArgs& a) {
    const Variant& k = a.Array(1, 2);
    schemeUser_ = Ansi(k[k.LowBound()]);
    schemeProgram_ = Ansi(k[k.LowBound() + 1]);
    return Variant("");
  }

  // --- voucher formats -----------------------------------------------------------------

  Variant GetBlobField(TDispatchArgs& a) {
    const Variant& key = a.Array(1, 2);
    int l = key.LowBound();
    TRows r = Query("SELECT NT003,NT004 FROM $$WARRANT WHERE NT001=?1 AND NT002=?2",
                    {Text(key[l]), Text(key[l + 1])}, 1);
    if (r.rows.empty()) return Variant(0);
    if (a.Has(2))
      a.Ref(2) =
          Variant::ArrayOf({Variant(VarToStr(r.rows[0][0])), Variant(VarToStr(r.rows[0][1]))});
    return Variant(1);
  }

  // The optimistic lock: granted only while the stored counter is still the one read.
  Variant RunUpdFlagSQL(TDispatchArgs& a) {
    const Variant& v = a.Array(1, 4);
    int l = v.LowBound();
    std::string counterText = Ansi(v[l + 1]);
    std::string formatClass = Ansi(v[l + 2]);
    std::string name = Ansi(v[l + 3]);
    TRows r = Query("SELECT NT003 FROM $$WARRANT WHERE NT001=?1 AND NT002=?2",
                    {Variant(formatClass), Variant(name)}, 1);
    if (r.rows.empty() || VarToStr(r.rows[0][0]) != counterText) {
      lock_.reset();
      return Variant(-1);
    }
    lock_ = TFormatLock{formatClass, name, counterText};
    return Variant(1);
  }

  Variant RunInsUpdSQL(TDispatchArgs& a) {
    a.ExpectCount(3, 4);
    bool isUpdate = a.Boolean(1);
    const Variant& lines = a.Array(2);
    const Variant& info = a.Array(3, 7);
    std::string layout;
    for (int i = lines.LowBound(); i <= lines.HighBound(); ++i) {
      if (i > lines.LowBound()) layout += "\r\n";
      layout += Ansi(lines[i]);
    }
    int sizeKb = static_cast<int>(layout.size() / 1024);
    int l = info.LowBound();
    std::string today = Today();
    std::int64_t done = 0;
    if (!isUpdate) {
      std::string name = Ansi(info[l + 4]);
      if (name.size() > kMaxFormatNameBytes) return Variant(-1);
      TRows exists = Query("SELECT NT002 FROM $$WARRANT WHERE NT001=?1 AND NT002=?2",
                           {Text(info[l + 3]), Variant(name)}, 1);
      if (!exists.rows.empty()) return Variant(-1);
      try {
        done = Execute(
            "INSERT INTO $$WARRANT "
            "(COMPANY,CREATOR,USR_GROUP,CREATE_DATE,FLAG,NT001,NT002,NT003,NT004,NT005,"
            "NT006) VALUES (?1,?2,?3,?4,1,?5,?6,'1',?7,?8,?9)",
            {Text(info[l]), Text(info[l + 1]), Text(info[l + 2]), Variant(today), Text(info[l + 3]),
             Variant(name), Variant(layout), Variant(sizeKb), Text(info[l + 6])});
      } catch (const EDatabaseFailure&) {
        return Variant(-1);  // another client inserted the same key meanwhile
      }
    } else {
      std::string formatClass = Ansi(info[l + 4]);
      std::string name = Ansi(info[l + 5]);
      if (!lock_ || lock_->formatClass != formatClass || lock_->name != name) return Variant(-1);
      done = Execute(
          "UPDATE $$WARRANT SET NT003=?1, NT004=?2, NT005=?3, NT006=?4, MODIFIER=?5, MODI_DATE=?6, "
          "FLAG=COALESCE(FLAG,0)+1 WHERE NT001=?7 AND NT002=?8 AND NT003=?9",
          {Text(info[l + 3]), Variant(layout), Variant(sizeKb), Text(info[l + 6]),
           Text(info[l + 1]), Variant(today), Variant(formatClass), Variant(name),
           Variant(lock_->counterText)});
      lock_.reset();
    }
    if (done <= 0) return Variant(-1);
    if (a.Has(4)) a.Ref(4) = Variant(sizeKb);
    return Variant(1);
  }

  Variant RunDeleteSQL(TDispatchArgs& a) {
    const Variant& key = a.Array(1, 2);
    int l = key.LowBound();
    return Variant(static_cast<int>(Execute("DELETE FROM $$WARRANT WHERE NT001=?1 AND NT002=?2",
                                            {Text(key[l]), Text(key[l + 1])})));
  }

  // --- statements the module sends ------------------------------------------------------

  Variant RunFreeSQL(TDispatchArgs& a) {
    std::string sql = Resolve(Ansi(a.Value(1)));
    if (Trim(sql).empty()) return Variant(0);
    if (IsQueryStatement(sql)) {
      TCountSink count;
      Timed(sql, [&] {
        Db().Query(sql, {}, count);
        return 0;
      });
      return Variant(count.rows_);
    }
    return Variant(static_cast<int>(Timed(sql, [&] { return Db().Execute(sql, {}); })));
  }

  // One atomic increment of a print or send counter.
  Variant UpdatePrintCount(TDispatchArgs& a) {
    const Variant& v = a.Array(1, 3);
    int l = v.LowBound();
    std::string table = Trim(Ansi(v[l]));
    std::string field = Trim(Ansi(v[l + 1]));
    std::string condition = Ansi(v[l + 2]);
    if (!IsSafeIdentifier(table))
      throw EDatabaseFailure("UpdatePrintCount: '" + table + "' is not a table name");
    if (!IsSafeIdentifier(field) || field.find('.') != std::string::npos) {
      throw EDatabaseFailure("UpdatePrintCount: '" + field + "' is not a column name");
    }
    // Without a condition the increment would reach every record of the table.
    if (Trim(condition).empty()) throw EDatabaseFailure("UpdatePrintCount: the condition is empty");
    std::string sql = Resolve("UPDATE " + table + " SET " + field + "=COALESCE(" + field +
                              ",0)+1 WHERE " + condition);
    return Variant(static_cast<int>(Timed(sql, [&] { return Db().Execute(sql, {}); })));
  }

  // --- workflow sign-off ----------------------------------------------------------------

  struct TFormKey {
    std::string type, sheet, p3, p4;
  };

  static std::string Attribute(std::string_view element, std::string_view name) {
    std::size_t at = 0;
    while ((at = element.find(name, at)) != std::string_view::npos) {
      std::size_t i = at + name.size();
      while (i < element.size() && element[i] == ' ') ++i;
      if (i < element.size() && element[i] == '=') {
        ++i;
        while (i < element.size() && element[i] == ' ') ++i;
        if (i < element.size() && (element[i] == '\'' || element[i] == '"')) {
          char q = element[i];
          std::size_t end = element.find(q, i + 1);
          if (end == std::string_view::npos) return {};
          return std::string(element.substr(i + 1, end - i - 1));
        }
      }
      at += name.size();
    }
    return {};
  }

  static std::vector<TFormKey> ParseRequest(std::string_view xml) {
    std::vector<TFormKey> forms;
    std::size_t at = 0;
    while ((at = xml.find("<Form ", at)) != std::string_view::npos) {
      std::size_t end = xml.find('>', at);
      if (end == std::string_view::npos) break;
      std::string_view e = xml.substr(at, end - at);
      forms.push_back({Attribute(e, "wfFormType"), Attribute(e, "wfSheetNo"),
                       Attribute(e, "wfParameter3"), Attribute(e, "wfParameter4")});
      at = end;
    }
    return forms;
  }

  TRows History(const TFormKey& f) {
    return Query(
        "SELECT "
        "QH004,QH005,QH006,QH007,QH008,QH009,QH010,QH011,QH012,QH013,QH014,QH015,QH016,QH017 FROM "
        "$$ADMQH "
        "WHERE QH001=?1 AND QH002=?2 ORDER BY QH003",
        {Variant(f.type), Variant(f.sheet)});
  }

  // [F, form 1 .. form F]; a form is [Empty, type, sheet, parameter 3, parameter 4, table],
  // the table two-dimensional: field 0..12 by sign-off step.
  Variant GetQMData(TDispatchArgs& a) {
    std::vector<Variant> forms;
    for (const TFormKey& f : ParseRequest(Ansi(a.Value(1)))) {
      TRows h = History(f);
      if (h.rows.empty()) continue;
      Variant table = Variant::Array2D({0, 13}, {0, static_cast<int>(h.rows.size())});
      for (std::size_t s = 0; s < h.rows.size(); ++s) {
        for (int field = 0; field < 13; ++field) {
          table.At(field, static_cast<int>(s)) =
              Variant(VarToStr(h.rows[s][static_cast<std::size_t>(field)]));
        }
      }
      forms.push_back(Variant::ArrayOf(
          {Variant(), Variant(f.type), Variant(f.sheet), Variant(f.p3), Variant(f.p4), table}));
    }
    Variant answer = Variant::Array(0, static_cast<int>(forms.size()) + 1);
    answer[0] = Variant(static_cast<int>(forms.size()));
    for (std::size_t i = 0; i < forms.size(); ++i) answer[static_cast<int>(i) + 1] = forms[i];
    return answer;
  }

  static std::string XmlEscape(const std::string& s) {
    std::string out;
    for (char c : s) {
      switch (c) {
        case '<':
          out += "&lt;";
          break;
        case '>':
          out += "&gt;";
          break;
        case '&':
          out += "&amp;";
          break;
        case '\'':
          out += "&apos;";
          break;
        case '"':
          out += "&quot;";
          break;
        default:
          out.push_back(c);
      }
    }
    return out;
  }

  // A FormSet document: per form its sign-off lines separated by "||", the final result last.
  Variant GetWebserviceQMData(TDispatchArgs& a) {
    std::string xml = "<FormSet>";
    for (const TFormKey& f : ParseRequest(Ansi(a.Value(1)))) {
      TRows h = History(f);
      if (h.rows.empty()) continue;
      std::string body;
      std::string status;
      for (const auto& step : h.rows) {
        std::string line = VarToStr(step[0]) + "  " + VarToStr(step[1]) + "  " +
                           VarToStr(step[10]) + "  " + VarToStr(step[12]) + "  " +
                           VarToStr(step[6]) + "  " + VarToStr(step[5]) + "  " + VarToStr(step[13]);
        body += line + "||";
        status = VarToStr(step[6]);
      }
      body += Ansi(status == "3" ? Msg("已核准") : Msg("签核中"));
      xml += "<Form wfFormType='" + XmlEscape(f.type) + "' wfSheetNo='" + XmlEscape(f.sheet) +
             "'>" + XmlEscape(body) + "</Form>";
    }
    xml += "</FormSet>";
    return Variant(xml);
  }

  // --- providers ------------------------------------------------------------------------

  Variant DataRequest(TDispatchArgs& a) {
    std::string provider = a.Text(1);
    CheckProvider(provider);
    requests_[UpperCase(provider)] = Ansi(a.ValueOr(2, Variant()));
    return {};
  }

  static void CheckProvider(const std::string& name) {
    for (const char* known : {"Provider1", "Provider2", "pvdConSave", "pvdTemp"}) {
      if (SameText(name, known)) return;
    }
    throw EDatabaseFailure("Provider '" + name + "' not found");
  }

  Variant GetRecords(TDispatchArgs& a) {
    std::string provider = a.Text(1);
    CheckProvider(provider);
    std::string sql;
    std::vector<Variant> params;
    if (SameText(provider, "pvdConSave")) {
      sql =
          "SELECT NCONDITION,CREATOR,PROGRAMME,SCONDITION,VCONDITION,CREATE_DATE FROM $$ADMCS "
          "WHERE CREATOR=?1 AND "
          "PROGRAMME=?2 ORDER BY NCONDITION";
      params = {Variant(schemeUser_), Variant(schemeProgram_)};
    } else {
      auto it = requests_.find(UpperCase(provider));
      if (it == requests_.end() || Trim(it->second).empty()) {
        throw EDatabaseFailure("Provider '" + provider + "' has no data request");
      }
      sql = it->second;  // the module's statement runs as sent
    }
    sql = Resolve(sql);
    TPacketSink sink(config_.dbCodePage);
    Timed(sql, [&] {
      Db().Query(sql, params, sink);
      return 0;
    });
    return Variant(sink.Finish());
  }

  TServerConfig config_;
  std::shared_ptr<TStatementTrace> trace_;
  std::unique_ptr<TDatabase> db_;
  std::string database_;
  std::string program_, user_, company_, mainTable_;
  std::string schemeUser_, schemeProgram_;
  std::optional<TFormatLock> lock_;
  std::map<std::string, std::string> requests_;
};

const TDispatchTable<TTallydClass1>& TTallydClass1::Table() {
  static const TDispatchTable<TTallydClass1> table = [] {
    TDispatchTable<TTallydClass1> t;
    using C = TTallydClass1;
    t.Method("Connect", &C::Connect)
        .Method("PowerData", &C::PowerData)
        .Method("SQLType", &C::SQLType)
        .Method("InsertConTable", &C::InsertConTable)
        .Method("DeleteConTable", &C::DeleteConTable)
        .Method("ChangeConName", &C::ChangeConName)
        .Method("LoadTable", &C::LoadTable)
        .Method("GetBlobField", &C::GetBlobField)
        .Method("RunUpdFlagSQL", &C::RunUpdFlagSQL)
        .Method("RunInsUpdSQL", &C::RunInsUpdSQL)
        .Method("RunDeleteSQL", &C::RunDeleteSQL)
        .Method("RunFreeSQL", &C::RunFreeSQL)
        .Method("UpdatePrintCount", &C::UpdatePrintCount)
        .Method("GetQMData", &C::GetQMData)
        .Method("GetWebserviceQMData", &C::GetWebserviceQMData)
        .Method("AS_DataRequest", &C::DataRequest)
        .Method("AS_GetRecords", &C::GetRecords);
    return t;
  }();
  return table;
}

}  // namespace

IDispatchObject* CreateTallydClass1(const TServerConfig& config,
                                    std::shared_ptr<TStatementTrace> trace) {
  return new TTallydClass1(config, std::move(trace));
}

IDispatchObject* CreateTallydClass1() {
  TServerConfig config = DefaultServerConfig();
  std::shared_ptr<TStatementTrace> trace;
  if (config.traceEnabled) trace = std::make_shared<TStatementTrace>(config.traceFile);
  return new TTallydClass1(config, trace);
}

void RegisterTallydClass1() {
  RegisterComClass(kServerProgID, [] { return CreateTallydClass1(); });
}

}  // namespace nv::tallyd
