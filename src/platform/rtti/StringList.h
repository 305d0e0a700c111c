#pragma once
// String lists: lines with attached objects, name=value access, Text and CommaText.
// TStrings is the interface controls expose (Items, Lines); TStringList stores the lines.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rtti/Classes.h"

namespace nv {

NV_ENUM(TDuplicates, dupIgnore, dupAccept, dupError)

class TStrings : public TPersistent {
  NV_CLASS(TStrings, TPersistent)
 public:
  TStrings() = default;

  // Storage, supplied by descendants.
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& text);
  virtual TObject* GetObject(int index) const { return nullptr; }
  virtual void PutObject(int index, TObject* object) {}
  virtual void Insert(int index, const std::string& text) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  std::string operator[](int index) const { return Get(index); }
  std::string Strings(int index) const { return Get(index); }
  TObject* Objects(int index) const { return GetObject(index); }
  virtual int Add(const std::string& text);
  int AddObject(const std::string& text, TObject* object);
  void InsertObject(int index, const std::string& text, TObject* object);
  void AddStrings(const TStrings& strings);
  void Exchange(int a, int b);
  void Move(int from, int to);
  bool Equals(const TStrings& other) const;
  virtual int IndexOf(std::string_view text) const;  // letter case ignored unless CaseSensitive
  int IndexOfName(std::string_view name) const;
  int IndexOfObject(const TObject* object) const;

  // name=value lines.
  std::string Names(int index) const;
  std::string ValueFromIndex(int index) const;
  std::string Values(std::string_view name) const;
  // An empty value removes the line, as the platform does.
  void SetValue(std::string_view name, const std::string& value);
  char NameValueSeparator() const { return nameValueSeparator_; }
  void SetNameValueSeparator(char c) { nameValueSeparator_ = c; }

  // Lines joined by CR LF, each line ended; setting splits at CR LF, CR or LF.
  std::string Text() const;
  virtual void SetText(std::string_view text);
  // Quoted where needed ("a b","c""d"); setting splits at the delimiter and at blanks.
  std::string CommaText() const;
  void SetCommaText(std::string_view text);
  std::string DelimitedText() const;
  void SetDelimitedText(std::string_view text);
  char Delimiter() const { return delimiter_; }
  void SetDelimiter(char c) { delimiter_ = c; }
  char QuoteChar() const { return quoteChar_; }
  void SetQuoteChar(char c) { quoteChar_ = c; }
  bool CaseSensitive() const { return caseSensitive_; }
  virtual void SetCaseSensitive(bool value) { caseSensitive_ = value; }

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  void Assign(const TPersistent& source) override;
  // The lines are stored as "Strings = ( 'a' 'b' )".
  void DefineProperties(TFiler& filer) override;

 protected:
  virtual void SetUpdateState(bool updating) {}
  int CompareStrings(std::string_view a, std::string_view b) const;
  void CheckIndex(int index, int count) const;

 private:
  int updateCount_ = 0;
  char delimiter_ = ',';
  char quoteChar_ = '"';
  char nameValueSeparator_ = '=';
  bool caseSensitive_ = false;
};

class TStringList : public TStrings {
  NV_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;
  // With ownsObjects the list frees the attached objects when lines go.
  explicit TStringList(bool ownsObjects) : ownsObjects_(ownsObjects) {}
  ~TStringList() override;

  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& text) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const std::string& text) override;
  void Delete(int index) override;
  void Clear() override;
  int Add(const std::string& text) override;
  int IndexOf(std::string_view text) const override;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates d) { duplicates_ = d; }
  void SetCaseSensitive(bool value) override;
  // Binary search of a sorted list: true when found; index is where it is or would go.
  bool Find(std::string_view text, int& index) const;
  virtual void Sort();
  void CustomSort(const std::function<int(const TStringList&, int, int)>& compare);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool updating) override;
  virtual void Changed();
  virtual void Changing();

 private:
  struct Item {
    std::string Text;
    TObject* Object = nullptr;
  };
  void InsertItem(int index, const std::string& text, TObject* object);

  std::vector<Item> items_;
  bool sorted_ = false;
  bool ownsObjects_ = false;
  TDuplicates duplicates_ = dupIgnore;
};

}  // namespace nv
