// The class library's 8-bit ini files. `TCustomIniFile` is what settings are read and
// written through (typed reads over the string reads of a concrete file); `TIniFile`
// reads or writes the file at once on each call through the private-profile calls
// (PrivateProfile.h), with texts in the ANSI code page; `TMemIniFile` reads the file
// once and answers from memory.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <utility>
#include <vector>

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
  // Whether the section holds a key.
  virtual bool SectionExists(const AnsiString& section) = 0;
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
  bool SectionExists(const AnsiString& section) override;
  // Clear `strings` and fill it with the section's keys / the section names / the
  // section's lines "key=value" (each value as ReadString gives it, from one reading of
  // the file).
  void ReadSection(const AnsiString& section, TStrings& strings);
  void ReadSections(TStrings& strings);
  void ReadSectionValues(const AnsiString& section, TStrings& strings);
  void EraseSection(const AnsiString& section) override;
  // Failures are ignored.
  void DeleteKey(const AnsiString& section, const AnsiString& ident) override;
  void UpdateFile() override;
};

// An ini file read once, on construction, by the private-profile rules (encodings,
// trimming, quotes, names matched without regard to case, the first section and key of
// a name the ones that count). Reads answer from memory: a key in O(log n) of the
// section's keys. Writes change the memory only, each in O(log n) of the names, erasing
// a section or a key too; UpdateFile replaces the file by what the memory holds
// (comments and lines that are no keys are not kept) and raises EIniFileException
// "Unable to write to %s" when it cannot.
class TMemIniFile : public TCustomIniFile {
public:
  explicit TMemIniFile(AnsiString fileName);

  // Reads, from memory; the lists name each section and key once.
  bool SectionExists(const AnsiString& section) override;
  void ReadSections(TStrings& strings);
  void ReadSection(const AnsiString& section, TStrings& strings);
  void ReadSectionValues(const AnsiString& section, TStrings& strings);
  AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue) override;
  // Changes, in memory until UpdateFile.
  void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) override;
  void DeleteKey(const AnsiString& section, const AnsiString& ident) override;
  void EraseSection(const AnsiString& section) override;
  void UpdateFile() override;

  // Sections and keys that changes so far have added, replaced, removed, moved or
  // renumbered: a measure of their work.
  int64_t ChangeSteps() const { return FChangeSteps; }

private:
  // Names ordered as the profile calls match them.
  struct TNameLess {
    bool operator()(const WideString& a, const WideString& b) const;
  };
  // Entries in order, one per name, each found by its name.
  template <typename TEntry>
  struct TNamedList {
    std::list<TEntry> Entries;
    std::map<WideString, typename std::list<TEntry>::iterator, TNameLess> Index;
  };
  using TKeys = TNamedList<std::pair<WideString, WideString>>;
  struct TSection {
    WideString Name;
    TKeys Keys;
  };
  TSection* FindSection(const AnsiString& section);
  const WideString* FindValue(const AnsiString& section, const AnsiString& ident);

  TNamedList<TSection> FSections;
  int64_t FChangeSteps = 0;
};
