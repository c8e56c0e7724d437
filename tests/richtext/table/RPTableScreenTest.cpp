// A table on the screen without an editor: the cell selection and its bounds over merged
// cells, what lies under the mouse and the cursor shown there, the selected cells'
// colour, the cell that becomes the document's active child, what lies under a cell for
// its editor, and halftone borders printed on a device finer than the screen.
#include <gtest/gtest.h>

#include <vector>

#include "platform/base/Cursors.h"
#include "richtext/model/RPTestCanvas.h"
#include "richtext/table/RPTablePrint.h"
#include "richtext/table/RPTableTestData.h"

namespace {

struct TScreenTable : TTableInDocument {
  TScreenTable(int32_t rows, int32_t cols) : TTableInDocument(rows, cols) {
    Data.Options = rpoAllowSelection;
    Data.Width = 300;
    Data.FormatDocument();
  }
  std::vector<int32_t> Bounds() {
    int32_t top = -1, left = -1, rows = 0, cols = 0;
    if (!Table->GetSelectionBounds(top, left, rows, cols, false)) return {};
    return {top, left, rows, cols};
  }
  std::string SelectedFlags() {
    std::string out;
    for (int32_t r = 0; r < Table->Rows().GetRowCount(); ++r) {
      for (int32_t c = 0; c < Table->Rows().GetColCount(); ++c)
        out += !Table->GetCell(r, c) ? '-' : Table->GetCell(r, c)->Selected ? '#' : '.';
      out += '/';
    }
    return out;
  }
};

TEST(RPTableScreenTest, TheSelectedBlockIsWidenedByTheSpansOfItsCornerCells) {
  TScreenTable t(4, 4);
  t.Table->MergeCells(1, 1, 2, 2, false);  // (1,1) covers rows 1-2, columns 1-2
  t.Data.FormatDocument();
  // From (0,0) to (1,1): the merged corner cell reaches to row 2 and column 2.
  t.Table->Select(0, 0, 1, 1);
  EXPECT_EQ(t.Bounds(), (std::vector<int32_t>{0, 0, 3, 3}));
  EXPECT_EQ(t.SelectedFlags(), "###./##-./#--./..../");
  EXPECT_TRUE(t.Table->HasCellSelection());
  EXPECT_EQ(t.Data.GetInnerSelectionItem(), t.Table);
  // Extents may run leftwards and upwards.
  t.Table->Select(3, 3, -1, -2);
  EXPECT_EQ(t.Bounds(), (std::vector<int32_t>{1, 1, 3, 3}));
  t.Table->SelectRows(3, 1);
  EXPECT_EQ(t.SelectedFlags(), "..../..-./.--./####/");
  t.Table->SelectCols(0, 1);
  EXPECT_EQ(t.Bounds(), (std::vector<int32_t>{0, 0, 4, 1}));
  t.Table->RemoveCellSelection();
  EXPECT_FALSE(t.Table->HasCellSelection());
  EXPECT_EQ(t.Bounds(), std::vector<int32_t>{});
  EXPECT_EQ(t.SelectedFlags(), "..../..-./.--./..../");
}

TEST(RPTableScreenTest, ACellSelectionStartsOnlyWhereTheDocumentAllowsIt) {
  TScreenTable t(2, 2);
  t.Data.Options = 0;
  EXPECT_FALSE(t.Table->SelectCell(0, 0));
  t.Data.Options = rpoAllowSelection;
  t.Table->Options |= rptoNoCellSelect;
  EXPECT_FALSE(t.Table->SelectCell(0, 0));
  t.Table->Options &= static_cast<TRPTableOptions>(~rptoNoCellSelect);
  ASSERT_TRUE(t.Table->SelectCell(1, 0));
  // The anchor alone is no selection yet.
  EXPECT_FALSE(t.Table->HasCellSelection());
  EXPECT_EQ(t.Table->GetSelAnchorRow(), 1);
  // The document dropping its selection drops the table's.
  t.Table->Select(0, 0, 1, 1);
  t.Data.Deselect(nullptr, false);
  EXPECT_FALSE(t.Table->HasCellSelection());
  EXPECT_EQ(t.Table->GetSelAnchorRow(), -1);
}

TEST(RPTableScreenTest, TheMouseFindsCellsBordersAndEdgesWithTheirCursors) {
  TScreenTable t(2, 2);
  const TRPTableItemFormattingInfo& info = t.Table->FormattingInfo();
  const TRPTableCellData& cell = t.Cell(1, 1);
  struct TCase {
    const char* Name;
    int32_t X, Y;
    int32_t Row, Col, ColBorder, RowBorder;
    bool Left, Top;
    TCursor Cursor;
  };
  const int32_t midX = cell.Left + cell.Width / 2, midY = cell.Top + cell.Height / 2;
  const TCase cases[] = {
      {"inside a cell", midX, midY, 1, 1, -1, -1, false, false, crArrow},
      {"a cell's first pixel is its edge", cell.Left, midY, -1, -1, 1, -1, false, false, crArrow},
      {"the inner column border", info.ColStarts[1] - 1, midY, -1, -1, 1, -1, false, false, crArrow},
      {"the inner row border", midX, info.RowStarts[1] - 1, -1, -1, -1, 1, false, false, crArrow},
      {"the left outer border", 1, midY, -1, -1, -1, -1, true, false, crRPTableSelectRow},
      {"the top outer border", midX, 1, -1, -1, -1, -1, false, true, crRPTableSelectCol},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TRPTableItemInfo::THitTest hit = t.Table->HitTest(c.X, c.Y);
    EXPECT_EQ(hit.Row, c.Row);
    EXPECT_EQ(hit.Col, c.Col);
    EXPECT_EQ(hit.ColBorder, c.ColBorder);
    EXPECT_EQ(hit.RowBorder, c.RowBorder);
    EXPECT_EQ(hit.LeftEdge, c.Left);
    EXPECT_EQ(hit.TopEdge, c.Top);
    // Outside an editor borders do not resize: the arrow stays.
    EXPECT_EQ(t.Table->GetCursorAt(c.X, c.Y), c.Cursor);
  }
  // Without selection in the document the edges select nothing.
  t.Data.Options = 0;
  EXPECT_EQ(t.Table->GetCursorAt(1, midY), crArrow);
  // The program's cursors stand under the numbers tables show them by.
  EXPECT_NE(FindScreenCursor(crRPTableSelectRow), nullptr);
  EXPECT_NE(FindScreenCursor(crRPTableSelectCol), nullptr);
}

TEST(RPTableScreenTest, AMousePressOutsideAnEditorChoosesTheCellAndDragsSelectCells) {
  TScreenTable t(3, 3);
  int32_t left = 0, top = 0;
  ASSERT_TRUE(t.Data.GetItemCoords(0, left, top));
  auto at = [&](int32_t r, int32_t c) {
    const TRPTableCellData& cell = t.Cell(r, c);
    return TPoint{left + cell.Left + cell.Width / 2, top + cell.Top + cell.Height / 2};
  };
  TPoint p = at(0, 1);
  t.Data.MouseDown(mbLeft, ssLeft, p.X, p.Y);
  EXPECT_EQ(t.Table->GetChosenRow(), 0);
  EXPECT_EQ(t.Table->GetChosenCol(), 1);
  EXPECT_EQ(t.Table->GetSelAnchorCol(), 1);
  p = at(2, 2);
  t.Data.MouseMove(ssLeft, p.X, p.Y);
  t.Data.MouseUp(mbLeft, 0, p.X, p.Y);
  EXPECT_EQ(t.Bounds(), (std::vector<int32_t>{0, 1, 3, 2}));
  // Outside an editor a border press resizes nothing.
  const int32_t before = t.Table->FormattingInfo().ColWidths[0];
  t.Data.MouseDown(mbLeft, ssLeft, left + t.Table->FormattingInfo().ColStarts[1] - 1, p.Y);
  EXPECT_FALSE(t.Table->IsResizing());
  EXPECT_EQ(t.Table->FormattingInfo().ColWidths[0], before);
}

TEST(RPTableScreenTest, SelectedCellsShowTheSelectionColourOnTheScreenOnly) {
  TScreenTable t(1, 2);
  t.Table->SetColor(clWhite);
  t.Table->Select(0, 1, 0, 0);
  const TRPTableItemFormattingInfo& info = t.Table->FormattingInfo();
  auto screen = WhitePage(info.Width, info.Height);
  t.Table->PaintTable(*screen->Canvas(), 0, 0, TRect{0, 0, info.Width, info.Height}, false, 0, -1, false, info,
                      rpcmColor);
  const TRPTableCellData& selected = t.Cell(0, 1);
  const TRPTableCellData& other = t.Cell(0, 0);
  EXPECT_EQ(screen->PixelColor(selected.Left + 1, selected.Top + 1), ColorToRGB(t.Data.Style.InactiveSelColor));
  EXPECT_EQ(screen->PixelColor(other.Left + 1, other.Top + 1), clWhite);
  TRPTablePrintInfo print(*t.Table, TRPResolution{});
  print.LayOut(info.Width, t.Data.Canvas);
  auto page = WhitePage(print.Width, print.Height);
  print.Print(*page->Canvas(), 0, 0, -1, TRect{0, 0, print.Width, print.Height}, rpcmColor);
  EXPECT_EQ(page->PixelColor(selected.Left + 1, selected.Top + 1), clWhite);
}

TEST(RPTableScreenTest, ChoosingACellMakesItTheDocumentsActiveChild) {
  TScreenTable t(2, 2);
  t.SetText(1, 0, "hello");
  t.Table->Changed();
  t.Data.FormatDocument();
  t.Table->ChooseCell(1, 0);
  EXPECT_EQ(t.Table->GetChosenRow(), 1);
  EXPECT_EQ(t.Data.GetInnerSelectionItem(), t.Table);
  int32_t startItem = -1, endItem = -1, startOffs = 0, endOffs = 0;
  t.Data.GetSelectionBounds(startItem, endItem, startOffs, endOffs, false);
  EXPECT_EQ((std::vector<int32_t>{startItem, startOffs, endItem, endOffs}), (std::vector<int32_t>{0, 1, 0, 1}));
  // The chosen cell's document with a selection of its own.
  t.Cell(1, 0).SetSelectionBounds(0, 1, 0, 3);
  EXPECT_EQ(t.Table->GetChosenRow(), 1);
  EXPECT_TRUE(t.Table->ChosenCellHasSelection());
  // Dropping the chosen cell drops its selection.
  t.Table->DropChosenCell();
  EXPECT_EQ(t.Table->GetChosenRow(), -1);
  EXPECT_FALSE(t.Table->ChosenCellHasSelection());
  t.Table->ChooseCell(0, 1);
  t.Table->DetachChosenEditor();
  EXPECT_EQ(t.Table->GetChosenCol(), -1);
  // No editor: entering the table opens nothing and fails for no column under x.
  EXPECT_FALSE(t.Table->CreateInplaceEditor(-1, 0, 0, true, false, false, true));
  EXPECT_EQ(t.Table->GetInplaceEditor(), nullptr);
  EXPECT_FALSE(t.Table->EnterTable(2, -50));
}

TEST(RPTableScreenTest, UnderACellLiesTheTablesColourOrNothing) {
  TScreenTable t(1, 1);
  t.Table->SetColor(Red);
  auto bitmap = WhitePage(10, 10);
  t.Table->DrawBackgroundUnderCell(*bitmap->Canvas(), TRect{0, 0, 10, 10}, 0, 0);
  EXPECT_EQ(bitmap->PixelColor(5, 5), Red);
  t.Table->SetColor(clNone);
  bitmap = WhitePage(10, 10);
  t.Table->DrawBackgroundUnderCell(*bitmap->Canvas(), TRect{0, 0, 10, 10}, 0, 0);
  EXPECT_EQ(bitmap->PixelColor(5, 5), clWhite);
}

// A raised border of width 2 in red: printed with halftone borders it is one line along
// the middle of its band; on a device finer than the screen that line is one pixel wider
// than the band and moved up and left by one.
TEST(RPTableScreenTest, HalftoneBordersAreOneLineOnePixelWiderOnFinerDevices) {
  TScreenTable t(1, 1);
  t.Table->SetColor(clWhite);
  t.Table->SetBorderWidth(2);
  t.Table->SetBorderStyle(rptbRaisedColor);
  t.Table->SetBorderColor(Red);
  t.Table->SetBorderLightColor(Red);
  auto print = [&](int32_t devicePpi) {
    TRPTablePrintInfo info(*t.Table, TRPResolution{96, 96, devicePpi, devicePpi});
    info.LayOut(100 * devicePpi / 96, t.Data.Canvas);
    auto page = WhitePage(info.Width, info.Height);
    info.Print(*page->Canvas(), 0, 0, -1, TRect{0, 0, info.Width, info.Height}, rpcmColor);
    return Art(*page, Red);
  };
  std::vector<std::string> art = print(96);
  EXPECT_EQ(art[0][10], '.');  // the band's outer row stays empty
  EXPECT_EQ(art[1][10], '#');
  EXPECT_EQ(art[2][10], '.');
  art = print(192);  // the band is 4 device pixels: a line of 5 from row -1
  EXPECT_EQ(art[0][20], '#');
  EXPECT_EQ(art[3][20], '#');
  EXPECT_EQ(art[4][20], '.');
  const size_t right = art[20].size() - 1;
  EXPECT_EQ(art[20][right], '.');  // moved left by one
  EXPECT_EQ(art[20][right - 1], '#');
  t.Table->PrintOptions = rptoRowsSplit;  // without halftone: the band in lines of one pixel
  art = print(192);
  EXPECT_EQ(art[20][right], '#');
}

}  // namespace
