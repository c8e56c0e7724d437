#include "archive/ArZipExtract.h"

#include <array>
#include <cmath>

#include "archive/ArBitBkt.h"
#include "archive/ArDfCryS.h"
#include "archive/ArDfDec.h"
#include "archive/ArUnzHlp.h"
#include "archive/ArUtils.h"
#include "archive/ArZipDefs.h"
#include "platform/base/FileReplace.h"
#include "platform/base/FileSystem.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/FileTimes.h"
#include "platform/base/FuzzChecksums.h"

namespace {

constexpr uint32_t StoredCopyChunk = 1024;

void RefuseBeyondLimits(const TArZipArchive& archive, const TArZipItem& item) {
  const TArLimits& limits = archive.Limits;
  TArLimitFault fault = TArLimitFault::None;
  if (item.UncompressedSize() > limits.MaxExpandedBytes)
    fault = TArLimitFault::ExpandedSize;
  else if (item.UncompressedSize() > limits.RatioFreeBytes &&
           item.UncompressedSize() > item.CompressedSize() * limits.MaxRatio)
    fault = TArLimitFault::Ratio;
  if (fault == TArLimitFault::None) return;
  EArZipInvalid e;
  e.SetLimitFault(fault);
  throw e;
}

// Asks for a password through the archive's hook; an empty text when there is none.
AnsiString RequestPassword(TArZipArchive& archive) {
  AnsiString password;
  if (archive.OnNeedPassword) archive.OnNeedPassword(&archive, password);
  archive.Password = password;
  return password;
}

// Runs attempt(password) until its header check passes, asking for new passwords as
// the retries allow.
template <typename TAttempt>
void WithPassword(TArZipArchive& archive, TAttempt attempt) {
  int32_t requests = 0;
  AnsiString password = archive.Password;
  if (password.empty()) {
    password = RequestPassword(archive);
    ++requests;
    if (password.empty()) throw EArZipInvalidPassword();
  }
  while (!attempt(password)) {
    if (requests >= archive.PasswordRetries) throw EArZipInvalidPassword();
    password = RequestPassword(archive);
    ++requests;
    if (password.empty()) throw EArUserAbort();
  }
}

// Runs decode(input) over the entry's data: straight from the archive, or through the
// decryption once the password routine finds a password whose header check passes.
template <typename TDecode>
uint32_t DecodeFromArchive(TArZipArchive& archive, bool encrypted, uint32_t checkValue, TDecode decode) {
  TStream& stream = archive.Stream();
  if (!encrypted) return decode(stream);
  uint32_t crc = 0;
  uint16_t dataVolume = archive.CurrentDisk();
  int64_t dataStart = stream.Position();
  WithPassword(archive, [&](const AnsiString& password) {
    archive.SeekVolume(dataVolume, dataStart);
    TArDfDecryptStream decrypting(stream, password, checkValue);
    if (!decrypting.CheckHeader()) return false;
    crc = decode(decrypting);
    return true;
  });
  return crc;
}

class TProgress {
public:
  TProgress(TArZipArchive& archive, int64_t total) : FArchive(archive), FTotal(total) {}
  void Report(int64_t done) {
    int32_t percent =
        FTotal > 0 ? static_cast<int32_t>(std::lround(static_cast<double>(done) * 100.0 / static_cast<double>(FTotal)))
                   : 100;
    if (percent != FLast) Send(percent);
  }
  void Finish() {
    if (FLast < 100) Send(100);
  }

private:
  void Send(int32_t percent) {
    FLast = percent;
    bool abort = false;
    FArchive.ReportProgress(percent, abort);
    if (abort) throw EArUserAbort();
  }
  TArZipArchive& FArchive;
  int64_t FTotal;
  int32_t FLast = -1;
};

// Copies size bytes of a stored entry from input; returns the CRC-32 of what was copied.
uint32_t CopyStored(TArZipArchive& archive, TStream& input, TStream& target, int64_t size) {
  TProgress progress(archive, size);
  std::array<uint8_t, StoredCopyChunk> chunk;
  uint32_t crc = 0xFFFFFFFF;
  int64_t done = 0;
  while (done < size) {
    int32_t want = static_cast<int32_t>(std::min<int64_t>(size - done, StoredCopyChunk));
    int32_t got = input.Read(chunk.data(), want);
    if (got <= 0) throw EArReadError();
    crc = UpdateCrc32(crc, std::span<const uint8_t>(chunk.data(), static_cast<size_t>(got)));
    target.WriteBuffer(chunk.data(), got);
    done += got;
    progress.Report(done);
  }
  progress.Finish();
  return ~crc;
}

uint32_t InflateItem(TArZipArchive& archive, const TArZipItem& item, TStream& target, const AnsiString& password,
                     uint32_t checkValue, bool& aborted) {
  TArDeflateHelper helper;
  uint32_t options = helper.Options();
  if (dynamic_cast<TArBitBucketStream*>(&target)) options |= dfc_TestOnly;
  if (item.CompressionMethod() == ZipMethodDeflate64) options |= dfc_UseDeflate64;
  helper.SetOptions(options);
  helper.StreamSize = item.CompressedSize();
  helper.MaxNormalSize = item.UncompressedSize();
  helper.ProgressStep = [&](int32_t percent) {
    try {
      archive.ExtractProgressStep(percent);
    } catch (const EArAbortProgress&) {
      aborted = true;
      throw;
    }
  };
  helper.Passphrase = password;
  helper.CheckValue = checkValue;
  uint32_t crc = InflateStream(archive.Stream(), &target, &helper);
  if (!aborted && helper.NormalSize != item.UncompressedSize()) throw EArReadError();
  return crc;
}

// The legacy decoders have their own password engine: its tries ask the archive's
// password hook, and without one a wrong password fails at once.
uint32_t UnzipEncryptedLegacyItem(TArZipArchive& archive, const TArZipItem& item, uint32_t checkValue,
                                  TStream& target) {
  TArZDecoder decoder(archive.Password, archive.Stream(), checkValue);
  decoder.Tries = archive.PasswordRetries;
  if (archive.OnNeedPassword)
    decoder.OnNeedPassword = [&archive](AnsiString& password) { archive.OnNeedPassword(&archive, password); };
  decoder.CheckHeader();
  return UnzipLegacyItem(archive, item, archive.Stream(), item.CompressedSize() - ArZipCryptHeaderBytes, target,
                         &decoder);
}

// Decodes the entry into target and checks size and CRC.
void DecodeItem(TArZipArchive& archive, TArZipItem& item, TStream& target) {
  if ((item.VersionNeededToExtract() & 0xFF) > 21) throw EArZipVersion();
  RefuseBeyondLimits(archive, item);
  TStream& stream = archive.Stream();
  archive.SeekVolume(item.DiskNumberStart(), item.RelativeOffset());
  TArZipDirectoryFileHeader local;
  ReadLocalHeader(stream, local);
  uint32_t checkValue = (local.GeneralPurposeBitFlag & ZipFlagDataDescriptor)
                            ? static_cast<uint32_t>(local.LastModFileTime) << 16
                            : item.Crc32();
  bool encrypted = item.IsEncrypted();
  uint32_t crc = 0;
  switch (local.CompressionMethod) {
    case ZipMethodStored:
      crc = DecodeFromArchive(archive, encrypted, checkValue, [&](TStream& input) {
        return CopyStored(archive, input, target, item.UncompressedSize());
      });
      break;
    case ZipMethodShrunk:
    case ZipMethodReduced1:
    case ZipMethodReduced2:
    case ZipMethodReduced3:
    case ZipMethodReduced4:
    case ZipMethodImploded:
      crc = encrypted ? UnzipEncryptedLegacyItem(archive, item, checkValue, target)
                      : UnzipLegacyItem(archive, item, stream, item.CompressedSize(), target);
      break;
    case ZipMethodDeflated:
    case ZipMethodDeflate64: {
      bool aborted = false;
      if (!encrypted) {
        crc = InflateItem(archive, item, target, AnsiString(), checkValue, aborted);
      } else {
        WithPassword(archive, [&](const AnsiString& password) {
          try {
            crc = InflateItem(archive, item, target, password, checkValue, aborted);
            return true;
          } catch (const EArInflatePasswordError&) {
            return false;
          }
        });
      }
      if (aborted) throw EArUserAbort();
      break;
    }
    default:
      throw EArZipInvalidMethod();
  }
  if (crc != checkValue && crc != item.Crc32() && !ChecksumsSkipped()) {
    if (archive.OnProcessItemFailure)
      archive.FireItemFailure(&item, ptExtract, ecArchiver, EArZipBadCRC().ErrorCode());
    else
      throw EArZipBadCRC();
  }
}

void SetDateAndAttributes(const std::string& fileSystemName, const AnsiString& path, const TArZipItem& item) {
  SetFileDate(fileSystemName, item.LastModFileDate(), item.LastModFileTime());
  // Only the read-only bit of the DOS attributes means something here.
  if (item.ExternalFileAttributes() & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

}  // namespace

void ExtractZipItemToStream(TArZipArchive& archive, TArZipItem& item, TStream* stream) {
  if (!stream) throw EArBadStream();
  DecodeItem(archive, item, *stream);
}

void ExtractZipItemToFile(TArZipArchive& archive, TArZipItem& item, const AnsiString& fileName) {
  AnsiString path = fileName;
  bool isDirectory = !path.empty() && path.back() == '/';
  if (!archive.PrepareExtractPath(archive.BaseDirectory(), path)) return;
  if (isDirectory) {
    if (!CreateDirectoryPath(path)) throw EArNoSuchDirectory();
    return;
  }
  std::string fileSystemName;
  if (!AnsiToFileSystemName(path, fileSystemName)) throw EArFileNotFound();
  try {
    TFileReplaceStream target(fileSystemName);
    DecodeItem(archive, item, target);
    if (!target.Commit()) RaiseLastOSError();
  } catch (const EArUserAbort&) {
    archive.SetStatus(asInvalid);
    throw;
  }
  SetDateAndAttributes(fileSystemName, path, item);
}

void TestZipItem(TArZipArchive& archive, TArZipItem& item) {
  if ((item.VersionNeededToExtract() & 0xFF) > 21) throw EArZipVersion();
  TStream& stream = archive.Stream();
  archive.SeekVolume(item.DiskNumberStart(), item.RelativeOffset());
  TArZipDirectoryFileHeader local;
  ReadLocalHeader(stream, local);
  const TArZipDirectoryFileHeader& central = item.ItemInfo();
  if (local.VersionNeededToExtract != central.VersionNeededToExtract ||
      local.GeneralPurposeBitFlag != central.GeneralPurposeBitFlag ||
      local.LastModFileTime != central.LastModFileTime || local.LastModFileDate != central.LastModFileDate ||
      local.Crc32 != central.Crc32 || local.CompressedSize != central.CompressedSize ||
      local.UncompressedSize != central.UncompressedSize || local.FileName != central.FileName ||
      local.ExtraField != central.ExtraField)
    throw EArZipInvalidLFH();
  TArBitBucketStream bucket(32768);
  DecodeItem(archive, item, bucket);
}
