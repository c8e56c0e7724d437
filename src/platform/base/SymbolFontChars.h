// The characters of the Symbol font by their 8-bit codes: the Unicode character each
// code shows (so text in that font can be drawn with any face that has the symbols) and
// the name HTML export writes it by. One table serves the drawing of Symbol text, its
// HTML and its plain-text stand-ins.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

// The Unicode character the Symbol font shows at `code` (Greek letters, arrows,
// operators, bracket pieces); 0 for the codes where it shows nothing (below 32, 127 to
// 159, 240 and 255).
WideChar SymbolCharToUnicode(uint8_t code) noexcept;

// The name HTML export writes the Symbol character at `code` by: an entity name (without
// "&" and ";") when longer than one character, else the one character that stands for
// it; empty for the codes HTML leaves out (below 32, 127 to 160, 255).
const char* SymbolCharHtmlName(uint8_t code) noexcept;
