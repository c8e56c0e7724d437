// Outlining figures with the pen, each segment cut to the clip first.
#include <algorithm>
#include <cmath>

#include "platform/graphics/CanvasShapes.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileRecorder.h"
#include "platform/graphics/MetafileTarget.h"

namespace {

// Cuts the segment a-b to the rectangle (Liang-Barsky); false when none of it is inside.
bool ClipSegment(TPointD& a, TPointD& b, const TRect& r) {
  double t0 = 0, t1 = 1;
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.X - r.Left, r.Right - a.X, a.Y - r.Top, r.Bottom - a.Y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const TPointD start{a.X + t0 * dx, a.Y + t0 * dy}, end{a.X + t1 * dx, a.Y + t1 * dy};
  a = start;
  b = end;
  return true;
}

}  // namespace

void TMetafilePlayer::Stroke(const std::vector<TFigure>& figures) {
  const int32_t style = State.Pen.Style & PS_STYLE_MASK;
  if (style == PS_NULL) return;
  // Under a clip of pieces each piece draws the segments again (cut to it).
  size_t segments = 0;
  for (const TFigure& f : figures) segments += f.Points.size();
  if (EachPiece([&] { Stroke(figures); }, static_cast<int64_t>(segments))) return;
  if (FDc.Recorder) FDc.Recorder->Figures(RecordedState(), DeviceFigures(figures), false, true);
  TRecorderPause recorded(FDc);
  const double widthPx = State.Pen.Width <= 0 ? 1 : State.Pen.Width * ScaleX();
  const int32_t dcStyle = (style >= PS_DASH && style <= PS_DASHDOTDOT && widthPx < 1.5) ? PS_DOT : PS_SOLID;
  FDc.State.Pen = std::make_shared<TPenObject>(dcStyle, std::max(1, ToPixel(widthPx)), State.Pen.Color);
  FDc.State.Rop2 = State.Rop2;
  FDc.State.BkColor = State.BkColor;
  FDc.State.BkMode = State.BkMode;
  // Each segment is cut to the part that can touch the clip (and the pen's width
  // around it) first, so a line far longer than the bitmap costs no more than one across it.
  // Each drawn segment pays first for the band its pen covers (never more than the clip).
  const TPoint origin = FDc.ToDevice(0, 0);
  TRect box = FDc.DeviceClip();
  if (IsRectEmpty(box)) return;
  const double clipPx = double(box.Width()) * box.Height();
  OffsetRect(&box, -origin.X, -origin.Y);
  const int32_t penPx = FDc.SelectedPen().Width;
  InflateRect(&box, penPx + 2, penPx + 2);
  auto segment = [&](TPointD a, TPointD b) {
    if (!ClipSegment(a, b, box)) return;
    const double bandPx = (std::hypot(b.X - a.X, b.Y - a.Y) + penPx) * penPx;
    if (!Afford(1 + static_cast<int64_t>(bandPx < clipPx ? bandPx : clipPx))) return;  // not a number: the clip
    const TPoint points[2] = {{ToPixel(a.X), ToPixel(a.Y)}, {ToPixel(b.X), ToPixel(b.Y)}};
    ::Polyline(&FDc, points, 2);
  };
  for (const TFigure& f : figures) {
    const size_t n = f.Points.size();
    if (n == 1) segment(f.Points[0], TPointD{f.Points[0].X + 1, f.Points[0].Y});
    for (size_t i = 1; i < n; ++i) segment(f.Points[i - 1], f.Points[i]);
    if (f.Closed && n > 1) segment(f.Points[n - 1], f.Points[0]);
  }
}
