#include "platform/graphics/DeviceContext.h"

#include <unordered_map>
#include <utility>

#include "platform/graphics/Bitmap.h"

namespace {

std::unordered_map<TDeviceContext*, std::unique_ptr<TDeviceContext>>& MemoryContexts() {
  static std::unordered_map<TDeviceContext*, std::unique_ptr<TDeviceContext>> contexts;
  return contexts;
}

}  // namespace

TDeviceContext::TDeviceContext(TBitmap* bitmap) : FBitmap(bitmap) {
  State.Font = SharedGdiObject(GetStockObject(DEFAULT_GUI_FONT));
  State.Pen = SharedGdiObject(GetStockObject(BLACK_PEN));
  State.Brush = SharedGdiObject(GetStockObject(WHITE_BRUSH));
}

TFontObject& TDeviceContext::SelectedFont() const { return static_cast<TFontObject&>(*State.Font); }
const TPenObject& TDeviceContext::SelectedPen() const { return static_cast<const TPenObject&>(*State.Pen); }
const TBrushObject& TDeviceContext::SelectedBrush() const { return static_cast<const TBrushObject&>(*State.Brush); }

TRect TDeviceContext::DeviceClip() const {
  if (!FBitmap) return TRect{};
  TRect bounds{0, 0, FBitmap->Width(), FBitmap->Height()};
  if (State.Clip) IntersectRect(&bounds, bounds, *State.Clip);
  return bounds;
}

HDC ScreenDC() {
  static TDeviceContext screen;
  return &screen;
}

HDC CreateCompatibleDC(HDC) {
  auto context = std::make_unique<TDeviceContext>();
  HDC dc = context.get();
  MemoryContexts().emplace(dc, std::move(context));
  return dc;
}

bool DeleteDC(HDC dc) { return MemoryContexts().erase(dc) > 0; }

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  if (!dc || !IsGdiObject(object)) return nullptr;
  std::shared_ptr<TGdiObject>* slot = nullptr;
  if (dynamic_cast<TFontObject*>(object))
    slot = &dc->State.Font;
  else if (dynamic_cast<TPenObject*>(object))
    slot = &dc->State.Pen;
  else if (dynamic_cast<TBrushObject*>(object))
    slot = &dc->State.Brush;
  if (!slot) return nullptr;
  HGDIOBJ previous = slot->get();
  *slot = SharedGdiObject(object);
  return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF color) { return std::exchange(dc->State.TextColor, color); }
COLORREF GetTextColor(HDC dc) { return dc->State.TextColor; }

COLORREF SetBkColor(HDC dc, COLORREF color) { return std::exchange(dc->State.BkColor, color); }
COLORREF GetBkColor(HDC dc) { return dc->State.BkColor; }

int32_t SetBkMode(HDC dc, int32_t mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return std::exchange(dc->State.BkMode, mode);
}
int32_t GetBkMode(HDC dc) { return dc->State.BkMode; }

uint32_t SetTextAlign(HDC dc, uint32_t align) { return std::exchange(dc->State.TextAlign, align); }
uint32_t GetTextAlign(HDC dc) { return dc->State.TextAlign; }

int32_t SetTextCharacterExtra(HDC dc, int32_t extra) { return std::exchange(dc->State.CharExtra, extra); }
int32_t GetTextCharacterExtra(HDC dc) { return dc->State.CharExtra; }

int32_t SetROP2(HDC dc, int32_t rop2) {
  if (rop2 < 1 || rop2 > 16) return 0;
  return std::exchange(dc->State.Rop2, rop2);
}
int32_t GetROP2(HDC dc) { return dc->State.Rop2; }

int32_t SaveDC(HDC dc) {
  dc->Saved.push_back(dc->State);
  return static_cast<int32_t>(dc->Saved.size());
}

bool RestoreDC(HDC dc, int32_t savedDC) {
  int32_t depth = static_cast<int32_t>(dc->Saved.size());
  int32_t target = savedDC < 0 ? depth + savedDC + 1 : savedDC;
  if (target < 1 || target > depth) return false;
  dc->State = dc->Saved[static_cast<size_t>(target - 1)];
  dc->Saved.resize(static_cast<size_t>(target - 1));
  return true;
}

bool SetViewportOrgEx(HDC dc, int32_t x, int32_t y, TPoint* previous) {
  if (previous) *previous = dc->State.ViewportOrg;
  dc->State.ViewportOrg = TPoint{x, y};
  return true;
}
bool GetViewportOrgEx(HDC dc, TPoint* point) {
  *point = dc->State.ViewportOrg;
  return true;
}
bool OffsetViewportOrgEx(HDC dc, int32_t dx, int32_t dy, TPoint* previous) {
  if (previous) *previous = dc->State.ViewportOrg;
  dc->State.ViewportOrg.X += dx;
  dc->State.ViewportOrg.Y += dy;
  return true;
}
bool SetWindowOrgEx(HDC dc, int32_t x, int32_t y, TPoint* previous) {
  if (previous) *previous = dc->State.WindowOrg;
  dc->State.WindowOrg = TPoint{x, y};
  return true;
}
bool GetWindowOrgEx(HDC dc, TPoint* point) {
  *point = dc->State.WindowOrg;
  return true;
}

int32_t IntersectClipRect(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  TRect clip = dc->ToDevice(TRect{left, top, right, bottom});
  if (dc->State.Clip)
    IntersectRect(&clip, clip, *dc->State.Clip);
  else if (IsRectEmpty(clip))
    clip = TRect{};
  dc->State.Clip = clip;
  return IsRectEmpty(clip) ? NULLREGION : SIMPLEREGION;
}

int32_t SelectClipRect(HDC dc, const TRect* deviceRect) {
  if (!deviceRect) {
    dc->State.Clip.reset();
    return SIMPLEREGION;
  }
  dc->State.Clip = *deviceRect;
  return IsRectEmpty(*deviceRect) ? NULLREGION : SIMPLEREGION;
}

int32_t GetClipBox(HDC dc, TRect* rect) {
  TRect device;
  if (dc->State.Clip)
    device = *dc->State.Clip;
  else if (dc->Bitmap())
    device = TRect{0, 0, dc->Bitmap()->Width(), dc->Bitmap()->Height()};
  TPoint shift{dc->State.WindowOrg.X - dc->State.ViewportOrg.X, dc->State.WindowOrg.Y - dc->State.ViewportOrg.Y};
  *rect = device;
  OffsetRect(rect, shift.X, shift.Y);
  return IsRectEmpty(device) ? NULLREGION : SIMPLEREGION;
}

int32_t GetDeviceCaps(HDC dc, int32_t index) {
  TBitmap* bitmap = dc ? dc->Bitmap() : nullptr;
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
      return ScreenPixelsPerInch;
    case TECHNOLOGY:
      return DT_RASDISPLAY;
    case HORZRES:
      return bitmap ? bitmap->Width() : 0;
    case VERTRES:
      return bitmap ? bitmap->Height() : 0;
    case BITSPIXEL:
      return bitmap ? bitmap->BitsPerPixel() : 24;
    case PLANES:
      return 1;
    case NUMCOLORS:
      return bitmap && bitmap->BitsPerPixel() <= 8 ? (1 << bitmap->BitsPerPixel()) : -1;
    case RASTERCAPS:
      return 0;
    case SIZEPALETTE:
      return 0;
    default:
      return 0;
  }
}
