#include "platform/base/Locale.h"

#include <algorithm>
#include <string>

#include "platform/base/CodePages.h"
#include "platform/base/LastError.h"

namespace {

// Code pages as Windows assigns them to each language (glibc's iconv lacks only the
// Arabic DOS code page 720). A language's first entry is the
// one its neutral sublanguage finds.
constexpr TLanguageInfo Languages[] = {
    {0x0401, u"Arabic", u"Saudi Arabia", u"العربية", 1256, 720},
    {0x0402, u"Bulgarian", u"Bulgaria", u"български", 1251, 866},
    {0x0404, u"Chinese", u"Taiwan", u"中文", 950, 950},
    {0x0804, u"Chinese", u"People's Republic of China", u"中文", 936, 936},
    {0x0405, u"Czech", u"Czech Republic", u"čeština", 1250, 852},
    {0x0406, u"Danish", u"Denmark", u"dansk", 1252, 850},
    {0x0407, u"German", u"Germany", u"Deutsch", 1252, 850},
    {0x0408, u"Greek", u"Greece", u"Ελληνικά", 1253, 737},
    {0x0409, u"English", u"United States", u"English", 1252, 437},
    {0x0809, u"English", u"United Kingdom", u"English", 1252, 850},
    {0x0C0A, u"Spanish", u"Spain", u"español", 1252, 850},
    {0x040B, u"Finnish", u"Finland", u"suomi", 1252, 850},
    {0x040C, u"French", u"France", u"français", 1252, 850},
    {0x040D, u"Hebrew", u"Israel", u"עברית", 1255, 862},
    {0x040E, u"Hungarian", u"Hungary", u"magyar", 1250, 852},
    {0x040F, u"Icelandic", u"Iceland", u"íslenska", 1252, 850},
    {0x0410, u"Italian", u"Italy", u"italiano", 1252, 850},
    {0x0411, u"Japanese", u"Japan", u"日本語", 932, 932},
    {0x0412, u"Korean", u"Korea", u"한국어", 949, 949},
    {0x0413, u"Dutch", u"Netherlands", u"Nederlands", 1252, 850},
    {0x0414, u"Norwegian", u"Norway", u"norsk", 1252, 850},
    {0x0415, u"Polish", u"Poland", u"polski", 1250, 852},
    {0x0416, u"Portuguese", u"Brazil", u"português", 1252, 850},
    {0x0816, u"Portuguese", u"Portugal", u"português", 1252, 850},
    {0x0418, u"Romanian", u"Romania", u"română", 1250, 852},
    {0x0419, u"Russian", u"Russia", u"русский", 1251, 866},
    {0x041A, u"Croatian", u"Croatia", u"hrvatski", 1250, 852},
    {0x081A, u"Serbian (Latin)", u"Serbia", u"srpski", 1250, 852},
    {0x0C1A, u"Serbian (Cyrillic)", u"Serbia", u"српски", 1251, 855},
    {0x041B, u"Slovak", u"Slovakia", u"slovenčina", 1250, 852},
    {0x041D, u"Swedish", u"Sweden", u"svenska", 1252, 850},
    {0x041F, u"Turkish", u"Turkey", u"Türkçe", 1254, 857},
    {0x0422, u"Ukrainian", u"Ukraine", u"українська", 1251, 866},
    {0x0423, u"Belarusian", u"Belarus", u"беларуская", 1251, 866},
    {0x0424, u"Slovenian", u"Slovenia", u"slovenščina", 1250, 852},
    {0x0425, u"Estonian", u"Estonia", u"eesti", 1257, 775},
    {0x0426, u"Latvian", u"Latvia", u"latviešu", 1257, 775},
    {0x0427, u"Lithuanian", u"Lithuania", u"lietuvių", 1257, 775},
    {0x042B, u"Armenian", u"Armenia", u"Հայերեն", 0, 1},
    {0x0437, u"Georgian", u"Georgia", u"ქართული", 0, 1},
    {0x043F, u"Kazakh", u"Kazakhstan", u"қазақ тілі", 1251, 866},
    {0x0444, u"Tatar", u"Russia", u"татар", 1251, 866},
};

constexpr LANGID SUBLANG_NEUTRAL = 0;
constexpr LANGID SUBLANG_DEFAULT = 1;
constexpr uint32_t ItemFlags = LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP;

// The language a locale names; nullptr with ERROR_INVALID_PARAMETER when there is none.
const TLanguageInfo* LanguageOfLocale(LCID locale) {
  if (locale == 0 || locale == LOCALE_USER_DEFAULT || locale == LOCALE_SYSTEM_DEFAULT) locale = GetUserDefaultLCID();
  // Bits 16 to 19 choose a sort order, which changes no item here.
  const TLanguageInfo* language = (locale >> 20) == 0 ? FindLanguage(LANGIDFROMLCID(locale)) : nullptr;
  if (language == nullptr) SetLastError(ERROR_INVALID_PARAMETER);
  return language;
}

// The order of a short date: month first in the United States, year first in the East
// Asian languages and in those whose dates run from the year (as in "2024.05.31."), day
// first elsewhere.
char16_t ShortDateOrder(LANGID langId) {
  if (langId == 0x0409) return u'0';
  switch (PRIMARYLANGID(langId)) {
    case 0x04:  // Chinese
    case 0x0E:  // Hungarian
    case 0x11:  // Japanese
    case 0x12:  // Korean
    case 0x1D:  // Swedish
    case 0x26:  // Latvian
    case 0x27:  // Lithuanian
      return u'2';
    default:
      return u'1';
  }
}

// The item's text; false with ERROR_INVALID_FLAGS for an unknown item.
bool ItemText(const TLanguageInfo& language, uint32_t item, WideString& text) {
  switch (item) {
    case LOCALE_ILANGUAGE: {
      static constexpr char16_t Hex[] = u"0123456789abcdef";
      text.clear();
      for (int shift = 12; shift >= 0; shift -= 4) text += Hex[(language.LangId >> shift) & 0xF];
      return true;
    }
    case LOCALE_SLANGUAGE:
      text = WideString(language.EnglishName) + u" (" + language.EnglishCountry + u")";
      return true;
    case LOCALE_SENGLANGUAGE:
      text = language.EnglishName;
      return true;
    case LOCALE_SENGCOUNTRY:
      text = language.EnglishCountry;
      return true;
    case LOCALE_SNATIVELANGNAME:
      text = language.NativeName;
      return true;
    case LOCALE_IDATE:
      text = ShortDateOrder(language.LangId);
      return true;
    case LOCALE_IDEFAULTANSICODEPAGE: {
      const std::string number = std::to_string(language.AnsiCodePage);
      text.assign(number.begin(), number.end());
      return true;
    }
    case LOCALE_IDEFAULTCODEPAGE: {
      const std::string number = std::to_string(language.OemCodePage);
      text.assign(number.begin(), number.end());
      return true;
    }
    default:
      SetLastError(ERROR_INVALID_FLAGS);
      return false;
  }
}

// Copies a text and its terminator by the rules of the locale calls.
template <typename TChar>
int32_t DeliverItem(const std::basic_string<TChar>& text, TChar* data, int32_t dataAvail) {
  const auto needed = static_cast<int32_t>(text.size() + 1);
  if (dataAvail == 0) return needed;
  if (dataAvail < 0 || data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (needed > dataAvail) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::copy(text.begin(), text.end(), data);
  data[text.size()] = 0;
  return needed;
}

// The item's text, or false with the last error set.
bool LocaleItem(LCID locale, uint32_t lcType, const TLanguageInfo*& language, WideString& text) {
  language = LanguageOfLocale(locale);
  return language != nullptr && ItemText(*language, lcType & ~ItemFlags, text);
}

}  // namespace

const TLanguageInfo* FindLanguage(LANGID langId) noexcept {
  for (const TLanguageInfo& language : Languages)
    if (language.LangId == langId) return &language;
  const LANGID sub = SUBLANGID(langId);
  if (sub != SUBLANG_NEUTRAL && sub != SUBLANG_DEFAULT) return nullptr;
  for (const TLanguageInfo& language : Languages)
    if (PRIMARYLANGID(language.LangId) == PRIMARYLANGID(langId)) return &language;
  return nullptr;
}

LANGID FindLanguageByName(std::u16string_view englishName, std::u16string_view englishCountry) noexcept {
  const TLanguageInfo* first = nullptr;
  for (const TLanguageInfo& language : Languages) {
    if (englishName != language.EnglishName) continue;
    if (englishCountry == language.EnglishCountry) return language.LangId;
    if (!first) first = &language;
  }
  return first ? first->LangId : 0;
}

LANGID CodePageLanguage(uint32_t codePage) noexcept {
  if (codePage == CP_ACP || codePage == CP_THREAD_ACP) codePage = GetACP();
  // Code pages that several languages of the table share go to their own language.
  switch (codePage) {
    case 1250:
      return 0x0415;
    case 1251:
      return 0x0419;
    case 1252:
      return LANG_ENGLISH_US;
    case 1257:
      return 0x0427;
    default:
      break;
  }
  for (const TLanguageInfo& language : Languages)
    if (language.AnsiCodePage == codePage) return language.LangId;
  return LANG_ENGLISH_US;
}

LANGID GetUserDefaultLangID() noexcept { return LANG_ENGLISH_US; }
LANGID GetSystemDefaultLangID() noexcept { return LANG_ENGLISH_US; }
LCID GetUserDefaultLCID() noexcept { return LANG_ENGLISH_US; }
LCID GetSystemDefaultLCID() noexcept { return LANG_ENGLISH_US; }
LCID GetThreadLocale() noexcept { return LANG_ENGLISH_US; }

int32_t GetLocaleInfoW(LCID locale, uint32_t lcType, WideChar* data, int32_t dataChars) {
  const TLanguageInfo* language = nullptr;
  WideString text;
  return LocaleItem(locale, lcType, language, text) ? DeliverItem(text, data, dataChars) : 0;
}

int32_t GetLocaleInfoA(LCID locale, uint32_t lcType, char* data, int32_t dataBytes) {
  const TLanguageInfo* language = nullptr;
  WideString text;
  if (!LocaleItem(locale, lcType, language, text)) return 0;
  const bool ownPage = (lcType & LOCALE_USE_CP_ACP) == 0 && language->AnsiCodePage != 0;
  return DeliverItem(WideToAnsi(text, ownPage ? language->AnsiCodePage : CP_ACP), data, dataBytes);
}
