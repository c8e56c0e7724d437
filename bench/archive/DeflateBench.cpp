// Our deflate beside zlib's on the same 16 MB of book-like text and of a grey-scale
// picture, each into memory that is already large enough. The counter "ratio" is the
// compressed size as a share of the input.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include "archive/ArDfEnc.h"
#include "archive/ArchiveTestSupport.h"

namespace {

constexpr size_t InputBytes = 16u << 20;

const Bytes& Input(int64_t kind) {
  static const Bytes text = BookLikeText(InputBytes, 42);
  static const Bytes image = [] {
    Bytes noise = RandomBytes(InputBytes, 9, 6);
    Bytes out(InputBytes);
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<uint8_t>((i % 640) / 3 + (i / 640) / 2 + noise[i]);
    return out;
  }();
  return kind == 0 ? text : image;
}

// Arguments: input (0 text, 1 image), then the ample length, chain length and lazy limit.
void OurDeflate(benchmark::State& state) {
  const Bytes& input = Input(state.range(0));
  TMemoryStream source, target;
  LoadBytes(source, input);
  target.SetCapacity(static_cast<int64_t>(input.size() + input.size() / 8));
  TArDeflateHelper options;
  if (state.range(1) != 0) {
    options.SetAmpleLength(static_cast<int32_t>(state.range(1)));
    options.SetChainLength(static_cast<int32_t>(state.range(2)));
    options.SetMaxLazyLength(static_cast<int32_t>(state.range(3)));
  }
  int64_t compressed = 0;
  for (auto _ : state) {
    source.SetPosition(0);
    target.SetPosition(0);
    benchmark::DoNotOptimize(DeflateStream(source, target, &options));
    compressed = options.CompressedSize;
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(input.size()));
  state.counters["ratio"] = static_cast<double>(compressed) / static_cast<double>(input.size());
}

// Arguments: input, zlib level.
void ZlibDeflateLevel(benchmark::State& state) {
  const Bytes& input = Input(state.range(0));
  size_t compressed = 0;
  for (auto _ : state) {
    Bytes out = ZlibDeflate(input, static_cast<int>(state.range(1)));
    // The CRC-32 that our deflate computes on the way.
    benchmark::DoNotOptimize(crc32(0, input.data(), static_cast<uInt>(input.size())));
    compressed = out.size();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(input.size()));
  state.counters["ratio"] = static_cast<double>(compressed) / static_cast<double>(input.size());
}

BENCHMARK(OurDeflate)->Args({0, 0, 0, 0})->Args({1, 0, 0, 0})->Args({0, 258, 4096, 258})->Unit(benchmark::kMillisecond);
BENCHMARK(ZlibDeflateLevel)->Args({0, 6})->Args({1, 6})->Args({0, 9})->Unit(benchmark::kMillisecond);

}  // namespace
