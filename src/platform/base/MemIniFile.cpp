// TMemIniFile: an ini file parsed once into sections and keys indexed by name.
#include <algorithm>
#include <iterator>

#include "platform/base/CodePages.h"
#include "platform/base/CompareString.h"
#include "platform/base/Exception.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/Format.h"
#include "platform/base/IniFiles.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/StringLists.h"
#include "platform/base/TextUtils.h"
#include "platform/base/UpdateBracket.h"

namespace {

bool IsBlank(WideChar c) { return c <= 0x20; }

// A name asked for, as the profile calls take it: up to its first zero (they take
// C strings), in UTF-16, trimmed of blanks.
WideString NameOf(const AnsiString& name) {
  WideString wide = AnsiToWide(AnsiStringView(name).substr(0, name.find('\0')), CP_ACP);
  const auto first = std::find_if_not(wide.begin(), wide.end(), IsBlank);
  const auto last = std::find_if_not(wide.rbegin(), std::make_reverse_iterator(first), IsBlank).base();
  return WideString(first, last);
}

AnsiString Ansi(const WideString& text) { return WideToAnsi(text, CP_ACP); }

void FillStrings(TStrings& strings, const std::vector<AnsiString>& lines) {
  WithinUpdate(strings, [&] {
    strings.Clear();
    for (const AnsiString& line : lines) strings.Add(line);
  });
}

}  // namespace

bool TMemIniFile::TNameLess::operator()(const WideString& a, const WideString& b) const {
  return CompareWideStrings(a, b, true) < 0;
}

TMemIniFile::TMemIniFile(AnsiString fileName) : TCustomIniFile(std::move(fileName)) {
  WideString wideName;
  if (!AnsiToWideName(FFileName, wideName)) return;
  for (TProfileSection& read : ReadPrivateProfileSectionsW(wideName.c_str())) {
    // Only the first section of a name is read, and its first key of a name.
    if (read.Name.empty() || FSections.Index.contains(read.Name)) continue;
    TSection& section = FSections.Entries.emplace_back();
    section.Name = std::move(read.Name);
    FSections.Index.emplace(section.Name, std::prev(FSections.Entries.end()));
    for (auto& [key, value] : read.Keys)
      if (!key.empty() && !section.Keys.Index.contains(key)) {
        section.Keys.Entries.emplace_back(std::move(key), std::move(value));
        section.Keys.Index.emplace(section.Keys.Entries.back().first, std::prev(section.Keys.Entries.end()));
      }
  }
}

TMemIniFile::TSection* TMemIniFile::FindSection(const AnsiString& section) {
  const auto found = FSections.Index.find(NameOf(section));
  return found == FSections.Index.end() ? nullptr : &*found->second;
}

const WideString* TMemIniFile::FindValue(const AnsiString& section, const AnsiString& ident) {
  const TSection* s = FindSection(section);
  if (!s) return nullptr;
  const auto found = s->Keys.Index.find(NameOf(ident));
  return found == s->Keys.Index.end() ? nullptr : &found->second->second;
}

AnsiString TMemIniFile::ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue) {
  const WideString* value = FindValue(section, ident);
  return value ? Ansi(*value) : defaultValue;
}

void TMemIniFile::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) {
  const WideString sectionName = NameOf(section);
  auto place = FSections.Index.find(sectionName);
  if (place == FSections.Index.end()) {
    FSections.Entries.emplace_back().Name = sectionName;
    place = FSections.Index.emplace(sectionName, std::prev(FSections.Entries.end())).first;
  }
  TKeys& keys = place->second->Keys;
  // The value, too, as far as a C string holds it.
  WideString wide = AnsiToWide(AnsiStringView(value).substr(0, value.find('\0')), CP_ACP);
  ++FChangeSteps;
  const WideString key = NameOf(ident);
  if (const auto at = keys.Index.find(key); at != keys.Index.end()) {
    at->second->second = std::move(wide);
    return;
  }
  keys.Entries.emplace_back(key, std::move(wide));
  keys.Index.emplace(key, std::prev(keys.Entries.end()));
}

bool TMemIniFile::SectionExists(const AnsiString& section) {
  const TSection* s = FindSection(section);
  return s && !s->Keys.Entries.empty();
}

void TMemIniFile::ReadSection(const AnsiString& section, TStrings& strings) {
  std::vector<AnsiString> names;
  if (const TSection* s = FindSection(section))
    for (const auto& key : s->Keys.Entries) names.push_back(Ansi(key.first));
  FillStrings(strings, names);
}

void TMemIniFile::ReadSections(TStrings& strings) {
  std::vector<AnsiString> names;
  for (const TSection& s : FSections.Entries) names.push_back(Ansi(s.Name));
  FillStrings(strings, names);
}

void TMemIniFile::ReadSectionValues(const AnsiString& section, TStrings& strings) {
  std::vector<AnsiString> lines;
  if (const TSection* s = FindSection(section))
    for (const auto& [key, value] : s->Keys.Entries) lines.push_back(Ansi(key) + "=" + Ansi(value));
  FillStrings(strings, lines);
}

void TMemIniFile::EraseSection(const AnsiString& section) {
  const auto found = FSections.Index.find(NameOf(section));
  if (found == FSections.Index.end()) return;
  ++FChangeSteps;
  FSections.Entries.erase(found->second);
  FSections.Index.erase(found);
}

void TMemIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident) {
  TSection* s = FindSection(section);
  if (!s) return;
  const auto found = s->Keys.Index.find(NameOf(ident));
  if (found == s->Keys.Index.end()) return;
  ++FChangeSteps;
  s->Keys.Entries.erase(found->second);
  s->Keys.Index.erase(found);
}

void TMemIniFile::UpdateFile() {
  std::vector<TProfileSection> sections;
  for (const TSection& s : FSections.Entries)
    sections.push_back({s.Name, {s.Keys.Entries.begin(), s.Keys.Entries.end()}});
  WideString wideName;
  if (!AnsiToWideName(FFileName, wideName) || !WritePrivateProfileSectionsW(sections, wideName.c_str()))
    throw EIniFileException(Format(SIniFileWriteError, {FFileName}));
}
