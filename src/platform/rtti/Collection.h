#pragma once
// Collections: owned lists of items of one class (list columns, status panels), stored in
// form text as "< item ... end >".
#include <vector>

#include "platform/rtti/Classes.h"

namespace nv {

class TCollection;

class TCollectionItem : public TPersistent {
  NV_CLASS(TCollectionItem, TPersistent)
 public:
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return collection_; }
  void SetCollection(TCollection* collection);
  int Index() const;
  void SetIndex(int index);
  int ID() const { return id_; }
  virtual std::string DisplayName() const { return ClassName(); }
  // Items of one class copy their published properties.
  void Assign(const TPersistent& source) override;

 protected:
  // Tells the collection (and through it its owner) that this item, or all items, changed.
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

class TCollection : public TPersistent {
  NV_CLASS(TCollection, TPersistent)
 public:
  // itemClass must be a TCollectionItem class; owner is the object the collection belongs to.
  explicit TCollection(const TClassInfo& itemClass, TPersistent* owner = nullptr);
  ~TCollection() override;

  const TClassInfo& ItemClass() const { return itemClass_; }
  TPersistent* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int index) const;  // raises EListError when out of range
  template <class T>
  T& ItemAs(int index) const {
    return dynamic_cast<T&>(*Items(index));
  }
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  TCollectionItem* FindItemID(int id) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  void Assign(const TPersistent& source) override;

  // Called after an item (nullptr: everything) changed, unless updating. Owners hook in by
  // overriding Update, or through OnUpdate.
  virtual void Update(TCollectionItem* item);
  std::function<void(TCollectionItem*)> OnUpdate;

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void Changed();

  const TClassInfo& itemClass_;
  TPersistent* owner_;
  std::vector<TCollectionItem*> items_;
  int nextId_ = 0;
  int updateCount_ = 0;
};

}  // namespace nv
