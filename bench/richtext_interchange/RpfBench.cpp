// The native format's writer and reader on a document of about 10 000 paragraphs: runs of
// 8-bit and UTF-16 text in three styles, and a small table every hundred paragraphs, in
// the text form (hexadecimal data) and the binary form. Throughput in bytes of the stream
// per second.
#include <string>

#include <benchmark/benchmark.h>

#include "platform/base/Streams.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"

namespace {

struct TBenchPane {
  explicit TBenchPane(uint32_t options) {
    Style.TextStyles()[2]->Unicode = true;
    Pane.SetStyle(&Style);
    Pane.RPFOptions = options;
  }
  void Fill() {
    TCustomRPData& data = Pane.RPData();
    for (int32_t i = 0; i < 10000; ++i) {
      data.AddAnsiText("The quick brown fox jumps over the lazy dog, paragraph " + std::to_string(i), 0, TRPTag(),
                       i % 2);
      data.AddAnsiText(" and a heading run", 1, TRPTag(), -1);
      data.AddTextW(u" \u0431\u044b\u0441\u0442\u0440\u0430\u044f \u043b\u0438\u0441\u0430", 2, TRPTag(), -1);
      if (i % 100 == 99) {
        auto table = std::make_unique<TRPTableItemInfo>(3, 3, &data);
        for (int32_t r = 0; r < 3; ++r)
          for (int32_t c = 0; c < 3; ++c) {
            table->GetCell(r, c)->Clear();
            table->GetCell(r, c)->AddAnsiText("cell " + std::to_string(r * 3 + c), 0, TRPTag(), 0);
          }
        data.AddItem({}, std::move(table));
      }
    }
  }
  TRPStyle Style{nullptr};
  TCustomRichPane Pane{nullptr};
};

void Write(benchmark::State& state, uint32_t options) {
  TBenchPane pane(options);
  pane.Fill();
  int64_t bytes = 0;
  for (auto _ : state) {
    TMemoryStream stream;
    if (!pane.Pane.RPData().SaveRPFToStream(stream, rpfsmDocument, nullptr, nullptr, clNone))
      state.SkipWithError("the write failed");
    bytes = stream.Size();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

void Read(benchmark::State& state, uint32_t options) {
  TBenchPane source(options);
  source.Fill();
  TMemoryStream stream;
  source.Pane.RPData().SaveRPFToStream(stream, rpfsmDocument, nullptr, nullptr, clNone);
  TBenchPane target(options);
  for (auto _ : state) {
    stream.SetPosition(0);
    TColor color = clNone;
    if (!target.Pane.RPData().LoadRPFFromStream(stream, nullptr, color, nullptr))
      state.SkipWithError("the read failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * stream.Size());
}

void BM_RpfWriteText(benchmark::State& state) { Write(state, 0); }
void BM_RpfWriteBinary(benchmark::State& state) { Write(state, rpfoSaveBinary); }
void BM_RpfReadText(benchmark::State& state) { Read(state, 0); }
void BM_RpfReadBinary(benchmark::State& state) { Read(state, rpfoSaveBinary); }
BENCHMARK(BM_RpfWriteText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RpfWriteBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RpfReadText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RpfReadBinary)->Unit(benchmark::kMillisecond);

}  // namespace
