// Scanner state: `FText` and the position `FAt` in it; each Read* step consumes what it
// recognises and leaves the position unchanged when it fails.
#include "unicode/VariantDateParser.h"

#include "platform/base/DateTimeText.h"
#include "platform/base/Locale.h"
#include "platform/base/TextUtils.h"
#include "unicode/UniSysUtils.h"

namespace {

constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;

struct TNumber {
  int Value = 0;
  int Digits = 0;
};

class TDateScanner {
public:
  explicit TDateScanner(WideStringView text) : FText(text) {}

  void SkipBlanks() {
    while (FAt < FText.size() && FText[FAt] <= u' ') ++FAt;
  }
  bool AtEnd() const { return FAt == FText.size(); }

  bool ReadNumber(TNumber& number) {
    size_t at = FAt;
    number = TNumber();
    while (at < FText.size() && FText[at] >= u'0' && FText[at] <= u'9' && number.Digits < 5) {
      number.Value = number.Value * 10 + (FText[at] - u'0');
      ++number.Digits;
      ++at;
    }
    if (number.Digits == 0 || (at < FText.size() && FText[at] >= u'0' && FText[at] <= u'9')) return false;
    FAt = at;
    return true;
  }

  bool ReadChar(WideChar c) {
    if (FAt < FText.size() && FText[FAt] == c) {
      ++FAt;
      return true;
    }
    return false;
  }

  // "AM" or "PM" in either case: 0 for AM, 12 for PM, -1 for neither.
  int ReadMeridiem() {
    if (FText.size() - FAt < 2) return -1;
    const WideString word = UpperCase(FText.substr(FAt, 2));
    if (word != u"AM" && word != u"PM") return -1;
    FAt += 2;
    return word == u"AM" ? 0 : 12;
  }

  size_t Position() const { return FAt; }
  void SetPosition(size_t at) { FAt = at; }
  WideChar Current() const { return AtEnd() ? WideChar{0} : FText[FAt]; }

private:
  WideStringView FText;
  size_t FAt = 0;
};

// A date at the scanner's position; false leaves the position unchanged. `error` is set
// when numbers were read but do not make a valid date.
bool ReadDate(TDateScanner& scanner, TDateOrder order, int64_t& days, AnsiString& error) {
  const size_t start = scanner.Position();
  TNumber parts[3];
  WideChar separator = 0;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      const WideChar c = scanner.Current();
      if ((i == 1 && c != u'.' && c != u'/' && c != u'-') || (i == 2 && c != separator)) {
        scanner.SetPosition(start);
        return false;
      }
      separator = c;
      scanner.ReadChar(c);
    }
    if (!scanner.ReadNumber(parts[i])) {
      scanner.SetPosition(start);
      return false;
    }
  }
  if (scanner.Current() == u'.' && separator == u'.') scanner.ReadChar(u'.');  // "12.03.2020."
  TNumber year, month, day;
  if (parts[0].Digits >= 3 || order == doYearMonthDay) {
    year = parts[0];
    month = parts[1];
    day = parts[2];
  } else if (order == doDayMonthYear) {
    day = parts[0];
    month = parts[1];
    year = parts[2];
  } else {
    month = parts[0];
    day = parts[1];
    year = parts[2];
  }
  if (year.Digits <= 2) year.Value += year.Value < 30 ? 2000 : 1900;
  if (year.Value < kMinYear || year.Value > kMaxYear) {
    error = "Year out of range";
  } else if (month.Value < 1 || month.Value > 12) {
    error = "Month out of range";
  } else if (day.Value < 1 || day.Value > DaysInMonth(year.Value, month.Value)) {
    error = "Day out of range";
  } else {
    days = DaysSinceEpoch(year.Value, month.Value, day.Value);
    return true;
  }
  scanner.SetPosition(start);
  return false;
}

// A time at the scanner's position, as a fraction of a day.
bool ReadTime(TDateScanner& scanner, double& fraction, AnsiString& error) {
  const size_t start = scanner.Position();
  TNumber hour, minute, second;
  if (!scanner.ReadNumber(hour) || !scanner.ReadChar(u':') || !scanner.ReadNumber(minute)) {
    scanner.SetPosition(start);
    return false;
  }
  if (scanner.ReadChar(u':') && !scanner.ReadNumber(second)) {
    scanner.SetPosition(start);
    return false;
  }
  const size_t beforeMeridiem = scanner.Position();
  scanner.SkipBlanks();
  const int meridiem = scanner.ReadMeridiem();
  if (meridiem < 0) scanner.SetPosition(beforeMeridiem);
  int hours = hour.Value;
  if (meridiem >= 0) {
    if (hours < 1 || hours > 12) {
      error = "Hour out of range";
      scanner.SetPosition(start);
      return false;
    }
    hours = hours % 12 + meridiem;
  }
  if (hours > 23) {
    error = "Hour out of range";
  } else if (minute.Value > 59) {
    error = "Minute out of range";
  } else if (second.Value > 59) {
    error = "Second out of range";
  } else {
    fraction = (hours * 3600 + minute.Value * 60 + second.Value) / 86400.0;
    return true;
  }
  scanner.SetPosition(start);
  return false;
}

}  // namespace

TDateOrder LocaleDateOrder(uint32_t locale) {
  const WideString order = WideGetLocaleStr(locale, LOCALE_IDATE, u"0");
  if (order == u"1") return doDayMonthYear;
  if (order == u"2") return doYearMonthDay;
  return doMonthDayYear;
}

bool ParseVariantDate(WideStringView text, TVariantDateKind kind, TDateOrder order, double& value, AnsiString& error) {
  TDateScanner scanner(text);
  error.clear();
  scanner.SkipBlanks();
  int64_t days = 0;
  double fraction = 0;
  const bool hasDate = kind != vdkTimeOnly && ReadDate(scanner, order, days, error);
  if (!error.empty()) return false;
  scanner.SkipBlanks();
  const bool hasTime = kind != vdkDateOnly && (!hasDate || !scanner.AtEnd()) && ReadTime(scanner, fraction, error);
  if (!error.empty()) return false;
  scanner.SkipBlanks();
  if (!hasDate && !hasTime) {
    error = kind == vdkTimeOnly   ? "The text holds no time"
            : kind == vdkDateOnly ? "The text holds no date"
                                  : "The text holds no date or time";
    return false;
  }
  if (!scanner.AtEnd()) {
    error = "Unexpected text at position " + std::to_string(scanner.Position() + 1);
    return false;
  }
  value = days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
  return true;
}
