// RTF tables imported as table items: the grid of column boundaries and merged cells,
// heading rows, colours, borders, widths, alignment, padding and spacing, nested tables,
// what stands after the last row, and the limits on what a table may grow to.
#include <gtest/gtest.h>

#include "richtext/interchange/RPRTFImportFixture.h"

namespace {

std::string TableDoc(const std::string& body) {
  return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
         "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}" +
         body + "}";
}

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\n";
  return text;
}

// A row of cells with the given right boundaries and texts.
std::string Row(std::initializer_list<int32_t> rights, std::initializer_list<const char*> texts,
                const std::string& rowProps = "", const std::string& cellProps = "") {
  std::string rtf = "\\trowd" + rowProps;
  for (int32_t right : rights) rtf += cellProps + "\\cellx" + std::to_string(right);
  rtf += "\\pard\\intbl ";
  for (const char* text : texts) rtf += std::string(text) + "\\cell ";
  return rtf + "\\row ";
}

class RPRTFImportTables : public ::testing::Test {
protected:
  TImportFixture F;
  std::string Dump() { return TImportFixture::Dump(F.Data()); }
  TRPTableItemInfo& Table(int32_t itemNo = 0) {
    auto* table = dynamic_cast<TRPTableItemInfo*>(F.Data().GetItem(itemNo));
    EXPECT_NE(table, nullptr) << Dump();
    static TRPTableItemInfo none(1, 1, nullptr);
    return table ? *table : none;
  }
};

TEST_F(RPRTFImportTables, RowsOfCellsBecomeATable) {
  ASSERT_EQ(F.Import(TableDoc(Row({1440, 2880}, {"a", "b"}) + Row({1440, 2880}, {"c", "d"}) + "\\pard after\\par")),
            rtf_ec_OK);
  EXPECT_EQ(Dump(), Lines({"table 2x2 p=0 N", "  cell 0,0 span 1x1", "    text s=0 p=0 N 'a'", "  cell 0,1 span 1x1",
                           "    text s=0 p=0 N 'b'", "  cell 1,0 span 1x1", "    text s=0 p=0 N 'c'",
                           "  cell 1,1 span 1x1", "    text s=0 p=0 N 'd'", "text s=0 p=0 N 'after'"}));
  TRPTableItemInfo& table = Table();
  // The table's look before the rows say more: no colour, coloured 3-D borders, automatic
  // colours; without widths each cell is as wide as its boundaries (an inch: 96 pixels).
  EXPECT_EQ(table.GetColor(), clNone);
  EXPECT_EQ(table.GetBorderStyle(), rptbColor);  // light and dark colours both automatic
  EXPECT_EQ(table.GetCellBorderStyle(), rptbColor);
  EXPECT_EQ(table.GetBorderColor(), clWindowText);
  EXPECT_EQ(table.GetCellBorderLightColor(), clWindowText);
  EXPECT_EQ(table.GetCellHSpacing(), -1);
  EXPECT_EQ(table.GetCellVSpacing(), -1);
  EXPECT_EQ(table.GetBorderWidth(), 0);
  EXPECT_EQ(table.GetCell(0, 0)->BestWidth, 96);
  EXPECT_EQ(table.GetBestWidth(), 0);
}

TEST_F(RPRTFImportTables, BoundariesWithinOneTwipShareAColumn) {
  const struct {
    int32_t SecondRowBoundary;
    const char* Grid;
  } cases[] = {
      {1001, "2 columns: a 1x1 b 1x1 / c 1x1 d 1x1"},
      {999, "2 columns: a 1x1 b 1x1 / c 1x1 d 1x1"},
      {1002, "3 columns: a 1x1 b 1x2 / c 1x2 d 1x1"},
      {998, "3 columns: a 1x2 b 1x1 / c 1x1 d 1x2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.SecondRowBoundary);
    TImportFixture f;
    ASSERT_EQ(f.Import(TableDoc(Row({1000, 2000}, {"a", "b"}) + Row({c.SecondRowBoundary, 2000}, {"c", "d"}))),
              rtf_ec_OK);
    auto* table = dynamic_cast<TRPTableItemInfo*>(f.Data().GetItem(0));
    ASSERT_NE(table, nullptr);
    std::string grid = std::to_string(table->Rows().GetColCount()) + " columns:";
    for (int32_t r = 0; r < table->Rows().GetRowCount(); ++r) {
      if (r > 0) grid += " /";
      for (int32_t col = 0; col < table->Rows().GetColCount(); ++col)
        if (const TRPTableCellData* cell = table->GetCell(r, col))
          grid += " " + TImportFixture::ItemText(*cell, 0) + " " + std::to_string(cell->GetRowSpan()) + "x" +
                  std::to_string(cell->GetColSpan());
    }
    EXPECT_EQ(grid, c.Grid);
  }
}

// Where a row's cells end before the table's last column (or begin after its first), the
// positions no cell claims become one empty cell per run, spanning it.
TEST_F(RPRTFImportTables, PositionsNoCellClaimsMakeOneEmptyCellPerRun) {
  ASSERT_EQ(F.Import(TableDoc(Row({1000, 2000, 3000, 4000}, {"a", "b", "c", "d"}) + Row({1000}, {"e"}) +
                              Row({2000, 3000}, {"f", "g"}, "\\trleft1000"))),
            rtf_ec_OK);
  EXPECT_EQ(Dump(),
            Lines({"table 3x4 p=0 N",        "  cell 0,0 span 1x1", "    text s=0 p=0 N 'a'", "  cell 0,1 span 1x1",
                   "    text s=0 p=0 N 'b'", "  cell 0,2 span 1x1", "    text s=0 p=0 N 'c'", "  cell 0,3 span 1x1",
                   "    text s=0 p=0 N 'd'", "  cell 1,0 span 1x1", "    text s=0 p=0 N 'e'", "  cell 1,1 span 1x3",
                   "    text s=0 p=0 N ''",  "  cell 2,0 span 1x1", "    text s=0 p=0 N ''",  "  cell 2,1 span 1x1",
                   "    text s=0 p=0 N 'f'", "  cell 2,2 span 1x1", "    text s=0 p=0 N 'g'", "  cell 2,3 span 1x1",
                   "    text s=0 p=0 N ''"}));
}

TEST_F(RPRTFImportTables, HorizontalAndVerticalMerges) {
  ASSERT_EQ(
      F.Import(TableDoc(Row({1000, 2000, 3000}, {"a", "", "c"}, "", "") +
                        "\\trowd\\clvmgf\\cellx1000\\clmgf\\cellx2000"
                        "\\clmrg\\cellx3000\\pard\\intbl d\\cell e\\cell\\cell\\row "
                        "\\trowd\\clvmrg\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl\\cell f\\cell g\\cell\\row "
                        "\\trowd\\clvmrg\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl\\cell h\\cell i\\cell\\row")),
      rtf_ec_OK);
  TRPTableItemInfo& table = Table();
  ASSERT_EQ(table.Rows().GetRowCount(), 4);
  ASSERT_EQ(table.Rows().GetColCount(), 3);
  const TRPTableCellData* d = table.GetCell(1, 0);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->GetRowSpan(), 3);
  EXPECT_EQ(d->GetColSpan(), 1);
  EXPECT_EQ(TImportFixture::PlainText(*d), "d");
  EXPECT_EQ(table.GetCell(2, 0), nullptr);
  EXPECT_EQ(table.GetCell(3, 0), nullptr);
  const TRPTableCellData* e = table.GetCell(1, 1);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->GetColSpan(), 2);
  EXPECT_EQ(table.GetCell(1, 2), nullptr);
  EXPECT_EQ(TImportFixture::PlainText(*table.GetCell(3, 2)), "i");
}

TEST_F(RPRTFImportTables, MergedCellsKeepTheirText) {
  // Text in a cell merged into another joins that cell.
  ASSERT_EQ(F.Import(TableDoc("\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\pard\\intbl a\\cell b\\cell\\row ")),
            rtf_ec_OK);
  EXPECT_EQ(TImportFixture::PlainText(*Table().GetCell(0, 0)), "a\nb");
}

TEST_F(RPRTFImportTables, HeadingRowsColoursBordersAndAlignment) {
  const std::string cell = "\\clcbpat1\\clvertalc\\clbrdrl\\brdrs\\brdrw15\\brdrcf2\\clbrdrr\\brdrs\\brdrw15\\brdrcf1";
  const std::string row = "\\trhdr\\trbrdrl\\brdrs\\brdrw30\\brdrcf1\\trbrdrr\\brdrs\\brdrw30\\brdrcf2";
  ASSERT_EQ(F.Import(TableDoc(Row({1000}, {"h1"}, row, cell) + Row({1000}, {"h2"}, row, cell) + Row({1000}, {"x"}))),
            rtf_ec_OK);
  TRPTableItemInfo& table = Table();
  EXPECT_EQ(table.GetHeadingRowCount(), 2);
  const TRPTableCellData& c = *table.GetCell(0, 0);
  EXPECT_EQ(c.GetCellColor(), clRed);
  EXPECT_EQ(c.VAlign, rpcMiddle);
  EXPECT_TRUE(c.VisibleBorders.IsEqualToValues(true, false, true, false));
  EXPECT_EQ(c.BorderColor, clBlue);      // the left side's
  EXPECT_EQ(c.BorderLightColor, clRed);  // the right side's
  EXPECT_EQ(table.GetCell(2, 0)->GetCellColor(), clNone);
  EXPECT_TRUE(table.GetCell(2, 0)->VisibleBorders.IsAllEqual(false));
  EXPECT_EQ(table.GetCellBorderStyle(), rptbLoweredColor);  // a cell's two colours differ
  EXPECT_EQ(table.GetBorderLightColor(), clRed);            // the row's left side
  EXPECT_EQ(table.GetBorderColor(), clBlue);                // the row's right side
  EXPECT_EQ(table.GetBorderStyle(), rptbRaisedColor);
  EXPECT_EQ(table.GetBorderWidth(), 2);      // 30 twips
  EXPECT_EQ(table.GetCellBorderWidth(), 1);  // 15 twips
}

TEST_F(RPRTFImportTables, ThinBordersAreAtLeastOnePixel) {
  // 5 twips are a third of a pixel, yet more than 4 twips: 1 pixel.
  ASSERT_EQ(F.Import(TableDoc(Row({1000}, {"a"}, "", "\\clbrdrt\\brdrs\\brdrw5"))), rtf_ec_OK);
  EXPECT_EQ(Table().GetCellBorderWidth(), 1);
  TImportFixture g;
  ASSERT_EQ(g.Import(TableDoc(Row({1000}, {"a"}, "", "\\clbrdrt\\brdrs\\brdrw3"))), rtf_ec_OK);
  EXPECT_EQ(dynamic_cast<TRPTableItemInfo&>(*g.Data().GetItem(0)).GetCellBorderWidth(), 0);
}

TEST_F(RPRTFImportTables, WidthsInTwipsPercentAndPixels) {
  ASSERT_EQ(F.Import(TableDoc("\\trowd\\trftsWidth2\\trwWidth5000\\clftsWidth3\\clwWidth1500\\cellx1500"
                              "\\clftsWidth2\\clwWidth2500\\cellx4000\\pard\\intbl a\\cell b\\cell\\row ")),
            rtf_ec_OK);
  TRPTableItemInfo& table = Table();
  EXPECT_EQ(table.GetBestWidth(), -100);  // 5000 fiftieths of a percent
  EXPECT_EQ(table.GetCell(0, 0)->BestWidth, 100);
  EXPECT_EQ(table.GetCell(0, 1)->BestWidth, -50);

  TImportFixture g;
  ASSERT_EQ(
      g.Import(TableDoc("\\trowd\\richpanetbw300\\richpanecbw80\\richpanecbh30\\cellx1500\\richpanecbw120\\cellx4000"
                        "\\pard\\intbl a\\cell b\\cell\\row ")),
      rtf_ec_OK);
  auto& pixels = dynamic_cast<TRPTableItemInfo&>(*g.Data().GetItem(0));
  EXPECT_EQ(pixels.GetBestWidth(), 300);
  EXPECT_EQ(pixels.GetCell(0, 0)->BestWidth, 80);
  EXPECT_EQ(pixels.GetCell(0, 0)->BestHeight, 30);
  EXPECT_EQ(pixels.GetCell(0, 1)->BestWidth, 120);

  TImportFixture h;
  ASSERT_EQ(h.Import(TableDoc("\\trowd\\trftsWidth3\\trwWidth4500\\trrh-600\\cellx1500\\pard\\intbl a\\cell\\row ")),
            rtf_ec_OK);
  auto& twips = dynamic_cast<TRPTableItemInfo&>(*h.Data().GetItem(0));
  EXPECT_EQ(twips.GetBestWidth(), 300);
  EXPECT_EQ(twips.GetCell(0, 0)->BestHeight, 40);  // the row's height, 600 twips
}

TEST_F(RPRTFImportTables, ATableWithoutWidthMayTakeTheWidthOfItsBoundaries) {
  const std::string rtf = TableDoc("\\trowd\\trleft720\\cellx2160\\cellx3600\\pard\\intbl a\\cell b\\cell\\row ");
  ASSERT_EQ(F.Import(rtf), rtf_ec_OK);
  EXPECT_EQ(Table().GetBestWidth(), 0);  // by default no width
  TImportFixture g;
  g.Props.TableWidthFromBoundaries = true;
  ASSERT_EQ(g.Import(rtf), rtf_ec_OK);
  EXPECT_EQ(dynamic_cast<TRPTableItemInfo&>(*g.Data().GetItem(0)).GetBestWidth(), 192);  // 720 .. 3600 twips
}

TEST_F(RPRTFImportTables, PaddingIsAveragedAndTakenOffTheWidths) {
  ASSERT_EQ(
      F.Import(TableDoc(Row({1440}, {"a"}, "\\trpaddl60\\trpaddfl3\\trpaddr90\\trpaddfr3\\trpaddt15\\trpaddft3") +
                        Row({1440}, {"b"}, "\\trpaddl60\\trpaddfl3\\trpaddr90\\trpaddfr3\\trpaddt15\\trpaddft3"))),
      rtf_ec_OK);
  TRPTableItemInfo& table = Table();
  EXPECT_EQ(table.GetCellPadding(), 4);  // (4 + 6 + 1) / 3 = 3.67
  EXPECT_EQ(table.GetCell(0, 0)->BestWidth, 96 - 8);
}

TEST_F(RPRTFImportTables, SpacingBetweenCellsAndAtTheBorder) {
  const std::string spacing = "\\trspdl30\\trspdfl3\\trspdr45\\trspdfr3\\trspdt15\\trspdft3\\trspdb30\\trspdfb3";
  ASSERT_EQ(F.Import(TableDoc(Row({1000}, {"a"}, spacing) + Row({1000}, {"b"}, spacing) + Row({1000}, {"c"}, spacing))),
            rtf_ec_OK);
  TRPTableItemInfo& table = Table();
  EXPECT_EQ(table.GetCellHSpacing(), 5);  // left 2 + right 3
  EXPECT_EQ(table.GetBorderHSpacing(), 5);
  EXPECT_EQ(table.GetCellVSpacing(), 3);  // between rows: bottom 2 + top 1
  EXPECT_EQ(table.GetBorderVSpacing(), 3);
}

TEST_F(RPRTFImportTables, TheTableParagraphStyleFollowsTheMode) {
  F.Style.ParaStyles()[0]->LeftIndent = 20;
  const std::string rtf = TableDoc("\\trowd\\trqc\\cellx1000\\pard\\intbl a\\cell\\row ");
  ASSERT_EQ(F.Import(rtf), rtf_ec_OK);
  EXPECT_EQ(F.Data().GetItemPara(0), 0);  // closest: style 0
  TImportFixture g;
  g.Style.ParaStyles()[0]->LeftIndent = 20;
  g.Props.ParaStyleMode = rprsAddIfNeeded;
  ASSERT_EQ(g.Import(rtf), rtf_ec_OK);
  ASSERT_EQ(g.Import(rtf), rtf_ec_OK);
  EXPECT_EQ(g.Style.ParaStyles().Count(), 3);  // added once
  const TParaInfo& style = *g.Style.ParaStyles()[g.Data().GetItemPara(0)];
  EXPECT_EQ(style.Alignment, rpaCenter);
  EXPECT_EQ(style.LeftIndent, 0);
  EXPECT_EQ(g.Data().GetItemPara(1), g.Data().GetItemPara(0));
  TImportFixture h;
  h.Props.ParaStyleMode = rprsUseSpecified;
  h.Props.SetParaStyleNo(1);
  ASSERT_EQ(h.Import(rtf), rtf_ec_OK);
  EXPECT_EQ(h.Data().GetItemPara(0), 1);
}

TEST_F(RPRTFImportTables, NestedTablesGoIntoTheirCells) {
  ASSERT_EQ(F.Import(TableDoc(
                "\\trowd\\cellx2000\\cellx4000\\pard\\intbl outer a\\cell "
                "\\pard\\intbl\\itap2 n1\\nestcell n2\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000"
                "\\nestrow}{\\nonesttables\\par}\\pard\\intbl\\itap1 outer b\\cell\\row \\pard after\\par")),
            rtf_ec_OK);
  EXPECT_EQ(Dump(), Lines({"table 1x2 p=0 N", "  cell 0,0 span 1x1", "    text s=0 p=0 N 'outer a'",
                           "  cell 0,1 span 1x1", "    table 1x2 p=0 N", "      cell 0,0 span 1x1",
                           "        text s=0 p=0 N 'n1'", "      cell 0,1 span 1x1", "        text s=0 p=0 N 'n2'",
                           "    text s=0 p=0 N 'outer b'", "text s=0 p=0 N 'after'"}));
}

TEST_F(RPRTFImportTables, TablesNestTwice) {
  ASSERT_EQ(F.Import(TableDoc(
                "\\trowd\\cellx4000\\pard\\intbl a"
                "\\pard\\intbl\\itap2 b"
                "\\pard\\intbl\\itap3 c\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\nestrow}{\\nonesttables\\par}"
                "\\pard\\intbl\\itap2 d\\nestcell{\\*\\nesttableprops\\trowd\\cellx2000\\nestrow}{\\nonesttables\\par}"
                "\\pard\\intbl e\\cell\\row ")),
            rtf_ec_OK);
  EXPECT_EQ(Dump(), Lines({"table 1x1 p=0 N", "  cell 0,0 span 1x1", "    text s=0 p=0 N 'a'", "    table 1x1 p=0 N",
                           "      cell 0,0 span 1x1", "        text s=0 p=0 N 'b'", "        table 1x1 p=0 N",
                           "          cell 0,0 span 1x1", "            text s=0 p=0 N 'c'",
                           "        text s=0 p=0 N 'd'", "    text s=0 p=0 N 'e'"}));
}

TEST_F(RPRTFImportTables, ItemsAfterTheLastRowFollowTheTable) {
  ASSERT_EQ(F.Import(TableDoc(Row({1000}, {"a"}) + "\\intbl tail\\par")), rtf_ec_OK);
  EXPECT_EQ(Dump(),
            Lines({"table 1x1 p=0 N", "  cell 0,0 span 1x1", "    text s=0 p=0 N 'a'", "text s=0 p=0 N 'tail'"}));
}

TEST_F(RPRTFImportTables, AnUnfinishedRowStaysAsParagraphs) {
  ASSERT_EQ(
      F.Import(TableDoc(Row({1000, 2000}, {"a", "b"}) + "\\trowd\\cellx1000\\cellx2000\\pard\\intbl c\\cell d\\cell")),
      rtf_ec_OK);
  EXPECT_EQ(Dump(), Lines({"table 1x2 p=0 N", "  cell 0,0 span 1x1", "    text s=0 p=0 N 'a'", "  cell 0,1 span 1x1",
                           "    text s=0 p=0 N 'b'", "text s=0 p=0 N 'c'", "text s=0 p=0 N 'd'"}));
}

TEST_F(RPRTFImportTables, IgnoredTablesFlowAsParagraphs) {
  F.Props.IgnoreTables = true;
  ASSERT_EQ(F.Import(TableDoc(Row({1000, 2000}, {"a", "b"}))), rtf_ec_OK);
  EXPECT_EQ(TImportFixture::PlainText(F.Data()), "a\nb");
}

TEST_F(RPRTFImportTables, GridLinesMayBeHiddenAndAPageBreakComesFirst) {
  F.Props.AutoHideTableGridLines = true;
  ASSERT_EQ(F.Import(TableDoc("x\\par\\page " + Row({1000}, {"a"}))), rtf_ec_OK);
  ASSERT_EQ(F.Data().GetItemCount(), 2);
  EXPECT_TRUE(Table(1).GetPageBreakBefore());
  EXPECT_NE(Table(1).Options & rptoHideGridLines, 0);
}

TEST_F(RPRTFImportTables, ColumnsPastTheLimitJoinTheNearest) {
  F.Props.Limits.MaxTableColumns = 3;
  ASSERT_EQ(F.Import(TableDoc(Row({100, 200, 300, 400, 500}, {"a", "b", "c", "d", "e"}))), rtf_ec_OK);
  TRPTableItemInfo& table = Table();
  ASSERT_EQ(table.Rows().GetColCount(), 3);
  EXPECT_EQ(TImportFixture::PlainText(*table.GetCell(0, 2)), "c\nd\ne");  // nothing is lost
}

TEST_F(RPRTFImportTables, ATableOfTheMostCellsEndsAndTheNextRowsStartAnother) {
  F.Props.Limits.MaxTableCells = 4;
  std::string rows;
  for (const char* text : {"1", "2", "3", "4", "5"}) rows += Row({1000, 2000}, {text, text});
  ASSERT_EQ(F.Import(TableDoc(rows)), rtf_ec_OK);
  ASSERT_EQ(F.Data().GetItemCount(), 3) << Dump();
  EXPECT_EQ(Table(0).Rows().GetRowCount(), 2);
  EXPECT_EQ(Table(1).Rows().GetRowCount(), 2);
  EXPECT_EQ(Table(2).Rows().GetRowCount(), 1);
  EXPECT_EQ(TImportFixture::PlainText(*Table(2).GetCell(0, 1)), "5");
}

TEST_F(RPRTFImportTables, SpansStopAtTheLimit) {
  F.Props.Limits.MaxTableSpan = 2;
  std::string rows = Row({1000}, {"a"}, "", "\\clvmgf");
  for (int i = 0; i < 3; ++i) rows += Row({1000}, {""}, "", "\\clvmrg");
  ASSERT_EQ(F.Import(TableDoc(rows)), rtf_ec_OK);
  TRPTableItemInfo& table = Table();
  ASSERT_EQ(table.Rows().GetRowCount(), 4);
  EXPECT_EQ(table.GetCell(0, 0)->GetRowSpan(), 2);
  ASSERT_NE(table.GetCell(2, 0), nullptr);
  EXPECT_EQ(table.GetCell(2, 0)->GetRowSpan(), 2);
}

TEST_F(RPRTFImportTables, ALongSeriesOfShiftedBoundariesStaysWithinTheLimits) {
  // Every row moves its boundary by 3 twips: each would be a column of its own (the
  // limits are small here to keep the test quick; the defaults work the same way).
  F.Props.Limits.MaxTableColumns = 50;
  F.Props.Limits.MaxTableCells = 2000;
  std::string rows;
  for (int i = 0; i < 300; ++i) rows += Row({1000 + 3 * i, 100000}, {"a", "b"});
  ASSERT_EQ(F.Import(TableDoc(rows)), rtf_ec_OK);
  int64_t cells = 0;
  for (int32_t i = 0; i < F.Data().GetItemCount(); ++i) {
    TRPTableItemInfo& table = Table(i);
    EXPECT_LE(table.Rows().GetColCount(), F.Props.Limits.MaxTableColumns);
    // The row that reaches the limit ends the table: it may bring a row and a column more.
    const int64_t rowCount = table.Rows().GetRowCount(), colCount = table.Rows().GetColCount();
    EXPECT_LT(rowCount * colCount, F.Props.Limits.MaxTableCells + rowCount + colCount);
    cells += table.Rows().GetRowCount();  // rows
  }
  EXPECT_EQ(cells, 300);  // every row is somewhere
  EXPECT_GT(F.Data().GetItemCount(), 1);
}

}  // namespace
