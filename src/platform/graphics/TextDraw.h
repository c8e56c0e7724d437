// Drawing text on a device context: ExtTextOut and TextOut, and DrawText for
// formatted text in a rectangle.
//
// A glyph is drawn with its origin exactly where measuring (TextMetrics.h) puts it: the
// first character's origin at the reference point, each next one further by the
// previous advance (or by the caller's dx). Right-to-left runs are shown in visual
// order. Glyphs are monochrome on 1-bit bitmaps and with a NONANTIALIASED_QUALITY font,
// else 8-bit antialiased coverage blended in the text colour. Underline and strike-out
// are bands of the font's outline metrics across the text's width. A font with an
// escapement draws all of it along the turned baseline (TextTurned.h). A context without
// pixels draws nothing but still moves the current position.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Geometry.h"

constexpr uint32_t ETO_OPAQUE = 0x0002;
constexpr uint32_t ETO_CLIPPED = 0x0004;
constexpr uint32_t ETO_RTLREADING = 0x0080;

// options: ETO_OPAQUE fills `rect` with the background colour first (without it, an
// OPAQUE background mode fills the text's cell); ETO_CLIPPED keeps the glyphs inside
// `rect`; ETO_RTLREADING lays the text out as a right-to-left paragraph. dx (optional):
// the advance after each character, used instead of the font's and the character extra.
bool ExtTextOutW(HDC dc, int32_t x, int32_t y, uint32_t options, const TRect* rect, const WideChar* text,
                 uint32_t count, const int32_t* dx);
// 8-bit text in the code page of the font's character set; dx per byte (a double-byte
// character advances by the sum of its two entries).
bool ExtTextOutA(HDC dc, int32_t x, int32_t y, uint32_t options, const TRect* rect, const char* text, uint32_t count,
                 const int32_t* dx);
bool TextOutW(HDC dc, int32_t x, int32_t y, const WideChar* text, int32_t count);
bool TextOutA(HDC dc, int32_t x, int32_t y, const char* text, int32_t count);

constexpr uint32_t DT_TOP = 0x0000;
constexpr uint32_t DT_LEFT = 0x0000;
constexpr uint32_t DT_CENTER = 0x0001;
constexpr uint32_t DT_RIGHT = 0x0002;
constexpr uint32_t DT_VCENTER = 0x0004;
constexpr uint32_t DT_BOTTOM = 0x0008;
constexpr uint32_t DT_WORDBREAK = 0x0010;
constexpr uint32_t DT_SINGLELINE = 0x0020;
constexpr uint32_t DT_EXPANDTABS = 0x0040;
constexpr uint32_t DT_TABSTOP = 0x0080;
constexpr uint32_t DT_NOCLIP = 0x0100;
constexpr uint32_t DT_EXTERNALLEADING = 0x0200;
constexpr uint32_t DT_CALCRECT = 0x0400;
constexpr uint32_t DT_NOPREFIX = 0x0800;
constexpr uint32_t DT_END_ELLIPSIS = 0x8000;
constexpr uint32_t DT_RTLREADING = 0x20000;

struct DRAWTEXTPARAMS {
  uint32_t cbSize = sizeof(DRAWTEXTPARAMS);
  int32_t iTabLength = 0;  // tab stops every so many average character widths (0: 8)
  int32_t iLeftMargin = 0;
  int32_t iRightMargin = 0;
  uint32_t uiLengthDrawn = 0;
};

// Draws (or with DT_CALCRECT measures) `count` characters (-1: up to a terminating zero)
// in `rect`:
// - lines end at CR, LF and CR LF (not with DT_SINGLELINE, which keeps one line); with
//   DT_WORDBREAK a line also breaks before a word that would pass the right edge (a
//   word wider than the rectangle stays whole) and spaces at such a break are dropped;
//   an empty text is one empty line;
// - unless DT_NOPREFIX, "&&" shows "&" and "&" underlines the character after it;
// - DT_EXPANDTABS: tab stops every 8 average character widths (DT_TABSTOP: bits 8-15
//   of the format give the count, and those bits then carry no other flag);
// - DT_END_ELLIPSIS: a line wider than the rectangle is cut and ends in "...";
// - DT_CENTER / DT_RIGHT align each line; with DT_SINGLELINE, DT_VCENTER and DT_BOTTOM
//   place the line vertically; line height tmHeight (+ tmExternalLeading with
//   DT_EXTERNALLEADING); drawing is clipped to the rectangle unless DT_NOCLIP;
// - DT_CALCRECT draws nothing and sets rect's right and bottom to bound the text.
// Returns the text's height, or with DT_VCENTER / DT_BOTTOM the offset from rect's top
// to the bottom of the text; 0 on bad arguments.
int32_t DrawTextExW(HDC dc, const WideChar* text, int32_t count, TRect* rect, uint32_t format, DRAWTEXTPARAMS* params);
int32_t DrawTextW(HDC dc, const WideChar* text, int32_t count, TRect* rect, uint32_t format);
// 8-bit text in the code page of the font's character set.
int32_t DrawTextA(HDC dc, const char* text, int32_t count, TRect* rect, uint32_t format);
