// A table with backgrounds split over report pages, each page compared pixel for pixel
// with its expected image (PNG files under tests/data/richtext/pages, written only by
// scripts/regenerate-page-goldens.sh and checked by eye).
//
// The table (three columns, seven rows, a heading row repeated on every page) has a
// tiled picture over its colour; cells have colours of their own, a stretched picture,
// a centred picture over a colour, and pictures with transparent parts in them, on a
// cell colour and on nothing (so that the table's picture shows through).
#include <gtest/gtest.h>

#include "richtext/layout/print/RPGolden.h"
#include "richtext/layout/print/RPPrintTestData.h"
#include "richtext/model/RPPictureTestData.h"
#include "richtext/model/RPTestCanvas.h"
#include "richtext/table/RPTableTestData.h"

namespace {

// A ring of blue on white; the white is transparent.
std::unique_ptr<TBitmap> Ring() {
  auto ring = Picture({
      "..........",
      "...BBBB...",
      "..B....B..",
      ".B......B.",
      ".B......B.",
      ".B......B.",
      ".B......B.",
      "..B....B..",
      "...BBBB...",
      "..........",
  });
  ring->SetTransparent(true);
  return ring;
}

void AddPicture(TRPTableCellData& cell, std::unique_ptr<TGraphic> picture) {
  cell.AddItem("", std::make_unique<TRPGraphicItemInfo>(&cell, std::move(picture), rpvaBaseline));
}

void BuildBackgroundTable(TReportFixture& f) {
  f.Data().AddAnsiText("Before", 0, TRPTag(), 0);
  auto item = std::make_unique<TRPTableItemInfo>(7, 3, &f.Data());
  TRPTableItemInfo& table = *item;
  f.Data().AddItem("", std::move(item));
  table.SetBorderStyle(rptbColor);
  table.SetCellBorderStyle(rptbColor);
  table.SetBorderColor(clBlack);
  table.SetBorderWidth(1);
  table.SetCellBorderColor(clGray);
  table.SetCellBorderWidth(1);
  table.SetCellPadding(2);
  table.SetBestWidth(-100);
  table.SetHeadingRowCount(1);
  table.SetColor(RGB(255, 255, 192));
  // A checked tile: where each tile starts shows how the picture is aligned.
  table.SetBackgroundImage(Picture({"GG....", "GG....", "......", "...YY.", "...YY.", "......"}).get());
  table.SetBackgroundStyle(rpbsTiled);
  auto text = [&](int32_t row, int32_t col, const std::string& s) {
    TRPTableCellData& cell = *table.GetCell(row, col);
    cell.Clear();
    cell.AddRawText(s, 0, 0);
  };
  for (int32_t c = 0; c < 3; ++c) {
    text(0, c, "H" + std::to_string(c + 1));
    table.GetCell(0, c)->SetCellColor(RGB(192, 192, 255));
  }
  text(1, 0, "Plain");
  table.GetCell(1, 1)->SetBackgroundImage(Picture({"RB", "BR"}).get());
  table.GetCell(1, 1)->SetBackgroundStyle(rpbsStretched);
  text(1, 1, "Stretched");
  text(1, 2, "Own");
  table.GetCell(1, 2)->SetCellColor(RGB(255, 192, 192));
  ASSERT_TRUE(table.MergeCells(2, 0, 1, 2, true));
  table.GetCell(2, 0)->SetCellColor(RGB(192, 255, 192));
  table.GetCell(2, 0)->SetBackgroundImage(Picture({"KKK", "K.K", "KKK"}).get());
  table.GetCell(2, 0)->SetBackgroundStyle(rpbsCentered);
  text(2, 0, "Centred");
  AddPicture(*table.GetCell(2, 1), Ring());  // on the table's picture
  AddPicture(*table.GetCell(2, 2), Ring());
  table.GetCell(2, 2)->SetCellColor(RGB(255, 192, 192));
  text(3, 1, "Row 4");
  text(4, 0, "Row 5");
  table.GetCell(5, 1)->SetBackgroundImage(Picture({"RRRR", "R..R", "RRRR"}).get());
  table.GetCell(5, 1)->SetBackgroundStyle(rpbsTiled);
  text(5, 1, "Tiled");
  AddPicture(*table.GetCell(6, 2), Ring());
  text(6, 0, "Last");
  f.Data().AddAnsiText("After", 0, TRPTag(), 0);
}

constexpr int32_t PageWidth = 180, PageHeight = 120;

class RPTablePageImageTest : public testing::TestWithParam<int32_t> {};

TEST_P(RPTablePageImageTest, ABackgroundTableSplitOverPagesMatchesItsImages) {
  TReportFixture f(PageWidth);
  BuildBackgroundTable(f);
  ASSERT_FALSE(testing::Test::HasFatalFailure());
  ASSERT_EQ(f.Paginate({PageHeight}), 3) << f.Dump();
  auto page = WhitePage(PageWidth, PageHeight);
  f.Helper.PaintPage(GetParam(), *page->Canvas(), false, PageHeight);
  ExpectMatchesGoldenImage(*page, "table_backgrounds_page" + std::to_string(GetParam()) + ".png");
}

INSTANTIATE_TEST_SUITE_P(Pages, RPTablePageImageTest, testing::Values(1, 2, 3),
                         [](const testing::TestParamInfo<int32_t>& param) {
                           return "page" + std::to_string(param.param);
                         });

}  // namespace
