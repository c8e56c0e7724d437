#include "platform/base/Utf8.h"

bool DecodeUtf8Sequence(std::string_view bytes, size_t at, uint32_t& value, size_t& consumed) {
  const auto lead = static_cast<uint8_t>(bytes[at]);
  consumed = 1;
  if (lead < 0x80) {
    value = lead;
    return true;
  }
  size_t need = 0;
  uint8_t low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1, value = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2, value = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no encoded surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3, value = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return false;
  }
  for (size_t k = 1; k <= need; ++k) {
    if (at + k >= bytes.size()) return false;
    const auto trail = static_cast<uint8_t>(bytes[at + k]);
    if (k == 1 ? (trail < low || trail > high) : (trail < 0x80 || trail > 0xBF)) return false;
    value = (value << 6) | (trail & 0x3Fu);
    consumed = k + 1;
  }
  return true;
}

void AppendUtf8(std::string& out, uint32_t value) {
  if (value < 0x80) {
    out.push_back(static_cast<char>(value));
  } else if (value < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (value >> 6)));
    out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
  } else if (value < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (value >> 12)));
    out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (value >> 18)));
    out.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
  }
}

void AppendUtf16(WideString& out, uint32_t value) {
  if (value < 0x10000) {
    out.push_back(static_cast<char16_t>(value));
    return;
  }
  out.push_back(HighSurrogateOf(value));
  out.push_back(LowSurrogateOf(value));
}
