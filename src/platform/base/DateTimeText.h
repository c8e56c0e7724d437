// Date and time texts in the user's locale, as the class library writes them.
//
// The user's locale is English (United States) on every machine (Locale.h), so a date is
// written "M/d/yyyy" (12/9/2026) and a time "h:mm:ss AM" (8:05:03 PM); the locale's date
// parser reads both back. Milliseconds are not written.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

// Days since 1899-12-30; the fraction is the time of day (counted from the day's start
// also before 1899-12-30: -1.25 is 1899-12-29 06:00).
using TDateTime = double;

void DecodeDate(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day);
// The time of day rounded to the millisecond (a value within half a millisecond of
// midnight gives 23:59:59.999).
void DecodeTime(TDateTime value, uint16_t& hour, uint16_t& minute, uint16_t& second, uint16_t& msec);

AnsiString DateToStr(TDateTime value);
AnsiString TimeToStr(TDateTime value);
// The date, then a blank and the time unless the time is midnight.
AnsiString DateTimeToStr(TDateTime value);
