// The version of a file as the caption shows it; this test program carries version
// 0.3.5.0.
#include "app/uVersion.h"

#include <gtest/gtest.h>

#include "platform/base/CodePages.h"
#include "platform/base/Module.h"
#include "platform/base/TempFolder.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

TEST(FileVersion, ShowsMajorMinorAndTheReleaseInTwoDigits) {
  WideString shortVersion, longVersion;
  ASSERT_TRUE(GetFileVersion(WideGetModuleFileName(HInstance), shortVersion, longVersion));
  EXPECT_EQ(shortVersion, u"0.3");
  EXPECT_EQ(longVersion, u"0.3.05");
  EXPECT_EQ(VersionCaption(WideGetModuleFileName(HInstance)), u"Quirefold Batch v.0.3.05");
}

TEST(FileVersion, AFileWithoutVersionInformationGivesNoneAndAQuestionMark) {
  TempFolder folder;
  WriteBytes(folder / "plain.exe", "MZ");
  const WideString names[] = {AnsiToWideWithCodePage(folder / "plain.exe", CP_UTF8),
                              AnsiToWideWithCodePage(folder / "missing.exe", CP_UTF8)};
  for (const WideString& name : names) {
    WideString shortVersion = u"x", longVersion = u"y";
    EXPECT_FALSE(GetFileVersion(name, shortVersion, longVersion));
    EXPECT_EQ(shortVersion, u"");
    EXPECT_EQ(longVersion, u"");
    EXPECT_EQ(VersionCaption(name), u"Quirefold Batch v.?");
  }
}

}  // namespace
