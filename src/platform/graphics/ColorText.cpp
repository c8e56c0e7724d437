#include "platform/graphics/ColorText.h"

#include <cstdio>

#include "platform/base/TextUtils.h"

namespace {

struct TColorName {
  TColor Color;
  const char* Name;
};

// The named colours in the class library's order: the standard sixteen, four extended
// ones, the system colours by index, and the two special values.
constexpr TColorName ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {0xC0DCC0, "clMoneyGreen"},
    {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"},
    {0xA4A0A0, "clMedGray"},
    {clSystemColor | 10, "clActiveBorder"},
    {clSystemColor | 2, "clActiveCaption"},
    {clSystemColor | 12, "clAppWorkSpace"},
    {clSystemColor | 1, "clBackground"},
    {clSystemColor | 15, "clBtnFace"},
    {clSystemColor | 20, "clBtnHighlight"},
    {clSystemColor | 16, "clBtnShadow"},
    {clSystemColor | 18, "clBtnText"},
    {clSystemColor | 9, "clCaptionText"},
    {clSystemColor | 27, "clGradientActiveCaption"},
    {clSystemColor | 28, "clGradientInactiveCaption"},
    {clSystemColor | 17, "clGrayText"},
    {clSystemColor | 13, "clHighlight"},
    {clSystemColor | 14, "clHighlightText"},
    {clSystemColor | 26, "clHotLight"},
    {clSystemColor | 11, "clInactiveBorder"},
    {clSystemColor | 3, "clInactiveCaption"},
    {clSystemColor | 19, "clInactiveCaptionText"},
    {clSystemColor | 24, "clInfoBk"},
    {clSystemColor | 23, "clInfoText"},
    {clSystemColor | 4, "clMenu"},
    {clSystemColor | 30, "clMenuBar"},
    {clSystemColor | 29, "clMenuHighlight"},
    {clSystemColor | 7, "clMenuText"},
    {clSystemColor | 0, "clScrollBar"},
    {clSystemColor | 21, "cl3DDkShadow"},
    {clSystemColor | 22, "cl3DLight"},
    {clSystemColor | 5, "clWindow"},
    {clSystemColor | 6, "clWindowFrame"},
    {clSystemColor | 8, "clWindowText"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

}  // namespace

AnsiString ColorToString(TColor color) {
  for (const TColorName& n : ColorNames)
    if (n.Color == color) return n.Name;
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", static_cast<uint32_t>(color));
  return text;
}

TColor StringToColor(AnsiStringView text) {
  for (const TColorName& n : ColorNames)
    if (SameText(text, n.Name)) return n.Color;
  return StrToInt(text);
}
