// The drawing canvas of the class library over a bitmap (or over nothing: a canvas that
// only measures).
//
// The canvas keeps a device context (Handle) whose font, pen and brush follow the
// canvas's Font, Pen and Brush: a change marks the object stale, and the next call that
// needs it selects it again, with the text colour of the font, the raster operation of
// the pen mode, and the background of the brush (a solid brush paints text cells in its
// colour, a clear one leaves them). Calls made on Handle directly stay until the canvas
// selects that object again. 8-bit text is in the code page of the font's character set.
// Every canvas has 96 pixels per inch.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "platform/base/Types.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/PenBrush.h"

class TBitmap;
class TGraphic;

enum TCanvasOrientation { coLeftToRight, coRightToLeft };

class TCanvas {
public:
  // The bitmap is not owned and must outlive the canvas; nullptr makes a measuring canvas.
  explicit TCanvas(TBitmap* bitmap = nullptr);
  virtual ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The context with the canvas's font, pen and brush selected.
  HDC Handle();
  TBitmap* Bitmap() const noexcept { return FBitmap; }

  TFont& Font() noexcept { return FFont; }
  TPen& Pen() noexcept { return FPen; }
  TBrush& Brush() noexcept { return FBrush; }

  TPoint PenPos() const noexcept { return FDc->State.PenPos; }
  void SetPenPos(TPoint value) noexcept { FDc->State.PenPos = value; }
  // ETO_ options given to every TextOut.
  uint32_t TextFlags() const noexcept { return FTextFlags; }
  void SetTextFlags(uint32_t value) noexcept { FTextFlags = value; }
  // Right-to-left when the context's text alignment has TA_RTLREADING.
  TCanvasOrientation CanvasOrientation() const noexcept;
  // The clip's bounds in the canvas's coordinates.
  TRect ClipRect();

  void MoveTo(int32_t x, int32_t y);
  void LineTo(int32_t x, int32_t y);
  void Polyline(std::span<const TPoint> points);
  // Filled with the brush, outlined with the pen (CanvasShapes.h).
  void Polygon(std::span<const TPoint> points);
  void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
  void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
  void FillRect(const TRect& rect);
  void FrameRect(const TRect& rect);
  void DrawFocusRect(const TRect& rect);

  // Draws a graphic at its own size, or stretched into a rectangle (nearest pixel). A
  // bitmap is read directly; another graphic draws itself (TGraphic::Draw), keeping its
  // transparency. A transparent bitmap leaves its transparent colour's pixels undrawn.
  // Null or empty graphics draw nothing, nor does a canvas without a bitmap.
  void Draw(int32_t x, int32_t y, const TGraphic* graphic);
  void StretchDraw(const TRect& rect, const TGraphic* graphic);
  // Copies a rectangle of another canvas's pixels into `dest` (nearest pixel; CanvasBlit.h).
  void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);

  // 8-bit text at (x, y) with TextFlags; then the pen position is (x + width, y). With
  // right-to-left orientation x first moves right by the width + 1.
  void TextOut(int32_t x, int32_t y, const AnsiString& text);
  // Text at (x, y) clipped to rect, the rect filled first when the brush is solid.
  void TextRect(const TRect& rect, int32_t x, int32_t y, const AnsiString& text);
  TSize TextExtent(const AnsiString& text);
  int32_t TextWidth(const AnsiString& text) { return TextExtent(text).cx; }
  int32_t TextHeight(const AnsiString& text) { return TextExtent(text).cy; }

  // The font, pen and brush are selected again at the next use: for after calls on
  // Handle that changed the context's objects behind the canvas (RestoreDC above all).
  void Refresh() noexcept { FFontValid = FPenValid = FBrushValid = false; }

  // Change notifications around every drawing call.
  void Changing();
  void Changed();
  std::function<void()> OnChanging;
  std::function<void()> OnChange;

private:
  TBitmap* FBitmap;
  std::unique_ptr<TDeviceContext> FDc;
  TFont FFont;
  TPen FPen;
  TBrush FBrush;
  bool FFontValid = false;
  bool FPenValid = false;
  bool FBrushValid = false;
  uint32_t FTextFlags = 0;
};
