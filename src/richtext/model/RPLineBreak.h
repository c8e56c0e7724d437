// Where a line of UTF-16 text may break: every code unit has one of 20 line-breaking
// classes, and a 20 x 20 pair table says whether a break may fall between two classes
// directly, only across spaces, or never. The formatter asks for the last break
// opportunity before the first character that no longer fits; 8-bit text is wrapped at
// spaces and does not come here.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

// The classes, in the order the pair table uses.
enum TRPLineBreakClass : uint8_t {
  lbOP,  // opening punctuation
  lbCL,  // closing punctuation
  lbQU,  // quotation
  lbGL,  // non-breaking glue
  lbNS,  // non-starter
  lbEX,  // exclamation and interrogation
  lbSY,  // symbols allowing a break after
  lbIS,  // infix separator
  lbPR,  // prefix
  lbPO,  // postfix
  lbNU,  // numeric
  lbAL,  // alphabetic and everything not listed (spaces, controls, surrogates included)
  lbID,  // ideographic
  lbIN,  // inseparable
  lbHY,  // hyphen
  lbBA,  // break after
  lbBB,  // break before
  lbB2,  // break before and after
  lbZW,  // zero-width space
  lbCM,  // combining mark
};
inline constexpr int32_t RPLineBreakClassCount = 20;

// Pair-table values: a break between the two classes is allowed, allowed only when a
// space lies between them, or never allowed.
enum TRPLineBreakPair : uint8_t { lbpAllowed = 0, lbpAcrossSpaces = 1, lbpProhibited = 2 };

TRPLineBreakClass GetLineBreakClass(WideChar ch) noexcept;
// The pair-table value for a character of class `before` followed by one of `after`.
TRPLineBreakPair GetLineBreakPair(TRPLineBreakClass before, TRPLineBreakClass after) noexcept;

// The last character that stays on the line (a break is allowed right after it, and the
// spaces that follow it stay on the line too), or nullptr when no break opportunity lies
// before text[index], the first character that does not fit. With skipTrailingSpace a
// space at index is taken as fitting. index must be a valid position of text.
const WideChar* FindLineBreakBefore(const WideChar* text, int32_t index, bool skipTrailingSpace) noexcept;
