#include "richtext/model/RPLists.h"

#include <algorithm>

#include "platform/base/Exception.h"
#include "platform/base/Format.h"

namespace {

void FreeObject(void* item) { std::unique_ptr<TObject>(static_cast<TObject*>(item)).reset(); }

}  // namespace

TRPList::~TRPList() { Clear(); }

void TRPList::Notify(void* item, TListNotification action) {
  if (action == lnDeleted && !FClearing) FreeObject(item);
  TList::Notify(item, action);
}

void TRPList::Clear() {
  // The list's own Clear removes slots from the end; the objects are freed here, first
  // to last, as owners expect.
  for (int32_t i = 0; i < Count(); ++i) FreeObject(Get(i));
  FClearing = true;
  TList::Clear();
  FClearing = false;
}

std::unique_ptr<TObject> TRPList::Detach(int32_t index) {
  std::unique_ptr<TObject> object(Items(index));  // raises for a bad index
  FClearing = true;                               // the slot goes, the object stays with the caller
  TList::Delete(index);
  FClearing = false;
  return object;
}

TRPIntegerList TRPIntegerList::CreateFilled(int32_t count, int32_t value) {
  TRPIntegerList list;
  list.Fill(value, count);
  return list;
}

void TRPIntegerList::CheckIndex(int32_t index, int32_t limit) const {
  if (index < 0 || index >= limit) throw EListError(Format(SListIndexError, {index}));
}

int32_t TRPIntegerList::GetItem(int32_t index) const {
  CheckIndex(index, Count());
  return FItems[static_cast<size_t>(index)];
}

void TRPIntegerList::SetItem(int32_t index, int32_t value) {
  CheckIndex(index, Count());
  FItems[static_cast<size_t>(index)] = value;
}

int32_t TRPIntegerList::Add(int32_t value) {
  FItems.push_back(value);
  return Count() - 1;
}

void TRPIntegerList::Insert(int32_t index, int32_t value) {
  CheckIndex(index, Count() + 1);
  FItems.insert(FItems.begin() + index, value);
}

void TRPIntegerList::Delete(int32_t index) {
  CheckIndex(index, Count());
  FItems.erase(FItems.begin() + index);
}

int32_t TRPIntegerList::IndexOf(int32_t value) const {
  const auto found = std::find(FItems.begin(), FItems.end(), value);
  return found == FItems.end() ? -1 : static_cast<int32_t>(found - FItems.begin());
}

int32_t TRPIntegerList::AddUnique(int32_t value) {
  const int32_t index = IndexOf(value);
  return index >= 0 ? index : Add(value);
}

void TRPIntegerList::Assign(const TRPIntegerList& source) {
  if (&source == this) return;
  FItems.clear();
  FItems.reserve(source.FItems.size());
  FItems.insert(FItems.end(), source.FItems.begin(), source.FItems.end());
}

void TRPIntegerList::Fill(int32_t value, int32_t count) {
  FItems.clear();
  if (count > 0) FItems.assign(static_cast<size_t>(count), value);
}

// By comparison, not by the difference of two values, which overflows for values far
// apart (MaxInt and a negative number).
void TRPIntegerList::Sort() { std::sort(FItems.begin(), FItems.end()); }

int32_t TRPColorList::AddUniqueColor(TColor color) { return color == clNone ? -1 : AddUnique(color); }
