// The deflate engine's sliding input window with hash chains.
//
// State: the buffer holds input bytes from absolute stream offset `FBase` on; `FCur` is
// the absolute offset of the next byte to code and `FEnd` that of the end of the bytes
// read. Matches may start at most the window size back from FCur. Hash heads and
// chains hold absolute offsets (−1 for none), so sliding the buffer never touches them;
// a chain is followed only while offsets fall and stay inside the window. A position
// enters the chains once (`FInserted` is the first one not yet entered).
#pragma once

#include <cstdint>
#include <vector>

#include "archive/ArDfBase.h"
#include "platform/base/Streams.h"

class TArDfInputWindow {
public:
  // Reads from source's position on; every byte read goes into the checksum (CRC-32, or
  // Adler-32 with useAdler32). windowSize is a power of two; maxMatch is 258, or 65536
  // for deflate64.
  TArDfInputWindow(TStream& source, uint32_t windowSize, uint32_t maxMatch, int32_t chainLength, bool useAdler32,
                   int64_t streamSize, const TArProgressStep& progress);
  TArDfInputWindow(const TArDfInputWindow&) = delete;
  TArDfInputWindow& operator=(const TArDfInputWindow&) = delete;

  uint32_t LookAhead() const { return static_cast<uint32_t>(FEnd - FCur); }
  uint8_t ByteAt(int64_t offset) const { return FBuffer[static_cast<size_t>(offset - FBase)]; }
  uint8_t Current() const { return ByteAt(FCur); }
  // Input offset of the next byte to code, counted from the start of the run.
  int64_t Offset() const { return FCur; }

  // Enters the current position in the hash chains and returns the longest earlier match
  // longer than both 2 and `pending`, searching at most the chain length of candidates
  // (a quarter once `ample` is reached) and stopping at `ample`; 0 when none.
  uint32_t LongestMatch(uint32_t pending, int32_t ample, uint32_t& distance);
  // Moves on by count bytes, entering each position passed in the chains.
  void Advance(uint32_t count);

  void SetChainLength(int32_t value) { FChainLength = value; }
  uint32_t Checksum() const;

private:
  void Insert(int64_t offset);
  void Slide();
  void Fill();

  TStream& FSource;
  std::vector<uint8_t> FBuffer;
  std::vector<int64_t> FHeads;
  std::vector<int64_t> FChains;
  int64_t FBase = 0;
  int64_t FCur = 0;
  int64_t FEnd = 0;
  int64_t FInserted = 0;
  uint32_t FWindowSize;
  uint32_t FMaxMatch;
  int32_t FChainLength;
  bool FUseAdler32;
  bool FSourceDone = false;
  uint32_t FCheck;
  int64_t FStreamSize;
  const TArProgressStep& FProgress;
};
