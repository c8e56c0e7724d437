// The constant tables of Deflate (RFC 1951) with the deflate64 additions: length symbol
// 285 carries 16 extra bits on a base of 3, distance codes 30 and 31 reach 64 KB.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr int DfFirstLengthSymbol = 257;
inline constexpr int DfEndOfBlock = 256;
inline constexpr int DfMaxLiteralCodes = 286;  // in a dynamic block header
inline constexpr int DfMaxDistanceCodes = 30;  // deflate; deflate64 uses all 32
inline constexpr int DfCodeLengthCodes = 19;
inline constexpr int DfMaxCodeBits = 15;
inline constexpr int DfMaxCodeLengthBits = 7;
inline constexpr int DfMaxMatch = 258;
inline constexpr int Df64MaxMatch = 65538;  // 3 + 0xFFFF

// Symbols 257..285.
inline constexpr std::array<uint16_t, 29> DfLengthBase{3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 3};
inline constexpr std::array<uint8_t, 29> DfLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 16};
// Codes 0..31 (30 and 31 only in deflate64).
inline constexpr std::array<uint32_t, 32> DfDistanceBase{
    1,   2,   3,   4,   5,    7,    9,    13,   17,   25,   33,   49,    65,    97,    129,   193,
    257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
inline constexpr std::array<uint8_t, 32> DfDistanceExtra{0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
                                                         7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
// The order in which a dynamic header gives the code-length code lengths.
inline constexpr std::array<uint8_t, DfCodeLengthCodes> DfCodeLengthOrder{16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                                          11, 4,  12, 3, 13, 2, 14, 1, 15};

// Each base plus its largest extra value meets the next base: no length or distance is
// missing or reachable twice.
static_assert(DfLengthBase[27] + (1 << DfLengthExtra[27]) - 1 == 258);
static_assert(DfLengthBase[28] + (1 << DfLengthExtra[28]) - 1 == Df64MaxMatch);
static_assert([] {
  for (size_t i = 0; i + 1 < 32; ++i)
    if (DfDistanceBase[i] + (1u << DfDistanceExtra[i]) != DfDistanceBase[i + 1]) return false;
  for (size_t i = 0; i + 1 < 28; ++i)
    if (DfLengthBase[i] + (1 << DfLengthExtra[i]) != DfLengthBase[i + 1]) return false;
  return true;
}());
static_assert(DfDistanceBase[29] + (1u << DfDistanceExtra[29]) - 1 == 32768);
static_assert(DfDistanceBase[31] + (1u << DfDistanceExtra[31]) - 1 == 65536);
