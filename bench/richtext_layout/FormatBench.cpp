// Formatting the text of a 100,000-word book (mkbook.py: Russian and English prose) for
// a 600-pixel width: its paragraphs as UTF-16 text items, body text in 10-point Arial and
// titles in 14-point bold, with the report control's document flags (the conversion's).
// The rate is given in pages' worth of text (1,200 characters) per second.
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "BookText.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPStyle.h"

namespace {

constexpr int32_t PageWidthPx = 600;
constexpr int32_t CharsPerPage = 1200;

class TBookData : public TCustomRPFormattedData {
public:
  TBookData() : Style(nullptr) { SetUpBookStyle(Style); }
  TRPStyle Style;
  TBitmap Page;
  const IRPStyleSheet* GetRPStyle() const override { return &Style; }
  TRPStyle* GetStyleSheet() const override { return const_cast<TRPStyle*>(&Style); }
  TRPDocumentFlags GetDocumentFlags() const override { return rpdfReportDefaults; }
  int32_t GetWidth() const override { return PageWidthPx; }
  TCanvas* GetCanvas() override { return Page.Canvas(); }
};

void FormatBook(benchmark::State& state) {
  static const std::vector<TBookParagraph> paragraphs = BookParagraphs();
  if (paragraphs.empty()) {
    state.SkipWithError("the book generator " QF_MKBOOK " did not run");
    return;
  }
  TBookData data;
  data.Page.SetPixelFormat(pf24bit);
  data.Page.SetSize(8, 8);
  const int64_t chars = AddBookParagraphs(data, paragraphs, data.Style);
  for (auto _ : state) {
    data.FormatDocument();
    benchmark::DoNotOptimize(data.DocumentHeight);
  }
  state.counters["pages"] = static_cast<double>(chars) / CharsPerPage;
  state.counters["pages/s"] = benchmark::Counter(
      static_cast<double>(chars) / CharsPerPage * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["draw items"] = data.DrawItems.Count();
  state.counters["height px"] = data.DocumentHeight;
}
BENCHMARK(FormatBook)->Unit(benchmark::kMillisecond);

}  // namespace
