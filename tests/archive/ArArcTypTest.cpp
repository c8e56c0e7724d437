#include <gtest/gtest.h>

#include "archive/ArArcTyp.h"

namespace {

std::unique_ptr<TArArchiveItem> Item(const AnsiString& name) {
  auto item = std::make_unique<TArArchiveItem>();
  item->SetFileName(name);
  return item;
}

TEST(TArArchiveList, FindsNamesWithoutRegardToCase) {
  TArArchiveList list;
  list.Add(Item("readme.txt"));
  list.Add(Item("book.fb2"));
  EXPECT_EQ(list.Find("README.TXT"), 0);
  EXPECT_EQ(list.Find("Book.FB2"), 1);
  EXPECT_EQ(list.Find("other"), -1);
}

TEST(TArArchiveList, DeletingOneOfTwoSameNamesLeavesTheOther) {
  TArArchiveList list;
  list.Add(Item("a.txt"));
  list.Add(Item("A.TXT"));
  EXPECT_EQ(list.Find("a.txt"), 1);  // the last added
  list.Delete(1);
  EXPECT_EQ(list.Find("A.TXT"), 0);
  EXPECT_EQ(list.Items(0)->FileName(), "a.txt");
}

TEST(TArArchiveList, ActiveNamesExcludeDeletedEntries) {
  TArArchiveList list;
  list.Add(Item("x"));
  EXPECT_TRUE(list.IsActiveName("X"));
  list.Items(0)->Action = aaDelete;
  EXPECT_FALSE(list.IsActiveName("X"));
}

TEST(TArArchiveList, BucketsFollowTheElfHashOfTheUpperCasedName) {
  // "A": h = 0x41; "AB": (0x41 << 4) + 0x42 = 0x452.
  EXPECT_EQ(TArArchiveList::Bucket("a"), 0x41u % 1021);
  EXPECT_EQ(TArArchiveList::Bucket("ab"), 0x452u % 1021);
  // Letter case never changes the bucket.
  EXPECT_EQ(TArArchiveList::Bucket("abcdefghij"), TArArchiveList::Bucket("ABCDEFGHIJ"));
}

TEST(TArBaseComponent, VersionIsFixed) {
  TArBaseComponent component(nullptr);
  EXPECT_EQ(component.Version(), "1.0");
}

}  // namespace
