// The linear view of a document without sub-documents: its text, its positions, and the
// selection set and read through them.
#include <gtest/gtest.h>

#include "RPLinearTestData.h"
#include "RPViewTestData.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPTextItems.h"

namespace {

// Sets the line-break length for a scope.
class TLineBreakLength {
public:
  explicit TLineBreakLength(int32_t length) : FSaved(RPLinearLineBreakLength) { RPLinearLineBreakLength = length; }
  ~TLineBreakLength() { RPLinearLineBreakLength = FSaved; }
  TLineBreakLength(const TLineBreakLength&) = delete;
  TLineBreakLength& operator=(const TLineBreakLength&) = delete;

private:
  int32_t FSaved;
};

TEST(RPLinearPositionsTest, TwoParagraphsReadAsTheirTextsWithALineBreak) {
  TTestRichPane view;
  view.Pane.AddTextNL("ab\ncd", 0, 0, 0);
  EXPECT_EQ(view.Pane.GetLinearText(0, -1), u"ab\rcd");
  EXPECT_EQ(view.Pane.GetLinearTextLength(), 5);
  int32_t pos = 3, offset = -1, itemNo = -1;
  TCustomRPData* found = nullptr;
  ASSERT_TRUE(TCustomRichPane::LinearToCaret(view.Pane.RPData(), pos, offset, itemNo, found));
  EXPECT_EQ(found, &view.Pane.RPData());
  EXPECT_EQ(itemNo, 1);
  EXPECT_EQ(offset, 1);
  EXPECT_EQ(view.Pane.GetLinearText(1, 3), u"b\rc");
  EXPECT_EQ(view.Pane.GetLinearText(4, 0), u"");
  EXPECT_EQ(view.Pane.GetLinearText(4, 9), u"d");
}

// Text runs on one line, a line break inside a paragraph, a break item, a tab and a
// picture on a line of its own and one that goes on after text.
void BuildMixedDocument(TTestRichPane& view) {
  TCustomRPData& data = view.Pane.RPData();
  auto continuing = [](std::unique_ptr<TCustomRPItemInfo> item) {
    item->ParaNo = -1;
    return item;
  };
  view.Pane.AddTextNL("first", 0, 0, 0);
  data.AddAnsiText(" run", 0, TRPTag(), -1);
  data.AddItem("", std::make_unique<TRPBreakItemInfo>(&data));
  data.AddAnsiText("x", 0, TRPTag(), 0);
  data.AddItem("", continuing(std::make_unique<TRPTabItemInfo>(&data)));
  data.AddItem("", continuing(std::make_unique<TRPGraphicItemInfo>(&data)));
  data.AddAnsiText("", 0, TRPTag(), 0);
  data.AddItem("", std::make_unique<TRPGraphicItemInfo>(&data));
  data.AddAnsiText("last", 0, TRPTag(), 0);
}

TEST(RPLinearPositionsTest, EveryCaretPositionComesBackFromItsLinearPosition) {
  for (int32_t length : {1, 2}) {
    SCOPED_TRACE(length);
    const TLineBreakLength lineBreaks(length);
    TTestRichPane view;
    BuildMixedDocument(view);
    ExpectLinearPositionsRoundTrip(view.Pane);
  }
}

TEST(RPLinearPositionsTest, SeparatorsTabsAndOtherItemsHaveTheirCharacters) {
  TTestRichPane view;
  BuildMixedDocument(view);
  EXPECT_EQ(view.Pane.GetLinearText(0, -1), u"first run\r \rx\t \r\r \rlast");
  const TLineBreakLength lineBreaks(2);
  EXPECT_EQ(view.Pane.GetLinearText(0, -1), u"first run\r\n \r\nx\t \r\n\r\n \r\nlast");
  // The length leaves out the document's first line break, whatever its length.
  EXPECT_EQ(view.Pane.GetLinearTextLength(), 28);
}

TEST(RPLinearPositionsTest, AnEmptyDocumentHasNoText) {
  TTestRichPane view;
  EXPECT_EQ(view.Pane.GetLinearTextLength(), 0);
  EXPECT_EQ(view.Pane.GetLinearText(0, -1), u"");
  int32_t pos = 0, offset = 0, itemNo = 0;
  TCustomRPData* found = nullptr;
  EXPECT_FALSE(TCustomRichPane::LinearToCaret(view.Pane.RPData(), pos, offset, itemNo, found));
  ExpectLinearSelection(view.Pane, 0, 0);
}

TEST(RPLinearPositionsTest, TheSelectionIsSetAndReadAsLinearPositions) {
  TTestRichPane view;
  view.Pane.AddTextNL("ab\ncd\nef", 0, 0, 0);
  view.Pane.Format();
  view.Pane.SetLinearSelection(1, 4);  // from after "a" to after "d"
  int32_t startItem = -1, endItem = -1, startOffs = 0, endOffs = 0;
  view.Pane.RPData().GetSelectionBounds(startItem, endItem, startOffs, endOffs, false);
  EXPECT_EQ(startItem, 0);
  EXPECT_EQ(startOffs, 2);
  EXPECT_EQ(endItem, 1);
  EXPECT_EQ(endOffs, 3);
  ExpectLinearSelection(view.Pane, 1, 4);
  // Backwards: the start is where selecting began.
  view.Pane.SetLinearSelection(7, -4);
  ExpectLinearSelection(view.Pane, 7, -4);
  // An end past the text selects nothing new.
  view.Pane.SetLinearSelection(0, 40);
  ExpectLinearSelection(view.Pane, 7, -4);
  view.Pane.Deselect();
  ExpectLinearSelection(view.Pane, 0, 0);
}

TEST(RPLinearPositionsTest, UnicodeTextCountsItsCharacters) {
  TTestRichPane view;
  view.Style.TextStyles()[0]->Unicode = true;
  view.Pane.RPData().AddTextW(u"Жёлтый", 0, TRPTag(), 0);
  view.Pane.RPData().AddTextW(u"лист", 0, TRPTag(), 0);
  EXPECT_EQ(view.Pane.GetLinearText(0, -1), u"Жёлтый\rлист");
  EXPECT_EQ(view.Pane.GetLinearTextLength(), 11);
  ExpectLinearPositionsRoundTrip(view.Pane);
}

}  // namespace
