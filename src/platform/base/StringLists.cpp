#include "platform/base/StringLists.h"

#include <algorithm>

#include "platform/base/Exception.h"
#include "platform/base/FileContents.h"
#include "platform/base/Format.h"
#include "platform/base/ListAlgorithms.h"
#include "platform/base/Streams.h"
#include "platform/base/TextUtils.h"
#include "platform/base/UpdateBracket.h"

// --- TStrings ---

int32_t TStrings::Add(const AnsiString& s) {
  const int32_t index = GetCount();
  Insert(index, s);
  return index;
}

int32_t TStrings::AddObject(const AnsiString& s, TObject* object) {
  const int32_t index = Add(s);
  PutObject(index, object);
  return index;
}

void TStrings::InsertObject(int32_t index, const AnsiString& s, TObject* object) {
  Insert(index, s);
  PutObject(index, object);
}

void TStrings::Exchange(int32_t index1, int32_t index2) {
  WithinUpdate(*this, [&] {
    const AnsiString s = Get(index1);
    TObject* object = GetObject(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, s);
    PutObject(index2, object);
  });
}

void TStrings::Move(int32_t curIndex, int32_t newIndex) {
  if (curIndex == newIndex) return;
  WithinUpdate(*this, [&] {
    const AnsiString s = Get(curIndex);
    TObject* object = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, object);
  });
}

void TStrings::AddStrings(const TStrings& strings) {
  WithinUpdate(*this, [&] {
    for (int32_t i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
  });
}

int32_t TStrings::IndexOf(const AnsiString& s) const {
  for (int32_t i = 0; i < GetCount(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

int32_t TStrings::IndexOfName(const AnsiString& name) const {
  for (int32_t i = 0; i < GetCount(); ++i) {
    const AnsiString s = Get(i);
    const size_t separator = s.find(FNameValueSeparator);
    if (separator != AnsiString::npos && CompareStrings(s.substr(0, separator), name) == 0) return i;
  }
  return -1;
}

int32_t TStrings::IndexOfObject(const TObject* object) const {
  for (int32_t i = 0; i < GetCount(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

AnsiString TStrings::Names(int32_t index) const {
  const AnsiString s = Get(index);
  const size_t separator = s.find(FNameValueSeparator);
  return separator == AnsiString::npos ? AnsiString() : s.substr(0, separator);
}

AnsiString TStrings::Values(const AnsiString& name) const {
  const int32_t index = IndexOfName(name);
  return index < 0 ? AnsiString() : ValueFromIndex(index);
}

void TStrings::SetValues(const AnsiString& name, const AnsiString& value) {
  const int32_t index = IndexOfName(name);
  if (!value.empty()) {
    const AnsiString line = name + FNameValueSeparator + value;
    if (index < 0)
      Add(line);
    else
      Put(index, line);
  } else if (index >= 0) {
    Delete(index);
  }
}

AnsiString TStrings::ValueFromIndex(int32_t index) const {
  if (index < 0) return AnsiString();
  const AnsiString s = Get(index);
  const size_t separator = s.find(FNameValueSeparator);
  // A line without separator has no value (not the line less its first character).
  return separator == AnsiString::npos ? AnsiString() : s.substr(separator + 1);
}

AnsiString TStrings::GetText() const {
  size_t size = 0;
  for (int32_t i = 0; i < GetCount(); ++i) size += Get(i).size() + 2;
  AnsiString text;
  text.reserve(size);
  for (int32_t i = 0; i < GetCount(); ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetTextStr(AnsiStringView text) {
  WithinUpdate(*this, [&] {
    Clear();
    size_t p = 0;
    const size_t end = std::min(text.find('\0'), text.size());
    while (p < end) {
      size_t lineEnd = p;
      while (lineEnd < end && text[lineEnd] != '\r' && text[lineEnd] != '\n') ++lineEnd;
      Add(AnsiString(text.substr(p, lineEnd - p)));
      p = lineEnd;
      if (p < end && text[p] == '\r') ++p;
      if (p < end && text[p] == '\n') ++p;
    }
  });
}

AnsiString TStrings::JoinDelimited(char delimiter, char quoteChar) const {
  const int32_t count = GetCount();
  if (count == 1 && Get(0).empty()) return AnsiString(2, quoteChar);
  AnsiString result;
  for (int32_t i = 0; i < count; ++i) {
    AnsiString s = Get(i);
    const bool quote = std::any_of(
        s.begin(), s.end(), [&](char c) { return static_cast<uint8_t>(c) <= ' ' || c == quoteChar || c == delimiter; });
    if (quote) {
      AnsiString quoted(1, quoteChar);
      for (char c : s) {
        quoted += c;
        if (c == quoteChar) quoted += c;
      }
      s = quoted + quoteChar;
    }
    if (i > 0) result += delimiter;
    result += s;
  }
  return result;
}

void TStrings::SplitDelimited(AnsiStringView text, char delimiter, char quoteChar) {
  auto isBlank = [](char c) { return c != '\0' && static_cast<uint8_t>(c) <= ' '; };
  auto at = [&](size_t i) { return i < text.size() ? text[i] : '\0'; };
  WithinUpdate(*this, [&] {
    Clear();
    size_t p = 0;
    while (isBlank(at(p))) ++p;
    while (at(p) != '\0') {
      AnsiString s;
      if (at(p) == quoteChar) {
        // A quoted string: doubled quotes stand for one; it ends at a single quote.
        ++p;
        while (at(p) != '\0') {
          if (at(p) == quoteChar) {
            if (at(p + 1) != quoteChar) {
              ++p;
              break;
            }
            ++p;
          }
          s += text[p++];
        }
      } else {
        const size_t start = p;
        while (static_cast<uint8_t>(at(p)) > ' ' && at(p) != delimiter) ++p;
        s = AnsiString(text.substr(start, p - start));
      }
      Add(s);
      while (isBlank(at(p))) ++p;
      if (at(p) == delimiter) {
        if (at(p + 1) == '\0') Add(AnsiString());
        do ++p;
        while (isBlank(at(p)));
      }
    }
  });
}

AnsiString TStrings::DelimitedText() const { return JoinDelimited(FDelimiter, FQuoteChar); }
void TStrings::SetDelimitedText(AnsiStringView text) { SplitDelimited(text, FDelimiter, FQuoteChar); }
AnsiString TStrings::CommaText() const { return JoinDelimited(',', '"'); }
void TStrings::SetCommaText(AnsiStringView text) { SplitDelimited(text, ',', '"'); }

void TStrings::LoadFromStream(TStream& stream) { SetTextStr(ReadStreamRest(stream)); }

void TStrings::SaveToStream(TStream& stream) const {
  const AnsiString text = GetText();
  stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

void TStrings::LoadFromFile(const WideString& fileName) {
  TStringStream stream(LoadFileBytes(fileName));
  LoadFromStream(stream);
}

void TStrings::LoadFromFile(const AnsiString& fileName) {
  TStringStream stream(LoadFileBytes(fileName));
  LoadFromStream(stream);
}

void TStrings::SaveToFile(const WideString& fileName) const {
  SaveFileReplacing(fileName, [this](TStream& stream) { SaveToStream(stream); });
}

void TStrings::SaveToFile(const AnsiString& fileName) const {
  SaveFileReplacing(fileName, [this](TStream& stream) { SaveToStream(stream); });
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (--FUpdateCount == 0) SetUpdateState(false);
}

bool TStrings::Equals(const TStrings& other) const {
  if (GetCount() != other.GetCount()) return false;
  for (int32_t i = 0; i < GetCount(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

void TStrings::Assign(const TPersistent& source) {
  const auto* strings = dynamic_cast<const TStrings*>(&source);
  if (!strings) {
    TPersistent::Assign(source);
    return;
  }
  WithinUpdate(*this, [&] {
    Clear();
    FDelimiter = strings->FDelimiter;
    FQuoteChar = strings->FQuoteChar;
    FNameValueSeparator = strings->FNameValueSeparator;
    AddStrings(*strings);
  });
}

TObject* TStrings::GetObject(int32_t) const { return nullptr; }

void TStrings::Put(int32_t index, const AnsiString& s) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, s, object);
}

void TStrings::PutObject(int32_t, TObject*) {}

void TStrings::SetUpdateState(bool) {}

int32_t TStrings::CompareStrings(const AnsiString& s1, const AnsiString& s2) const { return CompareText(s1, s2); }

void TStrings::Error(const char* message, int32_t data) const { throw EStringListError(Format(message, {data})); }

// --- TStringList ---

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
}

void TStringList::CheckIndex(int32_t index, int32_t limit) const {
  if (index < 0 || index >= limit) Error(SListIndexError, index);
}

AnsiString TStringList::Get(int32_t index) const {
  CheckIndex(index, GetCount());
  return FList[static_cast<size_t>(index)].FString;
}

TObject* TStringList::GetObject(int32_t index) const {
  CheckIndex(index, GetCount());
  return FList[static_cast<size_t>(index)].FObject;
}

void TStringList::Put(int32_t index, const AnsiString& s) {
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(index, GetCount());
  Changing();
  FList[static_cast<size_t>(index)].FString = s;
  Changed();
}

void TStringList::PutObject(int32_t index, TObject* object) {
  CheckIndex(index, GetCount());
  Changing();
  FList[static_cast<size_t>(index)].FObject = object;
  Changed();
}

int32_t TStringList::Add(const AnsiString& s) { return AddObject(s, nullptr); }

int32_t TStringList::AddObject(const AnsiString& s, TObject* object) {
  int32_t index;
  if (!FSorted) {
    index = GetCount();
  } else if (Find(s, index)) {
    switch (FDuplicates) {
      case dupIgnore:
        return index;
      case dupError:
        Error(SDuplicateString, 0);
      case dupAccept:
        break;
    }
  }
  InsertItem(index, s, object);
  return index;
}

void TStringList::Insert(int32_t index, const AnsiString& s) {
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(index, GetCount() + 1);
  InsertItem(index, s, nullptr);
}

void TStringList::InsertItem(int32_t index, const AnsiString& s, TObject* object) {
  Changing();
  if (FList.size() == FCapacity) {
    const size_t delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
    SetCapacity(static_cast<int32_t>(FCapacity + delta));
  }
  FList.insert(FList.begin() + index, TStringItem{s, object});
  Changed();
}

void TStringList::Delete(int32_t index) {
  CheckIndex(index, GetCount());
  Changing();
  FList.erase(FList.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList.clear();
  FList.shrink_to_fit();
  FCapacity = 0;
  Changed();
}

void TStringList::Exchange(int32_t index1, int32_t index2) {
  CheckIndex(index1, GetCount());
  CheckIndex(index2, GetCount());
  Changing();
  std::swap(FList[static_cast<size_t>(index1)], FList[static_cast<size_t>(index2)]);
  Changed();
}

int32_t TStringList::IndexOf(const AnsiString& s) const {
  if (!FSorted) return TStrings::IndexOf(s);
  int32_t index;
  return Find(s, index) ? index : -1;
}

bool TStringList::Find(const AnsiString& s, int32_t& index) const {
  return SortedFind(
      GetCount(), FDuplicates == dupAccept,
      [&](int32_t i) { return CompareStrings(FList[static_cast<size_t>(i)].FString, s); }, index);
}

void TStringList::Sort() {
  CustomSort([](TStringList& list, int32_t i, int32_t j) {
    return list.CompareStrings(list.FList[static_cast<size_t>(i)].FString, list.FList[static_cast<size_t>(j)].FString);
  });
}

void TStringList::CustomSort(TStringListSortCompare compare) {
  if (FSorted || GetCount() < 2) return;
  Changing();
  IndexQuickSort(
      0, GetCount() - 1, [&](int32_t i, int32_t j) { return compare(*this, i, j); },
      [&](int32_t i, int32_t j) { std::swap(FList[static_cast<size_t>(i)], FList[static_cast<size_t>(j)]); });
  Changed();
}

void TStringList::SetSorted(bool value) {
  if (FSorted == value) return;
  if (value) Sort();
  FSorted = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (FCaseSensitive == value) return;
  FCaseSensitive = value;
  if (FSorted) {
    // Sort skips sorted lists, so lift the flag for the re-sort.
    FSorted = false;
    Sort();
    FSorted = true;
  }
}

void TStringList::SetCapacity(int32_t newCapacity) {
  if (newCapacity < GetCount()) Error(SListCapacityError, newCapacity);
  FList.reserve(static_cast<size_t>(newCapacity));
  FCapacity = static_cast<size_t>(newCapacity);
}

// Runs while the update count is 0: BeginUpdate fires OnChanging, EndUpdate OnChange.
void TStringList::SetUpdateState(bool updating) {
  if (updating)
    Changing();
  else
    Changed();
}

int32_t TStringList::CompareStrings(const AnsiString& s1, const AnsiString& s2) const {
  return FCaseSensitive ? CompareStr(s1, s2) : CompareText(s1, s2);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}
