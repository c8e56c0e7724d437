// Playing enhanced metafile pages onto a 96 pixels-per-inch canvas, an A4 page (794 x
// 1123 pixels): a typical page of 3000 drawing records (pens and brushes created,
// selected and deleted, filled rectangles and ellipses, polylines, polygons, lines and
// text), and a page shaded by one gradient fill of a mesh of triangles, as office
// programs write a shaded background.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/graphics/Metafile.h"

namespace {

struct TEmfWriter {
  std::vector<uint8_t> Records;
  int32_t Count = 0;
  void Dword(uint32_t v) {
    for (int i = 0; i < 4; ++i) Records.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void Rec(uint32_t type, std::initializer_list<int64_t> fields) { Rec(type, std::vector<int64_t>(fields)); }
  void Rec(uint32_t type, const std::vector<int64_t>& fields) {
    Dword(type);
    Dword(static_cast<uint32_t>(8 + 4 * fields.size()));
    for (int64_t f : fields) Dword(static_cast<uint32_t>(f));
    ++Count;
  }
};

// The records with the header before them and the end record after.
std::vector<uint8_t> Framed(const TEmfWriter& w) {
  std::vector<uint8_t> out;
  TEmfWriter header;
  const uint32_t total = 88 + static_cast<uint32_t>(w.Records.size()) + 20;
  for (uint32_t v :
       {1u, 88u, 0u, 0u, 793u,  1122u, 0u,    0u,   21000u, 29700u, 0x464D4520u, 0x10000u, total, uint32_t(w.Count + 2),
        3u, 0u,  0u, 0u, 9600u, 9600u, 2540u, 2540u})
    header.Dword(v);
  out = header.Records;
  out.insert(out.end(), w.Records.begin(), w.Records.end());
  TEmfWriter eof;
  for (uint32_t v : {14u, 20u, 0u, 16u, 20u}) eof.Dword(v);
  out.insert(out.end(), eof.Records.begin(), eof.Records.end());
  return out;
}

// The page: rows of boxes with outlines, circles, zigzag lines and a word each.
std::vector<uint8_t> PageMetafile() {
  TEmfWriter w;
  constexpr int kTextRecordBytes = 76 + 8;  // EXTTEXTOUTW with 4 characters, no dx
  int32_t records = 0;
  for (int32_t i = 0; records < 3000; ++i) {
    const int32_t x = 20 + (i % 12) * 62, y = 20 + (i / 12) * 44 % 1060;
    const uint32_t colour = static_cast<uint32_t>(i * 0x10307) & 0xFFFFFF;
    w.Rec(39, {1, 0, colour, 0});                        // CREATEBRUSHINDIRECT slot 1
    w.Rec(38, {2, 0, 1 + i % 3, 0, colour ^ 0xFFFFFF});  // CREATEPEN slot 2
    w.Rec(37, {1});
    w.Rec(37, {2});
    w.Rec(43, {x, y, x + 40, y + 30});                                                     // RECTANGLE
    w.Rec(42, {x + 42, y, x + 58, y + 16});                                                // ELLIPSE
    w.Rec(4, {0, 0, 0, 0, 4, x, y + 34, x + 15, y + 40, x + 30, y + 34, x + 45, y + 40});  // POLYLINE
    w.Rec(3, {0, 0, 0, 0, 3, x + 44, y + 20, x + 58, y + 20, x + 51, y + 30});             // POLYGON
    w.Rec(27, {x, y});                                                                     // MOVETOEX
    w.Rec(54, {x + 40, y + 30});                                                           // LINETO
    // EXTTEXTOUTW: bounds, mode, scales, reference, count, string offset, options,
    // rectangle, dx offset, then "Wolf".
    w.Dword(84);
    w.Dword(kTextRecordBytes);
    for (int64_t f : std::initializer_list<int64_t>{0, 0, 0, 0, 1, 0, 0, x + 2, y + 8, 4, 76, 0, 0, 0, 0, 0, 0})
      w.Dword(static_cast<uint32_t>(f));
    for (uint16_t c : {u'W', u'o', u'l', u'f'}) {
      w.Records.push_back(static_cast<uint8_t>(c));
      w.Records.push_back(0);
    }
    ++w.Count;
    w.Rec(40, {1});  // DELETEOBJECT
    w.Rec(40, {2});
    records = w.Count;
  }
  return Framed(w);
}

// A 32 x 32 grid of vertices over the page, in colours that change across and down, and
// the two triangles of each cell.
std::vector<uint8_t> GradientMeshMetafile() {
  constexpr int32_t kSide = 32;
  TEmfWriter w;
  std::vector<int64_t> fields{0, 0, 793, 1122, kSide * kSide, 2 * (kSide - 1) * (kSide - 1), 2};
  for (int32_t row = 0; row < kSide; ++row)
    for (int32_t column = 0; column < kSide; ++column) {
      // x, y, red and green, blue and alpha (16 bits each)
      fields.insert(fields.end(),
                    {column * 794 / (kSide - 1), row * 1123 / (kSide - 1),
                     int64_t{column * 0xFF00 / (kSide - 1)} | int64_t{row * 0xFF00 / (kSide - 1)} << 16, 0x8000});
    }
  for (int32_t row = 0; row + 1 < kSide; ++row)
    for (int32_t column = 0; column + 1 < kSide; ++column) {
      const int64_t at = row * kSide + column;
      fields.insert(fields.end(), {at, at + 1, at + kSide, at + 1, at + kSide + 1, at + kSide});
    }
  w.Rec(118, fields);  // GRADIENTFILL
  return Framed(w);
}

void PlayPage(benchmark::State& state, const std::vector<uint8_t>& bytes, int64_t records) {
  TMetafile metafile;
  metafile.LoadFromBytes(bytes);
  TBitmap page;
  page.SetPixelFormat(pf24bit);
  page.SetSize(794, 1123);
  for (auto _ : state) {
    metafile.Draw(*page.Canvas(), Rect(0, 0, page.Width(), page.Height()));
    benchmark::DoNotOptimize(page.ScanLine(0));
  }
  state.counters["records"] = static_cast<double>(records);
  state.counters["skipped"] = static_cast<double>(metafile.SkippedRecords());
}

void BM_PlayEnhancedMetafilePage(benchmark::State& state) { PlayPage(state, PageMetafile(), 3000); }
BENCHMARK(BM_PlayEnhancedMetafilePage)->Unit(benchmark::kMillisecond);

void BM_PlayGradientMeshPage(benchmark::State& state) { PlayPage(state, GradientMeshMetafile(), 1); }
BENCHMARK(BM_PlayGradientMeshPage)->Unit(benchmark::kMillisecond);

}  // namespace
