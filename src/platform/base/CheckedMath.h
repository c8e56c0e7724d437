// Integer arithmetic on sizes taken from untrusted input: each helper answers
// std::nullopt instead of overflowing, so a reader checks the result before it
// allocates or indexes anything.
#pragma once

#include <cstdint>
#include <optional>

inline std::optional<int64_t> CheckedAdd(int64_t a, int64_t b) noexcept {
  int64_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) return std::nullopt;
  return sum;
}

inline std::optional<int64_t> CheckedMul(int64_t a, int64_t b) noexcept {
  int64_t product = 0;
  if (__builtin_mul_overflow(a, b, &product)) return std::nullopt;
  return product;
}
