#include "platform/graphics/TextTurned.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

TTurnedTextFrame::TTurnedTextFrame(int32_t escapement) noexcept {
  const int32_t tenths = ((escapement % 3600) + 3600) % 3600;
  // Right angles are exact, so their glyphs are sampled at whole pixels.
  switch (tenths) {
    case 0:
      break;
    case 900:
      FCos = 0, FSin = 1;
      break;
    case 1800:
      FCos = -1, FSin = 0;
      break;
    case 2700:
      FCos = 0, FSin = -1;
      break;
    default: {
      const double radians = tenths * std::numbers::pi / 1800.0;
      FCos = std::cos(radians);
      FSin = std::sin(radians);
    }
  }
}

TRect TTurnedTextFrame::DeviceBounds(double u0, double v0, double u1, double v1) const noexcept {
  const double xs[] = {DeviceX(u0, v0), DeviceX(u1, v0), DeviceX(u0, v1), DeviceX(u1, v1)};
  const double ys[] = {DeviceY(u0, v0), DeviceY(u1, v0), DeviceY(u0, v1), DeviceY(u1, v1)};
  // Held well inside 32 bits: a far-off line only has to miss the bitmap.
  auto held = [](double v) { return static_cast<int32_t>(std::clamp(v, -1e9, 1e9)); };
  return TRect{held(std::floor(*std::min_element(xs, xs + 4))), held(std::floor(*std::min_element(ys, ys + 4))),
               held(std::ceil(*std::max_element(xs, xs + 4))), held(std::ceil(*std::max_element(ys, ys + 4)))};
}

template <typename TCoverage>
void TTurnedTextFrame::Paint(TRasterTarget& target, double u0, double v0, double u1, double v1, COLORREF color,
                             TCoverage&& coverageAt) const {
  TRect area;
  if (!IntersectRect(&area, DeviceBounds(u0, v0, u1, v1), target.Clip())) return;
  std::vector<uint8_t> row(static_cast<size_t>(area.Width()));
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    const double dy = y + 0.5 - FOriginY;
    bool any = false;
    for (int32_t x = area.Left; x < area.Right; ++x) {
      const double dx = x + 0.5 - FOriginX;
      const double u = dx * FCos - dy * FSin, v = dx * FSin + dy * FCos;
      const uint8_t c = (u >= u0 && u < u1 && v >= v0 && v < v1) ? coverageAt(u, v) : 0;
      row[static_cast<size_t>(x - area.Left)] = c;
      any |= c != 0;
    }
    if (any) target.BlendRow(y, area.Left, area.Right, color, row.data());
  }
}

void TTurnedTextFrame::Fill(TRasterTarget& target, double u0, double v0, double u1, double v1, COLORREF color) const {
  Paint(target, u0, v0, u1, v1, color, [](double, double) -> uint8_t { return 255; });
}

void TTurnedTextFrame::Glyph(TRasterTarget& target, const TGlyphImage& glyph, double u, double v, bool mono,
                             COLORREF color) const {
  if (glyph.Width <= 0 || glyph.Height <= 0) return;
  const double left = u + glyph.Left, top = v - glyph.Top;
  auto at = [&](int32_t x, int32_t y) -> int32_t {
    if (x < 0 || y < 0 || x >= glyph.Width || y >= glyph.Height) return 0;
    return glyph.Coverage[static_cast<size_t>(y) * static_cast<size_t>(glyph.Width) + static_cast<size_t>(x)];
  };
  // A pixel centre of the image sits at (x + 0.5, y + 0.5) of the image's axes; the
  // rectangle is widened by half a pixel so the bilinear edge fades out.
  Paint(
      target, left - 0.5, top - 0.5, left + glyph.Width + 0.5, top + glyph.Height + 0.5, color,
      [&](double pu, double pv) -> uint8_t {
        const double fx = pu - left - 0.5, fy = pv - top - 0.5;
        if (mono)
          return static_cast<uint8_t>(at(static_cast<int32_t>(std::lround(fx)), static_cast<int32_t>(std::lround(fy))));
        const double x0 = std::floor(fx), y0 = std::floor(fy);
        const double wx = fx - x0, wy = fy - y0;
        const int32_t ix = static_cast<int32_t>(x0), iy = static_cast<int32_t>(y0);
        const double upper = at(ix, iy) * (1 - wx) + at(ix + 1, iy) * wx;
        const double bottom = at(ix, iy + 1) * (1 - wx) + at(ix + 1, iy + 1) * wx;
        return static_cast<uint8_t>(std::lround(upper * (1 - wy) + bottom * wy));
      });
}
