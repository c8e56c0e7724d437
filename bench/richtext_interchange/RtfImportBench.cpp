// The RTF import into a document: about 1 MiB of formatted text (a group per run, \u
// characters, tabs) with the styles added when needed and chosen among existing ones,
// and a table of 400 rows of 8 cells. Throughput in bytes of RTF per second.
#include <string>

#include <benchmark/benchmark.h>

#include "RtfBenchText.h"
#include "platform/base/Streams.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

namespace {

class TBenchData : public TCustomRPData {
public:
  const IRPStyleSheet* GetRPStyle() const override { return &Sheet; }
  TRPStyle Sheet{nullptr};
};

std::string Table() {
  std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}";
  for (int r = 0; r < 400; ++r) {
    rtf += "\\trowd\\trpaddl60\\trpaddfl3";
    for (int c = 1; c <= 8; ++c) rtf += "\\clbrdrb\\brdrs\\brdrw15\\cellx" + std::to_string(c * 1200);
    rtf += "\\pard\\intbl ";
    for (int c = 0; c < 8; ++c) rtf += "cell " + std::to_string(r) + "." + std::to_string(c) + "\\cell ";
    rtf += "\\row\n";
  }
  return rtf + "}";
}

void Import(benchmark::State& state, const std::string& rtf, TRPReaderStyleMode mode) {
  TRPRTFReaderProperties props;
  props.UnicodeMode = rpruMixed;
  props.TextStyleMode = mode;
  props.ParaStyleMode = mode;
  for (auto _ : state) {
    TBenchData data;
    TStringStream stream(rtf);
    int32_t position = 0;
    if (props.ReadRTFFromStream(stream, data, position) != rtf_ec_OK) state.SkipWithError("the import failed");
    benchmark::DoNotOptimize(data.GetItemCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(rtf.size()));
}

void BM_RtfImportAddIfNeeded(benchmark::State& state) {
  static const std::string rtf = RtfBenchFormattedText();
  Import(state, rtf, rprsAddIfNeeded);
}
BENCHMARK(BM_RtfImportAddIfNeeded)->Unit(benchmark::kMillisecond);

void BM_RtfImportUseClosest(benchmark::State& state) {
  static const std::string rtf = RtfBenchFormattedText();
  Import(state, rtf, rprsUseClosest);
}
BENCHMARK(BM_RtfImportUseClosest)->Unit(benchmark::kMillisecond);

void BM_RtfImportTable(benchmark::State& state) {
  static const std::string rtf = Table();
  Import(state, rtf, rprsAddIfNeeded);
}
BENCHMARK(BM_RtfImportTable)->Unit(benchmark::kMillisecond);

}  // namespace
