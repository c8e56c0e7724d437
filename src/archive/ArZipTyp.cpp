#include "archive/ArZipTyp.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "archive/ArUtils.h"
#include "archive/ArZipDefs.h"
#include "platform/base/CodePages.h"

namespace {

[[noreturn]] void Invalid() { throw EArZipInvalid(); }

// Reads exactly count bytes or raises EArZipInvalid: a record cut short is damage.
void ReadExactly(TStream& stream, void* buffer, size_t count) {
  if (count && stream.Read(buffer, static_cast<int32_t>(count)) != static_cast<int32_t>(count)) Invalid();
}

AnsiString ReadText(TStream& stream, uint16_t bytes) {
  AnsiString text(bytes, '\0');
  ReadExactly(stream, text.data(), bytes);
  return text;
}

// The fields local and central headers share lie in the same order from "version
// needed" on; fields points there.
void ReadSharedFields(const uint8_t* fields, TArZipDirectoryFileHeader& header) {
  auto at = [fields](size_t localOffset) { return fields + (localOffset - ZipLocVersionNeeded); };
  header.VersionNeededToExtract = LoadLE16(at(ZipLocVersionNeeded));
  header.GeneralPurposeBitFlag = LoadLE16(at(ZipLocFlags));
  header.CompressionMethod = LoadLE16(at(ZipLocMethod));
  header.LastModFileTime = LoadLE16(at(ZipLocTime));
  header.LastModFileDate = LoadLE16(at(ZipLocDate));
  header.Crc32 = LoadLE32(at(ZipLocCrc));
  header.CompressedSize = LoadLE32(at(ZipLocCompressed));
  header.UncompressedSize = LoadLE32(at(ZipLocUncompressed));
}
static_assert(ZipCenExtraBytes - ZipCenVersionNeeded == ZipLocExtraBytes - ZipLocVersionNeeded &&
                  ZipCenCrc - ZipCenVersionNeeded == ZipLocCrc - ZipLocVersionNeeded,
              "local and central headers share their field order from version needed to extra length");

}  // namespace

void ReadCentralHeader(TStream& stream, TArZipDirectoryFileHeader& header) {
  std::array<uint8_t, ZipCentralBytes> b;
  ReadExactly(stream, b.data(), b.size());
  if (LoadLE32(&b[ZipCenSignature]) != ZipCentralSignature) Invalid();
  header.VersionMadeBy = LoadLE16(&b[ZipCenVersionMadeBy]);
  ReadSharedFields(&b[ZipCenVersionNeeded], header);
  header.DiskNumberStart = LoadLE16(&b[ZipCenDiskStart]);
  header.InternalFileAttributes = LoadLE16(&b[ZipCenInternalAttrs]);
  header.ExternalFileAttributes = LoadLE32(&b[ZipCenExternalAttrs]);
  header.RelativeOffset = LoadLE32(&b[ZipCenLocalOffset]);
  uint16_t nameBytes = LoadLE16(&b[ZipCenNameBytes]);
  uint16_t extraBytes = LoadLE16(&b[ZipCenExtraBytes]);
  uint16_t commentBytes = LoadLE16(&b[ZipCenCommentBytes]);
  header.FileName = ReadText(stream, nameBytes);
  header.ExtraField = ReadText(stream, extraBytes);
  header.FileComment = ReadText(stream, commentBytes);
}

void ReadLocalHeader(TStream& stream, TArZipDirectoryFileHeader& header) {
  std::array<uint8_t, ZipLocalBytes> b;
  ReadExactly(stream, b.data(), b.size());
  if (LoadLE32(&b[ZipLocSignature]) != ZipLocalSignature) Invalid();
  ReadSharedFields(&b[ZipLocVersionNeeded], header);
  uint16_t nameBytes = LoadLE16(&b[ZipLocNameBytes]);
  uint16_t extraBytes = LoadLE16(&b[ZipLocExtraBytes]);
  header.FileName = ReadText(stream, nameBytes);
  header.ExtraField = ReadText(stream, extraBytes);
}

void ReadEndRecord(TStream& stream, TArZipDirectoryFileFooter& footer) {
  std::array<uint8_t, ZipEndBytes> b;
  ReadExactly(stream, b.data(), b.size());
  if (LoadLE32(&b[ZipEndSignatureAt]) != ZipEndSignature) Invalid();
  footer.DiskNumber = LoadLE16(&b[ZipEndDisk]);
  footer.StartDiskNumber = LoadLE16(&b[ZipEndDirectoryDisk]);
  footer.EntriesOnDisk = LoadLE16(&b[ZipEndEntriesHere]);
  footer.TotalEntries = LoadLE16(&b[ZipEndEntriesTotal]);
  footer.DirectorySize = LoadLE32(&b[ZipEndDirectoryBytes]);
  footer.DirectoryOffset = LoadLE32(&b[ZipEndDirectoryOffset]);
  footer.ZipfileComment = ReadText(stream, LoadLE16(&b[ZipEndCommentBytes]));
}

namespace {

int64_t SearchEndRecord(TStream& stream) {
  constexpr int64_t LargestBlock = 65536;
  constexpr int64_t EndBytes = ZipEndBytes;
  int64_t remembered = stream.Position();
  int64_t size = stream.Size();
  std::array<uint8_t, ZipEndBytes> tail;
  // The usual case: no archive comment, the record is the last 22 bytes.
  if (size >= EndBytes && stream.Seek(size - EndBytes, soBeginning) >= 0 &&
      stream.Read(tail.data(), ZipEndBytes) == ZipEndBytes && LoadLE32(&tail[ZipEndSignatureAt]) == ZipEndSignature &&
      LoadLE16(&tail[ZipEndCommentBytes]) == 0) {
    stream.Seek(size - EndBytes, soBeginning);
    return size - EndBytes;
  }
  // Blocks backwards from the end, doubling up to 64 KB; each block reaches 21 bytes into
  // the one after it so that every start position is examined once with its 22 bytes.
  std::vector<uint8_t> block;
  int64_t blockBytes = 512;
  int64_t blockEnd = size;
  for (;;) {
    int64_t start = blockEnd - blockBytes;
    bool lastBlock = start <= 0;
    if (lastBlock) start = 0;
    block.resize(static_cast<size_t>(blockEnd - start));
    stream.Seek(start, soBeginning);
    int32_t got = stream.Read(block.data(), static_cast<int32_t>(block.size()));
    if (got < EndBytes) break;
    for (int64_t i = got - EndBytes; i >= 0; --i) {
      const uint8_t* p = block.data() + i;
      if (LoadLE32(p) != ZipEndSignature) continue;
      int64_t at = start + i;
      if (LoadLE16(p + ZipEndCommentBytes) <= size - (at + EndBytes)) {
        stream.Seek(at, soBeginning);
        return at;
      }
    }
    if (lastBlock) break;
    blockEnd = start + EndBytes - 1;
    blockBytes = std::min(blockBytes * 2, LargestBlock);
  }
  stream.Seek(remembered, soBeginning);
  return -1;
}

}  // namespace

int64_t FindEndRecord(TStream& stream) {
  auto* span = dynamic_cast<TArSpanStream*>(&stream);
  if (!span) return SearchEndRecord(stream);
  // The search stays within the open volume.
  bool ignoring = span->IgnoreSpanning;
  span->IgnoreSpanning = true;
  int64_t found = SearchEndRecord(stream);
  span->IgnoreSpanning = ignoring;
  return found;
}

TArArchiveType CheckZip(TStream& stream) {
  int64_t remembered = stream.Position();
  TArArchiveType result = atUnknown;
  std::array<uint8_t, 4> head{};
  stream.Seek(0, soBeginning);
  if (stream.Read(head.data(), 4) == 4 &&
      (LoadLE32(head.data()) == ZipSpannedMarker || LoadLE32(head.data()) == ZipOneVolumeSpanMarker)) {
    result = atSpannedZip;
  } else if (FindEndRecord(stream) >= 0) {
    TArZipDirectoryFileFooter footer;
    try {
      ReadEndRecord(stream, footer);
      result = atZip;
    } catch (const EArZipInvalid&) {
      // A record whose comment is cut short: not a zip we can read.
    }
  }
  stream.Seek(remembered, soBeginning);
  return result;
}

TArArchiveType CheckSelfExtractor(TStream& stream) {
  int64_t remembered = stream.Position();
  std::array<uint8_t, 4> head{};
  stream.Seek(0, soBeginning);
  bool executable = stream.Read(head.data(), 4) == 4 && LoadLE16(head.data()) == ExecutableMagic;
  stream.Seek(remembered, soBeginning);
  return executable && CheckZip(stream) == atZip ? atSelfExtZip : atUnknown;
}

// --- TArZipItem --------------------------------------------------------------------

void TArZipItem::ReadFrom(TStream& stream) {
  ReadCentralHeader(stream, FItemInfo);
  constexpr uint16_t HostMsDos = 0;
  if (FItemInfo.VersionMadeBy >> 8 == HostMsDos && !FItemInfo.FileName.empty())
    FConvertedName = WideToAnsi(AnsiToWide(FItemInfo.FileName, CP_OEMCP), CP_ACP);
  else
    FConvertedName = FItemInfo.FileName;
  TArArchiveItem::SetFileName(FConvertedName);
  DiskFileName = FConvertedName;
  Action = aaNone;
  Tagged = false;
}

AnsiString TArZipItem::FileName() const { return FConvertedName; }

int32_t TArZipItem::ImplodeDictionary() const {
  if (CompressionMethod() != ZipMethodImploded) return 0;
  return (FItemInfo.GeneralPurposeBitFlag & ZipFlagImplode8K) ? 8 : 4;
}

int32_t TArZipItem::ImplodeShannonFanoTrees() const {
  if (CompressionMethod() != ZipMethodImploded) return 0;
  return (FItemInfo.GeneralPurposeBitFlag & ZipFlagImplode3Trees) ? 3 : 2;
}

// --- TArZipArchive -----------------------------------------------------------------

TArZipItem& TArZipArchive::ZipItem(int32_t index) const { return static_cast<TArZipItem&>(*Items(index)); }

void TArZipArchive::ExtractEntry(int32_t index, const AnsiString& newName) {
  if (!ExtractHelper) throw EArZipNoExtraction();
  ExtractHelper(*this, ZipItem(index), newName);
}

void TArZipArchive::ExtractEntryToStream(int32_t index, TStream& stream) {
  if (!ExtractToStreamHelper) throw EArZipNoExtraction();
  ExtractToStreamHelper(*this, ZipItem(index), stream);
}

void TArZipArchive::TestEntry(int32_t index) {
  if (!TestHelper) throw EArZipNoExtraction();
  TestHelper(*this, ZipItem(index));
}

void TArZipArchive::ReadArchive() {
  FItemList.Clear();
  FEndRecord = TArZipDirectoryFileFooter();
  FIsExecutable = false;
  FExecutablePrefixSize = 0;
  FSpanned = false;
  FOwnVolume = -1;
  TStream& stream = Stream();
  TArSpanStream* span = SpanStream();
  if (span) {
    span->IgnoreSpanning = true;
    // Loading again starts from the archive's own file, whichever volume was open.
    if (span->ImageName() != span->FileName()) span->SwitchVolume(span->FileName(), 0);
  }
  if (stream.Size() == 0) return;

  std::array<uint8_t, 4> head{};
  stream.Seek(0, soBeginning);
  int32_t headBytes = stream.Read(head.data(), 4);
  FIsExecutable = headBytes >= 2 && LoadLE16(head.data()) == ExecutableMagic;
  FDriveIsRemovable = span && QueryRemovableDrive();
  if (span) span->SetMediaType(FDriveIsRemovable ? mtRemoveable : mtLocal);
  bool spanMarker =
      headBytes == 4 && (LoadLE32(head.data()) == ZipSpannedMarker || LoadLE32(head.data()) == ZipOneVolumeSpanMarker);
  // The first disk of a set on a removable drive never holds the end record.
  int64_t endPosition = spanMarker && FDriveIsRemovable ? -1 : FindEndRecord(stream);
  if (endPosition < 0) {
    // Only a first volume may lack the end record: the set's last volume holds it.
    if (!spanMarker) Invalid();
    if (!span) throw EArZipBadSpanStream();
    endPosition = FindLastVolume(*span);
    FSpanned = true;
  }
  ReadEndRecord(stream, FEndRecord);
  if (FEndRecord.DiskNumber > 0) FSpanned = true;
  if (FSpanned && !span) throw EArZipBadSpanStream();
  if (span) span->SetSpanNumber(FEndRecord.DiskNumber);
  if (FOwnVolume < 0) FOwnVolume = FEndRecord.DiskNumber;
  // A directory that starts on a later volume than the end record, or past the end
  // record on its volume, is damage.
  if (FEndRecord.StartDiskNumber > FEndRecord.DiskNumber ||
      (FEndRecord.StartDiskNumber == FEndRecord.DiskNumber && FEndRecord.DirectoryOffset > endPosition))
    Invalid();
  ReadDirectory(endPosition);
}

void TArZipArchive::ReadDirectory(int64_t endPosition) {
  TStream& stream = Stream();
  TArSpanStream* span = SpanStream();
  int32_t lastDisk = FEndRecord.DiskNumber;
  if (FSpanned) {
    span->IgnoreSpanning = false;
    if (span->SpanNumber() != FEndRecord.StartDiskNumber) RequestVolume(FEndRecord.StartDiskNumber);
  }
  if (FEndRecord.DirectoryOffset > stream.Size()) Invalid();
  stream.Seek(FEndRecord.DirectoryOffset, soBeginning);
  auto beforeLastDisk = [&] { return FSpanned && span->SpanNumber() < lastDisk; };
  uint32_t smallestOffset = std::numeric_limits<uint32_t>::max();
  int32_t counter = 0;
  while (beforeLastDisk() || stream.Position() < endPosition) {
    // A volume whose part of the directory is read: on to the next one.
    if (beforeLastDisk() && stream.Position() >= stream.Size()) {
      RequestVolume(span->SpanNumber() + 1);
      continue;
    }
    if (counter >= Limits.MaxEntries) {
      EArZipInvalid e;
      e.SetLimitFault(TArLimitFault::EntryCount);
      throw e;
    }
    auto item = std::make_unique<TArZipItem>();
    item->ReadFrom(stream);
    if (static_cast<int32_t>(item->ItemInfo().FileName.size()) > Limits.MaxNameBytes) {
      EArZipInvalid e;
      e.SetLimitFault(TArLimitFault::NameLength);
      throw e;
    }
    smallestOffset = std::min(smallestOffset, item->RelativeOffset());
    FItemList.Add(std::move(item));
    ++counter;
    bool abort = false;
    FireArchiveProgress(Percentage(counter, FEndRecord.TotalEntries), abort);
    if (abort) {
      SetStatus(asInvalid);
      throw EArUserAbort();
    }
  }
  bool abort = false;
  FireArchiveProgress(100, abort);
  if (FIsExecutable && counter > 0) FExecutablePrefixSize = smallestOffset;
}
