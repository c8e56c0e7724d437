#include <gtest/gtest.h>

#include "platform/base/CodePages.h"
#include "platform/base/LastError.h"
#include "platform/base/Locale.h"

namespace {

WideString Item(LCID locale, uint32_t item) {
  WideChar buffer[64];
  const int32_t length = GetLocaleInfoW(locale, item, buffer, 64);
  return length > 0 ? WideString(buffer, static_cast<size_t>(length - 1)) : u"<failed>";
}

}  // namespace

TEST(Locale, TheUserAndSystemLanguageIsEnglish) {
  EXPECT_EQ(GetUserDefaultLangID(), 0x0409);
  EXPECT_EQ(GetSystemDefaultLangID(), 0x0409);
  EXPECT_EQ(GetThreadLocale(), 0x0409u);
  EXPECT_EQ(Item(LOCALE_USER_DEFAULT, LOCALE_SLANGUAGE), u"English (United States)");
  EXPECT_EQ(Item(0, LOCALE_ILANGUAGE), u"0409");
}

TEST(Locale, ItemsComeFromTheLanguageTable) {
  const struct {
    LCID Locale;
    uint32_t Item;
    WideString Text;
  } cases[] = {
      {0x0419, LOCALE_SLANGUAGE, u"Russian (Russia)"},
      {0x0419, LOCALE_SENGLANGUAGE, u"Russian"},
      {0x0419, LOCALE_SNATIVELANGNAME, u"русский"},
      {0x0419, LOCALE_IDEFAULTANSICODEPAGE, u"1251"},
      {0x0419, LOCALE_IDEFAULTCODEPAGE, u"866"},
      {0x0422, LOCALE_SNATIVELANGNAME, u"українська"},
      {0x0423, LOCALE_IDEFAULTANSICODEPAGE, u"1251"},
      {0x0415, LOCALE_IDEFAULTANSICODEPAGE, u"1250"},
      {0x0408, LOCALE_IDEFAULTANSICODEPAGE, u"1253"},
      {0x0411, LOCALE_IDEFAULTANSICODEPAGE, u"932"},
      {0x042B, LOCALE_IDEFAULTANSICODEPAGE, u"0"},  // Unicode only
      {0x040C, LOCALE_ILANGUAGE, u"040c"},
      {0x0409, LOCALE_IDATE, u"0"},
      {0x0419, LOCALE_IDATE, u"1"},
      {0x0809, LOCALE_IDATE, u"1"},
      {0x0411, LOCALE_IDATE, u"2"},
      {0x040C, LOCALE_SENGCOUNTRY | LOCALE_NOUSEROVERRIDE, u"France"},
      {0x0019, LOCALE_SENGLANGUAGE, u"Russian"},  // neutral sublanguage
      {0x0009, LOCALE_SENGCOUNTRY, u"United States"},
      {0x10407, LOCALE_SENGLANGUAGE, u"German"},  // another sort order
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.Locale << " item " << c.Item);
    EXPECT_EQ(Item(c.Locale, c.Item), c.Text);
  }
}

TEST(Locale, EveryLanguageHasCodePagesIconvConverts) {
  for (LANGID id = 1; id < 0x1000; ++id) {
    const TLanguageInfo* language = FindLanguage(id);
    if (language == nullptr || language->LangId != id) continue;
    SCOPED_TRACE(id);
    if (language->AnsiCodePage != 0) {
      EXPECT_TRUE(IsValidCodePage(language->AnsiCodePage));
    }
    // Arabic's DOS code page 720 is the one glibc lacks.
    if (language->OemCodePage != 1) {
      EXPECT_EQ(IsValidCodePage(language->OemCodePage), language->OemCodePage != 720);
    }
  }
}

TEST(Locale, UnknownLocalesItemsAndShortBuffersFail) {
  WideChar buffer[4];
  EXPECT_EQ(GetLocaleInfoW(0x0479, LOCALE_SLANGUAGE, buffer, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetLocaleInfoW(0x0419, 0x7777, buffer, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
  EXPECT_EQ(GetLocaleInfoW(0x0419, LOCALE_SENGLANGUAGE, buffer, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(GetLocaleInfoW(0x0419, LOCALE_SENGLANGUAGE, nullptr, 0), 8);
}

TEST(Locale, TheAnsiFormUsesTheLanguagesCodePage) {
  char buffer[32];
  ASSERT_EQ(GetLocaleInfoA(0x0419, LOCALE_SNATIVELANGNAME, buffer, 32), 8);
  EXPECT_STREQ(buffer, "\xF0\xF3\xF1\xF1\xEA\xE8\xE9");  // in 1251
  ASSERT_GT(GetLocaleInfoA(0x0408, LOCALE_SNATIVELANGNAME, buffer, 32), 0);
  EXPECT_STREQ(buffer, "\xC5\xEB\xEB\xE7\xED\xE9\xEA\xDC");  // in 1253
  ASSERT_GT(GetLocaleInfoA(0x0408, LOCALE_SNATIVELANGNAME | LOCALE_USE_CP_ACP, buffer, 32), 0);
  EXPECT_STREQ(buffer, "????????");  // Greek is not in 1251
  ASSERT_EQ(GetLocaleInfoA(0x0419, LOCALE_IDEFAULTANSICODEPAGE, buffer, 6), 5);
  EXPECT_STREQ(buffer, "1251");
}

namespace {

TEST(Locale, LanguagesFoundByTheirEnglishNames) {
  const struct {
    const char16_t* Name;
    const char16_t* Country;
    LANGID Expected;
  } cases[] = {
      {u"Russian", u"Russia", 0x0419},
      {u"English", u"United Kingdom", 0x0809},
      {u"English", u"Nowhere", 0x0409},  // the language's first entry
      {u"Chinese", u"People's Republic of China", 0x0804},
      {u"C", u"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(FindLanguageByName(c.Name, c.Country), c.Expected) << int(c.Expected);
}

}  // namespace
