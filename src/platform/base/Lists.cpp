#include "platform/base/Lists.h"

#include <algorithm>

#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "platform/base/ListAlgorithms.h"

TList::~TList() { Clear(); }

void CheckListIndex(int32_t index, int32_t count) {
  if (index < 0 || index >= count) throw EListError(Format(SListIndexError, {index}));
}

void TList::Grow() {
  const int32_t delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
  SetCapacity(FCapacity + delta);
}

void TList::SetCapacity(int32_t newCapacity) {
  if (newCapacity < Count()) throw EListError(Format(SListCapacityError, {newCapacity}));
  if (newCapacity == FCapacity) return;
  if (newCapacity < static_cast<int32_t>(FList.capacity())) FList.shrink_to_fit();
  FList.reserve(static_cast<size_t>(newCapacity));
  FCapacity = newCapacity;
}

void TList::SetCount(int32_t newCount) {
  if (newCount < 0) throw EListError(Format(SListCountError, {newCount}));
  if (newCount > FCapacity) SetCapacity(newCount);
  if (newCount > Count())
    FList.resize(static_cast<size_t>(newCount), nullptr);
  else
    for (int32_t i = Count() - 1; i >= newCount; --i) Delete(i);
}

void* TList::Get(int32_t index) const {
  CheckListIndex(index, Count());
  return FList[static_cast<size_t>(index)];
}

void TList::Put(int32_t index, void* item) {
  CheckListIndex(index, Count());
  void*& slot = FList[static_cast<size_t>(index)];
  if (item == slot) return;
  void* old = slot;
  slot = item;
  if (old) Notify(old, lnDeleted);
  if (item) Notify(item, lnAdded);
}

int32_t TList::Add(void* item) {
  const int32_t index = Count();
  Insert(index, item);
  return index;
}

void TList::Insert(int32_t index, void* item) {
  CheckListIndex(index, Count() + 1);
  if (Count() == FCapacity) Grow();
  FList.insert(FList.begin() + index, item);
  if (item) Notify(item, lnAdded);
}

void TList::Delete(int32_t index) {
  CheckListIndex(index, Count());
  void* item = FList[static_cast<size_t>(index)];
  FList.erase(FList.begin() + index);
  if (item) Notify(item, lnDeleted);
}

int32_t TList::Remove(void* item) {
  const int32_t index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* item) {
  const int32_t index = IndexOf(item);
  if (index < 0) return nullptr;
  FList.erase(FList.begin() + index);
  Notify(item, lnExtracted);
  return item;
}

int32_t TList::IndexOf(const void* item) const {
  const auto found = std::find(FList.begin(), FList.end(), item);
  return found == FList.end() ? -1 : static_cast<int32_t>(found - FList.begin());
}

void TList::Exchange(int32_t index1, int32_t index2) {
  CheckListIndex(index1, Count());
  CheckListIndex(index2, Count());
  std::swap(FList[static_cast<size_t>(index1)], FList[static_cast<size_t>(index2)]);
}

void TList::Move(int32_t curIndex, int32_t newIndex) {
  if (curIndex == newIndex) return;
  CheckListIndex(newIndex, Count());
  void* item = Get(curIndex);
  FList.erase(FList.begin() + curIndex);
  FList.insert(FList.begin() + newIndex, item);
}

void TList::Pack() { std::erase(FList, nullptr); }

void TList::Clear() {
  SetCount(0);
  SetCapacity(0);
}

void TList::Sort(TListSortCompare compare) {
  if (Count() < 2) return;
  void** items = FList.data();
  IndexQuickSort(
      0, Count() - 1, [&](int32_t i, int32_t j) { return compare(items[i], items[j]); },
      [&](int32_t i, int32_t j) { std::swap(items[i], items[j]); });
}

void TList::Notify(void*, TListNotification) {}

// Cleared here, while this class's Notify (which frees) is still in place.
TObjectList::~TObjectList() { Clear(); }

void TObjectList::Notify(void* item, TListNotification action) {
  if (FOwnsObjects && action == lnDeleted) delete static_cast<TObject*>(item);
  TList::Notify(item, action);
}
