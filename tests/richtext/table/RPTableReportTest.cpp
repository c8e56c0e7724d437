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
