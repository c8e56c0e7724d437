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

bool IsLeapYear(int32_t year);
int32_t DaysInMonth(int32_t year, int32_t month);
// Days from 1899-12-30 to the date (proleptic Gregorian calendar; no check of the fields).
int64_t DaysSinceEpoch(int32_t year, int32_t month, int32_t day);
// False for a date outside 1/1/1 to 12/31/9999 or a time outside 0:00:00.000 to 23:59:59.999.
bool TryEncodeDate(int32_t year, int32_t month, int32_t day, TDateTime& value);
bool TryEncodeTime(int32_t hour, int32_t minute, int32_t second, int32_t msec, TDateTime& value);

void DecodeDate(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day);
// The time of day rounded to the millisecond (a value within half a millisecond of
// midnight gives 23:59:59.999).
void DecodeTime(TDateTime value, uint16_t& hour, uint16_t& minute, uint16_t& second, uint16_t& msec);

AnsiString DateToStr(TDateTime value);
AnsiString TimeToStr(TDateTime value);
// The date, then a blank and the time unless the time is midnight.
AnsiString DateTimeToStr(TDateTime value);

// The class library's parsing of the same forms, blanks allowed around the parts:
// a date is month/day[/year] (a year of one or two digits falls within the 50 years
// before and after this year; no year is this year), a time is h:mm[:ss[.zzz]] with AM
// or PM before or after it (or h alone with AM or PM). A date and time is a date, a date
// followed by a time, or a time alone (of day 0). False for anything else.
bool TryStrToDate(AnsiStringView text, TDateTime& value);
bool TryStrToTime(AnsiStringView text, TDateTime& value);
bool TryStrToDateTime(AnsiStringView text, TDateTime& value);
