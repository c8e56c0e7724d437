#include "platform/base/FloatText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(FloatText, FloatToStrUsesGeneralFormatWith15Digits) {
  const struct {
    double Value;
    const char* Expected;
  } cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.0, "1"},
      {-2.5, "-2.5"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E15"},
      {1234567890123456.0, "1.23456789012346E15"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {1.5e-7, "1.5E-7"},
      {-1e100, "-1E100"},
      {999999999999999.9, "1E15"},
      // Exactly 1.3559972102595549969...: the 18 digits held end in 5500, which then
      // round up to 15 digits.
      {1.355997210259555, "1.35599721025956"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
      {std::nan(""), "NAN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Expected);
    EXPECT_EQ(FloatToStr(c.Value), c.Expected);
  }
}

TEST(FloatText, FloatToStrFRoundsHalvesAwayFromZero) {
  EXPECT_EQ(FloatToStrF(0.125, ffFixed, 18, 2), "0.13");
  EXPECT_EQ(FloatToStrF(-0.125, ffFixed, 18, 2), "-0.13");
  EXPECT_EQ(FloatToStrF(0.005, ffFixed, 18, 2), "0.01");  // the double lies just above 0.005
  EXPECT_EQ(FloatToStrF(0.004, ffFixed, 18, 2), "0.00");
  EXPECT_EQ(FloatToStrF(-0.004, ffFixed, 18, 2), "0.00");
  EXPECT_EQ(FloatToStrF(9.995, ffFixed, 18, 2), "9.99");  // the double lies just below 9.995
  EXPECT_EQ(FloatToStrF(99.5, ffFixed, 18, 0), "100");
  EXPECT_EQ(FloatToStrF(1234.5, ffNumber, 18, 1), "1,234.5");
  EXPECT_EQ(FloatToStrF(0.5, ffExponent, 4, 2), "5.000E-01");
  EXPECT_EQ(FloatToStrF(1e20, ffGeneral, 15, 4), "1E0020");
}

TEST(FloatText, FollowsTheSettings) {
  TFormatSettings settings;
  settings.DecimalSeparator = ',';
  settings.ThousandSeparator = ' ';
  settings.CurrencyString = "r.";
  settings.CurrencyFormat = 3;
  settings.NegCurrFormat = 8;
  EXPECT_EQ(FloatToStr(1.5, settings), "1,5");
  EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 18, 2, settings), "1 234,50 r.");
  EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 18, 0, settings), "-1 235 r.");
}
