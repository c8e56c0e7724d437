// The texts of list numbers and the plain and HTML forms of symbol-font bullets.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"
#include "richtext/model/RPListInfo.h"

// Roman numerals are written for numbers up to this one (1000 "M"s and the rest); a
// larger number, which only stored data can bring, is written in decimal, so that no
// counter makes a text of millions of letters.
inline constexpr int32_t RPMaxRomanNumber = 1000999;

// The number as the list type shows it: decimal for rplstDecimal and
// rplstImageListCounter; letters for the alphabetic types (1 a, 26 z, 27 aa, 703 aaa;
// empty for 0 or less); Roman numerals for the Roman types (lower case for
// rplstLowerRoman); empty for the types that show no number.
AnsiString GetNumberText(int32_t number, TRPListType listType);
// Upper-case Roman numerals, "M" repeated past 3999 (4000 gives MMMM); "?" for 0 or less.
// A number above RPMaxRomanNumber gives its decimal digits.
AnsiString ToRoman(int32_t number);
// The Unicode character that a character of the Wingdings font looks like (U+2022, a
// bullet, for those without a close match).
WideChar GetWingdingsCodePoint(uint8_t ch);
// Symbol-font text made readable as plain text: the bullet-like characters 167-170, 183,
// 215 and 224 become "*", the arrows 219, 220, 222, 171, 172 and 174 "<=>", "<=", "=>",
// "<->", "<-" and "->".
AnsiString SymbolTextToPlain(AnsiString s);
