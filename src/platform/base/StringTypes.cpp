#include "platform/base/StringTypes.h"

#include <fribidi.h>
#include <cstring>

#include "platform/base/CodePages.h"
#include "platform/base/LastError.h"
#include "platform/base/Locale.h"
#include "platform/base/Surrogates.h"
#include "platform/base/UnicodeCase.h"

namespace {

uint16_t DirectionOf(WideChar c) {
  switch (fribidi_get_bidi_type(c)) {
    case FRIBIDI_TYPE_LTR:
      return C2_LEFTTORIGHT;
    case FRIBIDI_TYPE_RTL:
    case FRIBIDI_TYPE_AL:
      return C2_RIGHTTOLEFT;
    case FRIBIDI_TYPE_EN:
      return C2_EUROPENUMBER;
    case FRIBIDI_TYPE_ES:
      return C2_EUROPESEPARATOR;
    case FRIBIDI_TYPE_ET:
      return C2_EUROPETERMINATOR;
    case FRIBIDI_TYPE_AN:
      return C2_ARABICNUMBER;
    case FRIBIDI_TYPE_CS:
      return C2_COMMONSEPARATOR;
    case FRIBIDI_TYPE_BS:
      return C2_BLOCKSEPARATOR;
    case FRIBIDI_TYPE_SS:
      return C2_SEGMENTSEPARATOR;
    case FRIBIDI_TYPE_WS:
      return C2_WHITESPACE;
    case FRIBIDI_TYPE_ON:
      return C2_OTHERNEUTRAL;
    default:
      return C2_NOTAPPLICABLE;
  }
}

uint16_t TypeOf(uint32_t infoType, WideChar c) { return infoType == CT_CTYPE1 ? CharTypeC1(c) : DirectionOf(c); }

// The language of a locale; nullptr with the last error set.
const TLanguageInfo* CheckedLanguage(LCID locale, uint32_t infoType, const void* source, const void* charTypes) {
  if (infoType != CT_CTYPE1 && infoType != CT_CTYPE2) {
    SetLastError(ERROR_INVALID_FLAGS);
    return nullptr;
  }
  if (locale == 0 || locale == LOCALE_USER_DEFAULT || locale == LOCALE_SYSTEM_DEFAULT) locale = GetUserDefaultLCID();
  const TLanguageInfo* language = FindLanguage(LANGIDFROMLCID(locale));
  if (language == nullptr || source == nullptr || charTypes == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return language;
}

// The character that the bytes at `at` start, with their count; a byte the code page
// does not define is one byte with no character (0).
WideChar CharacterAt(uint32_t codePage, const char* at, size_t left, size_t& bytes) {
  for (bytes = 1; bytes <= left && bytes <= 4; ++bytes) {
    WideChar converted[2];
    const auto length = static_cast<int32_t>(bytes);
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, at, length, converted, 2) == 1) return converted[0];
  }
  bytes = 1;
  return 0;
}

}  // namespace

bool GetStringTypeExW(LCID locale, uint32_t infoType, const WideChar* source, int32_t count, uint16_t* charTypes) {
  if (CheckedLanguage(locale, infoType, source, charTypes) == nullptr) return false;
  const size_t length = count < 0 ? std::char_traits<WideChar>::length(source) : static_cast<size_t>(count);
  for (size_t i = 0; i < length; ++i) charTypes[i] = TypeOf(infoType, source[i]);
  return true;
}

bool GetStringTypeExA(LCID locale, uint32_t infoType, const char* source, int32_t count, uint16_t* charTypes) {
  const TLanguageInfo* language = CheckedLanguage(locale, infoType, source, charTypes);
  if (language == nullptr) return false;
  // The default locales read text in the process's ANSI code page, as every default
  // 8-bit conversion does; a named language in its own.
  const bool named = locale != 0 && locale != LOCALE_USER_DEFAULT && locale != LOCALE_SYSTEM_DEFAULT;
  const uint32_t codePage = named && language->AnsiCodePage != 0 ? language->AnsiCodePage : CP_ACP;
  const size_t length = count < 0 ? std::strlen(source) : static_cast<size_t>(count);
  for (size_t i = 0; i < length;) {
    size_t bytes = 1;
    const WideChar c = CharacterAt(codePage, source + i, length - i, bytes);
    for (size_t k = 0; k < bytes; ++k) charTypes[i + k] = c == 0 && source[i] != 0 ? 0 : TypeOf(infoType, c);
    i += bytes;
  }
  return true;
}

namespace {

// A nonspacing or enclosing mark of the BMP or beyond (the bidirectional class NSM).
bool IsNonspacingMark(uint32_t codePoint) { return fribidi_get_bidi_type(codePoint) == FRIBIDI_TYPE_NSM; }

// The code point that starts at p (a whole pair, else the unit) and its length in units.
uint32_t CodePointAt(const WideChar* p, int32_t& units) {
  if (IsHighSurrogate(p[0]) && IsLowSurrogate(p[1])) {
    units = 2;
    return SurrogatePairToUCS4(p[0], p[1]);
  }
  units = 1;
  return p[0];
}

}  // namespace

const WideChar* CharNextW(const WideChar* p) {
  if (*p == 0) return p;
  int32_t units = 0;
  CodePointAt(p, units);
  p += units;
  while (*p != 0 && IsNonspacingMark(CodePointAt(p, units))) p += units;
  return p;
}

const WideChar* CharPrevW(const WideChar* start, const WideChar* p) {
  if (p <= start) return start;
  // Back over one code point, then over the marks before it down to their base.
  const auto stepBack = [start](const WideChar* q) {
    return q - 1 > start && IsLowSurrogate(q[-1]) && IsHighSurrogate(q[-2]) ? q - 2 : q - 1;
  };
  const WideChar* at = stepBack(p);
  int32_t units = 0;
  while (at > start && IsNonspacingMark(CodePointAt(at, units))) at = stepBack(at);
  return at;
}
