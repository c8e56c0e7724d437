#include "richtext/model/RPStringHelpers.h"

#include <gtest/gtest.h>

namespace {

TEST(RPStringHelpersTest, Tabs) {
  EXPECT_EQ(ReplaceTabsWithSpaces("a\tb\t", 2), "a  b  ");
  EXPECT_EQ(ReplaceTabsWithSpaces("a\tb", 0), "ab");
  EXPECT_EQ(ReplaceTabsWithSpacesW(AnsiString("a\0\t\0", 4), 2), AnsiString("a\0 \0 \0", 6));
  // A tab byte that is the high byte of a unit is no tab.
  EXPECT_EQ(ReplaceTabsWithSpacesW(AnsiString("\0\t", 2), 2), AnsiString("\0\t", 2));
}

TEST(RPStringHelpersTest, Replacing) {
  EXPECT_EQ(ReplaceAllForward("a&b&", "&", "&amp;"), "a&amp;b&amp;");  // one pass, one entity each
  EXPECT_EQ(ReplaceAllRepeated("a    b", "  ", " "), "a b");           // from the start again
  EXPECT_EQ(ReplaceAllRepeated("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceZeroChars(AnsiString("a\0b", 3)), "a?b");
  TRPByteSet quotes;
  quotes.set('"');
  quotes.set('\\');
  EXPECT_EQ(ReplaceCharsInSet("a\"b\\", '_', quotes), "a_b_");
  EXPECT_EQ(PrefixCharsInSet("a\"b\\", '\\', quotes), "a\\\"b\\\\");
}

TEST(RPStringHelpersTest, FindByteAndAppend) {
  EXPECT_EQ(FindByteInBuffer("abcabc", 'c', 6), 3);
  EXPECT_EQ(FindByteInBuffer("abcabc", 'c', 2), 0);
  EXPECT_EQ(FindByteInBuffer(nullptr, 'c', 2), 0);
  EXPECT_EQ(AppendWithSeparator("", "b", ", "), "b");
  EXPECT_EQ(AppendWithSeparator("a", "", ", "), "a");
  EXPECT_EQ(AppendWithSeparator("a", "b", ", "), "a, b");
  EXPECT_EQ(AppendWithSpace("a", "b"), "a b");
}

TEST(RPStringHelpersTest, PercentEscapes) {
  const struct {
    const char* In;
    const char* Out;
  } cases[] = {{"a%20b", "a b"}, {"%4a%4A", "JJ"}, {"100%", "100%"}, {"%4", "%4"}, {"%zz", "%zz"}, {"%%41", "%A"}};
  for (const auto& c : cases) EXPECT_EQ(DecodePercentEscapes(c.In), c.Out) << c.In;
}

TEST(RPStringHelpersTest, UrlsAndAddresses) {
  const struct {
    const char* Text;
    bool Url;
  } cases[] = {{"www.", false}, {"WWW.x", true},  {"http://", false},     {"https://a", true},   {"mailto:me", true},
               {"ftp.b", true}, {"news:c", true}, {"example.com", false}, {"file:///tmp", true}, {"telnet:h", true}};
  for (const auto& c : cases) EXPECT_EQ(LooksLikeUrl(c.Text), c.Url) << c.Text;
  SetLooksLikeUrlHook([](const AnsiString& text) { return text == "example.com"; });
  EXPECT_TRUE(LooksLikeUrl("example.com"));
  SetLooksLikeUrlHook(nullptr);
  EXPECT_TRUE(LooksLikeEmailAddress("me@host.org"));
  EXPECT_FALSE(LooksLikeEmailAddress("first.last@host"));
  EXPECT_FALSE(LooksLikeEmailAddress("host.org"));
}

}  // namespace
