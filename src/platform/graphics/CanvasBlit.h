// Copying pixels between contexts and drawing bitmaps: the source's pixels are read
// through its colour table and written as the target's nearest colour; a size change
// takes the nearest source pixel (pixel (x, y) of the target takes source pixel
// (x * sourceWidth / width, y * sourceHeight / height) of the rectangles). Source pixels
// outside the source bitmap are not copied.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/graphics/Colors.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/GdiDefs.h"

class TBitmap;

// Only SRCCOPY is a supported raster operation (false otherwise, and for empty sizes or a
// source without pixels).
bool BitBlt(HDC dest, int32_t x, int32_t y, int32_t width, int32_t height, HDC source, int32_t sourceX, int32_t sourceY,
            uint32_t rop);
bool StretchBlt(HDC dest, int32_t x, int32_t y, int32_t width, int32_t height, HDC source, int32_t sourceX,
                int32_t sourceY, int32_t sourceWidth, int32_t sourceHeight, uint32_t rop);

// Draws the part `sourceRect` (source pixels) of a bitmap into the logical rectangle
// `destRect` of a context; pixels of the colour `transparent` are left undrawn.
void DrawBitmapPixels(TDeviceContext& dest, const TRect& destRect, const TBitmap& source, const TRect& sourceRect,
                      std::optional<TColor> transparent);
