// Packed 2-bit pages of 600 x 800 pixels (four pixels a byte, the first in the high
// bits) made from fixed seeds: a page of text and a dithered photo. The LZSS benchmark
// times them and the differential test checks the compressor on them.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

inline constexpr int LZSSPageWidthPx = 600;
inline constexpr int LZSSPageHeightPx = 800;

// levels holds one 2-bit level (0 black .. 3 white) per pixel.
inline std::vector<uint8_t> PackLZSSPageLevels(const std::vector<uint8_t>& levels) {
  constexpr int Width = LZSSPageWidthPx, Height = LZSSPageHeightPx;
  std::vector<uint8_t> packed;
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; x += 4) {
      uint8_t b = 0;
      for (int k = 0; k < 4; ++k)
        b = static_cast<uint8_t>(b | levels[static_cast<size_t>(y * Width + x + k)] << (6 - 2 * k));
      packed.push_back(b);
    }
  return packed;
}

// Lines of words made of 40 glyph shapes with dark strokes and lighter edges.
inline std::vector<uint8_t> LZSSTextPage() {
  constexpr int Width = LZSSPageWidthPx, Height = LZSSPageHeightPx;
  std::mt19937 random(1);
  struct Glyph {
    int Width;
    std::array<std::array<uint8_t, 12>, 16> Rows;
  };
  std::vector<Glyph> glyphs(40);
  for (Glyph& g : glyphs) {
    g.Width = 5 + static_cast<int>(random() % 6);
    for (auto& row : g.Rows) row.fill(3);
    for (int stroke = 0; stroke < 3; ++stroke) {
      const bool vertical = random() % 2;
      const int at = static_cast<int>(random() % (vertical ? g.Width : 16));
      for (int t = 0; t < (vertical ? 16 : g.Width); ++t) {
        const int x = vertical ? at : t, y = vertical ? t : at;
        g.Rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = 0;
        if (x + 1 < g.Width) g.Rows[static_cast<size_t>(y)][static_cast<size_t>(x + 1)] &= 2;
        if (y + 1 < 16) g.Rows[static_cast<size_t>(y + 1)][static_cast<size_t>(x)] &= 1 | 2;
      }
    }
  }
  std::vector<uint8_t> page(static_cast<size_t>(Width * Height), 3);
  for (int line = 40; line + 16 < Height - 40; line += 22) {
    int x = 40 + (line % 3 == 0 ? 30 : 0);
    while (true) {
      const int letters = 2 + static_cast<int>(random() % 8);
      int wordWidth = 0;
      std::vector<const Glyph*> word;
      for (int i = 0; i < letters; ++i) {
        word.push_back(&glyphs[random() % glyphs.size()]);
        wordWidth += word.back()->Width + 1;
      }
      if (x + wordWidth > Width - 40) break;
      for (const Glyph* g : word) {
        for (int y = 0; y < 16; ++y)
          for (int gx = 0; gx < g->Width; ++gx)
            page[static_cast<size_t>((line + y) * Width + x + gx)] =
                g->Rows[static_cast<size_t>(y)][static_cast<size_t>(gx)];
        x += g->Width + 1;
      }
      x += 6;
    }
  }
  return PackLZSSPageLevels(page);
}

// A smooth scene with texture, Floyd-Steinberg dithered to four levels.
inline std::vector<uint8_t> LZSSPhotoPage() {
  constexpr int Width = LZSSPageWidthPx, Height = LZSSPageHeightPx;
  std::mt19937 random(2);
  std::normal_distribution<double> noise(0.0, 6.0);
  std::vector<double> gray(static_cast<size_t>(Width * Height));
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) {
      const double dx = x - 300.0, dy = y - 350.0;
      const double v = 128 + 70 * std::sin(x / 37.0) * std::cos(y / 53.0) - 0.12 * std::sqrt(dx * dx + dy * dy) +
                       40 * std::sin((x + y) / 11.0) * (y > 500 ? 1 : 0.2) + noise(random);
      gray[static_cast<size_t>(y * Width + x)] = v;
    }
  std::vector<uint8_t> page(gray.size());
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) {
      const size_t i = static_cast<size_t>(y * Width + x);
      const double old = gray[i];
      const int level = std::clamp(static_cast<int>(std::lround(old / 85.0)), 0, 3);
      page[i] = static_cast<uint8_t>(level);
      const double error = old - level * 85.0;
      if (x + 1 < Width) gray[i + 1] += error * 7 / 16;
      if (y + 1 < Height) {
        if (x > 0) gray[i + Width - 1] += error * 3 / 16;
        gray[i + Width] += error * 5 / 16;
        if (x + 1 < Width) gray[i + Width + 1] += error * 1 / 16;
      }
    }
  return PackLZSSPageLevels(page);
}
