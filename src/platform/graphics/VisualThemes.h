// The platform's visual-theme service, in the shape of the theme library that themed
// programs bind at run time. This platform draws no visual themes: no theme is active,
// no application is themed, theme data never opens, and every drawing call fails, so a
// caller that asks before it draws always takes its plain (unthemed) way.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Geometry.h"

// Opened theme data; null when none.
using HTHEME = const void*;
// A window as the theme calls take it; nothing here looks at it.
using HTHEMEWND = const void*;
using HRESULT = int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

// False: no visual theme is active.
bool IsThemeActive() noexcept;
// False: no application is themed.
bool IsAppThemed() noexcept;
// Null: no theme data for any class list.
HTHEME OpenThemeData(HTHEMEWND window, const WideChar* classList) noexcept;
// S_OK for null data (nothing to close).
HRESULT CloseThemeData(HTHEME theme) noexcept;
// E_FAIL: the caller draws its own background, text, edge or part.
HRESULT DrawThemeParentBackground(HTHEMEWND window, HDC dc, const TRect* rect) noexcept;
HRESULT DrawThemeText(HTHEME theme, HDC dc, int32_t partId, int32_t stateId, const WideChar* text, int32_t count,
                      uint32_t textFlags, uint32_t textFlags2, const TRect* rect) noexcept;
HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int32_t partId, int32_t stateId, const TRect* destRect, uint32_t edge,
                      uint32_t flags, TRect* contentRect) noexcept;
HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int32_t partId, int32_t stateId, const TRect* rect,
                            const TRect* clipRect) noexcept;
// False: nothing themed shows through.
bool IsThemeBackgroundPartiallyTransparent(HTHEME theme, int32_t partId, int32_t stateId) noexcept;
