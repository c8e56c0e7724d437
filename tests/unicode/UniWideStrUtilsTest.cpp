#include "unicode/UniWideStrUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(UniWideStrUtils, AllocCarriesItsSizeAndIsZeroFilled) {
  TWideStrPtr buffer = WideStrAlloc(10);
  EXPECT_EQ(WideStrBufSize(buffer.get()), 10u * 2 + 4);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(buffer[i], 0);
}

TEST(UniWideStrUtils, NewCopiesWithTerminatorAndKeepsNull) {
  EXPECT_EQ(WideStrNew(nullptr), nullptr);
  TWideStrPtr copy = WideStrNew(u"abc");
  EXPECT_EQ(WideString(copy.get()), u"abc");
  EXPECT_EQ(WideStrBufSize(copy.get()), 4u * 2 + 4);
}

TEST(UniWideStrUtils, LengthEndAndLastChar) {
  const WideChar text[] = u"hello";
  EXPECT_EQ(WideStrLen(text), 5u);
  EXPECT_EQ(WideStrEnd(text), text + 5);
  EXPECT_EQ(WideLastCharPtr(text), text + 4);
  EXPECT_EQ(WideLastCharPtr(u""), nullptr);
}

TEST(UniWideStrUtils, CopiesTerminate) {
  WideChar dest[8];
  EXPECT_EQ(WideString(WideStrCopy(dest, u"abc")), u"abc");
  EXPECT_EQ(WideString(WideStrLCopy(dest, u"abcdef", 3)), u"abc");
  EXPECT_EQ(WideString(WideStrLCopy(dest, u"ab", 5)), u"ab");
  dest[0] = u'x';
  WideStrLCopy(dest, u"abc", 0);  // a count of 0 writes only the terminator
  EXPECT_EQ(dest[0], 0);
  EXPECT_EQ(WideString(WideStrPCopy(dest, u"wide")), u"wide");
}

TEST(UniWideStrUtils, MoveHandlesOverlap) {
  WideChar text[] = u"abcdef";
  WideStrMove(text + 1, text, 4);
  EXPECT_EQ(WideString(text), u"aabcdf");
}

TEST(UniWideStrUtils, ScanFindsCharacterOrTerminator) {
  const WideChar text[] = u"a;b";
  EXPECT_EQ(WideStrScan(text, u';'), text + 1);
  EXPECT_EQ(WideStrScan(text, 0), text + 3);
  EXPECT_EQ(WideStrScan(text, u'x'), nullptr);
}

TEST(UniWideStrUtils, FromBufferTakesCountOrRunsToTerminator) {
  const WideChar text[] = u"abc\0def";
  EXPECT_EQ(WideStrFromBuffer(text, -1), u"abc");
  EXPECT_EQ(WideStrFromBuffer(text, 5), WideString(u"abc\0d", 5));
  EXPECT_EQ(WideStrFromBuffer(text, 0), u"");
}

}  // namespace
