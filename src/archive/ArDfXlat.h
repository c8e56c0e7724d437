// Maps match lengths and distances to the symbols and codes of Deflate, built at
// compile time from the decoder's base tables so that both sides agree.
#pragma once

#include <array>
#include <cstdint>

#include "archive/ArDfTbls.h"

namespace ArDfXlatTables {

constexpr uint32_t CodeOf(uint32_t distance) {
  uint32_t code = 0;
  while (code + 1 < DfDistanceBase.size() && DfDistanceBase[code + 1] <= distance) ++code;
  return code;
}

// Length − 3 to length symbol − 257.
inline constexpr std::array<uint8_t, 256> Lengths = [] {
  std::array<uint8_t, 256> table{};
  for (uint32_t symbol = 0; symbol < 28; ++symbol)
    for (uint32_t extra = 0; extra < (1u << DfLengthExtra[symbol]); ++extra)
      if (DfLengthBase[symbol] + extra - 3 < 256)
        table[DfLengthBase[symbol] + extra - 3] = static_cast<uint8_t>(symbol);
  table[DfMaxMatch - 3] = 28;
  return table;
}();
// Distance − 1 below 256.
inline constexpr std::array<uint8_t, 256> NearDistances = [] {
  std::array<uint8_t, 256> table{};
  for (uint32_t d = 0; d < 256; ++d) table[d] = static_cast<uint8_t>(CodeOf(d + 1));
  return table;
}();
// (Distance − 1) / 128 − 2 for distances 257..32768 (codes 16 on start at multiples of
// 128, plus 1).
inline constexpr std::array<uint8_t, 254> MidDistances = [] {
  std::array<uint8_t, 254> table{};
  for (uint32_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint8_t>(CodeOf(((i + 2) << 7) + 1));
  return table;
}();
// (Distance − 1) / 16384 − 2 for distances 32769..65536 (codes 30 and 31, deflate64).
inline constexpr std::array<uint8_t, 2> FarDistances{static_cast<uint8_t>(CodeOf(32769)),
                                                     static_cast<uint8_t>(CodeOf(49153))};

static_assert(Lengths[0] == 0 && Lengths[255] == 28 && Lengths[254] == 27);
static_assert(NearDistances[255] == 15 && MidDistances[0] == 16 && MidDistances[253] == 29);
static_assert(FarDistances[0] == 30 && FarDistances[1] == 31);

}  // namespace ArDfXlatTables

class TArDfTranslator {
public:
  // Length symbol − 257 for a length of 3 to 258 (258 is symbol 285, deflate's rule).
  static uint32_t LengthSymbolIndex(uint32_t length) { return ArDfXlatTables::Lengths[length - 3]; }
  // Deflate64: 285 carries 16 extra bits on a base of 3 and so serves every length
  // above 258; 258 itself is 284's largest value.
  static uint32_t LengthSymbolIndex64(uint32_t length) {
    if (length > DfMaxMatch) return 28;
    return length == DfMaxMatch ? 27 : ArDfXlatTables::Lengths[length - 3];
  }
  // Distance code for a distance of 1 to 65536.
  static uint32_t DistanceCode(uint32_t distance) {
    uint32_t d = distance - 1;
    if (d < 256) return ArDfXlatTables::NearDistances[d];
    if (d < 32768) return ArDfXlatTables::MidDistances[(d >> 7) - 2];
    return ArDfXlatTables::FarDistances[(d >> 14) - 2];
  }
};
