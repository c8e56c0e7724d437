#include "platform/base/PrivateProfile.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/CompareString.h"
#include "platform/base/FileContents.h"
#include "platform/base/FileReplace.h"
#include "platform/base/FileSystem.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"

namespace {

enum class ProfileEncoding { Ansi, Utf16LE, Utf16BE, Utf8 };

// A profile file as lines of text, with what it takes to write it back as it was.
struct ProfileFile {
  ProfileEncoding Encoding = ProfileEncoding::Utf16LE;
  WideString LineBreak = u"\r\n";
  bool FinalBreak = true;  // the last line is followed by a break
  std::vector<WideString> Lines;
  // Lines of an 8-bit file with bytes the code page does not define, by their text as
  // read: written back with those bytes while unchanged.
  std::map<WideString, std::string> UndecodableLines;
};

// The lines [First, End) of a section, its header line included.
struct SectionRange {
  size_t First;
  size_t End;
};

bool IsBlank(WideChar c) { return c <= 0x20; }

WideStringView TrimBlanks(WideStringView s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(WideStringView a, WideStringView b) { return CompareWideStrings(a, b, true) == 0; }

bool IsQuote(WideChar c) { return c == u'"' || c == u'\''; }

bool IsQuoted(WideStringView s) { return s.size() >= 2 && IsQuote(s.front()) && s.front() == s.back(); }

// The name of a section header line.
std::optional<WideStringView> SectionNameOf(WideStringView line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != u'[') return std::nullopt;
  line.remove_prefix(1);
  return TrimBlanks(line.substr(0, line.find(u']')));
}

// The key of a key line, and its value as written.
std::optional<WideStringView> KeyOf(WideStringView line, WideStringView* rawValue = nullptr) {
  const WideStringView trimmed = TrimBlanks(line);
  const size_t equals = line.find(u'=');
  if (equals == WideStringView::npos || trimmed.front() == u';' || trimmed.front() == u'[') return std::nullopt;
  if (rawValue != nullptr) *rawValue = line.substr(equals + 1);
  return TrimBlanks(line.substr(0, equals));
}

WideString ValueOf(WideStringView rawValue) {
  WideStringView value = TrimBlanks(rawValue);
  if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
  return WideString(value);
}

// The text a value is written as, so that ValueOf gives it back.
WideString EncodeValue(WideStringView value) {
  const bool quote = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || IsQuoted(value));
  return quote ? u"\"" + WideString(value) + u"\"" : WideString(value);
}

bool HasLineBreak(WideStringView s) { return s.find_first_of(u"\r\n") != WideStringView::npos; }

// ---- Reading and writing the file ----

ProfileEncoding EncodingOf(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return ProfileEncoding::Utf16LE;
  if (bytes.starts_with("\xFE\xFF")) return ProfileEncoding::Utf16BE;
  if (bytes.starts_with("\xEF\xBB\xBF")) return ProfileEncoding::Utf8;
  return ProfileEncoding::Ansi;
}

// The text of a file in one of the Unicode encodings, after its byte-order mark.
WideString DecodeUnicodeText(std::string_view bytes, ProfileEncoding encoding) {
  if (encoding == ProfileEncoding::Utf8) return AnsiToWide(bytes.substr(3), CP_UTF8);
  const bool littleEndian = encoding == ProfileEncoding::Utf16LE;
  WideString text;
  text.reserve(bytes.size() / 2);
  // An odd last byte is no character and is dropped.
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<uint8_t>(bytes[i]);
    const auto second = static_cast<uint8_t>(bytes[i + 1]);
    text.push_back(static_cast<WideChar>(littleEndian ? first | second << 8 : first << 8 | second));
  }
  return text;
}

// The lines of a text broken by CR LF, CR or LF; notes in `profile` the first break and
// whether the text ends with one.
template <typename Char>
std::vector<std::basic_string<Char>> SplitLines(std::basic_string_view<Char> text, ProfileFile& profile) {
  static constexpr Char kBreaks[] = {Char('\r'), Char('\n'), Char(0)};
  static constexpr Char kCrLf[] = {Char('\r'), Char('\n'), Char(0)};
  std::vector<std::basic_string<Char>> lines;
  bool breakSeen = false;
  size_t start = 0;
  profile.FinalBreak = true;
  while (start < text.size()) {
    const size_t end = std::min(text.find_first_of(kBreaks, start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    if (end == text.size()) {
      profile.FinalBreak = false;
      break;
    }
    const size_t breakLength = text.compare(end, 2, kCrLf) == 0 ? 2 : 1;
    const auto lineBreak = text.substr(end, breakLength);
    if (!breakSeen) profile.LineBreak.assign(lineBreak.begin(), lineBreak.end());
    breakSeen = true;
    start = end + breakLength;
  }
  return lines;
}

// Reads the whole file at `path` (a regular file only: ReadRegularFile). A missing file
// gives an empty profile and true; any other failure false with the last error set.
bool LoadProfile(const std::string& path, ProfileFile& profile) {
  std::string bytes;
  if (!ReadRegularFile(path, bytes)) {
    const uint32_t error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  if (bytes.empty()) return true;
  profile.Encoding = EncodingOf(bytes);
  if (profile.Encoding != ProfileEncoding::Ansi) {
    profile.Lines = SplitLines(WideStringView(DecodeUnicodeText(bytes, profile.Encoding)), profile);
    return true;
  }
  for (std::string& raw : SplitLines(std::string_view(bytes), profile)) {
    WideString line = AnsiToWide(raw, CP_ACP);
    // A byte the code page does not define reads as U+FFFD; the line keeps its bytes
    // while nothing changes it.
    if (line.find(u'\uFFFD') != WideString::npos) profile.UndecodableLines.emplace(line, std::move(raw));
    profile.Lines.push_back(std::move(line));
  }
  return true;
}

// Loads the profile of a wide file name.
bool LoadProfile(const WideChar* fileName, std::string& path, ProfileFile& profile) {
  return NameBytes(fileName, path) && LoadProfile(path, profile);
}

// The 8-bit form of the profile's lines; false when a line the code page cannot hold
// was written. Unchanged lines with undefined bytes keep the bytes they were read from.
bool EncodeAnsiLines(const ProfileFile& profile, std::string& ansi) {
  for (size_t i = 0; i < profile.Lines.size(); ++i) {
    const WideString& line = profile.Lines[i];
    if (const auto kept = profile.UndecodableLines.find(line); kept != profile.UndecodableLines.end()) {
      ansi += kept->second;
    } else {
      bool lossy = false;
      const std::string bytes = WideToAnsi(line, CP_ACP, &lossy);
      if (lossy || AnsiToWide(bytes, CP_ACP) != line) return false;
      ansi += bytes;
    }
    if (i + 1 < profile.Lines.size() || profile.FinalBreak) ansi += WideToAnsi(profile.LineBreak, CP_ACP);
  }
  return true;
}

std::string EncodeText(const ProfileFile& profile) {
  WideString text;
  for (size_t i = 0; i < profile.Lines.size(); ++i) {
    text += profile.Lines[i];
    if (i + 1 < profile.Lines.size() || profile.FinalBreak) text += profile.LineBreak;
  }
  ProfileEncoding encoding = profile.Encoding;
  if (encoding == ProfileEncoding::Ansi) {
    std::string ansi;
    if (EncodeAnsiLines(profile, ansi)) return ansi;
    encoding = ProfileEncoding::Utf16LE;
  }
  if (encoding == ProfileEncoding::Utf8) return "\xEF\xBB\xBF" + WideToAnsi(text, CP_UTF8);
  const bool littleEndian = encoding == ProfileEncoding::Utf16LE;
  std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  bytes.reserve(2 + text.size() * 2);
  for (const WideChar c : text) {
    const auto low = static_cast<char>(c & 0xFF);
    const auto high = static_cast<char>(c >> 8);
    bytes += littleEndian ? low : high;
    bytes += littleEndian ? high : low;
  }
  return bytes;
}

// Writes the profile to `path` through a complete copy moved over it, so a failure
// leaves the file as it was.
bool SaveProfile(const std::string& path, const ProfileFile& profile) {
  return ReplaceFileContents(path, EncodeText(profile));
}

// ---- Sections and keys ----

std::vector<SectionRange> Sections(const ProfileFile& profile) {
  std::vector<SectionRange> sections;
  for (size_t i = 0; i < profile.Lines.size(); ++i) {
    if (!SectionNameOf(profile.Lines[i])) continue;
    if (!sections.empty()) sections.back().End = i;
    sections.push_back({i, profile.Lines.size()});
  }
  return sections;
}

std::optional<SectionRange> FindSection(const ProfileFile& profile, WideStringView name) {
  name = TrimBlanks(name);
  for (const SectionRange& section : Sections(profile))
    if (SameName(*SectionNameOf(profile.Lines[section.First]), name)) return section;
  return std::nullopt;
}

std::optional<size_t> FindKey(const ProfileFile& profile, SectionRange section, WideStringView key) {
  key = TrimBlanks(key);
  for (size_t i = section.First + 1; i < section.End; ++i) {
    const auto lineKey = KeyOf(profile.Lines[i]);
    if (lineKey && SameName(*lineKey, key)) return i;
  }
  return std::nullopt;
}

// ---- Answering a read ----

// What a read gives: a value, or a list of names.
struct ProfileAnswer {
  bool IsList = false;
  WideString Value;
  std::vector<WideString> Names;
};

ProfileAnswer Answer(const WideChar* appName, const WideChar* keyName, const WideChar* defaultValue,
                     const WideChar* fileName) {
  ProfileAnswer answer;
  answer.IsList = appName == nullptr || keyName == nullptr;
  std::string path;
  ProfileFile profile;
  LoadProfile(fileName, path, profile);
  if (appName == nullptr) {
    for (const SectionRange& section : Sections(profile)) {
      const WideStringView name = *SectionNameOf(profile.Lines[section.First]);
      if (!name.empty()) answer.Names.emplace_back(name);
    }
    return answer;
  }
  const auto section = FindSection(profile, appName);
  if (keyName == nullptr) {
    if (!section) return answer;
    for (size_t i = section->First + 1; i < section->End; ++i) {
      const auto key = KeyOf(profile.Lines[i]);
      if (key && !key->empty()) answer.Names.emplace_back(*key);
    }
    SetLastError(ERROR_SUCCESS);
    return answer;
  }
  const auto key = section ? FindKey(profile, *section, keyName) : std::nullopt;
  if (!key) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    if (defaultValue != nullptr) answer.Value = defaultValue;
    return answer;
  }
  WideStringView rawValue;
  KeyOf(profile.Lines[*key], &rawValue);
  answer.Value = ValueOf(rawValue);
  SetLastError(ERROR_SUCCESS);
  return answer;
}

template <typename Char>
uint32_t DeliverValue(std::basic_string_view<Char> value, Char* buffer, uint32_t size) {
  if (buffer == nullptr || size == 0) return 0;
  const auto count = static_cast<uint32_t>(std::min<size_t>(value.size(), size - 1));
  value.copy(buffer, count);
  buffer[count] = 0;
  return count;
}

template <typename Char>
uint32_t DeliverList(const std::vector<std::basic_string<Char>>& names, Char* buffer, uint32_t size) {
  if (buffer == nullptr || size == 0) return 0;
  std::basic_string<Char> list;
  for (const auto& name : names) {
    list += name;
    list += Char(0);
  }
  if (size < 2) {
    buffer[0] = 0;
    return 0;
  }
  if (list.size() + 1 <= size) {
    list.copy(buffer, list.size());
    buffer[list.size()] = 0;
    if (list.empty()) buffer[1] = 0;
    return static_cast<uint32_t>(list.size());
  }
  list.copy(buffer, size - 2);
  buffer[size - 2] = 0;
  buffer[size - 1] = 0;
  return size - 2;
}

// ---- Changing the file ----

bool Refuse() {
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

// Whether a line can hold the section name, key and value so that they read back.
bool CanWrite(WideStringView section, WideStringView key, WideStringView value) {
  const WideStringView keyName = TrimBlanks(key);
  return !HasLineBreak(section) && TrimBlanks(section).find(u']') == WideStringView::npos && !HasLineBreak(key) &&
         key.find(u'=') == WideStringView::npos && (keyName.empty() || (keyName[0] != u'[' && keyName[0] != u';')) &&
         !HasLineBreak(value);
}

bool SetValue(ProfileFile& profile, WideStringView section, WideStringView key, WideStringView value) {
  const WideStringView sectionName = TrimBlanks(section);
  const WideStringView keyName = TrimBlanks(key);
  if (!CanWrite(section, key, value)) return Refuse();
  const auto range = FindSection(profile, sectionName);
  if (!range) {
    if (!profile.Lines.empty() && !TrimBlanks(profile.Lines.back()).empty()) profile.Lines.emplace_back();
    profile.Lines.push_back(u"[" + WideString(sectionName) + u"]");
    profile.Lines.push_back(WideString(keyName) + u"=" + EncodeValue(value));
    return true;
  }
  if (const auto line = FindKey(profile, *range, keyName)) {
    // The key keeps its spelling in the file.
    profile.Lines[*line] = WideString(*KeyOf(profile.Lines[*line])) + u"=" + EncodeValue(value);
    return true;
  }
  size_t at = range->End;
  while (at > range->First + 1 && TrimBlanks(profile.Lines[at - 1]).empty()) --at;
  profile.Lines.insert(profile.Lines.begin() + static_cast<std::ptrdiff_t>(at),
                       WideString(keyName) + u"=" + EncodeValue(value));
  return true;
}

// Removes the key's lines from the first section of its name; false when there are none.
bool RemoveKey(ProfileFile& profile, WideStringView section, WideStringView key) {
  const auto range = FindSection(profile, section);
  if (!range) return false;
  key = TrimBlanks(key);
  bool removed = false;
  for (size_t i = range->End; i-- > range->First + 1;) {
    const auto lineKey = KeyOf(profile.Lines[i]);
    if (lineKey && SameName(*lineKey, key)) {
      profile.Lines.erase(profile.Lines.begin() + static_cast<std::ptrdiff_t>(i));
      removed = true;
    }
  }
  return removed;
}

// Removes every section of the name; false when there is none.
bool RemoveSection(ProfileFile& profile, WideStringView section) {
  section = TrimBlanks(section);
  const std::vector<SectionRange> sections = Sections(profile);
  bool removed = false;
  bool removedLast = false;
  for (auto it = sections.rbegin(); it != sections.rend(); ++it) {
    if (!SameName(*SectionNameOf(profile.Lines[it->First]), section)) continue;
    removedLast = removedLast || it->End == profile.Lines.size();
    profile.Lines.erase(profile.Lines.begin() + static_cast<std::ptrdiff_t>(it->First),
                        profile.Lines.begin() + static_cast<std::ptrdiff_t>(it->End));
    removed = true;
  }
  // The blank lines that set off a removed last section go with it.
  if (removedLast)
    while (!profile.Lines.empty() && TrimBlanks(profile.Lines.back()).empty()) profile.Lines.pop_back();
  return removed;
}

// An 8-bit argument as a wide one (null stays null).
struct WideArgument {
  explicit WideArgument(const char* text)
      : Present(text != nullptr), Text(Present ? AnsiToWide(text, CP_ACP) : WideString()) {}
  const WideChar* Get() const { return Present ? Text.c_str() : nullptr; }
  bool Present;
  WideString Text;
};

// Answers an 8-bit read in UTF-16.
ProfileAnswer AnswerA(const char* appName, const char* keyName, const char* defaultValue, const char* fileName) {
  const WideArgument app(appName), key(keyName), fallback(defaultValue);
  WideString file;
  const bool named = fileName != nullptr && AnsiToWideName(fileName, file);
  return Answer(app.Get(), key.Get(), fallback.Get(), named ? file.c_str() : nullptr);
}

// A section's keys as one reading of the file finds them: the names a read of the section
// lists, and the value a read of each key gives (that of its first key line).
class SectionKeys {
public:
  SectionKeys(const WideChar* appName, const WideChar* fileName) {
    std::string path;
    ProfileFile profile;
    LoadProfile(fileName, path, profile);
    const auto section = appName != nullptr ? FindSection(profile, appName) : std::nullopt;
    if (!section) return;
    for (size_t i = section->First + 1; i < section->End; ++i) {
      WideStringView rawValue;
      const auto key = KeyOf(profile.Lines[i], &rawValue);
      if (!key) continue;
      if (!key->empty()) Names.emplace_back(*key);
      FFirstValues.try_emplace(WideString(*key), ValueOf(rawValue));
    }
  }

  // The value a read of `name` gives: the name is taken as far as a C string holds it,
  // and trimmed.
  const WideString& ValueFor(WideStringView name) const {
    static const WideString none;
    const auto found = FFirstValues.find(WideString(TrimBlanks(name.substr(0, name.find(u'\0')))));
    return found == FFirstValues.end() ? none : found->second;
  }

  std::vector<WideString> Names;

private:
  struct NameLess {
    bool operator()(const WideString& a, const WideString& b) const { return CompareWideStrings(a, b, true) < 0; }
  };
  std::map<WideString, WideString, NameLess> FFirstValues;
};

std::vector<AnsiString> AnsiNames(const std::vector<WideString>& names) {
  std::vector<AnsiString> ansi;
  for (const WideString& name : names) ansi.push_back(WideToAnsi(name, CP_ACP));
  return ansi;
}

}  // namespace

uint32_t GetPrivateProfileStringW(const WideChar* appName, const WideChar* keyName, const WideChar* defaultValue,
                                  WideChar* returnedString, uint32_t size, const WideChar* fileName) {
  const ProfileAnswer answer = Answer(appName, keyName, defaultValue, fileName);
  return answer.IsList ? DeliverList(answer.Names, returnedString, size)
                       : DeliverValue(WideStringView(answer.Value), returnedString, size);
}

uint32_t GetPrivateProfileStringA(const char* appName, const char* keyName, const char* defaultValue,
                                  char* returnedString, uint32_t size, const char* fileName) {
  const ProfileAnswer answer = AnswerA(appName, keyName, defaultValue, fileName);
  if (!answer.IsList) return DeliverValue(std::string_view(WideToAnsi(answer.Value, CP_ACP)), returnedString, size);
  return DeliverList(AnsiNames(answer.Names), returnedString, size);
}

bool WritePrivateProfileStringW(const WideChar* appName, const WideChar* keyName, const WideChar* string,
                                const WideChar* fileName) {
  std::string path;
  if (appName == nullptr) {
    if (keyName != nullptr || string != nullptr || fileName == nullptr) return Refuse();
    return NameBytes(fileName, path);  // nothing is cached: only the name can fail
  }
  ProfileFile profile;
  if (!LoadProfile(fileName, path, profile)) return false;
  if (keyName == nullptr) return !RemoveSection(profile, appName) || SaveProfile(path, profile);
  if (string == nullptr) return !RemoveKey(profile, appName, keyName) || SaveProfile(path, profile);
  return SetValue(profile, appName, keyName, string) && SaveProfile(path, profile);
}

bool WritePrivateProfileStringA(const char* appName, const char* keyName, const char* string, const char* fileName) {
  const WideArgument app(appName), key(keyName), value(string);
  WideString file;
  if (fileName != nullptr && !AnsiToWideName(fileName, file)) return false;
  return WritePrivateProfileStringW(app.Get(), key.Get(), value.Get(), fileName != nullptr ? file.c_str() : nullptr);
}

WideString GetPrivateProfileValueW(const WideChar* appName, const WideChar* keyName, const WideChar* defaultValue,
                                   const WideChar* fileName) {
  return Answer(appName, keyName, defaultValue, fileName).Value;
}

AnsiString GetPrivateProfileValueA(const char* appName, const char* keyName, const char* defaultValue,
                                   const char* fileName) {
  return WideToAnsi(AnswerA(appName, keyName, defaultValue, fileName).Value, CP_ACP);
}

std::vector<WideString> GetPrivateProfileNamesW(const WideChar* appName, const WideChar* fileName) {
  return Answer(appName, nullptr, nullptr, fileName).Names;
}

std::vector<AnsiString> GetPrivateProfileNamesA(const char* appName, const char* fileName) {
  return AnsiNames(AnswerA(appName, nullptr, nullptr, fileName).Names);
}

std::vector<WideString> GetPrivateProfileLinesW(const WideChar* appName, const WideChar* fileName) {
  const SectionKeys keys(appName, fileName);
  std::vector<WideString> lines;
  for (const WideString& name : keys.Names) lines.push_back(name + u"=" + keys.ValueFor(name));
  return lines;
}

// The names and values pass through the code page as the 8-bit reads pass them: a name
// that becomes another one there gives that one's value.
std::vector<AnsiString> GetPrivateProfileLinesA(const char* appName, const char* fileName) {
  const WideArgument app(appName);
  WideString file;
  const bool named = fileName != nullptr && AnsiToWideName(fileName, file);
  const SectionKeys keys(app.Get(), named ? file.c_str() : nullptr);
  std::vector<AnsiString> lines;
  for (AnsiString& name : AnsiNames(keys.Names)) {
    const WideString asked = AnsiToWide(AnsiStringView(name).substr(0, name.find('\0')), CP_ACP);
    lines.push_back(std::move(name) + "=" + WideToAnsi(keys.ValueFor(asked), CP_ACP));
  }
  return lines;
}

std::vector<TProfileSection> ReadPrivateProfileSectionsW(const WideChar* fileName) {
  std::vector<TProfileSection> sections;
  std::string path;
  ProfileFile profile;
  if (!LoadProfile(fileName, path, profile)) return sections;
  for (const SectionRange& range : Sections(profile)) {
    TProfileSection& section = sections.emplace_back();
    section.Name = WideString(*SectionNameOf(profile.Lines[range.First]));
    for (size_t i = range.First + 1; i < range.End; ++i) {
      WideStringView rawValue;
      if (const auto key = KeyOf(profile.Lines[i], &rawValue)) section.Keys.emplace_back(*key, ValueOf(rawValue));
    }
  }
  return sections;
}

bool WritePrivateProfileSectionsW(const std::vector<TProfileSection>& sections, const WideChar* fileName) {
  std::string path;
  ProfileFile profile;
  if (!LoadProfile(fileName, path, profile)) return false;
  profile.Lines.clear();
  profile.UndecodableLines.clear();
  profile.FinalBreak = true;
  for (const TProfileSection& section : sections) {
    if (!CanWrite(section.Name, WideStringView(), WideStringView())) return Refuse();
    if (!profile.Lines.empty()) profile.Lines.emplace_back();
    profile.Lines.push_back(u"[" + WideString(TrimBlanks(section.Name)) + u"]");
    for (const auto& [key, value] : section.Keys) {
      if (!CanWrite(section.Name, key, value)) return Refuse();
      profile.Lines.push_back(WideString(TrimBlanks(key)) + u"=" + EncodeValue(value));
    }
  }
  return SaveProfile(path, profile);
}
