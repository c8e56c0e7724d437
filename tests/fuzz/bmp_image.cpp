// Bitmap-file images reach the program inside stored documents and the clipboard: any
// bytes must either load or raise one of the class library's exceptions, never crash or
// read outside the input. A loaded image written again and read back gives the same
// pixels, colour table and pixel format (the device format aside).
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  input.WriteBuffer(data, static_cast<int32_t>(size));
  input.SetPosition(0);
  TBitmap bitmap;
  try {
    bitmap.LoadFromStream(input);
  } catch (const Exception&) {
    return 0;
  }
  TMemoryStream written;
  bitmap.SaveToStream(written);
  written.SetPosition(0);
  TBitmap again;
  again.LoadFromStream(written);
  if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height() ||
      again.PixelFormat() != bitmap.PixelFormat() || again.ColorTable().size() != bitmap.ColorTable().size())
    std::abort();
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    if (std::memcmp(again.ScanLine(y), bitmap.ScanLine(y), static_cast<size_t>(bitmap.BytesPerScanLine())) != 0)
      std::abort();
  return 0;
}
