// The class library's 8-bit ini files. `TCustomIniFile` is what settings are read and
// written through (typed reads over the string reads of a concrete file); `TIniFile`
// reads or writes the file at once on each call through the private-profile calls
// (PrivateProfile.h), with texts in the ANSI code page.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/base/Object.h"
#include "platform/base/Types.h"

class TStrings;

class TCustomIniFile : public TObject {
public:
  explicit TCustomIniFile(AnsiString fileName) : FFileName(std::move(fileName)) {}
  TCustomIniFile(const TCustomIniFile&) = delete;
  TCustomIniFile& operator=(const TCustomIniFile&) = delete;

  const AnsiString& FileName() const { return FFileName; }

  // The value, or `defaultValue` when the section or key is missing.
  virtual AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue) = 0;
  virtual void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) = 0;
  // Decimal with an optional sign, or hexadecimal after "$", "0x" or "0X"; the default
  // for a missing or unparsable value.
  virtual int32_t ReadInteger(const AnsiString& section, const AnsiString& ident, int32_t defaultValue);
  virtual void WriteInteger(const AnsiString& section, const AnsiString& ident, int32_t value);
  virtual void EraseSection(const AnsiString& section) = 0;
  virtual void DeleteKey(const AnsiString& section, const AnsiString& ident) = 0;
  virtual void UpdateFile() = 0;

protected:
  AnsiString FFileName;
};

class TIniFile : public TCustomIniFile {
public:
  explicit TIniFile(AnsiString fileName) : TCustomIniFile(std::move(fileName)) {}
  // Flushes (which never fails).
  ~TIniFile() override;

  AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue) override;
  // Writing and erasing raise EIniFileException "Unable to write to %s" (the file name)
  // when the file cannot be written.
  void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) override;
  // Clear `strings` and fill it with the section's keys / the section names / the
  // section's lines "key=value".
  void ReadSection(const AnsiString& section, TStrings& strings);
  void ReadSections(TStrings& strings);
  void ReadSectionValues(const AnsiString& section, TStrings& strings);
  void EraseSection(const AnsiString& section) override;
  // Failures are ignored.
  void DeleteKey(const AnsiString& section, const AnsiString& ident) override;
  void UpdateFile() override;
};
