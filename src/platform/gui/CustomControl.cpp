// A window control that draws itself: the buffer of its client area and what is kept
// before its widget exists.
#include "platform/gui/CustomControl.h"

#include <algorithm>
#include <cstring>

#include "platform/graphics/Bitmap.h"

namespace {

// The bytes of a 24-bit pixel.
constexpr int32_t PixelBytes = 3;

TRect Union(const TRect& a, const TRect& b) {
  if (IsRectEmpty(a)) return b;
  if (IsRectEmpty(b)) return a;
  return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
               std::max(a.Bottom, b.Bottom)};
}

TRect Intersection(const TRect& a, const TRect& b) {
  TRect r;
  IntersectRect(&r, a, b);
  return r;
}

}  // namespace

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), FBuffer(std::make_unique<TBitmap>()), FCanvas(std::make_unique<TCanvas>(FBuffer.get())) {
  FBuffer->SetPixelFormat(pf24bit);
}

TCustomControl::~TCustomControl() {
  // The widget reads the buffer while it goes.
  DestroyHandle();
}

void TCustomControl::SetBorderSingle(bool value) {
  if (value == FBorderSingle) return;
  FBorderSingle = value;
  RecreateWnd();
}

void TCustomControl::Paint(const TRect&) {}

void TCustomControl::ResizeBuffer(int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == FBuffer->Width() && height == FBuffer->Height()) return;
  FBuffer->SetSize(width, height);
  FInvalid = TRect{0, 0, width, height};
}

void TCustomControl::InvalidateRect(const TRect& rect) {
  const TRect client{0, 0, FBuffer->Width(), FBuffer->Height()};
  FInvalid = Union(FInvalid, Intersection(rect, client));
  ShowBuffer();
}

void TCustomControl::PaintInvalid(const TRect& rect) {
  const TRect part = Intersection(FInvalid, rect);
  if (IsRectEmpty(part)) return;
  // The rest of the marked part is painted later.
  if (part == FInvalid) FInvalid = TRect{0, 0, 0, 0};
  FPainting = true;
  try {
    Paint(part);
  } catch (...) {
    FPainting = false;
    throw;
  }
  FPainting = false;
}

void TCustomControl::ScrollWindow(int32_t dx, int32_t dy) {
  const int32_t width = FBuffer->Width(), height = FBuffer->Height();
  if (width == 0 || height == 0 || (dx == 0 && dy == 0)) return;
  if (std::abs(dx) >= width || std::abs(dy) >= height) {
    InvalidateRect(TRect{0, 0, width, height});
    return;
  }
  // Rows move in the order that reads each row before it is overwritten.
  const int32_t rowBytes = (width - std::abs(dx)) * PixelBytes;
  const int32_t from = dx < 0 ? -dx : 0, to = dx > 0 ? dx : 0;
  for (int32_t i = 0; i < height - std::abs(dy); ++i) {
    const int32_t y = dy > 0 ? height - 1 - dy - i : -dy + i;
    std::memmove(FBuffer->ScanLine(y + dy) + to * PixelBytes, FBuffer->ScanLine(y) + from * PixelBytes,
                 static_cast<size_t>(rowBytes));
  }
  if (!IsRectEmpty(FInvalid))
    FInvalid = TRect{FInvalid.Left + dx, FInvalid.Top + dy, FInvalid.Right + dx, FInvalid.Bottom + dy};
  const TRect uncoveredX = dx > 0 ? TRect{0, 0, dx, height} : TRect{width + dx, 0, width, height};
  const TRect uncoveredY = dy > 0 ? TRect{0, 0, width, dy} : TRect{0, height + dy, width, height};
  if (dx != 0) InvalidateRect(uncoveredX);
  if (dy != 0) InvalidateRect(uncoveredY);
  ShowBuffer();
}

void TCustomControl::SetScrollBar(TScrollBarKind kind, int32_t min, int32_t max, int32_t page, int32_t pos,
                                  bool visible, bool disableNoScroll) {
  FBars[kind] = TScrollBarState{min, max, page, pos, visible, disableNoScroll};
  ShowScrollBar(kind);
}

void TCustomControl::SetCursor(TCursor cursor) {
  if (cursor == FCursor) return;
  FCursor = cursor;
  ShowCursor();
}
