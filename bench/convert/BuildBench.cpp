// Building the rich-text document of the 100,000-word book (with its 600 x 800 JPEG
// cover among the binaries) with the default scheme: the book is parsed once, then each
// iteration builds every body into the report view. Bytes processed are the FB2 file's.
#include <benchmark/benchmark.h>

#include "BenchBook.h"
#include "convert/cFB2RPConvertor.h"
#include "convert/cInternalLinks.h"
#include "convert/cVoDaziScheme.h"
#include "fb2/cFictionBook2.h"
#include "platform/base/Streams.h"
#include "richtext/layout/print/RPPrintableRP.h"
#include "richtext/layout/print/RPReportHelper.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

namespace {

void BM_BuildBookDocument(benchmark::State& state) {
  static const std::string fb2 = MakeBenchBook("--make-cover");
  if (fb2.empty()) {
    state.SkipWithError("mkbook.py could not make the book");
    return;
  }
  TFictionBook2 book;
  TStringStream stream(fb2);
  book.LoadFromStream(stream);
  TRPStyle style(nullptr);
  TRPReportHelper helper(nullptr);
  helper.RichPane().SetStyle(&style);
  TVoDaziScheme scheme;
  TInternalLinks links;
  TFB2RPConvertor builder;
  for (auto _ : state) builder.Convert(book, helper.RichPane(), nullptr, links, scheme);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fb2.size()));
  state.counters["items"] = helper.RichPane().GetItemCount();
  state.counters["text styles"] = style.TextStyles().Count();
  state.counters["para styles"] = style.ParaStyles().Count();
}
BENCHMARK(BM_BuildBookDocument)->Unit(benchmark::kMillisecond);

}  // namespace
