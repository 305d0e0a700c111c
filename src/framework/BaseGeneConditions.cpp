// Condition collection and validation of the option form: date and year-month fields,
// required fields, the re-wired control events and the framework's own condition rows.
#include "framework/BaseGene.h"
#include "platform/core/SysUtils.h"
#include "platform/rtti/StringList.h"

namespace nv {

// TODO(conditions): date texts in the five date styles.
std::string TfrmBaseGene::DateTextToYMD(const std::string& text) {
  return Trim(text);
}

// TODO(conditions): year-month texts in the five date styles.
std::string TfrmBaseGene::YearMonthTextToYM(const std::string& text) {
  return Trim(text);
}

bool TfrmBaseGene::CheckDateField(TComponent* control, bool initialise, std::string& message) {
  message.clear();
  return true;
}

bool TfrmBaseGene::CheckYearMonthField(TComponent* control, bool initialise, std::string& message) {
  message.clear();
  return true;
}

void TfrmBaseGene::SetDateFields(const std::string& list) {
  dateFields_ = Trim(list);
}

void TfrmBaseGene::SetRequiredFields(const std::string& list) {
  requiredFields_ = Trim(list);
}

bool TfrmBaseGene::CheckRequired(const std::string& list) {
  return false;
}

void TfrmBaseGene::PanelConditionValue(TSelectPanel* panel, Variant& values, int index) {
  values[index] = panel->ConditionValue();
}

void TfrmBaseGene::DateRangeValue(const std::string& text1, const std::string& text2,
                                  Variant& values, int index) {
  values[index] = Variant::ArrayOf({Variant(std::string(1, '\x04')), Variant(DateTextToYMD(text1)),
                                    Variant(DateTextToYMD(text2))});
}

void TfrmBaseGene::RecordStartColors() {}

void TfrmBaseGene::DateFieldEnter(TObject* sender) {
  validationFailed_ = false;
}

void TfrmBaseGene::DateFieldExit(TObject* sender) {
  validationFailed_ = false;
}

void TfrmBaseGene::RequiredFieldExit(TObject* sender) {
  validationFailed_ = false;
}

// The framework's own row: the print date.
bool TfrmBaseGene::CollectConditionText(Variant& texts, int count) {
  conditionsCollected_ = true;
  texts[count + frameworkRows_] = Variant::ArrayOf(
      {Variant(lblToday != nullptr ? lblToday->Caption() : std::string()), Variant("edPrintDate")});
  return true;
}

bool TfrmBaseGene::CollectConditionInfo(Variant& values, int count) {
  std::string text = edPrintDate != nullptr ? Trim(edPrintDate->Text()) : std::string();
  values[count + frameworkRows_] = text.empty() ? std::string() : DateTextToYMD(text);
  return true;
}

}  // namespace nv
