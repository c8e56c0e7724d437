// Pixel-format conversion of TBitmap: one exact rule for every pair of formats.
#include <array>
#include <cstring>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PixelAccess.h"

namespace {

std::span<const TPaletteEntry> StandardTableFor(int32_t bits) {
  switch (bits) {
    case 1:
      return MonochromeColorTable();
    case 4:
      return StandardColorTable16();
    default:
      return SystemColorTable20();
  }
}

}  // namespace

void TBitmap::SetPixelFormat(TPixelFormat value) {
  const int32_t newBits = BitsOf(value);
  if (value == FPixelFormat) return;
  const int32_t oldBits = BitsPerPixel();
  if (newBits == oldBits) {
    FPixelFormat = value;  // the device format and 32 bits share their storage
    return;
  }
  std::vector<TPaletteEntry> oldColors = FColors;
  if (newBits <= 8 && (FColors.empty() || FColors.size() > (size_t{1} << newBits))) {
    const auto table = StandardTableFor(newBits);
    FColors.assign(table.begin(), table.end());
    FPaletteHandle.reset();
  }
  const int32_t oldStride = FStride;
  std::vector<uint8_t> oldPixels;
  try {
    oldPixels = NewImage(FWidth, FHeight, value);
  } catch (...) {
    FColors.swap(oldColors);
    throw;
  }

  // A palette source converts each of its indices once.
  std::array<TRgb, 256> indexColors{};
  std::array<uint8_t, 256> indexMap{};
  TNearestColorMap nearest(FColors);
  if (oldBits <= 8) {
    for (uint32_t i = 0; i < (1u << oldBits); ++i) {
      indexColors[i] =
          i < oldColors.size() ? TRgb{oldColors[i].peRed, oldColors[i].peGreen, oldColors[i].peBlue} : TRgb{};
      if (newBits <= 8) indexMap[i] = static_cast<uint8_t>(nearest.Index(indexColors[i]));
    }
  }
  for (int32_t y = 0; y < FHeight; ++y) {
    const uint8_t* from = oldPixels.data() + static_cast<size_t>(y) * static_cast<size_t>(oldStride);
    uint8_t* to = ScanLine(y);
    for (int32_t x = 0; x < FWidth; ++x) {
      if (oldBits <= 8) {
        const uint32_t index = GetPixelIndex(from, x, oldBits);
        if (newBits <= 8)
          SetPixelIndex(to, x, newBits, indexMap[index]);
        else
          WritePixelRgb(to, x, newBits, indexColors[index]);
      } else {
        const TRgb c = ReadPixelRgb(from, x, oldBits, {});
        if (newBits <= 8)
          SetPixelIndex(to, x, newBits, nearest.Index(c));
        else
          WritePixelRgb(to, x, newBits, c);
      }
    }
  }
}
