#include "platform/graphics/TextDraw.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/UniWindows.h"

int32_t WideDrawText(HDC dc, const WideChar* text, int32_t count, uint32_t format, TRect* rect) {
  if (PlatformIsUnicode()) return DrawTextW(dc, text, count, rect, format);
  const WideStringView part = count < 0 ? WideStringView(text) : WideStringView(text, static_cast<size_t>(count));
  const AnsiString ansi = DefaultWideToAnsi(part);
  return DrawTextA(dc, ansi.c_str(), -1, rect, format);
}
