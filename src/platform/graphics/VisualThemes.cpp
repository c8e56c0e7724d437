#include "platform/graphics/VisualThemes.h"

bool IsThemeActive() noexcept { return false; }
bool IsAppThemed() noexcept { return false; }
HTHEME OpenThemeData(HTHEMEWND, const WideChar*) noexcept { return nullptr; }
HRESULT CloseThemeData(HTHEME theme) noexcept { return theme ? E_FAIL : S_OK; }
HRESULT DrawThemeParentBackground(HTHEMEWND, HDC, const TRect*) noexcept { return E_FAIL; }
HRESULT DrawThemeText(HTHEME, HDC, int32_t, int32_t, const WideChar*, int32_t, uint32_t, uint32_t,
                      const TRect*) noexcept {
  return E_FAIL;
}
HRESULT DrawThemeEdge(HTHEME, HDC, int32_t, int32_t, const TRect*, uint32_t, uint32_t, TRect*) noexcept {
  return E_FAIL;
}
HRESULT DrawThemeBackground(HTHEME, HDC, int32_t, int32_t, const TRect*, const TRect*) noexcept { return E_FAIL; }
bool IsThemeBackgroundPartiallyTransparent(HTHEME, int32_t, int32_t) noexcept { return false; }
