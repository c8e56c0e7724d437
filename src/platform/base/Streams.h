// Streams of bytes in the class library's manner.
//
// `TStream` is the abstract protocol (Read/Write/Seek) with the checked helpers built on
// it: `ReadBuffer`/`WriteBuffer` raise EReadError/EWriteError when fewer bytes move than
// asked, and `CopyFrom` with a count of 0 (or less) copies the whole source from its
// start. Concrete streams: `THandleStream` over a POSIX file descriptor, `TFileStream`
// owning the descriptor of a named file, `TCustomMemoryStream` over borrowed memory,
// `TMemoryStream` owning its growable buffer, `TStringStream` over an 8-bit string.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/FileSystem.h"
#include "platform/base/Object.h"
#include "platform/base/Types.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// Open modes for TFileStream: fmCreate alone, or an access mode OR a sharing mode
// (FileSystem.h).
inline constexpr uint16_t fmCreate = 0xFFFF;

class TStream : public TObject {
public:
  ~TStream() override;

  // Moves up to count bytes; returns how many moved (0 at the end or on a failure).
  virtual int32_t Read(void* buffer, int32_t count) = 0;
  virtual int32_t Write(const void* buffer, int32_t count) = 0;
  // Returns the new position, or -1 when the stream cannot seek there.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  // Raise EReadError "Stream read error" / EWriteError "Stream write error" unless all
  // count bytes move.
  void ReadBuffer(void* buffer, int32_t count);
  void WriteBuffer(const void* buffer, int32_t count);
  // Copies count bytes from source's position on; count <= 0 rewinds source and copies
  // all of it. Returns the number of bytes copied; raises as ReadBuffer/WriteBuffer.
  int64_t CopyFrom(TStream& source, int64_t count);

  int64_t Position();
  void SetPosition(int64_t position);
  // The size, found by seeking to the end and back.
  virtual int64_t Size();
  // Streams of a fixed size leave it unchanged.
  virtual void SetSize(int64_t newSize);
};

// A stream over an open file descriptor that it does not own.
class THandleStream : public TStream {
public:
  explicit THandleStream(THandle handle) : FHandle(handle) {}

  THandle Handle() const { return FHandle; }

  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  // Truncates or extends the file and moves the position to its end; raises EOSError
  // (RaiseLastOSError) when the system refuses.
  void SetSize(int64_t newSize) override;

protected:
  THandle FHandle;
};

// A stream over a file it opens (or creates, with fmCreate) and closes. 8-bit names are
// in the process's ANSI code page. Failures raise EFCreateError "Cannot create file
// "%s". %s" or EFOpenError "Cannot open file "%s". %s" with the full path and the
// system's message.
class TFileStream : public THandleStream {
public:
  TFileStream(const AnsiString& fileName, uint16_t mode);
  TFileStream(const WideString& fileName, uint16_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  const WideString& FileName() const { return FFileName; }

private:
  WideString FFileName;
};

// The whole of the named regular file (FileContents.h says what is refused). Raises
// EFOpenError "Cannot open file "%s". %s" with the full path and the cause, as
// TFileStream does.
AnsiString LoadFileBytes(const WideString& fileName);
AnsiString LoadFileBytes(const AnsiString& fileName);

// Writes a new version of the named file: `write` fills a TFileReplaceStream
// (FileReplace.h), which replaces the file only once complete and flushed. Raises
// EFCreateError "Cannot create file "%s". %s" with the full path and the cause of what
// failed (making the temporary file, a write meeting a full disk or the file-size limit,
// the flush or the move); the file is then as it was. 8-bit names are in the ANSI code
// page; a byte it lacks fails (ERROR_NO_UNICODE_TRANSLATION).
void SaveFileReplacing(const WideString& fileName, const std::function<void(TStream&)>& write);
void SaveFileReplacing(const AnsiString& fileName, const std::function<void(TStream&)>& write);

// A stream over a block of memory that the derived class provides with SetPointer.
// Positions may lie beyond the end; reading there gives nothing.
class TCustomMemoryStream : public TStream {
public:
  int32_t Read(void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return FSize; }

  void* Memory() const { return FMemory; }
  // Writes the whole memory (from offset 0) to stream; SaveToFile replaces the file only
  // once it is written whole (SaveFileReplacing).
  void SaveToStream(TStream& stream);
  void SaveToFile(const AnsiString& fileName);
  void SaveToFile(const WideString& fileName);

protected:
  void SetPointer(void* memory, int64_t size);
  int64_t FPosition = 0;

private:
  void* FMemory = nullptr;
  int64_t FSize = 0;
};

// A growable memory stream that owns its buffer. Bytes between the old end and a new
// end (SetSize, or a write past the end) read as zero.
class TMemoryStream : public TCustomMemoryStream {
public:
  TMemoryStream() = default;
  ~TMemoryStream() override;
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;

  int32_t Write(const void* buffer, int32_t count) override;
  // Keeps the position unless it lies beyond the new end, which it then becomes.
  void SetSize(int64_t newSize) override;
  void Clear();
  // Replaces the contents with the whole of stream, read from its start to where it
  // gives no more (its Size is not trusted), or with the whole of a regular file
  // (LoadFileBytes); the position stays unless beyond the new end. A failure (FileContents.h's limit
  // included) leaves the stream as it was.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const AnsiString& fileName);
  void LoadFromFile(const WideString& fileName);

  int64_t Capacity() const { return FCapacity; }
  // Raises EOutOfMemory "Out of memory while expanding memory stream" when the
  // capacity cannot be had; never drops below the size.
  void SetCapacity(int64_t newCapacity);

private:
  void LoadBytes(const AnsiString& bytes);
  void Reallocate(int64_t newCapacity);
  std::unique_ptr<uint8_t[]> FBuffer;
  int64_t FCapacity = 0;
};

// A stream over an 8-bit string it holds. Writing overwrites and extends the string;
// seeking is clamped to the string's bounds.
class TStringStream : public TStream {
public:
  explicit TStringStream(AnsiString data = AnsiString()) : FDataString(std::move(data)) {}

  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t newSize) override;

  const AnsiString& DataString() const { return FDataString; }
  // Reads up to count bytes from the position on.
  AnsiString ReadString(int32_t count);
  void WriteString(const AnsiString& s);

private:
  AnsiString FDataString;
  int64_t FPosition = 0;
};
