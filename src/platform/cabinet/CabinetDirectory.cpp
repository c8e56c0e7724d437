#include "platform/cabinet/CabinetDirectory.h"

#include <array>

#include "platform/base/LittleEndian.h"
#include "platform/cabinet/CabinetLayout.h"

using namespace CabLayout;

namespace {

// Sequential reads from a client handle through a small buffer; a short read is the end.
class TCabSource {
public:
  TCabSource(const TFdiFileCallbacks& files, TCabHandle handle) : FFiles(files), FHandle(handle) {}

  bool SeekTo(int64_t position) {
    FFill = FNext = 0;
    return FFiles.Seek(FHandle, position, 0) == position;
  }

  bool Read(uint8_t* buffer, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
      if (FNext == FFill && !Refill()) return false;
      buffer[i] = FBuffer[FNext++];
    }
    return true;
  }

  bool Skip(uint32_t count) {
    uint8_t ignored;
    for (uint32_t i = 0; i < count; ++i)
      if (!Read(&ignored, 1)) return false;
    return true;
  }

  // A zero-terminated name of at most MaxNameBytes bytes.
  bool ReadName(AnsiString& name) {
    name.clear();
    for (;;) {
      uint8_t c;
      if (!Read(&c, 1)) return false;
      if (c == 0) return true;
      if (name.size() == MaxNameBytes) return false;
      name.push_back(static_cast<char>(c));
    }
  }

private:
  bool Refill() {
    int32_t got = FFiles.Read(FHandle, FBuffer.data(), static_cast<int32_t>(FBuffer.size()));
    if (got <= 0) return false;
    FFill = static_cast<uint32_t>(got);
    FNext = 0;
    return true;
  }

  const TFdiFileCallbacks& FFiles;
  TCabHandle FHandle;
  std::array<uint8_t, 4096> FBuffer{};
  uint32_t FFill = 0;
  uint32_t FNext = 0;
};

uint16_t Get16(const uint8_t* record, Field field) { return LoadLE16(record + field.Offset); }
uint32_t Get32(const uint8_t* record, Field field) { return LoadLE32(record + field.Offset); }

struct THeaderExtras {
  uint32_t FilesOffset = 0;
  uint32_t FolderReserveBytes = 0;
};

TCabErrorCode ReadHeader(TCabSource& source, TCabDirectory& directory, THeaderExtras& extras) {
  std::array<uint8_t, HeaderBytes> header{};
  if (!source.SeekTo(0) || !source.Read(header.data(), HeaderBytes)) return CabErrorNotACabinet;
  if (header[0] != 'M' || header[1] != 'S' || header[2] != 'C' || header[3] != 'F') return CabErrorNotACabinet;
  TFdiCabinetInfo& info = directory.Info;
  info.CabinetSize = Get32(header.data(), CabinetBytes);
  info.FolderCount = Get16(header.data(), FolderCount);
  info.FileCount = Get16(header.data(), FileCount);
  uint16_t flags = Get16(header.data(), Flags);
  info.SetId = Get16(header.data(), SetId);
  info.CabinetNumber = Get16(header.data(), CabinetIndex);
  info.HasReserve = flags & FlagReserve;
  info.HasPrevious = flags & FlagPrevious;
  info.HasNext = flags & FlagNext;
  extras.FilesOffset = Get32(header.data(), FilesOffset);
  if (extras.FilesOffset < HeaderBytes || info.CabinetSize < HeaderBytes) return CabErrorCorruptCabinet;
  if (info.HasReserve) {
    std::array<uint8_t, ReserveSizesBytes> sizes{};
    if (!source.Read(sizes.data(), ReserveSizesBytes)) return CabErrorCorruptCabinet;
    uint32_t headerReserve = LoadLE16(sizes.data());
    if (headerReserve > MaxHeaderReserveBytes || !source.Skip(headerReserve)) return CabErrorCorruptCabinet;
    extras.FolderReserveBytes = sizes[2];
  }
  if (info.HasPrevious && (!source.ReadName(directory.PreviousCabinet) || !source.ReadName(directory.PreviousDisk)))
    return CabErrorCorruptCabinet;
  if (info.HasNext && (!source.ReadName(directory.NextCabinet) || !source.ReadName(directory.NextDisk)))
    return CabErrorCorruptCabinet;
  return CabErrorNone;
}

}  // namespace

TCabErrorCode ReadCabinetHeader(const TFdiFileCallbacks& files, TCabHandle handle, TCabDirectory& directory) {
  TCabSource source(files, handle);
  THeaderExtras extras;
  return ReadHeader(source, directory, extras);
}

TCabErrorCode ReadCabinetDirectory(const TFdiFileCallbacks& files, TCabHandle handle, TCabDirectory& directory) {
  TCabSource source(files, handle);
  THeaderExtras extras;
  if (TCabErrorCode code = ReadHeader(source, directory, extras); code != CabErrorNone) return code;
  // The folder records follow the header's variable part directly.
  directory.FolderCompression.reserve(directory.Info.FolderCount);
  for (uint32_t i = 0; i < directory.Info.FolderCount; ++i) {
    std::array<uint8_t, FolderBytes> folder{};
    if (!source.Read(folder.data(), FolderBytes) || !source.Skip(extras.FolderReserveBytes))
      return CabErrorCorruptCabinet;
    directory.FolderCompression.push_back(Get16(folder.data(), FolderCompression));
  }
  if (!source.SeekTo(extras.FilesOffset)) return CabErrorCorruptCabinet;
  directory.Files.reserve(directory.Info.FileCount);
  for (uint32_t i = 0; i < directory.Info.FileCount; ++i) {
    std::array<uint8_t, FileBytes> file{};
    TCabFileRecord record;
    if (!source.Read(file.data(), FileBytes) || !source.ReadName(record.File.FileName) || record.File.FileName.empty())
      return CabErrorCorruptCabinet;
    record.File.Size = Get32(file.data(), FileSize);
    record.FolderOffset = Get32(file.data(), FileFolderOffset);
    record.Folder = Get16(file.data(), FileFolder);
    record.File.Date = Get16(file.data(), FileDate);
    record.File.Time = Get16(file.data(), FileTime);
    record.File.Attributes = Get16(file.data(), FileAttributes);
    if (record.Folder >= directory.Info.FolderCount && record.Folder < ContinuedFromPrevious)
      return CabErrorCorruptCabinet;
    directory.Files.push_back(std::move(record));
  }
  return CabErrorNone;
}
