// Growable pointer lists in the class library's manner.
//
// `TList` refers to its items and never frees them; every addition and removal passes
// through the virtual `Notify`, where `TObjectList` frees the objects it owns. Indexes
// outside the list raise EListError "List index out of bounds (%d)".
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/Object.h"

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// Raises EListError "List index out of bounds (%d)" unless 0 <= index < count: the
// check of every indexed list, collection and table.
void CheckListIndex(int32_t index, int32_t count);

// Returns <0, 0 or >0 as item1 sorts before, with or after item2.
using TListSortCompare = int32_t (*)(void* item1, void* item2);

class TList : public TObject {
public:
  TList() = default;
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;
  ~TList() override;

  int32_t Count() const { return static_cast<int32_t>(FList.size()); }
  // Shrinking below Count removes the items at the end.
  void SetCount(int32_t newCount);
  int32_t Capacity() const { return FCapacity; }
  // Raises EListError "List capacity out of bounds (%d)" below Count.
  void SetCapacity(int32_t newCapacity);

  void* Get(int32_t index) const;
  void Put(int32_t index, void* item);
  void* Items(int32_t index) const { return Get(index); }
  void* First() const { return Get(0); }
  void* Last() const { return Get(Count() - 1); }
  // Direct access to the slots, for loops that have checked their bounds.
  void* const* List() const { return FList.data(); }

  int32_t Add(void* item);
  // index may be Count (appends).
  void Insert(int32_t index, void* item);
  void Delete(int32_t index);
  // Deletes the first slot holding item; its index, or -1 when absent.
  int32_t Remove(void* item);
  // Takes item out without it being freed by an owning list; nullptr when absent.
  void* Extract(void* item);
  int32_t IndexOf(const void* item) const;
  void Exchange(int32_t index1, int32_t index2);
  void Move(int32_t curIndex, int32_t newIndex);
  // Removes the nullptr slots.
  void Pack();
  virtual void Clear();
  // Quicksort as the class library does it (not stable).
  void Sort(TListSortCompare compare);

protected:
  // Subclasses that free in Notify clear the list in their own destructor, while
  // their override is still in place.
  virtual void Notify(void* item, TListNotification action);

private:
  void Grow();
  std::vector<void*> FList;
  int32_t FCapacity = 0;
};

// A list of objects that, while OwnsObjects is on (the default), frees each object when
// it is deleted, replaced, or the list is cleared or destroyed.
class TObjectList : public TList {
public:
  explicit TObjectList(bool ownsObjects = true) : FOwnsObjects(ownsObjects) {}
  ~TObjectList() override;

  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool value) { FOwnsObjects = value; }

  // Takes the object; the list frees it as long as it owns its objects.
  int32_t Add(std::unique_ptr<TObject> object) { return TList::Add(object.release()); }
  void Insert(int32_t index, std::unique_ptr<TObject> object) { TList::Insert(index, object.release()); }
  // The same for an object the caller has already handed over (or that a list that does
  // not own its objects only refers to).
  int32_t Add(TObject* object) { return TList::Add(object); }
  void Insert(int32_t index, TObject* object) { TList::Insert(index, object); }
  TObject* Items(int32_t index) const { return static_cast<TObject*>(Get(index)); }
  void SetItems(int32_t index, TObject* object) { Put(index, object); }
  int32_t IndexOf(const TObject* object) const { return TList::IndexOf(object); }
  int32_t Remove(TObject* object) { return TList::Remove(object); }
  TObject* Extract(TObject* object) { return static_cast<TObject*>(TList::Extract(object)); }
  TObject* First() const { return static_cast<TObject*>(TList::First()); }
  TObject* Last() const { return static_cast<TObject*>(TList::Last()); }

protected:
  void Notify(void* item, TListNotification action) override;

private:
  bool FOwnsObjects;
};
