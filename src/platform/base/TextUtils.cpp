#include "platform/base/TextUtils.h"

#include <algorithm>
#include <charconv>

#include "platform/base/CodePages.h"
#include "platform/base/CompareString.h"
#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "platform/base/Numbers.h"
#include "platform/base/UnicodeCase.h"

namespace {

template <typename Char>
std::basic_string<Char> TrimImpl(std::basic_string_view<Char> s, bool left, bool right) {
  size_t first = 0;
  size_t last = s.size();
  if (left)
    while (first < last && static_cast<uint32_t>(s[first]) <= ' ') ++first;
  if (right)
    while (last > first && static_cast<uint32_t>(s[last - 1]) <= ' ') --last;
  return std::basic_string<Char>(s.substr(first, last - first));
}

template <typename Char>
uint32_t AsciiUpper(Char c) {
  const auto code = static_cast<uint32_t>(static_cast<std::make_unsigned_t<Char>>(c));
  return code >= 'a' && code <= 'z' ? code - 32 : code;
}

template <typename Char>
int32_t CompareTextImpl(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const uint32_t ca = AsciiUpper(a[i]);
    const uint32_t cb = AsciiUpper(b[i]);
    if (ca != cb) return static_cast<int32_t>(ca) - static_cast<int32_t>(cb);
  }
  return static_cast<int32_t>(a.size()) - static_cast<int32_t>(b.size());
}

template <typename Char>
std::basic_string<Char> MapAscii(std::basic_string_view<Char> s, char from, char to) {
  std::basic_string<Char> result(s);
  for (Char& c : result)
    if (c >= Char(from) && c <= Char(from + 25)) c = static_cast<Char>(c - from + to);
  return result;
}

}  // namespace

AnsiString Trim(AnsiStringView s) { return TrimImpl(s, true, true); }
AnsiString TrimLeft(AnsiStringView s) { return TrimImpl(s, true, false); }
AnsiString TrimRight(AnsiStringView s) { return TrimImpl(s, false, true); }
WideString Trim(WideStringView s) { return TrimImpl(s, true, true); }
WideString TrimLeft(WideStringView s) { return TrimImpl(s, true, false); }
WideString TrimRight(WideStringView s) { return TrimImpl(s, false, true); }

int32_t CompareStr(AnsiStringView a, AnsiStringView b) noexcept {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return static_cast<int32_t>(static_cast<uint8_t>(a[i])) - static_cast<uint8_t>(b[i]);
  return static_cast<int32_t>(a.size()) - static_cast<int32_t>(b.size());
}

int32_t CompareText(AnsiStringView a, AnsiStringView b) noexcept { return CompareTextImpl(a, b); }
bool SameText(AnsiStringView a, AnsiStringView b) noexcept {
  return a.size() == b.size() && CompareTextImpl(a, b) == 0;
}
int32_t CompareText(WideStringView a, WideStringView b) noexcept { return CompareTextImpl(a, b); }
bool SameText(WideStringView a, WideStringView b) noexcept {
  return a.size() == b.size() && CompareTextImpl(a, b) == 0;
}

AnsiString UpperCase(AnsiStringView s) { return MapAscii(s, 'a', 'A'); }
AnsiString LowerCase(AnsiStringView s) { return MapAscii(s, 'A', 'a'); }
WideString UpperCase(WideStringView s) { return MapAscii(s, 'a', 'A'); }
WideString LowerCase(WideStringView s) { return MapAscii(s, 'A', 'a'); }

namespace {

AnsiString MapAnsi(AnsiStringView s, WideChar (*map)(WideChar) noexcept) {
  WideString wide = AnsiToWide(s);
  for (WideChar& c : wide) c = map(c);
  return WideToAnsi(wide);
}

}  // namespace

AnsiString AnsiUpperCase(AnsiStringView s) { return MapAnsi(s, SimpleUpperCase); }
AnsiString AnsiLowerCase(AnsiStringView s) { return MapAnsi(s, SimpleLowerCase); }

int32_t AnsiCompareText(AnsiStringView a, AnsiStringView b) {
  return CompareWideStrings(AnsiToWide(a), AnsiToWide(b), true);
}

bool AnsiSameText(AnsiStringView a, AnsiStringView b) { return AnsiCompareText(a, b) == 0; }

AnsiString IntToStr(int64_t value) { return std::to_string(value); }

AnsiString IntToHex(int64_t value, int32_t digits) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  auto bits = static_cast<uint64_t>(value);
  AnsiString result;
  do {
    result.push_back(kHex[bits & 15]);
    bits >>= 4;
  } while (bits != 0);
  if (static_cast<int32_t>(result.size()) < digits) result.append(static_cast<size_t>(digits) - result.size(), '0');
  std::reverse(result.begin(), result.end());
  return result;
}

namespace {

template <typename Int>
bool TryParse(AnsiStringView s, Int& value) noexcept {
  int32_t errorPos;
  Int parsed;
  if constexpr (sizeof(Int) == 4)
    parsed = Val(s, errorPos);
  else
    parsed = Val64(s, errorPos);
  if (errorPos != 0) return false;
  value = parsed;
  return true;
}

template <typename Int>
Int Parse(AnsiStringView s) {
  Int value;
  if (!TryParse(s, value)) throw EConvertError(Format(SInvalidInteger, {s}));
  return value;
}

}  // namespace

bool TryStrToInt(AnsiStringView s, int32_t& value) noexcept { return TryParse(s, value); }
int32_t StrToIntDef(AnsiStringView s, int32_t defaultValue) noexcept {
  TryParse(s, defaultValue);  // leaves the default on failure
  return defaultValue;
}
int32_t StrToInt(AnsiStringView s) { return Parse<int32_t>(s); }
bool TryStrToInt64(AnsiStringView s, int64_t& value) noexcept { return TryParse(s, value); }
int64_t StrToInt64Def(AnsiStringView s, int64_t defaultValue) noexcept {
  TryParse(s, defaultValue);
  return defaultValue;
}
int64_t StrToInt64(AnsiStringView s) { return Parse<int64_t>(s); }

bool TryStrToFloat(AnsiStringView s, double& value, const TFormatSettings& settings) {
  const AnsiString text = Trim(s);
  // Checked here so that from_chars sees only what the class library accepts (no
  // "inf", "nan", hexadecimal or group separators).
  AnsiString plain;
  size_t i = 0;
  auto digits = [&] {
    const size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') plain += text[i++];
    return i - start;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  size_t mantissaDigits = digits();
  if (i < text.size() && text[i] == settings.DecimalSeparator) {
    plain += '.';
    ++i;
    mantissaDigits += digits();
  }
  if (mantissaDigits == 0) return false;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    if (digits() == 0) return false;
  }
  if (i != text.size()) return false;
  double parsed;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
  if (error != std::errc() || end != plain.data() + plain.size()) return false;
  value = parsed;
  return true;
}

double StrToFloat(AnsiStringView s, const TFormatSettings& settings) {
  double value;
  if (!TryStrToFloat(s, value, settings)) throw EConvertError(Format(SInvalidFloat, {s}));
  return value;
}

double StrToFloatDef(AnsiStringView s, double defaultValue, const TFormatSettings& settings) {
  TryStrToFloat(s, defaultValue, settings);
  return defaultValue;
}
