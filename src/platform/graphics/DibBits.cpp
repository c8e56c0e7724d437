#include "platform/graphics/DibBits.h"

#include <cstdlib>
#include <cstring>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/CanvasBlit.h"

namespace {

bool SupportedHeader(const BITMAPINFOHEADER& h) {
  return (h.biBitCount == 24 || h.biBitCount == 32) && h.biCompression == BI_RGB && h.biWidth > 0 && h.biHeight != 0;
}

// The row of a DIB that holds image row `row` counted from the top.
int32_t DibRowOfImageRow(const BITMAPINFOHEADER& h, int32_t row) { return h.biHeight > 0 ? h.biHeight - 1 - row : row; }

}  // namespace

uint32_t DibRowBytes(int32_t width, uint16_t bitCount) {
  if (width <= 0 || bitCount == 0) return 0;
  return static_cast<uint32_t>((static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4);
}

int32_t GetDIBits(HDC, HBITMAP bitmap, uint32_t startScan, uint32_t scanLines, void* bits, BITMAPINFO* info, uint32_t) {
  if (!bitmap || !info) return 0;
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biWidth == 0) h.biWidth = bitmap->Width();
  if (h.biHeight == 0) h.biHeight = bitmap->Height();
  if (!SupportedHeader(h) || h.biWidth != bitmap->Width() || std::abs(h.biHeight) != bitmap->Height()) return 0;
  const uint32_t rowBytes = DibRowBytes(h.biWidth, h.biBitCount);
  const auto rows = static_cast<uint32_t>(std::abs(h.biHeight));
  h.biSizeImage = rowBytes * rows;
  if (!bits) return 1;
  const uint32_t bytesPerPixel = h.biBitCount / 8u;
  uint32_t copied = 0;
  for (uint32_t scan = startScan; scan < startScan + scanLines && scan < rows; ++scan, ++copied) {
    // DIB row `scan` (in storage order) holds this image row.
    const int32_t imageRow = DibRowOfImageRow(h, static_cast<int32_t>(scan));
    uint8_t* out = static_cast<uint8_t*>(bits) + static_cast<size_t>(scan - startScan) * rowBytes;
    std::memset(out, 0, rowBytes);
    for (int32_t x = 0; x < h.biWidth; ++x) {
      const auto color = static_cast<uint32_t>(bitmap->PixelColor(x, imageRow));
      uint8_t* pixel = out + static_cast<size_t>(x) * bytesPerPixel;
      pixel[0] = static_cast<uint8_t>(color >> 16);  // blue
      pixel[1] = static_cast<uint8_t>(color >> 8);   // green
      pixel[2] = static_cast<uint8_t>(color);        // red
    }
  }
  return static_cast<int32_t>(copied);
}

int32_t StretchDIBits(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, int32_t sourceX, int32_t sourceY,
                      int32_t sourceWidth, int32_t sourceHeight, const void* bits, const BITMAPINFO* info, uint32_t,
                      uint32_t rop) {
  if (!dc || !bits || !info || rop != SRCCOPY || !SupportedHeader(info->bmiHeader)) return 0;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  const int32_t rows = std::abs(h.biHeight);
  const uint32_t rowBytes = DibRowBytes(h.biWidth, h.biBitCount);
  const uint32_t bytesPerPixel = h.biBitCount / 8u;
  // The image as a bitmap, then drawn through the context's bitmap drawing.
  TBitmap image;
  image.SetPixelFormat(pf24bit);
  image.SetSize(h.biWidth, rows);
  for (int32_t row = 0; row < rows; ++row) {
    const uint8_t* in = static_cast<const uint8_t*>(bits) + static_cast<size_t>(DibRowOfImageRow(h, row)) * rowBytes;
    for (int32_t px = 0; px < h.biWidth; ++px) {
      const uint8_t* pixel = in + static_cast<size_t>(px) * bytesPerPixel;
      image.SetPixelColor(px, row, static_cast<TColor>(RGB(pixel[2], pixel[1], pixel[0])));
    }
  }
  DrawBitmapPixels(*dc, TRect{x, y, x + width, y + height}, image,
                   TRect{sourceX, sourceY, sourceX + sourceWidth, sourceY + sourceHeight}, std::nullopt);
  return sourceHeight;
}
