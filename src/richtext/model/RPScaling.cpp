#include "richtext/model/RPScaling.h"

#include "platform/base/Numbers.h"
#include "platform/graphics/DeviceContext.h"

namespace {
int32_t ScreenResolutionOverride = 0;

int32_t ScreenPpi(int32_t index) {
  if (ScreenResolutionOverride > 0) return ScreenResolutionOverride;
  HDC dc = CreateCompatibleDC(ScreenDC());
  const int32_t ppi = GetDeviceCaps(dc, index);
  DeleteDC(dc);
  return ppi;
}
}  // namespace

int32_t ScreenToDeviceX(int32_t length, const TRPResolution& r) { return MulDiv(length, r.DevicePpiX, r.ScreenPpiX); }
int32_t ScreenToDeviceY(int32_t length, const TRPResolution& r) { return MulDiv(length, r.DevicePpiY, r.ScreenPpiY); }
int32_t DeviceToScreenX(int32_t length, const TRPResolution& r) { return MulDiv(length, r.ScreenPpiX, r.DevicePpiX); }
int32_t DeviceToScreenY(int32_t length, const TRPResolution& r) { return MulDiv(length, r.ScreenPpiY, r.DevicePpiY); }

TRect DeviceToScreenRect(const TRect& rect, const TRPResolution& r) {
  return TRect{DeviceToScreenX(rect.Left, r), DeviceToScreenY(rect.Top, r), DeviceToScreenX(rect.Right, r),
               DeviceToScreenY(rect.Bottom, r)};
}

void GetScreenAndDeviceResolution(TRPResolution& resolution, TCanvas& canvas) {
  resolution.DevicePpiX = GetDeviceCaps(canvas.Handle(), LOGPIXELSX);
  resolution.DevicePpiY = GetDeviceCaps(canvas.Handle(), LOGPIXELSY);
  resolution.ScreenPpiX = ScreenPpi(LOGPIXELSX);
  resolution.ScreenPpiY = ScreenPpi(LOGPIXELSY);
}

int32_t GetScreenPixelsPerInch() { return ScreenPpi(LOGPIXELSY); }
void SetScreenResolutionOverride(int32_t ppi) { ScreenResolutionOverride = ppi; }
int32_t GetScreenResolutionOverride() { return ScreenResolutionOverride; }

bool PointInBounds(int32_t x, int32_t y, int32_t left, int32_t top, int32_t width, int32_t height) {
  return left <= x && x < left + width && top <= y && y < top + height;
}
