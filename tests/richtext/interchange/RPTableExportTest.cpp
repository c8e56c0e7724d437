// Tables in RTF and HTML: rows and cells with their widths, borders, merges and colours,
// nested tables, the cells' documents, and the host's hooks.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/graphics/Bitmap.h"
#include "richtext/interchange/RPExportTestData.h"

namespace {

// The rows of a table's RTF: each "{\trowd" ... "\row}" (or "\nestrow}") piece.
std::vector<std::string> RtfRows(const std::string& rtf, const char* close = "\\row}") {
  std::vector<std::string> rows;
  for (size_t at = rtf.find("{\\trowd"); at != std::string::npos; at = rtf.find("{\\trowd", at + 1)) {
    const size_t end = rtf.find(close, at);
    rows.push_back(rtf.substr(at, end == std::string::npos ? std::string::npos : end + std::strlen(close) - at));
  }
  return rows;
}

TEST(RPTableExportTest, AVerticallyMergedFirstColumn) {
  TExportView view;
  TRPTableItemInfo& table = view.AddTable(2, 2);
  ASSERT_TRUE(table.MergeCells(0, 0, 1, 2, true));
  TExportView::SetCell(table, 0, 0, "merged");
  TExportView::SetCell(table, 0, 1, "b");
  TExportView::SetCell(table, 1, 1, "d");
  const std::vector<std::string> rows = RtfRows(view.Rtf());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_NE(rows[0].find("\\clvmgf"), std::string::npos);
  EXPECT_EQ(rows[0].find("\\clvmrg"), std::string::npos);
  EXPECT_NE(rows[1].find("\\clvmrg"), std::string::npos);
  EXPECT_EQ(rows[1].find("\\clvmgf"), std::string::npos);
  for (const std::string& row : rows) {
    EXPECT_EQ(CountOf(row, "\\cell}"), 2);
    EXPECT_EQ(CountOf(row, "\\cellx"), 2);
  }
  // The covered position repeats the covering cell's borders but holds no text.
  EXPECT_NE(rows[0].find("merged\\cell}"), std::string::npos);
  EXPECT_NE(rows[1].find("{{\\cell}{"), std::string::npos);
}

TEST(RPTableExportTest, ANestedTable) {
  TExportView view;
  TRPTableItemInfo& outer = view.AddTable(1, 2);
  TExportView::SetCell(outer, 0, 0, "outer");
  TRPTableCellData& cell = *outer.GetCell(0, 1);
  cell.Clear();
  cell.AddTextW(u"above", 0, TRPTag(), 0);
  auto inner = std::make_unique<TRPTableItemInfo>(1, 2, &cell);
  TRPTableItemInfo& innerTable = *inner;
  cell.AddItem("", std::move(inner));
  TExportView::SetCell(innerTable, 0, 0, "inner");
  view.Pane.AddTextNL("after", 0, 0, 0);
  const std::string rtf = view.Rtf();
  // The nested row: its cells at nesting level 2, closed with "\nestcell", then its
  // properties in "\*\nesttableprops" ended by "\nestrow", then a paragraph mark for
  // readers without nesting.
  const size_t cells = rtf.find("\\pard\\intbl\\itap2{{");
  ASSERT_NE(cells, std::string::npos) << rtf;
  EXPECT_NE(rtf.find("above\r\n\\par \\pard\\intbl\\itap2{{"), std::string::npos);
  EXPECT_EQ(rtf.find("{\r\n\\pard\\fi0\\li0\\ql\\ri0\\sb0\\sa0\\itap2 \\plain \\f0\\fs20 inner\\nestcell}{\\nestcell}}"
                     "{\\*\\nesttableprops\\trowd\\trgaph",
                     cells),
            cells + 18)
      << rtf.substr(cells);
  const size_t props = rtf.find("{\\*\\nesttableprops");
  EXPECT_NE(rtf.find("\\itap2", props), std::string::npos);
  // The cell ends with the nested table: the cell mark closes a paragraph of the outer
  // level opened for it.
  EXPECT_NE(rtf.find("\\nestrow}{\\nonesttables\\par}\\pard\\intbl\\itap1 \\cell}}\\pard\\intbl\\itap1\\row}", props),
            std::string::npos)
      << rtf.substr(props);
  // The outer row's cells; the nested table closed the paragraph above it, and the table
  // the paragraph before "after".
  EXPECT_NE(rtf.find("\\itap1\\intbl \\plain \\f0\\fs20 outer\\cell}"), std::string::npos);
  EXPECT_EQ(CountOf(rtf, "\\par "), 1);
  EXPECT_NE(rtf.find("\\row}\r\n\\pard\\fi0"), std::string::npos) << rtf;
}

TEST(RPTableExportTest, TableWidthsInRtfAndHtml) {
  struct TCase {
    int32_t BestWidth;
    TRPTableOptions Options;
    const char* Rtf;
    const char* Html;
    const char* Xhtml;
  } cases[] = {
      {-50, 0, "\\trwWidth2500\\trftsWidth2", "<table width=\"50%\"", "<table width=\"50%\""},
      {200, 0, "\\trwWidth3060\\trftsWidth3", "<table width=200", "<table width=\"200\""},
      {0, 0, "\\trftsWidth1\\richpanetbw0", "<table border", "<table border"},
      {0, rptoRTFAllowAutofit, "\\trftsWidth1\\trautofit1", "<table border", "<table border"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rtf);
    TExportView view;
    TRPTableItemInfo& table = view.AddTable(1, 1);
    table.SetBestWidth(c.BestWidth);
    table.SetBorderWidth(2);
    table.Options = c.Options;
    EXPECT_NE(view.Rtf().find(c.Rtf), std::string::npos);
    EXPECT_NE(view.HtmlBody(0, false).find(c.Html), std::string::npos);
    EXPECT_NE(view.HtmlBody(rphtmlQuotedAttributes, true).find(c.Xhtml), std::string::npos);
  }
}

TEST(RPTableExportTest, RowProperties) {
  TExportView view;
  view.Style.ParaStyles()[1]->Alignment = rpaCenter;
  TRPTableItemInfo& table = view.AddTable(3, 2);
  table.ParaNo = 1;
  table.SetHeadingRowCount(1);
  table.SetCellPadding(2);
  table.SetCellBorderWidth(1);
  table.SetCellHSpacing(4);
  table.SetCellVSpacing(6);
  table.SetBorderVSpacing(8);
  table.PrintOptions = 0;  // rows kept whole
  table.GetCell(1, 0)->BestHeight = 20;
  table.GetCell(1, 1)->BestHeight = 30;
  const std::vector<std::string> rows = RtfRows(view.Rtf());
  ASSERT_EQ(rows.size(), 3u);
  // gap ((2 + 1) * 2 + 4) * 15 / 2; spacings halved; the first and the last row take the
  // border spacing on their outer side.
  EXPECT_EQ(rows[0].rfind("{\\trowd\\trqc\\trgaph75\\trleft0\\itap1\\trhdr\\trpaddl30\\trpaddt30\\trpaddr30\\trpaddb30"
                          "\\trpaddfl3\\trpaddft3\\trpaddfr3\\trpaddfb3\\trspdl30\\trspdr30\\trspdfl3\\trspdfr3"
                          "\\trspdt60\\trspdft3\\trspdb45\\trspdfb3\\trftsWidth1\\trkeep\\trkeepfollow\\richpanetbw0",
                          0),
            0u)
      << rows[0];
  EXPECT_NE(rows[1].find("\\itap1\\trrh450\\trpadd"), std::string::npos);
  EXPECT_NE(rows[1].find("\\trspdt45\\trspdft3\\trspdb45\\trspdfb3"), std::string::npos);
  EXPECT_NE(rows[2].find("\\trspdt45\\trspdft3\\trspdb60\\trspdfb3"), std::string::npos);
  EXPECT_EQ(rows[1].find("\\trhdr"), std::string::npos);
}

TEST(RPTableExportTest, CellPropertiesAndTheRightEdges) {
  TExportView view;
  TRPTableItemInfo& table = view.AddTable(1, 4);
  table.SetCellHSpacing(4);
  table.Options |= rptoRTFSaveCellPixelBestWidth;
  table.GetCell(0, 0)->BestWidth = -25;
  table.GetCell(0, 1)->BestWidth = 40;
  table.GetCell(0, 1)->BestHeight = 12;
  table.GetCell(0, 2)->VAlign = rpcMiddle;
  table.GetCell(0, 3)->VAlign = rpcBottom;
  table.GetCell(0, 3)->SetCellColor(clYellow);
  view.Pane.Format();
  const TRPTableItemFormattingInfo& layout = table.FormattingInfo();
  const std::string row = RtfRows(view.Rtf()).at(0);
  std::vector<std::string> edges;
  for (int32_t c = 0; c < 4; ++c)
    edges.push_back("\\cellx" + std::to_string((layout.ColStarts[c] + layout.ColWidths[c]) * 15 + 30));
  EXPECT_NE(row.find("\\clwWidth1250\\clftsWidth2\\richpanecbw-25\\richpanecbh0\\clcbpat17" + edges[0]),
            std::string::npos)
      << row;
  EXPECT_NE(row.find("\\clwWidth600\\clftsWidth3\\richpanecbw40\\richpanecbh12\\clcbpat17" + edges[1]),
            std::string::npos);
  EXPECT_NE(row.find("\\clftsWidth1\\richpanecbw0\\richpanecbh0\\clcbpat17\\clvertalc" + edges[2]), std::string::npos);
  EXPECT_NE(row.find("\\clcbpat7\\clvertalb" + edges[3]), std::string::npos);
  // Without the pixel option a preferred width in pixels is left to the reader.
  table.Options &= static_cast<TRPTableOptions>(~rptoRTFSaveCellPixelBestWidth);
  EXPECT_NE(view.Rtf().find("\\clwWidth0\\richpanecbw40"), std::string::npos);
}

TEST(RPTableExportTest, BordersWithTheirPrefixes) {
  struct TCase {
    TRPTableBorderStyle Style;
    const char* Table;  // the words of the table's left and top sides
  } cases[] = {
      {rptbRaised, "\\trbrdrl\\brdroutset\\brdrw30\\trbrdrt\\brdroutset\\brdrw30"},
      {rptbLowered, "\\trbrdrl\\brdrinset\\brdrw30\\trbrdrt"},
      {rptbColor,
       "\\trbrdrl\\brdrs\\brdrw30\\brdrcf6\\trbrdrt\\brdrs\\brdrw30\\brdrcf6\\trbrdrr\\brdrs\\brdrw30\\brdrcf6"},
      // The pairs: light left and top, main right and bottom, or the reverse.
      {rptbRaisedColor,
       "\\trbrdrl\\brdrs\\brdrw30\\brdrcf4\\trbrdrt\\brdrs\\brdrw30\\brdrcf4\\trbrdrr\\brdrs"
       "\\brdrw30\\brdrcf6\\trbrdrb\\brdrs\\brdrw30\\brdrcf6"},
      {rptbLoweredColor,
       "\\trbrdrl\\brdrs\\brdrw30\\brdrcf6\\trbrdrt\\brdrs\\brdrw30\\brdrcf6\\trbrdrr\\brdrs"
       "\\brdrw30\\brdrcf4\\trbrdrb\\brdrs\\brdrw30\\brdrcf4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Table);
    TExportView view;
    TRPTableItemInfo& table = view.AddTable(1, 1);
    table.SetBorderWidth(2);
    table.SetBorderStyle(c.Style);
    table.SetBorderColor(clRed);
    table.SetBorderLightColor(clLime);
    EXPECT_NE(view.Rtf().find(c.Table), std::string::npos);
  }
  // Cell borders take the cell's own colours over the table's, and only visible sides.
  TExportView view;
  TRPTableItemInfo& table = view.AddTable(1, 2);
  table.SetCellBorderWidth(1);
  table.SetCellBorderStyle(rptbColor);
  table.SetCellBorderColor(clBlue);
  table.GetCell(0, 1)->BorderColor = clRed;
  table.GetCell(0, 1)->VisibleBorders.SetValues(false, true, false, false);
  const std::string row = RtfRows(view.Rtf()).at(0);
  EXPECT_NE(row.find("\\clbrdrl\\brdrs\\brdrw15\\brdrcf2\\clbrdrt\\brdrs\\brdrw15\\brdrcf2\\clbrdrr"),
            std::string::npos);
  EXPECT_NE(row.find("\\richpanecbh0\\clbrdrt\\brdrs\\brdrw15\\brdrcf6\\clcbpat"), std::string::npos) << row;
  // No words for a border without width.
  EXPECT_EQ(row.find("\\trbrdr"), std::string::npos);
}

TEST(RPTableExportTest, RowAndCellExtras) {
  TExportView view;
  TRPTableItemInfo& table = view.AddTable(2, 2);
  std::vector<std::string> seen;
  view.Pane.OnSaveRTFExtra = [&](TCustomRichPane*, TRPRTFSaveArea area, TObject* object, int32_t row, int32_t col, bool,
                                 AnsiString& code) {
    if (area == rp_rtfs_RowProps) code = "\\ROW" + std::to_string(row);
    if (area == rp_rtfs_CellProps) {
      EXPECT_EQ(object, table.GetCell(row, col));
      code = "\\CELL" + std::to_string(row) + std::to_string(col);
    }
  };
  const std::vector<std::string> rows = RtfRows(view.Rtf());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_NE(rows[1].find("\\richpanetbw0\\ROW1\\clftsWidth1"), std::string::npos);
  EXPECT_NE(rows[1].find("\\CELL10\\cellx"), std::string::npos);
  EXPECT_NE(rows[1].find("\\CELL11\\cellx"), std::string::npos);
}

TEST(RPTableExportTest, AnEmptyCellInHtml) {
  for (const bool xhtml : {false, true}) {
    TExportView view;
    TRPTableItemInfo& table = view.AddTable(1, 2);
    TExportView::SetCell(table, 0, 0, "a");
    const std::string html = view.HtmlBody(xhtml ? rphtmlQuotedAttributes : 0, xhtml);
    EXPECT_NE(html.find(xhtml ? "<td><br /></td>" : "<td><br></td>"), std::string::npos) << html;
  }
}

TEST(RPTableExportTest, ClassicAttributes) {
  TExportView view;
  TRPTableItemInfo& table = view.AddTable(2, 2);
  table.SetBorderWidth(1);
  table.SetBorderStyle(rptbRaisedColor);
  table.SetBorderColor(clRed);
  table.SetBorderLightColor(clLime);
  table.SetCellPadding(3);
  table.SetColor(clYellow);
  table.Rows().GetRow(0)->VAlign = rpcBottom;
  ASSERT_TRUE(table.MergeCells(0, 0, 2, 1, true));
  table.GetCell(0, 0)->BestWidth = -40;
  table.GetCell(1, 0)->BestHeight = 30;
  table.GetCell(1, 0)->VAlign = rpcMiddle;
  table.GetCell(1, 1)->SetCellColor(clAqua);
  table.GetCell(1, 0)->SetCellColor(clYellow);  // the table's colour: no attribute
  EXPECT_EQ(view.HtmlBody(0, false),
            "<div><table border=1 cellpadding=3 bordercolorlight=\"#00ff00\" bordercolordark=\"#ff0000\" "
            "bgcolor=\"#ffff00\">\r\n"
            "<tr valign=bottom>\r\n"
            "<td colspan=2 width=\"40%\"><br></td>\r\n"
            "</tr>\r\n"
            "<tr valign=top>\r\n"
            "<td height=30 valign=middle><br></td>\r\n"
            "<td bgcolor=\"#00ffff\"><br></td>\r\n"
            "</tr>\r\n"
            "</table>\r\n"
            "</div>\r\n");
}

TEST(RPTableExportTest, StylesOfTheTableAndItsCells) {
  TExportView view;
  TRPTableItemInfo& table = view.AddTable(1, 2);
  table.SetBorderWidth(2);
  table.SetBorderStyle(rptbColor);
  table.SetBorderColor(clRed);
  table.SetCellBorderWidth(1);
  table.SetCellBorderStyle(rptbLowered);
  table.SetCellVSpacing(-1);
  table.SetCellHSpacing(-1);
  table.VisibleBorders.SetValues(true, false, true, true);
  table.GetCell(0, 1)->SetCellColor(clAqua);
  table.GetCell(0, 1)->VisibleBorders.SetValues(true, true, false, true);
  table.GetCell(0, 1)->BestWidth = 50;
  const std::string css = view.HtmlBody(rphtmlQuotedAttributes, true);
  // A negative spacing collapses the borders; no attribute says less than nothing.
  EXPECT_NE(css.find("<table border=\"2\" cellspacing=\"0\" style=\"border-color: #ff0000; border-style: solid; "
                     "background-color: #ffffff; border-collapse: collapse; border-top: none;\">"),
            std::string::npos)
      << css;
  EXPECT_NE(css.find("<td style=\"border-style: inset;\">"), std::string::npos);
  EXPECT_NE(css.find("<td style=\"border-style: inset; border-right: none; background-color: #00ffff; width: 50px;\">"),
            std::string::npos);
  // The classic flavour with styles keeps its colour attributes beside them.
  const std::string classic = view.HtmlBody(rphtmlUseCss, false);
  EXPECT_NE(classic.find("<table border=2 bordercolor=\"#ff0000\" cellspacing=0 bgcolor=\"#ffffff\" "
                         "style=\"border-collapse: collapse; border-top: none;\">"),
            std::string::npos)
      << classic;
  EXPECT_NE(classic.find("<td width=50 bgcolor=\"#00ffff\" style="), std::string::npos);
}

TEST(RPTableExportTest, CellBordersWithoutATableBorderKeepOneStyleAttribute) {
  TExportView view;
  TRPTableItemInfo& table = view.AddTable(1, 1);
  table.SetBorderWidth(0);
  table.SetCellBorderWidth(1);
  table.SetColor(clNone);
  const std::string html = view.HtmlBody(rphtmlUseCss, false);
  EXPECT_NE(html.find("<table border=1 style=\"border-width : 0px;\">"), std::string::npos) << html;
  const std::string xhtml = view.HtmlBody(rphtmlQuotedAttributes, true);
  EXPECT_NE(xhtml.find("<table border=\"1\" style=\"border-width : 0px;\">"), std::string::npos) << xhtml;
}

TEST(RPTableExportTest, BackgroundPicturesGoWhereTheHostSays) {
  TExportView view;
  TRPTableItemInfo& table = view.AddTable(1, 2);
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(2, 2);
  table.SetBackgroundImage(&picture);
  table.SetBackgroundStyle(rpbsStretched);
  table.GetCell(0, 0)->SetBackgroundImage(&picture);
  table.GetCell(0, 1)->SetBackgroundImage(&picture);
  table.GetCell(0, 1)->BackgroundImageFileName = "own/cell.png";
  std::vector<std::string> asked;
  view.Pane.OnHTMLSaveImage = [&](TCustomRichPane*, TCustomRPData& rpData, int32_t itemNo, const WideString&, TColor,
                                  AnsiString& location, bool& doDefault) {
    asked.push_back(std::to_string(itemNo) + (&rpData == &view.Data() ? " document" : " cell"));
    location = itemNo == 0 ? "table.png" : "cell.png";
    doDefault = false;
  };
  const std::string css = view.HtmlBody(rphtmlUseImageFileName, true);
  EXPECT_EQ(asked, (std::vector<std::string>{"0 document", "-1 cell"}));
  EXPECT_NE(css.find("background-position: center center; background-repeat: no-repeat; "
                     "background-image: url('table.png');"),
            std::string::npos)
      << css;
  EXPECT_NE(css.find("<td style=\"background-position: left top; background-repeat: repeat; "
                     "background-image: url('cell.png');\">"),
            std::string::npos);
  // The cell's own file, with the option.
  EXPECT_NE(css.find("background-image: url('own/cell.png');"), std::string::npos);
  const std::string classic = view.HtmlBody(0, false);
  EXPECT_NE(classic.find(" background=\"table.png\""), std::string::npos);
}

}  // namespace
