// Writing tar archives: new entries from files or a stream, and the save that writes the
// whole tar anew.
#include <algorithm>
#include <array>
#include <ctime>
#include <memory>

#include "archive/ArTarTyp.h"
#include "archive/ArUtils.h"
#include "platform/base/FileTimes.h"
#include "platform/base/LastError.h"

using namespace ArTar;

namespace {

// FILETIME counts from 1601; Unix time from 1970.
constexpr uint64_t FileTimeUnixEpoch = 116444736000000000ull;
constexpr uint64_t FileTimeTicksPerSecond = 10000000ull;
// A tar ends with two zero blocks.
constexpr int32_t EndBlocks = 2;

}  // namespace

int64_t FileUnixTime(const TFileStream& file) {
  FILETIME written;
  if (!GetFileTime(file.Handle(), nullptr, nullptr, &written)) RaiseLastOSError();
  uint64_t ticks = FileTimeValue(written);
  return ticks < FileTimeUnixEpoch ? 0 : static_cast<int64_t>((ticks - FileTimeUnixEpoch) / FileTimeTicksPerSecond);
}

namespace {

// The header with a new checksum, then the rest of its block as zeros.
void WriteHeaderBlock(TStream& stream, TArTarHeader header) {
  SetTarOctal(header, Checksum, TarChecksum(header));
  stream.WriteBuffer(header.data(), KeptBytes);
  WriteZeros(stream, BlockBytes - KeptBytes);
}

void PadToBlock(TStream& stream, int64_t dataBytes) {
  int64_t rest = dataBytes % BlockBytes;
  if (rest) WriteZeros(stream, BlockBytes - rest);
}

// An entry of the old tar that is no item (a folder, a link, a file whose name the header
// cuts short, or a header that describes the entry after it): its header and data blocks.
struct TRawEntry {
  int64_t Offset;
  int64_t Bytes;
  uint8_t Type;
};

// GNU long names and links, and POSIX extended headers, belong to the entry after them.
bool DescribesNextEntry(uint8_t type) { return type == 'L' || type == 'K' || type == 'x'; }

bool IsLoadedItem(const TArArchiveItem& item) { return item.Action != aaAdd && item.Action != aaStreamAdd; }

// The whole entries of the tar, up to its end block, whose headers are not at a listed
// offset (sorted).
std::vector<TRawEntry> UnlistedEntries(TStream& tar, const std::vector<int64_t>& listed) {
  std::vector<TRawEntry> raw;
  int64_t size = tar.Size();
  TArTarHeader header;
  for (int64_t at = 0; at + BlockBytes <= size;) {
    tar.SetPosition(at);
    tar.ReadBuffer(header.data(), KeptBytes);
    int64_t dataBytes = TarOctal(header, Size);
    if (header[Name.Offset] == 0 || dataBytes < 0 || dataBytes > size) break;
    int64_t bytes = BlockBytes + (dataBytes + BlockBytes - 1) / BlockBytes * BlockBytes;
    if (bytes > size - at) break;
    if (!std::binary_search(listed.begin(), listed.end(), at)) raw.push_back({at, bytes, header[TypeFlag.Offset]});
    at += bytes;
  }
  return raw;
}

void CopyRawEntries(const std::vector<TRawEntry>& raw, size_t from, size_t to, TStream& oldTar, TStream& work) {
  for (size_t i = from; i < to; ++i) {
    oldTar.SetPosition(raw[i].Offset);
    work.CopyFrom(oldTar, raw[i].Bytes);
  }
}

// Copies the unlisted entries from next up to the header at offset and returns where it
// stopped. Headers right before offset that describe its entry go along only when the
// entry is written unchanged.
size_t CopyRawEntriesBefore(const std::vector<TRawEntry>& raw, size_t next, int64_t offset, bool unchanged,
                            TStream& oldTar, TStream& work) {
  size_t end = next;
  while (end < raw.size() && raw[end].Offset < offset) ++end;
  size_t describing = end;
  for (int64_t reach = offset; describing > next && DescribesNextEntry(raw[describing - 1].Type) &&
                               raw[describing - 1].Offset + raw[describing - 1].Bytes == reach;)
    reach = raw[--describing].Offset;
  CopyRawEntries(raw, next, describing, oldTar, work);
  if (unchanged) CopyRawEntries(raw, describing, end, oldTar, work);
  return end;
}

}  // namespace

void TArTarItem::SetMTime(int64_t seconds) {
  SetTarOctal(FHeader, MTime, static_cast<uint64_t>(std::max<int64_t>(seconds, 0)));
}

std::unique_ptr<TArArchiveItem> TArTarArchive::NewItem(const AnsiString& filePath) {
  AnsiString name = NormalizeName(filePath);
  if (name.empty() || name.size() >= Name.Width) throw EArException("Invalid Item", 0);
  auto item = std::make_unique<TArTarItem>();
  item->DiskFileName = ExpandPath(filePath);
  item->SetFileName(name);
  return item;
}

void TArTarArchive::CopyOldTarEntry(const TArTarItem& item, TStream& oldTar, TStream& work) {
  int64_t size = item.CompressedSize();
  int64_t dataStart = item.HeaderOffset() + BlockBytes;
  if (size < 0 || size > oldTar.Size() - dataStart) throw EArException("Invalid Item", 0);
  WriteHeaderBlock(work, item.Header());
  oldTar.SetPosition(dataStart);
  if (size > 0) work.CopyFrom(oldTar, size);
  PadToBlock(work, size);
}

bool TArTarArchive::WriteTarEntry(TArTarItem& item, TStream& oldTar, TStream& work) {
  if (item.Action == aaNone || item.Action == aaMove) {
    CopyOldTarEntry(item, oldTar, work);
    return true;
  }
  TArTarHeader before = item.Header();
  int64_t start = work.Position();
  try {
    std::unique_ptr<TFileStream> file;
    TStream* source = InputStream;
    if (item.Action != aaStreamAdd) {
      file = std::make_unique<TFileStream>(item.DiskFileName, static_cast<uint16_t>(fmOpenRead | fmShareDenyWrite));
      source = file.get();
      item.SetMTime(FileUnixTime(*file));
      item.SetExternalFileAttributes(UnixModeFromAttributes(GetFileAttributesA(item.DiskFileName.c_str())));
    } else if (!source) {
      throw EArBadStream();
    } else {
      item.SetMTime(std::time(nullptr));
    }
    int64_t size = source->Size();
    item.SetCompressedSize(size);
    if (item.CompressedSize() != size) throw EArException("Invalid Item", 0);
    WriteHeaderBlock(work, item.Header());
    source->SetPosition(0);
    if (size > 0) work.CopyFrom(*source, size);
    PadToBlock(work, size);
    return true;
  } catch (const EArUserAbort&) {
    throw;
  } catch (const std::exception& e) {
    // Nothing of the failed entry stays in the new tar.
    work.SetSize(start);
    work.SetPosition(start);
    item.SetHeader(before);
    if (DropFailedItem(item, e)) return false;
    CopyOldTarEntry(item, oldTar, work);
    return true;
  }
}

std::vector<int64_t> TArTarArchive::WriteTarEntries(TStream& oldTar, TStream& work) {
  std::vector<int64_t> listed;
  for (int32_t i = 0; i < Count(); ++i)
    if (IsLoadedItem(*Items(i))) listed.push_back(static_cast<TArTarItem&>(*Items(i)).HeaderOffset());
  std::sort(listed.begin(), listed.end());
  // Entries that are no items are kept where they stood.
  std::vector<TRawEntry> raw = UnlistedEntries(oldTar, listed);
  size_t nextRaw = 0;
  std::vector<int64_t> offsets(static_cast<size_t>(Count()), -1);
  for (int32_t i = 0; i < Count(); ++i) {
    auto& item = static_cast<TArTarItem&>(*Items(i));
    SetCurrentItem(&item);
    int64_t oldOffset = IsLoadedItem(item) ? item.HeaderOffset() : oldTar.Size();
    nextRaw = CopyRawEntriesBefore(raw, nextRaw, oldOffset, item.Action == aaNone, oldTar, work);
    int64_t offset = work.Position();
    if (item.Action != aaDelete && item.Action != aaFailed && WriteTarEntry(item, oldTar, work))
      offsets[static_cast<size_t>(i)] = offset;
    SaveStepProgress(i, Count());
  }
  CopyRawEntries(raw, nextRaw, raw.size(), oldTar, work);
  WriteZeros(work, EndBlocks * int64_t{BlockBytes});
  return offsets;
}

void TArTarArchive::CommitTarEntries(const std::vector<int64_t>& offsets) {
  for (int32_t i = 0; i < Count(); ++i)
    if (offsets[static_cast<size_t>(i)] >= 0)
      static_cast<TArTarItem&>(*Items(i)).SetHeaderOffset(offsets[static_cast<size_t>(i)]);
  FinishSave();
}

std::vector<std::pair<TArTarHeader, TArArchiveAction>> TArTarArchive::TarSnapshot() const {
  std::vector<std::pair<TArTarHeader, TArArchiveAction>> snapshot;
  for (int32_t i = 0; i < Count(); ++i)
    snapshot.emplace_back(static_cast<const TArTarItem&>(*Items(i)).Header(), Items(i)->Action);
  return snapshot;
}

void TArTarArchive::RestoreTarSnapshot(const std::vector<std::pair<TArTarHeader, TArArchiveAction>>& snapshot) {
  for (int32_t i = 0; i < Count(); ++i) {
    static_cast<TArTarItem&>(*Items(i)).SetHeader(snapshot[static_cast<size_t>(i)].first);
    Items(i)->Action = snapshot[static_cast<size_t>(i)].second;
  }
  SetCurrentItem(nullptr);
}

void TArTarArchive::WriteArchive() {
  auto snapshot = TarSnapshot();
  std::vector<int64_t> offsets;
  try {
    std::unique_ptr<TStream> work = NewWorkStream();
    offsets = WriteTarEntries(Stream(), *work);
    ReplaceContent(*work);
  } catch (...) {
    RestoreTarSnapshot(snapshot);
    throw;
  }
  CommitTarEntries(offsets);
}
