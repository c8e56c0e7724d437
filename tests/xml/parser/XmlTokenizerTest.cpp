#include <gtest/gtest.h>

#include "platform/base/Streams.h"
#include "xml/XmlTestSupport.h"
#include "xml/parser/XmlDoctypeDeclTokenizer.h"
#include "xml/parser/XmlTokenizer.h"

namespace {

struct TToken {
  int Type;
  std::string Value;
  int Error = 0;
  std::string Hint = "";
  bool operator==(const TToken&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TToken& t) {
  return os << "{" << t.Type << ", \"" << t.Value << "\", " << t.Error << ", \"" << t.Hint << "\"}";
}

// Every token of a document up to (not including) the end.
std::vector<TToken> DocTokens(const std::string& text, const TXmlLimits& limits = {}) {
  TStringStream stream(text);
  TXmlSimpleInputSource source(&stream, {}, nullptr, 1024, u"doc", u"");
  TXmlDocTokenizer tokenizer(&source);
  tokenizer.SetLimits(limits);
  std::vector<TToken> tokens;
  for (tokenizer.NextToken(); tokenizer.TokenType() != tkEndOfSource; tokenizer.NextToken())
    tokens.push_back(
        {tokenizer.TokenType(), Narrow(tokenizer.TokenValue()), tokenizer.ErrorKind(), Narrow(tokenizer.ErrorHint())});
  return tokens;
}

TEST(XmlDocTokenizerTest, CutsDocumentsIntoTokens) {
  const struct {
    const char* Text;
    std::vector<TToken> Tokens;
  } cases[] = {
      {"a&amp;b", {{tkText, "a"}, {tkEntityRef, "amp"}, {tkText, "b"}}},
      {"&#65;&#x1F600;", {{tkDecimalCharRef, "65"}, {tkHexCharRef, "1F600"}}},
      // An upper-case X does not mark a hexadecimal reference.
      {"&#X41;", {{tkDecimalCharRef, "", 92, ";"}, {tkText, "X41;"}}},
      {"&#12", {{tkDecimalCharRef, "12", 92, ";"}}},
      {"&1;", {{tkEntityRef, "", 76}, {tkText, "1;"}}},
      {"&ab", {{tkEntityRef, "ab", 96, ";"}}},
      {"<!---->", {{tkComment, ""}}},
      {"<!-- a - b -->", {{tkComment, " a - b "}}},
      {"<!-- a -- b -->", {{tkComment, " a ", 51, ">"}, {tkText, " b -->"}}},
      {"<!-- a", {{tkComment, " a", 93, "-->"}}},
      {"<!-x", {{tkComment, "", 47, "<!--"}, {tkText, "x"}}},
      {"<!x", {{tkComment, "", 47, "<!--"}, {tkText, "x"}}},
      {"<![CDATA[x]]]>", {{tkCDATASection, "x]"}}},
      {"<![CDATA[<a>&]]>", {{tkCDATASection, "<a>&"}}},
      {"<![CDATA[x]]", {{tkCDATASection, "x]]", 91, "]]>"}}},
      {"<![CDAT", {{tkCDATASection, "", 46, "<![CDATA["}}},
      {"<!CDATA", {{tkCDATASection, "", 46, "<![CDATA["}, {tkText, "CDATA"}}},
      {"<!doctype", {{tkDoctypeDecl, "", 48, "<!DOCTYPE"}, {tkText, "doctype"}}},
      {"<a b=\"1>2\"/>", {{tkEmptyElementTag, "a b=\"1>2\""}}},
      {"<a b='/'>", {{tkStartTag, "a b='/'"}}},
      {"<a/ >", {{tkEmptyElementTag, "a", 95, ">"}, {tkText, " >"}}},
      {"<a b='x", {{tkStartTag, "a b='x", 95, "'>"}}},
      {"<a b=\"x", {{tkStartTag, "a b=\"x", 95, "\">"}}},
      {"<a b", {{tkStartTag, "a b", 95, ">"}}},
      {"</a >", {{tkEndTag, "a"}}},
      {"</a b>", {{tkEndTag, "a", 95, ">"}, {tkText, "b>"}}},
      {"<?pi   some data ?>", {{tkProcessingInstruction, "pi   some data "}}},
      {"<?pi ?", {{tkProcessingInstruction, "pi ?", 97, "?"}}},
      {"<>", {{tkStartTag, "", 74}}},
      {"x<", {{tkText, "x"}, {tkStartTag, "", 74}}},
      {"a\r\nb\rc", {{tkText, "a\nb\nc"}}},
      {"<!DOCTYPE a [<!ENTITY e \"]>\"> <!-- > --> <?p ]> ?>]>x",
       {{tkDoctypeDecl, " a [<!ENTITY e \"]>\"> <!-- > --> <?p ]> ?>]"}, {tkText, "x"}}},
      {"<!DOCTYPE a SYSTEM 'x>'>", {{tkDoctypeDecl, " a SYSTEM 'x>'"}}},
      {"<!DOCTYPE a [", {{tkDoctypeDecl, " a [", 94, "]>"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(DocTokens(c.Text), c.Tokens);
  }
}

TEST(XmlDocTokenizerTest, StaysAtTheEndAndStartsAtTheEndWithoutSource) {
  TStringStream stream("x");
  TXmlSimpleInputSource source(&stream, {}, nullptr, 1024, u"", u"");
  TXmlDocTokenizer tokenizer(&source);
  EXPECT_EQ(tokenizer.TokenType(), tkStartOfSource);
  tokenizer.NextToken();
  tokenizer.NextToken();
  EXPECT_EQ(tokenizer.TokenType(), tkEndOfSource);
  tokenizer.NextToken();
  EXPECT_EQ(tokenizer.TokenType(), tkEndOfSource);
  EXPECT_EQ(TXmlDocTokenizer(nullptr).TokenType(), tkEndOfSource);
}

TEST(XmlDocTokenizerTest, TokensKnowWhereTheyLie) {
  // Line 1: "<a>" ; line 2: two tabs, then "<b x='1'/>" in a two-byte letter.
  TStringStream stream("<a>\n\t\t\xC3\xA9<b x='1'/>");
  TXmlSimpleInputSource source(&stream, {}, nullptr, 1024, u"book.fb2", u"");
  TXmlDocTokenizer tokenizer(&source);
  tokenizer.NextToken();  // <a>
  EXPECT_EQ(tokenizer.StartLine(), 1);
  EXPECT_EQ(tokenizer.StartColumn(), 2);  // the first character of the name
  tokenizer.NextToken();                  // the text "\n\t\té"
  EXPECT_EQ(tokenizer.StartByte(), 3);
  EXPECT_EQ(tokenizer.EndLine(), 2);
  EXPECT_EQ(tokenizer.EndColumn(), 3);
  EXPECT_EQ(tokenizer.EndTabs(), 2);
  EXPECT_EQ(tokenizer.EndByte(), 8);  // through the end of the two-byte letter
  tokenizer.NextToken();              // <b x='1'/>
  EXPECT_EQ(tokenizer.StartByte(), 9);
  EXPECT_EQ(tokenizer.StartChar(), 9);
  EXPECT_EQ(tokenizer.EntityUri(), u"book.fb2");
  EXPECT_EQ(tokenizer.TargetNode(), nullptr);
}

TEST(XmlDocTokenizerTest, UndecodableBytesEndTheTokenWithError59) {
  const auto tokens = DocTokens("ab\xFF\xFEz");
  ASSERT_FALSE(tokens.empty());
  EXPECT_EQ(tokens[0].Error, 59);
  EXPECT_EQ(tokens[0].Value, "a");  // reading "b" meant decoding its look-ahead
}

TEST(XmlDocTokenizerTest, ATokenLongerThanTheLimitEndsWithTheLimitsName) {
  TXmlLimits limits;
  limits.MaxTokenChars = 4;
  EXPECT_EQ(DocTokens("<!--1234-->", limits)[0], (TToken{tkComment, "1234"}));
  const auto tokens = DocTokens("<!--12345-->", limits);
  EXPECT_EQ(tokens[0], (TToken{tkComment, "1234", 146, "MaxTokenChars"}));
}

// ---- document type declaration tokenizer ----

std::vector<TToken> DoctypeTokens(const std::string& text) {
  TXmlDoctypeDeclTokenizer tokenizer(WideString(text.begin(), text.end()), 1, 0, 9, 9, 9, u"doc");
  std::vector<TToken> tokens;
  for (tokenizer.NextToken(); tokenizer.TokenType() != dtkEnd; tokenizer.NextToken()) {
    tokens.push_back(
        {tokenizer.TokenType(), Narrow(tokenizer.TokenValue()), tokenizer.ErrorKind(), Narrow(tokenizer.ErrorHint())});
    if (tokenizer.ErrorKind()) break;
  }
  return tokens;
}

TEST(XmlDoctypeDeclTokenizerTest, TakesDeclarationsApart) {
  const struct {
    const char* Text;
    std::vector<TToken> Tokens;
  } cases[] = {
      {" html", {{dtkName, "html"}}},
      {" doc SYSTEM \"doc.dtd\" [ <!ENTITY e \"x\"> ]",
       {{dtkName, "doc"}, {dtkSystemId, "doc.dtd"}, {dtkInternalSubset, " <!ENTITY e \"x\"> "}}},
      {" doc PUBLIC \"-//X//Y\" 'y.dtd'", {{dtkName, "doc"}, {dtkPublicId, "-//X//Y"}, {dtkSystemId, "y.dtd"}}},
      {" doc PUBLIC \"-//X//Y\"", {{dtkName, "doc"}, {dtkPublicId, "-//X//Y"}, {dtkSystemId, "", 80, " "}}},
      {"html", {{dtkName, "", 80, " "}}},
      {" d[<!-- ] -->\"]\"]", {{dtkName, "d"}, {dtkInternalSubset, "<!-- ] -->\"]\""}}},
      {" d[<?p ]?>]", {{dtkName, "d"}, {dtkInternalSubset, "<?p ]?>"}}},
      {" doc [ ] x", {{dtkName, "doc"}, {dtkInternalSubset, " "}, {dtkInternalSubset, "", 94}}},
      {" doc [ <!-- a -- b --> ]", {{dtkName, "doc"}, {dtkInternalSubset, " <!-- a --", 93, "-->"}}},
      {" doc [ x", {{dtkName, "doc"}, {dtkInternalSubset, " x", 88, "]"}}},
      {" doc PUBLIK", {{dtkName, "doc"}, {dtkName, "", 84, "PUBLIC"}}},
      {" doc X", {{dtkName, "doc"}, {dtkName, "", 90, "SYSTEM"}}},
      {" doc SYSTEM x", {{dtkName, "doc"}, {dtkSystemId, "", 85, "\""}}},
      {" doc SYSTEM 'x", {{dtkName, "doc"}, {dtkSystemId, "x", 85, "'"}}},
      {" doc SYSTEM 'x' y", {{dtkName, "doc"}, {dtkSystemId, "x"}, {dtkSystemId, "", 72, "["}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(DoctypeTokens(c.Text), c.Tokens);
  }
}

TEST(XmlDoctypeDeclTokenizerTest, CharactersKeepTheirDocumentPositions) {
  // The text starts after "<!DOCTYPE" on line 3, whose "E" stood at column 9.
  TXmlDoctypeDeclTokenizer tokenizer(u" doc", 3, 0, 9, 40, 50, u"doc");
  tokenizer.NextToken();
  EXPECT_EQ(tokenizer.StartLine(), 3);
  EXPECT_EQ(tokenizer.StartColumn(), 11);
  EXPECT_EQ(tokenizer.StartChar(), 42);
  EXPECT_EQ(tokenizer.EndColumn(), 13);
  // A text that starts with a line feed: the column before it is -1 on the line above.
  TXmlDoctypeDeclTokenizer nextLine(u"\ndoc", 4, 0, -1, 40, 50, u"doc");
  nextLine.NextToken();
  EXPECT_EQ(nextLine.StartLine(), 4);
  EXPECT_EQ(nextLine.StartColumn(), 1);
}

}  // namespace
