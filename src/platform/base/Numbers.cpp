#include "platform/base/Numbers.h"

#include <cmath>
#include <limits>

#include "platform/base/Exception.h"

int32_t MulDiv(int32_t a, int32_t b, int32_t c) noexcept {
  if (c == 0) return -1;
  const int64_t product = int64_t{a} * b;
  // Both magnitudes fit 63 bits, so adding half the divisor cannot overflow.
  const uint64_t magnitude = product < 0 ? 0 - static_cast<uint64_t>(product) : static_cast<uint64_t>(product);
  const uint64_t divisor = c < 0 ? 0 - static_cast<uint64_t>(int64_t{c}) : static_cast<uint64_t>(c);
  const uint64_t quotient = (magnitude + divisor / 2) / divisor;
  const bool negative = (product < 0) != (c < 0);
  if (quotient > (negative ? uint64_t{0x80000000} : uint64_t{0x7FFFFFFF})) return -1;
  return negative ? static_cast<int32_t>(0 - static_cast<int64_t>(quotient)) : static_cast<int32_t>(quotient);
}

namespace {

// 2^63: the first double above the int64 range.
constexpr double kInt64Limit = 9223372036854775808.0;

int64_t CheckedToInt64(double whole) {
  if (!(whole >= -kInt64Limit && whole < kInt64Limit)) throw EInvalidOp(SInvalidOp);
  return static_cast<int64_t>(whole);
}

template <typename Int, typename Char>
Int ValImpl(std::basic_string_view<Char> text, int32_t& errorPos) noexcept {
  using Unsigned = std::make_unsigned_t<Int>;
  size_t i = 0;
  const size_t n = text.size();
  auto fail = [&](size_t at) {
    errorPos = static_cast<int32_t>(at + 1);
    return Int{0};
  };
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  bool hex = false;
  if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == n) return fail(i);
  // A decimal value may reach the magnitude of the type's minimum when negative.
  const Unsigned limit = hex ? std::numeric_limits<Unsigned>::max()
                             : static_cast<Unsigned>(std::numeric_limits<Int>::max()) + (negative ? 1 : 0);
  const unsigned base = hex ? 16 : 10;
  Unsigned value = 0;
  for (; i < n; ++i) {
    const auto c = static_cast<uint32_t>(text[i]);
    unsigned digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (hex && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else if (hex && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else
      return fail(i);
    if (value > (limit - digit) / base) return fail(i);
    value = static_cast<Unsigned>(value * base + digit);
  }
  errorPos = 0;
  return static_cast<Int>(negative ? static_cast<Unsigned>(0 - value) : value);
}

}  // namespace

int64_t Round(double value) {
  if (!std::isfinite(value)) throw EInvalidOp(SInvalidOp);
  // nearbyint follows the default rounding mode, which is to nearest with ties to even.
  return CheckedToInt64(std::nearbyint(value));
}

int64_t Trunc(double value) {
  if (!std::isfinite(value)) throw EInvalidOp(SInvalidOp);
  return CheckedToInt64(std::trunc(value));
}

int32_t Val(AnsiStringView text, int32_t& errorPos) noexcept { return ValImpl<int32_t>(text, errorPos); }
int32_t Val(WideStringView text, int32_t& errorPos) noexcept { return ValImpl<int32_t>(text, errorPos); }
int64_t Val64(AnsiStringView text, int32_t& errorPos) noexcept { return ValImpl<int64_t>(text, errorPos); }
int64_t Val64(WideStringView text, int32_t& errorPos) noexcept { return ValImpl<int64_t>(text, errorPos); }
