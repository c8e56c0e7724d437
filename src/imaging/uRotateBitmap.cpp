#include "imaging/uRotateBitmap.h"

#include <cstring>

void RotateBitmap(const TBitmap& source, TBitmap& target, bool clockwise) {
  const int32_t w = source.Width();
  const int32_t h = source.Height();
  TBitmap pixels;
  pixels.Assign(source);
  pixels.SetPixelFormat(pf24bit);
  target.Assign(pixels);  // converted once: the 24-bit copy keeps the source's palette
  target.SetSize(h, w);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* from = pixels.ScanLine(y);
    for (int32_t x = 0; x < w; ++x) {
      uint8_t* to = clockwise ? target.ScanLine(x) + 3 * (h - 1 - y) : target.ScanLine(w - 1 - x) + 3 * y;
      std::memcpy(to, from + 3 * x, 3);
    }
  }
  target.SetPixelFormat(source.PixelFormat());
}
