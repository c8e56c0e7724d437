#include "platform/base/CompareString.h"

#include <gtest/gtest.h>

#include "platform/base/LastError.h"

namespace {

int32_t Compare(const WideChar* a, const WideChar* b, uint32_t flags) {
  return CompareStringW(LOCALE_USER_DEFAULT, flags, a, -1, b, -1);
}

TEST(CompareStringW, OrdersByCodeUnitsWhenCaseCounts) {
  struct Case {
    const WideChar* A;
    const WideChar* B;
    int32_t Expected;
  };
  const Case cases[] = {
      {u"abc", u"abc", CSTR_EQUAL},
      {u"abc", u"abd", CSTR_LESS_THAN},
      {u"ab", u"abc", CSTR_LESS_THAN},  // a prefix sorts first
      {u"B", u"a", CSTR_LESS_THAN},     // code units, not a linguistic sort
      {u"a", u"A", CSTR_GREATER_THAN},
      {u"co-op", u"coop", CSTR_LESS_THAN},            // the hyphen weighs as its unit
      {u"\xFFFD", u"\U00010400", CSTR_GREATER_THAN},  // a surrogate sorts below U+E000
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(Compare(c.A, c.B, 0), c.Expected);
  }
}

TEST(CompareStringW, IgnoringCaseFoldsEachUnit) {
  struct Case {
    const WideChar* A;
    const WideChar* B;
    int32_t Expected;
  };
  const Case cases[] = {
      {u"Quirefold", u"qUIREFOLD", CSTR_EQUAL},
      {u"\x0416\x0451\x043B\x0442\x044B\x0439", u"\x0436\x0401\x041B\x0422\x042B\x0419", CSTR_EQUAL},  // Cyrillic
      {u"\x212A", u"k", CSTR_EQUAL},                   // KELVIN SIGN folds to k
      {u"\x00DF", u"ss", CSTR_GREATER_THAN},           // no full folding
      {u"\x1E9E", u"\x00DF", CSTR_EQUAL},              // capital sharp s folds to small
      {u"B", u"a", CSTR_GREATER_THAN},                 // folded b > a
      {u"\U00010400", u"\U00010428", CSTR_LESS_THAN},  // beyond U+FFFF no folding
      {u"_", u"a", CSTR_LESS_THAN},                    // after folding: "_" (5F) < "a" (61)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(Compare(c.A, c.B, NORM_IGNORECASE), c.Expected);
  }
}

TEST(CompareStringW, CountsLimitTheComparedUnits) {
  EXPECT_EQ(CompareStringW(LOCALE_SYSTEM_DEFAULT, 0, u"abcX", 3, u"abcY", 3), CSTR_EQUAL);
  // Explicit counts take embedded zero characters as ordinary units.
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"a\0b", 3, u"a\0c", 3), CSTR_LESS_THAN);
}

TEST(CompareStringW, RefusesUnknownFlagsAndNullStrings) {
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0x1000, u"a", -1, u"a", -1), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, nullptr, -1, u"a", -1), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(CompareWideStrings, GivesTheSignOfTheSameRule) {
  EXPECT_EQ(CompareWideStrings(u"Abc", u"aBC", true), 0);
  EXPECT_EQ(CompareWideStrings(u"Abc", u"aBC", false), -1);
  EXPECT_EQ(CompareWideStrings(u"abcd", u"ABC", true), 1);
}

TEST(CaseFoldWide, GivesTheUnitsThatComparisonIgnoringCaseUses) {
  EXPECT_EQ(CaseFoldWide(u"\u212A\u2126Ab\u0401\u00DF\u1E9E"), u"k\u03C9ab\u0451\u00DF\u00DF");
  // Every unit compares equal to its folded form, and folding again changes nothing.
  for (uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
    const WideString one(1, static_cast<WideChar>(unit));
    const WideString folded = CaseFoldWide(one);
    ASSERT_EQ(CompareWideStrings(one, folded, true), 0) << unit;
    ASSERT_EQ(CaseFoldWide(folded), folded) << unit;
  }
}

}  // namespace
