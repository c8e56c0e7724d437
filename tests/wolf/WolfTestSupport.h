// Bitmaps, streams and exception checks shared by the Wolf tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PixelAccess.h"

// A bitmap of the given format whose pixel (x, y) holds index(x, y) (1- and 4-bit: a
// colour-table index; 24-bit: a gray level put in all three bytes).
inline std::unique_ptr<TBitmap> MakeBitmap(TPixelFormat format, int32_t width, int32_t height,
                                           const std::function<uint32_t(int32_t x, int32_t y)>& index) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(width, height);
  const int32_t bits = bitmap->BitsPerPixel();
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = bitmap->ScanLine(y);
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t v = index(x, y);
      if (bits == 24)
        row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = static_cast<uint8_t>(v);
      else
        SetPixelIndex(row, x, bits, v);
    }
  }
  return bitmap;
}

inline std::vector<uint8_t> StreamBytes(TMemoryStream& stream) {
  const auto* data = static_cast<const uint8_t*>(stream.Memory());
  return std::vector<uint8_t>(data, data + stream.Size());
}

// The 8-bit message of the exception of class E that call raises; a test failure and ""
// when it raises none.
template <typename E>
std::string RaisedMessage(const std::function<void()>& call) {
  try {
    call();
  } catch (const E& e) {
    return e.Message();
  }
  ADD_FAILURE() << "no exception";
  return "";
}
