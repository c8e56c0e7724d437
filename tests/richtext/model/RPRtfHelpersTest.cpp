#include "richtext/model/RPRtfHelpers.h"

#include <gtest/gtest.h>

#include "platform/base/Streams.h"
#include "richtext/model/RPUnicode.h"

namespace {

AnsiString RtfOf(WideStringView text, bool raw, bool withFallback, uint32_t codePage = 1251) {
  TMemoryStream stream;
  WriteRtfUnicodeText(stream, WideToRawUnicode(text), codePage, raw, withFallback);
  return AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

TEST(RPRtfHelpersTest, EscapingAndEncoding) {
  EXPECT_EQ(RtfEncodeSpecialChars("\xE9", false), "\\'e9");
  EXPECT_EQ(RtfEncodeSpecialChars("a\x95\xA0\n", true), "a\\bullet \\~\\'0a");
  EXPECT_EQ(RtfEncodeSpecialChars("\x95", false), "\\'95");
  EXPECT_EQ(RtfEscapeText("{a\\b}", false, false), "\\{a\\\\b\\}");
  EXPECT_EQ(RtfEscapeText("{a}", true, false), "{a}");
  // A brace stays balanced: one backslash, never two.
  EXPECT_EQ(RtfEscapeFieldArgument("a\\b{}"), "a\\\\\\\\b\\{\\}");
  EXPECT_EQ(RtfEscapeFieldArgument("say \"hi\"\xE9"), "say \\\\\"hi\\\\\"\\'e9");
  EXPECT_EQ(RtfSanitizeName("Head{1}\\"), "Head_1__");
  EXPECT_EQ(MakeRtfBookmarkName("Chapter 1: \xC0!"), "Chapter_1__\\'c0_");  // 0xC0 is a letter of 1251
}

TEST(RPRtfHelpersTest, UnicodeTextWithFallback) {
  // U+0416 in Windows-1251 is 0xC6.
  EXPECT_EQ(RtfOf(u"\u0416", false, true), "\\u1046 \\'c6");
  EXPECT_EQ(RtfOf(u"\u0416", false, false), "\\u1046 ");
  EXPECT_EQ(RtfOf(u"a{\u2014\u00A0", false, false), "a\\{\\emdash \\~");
  EXPECT_EQ(RtfOf(u"\u2014", true, false), "\\u8212 ");   // raw: no keywords
  EXPECT_EQ(RtfOf(u"\uFF01", false, false), "\\u-255 ");  // above U+7FFF: negative
  // A character the code page lacks falls back to "?".
  EXPECT_EQ(RtfOf(u"\u4E00", false, true), "\\u19968 ?");
  // Double-byte fallbacks: every byte outside printable ASCII, and a trail byte that is a
  // backslash or a brace, as "\'hh", so that each counts as one character of \uc.
  EXPECT_EQ(RtfOf(u"\u30BDso\u30DC\u30DE", false, true, 932),
            "\\uc2\\u12477 \\'83\\'5c\\uc1 so\\uc2\\u12508 \\'83\\'7b\\uc1 \\uc2\\u12510 \\'83\\'7d\\uc1 ");
  EXPECT_EQ(RtfOf(u"\u30A2", false, true, 932), "\\uc2\\u12450 \\'83A\\uc1 ");  // a printable trail byte
}

}  // namespace
