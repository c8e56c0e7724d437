#include "richtext/layout/RPDrawLines.h"

#include <gtest/gtest.h>

#include <vector>

#include "RPLayoutTestData.h"

namespace {

std::unique_ptr<TRPDrawLineInfo> Item(int32_t itemNo) {
  return std::make_unique<TRPDrawLineInfo>(0, 0, 10, 10, itemNo, false);
}

// Five draw items for items 0..4.
TRPDrawLines FiveItems() {
  TRPDrawLines lines;
  for (int32_t i = 0; i < 5; ++i) lines.Add(Item(i));
  return lines;
}

TEST(RPDrawLinesTest, CreateSetsDataThenSizeAndStoresTheLineFlagAs255) {
  const TRPDrawLineInfo d(3, 4, 5, 6, 7, true);
  EXPECT_EQ(d.Left, 3);
  EXPECT_EQ(d.Top, 4);
  EXPECT_EQ(d.Width, 5);
  EXPECT_EQ(d.Height, 6);
  EXPECT_EQ(d.ItemNo, 7);
  EXPECT_EQ(d.FromNewLine, 255);
  EXPECT_EQ(d.Offs, 0);
  EXPECT_EQ(d.Length, 0);
}

TEST(RPDrawLinesTest, RefillingAsManySlotsMovesNothing) {
  TRPDrawLines lines = FiveItems();
  const TRPDrawLineInfo* after = lines[4];
  lines.DeleteRange(1, 3);
  EXPECT_EQ(lines.PendingFirst(), 1);
  EXPECT_EQ(lines.PendingCount(), 3);
  for (int32_t i = 1; i <= 3; ++i) lines.InsertItem(i, Item(10 + i));
  EXPECT_EQ(lines.PendingCount(), 0);
  EXPECT_EQ(lines.PendingFirst(), -1);
  lines.RemovePendingRange();
  ASSERT_EQ(lines.Count(), 5);
  EXPECT_EQ(lines[4], after);
  EXPECT_EQ(lines[1]->ItemNo, 11);
  EXPECT_EQ(lines[3]->ItemNo, 13);
}

// Five items 0..4, a range of them deleted, new items inserted from the range's start:
// fewer than the range leaves the rest pending and removes it once; more than the range
// inserts the extra ones past it.
TEST(RPDrawLinesTest, RefillingADeletedRangeWithFewerOrMoreItems) {
  struct TCase {
    const char* Name;
    int32_t First, Last;
    std::vector<int32_t> Inserted;
    int32_t PendingFirst, PendingCount;
    std::vector<int32_t> After;
  };
  const TCase cases[] = {
      {"fewer", 1, 3, {11}, 2, 2, {0, 11, 4}},
      {"more", 2, 2, {20, 21}, -1, 0, {0, 1, 20, 21, 3, 4}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRPDrawLines lines = FiveItems();
    lines.DeleteRange(c.First, c.Last);
    for (size_t i = 0; i < c.Inserted.size(); ++i)
      lines.InsertItem(c.First + static_cast<int32_t>(i), Item(c.Inserted[i]));
    EXPECT_EQ(lines.PendingFirst(), c.PendingFirst);
    EXPECT_EQ(lines.PendingCount(), c.PendingCount);
    lines.RemovePendingRange();
    std::vector<int32_t> after;
    for (int32_t i = 0; i < lines.Count(); ++i) after.push_back(lines[i]->ItemNo);
    EXPECT_EQ(after, c.After);
  }
}

TEST(RPDrawLinesTest, DeletingBeforeThePendingRangeJoinsIt) {
  TRPDrawLines lines = FiveItems();
  lines.DeleteRange(2, 3);
  lines.InsertItem(2, Item(20));
  lines.DeleteItem(2);
  EXPECT_EQ(lines.PendingFirst(), 2);
  EXPECT_EQ(lines.PendingCount(), 2);
  lines.RemovePendingRange();
  ASSERT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines[2]->ItemNo, 4);
}

TEST(RPDrawLinesTest, IndexOutOfBoundsNamesTheIndex) {
  const TRPDrawLines lines = FiveItems();
  try {
    lines.GetItem(5);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (5)");
  }
}

TEST(RPDrawLinesTest, SubStringsCutTextInCharacters) {
  TTestFormattedData data;
  data.AddW(u"Привет", 0, 0);
  data.AddItem("", CreateItemByStyleNo(rpkindBreak, &data));
  TRPDrawLines lines;
  auto text = std::make_unique<TRPDrawLineInfo>();
  text->ItemNo = 0;
  text->Offs = 2;
  text->Length = 3;
  lines.Add(std::move(text));
  lines.Add(std::make_unique<TRPDrawLineInfo>(0, 0, 5, 5, 1, true));
  AnsiString s;
  lines.GetSubString(0, data, s);
  EXPECT_EQ(RawUnicodeToWide(s), u"рив");
  lines.GetSubStringRange(0, data, 2, 5, s);  // cut at the draw item's end
  EXPECT_EQ(RawUnicodeToWide(s), u"ив");
  lines.GetSubString(1, data, s);
  EXPECT_TRUE(s.empty());
}

}  // namespace
