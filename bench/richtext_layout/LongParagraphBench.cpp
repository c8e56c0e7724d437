// One paragraph of 100,000 characters laid out through the report helper for a
// 600-pixel page width and cut into 800-pixel pages, as the conversion lays out a book:
// Chinese and Japanese (no spaces; a fallback face, shaped), Arabic, Devanagari, Thai and
// Hebrew words in turn (shaped, in four fallback faces), and Latin words (the selected
// face, glyph by glyph) to compare with. In 10-point Arial, left-aligned. The rate is in
// pages' worth of text (1,200 characters) per second.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "richtext/layout/print/RPReportHelper.h"
#include "richtext/model/RPStyle.h"

namespace {

constexpr int32_t LongPageWidthPx = 600;
constexpr int32_t LongPageHeightPx = 800;
constexpr size_t ParagraphChars = 100000;
constexpr int32_t CharsPerPageOfText = 1200;

// The pieces in turn, each followed by separator, up to ParagraphChars UTF-16 units.
WideString LongParagraph(const std::vector<WideString>& pieces, const WideString& separator) {
  WideString text;
  for (size_t i = 0; text.size() < ParagraphChars; ++i) text += pieces[i % pieces.size()] + separator;
  text.resize(ParagraphChars);
  return text;
}

void LayOutParagraph(benchmark::State& state, const WideString& text) {
  TRPStyle style(nullptr);
  style.TextStyles()[0]->FontName = "Arial";
  style.TextStyles()[0]->Unicode = true;
  TRPReportHelper helper(nullptr);
  TReportRichPane& pane = helper.RichPane();
  pane.SetStyle(&style);
  pane.LeftMargin = pane.RightMargin = 0;
  pane.RPData().AddTextW(text, 0, TRPTag(), 0);
  TBitmap page;
  page.SetPixelFormat(pf24bit);
  page.SetSize(LongPageWidthPx, LongPageHeightPx);
  for (auto _ : state) {
    helper.BeginLayout(*page.Canvas(), LongPageWidthPx);
    while (helper.LayoutNextPage(LongPageHeightPx)) {
    }
    benchmark::DoNotOptimize(helper.GetPagesCount());
  }
  const double pagesOfText = static_cast<double>(text.size()) / CharsPerPageOfText;
  state.counters["pages"] = helper.GetPagesCount();
  state.counters["text pages/s"] =
      benchmark::Counter(pagesOfText * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void LayOutCjkParagraph(benchmark::State& state) {
  LayOutParagraph(state, LongParagraph({u"日本語の本と中文の書物を読む、", u"春眠不覺曉處處聞啼鳥。",
                                        u"夜來風雨聲花落知多少「静夜思」。"},
                                       u""));
}

void LayOutMixedScriptParagraph(benchmark::State& state) {
  LayOutParagraph(state, LongParagraph({u"مرحبا", u"नमस्ते", u"สวัสดีชาวโลก", u"שָׁלוֹם", u"بالعالم", u"दुनिया", u"ภาษาไทย",
                                        u"עולם", u"الكتاب", u"किताब"},
                                       u" "));
}

void LayOutLatinParagraph(benchmark::State& state) {
  LayOutParagraph(
      state,
      LongParagraph({u"lorem", u"ipsum", u"dolor", u"sit", u"amet,", u"consectetur", u"adipiscing", u"elit."}, u" "));
}

BENCHMARK(LayOutCjkParagraph)->Unit(benchmark::kMillisecond);
BENCHMARK(LayOutMixedScriptParagraph)->Unit(benchmark::kMillisecond);
BENCHMARK(LayOutLatinParagraph)->Unit(benchmark::kMillisecond);

}  // namespace
