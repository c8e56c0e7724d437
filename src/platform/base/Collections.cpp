#include "platform/base/Collections.h"

#include <algorithm>

#include "platform/base/Lists.h"

// --- TCollectionItem ---

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* collection) {
  if (FCollection == collection) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (collection) collection->InsertItem(this);
}

int32_t TCollectionItem::Index() const {
  if (!FCollection) return -1;
  const auto& items = FCollection->FItems;
  return static_cast<int32_t>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int32_t index) {
  const int32_t current = Index();
  if (current < 0 || current == index) return;
  FCollection->CheckIndex(index);
  auto& items = FCollection->FItems;
  items.erase(items.begin() + current);
  items.insert(items.begin() + index, this);
  Changed(true);
}

AnsiString TCollectionItem::DisplayName() const { return ClassName(); }

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

void TCollectionItem::Changed(bool allItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(allItems ? nullptr : this);
}

// --- TCollection ---

TCollection::TCollection(TCollectionItemClass itemClass) : FItemClass(std::move(itemClass)) {}

TCollection::~TCollection() {
  FUpdateCount = 1;  // no updates while dying
  Clear();
}

void TCollection::CheckIndex(int32_t index) const { CheckListIndex(index, Count()); }

TCollectionItem* TCollection::Items(int32_t index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)];
}

void TCollection::SetItems(int32_t index, const TCollectionItem& value) { Items(index)->Assign(value); }

TCollectionItem* TCollection::Add() { return FItemClass(*this); }

TCollectionItem* TCollection::Insert(int32_t index) {
  CheckListIndex(index, Count() + 1);
  TCollectionItem* item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Delete(int32_t index) {
  TCollectionItem* item = Items(index);
  Notify(item, cnDeleting);
  delete item;  // leaves the list in its destructor
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) delete FItems.back();
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int32_t id) const {
  for (TCollectionItem* item : FItems)
    if (item->FID == id) return item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (--FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TCollection*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  BeginUpdate();
  Clear();
  for (TCollectionItem* item : other->FItems) Add()->Assign(*item);
  EndUpdate();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::InsertItem(TCollectionItem* item) {
  FItems.push_back(item);
  item->FCollection = this;
  item->FID = FNextID++;
  Notify(item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  Notify(item, cnExtracting);
  std::erase(FItems, item);
  item->FCollection = nullptr;
  Changed();
}
