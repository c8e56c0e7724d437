#include "imaging/uGrayBitmap.h"

#include <array>

uint8_t GrayValue(uint8_t red, uint8_t green, uint8_t blue) {
  const long double v = 0.2989L * red + 0.587L * green + 0.114L * blue;
  // Round half to even; v is not negative and the fraction v − whole is exact.
  auto whole = static_cast<int32_t>(v);
  const long double fraction = v - whole;
  if (fraction > 0.5L || (fraction == 0.5L && (whole & 1) != 0)) ++whole;
  return whole > 255 ? 255 : static_cast<uint8_t>(whole);
}

void GrayscaleBitmap(TBitmap& bitmap) {
  if (bitmap.PixelFormat() != pf24bit) throw EInvalidGraphic(SInvalidPixelFormat);
  // Pages are mostly gray already (equal channels) or runs of one colour: a table for
  // the grays and the last colour seen spare most of the extended arithmetic.
  std::array<uint8_t, 256> grays;
  for (int level = 0; level < 256; ++level) {
    const auto l = static_cast<uint8_t>(level);
    grays[static_cast<size_t>(level)] = GrayValue(l, l, l);
  }
  uint32_t lastColor = 0xFFFFFFFF;
  uint8_t lastGray = 0;
  const int32_t width = bitmap.Width();
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    for (int32_t x = 0; x < width; ++x, p += 3) {
      uint8_t gray;
      if (p[0] == p[1] && p[1] == p[2]) {
        gray = grays[p[0]];
      } else {
        const uint32_t color = p[0] | (p[1] << 8) | (p[2] << 16);
        if (color != lastColor) {
          lastColor = color;
          lastGray = GrayValue(p[2], p[1], p[0]);
        }
        gray = lastGray;
      }
      p[0] = p[1] = p[2] = gray;
    }
  }
}
