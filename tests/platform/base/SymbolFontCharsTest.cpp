// The Symbol font's characters by code: what each shows, and its name in HTML, checked
// row by row and against Python's table of HTML entities.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "platform/base/SymbolFontChars.h"

TEST(SymbolFontChars, CodesShowTheirSymbolsAndHaveTheirHtmlNames) {
  const struct {
    uint8_t Code;
    WideChar Unicode;
    const char* HtmlName;
  } rows[] = {
      {0x00, 0, ""},           {0x1F, 0, ""},          {' ', 0x0020, " "},     {'(', 0x0028, "("},
      {'-', 0x2212, "-"},      {'\'', 0x220B, "?"},    {'A', 0x0391, "Alpha"}, {'D', 0x0394, "Delta"},
      {'W', 0x03A9, "Omega"},  {'a', 0x03B1, "alpha"}, {'f', 0x03D5, "#981"},  {'j', 0x03C6, "phi"},
      {'p', 0x03C0, "pi"},     {0x7F, 0, ""},          {0x9F, 0, ""},          {0xA0, 0x20AC, ""},
      {0xA5, 0x221E, "infin"}, {0xAE, 0x2192, "rarr"}, {0xB0, 0x00B0, "\xB0"}, {0xB7, 0x2022, "#8226"},
      {0xD6, 0x221A, "radic"}, {0xE5, 0x2211, "sum"},  {0xE6, 0x239B, "/"},    {0xF0, 0, "euro"},
      {0xF2, 0x222B, "int"},   {0xFE, 0x23AD, "/"},    {0xFF, 0, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.Code));
    EXPECT_EQ(SymbolCharToUnicode(row.Code), row.Unicode);
    EXPECT_STREQ(SymbolCharHtmlName(row.Code), row.HtmlName);
  }
}

// Where HTML names a character by an entity ("alpha") or its number ("#977"), that is the
// character the code shows. Python's html.entities gives the entities' characters. The
// angle brackets alone differ: HTML's lang and rang are the characters Unicode has since
// replaced by the mathematical angle brackets (U+27E8, U+27E9), which the codes show.
TEST(SymbolFontChars, HtmlNamesNameTheCharactersTheCodesShow) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen("/usr/bin/python3 -c 'import html.entities as e\n"
                                                   "for name, code in e.name2codepoint.items(): print(name, code)'",
                                                   "r"),
                                             pclose);
  ASSERT_TRUE(pipe) << "/usr/bin/python3 is missing";
  std::map<std::string, int> entities;
  char name[64];
  int code = 0;
  while (std::fscanf(pipe.get(), "%63s %d", name, &code) == 2) entities[name] = code;
  ASSERT_GT(entities.size(), 200u) << "python3 gave no HTML entities";
  int named = 0;
  for (int c = 0; c < 256; ++c) {
    const std::string html = SymbolCharHtmlName(static_cast<uint8_t>(c));
    if (html.size() < 2 || SymbolCharToUnicode(static_cast<uint8_t>(c)) == 0) continue;
    SCOPED_TRACE(c);
    SCOPED_TRACE(html);
    int expected = 0;
    if (html[0] == '#') {
      expected = std::stoi(html.substr(1));
    } else {
      ASSERT_TRUE(entities.count(html)) << "not an HTML entity";
      expected = html == "lang" ? 0x27E8 : html == "rang" ? 0x27E9 : entities[html];
    }
    EXPECT_EQ(SymbolCharToUnicode(static_cast<uint8_t>(c)), expected);
    ++named;
  }
  EXPECT_GT(named, 120);
}
