// The abstract character codec: bytes in one encoding to and from UTF-16 text, or one
// UCS-4 character at a time through an installed byte source.
//
// Two ways to use a codec:
// - whole buffers: `DecodeBuffer`/`EncodeBuffer` and the string forms
//   `DecodeToWideString`/`EncodeFromWideString`. Input that cannot be converted is
//   handled by the failure mode (raise, stop, pass the raw value through, skip it, or
//   write a substitute).
// - one character at a time: `ReadChar`/`ReadCharNormalised` pull bytes from the byte
//   source and return one character, or `UCS4EndOfInput` (byte count 0) once the
//   source is exhausted. These ignore the failure mode: bad input raises EConvertError.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Exception.h"
#include "platform/base/Types.h"

// A Unicode scalar value (U+0000 to U+10FFFF), or one of the markers below.
using UCS4Char = uint32_t;

inline constexpr UCS4Char UCS4MaxChar = 0x10FFFF;
// Markers of a character reader's position before the first and after the last
// character. They lie above U+10FFFF, outside every character a codec can return, so
// text holding U+0098 or U+009C is read whole; readers test for these names only.
inline constexpr UCS4Char UCS4StartOfInput = 0x110098;
inline constexpr UCS4Char UCS4EndOfInput = 0x11009C;

// The ordinals are part of the interface: callers pass the numbers.
enum TCodecFailureMode : uint8_t {
  cfRaise,        // raise EUnicodeCodecException
  cfStop,         // end the operation, keep what was converted
  cfPassThrough,  // copy the raw value
  cfSkip,         // drop the offending input
  cfReplace       // write the substitute
};
enum TCodecReadLineBreaks : uint8_t { rlKeep, rlToLF };
enum TCodecWriteLineBreaks : uint8_t { wlAsLF, wlAsCR, wlAsCRLF };

// A buffer operation's failure under cfRaise: the message of the underlying conversion
// error and where it happened (a byte offset when decoding, a count of UTF-16 units
// when encoding).
class EUnicodeCodecException : public Exception {
public:
  EUnicodeCodecException(AnsiString message, int32_t position) : Exception(std::move(message)), FPosition(position) {}
  int32_t Position() const noexcept { return FPosition; }

private:
  int32_t FPosition;
};

class TCustomUnicodeCodec;

// A class reference: creates a codec of one class through its default constructor.
struct TUnicodeCodecClassRec {
  std::unique_ptr<TCustomUnicodeCodec> (*Create)();
};
using TUnicodeCodecClass = const TUnicodeCodecClassRec*;

template <class TCodec>
inline constexpr TUnicodeCodecClassRec UnicodeCodecClassRec{
    []() -> std::unique_ptr<TCustomUnicodeCodec> { return std::make_unique<TCodec>(); }};

// The class reference of TCodec; equal for the same class in every translation unit.
template <class TCodec>
constexpr TUnicodeCodecClass CodecClassOf() {
  return &UnicodeCodecClassRec<TCodec>;
}

// Where ReadChar gets its bytes: fills buffer with exactly count bytes and answers true,
// or answers false at the end of the input. May raise (an input that ends inside a
// character raises EConvertError).
class ICodecByteSource {
public:
  virtual bool ReadCodecBytes(TCustomUnicodeCodec& sender, uint8_t* buffer, int32_t count) = 0;

protected:
  ~ICodecByteSource() = default;
};

// Where WriteChar puts its bytes.
class ICodecByteSink {
public:
  virtual void WriteCodecBytes(TCustomUnicodeCodec& sender, const uint8_t* buffer, int32_t count) = 0;

protected:
  ~ICodecByteSink() = default;
};

class TCustomUnicodeCodec {
public:
  TCustomUnicodeCodec() = default;
  virtual ~TCustomUnicodeCodec() = default;
  TCustomUnicodeCodec(const TCustomUnicodeCodec&) = delete;
  TCustomUnicodeCodec& operator=(const TCustomUnicodeCodec&) = delete;

  // The class reference of this object's class.
  virtual TUnicodeCodecClass ClassType() const = 0;
  // The encoding's name in messages ("UTF-8", "Windows-1251").
  virtual const char* CodecName() const = 0;

  virtual void SetReadLineBreaks(TCodecReadLineBreaks mode) { FReadLineBreaks = mode; }
  virtual void SetWriteLineBreaks(TCodecWriteLineBreaks mode) { FWriteLineBreaks = mode; }

  // Reads one character through the byte source; at the end of the input returns
  // UCS4EndOfInput with byte count 0. Raises EConvertError on undecodable input.
  virtual void ReadChar(UCS4Char& ch, int32_t& byteCount) = 0;
  // Encodes one character and hands its bytes to the byte sink; raises EConvertError
  // for a character the encoding cannot hold.
  virtual void WriteChar(UCS4Char ch, int32_t& byteCount) = 0;
  // Writes LF as WriteLineBreaks says (LF, CR, or CR LF; the byte count is the sum);
  // any other character through WriteChar.
  virtual void WriteCharWithLineBreaks(UCS4Char ch, int32_t& byteCount);

  // Decodes up to byteCount bytes into at most outputCapacityBytes / 2 UTF-16 units.
  // A character that continues past the end of the bytes is left unconsumed (more
  // bytes may follow in a later call). Undecodable input is handled by FailureMode.
  void DecodeBuffer(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced, int32_t& bytesConsumed,
                    int32_t outputCapacityBytes, WideChar* output);
  // Encodes unitCount UTF-16 units into result; unencodable units are handled by
  // FailureMode (except where a codec says otherwise).
  void EncodeBuffer(const WideChar* units, int32_t unitCount, AnsiString& result, int32_t& unitsConsumed);

  // All of the bytes as UTF-16 text. The bytes are the whole input: a character cut
  // off by their end is undecodable input like any other.
  WideString DecodeToWideString(const uint8_t* bytes, int32_t byteCount);
  // All of the text as bytes.
  AnsiString EncodeFromWideString(WideStringView text);

  // One character with ReadLineBreaks applied: under rlToLF, CR LF and a lone CR are
  // returned as one LF (CR LF counting the bytes of both).
  void ReadCharNormalised(UCS4Char& ch, int32_t& byteCount);

  void SetFailureMode(TCodecFailureMode mode) { FFailureMode = mode; }
  // Installing a different source drops a character held by ReadCharNormalised.
  void SetByteSource(ICodecByteSource* source);
  // Drops a character held by ReadCharNormalised; for a source that was repositioned.
  // A character read ahead behind a CR waits to be delivered next.
  bool HasHeldChar() const { return FHasHeldChar; }
  void DropHeldChar() {
    FHasHeldChar = false;
    FHeldChar = 0;
  }
  void SetByteSink(ICodecByteSink* sink) { FByteSink = sink; }
  void SetDecodeSubstitute(WideChar substitute) { FDecodeSubstitute = substitute; }

  TCodecFailureMode FailureMode() const { return FFailureMode; }
  WideChar DecodeSubstitute() const { return FDecodeSubstitute; }
  TCodecReadLineBreaks ReadLineBreaks() const { return FReadLineBreaks; }
  TCodecWriteLineBreaks WriteLineBreaks() const { return FWriteLineBreaks; }

  // True when the source delivered count bytes; false at the end or with no source.
  bool ReadBytes(uint8_t* buffer, int32_t count);
  // Hands the bytes to the sink; without one they go nowhere.
  void WriteBytes(const uint8_t* buffer, int32_t count);

  // "Invalid <name> encoding", the message for a malformed or cut-off sequence.
  AnsiString InvalidEncodingMessage() const;

protected:
  // DecodeBuffer's work, with room counted in units. With inputEnds false a character
  // that continues past the bytes is left unconsumed; with inputEnds true it is
  // undecodable input and goes through FailureMode.
  virtual void DecodeUnits(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced, int32_t& bytesConsumed,
                           int32_t capacityUnits, WideChar* output, bool inputEnds) = 0;
  // EncodeBuffer's work on at least one unit, appending to an empty result; sets
  // unitsConsumed.
  virtual void EncodeUnits(const WideChar* units, int32_t unitCount, AnsiString& result, int32_t& unitsConsumed) = 0;
  // Raises the cfRaise failure of a buffer operation.
  [[noreturn]] static void RaiseCodecFailure(const AnsiString& message, int32_t position);
  // Applies FailureMode to undecodable input at byte offset position: raises
  // message() under cfRaise; under cfPassThrough writes the raw units, under cfReplace
  // the substitute. Returns true when the input is to be consumed, false when the
  // operation ends before it (cfStop, or no room left for what is to be written).
  template <class TMessage>
  bool ResolveDecodeFailure(TMessage message, int32_t position, const WideChar* rawUnits, int32_t rawCount,
                            WideChar* output, int32_t& produced, int32_t capacityUnits) const {
    switch (FFailureMode) {
      case cfRaise:
        RaiseCodecFailure(message(), position);
      case cfStop:
        return false;
      case cfPassThrough:
        if (capacityUnits - produced < rawCount) return false;
        for (int32_t i = 0; i < rawCount; ++i) output[produced++] = rawUnits[i];
        return true;
      case cfSkip:
        return true;
      case cfReplace:
        if (produced >= capacityUnits) return false;
        output[produced++] = FDecodeSubstitute;
        return true;
    }
    return false;
  }
  // ResolveDecodeFailure for count (at most 4) malformed or cut-off bytes at byte offset
  // position: "Invalid <name> encoding", each byte passed through as one unit.
  bool ResolveMalformedBytes(const uint8_t* malformed, int32_t count, int32_t position, WideChar* output,
                             int32_t& produced, int32_t capacityUnits) const;
  // Applies FailureMode to a unit EncodeUnits cannot encode, at unit index position:
  // raises message() under cfRaise; under cfPassThrough hands write the raw value, under
  // cfReplace the substitute. Returns false when the operation ends before the unit
  // (cfStop).
  template <class TMessage, class TValue, class TWrite>
  bool ResolveEncodeFailure(TMessage message, int32_t position, TValue raw, TValue substitute, TWrite write) const {
    switch (FFailureMode) {
      case cfRaise:
        RaiseCodecFailure(message(), position);
      case cfStop:
        return false;
      case cfPassThrough:
        write(raw);
        return true;
      case cfSkip:
        return true;
      case cfReplace:
        write(substitute);
        return true;
    }
    return false;
  }

private:
  TCodecFailureMode FFailureMode = cfRaise;
  WideChar FDecodeSubstitute = 0xFFFD;
  TCodecReadLineBreaks FReadLineBreaks = rlKeep;
  TCodecWriteLineBreaks FWriteLineBreaks = wlAsLF;
  ICodecByteSource* FByteSource = nullptr;
  ICodecByteSink* FByteSink = nullptr;
  bool FHasHeldChar = false;
  UCS4Char FHeldChar = 0;
  int32_t FHeldByteCount = 0;
};

// Gives a concrete codec its class reference.
template <class TDerived, class TBase>
class TCodecClassImpl : public TBase {
public:
  TUnicodeCodecClass ClassType() const override { return CodecClassOf<TDerived>(); }
};
