// Device contexts: the drawing state that the drawing and text calls work on.
//
// A context draws into a TBitmap (a canvas's context) or into nothing: the screen-like
// context of ScreenDC and CreateCompatibleDC measures text with the same fonts and metrics
// but has no pixels, so layout runs without a display. Every context reports 96 pixels
// per inch.
//
// Coordinates: a logical point (x, y) lands on the device pixel
// (x - window origin x + viewport origin x, y - window origin y + viewport origin y).
// The clip rectangle is kept in device pixels, as the calls that narrow it convert it
// when they are made; a context without one clips to its bitmap. SaveDC pushes the
// whole state (objects, colours, modes, origins, clip, pen position); RestoreDC pops it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/Colors.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/PenBrush.h"

class TBitmap;
class TMetafileRecorder;

constexpr int32_t TRANSPARENT = 1;
constexpr int32_t OPAQUE = 2;

// Text alignment (SetTextAlign).
constexpr uint32_t TA_NOUPDATECP = 0;
constexpr uint32_t TA_UPDATECP = 1;
constexpr uint32_t TA_LEFT = 0;
constexpr uint32_t TA_RIGHT = 2;
constexpr uint32_t TA_CENTER = 6;
constexpr uint32_t TA_TOP = 0;
constexpr uint32_t TA_BOTTOM = 8;
constexpr uint32_t TA_BASELINE = 24;
constexpr uint32_t TA_RTLREADING = 256;
constexpr uint32_t GDI_ERROR = 0xFFFFFFFF;

// Clip results.
constexpr int32_t RGN_ERROR = 0;
constexpr int32_t NULLREGION = 1;
constexpr int32_t SIMPLEREGION = 2;

// GetDeviceCaps indexes.
constexpr int32_t TECHNOLOGY = 2;
constexpr int32_t HORZRES = 8;
constexpr int32_t VERTRES = 10;
constexpr int32_t BITSPIXEL = 12;
constexpr int32_t PLANES = 14;
constexpr int32_t NUMCOLORS = 24;
constexpr int32_t RASTERCAPS = 38;
constexpr int32_t LOGPIXELSX = 88;
constexpr int32_t LOGPIXELSY = 90;
constexpr int32_t SIZEPALETTE = 104;
constexpr int32_t DT_RASDISPLAY = 1;
constexpr int32_t RC_PALETTE = 0x100;

// Every context's resolution.
inline constexpr int32_t ScreenPixelsPerInch = 96;

struct TDeviceState {
  std::shared_ptr<TGdiObject> Font;   // a TFontObject
  std::shared_ptr<TGdiObject> Pen;    // a TPenObject
  std::shared_ptr<TGdiObject> Brush;  // a TBrushObject
  COLORREF TextColor = 0;
  COLORREF BkColor = 0xFFFFFF;
  int32_t BkMode = OPAQUE;
  uint32_t TextAlign = TA_LEFT | TA_TOP;
  int32_t CharExtra = 0;
  int32_t Rop2 = R2_COPYPEN;
  TPoint ViewportOrg;
  TPoint WindowOrg;
  TPoint PenPos;              // logical
  std::optional<TRect> Clip;  // device pixels
};

class TDeviceContext {
public:
  // A context over a bitmap (not owned; it must outlive the context), or without pixels.
  explicit TDeviceContext(TBitmap* bitmap = nullptr);
  TDeviceContext(const TDeviceContext&) = delete;
  TDeviceContext& operator=(const TDeviceContext&) = delete;

  TBitmap* Bitmap() const noexcept { return FBitmap; }
  TDeviceState State;
  // When set, the drawing calls are also written into it, in device pixels (a metafile
  // canvas's context, or the context a metafile is converted through).
  TMetafileRecorder* Recorder = nullptr;
  // When set, every pixel the drawing calls write widens it (device pixels): what a
  // drawing touched, for a conversion that takes the pixels of what its recorder cannot.
  TRect* Touched = nullptr;
  std::vector<TDeviceState> Saved;

  TFontObject& SelectedFont() const;
  const TPenObject& SelectedPen() const;
  const TBrushObject& SelectedBrush() const;

  TPoint ToDevice(int32_t x, int32_t y) const noexcept {
    return TPoint{x - State.WindowOrg.X + State.ViewportOrg.X, y - State.WindowOrg.Y + State.ViewportOrg.Y};
  }
  TRect ToDevice(const TRect& r) const noexcept {
    const TPoint a = ToDevice(r.Left, r.Top), b = ToDevice(r.Right, r.Bottom);
    return TRect{a.X, a.Y, b.X, b.Y};
  }
  // The device pixels that drawing may touch: the clip within the bitmap (empty without one).
  TRect DeviceClip() const;

private:
  TBitmap* FBitmap;
};

using HDC = TDeviceContext*;

// The process's screen context (what the window layer's GetDC of no window gives):
// measures, has no pixels, is never deleted.
HDC ScreenDC();
// A new context without pixels (whatever dc is); freed by DeleteDC.
HDC CreateCompatibleDC(HDC dc);
bool DeleteDC(HDC dc);

// Selects a font, pen or brush and returns the previous one of that kind (null for a
// handle of another kind). The previous one stays valid while its creator holds it.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);

COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int32_t SetBkMode(HDC dc, int32_t mode);
int32_t GetBkMode(HDC dc);
uint32_t SetTextAlign(HDC dc, uint32_t align);
uint32_t GetTextAlign(HDC dc);
// Pixels added after each character by measuring and drawing (not after zero-width ones).
int32_t SetTextCharacterExtra(HDC dc, int32_t extra);
int32_t GetTextCharacterExtra(HDC dc);
int32_t SetROP2(HDC dc, int32_t rop2);
int32_t GetROP2(HDC dc);

// SaveDC returns the new depth (1 for the first save). RestoreDC(dc, -1) pops one
// state; a positive level restores the state saved at that depth and drops those above.
int32_t SaveDC(HDC dc);
bool RestoreDC(HDC dc, int32_t savedDC);

bool SetViewportOrgEx(HDC dc, int32_t x, int32_t y, TPoint* previous);
bool GetViewportOrgEx(HDC dc, TPoint* point);
bool OffsetViewportOrgEx(HDC dc, int32_t dx, int32_t dy, TPoint* previous);
bool SetWindowOrgEx(HDC dc, int32_t x, int32_t y, TPoint* previous);
bool GetWindowOrgEx(HDC dc, TPoint* point);

// Narrows the clip to a logical rectangle; returns NULLREGION or SIMPLEREGION.
int32_t IntersectClipRect(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
// Sets (or with null removes) the clip as a rectangle in device pixels.
int32_t SelectClipRect(HDC dc, const TRect* deviceRect);
// The clip's bounds in logical coordinates (the bitmap's bounds without a clip).
int32_t GetClipBox(HDC dc, TRect* rect);

int32_t GetDeviceCaps(HDC dc, int32_t index);
