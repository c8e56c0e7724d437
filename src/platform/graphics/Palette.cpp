#include "platform/graphics/Palette.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<TPaletteEntry, 2> kMonochrome{{{0x00, 0x00, 0x00, 0}, {0xFF, 0xFF, 0xFF, 0}}};

constexpr std::array<TPaletteEntry, 16> kStandard16{{
    {0x00, 0x00, 0x00, 0},
    {0x80, 0x00, 0x00, 0},
    {0x00, 0x80, 0x00, 0},
    {0x80, 0x80, 0x00, 0},
    {0x00, 0x00, 0x80, 0},
    {0x80, 0x00, 0x80, 0},
    {0x00, 0x80, 0x80, 0},
    {0x80, 0x80, 0x80, 0},
    {0xC0, 0xC0, 0xC0, 0},
    {0xFF, 0x00, 0x00, 0},
    {0x00, 0xFF, 0x00, 0},
    {0xFF, 0xFF, 0x00, 0},
    {0x00, 0x00, 0xFF, 0},
    {0xFF, 0x00, 0xFF, 0},
    {0x00, 0xFF, 0xFF, 0},
    {0xFF, 0xFF, 0xFF, 0},
}};

// The first ten and last ten entries of the system palette; 8 to 11 are the "money
// green", "sky blue", "cream" and "medium gray" of the static colours.
constexpr std::array<TPaletteEntry, 20> kSystem20{{
    {0x00, 0x00, 0x00, 0}, {0x80, 0x00, 0x00, 0}, {0x00, 0x80, 0x00, 0}, {0x80, 0x80, 0x00, 0}, {0x00, 0x00, 0x80, 0},
    {0x80, 0x00, 0x80, 0}, {0x00, 0x80, 0x80, 0}, {0xC0, 0xC0, 0xC0, 0}, {0xC0, 0xDC, 0xC0, 0}, {0xA6, 0xCA, 0xF0, 0},
    {0xFF, 0xFB, 0xF0, 0}, {0xA0, 0xA0, 0xA4, 0}, {0x80, 0x80, 0x80, 0}, {0xFF, 0x00, 0x00, 0}, {0x00, 0xFF, 0x00, 0},
    {0xFF, 0xFF, 0x00, 0}, {0x00, 0x00, 0xFF, 0}, {0xFF, 0x00, 0xFF, 0}, {0x00, 0xFF, 0xFF, 0}, {0xFF, 0xFF, 0xFF, 0},
}};

constexpr size_t kMaxPaletteEntries = 256;

}  // namespace

HPALETTE CreatePalette(const TLogPalette& logPalette) {
  auto palette = std::make_shared<TLogPalette>();
  palette->palVersion = logPalette.palVersion;
  const size_t count = std::min(logPalette.palPalEntry.size(), kMaxPaletteEntries);
  palette->palPalEntry.assign(logPalette.palPalEntry.begin(),
                              logPalette.palPalEntry.begin() + static_cast<std::ptrdiff_t>(count));
  return palette;
}

uint32_t GetPaletteEntries(const HPALETTE& palette, uint32_t start, uint32_t count, TPaletteEntry* entries) {
  if (!palette) return 0;
  const auto& all = palette->palPalEntry;
  if (entries == nullptr) return static_cast<uint32_t>(all.size());
  if (start >= all.size()) return 0;
  const uint32_t copied = std::min<uint32_t>(count, static_cast<uint32_t>(all.size() - start));
  std::copy_n(all.begin() + start, copied, entries);
  return copied;
}

HPALETTE DefaultPalette() {
  static const HPALETTE stock = CreatePalette(TLogPalette{0x300, {kSystem20.begin(), kSystem20.end()}});
  return stock;
}

std::span<const TPaletteEntry> MonochromeColorTable() { return kMonochrome; }
std::span<const TPaletteEntry> StandardColorTable16() { return kStandard16; }
std::span<const TPaletteEntry> SystemColorTable20() { return kSystem20; }

uint32_t NearestPaletteIndex(std::span<const TPaletteEntry> colors, uint8_t red, uint8_t green, uint8_t blue) {
  uint32_t best = 0;
  int32_t bestDistance = INT32_MAX;
  for (uint32_t i = 0; i < colors.size(); ++i) {
    const int32_t dr = colors[i].peRed - red;
    const int32_t dg = colors[i].peGreen - green;
    const int32_t db = colors[i].peBlue - blue;
    const int32_t distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
      if (distance == 0) break;
    }
  }
  return best;
}
