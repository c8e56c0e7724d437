// The Wolf e-book writer: the description block, the table of contents, the page table
// and `TWolfWriter`, which writes a whole ".wol" file into a stream its caller owns.
//
// File layout, in the order a driver produces it: the 128-byte header (a zeroed
// placeholder until `Finish`), the description text, the optional cover record,
// the book body "<wolf>\r\n" "<catalog>" image blocks "</catalog>" "</wolf>", the
// table-of-contents catalog section and the page table. Byte layouts: uWolfDefs.h.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/base/Exception.h"
#include "platform/base/Types.h"
#include "wolf/uWolfDefs.h"

class TStream;
class TBitmap;
class TLZSSCompressor;

// A broken call protocol of the writer (fixed English messages, not translated: the
// book conversion never makes these calls).
class EWolfWriterError : public Exception {
public:
  using Exception::Exception;
};

inline constexpr char SWolfNoPages[] = "Wolf book has no pages";
inline constexpr char SWolfUnboundTOCEntry[] = "Table of contents entry \"%s\" is bound to no page";
inline constexpr char SWolfFileTooLarge[] = "Wolf file exceeds 4 GB";
inline constexpr char SWolfBookNotEnded[] = "Wolf book was not ended before Finish";

// --- Description block ---------------------------------------------------------------

// The 18 values of the description block (8-bit Windows-1251 text; the caller converts).
// Values are cut to their field's maximum length, then trimmed, as they are set.
class TWolfDescription {
public:
  void Clear();
  // Value of field index 0..17; empty for any other index.
  AnsiString GetField(int32_t index) const;
  // Stores Trim(first MaxLength bytes of value); an index outside 0..17 is ignored.
  void SetField(int32_t index, AnsiStringView value);
  void Assign(const TWolfDescription& source);

  // For each field in order whose value is not empty or whose row is Always: the tag,
  // the escaped value, "\r\n".
  AnsiString DescriptionText() const;
  // Byte length of DescriptionText().
  int32_t TextLength() const;

private:
  std::array<AnsiString, WolfDescriptionFieldCount> FValues;
};

// Replaces "&" by "&apos;" (not "&amp;"), the double quote by "&quot;", "'" by "&squot;",
// "<" by "&lt;" and ">" by "&gt;": what the devices expect, byte for byte.
AnsiString EscapeWolfText(AnsiStringView s);

// --- Table of contents -----------------------------------------------------------------

// One entry, identified by its three level counters: Number() = level1 << 16 |
// level2 << 8 | level3. The level is derived from the counters: 1 when level 2 and 3 are
// 0, 2 when only level 3 is 0, else 3.
class TWolfTOCItem {
public:
  static constexpr size_t MaxNameBytes = 254;

  // The name is cut to its first MaxNameBytes bytes.
  TWolfTOCItem(uint8_t level1, uint8_t level2, uint8_t level3, int32_t pageKey, uint32_t position, AnsiStringView name);

  uint32_t Number() const { return FNumber; }
  int32_t Level() const { return FLevel; }
  const AnsiString& Name() const { return FName; }
  // Absolute file position of the entry's page.
  uint32_t Position() const { return FPosition; }
  void SetPosition(uint32_t position) { FPosition = position; }
  int32_t PageKey() const { return FPageKey; }

  // Counter of level k (1..3); 0 for any other k.
  uint8_t GetLevelCounter(int32_t k) const;
  // Numbers of related entries, 0 when there is none (arithmetic on the counters).
  uint32_t ParentNumber() const;
  uint32_t PrevSiblingNumber() const;
  uint32_t NextSiblingNumber() const;
  uint32_t FirstChildNumber() const;
  bool IsParentOf(const TWolfTOCItem& other) const;

private:
  uint32_t WithCounter(int32_t k, uint8_t value) const;

  uint32_t FNumber;
  int32_t FLevel;
  AnsiString FName;
  uint32_t FPosition;
  int32_t FPageKey;
};

class TWolfTOCList {
public:
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  // Raises EListError for an index out of range.
  TWolfTOCItem& GetItem(int32_t index);
  const TWolfTOCItem& GetItem(int32_t index) const;
  TWolfTOCItem& AddItem(uint8_t level1, uint8_t level2, uint8_t level3, int32_t pageKey, uint32_t position,
                        AnsiStringView name);
  // By level, then by number: all level-1 entries first, then level 2, then level 3.
  void SortItems();
  // Every item with pageKey gets position.
  void SetPagePosition(int32_t pageKey, uint32_t position);
  // Index of the first item numbered so; -1 if none (always for 0).
  int32_t IndexOfNumber(uint32_t number) const;
  // Fills the 80-byte record of item index, all but its first two fields; related
  // records are addressed as recordsStart + 80 * their index.
  void SubcatalogRecord(int32_t index, uint32_t recordsStart, TWolfRecord& record) const;

private:
  uint32_t RecordPosition(uint32_t number, uint32_t recordsStart) const;

  std::vector<std::unique_ptr<TWolfTOCItem>> FItems;
  bool FSorted = true;  // IndexOfNumber may search by halves
};

// --- Page table --------------------------------------------------------------------------

class TWolfPageTableGroup {
public:
  // Raises EListError for an index out of range.
  uint32_t GetPosition(int32_t index) const;
  int32_t Count() const { return static_cast<int32_t>(FPositions.size()); }
  void Add(uint32_t position) { FPositions.push_back(position); }
  // Page positions only grow, so the group is sorted and searched by halves.
  bool HasPosition(uint32_t position) const {
    return std::binary_search(FPositions.begin(), FPositions.end(), position);
  }
  int32_t ByteSize() const { return Count() * 4; }

private:
  std::vector<uint32_t> FPositions;
};

class TWolfPageTable {
public:
  explicit TWolfPageTable(int32_t groupCount);

  // The group at index modulo the group count.
  TWolfPageTableGroup& GetGroup(int32_t index);
  const TWolfPageTableGroup& GetGroup(int32_t index) const;
  // Appends position to every group unless it equals the last one added.
  void AddPosition(uint32_t position);
  // The last position added; -1 before the first.
  int64_t LastPosition() const { return FLastPosition; }

private:
  std::vector<std::unique_ptr<TWolfPageTableGroup>> FGroups;
  int64_t FLastPosition = -1;
};

// --- Writer ------------------------------------------------------------------------------

// Writes a Wolf file sequentially into a stream that stays the caller's and must outlive
// the writer. Call protocol of the book conversion: SetField on Description(),
// WriteDescription, AddTOCItem per entry (page key = 1-based page number), WriteCover,
// BeginBook, BeginPage, per page AddPageImage then SetTOCPage(page number), EndPage,
// EndBook, then Finish.
//
// Finish completes the file (catalog, page table, final header) and may throw. The
// destructor writes nothing: a writer destroyed without a successful Finish leaves an
// incomplete file, which its caller removes. Stream errors propagate unchanged.
class TWolfWriter {
public:
  // Writes the placeholder header; the stream then stands at 128.
  explicit TWolfWriter(TStream& stream);
  ~TWolfWriter();
  TWolfWriter(const TWolfWriter&) = delete;
  TWolfWriter& operator=(const TWolfWriter&) = delete;

  TWolfDescription& Description() { return *FDescription; }
  TWolfTOCList& TOC() { return *FTOC; }
  TWolfPageTable& PageTable() { return *FPageTable; }
  const std::array<uint8_t, WolfHeaderBytes>& Header() const { return FHeader; }

  // Seeks to 0 and writes the header as it stands; the stream then stands at 128.
  void WriteHeader();
  void WriteDescription();
  // Writes the 10-byte cover record and the encoded bitmap. A bitmap the encoder does not
  // take raises WideException "Bad input image!" (SErrBadInputImage) after the record.
  void WriteCover(const TBitmap& bitmap, int32_t bitCount);
  void BeginBook();
  void BeginPage();
  void EndPage();
  // Closes the open page, then opens one. A page opened without an image yet is left
  // unclosed (kept as the format's writers have always done; no driver calls it so).
  void NewPage();
  // Appends one image block (a page of its own unless it is the first image of a page
  // opened by BeginPage/NewPage). A bitmap the encoder does not take raises WideException
  // "Bad input image!" and writes nothing.
  void AddPageImage(const TBitmap& bitmap, int32_t bitCount);
  // The same for an image encoded elsewhere (EncodeWolfImage's bytes, so that pages can
  // be encoded on other threads); empty bytes raise "Bad input image!" and write nothing.
  void AddEncodedPageImage(int32_t width, int32_t height, int32_t bitCount, std::span<const uint8_t> encoded);
  void EndBook();

  // Adds an entry at level 1..3 (other levels are ignored) for the page the caller will
  // bind with SetTOCPage(pageKey). A level whose counter reached 255 under its parent
  // takes no more entries: such an entry and the entries below it are left out; so are
  // entries of levels 2 and 3 beyond the 65535 that the header can count.
  void AddTOCItem(int32_t level, AnsiStringView name, int32_t pageKey);
  // Binds every entry with pageKey to the page written last.
  void SetTOCPage(int32_t pageKey);

  // Writes the catalog section, the page table and the final header. Raises
  // EWolfWriterError, writing nothing, when EndBook has not been called since the last
  // BeginBook (the body would lack its close and its size), when no page image was added
  // or when an entry of the table of contents is bound to no page. Call once.
  void Finish();

private:
  enum TPageState : uint8_t { psNone = 0, psOpen = 1, psHasImage = 3 };

  void WriteText(AnsiStringView s);
  void WriteBytes(const uint8_t* bytes, size_t count);
  void WriteU32(uint32_t value);
  // The stream position as a 32-bit file position; EWolfWriterError beyond 4 GB.
  uint32_t FilePosition();
  void AddTOCEntry(AnsiStringView name, int32_t pageKey);
  void CheckComplete() const;
  void WriteCatalog();
  void WritePageTable();

  TStream& FStream;
  std::array<uint8_t, WolfHeaderBytes> FHeader{};
  std::unique_ptr<TWolfDescription> FDescription;
  std::unique_ptr<TWolfTOCList> FTOC;
  std::unique_ptr<TWolfPageTable> FPageTable;
  std::unique_ptr<TLZSSCompressor> FCompressor;
  uint32_t FBookStart = 0;
  TPageState FPageState = psNone;
  std::array<uint8_t, 3> FLevelCounters{};
  int32_t FSkippedLevel = 0;  // level of the last entry left out; 0 when none
  uint32_t FSubEntries = 0;   // entries of levels 2 and 3
  bool FHasPages = false;
  bool FBookEnded = false;
  bool FFinished = false;
};
