// Wrapping 1 MiB (as UTF-16) of Russian and English book text into lines of 400 pixels
// in 10-point Arial: fit counts through the item-text measuring plus the backward
// line-break search, beside the canvas's raw extent call over the same paragraphs and
// the search alone.
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/TextMetrics.h"
#include "richtext/model/RPLineBreak.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPUnicodeCanvas.h"

namespace {

constexpr int32_t LineWidthPx = 400;

// Paragraphs of stored UTF-16 text, about 1 MiB in all.
std::vector<AnsiString> BookParagraphs() {
  const WideString russian =
      u"\u2014 \u041d\u0443, \u0447\u0442\u043e \u0436\u0435, \u043a\u043d\u044f\u0437\u044c, \u0413\u0435\u043d\u0443"
      u"\u044f \u0438 \u041b\u0443\u043a\u043a\u0430 \u0441\u0442\u0430\u043b\u0438 \u043d\u0435 \u0431\u043e\u043b"
      u"\u044c\u0448\u0435, \u043a\u0430\u043a \u043f\u043e\u043c\u0435\u0441\u0442\u044c\u044f\u043c\u0438 "
      u"\u0444\u0430"
      u"\u043c\u0438\u043b\u0438\u0438 \u0411\u043e\u043d\u0430\u043f\u0430\u0440\u0442\u0435. \u041d\u0435\u0442, "
      u"\u044f \u0432\u0430\u0441 \u043f\u0440\u0435\u0434\u0443\u043f\u0440\u0435\u0436\u0434\u0430\u044e, "
      u"\u0447\u0442"
      u"\u043e \u0435\u0441\u043b\u0438 \u0432\u044b \u043c\u043d\u0435 \u043d\u0435 "
      u"\u0441\u043a\u0430\u0436\u0435\u0442"
      u"\u0435, \u0447\u0442\u043e \u0443 \u043d\u0430\u0441 \u0432\u043e\u0439\u043d\u0430, \u0435\u0441\u043b\u0438 "
      u"\u0432\u044b \u0435\u0449\u0451 \u043f\u043e\u0437\u0432\u043e\u043b\u0438\u0442\u0435 "
      u"\u0441\u0435\u0431\u0435 "
      u"\u0437\u0430\u0449\u0438\u0449\u0430\u0442\u044c \u0432\u0441\u0435 "
      u"\u0433\u0430\u0434\u043e\u0441\u0442\u0438.";
  const WideString english =
      u"It is a truth universally acknowledged, that a single man in possession of a good fortune, must be in "
      u"want of a wife. However little known the feelings or views of such a man may be on his first entering "
      u"a neighbourhood, this truth is so well fixed in the minds of the surrounding families (1813).";
  std::vector<AnsiString> paragraphs;
  size_t bytes = 0;
  for (int i = 0; bytes < (1u << 20); ++i) {
    paragraphs.push_back(WideToRawUnicode(i % 2 ? english : russian));
    bytes += paragraphs.back().size();
  }
  return paragraphs;
}

std::unique_ptr<TBitmap> MeasuringBitmap() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(8, 8);
  bitmap->Canvas()->Font().SetName("Arial");
  bitmap->Canvas()->Font().SetSize(10);
  return bitmap;
}

int64_t TotalBytes(const std::vector<AnsiString>& paragraphs) {
  int64_t bytes = 0;
  for (const AnsiString& p : paragraphs) bytes += static_cast<int64_t>(p.size());
  return bytes;
}

// Line by line: how much of the rest fits, then where the line may end before that.
void WrapMeasureAndBreak(benchmark::State& state) {
  const std::vector<AnsiString> paragraphs = BookParagraphs();
  auto bitmap = MeasuringBitmap();
  TCanvas* canvas = bitmap->Canvas();
  int64_t lines = 0;
  for (auto _ : state) {
    for (const AnsiString& paragraph : paragraphs) {
      const WideString units = RawUnicodeToWide(paragraph);
      size_t start = 0;
      while (start < units.size()) {
        const AnsiStringView rest = AnsiStringView(paragraph).substr(2 * start);
        int32_t fit = 0;
        MeasureItemTextFit(canvas, rest, LineWidthPx, rpioUnicode, nullptr, fit);
        if (start + static_cast<size_t>(fit) >= units.size()) break;
        const WideChar* end = FindLineBreakBefore(units.data() + start, fit, true);
        start += end ? static_cast<size_t>(end - (units.data() + start)) + 1 : static_cast<size_t>(std::max(fit, 1));
        ++lines;
      }
    }
  }
  benchmark::DoNotOptimize(lines);
  state.SetBytesProcessed(state.iterations() * TotalBytes(paragraphs));
  state.counters["lines"] = static_cast<double>(lines) / static_cast<double>(state.iterations());
}

// Fit counts of whole paragraphs through the item-text measuring.
void ItemTextFit(benchmark::State& state) {
  const std::vector<AnsiString> paragraphs = BookParagraphs();
  auto bitmap = MeasuringBitmap();
  for (auto _ : state) {
    for (const AnsiString& paragraph : paragraphs) {
      int32_t fit = 0;
      MeasureItemTextFit(bitmap->Canvas(), paragraph, LineWidthPx, rpioUnicode, nullptr, fit);
      benchmark::DoNotOptimize(fit);
    }
  }
  state.SetBytesProcessed(state.iterations() * TotalBytes(paragraphs));
}

// The canvas's raw extent-and-fit call on the same paragraphs.
void CanvasRawExtent(benchmark::State& state) {
  const std::vector<AnsiString> paragraphs = BookParagraphs();
  std::vector<WideString> wide;
  for (const AnsiString& p : paragraphs) wide.push_back(RawUnicodeToWide(p));
  auto bitmap = MeasuringBitmap();
  HDC dc = bitmap->Canvas()->Handle();
  for (auto _ : state) {
    for (const WideString& paragraph : wide) {
      int32_t fit = 0;
      TSize size{};
      GetTextExtentExPointW(dc, paragraph.data(), static_cast<int32_t>(paragraph.size()), LineWidthPx, &fit, nullptr,
                            &size);
      benchmark::DoNotOptimize(fit);
    }
  }
  state.SetBytesProcessed(state.iterations() * TotalBytes(paragraphs));
}

// The backward search alone, from every 60th character of each paragraph.
void LineBreakSearch(benchmark::State& state) {
  std::vector<WideString> wide;
  for (const AnsiString& p : BookParagraphs()) wide.push_back(RawUnicodeToWide(p));
  int64_t bytes = 0;
  for (const WideString& p : wide) bytes += static_cast<int64_t>(p.size() * sizeof(WideChar));
  for (auto _ : state) {
    for (const WideString& paragraph : wide)
      for (size_t at = 60; at < paragraph.size(); at += 60)
        benchmark::DoNotOptimize(FindLineBreakBefore(paragraph.data(), static_cast<int32_t>(at), true));
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

BENCHMARK(WrapMeasureAndBreak)->Unit(benchmark::kMillisecond);
BENCHMARK(ItemTextFit)->Unit(benchmark::kMillisecond);
BENCHMARK(CanvasRawExtent)->Unit(benchmark::kMillisecond);
BENCHMARK(LineBreakSearch)->Unit(benchmark::kMillisecond);

}  // namespace
