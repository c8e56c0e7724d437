// The locale's parser of date and time texts, which the UTF-16 date routines try first.
//
// Forms, with blanks around the parts allowed:
//   date:          d.m.y, y-m-d, m/d/y ... three numbers joined by one separator of
//                  ". / -"; a first number of 3 or 4 digits is the year (y-m-d order),
//                  otherwise the locale's short-date order decides (month-day-year or
//                  day-month-year); a two-digit year is 1930..2029 (00..29 -> 20xx)
//   time:          h:mm or h:mm:ss, 24-hour, or 12-hour followed by AM or PM
//   date and time: a date, blanks, a time
// The result is a TDateTime: days since 1899-12-30, the time of day as the fraction
// (before 1899-12-30 the fraction counts toward the day's start: -1.25 is 1899-12-29
// 06:00). Years run from 100 to 9999.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

enum TVariantDateKind : uint32_t {
  vdkDateTime = 0,  // a date, a time, or both
  vdkTimeOnly = 1,  // a time alone
  vdkDateOnly = 2,  // a date alone
};

// The locale's short-date orders (its LOCALE_IDATE values).
enum TDateOrder : uint32_t { doMonthDayYear = 0, doDayMonthYear = 1, doYearMonthDay = 2 };

// The short-date order of a locale: its order item, or month-day-year (the order of the
// user's locale, English (United States)) when the locale does not give one.
TDateOrder LocaleDateOrder(uint32_t locale);

// Parses `text` as `kind` in `order`. True with `value` set; false with `error` set to
// the reason in English.
bool ParseVariantDate(WideStringView text, TVariantDateKind kind, TDateOrder order, double& value, AnsiString& error);
