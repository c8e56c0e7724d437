// The check of the growth tests: work counted (steps, allocations, units), never timed,
// at a count n and at 10 n, may grow at most 14 times, as n log n would.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

// The work at 10 n, after checking it against the work at n (which must be some).
inline int64_t ExpectWorkGrowsAtMostFourteenFold(const std::function<int64_t(int)>& work, int n) {
  const int64_t atN = work(n);
  const int64_t atTenN = work(10 * n);
  EXPECT_GT(atN, 0);
  EXPECT_LE(atTenN, 14 * atN) << atN << " at n, " << atTenN << " at 10 n";
  return atTenN;
}
