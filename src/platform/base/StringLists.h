// Lists of 8-bit strings, each with an attached object reference, in the class
// library's manner.
//
// `TStrings` is the abstract protocol (a subclass supplies Get, GetCount, Clear, Delete
// and Insert) with everything built on it: text with CR LF line ends, comma text,
// name=value lines, streams and files, Assign. `TStringList` is the concrete list with
// sorting, binary search, duplicate control and change events. Objects are referred to,
// never freed. Errors raise EStringListError with "List index out of bounds (%d)",
// "Operation not allowed on sorted list" or "String list does not allow duplicates".
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Types.h"

class TStream;

class TStrings : public TPersistent {
public:
  TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  int32_t Count() const { return GetCount(); }
  AnsiString Strings(int32_t index) const { return Get(index); }
  void SetStrings(int32_t index, const AnsiString& s) { Put(index, s); }
  TObject* Objects(int32_t index) const { return GetObject(index); }
  void SetObjects(int32_t index, TObject* object) { PutObject(index, object); }

  // Appends (or, in a sorted list, inserts in order); returns the index.
  virtual int32_t Add(const AnsiString& s);
  virtual int32_t AddObject(const AnsiString& s, TObject* object);
  virtual void Insert(int32_t index, const AnsiString& s) = 0;
  void InsertObject(int32_t index, const AnsiString& s, TObject* object);
  virtual void Delete(int32_t index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int32_t index1, int32_t index2);
  // Moves the string and its object; nothing when the indexes are equal.
  void Move(int32_t curIndex, int32_t newIndex);
  void AddStrings(const TStrings& strings);

  // First index whose string compares equal (CompareStrings), else -1.
  virtual int32_t IndexOf(const AnsiString& s) const;
  // First line "name=..." whose name compares equal, else -1.
  virtual int32_t IndexOfName(const AnsiString& name) const;
  int32_t IndexOfObject(const TObject* object) const;

  // Name=value lines; a line without the separator has an empty name and value.
  AnsiString Names(int32_t index) const;
  AnsiString Values(const AnsiString& name) const;
  // A non-empty value replaces or appends the line; an empty one deletes it.
  void SetValues(const AnsiString& name, const AnsiString& value);
  AnsiString ValueFromIndex(int32_t index) const;
  char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char c) { FNameValueSeparator = c; }

  // Every string followed by CR LF. Setting splits at CR, LF or CR LF (and stops at a
  // zero character); a final line break adds no empty line.
  AnsiString Text() const { return GetText(); }
  void SetText(AnsiStringView text) { SetTextStr(text); }
  // Strings joined by Delimiter; strings holding blanks, controls, the delimiter or the
  // quote are quoted (quotes doubled). Setting also splits at blanks outside quotes.
  // CommaText is the same with "," and the double quote.
  AnsiString DelimitedText() const;
  void SetDelimitedText(AnsiStringView text);
  AnsiString CommaText() const;
  void SetCommaText(AnsiStringView text);
  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char c) { FDelimiter = c; }
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char c) { FQuoteChar = c; }

  // Raw bytes: the rest of the stream becomes the text; the text is written as is. A
  // file is read whole first (LoadFileBytes), so a failed load changes nothing, and
  // saved through a complete copy (SaveFileReplacing), so a failed save leaves the file
  // as it was.
  virtual void LoadFromStream(TStream& stream);
  virtual void SaveToStream(TStream& stream) const;
  void LoadFromFile(const AnsiString& fileName);
  void LoadFromFile(const WideString& fileName);
  void SaveToFile(const AnsiString& fileName) const;
  void SaveToFile(const WideString& fileName) const;

  // Nested brackets: SetUpdateState(true) when the first opens, (false) when the last
  // closes; change events wait until then.
  void BeginUpdate();
  void EndUpdate();

  bool Equals(const TStrings& other) const;
  void Assign(const TPersistent& source) override;

protected:
  virtual AnsiString Get(int32_t index) const = 0;
  virtual int32_t GetCount() const = 0;
  virtual TObject* GetObject(int32_t index) const;
  virtual void Put(int32_t index, const AnsiString& s);
  virtual void PutObject(int32_t index, TObject* object);
  virtual AnsiString GetText() const;
  virtual void SetTextStr(AnsiStringView text);
  virtual void SetUpdateState(bool updating);
  // Case-insensitive (CompareText) unless a subclass says otherwise.
  virtual int32_t CompareStrings(const AnsiString& s1, const AnsiString& s2) const;
  [[noreturn]] void Error(const char* message, int32_t data) const;
  int32_t UpdateCount() const { return FUpdateCount; }

private:
  AnsiString JoinDelimited(char delimiter, char quoteChar) const;
  void SplitDelimited(AnsiStringView text, char delimiter, char quoteChar);
  int32_t FUpdateCount = 0;
  char FDelimiter = ',';
  char FQuoteChar = '"';
  char FNameValueSeparator = '=';
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
using TStringListSortCompare = int32_t (*)(TStringList& list, int32_t index1, int32_t index2);

class TStringList : public TStrings {
public:
  TStringList() = default;
  ~TStringList() override;

  int32_t Add(const AnsiString& s) override;
  int32_t AddObject(const AnsiString& s, TObject* object) override;
  void Insert(int32_t index, const AnsiString& s) override;
  void Delete(int32_t index) override;
  void Clear() override;
  void Exchange(int32_t index1, int32_t index2) override;
  int32_t IndexOf(const AnsiString& s) const override;

  // Binary search of a sorted list: true when found; index is the match (the first of
  // equal strings when duplicates are accepted) or where s would be inserted.
  virtual bool Find(const AnsiString& s, int32_t& index) const;
  virtual void Sort();
  virtual void CustomSort(TStringListSortCompare compare);

  bool Sorted() const { return FSorted; }
  // Switching on sorts the list first.
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates value) { FDuplicates = value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  // Re-sorts a sorted list by the new comparison.
  void SetCaseSensitive(bool value);
  int32_t Capacity() const { return static_cast<int32_t>(FCapacity); }
  void SetCapacity(int32_t newCapacity);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  AnsiString Get(int32_t index) const override;
  int32_t GetCount() const override { return static_cast<int32_t>(FList.size()); }
  TObject* GetObject(int32_t index) const override;
  void Put(int32_t index, const AnsiString& s) override;
  void PutObject(int32_t index, TObject* object) override;
  void SetUpdateState(bool updating) override;
  int32_t CompareStrings(const AnsiString& s1, const AnsiString& s2) const override;
  virtual void Changed();
  virtual void Changing();
  virtual void InsertItem(int32_t index, const AnsiString& s, TObject* object);

private:
  struct TStringItem {
    AnsiString FString;
    TObject* FObject;
  };
  void CheckIndex(int32_t index, int32_t limit) const;
  std::vector<TStringItem> FList;
  size_t FCapacity = 0;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};
