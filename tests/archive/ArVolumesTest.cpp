// Volume names of spanned sets and the drive queries that spanning asks.
#include <gtest/gtest.h>

#include "archive/ArVolumes.h"
#include "archive/ArchiveTestSupport.h"

namespace {

TEST(SpanVolumeNames, ReplaceTheLastExtensionOfTheFileName) {
  struct TCase {
    const char* Archive;
    int32_t Number;
    const char* Expected;
  };
  const TCase cases[] = {
      {"/books/set.zip", 1, "/books/set.z01"},
      {"/books/set.zip", 12, "/books/set.z12"},
      {"/books/set.zip", 99, "/books/set.z99"},
      {"/books/set.zip", 100, ""},  // a set has at most 99 volumes
      {"/books/set.zip", 0, ""},
      {"/books/my.set.ZIP", 2, "/books/my.set.z02"},  // only the last extension
      {"/books.old/set", 3, "/books.old/set.z03"},    // a dot of the folder is not one
      {"set.zip", 1, "set.z01"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Archive);
    EXPECT_EQ(SpanVolumeName(c.Archive, c.Number), c.Expected);
  }
}

TEST(SpanVolumeNames, AreFoundWithoutRegardToCase) {
  TTempFolder folder;
  WriteFileBytes(folder / "SET.Z01", Bytes{1});
  WriteFileBytes(folder / "set.z02", Bytes{2});
  EXPECT_EQ(FindFileIgnoringCase(folder / "set.z01"), folder / "SET.Z01");
  EXPECT_EQ(FindFileIgnoringCase(folder / "set.z02"), folder / "set.z02");
  EXPECT_EQ(FindFileIgnoringCase(folder / "set.z03"), "");
  EXPECT_EQ(FindFileIgnoringCase(folder.Path()), "");  // a folder is no volume
}

TEST(DriveQueries, FreeSpaceNeedsAFullPathAndIsCappedAt32Bits) {
  EXPECT_EQ(FreeSpace("set.zip"), -1);
  EXPECT_EQ(FreeSpace("books/set.zip"), -1);
  TTempFolder folder;
  int32_t free = FreeSpace(folder / "set.zip");
  EXPECT_GT(free, 0);
  EXPECT_LE(free, 2147483647);
  EXPECT_FALSE(IsRemovableDrive("set.zip"));
}

}  // namespace
