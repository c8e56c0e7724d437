// The fragments from which items and styles write themselves as RTF: escaped text,
// field arguments, names and bookmarks, and UTF-16 text with its 8-bit fallback.
#pragma once

#include <cstdint>

#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Font.h"

class IRPStyleSheet;
class IRPRTFFontTable;
class TRPColorList;

// From the end backwards, every byte below 32 or above 127 becomes \'xx; with keywords
// 0x95 becomes "\bullet " and 0xA0 "\~".
AnsiString RtfEncodeSpecialChars(AnsiStringView text, bool keywords);
// Unless raw, a backslash before each \, { and }; then RtfEncodeSpecialChars.
AnsiString RtfEscapeText(AnsiStringView text, bool raw, bool keywords);
// The quoted argument of a field instruction: a backslash becomes four (the field's escape,
// escaped for RTF), a double quote a field-escaped quote (two backslashes and the
// quote), a brace gets one backslash; then encoded.
AnsiString RtfEscapeFieldArgument(AnsiStringView text);
// \, { and } become "_", then encoded (style names, hints).
AnsiString RtfSanitizeName(AnsiStringView text);
// Every byte that is no letter or digit of the ANSI code page becomes "_", then encoded.
AnsiString MakeRtfBookmarkName(AnsiStringView name);
// Stored UTF-16 as RTF: ASCII escaped, typographic characters as keywords (unless raw),
// others as \uN with, when withFallback, their text in the code page.
void WriteRtfUnicodeText(TStream& stream, AnsiStringView raw, uint32_t codePage, bool raw_, bool withFallback);
// The character formatting of a list marker's font: "\\f%d" when the font is in the font
// table, "\\b", "\\i", "\\ul", "\\strike" for its styles, "\\fs%d" with twice its size,
// "\\lang%d" when its charset is not the default one and differs from text style 0's,
// "\\cf%d" with its colour's index in colors unless it is clWindowText.
void WriteRTFFontFormatting(TStream& stream, const TFont& font, const TRPColorList& colors,
                            const IRPStyleSheet* rpStyle, const IRPRTFFontTable* fontTable);
