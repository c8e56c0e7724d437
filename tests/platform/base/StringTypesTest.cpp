#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/LastError.h"
#include "platform/base/Locale.h"
#include "platform/base/StringTypes.h"
#include "platform/base/UnicodeCase.h"

TEST(StringTypes, TheFirstKindComesFromTheSharedTable) {
  const WideString text = u"A ж,1\t\x05D0";
  uint16_t types[8] = {};
  ASSERT_TRUE(GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, text.c_str(), -1, types));
  for (size_t i = 0; i < text.size(); ++i) EXPECT_EQ(types[i], CharTypeC1(text[i])) << i;
  EXPECT_NE(types[1] & C1_SPACE, 0);
  EXPECT_NE(types[3] & C1_PUNCT, 0);
  EXPECT_EQ(types[7], 0) << "the terminator gets no type";
}

TEST(StringTypes, TheSecondKindIsTheLayoutDirection) {
  const struct {
    WideChar Char;
    uint16_t Type;
  } cases[] = {
      {u'a', C2_LEFTTORIGHT},      {u'\x0416', C2_LEFTTORIGHT},   {u'\x05D0', C2_RIGHTTOLEFT},
      {u'\x0627', C2_RIGHTTOLEFT}, {u'7', C2_EUROPENUMBER},       {u'+', C2_EUROPESEPARATOR},
      {u'%', C2_EUROPETERMINATOR}, {u'\x0661', C2_ARABICNUMBER},  {u',', C2_COMMONSEPARATOR},
      {u'\r', C2_BLOCKSEPARATOR},  {u'\t', C2_SEGMENTSEPARATOR},  {u' ', C2_WHITESPACE},
      {u'!', C2_OTHERNEUTRAL},     {u'\x0301', C2_NOTAPPLICABLE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Char));
    uint16_t type = 0xFFFF;
    ASSERT_TRUE(GetStringTypeExW(0x0419, CT_CTYPE2, &c.Char, 1, &type));
    EXPECT_EQ(type, c.Type);
  }
}

TEST(StringTypes, TheAnsiFormTypesEveryByte) {
  uint16_t types[4] = {};
  // "Жa" in 1251 (the process's code page for the default locale).
  ASSERT_TRUE(GetStringTypeExA(LOCALE_USER_DEFAULT, CT_CTYPE1,
                               "\xC6"
                               "a",
                               2, types));
  EXPECT_EQ(types[0], CharTypeC1(u'\x0416'));
  EXPECT_EQ(types[1], CharTypeC1(u'a'));
  // Shift-JIS: both bytes of "日" get its type; 0x80 is not defined.
  ASSERT_TRUE(GetStringTypeExA(0x0411, CT_CTYPE1,
                               "\x93\xFA\x80"
                               "1",
                               4, types));
  EXPECT_EQ(types[0], CharTypeC1(u'\x65E5'));
  EXPECT_EQ(types[1], CharTypeC1(u'\x65E5'));
  EXPECT_EQ(types[2], 0);
  EXPECT_EQ(types[3], CharTypeC1(u'1'));
}

TEST(StringTypes, BadQueriesFail) {
  uint16_t type = 0;
  EXPECT_FALSE(GetStringTypeExW(LOCALE_USER_DEFAULT, 4, u"a", 1, &type));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
  EXPECT_FALSE(GetStringTypeExW(0x0479, CT_CTYPE1, u"a", 1, &type));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, nullptr, 1, &type));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

// A character is a code point with the nonspacing marks after it; a surrogate pair is one
// code point. The walk back finds the same starts as the walk forward.
TEST(StringTypes, CharNextAndCharPrevStepOverWholeCharacters) {
  const std::u16string text = u"a\U0001F600e\u0301\u0303\U0001D165\U0001D167b";  // a pair with a mark after it
  const WideChar* start = text.c_str();
  std::vector<size_t> starts;
  for (const WideChar* p = start; *p != 0; p = CharNextW(p)) starts.push_back(static_cast<size_t>(p - start));
  EXPECT_EQ(starts, (std::vector<size_t>{0, 1, 3, 6, 10}));
  EXPECT_EQ(CharNextW(start + text.size()), start + text.size());
  std::vector<size_t> back;
  for (const WideChar* p = start + text.size(); p > start;) {
    p = CharPrevW(start, p);
    back.insert(back.begin(), static_cast<size_t>(p - start));
  }
  EXPECT_EQ(back, starts);
  EXPECT_EQ(CharPrevW(start, start), start);
  // A mark at the very start is a character of its own, with the marks after it.
  const std::u16string marks = u"\u0301\u0302x";
  EXPECT_EQ(CharNextW(marks.c_str()), marks.c_str() + 2);
  EXPECT_EQ(CharPrevW(marks.c_str(), marks.c_str() + 2), marks.c_str());
}
