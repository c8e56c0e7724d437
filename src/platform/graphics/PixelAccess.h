// Reading and writing single pixels of a scan line in any supported pixel format.
//
// Rows hold 1-bit pixels leftmost in the high bit, 4-bit pixels leftmost in the high
// nibble, 8-bit indices, and 24- and 32-bit pixels as blue, green, red (and a fourth,
// unused byte). Callers pass rows and columns that lie inside the bitmap.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "platform/graphics/Palette.h"

struct TRgb {
  uint8_t R = 0;
  uint8_t G = 0;
  uint8_t B = 0;
  friend bool operator==(const TRgb&, const TRgb&) = default;
};

inline uint32_t GetPixelIndex(const uint8_t* row, int32_t x, int32_t bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1:
      return (uint32_t{row[x >> 3]} >> (7 - (x & 7))) & 1u;
    case 4:
      return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    default:
      return row[x];
  }
}

inline void SetPixelIndex(uint8_t* row, int32_t x, int32_t bitsPerPixel, uint32_t index) {
  switch (bitsPerPixel) {
    case 1: {
      const uint8_t mask = static_cast<uint8_t>(0x80u >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>((index & 1u) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask));
      break;
    }
    case 4: {
      uint8_t& b = row[x >> 1];
      b = (x & 1) ? static_cast<uint8_t>((b & 0xF0u) | (index & 0x0Fu))
                  : static_cast<uint8_t>((b & 0x0Fu) | ((index & 0x0Fu) << 4));
      break;
    }
    default:
      row[x] = static_cast<uint8_t>(index);
      break;
  }
}

// The colour of a pixel; an index past the end of the colour table reads as black.
inline TRgb ReadPixelRgb(const uint8_t* row, int32_t x, int32_t bitsPerPixel, std::span<const TPaletteEntry> colors) {
  if (bitsPerPixel >= 24) {
    const uint8_t* p = row + x * (bitsPerPixel / 8);
    return TRgb{p[2], p[1], p[0]};
  }
  const uint32_t index = GetPixelIndex(row, x, bitsPerPixel);
  if (index >= colors.size()) return TRgb{};
  return TRgb{colors[index].peRed, colors[index].peGreen, colors[index].peBlue};
}

// Writes a colour into a 24- or 32-bit row.
inline void WritePixelRgb(uint8_t* row, int32_t x, int32_t bitsPerPixel, TRgb c) {
  uint8_t* p = row + x * (bitsPerPixel / 8);
  p[0] = c.B;
  p[1] = c.G;
  p[2] = c.R;
  if (bitsPerPixel == 32) p[3] = 0;
}

// Nearest colour-table index (NearestPaletteIndex) with a direct-mapped cache keyed by
// the whole colour, so repeated colours cost one table read and results stay exact.
class TNearestColorMap {
public:
  explicit TNearestColorMap(std::span<const TPaletteEntry> colors) : FColors(colors) { FKeys.fill(kEmpty); }

  uint32_t Index(TRgb c) {
    const uint32_t key =
        static_cast<uint32_t>(c.R) | (static_cast<uint32_t>(c.G) << 8) | (static_cast<uint32_t>(c.B) << 16);
    const uint32_t slot = (key * 2654435761u) >> (32 - kSlotBits);
    if (FKeys[slot] != key) {
      FKeys[slot] = key;
      FIndices[slot] = static_cast<uint8_t>(NearestPaletteIndex(FColors, c.R, c.G, c.B));
    }
    return FIndices[slot];
  }

private:
  static constexpr int kSlotBits = 12;
  static constexpr uint32_t kEmpty = 0xFFFFFFFFu;  // no colour has a high byte
  std::span<const TPaletteEntry> FColors;
  std::array<uint32_t, 1u << kSlotBits> FKeys;
  std::array<uint8_t, 1u << kSlotBits> FIndices{};
};
