// The scripts of characters, as shaping and font fallback see them.
#pragma once

#include <hb.h>

// The script of a character (HB_SCRIPT_COMMON for spaces, digits and punctuation,
// HB_SCRIPT_INHERITED for most combining marks).
hb_script_t ScriptOf(char32_t c) noexcept;

// True for the characters that a face draws right only through shaping: the letters of
// the scripts whose letters join, combine or reorder (Arabic and its kin, the Indic
// scripts, Thai, Lao, Khmer, Myanmar, Tibetan and Mongolian) and the Hebrew points and
// accents (U+0591-U+05C7; Hebrew letters alone are drawn glyph by glyph). Latin,
// Cyrillic, Greek, CJK and the other scripts are drawn glyph by glyph.
bool NeedsShaping(char32_t c) noexcept;

// True for a script that takes the script of the text around it.
inline bool IsNeutralScript(hb_script_t script) noexcept {
  return script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED || script == HB_SCRIPT_UNKNOWN;
}
