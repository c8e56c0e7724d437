// Text along a turned baseline: what a font with an escapement draws.
//
// A line of text is laid out as if level, in its own axes: u along the baseline from the
// line's left end, v down from the baseline. The frame puts those axes onto the device,
// turned counter-clockwise (as seen) by the escapement. Glyph coverage is sampled through
// the inverse mapping at each device pixel's centre (bilinearly, or the nearest sample for
// monochrome glyphs), so a glyph turned by a right angle is its level image turned exactly.
#pragma once

#include <cstdint>

#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/FontFace.h"

class TTurnedTextFrame {
public:
  // escapement: tenths of a degree, counter-clockwise.
  explicit TTurnedTextFrame(int32_t escapement) noexcept;

  // Whether the baseline is level (any whole turn).
  bool Level() const noexcept { return FCos == 1 && FSin == 0; }
  // Puts the line's left baseline end at a device point.
  void SetOrigin(double x, double y) noexcept { FOriginX = x, FOriginY = y; }
  // A step of the line's own axes on the device, and the device point of a point of them.
  double OffsetX(double u, double v) const noexcept { return u * FCos + v * FSin; }
  double OffsetY(double u, double v) const noexcept { return v * FCos - u * FSin; }
  double DeviceX(double u, double v) const noexcept { return FOriginX + OffsetX(u, v); }
  double DeviceY(double u, double v) const noexcept { return FOriginY + OffsetY(u, v); }
  // The device pixels a rectangle of the line's axes covers, in whole pixels.
  TRect DeviceBounds(double u0, double v0, double u1, double v1) const noexcept;

  // Fills the pixels whose centres lie in a rectangle of the line's axes.
  void Fill(TRasterTarget& target, double u0, double v0, double u1, double v1, COLORREF color) const;
  // Blends a glyph image whose origin lies at (u, v) of the line's axes.
  void Glyph(TRasterTarget& target, const TGlyphImage& glyph, double u, double v, bool mono, COLORREF color) const;

private:
  // Blends the colour over the device pixels of a rectangle of the line's axes, each with
  // the coverage that coverageAt(u, v) gives for its centre.
  template <typename TCoverage>
  void Paint(TRasterTarget& target, double u0, double v0, double u1, double v1, COLORREF color,
             TCoverage&& coverageAt) const;

  double FCos = 1, FSin = 0;
  double FOriginX = 0, FOriginY = 0;
};
