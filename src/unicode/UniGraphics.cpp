#include "unicode/UniGraphics.h"

#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextMetrics.h"

void WideCanvasTextOut(TCanvas* canvas, int32_t x, int32_t y, const WideString& text) {
  canvas->Changing();
  HDC dc = canvas->Handle();
  const int32_t width = WideDCTextExtent(dc, text).cx;
  if (canvas->CanvasOrientation() == coRightToLeft) x += width + 1;
  ExtTextOutW(dc, x, y, canvas->TextFlags(), nullptr, text.data(), static_cast<uint32_t>(text.size()), nullptr);
  canvas->MoveTo(x + width, y);
  canvas->Changed();
}

TSize WideCanvasTextExtent(TCanvas* canvas, const WideString& text) { return WideDCTextExtent(canvas->Handle(), text); }

int32_t WideCanvasTextWidth(TCanvas* canvas, const WideString& text) { return WideCanvasTextExtent(canvas, text).cx; }

int32_t WideCanvasTextHeight(TCanvas* canvas, const WideString& text) { return WideCanvasTextExtent(canvas, text).cy; }

TSize WideDCTextExtent(HDC dc, const WideString& text) {
  TSize size{0, 0};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int32_t>(text.size()), &size);
  return size;
}
