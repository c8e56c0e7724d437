// A table in a document laid out into pages by the report helper: its printing draw item
// is cut into parts by rows, and each page paints its part from the page's top.
#include <stdexcept>

#include <gtest/gtest.h>

#include "richtext/layout/print/RPPrintTestData.h"
#include "richtext/model/RPTestCanvas.h"
#include "richtext/table/RPTablePrint.h"

namespace {

// rows rows (six by default) of one line of text with the conversion's settings: rows of
// 15 pixels at 3, 23, ..., 103; the table of six is 125 high, with 10 pixels above the
// first row and below the last together.
TRPTableItemInfo& AddConversionTable(TReportFixture& f, int32_t rows = 6) {
  auto item = std::make_unique<TRPTableItemInfo>(rows, 2, &f.Data());
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
  for (int32_t r = 0; r < rows; ++r)
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

// The printing draw item of the document's first table.
const TRPTablePrintInfo& PrintedTable(TReportFixture& f) {
  for (int32_t i = 0; i < f.Data().DrawItems.Count(); ++i)
    if (const auto* info = dynamic_cast<const TRPTablePrintInfo*>(f.Data().DrawItems[i])) return *info;
  throw std::logic_error("no table among the draw items");
}

// The cell at (row, col) of a table cut for pages of pageHeight pixels: each part fits its
// page and shows a piece of the cell that takes up the lines where the piece before
// stopped, each line whole inside the piece's rows; together the pieces show every line
// of the cell once.
void ExpectEachLineOfTheCellOnce(const TRPTablePrintInfo& info, int32_t row, int32_t col, int32_t pageHeight) {
  const TCellPtblRPData& copy = *info.CellPrintData(row, col);
  int32_t next = 0;
  for (int32_t p = 0; p < info.PartCount(); ++p) {
    SCOPED_TRACE(p);
    EXPECT_LE(info.Part(p).Height, pageHeight);
    TRPTablePrintInfo::TCellPiece piece;
    ASSERT_TRUE(info.GetCellPiece(p, row, col, piece));
    EXPECT_EQ(piece.FirstDrawItem, next);
    for (int32_t i = piece.FirstDrawItem; i <= piece.LastDrawItem; ++i) {
      EXPECT_GE(copy.DrawItems[i]->Top, piece.ContentTop);
      EXPECT_LE(copy.DrawItems[i]->Top + copy.DrawItems[i]->Height - piece.ContentTop, piece.RowsHeight);
    }
    next = piece.LastDrawItem + 1;
  }
  EXPECT_EQ(next, copy.DrawItems.Count());
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
  const TRPTablePrintInfo& info = PrintedTable(f);
  ASSERT_GE(info.PartCount(), 3);
  EXPECT_EQ(pages, info.PartCount());
  ASSERT_EQ(info.CellPrintData(0, 0)->DrawItems.Count(), 12);
  // Each piece spans the part's rows, and takes up the lines where the one before stopped.
  for (int32_t p = 0; p < info.PartCount(); ++p) {
    SCOPED_TRACE(p);
    const TRPTablePrintPart& part = info.Part(p);
    TRPTablePrintInfo::TCellPiece piece;
    ASSERT_TRUE(info.GetCellPiece(p, 0, 0, piece));
    EXPECT_EQ(piece.FirstRow, part.StartRow);
    EXPECT_EQ(piece.LastRow, part.StartRow + part.RowCount - 1);
    EXPECT_EQ(piece.RowsHeight, info.FormattingInfo.RowStarts[piece.LastRow] +
                                    info.FormattingInfo.RowHeights[piece.LastRow] -
                                    info.FormattingInfo.RowStarts[piece.FirstRow]);
  }
  ExpectEachLineOfTheCellOnce(info, 0, 0, 90);
  // The first page shows the first lines, the second page the lines after them, at the
  // top of the cell.
  auto first = WhitePage(200, 90), second = WhitePage(200, 90);
  f.Helper.PaintPageAt(0, 0, 1, *first->Canvas(), false, 90);
  f.Helper.PaintPageAt(0, 0, 2, *second->Canvas(), false, 90);
  EXPECT_NE(Art(*first, 0), Art(*second, 0));
}

// A table of one row with the conversion's settings and rptoSplitRowGroups: its second
// cell, returned empty, is to be filled taller than a page.
TRPTableCellData& AddOneRowTableToSplit(TReportFixture& f) {
  TRPTableItemInfo& table = AddConversionTable(f, 1);
  table.PrintOptions |= rptoSplitRowGroups;
  TRPTableCellData& tall = *table.GetCell(0, 1);
  tall.Clear();
  return tall;
}

// Whether the art has a pixel that is neither white nor black (text) in the rectangle.
bool TextInkIn(const std::vector<std::string>& art, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  for (int32_t y = top; y < bottom; ++y)
    if (art[static_cast<size_t>(y)].substr(static_cast<size_t>(left), static_cast<size_t>(right - left)).find('?') !=
        std::string::npos)
      return true;
  return false;
}

// A table of one row taller than a page, with rptoSplitRowGroups: the row goes on over
// pages, each page showing the next lines of the tall cell from the top of its piece,
// whole and each once; the short cell beside it ends on the first page.
TEST(RPTableReportTest, ARowTallerThanAPageGoesOnBetweenTheLinesOfItsCells) {
  TReportFixture f;
  TRPTableCellData& tall = AddOneRowTableToSplit(f);
  for (int32_t i = 1; i <= 12; ++i) tall.AddRawText("Line " + std::to_string(i), 0, 0);
  const int32_t pages = f.Paginate({90});
  const TRPTablePrintInfo& info = PrintedTable(f);
  // Twelve lines of 15 pixels, five to a page.
  ASSERT_EQ(info.PartCount(), 3);
  EXPECT_EQ(pages, 3);
  ASSERT_EQ(info.CellPrintData(0, 1)->DrawItems.Count(), 12);
  ExpectEachLineOfTheCellOnce(info, 0, 1, 90);
  // Every part goes on with the row; the short cell's line is in the first piece, and
  // nothing after it.
  for (int32_t p = 0; p < info.PartCount(); ++p) {
    SCOPED_TRACE(p);
    EXPECT_EQ(info.Part(p).StartRow, 0);
    TRPTablePrintInfo::TCellPiece piece;
    ASSERT_TRUE(info.GetCellPiece(p, 0, 0, piece));
    EXPECT_EQ(piece.LastDrawItem - piece.FirstDrawItem + 1, p == 0 ? 1 : 0);
  }
  // Painted: the second page shows lines of the tall cell at the top of its piece, and
  // none in the short cell.
  auto first = WhitePage(200, 90), second = WhitePage(200, 90);
  f.Helper.PaintPageAt(0, 0, 1, *first->Canvas(), false, 90);
  f.Helper.PaintPageAt(0, 0, 2, *second->Canvas(), false, 90);
  const std::vector<std::string> a = Art(*first, 0), b = Art(*second, 0);
  const TRPTableItemFormattingInfo& layout = info.FormattingInfo;
  const int32_t lineTop = layout.RowStarts[0], shortLeft = layout.ColStarts[0], tallLeft = layout.ColStarts[1];
  EXPECT_TRUE(TextInkIn(a, shortLeft, lineTop, tallLeft - 2, lineTop + 15));
  EXPECT_TRUE(TextInkIn(a, tallLeft, lineTop, 198, lineTop + 15));
  EXPECT_FALSE(TextInkIn(b, shortLeft, 0, tallLeft - 2, 90));
  EXPECT_TRUE(TextInkIn(b, tallLeft, lineTop, 198, lineTop + 15));
}

// A picture taller than a page in a row cut inside (rptoSplitRowGroups): it fits no page,
// so each page shows the next slice of it, as high as the page's room for the row, and
// the line after it goes on below the last slice; no row of the picture is lost or shown
// twice, and the pages end.
TEST(RPTableReportTest, APictureTallerThanAPageInACellGoesOnInSlices) {
  TReportFixture f;
  TRPTableCellData& tall = AddOneRowTableToSplit(f);
  tall.AddItem("", std::make_unique<TBlockItem>(&tall, 20, 200, Red));
  tall.AddRawText("End", 0, 0);
  const int32_t pages = f.Paginate({90});
  const TRPTablePrintInfo& info = PrintedTable(f);
  ASSERT_EQ(pages, 3);
  ASSERT_EQ(info.PartCount(), 3);
  int32_t redRows = 0, sliceTop = 0;
  for (int32_t p = 0; p < 3; ++p) {
    SCOPED_TRACE(p);
    TRPTablePrintInfo::TCellPiece piece;
    ASSERT_TRUE(info.GetCellPiece(p, 0, 1, piece));
    EXPECT_EQ(piece.FirstDrawItem, 0);
    EXPECT_EQ(piece.ContentTop, sliceTop);
    EXPECT_EQ(piece.LastDrawItem, p < 2 ? 0 : 1);  // "End" on the last page
    sliceTop = piece.ContentBottom;
    auto page = WhitePage(200, 90);
    f.Helper.PaintPageAt(0, 0, p + 1, *page->Canvas(), false, 90);
    const std::vector<std::string> art = Art(*page, Red);
    const int32_t x = info.FormattingInfo.ColStarts[1] + 10;
    for (const std::string& row : art) redRows += row[static_cast<size_t>(x)] == '#' ? 1 : 0;
    if (p == 2) {
      const int32_t lineTop = info.FormattingInfo.RowStarts[0] + 200 - piece.ContentTop;
      EXPECT_TRUE(TextInkIn(art, info.FormattingInfo.ColStarts[1], lineTop, 198, lineTop + 15));
    }
  }
  EXPECT_EQ(redRows, 200);
}

// A paragraph kept with a table whose row does not fit the rest of the page goes to the
// next page, and the table is met again there: it starts its parts afresh, so the page
// that begins with it shows the first part as cut for that page, not the whole table of
// the start left behind.
TEST(RPTableReportTest, ATableMetAgainAfterTheBreakMovedBackStartsItsPartsAfresh) {
  TReportFixture f;
  const int32_t kept = f.AddParaStyle();
  f.Para(kept).Options.Include(rppaoKeepWithNext);
  f.Data().AddAnsiText("First", 0, TRPTag(), 0);
  f.Data().AddAnsiText("Kept with the table", 0, TRPTag(), kept);
  TRPTableCellData& tall = AddOneRowTableToSplit(f);
  for (int32_t i = 1; i <= 12; ++i) tall.AddRawText("Line " + std::to_string(i), 0, 0);
  const int32_t pages = f.Paginate({90});
  const TRPTablePrintInfo& info = PrintedTable(f);
  // "First"; "Kept with the table" (the table does not fit below it either); the table.
  EXPECT_EQ(pages, 2 + info.PartCount());
  EXPECT_EQ(f.Helper.GetPagesCount(), pages);
  ExpectEachLineOfTheCellOnce(info, 0, 1, 90);
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
