#include "unicode/UniRuntimeSetup.h"

#include <gtest/gtest.h>

#include "platform/base/CodePages.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

WideString gShown;
void RecordMessage(const WideString& text) { gShown = text; }

class UniRuntimeSetupTest : public ::testing::Test {
protected:
  void TearDown() override {
    UninstallUnicodeRuntimePatches();
    ExceptionMessageHook = nullptr;
    gShown.clear();
  }
};

TEST_F(UniRuntimeSetupTest, SetupSwitchesOnEveryPatch) {
  SetupUnicodeEnvironment();
  for (auto patch : {urpResStrings, urpUserCodePage, urpWideConcat, urpWideFormat, urpExceptions})
    EXPECT_TRUE(UnicodeRuntimePatchInstalled(patch));
  EXPECT_EQ(UserCodePage, CP_ACP);
}

TEST_F(UniRuntimeSetupTest, DisplayTextGetsAFullStopAfterCharactersAboveIt) {
  EXPECT_EQ(ExceptionDisplayText(WideException(u"\u0424\u0430\u0439\u043b \u4e2d")),
            u"\u0424\u0430\u0439\u043b \u4e2d.");
  EXPECT_EQ(ExceptionDisplayText(Exception("Stream read error")), u"Stream read error.");
  EXPECT_EQ(ExceptionDisplayText(Exception("Done.")), u"Done.");
  // Every character above "." counts, "?" and "!" too: a rule kept as the display has it.
  EXPECT_EQ(ExceptionDisplayText(Exception("Why?")), u"Why?.");
  EXPECT_EQ(ExceptionDisplayText(Exception("(50%)")), u"(50%)");
  EXPECT_EQ(ExceptionDisplayText(Exception("")), u"");
  EXPECT_EQ(ExceptionDisplayText(Exception("\xC6")), u"\u0416.");  // 8-bit text widened
}

TEST_F(UniRuntimeSetupTest, ShowExceptionUsesTheHookOnceSwitchedOn) {
  ExceptionMessageHook = RecordMessage;
  testing::internal::CaptureStderr();
  ShowException(WideException(u"\u4e2d"));  // switched off: the 8-bit message on standard error
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "?\n");
  EXPECT_TRUE(gShown.empty());

  SetupUnicodeEnvironment();
  ShowException(WideException(u"\u4e2d"));
  EXPECT_EQ(gShown, u"\u4e2d.");
}

TEST_F(UniRuntimeSetupTest, WithoutHookTheDisplayWritesToStandardError) {
  SetupUnicodeEnvironment();
  testing::internal::CaptureStderr();
  ShowException(EWideOSError(u"\u0416 failed", 5));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\xD0\x96 failed.\n");
}

}  // namespace
