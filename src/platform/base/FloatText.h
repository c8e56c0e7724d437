// Floating-point numbers as text, in the class library's formats.
//
// A value is first brought to the 18 significant decimal digits that the class library's
// conversion holds (to nearest, ties to even), then to at most `precision` significant
// digits (and, for the fixed formats, `digits` decimals), rounding halves away from zero. NaN and the infinities are
// "NAN", "INF" and "-INF". A value that rounds to zero is written without a minus sign.
#pragma once

#include <cstdint>

#include "platform/base/FormatSettings.h"
#include "platform/base/Types.h"

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// ffGeneral: the shorter of fixed and scientific ("1.5", "1E20", "1.5E-7"); scientific
//   when the value has more than `precision` integer digits or is below 0.0001; the
//   exponent has at least `digits` digits and a sign only when negative.
// ffExponent: "-d.ddddE+ddd" with `precision` digits in all and at least `digits` in the
//   exponent.
// ffFixed: `digits` decimals; ffNumber: the same with thousand separators; ffCurrency:
//   as ffNumber with the currency string placed by CurrencyFormat / NegCurrFormat.
// `precision` is clamped to 1..18 and `digits` to 0..18 (0..4 for exponents).
AnsiString FloatToStrF(double value, TFloatFormat format, int32_t precision, int32_t digits,
                       const TFormatSettings& settings = DefaultFormatSettings());

// ffGeneral with 15 significant digits and no minimum exponent width.
AnsiString FloatToStr(double value, const TFormatSettings& settings = DefaultFormatSettings());
