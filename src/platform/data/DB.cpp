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

TField* NewField(TFieldType type, TComponent* owner) {
  switch (type) {
    case TFieldType::ftInteger:
      return new TIntegerField(owner);
    case TFieldType::ftFloat:
      return new TFloatField(owner);
    case TFieldType::ftDate:
      return new TDateTimeField(owner);
    case TFieldType::ftMemo:
      return new TMemoField(owner);
    case TFieldType::ftBoolean:
      return new TBooleanField(owner);
    default:
      return new TStringField(owner);
  }
}
}  // namespace

// --- fields --------------------------------------------------------------------------------

NV_PUBLISH(TField) {
  b.Prop("DataSet", &TField::DataSet, &TField::SetDataSet);
  b.Prop("DisplayLabel", &TField::DisplayLabel, &TField::SetDisplayLabel)
      .Stored(&TField::IsDisplayLabelStored);
  b.Prop("FieldName", &TField::FieldName, &TField::SetFieldName);
  b.Prop("Size", &TField::Size, &TField::SetSize).Default(0);
  b.Prop("Visible", &TField::Visible, &TField::SetVisible).Default(true);
  b.Prop("OnChange", &TField::OnChange, &TField::OnChange);
  b.Prop("OnGetText", &TField::OnGetText, &TField::OnGetText);
  b.Prop("OnSetText", &TField::OnSetText, &TField::OnSetText);
}
NV_PUBLISH(TStringField) {}
NV_PUBLISH(TIntegerField) {}
NV_PUBLISH(TFloatField) {}
NV_PUBLISH(TDateTimeField) {}
NV_PUBLISH(TMemoField) {}
NV_PUBLISH(TBooleanField) {}

TField::TField(TComponent* owner) : TComponent(owner) {}

TField::~TField() {
  if (dataSet_ != nullptr) dataSet_->DetachField(this);
}

void TField::SetFieldName(const std::string& name) {
  if (name == desc_.name) return;
  if (dataSet_ != nullptr && dataSet_->Active())
    throw EDatabaseError(Name() + ": Cannot rename a field of an open dataset");
  desc_.name = name;
}

void TField::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_ != nullptr) dataSet_->DetachField(this);
  dataSet_ = dataSet;
  if (dataSet_ != nullptr) dataSet_->AttachField(this);
}

void TField::Bind(const TFieldDesc& desc, int index) {
  desc_.type = desc.type;
  if (desc_.size == 0) desc_.size = desc.size;
  index_ = index;
}

Variant TField::Value() const {
  if (dataSet_ == nullptr || index_ < 0) return Variant::Null();
  return dataSet_->CurrentValue(index_);
}

void TField::SetValue(Variant value) {
  if (dataSet_ == nullptr || index_ < 0)
    throw EDatabaseError(FieldName() + ": Field is not bound to an open dataset");
  dataSet_->SetCurrentValue(index_, std::move(value));
  OnChange(this);
}

bool TField::IsNull() const {
  Variant v = Value();
  return v.IsNull() || v.IsEmpty();
}

std::string TField::AsString() const {
  return VarToStr(Value());
}

int TField::AsInteger() const {
  Variant v = Value();
  return v.IsNull() ? 0 : v.AsInteger();
}

double TField::AsFloat() const {
  Variant v = Value();
  return v.IsNull() ? 0 : v.AsDouble();
}

std::string TField::GetText(bool displayText) const {
  std::string text = AsString();
  if (OnGetText) OnGetText(const_cast<TField*>(this), text, displayText);
  return text;
}

void TField::SetText(const std::string& text) {
  if (OnSetText) {
    OnSetText(this, text);
  } else {
    SetAsString(text);
  }
}

// --- index defs ----------------------------------------------------------------------------

NV_PUBLISH(TIndexDef) {
  b.Prop("Name", &TIndexDef::Name, &TIndexDef::Name);
  b.Prop("Fields", &TIndexDef::Fields, &TIndexDef::Fields);
}
NV_PUBLISH(TIndexDefs) {}

TIndexDef* TIndexDefs::Add(const std::string& name, const std::string& fields) {
  auto* def = static_cast<TIndexDef*>(TCollection::Add());
  def->Name = name;
  def->Fields = fields;
  return def;
}

TIndexDef* TIndexDefs::Find(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(ItemAs<TIndexDef>(i).Name, name)) return &ItemAs<TIndexDef>(i);
  }
  return nullptr;
}

// --- filters -------------------------------------------------------------------------------

struct TDataSet::TFilterTerm {
  std::string field;
  std::string op;
  Variant value;
  bool prefix = false;
};

namespace {
// "TD001='QC01' AND TD021>=3": a comparison is field, operator, quoted text or number.
class TFilterParser {
 public:
  TFilterParser(std::string_view text, std::string_view where) : text_(text), where_(where) {}

  template <class Term>
  std::vector<Term> Parse() {
    std::vector<Term> terms;
    SkipBlanks();
    while (at_ < text_.size()) {
      Term t;
      t.field = Identifier();
      t.op = Operator();
      t.value = Value(t.prefix);
      terms.push_back(std::move(t));
      SkipBlanks();
      if (at_ < text_.size() && !Keyword("AND")) Fail("expected AND");
    }
    return terms;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EDatabaseError(std::string(where_) + ": Filter '" + std::string(text_) + "': " + what +
                         " at position " + IntToStr(static_cast<int>(at_) + 1));
  }
  void SkipBlanks() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) ++at_;
  }
  static bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
  }
  bool Keyword(const char* word) {
    std::string_view w(word);
    if (text_.size() - at_ > w.size() && SameText(text_.substr(at_, w.size()), w) &&
        !IsNameChar(text_[at_ + w.size()])) {
      at_ += w.size();
      SkipBlanks();
      return true;
    }
    return false;
  }
  std::string Identifier() {
    std::size_t start = at_;
    while (at_ < text_.size() && IsNameChar(text_[at_])) ++at_;
    if (at_ == start) Fail("expected a field name");
    std::string name(text_.substr(start, at_ - start));
    SkipBlanks();
    return name;
  }
  std::string Operator() {
    for (const char* op : {"<>", "<=", ">=", "=", "<", ">"}) {
      std::string_view o(op);
      if (text_.substr(at_, o.size()) == o) {
        at_ += o.size();
        SkipBlanks();
        return std::string(o);
      }
    }
    Fail("expected = <> < > <= or >=");
  }
  Variant Value(bool& prefix) {
    if (at_ < text_.size() && text_[at_] == '\'') return Quoted(prefix);
    std::size_t start = at_;
    while (at_ < text_.size() &&
           (IsNameChar(text_[at_]) || text_[at_] == '.' || text_[at_] == '-' || text_[at_] == '+'))
      ++at_;
    double number = 0;
    if (at_ == start || !TryStrToFloat(std::string(text_.substr(start, at_ - start)), number)) {
      at_ = start;
      Fail("expected a quoted text or a number");
    }
    return Variant(number);
  }
  Variant Quoted(bool& prefix) {
    std::string value;
    ++at_;
    for (;;) {
      if (at_ >= text_.size()) Fail("the quoted text is not closed");
      char c = text_[at_++];
      if (c == '\'') {
        if (at_ < text_.size() && text_[at_] == '\'') {
          value.push_back(c);
          ++at_;
          continue;
        }
        break;
      }
      value.push_back(c);
    }
    if (!value.empty() && value.back() == '*') {
      prefix = true;
      value.pop_back();
    }
    return Variant(value);
  }

  std::string_view text_;
  std::string_view where_;
  std::size_t at_ = 0;
};

bool TermHolds(const Variant& cell, const std::string& op, const Variant& value, bool prefix) {
  if (cell.IsNull() || cell.IsEmpty()) return false;  // as in SQL, Null meets no comparison
  if (prefix) {
    bool starts = VarToStr(cell).rfind(VarToStr(value), 0) == 0;
    return op == "<>" ? !starts : starts;
  }
  int c = CompareCells(cell, value);
  if (op == "=") return c == 0;
  if (op == "<>") return c != 0;
  if (op == "<") return c < 0;
  if (op == ">") return c > 0;
  if (op == "<=") return c <= 0;
  return c >= 0;
}
}  // namespace

// --- data sets -----------------------------------------------------------------------------

NV_PUBLISH(TDataSet) {
  b.Prop("Active", &TDataSet::Active, &TDataSet::SetActive).Default(false);
  b.Prop("Filter", &TDataSet::Filter, &TDataSet::SetFilter);
  b.Prop("Filtered", &TDataSet::Filtered, &TDataSet::SetFiltered).Default(false);
  b.Prop("IndexDefs", &TDataSet::IndexDefs, &TDataSet::SetIndexDefs);
  b.Prop("IndexFieldNames", &TDataSet::IndexFieldNames, &TDataSet::SetIndexFieldNames);
  b.Prop("IndexName", &TDataSet::IndexName, &TDataSet::SetIndexName);
  b.Prop("AfterClose", &TDataSet::AfterClose, &TDataSet::AfterClose);
  b.Prop("AfterOpen", &TDataSet::AfterOpen, &TDataSet::AfterOpen);
  b.Prop("AfterPost", &TDataSet::AfterPost, &TDataSet::AfterPost);
  b.Prop("AfterScroll", &TDataSet::AfterScroll, &TDataSet::AfterScroll);
  b.Prop("BeforeClose", &TDataSet::BeforeClose, &TDataSet::BeforeClose);
  b.Prop("BeforeOpen", &TDataSet::BeforeOpen, &TDataSet::BeforeOpen);
  b.Prop("BeforePost", &TDataSet::BeforePost, &TDataSet::BeforePost);
  b.Prop("OnFilterRecord", &TDataSet::OnFilterRecord, &TDataSet::OnFilterRecord);
}

TDataSet::TDataSet(TComponent* owner)
    : TComponent(owner), indexDefs_(std::make_unique<TIndexDefs>(this)) {}

TDataSet::~TDataSet() {
  for (TDataSource* s : sources_) s->dataSet_ = nullptr;
  for (TField* f : declaredFields_) f->ForgetDataSet();
  // Fields of the columns are owned here; they go with the other owned components.
  DestroyComponents();
}

std::string TDataSet::Where() const {
  return Name();
}

void TDataSet::SetActive(bool active) {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) {
    openWhenLoaded_ = active;
    return;
  }
  active ? Open() : Close();
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (openWhenLoaded_) {
    openWhenLoaded_ = false;
    Open();
  }
}

void TDataSet::Open() {
  if (!Active()) throw EDatabaseError(Where() + ": no records to open");
}

void TDataSet::OpenWith(DataPacket packet) {
  OpenWith(TPacketRows(EncodeDataPacket(packet)));
}

void TDataSet::OpenWith(TPacketRows rows) {
  Close();
  BeforeOpen(this);
  store_ = std::move(rows);
  edited_.clear();
  currentRow_ = SIZE_MAX;
  BindFields();
  state_ = TDataSetState::dsBrowse;
  ApplyOrder();
  MoveTo(0, false);
  bof_ = true;
  AfterOpen(this);
}

// Declared fields take their columns by name; without any, one field per column.
void TDataSet::BindFields() {
  const std::vector<TFieldDesc>& columns = store_.Fields();
  if (!declaredFields_.empty()) {
    fields_ = declaredFields_;
    for (TField* f : fields_) {
      auto at = std::find_if(columns.begin(), columns.end(),
                             [&](const TFieldDesc& c) { return SameText(c.name, f->FieldName()); });
      if (at == columns.end()) {
        throw EDatabaseError(Where() + ": Field '" + f->FieldName() + "' not found");
      }
      f->Bind(*at, static_cast<int>(at - columns.begin()));
    }
    return;
  }
  DropColumnFields();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    TField* f = NewField(columns[i].type, this);
    f->SetFieldName(columns[i].name);
    f->Bind(columns[i], static_cast<int>(i));
    f->SetDataSet(this);
    fields_.push_back(f);
  }
}

void TDataSet::Close() {
  if (!Active()) return;
  BeforeClose(this);
  state_ = TDataSetState::dsInactive;
  store_ = TPacketRows();
  edited_.clear();
  order_.clear();
  editBuffer_.clear();
  current_.clear();
  currentRow_ = SIZE_MAX;
  cursor_ = 0;
  eof_ = bof_ = true;
  Notify();
  AfterClose(this);
}

std::size_t TDataSet::RecordMemoryBytes() const {
  std::size_t bytes = store_.MemoryBytes() + order_.capacity() * sizeof(std::size_t);
  for (const auto& [row, cells] : edited_) bytes += cells.size() * sizeof(Variant);
  return bytes;
}

int TDataSet::RecordCount() const {
  if (!Active())
    throw EDatabaseError(Where() + ": Cannot perform this operation on a closed dataset");
  return static_cast<int>(order_.size());
}

void TDataSet::MoveTo(int cursor, bool scrolled) {
  cursor_ = cursor;
  eof_ = order_.empty();
  bof_ = order_.empty();
  Notify();
  if (scrolled) AfterScroll(this);
}

void TDataSet::First() {
  if (state_ == TDataSetState::dsEdit) Post();
  MoveTo(0, true);
  bof_ = true;
}

void TDataSet::Last() {
  if (state_ == TDataSetState::dsEdit) Post();
  MoveTo(order_.empty() ? 0 : static_cast<int>(order_.size()) - 1, true);
  eof_ = true;
}

void TDataSet::Next() {
  if (state_ == TDataSetState::dsEdit) Post();
  bof_ = false;
  if (cursor_ + 1 < static_cast<int>(order_.size())) {
    MoveTo(cursor_ + 1, true);
  } else {
    eof_ = true;
  }
}

void TDataSet::Prior() {
  if (state_ == TDataSetState::dsEdit) Post();
  eof_ = false;
  if (cursor_ > 0) {
    MoveTo(cursor_ - 1, true);
  } else {
    bof_ = true;
  }
}

TField& TDataSet::Fields(int index) const {
  if (index < 0 || index >= FieldCount()) {
    throw EDatabaseError(Where() + ": field index " + IntToStr(index) + " out of range");
  }
  return *fields_[static_cast<std::size_t>(index)];
}

TField* TDataSet::FindField(std::string_view name) const {
  for (TField* f : fields_) {
    if (SameText(f->FieldName(), name)) return f;
  }
  return nullptr;
}

TField& TDataSet::FieldByName(std::string_view name) const {
  TField* f = FindField(name);
  if (f == nullptr) throw EDatabaseError(Where() + ": Field '" + std::string(name) + "' not found");
  return *f;
}

void TDataSet::AttachField(TField* field) {
  if (Active()) throw EDatabaseError(Where() + ": Cannot add a field to an open dataset");
  if (field->Owner() == this) return;  // a field of the columns
  if (declaredFields_.empty()) DropColumnFields();
  declaredFields_.push_back(field);
  fields_ = declaredFields_;
}

void TDataSet::DropColumnFields() {
  std::vector<TField*> old = std::move(fields_);
  fields_.clear();
  for (TField* f : old) {
    f->ForgetDataSet();
    delete f;
  }
}

void TDataSet::DetachField(TField* field) {
  declaredFields_.erase(std::remove(declaredFields_.begin(), declaredFields_.end(), field),
                        declaredFields_.end());
  fields_.erase(std::remove(fields_.begin(), fields_.end(), field), fields_.end());
  field->Unbind();
}

Variant TDataSet::CellOf(std::size_t row, int column) const {
  auto edited = edited_.find(row);
  if (edited != edited_.end()) return edited->second[static_cast<std::size_t>(column)];
  return store_.Cell(row, static_cast<std::size_t>(column));
}

const Variant& TDataSet::CurrentValue(int fieldIndex) const {
  static const Variant kNull = Variant::Null();
  if (state_ == TDataSetState::dsEdit) return editBuffer_[static_cast<std::size_t>(fieldIndex)];
  std::size_t row = filterRow_;
  if (row == SIZE_MAX) {
    if (order_.empty()) return kNull;
    row = order_[static_cast<std::size_t>(cursor_)];
  }
  // Only the cells a caller reads are decoded: a report walking 100,000 records reads a few
  // of their columns.
  auto column = static_cast<std::size_t>(fieldIndex);
  if (row != currentRow_) {
    auto edited = edited_.find(row);
    if (edited != edited_.end()) {
      current_ = edited->second;
      currentStarts_.clear();
    } else {
      store_.CellStarts(row, currentStarts_);
      current_.assign(currentStarts_.size(), Variant());
      decoded_.assign(currentStarts_.size(), 0);
    }
    currentRow_ = row;
  }
  if (!currentStarts_.empty() && decoded_[column] == 0) {
    current_[column] = store_.CellAt(currentStarts_[column]);
    decoded_[column] = 1;
  }
  return current_[column];
}

void TDataSet::SetCurrentValue(int fieldIndex, Variant value) {
  if (state_ != TDataSetState::dsEdit) {
    throw EDatabaseError(Where() + ": Dataset not in edit or insert mode");
  }
  editBuffer_[static_cast<std::size_t>(fieldIndex)] = std::move(value);
  TField* changed = nullptr;
  for (TField* f : fields_) {
    if (f->Index() == fieldIndex) changed = f;
  }
  Notify(changed);
}

void TDataSet::Edit() {
  if (!Active())
    throw EDatabaseError(Where() + ": Cannot perform this operation on a closed dataset");
  if (state_ == TDataSetState::dsEdit) return;
  if (order_.empty()) throw EDatabaseError(Where() + ": Cannot modify an empty dataset");
  std::vector<Variant> row;
  std::size_t at = order_[static_cast<std::size_t>(cursor_)];
  auto edited = edited_.find(at);
  if (edited != edited_.end()) {
    row = edited->second;
  } else {
    store_.ReadRow(at, row);
  }
  editBuffer_ = std::move(row);
  state_ = TDataSetState::dsEdit;
}

void TDataSet::Post() {
  if (state_ != TDataSetState::dsEdit) return;
  BeforePost(this);
  std::size_t row = order_[static_cast<std::size_t>(cursor_)];
  edited_[row] = std::move(editBuffer_);
  editBuffer_.clear();
  currentRow_ = SIZE_MAX;
  state_ = TDataSetState::dsBrowse;
  // A posted change may move the record within its index; the cursor follows the record.
  ApplyOrder();
  auto at = std::find(order_.begin(), order_.end(), row);
  cursor_ = at == order_.end() ? 0 : static_cast<int>(at - order_.begin());
  if (at == order_.end()) eof_ = bof_ = order_.empty();
  Notify();
  AfterPost(this);
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
    throw EDatabaseError(Where() + ": Locate has " + IntToStr(static_cast<int>(keys.size())) +
                         " values for " + IntToStr(static_cast<int>(columns.size())) + " fields");
  }
  if (state_ == TDataSetState::dsEdit) Post();
  for (std::size_t pos = 0; pos < order_.size(); ++pos) {
    bool all = true;
    for (std::size_t k = 0; k < columns.size() && all; ++k) {
      all = CellMatches(CellOf(order_[pos], columns[k]), keys[k], options);
    }
    if (all) {
      MoveTo(static_cast<int>(pos), true);
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
  if (!name.empty() && !ComponentState().Contains(csReading) && indexDefs_->Find(name) == nullptr)
    throw EDatabaseError(Where() + ": Index '" + name + "' not found");
  indexName_ = std::move(name);
  indexFieldNames_.clear();
  if (Active()) {
    ApplyOrder();
    First();
  }
}

void TDataSet::SetFilter(const std::string& filter) {
  if (filter == filter_) return;
  filterTerms_ = TFilterParser(filter, Where()).Parse<TFilterTerm>();
  filter_ = filter;
  if (Active() && filtered_) {
    ApplyOrder();
    First();
  }
}

void TDataSet::SetFiltered(bool filtered) {
  if (filtered == filtered_) return;
  filtered_ = filtered;
  if (Active()) {
    ApplyOrder();
    First();
  }
}

bool TDataSet::PassesFilter(std::size_t row) {
  for (const TFilterTerm& t : filterTerms_) {
    if (!TermHolds(CellOf(row, FieldByName(t.field).Index()), t.op, t.value, t.prefix))
      return false;
  }
  if (!OnFilterRecord) return true;
  bool accept = true;
  filterRow_ = row;
  try {
    OnFilterRecord(this, accept);
  } catch (...) {
    filterRow_ = SIZE_MAX;
    throw;
  }
  filterRow_ = SIZE_MAX;
  return accept;
}

void TDataSet::ApplyOrder() {
  std::string list = indexFieldNames_;
  if (!indexName_.empty()) {
    if (TIndexDef* d = indexDefs_->Find(indexName_)) list = d->Fields;
  }
  sortFields_.clear();
  for (const std::string& name : SplitFieldList(list))
    sortFields_.push_back(FieldByName(name).Index());
  order_.clear();
  order_.reserve(store_.RowCount());
  for (std::size_t i = 0; i < store_.RowCount(); ++i) {
    if (!filtered_ || PassesFilter(i)) order_.push_back(i);
  }
  if (sortFields_.empty()) return;
  // The keys are read once, not at every comparison.
  std::vector<std::vector<Variant>> keys(store_.RowCount());
  for (std::size_t row : order_) {
    for (int f : sortFields_) keys[row].push_back(CellOf(row, f));
  }
  std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
    for (std::size_t k = 0; k < sortFields_.size(); ++k) {
      int c = CompareCells(keys[a][k], keys[b][k]);
      if (c != 0) return c < 0;
    }
    return false;
  });
}

void TDataSet::EnableControls() {
  if (disableCount_ > 0 && --disableCount_ == 0) Notify();
}

void TDataSet::Notify(TField* field) {
  if (disableCount_ > 0) return;
  for (TDataSource* s : sources_) {
    if (s->Enabled()) s->OnDataChange(s, field);
  }
}

void TDataSet::AttachSource(TDataSource* source) {
  sources_.push_back(source);
}

void TDataSet::DetachSource(TDataSource* source) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

// --- data sources --------------------------------------------------------------------------

NV_PUBLISH(TDataSource) {
  b.Prop("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
  b.Prop("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled).Default(true);
  b.Prop("OnDataChange", &TDataSource::OnDataChange, &TDataSource::OnDataChange);
}

TDataSource::~TDataSource() {
  SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_ != nullptr) dataSet_->DetachSource(this);
  dataSet_ = dataSet;
  if (dataSet_ != nullptr) {
    dataSet_->AttachSource(this);
    dataSet_->FreeNotification(this);
  }
}

void TDataSource::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == dataSet_) dataSet_ = nullptr;
}

}  // namespace nv
