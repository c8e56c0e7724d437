#include "archive/ArDfStrm.h"

#include <bit>
#include <cmath>

static_assert(std::endian::native == std::endian::little, "EnsureBits loads words as little-endian");

TArDfInBitStream::TArDfInBitStream(TStream& source, int64_t streamSize, const TArProgressStep& progress)
    : Next(nullptr), End(nullptr), FSource(source), FStreamSize(streamSize), FProgress(progress) {
  Next = End = FBuffer.data();
}

void TArDfInBitStream::FillBuffer() {
  int32_t got = FSource.Read(FBuffer.data(), static_cast<int32_t>(FBuffer.size()));
  Next = FBuffer.data();
  End = Next + (got > 0 ? got : 0);
  if (got > 0) FBytesRead += got;
  if (FProgress && FStreamSize > 0)
    FProgress(
        static_cast<int32_t>(std::lround(static_cast<double>(FBytesRead) * 100.0 / static_cast<double>(FStreamSize))));
}

void TArDfInBitStream::Refill() {
  while (BitCount <= 56) {
    if (Next == End) FillBuffer();
    uint64_t byte = 0;
    if (Next != End) {
      byte = *Next++;
    } else {
      PadBits += 8;
    }
    Bits |= byte << BitCount;
    BitCount += 8;
  }
}

uint32_t TArDfInBitStream::ReadBits(uint32_t n) {
  EnsureBits();
  uint32_t value = static_cast<uint32_t>(Bits & ((uint64_t{1} << n) - 1));
  Consume(n, TArInflateFault::InputEndBits);
  return value;
}

void TArDfInBitStream::AlignToByte() { Consume(BitCount & 7, TArInflateFault::InputEndBits); }

void TArDfInBitStream::ReadBuffer(uint8_t* dest, size_t count) {
  // Whole bytes still in the bit buffer come first.
  while (count > 0 && BitCount >= 8) {
    *dest++ = static_cast<uint8_t>(Bits);
    Consume(8, TArInflateFault::InputEndBuffer);
    --count;
  }
  // The bytes read below bypass Bits: nothing of them may stay there.
  if (BitCount == 0) Bits = 0;
  while (count > 0) {
    if (Next == End) {
      FillBuffer();
      if (Next == End) InflateFault(TArInflateFault::InputEndBuffer);
    }
    size_t n = std::min(count, static_cast<size_t>(End - Next));
    std::memcpy(dest, Next, n);
    Next += n;
    dest += n;
    count -= n;
  }
}

void TArDfInBitStream::ReturnUnusedBytes() {
  int64_t realBits = BitCount > PadBits ? BitCount - PadBits : 0;
  int64_t unused = (End - Next) + realBits / 8;
  if (unused > 0) FSource.Seek(-unused, soCurrent);
  Bits = 0;
  BitCount = PadBits = 0;
  Next = End = FBuffer.data();
}
