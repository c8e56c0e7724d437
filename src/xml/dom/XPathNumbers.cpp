#include "xml/dom/XPathNumbers.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

bool IsNegativeZero(double value) { return std::bit_cast<uint64_t>(value) == 0x8000000000000000ull; }
bool IsPositiveZero(double value) { return std::bit_cast<uint64_t>(value) == 0; }

double XPathRound(double value) {
  if (std::isnan(value) || std::isinf(value) || value == 0) return value;
  const double rounded = std::floor(value + 0.5);
  return rounded == 0 && value < 0 ? -0.0 : rounded;
}

// Read from the end towards the start: white space, digits with at most one point, an
// optional "-", white space.
double XPathStringToNumber(WideStringView text) {
  constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
  const auto isWhiteSpace = [](WideChar c) { return c == 0x9 || c == 0xA || c == 0xD || c == 0x20; };
  size_t end = text.size();
  while (end > 0 && isWhiteSpace(text[end - 1])) --end;
  if (end == 0 || text[end - 1] == u'.') return NaN;

  double value = 0;
  int place = 0;
  bool sawPoint = false, sawDigit = false;
  size_t pos = end;
  for (; pos > 0; --pos) {
    const WideChar c = text[pos - 1];
    if (c >= u'0' && c <= u'9') {
      value += (c - u'0') * std::pow(10.0, place++);
      sawDigit = true;
    } else if (c == u'.') {
      if (sawPoint) return NaN;
      sawPoint = true;
      value /= std::pow(10.0, place);
      place = 0;
    } else {
      break;
    }
  }
  if (!sawDigit) return NaN;  // "-" or "." alone is no number
  if (pos > 0 && text[pos - 1] == u'-') {
    value = -value;
    --pos;
  }
  for (; pos > 0; --pos)
    if (!isWhiteSpace(text[pos - 1])) return NaN;
  return value;
}
