// Tar archives in GNU tar's header layout: the 512-byte header block, whose first 345
// bytes an item keeps, data padded to whole blocks, and a zero block at the end.
// Only regular files are items; other entries are skipped with their data.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "archive/ArArcTyp.h"

// Header fields: offset and width within the block.
namespace ArTar {
struct Field {
  uint32_t Offset;
  uint32_t Width;
};
inline constexpr uint32_t BlockBytes = 512;
inline constexpr uint32_t KeptBytes = 345;
inline constexpr Field Name{0, 100};
inline constexpr Field Mode{100, 8};
inline constexpr Field Uid{108, 8};
inline constexpr Field Gid{116, 8};
inline constexpr Field Size{124, 12};
inline constexpr Field MTime{136, 12};
inline constexpr Field Checksum{148, 8};
inline constexpr Field TypeFlag{156, 1};
inline constexpr Field LinkName{157, 100};
inline constexpr Field Magic{257, 8};
inline constexpr Field UserName{265, 32};
inline constexpr Field GroupName{297, 32};
inline constexpr Field DevMajor{329, 8};
inline constexpr Field DevMinor{337, 8};
inline constexpr std::array<Field, 14> Layout{Name,     Mode,     Uid,   Gid,      Size,      MTime,    Checksum,
                                              TypeFlag, LinkName, Magic, UserName, GroupName, DevMajor, DevMinor};
static_assert([] {
  uint32_t at = 0;
  for (const Field& f : Layout) {
    if (f.Offset != at) return false;
    at += f.Width;
  }
  return at == KeptBytes;
}());
}  // namespace ArTar

using TArTarHeader = std::array<uint8_t, ArTar::KeptBytes>;

// A number field: leading spaces skipped (only spaces is 0), then octal digits up to
// the first other character or the field's end. -1 when the value does not fit 63 bits.
int64_t TarOctal(const TArTarHeader& header, ArTar::Field field);
// The octal digits ("0" for zero) and one space, right-aligned with leading spaces; the
// space goes when the digits fill the field. False (nothing written) when they do not fit.
bool SetTarOctal(TArTarHeader& header, ArTar::Field field, uint64_t value);
// The sum of the kept bytes with the checksum field taken as eight spaces.
uint32_t TarChecksum(const TArTarHeader& header);

// The last-write time of an open file in seconds since 1970-01-01 UTC.
int64_t FileUnixTime(const TFileStream& file);

// atTar when the 345 bytes at the stream's position hold a matching checksum or the
// magic "ustar  " or "GNUtar "; else atUnknown. The position is kept.
TArArchiveType CheckTarContent(TStream& stream);

class TArTarItem : public TArArchiveItem {
public:
  // A new entry: empty name, mode 0744, magic "ustar  ", type '0'.
  TArTarItem();
  // An entry read from a stream, its header block at headerOffset.
  TArTarItem(const TArTarHeader& header, int64_t headerOffset);

  AnsiString FileName() const override;
  void SetFileName(const AnsiString& value) override;
  // Compressed and uncompressed size are the one size field.
  int64_t CompressedSize() const override { return TarOctal(FHeader, ArTar::Size); }
  int64_t UncompressedSize() const override { return CompressedSize(); }
  void SetCompressedSize(int64_t value) override;
  void SetUncompressedSize(int64_t value) override { SetCompressedSize(value); }
  // The mode field.
  uint32_t ExternalFileAttributes() const override;
  void SetExternalFileAttributes(uint32_t value) override;
  // mtime as local DOS date and time.
  uint16_t LastModFileDate() const override;
  uint16_t LastModFileTime() const override;
  bool IsEncrypted() const override { return false; }
  bool IsRegularFile() const;

  const TArTarHeader& Header() const { return FHeader; }
  int64_t HeaderOffset() const { return FHeaderOffset; }
  // Seconds since 1970-01-01 UTC.
  void SetMTime(int64_t seconds);
  void SetHeaderOffset(int64_t offset) { FHeaderOffset = offset; }
  // The whole kept header, as saving takes it back when the save fails.
  void SetHeader(const TArTarHeader& header) { FHeader = header; }

private:
  TArTarHeader FHeader{};
  int64_t FHeaderOffset = 0;
};

// Walks the headers of a tar stream.
class TArTarStreamHelper {
public:
  explicit TArTarStreamHelper(TStream& stream) : FStream(stream) {}
  // From the start: the first regular file; the stream is left at its header. A header
  // with an empty name (the end block) or a short read ends the search.
  bool FindFirstItem();
  // Skips the current entry, then as FindFirstItem.
  bool FindNextItem();
  int32_t GetItemCount();
  // Item index (from 0); the stream is left at its header.
  bool GotoItem(int32_t index);
  const TArTarHeader& Header() const { return FHeader; }
  // The current entry's name does not fit the name field: a POSIX header with a prefix
  // (beyond the kept bytes), or GNU tar's long-name entry came before it.
  bool HasLongName() const { return FLongName; }

private:
  bool ReadHeader();
  bool SkipToRegular();
  void SkipEntry();

  TStream& FStream;
  TArTarHeader FHeader{};
  bool FLongName = false;
};

class TArTarArchive : public TArArchive {
public:
  using TArArchive::TArArchive;

  // Copies item index's data to a file below the base directory (its name, or newName
  // when given), with the item's date.
  void ExtractEntry(int32_t index, const AnsiString& newName);
  // Raises EArException "Invalid Tar" when the item's header is no tar header.
  virtual void TestEntry(int32_t index) { TestTarEntry(Stream(), index); }
  // A regular-file entry for the file (its full path as disk file name). A stored name
  // longer than the name field's 99 bytes raises EArException "Invalid Item".
  std::unique_ptr<TArArchiveItem> NewItem(const AnsiString& filePath) override;

protected:
  // Entries are found again by the header offset read with them: an entry not listed
  // (a cut name) never shifts the others. A missing index raises "Index out of range".
  void ExtractEntryToStream(int32_t index, TStream& stream) override;
  void ReadArchive() override;
  // The directory and the entries of the tar in stream (the archive's own, or the
  // unpacked content of a gzipped tar).
  void ReadTarDirectory(TStream& stream);
  void CopyTarEntry(TStream& tar, int32_t index, TStream& stream);
  void TestTarEntry(TStream& tar, int32_t index);
  // The tar anew into work: loaded and moved entries copied from oldTar, new data from
  // the disk files (mode from their attributes, size and time from the file) or the input
  // stream, each header with a new checksum, data padded to whole blocks, then two zero
  // blocks. Entries of oldTar that are no items (folders, links, long names) are copied
  // where they stood; headers describing the entry after them go only with an unchanged
  // entry. A failing entry is reported (DropFailedItem). Returns each entry's new header
  // offset (-1 for entries left out), for CommitTarEntries once the new tar is in place.
  std::vector<int64_t> WriteTarEntries(TStream& oldTar, TStream& work);
  // The entries take their new header offsets, then FinishSave.
  void CommitTarEntries(const std::vector<int64_t>& offsets);
  // Saves through WriteTarEntries and ReplaceContent; a failure leaves the entries as
  // they were.
  void WriteArchive() override;
  // The headers and actions of the entries, and putting them back after a failed save.
  std::vector<std::pair<TArTarHeader, TArArchiveAction>> TarSnapshot() const;
  void RestoreTarSnapshot(const std::vector<std::pair<TArTarHeader, TArArchiveAction>>& snapshot);

private:
  const TArTarItem& Item(int32_t index) const;
  // Writes one entry's header and data; false when it failed and was dropped.
  bool WriteTarEntry(TArTarItem& item, TStream& oldTar, TStream& work);
  void CopyOldTarEntry(const TArTarItem& item, TStream& oldTar, TStream& work);
};
