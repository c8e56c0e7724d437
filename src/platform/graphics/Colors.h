// Colours as the drawing calls take them.
//
// A `TColor` is 0x00BBGGRR: red in the low byte, blue in the third. Values with the high
// byte set are not plain colours: `clNone`, `clDefault`, and the system colours
// 0xFF0000nn (nn the COLOR_ index), which draw in the fixed colours of the classic
// standard scheme (no display is asked, so pages look the same everywhere).
#pragma once

#include <cstdint>

using TColor = int32_t;
using COLORREF = uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;

// System colours.
inline constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
inline constexpr TColor clScrollBar = clSystemColor | 0;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clGrayText = clSystemColor | 17;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;
inline constexpr TColor clInfoText = clSystemColor | 23;
inline constexpr TColor clInfoBk = clSystemColor | 24;
inline constexpr TColor clDefault = 0x20000000;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) noexcept {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr uint8_t GetRValue(COLORREF c) noexcept { return static_cast<uint8_t>(c); }
constexpr uint8_t GetGValue(COLORREF c) noexcept { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t GetBValue(COLORREF c) noexcept { return static_cast<uint8_t>(c >> 16); }

// The colour of system colour index (COLOR_...) in the classic standard scheme; black
// for an index past the table.
constexpr COLORREF GetSysColor(int32_t index) noexcept {
  constexpr COLORREF scheme[] = {
      0xC0C0C0,  // 0 scroll bar
      0x808000,  // 1 desktop
      0x800000,  // 2 active caption
      0x808080,  // 3 inactive caption
      0xC0C0C0,  // 4 menu
      0xFFFFFF,  // 5 window
      0x000000,  // 6 window frame
      0x000000,  // 7 menu text
      0x000000,  // 8 window text
      0xFFFFFF,  // 9 caption text
      0xC0C0C0,  // 10 active border
      0xC0C0C0,  // 11 inactive border
      0x808080,  // 12 application workspace
      0x800000,  // 13 highlight
      0xFFFFFF,  // 14 highlight text
      0xC0C0C0,  // 15 button face
      0x808080,  // 16 button shadow
      0x808080,  // 17 grey text
      0x000000,  // 18 button text
      0xC0C0C0,  // 19 inactive caption text
      0xFFFFFF,  // 20 button highlight
      0x000000,  // 21 3-D dark shadow
      0xC0C0C0,  // 22 3-D light
      0x000000,  // 23 tooltip text
      0xE1FFFF,  // 24 tooltip background
  };
  return index >= 0 && index < static_cast<int32_t>(sizeof scheme / sizeof scheme[0]) ? scheme[index] : 0;
}
