#include "platform/base/UnicodeCase.h"

#include <gtest/gtest.h>

TEST(UnicodeCase, MapsEveryScriptOneToOne) {
  const struct {
    char16_t Code, Upper, Lower, Fold;
  } cases[] = {
      {u'a', u'A', u'a', u'a'},
      {u'Z', u'Z', u'z', u'z'},
      {u'\u00E9', u'\u00C9', u'\u00E9', u'\u00E9'},
      {u'\u00C9', u'\u00C9', u'\u00E9', u'\u00E9'},
      {u'\u0451', u'\u0401', u'\u0451', u'\u0451'},  // ё
      {u'\u0416', u'\u0416', u'\u0436', u'\u0436'},  // Ж
      {u'\u00DF', u'\u00DF', u'\u00DF', u'\u00DF'},  // ß has no single upper-case unit
      {u'\u1E9E', u'\u1E9E', u'\u00DF', u'\u00DF'},  // capital sharp s folds to ß
      {u'\u212A', u'\u212A', u'k', u'k'},            // Kelvin sign
      {u'\u03C2', u'\u03A3', u'\u03C2', u'\u03C3'},  // final sigma folds to sigma
      {u'\u00FF', u'\u0178', u'\u00FF', u'\u00FF'},
      {u'\u0131', u'I', u'\u0131', u'\u0131'},       // dotless i
      {u'\uFF41', u'\uFF21', u'\uFF41', u'\uFF41'},  // full-width a
      {char16_t{0xD800}, char16_t{0xD800}, char16_t{0xD800}, char16_t{0xD800}},
      {u'1', u'1', u'1', u'1'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Code));
    EXPECT_EQ(SimpleUpperCase(c.Code), c.Upper);
    EXPECT_EQ(SimpleLowerCase(c.Code), c.Lower);
    EXPECT_EQ(SimpleCaseFold(c.Code), c.Fold);
  }
  char16_t text[] = u"Stra\u00DFe \u0451\u0436";
  EXPECT_EQ(CharUpperBuffW(text, 9), 9u);
  EXPECT_EQ(WideString(text), u"STRA\u00DFE \u0401\u0416");
  CharLowerBuffW(text, 4);
  EXPECT_EQ(WideString(text), u"stra\u00DFE \u0401\u0416");
}

TEST(UnicodeCase, ClassifiesCharacters) {
  const struct {
    char16_t Code;
    uint16_t Types;
  } cases[] = {
      {u'A', C1_UPPER | C1_ALPHA | C1_XDIGIT | C1_DEFINED},
      {u'g', C1_LOWER | C1_ALPHA | C1_DEFINED},
      {u'7', C1_DIGIT | C1_XDIGIT | C1_DEFINED},
      {u' ', C1_SPACE | C1_BLANK | C1_DEFINED},
      {u'\t', C1_SPACE | C1_BLANK | C1_CNTRL | C1_DEFINED},
      {u'\n', C1_SPACE | C1_CNTRL | C1_DEFINED},
      {u'\u0001', C1_CNTRL | C1_DEFINED},
      {u',', C1_PUNCT | C1_DEFINED},
      {u'+', C1_PUNCT | C1_DEFINED},
      {u'\u00A0', C1_SPACE | C1_BLANK | C1_DEFINED},
      {u'\u2028', C1_SPACE | C1_DEFINED},
      {u'\u0416', C1_UPPER | C1_ALPHA | C1_DEFINED},
      {u'\u4E00', C1_ALPHA | C1_DEFINED},
      {u'\u0301', C1_ALPHA | C1_DEFINED},
      {u'\u0663', C1_DIGIT | C1_DEFINED},
      {u'\u00BD', C1_PUNCT | C1_DEFINED},
      {u'\u200B', C1_CNTRL | C1_DEFINED},
      {char16_t{0xD800}, C1_DEFINED},
      {u'\u0378', 0},  // unassigned
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Code));
    EXPECT_EQ(CharTypeC1(c.Code), c.Types);
  }
}
