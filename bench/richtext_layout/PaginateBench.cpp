// The conversion's road through the report helper for a 100,000-word book (mkbook.py):
// the whole document laid out for a 600-pixel page width and cut into 800-pixel pages,
// and, in the other benchmarks, every page painted into a 600 x 800 page bitmap of 24
// bits or of 1 bit (in black on white, as a 1-bit book's pages are painted).
// Rates are real pages per second; peak memory is the process's resident maximum.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "BookText.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/layout/print/RPReportHelper.h"
#include "richtext/model/RPStyle.h"

namespace {

constexpr int32_t PageWidthPx = 600;
constexpr int32_t PageHeightPx = 800;

double PeakMemoryMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void PaginateBook(benchmark::State& state, bool paint, TPixelFormat format) {
  static const std::vector<TBookParagraph> paragraphs = BookParagraphs();
  if (paragraphs.empty()) {
    state.SkipWithError("the book generator " QF_MKBOOK " did not run");
    return;
  }
  TRPStyle style(nullptr);
  SetUpBookStyle(style);
  TRPReportHelper helper(nullptr);
  TReportRichPane& pane = helper.RichPane();
  pane.SetStyle(&style);
  pane.LeftMargin = pane.RightMargin = 0;
  AddBookParagraphs(pane.RPData(), paragraphs, style);
  TBitmap page;
  page.SetPixelFormat(format);
  if (format == pf1bit) helper.SetColorMode(rpcmBlackOnWhite);
  page.SetSize(PageWidthPx, PageHeightPx);
  TCanvas& canvas = *page.Canvas();
  int64_t pages = 0;
  for (auto _ : state) {
    helper.BeginLayout(canvas, PageWidthPx);
    while (helper.LayoutNextPage(PageHeightPx)) {
    }
    const int32_t count = helper.GetPagesCount();
    if (paint)
      for (int32_t p = 1; p <= count; ++p) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(clWhite);
        canvas.FillRect(TRect{0, 0, PageWidthPx, PageHeightPx});
        helper.PaintPageAt(0, 0, p, canvas, false, PageHeightPx);
      }
    pages += count;
    benchmark::DoNotOptimize(page.PixelColor(0, 0));
  }
  state.counters["pages"] = helper.GetPagesCount();
  state.counters["pages/s"] = benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
  state.counters["peak MiB"] = PeakMemoryMiB();
}

void PaginateOnly(benchmark::State& state) { PaginateBook(state, false, pf24bit); }
void PaginateAndPaint(benchmark::State& state) { PaginateBook(state, true, pf24bit); }
void PaginateAndPaint1Bit(benchmark::State& state) { PaginateBook(state, true, pf1bit); }
BENCHMARK(PaginateOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(PaginateAndPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(PaginateAndPaint1Bit)->Unit(benchmark::kMillisecond);

}  // namespace
