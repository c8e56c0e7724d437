// Gray conversion of a rendered page in place.
#pragma once

#include <cstdint>

#include "platform/graphics/Bitmap.h"

// The gray value of a colour: 0.2989 × red + 0.587 × green + 0.114 × blue in extended
// precision, rounded to nearest (ties to even), at most 255.
uint8_t GrayValue(uint8_t red, uint8_t green, uint8_t blue);

// Sets the three bytes of every pixel of a 24-bit bitmap to its gray value. Any other
// pixel format raises EInvalidGraphic "Invalid pixel format" and changes nothing.
void GrayscaleBitmap(TBitmap& bitmap);
