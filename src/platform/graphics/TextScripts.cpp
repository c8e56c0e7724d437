#include "platform/graphics/TextScripts.h"

hb_script_t ScriptOf(char32_t c) noexcept {
  static hb_unicode_funcs_t* const funcs = hb_unicode_funcs_get_default();
  return hb_unicode_script(funcs, c);
}

namespace {

bool ScriptNeedsShaping(hb_script_t script) noexcept {
  switch (script) {
    case HB_SCRIPT_ARABIC:
    case HB_SCRIPT_SYRIAC:
    case HB_SCRIPT_THAANA:
    case HB_SCRIPT_NKO:
    case HB_SCRIPT_DEVANAGARI:
    case HB_SCRIPT_BENGALI:
    case HB_SCRIPT_GURMUKHI:
    case HB_SCRIPT_GUJARATI:
    case HB_SCRIPT_ORIYA:
    case HB_SCRIPT_TAMIL:
    case HB_SCRIPT_TELUGU:
    case HB_SCRIPT_KANNADA:
    case HB_SCRIPT_MALAYALAM:
    case HB_SCRIPT_SINHALA:
    case HB_SCRIPT_THAI:
    case HB_SCRIPT_LAO:
    case HB_SCRIPT_KHMER:
    case HB_SCRIPT_MYANMAR:
    case HB_SCRIPT_TIBETAN:
    case HB_SCRIPT_MONGOLIAN:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool NeedsShaping(char32_t c) noexcept {
  return (c >= 0x0591 && c <= 0x05C7 && c != 0x05BE && c != 0x05C0 && c != 0x05C3 && c != 0x05C6) ||
         ScriptNeedsShaping(ScriptOf(c));
}
