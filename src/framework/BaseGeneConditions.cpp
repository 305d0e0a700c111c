// The option form's date, year-month and required fields: masks from the system parameters,
// checks when a field is left or an action starts, the re-wiring of the controls' events
// that runs those checks, and the building blocks of the condition arrays.
#include "framework/BaseGene.h"

#include <cstdio>

#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Spin.h"
#include "runtime/LibStrs.h"
#include "runtime/LibVCLs.h"

namespace nv {

namespace {

constexpr TColor kRequiredColour = static_cast<TColor>(0xAFFFFF);
const char* const kRequiredButtons[] = {"btnOk", "btnQuery", "btnDesign", "btnPeriod"};

std::string DigitsText(const char* format, int a, int b, int c = 0) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}

// An integer part of a date text; -1 when it is no number.
int DatePart(const std::string& text) {
  return StrToIntDef(Trim(text), -1);
}

bool ListHasName(const std::string& list, const std::string& name) {
  if (name.empty()) return false;
  for (int i = 1, n = NumToken(list, ","); i <= n; ++i)
    if (SameText(Trim(GetToken(list, ",", i)), name)) return true;
  return false;
}

std::string SavedKey(const TComponent& component, std::string_view event) {
  return UpperCase(component.Name()) + "." + std::string(event);
}

bool IsNumber(const std::string& text) {
  int ignored = 0;
  return TryStrToInt(text, ignored);
}

// The text a masked edit shows for an empty value when its mask keeps the literals.
std::string BlankTextOf(const TComponent& component) {
  if (const auto* edit = dynamic_cast<const TMaskEdit*>(&component))
    if (GetToken(edit->EditMask(), ";", 2) == "1") return edit->BlankText();
  return {};
}

bool TextIsBlank(const TComponent& component) {
  if (!CheckPropertyExist(&component, "Text")) return false;
  return Trim(GetStringProperty(&component, "Text")) == Trim(BlankTextOf(component));
}

TTabSheet* PageOf(TControl* control) {
  for (TControl* c = control; c != nullptr; c = c->Parent())
    if (auto* page = dynamic_cast<TTabSheet*>(c)) return page;
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Masks and date texts

std::string TfrmBaseGene::YearMask() {
  switch (DateTypeParam()) {
    case 1:
    case 2:
    case 3:
      return "9999";
    case 4:
      return "99";
    case 5:
      return "999";
    default:
      return {};
  }
}

std::string TfrmBaseGene::BlankYear() {
  switch (DateTypeParam()) {
    case 1:
    case 2:
    case 3:
      return "    ";
    case 4:
      return "  ";
    case 5:
      return "   ";
    default:
      return {};
  }
}

bool TfrmBaseGene::YearLast() {
  const int t = DateTypeParam();
  return t == 2 || t == 3;
}

std::string TfrmBaseGene::DateEditMask() {
  const std::string s = DateSeparatorParam();
  return (YearLast() ? "99" + s + "99" + s + YearMask() : YearMask() + s + "99" + s + "99") +
         ";1; ";
}

std::string TfrmBaseGene::YearMonthEditMask() {
  const std::string s = DateSeparatorParam();
  return (YearLast() ? "99" + s + YearMask() : YearMask() + s + "99") + ";1; ";
}

std::string TfrmBaseGene::EmptyDateText() {
  const std::string s = DateSeparatorParam();
  return YearLast() ? "  " + s + "  " + s + BlankYear() : BlankYear() + s + "  " + s + "  ";
}

std::string TfrmBaseGene::EmptyYearMonthText() {
  const std::string s = DateSeparatorParam();
  return YearLast() ? "  " + s + BlankYear() : BlankYear() + s + "  ";
}

std::string TfrmBaseGene::DateTextToYMD(const std::string& text) {
  const std::string t = Trim(text);
  if (t.empty() || t == Trim(EmptyDateText())) return {};
  try {
    const std::string s = DateSeparatorParam();
    std::string rest = t;
    const int p1 = DatePart(CutToken(rest, s));
    const int p2 = DatePart(CutToken(rest, s));
    const int p3 = DatePart(CutToken(rest, s));
    if (p1 == -1 || p2 == -1 || p3 == -1) return t;
    switch (DateTypeParam()) {
      case 1:
        return DigitsText("%d%.2d%.2d", p1, p2, p3);
      case 2:
        return DigitsText("%d%.2d%.2d", p3, p1, p2);
      case 3:
        return DigitsText("%d%.2d%.2d", p3, p2, p1);
      case 4:
      case 5:
        return DigitsText("%d%.2d%.2d", p1 + 1911, p2, p3);
      default:
        return {};
    }
  } catch (const std::exception&) {
    return t;
  }
}

std::string TfrmBaseGene::YearMonthTextToYM(const std::string& text) {
  const std::string t = Trim(text);
  if (t.empty() || t == Trim(EmptyYearMonthText())) return {};
  try {
    std::string rest = t;
    const int p1 = DatePart(CutToken(rest, DateSeparatorParam()));
    const int p2 = DatePart(CutToken(rest, DateSeparatorParam()));
    if (p1 == 0 || p2 == 0) return t;
    switch (DateTypeParam()) {
      case 1:
        return DigitsText("%d%.2d", p1, p2);
      case 2:
      case 3:
        return DigitsText("%d%.2d", p2, p1);
      case 4:
      case 5:
        return DigitsText("%d%.2d", p1 + 1911, p2);
      default:
        return {};
    }
  } catch (const std::exception&) {
    return t;
  }
}

std::string TfrmBaseGene::DisplayDate(const std::string& yyyymmdd) {
  return DateToString(TransDateIn(yyyymmdd), DateTypeParam(), DateSeparatorParam());
}

std::string TfrmBaseGene::DisplayYearMonth(const std::string& yyyymm) {
  return MonthToString(TransDateIn(yyyymm + "01"), DateTypeParam(), DateSeparatorParam());
}

bool TfrmBaseGene::IsDateField(const TComponent& component) const {
  return ListHasName(dateFields_, component.Name());
}

bool TfrmBaseGene::IsYearMonthField(const TComponent& component) const {
  return ListHasName(yearMonthFields_, component.Name());
}

// ---------------------------------------------------------------------------------------
// Field checks

bool TfrmBaseGene::CheckDateField(TComponent* control, bool initialise, std::string& message) {
  return CheckField(control, initialise, false, message);
}

bool TfrmBaseGene::CheckYearMonthField(TComponent* control, bool initialise, std::string& message) {
  return CheckField(control, initialise, true, message);
}

bool TfrmBaseGene::FieldTextFails(const std::string& text, bool yearMonth) {
  if (!yearMonth) {
    const std::string r = DateTextToYMD(text);
    return !r.empty() && !CheckDate(r);
  }
  const std::string t = Trim(text);
  if (t == DateSeparatorParam()) return false;
  const std::string r = YearMonthTextToYM(t) + "01";
  return !CheckDate(r);
}

bool TfrmBaseGene::CheckField(TComponent* control, bool initialise, bool yearMonth,
                              std::string& message) {
  message.clear();
  const std::string mask = yearMonth ? YearMonthEditMask() : DateEditMask();
  std::vector<TCustomEdit*> checked;
  if (auto* panel = dynamic_cast<TSelectPanel*>(control)) {
    if (initialise) {
      panel->SetEditMask(mask);
      return true;
    }
    checked = {panel->edBegin, panel->edFinal};
  } else if (auto* masked = dynamic_cast<TMaskEdit*>(control)) {
    if (initialise) {
      masked->SetEditMask(mask);
      return true;
    }
    checked = {masked};
  } else if (auto* edit = dynamic_cast<TEdit*>(control)) {
    if (initialise) {
      edit->SetText(yearMonth ? EmptyYearMonthText() : EmptyDateText());
      return true;
    }
    checked = {edit};
  } else {
    std::string text;
    if (yearMonth)
      LangText("TfrmBaseGene", "sYMPramError", text, true,
               SysText("判断年月的函数第一个参数错误, 只能传下列三种物件:"));
    else
      LangText("TfrmBaseGene", "sDatePramError", text, true,
               SysText("判断日期的函数第一个参数错误, 只能传下列三种物件:"));
    MessageBox(text + "\n" + "TSelectPanel, TMaskedit, TEdit", Caption());
    return false;
  }
  for (TCustomEdit* edit : checked) {
    if (!FieldTextFails(edit->Text(), yearMonth)) continue;
    message = "E;000005";
    if (edit->CanFocus()) edit->SetFocus();
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------
// Re-wiring of events

void TfrmBaseGene::WireEvent(TComponent& component, std::string_view event, const char* handler,
                             std::map<std::string, TMethod>& saved) {
  if (!IsPublishedProp(component, event)) return;
  const TMethod ours = MethodByName(*this, handler);
  const TMethod current = GetMethodProp(component, event);
  // a control listed twice keeps the handler it had before the first wiring
  if (!(current == ours)) saved[SavedKey(component, event)] = current;
  SetMethodProp(component, event, ours);
}

void TfrmBaseGene::UnwireEvent(TComponent& component, std::string_view event,
                               std::map<std::string, TMethod>& saved) {
  auto it = saved.find(SavedKey(component, event));
  if (it == saved.end() || !IsPublishedProp(component, event)) return;
  SetMethodProp(component, event, it->second);
  saved.erase(it);
}

void TfrmBaseGene::CallSaved(TObject* sender, std::string_view event,
                             const std::map<std::string, TMethod>& saved) {
  auto* component = dynamic_cast<TComponent*>(sender);
  if (component == nullptr) return;
  auto it = saved.find(SavedKey(*component, event));
  if (it != saved.end() && it->second.Assigned()) TNotifyEvent(it->second)(sender);
}

void TfrmBaseGene::SetDateFields(const std::string& list) {
  std::string fields = Trim(list);
  if (fields == dateFields_) return;
  if (!dateFields_.empty()) {
    ForEachListed(dateFields_, [this](TComponent& c) {
      UnwireEvent(c, "OnEnter", dateFieldEvents_);
      UnwireEvent(c, "OnExit", dateFieldEvents_);
    });
    if (!ListHasName(fields, "edPrintDate")) fields += "," + dateFields_;
  }
  dateFields_ = fields;
  ForEachListed(dateFields_, [this](TComponent& c) {
    WireEvent(c, "OnEnter", "DateFieldEnter", dateFieldEvents_);
    WireEvent(c, "OnExit", "DateFieldExit", dateFieldEvents_);
    if (auto* panel = dynamic_cast<TSelectPanel*>(&c)) {
      const int t = DateTypeParam();
      panel->SetValueType(vt_Date);
      panel->SetDateSign(DateSeparatorParam());
      panel->SetDateType(t >= 1 && t <= 5 ? static_cast<TDateType>(t) : dt_NoneCare);
    }
  });
}

void TfrmBaseGene::ForEachListed(const std::string& list,
                                 const std::function<void(TComponent&)>& action) {
  for (int i = 1, n = NumToken(list, ","); i <= n; ++i) {
    const std::string name = Trim(GetToken(list, ",", i));
    if (TComponent* c = name.empty() ? nullptr : FindComponent(name)) action(*c);
  }
}

void TfrmBaseGene::DateFieldEvent(TObject* sender, bool entering) {
  if (!entering && ActiveControl() != nullptr && ActiveControl() == FindComponent("btnCancel"))
    return;
  validationFailed_ = false;
  if (auto* control = dynamic_cast<TWinControl*>(sender)) {
    std::string message;
    if (IsDateField(*control))
      validationFailed_ = !CheckDateField(control, entering, message) || validationFailed_;
    else if (IsYearMonthField(*control))
      validationFailed_ = !CheckYearMonthField(control, entering, message) || validationFailed_;
    if (!entering) ShowMessages(message);
  }
  if (!validationFailed_) CallSaved(sender, entering ? "OnEnter" : "OnExit", dateFieldEvents_);
}

void TfrmBaseGene::DateFieldEnter(TObject* sender) {
  DateFieldEvent(sender, true);
}
void TfrmBaseGene::DateFieldExit(TObject* sender) {
  DateFieldEvent(sender, false);
}

// ---------------------------------------------------------------------------------------
// Required fields

void TfrmBaseGene::RecordColors(TWinControl& container) {
  for (TControl* c : container.Controls()) {
    if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
      startColors_->SetValue(panel->Name() + ".edBegin", IntToStr(panel->edBegin->Color()));
      startColors_->SetValue(panel->Name() + ".edFinal", IntToStr(panel->edFinal->Color()));
      startColors_->SetValue(panel->Name() + ".ListBox", IntToStr(panel->ListBox->Color()));
      continue;
    }
    auto* win = dynamic_cast<TWinControl*>(c);
    if (win != nullptr && win->ControlCount() > 0 && dynamic_cast<TSpinEdit*>(c) == nullptr) {
      RecordColors(*win);
    } else if (!c->Name().empty() && CheckPropertyExist(c, "Color")) {
      startColors_->SetValue(c->Name(), IntToStr(GetOrdinalProperty(c, "Color")));
    }
  }
}

void TfrmBaseGene::RecordStartColors() {
  startColors_->Clear();
  RecordColors(*this);
}

void TfrmBaseGene::RestoreStartColors() {
  for (int i = 0; i < startColors_->Count(); ++i) {
    const std::string key = startColors_->Names(i);
    const std::int64_t colour = StrToIntDef(startColors_->ValueFromIndex(i), 0);
    std::string inner = key;
    const std::string owner = CutToken(inner, ".");
    if (!inner.empty()) {
      // "panel.inner control": the panel's three inner controls have lines of their own
      if (auto* panel = dynamic_cast<TSelectPanel*>(FindComponent(owner))) {
        if (inner == "edBegin") panel->edBegin->SetColor(static_cast<TColor>(colour));
        if (inner == "edFinal") panel->edFinal->SetColor(static_cast<TColor>(colour));
        if (inner == "ListBox") panel->ListBox->SetColor(static_cast<TColor>(colour));
      }
    } else if (TComponent* c = FindComponent(key)) {
      SetOrdinalProperty(c, "Color", colour);
    }
  }
}

void TfrmBaseGene::SetRequiredFields(const std::string& list) {
  const std::string fields = Trim(list);
  if (!requiredFields_.empty()) RestoreStartColors();
  for (const char* name : kRequiredButtons)
    if (TComponent* button = FindComponent(name)) UnwireEvent(*button, "OnClick", requiredEvents_);
  requiredFields_ = fields;
  for (int i = 1, n = NumToken(fields, ","); i <= n; ++i) {
    const std::string item = GetToken(fields, ",", i);
    TComponent* c = FindComponent(Trim(GetToken(item, ";", 1)));
    if (c == nullptr) continue;
    if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
      int part = StrToIntDef(Trim(GetToken(item, ";", 3)), 0);
      if (part < 0 || part > 3) part = 0;
      if (part == 0 || part == 1) panel->edBegin->SetColor(kRequiredColour);
      if (part == 0 || part == 2) panel->edFinal->SetColor(kRequiredColour);
      if (part == 0 || part == 3) panel->ListBox->SetColor(kRequiredColour);
    } else if (CheckPropertyExist(c, "Color")) {
      SetOrdinalProperty(c, "Color", kRequiredColour);
    }
  }
  for (const char* name : kRequiredButtons)
    if (TComponent* button = FindComponent(name))
      WireEvent(*button, "OnClick", "RequiredFieldExit", requiredEvents_);
}

bool TfrmBaseGene::IsRequiredEmpty(TComponent& component) const {
  if (auto* panel = dynamic_cast<TSelectPanel*>(&component)) {
    if (panel->IsRangeMode()) return TextIsBlank(*panel->edBegin) || TextIsBlank(*panel->edFinal);
    return panel->Items()->Count() == 0;
  }
  return TextIsBlank(component);
}

bool TfrmBaseGene::CheckRequired(const std::string& list) {
  for (int i = 1, n = NumToken(list, ","); i <= n; ++i) {
    const std::string item = GetToken(list, ",", i);
    const std::string flag = Trim(GetToken(item, ";", 2));
    if (SameText(flag, "N") || IsNumber(flag)) continue;
    TComponent* c = FindComponent(Trim(GetToken(item, ";", 1)));
    if (c == nullptr || !IsRequiredEmpty(*c)) continue;
    ShowMessages("E;000037");
    auto* control = dynamic_cast<TWinControl*>(c);
    if (TTabSheet* page = PageOf(control); page && page->PageControl())
      page->PageControl()->SetActivePage(page);
    if (auto* panel = dynamic_cast<TSelectPanel*>(c))
      control = panel->IsRangeMode() ? static_cast<TWinControl*>(panel->edBegin)
                                     : static_cast<TWinControl*>(panel->ListBox);
    if (control != nullptr && control->Enabled() && control->CanFocus()) control->SetFocus();
    return true;
  }
  return false;
}

void TfrmBaseGene::RequiredFieldExit(TObject* sender) {
  validationFailed_ = false;
  auto* component = dynamic_cast<TComponent*>(sender);
  TComponent* period = FindComponent("btnPeriod");
  const bool periodDown = period != nullptr && CheckPropertyExist(period, "Down") &&
                          GetOrdinalProperty(period, "Down") != 0;
  const std::string name = component != nullptr ? component->Name() : std::string();
  if (SameText(name, "btnOk") || SameText(name, "btnQuery") || SameText(name, "btnDesign") ||
      periodDown)
    validationFailed_ = CheckRequired(requiredFields_);
  if (validationFailed_ && period != nullptr && pgOption != nullptr && pgOption->PageCount() > 0) {
    TTabSheet* last = pgOption->Pages(pgOption->PageCount() - 1);
    if (pgOption->ActivePage() != last) {
      SetOrdinalProperty(period, "Down", 0);
      last->SetTabVisible(false);
    }
  }
  if (!validationFailed_) CallSaved(sender, "OnClick", requiredEvents_);
}

// ---------------------------------------------------------------------------------------
// Condition values

void TfrmBaseGene::PanelConditionValue(TSelectPanel* panel, Variant& values, int index) {
  values[index] = panel->ConditionValue();
}

void TfrmBaseGene::DateRangeValue(const std::string& text1, const std::string& text2,
                                  Variant& values, int index) {
  std::string a = DateTextToYMD(text1);
  std::string b = DateTextToYMD(text2);
  if (!a.empty() && !b.empty() && CompareText(a, b) > 0) std::swap(a, b);
  values[index] = Variant::ArrayOf({Variant(std::string(1, '\x04')), Variant(a), Variant(b)});
}

bool TfrmBaseGene::CollectConditionText(Variant& texts, int count) {
  try {
    conditionsCollected_ = true;
    texts[count + frameworkRows_] =
        Variant::ArrayOf({Variant(lblToday->Caption()), Variant("edPrintDate")});
  } catch (const std::exception&) {
    std::string text;
    GetMessageText("I", "000011", text);
    ShowMessages("E;000030;" + text);
    return false;
  }
  ShowMessages("");
  return true;
}

bool TfrmBaseGene::CollectConditionInfo(Variant& values, int count) {
  try {
    const std::string s = DateSeparatorParam();
    const std::string t = Trim(edPrintDate->Text());
    std::string value;
    if (!t.empty() && !t.starts_with(s) && !t.ends_with(s))
      value = DateTextToYMD(edPrintDate->Text());
    values[count + frameworkRows_] = Variant(value);
  } catch (const std::exception&) {
    ShowMessages("E;000030");
    return false;
  }
  ShowMessages("");
  return true;
}

Variant TfrmBaseGene::CollectedConditionTexts() {
  Variant texts = Variant::Array(1, ConditionCount());
  CollectConditionText(texts, ConditionCount() - frameworkRows_);
  return texts;
}

}  // namespace nv
