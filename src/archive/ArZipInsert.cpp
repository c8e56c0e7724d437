#include "archive/ArZipInsert.h"

#include <ctime>
#include <vector>

#include "archive/ArDfCryS.h"
#include "archive/ArDfEnc.h"
#include "archive/ArUtils.h"
#include "archive/ArZipDefs.h"

namespace {

constexpr int32_t UnsupportedInsertMethodCode = 8;
constexpr uint16_t VersionDeflate = 20;  // 2.0: deflate and traditional encryption
constexpr uint16_t VersionStored = 10;
constexpr uint16_t HostUnix = 3;
constexpr uint32_t RegularFileType = 0100000;

// Copies source to destination; returns the CRC-32 of the bytes and counts them.
uint32_t CopyWithCrc(TStream& source, TStream& destination, int64_t& bytes) {
  std::vector<uint8_t> buffer(65536);
  uint32_t crc = 0xFFFFFFFF;
  bytes = 0;
  for (int32_t got; (got = source.Read(buffer.data(), static_cast<int32_t>(buffer.size()))) > 0;) {
    crc = UpdateCrc32(crc, {buffer.data(), static_cast<size_t>(got)});
    destination.WriteBuffer(buffer.data(), got);
    bytes += got;
  }
  return ~crc;
}

}  // namespace

void InsertZipItem(TArZipArchive& archive, TArZipItem& item, TStream& target) {
  TFileStream file(item.DiskFileName, static_cast<uint16_t>(fmOpenRead | fmShareDenyWrite));
  uint32_t dateTime = FileLocalDosDateTime(file.Handle());
  item.SetLastModFileDate(static_cast<uint16_t>(dateTime >> 16));
  item.SetLastModFileTime(static_cast<uint16_t>(dateTime));
  uint32_t attributes = GetFileAttributesA(item.DiskFileName.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    // An entry made on Unix keeps the file's mode in the high 16 bits.
    if (item.VersionMadeBy() >> 8 == HostUnix)
      attributes |= (RegularFileType | UnixModeFromAttributes(attributes)) << 16;
    item.SetExternalFileAttributes(attributes);
  }
  InsertZipItemFromStream(archive, item, file, target);
}

void InsertZipItemFromStream(TArZipArchive& archive, TArZipItem& item, TStream& source, TStream& target) {
  uint8_t method = item.CompressionMethod();
  if (method != ZipMethodStored && method != ZipMethodDeflated) throw EArZipException(UnsupportedInsertMethodCode);
  if (item.LastModFileDate() == 0) {
    uint32_t now = UnixTimeToLocalDosDateTime(std::time(nullptr));
    item.SetLastModFileDate(static_cast<uint16_t>(now >> 16));
    item.SetLastModFileTime(static_cast<uint16_t>(now));
  }
  bool encrypted = !archive.Password.empty();
  uint16_t flags = encrypted ? ZipFlagEncrypted | ZipFlagDataDescriptor : 0;
  uint32_t checkValue = uint32_t{item.LastModFileTime()} << 16;
  source.SetPosition(0);
  int64_t start = target.Position();
  int64_t plainBytes = 0;
  uint32_t crc;
  if (method == ZipMethodDeflated) {
    TArDeflateHelper options;
    options.Passphrase = archive.Password;
    options.CheckValue = checkValue;
    crc = DeflateStream(source, target, &options);
    plainBytes = options.NormalSize;
  } else if (encrypted) {
    TArDfEncryptStream encrypting(target, archive.Password, checkValue);
    crc = CopyWithCrc(source, encrypting, plainBytes);
  } else {
    crc = CopyWithCrc(source, target, plainBytes);
  }
  int64_t packedBytes = target.Position() - start;
  if (plainBytes > 0xFFFFFFFF || packedBytes > 0xFFFFFFFF) throw EArZipStreamFull();
  item.SetCrc32(crc);
  item.SetUncompressedSize(plainBytes);
  item.SetCompressedSize(packedBytes);
  item.SetGeneralPurposeBitFlag(flags);
  // Extra fields (times, owners) describe the data this replaces.
  item.SetExtraField(AnsiString());
  uint16_t version = method == ZipMethodDeflated || encrypted ? VersionDeflate : VersionStored;
  item.SetVersionNeededToExtract(version);
  item.SetVersionMadeBy(static_cast<uint16_t>((item.VersionMadeBy() & 0xFF00) | VersionDeflate));
}
