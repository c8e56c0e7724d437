#include "platform/graphics/Palette.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

uint32_t Rgb(const TPaletteEntry& e) { return static_cast<uint32_t>(e.peRed << 16 | e.peGreen << 8 | e.peBlue); }

std::vector<uint32_t> RgbOf(std::span<const TPaletteEntry> table) {
  std::vector<uint32_t> out;
  for (const auto& e : table) out.push_back(Rgb(e));
  return out;
}

}  // namespace

TEST(Palette, StandardTablesHaveTheirFixedOrder) {
  EXPECT_EQ(RgbOf(MonochromeColorTable()), (std::vector<uint32_t>{0x000000, 0xFFFFFF}));
  EXPECT_EQ(RgbOf(StandardColorTable16()),
            (std::vector<uint32_t>{0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
                                   0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF}));
  EXPECT_EQ(RgbOf(SystemColorTable20()),
            (std::vector<uint32_t>{0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
                                   0xC0C0C0, 0xC0DCC0, 0xA6CAF0, 0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000,
                                   0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF}));
}

TEST(Palette, TheStockPaletteHoldsTheTwentySystemColours) {
  const HPALETTE stock = DefaultPalette();
  EXPECT_EQ(stock, DefaultPalette());
  std::vector<TPaletteEntry> entries(256);
  EXPECT_EQ(GetPaletteEntries(stock, 0, 256, entries.data()), 20u);
  EXPECT_EQ(Rgb(entries[9]), 0xA6CAF0u);
  EXPECT_EQ(GetPaletteEntries(stock, 0, 0, nullptr), 20u);
}

TEST(Palette, EntriesAreCopiedFromTheRequestedStart) {
  TLogPalette log;
  for (int i = 0; i < 300; ++i) log.palPalEntry.push_back({static_cast<uint8_t>(i), 0, 0, PC_NOCOLLAPSE});
  const HPALETTE palette = CreatePalette(log);
  EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 256u);  // at most 256 are taken
  TPaletteEntry two[2];
  EXPECT_EQ(GetPaletteEntries(palette, 254, 10, two), 2u);
  EXPECT_EQ(two[1].peRed, 255);
  EXPECT_EQ(two[1].peFlags, PC_NOCOLLAPSE);
  EXPECT_EQ(GetPaletteEntries(palette, 256, 1, two), 0u);
  EXPECT_EQ(GetPaletteEntries(HPALETTE{}, 0, 1, two), 0u);
}

TEST(Palette, NearestEntryUsesSquaredDistanceAndTheLowestIndexOnTies) {
  const std::vector<TPaletteEntry> table{{0, 0, 0, 0}, {100, 0, 0, 0}, {0, 0, 0, 0}, {60, 60, 0, 0}};
  const struct {
    uint8_t R, G, B;
    uint32_t Index;
  } cases[] = {
      {0, 0, 0, 0},   // an exact colour keeps its first index
      {50, 0, 0, 0},  // 2500 against 2500: the lower index
      {51, 0, 0, 1}, {70, 30, 0, 3}, {255, 255, 255, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.R) << "," << int(c.G) << "," << int(c.B));
    EXPECT_EQ(NearestPaletteIndex(table, c.R, c.G, c.B), c.Index);
  }
  // Squares, not sums of differences: 30² + 30² = 1800 beats 50² = 2500.
  EXPECT_EQ(NearestPaletteIndex(std::vector<TPaletteEntry>{{50, 0, 0, 0}, {30, 30, 0, 0}}, 0, 0, 0), 1u);
  EXPECT_EQ(NearestPaletteIndex({}, 1, 2, 3), 0u);
}
