// The style sheet as the book builder uses it: find-or-add of 10,000 wanted text styles
// drawn from a book-like mix of about 40 distinct ones, and 10,000 styled runs applied
// to a canvas (font and colours) and measured.
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/graphics/Bitmap.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPUnicodeCanvas.h"

namespace {

constexpr int RunCount = 10000;

// 40 distinct styles: 2 faces x 5 sizes x 4 font styles, Unicode text.
std::vector<std::unique_ptr<TFontInfo>> DistinctStyles() {
  std::vector<std::unique_ptr<TFontInfo>> styles;
  const TFontStyles looks[] = {{}, {fsBold}, {fsItalic}, {fsBold, fsItalic}};
  for (const char* face : {"Times New Roman", "Arial"})
    for (int32_t size : {8, 10, 12, 14, 18})
      for (TFontStyles look : looks) {
        auto style = std::make_unique<TFontInfo>(nullptr);
        style->FontName = face;
        style->Size = size;
        style->Style = look;
        style->Unicode = true;
        style->Color = clBlack;
        styles.push_back(std::move(style));
      }
  return styles;
}

// A book's order: mostly body text, now and then headings, emphasis and notes.
std::vector<int> RunStyles(size_t distinct) {
  std::vector<int> order;
  uint32_t seed = 12345;
  for (int i = 0; i < RunCount; ++i) {
    seed = seed * 1103515245u + 12345u;
    const uint32_t r = (seed >> 16) % 100;
    order.push_back(r < 70 ? 1 : static_cast<int>(r % distinct));
  }
  return order;
}

void FindOrAddTextStyles(benchmark::State& state) {
  const auto styles = DistinctStyles();
  const std::vector<int> order = RunStyles(styles.size());
  for (auto _ : state) {
    TRPStyle sheet(nullptr);
    for (int index : order) {
      const TFontInfo& wanted = *styles[static_cast<size_t>(index)];
      int32_t styleNo = sheet.TextStyles().FindMatchingStyle(0, wanted, RPAllFontInfoProperties);
      if (styleNo < 0) {
        sheet.TextStyles().Add()->Assign(wanted);
        styleNo = sheet.TextStyles().Count() - 1;
      }
      benchmark::DoNotOptimize(styleNo);
    }
  }
  state.SetItemsProcessed(state.iterations() * RunCount);
}

void ApplyAndMeasureStyledRuns(benchmark::State& state) {
  const auto styles = DistinctStyles();
  const std::vector<int> order = RunStyles(styles.size());
  TRPStyle sheet(nullptr);
  sheet.TextStyles().Clear();
  for (const auto& style : styles) sheet.TextStyles().Add()->Assign(*style);
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(8, 8);
  TCanvas& canvas = *bitmap.Canvas();
  const AnsiString run =
      WideToRawUnicode(u"It is a truth universally acknowledged \u2014 \u0438\u0441\u0442\u0438\u043d\u0430");
  for (auto _ : state) {
    int64_t width = 0;
    for (int styleNo : order) {
      sheet.ApplyStyleColor(canvas, styleNo, {}, false, rpcmColor);
      sheet.ApplyStyle(canvas, styleNo, rpbdUnspecified, false);
      width += GetItemTextWidth(run, &canvas, rpioUnicode);
    }
    benchmark::DoNotOptimize(width);
  }
  state.SetItemsProcessed(state.iterations() * RunCount);
}

}  // namespace

BENCHMARK(FindOrAddTextStyles)->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyAndMeasureStyledRuns)->Unit(benchmark::kMillisecond);
