// The zip archive: its directory records, the zip entry and the archive that reads the
// central directory of a plain, self-extracting or multi-volume zip file.
#pragma once

#include <cstdint>
#include <functional>

#include "archive/ArArcTyp.h"

// The fields of a central directory file header (the local header's fields are its
// first ones). Names, extra fields and comments are the stored bytes.
struct TArZipDirectoryFileHeader {
  uint16_t VersionMadeBy = 0;
  uint16_t VersionNeededToExtract = 0;
  uint16_t GeneralPurposeBitFlag = 0;
  uint16_t CompressionMethod = 0;
  uint16_t LastModFileTime = 0;
  uint16_t LastModFileDate = 0;
  uint32_t Crc32 = 0;
  uint32_t CompressedSize = 0;
  uint32_t UncompressedSize = 0;
  uint16_t DiskNumberStart = 0;
  uint16_t InternalFileAttributes = 0;
  uint32_t ExternalFileAttributes = 0;
  uint32_t RelativeOffset = 0;
  AnsiString FileName;
  AnsiString ExtraField;
  AnsiString FileComment;
};

// The end of central directory record.
struct TArZipDirectoryFileFooter {
  uint16_t DiskNumber = 0;
  uint16_t StartDiskNumber = 0;
  uint16_t EntriesOnDisk = 0;
  uint16_t TotalEntries = 0;
  uint32_t DirectorySize = 0;
  uint32_t DirectoryOffset = 0;
  AnsiString ZipfileComment;
};

// Reads the fixed part and the variable fields of a record at the stream's position.
// A wrong signature or a record cut short raises EArZipInvalid.
void ReadCentralHeader(TStream& stream, TArZipDirectoryFileHeader& header);
// The local header's fields (into the central header's members of the same name).
void ReadLocalHeader(TStream& stream, TArZipDirectoryFileHeader& header);
void ReadEndRecord(TStream& stream, TArZipDirectoryFileFooter& footer);

// The position of the end of central directory record, leaving the stream there, or -1
// (the stream back where it was). A record counts when its comment fits before the end.
// On a spanning stream the search stays within the open volume.
int64_t FindEndRecord(TStream& stream);
// atZip, atSpannedZip (by the first four bytes) or atUnknown; the position is kept.
TArArchiveType CheckZip(TStream& stream);
// atSelfExtZip for "MZ" followed by a zip, else atUnknown; the position is kept.
TArArchiveType CheckSelfExtractor(TStream& stream);

class TArZipItem : public TArArchiveItem {
public:
  TArZipItem() = default;
  // Reads one central directory header.
  void ReadFrom(TStream& stream);

  int64_t CompressedSize() const override { return FItemInfo.CompressedSize; }
  uint32_t Crc32() const override { return FItemInfo.Crc32; }
  uint32_t ExternalFileAttributes() const override { return FItemInfo.ExternalFileAttributes; }
  // The stored name, converted from the OEM to the ANSI code page when an MS-DOS host
  // wrote it.
  AnsiString FileName() const override;
  bool IsEncrypted() const override { return (FItemInfo.GeneralPurposeBitFlag & 1) != 0; }
  uint16_t LastModFileDate() const override { return FItemInfo.LastModFileDate; }
  uint16_t LastModFileTime() const override { return FItemInfo.LastModFileTime; }
  int64_t UncompressedSize() const override { return FItemInfo.UncompressedSize; }
  // Sizes are 32-bit fields: the insertion refuses data that does not fit.
  void SetCompressedSize(int64_t value) override { FItemInfo.CompressedSize = static_cast<uint32_t>(value); }
  void SetCrc32(uint32_t value) override { FItemInfo.Crc32 = value; }
  void SetExternalFileAttributes(uint32_t value) override { FItemInfo.ExternalFileAttributes = value; }
  // The name is stored as given; an MS-DOS host byte becomes 11 when it holds bytes above
  // 127, so that reading it back does not take it for an OEM name.
  void SetFileName(const AnsiString& value) override;
  void SetLastModFileDate(uint16_t value) override { FItemInfo.LastModFileDate = value; }
  void SetLastModFileTime(uint16_t value) override { FItemInfo.LastModFileTime = value; }
  void SetUncompressedSize(int64_t value) override;

  // Writes the records of the entry at the stream's position: the local header (the
  // stored name and the whole extra field), the central header, and the data descriptor
  // (CRC-32, compressed and uncompressed size, no signature).
  void WriteLocalHeader(TStream& stream) const;
  void WriteCentralHeader(TStream& stream) const;
  void WriteDataDescriptor(TStream& stream) const;

  const TArZipDirectoryFileHeader& ItemInfo() const { return FItemInfo; }
  uint8_t CompressionMethod() const { return static_cast<uint8_t>(FItemInfo.CompressionMethod); }
  uint16_t GeneralPurposeBitFlag() const { return FItemInfo.GeneralPurposeBitFlag; }
  uint32_t RelativeOffset() const { return FItemInfo.RelativeOffset; }
  uint16_t DiskNumberStart() const { return FItemInfo.DiskNumberStart; }
  uint16_t VersionMadeBy() const { return FItemInfo.VersionMadeBy; }
  uint16_t VersionNeededToExtract() const { return FItemInfo.VersionNeededToExtract; }
  // 0 when not imploded, else 4 or 8 (KB of dictionary); 0, 2 or 3 trees.
  int32_t ImplodeDictionary() const;
  int32_t ImplodeShannonFanoTrees() const;
  // Only the low seven bits of a method are kept.
  void SetCompressionMethod(uint8_t value) { FItemInfo.CompressionMethod = value & 0x7F; }
  void SetGeneralPurposeBitFlag(uint16_t value) { FItemInfo.GeneralPurposeBitFlag = value; }
  void SetRelativeOffset(uint32_t value) { FItemInfo.RelativeOffset = value; }
  void SetDiskNumberStart(uint16_t value) { FItemInfo.DiskNumberStart = value; }
  void SetVersionMadeBy(uint16_t value) { FItemInfo.VersionMadeBy = value; }
  void SetVersionNeededToExtract(uint16_t value) { FItemInfo.VersionNeededToExtract = value; }
  void SetExtraField(const AnsiString& value) { FItemInfo.ExtraField = value; }
  // Every stored field, as saving takes it back when an entry's new data fails.
  void SetItemInfo(const TArZipDirectoryFileHeader& info) { FItemInfo = info; }

private:
  AnsiString FConvertedName;
  TArZipDirectoryFileHeader FItemInfo;
};

class TArZipArchive;
// The extraction hooks the unzipper installs.
using TArExtractToStreamHelper = std::function<void(TArZipArchive& archive, TArZipItem& item, TStream& stream)>;
using TArExtractHelper = std::function<void(TArZipArchive& archive, TArZipItem& item, const AnsiString& name)>;
using TArTestHelper = std::function<void(TArZipArchive& archive, TArZipItem& item)>;
using TArNeedPasswordEvent = std::function<void(TObject* sender, AnsiString& newPassword)>;
using TArRequestDiskEvent = std::function<void(TObject* sender, bool& abort)>;
using TArRequestNthDiskEvent = std::function<void(TObject* sender, uint8_t diskNumber, bool& abort)>;
// The insertion hooks a zipper installs: the entry's data from its disk file, or from
// source, written to target, with the entry's CRC-32, sizes, method and flags set.
using TArInsertHelper = std::function<void(TArZipArchive& archive, TArZipItem& item, TStream& target)>;
using TArInsertFromStreamHelper =
    std::function<void(TArZipArchive& archive, TArZipItem& item, TStream& source, TStream& target)>;

class TArZipArchive : public TArArchive {
public:
  using TArArchive::TArArchive;

  // Extract, extract to stream and test through the hooks; an unset hook raises
  // EArZipNoExtraction.
  void ExtractEntry(int32_t index, const AnsiString& newName);
  void TestEntry(int32_t index);

  const TArZipDirectoryFileFooter& EndRecord() const { return FEndRecord; }
  bool IsExecutable() const { return FIsExecutable; }
  uint32_t ExecutablePrefixSize() const { return FExecutablePrefixSize; }
  // Whether the archive is a set of several volumes.
  bool IsSpanned() const { return FSpanned; }
  bool DriveIsRemovable() const { return FDriveIsRemovable; }
  // The number of the open volume (0 for an archive of one volume).
  uint16_t CurrentDisk() const;

  // Positions the stream at offset in volume (an entry's disk number start), asking
  // for that volume first when another one is open in a spanned set.
  void SeekVolume(uint16_t volume, int64_t offset);
  // Opens volume number `volume` of a spanned set (-1: the last volume, the one holding
  // the end record): on a removable drive the user is asked to insert that disk, which
  // is then read under the archive's name; else OnRequestImage names its file; else the
  // name comes from the archive's (SpanVolumeName; the archive's own file is its own
  // volume). Raises EArUserAbort when a request is refused, EArFileNotFound when the
  // volume's file does not exist, EArZipBadSpanStream for an archive read from a
  // caller's stream.
  void RequestVolume(int32_t volume);
  // Each asks its event; without one the installed media prompts ask the user
  // (ArMediaPrompts.h: "Insert the last disk ...", "Insert disk number %d ...", "Insert a
  // blank floppy disk", captioned "Insert floppy"); with none installed the answer is
  // abort.
  virtual void RequestLastDisk(bool& abort);
  virtual void RequestNthDisk(uint8_t diskNumber, bool& abort);
  virtual void RequestEmptyDisk(bool& abort);
  // Reading: the file of volume imageNumber by RequestVolume's rules (an empty name past
  // the set's last volume); a local volume file that is missing is asked for through the
  // installed media prompts ("Insert span number %d ...") when there are prompts and no
  // OnRequestImage, Cancel aborting; writing: OnRequestImage's name, or the one the stream
  // proposes, or a blank disk on a removable drive.
  void RequestSpanMedia(TArSpanStream& stream, int32_t imageNumber, bool& abort, AnsiString& imageName) override;

  AnsiString Password;
  uint8_t PasswordRetries = 3;
  TArNeedPasswordEvent OnNeedPassword;
  TArExtractHelper ExtractHelper;
  TArExtractToStreamHelper ExtractToStreamHelper;
  TArTestHelper TestHelper;
  TArRequestDiskEvent OnRequestLastDisk;
  TArRequestNthDiskEvent OnRequestNthDisk;
  TArRequestDiskEvent OnRequestEmptyDisk;
  TArInsertHelper InsertHelper;
  TArInsertFromStreamHelper InsertFromStreamHelper;

  // A deflated entry for the file (its full path as disk file name); the MS-DOS host
  // byte becomes 11 when the path holds bytes above 127.
  std::unique_ptr<TArArchiveItem> NewItem(const AnsiString& filePath) override;

protected:
  void ExtractEntryToStream(int32_t index, TStream& stream) override;
  // Reads the central directory; raises EArZipInvalid for a file without an end record
  // (an empty file is an empty archive), a directory outside the file, or more entries
  // or longer names than Limits allows; EArUserAbort when the progress handler aborts.
  // A multi-volume set (an end record on a disk above 0, or a first volume starting with
  // a span marker) is read across its volumes (RequestVolume), and its stream then moves
  // between volumes by itself.
  void ReadArchive() override;
  // Whether the archive's file lies on a removable drive.
  virtual bool QueryRemovableDrive() const;
  // The whole archive anew, entry by entry: loaded and moved entries are copied from the
  // old archive, new data comes from the insertion hooks (unset: EArZipNoInsertion,
  // reported for that entry). The directory and the end record (with the old comment)
  // follow. A self-extracting archive keeps its executable prefix.
  // With a spanning threshold (the archive's own file only) the archive starts with a
  // span marker (0x08074B50 when it takes several volumes, else 0x30304B50), entries
  // carry their volume and offset in it, and the directory starts at offset 0 of a new
  // volume when the rest of the current one cannot hold it and the end record; the
  // volumes are written by WriteVolumes. A self-extractor raises EArException 16, a
  // threshold too small for the directory EArException 31. A loaded multi-volume set is
  // not rewritten: its pending changes are given up and EArZipSpanOverwrite raised.
  void WriteArchive() override;

private:
  // Finds the end record of a set whose first volume is open, asking for the last one.
  int64_t FindLastVolume(TArSpanStream& span);
  // The file of a volume on a local disk: OnRequestImage's answer, or the derived name.
  AnsiString VolumeFileName(int32_t volume, bool& abort);
  void ReadDirectory(int64_t endPosition);
  // A save's entry starts at position of the whole new archive: its volume and offset in
  // it when the save spans, else volume 0. Beyond what the format counts: EArZipStreamFull.
  void PlaceItem(TArZipItem& item, int64_t position);
  // Writes work as volumes 0 to lastVolume: under temporary names beside the archive,
  // then renamed to archive.z01, archive.z02, ... with the last replacing the archive
  // itself, which is then read again as a spanned set. On a failure no volume is left and
  // the old archive stays; the error is EArBadStream around its cause.
  void WriteVolumes(TStream& work, uint16_t lastVolume);

  TArZipItem& ZipItem(int32_t index) const;
  // Writes one entry's local header and data to work; false when its new data failed
  // and it was dropped.
  bool WriteEntry(TArZipItem& item, TStream& work);
  void CopyOldData(TArZipItem& item, TStream& work);
  // The directory and the end record after the entries, both on one volume of a set:
  // zeros fill the current volume when they do not fit its rest. Returns the end record
  // written; one that cannot fit a whole volume raises EArException 31.
  TArZipDirectoryFileFooter WriteDirectory(TStream& work, TMemoryStream& directory, uint32_t entries) const;
  TArZipDirectoryFileFooter FEndRecord;
  bool FIsExecutable = false;
  uint32_t FExecutablePrefixSize = 0;
  bool FSpanned = false;
  int32_t FSaveVolumeBytes = 0;  // volume size of the save under way, 0 when it does not span
  bool FDriveIsRemovable = false;
  // The volume the archive's own file is (the set's last, or its first when opened by a
  // span marker); -1 until known.
  int32_t FOwnVolume = -1;
};
