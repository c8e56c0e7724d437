#include "platform/graphics/CanvasRaster.h"

#include <algorithm>

#include "platform/graphics/Bitmap.h"

TRasterTarget::TRasterTarget(TDeviceContext& dc, const TRect* deviceClip) : FBitmap(dc.Bitmap()), FTouched(dc.Touched) {
  FClip = dc.DeviceClip();
  if (deviceClip) IntersectRect(&FClip, FClip, *deviceClip);
  if (!FBitmap || FBitmap->Empty()) {
    FClip = TRect{};
    return;
  }
  FBitsPerPixel = FBitmap->BitsPerPixel();
  FColors = FBitmap->ColorTable();
}

uint32_t TRasterTarget::PixelValue(COLORREF color) {
  TRgb rgb{GetRValue(color), GetGValue(color), GetBValue(color)};
  if (FBitsPerPixel >= 24) return (uint32_t{rgb.R} << 16) | (uint32_t{rgb.G} << 8) | rgb.B;
  return Nearest().Index(rgb);
}

TNearestColorMap& TRasterTarget::Nearest() {
  if (!FNearest) FNearest.emplace(FColors);
  return *FNearest;
}

void TRasterTarget::Store(uint8_t* row, int32_t x, TRgb color) {
  if (FBitsPerPixel >= 24)
    WritePixelRgb(row, x, FBitsPerPixel, color);
  else
    SetPixelIndex(row, x, FBitsPerPixel, Nearest().Index(color));
}

uint32_t TRasterTarget::ApplyRop(int32_t rop2, uint32_t pen, uint32_t dest, uint32_t mask) noexcept {
  switch (rop2) {
    case R2_BLACK:
      return 0;
    case R2_NOTCOPYPEN:
      return ~pen & mask;
    case R2_NOT:
      return ~dest & mask;
    case R2_XORPEN:
      return (pen ^ dest) & mask;
    case R2_NOP:
      return dest;
    case R2_WHITE:
      return mask;
    default:
      return pen;
  }
}

void TRasterTarget::Fill(TRect rect, COLORREF color) { Rop(rect, color, R2_COPYPEN); }

void TRasterTarget::Rop(TRect rect, COLORREF color, int32_t rop2) {
  if (!IntersectRect(&rect, rect, FClip)) return;
  Touch(rect);
  const uint32_t pen = PixelValue(color);
  const uint32_t mask = FBitsPerPixel >= 24 ? 0xFFFFFFu : (1u << FBitsPerPixel) - 1;
  for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
    uint8_t* row = FBitmap->ScanLine(y);
    for (int32_t x = rect.Left; x < rect.Right; ++x) {
      if (FBitsPerPixel >= 24) {
        uint8_t* p = row + x * (FBitsPerPixel / 8);
        uint32_t dest = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
        uint32_t value = rop2 == R2_COPYPEN ? pen : ApplyRop(rop2, pen, dest, mask);
        p[0] = static_cast<uint8_t>(value);
        p[1] = static_cast<uint8_t>(value >> 8);
        p[2] = static_cast<uint8_t>(value >> 16);
      } else {
        uint32_t dest = rop2 == R2_COPYPEN ? 0 : GetPixelIndex(row, x, FBitsPerPixel);
        SetPixelIndex(row, x, FBitsPerPixel, ApplyRop(rop2, pen, dest, mask));
      }
    }
  }
}

uint8_t* TRasterTarget::RowOf(int32_t y) { return FBitmap->ScanLine(y); }

void TRasterTarget::Put(int32_t x, int32_t y, TRgb color) {
  if (!PtInRect(FClip, TPoint{x, y})) return;
  Touch(TRect{x, y, x + 1, y + 1});
  Store(FBitmap->ScanLine(y), x, color);
}

void TRasterTarget::BlendRow(int32_t y, int32_t x0, int32_t x1, COLORREF color, const uint8_t* coverage) {
  const int32_t from = std::max(x0, FClip.Left), to = std::min(x1, FClip.Right);
  if (y < FClip.Top || y >= FClip.Bottom || from >= to) return;
  Touch(TRect{from, y, to, y + 1});
  uint8_t* row = FBitmap->ScanLine(y);
  const uint32_t monoValue = FBitsPerPixel == 1 ? PixelValue(color) : 0;
  for (int32_t x = from; x < to; ++x) {
    const uint32_t c = coverage[x - x0];
    if (c == 0) continue;
    if (FBitsPerPixel == 1) {
      if (c >= 128) SetPixelIndex(row, x, 1, monoValue);
      continue;
    }
    const TRgb dest = ReadPixelRgb(row, x, FBitsPerPixel, FColors);
    auto mix = [c](uint8_t src, uint8_t dst) { return static_cast<uint8_t>((src * c + dst * (255 - c) + 127) / 255); };
    Store(row, x, TRgb{mix(GetRValue(color), dest.R), mix(GetGValue(color), dest.G), mix(GetBValue(color), dest.B)});
  }
}
