// Decoding book images beside libpng in the same run: a 1,000 × 1,400 8-bit gray page
// scan and a 24-bit photo-like image of the same size, both written by libpng with its
// default filters and compression. Goal: within 1.5 × of libpng.
//
// The codec decodes into its raster (the layout it draws from); libpng decodes into rows
// of the stored format, which is the least work it can do.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "imaging/png/PngCodec.h"
#include "platform/base/Streams.h"

namespace {

constexpr uint32_t kWidth = 1000;
constexpr uint32_t kHeight = 1400;

uint32_t NextRandom(uint32_t& seed) {
  seed = seed * 1103515245u + 12345u;
  return seed >> 16;
}

// Text-like gray: a light background with grain, and dark strokes in lines.
std::vector<uint8_t> GrayPage() {
  std::vector<uint8_t> pixels(size_t{kWidth} * kHeight);
  uint32_t seed = 7;
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint32_t x = 0; x < kWidth; ++x) {
      const bool stroke = (y % 40) < 18 && (x / 9 + y / 40) % 5 != 0 && NextRandom(seed) % 3 == 0;
      pixels[size_t{y} * kWidth + x] =
          static_cast<uint8_t>(stroke ? 30 + NextRandom(seed) % 40 : 230 + NextRandom(seed) % 12);
    }
  return pixels;
}

// Photo-like colour: smooth gradients and shapes with sensor noise.
std::vector<uint8_t> Photo() {
  std::vector<uint8_t> pixels(size_t{kWidth} * kHeight * 3);
  uint32_t seed = 11;
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint32_t x = 0; x < kWidth; ++x) {
      const double fx = x / 1000.0, fy = y / 1400.0;
      const double base[3] = {128 + 100 * std::sin(6 * fx + 2 * fy), 128 + 90 * std::cos(4 * fy - 3 * fx),
                              128 + 80 * std::sin(5 * (fx + fy))};
      for (int c = 0; c < 3; ++c)
        pixels[(size_t{y} * kWidth + x) * 3 + static_cast<size_t>(c)] =
            static_cast<uint8_t>(std::clamp(base[c] + static_cast<int>(NextRandom(seed) % 9) - 4.0, 0.0, 255.0));
    }
  return pixels;
}

std::vector<uint8_t> EncodeWithLibpng(const std::vector<uint8_t>& pixels, uint32_t format) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = kWidth;
  image.height = kHeight;
  image.format = format;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
  std::vector<uint8_t> file(size);
  png_image_write_to_memory(&image, file.data(), &size, 0, pixels.data(), 0, nullptr);
  file.resize(size);
  return file;
}

const std::vector<uint8_t>& GrayFile() {
  static const std::vector<uint8_t> file = EncodeWithLibpng(GrayPage(), PNG_FORMAT_GRAY);
  return file;
}

const std::vector<uint8_t>& PhotoFile() {
  static const std::vector<uint8_t> file = EncodeWithLibpng(Photo(), PNG_FORMAT_RGB);
  return file;
}

void DecodeWithCodec(benchmark::State& state, const std::vector<uint8_t>& file) {
  TMemoryStream stream;
  stream.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
  TPNGObject image;
  for (auto _ : state) {
    stream.SetPosition(0);
    image.LoadFromStream(stream);
    benchmark::DoNotOptimize(image.RowPointer(0));
  }
  state.counters["MB/s"] =
      benchmark::Counter(static_cast<double>(kWidth) * kHeight * static_cast<double>(state.iterations()) / 1e6,
                         benchmark::Counter::kIsRate);
}

void DecodeWithLibpng(benchmark::State& state, const std::vector<uint8_t>& file, uint32_t format, size_t channels) {
  std::vector<uint8_t> pixels(size_t{kWidth} * kHeight * channels);
  for (auto _ : state) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, file.data(), file.size());
    image.format = format;
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.counters["MB/s"] =
      benchmark::Counter(static_cast<double>(kWidth) * kHeight * static_cast<double>(state.iterations()) / 1e6,
                         benchmark::Counter::kIsRate);
}

void BM_DecodeGrayPage_Codec(benchmark::State& state) { DecodeWithCodec(state, GrayFile()); }
void BM_DecodeGrayPage_Libpng(benchmark::State& state) { DecodeWithLibpng(state, GrayFile(), PNG_FORMAT_GRAY, 1); }
void BM_DecodePhoto_Codec(benchmark::State& state) { DecodeWithCodec(state, PhotoFile()); }
void BM_DecodePhoto_Libpng(benchmark::State& state) { DecodeWithLibpng(state, PhotoFile(), PNG_FORMAT_RGB, 3); }

void BM_EncodePhoto_Codec(benchmark::State& state) {
  TPNGObject image;
  TMemoryStream stream;
  stream.WriteBuffer(PhotoFile().data(), static_cast<int32_t>(PhotoFile().size()));
  stream.SetPosition(0);
  image.LoadFromStream(stream);
  for (auto _ : state) {
    TMemoryStream out;
    image.SaveToStream(out);
    benchmark::DoNotOptimize(out.Memory());
  }
}

}  // namespace

BENCHMARK(BM_DecodeGrayPage_Codec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeGrayPage_Libpng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePhoto_Codec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePhoto_Libpng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodePhoto_Codec)->Unit(benchmark::kMillisecond);
