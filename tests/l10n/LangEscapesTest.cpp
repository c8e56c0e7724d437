#include "l10n/LangEscapes.h"

#include <gtest/gtest.h>

TEST(LangEscapes, UnescapesTheFileForms) {
  const struct {
    WideString Escaped, Plain;
  } cases[] = {
      {u"one\\ntwo", u"one\r\ntwo"},
      {u"a\\tb", u"a\tb"},
      {u"back\\\\slash", u"back\\slash"},
      {u"\\65BC", u"ABC"},
      {u"\\6x", u"\\6x"},    // one digit and a letter stay as written
      {u"end\\", u"end\\"},  // a final backslash stays
      {u"\\q", u"\\q"},
      {u"", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Escaped.begin(), c.Escaped.end()));
    EXPECT_EQ(UnescapeLangText(c.Escaped), c.Plain);
  }
}

TEST(LangEscapes, EscapesEveryLineBreakFormAsOne) {
  EXPECT_EQ(EscapeLangText(u"a\r\nb\n\rc\rd\ne"), u"a\\nb\\nc\\nd\\ne");
  EXPECT_EQ(EscapeLangText(u"t\tb\\s\x01"), u"t\\tb\\\\s\\01");
}

TEST(LangEscapes, RoundTripsTextWithoutLoneBreaks) {
  const WideString text = u"\u041f\u0440\u0438\u0432\u0435\u0442\tworld\r\n\\ 100%\x1f";
  EXPECT_EQ(UnescapeLangText(EscapeLangText(text)), text);
}
