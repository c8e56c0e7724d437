// Writing metafiles: the placeable header of a Windows metafile, and bitmaps as the
// blit and pattern records hold them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/Bitmap.h"

// A placeable header for a picture of that size (0.01 mm) at `inch` units per inch.
std::vector<uint8_t> PlaceableHeader(int32_t mmWidth, int32_t mmHeight, uint16_t inch);
// A part of the bitmap (inside it) as a 24-bit bottom-up DIB: information header, then
// the rows.
std::vector<uint8_t> Dib24(const TBitmap& bitmap, const TRect& part);
