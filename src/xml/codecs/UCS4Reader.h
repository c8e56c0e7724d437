// A character reader over a byte stream: owns the buffered input stream and the
// codec, and steps through the characters with one character of look-ahead, keeping
// the position (bytes, characters, line, column, tabs) of the previous, current and
// next character.
//
// Before the first Next the current character is UCS4StartOfInput; after the last
// character of the input it is UCS4EndOfInput, and further Next calls stay there.
// Both markers lie outside Unicode, so every character of the input, U+0098 and
// U+009C included, is delivered. Line ends arrive normalised: CR LF (counting the
// bytes of both) and a lone CR as one LF.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Streams.h"
#include "xml/codecs/InputStreams.h"
#include "xml/codecs/UnicodeCodec.h"

struct TUtilsCharPosition {
  int64_t ByteNumber = 0;  // bytes consumed through the end of this character
  int64_t CharNumber = 0;  // number of this character
  int64_t Column = 0;      // characters since the last line feed, this one included
  UCS4Char Char = 0;       // the character, or UCS4StartOfInput / UCS4EndOfInput
  int64_t Line = 0;
  int32_t ByteCount = 0;   // bytes this character took in the input (0 for the markers)
  int64_t TabsInLine = 0;  // tabs since the last line feed, this one included
};

class TUtilsUCS4Reader : private ICodecByteSource {
public:
  // Wraps stream (not owned) and settles the codec: the requested class as the
  // byte-order mark allows (see TUtilsCustomAutodetectInputStream), else the mark's,
  // else GetDefaultCodecClass. Then Reset. The start values describe the position
  // before the first character.
  TUtilsUCS4Reader(TStream* stream, TUnicodeCodecClass codecClass, int32_t bufferSize, int64_t startByteNumber,
                   int64_t startCharNumber, int64_t startColumn, int64_t startTabsInLine, int64_t startLine);
  virtual ~TUtilsUCS4Reader() = default;
  TUtilsUCS4Reader(const TUtilsUCS4Reader&) = delete;
  TUtilsUCS4Reader& operator=(const TUtilsUCS4Reader&) = delete;

  // The class of the codec in use; nullptr when there is none.
  virtual TUnicodeCodecClass GetCodecClass() const;
  // UTF-8. Construction uses this class's answer.
  virtual TUnicodeCodecClass GetDefaultCodecClass() const;
  // Replaces the codec (nullptr: none); the new one goes on with the next unread byte.
  virtual void SetCodecClass(TUnicodeCodecClass codecClass);
  // The byte offset (after any byte-order mark) at which Reset restarts.
  virtual void SetStartOffset(int64_t offset) { FStartOffset = offset; }
  // Reads characters for each UTF-16 unit of text and compares them; stops at the
  // first difference (answering false) with the characters read so far consumed.
  virtual bool Match(WideStringView text);
  // Makes the next character current; at the end nothing changes.
  virtual void Next();
  // Restarts at the start offset with the start position; the next character is read.
  virtual void Reset();
  // Steps past the characters that are units of set and returns how many it passed;
  // the reader is left on the first other character (or the end).
  virtual int64_t SkipChars(WideStringView set);

  bool AtEnd() const { return CurrentPos().Char == UCS4EndOfInput; }
  bool HasSignature() const { return FInputStream->HasSignature(); }
  // Offset (after any byte-order mark) of the next byte the codec will read.
  int64_t GetStreamPosition() const { return FInputStream->GetPosition(); }
  int32_t GetBufferSize() const { return FInputStream->BufferSize(); }

  TCustomUnicodeCodec* Codec() const { return FCodec.get(); }
  const TUtilsCharPosition& CurrentPos() const { return FPositions[FCurrentSlot]; }
  const TUtilsCharPosition& NextPos() const { return FPositions[FCurrentSlot == 2 ? 0 : FCurrentSlot + 1]; }
  const TUtilsCharPosition& PreviousPos() const { return FPositions[FCurrentSlot == 0 ? 2 : FCurrentSlot - 1]; }
  const TUtilsCharPosition& StartPos() const { return FStartPos; }
  int64_t StartOffset() const { return FStartOffset; }

protected:
  std::unique_ptr<TCustomUnicodeCodec> FCodec;
  std::unique_ptr<TUtilsAutodetectInputStream> FInputStream;
  TUtilsCharPosition FStartPos;
  // The previous, current and next positions in a ring: stepping moves the current
  // slot on and computes the new next position field by field from the current one,
  // so no record is copied whole (whole-record copies of just-written fields stalled
  // on store forwarding and cost half of Next).
  TUtilsCharPosition FPositions[3];
  uint8_t FCurrentSlot = 0;
  TCodecReadLineBreaks FLineBreakMode = rlToLF;
  int64_t FStartOffset = 0;
  // The codec is UTF-8: whole well-formed sequences are decoded from the buffer.
  bool FUtf8Direct = false;

private:
  // The byte source of every codec: input that ends inside a unit raises the codec's
  // "Invalid <name> encoding".
  bool ReadCodecBytes(TCustomUnicodeCodec& sender, uint8_t* buffer, int32_t count) override;
  // Reads a character into `to`, counting on from `from`; raises the codec's error with
  // `to` unchanged.
  void ReadCharInto(TUtilsCharPosition& to, const TUtilsCharPosition& from);

  int64_t FSkippedBytes = 0;  // bytes of characters that failed to decode, not yet counted
};
