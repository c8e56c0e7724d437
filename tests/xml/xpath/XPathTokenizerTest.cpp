#include <gtest/gtest.h>

#include "xml/XmlTestSupport.h"
#include "xml/dom/DomExceptions.h"
#include "xml/xpath/XPathTokenizer.h"

namespace {

using T = TDomXPathTokenKind;

// Tokens written as "Kind" or "Kind:value", for readable tables.
std::vector<std::string> Tokens(WideStringView expression) {
  static const char* const Names[] = {"(",          ")",
                                      "[",          "]",
                                      ".",          "..",
                                      "@",          ",",
                                      "::",         "NameTest",
                                      "comment",    "text",
                                      "pi",         "node",
                                      "and",        "or",
                                      "mod",        "div",
                                      "*",          "/",
                                      "|",          "+",
                                      "-",          "=",
                                      "!=",         "<",
                                      "<=",         ">",
                                      ">=",         "Function",
                                      "ancestor",   "ancestor-or-self",
                                      "attribute",  "child",
                                      "descendant", "descendant-or-self",
                                      "following",  "following-sibling",
                                      "namespace",  "parent",
                                      "preceding",  "preceding-sibling",
                                      "self",       "Literal",
                                      "Number",     "Variable",
                                      "End",        "Invalid"};
  static_assert(std::size(Names) == size_t(T::InvalidToken) + 1);
  TDomXPathTokenizer tokenizer(expression, u"1.0");
  std::vector<std::string> tokens;
  for (;;) {
    T kind;
    WideString value;
    int32_t position;
    tokenizer.ReadToken(kind, value, position);
    tokens.push_back(std::string(Names[size_t(kind)]) + (value.empty() ? "" : ":" + Narrow(value)));
    if (kind == T::EndOfExpression || kind == T::InvalidToken) return tokens;
  }
}

struct TTokenCase {
  const char16_t* Expression;
  std::vector<std::string> Expected;
};

TEST(XPathTokenizerTest, SplitsExpressionsIntoTokens) {
  const TTokenCase cases[] = {
      {u"2*3", {"Number:2", "*", "Number:3", "End"}},
      {u"*", {"NameTest:*", "End"}},
      {u"a/*", {"NameTest:a", "/", "NameTest:*", "End"}},
      {u"child::*", {"child", "::", "NameTest:*", "End"}},
      {u"@*", {"@", "NameTest:*", "End"}},
      {u"f(*,*)", {"Function:f", "(", "NameTest:*", ",", "NameTest:*", ")", "End"}},
      {u"a[*]", {"NameTest:a", "[", "NameTest:*", "]", "End"}},
      {u"1+*", {"Number:1", "+", "NameTest:*", "End"}},
      {u"a * b", {"NameTest:a", "*", "NameTest:b", "End"}},
      {u"div div div", {"NameTest:div", "div", "NameTest:div", "End"}},
      {u"a and b or c mod d", {"NameTest:a", "and", "NameTest:b", "or", "NameTest:c", "mod", "NameTest:d", "End"}},
      {u"child::para", {"child", "::", "NameTest:para", "End"}},
      {u"ancestor-or-self :: x", {"ancestor-or-self", "::", "NameTest:x", "End"}},
      {u"foo::bar", {"Invalid:foo"}},
      {u"text()", {"text", "(", ")", "End"}},
      {u"text", {"NameTest:text", "End"}},
      {u"node ( )", {"node", "(", ")", "End"}},
      {u"processing-instruction('x')", {"pi", "(", "Literal:x", ")", "End"}},
      {u"f:count(x)", {"Function:f:count", "(", "NameTest:x", ")", "End"}},
      {u"p:text()", {"Function:p:text", "(", ")", "End"}},
      {u"p:*", {"NameTest:p:*", "End"}},
      {u"p:q", {"NameTest:p:q", "End"}},
      {u"p:", {"Invalid:p:"}},
      {u"p:1", {"Invalid:p:1"}},
      {u"1.5.2", {"Number:1.5", "Number:.2", "End"}},
      {u".5", {"Number:.5", "End"}},
      {u"5.", {"Number:5.", "End"}},
      {u"..", {"..", "End"}},
      {u". .", {".", ".", "End"}},
      {u"'abc", {"Invalid:abc"}},
      {u"''", {"Literal", "End"}},
      {u"\"it's\"", {"Literal:it's", "End"}},
      {u"a !b", {"NameTest:a", "Invalid:!"}},
      {u"a != b", {"NameTest:a", "!=", "NameTest:b", "End"}},
      {u"1<2<=3>4>=5=6",
       {"Number:1", "<", "Number:2", "<=", "Number:3", ">", "Number:4", ">=", "Number:5", "=", "Number:6", "End"}},
      {u"a | b", {"NameTest:a", "|", "NameTest:b", "End"}},
      {u"$v", {"Variable:v", "End"}},
      {u"$p:v", {"Variable:p:v", "End"}},
      {u"$", {"Invalid"}},
      {u"$1", {"Invalid:1"}},
      {u"$p:", {"Invalid:p:"}},
      {u"$p:1", {"Invalid:p:1"}},
      {u"$p::", {"Variable:p", "::", "End"}},
      {u":", {"Invalid::"}},
      {u"a//b", {"NameTest:a", "/", "descendant-or-self", "::", "node", "(", ")", "/", "NameTest:b", "End"}},
      {u"//", {"/", "descendant-or-self", "::", "node", "(", ")", "/", "End"}},
      {u"a and", {"NameTest:a", "and", "End"}},
      {u"a b", {"NameTest:a", "Invalid:b"}},
      {u"#", {"Invalid:#"}},
      {u" \t\r\n", {"End"}},
      {u"_x-1.y", {"NameTest:_x-1.y", "End"}},
      {u"\u00E9t\u00E9", {"NameTest:\xE9t\xE9", "End"}},
  };
  for (const TTokenCase& c : cases) {
    SCOPED_TRACE(Narrow(c.Expression));
    EXPECT_EQ(Tokens(c.Expression), c.Expected);
  }
}

TEST(XPathTokenizerTest, PositionsCountConsumedCharacters) {
  TDomXPathTokenizer tokenizer(u" ab//c", u"1.0");
  std::vector<int32_t> positions;
  T kind;
  do {
    WideString value;
    int32_t position;
    tokenizer.ReadToken(kind, value, position);
    positions.push_back(position);
  } while (kind != T::EndOfExpression);
  // "ab", "/" (the "//" is consumed with it), the six tokens "//" stands for at the
  // second "/", "c", the end.
  EXPECT_EQ(positions, (std::vector<int32_t>{3, 5, 5, 5, 5, 5, 5, 5, 6, -1}));
}

TEST(XPathTokenizerTest, LooksOneTokenAhead) {
  TDomXPathTokenizer tokenizer(u"a + 1", u"1.0");
  EXPECT_TRUE(tokenizer.NextTokenIs(T::NameTest));
  EXPECT_FALSE(tokenizer.NextTokenIs(T::PlusOperator));  // still the same token
  T kind;
  WideString value;
  int32_t position;
  tokenizer.ReadToken(kind, value, position);
  EXPECT_EQ(kind, T::NameTest);
  EXPECT_EQ(value, u"a");
  EXPECT_TRUE(tokenizer.NextTokenIs(T::PlusOperator));
  tokenizer.Reset();
  tokenizer.ReadToken(kind, value, position);
  EXPECT_EQ(value, u"a");
}

TEST(XPathTokenizerTest, ReadsAndPeeksCharacters) {
  TDomXPathTokenizer tokenizer(u"x :: (", u"1.0");
  WideChar ch = 0;
  EXPECT_TRUE(tokenizer.PeekChar(ch));
  EXPECT_EQ(ch, u'x');
  EXPECT_TRUE(tokenizer.ReadChar(ch));
  EXPECT_TRUE(tokenizer.IsFollowedByDoubleColon());
  EXPECT_FALSE(tokenizer.IsFollowedByLeftParenthesis());
  for (int i = 0; i < 4; ++i) tokenizer.ReadChar(ch);
  EXPECT_TRUE(tokenizer.IsFollowedByLeftParenthesis());
  EXPECT_TRUE(tokenizer.ReadChar(ch));
  EXPECT_FALSE(tokenizer.ReadChar(ch));
}

TEST(XPathTokenizerTest, OnlyVersionOneIsSupported) {
  ExpectRaises<ENot_Supported_Err>([] { TDomXPathTokenizer tokenizer(u"a", u"2.0"); },
                                   "XPath version \"2.0\" not supproted.");
}

}  // namespace
