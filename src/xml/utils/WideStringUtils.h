// The XML library's own UTF-16 containers: a string list with objects and optional
// sorting, a name/value list built on it, a growable string builder and a stream over a
// UTF-16 string; plus the ordinal comparison and XPath's translate(). Every comparison is
// by UTF-16 code unit, case-sensitive.
#pragma once

#include <deque>
#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Streams.h"
#include "platform/base/StringLists.h"
#include "platform/base/Types.h"

// Compares unit by unit (as unsigned 16-bit values) over the shorter length: the
// difference of the first differing units, else the difference of the lengths.
int32_t CompareWideStrOrdinal(WideStringView a, WideStringView b);

// XPath's translate(): each unit of s found in `from` (its first occurrence decides) is
// replaced by the unit at the same position of `to`, or dropped when `to` is shorter.
WideString TranslateWideStr(WideStringView s, WideStringView from, WideStringView to);

struct TUtilsWideStringItem {
  WideString Str;
  TObject* Obj = nullptr;  // not owned
};

// A list of strings with objects (not owned), sorted on request. Indices count from 0.
// Errors raise EStringListError: "List Index out of bounds (%d)" for a bad index,
// "Operation not allowed on Sorted string list" for a positional change of a sorted list
// and "String list does not allow duplicates". Checks come before every change.
class TUtilsWideStringList : public TPersistent {
public:
  void Assign(const TPersistent& source) override;

  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  int32_t Capacity() const { return FCapacity; }
  // Raises "List capacity out of bounds (%d)" below Count.
  void SetCapacity(int32_t capacity);

  const WideString& Get(int32_t index) const;
  TObject* GetObject(int32_t index) const;
  void Put(int32_t index, WideStringView s);
  void PutObject(int32_t index, TObject* obj);

  // Returns the index of the item: appended, or at its sorted place. On a sorted list an
  // equal string is handled by Duplicates (ignore: the existing index, nothing added).
  int32_t Add(WideStringView s) { return AddObject(s, nullptr); }
  int32_t AddObject(WideStringView s, TObject* obj);
  void Append(WideStringView s) { Add(s); }
  void AddStrings(const TUtilsWideStringList& list);
  void Insert(int32_t index, WideStringView s) { InsertObject(index, s, nullptr); }
  void InsertObject(int32_t index, WideStringView s, TObject* obj);
  void Delete(int32_t index);
  void Exchange(int32_t index1, int32_t index2);
  void Clear();

  // Bisection over a sorted list: true when s is present; index is the match (with
  // duplicates not accepted, the first match met) or the insertion point.
  bool Find(WideStringView s, int32_t& index) const;
  int32_t IndexOf(WideStringView s) const;
  int32_t LastIndexOf(WideStringView s) const;
  void Sort();

  bool Sorted() const { return FSorted; }
  // Switching on sorts first; switching off only clears the flag.
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates value) { FDuplicates = value; }

  void BeginUpdate();
  void EndUpdate();

  TNotifyEvent OnChange, OnChanging;

protected:
  // Fire OnChange / OnChanging, but only outside an update bracket.
  virtual void Changed();
  virtual void Changing();
  void SetUpdateState(bool updating);

private:
  void CheckIndex(int32_t index, int32_t last) const;
  void CheckNotSorted() const;
  void InsertItem(int32_t index, WideStringView s, TObject* obj);
  void Grow();

  std::vector<TUtilsWideStringItem> FItems;
  int32_t FCapacity = 0;
  TDuplicates FDuplicates = dupIgnore;
  bool FSorted = false;
  int32_t FUpdateCount = 0;
};

// Names with values and objects. The value of each name is kept apart and only ever
// appended, so deleting, exchanging or sorting names never disturbs another entry's
// value. Sorting, Find and Duplicates act on the names.
class TUtilsNameValueList : public TPersistent {
public:
  void Assign(const TPersistent& source) override;

  int32_t Count() const { return FNames.Count(); }
  int32_t Capacity() const { return FNames.Capacity(); }
  void SetCapacity(int32_t capacity) { FNames.SetCapacity(capacity); }

  const WideString& GetName(int32_t index) const { return FNames.Get(index); }
  const WideString& GetValue(int32_t index) const { return ValueOf(index).Value; }
  TObject* GetObject(int32_t index) const { return ValueOf(index).Obj; }
  void PutObject(int32_t index, TObject* obj);

  int32_t Add(WideStringView name, WideStringView value) { return AddObject(name, value, nullptr); }
  int32_t AddObject(WideStringView name, WideStringView value, TObject* obj);
  void AddNameValueList(const TUtilsNameValueList& source);
  void Insert(int32_t index, WideStringView name, WideStringView value);
  void Clear();
  // Removes the name; its value stays stored.
  void Delete(int32_t index) { FNames.Delete(index); }
  void Exchange(int32_t index1, int32_t index2) { FNames.Exchange(index1, index2); }

  int32_t IndexOfName(WideStringView name) const { return FNames.IndexOf(name); }
  int32_t LastIndexOfName(WideStringView name) const { return FNames.LastIndexOf(name); }
  int32_t IndexOfNameValue(WideStringView name, WideStringView value) const;
  int32_t LastIndexOfNameValue(WideStringView name, WideStringView value) const;
  bool Find(WideStringView name, int32_t& index) const { return FNames.Find(name, index); }
  // With duplicates accepted: IndexOfNameValue. Otherwise Find by name, and the value
  // must match too; else index is -1 and the result false.
  bool FindOfNameAndValue(WideStringView name, WideStringView value, int32_t& index) const;
  void Sort() { FNames.Sort(); }

  bool Sorted() const { return FNames.Sorted(); }
  void SetSorted(bool value) { FNames.SetSorted(value); }
  TDuplicates Duplicates() const { return FNames.Duplicates(); }
  void SetDuplicates(TDuplicates value) { FNames.SetDuplicates(value); }

private:
  struct TValueEntry : TObject {
    WideString Value;
    TObject* Obj = nullptr;
  };
  const TValueEntry& ValueOf(int32_t index) const;
  TValueEntry& NewValue(WideStringView value, TObject* obj);

  // Each name's object is its entry in FValues (a deque: entries never move).
  TUtilsWideStringList FNames;
  std::deque<TValueEntry> FValues;
};

// A growable UTF-16 string builder.
inline constexpr char SUtilsInvalidUCS4[] = "%d is not a valid ISO-10646-UCS4 code point";

class TUtilsCustomWideStr {
public:
  TUtilsCustomWideStr() { Clear(); }

  int32_t Length() const { return FActualLen; }
  // 1-based; the position must lie within the capacity.
  WideChar GetChar(int32_t index) const;
  void SetChar(int32_t index, WideChar c);
  // Code points above U+FFFF are stored as a surrogate pair. A surrogate code point
  // raises EConvertError "%d is not a valid ISO-10646-UCS4 code point".
  void AddUCS4Char(uint32_t codePoint);
  void AddWideChar(WideChar c);
  void AddWideString(WideStringView s);
  // StartsWith and EndsWith are false for an empty s or one longer than the content.
  bool EndsWith(WideStringView s) const;
  bool StartsWith(WideStringView s) const;
  bool IsEqual(WideStringView s) const { return Value() == s; }
  // Back to 64 units of capacity and no content.
  void Clear();
  WideString GetValue() const { return WideString(Value()); }

private:
  WideStringView Value() const { return WideStringView(FContent.data(), size_t(FActualLen)); }
  void GrowTo(int32_t needed);

  int32_t FActualLen = 0;
  WideString FContent;  // FContent.size() is the capacity
};

// A stream over the UTF-16 units of a string (no byte-order mark). Its size is always
// even: SetSize refuses an odd size and Write rounds the new size up.
class TUtilsWideStringStream : public TStream {
public:
  explicit TUtilsWideStringStream(WideStringView s = {});

  int32_t Read(void* buffer, int32_t count) override;
  // Grows the stream to cover position + count (rounded up to even); returns count.
  int32_t Write(const void* buffer, int32_t count) override;
  // Clips the new position to 0..Size.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return FSize; }
  // Raises EStreamError "Odd size not valid for WideString" or "Negative stream size
  // invalid"; clips the position to the new size.
  void SetSize(int64_t newSize) override;
  // Raises EStreamError "Capacity cannot be less than size".
  void SetCapacity(int64_t capacity);
  int64_t Capacity() const { return static_cast<int64_t>(FData.size()); }

  // The stream's content as a string.
  WideString DataString() const;

private:
  std::vector<uint8_t> FData;  // FData.size() is the capacity
  int64_t FSize = 0;
  int64_t FPosition = 0;
};
