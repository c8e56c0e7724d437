#include "platform/base/Masks.h"

#include <gtest/gtest.h>

#include "platform/base/Exception.h"

TEST(Masks, MatchesWildcardsAndSetsIgnoringCase) {
  const struct {
    const char16_t* Name;
    const char16_t* Mask;
    bool Matches;
  } cases[] = {
      {u"QuirefoldB_Russian.lng", u"QuirefoldB_*.lng", true},
      {u"quirefoldb_x.LNG", u"QuirefoldB_*.lng", true},
      {u"QuirefoldB_.lng.bak", u"QuirefoldB_*.lng", false},
      {u"scheme.gws", u"*.gws", true},
      {u"scheme", u"*.*", false},
      {u"", u"*", true},
      {u"", u"?", false},
      {u"abc", u"a?c", true},
      {u"ac", u"a?c", false},
      {u"a1", u"a[0-9]", true},
      {u"aX", u"a[!0-9]", true},
      {u"a5", u"a[!0-9]", false},
      {u"B", u"[a-c]", true},
      {u"-", u"[-a]", true},
      {u"aaab", u"*a*b", true},
      {u"mississippi", u"m*iss*pi", true},
      {u"\u0416\u0443\u043A", u"\u0436*", true},  // Cyrillic folds too
      {u"lblBook.Caption", u"lbl*.Caption", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(MatchesMask(WideStringView(c.Name), WideStringView(c.Mask)), c.Matches);
  }
  EXPECT_TRUE(MatchesMask(AnsiStringView("\xC6\xF3\xEA.txt"), AnsiStringView("\xE6*.TXT")));  // 8-bit, code page 1251
}

TEST(Masks, RaisesOnBadSets) {
  const struct {
    const char* Mask;
    const char* Message;
  } cases[] = {
      {"a[bc", "'a[bc' is an invalid mask at (5)"},
      {"[]", "'[]' is an invalid mask at (2)"},
      {"[a-]", "'[a-]' is an invalid mask at (4)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Mask);
    try {
      TMask mask{AnsiStringView(c.Mask)};
      ADD_FAILURE() << "no exception";
    } catch (const EMaskException& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
  }
}
