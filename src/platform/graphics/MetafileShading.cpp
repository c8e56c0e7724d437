// Metafile drawing that shades each target pixel from where it lies in a figure: the
// parallelogram blit and the gradient fills.
//
// A figure is an origin and two edges in target space; a pixel's centre is solved for
// its coordinates (a, b) along the edges, which are affine and so the same whatever the
// world, page and output mappings did to the figure. The shade then reads the source
// pixel or mixes the vertex colours at (a, b).
#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/MetafileFormat.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileRecorder.h"

namespace {

TPointD Minus(TPointD p, TPointD q) { return TPointD{p.X - q.X, p.Y - q.Y}; }

uint8_t Channel(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }

// The colours of three vertices mixed by weights that add up to 1.
TRgb Mixed(const TGradientVertex& a, double wa, const TGradientVertex& b, double wb, const TGradientVertex& c,
           double wc) {
  return TRgb{Channel(a.R * wa + b.R * wb + c.R * wc), Channel(a.G * wa + b.G * wb + c.G * wc),
              Channel(a.B * wa + b.B * wb + c.B * wc)};
}

}  // namespace

template <typename TShade>
void TMetafilePlayer::PaintSpan(TPointD origin, TPointD u, TPointD v, bool triangle, TShade&& shade) {
  if (EachPiece([&] { PaintSpan(origin, u, v, triangle, shade); })) return;
  if (FDc.Recorder) FDc.Recorder->Refused = true;
  if (!FDc.Bitmap()) return;
  const double det = u.X * v.Y - u.Y * v.X;
  if (!std::isfinite(det) || std::abs(det) < 1e-12) return;  // no area
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
  for (int32_t y = y0; y < y1; ++y)
    for (int32_t x = x0; x < x1; ++x) {
      const double px = x + 0.5 - o.X, py = y + 0.5 - o.Y;
      const double a = (px * v.Y - py * v.X) / det, b = (u.X * py - u.Y * px) / det;
      const bool inside = triangle ? a >= 0 && b >= 0 && a + b <= 1 : a >= 0 && a < 1 && b >= 0 && b < 1;
      if (!inside) continue;
      if (const std::optional<TRgb> color = shade(a, b)) target.Put(x, y, *color);
    }
}

void TMetafilePlayer::PlgBlt(std::span<const uint8_t> dib, std::span<const uint8_t> bits,
                             const std::array<TPointD, 3>& corners, TRect source, const TBitmap* mask,
                             TPoint maskOrigin) {
  if (!FDc.Bitmap() && !FDc.Recorder) return;
  const std::unique_ptr<TBitmap> bitmap = LoadBitmap(dib, bits);
  if (!bitmap) return ++Skipped, void();
  if (source.Width() == 0 || source.Height() == 0) return;
  const TPointD o = ToTarget(corners[0]);
  PaintSpan(o, Minus(ToTarget(corners[1]), o), Minus(ToTarget(corners[2]), o), false,
            [&](double a, double b) -> std::optional<TRgb> {
              const int64_t dx = static_cast<int64_t>(std::floor(a * source.Width()));
              const int64_t dy = static_cast<int64_t>(std::floor(b * source.Height()));
              const int64_t sx = source.Left + dx, sy = source.Top + dy;
              if (sx < 0 || sy < 0 || sx >= bitmap->Width() || sy >= bitmap->Height()) return std::nullopt;
              if (mask && !MaskBitSet(*mask, maskOrigin.X + dx, maskOrigin.Y + dy)) return std::nullopt;
              const auto c =
                  static_cast<COLORREF>(bitmap->PixelColor(static_cast<int32_t>(sx), static_cast<int32_t>(sy)));
              return TRgb{GetRValue(c), GetGValue(c), GetBValue(c)};
            });
}

void TMetafilePlayer::GradientFill(std::span<const TGradientVertex> vertices, std::span<const uint32_t> indexes,
                                   uint32_t mode) {
  if (!FDc.Bitmap() && !FDc.Recorder) return;
  if (mode == emf::GRADIENT_FILL_TRIANGLE) {
    for (size_t i = 0; i + 2 < indexes.size(); i += 3) {
      const TGradientVertex &a = vertices[indexes[i]], &b = vertices[indexes[i + 1]], &c = vertices[indexes[i + 2]];
      const TPointD o = ToTarget(a.At);
      PaintSpan(o, Minus(ToTarget(b.At), o), Minus(ToTarget(c.At), o), true,
                [&](double wb, double wc) { return std::optional(Mixed(a, 1 - wb - wc, b, wb, c, wc)); });
    }
    return;
  }
  const bool horizontal = mode == emf::GRADIENT_FILL_RECT_H;
  for (size_t i = 0; i + 1 < indexes.size(); i += 2) {
    // The left (top) side takes the colour of the vertex on it, whichever of the two
    // names the upper-left corner.
    TGradientVertex a = vertices[indexes[i]], b = vertices[indexes[i + 1]];
    if (horizontal ? a.At.X > b.At.X : a.At.Y > b.At.Y) std::swap(a, b);
    const double left = std::min(a.At.X, b.At.X), right = std::max(a.At.X, b.At.X);
    const double top = std::min(a.At.Y, b.At.Y), bottom = std::max(a.At.Y, b.At.Y);
    const TPointD o = ToTarget(left, top);
    PaintSpan(o, Minus(ToTarget(right, top), o), Minus(ToTarget(left, bottom), o), false,
              [&](double across, double down) {
                const double t = horizontal ? across : down;
                return std::optional(Mixed(a, 1 - t, b, t, b, 0));
              });
  }
}
