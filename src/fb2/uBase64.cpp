#include "fb2/uBase64.h"

#include <array>
#include <cstdint>
#include <vector>

namespace {

constexpr uint8_t NotADigit = 0xFF;
constexpr uint8_t Padding = 0xFE;

constexpr std::array<uint8_t, 128> MakeDigitValues() {
  std::array<uint8_t, 128> values{};
  for (uint8_t& v : values) v = NotADigit;
  constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (uint8_t i = 0; i < 64; ++i) values[static_cast<uint8_t>(Alphabet[i])] = i;
  values['='] = Padding;
  return values;
}
constexpr std::array<uint8_t, 128> DigitValues = MakeDigitValues();
static_assert(DigitValues['A'] == 0 && DigitValues['a'] == 26 && DigitValues['0'] == 52 && DigitValues['/'] == 63);

bool IsSkippedWhiteSpace(WideChar c) { return c == 9 || c == 10 || c == 13 || c == 32; }

uint8_t DigitValue(WideChar c) { return c < DigitValues.size() ? DigitValues[c] : NotADigit; }

// Decodes one group of four values into `out`; false for a group that breaks the rules.
bool DecodeGroup(const uint8_t (&v)[4], std::vector<uint8_t>& out) {
  if (v[0] == Padding || v[1] == Padding) return false;
  out.push_back(static_cast<uint8_t>((v[0] << 2) | (v[1] >> 4)));
  if (v[2] == Padding) return true;
  out.push_back(static_cast<uint8_t>((v[1] << 4) | (v[2] >> 2)));
  if (v[3] == Padding) return true;
  out.push_back(static_cast<uint8_t>((v[2] << 6) | v[3]));
  return true;
}

}  // namespace

bool Base64Decode(WideStringView text, TStream& stream) {
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 4 * 3);
  uint8_t group[4];
  int32_t inGroup = 0;
  bool decoded = true;
  for (WideChar c : text) {
    if (IsSkippedWhiteSpace(c)) continue;
    const uint8_t value = DigitValue(c);
    if (value == NotADigit) {
      decoded = false;
      break;
    }
    group[inGroup++] = value;
    if (inGroup == 4) {
      inGroup = 0;
      if (!DecodeGroup(group, bytes)) {
        decoded = false;
        break;
      }
    }
  }
  // No whole group at all, or a last group cut after two or three characters.
  if (bytes.empty() || inGroup > 1) decoded = false;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  return decoded;
}
