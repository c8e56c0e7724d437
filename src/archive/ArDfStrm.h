// The inflate engine's bit reader over a stream.
//
// State: `Bits` holds `BitCount` unconsumed bits, the next one in bit 0 (bits are
// consumed least significant first). Whole bytes not yet in Bits wait in the 16 KB
// buffer between `Next` and `End`; bits above BitCount are zero or already hold the bytes
// at Next, which the next refill ORs into the same places again. Once the source is
// exhausted, refills append zero bytes; `PadBits` counts every such bit, and since they
// are always the last bits of the buffer, `BitCount < PadBits` means a consumer has
// eaten into the padding: the compressed data was cut short.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "archive/ArDfBase.h"
#include "archive/ArDfFault.h"
#include "platform/base/Streams.h"

class TArDfInBitStream {
public:
  // Progress goes to progress (when set and streamSize is above 0) with the percent of
  // streamSize read so far.
  TArDfInBitStream(TStream& source, int64_t streamSize, const TArProgressStep& progress);
  TArDfInBitStream(const TArDfInBitStream&) = delete;
  TArDfInBitStream& operator=(const TArDfInBitStream&) = delete;

  // At least 57 bits in Bits afterwards (zero padding past the end of the input).
  void Refill();
  // Refills so that Bits holds at least 57 bits: eight whole bytes at once when the
  // buffer holds them.
  void EnsureBits() {
    if (End - Next >= 8) {
      uint64_t word;
      std::memcpy(&word, Next, 8);  // little-endian machines only (checked in the .cpp)
      Bits |= word << BitCount;
      Next += (63 - BitCount) >> 3;
      BitCount |= 56;
    } else {
      Refill();
    }
  }
  void Consume(uint32_t n, TArInflateFault cutShort) {
    Bits >>= n;
    BitCount -= n;
    if (BitCount < PadBits) InflateFault(cutShort);
  }
  // 1 to 16 bits as a number, first bit lowest.
  uint32_t ReadBits(uint32_t n);
  // Drops the bits of a partly read byte.
  void AlignToByte();
  // Whole bytes after AlignToByte.
  void ReadBuffer(uint8_t* dest, size_t count);
  // Seeks the source back to the first byte not consumed (a byte partly consumed counts
  // as consumed), so that it stands right after the compressed data.
  void ReturnUnusedBytes();

  uint64_t Bits = 0;
  uint32_t BitCount = 0;
  uint32_t PadBits = 0;
  const uint8_t* Next;
  const uint8_t* End;

private:
  void FillBuffer();

  TStream& FSource;
  int64_t FStreamSize;
  const TArProgressStep& FProgress;
  int64_t FBytesRead = 0;
  std::array<uint8_t, 16384> FBuffer;
};

// The deflate engine's bit writer: bits are added least significant first to a 64-bit
// accumulator, whose whole bytes go to a 16 KB buffer and from there to the destination.
// `Flush` writes everything out (a partial last byte padded with zeros); a write that the
// destination does not take whole raises EArInternalDeflateError.
class TArDfOutBitStream {
public:
  explicit TArDfOutBitStream(TStream& destination) : FDestination(destination) {}
  TArDfOutBitStream(const TArDfOutBitStream&) = delete;
  TArDfOutBitStream& operator=(const TArDfOutBitStream&) = delete;

  // count 0 to 32; value holds no bits above count.
  void WriteBits(uint32_t value, uint32_t count) {
    FBits |= uint64_t{value} << FBitCount;
    FBitCount += count;
    if (FBitCount >= 32) DrainWholeBytes();
  }
  // Pads to a whole byte with zero bits.
  void AlignToByte() { FBitCount = (FBitCount + 7) & ~7u; }
  // Bytes after AlignToByte.
  void WriteBytes(const uint8_t* bytes, size_t count);
  void Flush();

private:
  void DrainWholeBytes();
  void EmptyBuffer();

  TStream& FDestination;
  uint64_t FBits = 0;
  uint32_t FBitCount = 0;
  size_t FUsed = 0;
  std::array<uint8_t, 16384> FBuffer;
};

// The tokens of one deflate block: literals and matches with the symbol frequencies
// they give.
struct TArDfToken {
  uint32_t Length;  // 0 for a literal
  uint16_t Value;   // the literal, or the distance − 1
};

class TArDfLZStream {
public:
  // A block ends at 32767 tokens or matches, so that its codes stay within the limits
  // the block writer sizes for.
  static constexpr uint32_t MaxTokens = 32767;

  explicit TArDfLZStream(bool deflate64) : FDeflate64(deflate64) { Clear(0); }
  // Empties the block, which then starts at input offset start.
  void Clear(int64_t start);
  void AddLiteral(uint8_t byte) {
    FTokens.push_back({0, byte});
    ++FLiteralFrequencies[byte];
    ++FCoveredBytes;
    if (byte == 0) FCodedZero = true;
  }
  void AddMatch(uint32_t length, uint32_t distance);
  // A block ends when full, or every 8192 tokens when matches are the minority and the
  // tokens already promise less than half the covered bytes.
  bool IsFull() const;

  const std::vector<TArDfToken>& Tokens() const { return FTokens; }
  const std::array<uint32_t, 286>& LiteralFrequencies() const { return FLiteralFrequencies; }
  const std::array<uint32_t, 32>& DistanceFrequencies() const { return FDistanceFrequencies; }
  uint32_t CoveredBytes() const { return FCoveredBytes; }
  int64_t StartOffset() const { return FStartOffset; }
  bool CodedZero() const { return FCodedZero; }
  bool Deflate64() const { return FDeflate64; }

private:
  std::vector<TArDfToken> FTokens;
  std::array<uint32_t, 286> FLiteralFrequencies;
  std::array<uint32_t, 32> FDistanceFrequencies;
  uint32_t FMatches = 0;
  uint32_t FCoveredBytes = 0;
  int64_t FStartOffset = 0;
  bool FCodedZero = false;
  bool FDeflate64;
};
