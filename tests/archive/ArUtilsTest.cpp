#include <gtest/gtest.h>

#include "archive/ArUtils.h"
#include "archive/ArchiveTestSupport.h"

namespace {

TEST(Percentage, FollowsTheProgressRule) {
  EXPECT_EQ(Percentage(50, 0), 0);
  EXPECT_EQ(Percentage(7, 7), 100);
  EXPECT_EQ(Percentage(1, 3), 33);
  EXPECT_EQ(Percentage(9, 7), 100);
  // Above 16384000 both values are first reduced by 256 with rounding: 64001 of 64001.
  EXPECT_EQ(Percentage(16384200, 16384256), 100);
}

TEST(PathHelpers, UseSlashAsTheSeparator) {
  // The Windows cases translated: "C:a" and "\\srv\x" become full paths starting with "/".
  EXPECT_EQ(PathKind("a/b"), 1);
  EXPECT_EQ(PathKind("/srv/x"), 2);
  EXPECT_EQ(PathKind("C:a"), 0);  // ":" is an ordinary character
  EXPECT_EQ(AddBackslash(""), "");
  EXPECT_EQ(AddBackslash("dir"), "dir/");
  EXPECT_EQ(AddBackslash("/"), "/");
  EXPECT_EQ(FindNthSlash("/a/b", 2), 2);
  EXPECT_EQ(FindNthSlash("abc", 1), 3);
  AnsiString path = "../../a/../b";
  RemoveLeadingDotDots(path);
  EXPECT_EQ(path, "a/../b");
}

TEST(UpdateCrc32, MatchesZlibForEveryLengthAndAlignment) {
  Bytes data = RandomBytes(1000, 77);
  for (size_t start : {0, 1, 3, 7})
    for (size_t length : {0, 1, 7, 8, 9, 63, 500, 993}) {
      Bytes part(data.begin() + static_cast<std::ptrdiff_t>(start),
                 data.begin() + static_cast<std::ptrdiff_t>(start + length));
      EXPECT_EQ(~UpdateCrc32(0xFFFFFFFF, part), ZlibCrc(part)) << start << " " << length;
    }
}

}  // namespace
