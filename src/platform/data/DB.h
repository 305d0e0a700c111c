#pragma once
// Data sets as the class library has them: a set of records with fields, a cursor, indexes
// on field lists, filters, Locate, and editing of the current record; TDataSource links a
// data set to data-aware controls. TClientDataSet (DBClient.h) fills one from a provider.
// All of them are components, so a form text describes them (and the fields of a data set)
// and report fields bind to them by name.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"
#include "platform/data/DataPacket.h"
#include "platform/rtti/Classes.h"
#include "platform/rtti/Collection.h"

namespace nv {

NV_DECLARE_EXCEPTION(EDatabaseError, Exception);

class TDataSet;
class TField;
class TDataSource;

NV_EVENT_TYPE(TFieldGetTextEvent, TField* /*Sender*/, std::string& /*Text*/, bool /*DisplayText*/);
NV_EVENT_TYPE(TFieldSetTextEvent, TField* /*Sender*/, const std::string& /*Text*/);
NV_EVENT_TYPE(TFieldNotifyEvent, TField* /*Sender*/);
NV_EVENT_TYPE(TDataSetNotifyEvent, TDataSet* /*DataSet*/);
NV_EVENT_TYPE(TFilterRecordEvent, TDataSet* /*DataSet*/, bool& /*Accept*/);
NV_EVENT_TYPE(TDataChangeEvent, TObject* /*Sender*/, TField* /*Field*/);

// A field: one column of a data set. Fields a form text declares (persistent fields, owned by
// the form) keep their settings across openings; without any, opening makes one field per
// column (owned by the data set).
class TField : public TComponent {
  NV_CLASS(TField, TComponent)
 public:
  explicit TField(TComponent* owner);
  ~TField() override;

  const std::string& FieldName() const { return desc_.name; }
  void SetFieldName(const std::string& name);
  TFieldType DataType() const { return desc_.type; }
  int Size() const { return static_cast<int>(desc_.size); }
  void SetSize(int size) { desc_.size = static_cast<std::uint32_t>(size < 0 ? 0 : size); }
  // The column this field reads in the open data set; -1 when not bound.
  int Index() const { return index_; }
  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  bool IsStringField() const {
    return desc_.type == TFieldType::ftString || desc_.type == TFieldType::ftMemo;
  }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }

  // The display label defaults to the field name.
  std::string DisplayLabel() const { return displayLabel_.empty() ? desc_.name : displayLabel_; }
  void SetDisplayLabel(const std::string& label) { displayLabel_ = label; }
  bool IsDisplayLabelStored() const { return !displayLabel_.empty(); }

  TFieldGetTextEvent OnGetText;
  TFieldSetTextEvent OnSetText;
  TFieldNotifyEvent OnChange;  // after a value was set

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

  // Internal to the data set: the column and its description while it is open.
  void Bind(const TFieldDesc& desc, int index);
  void Unbind() { index_ = -1; }
  void ForgetDataSet() { dataSet_ = nullptr; }

 private:
  std::string GetText(bool displayText) const;
  TDataSet* dataSet_ = nullptr;
  TFieldDesc desc_;
  int index_ = -1;
  bool visible_ = true;
  std::string displayLabel_;
};

// The field classes a form text names; the type comes from the provider's column.
class TStringField : public TField {
  NV_CLASS(TStringField, TField)
 public:
  using TField::TField;
};
class TIntegerField : public TField {
  NV_CLASS(TIntegerField, TField)
 public:
  using TField::TField;
};
class TFloatField : public TField {
  NV_CLASS(TFloatField, TField)
 public:
  using TField::TField;
};
class TDateTimeField : public TField {
  NV_CLASS(TDateTimeField, TField)
 public:
  using TField::TField;
};
class TMemoField : public TField {
  NV_CLASS(TMemoField, TField)
 public:
  using TField::TField;
};
class TBooleanField : public TField {
  NV_CLASS(TBooleanField, TField)
 public:
  using TField::TField;
};

enum class TDataSetState { dsInactive, dsBrowse, dsEdit };

struct TLocateOptions {
  bool caseInsensitive = false;
  bool partialKey = false;
};

class TIndexDef : public TCollectionItem {
  NV_CLASS(TIndexDef, TCollectionItem)
 public:
  explicit TIndexDef(TCollection* collection) : TCollectionItem(collection) {}
  std::string Name;
  std::string Fields;  // "A;B;C"
  std::string DisplayName() const override { return Name; }
};

class TIndexDefs : public TCollection {
  NV_CLASS(TIndexDefs, TCollection)
 public:
  explicit TIndexDefs(TPersistent* owner) : TCollection(TIndexDef::StaticClassInfo(), owner) {}
  TIndexDef* Add(const std::string& name, const std::string& fields);
  TIndexDef* Find(std::string_view name) const;
};

class TDataSet : public TComponent {
  NV_CLASS(TDataSet, TComponent)
 public:
  explicit TDataSet(TComponent* owner = nullptr);
  ~TDataSet() override;

  virtual void Open();
  void Close();
  bool Active() const { return state_ != TDataSetState::dsInactive; }
  // While a form text is read, opening waits for Loaded.
  void SetActive(bool active);
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
  TIndexDefs* IndexDefs() const { return indexDefs_.get(); }
  void SetIndexDefs(TIndexDefs* defs) { indexDefs_->Assign(*defs); }
  std::string IndexName() const { return indexName_; }
  void SetIndexName(std::string name);

  // Filtering: with Filtered, only records that pass Filter and OnFilterRecord are seen.
  // Filter: comparisons "FIELD op value" (op = <> < > <= >=, value 'text' or a number; a
  // text ending in * matches as a prefix) joined by AND.
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& filter);
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool filtered);

  void Edit();
  void Post();
  void Cancel();

  void DisableControls() { ++disableCount_; }
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  TDataSetNotifyEvent BeforeOpen;
  TDataSetNotifyEvent AfterOpen;
  TDataSetNotifyEvent BeforeClose;
  TDataSetNotifyEvent AfterClose;
  TDataSetNotifyEvent AfterScroll;
  TDataSetNotifyEvent BeforePost;
  TDataSetNotifyEvent AfterPost;
  TFilterRecordEvent OnFilterRecord;

  // Internal to fields and data sources.
  const Variant& CurrentValue(int fieldIndex) const;
  void SetCurrentValue(int fieldIndex, Variant value);
  void AttachSource(TDataSource* source);
  void DetachSource(TDataSource* source);
  void AttachField(TField* field);
  void DetachField(TField* field);
  // Bytes the records take (the packet, the row index and edited records).
  std::size_t RecordMemoryBytes() const;

  void Loaded() override;

 protected:
  // Takes the columns and rows of a packet as this data set's records and opens it.
  void OpenWith(DataPacket packet);
  void OpenWith(TPacketRows rows);

 private:
  struct TFilterTerm;
  void BindFields();
  void DropColumnFields();
  void ApplyOrder();
  bool PassesFilter(std::size_t row);
  Variant CellOf(std::size_t row, int column) const;
  void MoveTo(int cursor, bool scrolled);
  void Notify(TField* field = nullptr);
  std::string Where() const;

  TDataSetState state_ = TDataSetState::dsInactive;
  bool openWhenLoaded_ = false;
  std::vector<TField*> fields_;          // in column order while open
  std::vector<TField*> declaredFields_;  // persistent fields, in declaration order
  TPacketRows store_;
  std::map<std::size_t, std::vector<Variant>> edited_;  // posted changes by row
  std::vector<std::size_t> order_;                      // row numbers in index order, filtered
  // The record under the cursor: its cells are decoded as fields read them.
  mutable std::vector<Variant> current_;
  mutable std::vector<std::size_t> currentStarts_;  // empty when current_ is an edited record
  mutable std::vector<char> decoded_;
  mutable std::size_t currentRow_ = SIZE_MAX;
  std::size_t filterRow_ = SIZE_MAX;  // the row a filter looks at
  int cursor_ = 0;
  bool eof_ = true;
  bool bof_ = true;
  std::vector<Variant> editBuffer_;
  std::string indexFieldNames_;
  std::string indexName_;
  std::unique_ptr<TIndexDefs> indexDefs_;
  std::string filter_;
  bool filtered_ = false;
  std::vector<TFilterTerm> filterTerms_;
  std::vector<int> sortFields_;
  int disableCount_ = 0;
  std::vector<TDataSource*> sources_;
};

// Links a data set to data-aware controls; OnDataChange runs when the record or a value
// changes (Field: the field whose value changed, nullptr for a move).
class TDataSource : public TComponent {
  NV_CLASS(TDataSource, TComponent)
 public:
  explicit TDataSource(TComponent* owner = nullptr) : TComponent(owner) {}
  ~TDataSource() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  TDataChangeEvent OnDataChange;
  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TDataSet;
  TDataSet* dataSet_ = nullptr;
  bool enabled_ = true;
};

// The classes of this layer, for the class registry and the checked-in class reference.
std::vector<const TClassInfo*> DataClasses();
// Registers the standard classes and these; safe to call more than once.
void RegisterDataClasses();

}  // namespace nv
