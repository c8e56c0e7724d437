// The shared number helpers: scaling, rounding and integer parsing as the platform does
// them, in one place so every subsystem rounds alike.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

// a * b / c with a 64-bit product, rounded to the nearest integer with halves away from
// zero; -1 when c is 0 or the result does not fit 32 bits.
int32_t MulDiv(int32_t a, int32_t b, int32_t c) noexcept;

// To the nearest integer, halves to the even neighbour. Raises EInvalidOp "Invalid
// floating point operation" for NaN, infinities and values outside the 64-bit range.
int64_t Round(double value);
// Toward zero; raises as Round.
int64_t Trunc(double value);

// Integer parsing in the manner of the language's `Val`: leading blanks (spaces only),
// an optional sign, then decimal digits, or hexadecimal digits after "$", "x", "X", "0x"
// or "0X"; nothing may follow. `errorPos` is 0 on success, else the 1-based position of
// the first character that is wrong (one past the end when the text stops too early).
// A decimal value must fit the type; a hexadecimal one may use all its bits (so
// "$FFFFFFFF" is -1 for 32 bits), then the sign applies.
int32_t Val(AnsiStringView text, int32_t& errorPos) noexcept;
int32_t Val(WideStringView text, int32_t& errorPos) noexcept;
int64_t Val64(AnsiStringView text, int32_t& errorPos) noexcept;
int64_t Val64(WideStringView text, int32_t& errorPos) noexcept;
