#include "platform/base/FloatText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

TFormatSettings& DefaultFormatSettings() noexcept {
  static TFormatSettings settings;
  return settings;
}

namespace {

// A finite value as decimal digits: value = 0.Digits * 10^Exponent, no trailing zeros;
// zero has no digits.
struct TDecimal {
  bool Negative = false;
  int32_t Exponent = 0;
  AnsiString Digits;
};

constexpr int32_t kNoDecimalLimit = 1 << 20;

// Adds one unit at the last digit of `digits`; true when it carried out of the first.
bool IncrementDigits(AnsiString& digits) {
  size_t i = digits.size();
  while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
  if (i == 0) return true;
  ++digits[i - 1];
  return false;
}

// Rounds |value| the way the class library does: first to the 18 significant digits its
// decimal conversion holds (to nearest, ties to even), then those to `precision`
// significant digits and at most `decimals` decimals, halves away from zero. The 40
// digits that printf gives are the exact expansion correctly rounded, far beyond the 18.
TDecimal ToDecimal(double value, int32_t precision, int32_t decimals) {
  constexpr size_t kHeldDigits = 18;
  TDecimal result;
  if (value == 0) return result;
  char text[64];
  std::snprintf(text, sizeof text, "%.40e", std::fabs(value));
  AnsiString digits;
  const char* p = text;
  for (; *p != 'e'; ++p)
    if (*p != '.') digits.push_back(*p);
  int32_t exponent = std::atoi(p + 1) + 1;

  const char next = digits[kHeldDigits];
  const bool tie = next == '5' && digits.find_first_not_of('0', kHeldDigits + 1) == AnsiString::npos;
  const bool up = next > '5' || (next == '5' && (!tie || (digits[kHeldDigits - 1] - '0') % 2 == 1));
  digits.resize(kHeldDigits);
  if (up && IncrementDigits(digits)) {
    digits.insert(digits.begin(), '1');
    digits.pop_back();
    ++exponent;
  }

  const int32_t keep = std::min(precision, exponent + std::min(decimals, kNoDecimalLimit));
  if (keep < 0) return result;
  const bool roundUp = keep < static_cast<int32_t>(kHeldDigits) && digits[static_cast<size_t>(keep)] >= '5';
  digits.resize(std::min(static_cast<size_t>(keep), kHeldDigits));
  if (roundUp && IncrementDigits(digits)) {  // all nines (or nothing kept): the next power of ten
    digits = "1";
    ++exponent;
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.empty()) return result;
  result.Negative = value < 0;
  result.Exponent = exponent;
  result.Digits = std::move(digits);
  return result;
}

// The digit at `index` of the mantissa, zero past the kept digits.
char DigitAt(const TDecimal& d, int32_t index) {
  return index >= 0 && index < static_cast<int32_t>(d.Digits.size()) ? d.Digits[static_cast<size_t>(index)] : '0';
}

AnsiString ExponentText(int32_t exponent, int32_t minDigits, bool plusSign) {
  AnsiString result = "E";
  if (exponent < 0)
    result += '-';
  else if (plusSign)
    result += '+';
  AnsiString number = std::to_string(std::abs(exponent));
  if (static_cast<int32_t>(number.size()) < minDigits)
    number.insert(0, static_cast<size_t>(minDigits) - number.size(), '0');
  return result + number;
}

AnsiString ScientificText(const TDecimal& d, int32_t mantissaDigits, int32_t expDigits, bool plusSign,
                          const TFormatSettings& settings) {
  AnsiString result(1, DigitAt(d, 0));
  if (mantissaDigits > 1) {
    result += settings.DecimalSeparator;
    for (int32_t i = 1; i < mantissaDigits; ++i) result += DigitAt(d, i);
  }
  return result + ExponentText(d.Digits.empty() ? 0 : d.Exponent - 1, expDigits, plusSign);
}

// The integer part, grouped by thousands when asked, and `decimals` decimals.
AnsiString FixedText(const TDecimal& d, int32_t decimals, bool grouped, const TFormatSettings& settings) {
  AnsiString integer;
  for (int32_t i = 0; i < d.Exponent; ++i) integer += DigitAt(d, i);
  if (integer.empty()) integer = "0";
  if (grouped && settings.ThousandSeparator != '\0')
    for (auto i = static_cast<int32_t>(integer.size()) - 3; i > 0; i -= 3)
      integer.insert(static_cast<size_t>(i), 1, settings.ThousandSeparator);
  if (decimals <= 0) return integer;
  integer += settings.DecimalSeparator;
  for (int32_t i = 0; i < decimals; ++i) integer += DigitAt(d, d.Exponent + i);
  return integer;
}

AnsiString GeneralText(const TDecimal& d, int32_t precision, int32_t expDigits, const TFormatSettings& settings) {
  if (d.Digits.empty()) return "0";
  const auto count = static_cast<int32_t>(d.Digits.size());
  if (d.Exponent > precision || d.Exponent < -3) return ScientificText(d, count, expDigits, false, settings);
  return FixedText(d, std::max(count - d.Exponent, 0), false, settings);
}

// The class library's sixteen layouts of a negative amount ("1" stands for the number).
constexpr const char* kNegativeCurrency[16] = {"($1)", "-$1",  "$-1",  "$1-",  "(1$)", "-1$",  "1-$",   "1$-",
                                               "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
constexpr const char* kPositiveCurrency[4] = {"$1", "1$", "$ 1", "1 $"};

AnsiString CurrencyText(const AnsiString& amount, bool negative, const TFormatSettings& settings) {
  const char* layout =
      negative ? kNegativeCurrency[settings.NegCurrFormat & 15] : kPositiveCurrency[settings.CurrencyFormat & 3];
  AnsiString result;
  for (const char* c = layout; *c; ++c) {
    if (*c == '$')
      result += settings.CurrencyString;
    else if (*c == '1')
      result += amount;
    else
      result += *c;
  }
  return result;
}

}  // namespace

AnsiString FloatToStrF(double value, TFloatFormat format, int32_t precision, int32_t digits,
                       const TFormatSettings& settings) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  precision = std::clamp(precision, 1, 18);
  const int32_t expDigits = std::clamp(digits, 0, 4);
  digits = std::clamp(digits, 0, 18);
  const bool fixed = format == ffFixed || format == ffNumber || format == ffCurrency;
  const TDecimal d = ToDecimal(value, precision, fixed ? digits : kNoDecimalLimit);
  AnsiString text;
  switch (format) {
    case ffGeneral:
      text = GeneralText(d, precision, expDigits, settings);
      break;
    case ffExponent:
      text = ScientificText(d, precision, expDigits, true, settings);
      break;
    case ffFixed:
    case ffNumber:
    case ffCurrency:
      // A value with more integer digits than the precision keeps is shown in general form.
      if (d.Exponent > precision)
        text = GeneralText(d, precision, 0, settings);
      else if (format == ffCurrency)
        return CurrencyText(FixedText(d, digits, true, settings), d.Negative, settings);
      else
        text = FixedText(d, digits, format == ffNumber, settings);
      break;
  }
  return d.Negative ? "-" + text : text;
}

AnsiString FloatToStr(double value, const TFormatSettings& settings) {
  return FloatToStrF(value, ffGeneral, 15, 0, settings);
}
