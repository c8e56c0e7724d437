// What drawing a metafile may cost, in proportion to its bytes.
//
// A record of a few bytes can ask for a lot: a gradient part shades every pixel of the
// picture, a clip of many pieces repeats every drawing once per piece, a bitmap header
// claims millions of pixels. So each play has a budget of work (TMetafileWork) and each
// bitmap made of a picture a budget of pixels, both an allowance plus a share per byte
// of the metafile, never above a ceiling (the amounts and reasons are TMetafileLimits',
// Metafile.h). A play that runs out skips its remaining records and counts them, as it
// counts damaged ones.
#pragma once

#include <algorithm>
#include <cstdint>

// allowance + perByte x bytes, at most ceiling (and never negative), without overflow
// whatever the numbers.
constexpr int64_t BudgetForBytes(int64_t allowance, int64_t perByte, int64_t bytes, int64_t ceiling) {
  ceiling = std::max<int64_t>(ceiling, 0);
  allowance = std::clamp<int64_t>(allowance, 0, ceiling);
  if (bytes <= 0 || perByte <= 0) return allowance;
  const int64_t room = ceiling - allowance;
  return bytes > room / perByte ? ceiling : allowance + bytes * perByte;
}
static_assert(BudgetForBytes(10, 3, 5, 100) == 25 && BudgetForBytes(10, 3, int64_t{1} << 60, 100) == 100,
              "an allowance, a share per byte, a ceiling");

// The work units of one play: a pixel shaded, blitted or decoded one by one, a pixel of
// the band an outline's pen covers (at most the clip's for a segment), a row of a
// fill with each edge it crosses and each clip piece it meets, a figure, outline or text
// drawn once more for a further clip piece, a rectangle of a clip-region operation.
class TMetafileWork {
public:
  explicit TMetafileWork(int64_t budget) : FLeft(budget) {}

  // Takes units; false when they do not fit, and then nothing is taken and the budget is
  // spent for good (later calls answer false too).
  bool Spend(int64_t units) noexcept {
    if (FExhausted || units > FLeft) return FExhausted = true, false;
    FLeft -= std::max<int64_t>(units, 0);
    FDone += std::max<int64_t>(units, 0);
    return true;
  }
  bool Exhausted() const noexcept { return FExhausted; }
  // The units taken so far.
  int64_t Done() const noexcept { return FDone; }

private:
  int64_t FLeft;
  int64_t FDone = 0;
  bool FExhausted = false;
};
