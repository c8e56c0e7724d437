#include "richtext/model/RPRandomIds.h"

#include <random>

namespace {

std::mt19937& Generator() {
  static std::mt19937 generator(0);
  return generator;
}

}  // namespace

int32_t RPRandomId() {
  // Uniform over 0 .. 0x7FFFFFFE; the distribution is written out so that every
  // standard library draws the same numbers from one seed.
  constexpr uint32_t range = 0x7FFFFFFF;
  constexpr uint32_t limit = UINT32_MAX - UINT32_MAX % range;
  uint32_t value;
  do value = static_cast<uint32_t>(Generator()());
  while (value >= limit);
  return static_cast<int32_t>(value % range);
}

void RPSeedRandomIds(uint32_t seed) { Generator().seed(seed); }
