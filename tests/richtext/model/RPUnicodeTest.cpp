// Item text in its two stored forms, code-page conversions, byte order, HTML escaping
// and the text as drawn.
#include <gtest/gtest.h>

#include "platform/base/CodePages.h"
#include "platform/base/InputLanguage.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPUnicode.h"

namespace {

const AnsiString Abc = WideToRawUnicode(u"абв");  // 6 bytes

TEST(RPItemTextTest, LengthAndSubstrings) {
  EXPECT_EQ(GetItemTextLength(Abc, rpioUnicode), 3);
  EXPECT_EQ(GetItemTextLength(Abc, 0), 6);
  EXPECT_EQ(CopyItemText(Abc, 2, 1, rpioUnicode), Abc.substr(2, 2));  // bytes 3 and 4
  EXPECT_EQ(CopyItemText(Abc, 2, 9, rpioUnicode), Abc.substr(2));
  EXPECT_EQ(CopyItemText("hello", 2, 3, 0), "ell");
  EXPECT_EQ(CopyItemText("hello", 9, 3, 0), "");
  AnsiString text = Abc;
  DeleteItemText(text, 2, 1, rpioUnicode);
  EXPECT_EQ(text, WideToRawUnicode(u"ав"));
  InsertItemText(WideToRawUnicode(u"ё"), text, 2, rpioUnicode);
  EXPECT_EQ(text, WideToRawUnicode(u"аёв"));
  InsertItemText(WideToRawUnicode(u"!"), text, 4, rpioUnicode);  // length + 1 appends
  EXPECT_EQ(text, WideToRawUnicode(u"аёв!"));
  AnsiString plain = "ac";
  InsertItemText("b", plain, 2, 0);
  EXPECT_EQ(plain, "abc");
}

TEST(RPItemTextTest, SpaceTest) {
  const AnsiString raw = WideToRawUnicode(u"a \u2020");  // U+2020's low byte is a space
  EXPECT_TRUE(IsItemTextSpaceAt(raw, 2, rpioUnicode));
  EXPECT_FALSE(IsItemTextSpaceAt(raw, 3, rpioUnicode));
  EXPECT_FALSE(IsItemTextSpaceAt(raw, 4, rpioUnicode));
  EXPECT_TRUE(IsItemTextSpaceAt("a b", 2, 0));
}

TEST(RPItemTextTest, OddUnicodeLengthRaises) {
  try {
    RawUnicodeToWide("abc");
    FAIL();
  } catch (const ERichPaneError& e) {
    EXPECT_STREQ(e.what(), "Can't perform Unicode operation");
  }
  EXPECT_THROW(RawUnicodeToAnsi(1251, "abc"), ERichPaneError);
  EXPECT_THROW(CheckUnicodeByteLength(1), ERichPaneError);
  EXPECT_NO_THROW(CheckUnicodeByteLength(4));
}

TEST(RPConversionTest, CodePages) {
  EXPECT_EQ(AnsiToRawUnicode(1251, "\xC0\xE1"), WideToRawUnicode(u"Аб"));
  EXPECT_EQ(AnsiToRawUnicode(1252, "\xC0"), WideToRawUnicode(u"À"));
  EXPECT_EQ(AnsiToRawUnicode(1251, ""), "");
  // A code page the system lacks: the ANSI code page (1251).
  EXPECT_EQ(AnsiToRawUnicode(59999, "\xC0"), WideToRawUnicode(u"А"));
  // The Macintosh code page (2) converts as Mac Roman.
  EXPECT_EQ(AnsiToRawUnicode(2, "caf\x8E \xD5\xA5"), WideToRawUnicode(u"café ’•"));
  EXPECT_EQ(RawUnicodeToAnsi(2, WideToRawUnicode(u"é")), "\x8E");
  EXPECT_EQ(RawUnicodeToAnsi(1251, WideToRawUnicode(u"Яa€")),
            "\xDF"
            "a\x88");
  EXPECT_EQ(RawUnicodeToAnsi(1251, WideToRawUnicode(u"ä日")), "??");  // absent characters
  EXPECT_EQ(RawUnicodeToAnsi(59999, WideToRawUnicode(u"Я")), "\xDF");
  EXPECT_EQ(RawUnicodeToAnsi(1251, ""), "");
  EXPECT_EQ(CodePageTextToUtf8(1251, "\xDF"), "\xD0\xAF");
  EXPECT_FALSE(CanConvertRawUnicodeToCodePage(WideToRawUnicode(u"a"), 1252));
  EXPECT_EQ(RawUnicodeToWide(WideToRawUnicode(u"x\U0001F600")), u"x\U0001F600");
}

TEST(RPConversionTest, TheKeyboardFollowsTheInputLanguage) {
  // Without an input language set: the ANSI code page's language (1251, Russian).
  SetInputLanguage(0);
  EXPECT_EQ(GetKeyboardCodePage(), 1251u);
  EXPECT_EQ(GetKeyboardLanguageId(), 0x0419);
  EXPECT_EQ(KeyboardAnsiToRawUnicode("\xC0"), WideToRawUnicode(u"\u0410"));
  // Greek typed: 0xC1 is alpha in 1253.
  SetInputLanguage(0x0408);
  EXPECT_EQ(GetKeyboardCodePage(), 1253u);
  EXPECT_EQ(GetKeyboardLanguageId(), 0x0408);
  EXPECT_EQ(KeyboardAnsiToRawUnicode("\xC1"), WideToRawUnicode(u"\u0391"));
  // A language without an ANSI code page converts with the process's.
  SetInputLanguage(0x042B);
  EXPECT_EQ(GetKeyboardCodePage(), 0u);
  EXPECT_EQ(KeyboardAnsiToRawUnicode("\xC0"), WideToRawUnicode(u"\u0410"));
  // A language the locale table lacks: the ANSI code page; no identifier.
  SetInputLanguage(0x0455);
  EXPECT_EQ(GetKeyboardCodePage(), GetACP());
  EXPECT_EQ(GetKeyboardLanguageId(), 0);
  SetInputLanguage(0);
}

TEST(RPConversionTest, CharsetTables) {
  const std::pair<int32_t, uint32_t> codePages[] = {
      {0, 1252},   {77, 2},     {128, 932},  {129, 949},  {130, 1361}, {134, 936},  {136, 950},  {161, 1253},
      {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},  {238, 1250},
      {255, 1},    {1, 0},      {2, 0},      {99, 0},     {78, 10001}, {81, 10002}, {85, 10006}, {89, 10007}};
  for (auto [charset, codePage] : codePages) EXPECT_EQ(CharsetToCodePage(charset), codePage) << charset;
  const std::pair<int32_t, uint16_t> languages[] = {{0, 1033},   {128, 1041}, {129, 1042}, {130, 2066}, {134, 2052},
                                                    {136, 1028}, {161, 1032}, {162, 1055}, {163, 1066}, {177, 1037},
                                                    {204, 1049}, {222, 1054}, {1, 0},      {178, 0},    {186, 0},
                                                    {238, 1024}, {2, 1024}};
  for (auto [charset, language] : languages) EXPECT_EQ(CharsetToLanguageId(charset), language) << charset;
  EXPECT_EQ(MakeDefaultLocale(1049), 0x419u | 0x400u);
  EXPECT_EQ(MakeDefaultLocale(0x0819), 0x0C19u);
}

TEST(RPBufferTest, ByteOrderMarks) {
  WideString text = u"\uFEFFab";
  EXPECT_EQ(SkipByteOrderMark(text.data(), 3), text.data() + 1);
  // The swapped mark: the rest is swapped into the right order.
  WideString swapped{0xFFFE, 0x6100, 0x3004};
  WideChar* rest = SkipByteOrderMark(swapped.data(), 3);
  EXPECT_EQ(rest, swapped.data() + 1);
  EXPECT_EQ(WideString(rest, 2), u"a\u0430");
  WideString plain = u"ab";
  EXPECT_EQ(SkipByteOrderMark(plain.data(), 2), plain.data());
  WideString buffer = u"\u1234\u00FF";
  EXPECT_EQ(SwapByteOrder(buffer.data(), 2), buffer.data() + 2);
  EXPECT_EQ(buffer, u"\u3412\uFF00");
}

TEST(RPBufferTest, FindWideChar) {
  std::vector<WideChar> all(65536);
  for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<WideChar>(i);
  EXPECT_EQ(FindWideChar(all.data(), 0xFFFF, 65536), all.data() + 65535);  // the whole count
  EXPECT_EQ(FindWideChar(all.data(), 0xFFFF, 65535), nullptr);
  EXPECT_EQ(FindWideChar(all.data(), 0, 0), nullptr);
}

TEST(RPHtmlTest, Entities) {
  struct Case {
    WideStringView Text;
    bool Raw;
    const char* Expected;
  };
  const Case cases[] = {
      {u" a", false, "&nbsp;a"},      // the first space
      {u"a b", false, "a b"},         // a single inner space stays
      {u"a  b", false, "a &nbsp;b"},  // the second of two
      {u"a ", false, "a&nbsp;"},      // the last
      {u"<&>", false, "&lt;&amp;&gt;"}, {u"<&> ", true, "<&> "}, {u"\u00A0Я", false, "&nbsp;&#1071;"},
      {u"Я", true, "&#1071;"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RawUnicodeToHtmlEntities(WideToRawUnicode(c.Text), c.Raw), c.Expected) << c.Expected;
  EXPECT_EQ(HtmlEntityOfChar(u'x'), "");
}

TEST(RPHtmlTest, Utf8) {
  struct Case {
    WideStringView Text;
    bool Raw;
    const char* Expected;
  };
  const Case cases[] = {
      {u" Я", false, "&nbsp;\xD0\xAF"}, {u"Я  я", false, "\xD0\xAF &nbsp;\xD1\x8F"},
      {u"a b ", false, "a b&nbsp;"},    {u"a<b\u00A0", false, "a&lt;b&nbsp;"},
      {u"<Я> ", true, "<\xD0\xAF> "},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RawUnicodeToHtmlUtf8(WideToRawUnicode(c.Text), c.Raw), c.Expected) << c.Expected;
}

TEST(RPDisplayTextTest, SoftHyphensAndZeroWidthCharacters) {
  const AnsiString raw = WideToRawUnicode(u"ко\u00ADшка\u00AD");
  EXPECT_EQ(PrepareDisplayText(raw, rpioUnicode, false, false, false, false), WideToRawUnicode(u"ко\u200Bшка\u200B"));
  // At a line end the last soft hyphen stays, to be drawn as a hyphen.
  EXPECT_EQ(PrepareDisplayText(raw, rpioUnicode, false, true, false, false), WideToRawUnicode(u"ко\u200Bшка\u00AD"));
  EXPECT_EQ(PrepareDisplayText(raw, rpioUnicode, false, true, true, false), WideToRawUnicode(u"кошка\u00AD"));
  EXPECT_EQ(PrepareDisplayText(raw, rpioUnicode, false, false, true, false), WideToRawUnicode(u"кошка"));
  EXPECT_EQ(PrepareDisplayText(raw, rpioUnicode, false, true, false, true), WideToRawUnicode(u"ко\u00ACшка\u00AC"));
  EXPECT_EQ(PrepareDisplayText(WideToRawUnicode(u"a\u200Db\u2060c\u200B"), rpioUnicode, false, false, true, false),
            WideToRawUnicode(u"abc"));
  EXPECT_EQ(PrepareDisplayText("a\xAD", 0, false, false, true, false), "a\xAD");  // 8-bit text as it is
}

TEST(RPDisplayTextTest, AllCaps) {
  EXPECT_EQ(PrepareDisplayText(WideToRawUnicode(u"ёж ß"), rpioUnicode, true, false, false, false),
            WideToRawUnicode(u"ЁЖ ß"));
  EXPECT_EQ(PrepareDisplayText("\xB8\xE6", 0, true, false, false, false), "\xA8\xC6");  // 1251
}

}  // namespace
