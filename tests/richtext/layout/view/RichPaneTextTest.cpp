// The rich view control's answers to the text-control messages.
#include <gtest/gtest.h>

#include "RPViewTestData.h"

namespace {

// "one" / "two words": linear text "one\rtwo words" (a line break is one character).
struct TTextPane : TTestRichPane {
  TTextPane() {
    Pane.AddTextNL("one\ntwo words", 0, 0, 0);
    Pane.Format();
  }
};

TEST(RichPaneTextTest, TheTextAndItsLength) {
  TTextPane view;
  EXPECT_EQ(view.Pane.GetTextLen(), 13);
  WideChar buffer[32];
  EXPECT_EQ(view.Pane.GetTextBuf(buffer, 32), 13);
  EXPECT_EQ(WideString(buffer), u"one\rtwo words");
  // A short buffer takes what fits and the terminating zero.
  EXPECT_EQ(view.Pane.GetTextBuf(buffer, 4), 3);
  EXPECT_EQ(WideString(buffer), u"one");
  EXPECT_EQ(view.Pane.GetTextBuf(buffer, 1), 0);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(view.Pane.GetTextBuf(buffer, 0), 0);
  WideString range;
  EXPECT_EQ(view.Pane.GetTextRange(4, 7, range), 3);
  EXPECT_EQ(range, u"two");
  EXPECT_EQ(view.Pane.GetTextRange(8, -1, range), 5);
  EXPECT_EQ(range, u"words");
}

TEST(RichPaneTextTest, TheSelection) {
  TTextPane view;
  int32_t start = -1, end = -1;
  ASSERT_TRUE(view.Pane.GetSel(start, end));
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(0, 0));
  ASSERT_TRUE(view.Pane.SetSel(8, 13));
  ASSERT_TRUE(view.Pane.GetSel(start, end));
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(8, 13));
  int32_t startItem = 0, startOffs = 0, endItem = 0, endOffs = 0;
  view.Pane.RPData().GetSelectionRange(startItem, startOffs, endItem, endOffs);
  EXPECT_EQ(std::make_tuple(startItem, startOffs, endItem, endOffs), std::make_tuple(1, 5, 1, 10));
  // Selected backwards: still the smaller end first.
  view.Pane.SetSelectionBounds(1, 4, 0, 2);
  ASSERT_TRUE(view.Pane.GetSel(start, end));
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(1, 7));
  ASSERT_TRUE(view.Pane.SetSel(4, -1));
  ASSERT_TRUE(view.Pane.GetSel(start, end));
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(4, 13));
}

TEST(RichPaneTextTest, SettingTheText) {
  TTextPane view;
  ASSERT_TRUE(view.Pane.SetTextBuf("new\r\ntext here"));
  EXPECT_EQ(view.Pane.GetItemCount(), 2);
  EXPECT_EQ(view.Pane.RPData().GetItemTextA(1), "text here");
  EXPECT_EQ(view.Pane.GetTextLen(), 13);
  EXPECT_GT(view.Pane.RPData().DrawItems.Count(), 0);
}

// Without the document flag the control answers none of them.
TEST(RichPaneTextTest, WithoutTheFlagNothingIsAnswered) {
  TTextPane view;
  view.Pane.DocumentFlags &= ~rpdfTextMessages;
  int32_t start = 0, end = 0;
  WideChar buffer[8] = {u'x'};
  WideString range;
  EXPECT_FALSE(view.Pane.GetSel(start, end));
  EXPECT_FALSE(view.Pane.SetSel(0, 3));
  EXPECT_FALSE(view.Pane.SelectionExists());
  EXPECT_EQ(view.Pane.GetTextLen(), 0);
  EXPECT_EQ(view.Pane.GetTextBuf(buffer, 8), 0);
  EXPECT_EQ(buffer[0], u'x');
  EXPECT_EQ(view.Pane.GetTextRange(0, 3, range), 0);
  EXPECT_FALSE(view.Pane.SetTextBuf("gone"));
  EXPECT_EQ(view.Pane.GetItemCount(), 2);
}

}  // namespace
