// The exports of a document of 10 000 paragraphs (formatted runs, Unicode text, a list
// and, every 100 paragraphs, a 3 x 3 table): RTF, classic HTML and HTML with CSS.
// Throughput in bytes written per second.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/base/Streams.h"
#include "richtext/interchange/RPHTMLExport.h"
#include "richtext/interchange/RPRTFExport.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/table/RPTableItem.h"

namespace {

struct TBenchDocument {
  TBenchDocument() {
    Style.TextStyles()[1]->Unicode = true;
    TRPListLevel& level = *Style.ListStyles().Add()->Levels().Add();
    level.ListType = rplstDecimal;
    level.FormatString = "%0:s.";
    Pane.SetStyle(&Style);
    TRichPaneRPData& data = Pane.RPData();
    for (int32_t p = 0; p < 10000; ++p) {
      if (p % 10 == 5) {
        data.AddItem({}, TRPMarkerItemInfo::CreateEx(&data, 0, 0, 1, false));
        data.AddTextW(u"A list item of a numbered list", 0, TRPTag(), -1);
        continue;
      }
      data.AddTextW(u"The quick brown fox jumps over the lazy dog; ", 0, TRPTag(), p % 2);
      data.AddTextW(u"\u041F\u0440\u0438\u0432\u0435\u0442 \u03B1\u03B2\u03B3 ", 1, TRPTag(), -1);
      data.AddTextW(u"italic words", 3, TRPTag(), -1);
      if (p % 100 == 99) {
        auto table = std::make_unique<TRPTableItemInfo>(3, 3, &data);
        for (int32_t r = 0; r < 3; ++r)
          for (int32_t c = 0; c < 3; ++c) {
            TRPTableCellData& cell = *table->GetCell(r, c);
            cell.Clear();
            cell.AddTextW(u"cell text", 0, TRPTag(), 0);
          }
        data.AddItem({}, std::move(table));
      }
    }
  }
  TRPStyle Style{nullptr};
  TCustomRichPane Pane{nullptr};
};

TBenchDocument& Document() {
  static TBenchDocument document;
  return document;
}

void Export(benchmark::State& state, int kind) {
  TBenchDocument& document = Document();
  int64_t bytes = 0;
  for (auto _ : state) {
    TMemoryStream stream;
    TRPHTMLExportParams params;
    const bool ok = kind == 0   ? SaveRTFToStream(document.Pane, stream, false)
                    : kind == 1 ? SaveHTMLToStream(document.Pane.RPData(), stream, params)
                                : SaveHTMLCSSToStream(document.Pane.RPData(), stream, params);
    if (!ok) state.SkipWithError("the export failed");
    bytes += stream.Size();
  }
  state.SetBytesProcessed(bytes);
}

void BM_ExportRtf(benchmark::State& state) { Export(state, 0); }
void BM_ExportClassicHtml(benchmark::State& state) { Export(state, 1); }
void BM_ExportCssHtml(benchmark::State& state) { Export(state, 2); }

}  // namespace

BENCHMARK(BM_ExportRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportClassicHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCssHtml)->Unit(benchmark::kMillisecond);
