#include "platform/rtti/Collection.h"

#include <algorithm>

namespace nv {

NV_PUBLISH(TCollectionItem) {}
NV_PUBLISH(TCollection) {}

TCollectionItem::TCollectionItem(TCollection* collection) {
  SetCollection(collection);
}

TCollectionItem::~TCollectionItem() {
  SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection == collection_) return;
  if (collection_) collection_->RemoveItem(this);
  if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  auto& items = collection_->items_;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
  int current = Index();
  if (current < 0 || index == current) return;
  auto& items = collection_->items_;
  index = std::clamp(index, 0, static_cast<int>(items.size()) - 1);
  items.erase(items.begin() + current);
  items.insert(items.begin() + index, this);
  Changed(true);
}

void TCollectionItem::Assign(const TPersistent& source) {
  if (dynamic_cast<const TCollectionItem*>(&source) && InheritsFrom(source.ClassInfo())) {
    AssignPublished(*this, source);
    return;
  }
  TPersistent::Assign(source);
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_ && collection_->updateCount_ == 0) collection_->Update(allItems ? nullptr : this);
}

TCollection::TCollection(const TClassInfo& itemClass, TPersistent* owner)
    : itemClass_(itemClass), owner_(owner) {
  if (!itemClass.InheritsFrom(TCollectionItem::StaticClassInfo()))
    throw Exception("Collection items must be collection items, not " + itemClass.ClassName());
}

TCollection::~TCollection() {
  updateCount_ = 1;  // no change notices while going away
  Clear();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() {
  return itemClass_.CreateCollectionItem(this);
}

TCollectionItem* TCollection::Insert(int index) {
  TCollectionItem* item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Delete(int index) {
  delete Items(index);
}

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) delete items_.back();
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (TCollectionItem* item : items_)
    if (item->id_ == id) return item;
  return nullptr;
}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.push_back(item);
  item->collection_ = this;
  item->id_ = nextId_++;
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  std::erase(items_, item);
  item->collection_ = nullptr;
  Changed();
}

void TCollection::BeginUpdate() {
  ++updateCount_;
}

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem* item) {
  if (OnUpdate) OnUpdate(item);
}

void TCollection::Assign(const TPersistent& source) {
  auto* other = dynamic_cast<const TCollection*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  Clear();
  for (TCollectionItem* item : other->items_) Add()->Assign(*item);
  EndUpdate();
}

}  // namespace nv
