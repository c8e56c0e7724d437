#include "platform/base/TextUtils.h"

#include <gtest/gtest.h>

#include "platform/base/Exception.h"

TEST(TextUtils, TrimRemovesSpacesAndControlsAtTheEnds) {
  EXPECT_EQ(Trim(AnsiStringView(" \t a b \r\n")), "a b");
  EXPECT_EQ(TrimLeft(AnsiStringView("  a ")), "a ");
  EXPECT_EQ(TrimRight(AnsiStringView("  a ")), "  a");
  EXPECT_EQ(Trim(AnsiStringView(" \x01 ")), "");
  EXPECT_EQ(Trim(AnsiStringView("\xA0x\xA0")), "\xA0x\xA0");  // 8-bit no-break space stays
  EXPECT_EQ(Trim(WideStringView(u"\u0020\u00A0x\u0009")), u"\u00A0x");
}

TEST(TextUtils, CompareTextFoldsAsciiLettersOnly) {
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_GT(CompareText("abcd", "ABC"), 0);
  EXPECT_GT(CompareText("a_", "AA"), 0);      // "_" (0x5F) sorts after the folded "A" (0x41)
  EXPECT_NE(CompareText("\xE0", "\xC0"), 0);  // Cyrillic letters are not folded
  EXPECT_TRUE(SameText("Key", "KEY"));
  EXPECT_FALSE(SameText("Key", "Keys"));
  EXPECT_TRUE(SameText(WideStringView(u"Zz"), WideStringView(u"zZ")));
  EXPECT_LT(CompareStr("B", "a"), 0);
  EXPECT_EQ(UpperCase(AnsiStringView("abc\xE0")), "ABC\xE0");
  EXPECT_EQ(LowerCase(WideStringView(u"ABC\u0410")), u"abc\u0410");
}

TEST(TextUtils, IntegerTexts) {
  EXPECT_EQ(IntToStr(-123), "-123");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(StrToInt(" $1F"), 31);
  EXPECT_EQ(StrToIntDef("12x", -1), -1);
  EXPECT_EQ(StrToIntDef("2147483648", 7), 7);
  int32_t value = 0;
  EXPECT_TRUE(TryStrToInt("-5", value));
  EXPECT_EQ(value, -5);
  EXPECT_EQ(StrToInt64("-9000000000"), -9000000000);
  try {
    StrToInt("4x");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'4x' is not a valid integer value");
  }
}

TEST(TextUtils, LocaleAwareFormsCaseEveryLetterOfTheCodePage) {
  // Code page 1251: "\xE0\xE1\xB8" is "абё", "\xC0\xC1\xA8" is "АБЁ".
  EXPECT_EQ(AnsiUpperCase("x\xE0\xE1\xB8"), "X\xC0\xC1\xA8");
  EXPECT_EQ(AnsiLowerCase("X\xC0\xC1\xA8"), "x\xE0\xE1\xB8");
  EXPECT_EQ(AnsiCompareText("\xE0\xE1\xB8", "\xC0\xC1\xA8"), 0);
  EXPECT_LT(AnsiCompareText("\xE0", "\xE1"), 0);
  EXPECT_TRUE(AnsiSameText("Key", "kEY"));
  EXPECT_FALSE(AnsiSameText("a", "ab"));
}

TEST(TextUtils, StrToFloatAcceptsDecimalTextOnly) {
  const struct {
    const char* Text;
    bool Valid;
    double Value;
  } cases[] = {
      {"1.5", true, 1.5},  {" -2.25e1 ", true, -22.5}, {"+.5", true, 0.5},
      {"3.", true, 3.0},   {"1E-3", true, 0.001},      {"", false, 0},
      {".", false, 0},     {"1,5", false, 0},          {"inf", false, 0},
      {"0x10", false, 0},  {"1e", false, 0},           {"1e999", false, 0},
      {"1 000", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    double value = -1;
    EXPECT_EQ(TryStrToFloat(c.Text, value), c.Valid);
    if (c.Valid) {
      EXPECT_EQ(value, c.Value);
    }
  }
  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  EXPECT_EQ(StrToFloat("1,5", comma), 1.5);
  EXPECT_EQ(StrToFloatDef("x", 7.5), 7.5);
  try {
    StrToFloat("1.2.3");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'1.2.3' is not a valid floating point value");
  }
}
