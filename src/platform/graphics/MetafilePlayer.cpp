// The metafile player's state, mapping, objects and figures.
#include "platform/graphics/MetafilePlayer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/base/LittleEndian.h"
#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/CanvasShapes.h"
#include "platform/graphics/ClipPieces.h"
#include "platform/graphics/DibDecode.h"
#include "platform/graphics/MetafileFormat.h"
#include "platform/graphics/MetafileRecorder.h"
#include "platform/graphics/TextDraw.h"

// ---- record reader ----

uint32_t TRecordReader::U32(size_t at) {
  if (at > FRecord.size() || FRecord.size() - at < 4) return Short = true, 0;
  return LoadLE32(FRecord.data() + at);
}
uint16_t TRecordReader::U16(size_t at) {
  if (at > FRecord.size() || FRecord.size() - at < 2) return Short = true, 0;
  return LoadLE16(FRecord.data() + at);
}
uint8_t TRecordReader::U8(size_t at) {
  if (at >= FRecord.size()) return Short = true, 0;
  return FRecord[at];
}
float TRecordReader::F32(size_t at) {
  const float value = std::bit_cast<float>(U32(at));
  return std::isfinite(value) ? value : 0.0f;
}
std::span<const uint8_t> TRecordReader::Bytes(size_t at, uint64_t count) {
  if (at > FRecord.size() || FRecord.size() - at < count) return Short = true, std::span<const uint8_t>{};
  return FRecord.subspan(at, static_cast<size_t>(count));
}

// ---- transforms ----

TXForm TXForm::Then(const TXForm& n) const noexcept {
  return TXForm{M11 * n.M11 + M12 * n.M21, M11 * n.M12 + M12 * n.M22,      M21 * n.M11 + M22 * n.M21,
                M21 * n.M12 + M22 * n.M22, Dx * n.M11 + Dy * n.M21 + n.Dx, Dx * n.M12 + Dy * n.M22 + n.Dy};
}

namespace {

constexpr double kPi = std::numbers::pi;

// Millimetres per logical unit of the metric mapping modes.
double MillimetresPerUnit(int32_t mapMode) {
  switch (mapMode) {
    case MM_LOMETRIC:
      return 0.1;
    case MM_HIMETRIC:
      return 0.01;
    case MM_LOENGLISH:
      return 0.254;
    case MM_HIENGLISH:
      return 0.0254;
    case MM_TWIPS:
      return 25.4 / 1440;
    default:
      return 0;
  }
}

// Keeps coordinates far outside any bitmap (or not numbers at all, after overflowing
// transforms) from overflowing the integer calls.
double Bounded(double v) { return std::isnan(v) ? 0.0 : std::clamp(v, -1e8, 1e8); }
int32_t ToPixel(double v) { return static_cast<int32_t>(std::lround(Bounded(v))); }

TRgb RgbOf(COLORREF c) { return TRgb{GetRValue(c), GetGValue(c), GetBValue(c)}; }

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

// A ternary raster operation on 8-bit channels: bit i of the operation's index (bits
// 16..23 of the code) is the result for pattern bit (i >> 2), source bit (i >> 1) and
// destination bit (i & 1).
uint8_t Rop3(uint32_t rop, uint8_t p, uint8_t s, uint8_t d) {
  const uint32_t index = (rop >> 16) & 0xFF;
  uint32_t result = 0;
  for (int i = 0; i < 8; ++i) {
    if (!((index >> i) & 1)) continue;
    const uint32_t term = ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    result |= term;
  }
  return static_cast<uint8_t>(result);
}

bool RopUsesSource(uint32_t rop) { return (((rop >> 2) ^ rop) & 0x330000) != 0; }

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

// ---- player ----

TMetafilePlayer::TMetafilePlayer(TDeviceContext& dc, const TXForm& output, double unitsPerMm,
                                 const TMetafileLimits& limits)
    : FDc(dc), FOutput(output), FUnitsPerMm(unitsPerMm > 0 ? unitsPerMm : 96 / 25.4), FLimits(limits) {
  FSavedDc = ::SaveDC(&FDc);
  FBaseClip = FDc.State.Clip;
  State.Pen = TMfPen{0, 0, 0};
  State.Brush = TMfBrush{0, 0xFFFFFF, 0, nullptr};
}

TMetafilePlayer::~TMetafilePlayer() { ::RestoreDC(&FDc, FSavedDc); }

void TMetafilePlayer::SetObjectTableSize(int64_t slots) {
  FObjects.assign(static_cast<size_t>(std::clamp<int64_t>(slots, 0, FLimits.MaxObjects)), TMfObject{});
}

void TMetafilePlayer::CreateObject(TMfObject object) {
  for (auto& slot : FObjects)
    if (std::holds_alternative<std::monostate>(slot)) {
      slot = std::move(object);
      return;
    }
  if (static_cast<int64_t>(FObjects.size()) >= FLimits.MaxObjects) {
    ++Skipped;
    return;
  }
  FObjects.push_back(std::move(object));
}

void TMetafilePlayer::CreateObjectAt(uint32_t index, TMfObject object) {
  if (index >= FObjects.size()) {
    ++Skipped;
    return;
  }
  FObjects[index] = std::move(object);
}

void TMetafilePlayer::DeleteObject(uint32_t index) {
  if (index < FObjects.size()) FObjects[index] = std::monostate{};
}

void TMetafilePlayer::SelectObject(uint32_t index) {
  if (index >= FObjects.size()) {
    ++Skipped;
    return;
  }
  const TMfObject& object = FObjects[index];
  if (const auto* pen = std::get_if<TMfPen>(&object))
    State.Pen = *pen;
  else if (const auto* brush = std::get_if<TMfBrush>(&object))
    State.Brush = *brush;
  else if (const auto* font = std::get_if<TMfFont>(&object))
    State.Font = *font;
  else if (const auto* region = std::get_if<TMfRegion>(&object)) {
    std::vector<TRect> rects;
    for (const TRect& r : region->Rects) {
      const TPointD a = ToTarget(r.Left, r.Top), b = ToTarget(r.Right, r.Bottom);
      rects.push_back(TRect{ToPixel(std::min(a.X, b.X)), ToPixel(std::min(a.Y, b.Y)), ToPixel(std::max(a.X, b.X)),
                            ToPixel(std::max(a.Y, b.Y))});
    }
    SelectClipRegion(rects, 5);
  }
}

void TMetafilePlayer::SelectStockObject(uint32_t stockIndex) {
  static constexpr COLORREF brushColors[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
  if (stockIndex <= 4)
    State.Brush = TMfBrush{BS_SOLID, brushColors[stockIndex], 0, nullptr};
  else if (stockIndex == 5)
    State.Brush = TMfBrush{BS_NULL, 0, 0, nullptr};
  else if (stockIndex == 6 || stockIndex == 7)
    State.Pen = TMfPen{PS_SOLID, 0, stockIndex == 6 ? 0xFFFFFFu : 0u};
  else if (stockIndex == 8)
    State.Pen = TMfPen{PS_NULL, 0, 0};
  else if (stockIndex >= 10 && stockIndex <= 17)
    State.Font = TMfFont{};
  else if (stockIndex == 18)
    State.Brush = TMfBrush{BS_SOLID, 0xFFFFFF, 0, nullptr};
  else if (stockIndex == 19)
    State.Pen = TMfPen{PS_SOLID, 0, 0};
}

TXForm TMetafilePlayer::PageTransform() const noexcept {
  double sx = 1, sy = 1;
  if (const double mm = MillimetresPerUnit(State.MapMode); mm > 0) {
    sx = mm * FUnitsPerMm;
    sy = -sx;
  } else if (State.MapMode == MM_ISOTROPIC || State.MapMode == MM_ANISOTROPIC) {
    sx = State.WindowExt.X != 0 ? State.ViewportExt.X / State.WindowExt.X : 1;
    sy = State.WindowExt.Y != 0 ? State.ViewportExt.Y / State.WindowExt.Y : 1;
  }
  return TXForm{
      sx, 0, 0, sy, State.ViewportOrg.X - State.WindowOrg.X * sx, State.ViewportOrg.Y - State.WindowOrg.Y * sy};
}

TPointD TMetafilePlayer::ToTarget(TPointD logical) const noexcept {
  return FOutput.Apply(PageTransform().Apply(State.World.Apply(logical)));
}

double TMetafilePlayer::ScaleX() const noexcept {
  const TXForm t = State.World.Then(PageTransform()).Then(FOutput);
  return std::hypot(t.M11, t.M12);
}
double TMetafilePlayer::ScaleY() const noexcept {
  const TXForm t = State.World.Then(PageTransform()).Then(FOutput);
  return std::hypot(t.M21, t.M22);
}

int32_t TMetafilePlayer::TargetEscapement(int32_t escapement) const noexcept {
  const TXForm t = State.World.Then(PageTransform()).Then(FOutput);
  // Counter-clockwise as seen: towards lower y where the logical y axis runs down the
  // target, towards higher y where the mapping turns it up.
  const double turn = (escapement % 3600) * std::numbers::pi / 1800.0;
  const double x = std::cos(turn), y = (t.Determinant() > 0 ? -1 : 1) * std::sin(turn);
  const double dx = x * t.M11 + y * t.M21, dy = x * t.M12 + y * t.M22;
  if (!(std::hypot(dx, dy) > 0)) return escapement;
  const auto tenths = static_cast<int32_t>(std::lround(std::atan2(-dy, dx) * 1800.0 / std::numbers::pi));
  return (tenths + 3600) % 3600;
}

void TMetafilePlayer::SetMapMode(int32_t mode) {
  if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return;
  State.MapMode = mode;
  if (mode == MM_ISOTROPIC) FixIsotropic();
}

// In the isotropic mode one logical unit is as long on both axes: the viewport extent
// shrinks on the axis that would stretch more, keeping its sign.
void TMetafilePlayer::FixIsotropic() {
  if (State.MapMode != MM_ISOTROPIC || State.WindowExt.X == 0 || State.WindowExt.Y == 0) return;
  const double sx = std::abs(State.ViewportExt.X / State.WindowExt.X);
  const double sy = std::abs(State.ViewportExt.Y / State.WindowExt.Y);
  const double s = std::min(sx, sy);
  State.ViewportExt.X = std::copysign(s * std::abs(State.WindowExt.X), State.ViewportExt.X);
  State.ViewportExt.Y = std::copysign(s * std::abs(State.WindowExt.Y), State.ViewportExt.Y);
}

void TMetafilePlayer::SaveState() {
  if (static_cast<int32_t>(FSaved.size()) >= FLimits.MaxSavedStates) {
    ++Skipped;
    return;
  }
  FSaved.push_back(State);
}

void TMetafilePlayer::RestoreState(int32_t relative) {
  // Negative: that many levels back; positive: the state saved at that depth.
  const int64_t depth = static_cast<int64_t>(FSaved.size());
  const int64_t target = relative < 0 ? depth + relative : int64_t{relative} - 1;
  if (target < 0 || target >= depth) {
    ++Skipped;
    return;
  }
  State = FSaved[static_cast<size_t>(target)];
  FSaved.resize(static_cast<size_t>(target));
  ApplyClip();
}

// ---- clipping ----

void TMetafilePlayer::ApplyClip() {
  std::optional<TRect> clip = FBaseClip;
  if (State.Clip) {
    if (clip) {
      TRect both;
      IntersectRect(&both, *clip, *State.Clip);
      clip = both;
    } else {
      clip = State.Clip;
    }
  }
  FDc.State.Clip = clip;
}

namespace {
TRect DeviceBox(const TDeviceContext& dc, TPointD a, TPointD b) {
  const TPoint origin = dc.ToDevice(0, 0);
  return TRect{ToPixel(std::min(a.X, b.X)) + origin.X, ToPixel(std::min(a.Y, b.Y)) + origin.Y,
               ToPixel(std::max(a.X, b.X)) + origin.X, ToPixel(std::max(a.Y, b.Y)) + origin.Y};
}
}  // namespace

// A clip everywhere the coordinates reach (the play's own clip narrows it).
constexpr TRect kEverywhere{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

std::vector<TRect> TMetafilePlayer::ClipNow() const {
  if (!State.ClipPieces.empty()) return State.ClipPieces;
  return {State.Clip ? *State.Clip : kEverywhere};
}

// combined: the pieces came from the clip by a region operation; a result past the
// limit then keeps their bounds.
void TMetafilePlayer::SetClipPieces(std::vector<TRect> pieces, bool combined) {
  std::erase_if(pieces, [](const TRect& r) { return IsRectEmpty(r); });
  if (!combined && !DisjointPieces(pieces, static_cast<size_t>(FLimits.MaxClipRects), pieces)) {
    ++Skipped;
    pieces = {PiecesBounds(pieces)};
  }
  State.ClipPieces.clear();
  if (pieces.size() > 1) {
    State.Clip = PiecesBounds(pieces);
    State.ClipPieces = std::move(pieces);
  } else {
    State.Clip = pieces.empty() ? TRect{} : pieces[0];
  }
  ApplyClip();
}

void TMetafilePlayer::SelectClipRegion(const std::vector<TRect>& targetRects, uint32_t mode) {
  const TPoint origin = FDc.ToDevice(0, 0);
  std::vector<TRect> rects;
  for (TRect r : targetRects) {
    OffsetRect(&r, origin.X, origin.Y);
    rects.push_back(r);
  }
  const size_t limit = static_cast<size_t>(FLimits.MaxClipRects);
  std::vector<TRect> region;
  if (!DisjointPieces(rects, limit, region)) {
    ++Skipped;
    region = {PiecesBounds(rects)};
  }
  std::vector<TRect> result;
  bool done = true;
  switch (mode) {
    case 1:
      done = IntersectPieces(ClipNow(), region, limit, result);
      break;
    case 2:
      done = UnitePieces(ClipNow(), region, limit, result);
      break;
    case 3:
      done = XorPieces(ClipNow(), region, limit, result);
      break;
    case 4:
      done = SubtractPieces(ClipNow(), region, limit, result);
      break;
    case 5:
      result = std::move(region);
      break;
    default:
      ++Skipped;
      return;
  }
  if (!done) {
    ++Skipped;
    return;
  }
  SetClipPieces(std::move(result), true);
}

void TMetafilePlayer::IntersectClip(TPointD a, TPointD b) {
  std::vector<TRect> result;
  if (IntersectPieces(ClipNow(), {DeviceBox(FDc, ToTarget(a), ToTarget(b))}, FLimits.MaxClipRects, result))
    SetClipPieces(std::move(result), true);
}

// The clip loses the rectangle, holes and all.
void TMetafilePlayer::ExcludeClip(TPointD a, TPointD b) {
  std::vector<TRect> result;
  if (SubtractPieces(ClipNow(), {DeviceBox(FDc, ToTarget(a), ToTarget(b))}, FLimits.MaxClipRects, result))
    SetClipPieces(std::move(result), true);
  else
    ++Skipped;
}

void TMetafilePlayer::SelectClipDevice(const TRect* targetRect, bool intersect) {
  if (!targetRect) {
    State.Clip.reset();
    State.ClipPieces.clear();
    ApplyClip();
    return;
  }
  SelectClipRegion({*targetRect}, intersect ? 1 : 5);
}

// ---- figures ----

bool TMetafilePlayer::CheckPoints(size_t count) {
  if (static_cast<int64_t>(count) <= FLimits.MaxPathPoints) return true;
  ++Skipped;
  return false;
}

TMfState TMetafilePlayer::RecordedState() const {
  TMfState state = State;
  state.Pen.Width = State.Pen.Width <= 0 ? 0 : State.Pen.Width * ScaleX();
  state.Clip = FDc.State.Clip;
  return state;
}

std::vector<TFigure> TMetafilePlayer::DeviceFigures(const std::vector<TFigure>& figures) const {
  const TPoint origin = FDc.ToDevice(0, 0);
  std::vector<TFigure> device = figures;
  for (TFigure& f : device)
    for (TPointD& p : f.Points) p = TPointD{p.X + origin.X, p.Y + origin.Y};
  return device;
}

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

void TMetafilePlayer::Stroke(const std::vector<TFigure>& figures) {
  const int32_t style = State.Pen.Style & 0x0F;
  if (style == PS_NULL || EachPiece([&] { Stroke(figures); })) return;
  if (FDc.Recorder) FDc.Recorder->Figures(RecordedState(), DeviceFigures(figures), false, true);
  TRecorderPause recorded(FDc);
  const double widthPx = State.Pen.Width <= 0 ? 1 : State.Pen.Width * ScaleX();
  const int32_t dcStyle = (style >= 1 && style <= 4 && widthPx < 1.5) ? PS_DOT : PS_SOLID;
  FDc.State.Pen = std::make_shared<TPenObject>(dcStyle, std::max(1, ToPixel(widthPx)), State.Pen.Color);
  FDc.State.Rop2 = State.Rop2;
  FDc.State.BkColor = State.BkColor;
  FDc.State.BkMode = State.BkMode;
  // Each segment is cut to the part that can touch the clip (and the pen's width
  // around it) first, so a line far longer than the bitmap costs no more than one across it.
  const TPoint origin = FDc.ToDevice(0, 0);
  TRect box = FDc.DeviceClip();
  if (IsRectEmpty(box)) return;
  OffsetRect(&box, -origin.X, -origin.Y);
  const int32_t margin = FDc.SelectedPen().Width + 2;
  InflateRect(&box, margin, margin);
  auto segment = [&](TPointD a, TPointD b) {
    if (!ClipSegment(a, b, box)) return;
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
  if (EachPiece([&] { SetPixel(p, color); })) return;
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
void TMetafilePlayer::ClipToPath() {
  FPathOpen = false;
  double l = 1e300, t = 1e300, r = -1e300, b = -1e300;
  for (const TFigure& f : FPath)
    for (const TPointD& p : f.Points) {
      l = std::min(l, p.X), t = std::min(t, p.Y), r = std::max(r, p.X), b = std::max(b, p.Y);
    }
  FPath.clear();
  if (l > r) return;
  std::vector<TRect> result;
  if (IntersectPieces(ClipNow(), {DeviceBox(FDc, {l, t}, {r, b})}, FLimits.MaxClipRects, result))
    SetClipPieces(std::move(result), true);
}

// ---- text ----

void TMetafilePlayer::TextOut(TPointD p, uint32_t options, const TPointD* rect, const WideString& text,
                              std::span<const int32_t> dx, bool dxHasY) {
  if (EachPiece([&] { TextOut(p, options, rect, text, dx, dxHasY); })) return;
  LOGFONTW lf = State.Font.LogFont;
  const double sy = ScaleY(), sx = ScaleX();
  if (lf.lfHeight != 0) {
    const int32_t h = std::max(1, ToPixel(std::abs(double(lf.lfHeight)) * sy));
    lf.lfHeight = lf.lfHeight < 0 ? -h : h;
  }
  lf.lfWidth = lf.lfWidth != 0 ? std::max(1, ToPixel(std::abs(double(lf.lfWidth)) * sx)) : 0;
  if (std::abs(lf.lfHeight) > 4096) return ++Skipped, void();
  lf.lfEscapement = lf.lfOrientation = TargetEscapement(lf.lfEscapement);
  HFONT font = CreateFontIndirectW(&lf);
  ::SelectObject(&FDc, font);
  ::DeleteObject(font);
  FDc.State.TextColor = State.TextColor;
  FDc.State.BkColor = State.BkColor;
  FDc.State.BkMode = State.BkMode;
  FDc.State.TextAlign = State.TextAlign & ~TA_UPDATECP;
  FDc.State.CharExtra = ToPixel(State.CharExtra * sx);
  const TPointD reference = ToTarget((State.TextAlign & TA_UPDATECP) ? State.Position : p);
  std::optional<TRect> clipRect;
  if (rect) {
    const TPointD a = ToTarget(rect[0]), b = ToTarget(rect[1]);
    clipRect = TRect{ToPixel(std::min(a.X, b.X)), ToPixel(std::min(a.Y, b.Y)), ToPixel(std::max(a.X, b.X)),
                     ToPixel(std::max(a.Y, b.Y))};
  }
  std::vector<int32_t> advances;
  const size_t step = dxHasY ? 2 : 1;
  if (!dx.empty() && dx.size() >= text.size() * step) {
    // Rounded from the running sum, so the text keeps its width at any scale.
    double at = 0;
    int32_t placed = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      at += dx[i * step] * sx;
      advances.push_back(ToPixel(at) - placed);
      placed += advances.back();
    }
  }
  ExtTextOutW(&FDc, ToPixel(reference.X), ToPixel(reference.Y), options & (ETO_OPAQUE | ETO_CLIPPED | ETO_RTLREADING),
              clipRect ? &*clipRect : nullptr, text.data(), static_cast<uint32_t>(text.size()),
              advances.empty() ? nullptr : advances.data());
}

// ---- bitmaps ----

bool MaskBitSet(const TBitmap& mask, int64_t x, int64_t y) {
  if (x < 0 || y < 0 || x >= mask.Width() || y >= mask.Height()) return false;
  const auto c = static_cast<COLORREF>(mask.PixelColor(static_cast<int32_t>(x), static_cast<int32_t>(y)));
  return GetRValue(c) + GetGValue(c) + GetBValue(c) > 3 * 255 / 2;
}

std::unique_ptr<TBitmap> TMetafilePlayer::LoadBitmap(std::span<const uint8_t> dib,
                                                     std::span<const uint8_t> bits) const {
  TRecordReader header(dib);
  const uint32_t headerBytes = header.U32(0);
  int64_t width = 0, height = 0;
  if (headerBytes == 12) {
    width = header.U16(4);
    height = header.I16(6);
  } else {
    width = header.I32(4);
    height = header.I32(8);
  }
  if (header.Short || width <= 0 || height == 0 || width * std::abs(height) > FLimits.MaxBitmapPixels) return nullptr;
  try {
    if (bits.empty()) return LoadDibBitmap(dib);
    std::vector<uint8_t> joined(dib.begin(), dib.end());
    joined.insert(joined.end(), bits.begin(), bits.end());
    return LoadDibBitmap(joined, static_cast<int64_t>(dib.size()));
  } catch (const EInvalidGraphic&) {
    return nullptr;
  }
}

// A blit as a bitmap record of the part of the bitmap it takes (or, with no bitmap, the
// pattern filling the rectangle); a blend, a mask, a transparent colour, a raster
// operation of the pattern with the destination, or a source beyond the bitmap is none
// the recorder takes.
void TMetafilePlayer::RecordBlit(const TBitmap* bitmap, const TRect& source, const TRect& dest, uint32_t rop,
                                 const TBlitOptions& options) {
  TMetafileRecorder& recorder = *FDc.Recorder;
  constexpr uint32_t kPatCopy = 0x00F00021;
  if (!bitmap) {
    if ((rop & 0xFFFF0000u) != (kPatCopy & 0xFFFF0000u)) return recorder.Refused = true, void();
    TMfState state = RecordedState();
    state.Rop2 = R2_COPYPEN;
    const TRect r{std::min(dest.Left, dest.Right), std::min(dest.Top, dest.Bottom), std::max(dest.Left, dest.Right),
                  std::max(dest.Top, dest.Bottom)};
    const TFigure box{{{double(r.Left), double(r.Top)},
                       {double(r.Right), double(r.Top)},
                       {double(r.Right), double(r.Bottom)},
                       {double(r.Left), double(r.Bottom)}},
                      true};
    if (State.Brush.Style != BS_NULL) recorder.Figures(state, std::span(&box, 1), true, false);
    return;
  }
  TRect inside;
  IntersectRect(&inside, source, TRect{0, 0, bitmap->Width(), bitmap->Height()});
  if (options.SourceAlpha >= 0 || options.Mask || options.Transparent || !(inside == source))
    return recorder.Refused = true, void();
  recorder.Bitmap(RecordedState(), *bitmap, source, dest, rop);
}

void TMetafilePlayer::Blit(std::span<const uint8_t> dib, std::span<const uint8_t> bits, TPointD destA, TPointD destSize,
                           TRect source, uint32_t rop, const TBlitOptions& options) {
  if (!FDc.Bitmap() && !FDc.Recorder) return;
  std::unique_ptr<TBitmap> bitmap;
  if (RopUsesSource(rop) || (options.Mask && RopUsesSource(options.BackRop)) || options.SourceAlpha >= 0 ||
      options.Transparent) {
    bitmap = LoadBitmap(dib, bits);
    if (!bitmap) return ++Skipped, void();
  }
  // The bitmap is decoded once for all the pieces of the clip.
  auto draw = [&] { BlitBitmap(bitmap.get(), destA, destSize, source, rop, options); };
  if (!EachPiece(draw)) draw();
}

void TMetafilePlayer::BlitBitmap(const TBitmap* bitmap, TPointD destA, TPointD destSize, const TRect& source,
                                 uint32_t rop, const TBlitOptions& options) {
  const TPointD p = ToTarget(destA), q = ToTarget(destA.X + destSize.X, destA.Y + destSize.Y);
  const TPoint origin = FDc.ToDevice(0, 0);
  const double x0 = std::min(p.X, q.X) + origin.X, x1 = std::max(p.X, q.X) + origin.X;
  const double y0 = std::min(p.Y, q.Y) + origin.Y, y1 = std::max(p.Y, q.Y) + origin.Y;
  if (!std::isfinite(x0) || !std::isfinite(x1) || !std::isfinite(y0) || !std::isfinite(y1)) return ++Skipped, void();
  const bool mirrorX = q.X < p.X, mirrorY = q.Y < p.Y;
  if (FDc.Recorder)
    RecordBlit(
        bitmap, source,
        TRect{ToPixel(p.X) + origin.X, ToPixel(p.Y) + origin.Y, ToPixel(q.X) + origin.X, ToPixel(q.Y) + origin.Y}, rop,
        options);
  if (!FDc.Bitmap()) return;
  TRasterTarget target(FDc);
  const TRect clip = target.Clip();
  const int32_t cx0 = std::max(clip.Left, ToPixel(std::ceil(x0 - 0.5))),
                cx1 = std::min(clip.Right, ToPixel(std::ceil(x1 - 0.5)));
  const int32_t cy0 = std::max(clip.Top, ToPixel(std::ceil(y0 - 0.5))),
                cy1 = std::min(clip.Bottom, ToPixel(std::ceil(y1 - 0.5)));
  if (cx0 >= cx1 || cy0 >= cy1 || x1 - x0 <= 0 || y1 - y0 <= 0) return;
  const TBitmap& dest = *FDc.Bitmap();
  const COLORREF pattern = State.Brush.Style == BS_NULL ? 0 : State.Brush.Color;
  const int32_t sourceAlpha = options.SourceAlpha;
  for (int32_t y = cy0; y < cy1; ++y) {
    double fy = (y + 0.5 - y0) / (y1 - y0);
    if (mirrorY) fy = 1 - fy;
    const int64_t sy = source.Top + static_cast<int64_t>(std::floor(fy * source.Height()));
    for (int32_t x = cx0; x < cx1; ++x) {
      double fx = (x + 0.5 - x0) / (x1 - x0);
      if (mirrorX) fx = 1 - fx;
      const int64_t sx = source.Left + static_cast<int64_t>(std::floor(fx * source.Width()));
      TRgb s{};
      if (bitmap) {
        if (sx < 0 || sy < 0 || sx >= bitmap->Width() || sy >= bitmap->Height()) continue;
        const COLORREF c =
            static_cast<COLORREF>(bitmap->PixelColor(static_cast<int32_t>(sx), static_cast<int32_t>(sy)));
        if (options.Transparent && c == *options.Transparent) continue;
        s = RgbOf(c);
      }
      const uint32_t op = !options.Mask || MaskBitSet(*options.Mask, options.MaskOrigin.X + (sx - source.Left),
                                                      options.MaskOrigin.Y + (sy - source.Top))
                              ? rop
                              : options.BackRop;
      const COLORREF d = static_cast<COLORREF>(dest.PixelColor(x, y));
      TRgb out;
      if (sourceAlpha >= 0) {
        const auto mix = [&](uint8_t sc, uint8_t dc) {
          return static_cast<uint8_t>((sc * sourceAlpha + dc * (255 - sourceAlpha) + 127) / 255);
        };
        out = TRgb{mix(s.R, GetRValue(d)), mix(s.G, GetGValue(d)), mix(s.B, GetBValue(d))};
      } else if ((op & 0xFFFF0000u) == 0x00CC0000u) {
        out = s;
      } else {
        out = TRgb{Rop3(op, GetRValue(pattern), s.R, GetRValue(d)), Rop3(op, GetGValue(pattern), s.G, GetGValue(d)),
                   Rop3(op, GetBValue(pattern), s.B, GetBValue(d))};
      }
      target.Put(x, y, out);
    }
  }
}
