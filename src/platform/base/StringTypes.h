// Character types of UTF-16 and 8-bit text, as the locale's character-type query gives
// them: the first kind from the generated Unicode tables (UnicodeCase.h), the second
// (layout direction) from the Unicode bidirectional classes of FriBidi. Every locale has
// the same types.
#pragma once

#include <cstdint>

#include "platform/base/CompareString.h"
#include "platform/base/Types.h"

constexpr uint32_t CT_CTYPE1 = 0x0001;
constexpr uint32_t CT_CTYPE2 = 0x0002;

// Types of the second kind: the direction of a character in layout.
constexpr uint16_t C2_NOTAPPLICABLE = 0;  // marks, controls, embeddings
constexpr uint16_t C2_LEFTTORIGHT = 1;
constexpr uint16_t C2_RIGHTTOLEFT = 2;  // Hebrew and Arabic letters alike
constexpr uint16_t C2_EUROPENUMBER = 3;
constexpr uint16_t C2_EUROPESEPARATOR = 4;
constexpr uint16_t C2_EUROPETERMINATOR = 5;
constexpr uint16_t C2_ARABICNUMBER = 6;
constexpr uint16_t C2_COMMONSEPARATOR = 7;
constexpr uint16_t C2_BLOCKSEPARATOR = 8;
constexpr uint16_t C2_SEGMENTSEPARATOR = 9;
constexpr uint16_t C2_WHITESPACE = 10;
constexpr uint16_t C2_OTHERNEUTRAL = 11;

// Writes the types of `count` units of `source` (-1: up to the terminating zero, which
// gets no type) into `charTypes`. False with the last error set: ERROR_INVALID_FLAGS for
// an info type other than CT_CTYPE1 and CT_CTYPE2, ERROR_INVALID_PARAMETER for missing
// buffers or a locale the locale table lacks.
bool GetStringTypeExW(LCID locale, uint32_t infoType, const WideChar* source, int32_t count, uint16_t* charTypes);
// The 8-bit form: the text is in the named language's ANSI code page (the process's for
// the default locales and Unicode-only languages); each byte gets the type of
// the character it belongs to (both bytes of a double-byte character the same), a byte
// the code page does not define none.
bool GetStringTypeExA(LCID locale, uint32_t infoType, const char* source, int32_t count, uint16_t* charTypes);

// The next character after `p` in a zero-terminated UTF-16 string, stepping over a whole
// surrogate pair and the nonspacing marks that follow a base character (its combining
// sequence); `p` itself at the terminating zero. CharPrevW goes back to the start of the
// character before `p`, never before `start`.
const WideChar* CharNextW(const WideChar* p);
const WideChar* CharPrevW(const WideChar* start, const WideChar* p);
