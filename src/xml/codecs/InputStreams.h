// Buffered byte input over a platform stream, with byte-order-mark detection.
//
// Positions are relative to the stream's position when the reader was created (and,
// in the autodetecting streams, to the first byte after a skipped byte-order mark).
// The stream is not owned, and nothing else moves it while a reader reads it;
// destroying a reader gives its unread buffered bytes back to the stream, which then
// stands just after the last byte handed out.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/base/Exception.h"
#include "platform/base/Streams.h"
#include "xml/codecs/UnicodeCodec.h"

class EParserUtilsException : public Exception {
public:
  using Exception::Exception;
};

inline constexpr char SParserStreamNotSpecified[] = "Stream not specified.";
inline constexpr char SParserEncodingMismatch[] = "Specified input encoding does not match byte order mark.";

class TUtilsCustomInputStream {
public:
  // Raises EParserUtilsException "Stream not specified." for a null stream. The buffer
  // size is kept between 1 and the MaxInputBufferBytes of DefaultXmlLimits().
  TUtilsCustomInputStream(TStream* stream, int32_t bufferSize);
  virtual ~TUtilsCustomInputStream();
  TUtilsCustomInputStream(const TUtilsCustomInputStream&) = delete;
  TUtilsCustomInputStream& operator=(const TUtilsCustomInputStream&) = delete;

  // Offset of the next unread byte.
  virtual int64_t GetPosition();
  // Copies up to count bytes into destination and returns how many it copied: fewer
  // than count only when the stream ends.
  virtual int32_t ReadBuffer(uint8_t* destination, int32_t count) {
    // The codecs ask for 1 to 4 bytes at a time: served from the buffer inline.
    if (count > FRemaining) return ReadAcrossRefills(destination, count);
    std::memcpy(destination, FBuffer.get() + FBufferPos, static_cast<size_t>(count));
    FBufferPos += count;
    FRemaining -= count;
    return count;
  }
  // The bytes read ahead and not yet taken (empty when the buffer needs a refill), and
  // taking count of them; for readers that decode straight from the buffer.
  std::string_view BufferedBytes() const {
    return {reinterpret_cast<const char*>(FBuffer.get()) + FBufferPos, static_cast<size_t>(FRemaining)};
  }
  void TakeBufferedBytes(int32_t count) {
    FBufferPos += count;
    FRemaining -= count;
  }
  // Moves to offset and empties the buffer.
  virtual void SetPosition(int64_t offset);
  // Gives the unread buffered bytes back to the stream and empties the buffer.
  virtual void DropBuffer();

  int32_t BufferSize() const { return FBufferSize; }

protected:
  TStream* FStream;

private:
  int32_t ReadAcrossRefills(uint8_t* destination, int32_t count);

  std::unique_ptr<uint8_t[]> FBuffer;
  int64_t FInitialPosition;
  // Where the stream stands, counted here from the reads and moves this reader makes,
  // so that a position costs no call to the stream (a system call on a file).
  int64_t FStreamOffset = 0;
  int64_t FBufferPos = 0;
  int64_t FRemaining = 0;
  int32_t FBufferSize;
};

struct TByteOrderMark {
  TUnicodeCodecClass CodecClass;  // nullptr when the bytes start with no byte-order mark
  int32_t SignatureSize;          // 0, 2, 3 or 4
};

// Looks for a byte-order mark at the stream's position: 00 00 FE FF UCS-4BE, 00 00 FF FE
// UCS-4 2143, EF BB BF UTF-8, FE FF 00 00 UCS-4 3412, FE FF UTF-16BE, FF FE 00 00
// UCS-4LE, FF FE UTF-16LE. Moves the stream.
TByteOrderMark DetectByteOrderMark(TStream& stream);

class TUtilsCustomAutodetectInputStream : public TUtilsCustomInputStream {
public:
  // Settles the codec from the requested class and the byte-order mark: with no
  // request, or a request the mark agrees with, the mark is skipped; UCS-2 takes a
  // UTF-16BE mark as its own; a UTF-16 request contradicted by the other UTF-16 mark
  // raises EConvertError "Specified input encoding does not match byte order mark.";
  // any other request reads the mark as text. Leaves the stream just after the
  // skipped mark (also when raising).
  TUtilsCustomAutodetectInputStream(TStream* stream, TUnicodeCodecClass requestedClass, int32_t bufferSize);

  int64_t GetPosition() override;
  void SetPosition(int64_t offset) override;
  virtual void SetCodecClass(TUnicodeCodecClass codecClass) { FCodecClass = codecClass; }
  void Rewind() { SetPosition(0); }

  TUnicodeCodecClass CodecClass() const { return FCodecClass; }
  int32_t SignatureSize() const { return FSignatureSize; }

private:
  int32_t FSignatureSize = 0;
  TUnicodeCodecClass FCodecClass = nullptr;
};

class TUtilsAutodetectInputStream final : public TUtilsCustomAutodetectInputStream {
public:
  using TUtilsCustomAutodetectInputStream::TUtilsCustomAutodetectInputStream;
  virtual bool HasSignature() const { return SignatureSize() != 0; }
};
