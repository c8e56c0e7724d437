#include "richtext/model/RPWordPainters.h"

#include <vector>

#include "richtext/model/RPStyle.h"

void TRPWordMisspellPainter::Draw(TCanvas& canvas, const TRect& rect, const TRPStyle& rpStyle) const {
  constexpr size_t MaxPoints = 1024;
  std::vector<TPoint> points;
  for (int32_t x = rect.Left; x < rect.Right && points.size() < MaxPoints; x += 2)
    points.push_back(TPoint{x, points.size() % 2 == 0 ? rect.Bottom - 2 : rect.Bottom});
  if (points.size() < 2) return;
  points.back().X = rect.Right;
  const TColor color = canvas.Pen().Color();
  const int32_t width = canvas.Pen().Width();
  canvas.Pen().SetColor(rpStyle.LiveSpellingColor);
  canvas.Pen().SetWidth(1);
  canvas.Polyline(points);
  canvas.Pen().SetColor(color);
  canvas.Pen().SetWidth(width);
}
