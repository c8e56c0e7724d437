// Hit testing and the selection on draw-item positions.
#include <gtest/gtest.h>

#include "../model/RPTestCanvas.h"
#include "RPLayoutPeer.h"
#include "RPLayoutTestData.h"

namespace {

// "aaa bbb" and "ccc" on two lines of 15 pixels (the wrap test's layout).
class RPSelectionTest : public ::testing::Test {
protected:
  void SetUp() override {
    peer = PeerText(u"Arial", 10, {u"aaa bbb", u"a", u"aa"});
    data.Width = peer.Extents[0] + 2;
    data.AddAnsiText("aaa bbb ccc", 0, TRPTag(), 0);
    data.FormatAll();
    ASSERT_EQ(data.DrawItems.Count(), 2);
  }
  TPeerText peer;
  TTestFormattedData data;
};

TEST_F(RPSelectionTest, AnEmptyDocumentHitsNothing) {
  TTestFormattedData empty;
  empty.FormatAll();
  int32_t drawNo = 0, offs = 0;
  empty.FindDrawItemAtPos(5, 5, drawNo, offs, false);
  EXPECT_EQ(drawNo, -1);
  EXPECT_EQ(offs, -1);
}

TEST_F(RPSelectionTest, PointsMapToTheNearestCaretPosition) {
  struct TCase {
    int X, Y;
    bool Strict;
    int DrawNo, Offs;
  };
  const int a = peer.Extents[1], aa = peer.Extents[2];
  const TCase cases[] = {
      {0, 2, false, 0, 1},                 // before the first character
      {a + 1, 2, false, 0, 2},             // just past "a"
      {(a + aa) / 2 + 1, 2, false, 0, 3},  // nearer to after "aa"
      {a + (aa - a) / 2 - 1, 2, false, 0, 2},
      {150, 5, false, 0, 8},   // right of the line: its end (not strict)
      {150, 5, true, -1, -1},  // strict: in no box
      {1, 20, false, 1, 1},    // the second line
      {150, 40, false, 1, 4},  // below everything: the last line's end
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
    int32_t drawNo = 0, offs = 0;
    data.FindDrawItemAtPos(c.X, c.Y, drawNo, offs, c.Strict);
    EXPECT_EQ(drawNo, c.DrawNo);
    EXPECT_EQ(offs, c.Offs);
  }
}

// A justified line with Hebrew words stands in visual order: a point inside a word's
// draw item hits that draw item.
TEST(RPSelectionOrderTest, PointsHitTheDrawItemsOfALineInVisualOrder) {
  TTestFormattedData data;
  data.Width = 200;
  data.Para(0).Alignment = rpaJustify;
  data.AddW(u"Alpha \u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD beta gamma delta epsilon zeta eta theta", 0, 0);
  data.FormatAll();
  ASSERT_GT(data.DrawItems.Count(), 4);
  ASSERT_GT(data.DrawItems[1]->Left, data.DrawItems[2]->Left);  // the Hebrew words swapped
  for (int32_t i = 0; i < data.DrawItems.Count() && (i == 0 || !data.DrawItems[i]->StartsLine()); ++i) {
    const TRPDrawLineInfo& d = *data.DrawItems[i];
    int32_t drawNo = -1, offs = -1;
    data.FindDrawItemAtPos(d.Left + d.Width / 2, d.Top + 2, drawNo, offs, false);
    EXPECT_EQ(drawNo, i);
  }
}

// Item offset 8 (before the dropped space) ends the first line's draw item; 9 starts
// the second's.
TEST_F(RPSelectionTest, ItemPositionsAtAWrapBelongToTheEarlierDrawItem) {
  const std::tuple<int, int, int> table[] = {{1, 0, 1}, {8, 0, 8}, {9, 1, 1}, {12, 1, 4}, {40, 1, 32}};
  for (const auto& [offs, drawNo, drawOffs] : table) {
    SCOPED_TRACE(offs);
    int32_t d = 0, o = 0;
    data.ItemToDrawItemPos(0, offs, d, o);
    EXPECT_EQ(d, drawNo);
    EXPECT_EQ(o, drawOffs);
    int32_t itemNo = 0, back = 0;
    data.DrawItemToItemPos(d, o, itemNo, back);
    EXPECT_EQ(itemNo, 0);
    EXPECT_EQ(back, offs);
  }
  int32_t itemNo = 0, offs = 0;
  data.DrawItemToItemPos(5, 1, itemNo, offs);
  EXPECT_EQ(itemNo, -1);
}

TEST_F(RPSelectionTest, SelectionIsKeptAsDrawItemPositionsAndClamped) {
  data.SetSelectionBounds(0, 10, 0, 2);  // backwards, from the second line
  int32_t s = 0, e = 0, so = 0, eo = 0;
  data.GetDrawSelectionBounds(s, e, so, eo, false);
  EXPECT_EQ(std::make_tuple(s, e, so, eo), std::make_tuple(1, 0, 2, 2));
  data.GetSelectionBounds(s, e, so, eo, true);
  EXPECT_EQ(std::make_tuple(s, e, so, eo), std::make_tuple(0, 0, 2, 10));
  EXPECT_TRUE(data.IsPosInSelection(0, 5, false));
  EXPECT_FALSE(data.IsPosInSelection(0, 2, false));
  EXPECT_TRUE(data.IsPosInSelection(0, 2, true));
  EXPECT_TRUE(data.SelectionExists(false));
  data.SetSelectionBounds(0, 3, 0, 3);
  EXPECT_FALSE(data.SelectionExists(true));
  data.GetDrawSelectionBounds(s, e, so, eo, false);
  EXPECT_EQ(s, -1);  // the empty selection was cancelled
  data.SelectAll();
  data.GetDrawSelectionBounds(s, e, so, eo, false);
  EXPECT_EQ(std::make_tuple(s, e, so, eo), std::make_tuple(0, 1, 1, 4));
}

// A pass after a resize keeps the selection as item positions, though the draw items
// change; a whole pass drops it.
TEST_F(RPSelectionTest, TheSelectionSurvivesAResizeOnly) {
  data.SetSelectionBounds(0, 5, 0, 10);  // "bbb c", over the wrap
  data.Width = 400;
  data.Format(true, false, true, 0, nullptr, false, false, false);
  ASSERT_EQ(data.DrawItems.Count(), 1);
  int32_t s = 0, e = 0, so = 0, eo = 0;
  data.GetDrawSelectionBounds(s, e, so, eo, false);
  EXPECT_EQ(std::make_tuple(s, e, so, eo), std::make_tuple(0, 0, 5, 10));
  data.FormatAll();
  data.GetDrawSelectionBounds(s, e, so, eo, false);
  EXPECT_EQ(s, -1);
}

// A partly selected draw item: the selected characters get the selection's background,
// the others none.
TEST_F(RPSelectionTest, APartlySelectedRunShowsTheSelectionOnlyUnderItsCharacters) {
  data.SetSelectionBounds(0, 5, 0, 8);  // "bbb"
  auto page = WhitePage(data.Width, 30);
  data.DrawRect(*page->Canvas(), TRect{0, 0, data.Width, 30});
  const TColor selection = ColorToRGB(clHighlight);
  const int before = PeerText(u"Arial", 10, {u"aaa "}).Extents[0];
  int highlighted = 0, outside = 0;
  for (int32_t y = 0; y < 15; ++y)
    for (int32_t x = 0; x < data.Width; ++x) {
      if (page->PixelColor(x, y) != selection) continue;
      ++highlighted;
      if (x < before || x >= peer.Extents[0]) ++outside;
    }
  EXPECT_GT(highlighted, 0);
  EXPECT_EQ(outside, 0);
}

}  // namespace

namespace {

// "aaa bbb" / "ccc" (one wrapped item), then a line break inside the paragraph, then a
// new paragraph.
TEST(RPDrawItemQueriesTest, ParagraphLineAndItemStarts) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"aaa bbb"});
  TTestFormattedData data;
  data.Width = peer.Extents[0] + 2;
  data.AddAnsiText("aaa bbb ccc", 0, TRPTag(), 0);
  data.AddAnsiText("ddd", 0, TRPTag(), 0);
  data.GetItem(1)->SetLineBreakBefore(true);
  data.AddAnsiText("eee", 0, TRPTag(), 0);
  data.FormatAll();
  ASSERT_EQ(data.DrawItems.Count(), 4);
  struct TRow {
    bool ParaStart, ItemStart, LineStartItem, ParaEnd, WrappedAfter;
  };
  const TRow rows[] = {{true, true, true, false, true},
                       {false, false, false, false, false},
                       {false, true, true, true, false},
                       {true, true, true, true, false}};
  for (int32_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(data.IsParaStartDrawItem(i), rows[i].ParaStart);
    EXPECT_EQ(data.IsItemStartDrawItem(i), rows[i].ItemStart);
    EXPECT_EQ(data.IsLineStartItem(i), rows[i].LineStartItem);
    EXPECT_EQ(data.IsParaEndDrawItem(i), rows[i].ParaEnd);
    EXPECT_EQ(data.IsLineWrappedAfter(i), rows[i].WrappedAfter);
  }
  int32_t left = -1, top = -1;
  ASSERT_TRUE(data.GetItemCoords(2, left, top));
  EXPECT_EQ(std::make_pair(left, top), std::make_pair(0, 45));
  EXPECT_EQ(data.GetFirstItemVisible(), 0);
  EXPECT_EQ(data.GetLastItemVisible(), 2);  // the view is 100 pixels high
}

}  // namespace
