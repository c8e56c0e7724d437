// Selecting with the mouse by characters, words, paragraphs and lines; selection shapes;
// the inner selection of an item and the selection seen from a sub-document.
#include <gtest/gtest.h>

#include <tuple>

#include "RPLayoutPeer.h"
#include "RPLayoutTestData.h"
#include "richtext/layout/RPLayoutItems.h"

namespace {

using TSel = std::tuple<int32_t, int32_t, int32_t, int32_t>;  // start draw item, offset, end draw item, offset

TSel Selection(const TCustomRPFormattedData& data) {
  int32_t s = 0, e = 0, so = 0, eo = 0;
  data.GetDrawSelectionBounds(s, e, so, eo, false);
  return {s, so, e, eo};
}

// "aaa bbb ccc ddd" on one line: caret offsets 5..8 are the word "bbb", 9..12 "ccc",
// 13..16 "ddd". X of a caret offset comes from the font's own advances.
class RPMouseSelectionTest : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string text = "aaa bbb ccc ddd";
    std::vector<std::u16string> prefixes;
    for (size_t i = 0; i <= text.size(); ++i) prefixes.emplace_back(text.begin(), text.begin() + static_cast<long>(i));
    peer = PeerText(u"Arial", 10, prefixes);
    data.Width = 300;
    data.AddAnsiText(text, 0, TRPTag(), 0);
    data.FormatAll();
    ASSERT_EQ(data.DrawItems.Count(), 1);
  }
  int32_t X(int32_t caretOffs) const { return peer.Extents[static_cast<size_t>(caretOffs - 1)]; }
  TPeerText peer;
  TTestFormattedData data;
};

TEST_F(RPMouseSelectionTest, WordsAndTheirBounds) {
  const std::tuple<int, bool, int, int> table[] = {
      // caret offset, inside a word, the word's first and last caret offsets
      {1, false, 1, 4},                    // at the text's start: not strictly inside
      {2, true, 1, 4},  {5, false, 5, 8},  // right after a delimiter
      {6, true, 5, 8},  {16, false, 13, 16},
  };
  for (const auto& [offs, inWord, start, end] : table) {
    SCOPED_TRACE(offs);
    EXPECT_EQ(data.IsInWord(0, offs), inWord);
    int32_t s = 0, e = 0;
    data.GetWordBounds(0, offs, s, e);
    EXPECT_EQ(std::make_pair(s, e), std::make_pair(start, end));
  }
}

// Each step moves the mouse to a caret offset; the selection after it.
TEST_F(RPMouseSelectionTest, WordModeSnapsToWordsOnceTheStartWordIsLeft) {
  data.Style.SelectionMode = rpsmWord;
  data.BeginMouseSelection(X(6), 2, false, false);
  ASSERT_NE(data.GetSelectingInfo(), nullptr);
  EXPECT_EQ(data.GetSelectingInfo()->StartWordState, InWord);
  const std::tuple<const char*, int, TSel> steps[] = {
      {"inside the start word: characters", 7, {0, 6, 0, 7}},
      {"into another word: both ends snap", 15, {0, 5, 0, 16}},
      {"back inside the end word: free", 14, {0, 5, 0, 14}},
      {"a new end word snaps again", 10, {0, 5, 0, 12}},
      {"back into the start word: characters from the press", 7, {0, 6, 0, 8}},
  };
  for (const auto& [name, offs, expected] : steps) {
    SCOPED_TRACE(name);
    data.SelectToPoint(X(offs), 2);
    EXPECT_EQ(Selection(data), expected);
  }
  data.EndMouseSelection();
  EXPECT_EQ(data.GetSelectingInfo(), nullptr);
}

TEST_F(RPMouseSelectionTest, BackwardsTheStartSnapsToItsWordsEnd) {
  data.Style.SelectionMode = rpsmWord;
  data.BeginMouseSelection(X(14), 2, false, false);
  EXPECT_TRUE(data.SelectToPoint(X(6), 2));
  EXPECT_EQ(Selection(data), TSel(0, 16, 0, 5));
  EXPECT_FALSE(data.SelectToPoint(X(6), 2));  // nothing changed
  EXPECT_FALSE(data.SelectionIsForward());
}

TEST_F(RPMouseSelectionTest, CharacterModeFollowsTheMouse) {
  data.Style.SelectionMode = rpsmChar;
  data.BeginMouseSelection(X(6), 2, false, false);
  EXPECT_EQ(data.GetSelectingInfo(), nullptr);
  data.SelectToPoint(X(14), 2);
  EXPECT_EQ(Selection(data), TSel(0, 6, 0, 14));
  data.BeginMouseSelection(X(3), 2, true, false);  // with Shift: only the end moves
  EXPECT_EQ(Selection(data), TSel(0, 6, 0, 3));
}

// "aaa bbb" / "ccc" (wrapped), then the paragraph "ddd" and "eee" on a line of its own.
class RPLineSelectionTest : public ::testing::Test {
protected:
  void SetUp() override {
    const TPeerText peer = PeerText(u"Arial", 10, {u"aaa bbb"});
    data.Width = peer.Extents[0] + 2;
    data.AddAnsiText("aaa bbb ccc", 0, TRPTag(), 0);
    data.AddAnsiText("ddd", 0, TRPTag(), 0);
    data.AddAnsiText("eee", 0, TRPTag(), 0);
    data.GetItem(2)->SetLineBreakBefore(true);
    data.FormatAll();
    ASSERT_EQ(data.DrawItems.Count(), 4);  // lines at 0, 15, 30, 45
  }
  TTestFormattedData data;
};

TEST_F(RPLineSelectionTest, ParagraphModeSelectsWholeParagraphs) {
  data.Style.SelectionMode = rpsmParagraph;
  data.BeginMouseSelection(5, 2, false, false);
  EXPECT_EQ(data.GetSelectingInfo()->StartWordState, ParaMode);
  data.SelectToPoint(5, 32);
  EXPECT_EQ(Selection(data), TSel(0, 1, 3, 4));
}

TEST_F(RPLineSelectionTest, LineModeSelectsWholeLines) {
  data.BeginMouseSelection(0, 17, false, true);
  EXPECT_EQ(Selection(data), TSel(1, 1, 1, 4));
  EXPECT_TRUE(data.SelectLinesToPoint(0, 47));
  EXPECT_EQ(Selection(data), TSel(1, 1, 3, 4));
  EXPECT_TRUE(data.SelectLinesToPoint(0, 2));  // above the press: from the press line's end up
  EXPECT_EQ(Selection(data), TSel(1, 4, 0, 1));
}

TEST_F(RPLineSelectionTest, SelectionShapes) {
  data.SetSelectionBounds(0, 10, 0, 6);  // backwards inside the first paragraph
  EXPECT_FALSE(data.SelectionSpansParagraphs());
  data.ExpandSelectionToParagraphs(true);  // only when several: unchanged
  EXPECT_EQ(Selection(data), TSel(1, 2, 0, 6));
  data.ExpandSelectionToLines(false);
  EXPECT_EQ(Selection(data), TSel(1, 4, 0, 1));
  data.SetSelectionBounds(0, 2, 1, 2);
  EXPECT_TRUE(data.SelectionSpansParagraphs());
  data.ExpandSelectionToParagraphs(true);
  EXPECT_EQ(Selection(data), TSel(0, 1, 3, 4));
  int32_t si = 0, so = 0, ei = 0, eo = 0;
  data.GetSelectionRange(si, so, ei, eo);
  EXPECT_EQ(TSel(si, so, ei, eo), TSel(0, 1, 2, 4));
}

TEST_F(RPLineSelectionTest, PositionQueries) {
  // Draw item 0 ends before the dropped space; the others reach their item's end.
  const bool endsBefore[] = {true, false, false, false};
  for (int32_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(data.EndsItemTextBeforeEnd(i), endsBefore[i]);
    EXPECT_TRUE(data.IsLineStartAfterMarker(i));
  }
  EXPECT_EQ(data.GetDrawItemAtPos(2, 17), 1);
  EXPECT_EQ(data.GetDrawItemAtPos(150, 17), -1);
  int32_t first = 0, last = 0;
  data.GetParaDrawItems(1, first, last);
  EXPECT_EQ(std::make_pair(first, last), std::make_pair(0, 1));
  data.GetParaDrawItems(3, first, last);
  EXPECT_EQ(std::make_pair(first, last), std::make_pair(2, 3));
}

// An item holding a selection of its own (a table with selected cells).
class TInnerSelectionFake : public TRPRectItemInfo, public IRPInnerSelectionItem {
public:
  explicit TInnerSelectionFake(TCustomRPData* data) : TRPRectItemInfo(data) { StyleNo = -60; }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  int32_t GetWidth() const override { return 20; }
  int32_t GetHeight() const override { return 20; }
  void ReleaseInnerSelection() override { ++Releases; }
  int Releases = 0;
};
const TRPItemClassInfo TInnerSelectionFake::ClassInfo{"TInnerSelectionFake", nullptr};

// A document standing in an item of another.
class TSubFormattedData : public TTestFormattedData {
public:
  TSubFormattedData(TCustomRPData& parent, int32_t holder) : FParent(parent), FHolder(holder) {}
  TCustomRPData* GetParentData() const override { return &FParent; }
  int32_t GetParentInfo(std::unique_ptr<TRPStoreSubRPData>& location) const override {
    location.reset();
    return FHolder;
  }

private:
  TCustomRPData& FParent;
  int32_t FHolder;
};

TEST(RPInnerSelectionTest, ASubDocumentSelectionIsItsParentsInnerSelection) {
  TTestFormattedData parent;
  parent.AddAnsiText("aa", 0, TRPTag(), 0);
  auto holder = std::make_unique<TInnerSelectionFake>(&parent);
  TInnerSelectionFake& table = *holder;
  parent.AddItem("", std::move(holder));
  parent.AddAnsiText("bb", 0, TRPTag(), 0);
  parent.FormatAll();
  TSubFormattedData cell(parent, 1);
  cell.AddAnsiText("cell", 0, TRPTag(), 0);
  cell.FormatAll();

  parent.SetSelectionBounds(0, 1, 2, 2);  // over the holder
  EXPECT_TRUE(cell.IsPosInSelection(0, 2, false));
  parent.SetSelectionBounds(0, 1, 0, 2);
  EXPECT_FALSE(cell.IsPosInSelection(0, 2, false));

  const int releasesBefore = table.Releases;
  cell.SetSelectionBounds(0, 1, 0, 3);
  EXPECT_EQ(std::get<0>(Selection(parent)), -1);  // the parent's own selection went
  EXPECT_EQ(parent.GetInnerSelectionItem(), &table);
  EXPECT_EQ(table.Releases, releasesBefore);  // the holder keeps its selection
  EXPECT_FALSE(parent.SelectionExists(false, false));
  EXPECT_TRUE(parent.SelectionExists(false, true));

  parent.SetSelectionBounds(0, 1, 0, 2);  // a selection of the parent's own
  EXPECT_EQ(table.Releases, releasesBefore + 1);
  EXPECT_EQ(parent.GetInnerSelectionItem(), nullptr);
}

// A right-to-left line is hit from the right: right of everything gives its logically
// first draw item, left of everything its last; a Hebrew draw item's caret offsets run
// from its right edge to its left.
TEST(RPBiDiHitTest, RightToLeftLinesAreVisitedFromTheRight) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"\u05D0\u05D1", u"\u05D2\u05D3"});
  TTestFormattedData data;
  data.Width = 300;
  data.Para(0).BiDiMode = rpbdRightToLeft;
  data.AddW(u"\u05D0\u05D1", 0, 0);
  data.AddW(u"\u05D2\u05D3", 0, -1);
  data.FormatAll();
  ASSERT_EQ(data.DrawItems.Count(), 2);
  ASSERT_EQ(data.DrawItems[1]->Left, 0);  // the second draw item stands on the left
  const int32_t right = peer.Extents[0] + peer.Extents[1];
  const std::tuple<int, int, int> table[] = {
      {right + 50, 0, 1},  // right of the line: the first draw item's start
      {right - 1, 0, 1},
      {peer.Extents[1] + 1, 0, 3},  // the left edge of the first draw item: its end
      {0, 1, 3},
  };
  for (const auto& [x, drawNo, offs] : table) {
    SCOPED_TRACE(x);
    int32_t d = 0, o = 0;
    data.FindDrawItemAtPos(x, 2, d, o, false);
    EXPECT_EQ(std::make_pair(d, o), std::make_pair(drawNo, offs));
  }
}

}  // namespace
