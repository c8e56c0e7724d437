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
