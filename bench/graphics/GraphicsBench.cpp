// Measuring and drawing one book page: 40 lines of Cyrillic and Latin text in a 12-point
// serif font on a 600 x 800 page, as the layout and the page renderer do it; and the same
// lines along a baseline turned by a font's escapement, as a metafile's turned text draws.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextMetrics.h"

namespace {

constexpr int32_t PageWidth = 600;
constexpr int32_t PageHeight = 800;
constexpr int32_t LineCount = 40;

std::vector<WideString> PageLines() {
  const WideString words[] = {u"Съешь", u"же",   u"ещё",   u"этих",   u"мягких", u"французских", u"булок,", u"да",
                              u"выпей", u"чаю.", u"The",   u"quick",  u"brown",  u"fox",         u"jumps",  u"over",
                              u"the",   u"lazy", u"dog —", u"«Война", u"и",      u"мир»",        u"1869."};
  std::vector<WideString> lines;
  size_t next = 0;
  for (int32_t i = 0; i < LineCount; ++i) {
    WideString line;
    while (line.size() < 68) {
      if (!line.empty()) line += u' ';
      line += words[next++ % std::size(words)];
    }
    lines.push_back(line);
  }
  return lines;
}

void SetUpCanvas(TCanvas& canvas) {
  canvas.Font().SetName("Times New Roman");
  canvas.Font().SetSize(12);
  canvas.Brush().SetStyle(bsClear);
}

void BM_MeasurePage(benchmark::State& state) {
  const std::vector<WideString> lines = PageLines();
  TCanvas canvas;  // a measuring canvas, as layout uses
  SetUpCanvas(canvas);
  HDC dc = canvas.Handle();
  std::vector<int32_t> extents(128);
  for (auto _ : state) {
    int64_t fits = 0;
    for (const WideString& line : lines) {
      int32_t fit = 0;
      TSize size;
      GetTextExtentExPointW(dc, line.data(), static_cast<int32_t>(line.size()), PageWidth - 40, &fit, extents.data(),
                            &size);
      fits += fit;
    }
    benchmark::DoNotOptimize(fits);
  }
  state.SetItemsProcessed(state.iterations());
}

// escapement: of the font the lines are drawn in (tenths of a degree).
void DrawPage(benchmark::State& state, TPixelFormat format, int32_t escapement = 0) {
  const std::vector<WideString> lines = PageLines();
  TBitmap page;
  page.SetPixelFormat(format);
  page.SetSize(PageWidth, PageHeight);
  TCanvas& canvas = *page.Canvas();
  SetUpCanvas(canvas);
  HDC dc = canvas.Handle();
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  LOGFONTW lf;
  GetObjectW(canvas.Font().Handle(), sizeof(lf), &lf);
  lf.lfEscapement = lf.lfOrientation = escapement;
  const HFONT turned = CreateFontIndirectW(&lf);
  for (auto _ : state) {
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(Rect(0, 0, PageWidth, PageHeight));
    canvas.Brush().SetStyle(bsClear);
    dc = canvas.Handle();
    if (escapement != 0) SelectObject(dc, turned);
    for (int32_t i = 0; i < LineCount; ++i)
      ExtTextOutW(dc, 20, 10 + i * tm.tmHeight, 0, nullptr, lines[static_cast<size_t>(i)].data(),
                  static_cast<uint32_t>(lines[static_cast<size_t>(i)].size()), nullptr);
  }
  DeleteObject(turned);
  state.SetItemsProcessed(state.iterations());
}

void BM_DrawPage24bit(benchmark::State& state) { DrawPage(state, pf24bit); }
void BM_DrawPage1bit(benchmark::State& state) { DrawPage(state, pf1bit); }
void BM_DrawTurnedPage24bit(benchmark::State& state) { DrawPage(state, pf24bit, static_cast<int32_t>(state.range(0))); }

BENCHMARK(BM_MeasurePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawPage24bit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawPage1bit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawTurnedPage24bit)->Arg(300)->Arg(900)->Unit(benchmark::kMillisecond);

}  // namespace
