// A table in a document laid out into pages by the report helper: its printing draw item
// is cut into parts by rows, and each page paints its part from the page's top.
#include <gtest/gtest.h>

#include "richtext/layout/print/RPPrintTestData.h"
#include "richtext/model/RPTestCanvas.h"
#include "richtext/table/RPTablePrint.h"

namespace {

// Six rows of one line of text with the conversion's settings: rows of 15 pixels at 3,
// 23, ..., 103; the table is 125 high, with 10 pixels above the first row and below the
// last together.
TRPTableItemInfo& AddConversionTable(TReportFixture& f) {
  auto item = std::make_unique<TRPTableItemInfo>(6, 2, &f.Data());
  TRPTableItemInfo& table = *item;
  f.Data().AddItem("", std::move(item));
  table.SetBorderStyle(rptbColor);
  table.SetCellBorderStyle(rptbColor);
  table.SetCellBorderColor(0);
  table.SetCellBorderWidth(1);
  table.SetCellPadding(2);
  table.SetCellVSpacing(-1);
  table.SetCellHSpacing(-1);
  table.SetBestWidth(-100);
  table.SetColor(clWhite);
  for (int32_t r = 0; r < 6; ++r)
    for (int32_t c = 0; c < 2; ++c) {
      TRPTableCellData& cell = *table.GetCell(r, c);
      cell.Clear();
      cell.AddRawText("x", 0, 0);
    }
  return table;
}

TEST(RPTableReportTest, ATableIsSplitOverPagesByRows) {
  TReportFixture f;
  AddConversionTable(f);
  EXPECT_EQ(f.Paginate({60}), 3);
  const auto& info = dynamic_cast<const TRPTablePrintInfo&>(*f.Data().DrawItems[0]);
  EXPECT_EQ(info.Width, 200);
  EXPECT_EQ(info.Height, 125);
  ASSERT_EQ(info.PartCount(), 3);
  for (int32_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(info.Part(i).StartRow, 2 * i);
    EXPECT_EQ(info.Part(i).RowCount, 2);
    EXPECT_EQ(info.Part(i).Height, 45);
  }
}

// Rows 1-3 tied by a cell spanning them go to the second page together.
TEST(RPTableReportTest, ARowGroupMovesToTheNextPageWhole) {
  TReportFixture f;
  TRPTableItemInfo& table = AddConversionTable(f);
  ASSERT_TRUE(table.MergeCells(1, 1, 1, 3, true));
  EXPECT_EQ(f.Paginate({60}), 3);
  const auto& info = dynamic_cast<const TRPTablePrintInfo&>(*f.Data().DrawItems[0]);
  ASSERT_EQ(info.PartCount(), 3);
  const int32_t starts[] = {0, 1, 4}, counts[] = {1, 3, 2};
  for (int32_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(info.Part(i).StartRow, starts[i]);
    EXPECT_EQ(info.Part(i).RowCount, counts[i]);
  }
}

// Page 2 shows rows 2 and 3 where rows 0 and 1 stand on page 1.
TEST(RPTableReportTest, EachPagePaintsItsRowsFromTheTablesTop) {
  TReportFixture f;
  AddConversionTable(f);
  ASSERT_EQ(f.Paginate({60}), 3);
  auto first = WhitePage(200, 60), second = WhitePage(200, 60);
  f.Helper.PaintPageAt(0, 0, 1, *first->Canvas(), false, 60);
  f.Helper.PaintPageAt(0, 0, 2, *second->Canvas(), false, 60);
  const std::vector<std::string> a = Art(*first, 0), b = Art(*second, 0);
  for (int32_t y : {1, 2, 22, 42, 43}) EXPECT_EQ(b[static_cast<size_t>(y)], a[static_cast<size_t>(y)]) << y;
  EXPECT_EQ(b[2].substr(0, 4), "..##");
  EXPECT_EQ(b[44], std::string(200, '.'));
}

// With a heading row, every page shows it above its own body rows.
TEST(RPTableReportTest, TheHeadingRowIsRepeatedOnEveryPage) {
  TReportFixture f;
  TRPTableItemInfo& table = AddConversionTable(f);
  table.SetHeadingRowCount(1);
  for (int32_t r = 0; r < 6; ++r) {
    TRPTableCellData& cell = *table.GetCell(r, 0);
    cell.Clear();
    cell.AddRawText(r == 0 ? "Head" : "Row " + std::to_string(r), 0, 0);
  }
  EXPECT_EQ(f.Paginate({60}), 5);
  const auto& info = dynamic_cast<const TRPTablePrintInfo&>(*f.Data().DrawItems[0]);
  ASSERT_EQ(info.PartCount(), 5);
  EXPECT_EQ(info.Part(0).StartRow, 1);
  EXPECT_EQ(info.Part(0).Height, 45);  // the heading row's space counts
  auto first = WhitePage(200, 60), second = WhitePage(200, 60);
  f.Helper.PaintPageAt(0, 0, 1, *first->Canvas(), false, 60);
  f.Helper.PaintPageAt(0, 0, 2, *second->Canvas(), false, 60);
  const std::vector<std::string> a = Art(*first, 0), b = Art(*second, 0);
  const std::vector<std::string> headA(a.begin(), a.begin() + 23), headB(b.begin(), b.begin() + 23);
  EXPECT_EQ(headA, headB);
  const std::vector<std::string> bodyA(a.begin() + 23, a.begin() + 42), bodyB(b.begin() + 23, b.begin() + 42);
  EXPECT_NE(bodyA, bodyB);
  EXPECT_EQ(b[42], a[42]);  // the body row's bottom border
}

// A cell spanning the six rows of a table taller than a page, its text (twelve lines)
// taller than a page too, with rptoSplitRowGroups: the rows go on over pages, and each
// page shows the next lines of the cell from the top of its piece, whole and each once.
TEST(RPTableReportTest, ACellSpanningRowsOverPagesShowsEachOfItsLinesOnce) {
  TReportFixture f;
  TRPTableItemInfo& table = AddConversionTable(f);
  table.PrintOptions |= rptoSplitRowGroups;
  ASSERT_TRUE(table.MergeCells(0, 0, 1, 6, true));
  TRPTableCellData& spanning = *table.GetCell(0, 0);
  spanning.Clear();
  for (int32_t i = 1; i <= 12; ++i) spanning.AddRawText("Line " + std::to_string(i), 0, 0);
  const int32_t pages = f.Paginate({90});
  const auto& info = dynamic_cast<const TRPTablePrintInfo&>(*f.Data().DrawItems[0]);
  ASSERT_GE(info.PartCount(), 3);
  EXPECT_EQ(pages, info.PartCount());
  const TCellPtblRPData& copy = *info.CellPrintData(0, 0);
  ASSERT_EQ(copy.DrawItems.Count(), 12);
  int32_t next = 0;
  for (int32_t p = 0; p < info.PartCount(); ++p) {
    SCOPED_TRACE(p);
    const TRPTablePrintPart& part = info.Part(p);
    EXPECT_LE(part.Height, 90);
    TRPTablePrintInfo::TCellPiece piece;
    ASSERT_TRUE(info.GetCellPiece(p, 0, 0, piece));
    EXPECT_EQ(piece.FirstRow, part.StartRow);
    EXPECT_EQ(piece.LastRow, part.StartRow + part.RowCount - 1);
    // The piece takes up the lines where the one before stopped, whole.
    EXPECT_EQ(piece.FirstDrawItem, next);
    const int32_t room = info.FormattingInfo.RowStarts[piece.LastRow] + info.FormattingInfo.RowHeights[piece.LastRow] -
                         info.FormattingInfo.RowStarts[piece.FirstRow];
    for (int32_t i = piece.FirstDrawItem; i <= piece.LastDrawItem; ++i) {
      EXPECT_GE(copy.DrawItems[i]->Top, piece.ContentTop);
      EXPECT_LE(copy.DrawItems[i]->Top + copy.DrawItems[i]->Height - piece.ContentTop, room);
    }
    next = piece.LastDrawItem + 1;
  }
  EXPECT_EQ(next, 12);
  // The first page shows the first lines, the second page the lines after them, at the
  // top of the cell.
  auto first = WhitePage(200, 90), second = WhitePage(200, 90);
  f.Helper.PaintPageAt(0, 0, 1, *first->Canvas(), false, 90);
  f.Helper.PaintPageAt(0, 0, 2, *second->Canvas(), false, 90);
  EXPECT_NE(Art(*first, 0), Art(*second, 0));
}

// A table that shrinks to a page narrower than its words: each cell's printable copy
// (what the page paints) wraps and breaks the words inside the cell, as the cell was
// measured, and its row is as tall as the copy's lines.
TEST(RPTableReportTest, AShrunkTablesCellsWrapOnThePageAsTheirRowsMeasure) {
  TReportFixture f(120);
  TRPTableItemInfo& table = AddConversionTable(f);
  table.Options |= rptoShrinkToWidth;
  for (int32_t r = 0; r < 6; ++r)
    for (int32_t c = 0; c < 2; ++c) {
      TRPTableCellData& cell = *table.GetCell(r, c);
      cell.Clear();
      cell.AddRawText(r == 0 ? "Significance" : "Two words", 0, 0);
    }
  ASSERT_EQ(f.Paginate({400}), 1);
  const auto& info = dynamic_cast<const TRPTablePrintInfo&>(*f.Data().DrawItems[0]);
  EXPECT_EQ(info.Width, 120);
  for (int32_t r = 0; r < 6; ++r) {
    int32_t lines = 0;
    for (int32_t c = 0; c < 2; ++c) {
      SCOPED_TRACE(testing::Message() << "cell " << r << "," << c);
      const TCellPtblRPData& copy = *info.CellPrintData(r, c);
      ASSERT_GT(copy.DrawItems.Count(), 1);  // wrapped
      for (int32_t i = 0; i < copy.DrawItems.Count(); ++i)
        EXPECT_LE(copy.DrawItems[i]->Left + copy.DrawItems[i]->Width, copy.Width);
      EXPECT_LE(copy.DocumentHeight, info.FormattingInfo.RowHeights[r]);
      lines = std::max(lines, copy.DocumentHeight);
    }
    EXPECT_EQ(info.FormattingInfo.RowHeights[r], lines) << r;
  }
}

}  // namespace
