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

void WriteZeros(TStream& stream, int64_t count) {
  static const std::array<uint8_t, BlockBytes> zeros{};
  while (count > 0) {
    int32_t part = static_cast<int32_t>(std::min<int64_t>(count, BlockBytes));
    stream.WriteBuffer(zeros.data(), part);
    count -= part;
  }
}

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

}  // namespace

void TArTarItem::SetMTime(int64_t seconds) { SetTarOctal(FHeader, MTime, static_cast<uint64_t>(std::max<int64_t>(seconds, 0))); }

std::unique_ptr<TArArchiveItem> TArTarArchive::NewItem(const AnsiString& fileSpec) {
  AnsiString name = NormalizeName(fileSpec);
  if (name.empty() || name.size() >= Name.Width) throw EArException("Invalid Item", 0);
  auto item = std::make_unique<TArTarItem>();
  item->DiskFileName = ExpandPath(fileSpec);
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
  std::vector<int64_t> offsets(static_cast<size_t>(Count()), -1);
  for (int32_t i = 0; i < Count(); ++i) {
    auto& item = static_cast<TArTarItem&>(*Items(i));
    SetCurrentItem(&item);
    int64_t offset = work.Position();
    if (item.Action != aaDelete && item.Action != aaFailed && WriteTarEntry(item, oldTar, work))
      offsets[static_cast<size_t>(i)] = offset;
    SaveStepProgress(i, Count());
  }
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
