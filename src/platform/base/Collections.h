// Collections: ordered lists of items of one class that the collection creates, owns
// and frees, in the class library's manner.
//
// An item joins a collection when it is constructed with it (the collection's Add and
// Insert do that through the item class) and leaves it when it is destroyed or moved to
// another collection. Changes reach the virtual `Update` (nullptr: all items changed)
// once no BeginUpdate bracket is open. Indexes outside the collection raise EListError
// "List index out of bounds (%d)".
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Types.h"

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
public:
  explicit TCollectionItem(TCollection* collection);
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Leaves the current collection (if any) for another one (or none).
  void SetCollection(TCollection* collection);
  // The position in the collection, -1 without one.
  int32_t Index() const;
  // Moves the item within its collection.
  virtual void SetIndex(int32_t index);
  // A number unique within the collection, given on joining it.
  int32_t ID() const { return FID; }
  // The class name unless a subclass names its items.
  virtual AnsiString DisplayName() const;
  TPersistent* GetOwner() const override;

protected:
  // Tells the collection (allItems: that every item changed).
  void Changed(bool allItems);

private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int32_t FID = 0;
};

// Makes an item of the collection's class inside the given collection and returns it.
using TCollectionItemClass = std::function<TCollectionItem*(TCollection& collection)>;

// The item class of T: items made with `new T(&collection)`, owned by the collection.
template <typename T>
TCollectionItemClass CollectionItemClassOf() {
  return [](TCollection& collection) -> TCollectionItem* {
    // The constructor joins the collection, which from then on frees the item.
    return std::make_unique<T>(&collection).release();
  };
}

class TCollection : public TPersistent {
public:
  explicit TCollection(TCollectionItemClass itemClass);
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;
  ~TCollection() override;

  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  TCollectionItem* Items(int32_t index) const;
  // Assigns value to the item at index.
  void SetItems(int32_t index, const TCollectionItem& value);
  const TCollectionItemClass& ItemClass() const { return FItemClass; }

  // A new item of the item class at the end / at index.
  TCollectionItem* Add();
  TCollectionItem* Insert(int32_t index);
  void Delete(int32_t index);
  void Clear();
  TCollectionItem* FindItemID(int32_t id) const;

  void BeginUpdate();
  void EndUpdate();
  int32_t UpdateCount() const { return FUpdateCount; }

  // From another collection: cleared, then one new item assigned from each source item.
  void Assign(const TPersistent& source) override;

protected:
  // Called with the changed item, or nullptr when the whole collection changed.
  virtual void Update(TCollectionItem* item);
  virtual void Notify(TCollectionItem* item, TCollectionNotification action);
  void Changed();

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void CheckIndex(int32_t index) const;

  TCollectionItemClass FItemClass;
  // Owned: an item frees itself out of this list.
  std::vector<TCollectionItem*> FItems;
  int32_t FUpdateCount = 0;
  int32_t FNextID = 0;
};

// A collection that names its owner (GetOwner), as collections held by components do.
class TOwnedCollection : public TCollection {
public:
  TOwnedCollection(TPersistent* owner, TCollectionItemClass itemClass)
      : TCollection(std::move(itemClass)), FOwner(owner) {}
  TPersistent* GetOwner() const override { return FOwner; }

private:
  TPersistent* FOwner;
};
