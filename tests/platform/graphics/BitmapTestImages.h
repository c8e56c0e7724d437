// Test images for the raster tests: pseudo-random pixels from a fixed seed, and the
// pixels of a bitmap as RGB triples.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics/Bitmap.h"

// A bitmap of the format with pseudo-random pixel bytes (indices kept inside the colour
// table, unused bits and bytes 0).
inline std::unique_ptr<TBitmap> NoiseBitmap(TPixelFormat format, int32_t width, int32_t height, uint32_t seed) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(width, height);
  const int32_t bits = bitmap->BitsPerPixel();
  const int32_t usedBytes = (width * bits + 7) / 8;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = bitmap->ScanLine(y);
    for (int32_t i = 0; i < usedBytes; ++i) {
      seed = seed * 1103515245u + 12345u;
      row[i] = static_cast<uint8_t>(seed >> 16);
    }
    if (bits == 8)
      for (int32_t x = 0; x < width; ++x) row[x] %= static_cast<uint8_t>(bitmap->ColorTable().size());
    if (bits == 32)
      for (int32_t x = 0; x < width; ++x) row[4 * x + 3] = 0;
    if (width * bits % 8) row[usedBytes - 1] &= static_cast<uint8_t>(0xFF << (8 - width * bits % 8));
  }
  return bitmap;
}

// Pixels as RGB triples, rows from the top.
inline std::vector<uint8_t> RgbBytes(const TBitmap& bitmap) {
  std::vector<uint8_t> out;
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      const auto c = static_cast<COLORREF>(bitmap.PixelColor(x, y));
      out.insert(out.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    }
  return out;
}
