// The engine's binding of the platform's visual-theme service (VisualThemes.h): nine
// entry points, bound by the first start-up and dropped by the last shutdown (a reference
// counter pairs them). An entry is nil while unbound; a caller tests it before calling.
//
// This platform's service answers that no theme is active and opens no theme data, so
// every caller draws its plain, unthemed way (the scroll view's platform border, plain
// group boxes and edges).
#pragma once

#include <cstdint>

#include "platform/graphics/VisualThemes.h"

struct TRPThemeBinding {
  bool (*IsThemeActive)() = nullptr;
  bool (*IsAppThemed)() = nullptr;
  HTHEME (*OpenThemeData)(HTHEMEWND window, const WideChar* classList) = nullptr;
  HRESULT (*CloseThemeData)(HTHEME theme) = nullptr;
  HRESULT (*DrawThemeParentBackground)(HTHEMEWND window, HDC dc, const TRect* rect) = nullptr;
  HRESULT(*DrawThemeText)
  (HTHEME theme, HDC dc, int32_t partId, int32_t stateId, const WideChar* text, int32_t count, uint32_t textFlags,
   uint32_t textFlags2, const TRect* rect) = nullptr;
  HRESULT(*DrawThemeEdge)
  (HTHEME theme, HDC dc, int32_t partId, int32_t stateId, const TRect* destRect, uint32_t edge, uint32_t flags,
   TRect* contentRect) = nullptr;
  HRESULT(*DrawThemeBackground)
  (HTHEME theme, HDC dc, int32_t partId, int32_t stateId, const TRect* rect, const TRect* clipRect) = nullptr;
  bool (*IsThemeBackgroundPartiallyTransparent)(HTHEME theme, int32_t partId, int32_t stateId) = nullptr;
};

void RPThemesStartup();
void RPThemesShutdown();
// The entries: bound between the first start-up and the last shutdown, nil otherwise.
const TRPThemeBinding& RPThemes();
// Whether a theme can be drawn with now: the entry is bound and answers that a theme is
// active (never on this platform).
bool RPThemesActive();
