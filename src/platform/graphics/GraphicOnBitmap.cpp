#include "platform/graphics/GraphicOnBitmap.h"

#include "platform/graphics/Canvas.h"

void DrawOnWhiteBitmap(const TGraphic& graphic, TBitmap& bitmap) {
  bitmap.SetSize(graphic.Width(), graphic.Height());
  TCanvas& canvas = *bitmap.Canvas();
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
  graphic.Draw(canvas, Rect(0, 0, bitmap.Width(), bitmap.Height()));
}
