#include "platform/base/Streams.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/base/FileContents.h"
#include "platform/base/FileReplace.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/Format.h"
#include "platform/base/LastError.h"

TStream::~TStream() = default;

void TStream::ReadBuffer(void* buffer, int32_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* buffer, int32_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError(SWriteError);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count <= 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr int64_t kMaxBufferBytes = 0xF000;
  auto buffer = std::make_unique<uint8_t[]>(static_cast<size_t>(std::clamp<int64_t>(count, 1, kMaxBufferBytes)));
  for (int64_t left = count; left > 0;) {
    const auto chunk = static_cast<int32_t>(std::min(left, kMaxBufferBytes));
    source.ReadBuffer(buffer.get(), chunk);
    WriteBuffer(buffer.get(), chunk);
    left -= chunk;
  }
  return count;
}

int64_t TStream::Position() { return Seek(0, soCurrent); }

void TStream::SetPosition(int64_t position) { Seek(position, soBeginning); }

int64_t TStream::Size() {
  const int64_t position = Seek(0, soCurrent);
  const int64_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

void TStream::SetSize(int64_t) {}

// --- THandleStream ---

int32_t THandleStream::Read(void* buffer, int32_t count) {
  if (count <= 0) return 0;
  const int32_t n = FileRead(FHandle, buffer, static_cast<uint32_t>(count));
  return n < 0 ? 0 : n;
}

int32_t THandleStream::Write(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  const int32_t n = FileWrite(FHandle, buffer, static_cast<uint32_t>(count));
  return n < 0 ? 0 : n;
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) { return FileSeek(FHandle, offset, origin); }

// As the class library does it, the position ends at the new size.
void THandleStream::SetSize(int64_t newSize) {
  if (Seek(newSize, soBeginning) < 0 || !SetEndOfFile(FHandle)) RaiseLastOSError();
}

// --- TFileStream ---

namespace {

WideString FullPath(const WideString& fileName) {
  const uint32_t needed = GetFullPathNameW(fileName.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return fileName;
  WideString path(needed, u'\0');
  const uint32_t length = GetFullPathNameW(fileName.c_str(), needed, path.data(), nullptr);
  path.resize(length < needed ? length : 0);
  return path.empty() ? fileName : path;
}

// Raises the error of creating (fmCreate) or opening the file, with the full path and
// the last error's text.
[[noreturn]] void RaiseFileError(uint16_t mode, const WideString& fileName) {
  const uint32_t code = GetLastError();
  const AnsiString text =
      Format(mode == fmCreate ? SFCreateErrorEx : SFOpenErrorEx, {FullPath(fileName), SystemErrorMessage(code)});
  if (mode == fmCreate) throw EFCreateError(text);
  throw EFOpenError(text);
}

THandle OpenOrCreate(const WideString& fileName, uint16_t mode) {
  const THandle handle = mode == fmCreate ? FileCreate(fileName) : FileOpen(fileName, mode);
  if (handle == INVALID_HANDLE_VALUE) RaiseFileError(mode, fileName);
  return handle;
}

// The UTF-16 form of an 8-bit name; a byte the code page lacks fails as opening it would.
WideString WideNameOf(const AnsiString& fileName, uint16_t mode) {
  WideString wide;
  if (!AnsiToWideName(fileName, wide)) RaiseFileError(mode, AnsiToWide(fileName));
  return wide;
}

}  // namespace

AnsiString LoadFileBytes(const WideString& fileName) {
  std::string name;
  AnsiString bytes;
  if (!WideToFileSystemName(fileName, name) || !ReadRegularFile(name, bytes)) RaiseFileError(fmOpenRead, fileName);
  return bytes;
}

AnsiString LoadFileBytes(const AnsiString& fileName) { return LoadFileBytes(WideNameOf(fileName, fmOpenRead)); }

void SaveFileReplacing(const WideString& fileName, const std::function<void(TStream&)>& write) {
  std::string name;
  if (WideToFileSystemName(fileName, name)) {
    try {
      TFileReplaceStream stream(name);
      write(stream);
      if (stream.Commit()) return;
    } catch (const EFCreateError&) {
      // the temporary file could not be made; the last error says why
    } catch (const EWriteError&) {
      // the failed write (a full disk, the file-size limit) set the last error
    }
  }
  RaiseFileError(fmCreate, fileName);
}

void SaveFileReplacing(const AnsiString& fileName, const std::function<void(TStream&)>& write) {
  SaveFileReplacing(WideNameOf(fileName, fmCreate), write);
}

TFileStream::TFileStream(const WideString& fileName, uint16_t mode)
    : THandleStream(OpenOrCreate(fileName, mode)), FFileName(fileName) {}

TFileStream::TFileStream(const AnsiString& fileName, uint16_t mode) : TFileStream(AnsiToWide(fileName), mode) {}

TFileStream::~TFileStream() {
  if (FHandle != INVALID_HANDLE_VALUE) FileClose(FHandle);
}

// --- TCustomMemoryStream ---

void TCustomMemoryStream::SetPointer(void* memory, int64_t size) {
  FMemory = memory;
  FSize = size;
}

int32_t TCustomMemoryStream::Read(void* buffer, int32_t count) {
  if (FPosition < 0 || count <= 0 || FPosition >= FSize) return 0;
  const auto n = static_cast<int32_t>(std::min<int64_t>(FSize - FPosition, count));
  std::memcpy(buffer, static_cast<const uint8_t*>(FMemory) + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning:
      FPosition = offset;
      break;
    case soCurrent:
      FPosition += offset;
      break;
    case soEnd:
      FPosition = FSize + offset;
      break;
  }
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) {
  const auto* bytes = static_cast<const uint8_t*>(FMemory);
  constexpr int64_t kMaxChunk = std::numeric_limits<int32_t>::max();
  for (int64_t done = 0; done < FSize;) {
    const auto chunk = static_cast<int32_t>(std::min(FSize - done, kMaxChunk));
    stream.WriteBuffer(bytes + done, chunk);
    done += chunk;
  }
}

void TCustomMemoryStream::SaveToFile(const WideString& fileName) {
  SaveFileReplacing(fileName, [this](TStream& stream) { SaveToStream(stream); });
}

void TCustomMemoryStream::SaveToFile(const AnsiString& fileName) {
  SaveFileReplacing(fileName, [this](TStream& stream) { SaveToStream(stream); });
}

// --- TMemoryStream ---

TMemoryStream::~TMemoryStream() = default;

void TMemoryStream::Reallocate(int64_t newCapacity) {
  std::unique_ptr<uint8_t[]> buffer;
  if (newCapacity > 0) {
    buffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(newCapacity)]);
    if (!buffer) throw EOutOfMemory(SMemoryStreamError);
    const int64_t kept = std::min(Size(), newCapacity);
    if (kept > 0) std::memcpy(buffer.get(), FBuffer.get(), static_cast<size_t>(kept));
    std::memset(buffer.get() + kept, 0, static_cast<size_t>(newCapacity - kept));
  }
  FBuffer = std::move(buffer);
  FCapacity = newCapacity;
  SetPointer(FBuffer.get(), std::min(Size(), newCapacity));
}

void TMemoryStream::SetCapacity(int64_t newCapacity) {
  constexpr int64_t kMemoryDelta = 0x2000;
  if (newCapacity < Size()) newCapacity = Size();
  if (newCapacity < 0 || newCapacity > std::numeric_limits<int64_t>::max() - kMemoryDelta)
    throw EOutOfMemory(SMemoryStreamError);
  // Whole blocks of 8 KiB, so small writes do not reallocate each time.
  if (newCapacity > 0) newCapacity = (newCapacity + kMemoryDelta - 1) & ~(kMemoryDelta - 1);
  if (newCapacity != FCapacity) Reallocate(newCapacity);
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count) {
  if (FPosition < 0 || count <= 0) return 0;
  const int64_t end = FPosition + count;
  if (end > Size()) {
    // Growing by a quarter at least keeps a long run of appends linear.
    if (end > FCapacity) SetCapacity(std::max(end, FCapacity + FCapacity / 4));
    SetPointer(FBuffer.get(), end);
  }
  std::memcpy(FBuffer.get() + FPosition, buffer, static_cast<size_t>(count));
  FPosition = end;
  return count;
}

void TMemoryStream::SetSize(int64_t newSize) {
  if (newSize < 0) newSize = 0;
  const int64_t oldSize = Size();
  if (newSize > FCapacity) SetCapacity(newSize);
  // Bytes uncovered again after a shrink read as zero too.
  if (newSize > oldSize) std::memset(FBuffer.get() + oldSize, 0, static_cast<size_t>(newSize - oldSize));
  SetPointer(FBuffer.get(), newSize);
  if (FPosition > newSize) FPosition = newSize;
}

void TMemoryStream::Clear() {
  SetPointer(nullptr, 0);
  FBuffer.reset();
  FCapacity = 0;
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  LoadBytes(ReadStreamRest(stream));
}

void TMemoryStream::LoadFromFile(const WideString& fileName) { LoadBytes(LoadFileBytes(fileName)); }

void TMemoryStream::LoadFromFile(const AnsiString& fileName) { LoadBytes(LoadFileBytes(fileName)); }

void TMemoryStream::LoadBytes(const AnsiString& bytes) {
  // Built aside and swapped in: a failure leaves the stream as it was.
  TMemoryStream loaded;
  loaded.SetSize(static_cast<int64_t>(bytes.size()));
  if (!bytes.empty()) std::memcpy(loaded.FBuffer.get(), bytes.data(), bytes.size());
  FBuffer.swap(loaded.FBuffer);
  std::swap(FCapacity, loaded.FCapacity);
  SetPointer(FBuffer.get(), static_cast<int64_t>(bytes.size()));
  FPosition = std::min(FPosition, Size());
}

// --- TStringStream ---

int32_t TStringStream::Read(void* buffer, int32_t count) {
  const auto length = static_cast<int64_t>(FDataString.size());
  if (count <= 0 || FPosition >= length) return 0;
  const auto n = static_cast<int32_t>(std::min<int64_t>(length - FPosition, count));
  std::memcpy(buffer, FDataString.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int32_t TStringStream::Write(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  const auto end = static_cast<size_t>(FPosition + count);
  if (end > FDataString.size()) FDataString.resize(end);
  std::memcpy(FDataString.data() + FPosition, buffer, static_cast<size_t>(count));
  FPosition += count;
  return count;
}

int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin) {
  const auto length = static_cast<int64_t>(FDataString.size());
  int64_t position = FPosition;
  switch (origin) {
    case soBeginning:
      position = offset;
      break;
    case soCurrent:
      position += offset;
      break;
    case soEnd:
      position = length + offset;
      break;
  }
  FPosition = std::clamp<int64_t>(position, 0, length);
  return FPosition;
}

void TStringStream::SetSize(int64_t newSize) {
  FDataString.resize(static_cast<size_t>(std::max<int64_t>(newSize, 0)));
  FPosition = std::min<int64_t>(FPosition, static_cast<int64_t>(FDataString.size()));
}

AnsiString TStringStream::ReadString(int32_t count) {
  const auto length = static_cast<int64_t>(FDataString.size());
  const int64_t n = std::clamp<int64_t>(length - FPosition, 0, std::max(count, 0));
  AnsiString result = FDataString.substr(static_cast<size_t>(FPosition), static_cast<size_t>(n));
  FPosition += n;
  return result;
}

void TStringStream::WriteString(const AnsiString& s) { WriteBuffer(s.data(), static_cast<int32_t>(s.size())); }
