// Filling figures with the brush: scan conversion of their edges, row by row.
#include <algorithm>
#include <cmath>

#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileRecorder.h"
#include "platform/graphics/MetafileTarget.h"

namespace {

bool HatchCovers(int32_t hatch, int32_t x, int32_t y) {
  switch (hatch) {
    case 0:
      return (y & 7) == 0;  // horizontal
    case 1:
      return (x & 7) == 0;  // vertical
    case 2:
      return ((x - y) & 7) == 0;  // forward diagonal
    case 3:
      return ((x + y) & 7) == 0;  // backward diagonal
    case 4:
      return (x & 7) == 0 || (y & 7) == 0;  // cross
    default:
      return ((x - y) & 7) == 0 || ((x + y) & 7) == 0;  // diagonal cross
  }
}

}  // namespace

void TMetafilePlayer::Fill(const std::vector<TFigure>& figures) {
  if (State.Brush.Style == BS_NULL || EachPiece([&] { Fill(figures); })) return;
  if (FDc.Recorder) FDc.Recorder->Figures(RecordedState(), DeviceFigures(figures), true, false);
  if (!FDc.Bitmap()) return;
  TRasterTarget target(FDc);
  if (target.Empty()) return;
  const TPoint origin = FDc.ToDevice(0, 0);
  struct TEdge {
    double X0, Y0, X1, Y1;
    int Dir;
  };
  std::vector<TEdge> edges;
  double top = 1e300, bottom = -1e300;
  for (const TFigure& f : figures) {
    const size_t n = f.Points.size();
    for (size_t i = 0; i < n; ++i) {
      TPointD a = f.Points[i], b = f.Points[(i + 1) % n];
      a.X += origin.X, a.Y += origin.Y, b.X += origin.X, b.Y += origin.Y;
      top = std::min(top, a.Y);
      bottom = std::max(bottom, a.Y);
      if (a.Y == b.Y) continue;
      edges.push_back(a.Y < b.Y ? TEdge{a.X, a.Y, b.X, b.Y, 1} : TEdge{b.X, b.Y, a.X, a.Y, -1});
    }
  }
  if (edges.empty()) return;
  const TRect clip = target.Clip();
  const int32_t y0 = std::max(clip.Top, static_cast<int32_t>(std::floor(Bounded(top))));
  const int32_t y1 = std::min(clip.Bottom, static_cast<int32_t>(std::ceil(Bounded(bottom))));
  const TMfBrush& brush = State.Brush;
  const bool solid = brush.Style == BS_SOLID || (!brush.Pattern && brush.Style != BS_HATCHED);
  std::vector<std::pair<double, int>> crossings;
  for (int32_t y = y0; y < y1; ++y) {
    const double yc = y + 0.5;
    crossings.clear();
    for (const TEdge& e : edges)
      if (yc >= e.Y0 && yc < e.Y1) crossings.push_back({e.X0 + (yc - e.Y0) * (e.X1 - e.X0) / (e.Y1 - e.Y0), e.Dir});
    std::sort(crossings.begin(), crossings.end());
    int winding = 0;
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += crossings[i].second;
      const bool inside = State.PolyFillMode == WINDING ? winding != 0 : (i % 2) == 0;
      if (!inside) continue;
      const int32_t xa = std::max(clip.Left, static_cast<int32_t>(std::ceil(Bounded(crossings[i].first - 0.5))));
      const int32_t xb = std::min(clip.Right, static_cast<int32_t>(std::ceil(Bounded(crossings[i + 1].first - 0.5))));
      if (xa >= xb) continue;
      if (solid) {
        if (State.Rop2 == R2_COPYPEN)
          target.Fill(TRect{xa, y, xb, y + 1}, brush.Color);
        else
          target.Rop(TRect{xa, y, xb, y + 1}, brush.Color, State.Rop2);
        continue;
      }
      for (int32_t x = xa; x < xb; ++x) {
        if (brush.Pattern) {
          const TBitmap& p = *brush.Pattern;
          const TColor c = p.PixelColor(x % p.Width(), y % p.Height());
          target.Put(x, y, RgbOf(static_cast<COLORREF>(c)));
        } else if (HatchCovers(brush.Hatch, x, y)) {
          target.Put(x, y, RgbOf(brush.Color));
        } else if (State.BkMode == OPAQUE) {
          target.Put(x, y, RgbOf(State.BkColor));
        }
      }
    }
  }
}
