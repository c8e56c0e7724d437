// Sub-documents take their flags, parent, root, style sheet and canvas from the list
// that holds them.
#include <gtest/gtest.h>

#include "RPViewTestData.h"
#include "richtext/layout/view/RPItemFormattedData.h"
#include "richtext/model/RPException.h"

namespace {

// A cell placed at a fixed offset inside its parent.
class TTestCell : public TRPItemFormattedData {
public:
  using TRPItemFormattedData::TRPItemFormattedData;
  TPoint Origin;
  TPoint GetOrigin() const override { return Origin; }
};

TTestCell& AddCell(TRPDataList& row) {
  auto cell = std::make_unique<TTestCell>(&row);
  TTestCell& ref = *cell;
  row.Add(std::move(cell));
  return ref;
}

TEST(RPItemFormattedDataTest, ANewListGivesItsSubDocumentsFlags0x0412) {
  TRPDataList row;
  TTestCell& a = AddCell(row);
  TTestCell& b = AddCell(row);
  EXPECT_EQ(a.GetDocumentFlags(), 0x0412);
  EXPECT_EQ(b.GetDocumentFlags(), 0x0412);
  row.Flags = 0x0002;
  EXPECT_EQ(b.GetDocumentFlags(), 0x0002);
  EXPECT_EQ(row.Data(1), &b);
}

TEST(RPItemFormattedDataTest, WritingTheFlagWordRaises) {
  TRPDataList row;
  TTestCell& cell = AddCell(row);
  try {
    cell.SetDocumentFlags(0);
    FAIL() << "no exception";
  } catch (const ERichPaneError& e) {
    EXPECT_STREQ(e.what(), "This method is not supported for TRPItemFormattedData");
  }
}

// A cell of a table nested in a cell of a table of the control's document: its parent
// is the outer cell, its root the control's document.
TEST(RPItemFormattedDataTest, TheRootIsTheOutermostDocument) {
  TTestRichPane view;
  TCustomRPData& top = view.Pane.RPData();
  TTestRow outerRow(&top);
  TTestCell& outer = AddCell(outerRow);
  TTestRow innerRow(&outer);
  TTestCell& inner = AddCell(innerRow);
  EXPECT_EQ(inner.GetParentData(), &outer);
  EXPECT_EQ(inner.GetAbsoluteParentData(), &outer);
  EXPECT_EQ(inner.GetRootData(), &top);
  EXPECT_EQ(inner.GetAbsoluteRootData(), &top);
  EXPECT_EQ(inner.GetStyleSheet(), &view.Style);
  EXPECT_EQ(inner.GetCanvas(), &view.Pane.Canvas());
  // Options are the root's.
  view.Pane.Options = rpoShowCheckpoints;
  EXPECT_EQ(inner.GetOptions(), rpoShowCheckpoints);
  // A list without a parent leaves the cell as its own root.
  TRPDataList loose;
  TTestCell& alone = AddCell(loose);
  EXPECT_EQ(alone.GetRootData(), &alone);
  EXPECT_EQ(alone.GetStyleSheet(), nullptr);
}

// A sub-document has no margins, scroll position or width of its own: it formats from
// the top-left corner in its parent's style sheet.
TEST(RPItemFormattedDataTest, ASubDocumentFormatsWithoutMargins) {
  TTestRichPane view;
  TTestRow row(&view.Pane.RPData());
  TTestCell& cell = AddCell(row);
  EXPECT_EQ(cell.GetLeftMargin() + cell.GetTopMargin() + cell.GetRightMargin() + cell.GetBottomMargin(), 0);
  EXPECT_EQ(cell.GetHOffs() + cell.GetVOffs() + cell.GetWidth() + cell.GetHeight(), 0);
  cell.AddAnsiText("word", 0, TRPTag(), 0);
  cell.FormatSubDocument(false);
  ASSERT_EQ(cell.DrawItems.Count(), 1);
  EXPECT_EQ(cell.DrawItems[0]->Left, 0);
  EXPECT_EQ(cell.DrawItems[0]->Top, 0);
  EXPECT_GT(cell.DrawItems[0]->Width, 0);
}

// Showing a rectangle of a cell scrolls the root's view to it, moved by the cell's
// origin.
TEST(RPItemFormattedDataTest, ShowingARectangleGoesToTheRootMovedByTheOrigin) {
  TTestRichPane view;
  view.Pane.SetBounds(100, 42);  // a 40-pixel client area
  view.Pane.UpdateScrollBars(100, 1000, true);
  TTestRow row(&view.Pane.RPData());
  TTestCell& cell = AddCell(row);
  cell.Origin = TPoint{0, 300};
  cell.ShowRectangle(0, 10, 10, 20);
  // The rectangle's bottom (330) becomes the view's bottom.
  EXPECT_EQ(view.Pane.RPData().GetVOffs(), 290);
}

}  // namespace
