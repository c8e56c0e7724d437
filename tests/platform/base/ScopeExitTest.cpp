#include "platform/base/ScopeExit.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(ScopeExit, RunsOnceWhenTheScopeEndsNormally) {
  int runs = 0;
  {
    const TScopeExit count([&] { ++runs; });
    EXPECT_EQ(runs, 0);
  }
  EXPECT_EQ(runs, 1);
}

TEST(ScopeExit, RunsWhenAnExceptionLeavesTheScope) {
  bool flag = true;
  const auto work = [&] {
    flag = false;
    const TScopeExit restore([&] { flag = true; });
    throw std::runtime_error("failed");
  };
  EXPECT_THROW(work(), std::runtime_error);
  EXPECT_TRUE(flag);
}
