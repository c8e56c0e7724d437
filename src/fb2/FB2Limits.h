// The limits of the book model: what one book may ask of the image decoders and of the
// table measurement. A field of every `TFictionBook2` (`Limits`), so a test narrows one
// object alone; the defaults take any real book.
#pragma once

#include <cstdint>

#include "imaging/png/PngLimits.h"
#include "platform/graphics/JpegImage.h"

struct TFB2Limits {
  // The decoders' own limits for the book's pictures.
  TJpegLimits Jpeg;
  TPngLimits Png;
  // The widest "colspan" a table cell counts for: a cell spanning billions of columns
  // would make the table layout allocate for every one of them.
  int32_t MaxColSpan = 1000;
};
