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
