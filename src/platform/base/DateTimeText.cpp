#include "platform/base/DateTimeText.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int64_t kMSecsPerDay = 86400000;
constexpr int64_t kDaysFrom1899To1970 = 25569;

// The whole days and the milliseconds of the day.
void SplitDateTime(TDateTime value, int64_t& days, int64_t& msecs) {
  days = static_cast<int64_t>(std::trunc(value));
  msecs = std::llround(std::fabs(value - std::trunc(value)) * kMSecsPerDay);
  if (msecs >= kMSecsPerDay) msecs = kMSecsPerDay - 1;
}

}  // namespace

bool IsLeapYear(int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int32_t DaysInMonth(int32_t year, int32_t month) {
  static constexpr int32_t Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : Days[month - 1];
}

int64_t DaysSinceEpoch(int32_t year, int32_t month, int32_t day) {
  // Days from 0000-03-01, counting March as the first month of the year.
  const auto daysFromCivil = [](int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  };
  return daysFromCivil(year, month, day) - daysFromCivil(1899, 12, 30);
}

bool TryEncodeDate(int32_t year, int32_t month, int32_t day, TDateTime& value) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  value = static_cast<TDateTime>(DaysSinceEpoch(year, month, day));
  return true;
}

bool TryEncodeTime(int32_t hour, int32_t minute, int32_t second, int32_t msec, TDateTime& value) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 || msec > 999)
    return false;
  value = static_cast<TDateTime>(((hour * 60 + minute) * 60 + second) * 1000 + msec) / kMSecsPerDay;
  return true;
}

void DecodeDate(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day) {
  int64_t days, msecs;
  SplitDateTime(value, days, msecs);
  // Civil date from days since 1970-01-01 (proleptic Gregorian calendar, eras of 400 years).
  const int64_t z = days - kDaysFrom1899To1970 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  day = static_cast<uint16_t>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  month = static_cast<uint16_t>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  year = static_cast<uint16_t>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

void DecodeTime(TDateTime value, uint16_t& hour, uint16_t& minute, uint16_t& second, uint16_t& msec) {
  int64_t days, msecs;
  SplitDateTime(value, days, msecs);
  hour = static_cast<uint16_t>(msecs / 3600000);
  minute = static_cast<uint16_t>(msecs / 60000 % 60);
  second = static_cast<uint16_t>(msecs / 1000 % 60);
  msec = static_cast<uint16_t>(msecs % 1000);
}

AnsiString DateToStr(TDateTime value) {
  uint16_t year, month, day;
  DecodeDate(value, year, month, day);
  char text[32];
  std::snprintf(text, sizeof text, "%u/%u/%04u", month, day, year);
  return text;
}

AnsiString TimeToStr(TDateTime value) {
  uint16_t hour, minute, second, msec;
  DecodeTime(value, hour, minute, second, msec);
  const unsigned clockHour = hour % 12 == 0 ? 12 : hour % 12;
  char text[32];
  std::snprintf(text, sizeof text, "%u:%02u:%02u %s", clockHour, minute, second, hour < 12 ? "AM" : "PM");
  return text;
}

AnsiString DateTimeToStr(TDateTime value) {
  int64_t days, msecs;
  SplitDateTime(value, days, msecs);
  return msecs == 0 ? DateToStr(value) : DateToStr(value) + " " + TimeToStr(value);
}
