#include "platform/graphics/CanvasShapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/MetafileRecorder.h"

namespace {

// Pens wider than this are drawn as one swept band.
constexpr int32_t kSweptPenWidth = 64;

// Paints the line from a to b (device pixels), b excluded, with the selected pen.
void PaintLine(TDeviceContext& dc, TPoint a, TPoint b) {
  const TPenObject& pen = dc.SelectedPen();
  if (pen.Style == PS_NULL || !dc.Bitmap()) return;
  TRasterTarget target(dc);
  if (target.Empty()) return;
  const int32_t w = pen.Width;
  const int32_t rop = dc.State.Rop2;
  const bool dotted = pen.Style == PS_DOT && w == 1;
  // A horizontal or vertical line with a solid pen is one band.
  if (!dotted && (a.Y == b.Y || a.X == b.X)) {
    if (a == b) return;
    TRect band = a.Y == b.Y ? TRect{std::min(a.X, b.X + 1), a.Y - w / 2, std::max(a.X + 1, b.X), a.Y - w / 2 + w}
                            : TRect{a.X - w / 2, std::min(a.Y, b.Y + 1), a.X - w / 2 + w, std::max(a.Y + 1, b.Y)};
    target.Rop(band, pen.Color, rop);
    return;
  }
  // A very wide pen: the stamps' union, the square swept from a to b, row by row, so the
  // work is the band's area and not the stamps' (the pen's width squared per point).
  if (!dotted && w > kSweptPenWidth) {
    const TRect& clip = target.Clip();
    const double ax = a.X - w / 2, ay = a.Y - w / 2, ddx = b.X - a.X, ddy = b.Y - a.Y;
    const int32_t top = std::max(clip.Top, std::min(a.Y, b.Y) - w / 2);
    const int32_t bottom = std::min(clip.Bottom, std::max(a.Y, b.Y) - w / 2 + w);
    for (int32_t y = top; y < bottom; ++y) {
      const double yc = y + 0.5;
      // The part of the sweep whose square covers the row's centre.
      double t0 = 0, t1 = 1;
      if (ddy != 0) {
        const double u = (yc - ay - w) / ddy, v = (yc - ay) / ddy;
        t0 = std::max(0.0, std::min(u, v));
        t1 = std::min(1.0, std::max(u, v));
      } else if (yc < ay || yc >= ay + w) {
        continue;
      }
      if (t0 > t1) continue;
      const double x0 = ax + std::min(t0 * ddx, t1 * ddx), x1 = ax + std::max(t0 * ddx, t1 * ddx) + w;
      const int32_t left = std::max(clip.Left, static_cast<int32_t>(std::floor(x0)));
      const int32_t right = std::min(clip.Right, static_cast<int32_t>(std::ceil(x1)));
      if (left < right) target.Rop(TRect{left, y, right, y + 1}, pen.Color, rop);
    }
    return;
  }
  // Bresenham, stepping along the major axis; each point stamps a w x w square.
  const int32_t dx = std::abs(b.X - a.X), dy = std::abs(b.Y - a.Y);
  const int32_t sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
  int32_t err = dx - dy;
  TPoint p = a;
  for (int32_t step = 0; p != b; ++step) {
    TRect dot{p.X - w / 2, p.Y - w / 2, p.X - w / 2 + w, p.Y - w / 2 + w};
    if (!dotted || (step / 3) % 2 == 0)
      target.Rop(dot, pen.Color, rop);
    else if (dc.State.BkMode == OPAQUE)
      target.Fill(dot, dc.State.BkColor);
    const int32_t e2 = 2 * err;
    if (e2 > -dy) {
      err -= dy;
      p.X += sx;
    }
    if (e2 < dx) {
      err += dx;
      p.Y += sy;
    }
  }
}

// The device rectangle of two logical corners, whichever way round they are given.
TRect Normalized(TDeviceContext& dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const TRect r = dc.ToDevice(TRect{left, top, right, bottom});
  return TRect{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
               std::max(r.Top, r.Bottom)};
}

// Writes a line, outline or filled figure (device pixels) into the context's recorder.
void RecordFigure(TDeviceContext& dc, std::initializer_list<TPoint> points, const TPoint* more, int32_t count,
                  bool closed, bool fill, bool stroke, const TMfState* state = nullptr) {
  TFigure figure{{}, closed};
  for (const TPoint& p : points) figure.Points.push_back(TPointD{double(p.X), double(p.Y)});
  for (int32_t i = 0; i < count; ++i) {
    const TPoint d = dc.ToDevice(more[i].X, more[i].Y);
    figure.Points.push_back(TPointD{double(d.X), double(d.Y)});
  }
  const TMfState own = state ? *state : TMetafileRecorder::StateOf(dc);
  if (fill) dc.Recorder->Figures(own, std::span(&figure, 1), true, false);
  if (stroke && own.Pen.Style != PS_NULL) dc.Recorder->Figures(own, std::span(&figure, 1), false, true);
}

}  // namespace

bool MoveToEx(HDC dc, int32_t x, int32_t y, TPoint* previous) {
  if (!dc) return false;
  if (previous) *previous = dc->State.PenPos;
  dc->State.PenPos = TPoint{x, y};
  return true;
}

bool LineTo(HDC dc, int32_t x, int32_t y) {
  if (!dc) return false;
  if (dc->Recorder)
    RecordFigure(*dc, {dc->ToDevice(dc->State.PenPos.X, dc->State.PenPos.Y), dc->ToDevice(x, y)}, nullptr, 0, false,
                 false, true);
  PaintLine(*dc, dc->ToDevice(dc->State.PenPos.X, dc->State.PenPos.Y), dc->ToDevice(x, y));
  dc->State.PenPos = TPoint{x, y};
  return true;
}

bool Polyline(HDC dc, const TPoint* points, int32_t count) {
  if (!dc || count < 2 || !points) return false;
  if (dc->Recorder) RecordFigure(*dc, {}, points, count, false, false, true);
  for (int32_t i = 1; i < count; ++i)
    PaintLine(*dc, dc->ToDevice(points[i - 1].X, points[i - 1].Y), dc->ToDevice(points[i].X, points[i].Y));
  return true;
}

bool Polygon(HDC dc, const TPoint* points, int32_t count) {
  if (!dc || count < 2 || !points) return false;
  if (dc->Recorder) RecordFigure(*dc, {}, points, count, true, dc->SelectedBrush().Style != BS_NULL, true);
  if (!dc->Bitmap()) return true;
  std::vector<TPoint> device(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) device[static_cast<size_t>(i)] = dc->ToDevice(points[i].X, points[i].Y);
  const TBrushObject& brush = dc->SelectedBrush();
  if (brush.Style != BS_NULL) {
    TRasterTarget target(*dc);
    int32_t top = device[0].Y, bottom = device[0].Y;
    for (const TPoint& p : device) {
      top = std::min(top, p.Y);
      bottom = std::max(bottom, p.Y);
    }
    std::vector<double> crossings;
    for (int32_t y = top; y < bottom; ++y) {
      // Where the outline crosses the row's centre line, left to right.
      const double cy = y + 0.5;
      crossings.clear();
      for (size_t i = 0; i < device.size(); ++i) {
        const TPoint a = device[i], b = device[(i + 1) % device.size()];
        if ((a.Y <= cy) == (b.Y <= cy)) continue;
        crossings.push_back(a.X + (cy - a.Y) * (b.X - a.X) / (b.Y - a.Y));
      }
      std::sort(crossings.begin(), crossings.end());
      for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
        const auto from = static_cast<int32_t>(std::ceil(crossings[i] - 0.5));
        const auto to = static_cast<int32_t>(std::ceil(crossings[i + 1] - 0.5));
        if (from < to) target.Fill(TRect{from, y, to, y + 1}, brush.Color);
      }
    }
  }
  if (dc->SelectedPen().Style != PS_NULL)
    for (size_t i = 0; i < device.size(); ++i) PaintLine(*dc, device[i], device[(i + 1) % device.size()]);
  return true;
}

bool Rectangle(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (!dc) return false;
  if (dc->Recorder) {
    // Without a pen the brush covers a pixel less to the right and bottom.
    TRect r = Normalized(*dc, left, top, right, bottom);
    if (dc->SelectedPen().Style == PS_NULL) r = TRect{r.Left, r.Top, r.Right - 1, r.Bottom - 1};
    dc->Recorder->Shape(TMetafileRecorder::StateOf(*dc), false, r);
  }
  if (!dc->Bitmap()) return true;
  TRect r = Normalized(*dc, left, top, right, bottom);
  const TPenObject& pen = dc->SelectedPen();
  const TBrushObject& brush = dc->SelectedBrush();
  TRasterTarget target(*dc);
  if (pen.Style == PS_NULL) {
    if (brush.Style != BS_NULL) target.Fill(TRect{r.Left, r.Top, r.Right - 1, r.Bottom - 1}, brush.Color);
    return true;
  }
  const int32_t w = pen.Width;
  // The band's outer edge: inside-frame pens keep it on the bounds, others centre it on
  // the outermost cells.
  TRect outer = r;
  if (pen.Style != PS_INSIDEFRAME)
    outer = TRect{r.Left - w / 2, r.Top - w / 2, r.Right - 1 - w / 2 + w, r.Bottom - 1 - w / 2 + w};
  TRect inner{outer.Left + w, outer.Top + w, outer.Right - w, outer.Bottom - w};
  if (brush.Style != BS_NULL && !IsRectEmpty(inner)) target.Fill(inner, brush.Color);
  if (pen.Style == PS_DOT && w == 1) {
    TPoint corners[5] = {{outer.Left, outer.Top},
                         {outer.Right - 1, outer.Top},
                         {outer.Right - 1, outer.Bottom - 1},
                         {outer.Left, outer.Bottom - 1},
                         {outer.Left, outer.Top}};
    for (int i = 1; i < 5; ++i) PaintLine(*dc, corners[i - 1], corners[i]);
    return true;
  }
  const int32_t rop = dc->State.Rop2;
  const int32_t bandX = std::min(w, outer.Width()), bandY = std::min(w, outer.Height());
  target.Rop(TRect{outer.Left, outer.Top, outer.Right, outer.Top + bandY}, pen.Color, rop);
  if (outer.Height() > bandY)
    target.Rop(TRect{outer.Left, std::max(outer.Bottom - bandY, outer.Top + bandY), outer.Right, outer.Bottom},
               pen.Color, rop);
  int32_t midTop = outer.Top + bandY, midBottom = std::max(outer.Bottom - bandY, midTop);
  target.Rop(TRect{outer.Left, midTop, outer.Left + bandX, midBottom}, pen.Color, rop);
  if (outer.Width() > bandX)
    target.Rop(TRect{std::max(outer.Right - bandX, outer.Left + bandX), midTop, outer.Right, midBottom}, pen.Color,
               rop);
  return true;
}

bool Ellipse(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (!dc) return false;
  if (dc->Recorder)
    dc->Recorder->Shape(TMetafileRecorder::StateOf(*dc), true, Normalized(*dc, left, top, right, bottom));
  if (!dc->Bitmap()) return true;
  TRect r = Normalized(*dc, left, top, right, bottom);
  if (IsRectEmpty(r)) return true;
  const TPenObject& pen = dc->SelectedPen();
  const TBrushObject& brush = dc->SelectedBrush();
  TRasterTarget target(*dc);
  const double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
  const double rx = r.Width() / 2.0, ry = r.Height() / 2.0;
  const int32_t w = pen.Style == PS_NULL ? 0 : pen.Width;
  auto inside = [&](int32_t x, int32_t y, double shrink) {
    const double ax = rx - shrink, ay = ry - shrink;
    if (ax <= 0 || ay <= 0) return false;
    const double px = (x + 0.5 - cx) / ax, py = (y + 0.5 - cy) / ay;
    return px * px + py * py <= 1.0;
  };
  for (int32_t y = r.Top; y < r.Bottom; ++y)
    for (int32_t x = r.Left; x < r.Right; ++x) {
      if (!inside(x, y, 0)) continue;
      if (w > 0 && !inside(x, y, w))
        target.Rop(TRect{x, y, x + 1, y + 1}, pen.Color, dc->State.Rop2);
      else if (brush.Style != BS_NULL)
        target.Fill(TRect{x, y, x + 1, y + 1}, brush.Color);
    }
  return true;
}

int32_t FillRect(HDC dc, const TRect* rect, HBRUSH brush) {
  if (!dc || !rect || !IsGdiObject(brush)) return 0;
  if (dc->Recorder && brush->Style != BS_NULL) {
    const TRect r = Normalized(*dc, rect->Left, rect->Top, rect->Right, rect->Bottom);
    TMfState state = TMetafileRecorder::StateOf(*dc);
    state.Brush = TMfBrush{BS_SOLID, brush->Color, 0, nullptr};
    state.Rop2 = R2_COPYPEN;
    RecordFigure(*dc, {{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}}, nullptr, 0, true,
                 true, false, &state);
  }
  if (brush->Style == BS_NULL || !dc->Bitmap()) return 1;
  TRasterTarget(*dc).Fill(Normalized(*dc, rect->Left, rect->Top, rect->Right, rect->Bottom), brush->Color);
  return 1;
}

int32_t FrameRect(HDC dc, const TRect* rect, HBRUSH brush) {
  if (!dc || !rect || !IsGdiObject(brush)) return 0;
  TRect r = Normalized(*dc, rect->Left, rect->Top, rect->Right, rect->Bottom);
  if (dc->Recorder && brush->Style != BS_NULL && !IsRectEmpty(r)) {
    // The border's four sides as one figure set; the corners they share stay filled
    // under the winding rule.
    TMfState state = TMetafileRecorder::StateOf(*dc);
    state.Brush = TMfBrush{BS_SOLID, brush->Color, 0, nullptr};
    state.Rop2 = R2_COPYPEN;
    state.PolyFillMode = WINDING;
    std::vector<TFigure> sides;
    for (const TRect& s : {TRect{r.Left, r.Top, r.Right, r.Top + 1}, TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom},
                           TRect{r.Left, r.Top, r.Left + 1, r.Bottom}, TRect{r.Right - 1, r.Top, r.Right, r.Bottom}})
      sides.push_back(TFigure{{{double(s.Left), double(s.Top)},
                               {double(s.Right), double(s.Top)},
                               {double(s.Right), double(s.Bottom)},
                               {double(s.Left), double(s.Bottom)}},
                              true});
    dc->Recorder->Figures(state, sides, true, false);
  }
  if (brush->Style == BS_NULL || !dc->Bitmap()) return 1;
  if (IsRectEmpty(r)) return 1;
  TRasterTarget target(*dc);
  target.Fill(TRect{r.Left, r.Top, r.Right, r.Top + 1}, brush->Color);
  target.Fill(TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom}, brush->Color);
  target.Fill(TRect{r.Left, r.Top, r.Left + 1, r.Bottom}, brush->Color);
  target.Fill(TRect{r.Right - 1, r.Top, r.Right, r.Bottom}, brush->Color);
  return 1;
}

bool DrawFocusRect(HDC dc, const TRect* rect) {
  if (!dc || !rect) return false;
  if (!dc->Bitmap()) return true;
  TRect r = Normalized(*dc, rect->Left, rect->Top, rect->Right, rect->Bottom);
  if (IsRectEmpty(r)) return true;
  TRasterTarget target(*dc);
  // Walk the border once, clockwise, so no pixel is inverted twice.
  int32_t step = 0;
  auto invert = [&](int32_t x, int32_t y) {
    if (step++ % 2 == 0) target.Rop(TRect{x, y, x + 1, y + 1}, 0, R2_NOT);
  };
  for (int32_t x = r.Left; x < r.Right; ++x) invert(x, r.Top);
  for (int32_t y = r.Top + 1; y < r.Bottom; ++y) invert(r.Right - 1, y);
  if (r.Height() > 1)
    for (int32_t x = r.Right - 2; x >= r.Left; --x) invert(x, r.Bottom - 1);
  if (r.Width() > 1)
    for (int32_t y = r.Bottom - 2; y > r.Top; --y) invert(r.Left, y);
  return true;
}
