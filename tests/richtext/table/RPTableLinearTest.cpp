// The linear view of documents that hold tables: each cell's text after a line break,
// one line break after the last cell, positions inside cells at any depth, and
// selections inside cells set and read through linear positions.
#include <gtest/gtest.h>

#include "richtext/layout/view/RPLinearTestData.h"
#include "richtext/layout/view/RPViewTestData.h"
#include "richtext/table/RPTableItem.h"

namespace {

TRPTableItemInfo& AddTable(TCustomRPData& data, int32_t rowCount, int32_t colCount) {
  auto item = std::make_unique<TRPTableItemInfo>(rowCount, colCount, &data);
  TRPTableItemInfo& table = *item;
  data.AddItem("", std::move(item));
  return table;
}

void SetText(TRPTableCellData& cell, const std::string& text) {
  cell.Clear();
  cell.AddRawText(text, 0, 0);
}

// The paragraph "ab", then a table whose cells hold texts, row by row.
TRPTableItemInfo& AddTableAfterText(TTestRichPane& view, int32_t rowCount, int32_t colCount,
                                    const std::vector<std::string>& texts) {
  view.Pane.AddTextNL("ab", 0, 0, 0);
  TRPTableItemInfo& table = AddTable(view.Pane.RPData(), rowCount, colCount);
  for (size_t i = 0; i < texts.size(); ++i)
    SetText(*table.GetCell(static_cast<int32_t>(i) / colCount, static_cast<int32_t>(i) % colCount), texts[i]);
  return table;
}

TEST(RPTableLinearTest, ATableBetweenParagraphsReadsAsItsCellsOnLinesOfTheirOwn) {
  TTestRichPane view;
  TRPTableItemInfo& table = AddTableAfterText(view, 2, 2, {"x", "y", "z"});
  view.Pane.AddTextNL("cd", 0, 0, 0);
  // The table's own line break, one before each cell, one after the last cell.
  EXPECT_EQ(view.Pane.GetLinearText(0, -1), u"ab\r\rx\ry\rz\r\r\rcd");
  EXPECT_EQ(view.Pane.GetLinearTextLength(), 14);
  ASSERT_TRUE(table.MergeCells(1, 0, 2, 1, true));  // a covered position has no line break
  EXPECT_EQ(view.Pane.GetLinearText(0, -1), u"ab\r\rx\ry\rz\r\rcd");
  EXPECT_EQ(view.Pane.GetLinearText(3, 4), u"\rx\ry");
}

// Text, a picture and a nested table in cells, a merged cell, a table first and a table
// last in the document.
void BuildNestedDocument(TTestRichPane& view) {
  TCustomRPData& data = view.Pane.RPData();
  TRPTableItemInfo& first = AddTable(data, 2, 3);
  ASSERT_TRUE(first.MergeCells(0, 1, 2, 2, true));
  SetText(*first.GetCell(0, 0), "a1");
  TRPTableCellData& holder = *first.GetCell(0, 1);
  SetText(holder, "before");
  holder.AddRawText("run", 0, -1);
  TRPTableItemInfo& inner = AddTable(holder, 2, 2);
  SetText(*inner.GetCell(0, 0), "in");
  inner.GetCell(1, 1)->AddItem("", std::make_unique<TRPGraphicItemInfo>(inner.GetCell(1, 1)));
  TRPTableItemInfo& deepest = AddTable(*inner.GetCell(0, 1), 1, 2);
  SetText(*deepest.GetCell(0, 1), "deep");
  holder.AddRawText("after", 0, 0);
  view.Pane.AddTextNL("middle\ntext", 0, 0, 0);
  TRPTableItemInfo& last = AddTable(data, 1, 1);
  last.GetCell(0, 0)->AddItem("", std::make_unique<TRPBreakItemInfo>(last.GetCell(0, 0)));
}

TEST(RPTableLinearTest, EveryCaretPositionInNestedCellsComesBack) {
  for (int32_t length : {1, 2}) {
    SCOPED_TRACE(length);
    const int32_t saved = RPLinearLineBreakLength;
    RPLinearLineBreakLength = length;
    TTestRichPane view;
    BuildNestedDocument(view);
    ExpectLinearPositionsRoundTrip(view.Pane);
    RPLinearLineBreakLength = saved;
  }
}

TEST(RPTableLinearTest, NestedCellsReadInReadingOrder) {
  TTestRichPane view;
  BuildNestedDocument(view);
  EXPECT_EQ(view.Pane.GetLinearText(0, -1),
            u"\ra1\rbeforerun\r\rin\r\r\r\rdeep\r\r\r\r \r\rafter\r\r\rmiddle\rtext\r\r\r \r");
}

TEST(RPTableLinearTest, ASelectionInsideACellIsSetAndReadThroughLinearPositions) {
  TTestRichPane view;
  TRPTableItemInfo& table = AddTableAfterText(view, 1, 2, {"xyz", "uvw"});
  view.Pane.Format();
  // "ab", the table's line break at 2, the cells' at 3 and 7: "xyz" at 4-6, "uvw" at 8-10.
  view.Pane.SetLinearSelection(9, 2);
  TRPTableCellData& second = *table.GetCell(0, 1);
  int32_t startItem = -1, endItem = -1, startOffs = 0, endOffs = 0;
  second.GetSelectionBounds(startItem, endItem, startOffs, endOffs, false);
  EXPECT_EQ(startItem, 0);
  EXPECT_EQ(startOffs, 2);
  EXPECT_EQ(endOffs, 4);
  EXPECT_EQ(view.Pane.RPData().GetInnerSelectionItem(), &table);
  ExpectLinearSelection(view.Pane, 9, 2);
  // Another cell: the first selection goes.
  view.Pane.SetLinearSelection(6, -2);
  second.GetSelectionBounds(startItem, endItem, startOffs, endOffs, false);
  EXPECT_EQ(startItem, -1);
  ExpectLinearSelection(view.Pane, 6, -2);
  // From one cell into another: two documents, nothing changes.
  view.Pane.SetLinearSelection(5, 5);
  ExpectLinearSelection(view.Pane, 6, -2);
}

}  // namespace
