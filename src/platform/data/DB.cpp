#include "platform/data/DB.h"

#include <algorithm>

namespace nv {

namespace {
std::vector<std::string> SplitFieldList(std::string_view list) {
  std::vector<std::string> names;
  std::string current;
  for (char c : list) {
    if (c == ';' || c == ',') {
      if (!Trim(current).empty()) names.push_back(Trim(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!Trim(current).empty()) names.push_back(Trim(current));
  return names;
}

bool IsNumberCell(const Variant& v) {
  return v.IsNumeric() || v.Type() == VarType::Boolean || v.Type() == VarType::Date;
}

// Null sorts first; numbers by value; everything else by its text bytes.
int CompareCells(const Variant& a, const Variant& b) {
  bool an = a.IsNull() || a.IsEmpty();
  bool bn = b.IsNull() || b.IsEmpty();
  if (an || bn) return an == bn ? 0 : (an ? -1 : 1);
  if (IsNumberCell(a) && IsNumberCell(b)) {
    double x = a.AsDouble();
    double y = b.AsDouble();
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  std::string x = a.AsString();
  std::string y = b.AsString();
  return x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
}

bool CellMatches(const Variant& cell, const Variant& key, TLocateOptions options) {
  if (cell.IsNull() || cell.IsEmpty()) return key.IsNull() || key.IsEmpty();
  if (key.IsNull() || key.IsEmpty()) return false;
  if (IsNumberCell(cell) && IsNumberCell(key)) return cell.AsDouble() == key.AsDouble();
  std::string c = cell.AsString();
  std::string k = key.AsString();
  if (options.partialKey && c.size() > k.size()) c.resize(k.size());
  return options.caseInsensitive ? SameText(c, k) : c == k;
}
}  // namespace

TField::TField(TDataSet& dataSet, TFieldDesc desc, int index)
    : dataSet_(dataSet), desc_(std::move(desc)), index_(index) {}

Variant TField::Value() const {
  return dataSet_.CurrentValue(index_);
}

void TField::SetValue(Variant value) {
  dataSet_.SetCurrentValue(index_, std::move(value));
}

bool TField::IsNull() const {
  const Variant& v = dataSet_.CurrentValue(index_);
  return v.IsNull() || v.IsEmpty();
}

std::string TField::AsString() const {
  return VarToStr(dataSet_.CurrentValue(index_));
}

int TField::AsInteger() const {
  const Variant& v = dataSet_.CurrentValue(index_);
  return v.IsNull() ? 0 : v.AsInteger();
}

double TField::AsFloat() const {
  const Variant& v = dataSet_.CurrentValue(index_);
  return v.IsNull() ? 0 : v.AsDouble();
}

std::string TField::GetText(bool displayText) const {
  std::string text = AsString();
  if (OnGetText) {
    OnGetText(const_cast<TField&>(*this), text, displayText);
  }
  return text;
}

void TField::SetText(const std::string& text) {
  if (OnSetText) {
    OnSetText(*this, text);
  } else {
    SetAsString(text);
  }
}

TDataSet::~TDataSet() {
  for (TDataSource* s : sources_) s->dataSet_ = nullptr;
}

void TDataSet::Open() {
  if (!Active()) throw EDatabaseError(Name + ": no records to open");
}

void TDataSet::OpenWith(DataPacket packet) {
  Close();
  fields_.clear();
  for (std::size_t i = 0; i < packet.fields.size(); ++i) {
    fields_.push_back(
        std::make_unique<TField>(*this, std::move(packet.fields[i]), static_cast<int>(i)));
  }
  rows_ = std::move(packet.rows);
  state_ = TDataSetState::dsBrowse;
  sortFields_.clear();
  ApplyOrder();
  First();
}

void TDataSet::Close() {
  if (!Active()) return;
  state_ = TDataSetState::dsInactive;
  rows_.clear();
  order_.clear();
  editBuffer_.clear();
  cursor_ = 0;
  eof_ = bof_ = true;
  Notify();
}

int TDataSet::RecordCount() const {
  if (!Active()) throw EDatabaseError(Name + ": Cannot perform this operation on a closed dataset");
  return static_cast<int>(order_.size());
}

void TDataSet::First() {
  if (state_ == TDataSetState::dsEdit) Post();
  cursor_ = 0;
  bof_ = true;
  eof_ = order_.empty();
  Notify();
}

void TDataSet::Last() {
  if (state_ == TDataSetState::dsEdit) Post();
  cursor_ = order_.empty() ? 0 : static_cast<int>(order_.size()) - 1;
  eof_ = true;
  bof_ = order_.empty();
  Notify();
}

void TDataSet::Next() {
  if (state_ == TDataSetState::dsEdit) Post();
  bof_ = false;
  if (cursor_ + 1 < static_cast<int>(order_.size())) {
    ++cursor_;
    Notify();
  } else {
    eof_ = true;
  }
}

void TDataSet::Prior() {
  if (state_ == TDataSetState::dsEdit) Post();
  eof_ = false;
  if (cursor_ > 0) {
    --cursor_;
    Notify();
  } else {
    bof_ = true;
  }
}

TField& TDataSet::Fields(int index) const {
  if (index < 0 || index >= FieldCount()) {
    throw EDatabaseError(Name + ": field index " + IntToStr(index) + " out of range");
  }
  return *fields_[static_cast<std::size_t>(index)];
}

TField* TDataSet::FindField(std::string_view name) const {
  for (const auto& f : fields_) {
    if (SameText(f->FieldName(), name)) return f.get();
  }
  return nullptr;
}

TField& TDataSet::FieldByName(std::string_view name) const {
  TField* f = FindField(name);
  if (f == nullptr) throw EDatabaseError(Name + ": Field '" + std::string(name) + "' not found");
  return *f;
}

const Variant& TDataSet::CurrentValue(int fieldIndex) const {
  static const Variant kNull = Variant::Null();
  if (state_ == TDataSetState::dsEdit) return editBuffer_[static_cast<std::size_t>(fieldIndex)];
  if (order_.empty()) return kNull;
  return rows_[order_[static_cast<std::size_t>(cursor_)]][static_cast<std::size_t>(fieldIndex)];
}

void TDataSet::SetCurrentValue(int fieldIndex, Variant value) {
  if (state_ != TDataSetState::dsEdit) {
    throw EDatabaseError(Name + ": Dataset not in edit or insert mode");
  }
  editBuffer_[static_cast<std::size_t>(fieldIndex)] = std::move(value);
  Notify();
}

void TDataSet::Edit() {
  if (!Active()) throw EDatabaseError(Name + ": Cannot perform this operation on a closed dataset");
  if (state_ == TDataSetState::dsEdit) return;
  if (order_.empty()) throw EDatabaseError(Name + ": Cannot modify an empty dataset");
  editBuffer_ = rows_[order_[static_cast<std::size_t>(cursor_)]];
  state_ = TDataSetState::dsEdit;
}

void TDataSet::Post() {
  if (state_ != TDataSetState::dsEdit) return;
  std::size_t row = order_[static_cast<std::size_t>(cursor_)];
  rows_[row] = std::move(editBuffer_);
  editBuffer_.clear();
  state_ = TDataSetState::dsBrowse;
  // A posted change may move the record within its index; the cursor follows the record.
  ApplyOrder();
  auto at = std::find(order_.begin(), order_.end(), row);
  cursor_ = static_cast<int>(at - order_.begin());
  Notify();
}

void TDataSet::Cancel() {
  if (state_ != TDataSetState::dsEdit) return;
  editBuffer_.clear();
  state_ = TDataSetState::dsBrowse;
  Notify();
}

bool TDataSet::Locate(std::string_view keyFields, const Variant& keyValues,
                      TLocateOptions options) {
  if (!Active()) return false;
  std::vector<int> columns;
  for (const std::string& name : SplitFieldList(keyFields))
    columns.push_back(FieldByName(name).Index());
  if (columns.empty()) return false;
  std::vector<Variant> keys;
  if (keyValues.IsArray()) {
    for (int i = keyValues.LowBound(); i <= keyValues.HighBound(); ++i)
      keys.push_back(keyValues[i]);
  } else {
    keys.push_back(keyValues);
  }
  if (keys.size() != columns.size()) {
    throw EDatabaseError(Name + ": Locate has " + IntToStr(static_cast<int>(keys.size())) +
                         " values for " + IntToStr(static_cast<int>(columns.size())) + " fields");
  }
  if (state_ == TDataSetState::dsEdit) Post();
  for (std::size_t pos = 0; pos < order_.size(); ++pos) {
    const auto& row = rows_[order_[pos]];
    bool all = true;
    for (std::size_t k = 0; k < columns.size() && all; ++k) {
      all = CellMatches(row[static_cast<std::size_t>(columns[k])], keys[k], options);
    }
    if (all) {
      cursor_ = static_cast<int>(pos);
      eof_ = bof_ = false;
      Notify();
      return true;
    }
  }
  return false;
}

void TDataSet::SetIndexFieldNames(std::string fields) {
  indexFieldNames_ = std::move(fields);
  indexName_.clear();
  if (Active()) {
    ApplyOrder();
    First();
  }
}

void TDataSet::SetIndexName(std::string name) {
  if (!name.empty()) {
    auto it = std::find_if(IndexDefs.begin(), IndexDefs.end(),
                           [&](const TIndexDef& d) { return SameText(d.Name, name); });
    if (it == IndexDefs.end()) throw EDatabaseError(Name + ": Index '" + name + "' not found");
  }
  indexName_ = std::move(name);
  indexFieldNames_.clear();
  if (Active()) {
    ApplyOrder();
    First();
  }
}

void TDataSet::ApplyOrder() {
  std::string list = indexFieldNames_;
  if (!indexName_.empty()) {
    for (const TIndexDef& d : IndexDefs) {
      if (SameText(d.Name, indexName_)) list = d.Fields;
    }
  }
  sortFields_.clear();
  for (const std::string& name : SplitFieldList(list))
    sortFields_.push_back(FieldByName(name).Index());
  order_.resize(rows_.size());
  for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = i;
  if (sortFields_.empty()) return;
  std::stable_sort(order_.begin(), order_.end(), [this](std::size_t a, std::size_t b) {
    for (int f : sortFields_) {
      int c = CompareCells(rows_[a][static_cast<std::size_t>(f)],
                           rows_[b][static_cast<std::size_t>(f)]);
      if (c != 0) return c < 0;
    }
    return false;
  });
}

void TDataSet::EnableControls() {
  if (disableCount_ > 0 && --disableCount_ == 0) Notify();
}

void TDataSet::Notify() {
  if (disableCount_ > 0) return;
  for (TDataSource* s : sources_) {
    if (s->Enabled && s->OnDataChange) s->OnDataChange(*s);
  }
}

void TDataSet::AttachSource(TDataSource* source) {
  sources_.push_back(source);
}

void TDataSet::DetachSource(TDataSource* source) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

TDataSource::~TDataSource() {
  SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet_ != nullptr) dataSet_->DetachSource(this);
  dataSet_ = dataSet;
  if (dataSet_ != nullptr) dataSet_->AttachSource(this);
}

}  // namespace nv
