#include <gtest/gtest.h>

#include "platform/base/Numbers.h"
#include "richtext/table/RPTableItem.h"
#include "richtext/table/RPTableTestData.h"

namespace {

// Lays the table out on its document's canvas for width (screen) or into info with a
// resolution record (printing).
void LayOut(TTableInDocument& t, int32_t width) {
  t.Table->CalculateLayout(width, t.Table->FormattingInfo(), true, t.Data.Canvas);
}

void LayOutForDevice(TTableInDocument& t, int32_t width, const TRPResolution& resolution,
                     TRPTableItemFormattingInfo& info) {
  TRPTableItemInfo::TResolutionScope scope(*t.Table, &resolution);
  t.Table->CalculateLayout(width, info, true, t.Data.Canvas);
}

TEST(RPTableLayoutTest, AnEmptyGridIsItsBordersAndSpacing) {
  TTestFormattedData data;
  TRPTableItemInfo table(0, 0, &data);
  table.SetBorderWidth(3);
  table.CalculateLayout(500, table.FormattingInfo(), true, data.Canvas);
  EXPECT_EQ(table.GetWidth(), 10);
  EXPECT_EQ(table.GetHeight(), 10);
  EXPECT_EQ(table.GetMinWidth(nullptr, &data.Canvas, &data), 10);
}

TEST(RPTableLayoutTest, APercentWidthIsTakenOfTheAvailableWidthTruncated) {
  TTableInDocument t(1, 2);
  t.Table->SetBestWidth(-50);
  LayOut(t, 601);
  EXPECT_EQ(t.Table->GetWidth(), 300);
}

TEST(RPTableLayoutTest, WithoutAWidthOfItsOwnATableTakesTheAvailableWidth) {
  TTableInDocument t(1, 2);
  LayOut(t, 333);
  EXPECT_EQ(t.Table->GetWidth(), 333);
}

// Three columns and a gap budget of 10 device pixels: the gaps are 3, 3 and 4.
TEST(RPTableLayoutTest, GapBudgetsAreSpreadWithoutAccumulatedRounding) {
  TTableInDocument t(1, 3);
  t.Table->SetCellHSpacing(1);
  t.Table->SetCellPadding(0);
  t.Table->SetBorderHSpacing(0);
  TRPTableItemFormattingInfo info(true);
  LayOutForDevice(t, 100, TRPResolution{96, 96, 320, 96}, info);
  EXPECT_EQ(DumpLayout(*t.Table, info), "100x19 | cols: 31@0 31@34 31@68 | rows: 15@2");
}

struct TGoldenCase {
  const char* Name;
  int32_t Rows, Cols, Width;
  void (*Setup)(TTableInDocument&);
  const char* Expected;
};

TEST(RPTableLayoutTest, GoldenLayouts) {
  const TGoldenCase cases[] = {
      {"conversion settings: spacing -1, padding 2, borders 1, width -100", 2, 2, 400,
       [](TTableInDocument& t) { t.UseConversionSettings(); },
       "400x45 | cols: 192@3 193@200 | rows: 15@3 15@23 | cells: (0,0)3,3 196x19 (0,1)200,3 197x19 (1,0)3,23 196x19 "
       "(1,1)200,23 197x19"},
      {"conversion settings with a merged header row", 2, 2, 400,
       [](TTableInDocument& t) {
         t.UseConversionSettings();
         t.Table->MergeCells(0, 0, 2, 1, true);
       },
       "400x45 | cols: 192@3 193@200 | rows: 15@3 15@23 | cells: (0,0)3,3 394x19 (1,0)3,23 196x19 (1,1)200,23 197x19"},
      {"a pixel cell spanning pixel columns widens them proportionally", 2, 3, 100,
       [](TTableInDocument& t) {
         t.Table->MergeCells(0, 0, 3, 1, true);
         t.Cell(0, 0).BestWidth = 150;
         t.Cell(1, 0).BestWidth = 10;
         t.Cell(1, 1).BestWidth = 50;
         t.Cell(1, 2).BestWidth = 10;
       },
       "156x40 | cols: 21@2 100@27 21@131 | rows: 15@2 15@21 | cells: (0,0)2,2 152x17 (1,0)2,21 23x17 (1,1)27,21 "
       "102x17 "
       "(1,2)131,21 23x17"},
      {"percent and pixel columns share the free width", 1, 3, 300,
       [](TTableInDocument& t) {
         t.Cell(0, 0).BestWidth = -50;
         t.Cell(0, 1).BestWidth = 40;
       },
       "300x21 | cols: 144@2 40@150 102@194 | rows: 15@2 | cells: (0,0)2,2 146x17 (0,1)150,2 42x17 (0,2)194,2 104x17"},
      {"a merged cell taller than its rows widens the row without a cell of its own", 3, 2, 200,
       [](TTableInDocument& t) {
         t.Table->MergeCells(0, 1, 1, 3, true);
         t.Table->MergeCells(1, 0, 1, 2, true);
         t.Cell(0, 1).BestHeight = 100;
       },
       "200x106 | cols: 95@2 95@101 | rows: 15@2 10@21 67@35 | cells: (0,0)2,2 97x17 (0,1)101,2 97x102 (1,0)2,21 "
       "97x83"},
  };
  for (const TGoldenCase& k : cases) {
    SCOPED_TRACE(k.Name);
    TTableInDocument t(k.Rows, k.Cols);
    k.Setup(t);
    LayOut(t, k.Width);
    EXPECT_EQ(DumpLayout(*t.Table, t.Table->FormattingInfo()), k.Expected);
  }
}

// Columns already wider than the equal share keep their widths; the others are raised
// toward it.
TEST(RPTableLayoutTest, TheMinimumWidthEqualizesASpanOverItsColumns) {
  TTableInDocument t(2, 3);
  t.Table->MergeCells(0, 0, 3, 1, true);
  t.Cell(0, 0).BestWidth = 150;
  t.Cell(1, 0).BestWidth = 10;
  t.Cell(1, 1).BestWidth = 50;
  t.Cell(1, 2).BestWidth = 10;
  // Columns 46 + 50 + 46, paddings 6, overhead 2 x 2 + 2 x 2.
  EXPECT_EQ(t.Table->GetMinWidth(nullptr, &t.Data.Canvas, &t.Data), 156);
}

TEST(RPTableLayoutTest, MinimumsWiderThanTheTargetWidenTheTable) {
  TTableInDocument t(1, 2);
  t.SetText(0, 0, "Incomprehensibilities");
  t.SetText(0, 1, "Counterrevolutionaries");
  t.Table->SetBestWidth(50);
  LayOut(t, 400);
  const TRPTableItemFormattingInfo& info = t.Table->FormattingInfo();
  const int32_t min0 = t.Cell(0, 0).GetMinWidth(nullptr, t.Data.Canvas);
  const int32_t min1 = t.Cell(0, 1).GetMinWidth(nullptr, t.Data.Canvas);
  EXPECT_EQ(info.ColWidths[0], min0);
  EXPECT_EQ(info.ColWidths[1], min1);
  // Content area of the 50-pixel target: 50 - overhead 6 - paddings 4.
  EXPECT_EQ(info.Width, 50 + (min0 + min1) - (50 - 6 - 4));
}

// A table that shrinks to its width stays at its target: the columns share its content
// area in proportion to their minimums, the cells' words break inside them, and the table
// asks for no room for its content.
TEST(RPTableLayoutTest, MinimumsWiderThanTheTargetShrinkWhenTheTableShrinksToItsWidth) {
  TTableInDocument t(1, 2);
  t.SetText(0, 0, "Incomprehensibilities");
  t.SetText(0, 1, "Counterrevolutionaries");
  t.Table->SetBestWidth(50);
  t.Table->Options |= rptoShrinkToWidth;
  LayOut(t, 400);
  const TRPTableItemFormattingInfo& info = t.Table->FormattingInfo();
  const int32_t min0 = t.Cell(0, 0).GetMinWidth(nullptr, t.Data.Canvas);
  const int32_t min1 = t.Cell(0, 1).GetMinWidth(nullptr, t.Data.Canvas);
  EXPECT_EQ(info.Width, 50);
  // Content area 50 - overhead 6 - paddings 4, shared in proportion and without loss.
  EXPECT_EQ(info.ColWidths[0], MulDiv(min0, 40, min0 + min1));
  EXPECT_EQ(info.ColWidths[0] + info.ColWidths[1], 40);
  for (int32_t c = 0; c < 2; ++c) {
    SCOPED_TRACE(c);
    const TRPTableCellData& cell = t.Cell(0, c);
    EXPECT_GT(cell.DrawItems.Count(), 1);  // the word broke
    for (int32_t d = 0; d < cell.DrawItems.Count(); ++d)
      EXPECT_LE(cell.DrawItems[d]->Left + cell.DrawItems[d]->Width, cell.Width);
  }
  EXPECT_EQ(t.Table->GetMinWidth(nullptr, &t.Data.Canvas, &t.Data), 50);
}

// A preferred height wins over taller content only with rptoIgnoreContentHeight.
TEST(RPTableLayoutTest, PreferredHeightsIgnoreContentOnlyWhenAsked) {
  TTableInDocument t(1, 1);
  t.Cell(0, 0).BestHeight = 5;
  LayOut(t, 100);
  EXPECT_EQ(t.Table->FormattingInfo().RowHeights[0], 15);  // one line of text
  t.Table->Options |= rptoIgnoreContentHeight;
  LayOut(t, 100);
  EXPECT_EQ(t.Table->FormattingInfo().RowHeights[0], 5);
}

TEST(RPTableLayoutTest, RowsOfCellsWithoutHeightAreTenHighOnScreenAndDevice) {
  TTestFormattedData canvasHolder;  // registers the text items
  TCustomRPData plain;              // never formatted: the cells measure 0
  TRPTableItemInfo table(2, 1, &plain);
  table.CalculateLayout(100, table.FormattingInfo(), true, canvasHolder.Canvas);
  EXPECT_EQ(table.FormattingInfo().RowHeights[0], 10);
  TRPTableItemFormattingInfo info(true);
  const TRPResolution resolution{96, 96, 192, 192};
  TRPTableItemInfo::TResolutionScope scope(table, &resolution);
  table.CalculateLayout(200, info, true, canvasHolder.Canvas);
  EXPECT_EQ(info.RowHeights[1], 10);
}

}  // namespace
