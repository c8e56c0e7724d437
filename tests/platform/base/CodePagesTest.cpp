#include <iconv.h>
#include <cerrno>

#include <gtest/gtest.h>

#include "platform/base/CodePages.h"
#include "platform/base/LastError.h"

namespace {

// The character iconv gives for one byte of a charset, or -1 when iconv rejects it.
int32_t IconvDecodeByte(const char* charset, uint8_t byte) {
  iconv_t cd = iconv_open("UTF-16LE", charset);
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << charset;
  char in[1] = {static_cast<char>(byte)};
  char out[8] = {};
  char* inAt = in;
  char* outAt = out;
  size_t inLeft = 1, outLeft = sizeof out;
  const size_t result = iconv(cd, &inAt, &inLeft, &outAt, &outLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1) || sizeof out - outLeft != 2) return -1;
  return static_cast<uint8_t>(out[0]) | (static_cast<uint8_t>(out[1]) << 8);
}

}  // namespace

TEST(CodePages, DefaultsAreWindows1251AndDos866) {
  EXPECT_EQ(GetACP(), 1251u);
  EXPECT_EQ(GetOEMCP(), 866u);
}

TEST(CodePages, EveryByteDecodesAsIconvDecodesItAndEncodesBack) {
  const struct {
    uint32_t CodePage;
    const char* Charset;
  } pages[] = {{CP_ACP, "CP1251"}, {CP_OEMCP, "CP866"},   {1251, "CP1251"}, {866, "CP866"},
               {1252, "CP1252"},   {28595, "ISO-8859-5"}, {20866, "KOI8-R"}};
  for (const auto& page : pages) {
    for (int byte = 0; byte < 256; ++byte) {
      SCOPED_TRACE(std::string(page.Charset) + " byte " + std::to_string(byte));
      const AnsiString text(1, static_cast<char>(byte));
      const WideString wide = AnsiToWide(text, page.CodePage);
      const int32_t expected = IconvDecodeByte(page.Charset, static_cast<uint8_t>(byte));
      ASSERT_EQ(wide.size(), 1u);
      if (expected < 0) {
        EXPECT_EQ(wide[0], u'\xFFFD');  // a byte the code page does not define
        continue;
      }
      EXPECT_EQ(wide[0], static_cast<char16_t>(expected));
      bool usedDefault = true;
      EXPECT_EQ(WideToAnsi(wide, page.CodePage, &usedDefault), text);
      EXPECT_FALSE(usedDefault);
    }
  }
}

TEST(CodePages, UnmappableCharactersBecomeTheDefaultCharacter) {
  bool usedDefault = false;
  // "Жé€😀" in 866: Ж maps, é, € and the emoji (a surrogate pair: one character) do not.
  EXPECT_EQ(WideToAnsi(u"\x0416\x00E9\x20AC\xD83D\xDE00", CP_OEMCP, &usedDefault), "\x86???");
  EXPECT_TRUE(usedDefault);
  EXPECT_EQ(WideToAnsi(u"a\xD800"
                       u"b",
                       1251),
            "a?b");  // a lone surrogate
  const WideChar source[] = u"\x00E9x";
  char buffer[4] = {};
  EXPECT_EQ(WideCharToMultiByte(1251, 0, source, 2, buffer, 4, "#", &usedDefault), 2);
  EXPECT_EQ(std::string(buffer, 2), "#x");
  EXPECT_EQ(WideCharToMultiByte(1251, WC_ERR_INVALID_CHARS, source, 2, buffer, 4, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
}

TEST(CodePages, BuffersFollowTheWindowsRules) {
  const char text[] = "\xCF\xF0\xE8\xE2\xE5\xF2";  // "Привет" in 1251
  // -1 counts the terminator; a count of 0 asks for the length needed.
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), 7);
  WideChar wide[7];
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 7), 7);
  EXPECT_EQ(WideString(wide), u"\x041F\x0440\x0438\x0432\x0435\x0442");
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, 6, wide, 5), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, 0, wide, 7), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  char back[7];
  EXPECT_EQ(WideCharToMultiByte(CP_THREAD_ACP, 0, wide, -1, back, 7, nullptr, nullptr), 7);
  EXPECT_STREQ(back, text);
}

// The Macintosh code page converts as Mac Roman.
TEST(CodePages, TheMacintoshCodePageIsMacRoman) {
  EXPECT_TRUE(IsValidCodePage(CP_MACCP));
  WideChar wide[2];
  EXPECT_EQ(MultiByteToWideChar(CP_MACCP, 0, "\x8E\xD5", 2, wide, 2), 2);
  EXPECT_EQ(WideString(wide, 2), u"\u00E9\u2019");
}

TEST(CodePages, CodePagesIconvLacksAreInvalid) {
  for (uint32_t codePage : {5u, 42u, 1200u, 65000u, 99999u}) {
    SCOPED_TRACE(codePage);
    EXPECT_FALSE(IsValidCodePage(codePage));
    WideChar wide[4];
    EXPECT_EQ(MultiByteToWideChar(codePage, 0, "abc", 3, wide, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    char bytes[4];
    EXPECT_EQ(WideCharToMultiByte(codePage, 0, u"abc", 3, bytes, 4, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(SetAnsiCodePage(codePage));
  }
  EXPECT_EQ(GetACP(), 1251u);
  EXPECT_TRUE(IsValidCodePage(CP_UTF8));
  EXPECT_TRUE(IsValidCodePage(932));
}

TEST(CodePages, TheAnsiCodePageIsSettable) {
  ASSERT_TRUE(SetAnsiCodePage(1252));
  EXPECT_EQ(AnsiToWide("\xE9"), u"\x00E9");
  ASSERT_TRUE(SetAnsiCodePage(1251));
  EXPECT_EQ(AnsiToWide("\xE9"), u"\x0439");
  ASSERT_TRUE(SetOemCodePage(437));
  EXPECT_EQ(AnsiToWide("\x82", CP_OEMCP), u"\x00E9");
  ASSERT_TRUE(SetOemCodePage(866));
}

TEST(CodePages, MultiByteCodePagesConvertWholeCharacters) {
  // "日本" in Shift-JIS (932); a lead byte at the end is incomplete.
  EXPECT_EQ(AnsiToWide("\x93\xFA\x96\x7B", 932), u"\x65E5\x672C");
  EXPECT_EQ(WideToAnsi(u"\x65E5\x672C", 932), "\x93\xFA\x96\x7B");
  EXPECT_EQ(AnsiToWide("a\x93", 932), u"a\xFFFD");
  // ISO-2022-JP switches modes with escape sequences: the result outgrows the input.
  WideString alternating;
  for (int i = 0; i < 1000; ++i) alternating += i % 2 == 0 ? u'a' : u'\x3042';
  const AnsiString encoded = WideToAnsi(alternating, 50220);
  EXPECT_GT(encoded.size(), 4 * alternating.size());
  EXPECT_EQ(AnsiToWide(encoded, 50220), alternating);
}

TEST(CodePages, Utf8IsStrictAndReplacesMalformedInput) {
  const struct {
    AnsiString Bytes;
    WideString Wide;
  } cases[] = {
      {"A\xC3\xA9", u"A\x00E9"},
      {"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
      {"\xC3", u"\xFFFD"},                                // truncated
      {"\xC0\xAF", u"\xFFFD\xFFFD"},                      // overlong: two bad bytes
      {"\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},            // an encoded surrogate
      {"\xE2\x82x", u"\xFFFDx"},                          // one maximal ill-formed prefix
      {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},  // above U+10FFFF
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Bytes);
    EXPECT_EQ(AnsiToWide(c.Bytes, CP_UTF8), c.Wide);
  }
  EXPECT_EQ(WideToAnsi(u"\x00E9\xD83D\xDE00", CP_UTF8), "\xC3\xA9\xF0\x9F\x98\x80");
  EXPECT_EQ(WideToAnsi(u"x\xDC00", CP_UTF8), "x\xEF\xBF\xBD");
  WideChar wide[4];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC3", 1, wide, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
  bool usedDefault = false;
  char bytes[4];
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, bytes, 4, nullptr, &usedDefault), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(CodePages, ArbitraryInputNeverBreaksAConversion) {
  // Pseudo-random bytes and UTF-16 units (lone surrogates included) through single-byte,
  // double-byte and stateful code pages: every run ends, and what decodes encodes back.
  uint32_t state = 2024;
  const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
  for (uint32_t codePage : {1251u, 866u, 932u, 936u, 949u, 950u, 54936u, 50220u, CP_UTF8}) {
    SCOPED_TRACE(codePage);
    for (int run = 0; run < 200; ++run) {
      AnsiString bytes;
      WideString units;
      for (int i = 0; i < 1 + run % 40; ++i) {
        bytes += static_cast<char>(next() >> 24);
        // Mostly kana, Cyrillic and ASCII, which switch the stateful code page's modes.
        const uint32_t pick = next() >> 16;
        units += static_cast<WideChar>(pick % 4 == 0   ? 0x3041 + pick % 80
                                       : pick % 4 == 1 ? 0x0410 + pick % 32
                                       : pick % 4 == 2 ? 0x20 + pick % 90
                                                       : pick);
      }
      const WideString decoded = AnsiToWide(bytes, codePage);
      EXPECT_LE(decoded.size(), bytes.size());
      bool usedDefault = false;
      const AnsiString encoded = WideToAnsi(units, codePage, &usedDefault);
      if (!usedDefault && codePage != CP_UTF8) {
        EXPECT_EQ(AnsiToWide(encoded, codePage), units);
      }
    }
  }
}
