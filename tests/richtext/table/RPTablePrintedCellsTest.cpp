// The content of table cells on a printed page goes through each cell's printable copy:
// the page's colour mode applies to the text, pictures are printed as on the page, and
// hyperlinks and checkpoints in cells are reported with the cell's document. Each colour
// mode's page is compared with its expected image (tests/data/richtext/pages, written
// only by scripts/regenerate-page-goldens.sh and checked by eye), and beside it the
// property the mode promises is checked on every pixel of the table.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "richtext/layout/print/RPGolden.h"
#include "richtext/layout/print/RPPrintTestData.h"
#include "richtext/model/RPColorModes.h"
#include "richtext/model/RPPictureTestData.h"
#include "richtext/model/RPTestCanvas.h"
#include "richtext/table/RPTablePrint.h"
#include "richtext/table/RPTableTestData.h"

namespace {

constexpr int32_t PageWidth = 160, PageHeight = 90;

struct TPrintedCells {
  TReportFixture F{PageWidth};
  TRPTableItemInfo* Table = nullptr;

  TPrintedCells() {
    TFontInfo& red = *F.Style.TextStyles().Add();
    red.FontName = "Arial";
    red.Color = clRed;
    const int32_t redStyle = F.Style.TextStyles().Count() - 1;
    TFontInfo& link = *F.Style.TextStyles().Add();
    link.FontName = "Arial";
    link.Color = clBlue;
    link.Jump = true;
    const int32_t linkStyle = F.Style.TextStyles().Count() - 1;
    auto item = std::make_unique<TRPTableItemInfo>(2, 2, &F.Data());
    Table = item.get();
    F.Data().AddItem("", std::move(item));
    Table->SetBorderStyle(rptbColor);
    Table->SetCellBorderStyle(rptbColor);
    Table->SetBorderColor(clBlack);
    Table->SetBorderWidth(1);
    Table->SetCellBorderColor(clGray);
    Table->SetCellBorderWidth(1);
    Table->SetCellPadding(2);
    Table->SetBestWidth(-100);
    Table->SetColor(clWhite);
    TRPTableCellData& text = Cell(0, 0);
    text.AddRawText("Red", redStyle, 0);
    TRPTableCellData& picture = Cell(0, 1);
    picture.AddItem("",
                    std::make_unique<TRPGraphicItemInfo>(
                        &picture, Picture({"GGGGGG", "GRRRRG", "GRBBRG", "GRBBRG", "GRRRRG", "GGGGGG"}), rpvaBaseline));
    TRPTableCellData& hyperlink = Cell(1, 0);
    hyperlink.AddRawText("Link", linkStyle, 0);
    TRPTableCellData& marked = Cell(1, 1);
    marked.SetCellColor(clYellow);
    marked.AddCheckpoint("mark", false, TRPTag());
    marked.AddRawText("Mark", 0, 0);
  }
  TRPTableCellData& Cell(int32_t row, int32_t col) {
    TRPTableCellData& cell = *Table->GetCell(row, col);
    if (cell.GetItemCount() == 1 && cell.GetItemTextRaw(0).empty()) cell.Clear();
    return cell;
  }
};

struct TModeCase {
  TRPColorMode Mode;
  const char* Name;
};

class RPTablePrintedCellsTest : public testing::TestWithParam<TModeCase> {};

TEST_P(RPTablePrintedCellsTest, CellsArePrintedInTheColourModeWithTheirEvents) {
  const TModeCase& c = GetParam();
  TPrintedCells cells;
  TReportFixture& f = cells.F;
  f.Helper.SetColorMode(c.Mode);
  ASSERT_EQ(f.Paginate({PageHeight}), 1);
  std::vector<std::tuple<const TCustomRPData*, int32_t, TRect>> links;
  f.Helper.OnDrawHyperlink = [&](TRPReportHelper*, TCustomRPData* rpData, int32_t itemNo, const TRect& rect) {
    links.emplace_back(rpData, itemNo, rect);
  };
  std::vector<std::tuple<const TCustomRPData*, int32_t, int32_t, int32_t>> checkpoints;
  f.Helper.OnDrawCheckpoint = [&](TRPReportHelper*, TCustomRPData* rpData, int32_t itemNo, int32_t x, int32_t y) {
    checkpoints.emplace_back(rpData, itemNo, x, y);
  };
  auto page = WhitePage(PageWidth, PageHeight);
  f.Helper.PaintPage(1, *page->Canvas(), false, PageHeight);
  ExpectMatchesGoldenImage(*page, std::string("table_printed_cells_") + c.Name + ".png");

  // Reported with the cell's document, at the place the copy paints the item.
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(std::get<0>(links[0]), &cells.Cell(1, 0));
  EXPECT_EQ(std::get<1>(links[0]), 0);
  const TRect& link = std::get<2>(links[0]);
  EXPECT_GT(link.Width(), 0);
  EXPECT_GT(link.Top, 0);
  ASSERT_EQ(checkpoints.size(), 1u);
  EXPECT_EQ(std::get<0>(checkpoints[0]), &cells.Cell(1, 1));
  EXPECT_EQ(std::get<3>(checkpoints[0]), link.Top);  // both cells' content starts on one line

  // The property of the mode over the whole table; the picture keeps its own colours.
  const auto& info = dynamic_cast<const TRPTablePrintInfo&>(*f.Data().DrawItems[0]);
  const TRectPtblRPData& pictureCell = *info.CellPrintData(0, 1);
  const TRect picture = Bounds(pictureCell.Left, pictureCell.Top, pictureCell.Width, pictureCell.Height);
  int32_t inked = 0;
  for (int32_t y = 0; y < info.Height; ++y)
    for (int32_t x = 0; x < info.Width; ++x) {
      if (PtInRect(picture, TPoint{x, y})) continue;
      const TColor color = page->PixelColor(x, y);
      const int32_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
      SCOPED_TRACE(testing::Message() << x << "," << y);
      // Black and white: black ink on white (the glyphs' smoothed edges are gray).
      if (c.Mode == rpcmGrayScale || c.Mode == rpcmBlackAndWhite) ASSERT_TRUE(r == g && g == b);
      if (color != clWhite) ++inked;
    }
  EXPECT_GT(inked, 0);
  // The yellow cell: its colour in colour, its gray in gray scale, white otherwise.
  const TRectPtblRPData& markCell = *info.CellPrintData(1, 1);
  const TColor behindMark = page->PixelColor(markCell.Left + markCell.Width - 2, markCell.Top + 1);
  EXPECT_EQ(behindMark, c.Mode == rpcmColor ? clYellow : c.Mode == rpcmGrayScale ? ColorToGray(clYellow) : clWhite);
  if (c.Mode == rpcmBlackOnWhite) {
    // The text of every cell is black: no red and no blue is left where the text stands.
    for (int32_t y = link.Top; y < link.Bottom; ++y)
      for (int32_t x = link.Left; x < link.Right; ++x) {
        const TColor color = page->PixelColor(x, y);
        EXPECT_TRUE(GetRValue(color) == GetGValue(color) && GetGValue(color) == GetBValue(color)) << x << "," << y;
      }
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, RPTablePrintedCellsTest,
                         testing::Values(TModeCase{rpcmColor, "color"}, TModeCase{rpcmGrayScale, "gray"},
                                         TModeCase{rpcmBlackAndWhite, "black_and_white"},
                                         TModeCase{rpcmBlackOnWhite, "black_on_white"}),
                         [](const testing::TestParamInfo<TModeCase>& info) { return std::string(info.param.Name); });

// The copies are laid out as the cells are for the page, and only where a cell shows
// something: an empty cell of one row and column has none.
TEST(RPTablePrintedCells, EachCellWithContentHasACopyLaidOutLikeIt) {
  TPrintedCells cells;
  TRPTableItemInfo& table = *cells.Table;
  auto extra = std::make_unique<TRPTableItemInfo>(1, 2, &cells.F.Data());
  TRPTableItemInfo& second = *extra;
  cells.F.Data().AddItem("", std::move(extra));
  second.GetCell(0, 1)->Clear();
  second.GetCell(0, 1)->AddRawText("x", 0, 0);
  cells.F.Paginate({PageHeight});
  const auto& info = dynamic_cast<const TRPTablePrintInfo&>(*cells.F.Data().DrawItems[0]);
  ASSERT_EQ(info.CellPrintDataList.size(), 4u);
  for (int32_t r = 0; r < 2; ++r)
    for (int32_t c = 0; c < 2; ++c) {
      SCOPED_TRACE(testing::Message() << r << "," << c);
      TCellPtblRPData* copy = info.CellPrintData(r, c);
      ASSERT_NE(copy, nullptr);
      EXPECT_EQ(&copy->Cell(), table.GetCell(r, c));
      EXPECT_EQ(copy->GetItemCount(), table.GetCell(r, c)->GetItemCount());
      EXPECT_EQ(copy->DocumentHeight, table.GetCell(r, c)->DocumentHeight);
      EXPECT_EQ(copy->DrawItems.Count(), table.GetCell(r, c)->DrawItems.Count());
    }
  const auto& secondInfo = dynamic_cast<const TRPTablePrintInfo&>(*cells.F.Data().DrawItems[1]);
  EXPECT_EQ(secondInfo.CellPrintData(0, 0), nullptr);
  EXPECT_NE(secondInfo.CellPrintData(0, 1), nullptr);
}

}  // namespace
