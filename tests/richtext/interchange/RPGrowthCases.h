// A table of growth cases: each is run at n and at 10 n, and the work it did (counted, never
// timed) may grow at most 14 times.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>

#include "platform/base/WorkGrowth.h"

struct TRPGrowthCase {
  const char* Name;
  int Count;  // n
  std::function<int64_t(int)> Work;
};

inline void ExpectWorkAtMostLinear(std::initializer_list<TRPGrowthCase> cases) {
  for (const TRPGrowthCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ExpectWorkGrowsAtMostFourteenFold(c.Work, c.Count);
  }
}
