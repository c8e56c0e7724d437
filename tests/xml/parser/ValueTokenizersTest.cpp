#include <gtest/gtest.h>

#include "xml/parser/XmlAttrValueTokenizer.h"
#include "xml/parser/XmlElementCMTokenizer.h"

namespace {

struct TCMToken {
  TXmlElementCMTokenType Type;
  WideString Value;
  TXmlErrorKind Error = 0;
  bool operator==(const TCMToken&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TCMToken& t) {
  return out << "{" << int(t.Type) << ", " << std::string(t.Value.begin(), t.Value.end()) << ", " << int(t.Error)
             << "}";
}

std::vector<TCMToken> CMTokens(WideStringView contentSpec) {
  TXmlElementCMTokenizer tokenizer(contentSpec);
  EXPECT_EQ(tokenizer.TokenType(), cmStart);
  std::vector<TCMToken> tokens;
  do {
    tokenizer.NextToken();
    tokens.push_back({tokenizer.TokenType(), tokenizer.TokenValue(), tokenizer.ErrorKind()});
  } while (tokenizer.TokenType() != cmEnd && tokens.size() < 50);
  tokenizer.NextToken();  // nothing moves after the end
  EXPECT_EQ(tokenizer.TokenType(), cmEnd);
  return tokens;
}

TEST(XmlElementCMTokenizerTest, SplitsContentModels) {
  EXPECT_EQ(CMTokens(u"EMPTY"), (std::vector<TCMToken>{{cmEmpty, u"EMPTY"}, {cmEnd, u""}}));
  EXPECT_EQ(CMTokens(u" ANY "), (std::vector<TCMToken>{{cmAny, u"ANY"}, {cmEnd, u""}}));
  EXPECT_EQ(
      CMTokens(u"(EMPTY)"),
      (std::vector<TCMToken>{{cmOpeningBracket, u"("}, {cmName, u"EMPTY"}, {cmClosingBracket, u")"}, {cmEnd, u""}}));
  EXPECT_EQ(CMTokens(u"(#PCDATA|em)*"), (std::vector<TCMToken>{{cmOpeningBracket, u"("},
                                                               {cmPCDATA, u"#PCDATA"},
                                                               {cmSeparator, u"|"},
                                                               {cmName, u"em"},
                                                               {cmClosingBracket, u")"},
                                                               {cmOccurrence, u"*"},
                                                               {cmEnd, u""}}));
  EXPECT_EQ(CMTokens(u"(a ,\n\tb)?"), (std::vector<TCMToken>{{cmOpeningBracket, u"("},
                                                             {cmName, u"a"},
                                                             {cmSeparator, u","},
                                                             {cmName, u"b"},
                                                             {cmClosingBracket, u")"},
                                                             {cmOccurrence, u"?"},
                                                             {cmEnd, u""}}));
  EXPECT_EQ(
      CMTokens(u"(fb:p+)"),
      (std::vector<TCMToken>{
          {cmOpeningBracket, u"("}, {cmName, u"fb:p"}, {cmOccurrence, u"+"}, {cmClosingBracket, u")"}, {cmEnd, u""}}));
  EXPECT_EQ(CMTokens(u"EMPTYISH"), (std::vector<TCMToken>{{cmName, u"EMPTYISH"}, {cmEnd, u""}}));
}

TEST(XmlElementCMTokenizerTest, ReportsMalformedTokens) {
  EXPECT_EQ(CMTokens(u"#PCDAT"), (std::vector<TCMToken>{{cmPCDATA, u"#PCDAT", 109}, {cmEnd, u""}}));
  EXPECT_EQ(CMTokens(u"#PCDATE"), (std::vector<TCMToken>{{cmPCDATA, u"#PCDATE", 109}, {cmEnd, u""}}));
  EXPECT_EQ(CMTokens(u"(1)"),
            (std::vector<TCMToken>{
                {cmOpeningBracket, u"("}, {cmInvalid, u"1", 109}, {cmClosingBracket, u")"}, {cmEnd, u""}}));
  TXmlElementCMTokenizer hint(u"#P");
  hint.NextToken();
  EXPECT_EQ(hint.ErrorHint(), u"#PCDATA");
  // Text the codec cannot read: a lone surrogate.
  TXmlElementCMTokenizer broken(u"(a\xDC00)");
  std::vector<int> errors;
  for (int i = 0; i < 5; ++i) {
    broken.NextToken();
    errors.push_back(broken.ErrorKind());
  }
  // The codec meets the surrogate as the look-ahead of "a".
  EXPECT_EQ(errors[1], 59);
  EXPECT_EQ(broken.TokenType(), cmEnd);
}

struct TAVToken {
  TXmlAttrValueTokenType Type;
  WideString Value;
  TXmlErrorKind Error = 0;
  bool operator==(const TAVToken&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TAVToken& t) {
  return out << "{" << int(t.Type) << ", " << std::string(t.Value.begin(), t.Value.end()) << ", " << int(t.Error)
             << "}";
}

std::vector<TAVToken> AVTokens(WideStringView value) {
  TXmlAttrValueTokenizer tokenizer(value);
  EXPECT_EQ(tokenizer.TokenType(), avStart);
  std::vector<TAVToken> tokens;
  do {
    tokenizer.NextToken();
    tokens.push_back({tokenizer.TokenType(), tokenizer.TokenValue(), tokenizer.ErrorKind()});
  } while (tokenizer.TokenType() != avEnd && tokens.size() < 50);
  return tokens;
}

TEST(XmlAttrValueTokenizerTest, SplitsCharactersAndReferences) {
  EXPECT_EQ(AVTokens(u"a&amp;b&#x41;"),
            (std::vector<TAVToken>{
                {avChar, u"a"}, {avEntityRef, u"amp"}, {avChar, u"b"}, {avCharRef, u"x41"}, {avEnd, u""}}));
  EXPECT_EQ(AVTokens(u"x&amp"), (std::vector<TAVToken>{{avChar, u"x"}, {avEntityRef, u"amp", 96}, {avEnd, u""}}));
  EXPECT_EQ(AVTokens(u"&#65"), (std::vector<TAVToken>{{avCharRef, u"65", 92}, {avEnd, u""}}));
  EXPECT_EQ(AVTokens(u"&;"), (std::vector<TAVToken>{{avEntityRef, u""}, {avEnd, u""}}));
  // Line ends arrive normalised; other white space and characters beyond the BMP pass.
  EXPECT_EQ(AVTokens(u"\r\n\t\xD83D\xDE00"),
            (std::vector<TAVToken>{{avChar, u"\n"}, {avChar, u"\t"}, {avChar, u"\xD83D\xDE00"}, {avEnd, u""}}));
  EXPECT_EQ(AVTokens(u""), (std::vector<TAVToken>{{avEnd, u""}}));
}

}  // namespace
