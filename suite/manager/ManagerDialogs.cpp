#include "suite/manager/ManagerDialogs.h"

#include "platform/core/SysUtils.h"

namespace nv::manager {

TScriptedDialogs::TAnswer TScriptedDialogs::Next() {
  if (answers.empty()) return {};
  TAnswer a = answers.front();
  answers.pop_front();
  return a;
}

std::vector<int> TScriptedDialogs::Lookup(const TLookupRequest& request) {
  journal.push_back("Lookup " + request.table + " " + request.windowNumber + " (" +
                    IntToStr(static_cast<int>(request.rows.size())) + " rows" +
                    (request.multiSelect ? ", multiple" : "") + ")");
  lookups.push_back(request);
  return Next().rows;
}

std::string TScriptedDialogs::PickDate(const std::string& startDate, bool minguo) {
  journal.push_back("PickDate " + startDate + (minguo ? " minguo" : ""));
  return Next().date;
}

int TScriptedDialogs::ChoosePhrase(const std::vector<std::string>& phrases) {
  journal.push_back("ChoosePhrase (" + IntToStr(static_cast<int>(phrases.size())) + " phrases)");
  return Next().phrase;
}

namespace {
Variant TextArray(const std::vector<std::string>& texts) {
  std::vector<Variant> v;
  for (const std::string& t : texts) v.emplace_back(t);
  return Variant::ArrayOf(std::move(v));
}

class TDispatchDialogs : public IManagerDialogs {
 public:
  explicit TDispatchDialogs(Variant service) : service_(std::move(service)) {}
  std::vector<int> Lookup(const TLookupRequest& r) override {
    std::vector<Variant> rows;
    for (const auto& row : r.rows) rows.push_back(TextArray(row));
    Variant answer = service_.Call("Lookup", {Variant(r.title), TextArray(r.captions),
                                              Variant::ArrayOf(rows), Variant(r.multiSelect)});
    std::vector<int> chosen;
    if (answer.IsArray()) {
      for (int i = answer.LowBound(); i <= answer.HighBound(); ++i)
        chosen.push_back(answer[i].AsInteger());
    } else if (answer.IsNumeric()) {
      chosen.push_back(answer.AsInteger());
    }
    return chosen;
  }
  std::string PickDate(const std::string& startDate, bool minguo) override {
    return VarToStr(service_.Call("PickDate", {Variant(startDate), Variant(minguo)}));
  }
  int ChoosePhrase(const std::vector<std::string>& phrases) override {
    Variant answer = service_.Call("ChoosePhrase", {TextArray(phrases)});
    return answer.IsEmpty() || answer.IsNull() ? -1 : answer.AsInteger();
  }

 private:
  Variant service_;
};
}  // namespace

std::shared_ptr<IManagerDialogs> DialogsOverDispatch(Variant service) {
  return std::make_shared<TDispatchDialogs>(std::move(service));
}

}  // namespace nv::manager
