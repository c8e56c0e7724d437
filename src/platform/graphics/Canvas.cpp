#include "platform/graphics/Canvas.h"

#include <algorithm>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/CanvasBlit.h"
#include "platform/graphics/CanvasShapes.h"
#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextMetrics.h"

TCanvas::TCanvas(TBitmap* bitmap) : FBitmap(bitmap), FDc(std::make_unique<TDeviceContext>(bitmap)) {
  FFont.OnChange = [this] { FFontValid = false; };
  FPen.OnChange = [this] { FPenValid = false; };
  FBrush.OnChange = [this] { FBrushValid = false; };
}

TCanvas::~TCanvas() = default;

HDC TCanvas::Handle() {
  HDC dc = FDc.get();
  if (!FFontValid) {
    SelectObject(dc, FFont.Handle());
    SetTextColor(dc, ColorToRGB(FFont.Color()));
    FFontValid = true;
  }
  if (!FPenValid) {
    SelectObject(dc, FPen.Handle());
    SetROP2(dc, FPen.Rop2());
    FPenValid = true;
  }
  if (!FBrushValid) {
    SelectObject(dc, FBrush.Handle());
    SetBkColor(dc, ColorToRGB(FBrush.Color()));
    SetBkMode(dc, FBrush.Style() == bsSolid ? OPAQUE : TRANSPARENT);
    FBrushValid = true;
  }
  return dc;
}

TCanvasOrientation TCanvas::CanvasOrientation() const noexcept {
  return (FDc->State.TextAlign & TA_RTLREADING) ? coRightToLeft : coLeftToRight;
}

TRect TCanvas::ClipRect() {
  TRect r;
  GetClipBox(Handle(), &r);
  return r;
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging();
}

void TCanvas::Changed() {
  if (OnChange) OnChange();
}

void TCanvas::MoveTo(int32_t x, int32_t y) { MoveToEx(Handle(), x, y, nullptr); }

void TCanvas::LineTo(int32_t x, int32_t y) {
  Changing();
  ::LineTo(Handle(), x, y);
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  Changing();
  ::Polyline(Handle(), points.data(), static_cast<int32_t>(points.size()));
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  Changing();
  ::Polygon(Handle(), points.data(), static_cast<int32_t>(points.size()));
  Changed();
}

void TCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Changing();
  ::Rectangle(Handle(), x1, y1, x2, y2);
  Changed();
}

void TCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Changing();
  ::Ellipse(Handle(), x1, y1, x2, y2);
  Changed();
}

void TCanvas::FillRect(const TRect& rect) {
  Changing();
  HDC dc = Handle();
  ::FillRect(dc, &rect, FBrush.Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
  Changing();
  HDC dc = Handle();
  ::FrameRect(dc, &rect, FBrush.Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
  Changing();
  ::DrawFocusRect(Handle(), &rect);
  Changed();
}

void TCanvas::Draw(int32_t x, int32_t y, const TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic* graphic) {
  if (!graphic || graphic->Empty() || !FBitmap) return;
  const TBitmap* source = dynamic_cast<const TBitmap*>(graphic);
  if (!source) {
    graphic->Draw(*this, rect);
    return;
  }
  Changing();
  std::optional<TColor> transparent;
  if (source->Transparent()) transparent = source->TransparentColor();
  DrawBitmapPixels(*Handle(), rect, *source, Rect(0, 0, source->Width(), source->Height()), transparent);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
  Changing();
  StretchBlt(Handle(), dest.Left, dest.Top, dest.Width(), dest.Height(), canvas->Handle(), source.Left, source.Top,
             source.Width(), source.Height(), SRCCOPY);
  Changed();
}

void TCanvas::TextOut(int32_t x, int32_t y, const AnsiString& text) {
  Changing();
  HDC dc = Handle();
  const int32_t width = TextWidth(text);
  if (CanvasOrientation() == coRightToLeft) x += width + 1;
  ExtTextOutA(dc, x, y, FTextFlags, nullptr, text.data(), static_cast<uint32_t>(text.size()), nullptr);
  MoveTo(x + width, y);
  Changed();
}

void TCanvas::TextRect(const TRect& rect, int32_t x, int32_t y, const AnsiString& text) {
  Changing();
  HDC dc = Handle();
  uint32_t options = ETO_CLIPPED | FTextFlags;
  if (FBrush.Style() != bsClear) options |= ETO_OPAQUE;
  if (CanvasOrientation() == coRightToLeft) x += TextWidth(text) + 1;
  ExtTextOutA(dc, x, y, options, &rect, text.data(), static_cast<uint32_t>(text.size()), nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const AnsiString& text) {
  TSize size;
  GetTextExtentPoint32A(Handle(), text.data(), static_cast<int32_t>(text.size()), &size);
  return size;
}

void TCanvasDeleter::operator()(TCanvas* canvas) const noexcept { std::default_delete<TCanvas>()(canvas); }

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas.reset(new TCanvas(this));
  return FCanvas.get();
}
