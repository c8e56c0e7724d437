// Region operations on disjoint rectangles.
#include "platform/graphics/ClipPieces.h"

#include <algorithm>
#include <climits>

namespace {

// The parts of a outside b: the bands above and below b, and left and right of it within
// b's rows.
void AppendDifference(const TRect& a, const TRect& b, TClipPieces& out) {
  TRect both;
  if (!IntersectRect(&both, a, b)) {
    out.push_back(a);
    return;
  }
  if (a.Top < both.Top) out.push_back(TRect{a.Left, a.Top, a.Right, both.Top});
  if (both.Bottom < a.Bottom) out.push_back(TRect{a.Left, both.Bottom, a.Right, a.Bottom});
  if (a.Left < both.Left) out.push_back(TRect{a.Left, both.Top, both.Left, both.Bottom});
  if (both.Right < a.Right) out.push_back(TRect{both.Right, both.Top, a.Right, both.Bottom});
}

}  // namespace

bool SubtractPieces(const TClipPieces& a, const TClipPieces& b, size_t limit, TClipPieces& out) {
  TClipPieces now;
  for (const TRect& r : a)
    if (!IsRectEmpty(r)) now.push_back(r);
  for (const TRect& cut : b) {
    if (IsRectEmpty(cut)) continue;
    TClipPieces next;
    for (const TRect& r : now) {
      AppendDifference(r, cut, next);
      if (next.size() > limit) return false;
    }
    now = std::move(next);
  }
  out = std::move(now);
  return true;
}

bool IntersectPieces(const TClipPieces& a, const TClipPieces& b, size_t limit, TClipPieces& out) {
  TClipPieces now;
  for (const TRect& r : a)
    for (const TRect& s : b) {
      TRect both;
      if (!IntersectRect(&both, r, s)) continue;
      if (now.size() == limit) return false;
      now.push_back(both);
    }
  out = std::move(now);
  return true;
}

bool UnitePieces(const TClipPieces& a, const TClipPieces& b, size_t limit, TClipPieces& out) {
  TClipPieces added;
  if (!SubtractPieces(b, a, limit, added)) return false;
  TClipPieces now;
  for (const TRect& r : a)
    if (!IsRectEmpty(r)) now.push_back(r);
  if (now.size() + added.size() > limit) return false;
  now.insert(now.end(), added.begin(), added.end());
  out = std::move(now);
  return true;
}

bool XorPieces(const TClipPieces& a, const TClipPieces& b, size_t limit, TClipPieces& out) {
  TClipPieces onlyA, onlyB;
  if (!SubtractPieces(a, b, limit, onlyA) || !SubtractPieces(b, a, limit, onlyB)) return false;
  if (onlyA.size() + onlyB.size() > limit) return false;
  onlyA.insert(onlyA.end(), onlyB.begin(), onlyB.end());
  out = std::move(onlyA);
  return true;
}

bool BandedPieces(TClipPieces rects) {
  std::erase_if(rects, [](const TRect& r) { return IsRectEmpty(r); });
  std::sort(rects.begin(), rects.end(),
            [](const TRect& a, const TRect& b) { return a.Top != b.Top ? a.Top < b.Top : a.Left < b.Left; });
  for (size_t i = 1; i < rects.size(); ++i) {
    const TRect &a = rects[i - 1], &b = rects[i];
    const bool sameBand = a.Top == b.Top && a.Bottom == b.Bottom;
    if (sameBand ? b.Left < a.Right : b.Top < a.Bottom) return false;
  }
  return true;
}

bool DisjointPieces(const TClipPieces& rects, size_t limit, TClipPieces& out) {
  if (BandedPieces(rects)) {
    TClipPieces kept;
    for (const TRect& r : rects)
      if (!IsRectEmpty(r)) kept.push_back(r);
    if (kept.size() > limit) return false;
    out = std::move(kept);
    return true;
  }
  TClipPieces now;
  for (const TRect& r : rects)
    if (!UnitePieces(now, {r}, limit, now)) return false;
  out = std::move(now);
  return true;
}

TRect PiecesBounds(const TClipPieces& pieces) {
  TRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (const TRect& r : pieces)
    box = TRect{std::min(box.Left, r.Left), std::min(box.Top, r.Top), std::max(box.Right, r.Right),
                std::max(box.Bottom, r.Bottom)};
  return IsRectEmpty(box) ? TRect{} : box;
}
