// The class library's 8-bit date and time parsing, in the user's locale (English, United
// States: month/day/year, h:mm:ss, AM and PM).
//
// Scanner state: the text and the position in it; every Scan* step consumes what it
// recognises and reports whether it did. A text is accepted only when the steps end at
// its end.
#include <ctime>

#include "platform/base/DateTimeText.h"
#include "platform/base/TextUtils.h"

namespace {

constexpr char DateSeparator = '/';
constexpr char TimeSeparator = ':';
constexpr char DecimalSeparator = '.';
constexpr int32_t TwoDigitYearCenturyWindow = 50;

class TDateTimeScanner {
public:
  explicit TDateTimeScanner(AnsiStringView text) : FText(text) {}

  bool AtEnd() {
    SkipBlanks();
    return FAt == FText.size();
  }

  bool ScanDate(TDateTime& value) {
    int32_t first = 0, second = 0, year = 0, yearDigits = 0, digits = 0;
    if (!ScanNumber(first, digits) || !ScanChar(DateSeparator) || !ScanNumber(second, digits)) return false;
    if (ScanChar(DateSeparator)) {
      if (!ScanNumber(year, yearDigits)) return false;
      if (yearDigits <= 2) year = WindowedYear(year);
    } else {
      year = CurrentYear();
    }
    return TryEncodeDate(year, first, second, value);
  }

  bool ScanTime(TDateTime& value) {
    int32_t baseHour = ScanAmPm();
    int32_t hour = 0, minute = 0, second = 0, msec = 0, digits = 0;
    if (!ScanNumber(hour, digits)) return false;
    if (ScanChar(TimeSeparator)) {
      if (!ScanNumber(minute, digits)) return false;
      if (ScanChar(TimeSeparator)) {
        if (!ScanNumber(second, digits)) return false;
        if (ScanChar(DecimalSeparator) && !ScanNumber(msec, digits)) return false;
      }
    } else if (baseHour < 0 && !LooksAtAmPm()) {
      return false;  // a lone number is a time only with AM or PM
    }
    if (baseHour < 0) baseHour = ScanAmPm();
    if (baseHour >= 0) {
      if (hour < 1 || hour > 12) return false;
      hour = hour % 12 + baseHour;
    }
    return TryEncodeTime(hour, minute, second, msec, value);
  }

private:
  void SkipBlanks() {
    while (FAt < FText.size() && FText[FAt] == ' ') ++FAt;
  }

  bool ScanChar(char c) {
    SkipBlanks();
    if (FAt == FText.size() || FText[FAt] != c) return false;
    ++FAt;
    return true;
  }

  bool ScanNumber(int32_t& value, int32_t& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (FAt < FText.size() && FText[FAt] >= '0' && FText[FAt] <= '9') {
      if (digits == 9) return false;  // more digits than any field holds
      value = value * 10 + (FText[FAt] - '0');
      ++digits;
      ++FAt;
    }
    return digits > 0;
  }

  bool LooksAtAmPm() {
    SkipBlanks();
    const AnsiStringView rest = FText.substr(FAt, 2);
    return SameText(rest, "AM") || SameText(rest, "PM");
  }

  // 0 after "AM", 12 after "PM", -1 (nothing consumed) otherwise.
  int32_t ScanAmPm() {
    if (!LooksAtAmPm()) return -1;
    const int32_t base = SameText(FText.substr(FAt, 2), "AM") ? 0 : 12;
    FAt += 2;
    return base;
  }

  static int32_t CurrentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
  }

  static int32_t WindowedYear(int32_t year) {
    const int32_t threshold = CurrentYear() - TwoDigitYearCenturyWindow;
    year += threshold / 100 * 100;
    return year < threshold ? year + 100 : year;
  }

  AnsiStringView FText;
  size_t FAt = 0;
};

}  // namespace

bool TryStrToDate(AnsiStringView text, TDateTime& value) {
  TDateTimeScanner scanner(text);
  return scanner.ScanDate(value) && scanner.AtEnd();
}

bool TryStrToTime(AnsiStringView text, TDateTime& value) {
  TDateTimeScanner scanner(text);
  return scanner.ScanTime(value) && scanner.AtEnd();
}

bool TryStrToDateTime(AnsiStringView text, TDateTime& value) {
  TDateTimeScanner dateFirst(text);
  TDateTime date = 0, time = 0;
  if (dateFirst.ScanDate(date) && (dateFirst.AtEnd() || (dateFirst.ScanTime(time) && dateFirst.AtEnd()))) {
    value = date + (date < 0 ? -time : time);
    return true;
  }
  return TryStrToTime(text, value);
}
