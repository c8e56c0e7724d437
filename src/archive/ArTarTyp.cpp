#include "archive/ArTarTyp.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "archive/ArUtils.h"
#include "platform/base/FileReplace.h"
#include "platform/base/FileSystemNames.h"

using namespace ArTar;

namespace {

constexpr char NewMagic[] = "ustar  ";  // with its zero byte: 8 bytes

AnsiString TextField(const TArTarHeader& header, Field field) {
  const char* start = reinterpret_cast<const char*>(header.data() + field.Offset);
  return AnsiString(start, strnlen(start, field.Width));
}

int64_t RoundUpToBlock(int64_t bytes) { return (bytes + BlockBytes - 1) / BlockBytes * BlockBytes; }

[[noreturn]] void InvalidItem() { throw EArException("Invalid Item", 0); }

}  // namespace

int64_t TarOctal(const TArTarHeader& header, Field field) {
  const uint8_t* p = header.data() + field.Offset;
  const uint8_t* end = p + field.Width;
  while (p < end && *p == ' ') ++p;
  uint64_t value = 0;
  for (; p < end && *p >= '0' && *p <= '7'; ++p) {
    if (value >> 60) return -1;
    value = value * 8 + (*p - '0');
  }
  return value > static_cast<uint64_t>(INT64_MAX) ? -1 : static_cast<int64_t>(value);
}

bool SetTarOctal(TArTarHeader& header, Field field, uint64_t value) {
  char digits[24];
  size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + (value & 7));
    value >>= 3;
  } while (value != 0);
  if (count > field.Width) return false;
  uint8_t* p = header.data() + field.Offset;
  std::memset(p, ' ', field.Width);
  // Digits end before a trailing space unless they fill the field.
  size_t end = count == field.Width ? field.Width : field.Width - 1;
  for (size_t i = 0; i < count; ++i) p[end - 1 - i] = static_cast<uint8_t>(digits[i]);
  return true;
}

uint32_t TarChecksum(const TArTarHeader& header) {
  uint32_t sum = 0;
  for (size_t i = 0; i < header.size(); ++i)
    sum += (i >= Checksum.Offset && i < Checksum.Offset + Checksum.Width) ? uint32_t{' '} : header[i];
  return sum;
}

TArArchiveType CheckTarContent(TStream& stream) {
  int64_t position = stream.Position();
  TArTarHeader header{};
  int32_t got = stream.Read(header.data(), KeptBytes);
  stream.SetPosition(position);
  if (got != static_cast<int32_t>(KeptBytes)) return atUnknown;
  AnsiString magic = TextField(header, Magic);
  if (magic == "ustar  " || magic == "GNUtar ") return atTar;
  return TarOctal(header, Checksum) == static_cast<int64_t>(TarChecksum(header)) ? atTar : atUnknown;
}

TArTarItem::TArTarItem() {
  SetTarOctal(FHeader, Mode, 0744);
  SetTarOctal(FHeader, Uid, 0);
  SetTarOctal(FHeader, Gid, 0);
  FHeader[TypeFlag.Offset] = '0';
  std::memcpy(FHeader.data() + Magic.Offset, NewMagic, Magic.Width);
  SetTarOctal(FHeader, DevMajor, 0);
  SetTarOctal(FHeader, DevMinor, 0);
}

TArTarItem::TArTarItem(const TArTarHeader& header, int64_t headerOffset)
    : FHeader(header), FHeaderOffset(headerOffset) {
  DiskFileName = FileName();
  Action = aaNone;
}

AnsiString TArTarItem::FileName() const { return TextField(FHeader, Name); }

void TArTarItem::SetFileName(const AnsiString& value) {
  // A name is cut to the field (99 bytes and a zero) rather than written past it.
  std::memset(FHeader.data() + Name.Offset, 0, Name.Width);
  std::memcpy(FHeader.data() + Name.Offset, value.data(), std::min<size_t>(value.size(), Name.Width - 1));
}

void TArTarItem::SetCompressedSize(int64_t value) {
  SetTarOctal(FHeader, Size, static_cast<uint64_t>(std::max<int64_t>(value, 0)));
}

uint32_t TArTarItem::ExternalFileAttributes() const {
  return static_cast<uint32_t>(std::max<int64_t>(TarOctal(FHeader, Mode), 0));
}

void TArTarItem::SetExternalFileAttributes(uint32_t value) { SetTarOctal(FHeader, Mode, value & 07777777); }

uint16_t TArTarItem::LastModFileDate() const {
  return static_cast<uint16_t>(UnixTimeToLocalDosDateTime(TarOctal(FHeader, MTime)) >> 16);
}

uint16_t TArTarItem::LastModFileTime() const {
  return static_cast<uint16_t>(UnixTimeToLocalDosDateTime(TarOctal(FHeader, MTime)));
}

bool TArTarItem::IsRegularFile() const { return FHeader[TypeFlag.Offset] == 0 || FHeader[TypeFlag.Offset] == '0'; }

bool TArTarStreamHelper::ReadHeader() {
  std::array<uint8_t, BlockBytes> block{};
  int32_t got = FStream.Read(block.data(), BlockBytes);
  if (got > 0) FStream.Seek(-got, soCurrent);
  if (got < static_cast<int32_t>(KeptBytes)) return false;
  std::copy_n(block.begin(), KeptBytes, FHeader.begin());
  // POSIX "ustar" and a zero, then the prefix of a name too long for the name field.
  constexpr uint32_t PrefixOffset = 345;
  if (std::memcmp(FHeader.data() + Magic.Offset, "ustar", 6) == 0 && block[PrefixOffset] != 0) FLongName = true;
  return true;
}

void TArTarStreamHelper::SkipEntry() {
  int64_t size = TarOctal(FHeader, Size);
  // A size that does not fit ends the walk: the next read lies past the end.
  int64_t skip = size < 0 || size > INT64_MAX / 2 ? FStream.Size() : RoundUpToBlock(size) + BlockBytes;
  FStream.Seek(std::min(skip, FStream.Size() - FStream.Position() + 1), soCurrent);
}

bool TArTarStreamHelper::SkipToRegular() {
  FLongName = false;
  while (ReadHeader()) {
    if (FHeader[Name.Offset] == 0) return false;
    if (FHeader[TypeFlag.Offset] == 0 || FHeader[TypeFlag.Offset] == '0') return true;
    // GNU tar's long name ('L') belongs to the entry after it.
    FLongName = FHeader[TypeFlag.Offset] == 'L';
    SkipEntry();
  }
  return false;
}

bool TArTarStreamHelper::FindFirstItem() {
  FStream.SetPosition(0);
  // A zero block first is an empty archive, as it is at the end.
  return SkipToRegular();
}

bool TArTarStreamHelper::FindNextItem() {
  SkipEntry();
  return SkipToRegular();
}

int32_t TArTarStreamHelper::GetItemCount() {
  int32_t count = 0;
  for (bool found = FindFirstItem(); found; found = FindNextItem()) ++count;
  return count;
}

bool TArTarStreamHelper::GotoItem(int32_t index) {
  if (index < 0 || !FindFirstItem()) return false;
  for (int32_t i = 0; i < index; ++i)
    if (!FindNextItem()) return false;
  return true;
}

void TArTarArchive::ReadArchive() { ReadTarDirectory(Stream()); }

void TArTarArchive::ExtractEntryToStream(int32_t index, TStream& stream) { CopyTarEntry(Stream(), index, stream); }

void TArTarArchive::ReadTarDirectory(TStream& stream) {
  TArTarStreamHelper helper(stream);
  int32_t total = helper.GetItemCount();
  if (total > Limits.MaxEntries) {
    EArException e("Invalid Item", 0);
    e.SetLimitFault(TArLimitFault::EntryCount);
    throw e;
  }
  int32_t count = 0;
  int64_t size = stream.Size();
  for (bool found = helper.FindFirstItem(); found && stream.Position() < size; found = helper.FindNextItem()) {
    std::unique_ptr<TArTarItem> item;
    try {
      item = std::make_unique<TArTarItem>(helper.Header(), stream.Position());
    } catch (...) {
      InvalidItem();
    }
    if (TarOctal(item->Header(), Size) < 0) InvalidItem();
    // An entry whose name the header cuts short is not listed under the wrong name.
    if (item->IsRegularFile() && !helper.HasLongName()) {
      FItemList.Add(std::move(item));
    } else {
      bool confirm = true;
      ConfirmProcessItem(item.get(), ptFoundUnhandled, confirm);
    }
    ++count;
    bool abort = false;
    FireArchiveProgress(total > 0 ? count * 100 / total : 100, abort);
    if (abort) {
      SetStatus(asInvalid);
      throw EArUserAbort();
    }
  }
  bool abort = false;
  FireArchiveProgress(100, abort);
}

const TArTarItem& TArTarArchive::Item(int32_t index) const {
  if (index < 0 || index >= Count()) throw Exception("Index out of range");
  return static_cast<const TArTarItem&>(*Items(index));
}

void TArTarArchive::CopyTarEntry(TStream& tar, int32_t index, TStream& stream) {
  const TArTarItem& item = Item(index);
  int64_t size = TarOctal(item.Header(), Size);
  if (size > Limits.MaxExpandedBytes) {
    EArException e("Invalid Item", 0);
    e.SetLimitFault(TArLimitFault::ExpandedSize);
    throw e;
  }
  tar.SetPosition(item.HeaderOffset() + BlockBytes);
  // Data cut short by the end of the file is a damaged entry, not a shorter one.
  if (tar.Size() - tar.Position() < size) InvalidItem();
  if (size > 0) stream.CopyFrom(tar, size);
}

void TArTarArchive::TestTarEntry(TStream& tar, int32_t index) {
  tar.SetPosition(Item(index).HeaderOffset());
  if (CheckTarContent(tar) != atTar) throw EArException("Invalid Tar", 0);
}

void TArTarArchive::ExtractEntry(int32_t index, const AnsiString& newName) {
  TArArchiveItem* item = Items(index);
  AnsiString path = newName.empty() ? item->FileName() : newName;
  if (!PrepareExtractPath(BaseDirectory(), path)) return;
  std::string fileSystemName;
  if (!AnsiToFileSystemName(path, fileSystemName)) throw EArFileNotFound();
  try {
    TFileReplaceStream target(fileSystemName);
    ExtractEntryToStream(index, target);
    if (!target.Commit()) RaiseLastOSError();
  } catch (const EArUserAbort&) {
    SetStatus(asInvalid);
    throw;
  }
  SetFileDate(fileSystemName, item->LastModFileDate(), item->LastModFileTime());
  // Only the read-only bit of the attributes means something for a regular file here.
  if (AttributesFromUnixMode(item->ExternalFileAttributes()) & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}
