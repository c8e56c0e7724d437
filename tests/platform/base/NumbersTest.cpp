#include "platform/base/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/base/Exception.h"

TEST(Numbers, MulDivRoundsHalvesAwayFromZero) {
  const struct {
    int32_t A, B, C, Expected;
  } cases[] = {
      {5, 600, 96, 31},  // 31.25
      {1, 3, 2, 2},      // 1.5
      {-1, 3, 2, -2},    // -1.5
      {1, -3, 2, -2},
      {-1, -3, 2, 2},
      {5, 1, 4, 1},  // 1.25
      {7, 1, 4, 2},  // 1.75
      {10, 20, 0, -1},
      {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX},  // the 64-bit product does not overflow
      {INT32_MAX, 2, 1, -1},                         // the result does not fit
      {INT32_MIN, 1, 1, INT32_MIN},
      {INT32_MIN, -1, 1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.A << " * " << c.B << " / " << c.C);
    EXPECT_EQ(MulDiv(c.A, c.B, c.C), c.Expected);
  }
}

TEST(Numbers, RoundGoesHalfToEvenAndTruncTowardZero) {
  const struct {
    double Value;
    int64_t Rounded, Truncated;
  } cases[] = {
      {0.5, 0, 0},    {1.5, 2, 1},    {2.5, 2, 2},
      {-0.5, 0, 0},   {-1.5, -2, -1}, {-2.5, -2, -2},
      {2.4999, 2, 2}, {-2.6, -3, -2}, {1e15 + 0.5, 1000000000000000, 1000000000000000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Value);
    EXPECT_EQ(Round(c.Value), c.Rounded);
    EXPECT_EQ(Trunc(c.Value), c.Truncated);
  }
  try {
    Round(std::nan(""));
    FAIL() << "no exception";
  } catch (const EInvalidOp& e) {
    EXPECT_STREQ(e.what(), "Invalid floating point operation");
  }
  EXPECT_THROW(Trunc(1e19), EInvalidOp);
  EXPECT_THROW(Round(-std::numeric_limits<double>::infinity()), EInvalidOp);
}

TEST(Numbers, ValParsesLikeTheLanguage) {
  const struct {
    const char* Text;
    int32_t Value, ErrorPos;
  } cases[] = {
      {"0", 0, 0},
      {"  42", 42, 0},
      {"+7", 7, 0},
      {"-2147483648", INT32_MIN, 0},
      {"2147483647", INT32_MAX, 0},
      {"2147483648", 0, 10},  // overflow at the last digit
      {"-2147483649", 0, 11},
      {"$FF", 255, 0},
      {"0x1f", 31, 0},
      {"x10", 16, 0},
      {"-$10", -16, 0},
      {"$FFFFFFFF", -1, 0},  // hexadecimal may use the sign bit
      {"$100000000", 0, 10},
      {"", 0, 1},
      {"-", 0, 2},
      {"$", 0, 2},
      {"12 ", 0, 3},  // trailing blanks are not allowed
      {"1a", 0, 2},
      {"\t1", 0, 1},  // only spaces lead
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    int32_t errorPos = -5;
    const int32_t value = Val(AnsiStringView(c.Text), errorPos);
    EXPECT_EQ(errorPos, c.ErrorPos);
    if (c.ErrorPos == 0) {
      EXPECT_EQ(value, c.Value);
    }
  }
  int32_t errorPos;
  EXPECT_EQ(Val(WideStringView(u" -0X7fffffff"), errorPos), -INT32_MAX);
  EXPECT_EQ(errorPos, 0);
  EXPECT_EQ(Val64(AnsiStringView("-9223372036854775808"), errorPos), INT64_MIN);
  EXPECT_EQ(errorPos, 0);
  Val64(AnsiStringView("9223372036854775808"), errorPos);
  EXPECT_EQ(errorPos, 19);
}
