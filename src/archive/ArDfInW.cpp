#include "archive/ArDfInW.h"

#include <algorithm>
#include <cstring>

#include "archive/ArUtils.h"

namespace {

constexpr uint32_t HashSize = 16384;
// The buffer moves down once the window's start passes this many bytes into it.
constexpr uint32_t SlidePoint = 16384;

uint32_t HashOf(uint8_t a, uint8_t b, uint8_t c) {
  return ((uint32_t{a} << 10) ^ (uint32_t{b} << 5) ^ c) & (HashSize - 1);
}

}  // namespace

TArDfInputWindow::TArDfInputWindow(TStream& source, uint32_t windowSize, uint32_t maxMatch, int32_t chainLength,
                                   bool useAdler32, int64_t streamSize, const TArProgressStep& progress)
    : FSource(source),
      FBuffer(windowSize + SlidePoint + maxMatch),
      FHeads(HashSize, -1),
      FChains(windowSize, -1),
      FWindowSize(windowSize),
      FMaxMatch(maxMatch),
      FChainLength(chainLength),
      FUseAdler32(useAdler32),
      FCheck(useAdler32 ? 1 : 0xFFFFFFFF),
      FStreamSize(streamSize),
      FProgress(progress) {
  Fill();
}

uint32_t TArDfInputWindow::Checksum() const { return FUseAdler32 ? FCheck : ~FCheck; }

void TArDfInputWindow::Fill() {
  while (!FSourceDone && FEnd - FBase < static_cast<int64_t>(FBuffer.size())) {
    size_t at = static_cast<size_t>(FEnd - FBase);
    // Reads stop at 4096-byte marks of the input so that progress is reported there.
    int64_t toMark = 4096 - (FEnd % 4096);
    int32_t want = static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(FBuffer.size() - at), toMark));
    int32_t got = FSource.Read(FBuffer.data() + at, want);
    if (got <= 0) {
      FSourceDone = true;
      break;
    }
    std::span<const uint8_t> bytes(FBuffer.data() + at, static_cast<size_t>(got));
    if (FUseAdler32)
      UpdateAdler32(FCheck, bytes);
    else
      FCheck = UpdateCrc32(FCheck, bytes);
    FEnd += got;
    if (FProgress && FStreamSize > 0 && FEnd % 4096 == 0) FProgress(Percentage(FEnd, FStreamSize));
  }
}

void TArDfInputWindow::Slide() {
  int64_t keepFrom = FCur - FWindowSize;
  size_t shift = static_cast<size_t>(keepFrom - FBase);
  std::memmove(FBuffer.data(), FBuffer.data() + shift, static_cast<size_t>(FEnd - keepFrom));
  FBase = keepFrom;
  Fill();
}

void TArDfInputWindow::Insert(int64_t offset) {
  if (offset + 3 > FEnd) return;
  const uint8_t* p = FBuffer.data() + (offset - FBase);
  uint32_t hash = HashOf(p[0], p[1], p[2]);
  FChains[static_cast<size_t>(offset) & (FWindowSize - 1)] = FHeads[hash];
  FHeads[hash] = offset;
}

void TArDfInputWindow::Advance(uint32_t count) {
  int64_t target = FCur + count;
  for (int64_t at = std::max(FInserted, FCur); at < target; ++at) Insert(at);
  FInserted = std::max(FInserted, target);
  FCur = target;
  if (FCur - FWindowSize - FBase >= static_cast<int64_t>(SlidePoint)) Slide();
}

uint32_t TArDfInputWindow::LongestMatch(uint32_t pending, int32_t ample, uint32_t& distance) {
  if (FInserted <= FCur) {
    Insert(FCur);
    FInserted = FCur + 1;
  }
  uint32_t usable = std::min(LookAhead(), FMaxMatch);
  uint32_t ampleLength = std::min<uint32_t>(static_cast<uint32_t>(ample), usable);
  uint32_t best = std::max<uint32_t>(pending, 2);
  if (best >= usable) return 0;
  uint32_t chain = static_cast<uint32_t>(FChainLength);
  if (best >= ampleLength) chain >>= 2;

  const uint8_t* here = FBuffer.data() + (FCur - FBase);
  int64_t windowStart = std::max<int64_t>(FCur - FWindowSize, FBase);
  uint32_t bestDistance = 0;
  uint16_t firstTwo, lastTwo;
  std::memcpy(&firstTwo, here, 2);
  std::memcpy(&lastTwo, here + best - 1, 2);
  int64_t candidate = FChains[static_cast<size_t>(FCur) & (FWindowSize - 1)];
  for (; chain > 0 && candidate >= windowStart && candidate < FCur; --chain) {
    const uint8_t* there = FBuffer.data() + (candidate - FBase);
    uint16_t a, b;
    std::memcpy(&a, there, 2);
    std::memcpy(&b, there + best - 1, 2);
    if (a == firstTwo && b == lastTwo) {
      uint32_t length = 2;
      while (length + 4 <= usable) {
        uint32_t x, y;
        std::memcpy(&x, here + length, 4);
        std::memcpy(&y, there + length, 4);
        if (x != y) break;
        length += 4;
      }
      while (length < usable && here[length] == there[length]) ++length;
      if (length > best) {
        best = length;
        bestDistance = static_cast<uint32_t>(FCur - candidate);
        if (best >= ampleLength) break;
        std::memcpy(&lastTwo, here + best - 1, 2);
      }
    }
    int64_t next = FChains[static_cast<size_t>(candidate) & (FWindowSize - 1)];
    if (next >= candidate) break;  // the slot was reused by a newer position
    candidate = next;
  }
  if (bestDistance == 0) return 0;
  distance = bestDistance;
  return best;
}
