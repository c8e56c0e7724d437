// Points, sizes and rectangles in pixels, as the drawing calls take them.
//
// A rectangle covers Left <= x < Right and Top <= y < Bottom; an empty or inverted one
// covers nothing.
#pragma once

#include <algorithm>
#include <cstdint>

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  int32_t Width() const noexcept { return Right - Left; }
  int32_t Height() const noexcept { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int32_t x, int32_t y) noexcept { return TPoint{x, y}; }
inline TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) noexcept {
  return TRect{left, top, right, bottom};
}
inline TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) noexcept {
  return TRect{left, top, left + width, top + height};
}

inline bool IsRectEmpty(const TRect& r) noexcept { return r.Right <= r.Left || r.Bottom <= r.Top; }

// The common part of a and b in *dest; false (and an all-zero *dest) when they do not meet.
inline bool IntersectRect(TRect* dest, const TRect& a, const TRect& b) noexcept {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  if (IsRectEmpty(r)) r = TRect{};
  *dest = r;
  return !IsRectEmpty(r);
}

// The smallest rectangle holding a and b in *dest (an empty one adds nothing); false
// (and an all-zero *dest) when both are empty.
inline bool UnionRect(TRect* dest, const TRect& a, const TRect& b) noexcept {
  if (IsRectEmpty(a) || IsRectEmpty(b)) {
    *dest = IsRectEmpty(a) ? (IsRectEmpty(b) ? TRect{} : b) : a;
    return !IsRectEmpty(*dest);
  }
  *dest =
      TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
  return true;
}

inline bool OffsetRect(TRect* r, int32_t dx, int32_t dy) noexcept {
  r->Left += dx;
  r->Right += dx;
  r->Top += dy;
  r->Bottom += dy;
  return true;
}

inline bool InflateRect(TRect* r, int32_t dx, int32_t dy) noexcept {
  r->Left -= dx;
  r->Right += dx;
  r->Top -= dy;
  r->Bottom += dy;
  return true;
}

inline bool PtInRect(const TRect& r, const TPoint& p) noexcept {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}
