#include "suite/manager/ManagerDialogs.h"

#include "platform/core/SysUtils.h"
#include "platform/ui/Dialogs.h"

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

namespace {
std::vector<Variant> Elements(const Variant& v) {
  std::vector<Variant> out;
  if (v.IsArray()) {
    for (int i = v.LowBound(); i <= v.HighBound(); ++i) out.push_back(v[i]);
  } else if (!v.IsEmpty() && !v.IsNull()) {
    out.push_back(v);
  }
  return out;
}

TDialogRequest ManagerDialog(const char* kind, std::string caption, std::string text) {
  TDialogRequest r;
  r.Kind = kind;
  r.Caption = std::move(caption);
  r.Text = std::move(text);
  r.Buttons = {"mbOK", "mbCancel"};
  r.DefaultResult = mrCancel;
  return r;
}

// The rows a scripted answer names: indexes, or keys looked up in the first column.
std::vector<int> ChosenRows(const TLookupRequest& request, const TDialogAnswer& answer) {
  std::vector<int> chosen;
  for (const Variant& v : Elements(answer.Field("Chosen"))) chosen.push_back(v.AsInteger());
  for (const Variant& key : Elements(answer.Field("Keys"))) {
    std::string text = Trim(VarToStr(key));
    for (std::size_t i = 0; i < request.rows.size(); ++i) {
      if (!request.rows[i].empty() && Trim(request.rows[i][0]) == text) {
        chosen.push_back(static_cast<int>(i));
        break;
      }
    }
  }
  return chosen;
}

class TInteractionDialogs : public IManagerDialogs {
 public:
  std::vector<int> Lookup(const TLookupRequest& r) override {
    std::string name = r.table + "." + r.windowNumber;
    TDialogRequest q = ManagerDialog(dkLookup, r.title,
                                     r.table + " " + r.windowNumber + " (" +
                                         IntToStr(static_cast<int>(r.rows.size())) + " rows)");
    std::vector<Variant> rows;
    for (const auto& row : r.rows) rows.push_back(TextArray(row));
    q.Fields = {{"Table", Variant(r.table)},
                {"Number", Variant(r.windowNumber)},
                {"Multiple", Variant(r.multiSelect)},
                {"Captions", TextArray(r.captions)},
                {"Rows", Variant::ArrayOf(std::move(rows))}};
    TDialogAnswer a = Interaction().Ask(q);
    std::string wanted = VarToStr(a.Field("Lookup"));
    if (!wanted.empty() && !SameText(wanted, name)) {
      throw EInteractionScript("The dialog script chose rows of lookup " + wanted +
                               ", but lookup " + name + " opened");
    }
    if (a.ModalResult != mrOk) return {};
    return ChosenRows(r, a);
  }

  std::string PickDate(const std::string& startDate, bool minguo) override {
    TDialogRequest q = ManagerDialog(dkDatePicker, "", startDate);
    q.Fields = {{"Date", Variant(startDate)}, {"Minguo", Variant(minguo)}};
    TDialogAnswer a = Interaction().Ask(q);
    return a.ModalResult == mrOk ? VarToStr(a.Field("Date")) : std::string();
  }

  int ChoosePhrase(const std::vector<std::string>& phrases) override {
    TDialogRequest q =
        ManagerDialog(dkPhrase, "", IntToStr(static_cast<int>(phrases.size())) + " phrases");
    q.Fields = {{"Phrases", TextArray(phrases)}};
    TDialogAnswer a = Interaction().Ask(q);
    if (a.ModalResult != mrOk) return -1;
    Variant index = a.Field("Index");
    if (!index.IsEmpty() && !index.IsNull()) return index.AsInteger();
    std::string text = VarToStr(a.Field("Phrase"));
    for (std::size_t i = 0; i < phrases.size(); ++i) {
      if (phrases[i] == text) return static_cast<int>(i);
    }
    return -1;
  }
};
}  // namespace

std::shared_ptr<IManagerDialogs> InteractionDialogs() {
  return std::make_shared<TInteractionDialogs>();
}

}  // namespace nv::manager
