// JPEG images reach the program inside books: any bytes must either load or raise an
// exception, never crash, hang or read outside the input. A loaded image is a 24-bit
// bitmap of its announced size, copied whole into a bitmap, and saved as the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/base/Streams.h"
#include "platform/graphics/JpegImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  if (size > 0) input.WriteBuffer(data, static_cast<int32_t>(size));
  input.SetPosition(0);
  TJPEGImage image;
  // Small enough that one input cannot take long.
  image.Limits.MaxWidthPx = 2048;
  image.Limits.MaxHeightPx = 2048;
  image.Limits.MaxImageBytes = 8 << 20;
  image.Limits.MaxDecoderBytes = 64 << 20;
  image.Limits.MaxScans = 100;
  try {
    image.LoadFromStream(input);
  } catch (const Exception&) {
    if (!image.Empty()) std::abort();  // a failed load leaves the (empty) image as it was
    return 0;
  }
  const TBitmap& bitmap = image.Bitmap();
  if (bitmap.PixelFormat() != pf24bit || bitmap.Width() < 1 || bitmap.Height() < 1) std::abort();
  TBitmap copy;
  copy.Assign(image);
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    if (std::memcmp(copy.ScanLine(y), bitmap.ScanLine(y), static_cast<size_t>(bitmap.BytesPerScanLine())) != 0)
      std::abort();
  TMemoryStream saved;
  image.SaveToStream(saved);
  if (saved.Size() != static_cast<int64_t>(size) || std::memcmp(saved.Memory(), data, size) != 0) std::abort();
  return 0;
}
