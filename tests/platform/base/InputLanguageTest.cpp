#include "platform/base/InputLanguage.h"

#include <gtest/gtest.h>

#include "platform/base/CodePages.h"

namespace {

TEST(InputLanguageTest, WithoutASettingTheAnsiCodePagesLanguage) {
  SetInputLanguage(0);
  EXPECT_EQ(GetInputLanguage(), 0x0419);  // 1251: Russian
  ASSERT_TRUE(SetAnsiCodePage(1253));
  EXPECT_EQ(GetInputLanguage(), 0x0408);  // Greek, the only language of 1253
  ASSERT_TRUE(SetAnsiCodePage(1251));
  SetInputLanguage(0x0407);
  EXPECT_EQ(GetInputLanguage(), 0x0407);
  SetInputLanguage(0);
  EXPECT_EQ(GetInputLanguage(), 0x0419);
}

TEST(InputLanguageTest, CodePageLanguages) {
  const struct {
    uint32_t CodePage;
    LANGID Language;
  } cases[] = {{1250, 0x0415}, {1251, 0x0419}, {1252, 0x0409},   {1257, 0x0427},
               {1255, 0x040D}, {932, 0x0411},  {CP_ACP, 0x0419}, {437, 0x0409}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.CodePage);
    EXPECT_EQ(CodePageLanguage(c.CodePage), c.Language);
  }
}

}  // namespace
