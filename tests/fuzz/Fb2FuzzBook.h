// The fuzz input as a stream, and book limits small enough that a hostile picture size
// cannot exhaust memory or time; shared by the targets that load books.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fb2/cFictionBook2.h"
#include "platform/base/Streams.h"

inline void LoadFuzzInput(TMemoryStream& input, const uint8_t* data, size_t size) {
  if (size > 0) input.WriteBuffer(data, static_cast<int32_t>(size));
  input.SetPosition(0);
}

inline void CapFuzzBookImages(TFictionBook2& book) {
  book.Limits.Jpeg.MaxWidthPx = book.Limits.Jpeg.MaxHeightPx = 1024;
  book.Limits.Jpeg.MaxImageBytes = 4 << 20;
  book.Limits.Png.MaxWidthPx = book.Limits.Png.MaxHeightPx = 1024;
  book.Limits.Png.MaxImageBytes = 4 << 20;
}
