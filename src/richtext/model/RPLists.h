// The engine's small shared containers: an owning object list, a list of 32-bit
// integers (style-usage maps) and a list of colours (the RTF colour table).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/Lists.h"
#include "platform/graphics/Colors.h"

// An object list that owns every object it holds: Delete and Clear free them, Detach
// hands one back to the caller. The engine's lists of rows, parts and painters derive
// from it.
class TRPList : public TList {
public:
  TRPList() = default;
  ~TRPList() override;

  int32_t Add(std::unique_ptr<TObject> object) { return TList::Add(object.release()); }
  void Insert(int32_t index, std::unique_ptr<TObject> object) { TList::Insert(index, object.release()); }
  TObject* Items(int32_t index) const { return static_cast<TObject*>(Get(index)); }

  // Frees the object in every slot, in index order, then empties the list.
  void Clear() override;
  // Removes the slot without freeing its object; the caller takes it over.
  std::unique_ptr<TObject> Detach(int32_t index);

protected:
  // Frees what a deletion or a replacement removes.
  void Notify(void* item, TListNotification action) override;

private:
  bool FClearing = false;
};

// A list of 32-bit signed integers.
class TRPIntegerList {
public:
  TRPIntegerList() = default;
  virtual ~TRPIntegerList() = default;
  TRPIntegerList(const TRPIntegerList& source) { Assign(source); }
  TRPIntegerList& operator=(const TRPIntegerList& source) {
    Assign(source);
    return *this;
  }

  // count copies of value.
  static TRPIntegerList CreateFilled(int32_t count, int32_t value);

  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  int32_t Capacity() const { return static_cast<int32_t>(FItems.capacity()); }
  // Raises EListError "List index out of bounds (%d)" outside 0 .. Count - 1.
  int32_t GetItem(int32_t index) const;
  void SetItem(int32_t index, int32_t value);
  int32_t operator[](int32_t index) const { return GetItem(index); }

  int32_t Add(int32_t value);
  // index may be Count (appends).
  void Insert(int32_t index, int32_t value);
  void Delete(int32_t index);
  void Clear() { FItems.clear(); }
  // Index of the first occurrence, -1 when absent.
  int32_t IndexOf(int32_t value) const;
  // Index of the value when present, else appends it and returns the new index.
  int32_t AddUnique(int32_t value);
  // Clears, then copies the source's values in order.
  void Assign(const TRPIntegerList& source);
  // Clears, then adds count copies of value.
  void Fill(int32_t value, int32_t count);
  // Ascending.
  void Sort();

private:
  void CheckIndex(int32_t index, int32_t limit) const;
  std::vector<int32_t> FItems;
};

// Colours (0x00BBGGRR, system colours, clNone) of a table being built.
class TRPColorList : public TRPIntegerList {
public:
  // AddUnique, except that clNone is never added (and gives -1).
  int32_t AddUniqueColor(TColor color);
};
