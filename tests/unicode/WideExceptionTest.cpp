// WideException from its own header alone: what wolf and imaging include to raise it.
#include "unicode/WideException.h"

#include <gtest/gtest.h>

namespace {

constexpr TResStringRec SFileTooBig{"SFileTooBig", "\xEF\xBB\xBF\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB \xE4\xB8\xAD"};

TEST(WideException, KeepsUtf16AndAnAnsiCopy) {
  const WideException e(u"\u0424\u0430\u0439\u043b \u4e2d");
  EXPECT_EQ(e.WideMessage(), u"\u0424\u0430\u0439\u043b \u4e2d");
  EXPECT_EQ(e.Message(), "\xD4\xE0\xE9\xEB ?");  // 1251, with "?" for what it lacks
  EXPECT_EQ(WideException(&SFileTooBig).WideMessage(), u"\u0424\u0430\u0439\u043b \u4e2d");
  EXPECT_EQ(WideException(u"%s has %d pages", {u"\u4e2d", 12}).WideMessage(), u"\u4e2d has 12 pages");
}

TEST(WideException, SetWideMessageReplacesBothTexts) {
  WideException e(u"old");
  e.SetWideMessage(u"\u0414\u0430");
  EXPECT_EQ(e.WideMessage(), u"\u0414\u0430");
  EXPECT_EQ(e.Message(), "\xC4\xE0");
}

}  // namespace
