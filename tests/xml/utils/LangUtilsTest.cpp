#include <gtest/gtest.h>

#include "xml/utils/AbnfUtils.h"
#include "xml/utils/LangUtils.h"

namespace {

TEST(LangUtilsTest, LanguageRangeMatching) {
  struct {
    const char16_t* Tag;
    const char16_t* Range;
    bool Expected;
  } const cases[] = {
      {u"en-US", u"en", true},   // primary language and region under the primary range
      {u"en", u"en-US", false},  // the reverse does not hold
      {u"eng", u"en", false},    // begins with the range's letters but goes on with a letter
      {u"EN-GB", u"en", true},   // letter case folds
      {u"en", u"EN", true},     {u"de", u"en", false},
      {u"", u"", true},                                              // an empty range matches an empty tag
      {u"-x", u"", true},                                            // and a tag whose first character is "-"
      {u"x", u"", false},       {u"\u00C9N-us", u"\u00E9n", false},  // only ASCII letters fold
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    EXPECT_EQ(IsLanguageRangeMatch(c.Tag, c.Range), c.Expected);
  }
}

TEST(LangUtilsTest, AbnfAlphaAndDigitAreAsciiOnly) {
  for (uint32_t c = 0; c < 0x300; ++c) {
    const auto unit = static_cast<WideChar>(c);
    EXPECT_EQ(IsAbnfAlpha(unit), (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) << c;
    EXPECT_EQ(IsAbnfDigit(unit), c >= '0' && c <= '9') << c;
  }
}

}  // namespace
