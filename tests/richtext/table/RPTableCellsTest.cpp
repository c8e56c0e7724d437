#include <gtest/gtest.h>

#include "richtext/table/RPTableCells.h"
#include "richtext/table/RPTableTestData.h"

namespace {

TEST(RPTableCellsTest, NeighboursFollowTheGridAndReadingOrder) {
  // 3 x 3; (0,1) spans two columns, (1,0) two rows.
  TTableInDocument t(3, 3);
  ASSERT_TRUE(t.Table->MergeCells(0, 1, 2, 1, true));
  ASSERT_TRUE(t.Table->MergeCells(1, 0, 1, 2, true));
  int beeps = 0;
  RPTableHooks().Beep = [&] { ++beeps; };
  const struct {
    int32_t Row, Col, Direction;
    bool Found;
    int32_t NewRow, NewCol;
  } cases[] = {
      {0, 0, 0, false, -1, -1},                            // left of the first cell: nothing, silently
      {1, 1, 0, true, 1, 0},                               // left into a merged cell
      {2, 1, 0, true, 1, 0},                               // ... from the row it covers too
      {1, 0, 0, true, 0, 1},                               // left from column 0: the last cell of the row above
      {0, 1, 2, true, 1, 0},                               // right from a cell ending at the last column: the next row
      {2, 2, 2, false, -1, -1},                            // right from the last cell
      {2, 1, 1, true, 1, 1},                               // up
      {0, 2, 3, true, 1, 2},                               // down from a covered position of (0,1)
      {1, 0, 3, false, -1, -1},                            // down past the last row
      {0, 0, 6, true, 0, 1},                               // next skips covered positions
      {1, 2, 6, true, 2, 1},    {2, 2, 6, false, -1, -1},  // nothing after the last cell: a beep
      {1, 0, 7, true, 0, 1},                               // previous
      {0, 0, 4, false, -1, -1},                            // not a direction
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << k.Row << "," << k.Col << " dir " << k.Direction);
    int32_t row = -1, col = -1;
    const bool found = t.Table->GetNeighbourCell(k.Row, k.Col, k.Direction, row, col, false);
    EXPECT_EQ(found, k.Found);
    if (found) {
      EXPECT_EQ(row, k.NewRow);
      EXPECT_EQ(col, k.NewCol);
    }
  }
  RPTableHooks().Beep = nullptr;
  EXPECT_EQ(beeps, 1);
}

TEST(RPTableCellsTest, TheDocumentEnumeratesCellsInReadingOrder) {
  TTableInDocument t(2, 2);
  ASSERT_TRUE(t.Table->MergeCells(0, 0, 1, 2, true));
  t.SetText(0, 0, "a");
  t.SetText(0, 1, "b");
  t.SetText(1, 1, "c");
  std::string seen;
  t.Data.EnumItems([&](TCustomRPData& data, int32_t itemNo, bool&) {
    if (&data != &t.Data) seen += data.GetItemTextRaw(itemNo);
  });
  EXPECT_EQ(seen, "abc");
  std::unique_ptr<TRPStoreSubRPData> location;
  EXPECT_EQ(t.Table->GetSubRPData(location, rpsdLast), &t.Cell(1, 1));
  EXPECT_EQ(t.Table->GetSubRPData(location, rpsdPrevious), &t.Cell(0, 1));
  const TRPTableStoreSubRPData later(1, 0), earlier(0, 1);
  EXPECT_GT(later.Compare(earlier), 0);
  EXPECT_EQ(t.Data.IndexOfItemDeep(0, t.Cell(1, 1).GetItem(0)), 0);
}

TEST(RPTableCellsTest, StylesUsedInCellsCount) {
  TTableInDocument t(1, 2);
  const int32_t para = t.Data.AddParaStyle();
  TRPTableCellData& cell = t.Cell(0, 1);
  cell.Clear();
  cell.AddRawText("x", 0, para);
  TRPStyleUsage usage;
  usage.ParaStyles.Fill(0, t.Data.Style.ParaStyles().Count());
  t.Table->MarkStylesInUse(usage);
  EXPECT_EQ(usage.ParaStyles[para], 1);
}

TEST(RPTableCellsTest, HeadingsEndWhereNoCellSpansOutOfThem) {
  TTableInDocument t(4, 2);
  EXPECT_FALSE(t.Table->IsHeadingBlockClosed());
  t.Table->SetHeadingRowCount(2);
  EXPECT_TRUE(t.Table->IsHeadingBlockClosed());
  ASSERT_TRUE(t.Table->MergeCells(1, 1, 1, 2, true));
  EXPECT_FALSE(t.Table->IsHeadingBlockClosed());
  t.Table->Rows().GetRow(3)->PageBreakBefore = true;
  EXPECT_TRUE(t.Table->HasPageBreakBefore(-1, -1));
  EXPECT_FALSE(t.Table->HasPageBreakBefore(0, 2));
}

}  // namespace
