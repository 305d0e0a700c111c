#include "platform/rtti/StringList.h"

#include <algorithm>

namespace nv {

NV_PUBLISH(TStrings) {}
NV_PUBLISH(TStringList) {}

void TStrings::CheckIndex(int index, int count) const {
  if (index < 0 || index >= count)
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const {
  if (caseSensitive_) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
  return CompareText(a, b);
}

void TStrings::Put(int index, const std::string& text) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, text, object);
}

int TStrings::Add(const std::string& text) {
  int index = Count();
  Insert(index, text);
  return index;
}

int TStrings::AddObject(const std::string& text, TObject* object) {
  int index = Add(text);
  PutObject(index, object);
  return index;
}

void TStrings::InsertObject(int index, const std::string& text, TObject* object) {
  Insert(index, text);
  PutObject(index, object);
}

void TStrings::AddStrings(const TStrings& strings) {
  BeginUpdate();
  for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
  EndUpdate();
}

void TStrings::Exchange(int a, int b) {
  CheckIndex(a, Count());
  CheckIndex(b, Count());
  std::string textA = Get(a);
  TObject* objectA = GetObject(a);
  Put(a, Get(b));
  PutObject(a, GetObject(b));
  Put(b, textA);
  PutObject(b, objectA);
}

void TStrings::Move(int from, int to) {
  if (from == to) return;
  CheckIndex(from, Count());
  std::string text = Get(from);
  TObject* object = GetObject(from);
  BeginUpdate();
  Delete(from);
  InsertObject(to, text, object);
  EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

int TStrings::IndexOf(std::string_view text) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Get(i), text) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string line = Get(i);
    size_t sep = line.find(nameValueSeparator_);
    if (sep != std::string::npos &&
        CompareStrings(std::string_view(line).substr(0, sep), name) == 0)
      return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

std::string TStrings::Names(int index) const {
  std::string line = Get(index);
  size_t sep = line.find(nameValueSeparator_);
  return sep == std::string::npos ? std::string() : line.substr(0, sep);
}

std::string TStrings::ValueFromIndex(int index) const {
  std::string line = Get(index);
  size_t sep = line.find(nameValueSeparator_);
  return sep == std::string::npos ? std::string() : line.substr(sep + 1);
}

std::string TStrings::Values(std::string_view name) const {
  int index = IndexOfName(name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValue(std::string_view name, const std::string& value) {
  int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  std::string line = std::string(name) + nameValueSeparator_ + value;
  if (index < 0)
    Add(line);
  else
    Put(index, line);
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  Clear();
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      Add(std::string(text.substr(pos)));
      break;
    }
    Add(std::string(text.substr(pos, end - pos)));
    pos = end + 1;
    if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
  }
  EndUpdate();
}

std::string TStrings::DelimitedText() const {
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    bool quote = s.empty() && Count() == 1;
    for (char c : s)
      if (static_cast<unsigned char>(c) <= ' ' || c == delimiter_ || c == quoteChar_) quote = true;
    if (i > 0) out += delimiter_;
    if (!quote) {
      out += s;
      continue;
    }
    out += quoteChar_;
    for (char c : s) {
      out += c;
      if (c == quoteChar_) out += c;
    }
    out += quoteChar_;
  }
  return out;
}

void TStrings::SetDelimitedText(std::string_view text) {
  BeginUpdate();
  Clear();
  size_t p = 0;
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' ' && c != '\0'; };
  while (p < text.size() && blank(text[p])) ++p;
  while (p < text.size()) {
    std::string item;
    if (text[p] == quoteChar_) {
      ++p;
      while (p < text.size()) {
        if (text[p] == quoteChar_) {
          if (p + 1 < text.size() && text[p + 1] == quoteChar_) {
            item += quoteChar_;
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += text[p++];
      }
    } else {
      while (p < text.size() && text[p] != delimiter_ && !blank(text[p])) item += text[p++];
    }
    Add(item);
    while (p < text.size() && blank(text[p])) ++p;
    if (p < text.size() && text[p] == delimiter_) {
      ++p;
      // A delimiter at the very end stands for one more empty item.
      if (p == text.size()) Add("");
      while (p < text.size() && blank(text[p])) ++p;
    }
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  // CommaText always uses the platform's comma and double quote.
  if (delimiter_ == ',' && quoteChar_ == '"') return DelimitedText();
  auto& self = const_cast<TStrings&>(*this);
  char d = delimiter_, q = quoteChar_;
  self.delimiter_ = ',';
  self.quoteChar_ = '"';
  std::string text = DelimitedText();
  self.delimiter_ = d;
  self.quoteChar_ = q;
  return text;
}

void TStrings::SetCommaText(std::string_view text) {
  char d = delimiter_, q = quoteChar_;
  delimiter_ = ',';
  quoteChar_ = '"';
  SetDelimitedText(text);
  delimiter_ = d;
  quoteChar_ = q;
}

void TStrings::BeginUpdate() {
  // The state change is announced before counting, so OnChanging still fires once.
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent& source) {
  if (auto* strings = dynamic_cast<const TStrings*>(&source)) {
    if (strings == this) return;
    BeginUpdate();
    Clear();
    AddStrings(*strings);
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TStrings::DefineProperties(TFiler& filer) {
  auto* ancestor = dynamic_cast<const TStrings*>(filer.Ancestor());
  bool hasData = ancestor ? !Equals(*ancestor) : Count() > 0;
  filer.DefineProperty(
      "Strings",
      [this](const TFormValue& v) {
        if (v.Type != vaList)
          throw EReadError(std::string("expected a list of strings, found ") +
                           ValueTypeName(v.Type));
        BeginUpdate();
        Clear();
        for (const TFormValue& item : v.List) {
          if (item.Type != vaString && item.Type != vaIdent)
            throw EReadError(std::string("expected a string, found ") + ValueTypeName(item.Type));
          Add(item.Text);
        }
        EndUpdate();
      },
      [this] {
        TFormValue v;
        v.Type = vaList;
        for (int i = 0; i < Count(); ++i) v.List.push_back(TFormValue::OfString(Get(i)));
        return v;
      },
      hasData);
}

// ---------------------------------------------------------------------------------------

TStringList::~TStringList() {
  if (ownsObjects_)
    for (Item& item : items_) delete item.Object;
}

std::string TStringList::Get(int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)].Text;
}

void TStringList::Put(int index, const std::string& text) {
  if (sorted_) throw EListError("Operation not allowed on sorted list");
  CheckIndex(index, Count());
  if (items_[static_cast<size_t>(index)].Text == text) return;
  Changing();
  items_[static_cast<size_t>(index)].Text = text;
  Changed();
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)].Object;
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index, Count());
  Item& item = items_[static_cast<size_t>(index)];
  if (item.Object == object) return;
  Changing();
  if (ownsObjects_) delete item.Object;
  item.Object = object;
  Changed();
}

void TStringList::Insert(int index, const std::string& text) {
  if (sorted_) throw EListError("Operation not allowed on sorted list");
  if (index < 0 || index > Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  InsertItem(index, text, nullptr);
}

void TStringList::InsertItem(int index, const std::string& text, TObject* object) {
  Changing();
  items_.insert(items_.begin() + index, Item{text, object});
  Changed();
}

int TStringList::Add(const std::string& text) {
  if (!sorted_) {
    InsertItem(Count(), text, nullptr);
    return Count() - 1;
  }
  int index = 0;
  if (Find(text, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EListError("String list does not allow duplicates");
  }
  InsertItem(index, text, nullptr);
  return index;
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count());
  Changing();
  if (ownsObjects_) delete items_[static_cast<size_t>(index)].Object;
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  if (ownsObjects_)
    for (Item& item : items_) delete item.Object;
  items_.clear();
  Changed();
}

int TStringList::IndexOf(std::string_view text) const {
  if (!sorted_) return TStrings::IndexOf(text);
  int index = 0;
  return Find(text, index) ? index : -1;
}

bool TStringList::Find(std::string_view text, int& index) const {
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareStrings(items_[static_cast<size_t>(mid)].Text, text);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != dupAccept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool value) {
  if (value == CaseSensitive()) return;
  TStrings::SetCaseSensitive(value);
  if (sorted_) Sort();
}

void TStringList::Sort() {
  CustomSort([](const TStringList& list, int a, int b) {
    return list.CompareStrings(list.items_[static_cast<size_t>(a)].Text,
                               list.items_[static_cast<size_t>(b)].Text);
  });
}

void TStringList::CustomSort(const std::function<int(const TStringList&, int, int)>& compare) {
  if (Count() < 2) return;
  Changing();
  // Sort an index permutation so that the comparison sees the list as it was.
  std::vector<int> order(items_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return compare(*this, a, b) < 0; });
  std::vector<Item> sorted;
  sorted.reserve(items_.size());
  for (int i : order) sorted.push_back(std::move(items_[static_cast<size_t>(i)]));
  items_ = std::move(sorted);
  Changed();
}

void TStringList::SetUpdateState(bool updating) {
  if (updating)
    Changing();
  else
    Changed();
}

void TStringList::Changing() {
  if (UpdateCount() == 0) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0) OnChange(this);
}

}  // namespace nv
