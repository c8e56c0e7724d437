#include "xml/utils/WideStringUtils.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "platform/base/ListAlgorithms.h"
#include "platform/base/Surrogates.h"
#include "platform/base/UpdateBracket.h"

namespace {

constexpr char SUtilsListIndexError[] = "List Index out of bounds (%d)";
constexpr char SUtilsSortedListError[] = "Operation not allowed on Sorted string list";

constexpr char SUtilsOddSize[] = "Odd size not valid for WideString";
constexpr char SUtilsNegativeSize[] = "Negative stream size invalid";
constexpr char SUtilsCapacityBelowSize[] = "Capacity cannot be less than size";

}  // namespace

int32_t CompareWideStrOrdinal(WideStringView a, WideStringView b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i)
    if (a[i] != b[i]) return int32_t(a[i]) - int32_t(b[i]);
  return static_cast<int32_t>(a.size()) - static_cast<int32_t>(b.size());
}

WideString TranslateWideStr(WideStringView s, WideStringView from, WideStringView to) {
  WideString result;
  result.reserve(s.size());
  for (WideChar c : s) {
    const size_t at = from.find(c);
    if (at == WideStringView::npos)
      result += c;
    else if (at < to.size())
      result += to[at];
  }
  return result;
}

// ---- TUtilsWideStringList ----

void TUtilsWideStringList::Assign(const TPersistent& source) {
  if (const auto* list = dynamic_cast<const TUtilsWideStringList*>(&source)) {
    if (list == this) return;
    WithinUpdate(*this, [&] {
      Clear();
      AddStrings(*list);
    });
    return;
  }
  TPersistent::Assign(source);
}

void TUtilsWideStringList::CheckIndex(int32_t index, int32_t last) const {
  if (index < 0 || index > last) throw EStringListError(Format(SUtilsListIndexError, {index}));
}

void TUtilsWideStringList::CheckNotSorted() const {
  if (FSorted) throw EStringListError(SUtilsSortedListError);
}

void TUtilsWideStringList::SetCapacity(int32_t capacity) {
  if (capacity < Count()) throw EStringListError(Format(SListCapacityError, {capacity}));
  FItems.reserve(size_t(capacity));
  FCapacity = capacity;
}

// Grows by a quarter above 64 items, by 16 from 9 to 64, by 4 up to 8.
void TUtilsWideStringList::Grow() {
  const int32_t delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
  SetCapacity(FCapacity + delta);
}

const WideString& TUtilsWideStringList::Get(int32_t index) const {
  CheckIndex(index, Count() - 1);
  return FItems[size_t(index)].Str;
}

TObject* TUtilsWideStringList::GetObject(int32_t index) const {
  CheckIndex(index, Count() - 1);
  return FItems[size_t(index)].Obj;
}

void TUtilsWideStringList::Put(int32_t index, WideStringView s) {
  CheckNotSorted();
  CheckIndex(index, Count() - 1);
  Changing();
  FItems[size_t(index)].Str.assign(s);
  Changed();
}

void TUtilsWideStringList::PutObject(int32_t index, TObject* obj) {
  CheckIndex(index, Count() - 1);
  Changing();
  FItems[size_t(index)].Obj = obj;
  Changed();
}

int32_t TUtilsWideStringList::AddObject(WideStringView s, TObject* obj) {
  int32_t index = Count();
  if (FSorted && Find(s, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) throw EStringListError(SDuplicateString);
  }
  InsertItem(index, s, obj);
  return index;
}

void TUtilsWideStringList::AddStrings(const TUtilsWideStringList& list) {
  // A copy first, so that adding a list to itself adds each item once.
  const std::vector<TUtilsWideStringItem> items = list.FItems;
  WithinUpdate(*this, [&] {
    for (const TUtilsWideStringItem& item : items) AddObject(item.Str, item.Obj);
  });
}

void TUtilsWideStringList::InsertObject(int32_t index, WideStringView s, TObject* obj) {
  CheckNotSorted();
  CheckIndex(index, Count());
  InsertItem(index, s, obj);
}

void TUtilsWideStringList::InsertItem(int32_t index, WideStringView s, TObject* obj) {
  Changing();
  if (Count() == FCapacity) Grow();
  FItems.insert(FItems.begin() + index, TUtilsWideStringItem{WideString(s), obj});
  Changed();
}

void TUtilsWideStringList::Delete(int32_t index) {
  CheckIndex(index, Count() - 1);
  Changing();
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TUtilsWideStringList::Exchange(int32_t index1, int32_t index2) {
  CheckIndex(index1, Count() - 1);
  CheckIndex(index2, Count() - 1);
  Changing();
  std::swap(FItems[size_t(index1)], FItems[size_t(index2)]);
  Changed();
}

void TUtilsWideStringList::Clear() {
  if (FItems.empty()) return;
  Changing();
  FItems = {};
  FCapacity = 0;
  Changed();
}

bool TUtilsWideStringList::Find(WideStringView s, int32_t& index) const {
  return SortedFind(
      Count(), FDuplicates == dupAccept, [&](int32_t i) { return CompareWideStrOrdinal(FItems[size_t(i)].Str, s); },
      index);
}

int32_t TUtilsWideStringList::IndexOf(WideStringView s) const {
  if (FSorted) {
    int32_t index;
    return Find(s, index) ? index : -1;
  }
  const auto it = std::find_if(FItems.begin(), FItems.end(), [&](const auto& item) { return item.Str == s; });
  return it == FItems.end() ? -1 : static_cast<int32_t>(it - FItems.begin());
}

int32_t TUtilsWideStringList::LastIndexOf(WideStringView s) const {
  for (int32_t i = Count() - 1; i >= 0; --i)
    if (FItems[size_t(i)].Str == s) return i;
  return -1;
}

void TUtilsWideStringList::Sort() {
  if (FSorted || Count() < 2) return;
  Changing();
  IndexQuickSort(
      0, Count() - 1,
      [&](int32_t i, int32_t j) { return CompareWideStrOrdinal(FItems[size_t(i)].Str, FItems[size_t(j)].Str); },
      [&](int32_t i, int32_t j) { std::swap(FItems[size_t(i)], FItems[size_t(j)]); });
  Changed();
}

void TUtilsWideStringList::SetSorted(bool value) {
  if (value == FSorted) return;
  if (value) Sort();
  FSorted = value;
}

void TUtilsWideStringList::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);  // fires OnChanging before the count rises
  ++FUpdateCount;
}

void TUtilsWideStringList::EndUpdate() {
  if (--FUpdateCount == 0) SetUpdateState(false);
}

void TUtilsWideStringList::SetUpdateState(bool updating) {
  if (updating)
    Changing();
  else
    Changed();
}

void TUtilsWideStringList::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TUtilsWideStringList::Changing() {
  if (FUpdateCount == 0 && OnChanging) OnChanging(this);
}

// ---- TUtilsNameValueList ----

void TUtilsNameValueList::Assign(const TPersistent& source) {
  if (const auto* list = dynamic_cast<const TUtilsNameValueList*>(&source)) {
    if (list == this) return;
    Clear();
    AddNameValueList(*list);
    return;
  }
  TPersistent::Assign(source);
}

const TUtilsNameValueList::TValueEntry& TUtilsNameValueList::ValueOf(int32_t index) const {
  return *static_cast<const TValueEntry*>(FNames.GetObject(index));
}

TUtilsNameValueList::TValueEntry& TUtilsNameValueList::NewValue(WideStringView value, TObject* obj) {
  TValueEntry& entry = FValues.emplace_back();
  entry.Value.assign(value);
  entry.Obj = obj;
  return entry;
}

void TUtilsNameValueList::PutObject(int32_t index, TObject* obj) { const_cast<TValueEntry&>(ValueOf(index)).Obj = obj; }

int32_t TUtilsNameValueList::AddObject(WideStringView name, WideStringView value, TObject* obj) {
  TValueEntry& entry = NewValue(value, obj);
  try {
    return FNames.AddObject(name, &entry);
  } catch (...) {
    FValues.pop_back();
    throw;
  }
}

void TUtilsNameValueList::AddNameValueList(const TUtilsNameValueList& source) {
  SetCapacity(Count() + source.Count());
  const int32_t sourceCount = source.Count();  // fixed, so that adding a list to itself ends
  for (int32_t i = 0; i < sourceCount; ++i) AddObject(source.GetName(i), source.GetValue(i), source.GetObject(i));
}

void TUtilsNameValueList::Insert(int32_t index, WideStringView name, WideStringView value) {
  TValueEntry& entry = NewValue(value, nullptr);
  try {
    FNames.InsertObject(index, name, &entry);
  } catch (...) {
    FValues.pop_back();
    throw;
  }
}

void TUtilsNameValueList::Clear() {
  FNames.Clear();
  FValues.clear();
}

int32_t TUtilsNameValueList::IndexOfNameValue(WideStringView name, WideStringView value) const {
  for (int32_t i = 0; i < Count(); ++i)
    if (GetName(i) == name && GetValue(i) == value) return i;
  return -1;
}

int32_t TUtilsNameValueList::LastIndexOfNameValue(WideStringView name, WideStringView value) const {
  for (int32_t i = Count() - 1; i >= 0; --i)
    if (GetName(i) == name && GetValue(i) == value) return i;
  return -1;
}

bool TUtilsNameValueList::FindOfNameAndValue(WideStringView name, WideStringView value, int32_t& index) const {
  if (Duplicates() == dupAccept) {
    index = IndexOfNameValue(name, value);
    return index >= 0;
  }
  if (Find(name, index) && GetValue(index) == value) return true;
  index = -1;
  return false;
}

// ---- TUtilsCustomWideStr ----

void TUtilsCustomWideStr::Clear() {
  FContent.assign(64, u'\0');
  FActualLen = 0;
}

// Grows by a quarter at a time until `needed` units fit.
void TUtilsCustomWideStr::GrowTo(int32_t needed) {
  int32_t capacity = static_cast<int32_t>(FContent.size());
  while (capacity < needed) capacity += capacity / 4;
  FContent.resize(size_t(capacity));
}

WideChar TUtilsCustomWideStr::GetChar(int32_t index) const {
  assert(index >= 1 && size_t(index) <= FContent.size());
  return FContent[size_t(index - 1)];
}

void TUtilsCustomWideStr::SetChar(int32_t index, WideChar c) {
  assert(index >= 1 && size_t(index) <= FContent.size());
  FContent[size_t(index - 1)] = c;
}

void TUtilsCustomWideStr::AddUCS4Char(uint32_t codePoint) {
  if (IsSurrogate(codePoint)) throw EConvertError(Format(SUtilsInvalidUCS4, {codePoint}));
  if (codePoint > 0xFFFF) {
    const WideChar pair[2] = {HighSurrogateOf(codePoint), LowSurrogateOf(codePoint)};
    AddWideString(WideStringView(pair, 2));
  } else {
    AddWideChar(static_cast<WideChar>(codePoint));
  }
}

void TUtilsCustomWideStr::AddWideChar(WideChar c) {
  GrowTo(FActualLen + 1);
  FContent[size_t(FActualLen++)] = c;
}

void TUtilsCustomWideStr::AddWideString(WideStringView s) {
  GrowTo(FActualLen + static_cast<int32_t>(s.size()));
  std::copy(s.begin(), s.end(), FContent.begin() + FActualLen);
  FActualLen += static_cast<int32_t>(s.size());
}

bool TUtilsCustomWideStr::StartsWith(WideStringView s) const { return !s.empty() && Value().starts_with(s); }
bool TUtilsCustomWideStr::EndsWith(WideStringView s) const { return !s.empty() && Value().ends_with(s); }

// ---- TUtilsWideStringStream ----

TUtilsWideStringStream::TUtilsWideStringStream(WideStringView s) {
  FSize = int64_t(s.size()) * 2;
  FData.resize(size_t(FSize));
  for (size_t i = 0; i < s.size(); ++i) {
    FData[2 * i] = uint8_t(s[i] & 0xFF);  // the units in little-endian order
    FData[2 * i + 1] = uint8_t(s[i] >> 8);
  }
}

WideString TUtilsWideStringStream::DataString() const {
  WideString result(size_t(FSize / 2), u'\0');
  for (size_t i = 0; i < result.size(); ++i) result[i] = WideChar(FData[2 * i] | (FData[2 * i + 1] << 8));
  return result;
}

void TUtilsWideStringStream::SetSize(int64_t newSize) {
  if (newSize % 2 != 0) throw EStreamError(SUtilsOddSize);
  if (newSize > Capacity()) {
    const int64_t grown = newSize > 31 ? newSize + newSize / 4 : newSize + 8;
    SetCapacity(grown & ~int64_t(3));
  }
  if (newSize < 0) throw EStreamError(SUtilsNegativeSize);
  FSize = newSize;
  FPosition = std::min(FPosition, FSize);
}

void TUtilsWideStringStream::SetCapacity(int64_t capacity) {
  if (capacity < FSize) throw EStreamError(SUtilsCapacityBelowSize);
  FData.resize(size_t(capacity));
  FData.shrink_to_fit();
}

int32_t TUtilsWideStringStream::Read(void* buffer, int32_t count) {
  const int64_t available = std::max<int64_t>(0, FSize - FPosition);
  const auto moved = static_cast<int32_t>(std::clamp<int64_t>(count, 0, available));
  if (moved > 0) std::memcpy(buffer, FData.data() + FPosition, size_t(moved));
  FPosition += moved;
  return moved;
}

int32_t TUtilsWideStringStream::Write(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  const int64_t end = FPosition + count;
  if (end > FSize) SetSize(end + (end & 1));
  std::memcpy(FData.data() + FPosition, buffer, size_t(count));
  FPosition = end;
  return count;
}

// From the end, the offset is added to the size (a negative offset moves back).
int64_t TUtilsWideStringStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t from = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : FSize;
  FPosition = std::clamp<int64_t>(from + offset, 0, FSize);
  return FPosition;
}
