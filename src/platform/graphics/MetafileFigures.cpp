// Figures of the drawing records: lines, polylines, curves, polygons, rectangles,
// ellipses and arcs, and the paths that collect them.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileRecorder.h"
#include "platform/graphics/MetafileTarget.h"

namespace {
constexpr double kPi = std::numbers::pi;
}  // namespace

bool TMetafilePlayer::CheckPoints(size_t count) {
  if (static_cast<int64_t>(count) <= FLimits.MaxPathPoints) return true;
  ++Skipped;
  return false;
}

std::vector<TFigure> TMetafilePlayer::DeviceFigures(const std::vector<TFigure>& figures) const {
  const TPoint origin = FDc.ToDevice(0, 0);
  std::vector<TFigure> device = figures;
  for (TFigure& f : device)
    for (TPointD& p : f.Points) p = TPointD{p.X + origin.X, p.Y + origin.Y};
  return device;
}

void TMetafilePlayer::DrawFigures(const std::vector<TFigure>& figures, bool fill, bool stroke) {
  if (fill) Fill(figures);
  if (stroke) Stroke(figures);
}

void TMetafilePlayer::AddToPathOrDraw(std::vector<TFigure> figures, bool fill, bool stroke) {
  if (FPathOpen) {
    size_t total = 0;
    for (const TFigure& f : FPath) total += f.Points.size();
    for (const TFigure& f : figures) total += f.Points.size();
    if (!CheckPoints(total)) return;
    for (TFigure& f : figures) FPath.push_back(std::move(f));
    return;
  }
  DrawFigures(figures, fill, stroke);
}

void TMetafilePlayer::LineTo(TPointD p) {
  if (FPathOpen) {
    if (FPath.empty() || FPath.back().Closed) FPath.push_back(TFigure{{ToTarget(State.Position)}, false});
    if (CheckPoints(FPath.back().Points.size() + 1)) FPath.back().Points.push_back(ToTarget(p));
  } else {
    DrawFigures({TFigure{{ToTarget(State.Position), ToTarget(p)}, false}}, false, true);
  }
  State.Position = p;
}

void TMetafilePlayer::Polyline(std::span<const TPointD> points, bool fromCurrent, bool updateCurrent) {
  if (points.empty() || !CheckPoints(points.size() + 1)) return;
  TFigure figure;
  if (fromCurrent) figure.Points.push_back(ToTarget(State.Position));
  for (const TPointD& p : points) figure.Points.push_back(ToTarget(p));
  if (updateCurrent) State.Position = points.back();
  if (FPathOpen && fromCurrent && !FPath.empty() && !FPath.back().Closed) {
    auto& last = FPath.back().Points;
    if (CheckPoints(last.size() + figure.Points.size()))
      last.insert(last.end(), figure.Points.begin() + 1, figure.Points.end());
    return;
  }
  AddToPathOrDraw({std::move(figure)}, false, true);
}

// Cubic Bezier segments (start, two controls, end; each next segment starts at the last
// end), flattened into 16 steps each.
void TMetafilePlayer::PolyBezier(std::span<const TPointD> points, bool fromCurrent) {
  std::vector<TPointD> all;
  if (fromCurrent) all.push_back(State.Position);
  all.insert(all.end(), points.begin(), points.end());
  if (all.size() < 4 || !CheckPoints(all.size() / 3 * 16 + 1)) return;
  std::vector<TPointD> flat{all[0]};
  constexpr int kSteps = 16;
  for (size_t i = 0; i + 3 < all.size(); i += 3) {
    const TPointD p0 = all[i], p1 = all[i + 1], p2 = all[i + 2], p3 = all[i + 3];
    for (int s = 1; s <= kSteps; ++s) {
      const double t = double(s) / kSteps, u = 1 - t;
      flat.push_back(TPointD{u * u * u * p0.X + 3 * u * u * t * p1.X + 3 * u * t * t * p2.X + t * t * t * p3.X,
                             u * u * u * p0.Y + 3 * u * u * t * p1.Y + 3 * u * t * t * p2.Y + t * t * t * p3.Y});
    }
  }
  if (fromCurrent) {
    Polyline(std::span(flat).subspan(1), true, true);
  } else {
    Polyline(flat, false, false);
  }
}

void TMetafilePlayer::PolyPolygon(std::span<const TPointD> points, std::span<const uint32_t> counts, bool closed) {
  if (!CheckPoints(points.size())) return;
  std::vector<TFigure> figures;
  size_t at = 0;
  for (uint32_t count : counts) {
    if (count > points.size() - at) break;
    TFigure f;
    f.Closed = closed;
    for (uint32_t i = 0; i < count; ++i) f.Points.push_back(ToTarget(points[at + i]));
    at += count;
    figures.push_back(std::move(f));
  }
  AddToPathOrDraw(std::move(figures), closed, true);
}

// Rectangles, ellipses and their kin cover the cells from their top-left corner up to,
// and not with, their bottom-right one: the outline runs one pixel inside the far edges.
// A rectangle or ellipse that stays one on the target goes into a recorder as itself, so
// its outline keeps to the far edges at whatever size the record is drawn.
bool TMetafilePlayer::RecordShape(bool ellipse, TPointD a, TPointD b) {
  const TXForm t = State.World.Then(PageTransform()).Then(FOutput);
  if (!FDc.Recorder || FPathOpen || !State.ClipPieces.empty() || std::abs(t.M12) > 1e-9 || std::abs(t.M21) > 1e-9)
    return false;
  const TPointD p = ToTarget(a), q = ToTarget(b);
  const TPoint origin = FDc.ToDevice(0, 0);
  TMfState state = RecordedState();
  FDc.Recorder->Shape(state, ellipse,
                      TRect{ToPixel(std::min(p.X, q.X)) + origin.X, ToPixel(std::min(p.Y, q.Y)) + origin.Y,
                            ToPixel(std::max(p.X, q.X)) + origin.X, ToPixel(std::max(p.Y, q.Y)) + origin.Y});
  return true;
}

void TMetafilePlayer::Rectangle(TPointD a, TPointD b) {
  TFigure fill{{ToTarget(a.X, a.Y), ToTarget(b.X, a.Y), ToTarget(b.X, b.Y), ToTarget(a.X, b.Y)}, true};
  if (FPathOpen) return AddToPathOrDraw({fill}, true, true);
  std::optional<TRecorderPause> recorded;
  if (RecordShape(false, a, b)) recorded.emplace(FDc);
  Fill({fill});
  TPointD p = ToTarget(a), q = ToTarget(b);
  if (p.X > q.X) std::swap(p.X, q.X);
  if (p.Y > q.Y) std::swap(p.Y, q.Y);
  const bool axisAligned = std::abs(fill.Points[0].Y - fill.Points[1].Y) < 1e-9;
  if (axisAligned)
    Stroke({TFigure{{{p.X, p.Y}, {q.X - 1, p.Y}, {q.X - 1, q.Y - 1}, {p.X, q.Y - 1}}, true}});
  else
    Stroke({fill});
}

double TMetafilePlayer::AngleOf(TPointD a, TPointD b, TPointD p) const {
  const double cx = (a.X + b.X) / 2, cy = (a.Y + b.Y) / 2;
  const double rx = std::abs(b.X - a.X) / 2, ry = std::abs(b.Y - a.Y) / 2;
  return std::atan2(ry > 0 ? (p.Y - cy) / ry : 0, rx > 0 ? (p.X - cx) / rx : 0);
}

// Points of an elliptic arc of the box (a, b), logical, from one parameter angle to the
// other in the drawing direction as it looks on the target (counter-clockwise unless
// the arc direction says otherwise), or the whole ellipse.
std::vector<TPointD> TMetafilePlayer::ArcPoints(TPointD a, TPointD b, double t0, double t1, bool full) const {
  const double cx = (a.X + b.X) / 2, cy = (a.Y + b.Y) / 2;
  const double rx = std::abs(b.X - a.X) / 2, ry = std::abs(b.Y - a.Y) / 2;
  const TXForm t = State.World.Then(PageTransform()).Then(FOutput);
  // With a transform that keeps y pointing down, counter-clockwise on the target is a
  // falling parameter angle.
  bool falling = t.Determinant() > 0;
  if (State.ArcClockwise) falling = !falling;
  double sweep;
  if (full) {
    sweep = falling ? -2 * kPi : 2 * kPi;
  } else if (falling) {
    sweep = t1 - t0;
    while (sweep >= 0) sweep -= 2 * kPi;
  } else {
    sweep = t1 - t0;
    while (sweep <= 0) sweep += 2 * kPi;
  }
  const double radiusPx = std::max(rx * ScaleX(), ry * ScaleY());
  const int steps =
      static_cast<int>(std::clamp(Bounded(std::abs(sweep) * std::min(radiusPx, 4096.0) / 2), 8.0, 2048.0));
  std::vector<TPointD> points;
  points.reserve(static_cast<size_t>(steps) + 1);
  for (int i = 0; i <= steps; ++i) {
    const double angle = t0 + sweep * i / steps;
    points.push_back(ToTarget(cx + rx * std::cos(angle), cy + ry * std::sin(angle)));
  }
  if (full) points.pop_back();
  return points;
}

void TMetafilePlayer::Ellipse(TPointD a, TPointD b) {
  TFigure f{ArcPoints(a, b, 0, 0, true), true};
  if (FPathOpen) return AddToPathOrDraw({f}, true, true);
  std::optional<TRecorderPause> recorded;
  if (RecordShape(true, a, b)) recorded.emplace(FDc);
  Fill({f});
  // The outline inside the far edges, as for rectangles: the corner that lands right
  // (below) on the target comes a target pixel nearer the other.
  const TXForm t = State.World.Then(PageTransform()).Then(FOutput);
  auto inset = [](double& from, double& to, bool growing, double pixel) {
    double& far = (to >= from) == growing ? to : from;
    const double& near = &far == &to ? from : to;
    far -= (far >= near ? 1 : -1) * pixel;
  };
  inset(a.X, b.X, t.M11 >= 0, 1 / std::max(ScaleX(), 1e-9));
  inset(a.Y, b.Y, t.M22 >= 0, 1 / std::max(ScaleY(), 1e-9));
  Stroke({TFigure{ArcPoints(a, b, 0, 0, true), true}});
}

void TMetafilePlayer::Arc(TPointD a, TPointD b, TPointD start, TPointD end, TArcKind kind) {
  const double t0 = AngleOf(a, b, start), t1 = AngleOf(a, b, end);
  const bool full = std::abs(t0 - t1) < 1e-12;
  TFigure f{ArcPoints(a, b, t0, t1, full), kind == akChord || kind == akPie};
  if (kind == akPie) f.Points.push_back(ToTarget((a.X + b.X) / 2, (a.Y + b.Y) / 2));
  if (kind == akArcTo) {
    // A line from the current position to the arc's start, then the arc; the current
    // position ends at the arc's end.
    const double cx = (a.X + b.X) / 2, cy = (a.Y + b.Y) / 2;
    const double rx = std::abs(b.X - a.X) / 2, ry = std::abs(b.Y - a.Y) / 2;
    LineTo(TPointD{cx + rx * std::cos(t0), cy + ry * std::sin(t0)});
    if (FPathOpen && !FPath.empty() && CheckPoints(FPath.back().Points.size() + f.Points.size()))
      FPath.back().Points.insert(FPath.back().Points.end(), f.Points.begin(), f.Points.end());
    else if (!FPathOpen)
      Stroke({f});
    const double t = full ? t0 : t1;
    State.Position = TPointD{cx + rx * std::cos(t), cy + ry * std::sin(t)};
    return;
  }
  AddToPathOrDraw({std::move(f)}, kind != akArc, true);
}

void TMetafilePlayer::RoundRect(TPointD a, TPointD b, double cornerW, double cornerH) {
  const double l = std::min(a.X, b.X), r = std::max(a.X, b.X), t = std::min(a.Y, b.Y), btm = std::max(a.Y, b.Y);
  const double rx = std::min(std::abs(cornerW), r - l) / 2, ry = std::min(std::abs(cornerH), btm - t) / 2;
  TFigure f{{}, true};
  struct TCorner {
    double Cx, Cy, From;
  };
  const TCorner corners[] = {
      {r - rx, t + ry, -kPi / 2}, {r - rx, btm - ry, 0}, {l + rx, btm - ry, kPi / 2}, {l + rx, t + ry, kPi}};
  constexpr int kSteps = 12;
  for (const TCorner& c : corners)
    for (int i = 0; i <= kSteps; ++i) {
      const double angle = c.From + (kPi / 2) * i / kSteps;
      f.Points.push_back(ToTarget(c.Cx + rx * std::cos(angle), c.Cy + ry * std::sin(angle)));
    }
  AddToPathOrDraw({std::move(f)}, true, true);
}

void TMetafilePlayer::SetPixel(TPointD p, COLORREF color) {
  if (EachPiece([&] { SetPixel(p, color); }, 1)) return;
  const TPointD t = ToTarget(p);
  const TPoint d = FDc.ToDevice(ToPixel(std::floor(t.X)), ToPixel(std::floor(t.Y)));
  if (FDc.Recorder) FDc.Recorder->Pixel(RecordedState(), d, color);
  TRasterTarget(FDc).Put(d.X, d.Y, RgbOf(color));
}

// ---- paths ----

void TMetafilePlayer::BeginPath() {
  FPath.clear();
  FPathOpen = true;
}
void TMetafilePlayer::AbortPath() {
  FPath.clear();
  FPathOpen = false;
}
void TMetafilePlayer::CloseFigure() {
  if (!FPath.empty()) FPath.back().Closed = true;
}
void TMetafilePlayer::FillPath(bool fill, bool stroke) {
  FPathOpen = false;
  if (fill)
    for (TFigure& f : FPath) f.Closed = true;
  DrawFigures(FPath, fill, stroke);
  FPath.clear();
}
