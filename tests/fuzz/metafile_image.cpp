// Metafiles and icons reach documents inside RTF, native files and the clipboard: any
// bytes must either load or raise an exception, never crash, hang or read outside the
// input. A loaded metafile is played onto a bitmap (skipping what it cannot draw and
// what is past its work budget), made into a bitmap at its stated size as far as its
// bytes admit, saved as the bytes it was loaded from, converted to the other format and
// recorded through a metafile canvas (both must load again); a loaded icon draws each
// entry.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/graphics/Icon.h"
#include "platform/graphics/Metafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetSize(64, 48);
  TMetafile metafile;
  // Small enough that one input cannot take long.
  metafile.Limits.MaxRecords = 20000;
  metafile.Limits.MaxBitmapPixels = 1 << 20;
  metafile.Limits.MaxPathPoints = 100000;
  metafile.Limits.PlayWorkAllowance = 1 << 20;
  metafile.Limits.MaxPlayWork = 4 << 20;
  metafile.Limits.ConvertedPixelAllowance = 64 << 10;
  metafile.Limits.RasterPixelAllowance = 64 << 10;
  try {
    metafile.LoadFromBytes(bytes);
    metafile.Draw(*target.Canvas(), Rect(0, 0, 64, 48));
    metafile.Draw(*target.Canvas(), Rect(60, 40, -300, -200));  // mirrored and past the edges
    // Made into a bitmap at its stated size, as far as the data admits it.
    TBitmap stated;
    stated.Assign(&metafile);
    if (int64_t{stated.Width()} * stated.Height() >
        metafile.Limits.RasterPixelAllowance + int64_t{metafile.Limits.RasterPixelsPerByte} * int64_t(size))
      std::abort();
    // Converted to the other format, and recorded by a metafile canvas: each a metafile
    // that loads again and plays.
    const auto converted = ConvertedMetafile(metafile);
    TMetafile recorded;
    {
      TMetafileCanvas canvas(recorded, 64, 48);
      metafile.Draw(canvas, Rect(0, 0, 64, 48));
      canvas.Close();
    }
    for (const TMetafile* made : {converted.get(), &recorded}) {
      TMetafile again;
      again.Limits = metafile.Limits;
      try {
        again.LoadFromBytes(made->SavedBytes());
      } catch (const EInvalidGraphic&) {
        std::abort();
      }
      again.Draw(*target.Canvas(), Rect(0, 0, 64, 48));
    }
    const std::vector<uint8_t> saved = metafile.SavedBytes();
    // An enhanced metafile, or a Windows one with its placeable header, saves as loaded.
    if (metafile.Enhanced() || (size >= 4 && data[0] == 0xD7 && data[1] == 0xCD))
      if (saved.size() != size || std::memcmp(saved.data(), data, size) != 0) std::abort();
  } catch (const EInvalidGraphic&) {
    if (!metafile.Empty()) std::abort();  // a failed load leaves the (empty) metafile as it was
  }
  TIcon icon;
  try {
    icon.LoadFromBytes(bytes);
    for (const TIconEntry& entry : icon.Entries()) {
      icon.SetSize(entry.Width, entry.Height);
      icon.Draw(*target.Canvas(), Rect(3, 3, 40, 30));
    }
  } catch (const EInvalidGraphic&) {
    if (!icon.Empty()) std::abort();
  }
  return 0;
}
