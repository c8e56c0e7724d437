// Ini files with UTF-16 section names, keys and values.
//
// `TUniCustomIniFile` holds the typed reads and writes over an abstract string
// interface. `TUniMemIniFile` keeps the whole file in memory as hashed string lists and
// writes it back, as UTF-16LE with FF FE, only on UpdateFile (the scheme files).
// `TUniIniFile` reads and writes the file at once on every call through the
// private-profile calls (the settings file). Sections and keys match without regard to
// case in both.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/DateTimeText.h"
#include "platform/base/IniFiles.h"
#include "platform/base/Object.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "unicode/UniWideStrings.h"

class TUniCustomIniFile : public TObject {
public:
  explicit TUniCustomIniFile(WideString fileName) : FFileName(std::move(fileName)) {}

  const WideString& FileName() const { return FFileName; }

  virtual WideString ReadString(const WideString& section, const WideString& ident, const WideString& defaultValue) = 0;
  virtual void WriteString(const WideString& section, const WideString& ident, const WideString& value) = 0;
  // Decimal with an optional sign, or hexadecimal after "$", "0x" or "0X"; the default
  // for a missing or unparsable value.
  virtual int32_t ReadInteger(const WideString& section, const WideString& ident, int32_t defaultValue);
  virtual void WriteInteger(const WideString& section, const WideString& ident, int32_t value);
  // A non-zero integer is true; written as "1" or "0".
  virtual bool ReadBool(const WideString& section, const WideString& ident, bool defaultValue);
  virtual void WriteBool(const WideString& section, const WideString& ident, bool value);
  // Decodes the value's pairs of hexadecimal digits into `value` at its position; the
  // decoding stops at the first pair that is not hexadecimal, leaving zeros. A memory
  // stream grows by the byte count, keeps its position and the bytes after the decoded
  // ones, and the result is its new size less the position; any other stream receives
  // the bytes and the result is their count. 0 for an empty value.
  virtual int32_t ReadBinaryStream(const WideString& section, const WideString& ident, TStream& value);
  // Dates, times and numbers as the user's locale writes them; the default for a missing
  // value or one that does not convert.
  virtual TDateTime ReadDate(const WideString& section, const WideString& ident, TDateTime defaultValue);
  virtual TDateTime ReadDateTime(const WideString& section, const WideString& ident, TDateTime defaultValue);
  virtual double ReadFloat(const WideString& section, const WideString& ident, double defaultValue);
  virtual TDateTime ReadTime(const WideString& section, const WideString& ident, TDateTime defaultValue);
  // The bytes from the stream's position to its end as upper-case hexadecimal pairs (a
  // memory stream keeps its position).
  virtual void WriteBinaryStream(const WideString& section, const WideString& ident, TStream& value);
  virtual void WriteDate(const WideString& section, const WideString& ident, TDateTime value);
  virtual void WriteDateTime(const WideString& section, const WideString& ident, TDateTime value);
  virtual void WriteFloat(const WideString& section, const WideString& ident, double value);
  virtual void WriteTime(const WideString& section, const WideString& ident, TDateTime value);
  // Clear `strings` and fill it with the section's keys / the section names / the
  // section's lines "key=value".
  virtual void ReadSection(const WideString& section, TWideStrings& strings) = 0;
  virtual void ReadSections(TWideStrings& strings) = 0;
  virtual void ReadSectionValues(const WideString& section, TWideStrings& strings) = 0;
  virtual void EraseSection(const WideString& section) = 0;
  virtual void DeleteKey(const WideString& section, const WideString& ident) = 0;
  virtual void UpdateFile() = 0;

  // True when the section has at least one key.
  bool SectionExists(const WideString& section);

protected:
  WideString FFileName;
};

// Buckets of (key, value) chains; equal keys may coexist and the last one added is found.
// `size` buckets to start with; the table doubles whenever it holds more than two entries
// a bucket, so a lookup stays short however many keys are added.
class TUniStringHash : public TObject {
public:
  explicit TUniStringHash(uint32_t size = 256) : FHeads(size == 0 ? 1 : size, -1) {}

  void Add(WideString key, int32_t value);
  // The value of the last entry added with exactly this key; -1 when none.
  int32_t ValueOf(const WideString& key) const;
  // Removes every entry; the bucket count stays.
  void Clear();

protected:
  // h := (h rotated left by 2) xor unit, over the key's UTF-16 units.
  virtual uint32_t HashOf(const WideString& key) const;

private:
  struct THashItem {
    WideString Key;
    int32_t Value;
    int32_t Next;  // the entry added before it to the same bucket; -1 for none
  };
  size_t BucketOf(const WideString& key) const;
  // Doubles the buckets and chains every entry again, newest first.
  void Grow();

  std::vector<int32_t> FHeads;    // each bucket's newest entry; -1 for none
  std::vector<THashItem> FItems;  // every entry, in the order added
};

// A string list whose IndexOf and IndexOfName look up hashes of the items (exact keys,
// case-folded as the list compares them unless CaseSensitive), built on first use. Among
// equal keys the last item is found. Lookups never use Sorted or Find.
//
// An item appended at the end joins both hashes, and a line replaced by one of the same
// name ("key=new value") keeps the name hash; any other change drops the hashes, and so
// does a new case sensitivity or separator: they are built again on the next lookup. So writing n keys into an ini
// section one by one, a lookup before each, builds the hashes once: O(n), not O(n^2).
class TUniHashedStringList : public TUniStringList {
public:
  int32_t IndexOf(const WideString& s) const override;
  int32_t IndexOfName(const WideString& name) const override;
  void SetString(int32_t index, const WideString& s) override;

  // How often a hash was built from all the items, for tests that bound the work.
  int64_t HashBuilds() const { return FHashBuilds; }

protected:
  void Changed() override;
  void InsertItem(int32_t index, const WideString& s, TObject* object) override;

private:
  // What the change under way does to the hashes; Changed acts on it.
  enum class THashUpdate { Drop, Append, KeepNames };

  // `s` as the hashes hold it: case-folded unless CaseSensitive.
  void FoldKey(WideString& key) const;
  WideString HashKey(WideStringView s) const;
  // HashKey(s) in FLookupKey, whose buffer serves every lookup.
  const WideString& LookupKey(WideStringView s) const;
  // Adds the name part of `s` (when it has a separator) to the name hash.
  void AddName(WideStringView s, int32_t index) const;
  // Built since the last change that dropped it, and under the list's present case
  // sensitivity (and, for names, separator).
  bool ValueHashCurrent() const;
  bool NameHashCurrent() const;
  // Runs `change` with `update` in force for its Changed call.
  template <typename TChange>
  void ChangeWith(THashUpdate update, TChange change);

  mutable std::unique_ptr<TUniStringHash> FValueHash;
  mutable std::unique_ptr<TUniStringHash> FNameHash;
  mutable bool FValueHashValid = false;
  mutable bool FNameHashValid = false;
  mutable bool FValueHashCaseSensitive = false;
  mutable bool FNameHashCaseSensitive = false;
  mutable WideChar FNameHashSeparator = 0;
  mutable int64_t FHashBuilds = 0;
  THashUpdate FHashUpdate = THashUpdate::Drop;
  const WideString* FAppended = nullptr;  // the item an Append adds
  mutable WideString FLookupKey;
};

// An ini file held in memory. Loading keeps, per section, its lines "key=value" (key
// trimmed, value right-trimmed) and its lines without "="; blank lines, lines starting
// with ";" and the lines before the first section are dropped, so they are not written
// back. A repeated section name makes another section; reads and writes reach the last
// one, and all are written back.
class TUniMemIniFile : public TUniCustomIniFile {
public:
  // Loads the file when it exists (encoding by its byte-order mark, else 8-bit text in
  // UserCodePage); a missing file gives an empty ini. A folder, FIFO or device named as
  // the file raises EWideFOpenError (WideLoadFileBytes).
  explicit TUniMemIniFile(const WideString& fileName);
  ~TUniMemIniFile() override;

  WideString ReadString(const WideString& section, const WideString& ident, const WideString& defaultValue) override;
  void WriteString(const WideString& section, const WideString& ident, const WideString& value) override;
  // The name part of every line (empty for a line without "=").
  void ReadSection(const WideString& section, TWideStrings& strings) override;
  void ReadSections(TWideStrings& strings) override;
  void ReadSectionValues(const WideString& section, TWideStrings& strings) override;
  void EraseSection(const WideString& section) override;
  void DeleteKey(const WideString& section, const WideString& ident) override;
  // Writes every section as UTF-16LE with FF FE and CR LF line ends through a complete
  // copy that replaces the file (WideSaveFileReplacing); raises EWideFCreateError, with
  // the file as it was, when the new version cannot be made, written or moved.
  void UpdateFile() override;

  // Takes the new name and, with `reload`, loads that file; a failed load raises and
  // keeps the name and the contents as they were.
  void Rename(const WideString& fileName, bool reload);
  void Clear();
  // Appends "[name]", the section's lines and an empty line for every section.
  void GetStrings(TWideStrings& list);
  // Replaces the contents by the parsed lines.
  void SetStrings(const TWideStrings& list);
  bool CaseSensitive() const { return FSections.CaseSensitive(); }
  // Hash builds of the section list and of every section so far (HashBuilds).
  int64_t HashBuilds() const;

private:
  void LoadValues(const WideString& fileName);
  TUniHashedStringList& AddSection(const WideString& section);
  TUniHashedStringList* FindSection(const WideString& section) const;

  // Forgets the section FindSection found last; every change to the section list does.
  void ForgetLastSection() const { FLastSectionKnown = false; }

  TUniHashedStringList FSections;  // section names, each with its lines as object
  std::vector<std::unique_ptr<TUniHashedStringList>> FSectionLines;
  // What FindSection answered last and the name exactly as asked: reads and writes go
  // key by key through one section.
  mutable bool FLastSectionKnown = false;
  mutable WideString FLastSectionName;
  mutable TUniHashedStringList* FLastSection = nullptr;
};

// An ini file read and written through the private-profile calls: every write reaches
// the file at once. On 8-bit platforms (PlatformIsUnicode false) every call goes through
// the platform's 8-bit TIniFile, with texts converted by the default conversion; a file
// name the user code page cannot hold fails every call with ERROR_INVALID_NAME (reads
// give the defaults and empty lists, writes raise), as a "?" in its place would name
// another file.
class TUniIniFile : public TUniCustomIniFile {
public:
  explicit TUniIniFile(const WideString& fileName);
  // Flushes (UpdateFile); a failure is shown by the application's exception display
  // (ShowException), never raised.
  ~TUniIniFile() override;

  // The whole value, however long.
  WideString ReadString(const WideString& section, const WideString& ident, const WideString& defaultValue) override;
  // Raises EIniFileException "Unable to write to %s" (the file name) when the file
  // cannot be written or cannot hold the texts (a line break, "]" in a section name,
  // "=" in a key).
  void WriteString(const WideString& section, const WideString& ident, const WideString& value) override;
  void ReadSection(const WideString& section, TWideStrings& strings) override;
  void ReadSections(TWideStrings& strings) override;
  // Each value as ReadString gives it (the first key of a name, whole), from one reading
  // of the file.
  void ReadSectionValues(const WideString& section, TWideStrings& strings) override;
  // Raises as WriteString does.
  void EraseSection(const WideString& section) override;
  // Failures are ignored.
  void DeleteKey(const WideString& section, const WideString& ident) override;
  // Flushes the file; raises as WriteString does for a file name no file can have.
  void UpdateFile() override;

private:
  [[noreturn]] void RaiseWriteError() const;
  // True, with ERROR_INVALID_NAME as the last error, when the 8-bit name is missing.
  bool NameFails() const;

  std::unique_ptr<TIniFile> FAnsiIniFile;
  bool FNameNotAnsi = false;  // 8-bit platform, and the user code page cannot hold the name
};
