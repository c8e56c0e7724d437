// The page-image compressor beside zlib's deflate at level 6, on the same packed 2-bit
// pages of 600 x 800 pixels: a page of text (white with lines of anti-aliased glyphs)
// and a photo dithered to four gray levels. Both inputs are made here from fixed seeds.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "wolf/uLZSS32.h"

namespace {

constexpr int Width = 600;
constexpr int Height = 800;

using Levels = std::vector<uint8_t>;  // one 2-bit level (0 black .. 3 white) per pixel

std::vector<uint8_t> Pack(const Levels& levels) {
  std::vector<uint8_t> packed;
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; x += 4) {
      uint8_t b = 0;
      for (int k = 0; k < 4; ++k) b = static_cast<uint8_t>(b | levels[static_cast<size_t>(y * Width + x + k)] << (6 - 2 * k));
      packed.push_back(b);
    }
  return packed;
}

// Lines of words made of 40 glyph shapes with dark strokes and lighter edges.
std::vector<uint8_t> TextPage() {
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
  Levels page(static_cast<size_t>(Width * Height), 3);
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
            page[static_cast<size_t>((line + y) * Width + x + gx)] = g->Rows[static_cast<size_t>(y)][static_cast<size_t>(gx)];
        x += g->Width + 1;
      }
      x += 6;
    }
  }
  return Pack(page);
}

// A smooth scene with texture, Floyd-Steinberg dithered to four levels.
std::vector<uint8_t> PhotoPage() {
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
  Levels page(gray.size());
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
  return Pack(page);
}

const std::vector<uint8_t>& Input(int64_t which) {
  static const std::vector<uint8_t> text = TextPage();
  static const std::vector<uint8_t> photo = PhotoPage();
  return which == 0 ? text : photo;
}

void LZSS(benchmark::State& state) {
  const std::vector<uint8_t>& input = Input(state.range(0));
  TLZSSCompressor compressor;
  size_t outBytes = 0;
  for (auto _ : state) {
    size_t taken = 0;
    outBytes = 0;
    compressor.LZSSCompress(
        [&](uint8_t* buffer, int32_t availBytes) {
          const size_t n = std::min(input.size() - taken, static_cast<size_t>(availBytes));
          std::copy_n(input.begin() + static_cast<std::ptrdiff_t>(taken), n, buffer);
          taken += n;
          return static_cast<int32_t>(n);
        },
        [&](const uint8_t*, int32_t countBytes) { outBytes += static_cast<size_t>(countBytes); });
    benchmark::DoNotOptimize(outBytes);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(input.size()));
  state.counters["out_bytes"] = static_cast<double>(outBytes);
  state.SetLabel(state.range(0) == 0 ? "text page" : "dithered photo");
}

void Zlib6(benchmark::State& state) {
  const std::vector<uint8_t>& input = Input(state.range(0));
  std::vector<uint8_t> out(compressBound(static_cast<uLong>(input.size())));
  uLongf outBytes = 0;
  for (auto _ : state) {
    outBytes = static_cast<uLongf>(out.size());
    if (compress2(out.data(), &outBytes, input.data(), static_cast<uLong>(input.size()), 6) != Z_OK)
      state.SkipWithError("compress2 failed");
    benchmark::DoNotOptimize(outBytes);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(input.size()));
  state.counters["out_bytes"] = static_cast<double>(outBytes);
  state.SetLabel(state.range(0) == 0 ? "text page" : "dithered photo");
}

}  // namespace

BENCHMARK(LZSS)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(Zlib6)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
