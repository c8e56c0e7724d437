// Device-independent bitmap transfers: reading a bitmap's pixels as a DIB (GetDIBits)
// and drawing DIB pixels into a context (StretchDIBits).
//
// A bitmap's handle is the bitmap itself. DIBs here are uncompressed 24- or 32-bit
// images (blue, green, red byte order; rows padded to 4 bytes), stored bottom-up for a
// positive height and top-down for a negative one.
#pragma once

#include <cstdint>

#include "platform/graphics/DeviceContext.h"

class TBitmap;
using HBITMAP = const TBitmap*;

struct BITMAPINFOHEADER {
  uint32_t biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 0;
  uint32_t biCompression = 0;
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};

struct RGBQUAD {
  uint8_t rgbBlue = 0;
  uint8_t rgbGreen = 0;
  uint8_t rgbRed = 0;
  uint8_t rgbReserved = 0;
};

// The header and room for a colour table of 256 entries (unused by 24- and 32-bit DIBs).
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[256];
};

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t DIB_RGB_COLORS = 0;

// Bytes of one DIB row: width * bits rounded up to whole 32-bit words; 0 for a bad size.
uint32_t DibRowBytes(int32_t width, uint16_t bitCount);

// With bits null: completes info's header from the bitmap (width and height when 0,
// biSizeImage) and returns 1. Otherwise copies scanLines rows from startScan (counted
// from the bottom for a bottom-up DIB) into bits in the header's format and returns the
// rows copied. 0 for a null bitmap, a bit count other than 24 or 32, compression, or a
// header whose width differs from the bitmap's.
int32_t GetDIBits(HDC dc, HBITMAP bitmap, uint32_t startScan, uint32_t scanLines, void* bits, BITMAPINFO* info,
                  uint32_t usage);

// Draws the source rectangle (x, y from the image's top-left) of the DIB into the
// logical rectangle at (x, y) of the context, nearest pixel when the sizes differ.
// Only SRCCOPY; returns the rows drawn (the source height), 0 on failure.
int32_t StretchDIBits(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, int32_t sourceX, int32_t sourceY,
                      int32_t sourceWidth, int32_t sourceHeight, const void* bits, const BITMAPINFO* info,
                      uint32_t usage, uint32_t rop);
