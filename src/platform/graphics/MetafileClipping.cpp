// The player's clip: rectangles, regions combined by their modes, and paths, kept as
// disjoint pieces in device pixels.
#include <algorithm>

#include "platform/graphics/ClipPieces.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileTarget.h"

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
  TRect box = PixelBox(a.X, a.Y, b.X, b.Y);
  OffsetRect(&box, origin.X, origin.Y);
  return box;
}
}  // namespace

// A clip everywhere the coordinates reach (the play's own clip narrows it).
constexpr TRect kEverywhere{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

std::vector<TRect> TMetafilePlayer::ClipNow() const {
  if (!State.ClipPieces.empty()) return State.ClipPieces;
  return {State.Clip ? *State.Clip : kEverywhere};
}

std::vector<TRect> TMetafilePlayer::PiecesWithin(const TRect& box) const {
  if (State.ClipPieces.empty()) return {box};
  std::vector<TRect> pieces;
  for (const TRect& piece : State.ClipPieces) {
    TRect r;
    if (IntersectRect(&r, piece, box)) pieces.push_back(r);
  }
  return pieces;
}

// combined: the pieces came from the clip by a region operation; a result past the
// limit then keeps their bounds.
void TMetafilePlayer::SetClipPieces(std::vector<TRect> pieces, bool combined) {
  std::erase_if(pieces, [](const TRect& r) { return IsRectEmpty(r); });
  if (!combined && !DisjointPieces(pieces, ClipLimit(), pieces)) {
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
  const size_t limit = ClipLimit();
  // Making rectangles that are not banded disjoint meets each with the pieces made before
  // it; combining meets the region's pieces with the clip's.
  const auto count = static_cast<int64_t>(std::min(rects.size(), limit));
  const int64_t clipPieces = static_cast<int64_t>(std::max<size_t>(State.ClipPieces.size(), 1));
  if (!Afford(count * ((BandedPieces(rects) ? 1 : count) + (mode == RGN_COPY ? 0 : clipPieces)))) return;
  std::vector<TRect> region;
  if (!DisjointPieces(rects, limit, region)) {
    ++Skipped;
    region = {PiecesBounds(rects)};
  }
  std::vector<TRect> result;
  bool done = true;
  switch (mode) {
    case RGN_AND:
      done = IntersectPieces(ClipNow(), region, limit, result);
      break;
    case RGN_OR:
      done = UnitePieces(ClipNow(), region, limit, result);
      break;
    case RGN_XOR:
      done = XorPieces(ClipNow(), region, limit, result);
      break;
    case RGN_DIFF:
      done = SubtractPieces(ClipNow(), region, limit, result);
      break;
    case RGN_COPY:
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
  if (!Afford(1 + static_cast<int64_t>(State.ClipPieces.size()))) return;
  if (IntersectPieces(ClipNow(), {DeviceBox(FDc, ToTarget(a), ToTarget(b))}, ClipLimit(), result))
    SetClipPieces(std::move(result), true);
}

// The clip loses the rectangle, holes and all.
void TMetafilePlayer::ExcludeClip(TPointD a, TPointD b) {
  std::vector<TRect> result;
  if (!Afford(1 + static_cast<int64_t>(State.ClipPieces.size()))) return;
  if (SubtractPieces(ClipNow(), {DeviceBox(FDc, ToTarget(a), ToTarget(b))}, ClipLimit(), result))
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
  SelectClipRegion({*targetRect}, intersect ? RGN_AND : RGN_COPY);
}

void TMetafilePlayer::ClipToPath() {
  FPathOpen = false;
  double l = 1e300, t = 1e300, r = -1e300, b = -1e300;
  for (const TFigure& f : FPath)
    for (const TPointD& p : f.Points) {
      l = std::min(l, p.X), t = std::min(t, p.Y), r = std::max(r, p.X), b = std::max(b, p.Y);
    }
  FPath.clear();
  if (l > r || !Afford(1 + static_cast<int64_t>(State.ClipPieces.size()))) return;
  std::vector<TRect> result;
  if (IntersectPieces(ClipNow(), {DeviceBox(FDc, {l, t}, {r, b})}, ClipLimit(), result))
    SetClipPieces(std::move(result), true);
}
