// Zero-terminated UTF-16 strings, the form in which operating-system calls take and fill
// text. Everywhere else text is a WideString; these routines live at the call boundary.
//
// Buffers from `WideStrAlloc` and `WideStrNew` carry a 32-bit header just before the
// characters that holds the allocated size in bytes (characters * 2 + 4); they are owned
// by a `TWideStrPtr`, which frees header and characters together.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Types.h"

struct TWideStrDeleter {
  void operator()(WideChar* str) const noexcept;
};
using TWideStrPtr = std::unique_ptr<WideChar[], TWideStrDeleter>;

// A zero-filled buffer for `chars` characters (the terminator included in that count).
TWideStrPtr WideStrAlloc(uint32_t chars);
// The size header of a buffer from WideStrAlloc: its allocated size in bytes.
uint32_t WideStrBufSize(const WideChar* str);
// Copies `count` characters (the areas may overlap); returns `dest`.
WideChar* WideStrMove(WideChar* dest, const WideChar* source, uint32_t count);
// A WideStrAlloc copy of `str` with its terminator; null for null.
TWideStrPtr WideStrNew(const WideChar* str);
// Characters before the terminator.
uint32_t WideStrLen(const WideChar* str);
// The address of the terminator.
const WideChar* WideStrEnd(const WideChar* str);
WideChar* WideStrEnd(WideChar* str);
// Copies `source` with its terminator; returns `dest`.
WideChar* WideStrCopy(WideChar* dest, const WideChar* source);
// Copies at most `maxLen` characters and always terminates (`dest` holds maxLen + 1);
// returns `dest`.
WideChar* WideStrLCopy(WideChar* dest, const WideChar* source, uint32_t maxLen);
// Copies the whole string and a terminator; returns `dest`.
WideChar* WideStrPCopy(WideChar* dest, WideStringView source);
// The first occurrence of `ch`; for 0 the terminator; null when absent.
const WideChar* WideStrScan(const WideChar* str, WideChar ch);
WideChar* WideStrScan(WideChar* str, WideChar ch);
// The address of the last character; null for an empty string.
const WideChar* WideLastCharPtr(const WideChar* str);
// `count` characters of `buffer`, or up to its terminator when count is -1.
WideString WideStrFromBuffer(const WideChar* buffer, int32_t count);
