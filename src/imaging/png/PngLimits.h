// The limits of the PNG reader. Each is a field of `TPngLimits`, which every
// `TPNGObject` carries (`Limits`), so a test narrows one object without touching others.
// The defaults take any image a book may hold.
#pragma once

#include <cstdint>

struct TPngLimits {
  // The file format allows 2^31 - 1; the raster stops at 65535 pixels a side.
  uint32_t MaxWidthPx = 65535;
  uint32_t MaxHeightPx = 65535;
  // Raster, alpha plane and low-byte plane together; far above a full-page photo.
  int64_t MaxImageBytes = int64_t{512} << 20;
  // The data of one chunk other than IDAT (IDAT data is streamed, never held whole).
  uint32_t MaxChunkBytes = 64u << 20;
  // Chunks in one file, skipped ones included: a file of endless empty chunks stops.
  uint32_t MaxChunkCount = 100000;
  // The inflated text of one zTXt chunk.
  uint32_t MaxTextBytes = 16u << 20;
};

// The largest chunk length the format allows (lengths are below 2^31).
inline constexpr uint32_t PngMaxChunkLength = 0x7FFFFFFF;
