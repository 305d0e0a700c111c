#pragma once
// The dialogs of the work-center manager: lookup windows (choose rows of a table), the date
// picker and the phrase list. The manager asks through this interface; headless runs answer
// from a script, and a host hands in its interaction service as an automation object
// (property DialogService), which the manager calls late-bound:
//   Lookup(title, captions array, rows array (each an array of texts), multi) -> array of
//          chosen row indexes (0-based), or Empty when cancelled
//   PickDate(yyyymmdd, minguo flag) -> yyyymmdd, "" when cancelled
//   ChoosePhrase(phrases array) -> index, -1 when cancelled
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Variant.h"

namespace nv::manager {

struct TLookupRequest {
  std::string table;
  std::string windowNumber;
  std::string title;
  std::vector<std::string> captions;
  std::vector<std::vector<std::string>> rows;  // texts in the database code page
  bool multiSelect = false;
};

class IManagerDialogs {
 public:
  virtual ~IManagerDialogs() = default;
  // Chosen row indexes; empty when the user cancelled.
  virtual std::vector<int> Lookup(const TLookupRequest& request) = 0;
  // yyyymmdd, or "" when cancelled.
  virtual std::string PickDate(const std::string& startDate, bool minguo) = 0;
  // Index of the chosen phrase, -1 when cancelled.
  virtual int ChoosePhrase(const std::vector<std::string>& phrases) = 0;
};

// Answers from a queue of scripted answers, recording every request; an empty queue
// cancels, as the headless interaction service does without a script.
class TScriptedDialogs : public IManagerDialogs {
 public:
  struct TAnswer {
    std::vector<int> rows;  // Lookup
    std::string date;       // PickDate
    int phrase = -1;        // ChoosePhrase
  };
  std::deque<TAnswer> answers;
  std::vector<std::string> journal;  // "Lookup CMSMQ 06 (3 rows)", "PickDate 20240301", ...
  std::vector<TLookupRequest> lookups;

  std::vector<int> Lookup(const TLookupRequest& request) override;
  std::string PickDate(const std::string& startDate, bool minguo) override;
  int ChoosePhrase(const std::vector<std::string>& phrases) override;

 private:
  TAnswer Next();
};

// Calls an automation object with the members listed above.
std::shared_ptr<IManagerDialogs> DialogsOverDispatch(Variant service);

// Dialog kinds of the manager in the interaction service (platform/ui/Dialogs.h).
inline constexpr const char* dkLookup = "Lookup";
inline constexpr const char* dkDatePicker = "DatePicker";
inline constexpr const char* dkPhrase = "Phrase";

// Asks the process's interaction service, so headless runs answer from its script:
//   Lookup      request fields Table, Number, Multiple, Captions, Rows (the rows offered);
//               answer mrOk with Chosen (row index or array of indexes) or Keys (first-column
//               value or array of them); Lookup ("TABLE.NUMBER"), when given, must name the
//               lookup that opened.
//   DatePicker  fields Date (yyyymmdd), Minguo; answer mrOk with Date.
//   Phrase      field Phrases; answer mrOk with Index or Phrase.
// The headless default cancels each of them, as a user closing the window does.
std::shared_ptr<IManagerDialogs> InteractionDialogs();

}  // namespace nv::manager
