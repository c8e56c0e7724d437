// Lines and figures on a device context, drawn with its pen, brush and raster operation.
//
// Rules (as the class library's users expect of the platform):
// - A line from A to B paints A and not B. A pen of width w > 1 paints a band of w
//   pixels across the line (from w / 2 before it), ends cut square at A and B.
// - Rectangle(l, t, r, b) covers columns l..r-1 and rows t..b-1: the outline is the
//   pen's band on those edges (an inside-frame pen's whole band lies inside), the brush
//   fills what is inside the outline. With a clear pen the brush fills l..r-2, t..b-2,
//   one pixel less to the right and bottom.
// - Polygon fills the cells whose centres lie inside the closed outline (alternate
//   rule) with the brush, then draws the outline with the pen through every vertex and
//   back to the first, so every vertex is painted.
// - FillRect fills l..r-1, t..b-1 with a brush; FrameRect paints its 1-pixel border.
// - Ellipse fills and outlines the ellipse inscribed in the same cells (the outline
//   always inside them).
// - The dotted pen (width 1) paints 3 pixels, skips 3, along each line; with an opaque
//   background mode the skipped pixels take the background colour.
#pragma once

#include <cstdint>
#include <span>

#include "platform/graphics/DeviceContext.h"

bool MoveToEx(HDC dc, int32_t x, int32_t y, TPoint* previous);
bool LineTo(HDC dc, int32_t x, int32_t y);
bool Polyline(HDC dc, const TPoint* points, int32_t count);
bool Polygon(HDC dc, const TPoint* points, int32_t count);
bool Rectangle(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
bool Ellipse(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
int32_t FillRect(HDC dc, const TRect* rect, HBRUSH brush);
int32_t FrameRect(HDC dc, const TRect* rect, HBRUSH brush);
// Inverts every other pixel of the rectangle's 1-pixel border, starting at its top-left
// corner, so that a second call erases the frame.
bool DrawFocusRect(HDC dc, const TRect* rect);
