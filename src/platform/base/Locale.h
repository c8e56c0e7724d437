// Languages and locales: a table of the languages the program may ship, looked up by
// LANGID, and the locale queries over it.
//
// The user's and the system's language is English (United States, 0x0409) on every
// machine, whatever the process's environment says, so the built-in texts and every
// locale query come out the same everywhere; the ANSI code page is still the process-wide
// setting of CodePages.h (1251 by default), as on an English system with a Russian
// system locale. LOCALE_SLANGUAGE gives the name in the system's language, English:
// "Russian (Russia)"; the language's own name is LOCALE_SNATIVELANGNAME.
#pragma once

#include <string_view>

#include <cstdint>

#include "platform/base/CompareString.h"
#include "platform/base/Types.h"

using LANGID = uint16_t;

constexpr LANGID LANG_ENGLISH_US = 0x0409;

constexpr LANGID PRIMARYLANGID(LANGID id) { return id & 0x03FF; }
constexpr LANGID SUBLANGID(LANGID id) { return id >> 10; }
constexpr LANGID LANGIDFROMLCID(LCID id) { return static_cast<LANGID>(id & 0xFFFF); }

// Locale items.
constexpr uint32_t LOCALE_ILANGUAGE = 0x0001;         // LANGID as four hex digits, "0419"
constexpr uint32_t LOCALE_SLANGUAGE = 0x0002;         // "Russian (Russia)"
constexpr uint32_t LOCALE_SNATIVELANGNAME = 0x0004;   // "русский"
constexpr uint32_t LOCALE_SENGCOUNTRY = 0x1002;       // "Russia"
constexpr uint32_t LOCALE_SENGLANGUAGE = 0x1001;      // "Russian"
constexpr uint32_t LOCALE_IDEFAULTCODEPAGE = 0x000B;  // OEM code page in decimal, "866"
constexpr uint32_t LOCALE_IDATE = 0x0021;             // short-date order: "0" M-D-Y, "1" D-M-Y, "2" Y-M-D
constexpr uint32_t LOCALE_IDEFAULTANSICODEPAGE =
    0x1004;  // ANSI code page in decimal, "1251"; "0" for Unicode-only languages
// Item flags.
constexpr uint32_t LOCALE_NOUSEROVERRIDE = 0x80000000;  // accepted; there are no user overrides
constexpr uint32_t LOCALE_USE_CP_ACP = 0x40000000;      // 8-bit results in the ANSI code page

// One language of the table.
struct TLanguageInfo {
  LANGID LangId;
  const char16_t* EnglishName;
  const char16_t* EnglishCountry;
  const char16_t* NativeName;
  uint32_t AnsiCodePage;  // 0: the language has none (Unicode only)
  uint32_t OemCodePage;   // 1: the language has none
};

// The language of a LANGID (a neutral or default sublanguage finds the language's first
// entry), or nullptr when the table lacks it.
const TLanguageInfo* FindLanguage(LANGID langId) noexcept;

// The language whose ANSI code page is codePage (0 and 3: the process's): the code
// page's own language where several share it (1251 Russian, 1250 Polish, 1252 English),
// else the first of the table with it; English (United States) for a code page no
// language of the table uses.
LANGID CodePageLanguage(uint32_t codePage) noexcept;
// The language of the table with that English name in that country (as the GUI names a
// keyboard's language), else the first with that name; 0 when the table lacks it.
LANGID FindLanguageByName(std::u16string_view englishName, std::u16string_view englishCountry) noexcept;

LANGID GetUserDefaultLangID() noexcept;
LANGID GetSystemDefaultLangID() noexcept;
LCID GetUserDefaultLCID() noexcept;
LCID GetSystemDefaultLCID() noexcept;
LCID GetThreadLocale() noexcept;

// A locale item as text. With `dataChars` 0 returns the size needed (terminator
// included); otherwise copies text and terminator and returns the same count. Fails with
// 0 and the last error: ERROR_INVALID_PARAMETER for a locale the table lacks,
// ERROR_INVALID_FLAGS for an unknown item, ERROR_INSUFFICIENT_BUFFER for a short buffer.
// LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT and 0 name the user's locale.
int32_t GetLocaleInfoW(LCID locale, uint32_t lcType, WideChar* data, int32_t dataChars);
// The 8-bit form: the text in the locale's ANSI code page ("?" for characters it lacks),
// or in the process's with LOCALE_USE_CP_ACP or for a Unicode-only language.
int32_t GetLocaleInfoA(LCID locale, uint32_t lcType, char* data, int32_t dataBytes);
