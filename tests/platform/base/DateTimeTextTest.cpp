#include "platform/base/DateTimeText.h"

#include <gtest/gtest.h>

namespace {

// Expected texts as Python's datetime gives the same days and milliseconds.
TEST(DateTimeText, WritesTheUserLocaleForms) {
  struct Case {
    TDateTime Value;
    const char* Date;
    const char* Time;
    const char* Both;
  };
  const Case cases[] = {
      {0.0, "12/30/1899", "12:00:00 AM", "12/30/1899"},  // midnight: the date alone
      {1.5, "12/31/1899", "12:00:00 PM", "12/31/1899 12:00:00 PM"},
      {-1.25, "12/29/1899", "6:00:00 AM", "12/29/1899 6:00:00 AM"},  // the fraction counts from the day's start
      {2.0 / 3, "12/30/1899", "4:00:00 PM", "12/30/1899 4:00:00 PM"},
      {36526.999988, "1/1/2000", "11:59:58 PM", "1/1/2000 11:59:58 PM"},
      {46000.75, "12/9/2025", "6:00:00 PM", "12/9/2025 6:00:00 PM"},
      {2958465.5, "12/31/9999", "12:00:00 PM", "12/31/9999 12:00:00 PM"},
      {-693593.0, "1/1/0001", "12:00:00 AM", "1/1/0001"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Value);
    EXPECT_EQ(DateToStr(c.Value), c.Date);
    EXPECT_EQ(TimeToStr(c.Value), c.Time);
    EXPECT_EQ(DateTimeToStr(c.Value), c.Both);
  }
}

TEST(DateTimeText, DecodesToTheMillisecond) {
  uint16_t hour, minute, second, msec;
  DecodeTime(36526.999988, hour, minute, second, msec);
  EXPECT_EQ(hour * 10000000 + minute * 100000 + second * 1000 + msec, 235958963);
  DecodeTime(0.99999999999, hour, minute, second, msec);  // rounds up to midnight: kept in the day
  EXPECT_EQ(hour * 10000000 + minute * 100000 + second * 1000 + msec, 235959999);
  uint16_t year, month, day;
  DecodeDate(59.0, year, month, day);  // 1900 was no leap year
  EXPECT_EQ(year * 10000 + month * 100 + day, 19000227);
}

}  // namespace
