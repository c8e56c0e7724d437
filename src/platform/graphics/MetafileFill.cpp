// Filling figures with the brush: the figures go to a recorder, once for each piece of
// the clip, and their edges to the scan conversion (MetafilePixels.cpp).
#include <algorithm>

#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileRecorder.h"

namespace {

size_t PointCount(const std::vector<TFigure>& figures) {
  size_t count = 0;
  for (const TFigure& f : figures) count += f.Points.size();
  return count;
}

}  // namespace

void TMetafilePlayer::Fill(const std::vector<TFigure>& figures) {
  if (State.Brush.Style == BS_NULL) return;
  if (FDc.Recorder) {
    // A recorder's clip is one rectangle: under a clip of pieces the figures go in once
    // for each.
    const std::vector<TFigure> device = DeviceFigures(figures);
    auto record = [&] { FDc.Recorder->Figures(RecordedState(), device, true, false); };
    if (!EachPiece(record, static_cast<int64_t>(PointCount(figures)))) record();
  }
  if (!FDc.Bitmap()) return;
  const TPoint origin = FDc.ToDevice(0, 0);
  std::vector<TFillEdge> edges;
  double top = 1e300, bottom = -1e300;
  for (const TFigure& f : figures) {
    const size_t n = f.Points.size();
    for (size_t i = 0; i < n; ++i) {
      TPointD a = f.Points[i], b = f.Points[(i + 1) % n];
      a.X += origin.X, a.Y += origin.Y, b.X += origin.X, b.Y += origin.Y;
      top = std::min(top, a.Y);
      bottom = std::max(bottom, a.Y);
      if (a.Y == b.Y) continue;
      edges.push_back(a.Y < b.Y ? TFillEdge{a.X, a.Y, b.X, b.Y, 1} : TFillEdge{b.X, b.Y, a.X, a.Y, -1});
    }
  }
  FillEdges(std::move(edges), top, bottom);
}
