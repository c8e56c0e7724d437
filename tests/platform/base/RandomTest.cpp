#include "platform/base/Random.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Restores the process-wide seed after each test.
class RandomTest : public testing::Test {
protected:
  void SetUp() override { Saved = GetRandSeed(); }
  void TearDown() override { SetRandSeed(Saved); }
  uint32_t Saved = 0;
};

TEST_F(RandomTest, StepsTheSeedAndScalesItToTheRange) {
  // Worked out by hand: 0 * 0x08088405 + 1 = 1, then 0x08088405 + 1 = 134775814,
  // then 134775814 * 0x08088405 + 1 mod 2^32 = 3698175007; each scaled by
  // (seed * range) >> 32.
  SetRandSeed(0);
  EXPECT_EQ(Random(0x7FFFFFFF), 0);
  EXPECT_EQ(GetRandSeed(), 1u);
  EXPECT_EQ(Random(0x7FFFFFFF), 67387906);
  EXPECT_EQ(GetRandSeed(), 134775814u);
  EXPECT_EQ(Random(0x7FFFFFFF), 1849087502);
  EXPECT_EQ(GetRandSeed(), 3698175007u);
}

TEST_F(RandomTest, TheSameSeedGivesTheSameSequence) {
  std::vector<int32_t> first, second;
  SetRandSeed(12345);
  for (int i = 0; i < 20; ++i) first.push_back(Random(1000));
  SetRandSeed(12345);
  for (int i = 0; i < 20; ++i) second.push_back(Random(1000));
  EXPECT_EQ(first, second);
  for (int32_t value : first) {
    EXPECT_GE(value, 0);
    EXPECT_LT(value, 1000);
  }
}

TEST_F(RandomTest, AnEmptyRangeGivesZeroAndStillSteps) {
  SetRandSeed(7);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);
  EXPECT_NE(GetRandSeed(), 7u);
}

}  // namespace
