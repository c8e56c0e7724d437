#include "richtext/model/RPColorModes.h"

#include <algorithm>

#include "platform/base/Numbers.h"
#include "platform/graphics/PenBrush.h"

int32_t ColorLuminance(TColor color) {
  const COLORREF rgb = ColorToRGB(color);
  return static_cast<int32_t>(Round(0.30 * GetRValue(rgb) + 0.59 * GetGValue(rgb) + 0.11 * GetBValue(rgb)));
}

TColor ColorToGray(TColor color) {
  if (color == clNone) return clNone;
  const auto gray = static_cast<uint8_t>(std::min(ColorLuminance(color), 255));
  return static_cast<TColor>(RGB(gray, gray, gray));
}

TColor ResolveSystemColorForPrinting(TColor color) {
  switch (color) {
    case clScrollBar:
    case clBtnFace:
      return 0xC0C0C0;
    case clWindow:
    case clBtnHighlight:
      return 0xFFFFFF;
    case clWindowText:
      return 0;
    case clBtnShadow:
      return 0x808080;
    default:
      return color;
  }
}

namespace {
TColor ApplyColorMode(TColor color, TRPColorMode mode, TColor blackAndWhite) {
  if (color == clNone) return clNone;
  switch (mode) {
    case rpcmColor:
      return color;
    case rpcmPrinterColor:
      return ResolveSystemColorForPrinting(color);
    case rpcmGrayScale:
      return ColorToGray(ResolveSystemColorForPrinting(color));
    case rpcmBlackAndWhite:
    case rpcmBlackOnWhite:
      return blackAndWhite;
  }
  return color;
}
}  // namespace

TColor ApplyColorModeToTextColor(TColor color, TRPColorMode mode) {
  return ApplyColorMode(color, mode, color == clWhite ? clWhite : clBlack);
}

TColor ApplyColorModeToBackColor(TColor color, TRPColorMode mode) { return ApplyColorMode(color, mode, clWhite); }
