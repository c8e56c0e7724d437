#include <cmath>
#include <ctime>

#include <gtest/gtest.h>

#include "platform/base/DateTimeText.h"

namespace {

int32_t ThisYear() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

// A two-digit year within the 50 years before and after this one.
int32_t WindowedYear(int32_t twoDigits) {
  const int32_t threshold = ThisYear() - 50;
  const int32_t year = threshold / 100 * 100 + twoDigits;
  return year < threshold ? year + 100 : year;
}

TDateTime Date(int32_t year, int32_t month, int32_t day) {
  TDateTime value = 0;
  EXPECT_TRUE(TryEncodeDate(year, month, day, value));
  return value;
}

TDateTime Time(int32_t hour, int32_t minute, int32_t second = 0, int32_t msec = 0) {
  TDateTime value = 0;
  EXPECT_TRUE(TryEncodeTime(hour, minute, second, msec, value));
  return value;
}

}  // namespace

TEST(DateTimeParse, EncodesDatesFromTheEpoch) {
  EXPECT_EQ(Date(1899, 12, 30), 0);
  EXPECT_EQ(Date(1900, 1, 1), 2);
  EXPECT_EQ(Date(2026, 12, 9), 46365);
  EXPECT_EQ(Date(1, 1, 1), -693593);
  TDateTime ignored = 0;
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, ignored));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, ignored));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, ignored));
}

TEST(DateTimeParse, ReadsDatesOfTheUserLocale) {
  const int32_t year = ThisYear();
  const struct {
    const char* Text;
    TDateTime Expected;  // NAN: refused
  } cases[] = {
      {"12/9/2026", Date(2026, 12, 9)},
      {" 2 / 29 / 2024 ", Date(2024, 2, 29)},
      {"2/29/2023", NAN},
      {"12/9", Date(year, 12, 9)},
      {"1/2/05", Date(WindowedYear(5), 1, 2)},
      {"1/2/99", Date(WindowedYear(99), 1, 2)},
      {"13/1/2020", NAN},
      {"1/2/2020 x", NAN},
      {"1-2-2020", NAN},
      {"", NAN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    TDateTime value = -1;
    const bool parsed = TryStrToDate(c.Text, value);
    EXPECT_EQ(parsed, !std::isnan(c.Expected));
    if (parsed) {
      EXPECT_EQ(value, c.Expected);
    }
  }
}

TEST(DateTimeParse, ReadsTimesWithAmAndPmOnEitherSide) {
  const struct {
    const char* Text;
    TDateTime Expected;
  } cases[] = {
      {"8:05:03 PM", Time(20, 5, 3)},
      {"PM 8:05", Time(20, 5)},
      {"12:00 am", Time(0, 0)},
      {"12 PM", Time(12, 0)},
      {"23:59:59.999", Time(23, 59, 59, 999)},
      {"13:00 PM", NAN},
      {"10", NAN},
      {"24:00", NAN},
      {"8:", NAN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    TDateTime value = -1;
    const bool parsed = TryStrToTime(c.Text, value);
    EXPECT_EQ(parsed, !std::isnan(c.Expected));
    if (parsed) {
      EXPECT_DOUBLE_EQ(value, c.Expected);
    }
  }
}

TEST(DateTimeParse, ReadsADateATimeOrBoth) {
  TDateTime value = 0;
  ASSERT_TRUE(TryStrToDateTime("12/9/2026 8:05:03 PM", value));
  EXPECT_DOUBLE_EQ(value, Date(2026, 12, 9) + Time(20, 5, 3));
  ASSERT_TRUE(TryStrToDateTime("12/9/2026", value));
  EXPECT_EQ(value, Date(2026, 12, 9));
  ASSERT_TRUE(TryStrToDateTime("6:00", value));
  EXPECT_DOUBLE_EQ(value, 0.25);
  ASSERT_TRUE(TryStrToDateTime("12/29/1899 6:00", value));
  EXPECT_DOUBLE_EQ(value, -1.25);  // the time counts from the day's start before the epoch too
  EXPECT_FALSE(TryStrToDateTime("12/9/2026 25:00", value));
  EXPECT_TRUE(TryStrToDateTime(DateTimeToStr(Date(2026, 12, 9) + Time(20, 5, 3)), value));
  EXPECT_DOUBLE_EQ(value, Date(2026, 12, 9) + Time(20, 5, 3));
}
