// The page path of a book: a rendered 600 × 800 page of text turned gray and reduced to
// four levels (Stucki) or to two; and the resampling of a book image.
//
// The page is synthetic but shaped like rendered text: lines of words of small glyphs
// with antialiased edges, some of them coloured as sub-pixel smoothing leaves them, on
// white; about an eighth of the pixels are not white.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "imaging/uGrayBitmap.h"
#include "imaging/uReduceColors.h"
#include "imaging/uResample.h"
#include "platform/graphics/PixelAccess.h"

namespace {

constexpr int32_t kPageWidth = 600;
constexpr int32_t kPageHeight = 800;

class TRandom {
public:
  explicit TRandom(uint32_t seed) : FState(seed) {}
  uint32_t Next(uint32_t bound) {
    FState = FState * 1103515245u + 12345u;
    return (FState >> 8) % bound;
  }

private:
  uint32_t FState;
};

void PutPixel(TBitmap& page, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
  WritePixelRgb(page.ScanLine(y), x, 24, TRgb{r, g, b});
}

std::unique_ptr<TBitmap> TextPage() {
  auto page = std::make_unique<TBitmap>();
  page->SetPixelFormat(pf24bit);
  page->SetSize(kPageWidth, kPageHeight);
  TRandom random(2024);
  constexpr int32_t kMargin = 30, kLineHeight = 19, kGlyphWidth = 7, kGlyphHeight = 11;
  for (int32_t top = kMargin; top + kLineHeight < kPageHeight - kMargin; top += kLineHeight) {
    int32_t x = kMargin;
    while (true) {
      const int32_t letters = 2 + static_cast<int32_t>(random.Next(9));
      if (x + letters * kGlyphWidth > kPageWidth - kMargin) break;
      for (int32_t l = 0; l < letters; ++l, x += kGlyphWidth)
        for (int32_t gy = 0; gy < kGlyphHeight; ++gy)
          for (int32_t gx = 1; gx < kGlyphWidth - 1; ++gx) {
            const uint32_t roll = random.Next(100);
            if (roll < 12) {
              PutPixel(*page, x + gx, top + gy, 0, 0, 0);  // stem
            } else if (roll < 18) {
              const auto level = static_cast<uint8_t>(64 + random.Next(160));  // antialiased edge
              PutPixel(*page, x + gx, top + gy, level, level, level);
            } else if (roll < 21) {
              const auto level = static_cast<uint8_t>(random.Next(256));  // coloured fringe
              PutPixel(*page, x + gx, top + gy, level, static_cast<uint8_t>(255 - level / 2),
                       static_cast<uint8_t>(level / 3));
            }
          }
      x += kGlyphWidth;  // the space between words
    }
  }
  return page;
}

const TBitmap& Page() {
  static const std::unique_ptr<TBitmap> page = TextPage();
  return *page;
}

void GrayAndReduce(benchmark::State& state, int32_t reduction) {
  TBitmap page;
  for (auto _ : state) {
    state.PauseTiming();
    page.Assign(Page());
    state.ResumeTiming();
    GrayscaleBitmap(page);
    const auto reduced = ReduceColors(page, reduction, 2);
    benchmark::DoNotOptimize(reduced->ScanLine(0));
  }
  state.counters["pages/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_PageGrayToFourLevelsStucki(benchmark::State& state) { GrayAndReduce(state, 2); }
void BM_PageGrayToTwoLevelsStucki(benchmark::State& state) { GrayAndReduce(state, 3); }

void BM_PageGrayscale(benchmark::State& state) {
  TBitmap page;
  for (auto _ : state) {
    state.PauseTiming();
    page.Assign(Page());
    state.ResumeTiming();
    GrayscaleBitmap(page);
    benchmark::DoNotOptimize(page.ScanLine(0));
  }
}

// The driver's own step for 4-level pages: the gray page to 4 bits per pixel.
void BM_GrayPageToFourBits(benchmark::State& state) {
  TBitmap gray;
  gray.Assign(Page());
  GrayscaleBitmap(gray);
  TBitmap page;
  for (auto _ : state) {
    state.PauseTiming();
    page.Assign(gray);
    state.ResumeTiming();
    page.SetPixelFormat(pf4bit);
    benchmark::DoNotOptimize(page.ScanLine(0));
  }
}

void BM_ResampleImageLanczos3(benchmark::State& state) {
  TBitmap source;
  source.Assign(Page());
  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetSize(450, 600);
  for (auto _ : state) {
    ResampleBitmap(source, target, Lanczos3Filter, 3.0f);
    benchmark::DoNotOptimize(target.ScanLine(0));
  }
}

}  // namespace

BENCHMARK(BM_PageGrayToFourLevelsStucki)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageGrayToTwoLevelsStucki)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageGrayscale)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrayPageToFourBits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResampleImageLanczos3)->Unit(benchmark::kMillisecond);
