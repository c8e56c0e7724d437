// Painting tables into page bitmaps: rules, the three-dimensional border colours, the
// white-background print option and the border event.
#include <gtest/gtest.h>

#include "platform/graphics/PenBrush.h"
#include "richtext/model/RPTestCanvas.h"
#include "richtext/table/RPTablePrint.h"
#include "richtext/table/RPTableTestData.h"

namespace {

// Prints the whole table (laid out for width) at the page's top-left corner.
std::unique_ptr<TBitmap> PrintTable(TTableInDocument& t, int32_t width, TRPColorMode mode = rpcmColor) {
  TRPTablePrintInfo info(*t.Table, SameResolution);
  info.LayOut(width, t.Data.Canvas);
  auto page = WhitePage(info.Width, info.Height);
  info.Print(*page->Canvas(), 0, 0, -1, TRect{0, 0, info.Width, info.Height}, mode);
  return page;
}

// Two 14-pixel columns 4 pixels apart: the rule between them lies at 20; outermost
// rules at 1 and, for an odd width, 40 - 1 - 1.
TEST(RPTablePaintTest, VerticalRulesStandBetweenColumnsAndAtTheOuterEdges) {
  TTableInDocument t(1, 2);
  t.Table->SetCellHSpacing(4);
  t.Table->SetVRuleWidth(1);
  t.Table->SetVRuleColor(Red);
  t.Table->SetColor(clWhite);
  auto page = PrintTable(t, 40);
  std::string expected(40, '.');
  expected[20] = 'o';
  EXPECT_EQ(Art(*page, 0, Red)[10], expected);
  t.Table->SetVOutermostRule(true);
  page = PrintTable(t, 40);
  expected[1] = expected[38] = 'o';
  EXPECT_EQ(Art(*page, 0, Red)[10], expected);
}

TEST(RPTablePaintTest, RaisedBordersOnAHighlightBackgroundUseTheFaceColour) {
  TTableInDocument t(1, 1);
  t.Table->SetBorderWidth(1);
  t.Table->SetColor(clBtnHighlight);
  auto page = PrintTable(t, 30);
  const int32_t right = page->Width() - 1, bottom = page->Height() - 1;
  EXPECT_EQ(page->PixelColor(0, 5), ColorToRGB(clBtnFace));  // left side
  EXPECT_EQ(page->PixelColor(5, 0), ColorToRGB(clBtnFace));  // top side
  EXPECT_EQ(page->PixelColor(right, 5), ColorToRGB(clBtnShadow));
  EXPECT_EQ(page->PixelColor(5, bottom), ColorToRGB(clBtnShadow));
}

TEST(RPTablePaintTest, TheWhiteBackgroundOptionPrintsColouredTablesWhite) {
  TTableInDocument t(1, 1);
  t.Table->SetColor(Red);
  t.Cell(0, 0).SetCellColor(Red);
  EXPECT_EQ(PrintTable(t, 30)->PixelColor(4, 4), Red);
  t.Table->PrintOptions |= rptoWhiteBackground;
  auto page = PrintTable(t, 30);
  EXPECT_EQ(page->PixelColor(1, 1), clWhite);
  EXPECT_EQ(page->PixelColor(4, 4), clWhite);
}

// In black and white, fills turn white and lines black.
TEST(RPTablePaintTest, TheColourModeAppliesToFillsAndLines) {
  TTableInDocument t(1, 1);
  t.UseConversionSettings();
  t.Table->SetColor(Red);
  t.Table->SetCellBorderColor(Red);
  EXPECT_EQ(PrintTable(t, 40)->PixelColor(2, 10), Red);
  auto page = PrintTable(t, 40, rpcmBlackAndWhite);
  EXPECT_EQ(page->PixelColor(0, 0), clWhite);
  EXPECT_EQ(page->PixelColor(2, 10), 0);
}

TEST(RPTablePaintTest, TheBorderEventCanTakeABorderOver) {
  TTableInDocument t(1, 2);
  t.UseConversionSettings();
  t.Table->SetColor(clWhite);
  std::vector<std::pair<int32_t, int32_t>> calls;
  t.Table->OnDrawBorder = [&](TRPTableItemInfo&, TCanvas&, const TRect&, int32_t, TColor, TColor, TColor,
                              TRPTableBorderStyle, bool printing, const TRPBooleanRect&, int32_t row, int32_t col,
                              bool& doDefault) {
    EXPECT_TRUE(printing);
    calls.emplace_back(row, col);
    doDefault = col != 1;
  };
  auto page = PrintTable(t, 40);
  const std::vector<std::pair<int32_t, int32_t>> expected = {{-1, -1}, {0, 0}, {0, 1}};
  EXPECT_EQ(calls, expected);
  const std::string row = Art(*page, 0)[10];
  EXPECT_EQ(row[2], '#');   // the left cell's left side
  EXPECT_EQ(row[19], '#');  // its right side, shared with the right cell
  EXPECT_EQ(row[37], '.');  // the right cell's right side: left to the handler
}

}  // namespace

namespace {

// The screen: the document formats and paints its table.
std::unique_ptr<TBitmap> PaintOnScreen(TTableInDocument& t) {
  t.Data.FormatAll();
  auto page = WhitePage(t.Data.Width, t.Data.DocumentHeight);
  t.Data.DrawRect(*page->Canvas(), TRect{0, 0, t.Data.Width, t.Data.DocumentHeight});
  return page;
}

bool RowHasColor(const TBitmap& page, int32_t y, TColor color) {
  for (int32_t x = 0; x < page.Width(); ++x)
    if (page.PixelColor(x, y) == color) return true;
  return false;
}

TEST(RPTablePaintTest, InvisibleBordersShowAGridOnTheScreenOnly) {
  TTableInDocument t(1, 1);
  t.Table->SetColor(clWhite);
  const TColor grid = ColorToRGB(clBtnShadow);
  EXPECT_TRUE(RowHasColor(*PaintOnScreen(t), 0, grid));
  EXPECT_FALSE(RowHasColor(*PrintTable(t, 200), 0, grid));
  t.Table->Options |= rptoHideGridLines;
  EXPECT_FALSE(RowHasColor(*PaintOnScreen(t), 0, grid));
}

// A row with a page break shows the document's page-break line at its top on the screen.
TEST(RPTablePaintTest, ARowWithAPageBreakShowsTheLineOnTheScreen) {
  TTableInDocument t(2, 1);
  t.Table->SetColor(clWhite);
  t.Table->Options |= rptoHideGridLines;
  t.Table->Rows().GetRow(1)->PageBreakBefore = true;
  const TColor line = ColorToRGB(t.Data.Style.PageBreakColor);
  auto plain = PaintOnScreen(t);
  const int32_t rowTop = t.Table->GetRowTop(1);
  EXPECT_NE(plain->PixelColor(10, rowTop), line);
  t.Data.Options |= rpoShowPageBreaks;
  auto shown = PaintOnScreen(t);
  EXPECT_EQ(shown->PixelColor(10, rowTop), line);
}

// With overlapping cells, a hidden side under the neighbour's visible border gets no
// grid line over that border.
TEST(RPTablePaintTest, AHiddenSideUnderANeighboursBorderKeepsThatBorder) {
  TTableInDocument t(1, 2);
  t.UseConversionSettings();
  t.Table->SetColor(clWhite);
  t.Data.Width = 40;
  t.Cell(0, 1).VisibleBorders.Left = false;
  auto page = PaintOnScreen(t);
  for (int32_t y = 3; y < 18; ++y) EXPECT_EQ(page->PixelColor(19, y), 0) << y;
}

}  // namespace

namespace {

// A tiled picture fills the table, and a cell's own picture its cell, over the colours.
TEST(RPTablePaintTest, BackgroundPicturesFillTheTableAndTheirCells) {
  TTableInDocument t(1, 2);
  t.Table->SetColor(clWhite);
  t.Table->SetBackgroundImage(ColorTile(Red).get());
  t.Table->SetBackgroundStyle(rpbsTiled);
  t.Cell(0, 1).SetBackgroundImage(ColorTile(clBlack).get());
  t.Cell(0, 1).SetBackgroundStyle(rpbsTiled);
  auto page = PrintTable(t, 40);
  EXPECT_EQ(page->PixelColor(0, 0), Red);  // the table's spacing
  EXPECT_EQ(page->PixelColor(5, 8), Red);  // the first cell shows the table's picture
  EXPECT_EQ(page->PixelColor(30, 8), 0);   // the second cell its own
  t.Table->PrintOptions |= rptoWhiteBackground;
  page = PrintTable(t, 40);
  EXPECT_EQ(page->PixelColor(0, 0), clWhite);
  EXPECT_EQ(page->PixelColor(30, 8), clWhite);
}

}  // namespace

namespace {

// What lies behind the table on a page, for a rectangle of it: nothing in mode 0; the
// table's picture with its tiles starting at the area's corner, over its colour; white
// and no picture with the white-background option; colours through the colour mode.
TEST(RPTablePaintTest, TheTablesBackgroundIsPaintedAlignedToItsArea) {
  TTableInDocument t(1, 1);
  t.Table->SetColor(clBlue);
  auto tile = ColorTile(clWhite, 3, 3);
  tile->SetPixelColor(0, 0, clRed);
  t.Table->SetBackgroundImage(tile.get());
  t.Table->SetBackgroundStyle(rpbsTiled);
  auto page = WhitePage(30, 30);
  const TRect area{4, 5, 25, 26};
  t.Table->DrawBackground(*page->Canvas(), TRect{10, 10, 20, 20}, 0, rpcmColor, area);
  EXPECT_EQ(page->PixelColor(12, 12), ColorToRGB(clWhite));
  t.Table->DrawBackground(*page->Canvas(), TRect{10, 10, 20, 20}, 1, rpcmColor, area);
  EXPECT_EQ(page->PixelColor(9, 12), ColorToRGB(clWhite));  // outside the rectangle
  EXPECT_EQ(page->PixelColor(10, 11), ColorToRGB(clRed));   // 6 and 6 from the corner
  EXPECT_EQ(page->PixelColor(13, 14), ColorToRGB(clRed));
  EXPECT_EQ(page->PixelColor(11, 11), ColorToRGB(clWhite));
  t.Table->PrintOptions |= rptoWhiteBackground;
  t.Table->DrawBackground(*page->Canvas(), TRect{10, 10, 20, 20}, 1, rpcmColor, area);
  EXPECT_EQ(page->PixelColor(10, 11), ColorToRGB(clWhite));
  t.Table->PrintOptions &= static_cast<TRPTablePrintOptions>(~rptoWhiteBackground);
  t.Table->SetBackgroundImage(nullptr);
  t.Table->DrawBackground(*page->Canvas(), TRect{10, 10, 20, 20}, 1, rpcmGrayScale, area);
  EXPECT_EQ(page->PixelColor(15, 15), ColorToRGB(ApplyColorModeToBackColor(clBlue, rpcmGrayScale)));
}

}  // namespace
