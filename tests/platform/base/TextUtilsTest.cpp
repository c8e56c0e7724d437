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
  EXPECT_GT(CompareText("a_", "AA"), 0);  // "_" (0x5F) sorts after the folded "A" (0x41)
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
