// Writing metafiles: the placeable header of a Windows metafile, and metafiles of both
// formats that hold one picture as a bitmap record.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/Bitmap.h"

// A placeable header for a picture of that size (0.01 mm) at `inch` units per inch.
std::vector<uint8_t> PlaceableHeader(int32_t mmWidth, int32_t mmHeight, uint16_t inch);
// An enhanced metafile of a 96 pixels-per-inch reference device whose frame is the size
// given (0.01 mm) and whose one drawing record stretches the bitmap over the frame.
std::vector<uint8_t> EnhancedBitmapMetafile(const TBitmap& bitmap, int32_t mmWidth, int32_t mmHeight);
// The records of a Windows metafile (from the metafile header on) whose window is the
// bitmap's size in pixels and whose one drawing record draws the bitmap into it.
std::vector<uint8_t> WindowsBitmapMetafile(const TBitmap& bitmap);
