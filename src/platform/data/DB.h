#pragma once
// Data sets as the class library has them: a set of records with fields, a cursor, indexes
// on field lists, Locate, and editing of the current record; TDataSource links a data set
// to data-aware controls. TClientDataSet (DBClient.h) fills one from a provider.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"
#include "platform/data/DataPacket.h"

namespace nv {

NV_DECLARE_EXCEPTION(EDatabaseError, Exception);

class TDataSet;

class TField {
 public:
  // displayText: true when the text is for showing, false when it is for editing.
  using TFieldGetTextEvent =
      std::function<void(TField& sender, std::string& text, bool displayText)>;
  using TFieldSetTextEvent = std::function<void(TField& sender, const std::string& text)>;

  TField(TDataSet& dataSet, TFieldDesc desc, int index);

  const std::string& FieldName() const { return desc_.name; }
  TFieldType DataType() const { return desc_.type; }
  int Size() const { return static_cast<int>(desc_.size); }
  int Index() const { return index_; }
  TDataSet& DataSet() const { return dataSet_; }
  bool IsStringField() const {
    return desc_.type == TFieldType::ftString || desc_.type == TFieldType::ftMemo;
  }

  // The display label defaults to the field name.
  std::string DisplayLabel() const { return displayLabel_.empty() ? desc_.name : displayLabel_; }
  void SetDisplayLabel(std::string label) { displayLabel_ = std::move(label); }

  TFieldGetTextEvent OnGetText;
  TFieldSetTextEvent OnSetText;

  // The current record's value; Null on an empty data set.
  Variant Value() const;
  void SetValue(Variant value);  // needs edit state
  bool IsNull() const;
  std::string AsString() const;
  int AsInteger() const;
  double AsFloat() const;
  void SetAsString(const std::string& text) { SetValue(Variant(text)); }
  // Text through the get-text handler when one is set (Text for editing, DisplayText for
  // showing); SetText through the set-text handler when one is set.
  std::string Text() const { return GetText(false); }
  std::string DisplayText() const { return GetText(true); }
  void SetText(const std::string& text);

 private:
  std::string GetText(bool displayText) const;
  TDataSet& dataSet_;
  TFieldDesc desc_;
  int index_;
  std::string displayLabel_;
};

enum class TDataSetState { dsInactive, dsBrowse, dsEdit };

struct TLocateOptions {
  bool caseInsensitive = false;
  bool partialKey = false;
};

struct TIndexDef {
  std::string Name;
  std::string Fields;  // "A;B;C"
};

class TDataSource;

class TDataSet {
 public:
  TDataSet() = default;
  virtual ~TDataSet();
  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;

  std::string Name;

  virtual void Open();
  void Close();
  bool Active() const { return state_ != TDataSetState::dsInactive; }
  void SetActive(bool active) { active ? Open() : Close(); }
  TDataSetState State() const { return state_; }

  void First();
  void Next();
  void Prior();
  void Last();
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  int RecordCount() const;
  int RecNo() const { return IsEmpty() ? 0 : cursor_ + 1; }  // 1-based, in index order
  bool IsEmpty() const { return order_.empty(); }

  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TField& Fields(int index) const;
  TField* FindField(std::string_view name) const;
  TField& FieldByName(std::string_view name) const;  // raises EDatabaseError

  // Key fields separated by ";"; one value, or an array of values for several fields.
  bool Locate(std::string_view keyFields, const Variant& keyValues, TLocateOptions options = {});

  // Ordering: IndexFieldNames sorts by the listed fields; IndexName picks an index def.
  std::string IndexFieldNames() const { return indexFieldNames_; }
  void SetIndexFieldNames(std::string fields);
  std::vector<TIndexDef> IndexDefs;
  std::string IndexName() const { return indexName_; }
  void SetIndexName(std::string name);

  void Edit();
  void Post();
  void Cancel();

  void DisableControls() { ++disableCount_; }
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  // Internal to fields and data sources.
  const Variant& CurrentValue(int fieldIndex) const;
  void SetCurrentValue(int fieldIndex, Variant value);
  void AttachSource(TDataSource* source);
  void DetachSource(TDataSource* source);

 protected:
  // Takes the columns and rows of a packet as this data set's records and opens it.
  void OpenWith(DataPacket packet);

 private:
  void ApplyOrder();
  void Notify();

  TDataSetState state_ = TDataSetState::dsInactive;
  std::vector<std::unique_ptr<TField>> fields_;
  std::vector<std::vector<Variant>> rows_;
  std::vector<std::size_t> order_;  // row numbers in index order
  int cursor_ = 0;
  bool eof_ = true;
  bool bof_ = true;
  std::vector<Variant> editBuffer_;
  std::string indexFieldNames_;
  std::string indexName_;
  std::vector<int> sortFields_;
  int disableCount_ = 0;
  std::vector<TDataSource*> sources_;
};

// Links a data set to data-aware controls; OnDataChange runs when the record or a value changes.
class TDataSource {
 public:
  TDataSource() = default;
  ~TDataSource();
  TDataSource(const TDataSource&) = delete;
  TDataSource& operator=(const TDataSource&) = delete;

  std::string Name;
  bool Enabled = true;
  std::function<void(TDataSource&)> OnDataChange;
  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);

 private:
  friend class TDataSet;
  TDataSet* dataSet_ = nullptr;
};

}  // namespace nv
