// UTF-16 surrogates: testing a code unit's range, splitting a code point above U+FFFF
// into a pair and joining a pair back.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/base/Types.h"

// The high (leading) surrogate of a code point from U+10000 up.
constexpr WideChar HighSurrogateOf(uint32_t codePoint) {
  return static_cast<WideChar>(((codePoint >> 10) + 0xD7C0) & 0xFFFF);
}
// The low (trailing) surrogate of a code point from U+10000 up.
constexpr WideChar LowSurrogateOf(uint32_t codePoint) { return static_cast<WideChar>(0xDC00 | (codePoint & 0x3FF)); }

constexpr bool IsHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
constexpr bool IsSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// The code point of a high and a low surrogate.
constexpr uint32_t SurrogatePairToUCS4(WideChar high, WideChar low) {
  return (uint32_t(high) - 0xD7C0) * 0x400 + (uint32_t(low) - 0xDC00);
}

// The code point of a surrogate pair at text[at], or 0 when there is no pair there.
inline uint32_t SurrogatePairAt(WideStringView text, size_t at) {
  if (at + 1 >= text.size() || !IsHighSurrogate(text[at]) || !IsLowSurrogate(text[at + 1])) return 0;
  return SurrogatePairToUCS4(text[at], text[at + 1]);
}

static_assert(HighSurrogateOf(0x1F600) == 0xD83D && LowSurrogateOf(0x1F600) == 0xDE00);
static_assert(SurrogatePairToUCS4(0xD83D, 0xDE00) == 0x1F600);
