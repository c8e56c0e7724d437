// Logical palettes and the three standard colour tables of the raster layer.
//
// A palette handle is a shared, immutable list of entries: bitmaps and callers that keep
// a handle keep the entries alive, so nothing has to delete it. An empty handle is the
// "no palette" of the drawing calls.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

struct TPaletteEntry {
  uint8_t peRed = 0;
  uint8_t peGreen = 0;
  uint8_t peBlue = 0;
  uint8_t peFlags = 0;
  friend bool operator==(const TPaletteEntry&, const TPaletteEntry&) = default;
};

// peFlags: the entry is never merged with a system entry of the same colour.
inline constexpr uint8_t PC_NOCOLLAPSE = 0x04;

struct TLogPalette {
  uint16_t palVersion = 0x300;
  std::vector<TPaletteEntry> palPalEntry;
};

using HPALETTE = std::shared_ptr<const TLogPalette>;

// A palette holding a copy of logPalette's entries (at most 256 are taken).
HPALETTE CreatePalette(const TLogPalette& logPalette);
// Copies up to count entries from index start into entries and returns how many were
// copied; with entries null, returns the palette's number of entries. An empty handle
// gives 0.
uint32_t GetPaletteEntries(const HPALETTE& palette, uint32_t start, uint32_t count, TPaletteEntry* entries);
// The stock palette (DEFAULT_PALETTE): the 20 static colours of the system palette.
HPALETTE DefaultPalette();

// Colour tables of the pixel formats, index order fixed: 1 bit black and white; 4 bits
// the 16 colours of the class library (the grays black, 0x80, 0xC0 and white at 0, 7, 8
// and 15); 20 static system colours.
std::span<const TPaletteEntry> MonochromeColorTable();
std::span<const TPaletteEntry> StandardColorTable16();
std::span<const TPaletteEntry> SystemColorTable20();

// The entry nearest to (red, green, blue) by squared distance in RGB; the lowest index
// wins a tie, so a colour that is in the table keeps its first index. 0 for an empty
// table.
uint32_t NearestPaletteIndex(std::span<const TPaletteEntry> colors, uint8_t red, uint8_t green, uint8_t blue);
