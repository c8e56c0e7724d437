#include <gtest/gtest.h>

#include <libxml/chvalid.h>
#include <libxml/tree.h>

#include "xml/utils/XmlRulesUtils.h"

namespace {

std::string Utf8Of(uint32_t c) {
  std::string out;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
  return out;
}

bool LibxmlValid(int (*validate)(const xmlChar*, int), const std::string& text) {
  return validate(reinterpret_cast<const xmlChar*>(text.c_str()), 0) == 0;
}

// The Appendix B classes agree with libxml2's own tables (the same fourth-edition
// productions) on every character of the Basic Multilingual Plane.
TEST(XmlRulesUtilsTest, CharacterClassesAgreeWithLibxml2OverTheWholeBmp) {
  for (uint32_t c = 0; c <= 0xFFFF; ++c) {
    SCOPED_TRACE(c);
    const auto unit = static_cast<WideChar>(c);
    ASSERT_EQ(Ucs4IsBaseChar(c), xmlIsBaseChar(c) != 0);
    ASSERT_EQ(Ucs4IsIdeographic(c), xmlIsIdeographic(c) != 0);
    ASSERT_EQ(Ucs4IsCombiningChar(c), xmlIsCombining(c) != 0);
    ASSERT_EQ(Ucs4IsDigit(c), xmlIsDigit(c) != 0);
    ASSERT_EQ(Ucs4IsExtender(c), xmlIsExtender(c) != 0);
    ASSERT_EQ(CharIsLetter(unit), xmlIsBaseChar(c) || xmlIsIdeographic(c));
    // libxml2 admits the tab as a public-identifier character; XML 1.0 does not.
    ASSERT_EQ(CharIsPubidChar(unit), c != 0x9 && xmlIsPubidChar(c) != 0);
    if (c < 0xD800 || c > 0xDFFF) {
      const WideString one(1, unit);
      ASSERT_EQ(TextIsChars(one), xmlIsChar(c) != 0);
    }
  }
}

// Names, NCNames and Nmtokens of one and two characters agree with libxml2's validators
// on every BMP character outside the surrogates.
TEST(XmlRulesUtilsTest, NameProductionsAgreeWithLibxml2OverTheWholeBmp) {
  for (uint32_t c = 0x20; c <= 0xFFFD; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    SCOPED_TRACE(c);
    const WideString alone(1, WideChar(c));
    const WideString second = u"a" + alone;
    const std::string alone8 = Utf8Of(c), second8 = "a" + Utf8Of(c);
    ASSERT_EQ(TextIsName(alone), LibxmlValid(xmlValidateName, alone8));
    ASSERT_EQ(TextIsName(second), LibxmlValid(xmlValidateName, second8));
    ASSERT_EQ(TextIsNCName(alone), LibxmlValid(xmlValidateNCName, alone8));
    ASSERT_EQ(TextIsNCName(second), LibxmlValid(xmlValidateNCName, second8));
    ASSERT_EQ(TextIsNmtoken(alone), LibxmlValid(xmlValidateNMToken, alone8));
  }
}

TEST(XmlRulesUtilsTest, CodeUnitTestsWidenToTheCodePointTests) {
  EXPECT_TRUE(CharIsXmlChar(0xD800));  // a lone surrogate unit counts as a character here
  EXPECT_FALSE(CharIsXmlChar(0xFFFE));
  EXPECT_FALSE(CharIsXmlChar(0x1F));
  EXPECT_TRUE(CharIsNameChar(u':'));
  EXPECT_FALSE(CharIsNCNameChar(u':'));
  EXPECT_TRUE(Ucs4IsSpaceOrNull(0));
  EXPECT_FALSE(Ucs4IsSpace(0));
  // Nothing beyond the BMP is a name character.
  for (uint32_t c : {0x10000u, 0x1F600u, 0x20000u}) {
    EXPECT_FALSE(Ucs4IsLetter(c));
    EXPECT_FALSE(Ucs4IsNameChar(c));
  }
  EXPECT_FALSE(TextIsName(u"a\xD840\xDC00"));
  EXPECT_TRUE(Ucs4IsVersionNumChar(':'));
  EXPECT_FALSE(Ucs4IsEncNameChar(':'));
}

struct TTextCase {
  bool (*Test)(WideStringView);
  const char* TestName;
  WideString Text;
  bool Expected;
};

#define CASE(fn, text, expected) \
  TTextCase { fn, #fn, text, expected }

TEST(XmlRulesUtilsTest, StringProductions) {
  const TTextCase cases[] = {
      CASE(TextIsPITarget, u"xml", false),
      CASE(TextIsPITarget, u"XmL", false),
      CASE(TextIsPITarget, u"XML", false),
      CASE(TextIsPITarget, u"xml-stylesheet", true),
      CASE(TextIsPITarget, u"xmlfoo", true),
      CASE(TextIsPITarget, u"", false),
      CASE(TextIsCharRef, u"&#x;", false),
      CASE(TextIsCharRef, u"&#;", false),
      CASE(TextIsCharRef, u"&#x1F600;", true),
      CASE(TextIsCharRef, u"&#X41;", false),
      CASE(TextIsCharRef, u"&#65;", true),
      CASE(TextIsCharRef, u"&#6a;", false),
      CASE(TextIsCharRef, u"&#xAbC;", true),
      CASE(TextIsCharRef, u"&#65", false),
      CASE(TextIsNames, u"a b", true),
      CASE(TextIsNames, u"a  b", false),
      CASE(TextIsNames, u" a", false),
      CASE(TextIsNames, u"a ", false),
      CASE(TextIsNames, u"", false),
      CASE(TextIsNames, u"a 1", false),
      CASE(TextIsNmtokens, u"1 -x", true),
      CASE(TextIsNmtokens, u"1  x", false),
      CASE(TextIsNmtokens, u"1 ", false),
      CASE(TextIsNmtokens, u"", false),
      CASE(TextIsNmtoken, u"", false),
      CASE(TextIsName, u"a:b", true),
      CASE(TextIsNCName, u"a:b", false),
      CASE(TextIsName, u"1a", false),
      CASE(TextIsName, u"_:", true),
      CASE(TextIsName, u"", false),
      CASE(TextIsLocalPart, u"b", true),
      CASE(TextIsPrefix, u"-b", false),
      CASE(TextIsPrefixedNamespaceAttName, u"xmlns:", false),
      CASE(TextIsPrefixedNamespaceAttName, u"xmlns:a", true),
      CASE(TextIsPrefixedNamespaceAttName, u"xmlns:a:b", false),
      CASE(TextIsDefaultNamespaceAttName, u"xmlns", true),
      CASE(TextIsDefaultNamespaceAttName, u"XMLNS", false),
      CASE(TextIsChars, u"\xD83D\xDE00", true),
      CASE(TextIsChars, u"\xDE00\xD83D", false),
      CASE(TextIsChars, u"\xFFFE", false),
      CASE(TextIsChars, u"", true),
      CASE(TextIsChars, u"\xD83D", false),
      CASE(TextIsS, u" \t\r\n", true),
      CASE(TextIsS, u"", false),
      CASE(TextIsS, u" x", false),
      CASE(TextIsEntityValue, u"say \"hi\" and 'bye'", false),
      CASE(TextIsEntityValue, u"a &amp; b", true),
      CASE(TextIsEntityValue, u"a &amp b", false),
      CASE(TextIsEntityValue, u"%x;", false),
      CASE(TextIsEntityValue, u"<p>&#60;</p>", true),
      CASE(TextIsEntityValue, u"it's", true),
      CASE(TextIsEntityValue, u"", true),
      CASE(TextIsEntityValue, u"a\x01", false),
      CASE(TextIsEntityValue, u"&bad name;", false),
      CASE(TextIsEntityValue, u"\xDC00", false),
      CASE(TextIsSystemLiteral, u"http://x/a%20b.dtd", true),
      CASE(TextIsSystemLiteral, u"a&b", true),
      CASE(TextIsSystemLiteral, u"\"'", false),
      CASE(TextIsSystemLiteral, u"a\x07", false),
      CASE(TextIsSystemLiteral, u"\xD83D\xDE00", true),
      CASE(TextIsSystemLiteral, u"\xFFFF", false),
      CASE(TextIsPubidLiteral, u"-//W3C//DTD XHTML 1.0//EN", true),
      CASE(TextIsPubidLiteral, u"a\tb", false),
      CASE(TextIsPubidLiteral, u"", true),
      CASE(TextIsEntityRef, u"&amp;", true),
      CASE(TextIsEntityRef, u"&;", false),
      CASE(TextIsEntityRef, u"x&a;", false),
      CASE(TextIsPEReference, u"%ent;", true),
      CASE(TextIsPEReference, u"&ent;", false),
      CASE(TextIsReference, u"&#10;", true),
      CASE(TextIsReference, u"&a b;", false),
      CASE(TextIsPredefinedEntityName, u"apos", true),
      CASE(TextIsPredefinedEntityName, u"Amp", false),
      CASE(TextIsCDataContent, u"a]]b>", true),
      CASE(TextIsCDataContent, u"a]]>b", false),
      CASE(TextIsCDataContent, u"", true),
      CASE(TextIsCDataContent, u"\xDC00", false),
      CASE(TextIsEncName, u"UTF-8", true),
      CASE(TextIsEncName, u"ISO-8859-1", true),
      CASE(TextIsEncName, u"8859", false),
      CASE(TextIsEncName, u"UTF:8", false),
      CASE(TextIsEncName, u"", false),
      CASE(TextIsVersionNum, u"1.0", true),
      CASE(TextIsVersionNum, u"1 0", false),
      CASE(TextIsVersionNum, u"", false),
  };
  for (const TTextCase& c : cases) {
    SCOPED_TRACE(std::string(c.TestName) + " of case #" + std::to_string(&c - cases));
    EXPECT_EQ(c.Test(c.Text), c.Expected);
  }
}

TEST(XmlRulesUtilsTest, PubidCharRejectsTheCharactersOutsideItsSet) {
  for (WideChar c : {u'\t', u'<', u'>', u'"', u'&', u'^'}) EXPECT_FALSE(CharIsPubidChar(c)) << int(c);
  for (WideChar c : WideStringView(u" \r\naZ09-'()+,./:=?;!*#@$_%")) EXPECT_TRUE(CharIsPubidChar(c)) << int(c);
}

TEST(XmlRulesUtilsTest, WhiteSpaceTextListsBlankCarriageReturnLineFeedTab) {
  EXPECT_EQ(XmlWhiteSpaceText(), WideString(u" \r\n\t"));
}

}  // namespace
