// Bitmap records: the DIB decoded within the limits, and blitted through a raster
// operation, a blend, a mask or a transparent colour (the loop is MetafilePixels.cpp's).
#include <algorithm>
#include <cmath>

#include "platform/graphics/DibDecode.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileRecorder.h"
#include "platform/graphics/MetafileTarget.h"

bool MaskBitSet(const TBitmap& mask, int64_t x, int64_t y) {
  if (x < 0 || y < 0 || x >= mask.Width() || y >= mask.Height()) return false;
  const auto c = static_cast<COLORREF>(mask.PixelColor(static_cast<int32_t>(x), static_cast<int32_t>(y)));
  return GetRValue(c) + GetGValue(c) + GetBValue(c) > 3 * 255 / 2;
}

std::unique_ptr<TBitmap> TMetafilePlayer::LoadBitmap(std::span<const uint8_t> dib, std::span<const uint8_t> bits) {
  try {
    // Rows apart from the header follow it in one copy, as the decoder reads them.
    std::vector<uint8_t> joined;
    if (!bits.empty()) {
      joined.assign(dib.begin(), dib.end());
      joined.insert(joined.end(), bits.begin(), bits.end());
    }
    const std::span<const uint8_t> whole = bits.empty() ? dib : std::span<const uint8_t>(joined);
    const int64_t bitsOffset = bits.empty() ? 0 : static_cast<int64_t>(dib.size());
    // What the header declares is paid for before it is allocated; run-length rows that
    // cannot fill a fair part of it are no picture.
    const TDibRaster raster = DibRaster(whole, bitsOffset);
    if (raster.DeclaredPx > FLimits.MaxBitmapPixels ||
        raster.CodedPx < raster.DeclaredPx / std::max(FLimits.BitmapFillDivisor, 1) || !Afford(raster.DeclaredPx))
      return nullptr;
    return LoadDibBitmap(whole, bitsOffset);
  } catch (const EInvalidGraphic&) {
    return nullptr;
  }
}

// A blit as a bitmap record of the part of the bitmap it takes (or, with no bitmap, the
// pattern filling the rectangle); a blend, a mask, a transparent colour, a raster
// operation of the pattern with the destination, or a source beyond the bitmap is none
// the recorder takes.
void TMetafilePlayer::RecordBlit(const TBitmap* bitmap, const TRect& source, const TRect& dest, uint32_t rop,
                                 const TBlitOptions& options) {
  TMetafileRecorder& recorder = *FDc.Recorder;
  if (!bitmap) {
    if (!SameRop(rop, PATCOPY)) return recorder.Refused = true, void();
    TMfState state = RecordedState();
    state.Rop2 = R2_COPYPEN;
    const TRect r{std::min(dest.Left, dest.Right), std::min(dest.Top, dest.Bottom), std::max(dest.Left, dest.Right),
                  std::max(dest.Top, dest.Bottom)};
    const TFigure box{{{double(r.Left), double(r.Top)},
                       {double(r.Right), double(r.Top)},
                       {double(r.Right), double(r.Bottom)},
                       {double(r.Left), double(r.Bottom)}},
                      true};
    if (State.Brush.Style != BS_NULL) recorder.Figures(state, std::span(&box, 1), true, false);
    return;
  }
  TRect inside;
  IntersectRect(&inside, source, TRect{0, 0, bitmap->Width(), bitmap->Height()});
  if (options.SourceAlpha >= 0 || options.Mask || options.Transparent || !(inside == source))
    return recorder.Refused = true, void();
  recorder.Bitmap(RecordedState(), *bitmap, source, dest, rop);
}

void TMetafilePlayer::Blit(std::span<const uint8_t> dib, std::span<const uint8_t> bits, TPointD destA, TPointD destSize,
                           TRect source, uint32_t rop, const TBlitOptions& options) {
  if (!FDc.Bitmap() && !FDc.Recorder) return;
  std::unique_ptr<TBitmap> bitmap;
  if (RopUsesSource(rop) || (options.Mask && RopUsesSource(options.BackRop)) || options.SourceAlpha >= 0 ||
      options.Transparent) {
    bitmap = LoadBitmap(dib, bits);
    if (!bitmap) return SkipForBitmap();
  }
  // The bitmap is decoded once for all the pieces of the clip.
  auto draw = [&] { BlitBitmap(bitmap.get(), destA, destSize, source, rop, options); };
  if (!EachPiece(draw, 1)) draw();
}

void TMetafilePlayer::BlitBitmap(const TBitmap* bitmap, TPointD destA, TPointD destSize, const TRect& source,
                                 uint32_t rop, const TBlitOptions& options) {
  const TPointD p = ToTarget(destA), q = ToTarget(destA.X + destSize.X, destA.Y + destSize.Y);
  const TPoint origin = FDc.ToDevice(0, 0);
  const double x0 = std::min(p.X, q.X) + origin.X, x1 = std::max(p.X, q.X) + origin.X;
  const double y0 = std::min(p.Y, q.Y) + origin.Y, y1 = std::max(p.Y, q.Y) + origin.Y;
  if (!std::isfinite(x0) || !std::isfinite(x1) || !std::isfinite(y0) || !std::isfinite(y1)) return ++Skipped, void();
  const bool mirrorX = q.X < p.X, mirrorY = q.Y < p.Y;
  if (FDc.Recorder)
    RecordBlit(
        bitmap, source,
        TRect{ToPixel(p.X) + origin.X, ToPixel(p.Y) + origin.Y, ToPixel(q.X) + origin.X, ToPixel(q.Y) + origin.Y}, rop,
        options);
  if (FDc.Bitmap()) BlitPixels(bitmap, x0, x1, y0, y1, mirrorX, mirrorY, source, rop, options);
}
