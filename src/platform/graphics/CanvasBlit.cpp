#include "platform/graphics/CanvasBlit.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/MetafileRecorder.h"

void DrawBitmapPixels(TDeviceContext& dest, const TRect& destRect, const TBitmap& source, const TRect& sourceRect,
                      std::optional<TColor> transparent) {
  const TRect target = dest.ToDevice(destRect);
  if (IsRectEmpty(target) || IsRectEmpty(sourceRect) || source.Empty()) return;
  TRasterTarget raster(dest, &target);
  const TRect& clip = raster.Clip();
  const TRect whole{0, 0, source.Width(), source.Height()};
  TRect inside;
  IntersectRect(&inside, sourceRect, whole);
  // A part within the bitmap drawn whole is a bitmap record; other drawing goes into the
  // recorder as the pixels it leaves.
  const bool asPixels = dest.Recorder && (transparent || !(inside == sourceRect));
  if (dest.Recorder && !asPixels)
    dest.Recorder->Bitmap(TMetafileRecorder::StateOf(dest), source, sourceRect, target, SRCCOPY);
  const int64_t sw = sourceRect.Width(), sh = sourceRect.Height();
  const int64_t dw = target.Width(), dh = target.Height();
  const int32_t bpp = source.BitsPerPixel();
  for (int32_t y = clip.Top; y < clip.Bottom; ++y) {
    const int32_t sy = sourceRect.Top + static_cast<int32_t>((y - target.Top) * sh / dh);
    if (sy < 0 || sy >= source.Height()) continue;
    const uint8_t* row = source.ScanLine(sy);
    for (int32_t x = clip.Left; x < clip.Right; ++x) {
      const int32_t sx = sourceRect.Left + static_cast<int32_t>((x - target.Left) * sw / dw);
      if (sx < 0 || sx >= source.Width()) continue;
      TRgb c = ReadPixelRgb(row, sx, bpp, source.ColorTable());
      if (transparent && static_cast<TColor>(RGB(c.R, c.G, c.B)) == *transparent) continue;
      raster.Put(x, y, c);
    }
  }
  if (asPixels && dest.Bitmap()) dest.Recorder->Pixels(*dest.Bitmap(), clip, clip);
}

bool StretchBlt(HDC dest, int32_t x, int32_t y, int32_t width, int32_t height, HDC source, int32_t sourceX,
                int32_t sourceY, int32_t sourceWidth, int32_t sourceHeight, uint32_t rop) {
  if (!dest || !source || rop != SRCCOPY || width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0 ||
      !source->Bitmap())
    return false;
  TPoint origin = source->ToDevice(sourceX, sourceY);
  DrawBitmapPixels(*dest, Bounds(x, y, width, height), *source->Bitmap(),
                   Bounds(origin.X, origin.Y, sourceWidth, sourceHeight), std::nullopt);
  return true;
}

bool BitBlt(HDC dest, int32_t x, int32_t y, int32_t width, int32_t height, HDC source, int32_t sourceX, int32_t sourceY,
            uint32_t rop) {
  return StretchBlt(dest, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}
