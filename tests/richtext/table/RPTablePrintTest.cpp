// Tables cut into parts across pages, and printed parts painted into page bitmaps.
#include <gtest/gtest.h>

#include "richtext/layout/print/RPPrintTestData.h"
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
  // The cell at (row, col) holds count lines of text, one paragraph each (15 pixels).
  void Lines(int32_t row, int32_t col, int32_t count) {
    TRPTableCellData& cell = Cell(row, col);
    cell.Clear();
    for (int32_t i = 1; i <= count; ++i) cell.AddRawText("Line " + std::to_string(i), 0, 0);
  }
  // The cell at (row, col) holds a block height pixels tall, then a line of text.
  void BlockThenLine(int32_t row, int32_t col, int32_t height) {
    TRPTableCellData& cell = Cell(row, col);
    cell.Clear();
    cell.AddItem("", std::make_unique<TBlockItem>(&cell, 10, height, clBlack));
    cell.AddRawText("End", 0, 0);
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
    bool SplitRowGroups = false;  // the table's print options have rptoSplitRowGroups
  } cases[] = {
      {"plain rows", [](TStackedTable&) {}, 50, "0+2:40 2+2:40 4+2:40 "},
      {"a group tied by a cell spanning rows 1-3 moves whole",
       [](TStackedTable& t) { t.Table->MergeCells(1, 1, 1, 3, true); }, 70, "0+1:20 1+3:60 4+2:40 "},
      {"a group that begins the part stays and overflows",
       [](TStackedTable& t) { t.Table->MergeCells(0, 1, 1, 4, true); }, 50, "0+4:80 4+2:40 "},
      {"with rptoSplitRowGroups a group taller than the room is cut between its rows",
       [](TStackedTable& t) { t.Table->MergeCells(0, 1, 1, 4, true); }, 50, "0+2:40 2+2:40 4+2:40 ", true},
      {"with rptoSplitRowGroups a group that fits the next page still moves there whole",
       [](TStackedTable& t) { t.Table->MergeCells(1, 1, 1, 3, true); }, 70, "0+1:20 1+3:60 4+2:40 ", true},
      {"without rptoSplitRowGroups a row taller than the room stays whole and overflows",
       [](TStackedTable& t) { t.Lines(0, 1, 10); }, 50, "0+1:150 1+2:40 3+2:40 5+1:20 "},
      {"with rptoSplitRowGroups a row taller than the room is cut between its lines",
       [](TStackedTable& t) { t.Lines(0, 1, 10); }, 50, "0+1:45 0+1:45 0+1:45 0+2:35 2+2:40 4+2:40 ", true},
      {"with rptoSplitRowGroups the taller cell of a row gives the pieces their heights",
       [](TStackedTable& t) {
         t.Lines(0, 0, 2);
         t.Lines(0, 1, 10);
       },
       50, "0+1:45 0+1:45 0+1:45 0+2:35 2+2:40 4+2:40 ", true},
      {"with rptoSplitRowGroups a tall row after rows that fit begins the next part, cut there",
       [](TStackedTable& t) { t.Lines(2, 1, 10); }, 50, "0+2:40 2+1:45 2+1:45 2+1:45 2+2:35 4+2:40 ", true},
      {"with rptoSplitRowGroups a line taller than the room is cut into slices of the room",
       [](TStackedTable& t) { t.BlockThenLine(0, 1, 120); }, 50, "0+1:50 0+1:50 0+1:35 1+2:40 3+2:40 5+1:20 ", true},
      {"with rptoSplitRowGroups a row taller than its lines shrinks to them",
       [](TStackedTable& t) {
         t.Cell(0, 0).BestHeight = 500;
         t.Lines(0, 1, 2);
       },
       100, "0+4:90 4+2:40 ", true},
      {"with rptoSplitRowGroups a cell spanning below a tall row goes on in the rows below",
       [](TStackedTable& t) {
         t.Table->MergeCells(0, 1, 1, 2, true);
         t.Lines(0, 1, 14);
       },
       50, "0+1:45 1+1:45 1+1:45 1+1:45 1+1:30 2+2:40 4+2:40 ", true},
      {"with rptoSplitRowGroups the pieces of a tall row leave room for the repeated headings",
       [](TStackedTable& t) {
         t.Table->SetHeadingRowCount(2);
         t.Lines(2, 1, 10);
       },
       90, "2+1:85 2+1:85 2+1:85 2+2:75 4+2:80 ", true},
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
    if (k.SplitRowGroups) t.Table->PrintOptions |= rptoSplitRowGroups;
    k.Setup(t);
    auto info = t.Print();
    EXPECT_EQ(Paginate(*info, k.Room), k.Expected);
  }
}

// The pieces a cell shows, one per part: "first-last@top+height", the draw items of the
// piece, the content Y at its top and the height of its rows in the part; "whole" for a
// part that shows the cell uncut.
std::string DumpPieces(const TRPTablePrintInfo& info, int32_t row, int32_t col) {
  std::string out;
  for (int32_t p = 0; p < info.PartCount(); ++p) {
    TRPTablePrintInfo::TCellPiece piece;
    if (!info.GetCellPiece(p, row, col, piece)) {
      out += "whole ";
      continue;
    }
    out += std::to_string(piece.FirstDrawItem) + "-" + std::to_string(piece.LastDrawItem) + "@" +
           std::to_string(piece.ContentTop) + "+" + std::to_string(piece.RowsHeight) + " ";
  }
  return out;
}

// A one-row table cut inside its row (rptoSplitRowGroups): each piece of a cell goes on
// with the line the piece before did not show, from the piece's top; a shorter cell ends
// in the first piece and shows nothing after; a line taller than the room goes on in
// slices as high as the room.
TEST(RPTablePrintTest, EachPieceOfACutRowGoesOnWhereThePieceBeforeStopped) {
  struct TCase {
    const char* Name;
    void (*Setup)(TStackedTable&);
    int32_t Col;
    const char* Expected;
  } cases[] = {
      {"ten lines in pieces of three", [](TStackedTable& t) { t.Lines(0, 1, 10); }, 1,
       "0-2@0+45 3-5@45+45 6-8@90+45 9-9@135+15 "},
      {"the shorter cell beside them", [](TStackedTable& t) { t.Lines(0, 1, 10); }, 0,
       "0-1@0+45 2-1@30+45 2-1@30+45 2-1@30+15 "},
      {"a block of 120 and a line", [](TStackedTable& t) { t.BlockThenLine(0, 1, 120); }, 1,
       "0-0@0+50 0-0@50+50 0-1@100+35 "},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.Name);
    TStackedTable t(1);
    t.Lines(0, 0, 2);
    t.Table->PrintOptions |= rptoSplitRowGroups;
    k.Setup(t);
    auto info = t.Print();
    Paginate(*info, 50);
    EXPECT_EQ(DumpPieces(*info, 0, k.Col), k.Expected);
  }
}

TEST(RPTablePrintTest, WithoutSplitRowGroupsAPartOfOneRowIsNeverCut) {
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
