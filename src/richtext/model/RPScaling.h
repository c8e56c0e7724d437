// Screen and device lengths. Styles, items and controls measure in screen pixels; a
// document laid out for a canvas is in that canvas's device pixels. Every conversion is
// MulDiv (halves away from zero): X lengths with the X pair, Y lengths with the Y pair.
#pragma once

#include <cstdint>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Geometry.h"

// The one resolution record passed wherever lengths are scaled: pixels per inch of the
// screen and of the device, the page's left offset in device pixels (tab positions are
// measured from it) and a field kept for the callers that carry one more value.
struct TRPResolution {
  int32_t ScreenPpiX = 96;
  int32_t ScreenPpiY = 96;
  int32_t DevicePpiX = 96;
  int32_t DevicePpiY = 96;
  int32_t LeftMargin = 0;
  int32_t Reserved = 0;
};

int32_t ScreenToDeviceX(int32_t length, const TRPResolution& resolution);
int32_t ScreenToDeviceY(int32_t length, const TRPResolution& resolution);
int32_t DeviceToScreenX(int32_t length, const TRPResolution& resolution);
int32_t DeviceToScreenY(int32_t length, const TRPResolution& resolution);
TRect DeviceToScreenRect(const TRect& rect, const TRPResolution& resolution);

// Device pixels per inch of the canvas, screen pixels per inch of a screen-compatible
// context (both values of the screen replaced by the override when it is set); the left
// margin and the reserved field are left as they are.
void GetScreenAndDeviceResolution(TRPResolution& resolution, TCanvas& canvas);
// The override when above 0, else the screen's vertical pixels per inch.
int32_t GetScreenPixelsPerInch();
// Replaces the screen's pixels per inch when above 0; 0 removes the override.
void SetScreenResolutionOverride(int32_t ppi);
int32_t GetScreenResolutionOverride();

// left <= x < left + width and top <= y < top + height.
bool PointInBounds(int32_t x, int32_t y, int32_t left, int32_t top, int32_t width, int32_t height);
