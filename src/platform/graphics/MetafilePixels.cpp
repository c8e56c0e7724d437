// The player's per-pixel loops: filling figures row by row, blitting bitmaps, shading
// gradients and parallelograms. Each pays for its work from the play's budget as it
// goes, a row at a time, and stops where the budget cannot pay.
//
// Fill: the scan conversion keeps the edges that cross the current row (sorted by their
// upper ends, so an edge is looked at only on its rows) and the clip's pieces that cover
// it (sorted by their left sides); each row's runs of inside cells are cut to those
// pieces. A row costs one unit, one per edge it crosses and one per piece it meets; the
// brush's pixels are paid for one by one unless it is solid.
//
// Shading: a pixel's centre is solved for its coordinates (a, b) along the figure's two
// edges (kept multiplied by the parallelogram's area, so the test of where it lies needs
// no division); each row is first narrowed to the cells whose coordinates can lie inside, so a
// thin or slanted figure costs the pixels it covers (and a unit a row), not its bounding
// box.
#include <algorithm>
#include <cmath>
#include <variant>

#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileTarget.h"

namespace {

bool HatchCovers(int32_t hatch, int32_t x, int32_t y) {
  switch (hatch) {
    case HS_HORIZONTAL:
      return (y & 7) == 0;
    case HS_VERTICAL:
      return (x & 7) == 0;
    case HS_FDIAGONAL:
      return ((x - y) & 7) == 0;
    case HS_BDIAGONAL:
      return ((x + y) & 7) == 0;
    case HS_CROSS:
      return (x & 7) == 0 || (y & 7) == 0;
    default:  // HS_DIAGCROSS
      return ((x - y) & 7) == 0 || ((x + y) & 7) == 0;
  }
}

// A ternary raster operation on 8-bit channels (GdiDefs.h): bit i of the operation's
// index is the result for pattern bit (i >> 2), source bit (i >> 1) and destination bit
// (i & 1).
uint8_t Rop3(uint32_t rop, uint8_t p, uint8_t s, uint8_t d) {
  const uint32_t index = RopIndex(rop);
  uint32_t result = 0;
  for (int i = 0; i < 8; ++i) {
    if (!((index >> i) & 1)) continue;
    const uint32_t term = ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    result |= term;
  }
  return static_cast<uint8_t>(result);
}

// A channel of 0..255 rounded half up (as lround does for these values, without its cost).
uint8_t Channel(double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0) + 0.5); }

// The colours of three vertices mixed by weights that add up to 1.
[[gnu::always_inline]] inline TRgb Mixed(const TGradientVertex& a, double wa, const TGradientVertex& b, double wb,
                                         const TGradientVertex& c, double wc) {
  return TRgb{Channel(a.R * wa + b.R * wb + c.R * wc), Channel(a.G * wa + b.G * wb + c.G * wc),
              Channel(a.B * wa + b.B * wb + c.B * wc)};
}

// The colour at (a, b) of each kind of shade; false for a pixel it leaves alone.
[[gnu::always_inline]] inline bool ShadeAt(const TRampShade& s, double a, double b, TRgb& color) {
  const double t = s.AlongA ? a : b;
  color = Mixed(s.From, 1 - t, s.To, t, s.To, 0);
  return true;
}
[[gnu::always_inline]] inline bool ShadeAt(const TTriangleShade& s, double a, double b, TRgb& color) {
  color = Mixed(s.A, 1 - a - b, s.B, a, s.C, b);
  return true;
}
bool ShadeAt(const TBitmapShade& s, double a, double b, TRgb& color) {
  const int64_t dx = static_cast<int64_t>(std::floor(a * s.Source.Width()));
  const int64_t dy = static_cast<int64_t>(std::floor(b * s.Source.Height()));
  const int64_t sx = s.Source.Left + dx, sy = s.Source.Top + dy;
  if (sx < 0 || sy < 0 || sx >= s.Bitmap->Width() || sy >= s.Bitmap->Height()) return false;
  if (s.Mask && !MaskBitSet(*s.Mask, s.MaskOrigin.X + dx, s.MaskOrigin.Y + dy)) return false;
  color = RgbOf(static_cast<COLORREF>(s.Bitmap->PixelColor(static_cast<int32_t>(sx), static_cast<int32_t>(sy))));
  return true;
}

// Narrows [from, to] to the x where lo <= c0 + cx x <= hi (a margin of a cell on each
// side is left to the exact test).
void NarrowTo(double c0, double cx, double lo, double hi, double& from, double& to) {
  if (cx == 0) {
    if (c0 < lo || c0 > hi) from = 1, to = 0;
    return;
  }
  double a = (lo - c0) / cx, b = (hi - c0) / cx;
  if (a > b) std::swap(a, b);
  from = std::max(from, a);
  to = std::min(to, b);
}

}  // namespace

void TMetafilePlayer::FillEdges(std::vector<TFillEdge> edges, double top, double bottom) {
  std::erase_if(edges, [](const TFillEdge& e) {
    return !std::isfinite(e.X0) || !std::isfinite(e.X1) || !std::isfinite(e.Y0) || !std::isfinite(e.Y1);
  });
  if (edges.empty()) return;
  TRasterTarget target(FDc);
  if (target.Empty()) return;
  const TRect clip = target.Clip();
  std::vector<TRect> pieces = PiecesWithin(clip);
  std::sort(pieces.begin(), pieces.end(), [](const TRect& a, const TRect& b) { return a.Top < b.Top; });
  std::sort(edges.begin(), edges.end(), [](const TFillEdge& a, const TFillEdge& b) { return a.Y0 < b.Y0; });
  const int32_t y0 = std::max(clip.Top, static_cast<int32_t>(std::floor(Bounded(top))));
  const int32_t y1 = std::min(clip.Bottom, static_cast<int32_t>(std::ceil(Bounded(bottom))));
  const TMfBrush& brush = State.Brush;
  const bool solid = brush.Style == BS_SOLID || (!brush.Pattern && brush.Style != BS_HATCHED);
  // A run of inside cells of row y within one piece, in the brush.
  auto paint = [&](int32_t y, int32_t xa, int32_t xb) {
    if (solid) {
      if (State.Rop2 == R2_COPYPEN)
        target.Fill(TRect{xa, y, xb, y + 1}, brush.Color);
      else
        target.Rop(TRect{xa, y, xb, y + 1}, brush.Color, State.Rop2);
      return true;
    }
    if (!Afford(xb - xa)) return false;
    for (int32_t x = xa; x < xb; ++x) {
      if (brush.Pattern) {
        const TBitmap& p = *brush.Pattern;
        target.Put(x, y, RgbOf(static_cast<COLORREF>(p.PixelColor(x % p.Width(), y % p.Height()))));
      } else if (HatchCovers(brush.Hatch, x, y)) {
        target.Put(x, y, RgbOf(brush.Color));
      } else if (State.BkMode == OPAQUE) {
        target.Put(x, y, RgbOf(State.BkColor));
      }
    }
    return true;
  };
  std::vector<const TFillEdge*> rowEdges;
  std::vector<TRect> rowPieces;
  std::vector<std::pair<double, int>> crossings;
  size_t nextEdge = 0, nextPiece = 0;
  for (int32_t y = y0; y < y1; ++y) {
    const double yc = y + 0.5;
    while (nextEdge < edges.size() && edges[nextEdge].Y0 <= yc) rowEdges.push_back(&edges[nextEdge++]);
    std::erase_if(rowEdges, [yc](const TFillEdge* e) { return e->Y1 <= yc; });
    for (; nextPiece < pieces.size() && pieces[nextPiece].Top <= y; ++nextPiece) {
      const TRect& piece = pieces[nextPiece];
      rowPieces.insert(std::upper_bound(rowPieces.begin(), rowPieces.end(), piece,
                                        [](const TRect& a, const TRect& b) { return a.Left < b.Left; }),
                       piece);
    }
    std::erase_if(rowPieces, [y](const TRect& r) { return r.Bottom <= y; });
    if (!Afford(1 + static_cast<int64_t>(rowEdges.size() + rowPieces.size()))) return;
    if (rowEdges.empty() || rowPieces.empty()) continue;
    crossings.clear();
    for (const TFillEdge* e : rowEdges)
      crossings.push_back({e->X0 + (yc - e->Y0) * (e->X1 - e->X0) / (e->Y1 - e->Y0), e->Dir});
    std::sort(crossings.begin(), crossings.end());
    int winding = 0;
    size_t piece = 0;  // the runs go rightwards, and so do the pieces they meet
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += crossings[i].second;
      const bool inside = State.PolyFillMode == WINDING ? winding != 0 : (i % 2) == 0;
      if (!inside) continue;
      const int32_t xa = std::max(clip.Left, static_cast<int32_t>(std::ceil(Bounded(crossings[i].first - 0.5))));
      const int32_t xb = std::min(clip.Right, static_cast<int32_t>(std::ceil(Bounded(crossings[i + 1].first - 0.5))));
      if (xa >= xb) continue;
      while (piece < rowPieces.size() && rowPieces[piece].Right <= xa) ++piece;
      for (size_t k = piece; k < rowPieces.size() && rowPieces[k].Left < xb; ++k) {
        const int32_t from = std::max(xa, rowPieces[k].Left), to = std::min(xb, rowPieces[k].Right);
        if (from < to && !paint(y, from, to)) return;
      }
    }
  }
}

void TMetafilePlayer::BlitPixels(const TBitmap* bitmap, double x0, double x1, double y0, double y1, bool mirrorX,
                                 bool mirrorY, const TRect& source, uint32_t rop, const TBlitOptions& options) {
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
    if (!Afford(cx1 - cx0)) return;
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
      } else if (SameRop(op, SRCCOPY)) {
        out = s;
      } else {
        out = TRgb{Rop3(op, GetRValue(pattern), s.R, GetRValue(d)), Rop3(op, GetGValue(pattern), s.G, GetGValue(d)),
                   Rop3(op, GetBValue(pattern), s.B, GetBValue(d))};
      }
      target.Put(x, y, out);
    }
  }
}

void TMetafilePlayer::ShadePixels(TPointD origin, TPointD u, TPointD v, bool triangle, const TShade& shade) {
  const double det = u.X * v.Y - u.Y * v.X;
  if (!std::isfinite(det) || std::abs(det) < 1e-12) return;  // no area
  const double sign = det < 0 ? -1 : 1, size = std::abs(det), perSize = 1 / size;
  TRasterTarget target(FDc);
  if (target.Empty()) return;
  const TPoint shift = FDc.ToDevice(0, 0);
  const TPointD o{origin.X + shift.X, origin.Y + shift.Y};
  const TPointD corners[] = {o, {o.X + u.X, o.Y + u.Y}, {o.X + v.X, o.Y + v.Y}, {o.X + u.X + v.X, o.Y + u.Y + v.Y}};
  double minX = o.X, maxX = o.X, minY = o.Y, maxY = o.Y;
  for (const TPointD& c : std::span(corners, triangle ? 3 : 4)) {
    minX = std::min(minX, c.X), maxX = std::max(maxX, c.X);
    minY = std::min(minY, c.Y), maxY = std::max(maxY, c.Y);
  }
  if (!std::isfinite(minX) || !std::isfinite(maxX) || !std::isfinite(minY) || !std::isfinite(maxY)) return;
  // The box of the figure within the clip (the clamps keep far-out figures in range).
  const TRect clip = target.Clip();
  const auto within = [](double at, int32_t lo, int32_t hi) {
    return static_cast<int32_t>(std::clamp(at, double(lo), double(hi)));
  };
  const int32_t x0 = within(std::floor(minX), clip.Left, clip.Right),
                x1 = within(std::ceil(maxX), clip.Left, clip.Right);
  const int32_t y0 = within(std::floor(minY), clip.Top, clip.Bottom),
                y1 = within(std::ceil(maxY), clip.Top, clip.Bottom);
  std::visit(
      [&](const auto& s) {
        for (int32_t y = y0; y < y1; ++y) {
          const double py = y + 0.5 - o.Y;
          // a and b along the row: a = aAt + x aStep, b = bAt + x bStep.
          const double aAt = ((0.5 - o.X) * v.Y - py * v.X) / det, aStep = v.Y / det;
          const double bAt = (u.X * py - u.Y * (0.5 - o.X)) / det, bStep = -u.Y / det;
          double from = x0 - 1, to = x1 + 1;
          NarrowTo(aAt, aStep, 0, triangle ? HUGE_VAL : 1, from, to);
          NarrowTo(bAt, bStep, 0, triangle ? HUGE_VAL : 1, from, to);
          if (triangle) NarrowTo(aAt + bAt, aStep + bStep, -HUGE_VAL, 1, from, to);
          // Both ends stay within the box's margin, or the row is empty.
          const int32_t xa = from <= to ? std::max(x0, static_cast<int32_t>(std::floor(from)) - 1) : x1;
          const int32_t xb = from <= to ? std::min(x1, static_cast<int32_t>(std::ceil(to)) + 2) : x1;
          if (!Afford(1 + std::max(xb - xa, 0))) return;
          if (xa >= xb) continue;
          uint8_t* row = target.RowOf(y);
          int32_t first = xb, last = xa;
          for (int32_t x = xa; x < xb; ++x) {
            // a and b times det, on det's side of zero when inside: tested without dividing.
            const double px = x + 0.5 - o.X;
            const double aDet = (px * v.Y - py * v.X) * sign, bDet = (u.X * py - u.Y * px) * sign;
            const bool inside = triangle ? aDet >= 0 && bDet >= 0 && aDet + bDet <= size
                                         : aDet >= 0 && aDet < size && bDet >= 0 && bDet < size;
            if (!inside) continue;
            if (TRgb color; ShadeAt(s, aDet * perSize, bDet * perSize, color)) {
              target.StoreAt(row, x, color);
              first = std::min(first, x), last = x + 1;
            }
          }
          if (first < last) target.Wrote(y, first, last);
        }
      },
      shade);
}
