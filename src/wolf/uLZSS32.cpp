// The LZSS compressor's set-up: its buffers and the state of each compression. The
// encoding loop and the match search are in uLZSS32Search.cpp, the upkeep of the trees
// in uLZSS32Tree.cpp.
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
