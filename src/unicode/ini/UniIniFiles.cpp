#include "unicode/ini/UniIniFiles.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "platform/base/Exception.h"
#include "platform/base/FloatText.h"
#include "platform/base/Format.h"
#include "platform/base/LastError.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/StringLists.h"
#include "platform/base/TextUtils.h"
#include "platform/base/UnicodeCase.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

// Replaces the contents of `strings` by `lines`.
void FillStrings(TWideStrings& strings, const std::vector<WideString>& lines) {
  strings.WithinUpdate([&] {
    strings.Clear();
    for (const WideString& line : lines) strings.Add(line);
  });
}

// Widened 8-bit lines of the 8-bit ini file.
std::vector<WideString> Widened(const TStrings& strings) {
  std::vector<WideString> lines;
  for (int32_t i = 0; i < strings.Count(); ++i) lines.push_back(DefaultAnsiToWide(strings.Strings(i)));
  return lines;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Decodes pairs of hexadecimal digits into `bytes` (room for `count`), stopping at the
// first pair that is not hexadecimal.
void HexToBin(const AnsiString& text, uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const int high = HexDigit(text[2 * i]);
    const int low = HexDigit(text[2 * i + 1]);
    if (high < 0 || low < 0) return;
    bytes[i] = static_cast<uint8_t>(high << 4 | low);
  }
}

WideString BinToHex(const uint8_t* bytes, size_t count) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  WideString text;
  text.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

// `s` without the blanks and control characters at either end, as Trim cuts them.
WideStringView TrimmedView(WideStringView s) {
  size_t first = 0;
  size_t last = s.size();
  while (first < last && s[first] <= u' ') ++first;
  while (last > first && s[last - 1] <= u' ') --last;
  return s.substr(first, last - first);
}

}  // namespace

// ---- TUniCustomIniFile ----

// Numbers are ASCII, which every ANSI code page keeps as it is: an ASCII text is narrowed
// and widened unit by unit, without the code-page conversion (a scheme reads and writes
// hundreds of them).
int32_t TUniCustomIniFile::ReadInteger(const WideString& section, const WideString& ident, int32_t defaultValue) {
  WideString s = ReadString(section, ident, WideString());
  if (s.size() > 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) s.replace(0, 2, u"$");
  if (std::any_of(s.begin(), s.end(), [](WideChar c) { return c > 0x7F; }))
    return StrToIntDef(DefaultWideToAnsi(s), defaultValue);
  AnsiString ascii(s.size(), '\0');
  std::transform(s.begin(), s.end(), ascii.begin(), [](WideChar c) { return static_cast<char>(c); });
  return StrToIntDef(ascii, defaultValue);
}

void TUniCustomIniFile::WriteInteger(const WideString& section, const WideString& ident, int32_t value) {
  const AnsiString digits = IntToStr(value);
  WriteString(section, ident, WideString(digits.begin(), digits.end()));
}

bool TUniCustomIniFile::ReadBool(const WideString& section, const WideString& ident, bool defaultValue) {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TUniCustomIniFile::WriteBool(const WideString& section, const WideString& ident, bool value) {
  WriteString(section, ident, value ? u"1" : u"0");
}

int32_t TUniCustomIniFile::ReadBinaryStream(const WideString& section, const WideString& ident, TStream& value) {
  const AnsiString text = DefaultWideToAnsi(ReadString(section, ident, WideString()));
  if (text.empty()) return 0;
  const auto count = static_cast<int64_t>(text.size() / 2);
  TUniMemoryStream temporary;
  auto* memory = dynamic_cast<TMemoryStream*>(&value);
  TMemoryStream& stream = memory != nullptr ? *memory : temporary;
  const int64_t start = stream.Position();
  // The stream grows by the byte count and keeps what stands after the decoded bytes.
  stream.SetSize(stream.Size() + count);
  HexToBin(text, static_cast<uint8_t*>(stream.Memory()) + start, static_cast<size_t>(count));
  stream.SetPosition(start);
  if (memory == nullptr) value.CopyFrom(stream, count);
  return static_cast<int32_t>(stream.Size() - start);
}

void TUniCustomIniFile::WriteBinaryStream(const WideString& section, const WideString& ident, TStream& value) {
  WideString text;
  if (auto* memory = dynamic_cast<TMemoryStream*>(&value)) {
    const int64_t position = std::max<int64_t>(memory->Position(), 0);
    if (position < memory->Size())
      text = BinToHex(static_cast<const uint8_t*>(memory->Memory()) + position,
                      static_cast<size_t>(memory->Size() - position));
  } else {
    TUniMemoryStream copy;
    const int64_t left = value.Size() - value.Position();
    if (left > 0) copy.CopyFrom(value, left);
    text = BinToHex(static_cast<const uint8_t*>(copy.Memory()), static_cast<size_t>(copy.Size()));
  }
  WriteString(section, ident, text);
}

namespace {

// A value converted by `convert`; the default when it is empty or does not convert.
template <typename Value, typename Convert>
Value ReadConverted(const WideString& text, Value defaultValue, Convert convert) {
  if (text.empty()) return defaultValue;
  try {
    return convert(text);
  } catch (const EConvertError&) {
    return defaultValue;
  }
}

}  // namespace

TDateTime TUniCustomIniFile::ReadDate(const WideString& section, const WideString& ident, TDateTime defaultValue) {
  return ReadConverted(ReadString(section, ident, WideString()), defaultValue, WideStrToDate);
}

TDateTime TUniCustomIniFile::ReadDateTime(const WideString& section, const WideString& ident, TDateTime defaultValue) {
  return ReadConverted(ReadString(section, ident, WideString()), defaultValue, WideStrToDateTime);
}

double TUniCustomIniFile::ReadFloat(const WideString& section, const WideString& ident, double defaultValue) {
  return ReadConverted(ReadString(section, ident, WideString()), defaultValue,
                       [](const WideString& text) { return StrToFloat(DefaultWideToAnsi(text)); });
}

TDateTime TUniCustomIniFile::ReadTime(const WideString& section, const WideString& ident, TDateTime defaultValue) {
  return ReadConverted(ReadString(section, ident, WideString()), defaultValue, WideStrToTime);
}

void TUniCustomIniFile::WriteDate(const WideString& section, const WideString& ident, TDateTime value) {
  WriteString(section, ident, DefaultAnsiToWide(DateToStr(value)));
}

void TUniCustomIniFile::WriteDateTime(const WideString& section, const WideString& ident, TDateTime value) {
  WriteString(section, ident, DefaultAnsiToWide(DateTimeToStr(value)));
}

void TUniCustomIniFile::WriteFloat(const WideString& section, const WideString& ident, double value) {
  WriteString(section, ident, DefaultAnsiToWide(FloatToStr(value)));
}

void TUniCustomIniFile::WriteTime(const WideString& section, const WideString& ident, TDateTime value) {
  WriteString(section, ident, DefaultAnsiToWide(TimeToStr(value)));
}

bool TUniCustomIniFile::SectionExists(const WideString& section) {
  TUniStringList keys;
  ReadSection(section, keys);
  return keys.Count() > 0;
}

// ---- TUniStringHash ----

uint32_t TUniStringHash::HashOf(const WideString& key) const {
  uint32_t hash = 0;
  for (const WideChar c : key) hash = std::rotl(hash, 2) ^ c;
  return hash;
}

size_t TUniStringHash::BucketOf(const WideString& key) const { return HashOf(key) % FHeads.size(); }

void TUniStringHash::Add(WideString key, int32_t value) {
  if (FItems.size() >= 2 * FHeads.size()) Grow();
  if (FItems.capacity() == 0) FItems.reserve(16);  // an ini section's keys, mostly
  int32_t& head = FHeads[BucketOf(key)];
  FItems.push_back({std::move(key), value, head});
  head = static_cast<int32_t>(FItems.size() - 1);
}

void TUniStringHash::Grow() {
  FHeads.assign(2 * FHeads.size(), -1);
  for (size_t i = 0; i < FItems.size(); ++i) {
    int32_t& head = FHeads[BucketOf(FItems[i].Key)];
    FItems[i].Next = head;
    head = static_cast<int32_t>(i);
  }
}

int32_t TUniStringHash::ValueOf(const WideString& key) const {
  // Chains run from the newest entry to the oldest.
  for (int32_t i = FHeads[BucketOf(key)]; i >= 0; i = FItems[static_cast<size_t>(i)].Next)
    if (FItems[static_cast<size_t>(i)].Key == key) return FItems[static_cast<size_t>(i)].Value;
  return -1;
}

void TUniStringHash::Clear() {
  FItems.clear();
  std::fill(FHeads.begin(), FHeads.end(), -1);
}

// ---- TUniHashedStringList ----

void TUniHashedStringList::FoldKey(WideString& key) const {
  if (CaseSensitive()) return;
  // ASCII folds to itself but for A-Z: ini keys are mostly ASCII.
  for (WideChar& c : key)
    c = c < 0x80 ? (c >= u'A' && c <= u'Z' ? static_cast<WideChar>(c + 32) : c) : SimpleCaseFold(c);
}

WideString TUniHashedStringList::HashKey(WideStringView s) const {
  WideString key(s);
  FoldKey(key);
  return key;
}

const WideString& TUniHashedStringList::LookupKey(WideStringView s) const {
  FLookupKey.assign(s);
  FoldKey(FLookupKey);
  return FLookupKey;
}

template <typename TChange>
void TUniHashedStringList::ChangeWith(THashUpdate update, TChange change) {
  FHashUpdate = update;
  try {
    change();
  } catch (...) {
    // Refused before anything changed (a bad index, a sorted list).
    FHashUpdate = THashUpdate::Drop;
    throw;
  }
  FHashUpdate = THashUpdate::Drop;
}

void TUniHashedStringList::InsertItem(int32_t index, const WideString& s, TObject* object) {
  // The newest item found among equal keys is the last one: an item at the end can join
  // the hashes, one inserted before others would shift their indexes.
  FAppended = &s;
  ChangeWith(index == GetCount() ? THashUpdate::Append : THashUpdate::Drop,
             [&] { TUniStringList::InsertItem(index, s, object); });
  FAppended = nullptr;
}

void TUniHashedStringList::SetString(int32_t index, const WideString& s) {
  THashUpdate update = THashUpdate::Drop;
  if (index >= 0 && index < GetCount()) {
    const WideChar separator = NameValueSeparator();
    const WideString old = GetString(index);
    const size_t oldAt = old.find(separator);
    const size_t newAt = s.find(separator);
    const bool sameName = oldAt == WideString::npos
                              ? newAt == WideString::npos
                              : newAt != WideString::npos && HashKey(WideStringView(old).substr(0, oldAt)) ==
                                                                 LookupKey(WideStringView(s).substr(0, newAt));
    if (sameName) update = THashUpdate::KeepNames;
  }
  ChangeWith(update, [&] { TUniStringList::SetString(index, s); });
}

void TUniHashedStringList::Changed() {
  switch (std::exchange(FHashUpdate, THashUpdate::Drop)) {
    case THashUpdate::Append: {
      const int32_t last = GetCount() - 1;
      if (ValueHashCurrent()) FValueHash->Add(HashKey(*FAppended), last);
      if (NameHashCurrent()) AddName(*FAppended, last);
      break;
    }
    case THashUpdate::KeepNames:
      FValueHashValid = false;
      break;
    case THashUpdate::Drop:
      FValueHashValid = false;
      FNameHashValid = false;
      break;
  }
  TUniStringList::Changed();
}

void TUniHashedStringList::AddName(WideStringView s, int32_t index) const {
  const size_t at = s.find(NameValueSeparator());
  if (at != WideStringView::npos) FNameHash->Add(HashKey(s.substr(0, at)), index);
}

bool TUniHashedStringList::ValueHashCurrent() const {
  return FValueHashValid && FValueHashCaseSensitive == CaseSensitive();
}

bool TUniHashedStringList::NameHashCurrent() const {
  return FNameHashValid && FNameHashCaseSensitive == CaseSensitive() && FNameHashSeparator == NameValueSeparator();
}

int32_t TUniHashedStringList::IndexOf(const WideString& s) const {
  if (!ValueHashCurrent()) {
    if (!FValueHash) FValueHash = std::make_unique<TUniStringHash>();
    FValueHash->Clear();
    for (int32_t i = 0; i < GetCount(); ++i) {
      WideString key = StringRef(i);
      FoldKey(key);
      FValueHash->Add(std::move(key), i);
    }
    FValueHashValid = true;
    FValueHashCaseSensitive = CaseSensitive();
    ++FHashBuilds;
  }
  return FValueHash->ValueOf(LookupKey(s));
}

int32_t TUniHashedStringList::IndexOfName(const WideString& name) const {
  if (!NameHashCurrent()) {
    if (!FNameHash) FNameHash = std::make_unique<TUniStringHash>();
    FNameHash->Clear();
    FNameHashCaseSensitive = CaseSensitive();
    FNameHashSeparator = NameValueSeparator();
    for (int32_t i = 0; i < GetCount(); ++i) AddName(StringRef(i), i);
    FNameHashValid = true;
    ++FHashBuilds;
  }
  return FNameHash->ValueOf(LookupKey(name));
}

// ---- TUniMemIniFile ----

TUniMemIniFile::TUniMemIniFile(const WideString& fileName) : TUniCustomIniFile(fileName) {
  FSections.SetNameValueSeparator(u'=');
  LoadValues(FFileName);
}

TUniMemIniFile::~TUniMemIniFile() = default;

void TUniMemIniFile::LoadValues(const WideString& fileName) {
  if (fileName.empty() || !WideFileExists(fileName)) {
    Clear();
    return;
  }
  // The file is read whole before anything is replaced, so a failure keeps the contents.
  TUniStringList lines;
  lines.LoadFromFile(fileName);
  SetStrings(lines);
}

int64_t TUniMemIniFile::HashBuilds() const {
  int64_t builds = FSections.HashBuilds();
  for (const auto& lines : FSectionLines) builds += lines->HashBuilds();
  return builds;
}

void TUniMemIniFile::Clear() {
  ForgetLastSection();
  FSections.Clear();
  FSectionLines.clear();
}

TUniHashedStringList& TUniMemIniFile::AddSection(const WideString& section) {
  // A new section of a name already there is the one that name reaches from now on.
  ForgetLastSection();
  auto& lines = FSectionLines.emplace_back(std::make_unique<TUniHashedStringList>());
  FSections.AddObject(section, lines.get());
  return *lines;
}

TUniHashedStringList* TUniMemIniFile::FindSection(const WideString& section) const {
  if (FLastSectionKnown && FLastSectionName == section) return FLastSection;
  const int32_t index = FSections.IndexOf(section);
  FLastSection = index >= 0 ? static_cast<TUniHashedStringList*>(FSections.Objects(index)) : nullptr;
  FLastSectionName = section;
  FLastSectionKnown = true;
  return FLastSection;
}

void TUniMemIniFile::SetStrings(const TWideStrings& list) {
  Clear();
  TUniHashedStringList* section = nullptr;
  // A file's lines are read in place.
  const auto* lines = dynamic_cast<const TUniStringList*>(&list);
  WideString copy;
  for (int32_t i = 0; i < list.Count(); ++i) {
    if (lines == nullptr) copy = list.Strings(i);
    const WideStringView line = TrimmedView(lines != nullptr ? lines->StringRef(i) : copy);
    if (line.empty() || line[0] == u';') continue;
    if (line[0] == u'[' && line.back() == u']') {
      section = &AddSection(Trim(line.substr(1, line.size() - 2)));
      continue;
    }
    if (section == nullptr) continue;  // lines before the first section are dropped
    const size_t equals = line.find(u'=');
    if (equals == WideStringView::npos) {
      section->Add(WideString(line));
      continue;
    }
    // The key trimmed, then "=" and the value as it stands.
    const WideStringView key = TrimmedView(line.substr(0, equals));
    WideString entry;
    entry.reserve(key.size() + line.size() - equals);
    entry.append(key).append(line.substr(equals));
    section->Add(entry);
  }
}

void TUniMemIniFile::GetStrings(TWideStrings& list) {
  list.WithinUpdate([&] {
    for (int32_t i = 0; i < FSections.Count(); ++i) {
      list.Add(WideString(u"[").append(FSections.Strings(i)).append(u"]"));
      const auto& lines = *static_cast<TUniHashedStringList*>(FSections.Objects(i));
      for (int32_t j = 0; j < lines.Count(); ++j) list.Add(lines.StringRef(j));
      list.Add(WideString());
    }
  });
}

WideString TUniMemIniFile::ReadString(const WideString& section, const WideString& ident,
                                      const WideString& defaultValue) {
  const TUniHashedStringList* lines = FindSection(section);
  const int32_t index = lines != nullptr ? lines->IndexOfName(ident) : -1;
  if (index < 0) return defaultValue;
  return WideString(WideStringView(lines->StringRef(index)).substr(ident.size() + 1));
}

void TUniMemIniFile::WriteString(const WideString& section, const WideString& ident, const WideString& value) {
  TUniHashedStringList* lines = FindSection(section);
  if (lines == nullptr) lines = &AddSection(section);
  WideString line;
  line.reserve(ident.size() + 1 + value.size());
  line.append(ident).append(1, u'=').append(value);
  const int32_t index = lines->IndexOfName(ident);
  if (index >= 0)
    lines->SetString(index, line);
  else
    lines->Add(line);
}

void TUniMemIniFile::ReadSection(const WideString& section, TWideStrings& strings) {
  std::vector<WideString> names;
  if (const TUniHashedStringList* lines = FindSection(section))
    for (int32_t i = 0; i < lines->Count(); ++i) names.push_back(lines->Names(i));
  FillStrings(strings, names);
}

void TUniMemIniFile::ReadSections(TWideStrings& strings) { strings.Assign(FSections); }

void TUniMemIniFile::ReadSectionValues(const WideString& section, TWideStrings& strings) {
  strings.WithinUpdate([&] {
    strings.Clear();
    if (const TUniHashedStringList* lines = FindSection(section)) strings.Assign(*lines);
  });
}

void TUniMemIniFile::EraseSection(const WideString& section) {
  const int32_t index = FSections.IndexOf(section);
  if (index < 0) return;
  const TObject* lines = FSections.Objects(index);
  ForgetLastSection();
  FSections.Delete(index);
  std::erase_if(FSectionLines, [&](const auto& owned) { return owned.get() == lines; });
}

void TUniMemIniFile::DeleteKey(const WideString& section, const WideString& ident) {
  TUniHashedStringList* lines = FindSection(section);
  const int32_t index = lines != nullptr ? lines->IndexOfName(ident) : -1;
  if (index >= 0) lines->Delete(index);
}

// The new text goes to a complete copy that replaces the file only once written, so a
// failure never leaves a settings or scheme file cut short.
void TUniMemIniFile::UpdateFile() {
  TUniStringList lines;
  GetStrings(lines);
  lines.SaveToFile(FFileName);
}

void TUniMemIniFile::Rename(const WideString& fileName, bool reload) {
  if (reload) LoadValues(fileName);
  FFileName = fileName;
}

// ---- TUniIniFile ----

TUniIniFile::TUniIniFile(const WideString& fileName) : TUniCustomIniFile(fileName) {
  AnsiString ansiName;
  if (PlatformIsUnicode()) return;
  if (TryDefaultWideToAnsi(fileName, ansiName))
    FAnsiIniFile = std::make_unique<TIniFile>(ansiName);
  else
    FNameNotAnsi = true;
}

// Destruction flushes; a destructor must not raise, so a failure goes to the
// application's exception display instead.
TUniIniFile::~TUniIniFile() {
  try {
    UpdateFile();
  } catch (const std::exception& e) {
    ShowException(e);
  }
}

bool TUniIniFile::NameFails() const {
  if (FNameNotAnsi) SetLastError(ERROR_INVALID_NAME);
  return FNameNotAnsi;
}

void TUniIniFile::RaiseWriteError() const {
  throw EIniFileException(Format(SIniFileWriteError, {DefaultWideToAnsi(FFileName)}));
}

WideString TUniIniFile::ReadString(const WideString& section, const WideString& ident, const WideString& defaultValue) {
  if (NameFails()) return defaultValue;
  if (FAnsiIniFile)
    return DefaultAnsiToWide(FAnsiIniFile->ReadString(DefaultWideToAnsi(section), DefaultWideToAnsi(ident),
                                                      DefaultWideToAnsi(defaultValue)));
  return GetPrivateProfileValueW(section.c_str(), ident.c_str(), defaultValue.c_str(), FFileName.c_str());
}

void TUniIniFile::WriteString(const WideString& section, const WideString& ident, const WideString& value) {
  if (NameFails()) RaiseWriteError();
  if (FAnsiIniFile) {
    FAnsiIniFile->WriteString(DefaultWideToAnsi(section), DefaultWideToAnsi(ident), DefaultWideToAnsi(value));
    return;
  }
  if (!WritePrivateProfileStringW(section.c_str(), ident.c_str(), value.c_str(), FFileName.c_str())) RaiseWriteError();
}

void TUniIniFile::ReadSection(const WideString& section, TWideStrings& strings) {
  if (NameFails()) return FillStrings(strings, {});
  if (FAnsiIniFile) {
    TStringList keys;
    FAnsiIniFile->ReadSection(DefaultWideToAnsi(section), keys);
    FillStrings(strings, Widened(keys));
    return;
  }
  FillStrings(strings, GetPrivateProfileNamesW(section.c_str(), FFileName.c_str()));
}

void TUniIniFile::ReadSections(TWideStrings& strings) {
  if (NameFails()) return FillStrings(strings, {});
  if (FAnsiIniFile) {
    TStringList sections;
    FAnsiIniFile->ReadSections(sections);
    FillStrings(strings, Widened(sections));
    return;
  }
  FillStrings(strings, GetPrivateProfileNamesW(nullptr, FFileName.c_str()));
}

void TUniIniFile::ReadSectionValues(const WideString& section, TWideStrings& strings) {
  if (NameFails()) return FillStrings(strings, {});
  if (FAnsiIniFile) {
    TStringList lines;
    FAnsiIniFile->ReadSectionValues(DefaultWideToAnsi(section), lines);
    FillStrings(strings, Widened(lines));
    return;
  }
  FillStrings(strings, GetPrivateProfileLinesW(section.c_str(), FFileName.c_str()));
}

void TUniIniFile::EraseSection(const WideString& section) {
  if (NameFails()) RaiseWriteError();
  if (FAnsiIniFile) {
    FAnsiIniFile->EraseSection(DefaultWideToAnsi(section));
    return;
  }
  if (!WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, FFileName.c_str())) RaiseWriteError();
}

void TUniIniFile::DeleteKey(const WideString& section, const WideString& ident) {
  if (NameFails()) return;
  if (FAnsiIniFile) {
    FAnsiIniFile->DeleteKey(DefaultWideToAnsi(section), DefaultWideToAnsi(ident));
    return;
  }
  WritePrivateProfileStringW(section.c_str(), ident.c_str(), nullptr, FFileName.c_str());
}

void TUniIniFile::UpdateFile() {
  if (NameFails()) RaiseWriteError();
  if (FAnsiIniFile) {
    FAnsiIniFile->UpdateFile();
    return;
  }
  if (!WritePrivateProfileStringW(nullptr, nullptr, nullptr, FFileName.c_str())) RaiseWriteError();
}
