#include <gtest/gtest.h>

#include <random>

#include "richtext/model/RPException.h"
#include "richtext/table/RPTableRows.h"
#include "richtext/table/RPTableTestData.h"

namespace {

TEST(RPTableRowsTest, AMainCellIsFoundFromACoveredPosition) {
  TTableInDocument t(4, 4);
  ASSERT_TRUE(t.Table->MergeCells(0, 1, 2, 3, true));  // 3 rows x 2 columns from (0, 1)
  int32_t row = -1, col = -1;
  EXPECT_EQ(t.Table->Rows().GetMainCell(2, 2, row, col), &t.Cell(0, 1));
  EXPECT_EQ(row, 0);
  EXPECT_EQ(col, 1);
  EXPECT_EQ(t.Table->Rows().GetMainCell(3, 2, row, col), t.Table->GetCell(3, 2));
  EXPECT_EQ(row, 3);
}

struct TMergeCase {
  const char* Name;
  int32_t Size, Top, Left, ColSpan, RowSpan;
  bool AllowCovered;
  bool Merged;
  int32_t MainRow, MainCol, RowSpanAfter, ColSpanAfter;
};

TEST(RPTableRowsTest, MergesFollowTheRules) {
  const TMergeCase cases[] = {
      {"2x2 whole, covered lines allowed", 2, 0, 0, 2, 2, true, true, 0, 0, 2, 2},
      {"2x2 whole would leave covered lines", 2, 0, 0, 2, 2, false, false, 0, 0, 1, 1},
      {"spans past the grid are clamped", 3, 1, 1, 5, 5, false, true, 1, 1, 2, 2},
      {"spans past the grid, allowed", 3, 1, 1, 5, 5, true, true, 1, 1, 2, 2},
      {"span 1 x 0 does nothing", 3, 0, 0, 1, 0, true, false, 0, 0, 1, 1},
      {"span 0 x 1 does nothing", 3, 0, 0, 0, 1, true, false, 0, 0, 1, 1},
      {"one row, two columns", 3, 0, 0, 2, 1, false, true, 0, 0, 1, 2},
  };
  for (const TMergeCase& m : cases) {
    SCOPED_TRACE(m.Name);
    TTableInDocument t(m.Size, m.Size);
    EXPECT_EQ(t.Table->MergeCells(m.Top, m.Left, m.ColSpan, m.RowSpan, m.AllowCovered), m.Merged);
    const TRPTableCellData& cell = t.Cell(m.MainRow, m.MainCol);
    EXPECT_EQ(cell.GetRowSpan(), m.RowSpanAfter);
    EXPECT_EQ(cell.GetColSpan(), m.ColSpanAfter);
    ExpectGridInvariants(t.Table->Rows());
  }
}

TEST(RPTableRowsTest, OneSpanBelowOneWithTheOtherAboveRaises) {
  TTableInDocument t(3, 3);
  try {
    t.Table->MergeCells(0, 0, 2, 0, true);
    FAIL();
  } catch (const ERichPaneError& e) {
    EXPECT_STREQ(e.what(), "Parameters for cell merging are not correct");
  }
  ExpectGridInvariants(t.Table->Rows());
}

TEST(RPTableRowsTest, ARefusedMergeBeepsWhenTheStyleSheetAsksForSound) {
  TTableInDocument t(2, 2);
  int beeps = 0;
  RPTableHooks().Beep = [&] { ++beeps; };
  EXPECT_FALSE(t.Table->MergeCells(0, 0, 2, 2, false));
  t.Data.Style.UseSound = false;
  EXPECT_FALSE(t.Table->MergeCells(0, 0, 2, 2, false));
  RPTableHooks().Beep = nullptr;
  EXPECT_EQ(beeps, 1);
}

TEST(RPTableRowsTest, MergedContentKeepsReadingOrderAndDropsEmptyParagraphs) {
  TTableInDocument t(2, 2);
  t.SetText(0, 1, "b");
  t.SetText(1, 0, "c");
  t.SetText(0, 0, "a");
  ASSERT_TRUE(t.Table->MergeCells(0, 0, 2, 2, true));
  const TRPTableCellData& cell = t.Cell(0, 0);
  ASSERT_EQ(cell.GetItemCount(), 3);
  EXPECT_EQ(cell.GetItemTextRaw(0), "a");
  EXPECT_EQ(cell.GetItemTextRaw(1), "b");
  EXPECT_EQ(cell.GetItemTextRaw(2), "c");
}

TEST(RPTableRowsTest, MergingCombinesBestWidths) {
  struct TCase {
    const char* Name;
    int32_t Widths[4];  // (0,0) (0,1) (1,0) (1,1)
    int32_t RowSpan;
    TRPHTMLLength Expected;
  } cases[] = {
      {"pixels add up in a row", {100, 50, 0, 0}, 1, 150},
      {"a percentage replaces pixels in a row", {-30, 100, 0, 0}, 1, -30},
      {"percentages add up in a row", {-20, -30, 0, 0}, 1, -50},
      {"a percentage row beats a pixel row", {100, 50, -20, 0}, 2, -20},
      {"the larger percentage wins", {-20, 0, -40, 0}, 2, -40},
      {"the wider pixel row wins", {10, 20, 100, 0}, 2, 100},
  };
  for (const TCase& k : cases) {
    SCOPED_TRACE(k.Name);
    TTableInDocument t(2, 2);
    t.Cell(0, 0).BestWidth = k.Widths[0];
    t.Cell(0, 1).BestWidth = k.Widths[1];
    t.Cell(1, 0).BestWidth = k.Widths[2];
    t.Cell(1, 1).BestWidth = k.Widths[3];
    ASSERT_TRUE(t.Table->MergeCells(0, 0, 2, k.RowSpan, true));
    EXPECT_EQ(t.Cell(0, 0).BestWidth, k.Expected);
  }
}

// Random merges on random grids keep the grid's invariants.
TEST(RPTableRowsTest, RandomMergesKeepTheInvariants) {
  std::mt19937 random(20261210);
  for (int round = 0; round < 60; ++round) {
    const int32_t rowCount = 1 + static_cast<int32_t>(random() % 6);
    const int32_t colCount = 1 + static_cast<int32_t>(random() % 6);
    TTableInDocument t(rowCount, colCount);
    for (int merge = 0; merge < 8; ++merge) {
      const auto top = static_cast<int32_t>(random() % static_cast<uint32_t>(rowCount));
      const auto left = static_cast<int32_t>(random() % static_cast<uint32_t>(colCount));
      const auto colSpan = 1 + static_cast<int32_t>(random() % 4);
      const auto rowSpan = 1 + static_cast<int32_t>(random() % 4);
      t.Table->MergeCells(top, left, colSpan, rowSpan, random() % 2 == 0);
      ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(t.Table->Rows()));
    }
  }
}

TEST(RPTableRowsTest, InsertingARowInsideAMergedCellMakesItTaller) {
  TTableInDocument t(3, 2);
  ASSERT_TRUE(t.Table->MergeCells(0, 0, 1, 2, true));  // (0,0) spans rows 0-1
  TRPTableRows& rows = t.Table->Rows();
  rows.InsertRows(1, 1, -1, false);
  EXPECT_EQ(t.Cell(0, 0).GetRowSpan(), 3);
  EXPECT_EQ(rows.GetCell(1, 0), nullptr);
  EXPECT_NE(rows.GetCell(1, 1), nullptr);
  ExpectGridInvariants(rows);
  rows.InsertRows(rows.GetRowCount(), 2, -1, false);  // at the end: no span grows
  EXPECT_EQ(t.Cell(0, 0).GetRowSpan(), 3);
  EXPECT_EQ(rows.GetRowCount(), 6);
  ExpectGridInvariants(rows);
}

TEST(RPTableRowsTest, InsertedRowsAndColumnsCopyTheirSource) {
  TTableInDocument t(2, 3);
  ASSERT_TRUE(t.Table->MergeCells(1, 0, 2, 1, true));  // (1,0) spans columns 0-1
  t.Cell(1, 0).SetCellColor(clWhite);
  t.Cell(1, 0).BestHeight = 30;
  TRPTableRows& rows = t.Table->Rows();
  rows.InsertRows(2, 1, 1, true);
  EXPECT_EQ(t.Cell(1, 0).BestHeight, 15);  // shared with its copy
  EXPECT_EQ(t.Cell(2, 0).GetCellColor(), clWhite);
  EXPECT_EQ(t.Cell(2, 0).GetColSpan(), 2);
  EXPECT_EQ(t.Cell(2, 0).BestHeight, 15);
  ExpectGridInvariants(rows);
  t.Cell(0, 2).BestWidth = 90;
  rows.InsertCols(3, 2, 2, true);
  EXPECT_EQ(t.Cell(0, 2).BestWidth, 30);
  EXPECT_EQ(t.Cell(0, 3).BestWidth, 30);
  EXPECT_EQ(rows.GetColCount(), 5);
  ExpectGridInvariants(rows);
}

TEST(RPTableRowsTest, DeletingRowsShrinksOrSplitsTheCellsSpanningThem) {
  {
    TTableInDocument t(3, 2);
    ASSERT_TRUE(t.Table->MergeCells(0, 0, 1, 3, true));
    t.Table->Rows().DeleteRows(1, 1, false);
    EXPECT_EQ(t.Cell(0, 0).GetRowSpan(), 2);
    ExpectGridInvariants(t.Table->Rows());
  }
  {
    TTableInDocument t(3, 2);
    ASSERT_TRUE(t.Table->MergeCells(0, 0, 1, 3, true));
    t.SetText(0, 0, "content");
    t.Cell(0, 0).SetCellColor(clWhite);
    t.Table->Rows().DeleteRows(0, 1, false);
    const TRPTableCellData& lower = t.Cell(0, 0);
    EXPECT_EQ(lower.GetRowSpan(), 2);
    EXPECT_EQ(lower.GetCellColor(), clWhite);
    EXPECT_FALSE(lower.HasContent(true));  // the content went with the deleted row
    ExpectGridInvariants(t.Table->Rows());
  }
}

TEST(RPTableRowsTest, BadIndexesRaiseAndChangeNothing) {
  TTableInDocument t(2, 2);
  TRPTableRows& rows = t.Table->Rows();
  const struct {
    const char* Name;
    void (*Run)(TRPTableRows&);
  } cases[] = {
      {"insert past the end", [](TRPTableRows& r) { r.InsertRows(3, 1, -1, false); }},
      {"copy index past the end", [](TRPTableRows& r) { r.InsertCols(0, 1, 2, false); }},
      {"delete nothing", [](TRPTableRows& r) { r.DeleteRows(0, 0, false); }},
      {"delete more than all", [](TRPTableRows& r) { r.DeleteCols(0, 3, false); }},
      {"delete at a negative index", [](TRPTableRows& r) { r.DeleteRows(-1, 1, false); }},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.Name);
    try {
      k.Run(rows);
      ADD_FAILURE();
    } catch (const ERichPaneError& e) {
      EXPECT_STREQ(e.what(), "Invalid row or column index");
    }
    EXPECT_EQ(rows.GetRowCount(), 2);
    EXPECT_EQ(rows.GetColCount(), 2);
  }
  rows.DeleteRows(1, 5, false);  // cut to the rows left
  EXPECT_EQ(rows.GetRowCount(), 1);
}

// Random merges, insertions and deletions keep the grid's invariants.
TEST(RPTableRowsTest, RandomEditsKeepTheInvariants) {
  std::mt19937 random(4242);
  auto pick = [&](int32_t n) { return static_cast<int32_t>(random() % static_cast<uint32_t>(n)); };
  for (int round = 0; round < 40; ++round) {
    TTableInDocument t(1 + pick(5), 1 + pick(5));
    TRPTableRows& rows = t.Table->Rows();
    for (int step = 0; step < 12 && !rows.IsEmpty(); ++step) {
      const int32_t r = rows.GetRowCount(), c = rows.GetColCount();
      switch (pick(5)) {
        case 0:
          t.Table->MergeCells(pick(r), pick(c), 1 + pick(3), 1 + pick(3), true);
          break;
        case 1:
          rows.InsertRows(pick(r + 1), 1 + pick(2), pick(r + 1) - 1, pick(2) == 0);
          break;
        case 2:
          rows.InsertCols(pick(c + 1), 1 + pick(2), pick(c + 1) - 1, pick(2) == 0);
          break;
        case 3:
          if (r > 1) rows.DeleteRows(pick(r), 1 + pick(2), pick(2) == 0);
          break;
        default:
          if (c > 1) rows.DeleteCols(pick(c), 1 + pick(2), pick(2) == 0);
          break;
      }
      ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(rows)) << "round " << round << " step " << step;
    }
  }
}

TEST(RPTableRowsTest, ColumnWidthQueriesReadSingleColumnCells) {
  TTableInDocument t(3, 3);
  t.Cell(0, 0).BestWidth = 40;
  t.Cell(1, 0).BestWidth = 60;
  t.Cell(0, 1).BestWidth = 40;
  t.Cell(1, 1).BestWidth = -25;
  t.Cell(2, 1).BestWidth = -50;
  t.Cell(0, 2).BestWidth = -10;
  ASSERT_TRUE(t.Table->MergeCells(1, 2, 1, 2, true));  // (1,2) spans rows 1-2
  const TRPTableRows& rows = t.Table->Rows();
  EXPECT_EQ(rows.GetPixelColWidth(0), 60);
  EXPECT_EQ(rows.GetPixelColWidth(1), 0);
  EXPECT_EQ(rows.GetPercentColWidth(1, 401), 200);
  EXPECT_EQ(rows.GetPercentColWidth(0, 401), 0);
  EXPECT_FALSE(rows.HasPercentWidth(0));
  EXPECT_TRUE(rows.HasPercentWidth(1));
  EXPECT_TRUE(rows.HasPercentWidth(2));
}

TEST(RPTableRowsTest, APercentCellSpanningColumnsCountsForItsLastColumn) {
  TTableInDocument t(2, 3);
  ASSERT_TRUE(t.Table->MergeCells(0, 0, 2, 1, true));
  t.Cell(0, 0).BestWidth = -50;
  const TRPTableRows& rows = t.Table->Rows();
  EXPECT_FALSE(rows.HasPercentWidth(0));
  EXPECT_TRUE(rows.HasPercentWidth(1));
  EXPECT_FALSE(rows.HasPercentWidth(2));
}

TEST(RPTableRowsTest, RowHeightsOfCellsNeverFormattedAreTen) {
  TTableInDocument t(1, 3);
  EXPECT_EQ(t.Table->Rows().GetRow(0)->GetMaxCellHeight(false), 10);
  t.Cell(0, 1).BestHeight = 25;
  EXPECT_EQ(t.Table->Rows().GetRow(0)->GetMaxCellHeight(false), 25);
  EXPECT_EQ(t.Table->Rows().GetRow(0)->GetMaxBestHeight(), 25);
}

TEST(RPTableRowsTest, RowGroupsFollowCellsSpanningRows) {
  // Rows 1-2 tied by a cell of column 0; rows 2-4 by a cell of column 1.
  TTableInDocument t(6, 2);
  ASSERT_TRUE(t.Table->MergeCells(1, 0, 1, 2, true));
  ASSERT_TRUE(t.Table->MergeCells(2, 1, 1, 3, true));
  const TRPTableItemInfo& table = *t.Table;
  const struct {
    int32_t Row, Start, End;
    bool NoSpanBelow;
  } cases[] = {{0, 0, 0, true}, {1, 1, 4, false}, {2, 1, 4, false}, {3, 1, 4, false}, {4, 1, 4, true}, {5, 5, 5, true}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.Row);
    EXPECT_EQ(table.GetRowGroupStart(k.Row), k.Start);
    EXPECT_EQ(table.GetRowGroupEnd(k.Row), k.End);
    EXPECT_EQ(table.NoRowSpanBelow(k.Row), k.NoSpanBelow);
  }
}

}  // namespace
