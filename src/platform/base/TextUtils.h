// The class library's small string routines for 8-bit and UTF-16 text.
//
// Case rules here are ASCII-only ("a".."z"), as the class library's CompareText,
// SameText, UpperCase and LowerCase have them; locale-aware casing of all of UTF-16 is in
// UnicodeCase.h.
#pragma once

#include <cstdint>

#include "platform/base/FormatSettings.h"
#include "platform/base/Types.h"

// Remove the characters up to and including the space (controls too) at the start,
// the end, or both.
AnsiString Trim(AnsiStringView s);
AnsiString TrimLeft(AnsiStringView s);
AnsiString TrimRight(AnsiStringView s);
WideString Trim(WideStringView s);
WideString TrimLeft(WideStringView s);
WideString TrimRight(WideStringView s);

// Ordinal comparisons returning <0, 0 or >0: CompareStr as written, CompareText with
// ASCII letters folded to upper case.
int32_t CompareStr(AnsiStringView a, AnsiStringView b) noexcept;
int32_t CompareText(AnsiStringView a, AnsiStringView b) noexcept;
bool SameText(AnsiStringView a, AnsiStringView b) noexcept;
int32_t CompareText(WideStringView a, WideStringView b) noexcept;
bool SameText(WideStringView a, WideStringView b) noexcept;

AnsiString UpperCase(AnsiStringView s);
AnsiString LowerCase(AnsiStringView s);
WideString UpperCase(WideStringView s);
WideString LowerCase(WideStringView s);

// Locale-aware forms for 8-bit text in the ANSI code page: every letter of the code
// page is cased (simple Unicode case mapping), and comparison ignoring case compares
// case-folded UTF-16 units.
AnsiString AnsiUpperCase(AnsiStringView s);
AnsiString AnsiLowerCase(AnsiStringView s);
int32_t AnsiCompareText(AnsiStringView a, AnsiStringView b);
bool AnsiSameText(AnsiStringView a, AnsiStringView b);

AnsiString IntToStr(int64_t value);
// Upper-case hexadecimal of the value's two's complement, at least `digits` digits.
AnsiString IntToHex(int64_t value, int32_t digits);

// Val parsing (Numbers.h). StrToInt raises EConvertError "'%s' is not a valid integer
// value"; StrToIntDef gives the default instead.
int32_t StrToInt(AnsiStringView s);
int32_t StrToIntDef(AnsiStringView s, int32_t defaultValue) noexcept;
bool TryStrToInt(AnsiStringView s, int32_t& value) noexcept;
int64_t StrToInt64(AnsiStringView s);
int64_t StrToInt64Def(AnsiStringView s, int64_t defaultValue) noexcept;
bool TryStrToInt64(AnsiStringView s, int64_t& value) noexcept;

// Decimal text to a number: blanks around it, an optional sign, digits with at most one
// DecimalSeparator, an optional exponent "E" or "e" with sign and digits. StrToFloat
// raises EConvertError "'%s' is not a valid floating point value".
bool TryStrToFloat(AnsiStringView s, double& value, const TFormatSettings& settings = DefaultFormatSettings());
double StrToFloat(AnsiStringView s, const TFormatSettings& settings = DefaultFormatSettings());
double StrToFloatDef(AnsiStringView s, double defaultValue, const TFormatSettings& settings = DefaultFormatSettings());
