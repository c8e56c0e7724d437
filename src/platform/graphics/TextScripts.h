// The scripts of characters, as shaping and font fallback see them.
#pragma once

#include <hb.h>

// The script of a character (HB_SCRIPT_COMMON for spaces, digits and punctuation,
// HB_SCRIPT_INHERITED for most combining marks).
hb_script_t ScriptOf(char32_t c) noexcept;

// True for the scripts whose letters join, combine or reorder, so that a face draws
// them right only through shaping: Arabic and its kin, Hebrew, the Indic scripts, Thai,
// Lao, Khmer, Myanmar, Tibetan and Mongolian. Latin, Cyrillic, Greek, CJK and the other
// scripts are drawn glyph by glyph.
bool ScriptNeedsShaping(hb_script_t script) noexcept;

// True for a script that takes the script of the text around it.
inline bool IsNeutralScript(hb_script_t script) noexcept {
  return script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED || script == HB_SCRIPT_UNKNOWN;
}
