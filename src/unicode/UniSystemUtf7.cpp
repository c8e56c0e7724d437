// UTF-7 (RFC 2152) to and from UTF-16.
//
// Encoder state: `inRun` tells whether a base64 run is open; `bits` holds the `bitCount`
// low bits not yet written as a 6-bit digit. Decoder state: the same pair, plus the
// number of UTF-16 units the current run has produced.
#include <array>

#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

constexpr char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// Characters written directly: RFC 2152 Set D, Set O and the blanks.
constexpr char kSetD[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:?";
constexpr char kSetO[] = "!\"#$%&*;<=>@[]^_`{|}";
constexpr char kBlanks[] = "\t\r\n ";

constexpr std::array<int8_t, 128> MakeBase64Values() {
  std::array<int8_t, 128> values{};
  for (auto& value : values) value = -1;
  for (int8_t i = 0; i < 64; ++i) values[static_cast<unsigned char>(kBase64Digits[i])] = i;
  return values;
}

constexpr std::array<bool, 128> MakeDirectSet() {
  std::array<bool, 128> direct{};
  for (const char* set : {kSetD, kSetO, kBlanks})
    for (const char* c = set; *c != 0; ++c) direct[static_cast<unsigned char>(*c)] = true;
  return direct;
}

constexpr std::array<int8_t, 128> kBase64Values = MakeBase64Values();
constexpr std::array<bool, 128> kDirect = MakeDirectSet();
static_assert(sizeof kBase64Digits == 65);

int Base64Value(unsigned char c) { return c < 128 ? kBase64Values[c] : -1; }

[[noreturn]] void RaiseInvalidUtf7() { throw EUniGeneralError("Invalid UTF7"); }

}  // namespace

AnsiString WideToUtf7(WideStringView text) {
  AnsiString out;
  out.reserve(text.size());
  bool inRun = false;
  uint32_t bits = 0;
  int bitCount = 0;
  auto closeRun = [&](WideChar next, bool atEnd) {
    if (bitCount > 0) out += kBase64Digits[(bits << (6 - bitCount)) & 0x3F];
    bits = 0;
    bitCount = 0;
    inRun = false;
    // The minus sign is needed only where the next character would read as part of the run.
    if (!atEnd && (next == u'-' || (next < 128 && Base64Value(static_cast<unsigned char>(next)) >= 0))) out += '-';
  };
  for (WideChar c : text) {
    const bool direct = c == u'+' || (c < 128 && kDirect[c]);
    if (direct) {
      if (inRun) closeRun(c, false);
      out += static_cast<char>(c);
      if (c == u'+') out += '-';
      continue;
    }
    if (!inRun) {
      out += '+';
      inRun = true;
    }
    bits = (bits << 16) | c;
    bitCount += 16;
    while (bitCount >= 6) {
      bitCount -= 6;
      out += kBase64Digits[(bits >> bitCount) & 0x3F];
    }
    bits &= (1u << bitCount) - 1;
  }
  if (inRun) closeRun(0, true);
  return out;
}

WideString Utf7ToWide(AnsiStringView text) {
  WideString out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c > 127) RaiseInvalidUtf7();
    ++i;
    if (c != '+') {
      out += static_cast<WideChar>(c);
      continue;
    }
    if (i < text.size() && text[i] == '-') {
      out += u'+';
      ++i;
      continue;
    }
    uint32_t bits = 0;
    int bitCount = 0;
    size_t produced = 0;
    for (int value; i < text.size() && (value = Base64Value(static_cast<unsigned char>(text[i]))) >= 0; ++i) {
      bits = (bits << 6) | static_cast<uint32_t>(value);
      bitCount += 6;
      if (bitCount >= 16) {
        bitCount -= 16;
        out += static_cast<WideChar>(bits >> bitCount);
        bits &= (1u << bitCount) - 1;
        ++produced;
      }
    }
    if (produced == 0 || bits != 0) RaiseInvalidUtf7();
    if (i < text.size() && text[i] == '-') ++i;  // the run's terminator is not text
  }
  return out;
}
