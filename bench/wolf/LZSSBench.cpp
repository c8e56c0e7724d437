// The page-image compressor beside zlib's deflate at level 6, on the same packed 2-bit
// pages of 600 x 800 pixels: a page of text (white with lines of anti-aliased glyphs)
// and a photo dithered to four gray levels, made from fixed seeds by the test helper
// that the differential test also uses.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <vector>

#include "wolf/LZSSPageImages.h"
#include "wolf/uLZSS32.h"

namespace {

const std::vector<uint8_t>& Input(int64_t which) {
  static const std::vector<uint8_t> text = LZSSTextPage();
  static const std::vector<uint8_t> photo = LZSSPhotoPage();
  return which == 0 ? text : photo;
}

void LZSS(benchmark::State& state) {
  const std::vector<uint8_t>& input = Input(state.range(0));
  TLZSSCompressor compressor;
  size_t outBytes = 0;
  for (auto _ : state) {
    size_t taken = 0;
    outBytes = 0;
    compressor.LZSSCompress(
        [&](uint8_t* buffer, int32_t availBytes) {
          const size_t n = std::min(input.size() - taken, static_cast<size_t>(availBytes));
          std::copy_n(input.begin() + static_cast<std::ptrdiff_t>(taken), n, buffer);
          taken += n;
          return static_cast<int32_t>(n);
        },
        [&](const uint8_t*, int32_t countBytes) { outBytes += static_cast<size_t>(countBytes); });
    benchmark::DoNotOptimize(outBytes);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(input.size()));
  state.counters["out_bytes"] = static_cast<double>(outBytes);
  state.SetLabel(state.range(0) == 0 ? "text page" : "dithered photo");
}

void Zlib6(benchmark::State& state) {
  const std::vector<uint8_t>& input = Input(state.range(0));
  std::vector<uint8_t> out(compressBound(static_cast<uLong>(input.size())));
  uLongf outBytes = 0;
  for (auto _ : state) {
    outBytes = static_cast<uLongf>(out.size());
    if (compress2(out.data(), &outBytes, input.data(), static_cast<uLong>(input.size()), 6) != Z_OK)
      state.SkipWithError("compress2 failed");
    benchmark::DoNotOptimize(outBytes);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(input.size()));
  state.counters["out_bytes"] = static_cast<double>(outBytes);
  state.SetLabel(state.range(0) == 0 ? "text page" : "dithered photo");
}

}  // namespace

BENCHMARK(LZSS)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(Zlib6)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
