// Helpers of the player's files for points of the target's logical space (doubles) on
// their way to pixels.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/graphics/Colors.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/PixelAccess.h"

// Keeps coordinates far outside any bitmap (or not numbers at all, after overflowing
// transforms) from overflowing the integer calls.
inline double Bounded(double v) { return std::isnan(v) ? 0.0 : std::clamp(v, -1e8, 1e8); }
inline int32_t ToPixel(double v) { return static_cast<int32_t>(std::lround(Bounded(v))); }

// The first pixel whose centre lies at or past v: where a side at v divides the pixels.
// Fills and blits take the pixels whose centres lie inside (MetafilePixels.cpp), and a
// clip's sides divide them the same way, so a clip along a figure's edge leaves out just
// what the figure does.
inline int32_t PixelEdge(double v) { return static_cast<int32_t>(std::ceil(Bounded(v) - 0.5)); }
// The pixels whose centres lie in the box with corners (x0, y0) and (x1, y1), either way round.
inline TRect PixelBox(double x0, double y0, double x1, double y1) {
  return TRect{PixelEdge(std::min(x0, x1)), PixelEdge(std::min(y0, y1)), PixelEdge(std::max(x0, x1)),
               PixelEdge(std::max(y0, y1))};
}

inline TRgb RgbOf(COLORREF c) { return TRgb{GetRValue(c), GetGValue(c), GetBValue(c)}; }
