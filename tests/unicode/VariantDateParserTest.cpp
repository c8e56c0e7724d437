#include "unicode/VariantDateParser.h"

#include <gtest/gtest.h>

#include "platform/base/Locale.h"
#include "unicode/UniSystem.h"

namespace {

// Day numbers from Python: (date(y, m, d) - date(1899, 12, 30)).days.
TEST(VariantDateParser, DatesInEachForm) {
  const struct {
    WideString Text;
    TDateOrder Order;
    double Value;
  } cases[] = {
      {u"12.03.2020", doDayMonthYear, 43902},
      {u"12.03.2020.", doDayMonthYear, 43902},
      {u"03/12/2020", doMonthDayYear, 43902},
      {u"2020-03-12", doMonthDayYear, 43902},  // a four-digit first number is the year
      {u"2020-03-12", doDayMonthYear, 43902},
      {u"20-03-12", doYearMonthDay, 43902},
      {u"  1.1.2000  ", doDayMonthYear, 36526},
      {u"29.02.2024", doDayMonthYear, 45351},
      {u"30.12.1899", doDayMonthYear, 0},
      {u"1/1/1900", doMonthDayYear, 2},
      {u"29.12.1899", doDayMonthYear, -1},
      {u"6.5.29", doDayMonthYear, 47244},  // 00..29: this century
      {u"6.5.30", doDayMonthYear, 11084},  // 30..99: the last
      {u"31.12.9999", doDayMonthYear, 2958465},
      {u"1.1.0100", doDayMonthYear, -657434},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.Text));
    double value = -99999;
    AnsiString error;
    ASSERT_TRUE(ParseVariantDate(c.Text, vdkDateTime, c.Order, value, error)) << error;
    EXPECT_EQ(value, c.Value);
    ASSERT_TRUE(ParseVariantDate(c.Text, vdkDateOnly, c.Order, value, error)) << error;
    EXPECT_EQ(value, c.Value);
    EXPECT_FALSE(ParseVariantDate(c.Text, vdkTimeOnly, c.Order, value, error));
  }
}

TEST(VariantDateParser, TimesAndDatesWithTimes) {
  const struct {
    WideString Text;
    TVariantDateKind Kind;
    double Value;
  } cases[] = {
      {u"06:00", vdkTimeOnly, 0.25},
      {u"18:00:00", vdkTimeOnly, 0.75},
      {u"6:00 PM", vdkTimeOnly, 0.75},
      {u"12:00 am", vdkTimeOnly, 0.0},
      {u"12:00PM", vdkTimeOnly, 0.5},
      {u"0:00:01", vdkTimeOnly, 1.0 / 86400},
      {u"12:00", vdkDateTime, 0.5},
      {u"12.03.2020 18:00", vdkDateTime, 43902.75},
      {u"29.12.1899 06:00", vdkDateTime, -1.25},  // before the epoch the fraction counts back
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.Text));
    double value = -99999;
    AnsiString error;
    ASSERT_TRUE(ParseVariantDate(c.Text, c.Kind, doDayMonthYear, value, error)) << error;
    EXPECT_DOUBLE_EQ(value, c.Value);
  }
}

TEST(VariantDateParser, RejectsWithAReason) {
  const struct {
    WideString Text;
    TVariantDateKind Kind;
    const char* Error;
  } cases[] = {
      {u"31.02.2020", vdkDateTime, "Day out of range"},
      {u"1.13.2020", vdkDateTime, "Month out of range"},
      {u"1.1.10000", vdkDateTime, "Year out of range"},
      {u"1.1.100000", vdkDateTime, "The text holds no date or time"},
      {u"1.1.0099", vdkDateTime, "Year out of range"},
      {u"24:00", vdkTimeOnly, "Hour out of range"},
      {u"13:00 PM", vdkTimeOnly, "Hour out of range"},
      {u"10:60", vdkTimeOnly, "Minute out of range"},
      {u"10:00:60", vdkTimeOnly, "Second out of range"},
      {u"", vdkDateTime, "The text holds no date or time"},
      {u"tomorrow", vdkDateOnly, "The text holds no date"},
      {u"12.03/2020", vdkDateOnly, "The text holds no date"},
      {u"12.03.2020 10:00", vdkDateOnly, "Unexpected text at position 12"},
      {u"12.03.2020", vdkTimeOnly, "The text holds no time"},
      {u"10:00 x", vdkDateTime, "Unexpected text at position 7"},
      {u"\u0416", vdkDateTime, "The text holds no date or time"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.Text));
    double value = 0;
    AnsiString error;
    EXPECT_FALSE(ParseVariantDate(c.Text, c.Kind, doDayMonthYear, value, error));
    EXPECT_EQ(error, c.Error);
  }
}

TEST(VariantDateParser, OrderComesFromTheLocale) {
  EXPECT_EQ(LocaleDateOrder(GetThreadLocale()), doMonthDayYear);
  EXPECT_EQ(LocaleDateOrder(0x0419), doDayMonthYear);
  EXPECT_EQ(LocaleDateOrder(0x0411), doYearMonthDay);
}

}  // namespace
