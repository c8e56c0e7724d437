#include <gtest/gtest.h>

#include "xml/XmlTestSupport.h"

#include <cmath>

#include "platform/base/Exception.h"
#include "xml/dom/DomExceptions.h"
#include "xml/dom/DomTextRoutines.h"
#include "xml/dom/XPathNumbers.h"

namespace {

TEST(DomTextRoutinesTest, WhiteSpaceCollapsing) {
  const struct {
    const char16_t* Text;
    const char16_t* Collapsed;
    const char16_t* Blanks;
    const char16_t* Trimmed;
  } cases[] = {
      {u"\t\r\n \n", u"", u"\t\r\n \n", u""},
      {u"a\t\nb", u"a b", u"a\t\nb", u"a\t\nb"},
      {u"  a   b  ", u"a b", u"a b", u"a   b"},
      {u"a\tb   c", u"a b c", u"a\tb c", u"a\tb   c"},
      {u"", u"", u"", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Text));
    EXPECT_EQ(CollapseWhiteSpace(c.Text), c.Collapsed);
    EXPECT_EQ(CollapseBlanks(c.Text), c.Blanks);
    EXPECT_EQ(TrimXmlWhiteSpace(c.Text), c.Trimmed);
  }
  const WideString withZero(u"a  b\0 c d", 9);
  EXPECT_EQ(CollapseWhiteSpace(withZero), u"a b");  // processing ends at U+0000
}

TEST(DomTextRoutinesTest, StripParenthesesAndEscapeQuotes) {
  WideString result = u"stale";
  int32_t error = -1;
  StripParentheses(u" ( a | b ) ", result, error);
  EXPECT_EQ(result, u"a | b");
  EXPECT_EQ(error, 0);
  StripParentheses(u"()", result, error);
  EXPECT_EQ(result, u"");
  EXPECT_EQ(error, 0);
  for (const char16_t* bad : {u"(", u" a ", u"(a", u""}) {
    StripParentheses(bad, result, error);
    EXPECT_EQ(result, u"");
    EXPECT_EQ(error, 1);
  }
  EXPECT_EQ(EscapeQuotes(u"say \"it's\""), u"say &#34;it&#39;s&#34;");
}

TEST(DomTextRoutinesTest, QualifiedNames) {
  WideString prefix = u"x", local = u"y";
  EXPECT_TRUE(SplitQualifiedName(u"fb:body", prefix, local));
  EXPECT_EQ(prefix, u"fb");
  EXPECT_EQ(local, u"body");
  EXPECT_TRUE(SplitQualifiedName(u"body", prefix, local));
  EXPECT_EQ(prefix, u"");
  EXPECT_EQ(local, u"body");
  for (const char16_t* bad : {u":a", u"a:", u"a:b:c", u"1a", u"a:1", u""}) {
    SCOPED_TRACE(Narrow(bad));
    EXPECT_FALSE(SplitQualifiedName(bad, prefix, local));
    EXPECT_EQ(prefix, u"");
    EXPECT_EQ(local, u"");
    ExpectRaises<EInvalid_Character_Err>([&] { ExtractLocalName(bad); }, "Invalid character error.");
    ExpectRaises<EInvalid_Character_Err>([&] { QNamePrefix(bad); }, "Invalid character error.");
  }
  EXPECT_EQ(ExtractLocalName(u"l:href"), u"href");
  EXPECT_EQ(ExtractLocalName(u"href"), u"href");
  EXPECT_EQ(QNamePrefix(u"l:href"), u"l");
  EXPECT_EQ(QNamePrefix(u"href"), u"");
}

TEST(DomTextRoutinesTest, CharacterReferences) {
  EXPECT_EQ(CharRefValue(u"&#65;"), 65u);
  EXPECT_EQ(CharRefValue(u"&#x1F600;"), 0x1F600u);
  EXPECT_EQ(CharRefValue(u"&#x10FFFF;"), 0x10FFFFu);
  EXPECT_EQ(CharRefToText(u"&#x1F600;"), u"\xD83D\xDE00");
  EXPECT_EQ(CharRefToText(u"&#xe9;"), u"\u00E9");
  for (const char16_t* bad :
       {u"&#0;", u"&#xD800;", u"&#x110000;", u"&#X41;", u"&#xFFFE;", u"&#99999999999999999999;", u"&#8;", u"&amp;"}) {
    const std::string message = Narrow(bad) + " is not a valid XmlCharRef value.";
    ExpectRaises<EConvertError>([&] { CharRefValue(bad); }, message.c_str());
  }
}

TEST(DomTextRoutinesTest, ResolveCharRefs) {
  EXPECT_EQ(ResolveCharRefs(u"\xFEFF"
                            u"a&#66;&amp;\xD83D\xDE00&#x1F600;"),
            u"\xFEFF"
            u"aB&amp;\xD83D\xDE00\xD83D\xDE00");
  const struct {
    const char16_t* Text;
    const char* Message;
  } failures[] = {
      {u"a\xDC00", "WideString must not start with a UTF-16 low surrogate."},
      {u"a\xD800", "WideString must not end with a UTF-16 high surrogate."},
      {u"\xD800x", "WideString contains an UTF-16 high surrogate without its corresponding low surrogate."},
      {u"a\x01", "WideString contains an invalid character."},
      {u"a & b", "WideString contains an '&' without a ';'."},
      {u"a &b c;", "WideString contains an invalid reference &b c;."},
      {u"&#0;", "&#0; is not a valid XmlCharRef value."},
  };
  for (const auto& f : failures) {
    SCOPED_TRACE(f.Message);
    ExpectRaises<EConvertError>([&] { ResolveCharRefs(f.Text); }, f.Message);
  }
}

TEST(XPathNumbersTest, Zeros) {
  EXPECT_TRUE(IsNegativeZero(-0.0));
  EXPECT_FALSE(IsNegativeZero(0.0));
  EXPECT_TRUE(IsPositiveZero(0.0));
  EXPECT_FALSE(IsPositiveZero(-0.0));
  EXPECT_FALSE(IsPositiveZero(1e-300));
}

TEST(XPathNumbersTest, RoundHalvesUpwardAndKeepsTheSignOfZero) {
  EXPECT_TRUE(IsNegativeZero(XPathRound(-0.4)));
  EXPECT_TRUE(IsNegativeZero(XPathRound(-0.5)));
  EXPECT_TRUE(IsNegativeZero(XPathRound(-0.0)));
  EXPECT_TRUE(IsPositiveZero(XPathRound(0.4)));
  EXPECT_EQ(XPathRound(2.5), 3);
  EXPECT_EQ(XPathRound(-2.5), -2);
  EXPECT_EQ(XPathRound(-2.6), -3);
  EXPECT_TRUE(std::isnan(XPathRound(NAN)));
  EXPECT_EQ(XPathRound(-INFINITY), -INFINITY);
}

TEST(XPathNumbersTest, StringToNumber) {
  const struct {
    const char16_t* Text;
    double Expected;  // NaN: not a number
  } cases[] =
      {
          {u" -.5 ", -0.5}, {u"12", 12},  {u"\t3.25\n", 3.25}, {u"007", 7},   {u".5", 0.5},
          {u"1.", NAN},  // a trailing point
          {u"", NAN},       {u"  ", NAN}, {u"+1", NAN},        {u"1e3", NAN}, {u"1.2.3", NAN},
          {u"- 1", NAN},    {u"x1", NAN}, {u"1 1", NAN},       {u"-", NAN},  // no digit at all
          {u"-.", NAN},
      };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Text));
    const double value = XPathStringToNumber(c.Text);
    if (std::isnan(c.Expected))
      EXPECT_TRUE(std::isnan(value)) << value;
    else
      EXPECT_DOUBLE_EQ(value, c.Expected);
  }
}

}  // namespace
