// PNG images reach the program inside books: any bytes must either load or raise an
// exception, never crash, hang or read outside the input. A loaded image is drawn into a
// bitmap, and written and read again to the same size (and, without gamma, pixels).
#include <cstdint>
#include <cstdlib>

#include "FuzzSkipChecksums.h"
#include "imaging/png/PngCodec.h"
#include "platform/base/Streams.h"

namespace {

// Small enough that one input cannot take long, large enough for every layout.
void Narrow(TPngLimits& limits) {
  limits.MaxWidthPx = 1024;
  limits.MaxHeightPx = 1024;
  limits.MaxImageBytes = 8 << 20;
  limits.MaxTextBytes = 1 << 20;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  input.WriteBuffer(data, static_cast<int32_t>(size));
  input.SetPosition(0);
  TPNGObject image;
  Narrow(image.Limits);
  try {
    image.LoadFromStream(input);
  } catch (const Exception&) {
    if (!image.Empty()) std::abort();  // a failed load leaves the (empty) image as it was
    return 0;
  }
  TBitmap drawn;
  drawn.Assign(image);
  if (drawn.Width() != image.Width() || drawn.Height() != image.Height()) std::abort();

  TMemoryStream written;
  image.SaveToStream(written);
  written.SetPosition(0);
  TPNGObject again;
  Narrow(again.Limits);
  again.LoadFromStream(written);
  if (again.Width() != image.Width() || again.Height() != image.Height()) std::abort();
  // Colours are written through the gamma curve in force at the end of the file, so a
  // gAMA chunk after the palette or the image data changes them: compare without one.
  if (image.ItemFromClass<TChunkgAMA>() != nullptr) return 0;
  for (int32_t y = 0; y < image.Height(); ++y)
    for (int32_t x = 0; x < image.Width(); ++x)
      if (again.GetPixel(x, y) != image.GetPixel(x, y) || again.PixelAlpha(x, y) != image.PixelAlpha(x, y))
        std::abort();
  return 0;
}
