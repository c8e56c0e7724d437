// Work that may grow with its input no faster than n log n: each case is run at n and at
// 10 n, and the work it did (counted, never timed) may grow at most 14 times.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>

struct TRPGrowthCase {
  const char* Name;
  int Count;  // n
  std::function<int64_t(int)> Work;
};

inline void ExpectWorkAtMostLinear(std::initializer_list<TRPGrowthCase> cases) {
  for (const TRPGrowthCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const int64_t atN = c.Work(c.Count);
    const int64_t atTenN = c.Work(10 * c.Count);
    ASSERT_GT(atN, 0);
    EXPECT_LE(atTenN, 14 * atN) << atN << " at n, " << atTenN << " at 10 n";
  }
}
