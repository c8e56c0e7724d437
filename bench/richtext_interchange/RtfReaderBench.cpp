// The RTF reader on about 1 MiB of input: formatted text in the shape word processors
// write (a group per run, control words between them, \u characters with fallbacks),
// and a picture of 512 KiB written as hex. Throughput in bytes of RTF per second.
#include <string>

#include <benchmark/benchmark.h>

#include "RtfBenchText.h"
#include "platform/base/Streams.h"
#include "richtext/interchange/RPRTFReader.h"

namespace {

std::string HexPicture() {
  std::string hex;
  static const char digits[] = "0123456789abcdef";
  for (size_t i = 0; i < (512u << 10); ++i) {
    hex += digits[(i * 7) & 15];
    hex += digits[(i * 13) & 15];
    if (i % 64 == 63) hex += "\r\n";
  }
  return "{\\rtf1 {\\pict\\macpict\\picw100\\pich100 " + hex + "}}";
}

void Parse(benchmark::State& state, const std::string& rtf, bool pictures) {
  TRPRTFReader reader(nullptr);
  size_t runs = 0;
  reader.OnNewText = [&runs](TRPRTFReader*, const AnsiString&, TRPRTFPosition) { ++runs; };
  reader.OnNewUnicodeText = [&runs](TRPRTFReader*, const WideString&, TRPRTFPosition) { ++runs; };
  if (pictures)
    reader.OnNewPicture = [](TRPRTFReader*, TRPRTFPicture*, std::unique_ptr<TGraphic>&, TRPRTFPosition,
                             const AnsiString&, bool&) {};
  for (auto _ : state) {
    TStringStream stream(rtf);
    if (reader.ParseStream(stream) != rtf_ec_OK) state.SkipWithError("the parse failed");
  }
  benchmark::DoNotOptimize(runs);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(rtf.size()));
}

void BM_RtfFormattedText(benchmark::State& state) {
  static const std::string rtf = RtfBenchFormattedText();
  Parse(state, rtf, false);
}
BENCHMARK(BM_RtfFormattedText)->Unit(benchmark::kMillisecond);

void BM_RtfHexPicture(benchmark::State& state) {
  static const std::string rtf = HexPicture();
  Parse(state, rtf, true);
}
BENCHMARK(BM_RtfHexPicture)->Unit(benchmark::kMillisecond);

}  // namespace
