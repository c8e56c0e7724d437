// The LZSS encoder's driver: block input and output and the coding of groups. The tree
// search that finds the matches is in uLZSS32Tree.cpp.
#include "wolf/uLZSS32.h"

TLZSSCompressor::TLZSSCompressor()
    : FWork(std::make_unique<TWorkArea>()),
      FInput(std::make_unique<uint8_t[]>(LZSSBlockBytes)),
      FOutput(std::make_unique<uint8_t[]>(LZSSBlockBytes)) {}

TLZSSCompressor::~TLZSSCompressor() = default;

void TLZSSCompressor::LZSSCompress(const TLZSSReadBlock& readBlock, const TLZSSWriteBlock& writeBlock) {
  FReadBlock = &readBlock;
  FWriteBlock = &writeBlock;
  FInputIndex = LZSSBlockBytes;  // so that the first GetByte refills
  FInputCount = LZSSBlockBytes;
  FInputEnded = false;
  FOutputCount = 0;
  FMatchPosition = 0;
  FMatchLength = 0;
  // Stale ring bytes past the end of the input take part in comparisons, so the ring
  // must start the same (zeroed) for every image.
  FWork->Ring.fill(0);
  FWork->Links.fill(0);
  FWork->Parent.fill(0);
  LZSSEncode();
  FReadBlock = nullptr;
  FWriteBlock = nullptr;
}

int32_t TLZSSCompressor::GetByte() {
  if (FInputIndex >= FInputCount) {
    if (FInputEnded) return -1;
    FInputCount = (*FReadBlock)(FInput.get(), LZSSBlockBytes);
    FInputIndex = 0;
    if (FInputCount <= 0) {
      FInputCount = 0;
      FInputEnded = true;
      return -1;
    }
  }
  return FInput[static_cast<size_t>(FInputIndex++)];
}

void TLZSSCompressor::PutByte(uint8_t value) {
  FOutput[static_cast<size_t>(FOutputCount++)] = value;
  if (FOutputCount == LZSSBlockBytes) {
    (*FWriteBlock)(FOutput.get(), FOutputCount);
    FOutputCount = 0;
  }
}

// State of the encoder: the ring holds the last N - F coded bytes before position r and
// the F look-ahead bytes from r on; s = r + F (mod N) is the oldest string, removed from
// the trees before its slot is refilled. FMatchPosition/FMatchLength describe the
// longest earlier string matching the look-ahead, found when r was inserted.
void TLZSSCompressor::LZSSEncode() {
  TWorkArea& work = *FWork;
  InitTree();

  std::array<uint8_t, LZSSGroupBytes> group{};
  size_t groupBytes = 1;
  uint8_t mask = 1;
  const auto emitGroup = [&] {
    for (size_t i = 0; i < groupBytes; ++i) PutByte(group[i]);
    group[0] = 0;
    groupBytes = 1;
    mask = 1;
  };

  int32_t s = 0;
  int32_t r = LZSSStartPos;
  int32_t len = 0;
  for (int32_t c; len < LZSSMaxMatchBytes && (c = GetByte()) >= 0; ++len)
    work.Ring[static_cast<size_t>(r + len)] = static_cast<uint8_t>(c);

  if (len > 0) {
    InsertNode(r);
    do {
      if (FMatchLength > len) FMatchLength = len;
      if (FMatchLength < LZSSMinMatchBytes) {
        FMatchLength = 1;
        group[0] |= mask;
        group[groupBytes++] = work.Ring[static_cast<size_t>(r)];
      } else {
        group[groupBytes++] = static_cast<uint8_t>(FMatchPosition & 0xFF);
        group[groupBytes++] =
            static_cast<uint8_t>(((FMatchPosition >> 8) << 4) | (FMatchLength - LZSSMinMatchBytes));
      }
      mask = static_cast<uint8_t>(mask << 1);
      if (mask == 0) emitGroup();

      const int32_t last = FMatchLength;
      int32_t i = 0;
      for (int32_t c; i < last && (c = GetByte()) >= 0; ++i) {
        DeleteNode(s);
        work.Ring[static_cast<size_t>(s)] = static_cast<uint8_t>(c);
        if (s < LZSSMaxMatchBytes - 1)
          work.Ring[static_cast<size_t>(s + LZSSRingBytes)] = static_cast<uint8_t>(c);
        s = (s + 1) & (LZSSRingBytes - 1);
        r = (r + 1) & (LZSSRingBytes - 1);
        InsertNode(r);
      }
      for (; i < last; ++i) {
        DeleteNode(s);
        s = (s + 1) & (LZSSRingBytes - 1);
        r = (r + 1) & (LZSSRingBytes - 1);
        if (--len > 0) InsertNode(r);
      }
    } while (len > 0);
    // The last group goes out even when empty: a multiple of 8 items ends in 0x00.
    emitGroup();
  }
  (*FWriteBlock)(FOutput.get(), FOutputCount);
  FOutputCount = 0;
}
