#include "platform/base/Random.h"

namespace {
uint32_t& Seed() {
  static uint32_t seed = 0;
  return seed;
}
}  // namespace

uint32_t GetRandSeed() { return Seed(); }

void SetRandSeed(uint32_t seed) { Seed() = seed; }

int32_t Random(int32_t range) {
  Seed() = Seed() * 0x08088405u + 1u;
  if (range < 1) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(Seed()) * static_cast<uint32_t>(range)) >> 32);
}
