// Sharing a length out over columns or rows in proportion to their sizes.
#pragma once

#include <cstdint>

#include "platform/base/Numbers.h"

// The share of part (of total) in rest, rounded: the last taker gets all of the rest,
// and a total that is no longer positive (sizes of 0 or less) gives the others nothing,
// where MulDiv would answer -1.
inline int32_t ShareOf(int32_t part, int32_t rest, int32_t total, bool last) {
  if (last) return rest;
  return total <= 0 ? 0 : MulDiv(part, rest, total);
}
