// Little-endian integers in byte buffers, read and written byte by byte, so that no
// format depends on the machine's byte order or alignment.
#pragma once

#include <cstdint>

constexpr uint16_t LoadLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

constexpr uint32_t LoadLE32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

constexpr void StoreLE16(uint8_t* p, uint16_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
}

constexpr void StoreLE32(uint8_t* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

// Appends to a byte container (std::vector<uint8_t>, std::string).
template <typename TBytes>
void AppendLE16(TBytes& bytes, uint16_t value) {
  uint8_t stored[2];
  StoreLE16(stored, value);
  bytes.insert(bytes.end(), stored, stored + 2);
}

template <typename TBytes>
void AppendLE32(TBytes& bytes, uint32_t value) {
  uint8_t stored[4];
  StoreLE32(stored, value);
  bytes.insert(bytes.end(), stored, stored + 4);
}
