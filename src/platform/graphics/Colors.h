// Colours as the drawing calls take them.
//
// A `TColor` is 0x00BBGGRR: red in the low byte, blue in the third. Values with the high
// byte set are not plain colours (`clNone`, `clDefault`, the system colours of the GUI
// layer); the raster code here only takes plain ones.
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
inline constexpr TColor clDefault = 0x20000000;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) noexcept {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr uint8_t GetRValue(COLORREF c) noexcept { return static_cast<uint8_t>(c); }
constexpr uint8_t GetGValue(COLORREF c) noexcept { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t GetBValue(COLORREF c) noexcept { return static_cast<uint8_t>(c >> 16); }
