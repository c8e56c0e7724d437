// Our inflate beside zlib's on the same 50 MB of book-like text, deflated once by zlib
// at level 6; both decode into memory that is already large enough.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include "archive/ArDfDec.h"
#include "archive/ArchiveTestSupport.h"

namespace {

constexpr size_t BookBytes = 50u << 20;

const Bytes& Compressed() {
  static const Bytes compressed = ZlibDeflate(BookLikeText(BookBytes, 42), 6);
  return compressed;
}

void OurInflate(benchmark::State& state) {
  TMemoryStream source, target;
  LoadBytes(source, Compressed());
  target.SetCapacity(BookBytes);
  for (auto _ : state) {
    source.SetPosition(0);
    target.SetPosition(0);
    benchmark::DoNotOptimize(InflateStream(source, &target, nullptr));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(BookBytes));
}

void ZlibInflate(benchmark::State& state) {
  const Bytes& compressed = Compressed();
  Bytes out(BookBytes);
  for (auto _ : state) {
    z_stream z{};
    inflateInit2(&z, -15);
    z.next_in = const_cast<Bytef*>(compressed.data());
    z.avail_in = static_cast<uInt>(compressed.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    benchmark::DoNotOptimize(inflate(&z, Z_FINISH));
    // The CRC-32 that our inflate computes on the way.
    benchmark::DoNotOptimize(crc32(0, out.data(), static_cast<uInt>(out.size())));
    inflateEnd(&z);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(BookBytes));
}

BENCHMARK(OurInflate)->Unit(benchmark::kMillisecond);
BENCHMARK(ZlibInflate)->Unit(benchmark::kMillisecond);

}  // namespace
