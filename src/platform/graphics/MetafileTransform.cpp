// The player's mapping: world transform, page mapping (mapping modes, window and
// viewport) and the output mapping onto the target.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/graphics/MetafileFormat.h"
#include "platform/graphics/MetafilePlayer.h"

TXForm TXForm::Then(const TXForm& n) const noexcept {
  return TXForm{M11 * n.M11 + M12 * n.M21, M11 * n.M12 + M12 * n.M22,      M21 * n.M11 + M22 * n.M21,
                M21 * n.M12 + M22 * n.M22, Dx * n.M11 + Dy * n.M21 + n.Dx, Dx * n.M12 + Dy * n.M22 + n.Dy};
}

namespace {

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

}  // namespace

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
