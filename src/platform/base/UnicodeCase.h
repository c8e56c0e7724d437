// Case mapping and character types for every UTF-16 code unit, from tables generated
// out of the Unicode Character Database (UnicodeCaseTables.inc, scripts/gen_unicode_case.py).
//
// Mappings are simple and 1:1: "ß" (U+00DF) has no single upper-case unit and stays; a
// unit whose mapping lies outside the BMP stays too; surrogates map to themselves.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

WideChar SimpleUpperCase(WideChar c) noexcept;
WideChar SimpleLowerCase(WideChar c) noexcept;
// The simple case folding (status C and S): the unit that case-insensitive comparison
// uses in place of c (U+1E9E folds to U+00DF, U+212A KELVIN SIGN to "k").
WideChar SimpleCaseFold(WideChar c) noexcept;

// Map `length` units in place; return `length`.
uint32_t CharUpperBuffW(WideChar* buffer, uint32_t length) noexcept;
uint32_t CharLowerBuffW(WideChar* buffer, uint32_t length) noexcept;

// Character-type bits of the first kind, by general category: Lu and Lt upper, Ll lower,
// letters and marks alpha, Nd digit, Zs space and blank, other numbers, punctuation and
// symbols punct, Cc and Cf control; tab, LF, VT, FF, CR and U+0085 are also space (tab
// also blank); "0".."9", "A".."F", "a".."f" are xdigit. Every assigned unit and every
// surrogate or private-use unit is defined; unassigned units have no bit.
constexpr uint16_t C1_UPPER = 0x0001;
constexpr uint16_t C1_LOWER = 0x0002;
constexpr uint16_t C1_DIGIT = 0x0004;
constexpr uint16_t C1_SPACE = 0x0008;
constexpr uint16_t C1_PUNCT = 0x0010;
constexpr uint16_t C1_CNTRL = 0x0020;
constexpr uint16_t C1_BLANK = 0x0040;
constexpr uint16_t C1_XDIGIT = 0x0080;
constexpr uint16_t C1_ALPHA = 0x0100;
constexpr uint16_t C1_DEFINED = 0x0200;

uint16_t CharTypeC1(WideChar c) noexcept;
