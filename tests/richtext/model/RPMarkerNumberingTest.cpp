#include "richtext/model/RPMarkerNumbering.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct TNumberCase {
  int32_t Number;
  TRPListType Type;
  const char* Text;
};

TEST(RPMarkerNumberingTest, NumberTexts) {
  const TNumberCase cases[] = {
      // Decimal, and the image-list counter's number.
      {1, rplstDecimal, "1"},
      {0, rplstDecimal, "0"},
      {-5, rplstDecimal, "-5"},
      {2147483647, rplstDecimal, "2147483647"},
      {12, rplstImageListCounter, "12"},
      // Letters: a .. z, then two letters, then three.
      {1, rplstLowerAlpha, "a"},
      {26, rplstLowerAlpha, "z"},
      {27, rplstLowerAlpha, "aa"},
      {52, rplstLowerAlpha, "az"},
      {53, rplstLowerAlpha, "ba"},
      {702, rplstLowerAlpha, "zz"},
      {703, rplstLowerAlpha, "aaa"},
      {28, rplstUpperAlpha, "AB"},
      {0, rplstLowerAlpha, ""},
      {-3, rplstUpperAlpha, ""},
      {2147483647, rplstUpperAlpha, "FXSHRXW"},
      // Roman numerals.
      {1, rplstUpperRoman, "I"},
      {4, rplstLowerRoman, "iv"},
      {9, rplstUpperRoman, "IX"},
      {14, rplstUpperRoman, "XIV"},
      {40, rplstUpperRoman, "XL"},
      {90, rplstUpperRoman, "XC"},
      {400, rplstUpperRoman, "CD"},
      {1994, rplstUpperRoman, "MCMXCIV"},
      {1994, rplstLowerRoman, "mcmxciv"},
      {3999, rplstUpperRoman, "MMMCMXCIX"},
      {4000, rplstUpperRoman, "MMMM"},
      {4999, rplstUpperRoman, "MMMMCMXCIX"},
      {0, rplstUpperRoman, "?"},
      {-1, rplstLowerRoman, "?"},
      // No number for the other kinds.
      {3, rplstBullet, ""},
      {3, rplstPicture, ""},
      {3, rplstImageList, ""},
      {3, rplstUnicodeBullet, ""},
  };
  for (const TNumberCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Number) + " type " + std::to_string(c.Type));
    EXPECT_EQ(GetNumberText(c.Number, c.Type), c.Text);
  }
}

TEST(RPMarkerNumberingTest, RomanNumeralsOfEveryNumberReadBack) {
  // Every numeral from 1 to 3999 read back by the additive rule with subtraction.
  const auto value = [](char c) {
    switch (c) {
      case 'I':
        return 1;
      case 'V':
        return 5;
      case 'X':
        return 10;
      case 'L':
        return 50;
      case 'C':
        return 100;
      case 'D':
        return 500;
      case 'M':
        return 1000;
      default:
        return 0;
    }
  };
  for (int32_t n = 1; n <= 3999; ++n) {
    const AnsiString roman = ToRoman(n);
    int32_t total = 0;
    for (size_t i = 0; i < roman.size(); ++i) {
      const int32_t v = value(roman[i]);
      ASSERT_GT(v, 0) << roman;
      total += i + 1 < roman.size() && v < value(roman[i + 1]) ? -v : v;
    }
    ASSERT_EQ(total, n) << roman;
    ASSERT_LE(roman.size(), 15u) << n;  // MMMDCCCLXXXVIII is the longest
  }
}

TEST(RPMarkerNumberingTest, RomanNumeralsBeyondTheLimitAreDecimal) {
  EXPECT_EQ(ToRoman(RPMaxRomanNumber), AnsiString(1000, 'M') + "CMXCIX");
  EXPECT_EQ(ToRoman(RPMaxRomanNumber + 1), "1001000");
  EXPECT_EQ(ToRoman(std::numeric_limits<int32_t>::max()), "2147483647");
  EXPECT_EQ(GetNumberText(std::numeric_limits<int32_t>::max(), rplstLowerRoman), "2147483647");
}

TEST(RPMarkerNumberingTest, WingdingsCharacters) {
  // The whole table: each code with the character it looks like.
  struct TRange {
    int First, Last;
    WideChar Char;
  };
  const TRange table[] = {
      {40, 40, 0x260E},   {69, 69, 0x261C},   {70, 70, 0x261E},   {74, 74, 0x263A},   {82, 82, 0x263C},
      {92, 92, 0x0950},   {107, 107, 0x0026}, {108, 108, 0x25CF}, {109, 109, 0x25CB}, {161, 163, 0x25CB},
      {166, 166, 0x25CB}, {110, 110, 0x25A0}, {111, 114, 0x25A1}, {120, 122, 0x25A1}, {127, 127, 0x25A1},
      {168, 168, 0x25A1}, {253, 255, 0x25A1}, {115, 116, 0x2666}, {119, 119, 0x2666}, {117, 118, 0x25C6},
      {158, 158, 0x00B7}, {160, 160, 0x25AA}, {167, 167, 0x25AA}, {164, 165, 0x25CE}, {183, 194, 0x25CE},
      {169, 182, 0x2605}, {249, 250, 0x25AB}, {213, 213, 0x25C4}, {215, 215, 0x25C4}, {219, 219, 0x25C4},
      {223, 223, 0x25C4}, {231, 231, 0x25C4}, {239, 239, 0x25C4}, {214, 214, 0x25BA}, {216, 216, 0x25BA},
      {220, 220, 0x25BA}, {224, 224, 0x25BA}, {232, 232, 0x25BA}, {240, 240, 0x25BA}, {217, 217, 0x25B2},
      {221, 221, 0x25B2}, {225, 225, 0x25B2}, {233, 233, 0x25B2}, {241, 241, 0x25B2}, {218, 218, 0x25BC},
      {222, 222, 0x25BC}, {226, 226, 0x25BC}, {234, 234, 0x25BC}, {242, 242, 0x25BC},
  };
  WideChar expected[256];
  for (WideChar& c : expected) c = 0x2022;
  for (const TRange& r : table)
    for (int c = r.First; c <= r.Last; ++c) expected[c] = r.Char;
  for (int c = 128; c <= 138; ++c) expected[c] = static_cast<WideChar>(u'0' + (c - 128));  // the circled digits
  for (int c = 139; c <= 149; ++c) expected[c] = static_cast<WideChar>(u'0' + (c - 139));
  for (int c = 0; c < 256; ++c) EXPECT_EQ(GetWingdingsCodePoint(static_cast<uint8_t>(c)), expected[c]) << c;
  EXPECT_EQ(GetWingdingsCodePoint(138), u':');
  EXPECT_EQ(GetWingdingsCodePoint(149), u':');
}

TEST(RPMarkerNumberingTest, SymbolTextAsPlainText) {
  EXPECT_EQ(SymbolTextToPlain("\xA7\xA8\xA9\xAA\xB7\xD7\xE0"), "*******");
  EXPECT_EQ(SymbolTextToPlain("\xDB|\xDC|\xDE|\xAB|\xAC|\xAE"), "<=>|<=|=>|<->|<-|->");
  EXPECT_EQ(SymbolTextToPlain("a\xAE\xAEz"), "a->->z");
  EXPECT_EQ(SymbolTextToPlain("plain"), "plain");
}

}  // namespace
