// The steps shared by measuring and drawing: 8-bit text in the font's code page, the
// advance of every UTF-16 unit, and the visual order of bidirectional text.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/Types.h"
#include "platform/graphics/DeviceContext.h"

// 8-bit text decoded in the code page of the selected font's character set.
// ByteUnit[i] is the UTF-16 unit that byte i ends, or -1 for the first byte of a
// double-byte character (it takes the extent before it).
struct TAnsiText {
  WideString Text;
  std::vector<int32_t> ByteUnit;
};
TAnsiText DecodeAnsiForFont(HDC dc, const char* text, int32_t count);

// The text as the selected font's face looks its characters up, unit for unit. A font of
// the symbol character set shows a symbol font's characters at its codes, whether they
// come as U+0020 - U+00FF (8-bit text, SymbolFontCodePage in Font.h) or as U+F020 -
// U+F0FF (where symbol fonts number them): a face with a symbol encoding is asked for
// its own codes, any other face for the Unicode characters of the Symbol font's codes
// (SymbolFontChars.h), so that Greek letters, arrows and operators show rather than the
// Latin letters at the same codes. Other text comes back as it is; `storage` holds a
// changed copy.
WideStringView FaceText(HDC dc, WideStringView text, WideString& storage);

// The advance of each unit (character extra included) into advances[0..size), as
// ShapeText (TextShaping.h) gives them for the text as the face looks it up (FaceText); returns their sum. height (when
// given) receives the height of the tallest face the text uses.
int64_t UnitAdvances(HDC dc, WideStringView text, int32_t* advances, int32_t* height = nullptr);

// From the advances of count units: the right edge of each into dx (when given) and, into
// fit (when given), how many leading units end within maxExtent; returns their sum.
int64_t ExtentsOfAdvances(const int32_t* advances, size_t count, int32_t maxExtent, int32_t* dx, int32_t* fit);

// True for a unit of a right-to-left script (Hebrew, Arabic and their kin, their
// presentation forms) and for a right-to-left mark, embedding, override or isolate.
inline bool IsRightToLeftUnit(WideChar c) noexcept {
  return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFE) || c == 0x200F ||
         c == 0x202B || c == 0x202E || c == 0x2067;
}
// True when the text holds such a unit, so that its visual order may differ from its
// logical order.
bool HasRightToLeft(WideStringView text) noexcept;

// Visual order of a line: visualToLogical[v] is the logical unit shown at visual
// position v; levels[i] is the embedding level of logical unit i (odd: right-to-left).
void VisualOrder(WideStringView text, bool rightToLeftBase, std::vector<int32_t>& visualToLogical,
                 std::vector<uint8_t>& levels);
