// Writing zip archives: the records of an entry and the save that writes the whole
// archive anew.
#include <array>
#include <utility>
#include <vector>

#include "archive/ArUtils.h"
#include "archive/ArZipDefs.h"
#include "archive/ArZipTyp.h"

namespace {

constexpr uint16_t HostMsDos = 0;
constexpr uint16_t HostNtfs = 11;
constexpr size_t ZipDescriptorBytes = 12;

bool HasHighBytes(AnsiStringView text) {
  for (char c : text)
    if (static_cast<uint8_t>(c) > 127) return true;
  return false;
}

uint16_t WithNtfsHost(uint16_t versionMadeBy) { return static_cast<uint16_t>(HostNtfs << 8 | (versionMadeBy & 0xFF)); }

uint16_t Length16(const AnsiString& field) {
  if (field.size() > 0xFFFF) throw EArZipInvalid();
  return static_cast<uint16_t>(field.size());
}

void WriteText(TStream& stream, const AnsiString& text) {
  if (!text.empty()) stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

// A position of the new archive as a 32-bit offset; past 4 GiB the format has no room.
uint32_t Offset32(int64_t position) {
  if (position > 0xFFFFFFFF) throw EArZipStreamFull();
  return static_cast<uint32_t>(position);
}

// The fields local and central headers share, in the same order from "version needed"
// to "uncompressed size"; fields points at "version needed".
void WriteSharedFields(uint8_t* fields, const TArZipDirectoryFileHeader& h) {
  auto at = [fields](size_t localOffset) { return fields + (localOffset - ZipLocVersionNeeded); };
  StoreLE16(at(ZipLocVersionNeeded), h.VersionNeededToExtract);
  StoreLE16(at(ZipLocFlags), h.GeneralPurposeBitFlag);
  StoreLE16(at(ZipLocMethod), h.CompressionMethod);
  StoreLE16(at(ZipLocTime), h.LastModFileTime);
  StoreLE16(at(ZipLocDate), h.LastModFileDate);
  StoreLE32(at(ZipLocCrc), h.Crc32);
  StoreLE32(at(ZipLocCompressed), h.CompressedSize);
  StoreLE32(at(ZipLocUncompressed), h.UncompressedSize);
}

}  // namespace

// --- TArZipItem --------------------------------------------------------------------

void TArZipItem::SetFileName(const AnsiString& value) {
  if (FItemInfo.VersionMadeBy >> 8 == HostMsDos && HasHighBytes(value))
    FItemInfo.VersionMadeBy = WithNtfsHost(FItemInfo.VersionMadeBy);
  FItemInfo.FileName = value;
  FConvertedName = value;
  TArArchiveItem::SetFileName(value);
}

void TArZipItem::SetUncompressedSize(int64_t value) {
  FItemInfo.UncompressedSize = static_cast<uint32_t>(value);
  TArArchiveItem::SetUncompressedSize(value);
}

void TArZipItem::WriteLocalHeader(TStream& stream) const {
  const TArZipDirectoryFileHeader& h = FItemInfo;
  std::array<uint8_t, ZipLocalBytes> b{};
  StoreLE32(&b[ZipLocSignature], ZipLocalSignature);
  WriteSharedFields(&b[ZipLocVersionNeeded], h);
  StoreLE16(&b[ZipLocNameBytes], Length16(h.FileName));
  StoreLE16(&b[ZipLocExtraBytes], Length16(h.ExtraField));
  stream.WriteBuffer(b.data(), static_cast<int32_t>(b.size()));
  WriteText(stream, h.FileName);
  WriteText(stream, h.ExtraField);
}

void TArZipItem::WriteCentralHeader(TStream& stream) const {
  const TArZipDirectoryFileHeader& h = FItemInfo;
  std::array<uint8_t, ZipCentralBytes> b{};
  StoreLE32(&b[ZipCenSignature], ZipCentralSignature);
  StoreLE16(&b[ZipCenVersionMadeBy], h.VersionMadeBy);
  WriteSharedFields(&b[ZipCenVersionNeeded], h);
  StoreLE16(&b[ZipCenNameBytes], Length16(h.FileName));
  StoreLE16(&b[ZipCenExtraBytes], Length16(h.ExtraField));
  StoreLE16(&b[ZipCenCommentBytes], Length16(h.FileComment));
  StoreLE16(&b[ZipCenDiskStart], h.DiskNumberStart);
  StoreLE16(&b[ZipCenInternalAttrs], h.InternalFileAttributes);
  StoreLE32(&b[ZipCenExternalAttrs], h.ExternalFileAttributes);
  StoreLE32(&b[ZipCenLocalOffset], h.RelativeOffset);
  stream.WriteBuffer(b.data(), static_cast<int32_t>(b.size()));
  WriteText(stream, h.FileName);
  WriteText(stream, h.ExtraField);
  WriteText(stream, h.FileComment);
}

void TArZipItem::WriteDataDescriptor(TStream& stream) const {
  std::array<uint8_t, ZipDescriptorBytes> b{};
  StoreLE32(&b[0], FItemInfo.Crc32);
  StoreLE32(&b[4], FItemInfo.CompressedSize);
  StoreLE32(&b[8], FItemInfo.UncompressedSize);
  stream.WriteBuffer(b.data(), static_cast<int32_t>(b.size()));
}

// --- TArZipArchive -----------------------------------------------------------------

std::unique_ptr<TArArchiveItem> TArZipArchive::NewItem(const AnsiString& filePath) {
  auto item = std::make_unique<TArZipItem>();
  item->SetCompressionMethod(ZipMethodDeflated);
  AnsiString fullPath = ExpandPath(filePath);
  if (HasHighBytes(fullPath)) item->SetVersionMadeBy(WithNtfsHost(item->VersionMadeBy()));
  item->DiskFileName = fullPath;
  item->SetFileName(NormalizeName(filePath));
  return item;
}

void TArZipArchive::CopyOldData(TArZipItem& item, TStream& work) {
  TStream& old = Stream();
  old.SetPosition(item.RelativeOffset());
  TArZipDirectoryFileHeader local;
  ReadLocalHeader(old, local);
  int64_t dataStart = old.Position();
  if (item.CompressedSize() > old.Size() - dataStart) throw EArZipInvalid();
  PlaceItem(item, work.Position());
  item.WriteLocalHeader(work);
  old.SetPosition(dataStart);
  if (item.CompressedSize() > 0) work.CopyFrom(old, item.CompressedSize());
  if (item.GeneralPurposeBitFlag() & ZipFlagDataDescriptor) item.WriteDataDescriptor(work);
}

bool TArZipArchive::WriteEntry(TArZipItem& item, TStream& work) {
  if (item.Action == aaNone || item.Action == aaMove) {
    CopyOldData(item, work);
    return true;
  }
  TArZipDirectoryFileHeader before = item.ItemInfo();
  std::unique_ptr<TStream> data = NewWorkStream();
  try {
    if (item.Action == aaStreamAdd) {
      if (!InsertFromStreamHelper) throw EArZipNoInsertion();
      if (!InputStream) throw EArBadStream();
      InsertFromStreamHelper(*this, item, *InputStream, *data);
    } else {
      if (!InsertHelper) throw EArZipNoInsertion();
      InsertHelper(*this, item, *data);
    }
  } catch (const EArUserAbort&) {
    throw;
  } catch (const std::exception& e) {
    item.SetItemInfo(before);
    if (DropFailedItem(item, e)) return false;
    CopyOldData(item, work);
    return true;
  }
  PlaceItem(item, work.Position());
  item.WriteLocalHeader(work);
  work.CopyFrom(*data, 0);
  if (item.GeneralPurposeBitFlag() & ZipFlagDataDescriptor) item.WriteDataDescriptor(work);
  return true;
}

TArZipDirectoryFileFooter TArZipArchive::WriteDirectory(TStream& work, TMemoryStream& directory,
                                                        uint32_t entries) const {
  constexpr int32_t ThresholdCode = 31;
  if (entries > 0xFFFF) throw EArZipStreamFull();
  TArZipDirectoryFileFooter footer = FEndRecord;
  int64_t tailBytes = directory.Size() + int64_t{ZipEndBytes} + static_cast<int64_t>(footer.ZipfileComment.size());
  if (FSaveVolumeBytes > 0) {
    if (tailBytes > FSaveVolumeBytes) throw EArException(ThresholdCode);
    int64_t room = FSaveVolumeBytes - work.Position() % FSaveVolumeBytes;
    if (room < tailBytes) WriteZeros(work, room);
  }
  int64_t volume = FSaveVolumeBytes > 0 ? work.Position() / FSaveVolumeBytes : 0;
  footer.DiskNumber = footer.StartDiskNumber = static_cast<uint16_t>(volume);
  footer.EntriesOnDisk = footer.TotalEntries = static_cast<uint16_t>(entries);
  footer.DirectorySize = Offset32(directory.Size());
  footer.DirectoryOffset = Offset32(work.Position() - volume * FSaveVolumeBytes);
  if (directory.Size() > 0) work.CopyFrom(directory, 0);
  std::array<uint8_t, ZipEndBytes> b{};
  StoreLE32(&b[ZipEndSignatureAt], ZipEndSignature);
  StoreLE16(&b[ZipEndDisk], footer.DiskNumber);
  StoreLE16(&b[ZipEndDirectoryDisk], footer.StartDiskNumber);
  StoreLE16(&b[ZipEndEntriesHere], footer.EntriesOnDisk);
  StoreLE16(&b[ZipEndEntriesTotal], footer.TotalEntries);
  StoreLE32(&b[ZipEndDirectoryBytes], footer.DirectorySize);
  StoreLE32(&b[ZipEndDirectoryOffset], footer.DirectoryOffset);
  StoreLE16(&b[ZipEndCommentBytes], Length16(footer.ZipfileComment));
  work.WriteBuffer(b.data(), static_cast<int32_t>(b.size()));
  WriteText(work, footer.ZipfileComment);
  return footer;
}

void TArZipArchive::WriteArchive() {
  if (FSpanned) {
    DiscardChanges();
    throw EArZipSpanOverwrite();
  }
  constexpr int32_t SelfExtractingSetCode = 16;
  // Only a file of the archive's own becomes volumes; a self-extractor cannot be a set.
  FSaveVolumeBytes = SpanningThreshold > 0 && OwnsStream() ? SpanningThreshold : 0;
  if (FSaveVolumeBytes > 0 && FIsExecutable) throw EArException(SelfExtractingSetCode);
  // What every entry described before, for a save that fails as a whole.
  std::vector<std::pair<TArZipDirectoryFileHeader, TArArchiveAction>> before;
  for (int32_t i = 0; i < Count(); ++i) before.emplace_back(ZipItem(i).ItemInfo(), ZipItem(i).Action);
  try {
    std::unique_ptr<TStream> work = NewWorkStream();
    if (FIsExecutable && FExecutablePrefixSize > 0) {
      Stream().SetPosition(0);
      work->CopyFrom(Stream(), FExecutablePrefixSize);
    }
    if (FSaveVolumeBytes > 0) {
      std::array<uint8_t, 4> marker{};
      StoreLE32(marker.data(), ZipOneVolumeSpanMarker);
      work->WriteBuffer(marker.data(), 4);
    }
    TMemoryStream directory;
    uint32_t entries = 0;
    for (int32_t i = 0; i < Count(); ++i) {
      TArZipItem& item = ZipItem(i);
      SetCurrentItem(&item);
      if (item.Action != aaDelete && item.Action != aaFailed && WriteEntry(item, *work)) {
        item.WriteCentralHeader(directory);
        ++entries;
      }
      SaveStepProgress(i, Count());
    }
    TArZipDirectoryFileFooter footer = WriteDirectory(*work, directory, entries);
    if (footer.DiskNumber > 0)
      WriteVolumes(*work, footer.DiskNumber);
    else
      ReplaceContent(*work);
    FEndRecord = footer;
  } catch (...) {
    for (int32_t i = 0; i < Count(); ++i) {
      ZipItem(i).SetItemInfo(before[static_cast<size_t>(i)].first);
      ZipItem(i).Action = before[static_cast<size_t>(i)].second;
    }
    SetCurrentItem(nullptr);
    throw;
  }
  FinishSave();
}
