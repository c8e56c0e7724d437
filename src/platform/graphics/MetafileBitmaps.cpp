// Bitmap records: the DIB decoded within the limits, and blitted through a raster
// operation, a blend, a mask or a transparent colour.
#include <algorithm>
#include <cmath>

#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/DibDecode.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileRecordReader.h"
#include "platform/graphics/MetafileRecorder.h"
#include "platform/graphics/MetafileTarget.h"

namespace {

// A ternary raster operation on 8-bit channels: bit i of the operation's index (bits
// 16..23 of the code) is the result for pattern bit (i >> 2), source bit (i >> 1) and
// destination bit (i & 1).
uint8_t Rop3(uint32_t rop, uint8_t p, uint8_t s, uint8_t d) {
  const uint32_t index = (rop >> 16) & 0xFF;
  uint32_t result = 0;
  for (int i = 0; i < 8; ++i) {
    if (!((index >> i) & 1)) continue;
    const uint32_t term = ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    result |= term;
  }
  return static_cast<uint8_t>(result);
}

bool RopUsesSource(uint32_t rop) { return (((rop >> 2) ^ rop) & 0x330000) != 0; }

}  // namespace

bool MaskBitSet(const TBitmap& mask, int64_t x, int64_t y) {
  if (x < 0 || y < 0 || x >= mask.Width() || y >= mask.Height()) return false;
  const auto c = static_cast<COLORREF>(mask.PixelColor(static_cast<int32_t>(x), static_cast<int32_t>(y)));
  return GetRValue(c) + GetGValue(c) + GetBValue(c) > 3 * 255 / 2;
}

std::unique_ptr<TBitmap> TMetafilePlayer::LoadBitmap(std::span<const uint8_t> dib,
                                                     std::span<const uint8_t> bits) const {
  TRecordReader header(dib);
  const uint32_t headerBytes = header.U32(0);
  int64_t width = 0, height = 0;
  if (headerBytes == 12) {
    width = header.U16(4);
    height = header.I16(6);
  } else {
    width = header.I32(4);
    height = header.I32(8);
  }
  if (header.Short || width <= 0 || height == 0 || width * std::abs(height) > FLimits.MaxBitmapPixels) return nullptr;
  try {
    if (bits.empty()) return LoadDibBitmap(dib);
    std::vector<uint8_t> joined(dib.begin(), dib.end());
    joined.insert(joined.end(), bits.begin(), bits.end());
    return LoadDibBitmap(joined, static_cast<int64_t>(dib.size()));
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
  constexpr uint32_t kPatCopy = 0x00F00021;
  if (!bitmap) {
    if ((rop & 0xFFFF0000u) != (kPatCopy & 0xFFFF0000u)) return recorder.Refused = true, void();
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
    if (!bitmap) return ++Skipped, void();
  }
  // The bitmap is decoded once for all the pieces of the clip.
  auto draw = [&] { BlitBitmap(bitmap.get(), destA, destSize, source, rop, options); };
  if (!EachPiece(draw)) draw();
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
  if (!FDc.Bitmap()) return;
  TRasterTarget target(FDc);
  const TRect clip = target.Clip();
  const int32_t cx0 = std::max(clip.Left, ToPixel(std::ceil(x0 - 0.5))),
                cx1 = std::min(clip.Right, ToPixel(std::ceil(x1 - 0.5)));
  const int32_t cy0 = std::max(clip.Top, ToPixel(std::ceil(y0 - 0.5))),
                cy1 = std::min(clip.Bottom, ToPixel(std::ceil(y1 - 0.5)));
  if (cx0 >= cx1 || cy0 >= cy1 || x1 - x0 <= 0 || y1 - y0 <= 0) return;
  const TBitmap& dest = *FDc.Bitmap();
  const COLORREF pattern = State.Brush.Style == BS_NULL ? 0 : State.Brush.Color;
  const int32_t sourceAlpha = options.SourceAlpha;
  for (int32_t y = cy0; y < cy1; ++y) {
    double fy = (y + 0.5 - y0) / (y1 - y0);
    if (mirrorY) fy = 1 - fy;
    const int64_t sy = source.Top + static_cast<int64_t>(std::floor(fy * source.Height()));
    for (int32_t x = cx0; x < cx1; ++x) {
      double fx = (x + 0.5 - x0) / (x1 - x0);
      if (mirrorX) fx = 1 - fx;
      const int64_t sx = source.Left + static_cast<int64_t>(std::floor(fx * source.Width()));
      TRgb s{};
      if (bitmap) {
        if (sx < 0 || sy < 0 || sx >= bitmap->Width() || sy >= bitmap->Height()) continue;
        const COLORREF c =
            static_cast<COLORREF>(bitmap->PixelColor(static_cast<int32_t>(sx), static_cast<int32_t>(sy)));
        if (options.Transparent && c == *options.Transparent) continue;
        s = RgbOf(c);
      }
      const uint32_t op = !options.Mask || MaskBitSet(*options.Mask, options.MaskOrigin.X + (sx - source.Left),
                                                      options.MaskOrigin.Y + (sy - source.Top))
                              ? rop
                              : options.BackRop;
      const COLORREF d = static_cast<COLORREF>(dest.PixelColor(x, y));
      TRgb out;
      if (sourceAlpha >= 0) {
        const auto mix = [&](uint8_t sc, uint8_t dc) {
          return static_cast<uint8_t>((sc * sourceAlpha + dc * (255 - sourceAlpha) + 127) / 255);
        };
        out = TRgb{mix(s.R, GetRValue(d)), mix(s.G, GetGValue(d)), mix(s.B, GetBValue(d))};
      } else if ((op & 0xFFFF0000u) == 0x00CC0000u) {
        out = s;
      } else {
        out = TRgb{Rop3(op, GetRValue(pattern), s.R, GetRValue(d)), Rop3(op, GetGValue(pattern), s.G, GetGValue(d)),
                   Rop3(op, GetBValue(pattern), s.B, GetBValue(d))};
      }
      target.Put(x, y, out);
    }
  }
}
