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

}  // namespace
