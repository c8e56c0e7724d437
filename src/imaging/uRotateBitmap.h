// Rotation of a page or cover bitmap by 90 degrees.
#pragma once

#include "platform/graphics/Bitmap.h"

// Target (owned by the caller) becomes source turned by 90 degrees, clockwise or
// counter-clockwise: width and height swap, and the source's pixel format and palette
// are kept (a 1-bit page stays 1-bit with the same indices). Source is not changed.
void RotateBitmap(const TBitmap& source, TBitmap& target, bool clockwise);
