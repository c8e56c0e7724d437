// Cells and tables as parts of the document that holds them: item notifications, the
// cells' offsets in the client area, their place as the parent's location, the
// outermost item, the selection around a table, hyperlinks inside cells, the layers
// under a cell's items, and the dotted grid lines.
#include <gtest/gtest.h>

#include "richtext/layout/view/RPViewTestData.h"
#include "richtext/model/RPTestCanvas.h"
#include "richtext/table/RPTableCells.h"
#include "richtext/table/RPTableTestData.h"

namespace {

TEST(RPTableDocumentTest, CellItemsNotifyTheTablesDocumentOrTheHoldersWhileHeld) {
  TTestRichPane view;
  std::vector<std::pair<TRPItemAction, TCustomRPItemInfo*>> seen;
  view.Pane.OnItemAction = [&](TCustomRichPane*, TRPItemAction action, TCustomRPItemInfo* item, AnsiString&,
                               TCustomRPData*) { seen.emplace_back(action, item); };
  auto owned = std::make_unique<TRPTableItemInfo>(1, 2, &view.Pane.RPData());
  TRPTableItemInfo& table = *owned;
  view.Pane.AddItem("", std::move(owned));
  TRPTableCellData& cell = *table.GetCell(0, 1);
  TCustomRPItemInfo* item = cell.GetItem(0);
  seen.clear();
  // Taken out of the grid: the items hear of the move through the table's document,
  // then the cell answers from the holder's document.
  TTestFormattedData holderData;
  holderData.Options = rpoShowCheckpoints;
  TRPTableCellsHolder holder;
  holder.RPData = &holderData;
  table.Rows().DetachCells(0, 1, 1, 1, holder);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], std::make_pair(rpiaMovingToUndoList, item));
  EXPECT_EQ(cell.GetOptions(), rpoShowCheckpoints);
  EXPECT_EQ(cell.GetTable(), nullptr);
  seen.clear();
  cell.Clear();  // told to the holder's document, which keeps no record
  EXPECT_TRUE(seen.empty());
  cell.AddRawText("", 0, 0);
  table.Rows().AttachCells(0, 1, 1, 1);
  EXPECT_EQ(cell.GetTable(), &table);
  cell.Clear();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].first, rpiaDestroying);
}

// The cell's content lies in its document's client area at the table's position, plus
// the cell's place, its padding and its vertical-alignment offset.
TEST(RPTableDocumentTest, CellOffsetsPlaceTheirContentInTheClientArea) {
  TTableInDocument t(2, 2);
  t.Data.AddAnsiText("above", 0, TRPTag(), 0);
  t.Data.HOffs = 3;
  t.Data.VOffs = 7;
  t.Table->SetCellPadding(4);
  t.SetText(1, 1, "x");
  t.Cell(1, 1).BestHeight = 40;
  t.Cell(1, 1).VAlign = rpcBottom;
  t.Data.FormatAll();
  t.Table->UpdatePosition();
  int32_t tableLeft = 0, tableTop = 0;
  ASSERT_TRUE(t.Data.GetItemClientCoords(0, tableLeft, tableTop));
  EXPECT_EQ(t.Table->GetPosition(), (TPoint{tableLeft, tableTop}));
  TRPTableCellData& cell = t.Cell(1, 1);
  EXPECT_GT(cell.GetVAlignOffset(), 0);
  int32_t left = 0, top = 0;
  ASSERT_TRUE(cell.GetItemClientCoords(0, left, top));
  const TRPDrawLineInfo& d = *cell.DrawItems[0];
  EXPECT_EQ(left, tableLeft + cell.Left + 4 + d.Left);
  EXPECT_EQ(top, tableTop + cell.Top + 4 + cell.GetVAlignOffset() + d.Top);
  // The same place as the cell's origin in the document, less the scroll offsets.
  EXPECT_EQ(left, cell.GetOrigin().X + d.Left - 3);
  EXPECT_EQ(top, cell.GetOrigin().Y + d.Top - 7);
}

TEST(RPTableDocumentTest, CellsKnowTheirPlaceAndTablesTheirOutermostItem) {
  TTableInDocument t(2, 2);
  t.Data.AddAnsiText("after", 0, TRPTag(), 0);
  TRPTableCellData& outer = t.Cell(1, 0);
  outer.AddAnsiText("x", 0, TRPTag(), 0);
  auto owned = std::make_unique<TRPTableItemInfo>(1, 2, &outer);
  TRPTableItemInfo& inner = *owned;
  outer.AddItem("", std::move(owned));
  std::unique_ptr<TRPStoreSubRPData> location;
  EXPECT_EQ(outer.GetParentInfo(location), 0);
  const auto* place = dynamic_cast<const TRPTableStoreSubRPData*>(location.get());
  ASSERT_NE(place, nullptr);
  EXPECT_EQ(place->Row, 1);
  EXPECT_EQ(place->Col, 0);
  EXPECT_EQ(inner.GetItemNo(), 2);
  EXPECT_EQ(inner.GetRootItemNo(), 0);
  EXPECT_EQ(t.Table->GetRootItemNo(), 0);
  // Positions in cells compare through their table: by row, then column, and before
  // what follows the table.
  EXPECT_LT(t.Cell(0, 1).ComparePositions(0, &outer, 0), 0);
  EXPECT_LT(inner.GetCell(0, 0)->ComparePositions(0, &t.Data, 1), 0);
  EXPECT_GT(inner.GetCell(0, 1)->ComparePositions(0, &outer, 0), 0);
  TTestFormattedData alone;
  TRPTableCellData loose(nullptr);
  EXPECT_EQ(loose.GetParentInfo(location), -1);
  EXPECT_EQ(location, nullptr);
}

TEST(RPTableDocumentTest, ATableIsWhollySelectedWhenTheSelectionRunsOverIt) {
  TTableInDocument t(1, 1);
  t.Data.AddAnsiText("after", 0, TRPTag(), 0);
  t.Data.FormatAll();
  const struct {
    int32_t StartItem, StartOffs, EndItem, EndOffs;
    bool Wholly;
  } cases[] = {
      {0, 0, 0, 1, true}, {0, 0, 1, 3, true}, {0, 1, 1, 3, false}, {0, 0, 0, 0, false}, {1, 1, 1, 3, false},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << k.StartItem << "," << k.StartOffs << " - " << k.EndItem << "," << k.EndOffs);
    t.Data.SetSelectionBounds(k.StartItem, k.StartOffs, k.EndItem, k.EndOffs);
    EXPECT_EQ(t.Table->IsWhollySelected(), k.Wholly);
  }
  t.Data.Deselect(false);
  EXPECT_FALSE(t.Table->IsWhollySelected());
  // A table inside a selected cell is selected with it.
  auto owned = std::make_unique<TRPTableItemInfo>(1, 1, &t.Cell(0, 0));
  TRPTableItemInfo& inner = *owned;
  t.Cell(0, 0).AddItem("", std::move(owned));
  EXPECT_FALSE(inner.IsWhollySelected());
  t.Cell(0, 0).Selected = true;
  EXPECT_TRUE(inner.IsWhollySelected());
}

// Hyperlinks inside cells are the document's, numbered in reading order after those
// before the table, at the place of their draw items.
TEST(RPTableDocumentTest, HyperlinksInCellsJoinTheDocumentsAreas) {
  TTableInDocument t(2, 2);
  t.Data.Flags |= rpdfUseJumps;
  const int32_t link = t.Data.AddTextStyle();
  t.Data.Font(link).Jump = true;
  t.Data.AddAnsiText("link", link, TRPTag(), 0);
  t.Cell(0, 1).Clear();
  t.Cell(0, 1).AddAnsiText("b", link, TRPTag(), 0);
  t.Cell(1, 0).Clear();
  t.Cell(1, 0).AddAnsiText("c", link, TRPTag(), 0);
  t.Cell(1, 0).VAlign = rpcBottom;
  t.Cell(1, 0).BestHeight = 50;
  t.Data.FormatAll();
  ASSERT_EQ(t.Data.Jumps.size(), 3u);
  const TRPTableCellData* cells[] = {&t.Cell(0, 1), &t.Cell(1, 0)};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    const TRPJumpInfo& area = *t.Data.Jumps[static_cast<size_t>(i)];
    const TRPTableCellData& cell = *cells[i];
    EXPECT_EQ(area.JumpNo, i);
    EXPECT_EQ(area.RPData, &cell);
    EXPECT_EQ(cell.GetItem(0)->JumpID, i);
    const TRPDrawLineInfo& d = *cell.DrawItems[0];
    const TRPDrawLineInfo& tableItem = *t.Data.DrawItems[0];
    EXPECT_EQ(area.Left, tableItem.Left + cell.Left + t.Table->GetCellPadding() + d.Left);
    EXPECT_EQ(area.Top, tableItem.Top + cell.Top + t.Table->GetCellPadding() + cell.GetVAlignOffset() + d.Top);
  }
  EXPECT_EQ(t.Data.Jumps[2]->JumpNo, 2);
  EXPECT_EQ(t.Data.Jumps[2]->RPData, &t.Data);
  // Built for a table at another place, the areas move with it.
  std::vector<std::unique_ptr<TRPJumpInfo>> list;
  int32_t jumpNo = 10;
  t.Table->BuildJumps(100, 200, list, jumpNo);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(jumpNo, 12);
  EXPECT_EQ(list[0]->Left - t.Data.Jumps[0]->Left, 100 - t.Data.DrawItems[0]->Left);
  EXPECT_EQ(list[1]->Top - t.Data.Jumps[1]->Top, 200 - t.Data.DrawItems[0]->Top);
}

// --- What lies under a cell's item ------------------------------------------------------------

struct TUnderItem {
  TColor Color = clNone;
  bool UseBitmap = false;
  std::unique_ptr<TBitmap> Bitmap;
};

TUnderItem UnderItem(TRPTableCellData& cell, const TRect& rect) {
  TUnderItem under;
  cell.GetItemBackground(0, rect, false, under.Color, under.Bitmap, under.UseBitmap);
  return under;
}

TEST(RPTableDocumentTest, UnderACellsItemLieTheLayersFromTheTopDown) {
  TTableInDocument t(1, 2);
  t.Data.Color = clYellow;
  t.Table->SetColor(clNone);
  t.Data.FormatAll();
  TRPTableCellData& cell = t.Cell(0, 1);
  const TRect rect{2, 2, 6, 6};
  // Nothing of the cell's or the table's: the document's colour under the table.
  TUnderItem under = UnderItem(cell, rect);
  EXPECT_EQ(under.Color, clYellow);
  EXPECT_FALSE(under.UseBitmap);
  // The table's colour, then the cell's.
  t.Table->SetColor(clLime);
  EXPECT_EQ(UnderItem(cell, rect).Color, clLime);
  cell.SetCellColor(clBlue);
  EXPECT_EQ(UnderItem(cell, rect).Color, clBlue);
  // A selected cell shows the selection colour; the item's paragraph colour beats it.
  cell.Selected = true;
  EXPECT_EQ(UnderItem(cell, rect).Color, t.Data.Style.SelColor);
  const int32_t para = t.Data.AddParaStyle();
  t.Data.Para(para).Background.Color = clRed;
  cell.GetItem(0)->ParaNo = para;
  EXPECT_EQ(UnderItem(cell, rect).Color, clRed);
}

TEST(RPTableDocumentTest, PicturesUnderACellsItemAreAlignedToTheCellAndTheTable) {
  TTableInDocument t(1, 2);
  t.Table->SetColor(clLime);
  t.Table->SetBackgroundImage(ColorTile(clRed, 200, 100).get());
  t.Table->SetBackgroundStyle(rpbsTiled);
  t.Data.FormatAll();
  TRPTableCellData& cell = t.Cell(0, 1);
  const TRect rect{1, 1, 5, 5};
  // The table's picture over its colour, in a bitmap of the rectangle's size.
  TUnderItem under = UnderItem(cell, rect);
  ASSERT_TRUE(under.UseBitmap);
  EXPECT_EQ(under.Color, clLime);
  EXPECT_EQ(under.Bitmap->Width(), 4);
  EXPECT_EQ(under.Bitmap->PixelColor(0, 0), ColorToRGB(clRed));
  // A cell picture over it: a picture one pixel wider than the rectangle's left part
  // shows where the cell box starts.
  cell.SetBackgroundImage(ColorTile(clBlue, 2, 200).get());
  cell.SetBackgroundStyle(rpbsCentered);
  const int32_t centre = (cell.Width - 2) / 2;
  under = UnderItem(cell, TRect{centre - 1, 1, centre + 3, 5});
  ASSERT_TRUE(under.UseBitmap);
  EXPECT_EQ(under.Bitmap->PixelColor(0, 0), ColorToRGB(clRed));
  EXPECT_EQ(under.Bitmap->PixelColor(1, 0), ColorToRGB(clBlue));
  EXPECT_EQ(under.Bitmap->PixelColor(2, 0), ColorToRGB(clBlue));
  EXPECT_EQ(under.Bitmap->PixelColor(3, 0), ColorToRGB(clRed));
  // With a colour of its own the cell shows only that.
  cell.SetBackgroundImage(nullptr);
  cell.SetBackgroundStyle(rpbsColor);
  cell.SetCellColor(clBlue);
  under = UnderItem(cell, rect);
  EXPECT_FALSE(under.UseBitmap);
  EXPECT_EQ(under.Color, clBlue);
}

// Dashes of one pixel at 0, 2 and 4 of every 8 pixels; the last group drawn whole.
TEST(RPTableDocumentTest, DottedLinesDrawThreeDashesEveryEightPixels) {
  auto page = WhitePage(16, 16);
  TCanvas& canvas = *page->Canvas();
  canvas.Pen().SetColor(clBlack);
  TRPTableItemInfo::DrawDottedVLine(canvas, 1, 0, 10);
  TRPTableItemInfo::DrawDottedHLine(canvas, 3, 12, 15);
  const std::vector<std::string> art = Art(*page, clBlack);
  std::string column;
  for (const std::string& row : art) column += row[1];
  EXPECT_EQ(column, "#.#.#...#.#.#...");
  EXPECT_EQ(art[15], "...#.#.#...#.#.#");
}

}  // namespace
