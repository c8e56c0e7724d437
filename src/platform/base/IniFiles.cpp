#include "platform/base/IniFiles.h"

#include <vector>

#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/StringLists.h"
#include "platform/base/TextUtils.h"
#include "platform/base/UpdateBracket.h"

namespace {

// Replaces the contents of `strings` by `names`.
void FillStrings(TStrings& strings, const std::vector<AnsiString>& names) {
  WithinUpdate(strings, [&] {
    strings.Clear();
    for (const AnsiString& name : names) strings.Add(name);
  });
}

}  // namespace

int32_t TCustomIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident, int32_t defaultValue) {
  AnsiString s = ReadString(section, ident, AnsiString());
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.replace(0, 2, "$");
  return StrToIntDef(s, defaultValue);
}

void TCustomIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident, int32_t value) {
  WriteString(section, ident, IntToStr(value));
}

TIniFile::~TIniFile() { UpdateFile(); }

AnsiString TIniFile::ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue) {
  return GetPrivateProfileValueA(section.c_str(), ident.c_str(), defaultValue.c_str(), FFileName.c_str());
}

void TIniFile::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) {
  if (!WritePrivateProfileStringA(section.c_str(), ident.c_str(), value.c_str(), FFileName.c_str()))
    throw EIniFileException(Format(SIniFileWriteError, {FFileName}));
}

void TIniFile::ReadSection(const AnsiString& section, TStrings& strings) {
  FillStrings(strings, GetPrivateProfileNamesA(section.c_str(), FFileName.c_str()));
}

bool TIniFile::SectionExists(const AnsiString& section) {
  return !GetPrivateProfileNamesA(section.c_str(), FFileName.c_str()).empty();
}

void TIniFile::ReadSections(TStrings& strings) {
  FillStrings(strings, GetPrivateProfileNamesA(nullptr, FFileName.c_str()));
}

void TIniFile::ReadSectionValues(const AnsiString& section, TStrings& strings) {
  FillStrings(strings, GetPrivateProfileLinesA(section.c_str(), FFileName.c_str()));
}

void TIniFile::EraseSection(const AnsiString& section) {
  if (!WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, FFileName.c_str()))
    throw EIniFileException(Format(SIniFileWriteError, {FFileName}));
}

void TIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident) {
  WritePrivateProfileStringA(section.c_str(), ident.c_str(), nullptr, FFileName.c_str());
}

void TIniFile::UpdateFile() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, FFileName.c_str()); }
