#include <gtest/gtest.h>

#include "richtext/table/RPTableShares.h"

namespace {

// Shares of a length: the last taker gets what is left, and a total that is no longer
// positive gives nothing instead of MulDiv's -1.
TEST(RPTableSharesTest, SharesNeverComeFromAZeroDenominator) {
  const struct {
    int32_t Part, Rest, Total;
    bool Last;
    int32_t Expected;
  } cases[] = {
      {15, 57, 35, false, 24},  // 15 x 57 / 35 = 24.43
      {20, 33, 20, true, 33},   // the last gets the rest
      {10, 57, 0, false, 0},    // MulDiv would answer -1
      {10, 57, -4, false, 0},  {0, 57, 0, true, 57},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.Expected);
    EXPECT_EQ(ShareOf(k.Part, k.Rest, k.Total, k.Last), k.Expected);
  }
  EXPECT_EQ(MulDiv(10, 57, 0), -1);
}

}  // namespace
