// Gzip files (RFC 1952) as archives of one item; a gzip whose content is a tar can show
// the tar's items instead (a gzipped tar).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "archive/ArTarTyp.h"
#include "platform/base/Streams.h"

namespace ArGz {
inline constexpr uint8_t Id1 = 0x1F;
inline constexpr uint8_t Id2 = 0x8B;
inline constexpr uint8_t MethodDeflate = 8;
// FLG bits.
inline constexpr uint8_t FText = 1;
inline constexpr uint8_t FHCrc = 2;
inline constexpr uint8_t FExtra = 4;
inline constexpr uint8_t FName = 8;
inline constexpr uint8_t FComment = 16;
// The fixed header: ID1, ID2, CM, FLG, MTIME (4), XFL, OS.
inline constexpr uint32_t OffsetFlags = 3;
inline constexpr uint32_t OffsetMTime = 4;
inline constexpr uint32_t OffsetXfl = 8;
inline constexpr uint32_t OffsetOs = 9;
inline constexpr uint32_t FixedBytes = 10;
static_assert(OffsetMTime + 4 == OffsetXfl && OffsetOs + 1 == FixedBytes);
// CRC-32 and ISIZE.
inline constexpr uint32_t TrailerBytes = 8;
}  // namespace ArGz

class TArGzipItem : public TArArchiveItem {
public:
  // XFL 2, OS 0, no texts, no header CRC.
  TArGzipItem();

  std::array<uint8_t, ArGz::FixedBytes> Fixed{};
  std::vector<uint8_t> ExtraField;
  AnsiString Comment;
  // Writing adds FHCRC and the header's CRC16.
  bool HeaderCrc = false;
  // Writing adds FTEXT.
  bool IsText = false;

  uint32_t MTime() const;
  void SetMTime(uint32_t seconds);
  // Sets or clears FNAME with the name.
  void SetFileName(const AnsiString& value) override;
  // MTIME as local DOS date and time.
  uint16_t LastModFileDate() const override;
  uint16_t LastModFileTime() const override;
};

// Reads a member's header at the stream's position into item, which it leaves at the
// deflate data. A name without FNAME is "unknown". EArGzipInvalid when the magic or the
// method is wrong, a field runs past the end or beyond maxTextBytes, or the header CRC
// (FHCRC) does not match.
void ReadGzipHeader(TStream& stream, TArGzipItem& item, int32_t maxTextBytes);
// Writes item's header: FLG from the item's options and texts, then the fields present.
void WriteGzipHeader(TStream& stream, const TArGzipItem& item);
// One whole member: item's header, source deflated from its position to its end, and
// the trailer; item receives the CRC-32 and sizes.
void WriteGzipMember(TStream& source, TStream& destination, TArGzipItem& item);

// atGzippedTar when the stream starts with a gzip header and its first 512 unpacked bytes
// pass CheckTarContent, atGzip with a gzip header alone, else atUnknown. The position is
// kept.
TArArchiveType CheckGzipContent(TStream& stream);

class TArGzipArchive : public TArTarArchive {
public:
  using TArTarArchive::TArTarArchive;

  // The browser sets the first for gzipped tars; with both set the archive shows the
  // tar's items.
  bool HoldsTar = false;
  bool TarAutoHandle = false;

  // The gzip view: CheckGzipContent must accept the file (else EArGzipInvalid), the data
  // must inflate, and its CRC-32 and size must match the trailer (EArGzipBadCRC,
  // EArGzipBadFileSize). The tar view tests the tar entry.
  void TestEntry(int32_t index) override;
  // The tar view: a tar entry. The gzip view: an item named by the file name alone
  // (soStripDrive and soStripPath are forced on).
  std::unique_ptr<TArArchiveItem> NewItem(const AnsiString& filePath) override;

protected:
  // The gzip view also checks the trailer after writing the data: a mismatch raises as
  // TestEntry does.
  void ExtractEntryToStream(int32_t index, TStream& stream) override;
  void ReadArchive() override;
  // The tar view: the tar is saved anew and becomes the one member of the new gzip file,
  // under the old header. The gzip view: each item is a whole member; a loaded or moved
  // item keeps its deflated data (under its new header), a new one is deflated from its
  // disk file or the input stream. The new file replaces the old only once complete.
  void WriteArchive() override;

private:
  bool TarView() const { return HoldsTar && TarAutoHandle; }
  // Inflates item 0 into target (nullptr: count only) and checks it against the trailer.
  void InflateMember(TStream* target);
  void WriteTarView();
  // The old member's deflated data and trailer under item's header.
  void CopyOldMember(const TArGzipItem& item, TStream& work);

  TMemoryStream FTarStream;
};
