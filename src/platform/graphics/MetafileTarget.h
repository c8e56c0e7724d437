// Helpers of the player's files for points of the target's logical space (doubles) on
// their way to pixels.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/graphics/Colors.h"
#include "platform/graphics/PixelAccess.h"

// Keeps coordinates far outside any bitmap (or not numbers at all, after overflowing
// transforms) from overflowing the integer calls.
inline double Bounded(double v) { return std::isnan(v) ? 0.0 : std::clamp(v, -1e8, 1e8); }
inline int32_t ToPixel(double v) { return static_cast<int32_t>(std::lround(Bounded(v))); }

inline TRgb RgbOf(COLORREF c) { return TRgb{GetRValue(c), GetGValue(c), GetBValue(c)}; }
