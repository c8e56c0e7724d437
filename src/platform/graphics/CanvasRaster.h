// Pixel writing for the drawing calls: a context's bitmap seen through its clip, with
// colours turned into the bitmap's pixel values (nearest colour-table entry in the
// palette formats) and the line raster operations applied to pixel values as stored.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/PixelAccess.h"

class TRasterTarget {
public:
  // The pixels of dc's bitmap inside its clip and, when given, inside `deviceClip`.
  explicit TRasterTarget(TDeviceContext& dc, const TRect* deviceClip = nullptr);

  bool Empty() const noexcept { return IsRectEmpty(FClip); }
  const TRect& Clip() const noexcept { return FClip; }
  bool Monochrome() const noexcept { return FBitsPerPixel == 1; }

  // Fills the clipped part of a device rectangle with a colour.
  void Fill(TRect rect, COLORREF color);
  // Applies a raster operation (R2_...) with a colour to the clipped part of a rectangle.
  void Rop(TRect rect, COLORREF color, int32_t rop2);
  // Sets one pixel to a colour (nothing outside the clip).
  void Put(int32_t x, int32_t y, TRgb color);
  // Blends a colour over pixels x0..x1-1 of row y (those inside the clip), pixel x with
  // coverage[x - x0] of 0..255 (255: the colour itself).
  void BlendRow(int32_t y, int32_t x0, int32_t x1, COLORREF color, const uint8_t* coverage);
  // For loops that write many pixels of a row themselves: the row of y, and a colour
  // stored at x of it (y and x inside the clip, which the caller has made sure of);
  // Wrote tells of the cells x0..x1-1 of row y so written.
  uint8_t* RowOf(int32_t y);
  void StoreAt(uint8_t* row, int32_t x, TRgb color) {
    if (FBitsPerPixel >= 24)
      WritePixelRgb(row, x, FBitsPerPixel, color);
    else
      Store(row, x, color);
  }
  void Wrote(int32_t y, int32_t x0, int32_t x1) noexcept { Touch(TRect{x0, y, x1, y + 1}); }

private:
  uint32_t PixelValue(COLORREF color);
  // The colour-table lookup of the palette formats, made on first use.
  TNearestColorMap& Nearest();
  // Writes a colour into pixel x of a row: as it is, or as the nearest colour-table index.
  void Store(uint8_t* row, int32_t x, TRgb color);
  static uint32_t ApplyRop(int32_t rop2, uint32_t pen, uint32_t dest, uint32_t mask) noexcept;

  // Widens the context's touched box (when it keeps one) by a written rectangle.
  void Touch(const TRect& written) noexcept {
    if (FTouched) UnionRect(FTouched, *FTouched, written);
  }

  TBitmap* FBitmap = nullptr;
  TRect* FTouched = nullptr;
  int32_t FBitsPerPixel = 0;
  std::span<const TPaletteEntry> FColors;
  std::optional<TNearestColorMap> FNearest;
  TRect FClip;
};
