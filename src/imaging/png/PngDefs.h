// The byte layout of a PNG file: the signature, the framing of a chunk, the fields of
// the chunks this codec reads, the colour types, the row filters and the Adam7 passes.
//
// Integers in a PNG file are big-endian; they are read and written byte by byte with
// the helpers at the end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// --- Signature and chunk framing ----------------------------------------------------

inline constexpr std::array<uint8_t, 8> PngSignature{137, 80, 78, 71, 13, 10, 26, 10};

// A chunk: length (u32, data bytes only), type (4 letters), data, CRC-32 over type and data.
inline constexpr size_t PngChunkLengthBytes = 4;
inline constexpr size_t PngChunkTypeBytes = 4;
inline constexpr size_t PngChunkCrcBytes = 4;
inline constexpr size_t PngChunkFramingBytes = PngChunkLengthBytes + PngChunkTypeBytes + PngChunkCrcBytes;
static_assert(PngChunkFramingBytes == 12);

using TChunkType = std::array<uint8_t, 4>;

consteval TChunkType ChunkTypeOf(const char (&name)[5]) {
  return TChunkType{static_cast<uint8_t>(name[0]), static_cast<uint8_t>(name[1]), static_cast<uint8_t>(name[2]),
                    static_cast<uint8_t>(name[3])};
}

// Bit 5 of the first letter clear (upper case): a critical chunk.
constexpr bool IsCriticalChunk(const TChunkType& type) { return (type[0] & 0x20) == 0; }

// --- IHDR (13 bytes) ----------------------------------------------------------------

inline constexpr size_t IhdrWidth = 0;         // u32 pixels
inline constexpr size_t IhdrHeight = 4;        // u32 pixels
inline constexpr size_t IhdrBitDepth = 8;      // bits per sample (per index for palettes)
inline constexpr size_t IhdrColorType = 9;     // PngColor* below
inline constexpr size_t IhdrCompression = 10;  // 0: deflate
inline constexpr size_t IhdrFilter = 11;       // 0: the five row filters
inline constexpr size_t IhdrInterlace = 12;    // 0 none, 1 Adam7
inline constexpr size_t IhdrBytes = 13;
static_assert(IhdrInterlace + 1 == IhdrBytes && IhdrBitDepth == IhdrHeight + 4);

// --- Other chunks with fields ---------------------------------------------------------

inline constexpr size_t GamaBytes = 4;  // u32 gamma × 100000
inline constexpr size_t PhysX = 0;      // u32 pixels per unit, X
inline constexpr size_t PhysY = 4;      // u32 pixels per unit, Y
inline constexpr size_t PhysUnit = 8;   // 0 unknown, 1 metre
inline constexpr size_t PhysBytes = 9;
static_assert(PhysUnit + 1 == PhysBytes);
inline constexpr size_t TimeYear = 0;   // u16
inline constexpr size_t TimeMonth = 2;  // then day, hour, minute, second: one byte each
inline constexpr size_t TimeBytes = 7;
static_assert(TimeMonth + 5 == TimeBytes);
inline constexpr size_t PaletteEntryBytes = 3;  // red, green, blue
inline constexpr size_t MaxPaletteEntries = 256;
inline constexpr size_t MaxTransparencyBytes = 256;

// --- Colour types and bit depths ------------------------------------------------------

inline constexpr uint8_t PngColorGray = 0;
inline constexpr uint8_t PngColorRGB = 2;
inline constexpr uint8_t PngColorPalette = 3;
inline constexpr uint8_t PngColorGrayAlpha = 4;
inline constexpr uint8_t PngColorRGBAlpha = 6;

// The bit depths the format allows for a colour type.
constexpr bool IsValidColorAndDepth(uint8_t colorType, uint8_t bitDepth) {
  switch (colorType) {
    case PngColorGray:
      return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case PngColorPalette:
      return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case PngColorRGB:
    case PngColorGrayAlpha:
    case PngColorRGBAlpha:
      return bitDepth == 8 || bitDepth == 16;
    default:
      return false;
  }
}

// --- Row filters ------------------------------------------------------------------------

inline constexpr uint8_t PngFilterNone = 0;
inline constexpr uint8_t PngFilterSub = 1;
inline constexpr uint8_t PngFilterUp = 2;
inline constexpr uint8_t PngFilterAverage = 3;
inline constexpr uint8_t PngFilterPaeth = 4;
inline constexpr int PngFilterCount = 5;

// --- Adam7 interlacing ------------------------------------------------------------------

struct TAdam7Pass {
  int32_t StartRow, StartColumn, RowStep, ColumnStep;
};
inline constexpr std::array<TAdam7Pass, 7> Adam7Passes{
    {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4}, {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}}};

// --- Big-endian helpers -------------------------------------------------------------------

constexpr uint16_t LoadBE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }
constexpr uint32_t LoadBE32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}
constexpr void StoreBE16(uint8_t* p, uint16_t value) {
  p[0] = static_cast<uint8_t>(value >> 8);
  p[1] = static_cast<uint8_t>(value);
}
constexpr void StoreBE32(uint8_t* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}
