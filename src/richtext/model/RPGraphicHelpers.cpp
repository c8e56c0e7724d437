#include "richtext/model/RPGraphicHelpers.h"

#include <vector>

#include "platform/base/TextUtils.h"
#include "platform/graphics/CanvasBlit.h"
#include "platform/graphics/DibBits.h"

namespace {
TRPGraphicCreator GraphicCreator;

bool IsJpegImage(const TGraphic& graphic) { return SameText(graphic.ClassType()->ClassName, "TJPEGImage"); }
}  // namespace

TRPImportedGraphicHook ImportedGraphicHook = [](TGraphic&) {};

bool GraphicMayBeTransparent(const TGraphic& graphic) {
  if (dynamic_cast<const TBitmap*>(&graphic)) return graphic.Transparent();
  return !IsJpegImage(graphic);
}

void ApplyPaletteToGraphic(TGraphic& graphic, const TLogPalette* logPalette) {
  if (!logPalette) return;
  // The palette handle is shared: a graphic that does not keep it lets it go.
  graphic.SetPalette(CreatePalette(*logPalette));
}

void DrawGraphicOnDevice(TCanvas& canvas, int32_t x, int32_t y, bool stretch, const TGraphic& graphic,
                         const TRPResolution& resolution, int32_t height, int32_t width) {
  if (width < 0) width = graphic.Width();
  if (height < 0) height = graphic.Height();
  width = ScreenToDeviceX(width, resolution);
  height = ScreenToDeviceY(height, resolution);
  if (stretch) {
    canvas.StretchDraw(TRect{x, y, x + width, y + height}, &graphic);
  } else if (const auto* bitmap = dynamic_cast<const TBitmap*>(&graphic)) {
    canvas.Changing();
    DrawBitmapAsDIB(canvas.Handle(), x, y, *bitmap, height, width);
    canvas.Changed();
  }
}

void DrawBitmapAsDIB(HDC dc, int32_t x, int32_t y, const TBitmap& bitmap, int32_t height, int32_t width) {
  // A screen without a palette takes 24 bits per pixel and no colour table.
  BITMAPINFO info;
  BITMAPINFOHEADER& h = info.bmiHeader;
  h.biWidth = bitmap.Width();
  h.biHeight = bitmap.Height();
  h.biBitCount = 24;
  h.biCompression = BI_RGB;
  h.biSizeImage = DibRowBytes(h.biWidth, h.biBitCount) * static_cast<uint32_t>(h.biHeight);
  if (bitmap.Empty() || !GetDIBits(dc, &bitmap, 0, static_cast<uint32_t>(h.biHeight), nullptr, &info, DIB_RGB_COLORS))
    return;
  std::vector<uint8_t> bits(h.biSizeImage);
  GetDIBits(dc, &bitmap, 0, static_cast<uint32_t>(h.biHeight), bits.data(), &info, DIB_RGB_COLORS);
  StretchDIBits(dc, x, y, width, height, 0, 0, h.biWidth, h.biHeight, bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void SetRPGraphicCreator(TRPGraphicCreator creator) { GraphicCreator = std::move(creator); }

std::unique_ptr<TGraphic> RPCreateGraphic(TGraphicClass graphicClass) {
  if (GraphicCreator) return GraphicCreator(graphicClass);
  return graphicClass ? graphicClass->Create() : nullptr;
}

void RPAfterGraphicImport(TGraphic& graphic) {
  if (ImportedGraphicHook) ImportedGraphicHook(graphic);
}
