#include <gtest/gtest.h>

#include "archive/ArUtils.h"
#include "archive/ArchiveTestSupport.h"
#include "platform/base/FileSystem.h"

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

namespace {

TEST(PatternMatch, MatchesWildcardsAsFileMasks) {
  struct TCase {
    const char* Text;
    const char* Pattern;
    bool Match;
  } cases[] = {
      {"FILE.TXT", "*.*", true}, {"FILE.TXT", "F?LE.*", true}, {"FILE.TXT", "*.DOC", false}, {"", "", true},
      {"", "A", false},          {"NOEXT", "*", true},         {"ABCABD", "*ABD", true},     {"ABCABC", "*ABD", false},
      {"A.B.C", "*.C", true},    {"AB", "A?B", false},         {"ABC", "A*C*", true},        {"ABC", "ABC", true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Text) + " ~ " + c.Pattern);
    EXPECT_EQ(PatternMatch(c.Text, 0, c.Pattern, 0), c.Match);
  }
  EXPECT_TRUE(PatternMatch("XFILE.TXT", 1, "AF*", 1));  // from given positions
}

TEST(UnixModes, ConvertToAndFromAttributes) {
  EXPECT_EQ(UnixModeFromAttributes(FILE_ATTRIBUTE_READONLY), 0444u);
  EXPECT_EQ(UnixModeFromAttributes(0), 0744u);
  struct TCase {
    uint32_t Mode;
    uint32_t Attributes;
  } cases[] = {
      {0100644, 0},                        // regular file
      {0100444, FILE_ATTRIBUTE_READONLY},  // no owner write
      {0040755, FILE_ATTRIBUTE_DIRECTORY},
      {0120777, FILE_ATTRIBUTE_SYSTEM},  // symbolic link
      {0010600, FILE_ATTRIBUTE_SYSTEM},  // FIFO
      {0000644, 0},                      // tar modes carry no type
  };
  for (const TCase& c : cases) EXPECT_EQ(AttributesFromUnixMode(c.Mode), c.Attributes) << std::oct << c.Mode;
}

}  // namespace
