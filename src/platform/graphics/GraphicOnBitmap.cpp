#include "platform/graphics/GraphicOnBitmap.h"

#include "platform/graphics/Metafile.h"

TSize RasterSizeOf(const TGraphic& graphic) {
  if (const auto* metafile = dynamic_cast<const TMetafile*>(&graphic)) return metafile->RasterSize();
  return TSize{graphic.Width(), graphic.Height()};
}

void DrawAtRasterSize(TCanvas& canvas, const TGraphic& graphic) {
  const TSize size = RasterSizeOf(graphic);
  if (size.cx == graphic.Width() && size.cy == graphic.Height())
    canvas.Draw(0, 0, &graphic);
  else
    canvas.StretchDraw(Rect(0, 0, size.cx, size.cy), &graphic);
}

void DrawOnWhiteBitmap(const TGraphic& graphic, TBitmap& bitmap) {
  const TSize size = RasterSizeOf(graphic);
  bitmap.SetSize(size.cx, size.cy);
  TCanvas& canvas = *bitmap.Canvas();
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
  graphic.Draw(canvas, Rect(0, 0, bitmap.Width(), bitmap.Height()));
}
