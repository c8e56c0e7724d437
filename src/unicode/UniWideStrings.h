// Lists of UTF-16 strings, each with an attached object reference that the list does not
// own.
//
// `TWideStrings` is the abstract protocol (text splitting and joining, name=value lines,
// loading and saving); `TUniStrings` adds an 8-bit view of the list and detects a
// file's encoding from its byte-order mark when loading; `TUniStringList` is the
// concrete list with sorting, binary search, duplicate control and change events.
//
// Indexes count from 0. Comparisons go through the locale's comparison
// (CompareString.h: simple case folding when case is ignored, then code-unit order).
// Files written by a `TUniStrings` are always UTF-16LE with FF FE and CR LF line ends.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/base/Filer.h"
#include "platform/base/Object.h"
#include "platform/base/ResString.h"
#include "platform/base/Streams.h"
#include "platform/base/StringLists.h"
#include "platform/base/Types.h"
#include "unicode/UniWideStrUtils.h"

// The encoding of a text stream, as its byte-order mark tells it.
enum TStreamTextEncoding : uint8_t {
  steAnsi = 0,  // no mark: 8-bit text in UserCodePage
  steUtf16LE = 1,
  steUtf16BE = 2,
  steUtf8 = 3
};

// Reads a byte-order mark at the stream's position: FF FE gives steUtf16LE, FE FF
// steUtf16BE, EF BB BF steUtf8, each mark consumed; anything else (fewer than 2 bytes
// left included) gives steAnsi with the position unchanged.
TStreamTextEncoding DetectStreamCharSet(TStream& stream);

class TWideStrings : public TPersistent {
public:
  TWideStrings() = default;
  TWideStrings(const TWideStrings&) = delete;
  TWideStrings& operator=(const TWideStrings&) = delete;

  // From another TWideStrings: its characters and its strings with their objects. From
  // the platform's 8-bit TStrings: its three characters and its strings converted by
  // the default conversion. Anything else raises as TPersistent does.
  void Assign(const TPersistent& source) override;

  virtual WideString GetString(int32_t index) const = 0;
  virtual int32_t GetCapacity() const;
  virtual int32_t GetCount() const = 0;
  virtual TObject* GetObject(int32_t index) const;
  // Every string followed by CR LF; empty for an empty list.
  virtual WideString GetText() const;
  // Replaces the string and keeps the object.
  virtual void SetString(int32_t index, const WideString& s);
  virtual void SetObject(int32_t index, TObject* object);
  virtual void SetCapacity(int32_t newCapacity);
  // Clears the list and adds the lines of `value`: a line ends at CR, LF or U+2028 (CR
  // LF counts once, LF CR twice), a break at the end adds no empty line, and the text
  // ends at its first zero character.
  virtual void SetText(const WideString& value);
  virtual void SetUpdateState(bool updating);
  // -1, 0 or 1; the base ignores case.
  virtual int32_t CompareStrings(const WideString& s1, const WideString& s2) const;
  virtual int32_t Add(const WideString& s);
  virtual int32_t AddObject(const WideString& s, TObject* object);
  virtual void AddAnsiStrings(const TStrings& strings);
  virtual void AddStrings(const TWideStrings& strings);
  virtual void Clear() = 0;
  virtual void Delete(int32_t index) = 0;
  virtual void Exchange(int32_t index1, int32_t index2);
  // A zero-terminated copy of GetText.
  virtual TWideStrPtr GetTextBuffer() const;
  virtual int32_t IndexOf(const WideString& s) const;
  // The first line that holds the separator and whose name compares equal; -1 if none.
  virtual int32_t IndexOfName(const WideString& name) const;
  virtual int32_t IndexOfObject(const TObject* object) const;
  virtual void Insert(int32_t index, const WideString& s) = 0;
  virtual void InsertObject(int32_t index, const WideString& s, TObject* object);
  // Read the whole regular file first (WideLoadFileBytes) / write a complete new version
  // that replaces the file (WideSaveFileReplacing), raising EWideFOpenError /
  // EWideFCreateError (UniClasses.h); a failure leaves the list / the file as it was.
  virtual void LoadFromFile(const WideString& fileName);
  // The rest of the stream as raw UTF-16LE (an odd last byte is left unread).
  virtual void LoadFromStream(TStream& stream);
  virtual void Move(int32_t curIndex, int32_t newIndex);
  virtual void SaveToFile(const WideString& fileName);
  // GetText as raw UTF-16LE without a mark.
  virtual void SaveToStream(TStream& stream);
  virtual void SetTextBuffer(const WideChar* text);

  // Form files: the property "Strings", written when the list differs from the
  // ancestor's (without an ancestor: when it is not empty) as a list of wide strings; read
  // from such a list (items 8-bit or wide) or from one string taken as the whole text.
  void DefineProperties(TFiler& filer) override;

  void BeginUpdate();
  void EndUpdate();
  // Runs `body` between BeginUpdate and EndUpdate.
  void WithinUpdate(const std::function<void()>& body);
  // Same count and pairwise identical strings (case counts).
  bool Equals(const TWideStrings& other) const;
  int32_t Count() const { return GetCount(); }
  WideString Strings(int32_t index) const { return GetString(index); }
  TObject* Objects(int32_t index) const { return GetObject(index); }
  WideString Text() const { return GetText(); }
  // The name of line `index` (its part before the separator; empty without one).
  WideString Names(int32_t index) const;
  // The text after "name=" of the name's line; empty when there is none.
  WideString Values(const WideString& name) const;
  // Replaces the name's line by name=value, or adds one; an empty value deletes it.
  void SetValues(const WideString& name, const WideString& value);
  WideString ExtractName(const WideString& s) const;

  // Raise EStringListError with the message (a resource string, so translations
  // apply) formatted with `data`.
  [[noreturn]] void Error(const WideString& message, int32_t data) const;
  [[noreturn]] void ErrorRes(PResStringRec message, int32_t data) const;

  // Each reads its default (",", "\"", "=") until it is set.
  WideChar Delimiter() const;
  void SetDelimiter(WideChar value);
  WideChar QuoteChar() const;
  void SetQuoteChar(WideChar value);
  WideChar NameValueSeparator() const;
  void SetNameValueSeparator(WideChar value);

protected:
  // The reader of "Strings" (and of the legacy "WideStrings").
  void ReadStringsData(TReader& reader);
  // Copies this list into another TWideStrings, or (converted by the default
  // conversion) into the platform's 8-bit TStrings.
  void AssignTo(TPersistent& dest) const override;

private:
  // Which of the three characters have been set or read.
  enum : uint8_t { sdDelimiter = 1, sdQuoteChar = 2, sdNameValueSeparator = 4 };
  WideChar DefinedChar(uint8_t bit, WideChar& value, WideChar defaultValue) const;

  mutable uint8_t FDefined = 0;
  mutable WideChar FDelimiter = 0;
  mutable WideChar FQuoteChar = 0;
  mutable WideChar FNameValueSeparator = 0;
  int32_t FUpdateCount = 0;
};

// An 8-bit string list that loads and saves its text in a given code page.
class TAnsiStrings : public TStrings {
public:
  virtual void LoadFromStreamEx(TStream& stream, uint32_t codePage) = 0;
  virtual void SaveToStreamEx(TStream& stream, uint32_t codePage) = 0;
};

// The 8-bit view of a wide list: every operation forwards to the wide list, converting
// strings in the adapter's code page (0: UserCodePage at the time of the call).
class TAnsiStringsForWideStringsAdapter : public TAnsiStrings {
public:
  TAnsiStringsForWideStringsAdapter(TWideStrings& wideStrings, uint32_t adapterCodePage)
      : FWideStrings(wideStrings), FAdapterCodePage(adapterCodePage) {}

  void Insert(int32_t index, const AnsiString& s) override;
  void Delete(int32_t index) override;
  void Clear() override;
  // The rest of the stream as 8-bit text in `codePage` becomes the wide list's text /
  // the wide list's text is written in `codePage`.
  void LoadFromStreamEx(TStream& stream, uint32_t codePage) override;
  void SaveToStreamEx(TStream& stream, uint32_t codePage) override;

protected:
  AnsiString Get(int32_t index) const override;
  int32_t GetCount() const override;
  TObject* GetObject(int32_t index) const override;
  void Put(int32_t index, const AnsiString& s) override;
  void PutObject(int32_t index, TObject* object) override;
  void SetUpdateState(bool updating) override;

private:
  uint32_t CodePage() const;

  TWideStrings& FWideStrings;
  uint32_t FAdapterCodePage;
};

class TUniStrings : public TWideStrings {
public:
  TUniStrings();
  ~TUniStrings() override;

  // The 8-bit view of this list (in UserCodePage), owned by the list.
  TAnsiStringsForWideStringsAdapter& AnsiStrings() const { return *FAnsiStrings; }
  void SetAnsiStrings(const TStrings& value);
  // The encoding found by the last LoadFromFile; steUtf16LE before any.
  TStreamTextEncoding DetectedFileCharSet() const { return FDetectedFileCharSet; }

  // Loads the rest of the stream in the encoding its mark gives (with `detect`), else
  // as UTF-16LE: UTF-16 loses an odd last byte, UTF-8 decodes malformed parts to U+FFFD,
  // 8-bit text converts in UserCodePage and so ends at its first zero byte.
  virtual void LoadFromStreamWithBom(TStream& stream, bool detect);
  // GetText as UTF-16LE, after FF FE when `withBom`.
  virtual void SaveToStreamWithBom(TStream& stream, bool withBom);

  void LoadFromFile(const WideString& fileName) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToFile(const WideString& fileName) override;
  void SaveToStream(TStream& stream) override;

  // Adds three legacy properties that are read and never written: "WideStrings" (as
  // "Strings"), "WideStringsW" (8-bit items decoded from UTF-8 into a list that is still
  // empty, else dropped) and "WideStrings_UTF7" (items dropped).
  void DefineProperties(TFiler& filer) override;

private:
  std::unique_ptr<TAnsiStringsForWideStringsAdapter> FAnsiStrings;
  TStreamTextEncoding FDetectedFileCharSet = steUtf16LE;
};

class TUniStringList;
using TUniStringListSortCompare = std::function<int32_t(TUniStringList& list, int32_t index1, int32_t index2)>;

class TUniStringList : public TUniStrings {
public:
  TUniStringList() = default;

  // Errors: "List index out of bounds (%d)" for an index outside 0..Count-1 (0..Count
  // for inserting), "Operation not allowed on sorted list" for SetString and
  // InsertObject on a sorted list (checked first), "String list does not allow
  // duplicates" when adding an equal string to a sorted list in dupError mode.
  WideString GetString(int32_t index) const override;
  int32_t GetCapacity() const override { return FCapacity; }
  int32_t GetCount() const override { return static_cast<int32_t>(FList.size()); }
  TObject* GetObject(int32_t index) const override;
  // As TWideStrings gives it, from the items in place (no copy of each line).
  WideString GetText() const override;
  // The item's text in place, valid until the list changes; raises as GetString.
  const WideString& StringRef(int32_t index) const;
  void SetString(int32_t index, const WideString& s) override;
  void SetObject(int32_t index, TObject* object) override;
  // Raises "List capacity out of bounds (%d)" below Count.
  void SetCapacity(int32_t newCapacity) override;
  void SetUpdateState(bool updating) override;
  // Case-sensitive when CaseSensitive is on.
  int32_t CompareStrings(const WideString& s1, const WideString& s2) const override;
  int32_t Add(const WideString& s) override;
  // Sorted: at Find's index; an equal string is ignored (its index returned), refused
  // or accepted (inserted before the first equal one) by Duplicates.
  int32_t AddObject(const WideString& s, TObject* object) override;
  void Clear() override;
  void Delete(int32_t index) override;
  void Exchange(int32_t index1, int32_t index2) override;
  int32_t IndexOf(const WideString& s) const override;
  int32_t IndexOfName(const WideString& name) const override;
  void Insert(int32_t index, const WideString& s) override;
  void InsertObject(int32_t index, const WideString& s, TObject* object) override;

  // Binary search of a sorted list: true when found; `index` is the match (the first of
  // equal items when duplicates are accepted) or where `s` would go.
  virtual bool Find(const WideString& s, int32_t& index) const;
  virtual void Sort();
  // Sorts an unsorted list of two or more items by `compare`.
  virtual void CustomSort(const TUniStringListSortCompare& compare);

  bool Sorted() const { return FSorted; }
  // Switching on sorts the list first.
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates value) { FDuplicates = value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  // A sorted list is sorted again by the new comparison.
  void SetCaseSensitive(bool value);
  void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
  void SetOnChanging(TNotifyEvent handler) { FOnChanging = std::move(handler); }

protected:
  // Fire OnChange / OnChanging unless an update is under way.
  virtual void Changed();
  virtual void Changing();
  virtual void InsertItem(int32_t index, const WideString& s, TObject* object);

private:
  struct TUniStringItem {
    WideString String;
    TObject* Object;
  };

  static int32_t CompareItems(TUniStringList& list, int32_t index1, int32_t index2);
  void CheckIndex(int32_t index) const;
  void Grow();
  void SortAlways(const TUniStringListSortCompare& compare);

  std::vector<TUniStringItem> FList;
  int32_t FCapacity = 0;
  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
  bool FCaseSensitive = false;
  bool FUpdating = false;
  TNotifyEvent FOnChange;
  TNotifyEvent FOnChanging;
};
