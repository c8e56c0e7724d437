// Text records: the font scaled and turned onto the target, and the text drawn by the
// context.
#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileTarget.h"
#include "platform/graphics/TextDraw.h"

void TMetafilePlayer::TextOut(TPointD p, uint32_t options, const TPointD* rect, const WideString& text,
                              std::span<const int32_t> dx, bool dxHasY) {
  // Under a clip of pieces each piece lays out and draws the text again.
  if (EachPiece([&] { TextOut(p, options, rect, text, dx, dxHasY); }, 1 + static_cast<int64_t>(text.size()))) return;
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
