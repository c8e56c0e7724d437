// Metafiles of a few kilobytes whose drawing once cost far more than their size
// (platform/graphics/MetafileHostile.h of the tests), beside ordinary ones of as many
// records: gradient fills of many parts, a polygon under a clip of many strips,
// converting blends to a Windows metafile, a stated size made into a bitmap, and
// run-length bitmaps that claim 8000 x 8000 pixels. Counters: the metafile's bytes, the
// work the play counted, the records it skipped, and the bytes made.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/graphics/Metafile.h"
#include "platform/graphics/MetafileHostile.h"

namespace {

void PlayAt(benchmark::State& state, const std::vector<uint8_t>& bytes, int32_t sidePx) {
  TMetafile metafile;
  metafile.LoadFromBytes(bytes);
  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetSize(sidePx, sidePx);
  for (auto _ : state) {
    metafile.Draw(*target.Canvas(), Rect(0, 0, sidePx, sidePx));
    benchmark::DoNotOptimize(target.ScanLine(0));
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
  state.counters["skipped"] = static_cast<double>(metafile.SkippedRecords());
}

// 1000 ramps of one gradient fill over 800 x 800 pixels (8 KB), and 1000 rectangles.
void BM_GradientRampsOver800(benchmark::State& state) {
  PlayAt(state, hostile::GradientRamps(static_cast<int32_t>(state.range(0)), 800), 800);
}
BENCHMARK(BM_GradientRampsOver800)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);
void BM_WholeRectanglesOver800(benchmark::State& state) {
  PlayAt(state, hostile::WholeRectangles(static_cast<int32_t>(state.range(0)), 800), 800);
}
BENCHMARK(BM_WholeRectanglesOver800)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

// 125 gradient records of a triangle each (12 KB) over 800 x 800 pixels.
void BM_GradientTrianglesOver800(benchmark::State& state) {
  PlayAt(state, hostile::GradientTriangles(static_cast<int32_t>(state.range(0)), 800), 800);
}
BENCHMARK(BM_GradientTrianglesOver800)->Arg(125)->Unit(benchmark::kMillisecond)->Iterations(1);

// A 100-point polygon under a clip of 500 strips (8.6 KB), and without the clip, with
// a pen of 1 and of 20 pixels.
void BM_PolygonUnderClipStrips(benchmark::State& state) {
  PlayAt(state,
         hostile::ClipStripsUnderPolygon(static_cast<int32_t>(state.range(0)), 100, 800,
                                         static_cast<int32_t>(state.range(1))),
         800);
}
BENCHMARK(BM_PolygonUnderClipStrips)
    ->Args({500, 1})
    ->Args({0, 1})
    ->Args({500, 20})
    ->Args({0, 20})
    ->Unit(benchmark::kMillisecond);

// Run-length bitmaps that claim 8000 x 8000 pixels and code two, drawn over 800 x 800.
void BM_ClaimedRunLengthBitmaps(benchmark::State& state) {
  PlayAt(state, hostile::ClaimedRunLengthBitmaps(static_cast<int32_t>(state.range(0)), 8000, 800), 800);
}
BENCHMARK(BM_ClaimedRunLengthBitmaps)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(1);

// Blends over a picture of 1 m x 1 m converted to a Windows metafile (10 records: 1.6 KB).
void BM_ConvertBlendsToWindowsMetafile(benchmark::State& state) {
  const std::vector<uint8_t> bytes = hostile::BlendsOverPicture(static_cast<int32_t>(state.range(0)), 3780);
  TMetafile metafile;
  metafile.LoadFromBytes(bytes);
  size_t made = 0;
  for (auto _ : state) made = ConvertedMetafile(metafile)->SavedBytes().size();
  state.counters["bytes"] = static_cast<double>(bytes.size());
  state.counters["made"] = static_cast<double>(made);
}
BENCHMARK(BM_ConvertBlendsToWindowsMetafile)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);

// A 108-byte metafile whose frame says 15000 x 15000 pixels, made into a bitmap.
void BM_StatedSizeToBitmap(benchmark::State& state) {
  const std::vector<uint8_t> bytes = hostile::StatedSizeOnly(15000, 15000);
  TMetafile metafile;
  metafile.LoadFromBytes(bytes);
  int64_t made = 0;
  for (auto _ : state) {
    TBitmap bitmap;
    bitmap.Assign(&metafile);
    made = int64_t{bitmap.Width()} * bitmap.Height() * bitmap.BitsPerPixel() / 8;
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
  state.counters["made"] = static_cast<double>(made);
}
BENCHMARK(BM_StatedSizeToBitmap)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
