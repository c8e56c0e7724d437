#include "unicode/UniWideStrings.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/base/CompareString.h"
#include "platform/base/Exception.h"
#include "platform/base/ListAlgorithms.h"
#include "platform/base/UpdateBracket.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

// The class library's messages, loaded as resource strings so translations apply.
constexpr TResStringRec SListIndexErrorRes{"SListIndexError", SListIndexError};
constexpr TResStringRec SListCapacityErrorRes{"SListCapacityError", SListCapacityError};
constexpr TResStringRec SSortedListErrorRes{"SSortedListError", SSortedListError};
constexpr TResStringRec SDuplicateStringRes{"SDuplicateString", SDuplicateString};

// Files are read while others may read them too, but not write.
int32_t CompareLocale(const WideString& s1, const WideString& s2, uint32_t flags) {
  return CompareStringW(LOCALE_USER_DEFAULT, flags, s1.data(), static_cast<int32_t>(s1.size()), s2.data(),
                        static_cast<int32_t>(s2.size())) -
         CSTR_EQUAL;
}

// Streams move at most 2 GiB - 1 bytes per call.
constexpr size_t kChunkBytes = 1 << 30;

// Reads `count` bytes from the stream's position.
std::string ReadBytes(TStream& stream, int64_t count) {
  std::string bytes(static_cast<size_t>(std::max<int64_t>(count, 0)), '\0');
  for (size_t done = 0; done < bytes.size();) {
    const size_t chunk = std::min(bytes.size() - done, kChunkBytes);
    stream.ReadBuffer(bytes.data() + done, static_cast<int32_t>(chunk));
    done += chunk;
  }
  return bytes;
}

int64_t BytesLeft(TStream& stream) { return std::max<int64_t>(stream.Size() - stream.Position(), 0); }

// `bytes` as UTF-16 code units, little- or big-endian; an odd last byte is ignored.
WideString Utf16FromBytes(const std::string& bytes, bool bigEndian) {
  WideString text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const auto first = static_cast<uint8_t>(bytes[2 * i]);
    const auto second = static_cast<uint8_t>(bytes[2 * i + 1]);
    text[i] = static_cast<WideChar>(bigEndian ? first << 8 | second : second << 8 | first);
  }
  return text;
}

void WriteBytes(TStream& stream, const std::string& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const size_t chunk = std::min(bytes.size() - done, kChunkBytes);
    stream.WriteBuffer(bytes.data() + done, static_cast<int32_t>(chunk));
    done += chunk;
  }
}

void WriteUtf16LE(TStream& stream, const WideString& text) {
  std::string bytes(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  WriteBytes(stream, bytes);
}

bool IsLineBreak(WideChar c) { return c == u'\r' || c == u'\n' || c == u'\x2028'; }

}  // namespace

// ---- DetectStreamCharSet ----

TStreamTextEncoding DetectStreamCharSet(TStream& stream) {
  uint8_t mark[3];
  if (BytesLeft(stream) < 2) return steAnsi;
  stream.ReadBuffer(mark, 2);
  if (mark[0] == 0xFF && mark[1] == 0xFE) return steUtf16LE;
  if (mark[0] == 0xFE && mark[1] == 0xFF) return steUtf16BE;
  stream.Seek(-2, soCurrent);
  if (BytesLeft(stream) >= 3) {
    stream.ReadBuffer(mark, 3);
    if (mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF) return steUtf8;
    stream.Seek(-3, soCurrent);
  }
  return steAnsi;
}

// ---- TWideStrings ----

WideChar TWideStrings::DefinedChar(uint8_t bit, WideChar& value, WideChar defaultValue) const {
  if ((FDefined & bit) == 0) {
    value = defaultValue;
    FDefined |= bit;
  }
  return value;
}

WideChar TWideStrings::Delimiter() const { return DefinedChar(sdDelimiter, FDelimiter, u','); }
WideChar TWideStrings::QuoteChar() const { return DefinedChar(sdQuoteChar, FQuoteChar, u'"'); }
WideChar TWideStrings::NameValueSeparator() const {
  return DefinedChar(sdNameValueSeparator, FNameValueSeparator, u'=');
}

void TWideStrings::SetDelimiter(WideChar value) {
  FDelimiter = value;
  FDefined |= sdDelimiter;
}

void TWideStrings::SetQuoteChar(WideChar value) {
  FQuoteChar = value;
  FDefined |= sdQuoteChar;
}

void TWideStrings::SetNameValueSeparator(WideChar value) {
  FNameValueSeparator = value;
  FDefined |= sdNameValueSeparator;
}

void TWideStrings::WithinUpdate(const std::function<void()>& body) { ::WithinUpdate(*this, body); }

void TWideStrings::Assign(const TPersistent& source) {
  if (&source == this) return;  // clearing first would lose the very strings to copy
  if (const auto* wide = dynamic_cast<const TWideStrings*>(&source)) {
    WithinUpdate([&] {
      Clear();
      FDefined = wide->FDefined;
      FDelimiter = wide->FDelimiter;
      FQuoteChar = wide->FQuoteChar;
      FNameValueSeparator = wide->FNameValueSeparator;
      AddStrings(*wide);
    });
    return;
  }
  if (const auto* ansi = dynamic_cast<const TStrings*>(&source)) {
    WithinUpdate([&] {
      Clear();
      SetNameValueSeparator(static_cast<uint8_t>(ansi->NameValueSeparator()));
      SetQuoteChar(static_cast<uint8_t>(ansi->QuoteChar()));
      SetDelimiter(static_cast<uint8_t>(ansi->Delimiter()));
      AddAnsiStrings(*ansi);
    });
    return;
  }
  TPersistent::Assign(source);
}

void TWideStrings::AssignTo(TPersistent& dest) const {
  if (auto* wide = dynamic_cast<TWideStrings*>(&dest)) {
    wide->Assign(*this);
    return;
  }
  if (auto* ansi = dynamic_cast<TStrings*>(&dest)) {
    ::WithinUpdate(*ansi, [&] {
      ansi->Clear();
      ansi->SetNameValueSeparator(static_cast<char>(NameValueSeparator()));
      ansi->SetQuoteChar(static_cast<char>(QuoteChar()));
      ansi->SetDelimiter(static_cast<char>(Delimiter()));
      for (int32_t i = 0; i < GetCount(); ++i) ansi->AddObject(DefaultWideToAnsi(GetString(i)), GetObject(i));
    });
    return;
  }
  TPersistent::AssignTo(dest);
}

int32_t TWideStrings::GetCapacity() const { return GetCount(); }

TObject* TWideStrings::GetObject(int32_t) const { return nullptr; }

WideString TWideStrings::GetText() const {
  const int32_t count = GetCount();
  size_t length = 0;
  for (int32_t i = 0; i < count; ++i) length += GetString(i).size() + 2;
  WideString text;
  text.reserve(length);
  for (int32_t i = 0; i < count; ++i) {
    text += GetString(i);
    text += u"\r\n";
  }
  return text;
}

void TWideStrings::SetString(int32_t index, const WideString& s) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, s, object);
}

void TWideStrings::SetObject(int32_t, TObject*) {}

void TWideStrings::SetCapacity(int32_t) {}

void TWideStrings::SetText(const WideString& value) {
  WithinUpdate([&] {
    Clear();
    // The text ends at its first zero character, as a zero-terminated buffer would.
    const WideStringView text = WideStringView(value).substr(0, value.find(u'\0'));
    size_t at = 0;
    while (at < text.size()) {
      size_t end = at;
      while (end < text.size() && !IsLineBreak(text[end])) ++end;
      Add(WideString(text.substr(at, end - at)));
      at = end;
      if (at < text.size() && text[at] == u'\r') ++at;
      if (at < text.size() && text[at] == u'\n') ++at;
      if (at < text.size() && text[at] == u'\x2028') ++at;
    }
  });
}

void TWideStrings::SetUpdateState(bool) {}

int32_t TWideStrings::CompareStrings(const WideString& s1, const WideString& s2) const {
  return CompareLocale(s1, s2, NORM_IGNORECASE);
}

int32_t TWideStrings::Add(const WideString& s) {
  const int32_t index = GetCount();
  Insert(index, s);
  return index;
}

int32_t TWideStrings::AddObject(const WideString& s, TObject* object) {
  const int32_t index = Add(s);
  SetObject(index, object);
  return index;
}

void TWideStrings::AddAnsiStrings(const TStrings& strings) {
  WithinUpdate([&] {
    const int32_t count = strings.Count();
    for (int32_t i = 0; i < count; ++i) AddObject(DefaultAnsiToWide(strings.Strings(i)), strings.Objects(i));
  });
}

void TWideStrings::AddStrings(const TWideStrings& strings) {
  WithinUpdate([&] {
    const int32_t count = strings.GetCount();
    for (int32_t i = 0; i < count; ++i) AddObject(strings.GetString(i), strings.GetObject(i));
  });
}

void TWideStrings::Exchange(int32_t index1, int32_t index2) {
  const WideString s = GetString(index1);
  TObject* object = GetObject(index1);
  SetString(index1, GetString(index2));
  SetObject(index1, GetObject(index2));
  SetString(index2, s);
  SetObject(index2, object);
}

TWideStrPtr TWideStrings::GetTextBuffer() const { return WideStrNew(GetText().c_str()); }

int32_t TWideStrings::IndexOf(const WideString& s) const {
  for (int32_t i = 0; i < GetCount(); ++i)
    if (CompareStrings(GetString(i), s) == 0) return i;
  return -1;
}

int32_t TWideStrings::IndexOfName(const WideString& name) const {
  const WideChar separator = NameValueSeparator();
  for (int32_t i = 0; i < GetCount(); ++i) {
    const WideString s = GetString(i);
    const size_t at = s.find(separator);
    if (at != WideString::npos && CompareStrings(s.substr(0, at), name) == 0) return i;
  }
  return -1;
}

int32_t TWideStrings::IndexOfObject(const TObject* object) const {
  for (int32_t i = 0; i < GetCount(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

void TWideStrings::InsertObject(int32_t index, const WideString& s, TObject* object) {
  Insert(index, s);
  SetObject(index, object);
}

void TWideStrings::LoadFromFile(const WideString& fileName) {
  TStringStream stream(WideLoadFileBytes(fileName));
  LoadFromStream(stream);
}

void TWideStrings::LoadFromStream(TStream& stream) {
  const int64_t chars = BytesLeft(stream) / 2;
  SetText(Utf16FromBytes(ReadBytes(stream, chars * 2), false));
}

void TWideStrings::Move(int32_t curIndex, int32_t newIndex) {
  if (curIndex == newIndex) return;
  const WideString s = GetString(curIndex);
  TObject* object = GetObject(curIndex);
  Delete(curIndex);
  InsertObject(newIndex, s, object);
}

void TWideStrings::SaveToFile(const WideString& fileName) {
  WideSaveFileReplacing(fileName, [this](TStream& stream) { SaveToStream(stream); });
}

void TWideStrings::SaveToStream(TStream& stream) { WriteUtf16LE(stream, GetText()); }

void TWideStrings::SetTextBuffer(const WideChar* text) { SetText(text != nullptr ? WideString(text) : WideString()); }

void TWideStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TWideStrings::EndUpdate() {
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

bool TWideStrings::Equals(const TWideStrings& other) const {
  const int32_t count = GetCount();
  if (count != other.GetCount()) return false;
  for (int32_t i = 0; i < count; ++i)
    if (GetString(i) != other.GetString(i)) return false;
  return true;
}

WideString TWideStrings::Names(int32_t index) const { return ExtractName(GetString(index)); }

WideString TWideStrings::Values(const WideString& name) const {
  const int32_t index = IndexOfName(name);
  return index >= 0 ? GetString(index).substr(name.size() + 1) : WideString();
}

void TWideStrings::SetValues(const WideString& name, const WideString& value) {
  const int32_t index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  const WideString line = name + NameValueSeparator() + value;
  if (index >= 0)
    SetString(index, line);
  else
    Add(line);
}

WideString TWideStrings::ExtractName(const WideString& s) const {
  const size_t at = s.find(NameValueSeparator());
  return at != WideString::npos ? s.substr(0, at) : WideString();
}

void TWideStrings::Error(const WideString& message, int32_t data) const {
  throw EStringListError(DefaultWideToAnsi(WideFormat(message, {data})));
}

void TWideStrings::ErrorRes(PResStringRec message, int32_t data) const { Error(LoadWideResString(message), data); }

// ---- TAnsiStringsForWideStringsAdapter ----

uint32_t TAnsiStringsForWideStringsAdapter::CodePage() const {
  return FAdapterCodePage != 0 ? FAdapterCodePage : UserCodePage;
}

AnsiString TAnsiStringsForWideStringsAdapter::Get(int32_t index) const {
  return WideToAnsiWithCodePage(FWideStrings.GetString(index), CodePage());
}

int32_t TAnsiStringsForWideStringsAdapter::GetCount() const { return FWideStrings.GetCount(); }

TObject* TAnsiStringsForWideStringsAdapter::GetObject(int32_t index) const { return FWideStrings.GetObject(index); }

void TAnsiStringsForWideStringsAdapter::Put(int32_t index, const AnsiString& s) {
  FWideStrings.SetString(index, AnsiToWideWithCodePage(s, CodePage()));
}

void TAnsiStringsForWideStringsAdapter::PutObject(int32_t index, TObject* object) {
  FWideStrings.SetObject(index, object);
}

void TAnsiStringsForWideStringsAdapter::Insert(int32_t index, const AnsiString& s) {
  FWideStrings.Insert(index, AnsiToWideWithCodePage(s, CodePage()));
}

void TAnsiStringsForWideStringsAdapter::Delete(int32_t index) { FWideStrings.Delete(index); }

void TAnsiStringsForWideStringsAdapter::Clear() { FWideStrings.Clear(); }

void TAnsiStringsForWideStringsAdapter::SetUpdateState(bool updating) {
  if (updating)
    FWideStrings.BeginUpdate();
  else
    FWideStrings.EndUpdate();
}

void TAnsiStringsForWideStringsAdapter::LoadFromStreamEx(TStream& stream, uint32_t codePage) {
  const std::string bytes = ReadBytes(stream, BytesLeft(stream));
  FWideStrings.WithinUpdate([&] { FWideStrings.SetText(AnsiToWideWithCodePage(bytes, codePage)); });
}

void TAnsiStringsForWideStringsAdapter::SaveToStreamEx(TStream& stream, uint32_t codePage) {
  const AnsiString text = WideToAnsiWithCodePage(FWideStrings.GetText(), codePage);
  WriteBytes(stream, text);
}

// ---- TUniStrings ----

TUniStrings::TUniStrings() : FAnsiStrings(std::make_unique<TAnsiStringsForWideStringsAdapter>(*this, 0)) {}

TUniStrings::~TUniStrings() = default;

void TUniStrings::SetAnsiStrings(const TStrings& value) { FAnsiStrings->Assign(value); }

void TUniStrings::LoadFromStreamWithBom(TStream& stream, bool detect) {
  WithinUpdate([&] {
    const TStreamTextEncoding encoding = detect ? DetectStreamCharSet(stream) : steUtf16LE;
    const int64_t left = BytesLeft(stream);
    switch (encoding) {
      case steUtf16LE:
      case steUtf16BE:
        // The odd last byte is read with the rest and ignored.
        SetText(left >= 2 ? Utf16FromBytes(ReadBytes(stream, left), encoding == steUtf16BE) : WideString());
        break;
      case steUtf8:
        SetText(Utf8ToWide(ReadBytes(stream, left)));
        break;
      case steAnsi:
        SetText(DefaultAnsiToWide(ReadBytes(stream, left)));
        break;
    }
  });
}

void TUniStrings::SaveToStreamWithBom(TStream& stream, bool withBom) {
  if (withBom) {
    static constexpr uint8_t kMark[] = {0xFF, 0xFE};
    stream.WriteBuffer(kMark, sizeof kMark);
  }
  WriteUtf16LE(stream, GetText());
}

void TUniStrings::LoadFromFile(const WideString& fileName) {
  TStringStream stream(WideLoadFileBytes(fileName));
  const TStreamTextEncoding detected = DetectStreamCharSet(stream);
  stream.SetPosition(0);
  LoadFromStream(stream);
  FDetectedFileCharSet = detected;
}

void TUniStrings::LoadFromStream(TStream& stream) { LoadFromStreamWithBom(stream, true); }

void TUniStrings::SaveToFile(const WideString& fileName) {
  WideSaveFileReplacing(fileName, [this](TStream& stream) { SaveToStream(stream); });
}

void TUniStrings::SaveToStream(TStream& stream) { SaveToStreamWithBom(stream, true); }

// ---- TUniStringList ----

void TUniStringList::CheckIndex(int32_t index) const {
  if (index < 0 || index >= GetCount()) ErrorRes(&SListIndexErrorRes, index);
}

WideString TUniStringList::GetString(int32_t index) const {
  CheckIndex(index);
  return FList[static_cast<size_t>(index)].String;
}

const WideString& TUniStringList::StringRef(int32_t index) const {
  CheckIndex(index);
  return FList[static_cast<size_t>(index)].String;
}

WideString TUniStringList::GetText() const {
  size_t length = 0;
  for (const TUniStringItem& item : FList) length += item.String.size() + 2;
  WideString text;
  text.reserve(length);
  for (const TUniStringItem& item : FList) text.append(item.String).append(u"\r\n");
  return text;
}

TObject* TUniStringList::GetObject(int32_t index) const {
  CheckIndex(index);
  return FList[static_cast<size_t>(index)].Object;
}

void TUniStringList::SetString(int32_t index, const WideString& s) {
  if (FSorted) ErrorRes(&SSortedListErrorRes, 0);
  CheckIndex(index);
  Changing();
  FList[static_cast<size_t>(index)].String = s;
  Changed();
}

void TUniStringList::SetObject(int32_t index, TObject* object) {
  CheckIndex(index);
  Changing();
  FList[static_cast<size_t>(index)].Object = object;
  Changed();
}

void TUniStringList::SetCapacity(int32_t newCapacity) {
  if (newCapacity < GetCount()) ErrorRes(&SListCapacityErrorRes, newCapacity);
  std::vector<TUniStringItem> items;
  items.reserve(static_cast<size_t>(newCapacity));
  std::move(FList.begin(), FList.end(), std::back_inserter(items));
  FList = std::move(items);
  FCapacity = newCapacity;
}

void TUniStringList::Grow() {
  const int32_t delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
  // Capacity takes the list's own steps; the storage starts at 16 items and at least
  // doubles, so a list filled item by item is moved a few times, not every few items.
  FCapacity += delta;
  const auto wanted = static_cast<size_t>(FCapacity);
  if (wanted > FList.capacity()) FList.reserve(std::max({wanted, 2 * FList.capacity(), size_t{16}}));
}

void TUniStringList::SetUpdateState(bool updating) {
  FUpdating = updating;
  if (updating)
    Changing();
  else
    Changed();
}

void TUniStringList::Changed() {
  if (!FUpdating && FOnChange) FOnChange(this);
}

void TUniStringList::Changing() {
  if (!FUpdating && FOnChanging) FOnChanging(this);
}

int32_t TUniStringList::CompareStrings(const WideString& s1, const WideString& s2) const {
  return CompareLocale(s1, s2, FCaseSensitive ? 0 : NORM_IGNORECASE);
}

int32_t TUniStringList::Add(const WideString& s) { return AddObject(s, nullptr); }

int32_t TUniStringList::AddObject(const WideString& s, TObject* object) {
  int32_t index = GetCount();
  if (FSorted && Find(s, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) ErrorRes(&SDuplicateStringRes, 0);
  }
  InsertItem(index, s, object);
  return index;
}

void TUniStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList = std::vector<TUniStringItem>();
  FCapacity = 0;
  Changed();
}

void TUniStringList::Delete(int32_t index) {
  CheckIndex(index);
  Changing();
  FList.erase(FList.begin() + index);
  Changed();
}

void TUniStringList::Exchange(int32_t index1, int32_t index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(FList[static_cast<size_t>(index1)], FList[static_cast<size_t>(index2)]);
  Changed();
}

bool TUniStringList::Find(const WideString& s, int32_t& index) const {
  return SortedFind(
      GetCount(), FDuplicates == dupAccept,
      [&](int32_t i) { return CompareStrings(FList[static_cast<size_t>(i)].String, s); }, index);
}

int32_t TUniStringList::IndexOf(const WideString& s) const {
  if (!FSorted) return TUniStrings::IndexOf(s);
  int32_t index;
  return Find(s, index) ? index : -1;
}

int32_t TUniStringList::IndexOfName(const WideString& name) const {
  if (!FSorted) return TUniStrings::IndexOfName(name);
  const WideString prefix = name + NameValueSeparator();
  int32_t index;
  Find(prefix, index);
  if (index >= GetCount()) return -1;
  return CompareStrings(FList[static_cast<size_t>(index)].String.substr(0, prefix.size()), prefix) == 0 ? index : -1;
}

void TUniStringList::Insert(int32_t index, const WideString& s) { InsertObject(index, s, nullptr); }

void TUniStringList::InsertObject(int32_t index, const WideString& s, TObject* object) {
  if (FSorted) ErrorRes(&SSortedListErrorRes, 0);
  if (index < 0 || index > GetCount()) ErrorRes(&SListIndexErrorRes, index);
  InsertItem(index, s, object);
}

void TUniStringList::InsertItem(int32_t index, const WideString& s, TObject* object) {
  Changing();
  if (GetCount() == FCapacity) Grow();
  FList.insert(FList.begin() + index, TUniStringItem{s, object});
  Changed();
}

void TUniStringList::SortAlways(const TUniStringListSortCompare& compare) {
  if (GetCount() < 2) return;
  Changing();
  IndexQuickSort(
      0, GetCount() - 1, [&](int32_t i, int32_t j) { return compare(*this, i, j); },
      [&](int32_t i, int32_t j) { std::swap(FList[static_cast<size_t>(i)], FList[static_cast<size_t>(j)]); });
  Changed();
}

int32_t TUniStringList::CompareItems(TUniStringList& list, int32_t index1, int32_t index2) {
  return list.CompareStrings(list.FList[static_cast<size_t>(index1)].String,
                             list.FList[static_cast<size_t>(index2)].String);
}

void TUniStringList::Sort() { CustomSort(CompareItems); }

void TUniStringList::CustomSort(const TUniStringListSortCompare& compare) {
  if (!FSorted) SortAlways(compare);
}

void TUniStringList::SetSorted(bool value) {
  if (value == FSorted) return;
  if (value) Sort();
  FSorted = value;
}

void TUniStringList::SetCaseSensitive(bool value) {
  if (value == FCaseSensitive) return;
  FCaseSensitive = value;
  if (!FSorted) return;
  SortAlways(CompareItems);
}
