// The locale's comparison of UTF-16 strings.
//
// One rule for every locale: with NORM_IGNORECASE each UTF-16 unit is first replaced by
// its simple case folding (SimpleCaseFold, UnicodeCase.h); the two unit sequences are
// then compared unit by unit, and a sequence that is a prefix of the other sorts first.
// This is plain code-unit order, not a linguistic sort: accents, hyphens, apostrophes
// and digits carry no special weight, "B" sorts before "a" when case counts, characters
// beyond U+FFFF sort by their surrogates (after U+D7FF, before U+E000) and their case is
// not folded, and "ß" differs from "ss".
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

using LCID = uint32_t;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

constexpr uint32_t NORM_IGNORECASE = 0x00000001;

constexpr int32_t CSTR_LESS_THAN = 1;
constexpr int32_t CSTR_EQUAL = 2;
constexpr int32_t CSTR_GREATER_THAN = 3;

// Compares `count1` units of `string1` with `count2` units of `string2` (a negative
// count: up to the terminating zero). Every locale compares by the rule above. Returns
// CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN; 0 with the last error set for a flag
// other than NORM_IGNORECASE (ERROR_INVALID_FLAGS) or a null string
// (ERROR_INVALID_PARAMETER).
int32_t CompareStringW(LCID locale, uint32_t cmpFlags, const WideChar* string1, int32_t count1, const WideChar* string2,
                       int32_t count2);

// The same rule on string views, as -1, 0 or 1.
int32_t CompareWideStrings(WideStringView a, WideStringView b, bool ignoreCase) noexcept;

// Every unit replaced by its simple case folding, as the rule above compares when case is
// ignored: two strings are equal ignoring case exactly when their folded forms are equal,
// so hashes of folded keys find what the comparison finds.
WideString CaseFoldWide(WideStringView s);
