// UTF-16 text on a canvas, whose own text routines take 8-bit text.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Geometry.h"

// Draws text at (x, y) with the canvas's font, brush and text flags, then puts the pen
// at (x + the text's width, y). With right-to-left orientation x first moves right by
// the text's width + 1. The canvas must not be null.
void WideCanvasTextOut(TCanvas* canvas, int32_t x, int32_t y, const WideString& text);
// Width and height of the text in the canvas's font (an empty text is 0 wide).
TSize WideCanvasTextExtent(TCanvas* canvas, const WideString& text);
int32_t WideCanvasTextWidth(TCanvas* canvas, const WideString& text);
int32_t WideCanvasTextHeight(TCanvas* canvas, const WideString& text);
// The same measurement on a device context: 0 x 0, then GetTextExtentPoint32W.
TSize WideDCTextExtent(HDC dc, const WideString& text);
