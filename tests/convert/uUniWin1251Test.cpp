#include "convert/uUniWin1251.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include "platform/base/Utf8.h"

#include "unicode/Peers.h"
#include "unicode/UniSystem.h"

namespace {

// The one byte where the codec and glibc's CP1251 part: the codec maps 0x98 to U+0098
// and back, iconv has no mapping for it.
constexpr unsigned char KnownDifference = 0x98;

TEST(UniWin1251, DecodesEveryByteAsIconvDoes) {
  std::string bytes;
  for (int b = 1; b < 256; ++b)
    if (b != KnownDifference) bytes += static_cast<char>(b);
  std::string peer;
  ASSERT_TRUE(Iconv("CP1251", "UTF-16LE", bytes, peer));
  EXPECT_EQ(Win1251ToWide(bytes), FromUtf16LeBytes(peer));

  EXPECT_EQ(Win1251ToWide("\x98"), u"\u0098");
  EXPECT_FALSE(Iconv("CP1251", "UTF-16LE", "\x98", peer));
}

// glibc's CP1251 with //IGNORE, in process: the bytes of one UTF-16 character, or none
// when the code page cannot hold it. (The iconv program with //IGNORE drops more than
// the unmappable characters on long inputs, so each character goes on its own.)
std::string GlibcCp1251Ignore(iconv_t cd, WideStringView character) {
  std::string in = Utf16LeBytes(character);
  char out[8];
  char* inPtr = in.data();
  char* outPtr = out;
  size_t inLeft = in.size(), outLeft = sizeof out;
  iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  return std::string(out, static_cast<size_t>(outPtr - out));
}

// Every character of the Basic Multilingual Plane and one beyond it, one by one and as
// one text; what the code page cannot hold is left out, as glibc's //IGNORE leaves it.
TEST(UniWin1251, EncodesAllOfTheBmpAsIconvIgnoreDoes) {
  const iconv_t cd = iconv_open("CP1251//IGNORE", "UTF-16LE");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  WideString text;
  std::string expected;
  for (uint32_t c = 1; c <= 0x10000; ++c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c == KnownDifference) continue;
    WideString character;
    AppendUtf16(character, c == 0x10000 ? 0x1F600 : c);
    const std::string peer = GlibcCp1251Ignore(cd, character);
    if (WideToWin1251(character) != peer) ADD_FAILURE() << "U+" << std::hex << c;
    text += character;
    expected += peer;
  }
  iconv_close(cd);
  EXPECT_EQ(expected.size(), 254u);  // every byte but 0x00 and 0x98
  EXPECT_EQ(WideToWin1251(text), expected);

  EXPECT_EQ(WideToWin1251(u"\u0098"), "\x98");
}

TEST(UniWin1251, RussianTextRoundTrips) {
  const WideString text = Utf8ToWide("Съешь же ещё этих мягких французских булок, да выпей чаю. ЁЖИК №5 «цитата» — €");
  const AnsiString bytes = WideToWin1251(text);
  EXPECT_EQ(bytes.size(), text.size());
  EXPECT_EQ(Win1251ToWide(bytes), text);
}

TEST(UniWin1251, CharactersOutsideTheCodePageAreLeftOut) {
  EXPECT_EQ(WideToWin1251(Utf8ToWide("Книга 中文 Ω é")), "\xCA\xED\xE8\xE3\xE0   ");
  EXPECT_EQ(WideToWin1251(Utf8ToWide("中\U0001F600")), "");
}

TEST(UniWin1251, EmptyStaysEmpty) {
  EXPECT_EQ(WideToWin1251(u""), "");
  EXPECT_EQ(Win1251ToWide(""), u"");
}

}  // namespace
