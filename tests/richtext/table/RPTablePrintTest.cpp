// Tables cut into parts across pages, and printed parts painted into page bitmaps.
#include <gtest/gtest.h>

#include "richtext/model/RPException.h"
#include "richtext/model/RPTestCanvas.h"
#include "richtext/table/RPTablePrint.h"
#include "richtext/table/RPTableTestData.h"

namespace {

// rowCount rows of 20 pixels stacked with no spacing, padding or borders: row r spans
// 20 r .. 20 r + 20, the table 20 rowCount.
struct TStackedTable : TTableInDocument {
  explicit TStackedTable(int32_t rowCount) : TTableInDocument(rowCount, 2) {
    Table->SetCellVSpacing(0);
    Table->SetCellPadding(0);
    Table->SetBorderVSpacing(0);
    for (int32_t r = 0; r < rowCount; ++r) Cell(r, 0).BestHeight = 20;
  }
  std::unique_ptr<TRPTablePrintInfo> Print() {
    auto info = std::make_unique<TRPTablePrintInfo>(*Table, SameResolution);
    info->LayOut(100, Data.Canvas);
    return info;
  }
};

std::string DumpParts(const TRPTablePrintInfo& info) {
  std::string out;
  for (int32_t i = 0; i < info.PartCount(); ++i) {
    const TRPTablePrintPart& p = info.Part(i);
    out += std::to_string(p.StartRow) + "+" + std::to_string(p.RowCount) + ":" + std::to_string(p.Height) + " ";
  }
  return out;
}

// Cuts parts for pages of room pixels until the last part fits.
std::string Paginate(TRPTablePrintInfo& info, int32_t room) {
  if (!info.StartParts()) return "not split";
  for (int guard = 0; guard < 100 && info.SplitLastPart(room); ++guard) {
  }
  return DumpParts(info);
}

TEST(RPTablePrintTest, PartsAreRunsOfRowsThatFitTheRoom) {
  struct TCase {
    const char* Name;
    void (*Setup)(TStackedTable&);
    int32_t Room;
    const char* Expected;
  } cases[] = {
      {"plain rows", [](TStackedTable&) {}, 50, "0+2:40 2+2:40 4+2:40 "},
      {"a group tied by a cell spanning rows 1-3 moves whole",
       [](TStackedTable& t) { t.Table->MergeCells(1, 1, 1, 3, true); }, 70, "0+1:20 1+3:60 4+2:40 "},
      {"a group that begins the part stays and overflows",
       [](TStackedTable& t) { t.Table->MergeCells(0, 1, 1, 4, true); }, 50, "0+4:80 4+2:40 "},
      {"with rptoSplitRowGroups a group taller than the room is cut between its rows",
       [](TStackedTable& t) {
         t.Table->MergeCells(0, 1, 1, 4, true);
         t.Table->PrintOptions |= rptoSplitRowGroups;
       },
       50, "0+2:40 2+2:40 4+2:40 "},
      {"with rptoSplitRowGroups a group that fits the next page still moves there whole",
       [](TStackedTable& t) {
         t.Table->MergeCells(1, 1, 1, 3, true);
         t.Table->PrintOptions |= rptoSplitRowGroups;
       },
       70, "0+1:20 1+3:60 4+2:40 "},
      {"repeated headings: parts start at body rows and count the headings",
       [](TStackedTable& t) { t.Table->SetHeadingRowCount(2); }, 90, "2+2:80 4+2:80 "},
      {"headings spanning into the body are not repeated",
       [](TStackedTable& t) {
         t.Table->SetHeadingRowCount(2);
         t.Table->MergeCells(1, 0, 1, 2, true);
       },
       90, "0+4:70 4+2:40 "},
      {"a row with a page break starts a part although the table fits",
       [](TStackedTable& t) { t.Table->Rows().GetRow(3)->PageBreakBefore = true; }, 1000, "0+3:60 3+3:60 "},
      {"without row splitting and page breaks the table is never split",
       [](TStackedTable& t) { t.Table->PrintOptions = 0; }, 50, "not split"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.Name);
    TStackedTable t(6);
    k.Setup(t);
    auto info = t.Print();
    EXPECT_EQ(Paginate(*info, k.Room), k.Expected);
  }
}

TEST(RPTablePrintTest, APartOfOneRowIsNeverCut) {
  TStackedTable t(1);
  t.Cell(0, 0).BestHeight = 500;
  auto info = t.Print();
  ASSERT_TRUE(info->StartParts());
  EXPECT_FALSE(info->SplitLastPart(100));
  EXPECT_EQ(DumpParts(*info), "0+1:500 ");
}

// A last part that claims more height than its rows take leaves no row to cut at.
TEST(RPTablePrintTest, APartWithNoRowToCutAtIsAnInternalError) {
  TStackedTable t(6);
  auto info = t.Print();
  info->PartsList.AddPart(std::make_unique<TRPTablePrintPart>(1000, 0, 2));
  try {
    info->SplitLastPart(500);
    FAIL();
  } catch (const ERichPaneError& e) {
    EXPECT_STREQ(e.what(), "Internal printing error");
  }
}

TEST(RPTablePrintTest, TheFirstRowGroupMustFitToStartOnAPage) {
  TStackedTable t(3);
  t.Table->MergeCells(0, 1, 1, 2, true);
  auto info = t.Print();
  EXPECT_FALSE(info->CanStartOnPage(40));
  EXPECT_TRUE(info->CanStartOnPage(41));
}

// The conversion's table on a page: one-pixel black cell borders that coincide between
// neighbours (spacing -1), padding 2, no table border.
TEST(RPTablePrintTest, CellBordersOfTheConversionSettingsCoincide) {
  TTableInDocument t(2, 2);
  t.UseConversionSettings();
  t.Table->SetColor(clWhite);
  TRPTablePrintInfo info(*t.Table, SameResolution);
  info.LayOut(40, t.Data.Canvas);
  ASSERT_EQ(info.Width, 40);
  ASSERT_EQ(info.Height, 45);  // rows of one empty line, 15 pixels
  auto page = WhitePage(40, 45);
  info.Print(*page->Canvas(), 0, 0, -1, TRect{0, 0, 40, 45}, rpcmColor);
  const std::vector<std::string> art = Art(*page, 0);
  const std::string frame = ".." + std::string(36, '#') + "..";
  const std::string inside = "..#................#.................#..";
  EXPECT_EQ(art[1], std::string(40, '.'));
  EXPECT_EQ(art[2], frame);
  for (int32_t y : {3, 10, 21, 23, 41}) EXPECT_EQ(art[static_cast<size_t>(y)], inside) << y;
  EXPECT_EQ(art[22], frame);
  EXPECT_EQ(art[42], frame);
  EXPECT_EQ(art[43], std::string(40, '.'));
}

}  // namespace
