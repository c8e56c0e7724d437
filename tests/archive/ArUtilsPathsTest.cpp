// The utilities of the writing road: path splitting, the file finder and time scales.
#include <gtest/gtest.h>

#include <unistd.h>

#include "archive/ArExcept.h"
#include "archive/ArUtils.h"
#include "archive/ArchiveTestSupport.h"

namespace {

TEST(ArchivePaths, SplitPathCutsAtTheLastSlash) {
  struct TCase {
    const char* Path;
    const char* Directory;
    const char* Name;
  } cases[] = {
      {"a/b/c.txt", "a/b", "c.txt"},
      {"/c.txt", "/", "c.txt"},
      {"c.txt", "", "c.txt"},
      {"a/b/", "a/b", ""},
      {"", "", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Path);
    AnsiString directory = "old", name = "old";
    SplitPath(c.Path, directory, name);
    EXPECT_EQ(directory, c.Directory);
    EXPECT_EQ(name, c.Name);
  }
}

TEST(ArchivePaths, ExpandPathMakesFullPaths) {
  EXPECT_EQ(ExpandPath("/a/./b/../c.txt"), "/a/c.txt");
  EXPECT_EQ(ExpandPath(""), "");
  char current[4096];
  ASSERT_NE(getcwd(current, sizeof current), nullptr);
  EXPECT_EQ(ExpandPath("x/y.txt"), std::string(current) + "/x/y.txt");
}

TEST(ArchivePaths, FindFilesMatchesNamesWithoutCaseAndRecurses) {
  TTempFolder folder;
  RunIn(folder, "mkdir -p a/deep b.txt.d && touch x.txt Y.TXT z.doc a/w.txt a/deep/v.Txt");
  std::vector<AnsiString> found;
  FindFiles(folder / "*.txt", found, false);
  // The platform lists a folder by upper-cased name; folders are never matches.
  EXPECT_EQ(found, (std::vector<AnsiString>{folder / "x.txt", folder / "Y.TXT"}));
  found.clear();
  FindFiles(folder / "*.TXT", found, true);
  EXPECT_EQ(found,
            (std::vector<AnsiString>{folder / "x.txt", folder / "Y.TXT", folder / "a/w.txt", folder / "a/deep/v.Txt"}));
  found.clear();
  FindFiles(folder / "missing/*", found, true);
  EXPECT_TRUE(found.empty());
}

TEST(ArchivePaths, ShortPathFindsEveryPartOrSaysWhichIsMissing) {
  TTempFolder folder;
  RunIn(folder, "mkdir a && touch a/f");
  EXPECT_EQ(ShortPath(folder / "a/f"), folder / "a/f");
  EXPECT_THROW(ShortPath(folder / "a/g"), EArFileNotFound);
  try {
    ShortPath(folder / "b/f");
    FAIL();
  } catch (const EArException& e) {
    EXPECT_STREQ(e.what(), "Path not found");
  }
}

TEST(ArchivePaths, UnixTimeAndDateTimeScales) {
  struct TCase {
    int64_t Seconds;
    double DateTime;
  } cases[] = {
      {0, 25569.0},                   // 1970-01-01 00:00:00
      {86400 + 6 * 3600, 25570.25},   // 1970-01-02 06:00:00
      {1781049600 + 43200, 46183.5},  // 2026-06-10 12:00:00
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Seconds);
    EXPECT_DOUBLE_EQ(UnixTimeToDateTime(c.Seconds), c.DateTime);
    EXPECT_EQ(DateTimeToUnixTime(c.DateTime), c.Seconds);
  }
  EXPECT_EQ(DateTimeToUnixTime(25568.5), 0);  // before 1970
}

}  // namespace
