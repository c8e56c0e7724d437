// The class library's 8-bit ini file: each call reads or writes the file at once through
// the private-profile calls (PrivateProfile.h), with texts in the ANSI code page.
#pragma once

#include <utility>

#include "platform/base/Object.h"
#include "platform/base/Types.h"

class TStrings;

class TIniFile : public TObject {
public:
  explicit TIniFile(AnsiString fileName) : FFileName(std::move(fileName)) {}
  // Flushes (which never fails).
  ~TIniFile() override;
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const AnsiString& FileName() const { return FFileName; }

  // The value, or `defaultValue` when the section or key is missing.
  AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue);
  // Writing and erasing raise EIniFileException "Unable to write to %s" (the file name)
  // when the file cannot be written.
  void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value);
  // Clear `strings` and fill it with the section's keys / the section names / the
  // section's lines "key=value".
  void ReadSection(const AnsiString& section, TStrings& strings);
  void ReadSections(TStrings& strings);
  void ReadSectionValues(const AnsiString& section, TStrings& strings);
  void EraseSection(const AnsiString& section);
  // Failures are ignored.
  void DeleteKey(const AnsiString& section, const AnsiString& ident);
  void UpdateFile();

private:
  AnsiString FFileName;
};
